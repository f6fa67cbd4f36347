#ifndef BARCODEDOWNLOAD_H
#define BARCODEDOWNLOAD_H

#include "files/SafeFileWriter.h"

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

// One bar-code download of one order: an HTTP GET whose body becomes the
// target file. The bytes go to a temporary file of this download alone, and
// take the target's name only when the reply ends complete and without
// error; otherwise nothing is left under that name. Nobody waits for it: the
// run goes on, and a late reply of one order never touches another order's
// file. Deletes itself when its reply has ended (or with its parent, which
// drops the transfer and its temporary file).
class BarCodeDownload : public QObject
{
    Q_OBJECT
public:
    // The bar-code address of an order of the chosen shop; the token is
    // part of the text, nothing is percent-encoded.
    static QString orderUrl(const QString& orderPhotoId);

    static BarCodeDownload* start(const QString& url, const QString& filePath, QObject* parent);

    QString filePath() const { return m_filePath; }

signals:
    // After the reply ended; `saved` when the file was written whole.
    void finished(bool saved);

private slots:
    void onReadyRead();
    void onDownloadProgress(qint64 bytesSent, qint64 bytesTotal);
    void replyFinished(QNetworkReply* reply);

private:
    BarCodeDownload(const QString& filePath, QObject* parent);
    void startDownload(const QString& url);
    bool saveRest(QNetworkReply* reply);

    QString m_filePath;
    QNetworkAccessManager* m_manager = nullptr;
    QNetworkReply* m_reply = nullptr;
    SafeFileWriter m_file;
    bool m_fileOk = false;
    qint64 m_written = 0;
};

#endif
