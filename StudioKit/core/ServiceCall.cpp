#include "core/ServiceCall.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"

#include <QDebug>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <atomic>

namespace ServiceCall {

namespace {

std::atomic<int> testTimeoutMs{0};

} // namespace

QNetworkRequest request(const QString& url)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    const int forced = testTimeoutMs.load();
    request.setTransferTimeout(forced > 0 ? forced : kTransferTimeoutMs);
    return request;
}

void setTransferTimeoutForTests(int milliseconds)
{
    testTimeoutMs.store(milliseconds);
}

QNetworkReply* postForm(QNetworkAccessManager* manager, const QString& url, const QByteArray& body)
{
    QNetworkRequest request = ServiceCall::request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    QNetworkReply* reply = manager->post(request, body);
    qDebug() << "url==" << url;
    qDebug() << "postData==" << FormBody::masked(body);
    return reply;
}

QString httpStatusText(QNetworkReply* reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return status.isValid() ? status.toString() : QString();
}

QString networkErrorText(QNetworkReply* reply)
{
    return QStringLiteral("网络请求错误\n") + httpStatusText(reply);
}

bool parseObject(const QByteArray& body, QJsonObject* object)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        qDebug() << "Error:" << error.errorString() << error.error;
        return false;
    }
    if (!document.isObject())
        return false;
    *object = document.object();
    return true;
}

bool readReply(QNetworkReply* reply, QJsonObject* object)
{
    if (reply->error() != QNetworkReply::NoError) {
        Dialogs::information(nullptr, QStringLiteral("警告"), networkErrorText(reply), QMessageBox::Yes,
                             QMessageBox::Yes);
        return false;
    }
    return parseObject(reply->readAll(), object);
}

bool readSuccess(QNetworkReply* reply, QJsonObject* object, const QString& failureText)
{
    if (!readReply(reply, object))
        return false;
    const QString code = object->value(QStringLiteral("code")).toString();
    if (code == QLatin1String("1"))
        return true;
    Dialogs::information(nullptr, QStringLiteral("警告"), failureText + code, QMessageBox::Yes, QMessageBox::Yes);
    return false;
}

} // namespace ServiceCall
