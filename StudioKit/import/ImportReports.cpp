#include "import/ImportReports.h"

#include "core/FormBody.h"
#include "core/Globals.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "import/ImportTypes.h"
#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"

#include <QDateTime>
#include <QStringList>
#include <QUrl>

namespace {

// The Lyra report carries its own token, not ACCESS_TOKEN.
const QString kLyraToken = QStringLiteral("9e4a7c2f0b8d3e61a5c9f2d07b4e8a13");

} // namespace

QByteArray ImportReports::finishInfo(const ImportOrderModel* model, int type, const QString& importype, int picnumber,
                                     int picbacknumber, const QString& timestamp)
{
    // Only a path inside the shop's root that cannot climb out of it is
    // reported back.
    const auto reported = [](const QString& path, const QString& root) {
        return path.startsWith(root) && !hasParentSegment(path) ? path : QString();
    };
    const QString orderPath = reported(model->importOrderPath(), model->picRootPath());
    const QString bakPath = reported(model->importOrderBakPath(), model->bakRootPath());
    FormBody body;
    body.add(QStringLiteral("picnumber"), QString::number(picnumber))
        .add(QStringLiteral("picbacknumber"), QString::number(picbacknumber))
        .add(QStringLiteral("importype"), importype)
        .add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("order_photo_id"), model->order_photo_id())
        .add(QStringLiteral("orderpicpath"), orderPath)
        .add(QStringLiteral("orderbakpicpath"), bakPath)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("eid"), g_eid)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("timestamp"), timestamp);
    if (isVideoType(type)) {
        QStringList paths;
        QStringList names;
        for (const QString& file : model->selectedFiles(type)) {
            const QString name = FileOperation::getFileName(file);
            names << name;
            paths << orderPath + importTypeFolder(type) + name;
        }
        body.add(QStringLiteral("videopaths"), paths.join(QLatin1Char('|')))
            .add(QStringLiteral("videofiles"), names.join(QLatin1Char('|')));
    }
    if (type != importOrdersPhotoDlg::TypeLyra)
        body.add(QStringLiteral("typeid"), QString::number(type));
    return body.bytes();
}

QByteArray ImportReports::videoList(const ImportOrderModel* model, int type, const QString& videofiles,
                                    const QString& videopaths, const QString& timestamp)
{
    FormBody body;
    body.add(QStringLiteral("timestamp"), timestamp)
        .add(QStringLiteral("videopaths"), videopaths)
        .add(QStringLiteral("videofiles"), videofiles)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("order_photo_id"), model->order_photo_id())
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("eid"), g_eid)
        .add(QStringLiteral("token"), ACCESS_TOKEN);
    if (isVideoType(type))
        body.add(QStringLiteral("typeid"), QString::number(type));
    return '&' + body.bytes();
}

QByteArray ImportReports::lyraInfo(const ImportOrderModel* model, const QString& lyrapath)
{
    return '&'
           + FormBody()
                 .add(QStringLiteral("token"), kLyraToken)
                 .add(QStringLiteral("orderphotoid"), model->order_photo_id())
                 .addEncoded(QStringLiteral("lyrapath"), QUrl::toPercentEncoding(lyrapath))
                 .add(QStringLiteral("superid"), g_superId)
                 .add(QStringLiteral("eid"), g_eid)
                 .add(QStringLiteral("shopid"), g_shopId)
                 .bytes();
}

QString ImportReports::timestamp()
{
    return QString::number(QDateTime::currentMSecsSinceEpoch());
}
