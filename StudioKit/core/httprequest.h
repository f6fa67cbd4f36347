#ifndef HTTPREQUEST_H
#define HTTPREQUEST_H

#include <QJsonObject>
#include <QObject>
#include <QPixmap>
#include <QPointer>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;

// One-shot request: posts one form body and re-emits the reply's JSON object.
// Callers connect netSuccessInfo and forget the object, which frees itself
// once its reply has been handled.
class HttpRequest : public QObject
{
    Q_OBJECT
public:
    explicit HttpRequest(QObject* parent = nullptr);

    static HttpRequest* startNetRequest(const QString& url, const QByteArray& body, bool logReply);
    static HttpRequest* startNetPixmapRequest(const QString& url, QLabel* label);

signals:
    void netSuccessInfo(QJsonObject jsonInfo);
    void netLoadPixmapInfo(QPixmap image);
    void netErrorInfo(QString errStr);

private slots:
    void netReply(QNetworkReply* reply);
    void netPixmapReply(QNetworkReply* reply);

private:
    QNetworkAccessManager* m_manager;
    QPointer<QLabel> m_label;
};

#endif
