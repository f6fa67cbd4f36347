#include "core/httprequest.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/ServiceCall.h"

#include <QDebug>
#include <QJsonDocument>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

HttpRequest::HttpRequest(QObject* parent)
    : QObject(parent)
    , m_manager(new QNetworkAccessManager(this))
{
}

HttpRequest* HttpRequest::startNetRequest(const QString& url, const QByteArray& body, bool logReply)
{
    auto* request = new HttpRequest;
    QNetworkRequest networkRequest = ServiceCall::request(url);
    networkRequest.setAttribute(QNetworkRequest::User, logReply);
    networkRequest.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    networkRequest.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    request->m_manager->post(networkRequest, body);
    connect(request->m_manager, &QNetworkAccessManager::finished, request, &HttpRequest::netReply);

    QByteArray shown = FormBody::masked(body);
    shown.replace("=", ": ").replace("&", "\n ");
    qDebug() << "Url:" << url;
    qDebug().noquote() << "Paras:\n" + QString::fromUtf8(shown);
    return request;
}

HttpRequest* HttpRequest::startNetPixmapRequest(const QString& url, QLabel* label)
{
    auto* request = new HttpRequest;
    QNetworkRequest networkRequest = ServiceCall::request(url);
    networkRequest.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request->m_manager->get(networkRequest);
    request->m_label = label;
    connect(request->m_manager, &QNetworkAccessManager::finished, request, &HttpRequest::netPixmapReply);
    return request;
}

void HttpRequest::netReply(QNetworkReply* reply)
{
    reply->deleteLater();
    deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        Dialogs::information(nullptr, QStringLiteral("警告"), ServiceCall::networkErrorText(reply),
                             QMessageBox::Ok, QMessageBox::NoButton);
        emit netErrorInfo(reply->errorString());
        qDebug() << "http error:" << reply->errorString();
        return;
    }
    QJsonObject object;
    if (!ServiceCall::parseObject(reply->readAll(), &object))
        return;
    if (reply->request().attribute(QNetworkRequest::User).toBool())
        qDebug().noquote() << "JsonObj:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    emit netSuccessInfo(object);
}

void HttpRequest::netPixmapReply(QNetworkReply* reply)
{
    reply->deleteLater();
    deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        qDebug() << reply->errorString();
        return;
    }
    QPixmap pixmap;
    pixmap.loadFromData(reply->readAll());
    if (m_label)
        m_label->setPixmap(pixmap);
}
