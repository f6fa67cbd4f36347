#include "import/ShotDateUpdate.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "import/SingleImportRequests.h"

#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

ShotDateUpdate::ShotDateUpdate(QObject* parent) : QObject(parent), m_manager(new QNetworkAccessManager(this))
{
}

void ShotDateUpdate::postPhotoDate(const QString& date)
{
    QNetworkReply* reply =
        ServiceCall::postForm(m_manager, URL_ORDER_UPDATEPHOTODATE, SingleImportRequests::photoDate(date));
    connect(reply, &QNetworkReply::finished, this, [this, reply, date] { queryPostPhotoDate(reply, date); });
}

void ShotDateUpdate::queryPostPhotoDate(QNetworkReply* reply, const QString& date)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return;
    const QString code = object.take(QStringLiteral("code")).toString();
    if (code != QLatin1String("1")) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("错误代码：") + code, QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    emit accepted(date);
}
