#include "separation/BarCodeDownload.h"

#include "core/Globals.h"
#include "core/ServiceCall.h"

#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

BarCodeDownload::BarCodeDownload(const QString& filePath, QObject* parent)
    : QObject(parent), m_filePath(filePath), m_file(filePath)
{
}

QString BarCodeDownload::orderUrl(const QString& orderPhotoId)
{
    return URL_ORDER_GETBARCODEGEN + QStringLiteral("&order_photo_id=") + orderPhotoId + QStringLiteral("&shopid=")
        + g_shopId + QStringLiteral("&superid=") + g_superId
        + QStringLiteral("&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8");
}

BarCodeDownload* BarCodeDownload::start(const QString& url, const QString& filePath, QObject* parent)
{
    auto* download = new BarCodeDownload(filePath, parent);
    download->startDownload(url);
    return download;
}

void BarCodeDownload::startDownload(const QString& url)
{
    // A folder that takes no file loses the picture, but the run goes on.
    m_fileOk = m_file.open();
    m_manager = new QNetworkAccessManager(this);
    connect(m_manager, &QNetworkAccessManager::finished, this, &BarCodeDownload::replyFinished);
    m_reply = m_manager->get(ServiceCall::request(url));
    connect(m_reply, &QNetworkReply::downloadProgress, this, &BarCodeDownload::onDownloadProgress);
    connect(m_reply, &QNetworkReply::readyRead, this, &BarCodeDownload::onReadyRead);
}

void BarCodeDownload::onReadyRead()
{
    const QByteArray bytes = m_reply->readAll();
    m_written += bytes.size();
    if (m_fileOk)
        m_fileOk = m_file.write(bytes);
}

void BarCodeDownload::onDownloadProgress(qint64 bytesSent, qint64 bytesTotal)
{
    qDebug() << bytesSent << bytesTotal;
    if (bytesSent == bytesTotal)
        qDebug() << "barPath" << m_filePath;
}

bool BarCodeDownload::saveRest(QNetworkReply* reply)
{
    onReadyRead();
    if (!m_fileOk || reply->error() != QNetworkReply::NoError)
        return false;
    // A body cut short of its announced length is no picture.
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() != m_written)
        return false;
    return m_file.commit();
}

void BarCodeDownload::replyFinished(QNetworkReply* reply)
{
    const bool saved = saveRest(reply);
    qDebug() << (saved ? "success" : "failed") << m_filePath;
    if (!saved)
        qDebug() << "bar code not saved:" << reply->errorString() << m_file.errorString();
    reply->deleteLater();
    emit finished(saved);
    deleteLater();
}
