#include "import/OrderPathQuery.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "import/SingleImportRequests.h"

#include <QDebug>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

OrderPathQuery::OrderPathQuery(QObject* parent) : QObject(parent), m_manager(new QNetworkAccessManager(this))
{
}

void OrderPathQuery::post(const QString& url, const QByteArray& body, void (OrderPathQuery::*handler)(QNetworkReply*))
{
    QNetworkReply* reply = ServiceCall::postForm(m_manager, url, body);
    connect(reply, &QNetworkReply::finished, this, [this, reply, handler] { (this->*handler)(reply); });
}

void OrderPathQuery::queryOrderPath()
{
    qDebug() << "query order url:" << URL_ORDER_GET_ORDER_PATH;
    post(URL_ORDER_GET_ORDER_PATH, SingleImportRequests::orderPath(), &OrderPathQuery::backOrderPath);
}

void OrderPathQuery::backOrderPath(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object)) {
        emit orderPathFailed();
        return;
    }
    qDebug() << "order path:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    const QString code = object.take(QStringLiteral("code")).toString();
    qDebug() << "orderInfo:" << object;
    if (code != QLatin1String("1")) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("错误代码：") + code, QMessageBox::Yes,
                             QMessageBox::Yes);
        emit orderPathFailed();
        return;
    }
    const QJsonObject data = object.take(QStringLiteral("data")).toObject();
    emit orderPathReceived(data.value(QStringLiteral("orderpath")).toString(),
                           data.value(QStringLiteral("orderbakpicpath")).toString());
}

void OrderPathQuery::queryServerPath()
{
    qDebug() << "server path url:" << URL_ORDER_GET_ORDER_PIC_PATH;
    post(URL_ORDER_GET_ORDER_PIC_PATH, SingleImportRequests::serverPath(), &OrderPathQuery::backServerPath);
}

void OrderPathQuery::backServerPath(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object)) {
        emit serverRootsFailed();
        return;
    }
    qDebug() << "server path:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    const QString code = object.take(QStringLiteral("code")).toString();
    const QString message = object.take(QStringLiteral("message")).toString();
    if (code != QLatin1String("1")) {
        Dialogs::information(nullptr, QStringLiteral("警告"), message, QMessageBox::Yes, QMessageBox::Yes);
        emit serverRootsFailed();
        return;
    }
    const QString serverRoot = object.take(QStringLiteral("picpath")).toString();
    const QString backupRoot = object.take(QStringLiteral("bakpicpath")).toString();
    g_homePicPath = object.take(QStringLiteral("homepicpath")).toString();
    qDebug() << "服务器路径" << serverRoot;
    qDebug() << "备份服务器路径" << backupRoot;
    qDebug() << "家居模板路径" << g_homePicPath;
    emit serverRootsReceived(serverRoot, backupRoot);
}
