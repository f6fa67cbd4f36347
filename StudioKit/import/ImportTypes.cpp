#include "import/ImportTypes.h"

#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"
#include "import/importorderthread.h"

#include <QFileInfo>

namespace {

const char* const kTypeTexts[] = {"导入原片", "导入成品/精修", "导入设计", "试拍视频", "精修视频", "导入Lyra"};
const char* const kModeTitles[] = {"导片模式：原片",     "导片模式：成品",     "导片模式：设计",
                                   "导片模式：试拍视频", "导片模式：精修视频", "导片模式：Lyra"};

bool isKnownType(int type)
{
    return type >= importOrdersPhotoDlg::TypeOriginal && type <= importOrdersPhotoDlg::TypeLyra;
}

} // namespace

bool isPhotoType(int type)
{
    return type >= importOrdersPhotoDlg::TypeOriginal && type <= importOrdersPhotoDlg::TypeDesign;
}

bool isVideoType(int type)
{
    return type == importOrdersPhotoDlg::TypeTrialVideo || type == importOrdersPhotoDlg::TypeRetouchedVideo;
}

QString importTypeText(int type)
{
    return isKnownType(type) ? QString::fromUtf8(kTypeTexts[type]) : QString();
}

QString importModeTitle(int type)
{
    return isKnownType(type) ? QString::fromUtf8(kModeTitles[type]) : QString();
}

QString selectButtonText(int type)
{
    if (type == importOrdersPhotoDlg::TypeLyra)
        return QStringLiteral("选择Lyra路径");
    return isVideoType(type) ? QStringLiteral("选择视频") : QStringLiteral("选择照片");
}

QString videoButtonText(int type)
{
    if (type == importOrdersPhotoDlg::TypeTrialVideo)
        return QStringLiteral("更新试拍视频到选片系统");
    if (type == importOrdersPhotoDlg::TypeRetouchedVideo)
        return QStringLiteral("更新精修视频到选片系统");
    return QString();
}

QString importTypeFolder(int type)
{
    switch (type) {
    case importOrdersPhotoDlg::TypeOriginal: return QStringLiteral("照片/");
    case importOrdersPhotoDlg::TypeFinished: return QStringLiteral("成品/");
    case importOrdersPhotoDlg::TypeDesign: return QStringLiteral("设计/");
    case importOrdersPhotoDlg::TypeTrialVideo: return QStringLiteral("试拍视频/");
    case importOrdersPhotoDlg::TypeRetouchedVideo: return QStringLiteral("精修视频/");
    default: return QString();
    }
}

QString missingSelectionText(const ImportOrderModel* order, int type)
{
    if (type == importOrdersPhotoDlg::TypeLyra)
        return order->lyraSourceDir().isEmpty() ? QStringLiteral("有订单没有选择Lyra路径") : QString();
    if (!order->selectedFiles(type).isEmpty())
        return QString();
    return isVideoType(type) ? QStringLiteral("有订单没有选择视频") : QStringLiteral("有订单没有选择照片");
}

void resetImportState(ImportOrderModel* order)
{
    order->setImportOrderPath(QString());
    order->setImportOrderBakPath(QString());
    for (int type = importOrdersPhotoDlg::TypeOriginal; type <= importOrdersPhotoDlg::TypeDesign; ++type) {
        order->setSelectedFiles(type, {});
        order->setImportedCount(type, 0);
        order->setFinishedCount(type, 0);
        order->setIsImported(type, false);
    }
}

QString selectionRefusal(const QStringList& files, int type)
{
    if (files.size() > ImportOrderThread::kMaxFiles)
        return QStringLiteral("所选文件超过%1个，请分批选择导入").arg(ImportOrderThread::kMaxFiles);
    if (!isVideoType(type))
        return {};
    for (const QString& file : files) {
        const QString name = QFileInfo(file).fileName();
        if (name.contains(QLatin1Char('|')))
            return QStringLiteral("视频文件名不能包含“|”，请改名后重新选择：") + name;
    }
    return {};
}
