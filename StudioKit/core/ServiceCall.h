#ifndef SERVICECALL_H
#define SERVICECALL_H

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

// What every exchange with the studio service shares: one form POST with its
// two headers, and the reading of the reply.
namespace ServiceCall {

// A request gives up after this long without a byte moving, and then ends
// through the usual network-error path: no window waits for ever.
constexpr int kTransferTimeoutMs = 30000;

// Every request of the programs starts here: the URL with the transfer timeout.
QNetworkRequest request(const QString& url);

// Test hook: a shorter timeout for the requests made from now on; 0 brings
// back kTransferTimeoutMs.
void setTransferTimeoutForTests(int milliseconds);

// Posts `body` to `url` with Content-Type and Content-Length; logs the URL and
// the body with secrets masked.
QNetworkReply* postForm(QNetworkAccessManager* manager, const QString& url, const QByteArray& body);

// The reply's HTTP status as text, empty when there was none.
QString httpStatusText(QNetworkReply* reply);
// "网络请求错误\n" followed by the reply's HTTP status.
QString networkErrorText(QNetworkReply* reply);

// Parses a reply body; false when it is not a JSON object.
bool parseObject(const QByteArray& body, QJsonObject* object);

// Reads a finished reply into `object`. A network error shows the usual
// "警告" box (Yes) and gives false, as does a body that is no JSON object.
bool readReply(QNetworkReply* reply, QJsonObject* object);
// readReply, then "code" must be "1": otherwise the "警告" box shows
// `failureText` followed by the code (Yes), and the result is false.
bool readSuccess(QNetworkReply* reply, QJsonObject* object, const QString& failureText);

} // namespace ServiceCall

#endif
