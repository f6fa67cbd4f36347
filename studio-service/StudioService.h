#ifndef STUDIOSERVICE_H
#define STUDIOSERVICE_H

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

#include <functional>

class QTcpServer;
class QTcpSocket;

// One request as it arrived, kept byte for byte.
struct RecordedRequest {
    QByteArray method;
    QByteArray target; // path and query as sent
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // The body's pairs in order, values percent-decoded.
    QList<QPair<QString, QString>> pairs;

    QByteArray header(const QByteArray& name) const;
    QString value(const QString& key) const;
    QString queryValue(const QString& key) const;
    // "module/action" for service calls ("public/dologin"), else "GET /path".
    QString route() const;
};

// What the stand-in sends back, including the ways a real server fails.
struct Response {
    enum class Mode { Normal, CloseWithoutReply, Truncated };

    int status = 200;
    QByteArray contentType = "application/json; charset=utf-8";
    QByteArray body;
    Mode mode = Mode::Normal;
    qint64 announcedLength = -1; // Truncated: Content-Length larger than the body
    int delayMs = 0;

    static Response json(const QJsonObject& object);
    static Response success(QJsonObject object = {}); // adds "code" "1"
    static Response failure(const QString& message);   // "code" "0" with the message
    static Response raw(const QByteArray& body, const QByteArray& contentType = "text/plain; charset=utf-8");
    static Response httpError(int status);
    static Response closeWithoutReply();
    static Response truncated(const QByteArray& body, qint64 announcedLength);
    Response delayed(int ms) const;
};

// The stand-in studio-management service: speaks the service protocol on
// loopback with demo data and records every request it receives.
class StudioService : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<Response(const RecordedRequest&)>;

    // `demoRoot` is the folder that holds the demo file server; the demo data
    // places every shop root beneath it.
    explicit StudioService(const QString& demoRoot = QString(), QObject* parent = nullptr);
    ~StudioService() override;

    static quint16 defaultPort(); // the port of the compiled-in base URL
    // For tests: listens on a free port of its own and points the program's
    // service URLs at itself, so tests run side by side and beside the demo.
    bool listen();
    // For the demo: listens on exactly this port.
    bool listen(quint16 port);
    quint16 port() const;
    QString baseUrl() const;

    QJsonObject& demo() { return m_demo; }
    QString demoRoot() const { return m_demoRoot; }

    void setHandler(const QString& route, Handler handler);
    // A scripted answer replaces the handler of a route until cleared.
    void script(const QString& route, const Response& response);
    void clearScripts();

    QList<RecordedRequest> requests() const { return m_requests; }
    QList<RecordedRequest> requests(const QString& route) const;
    RecordedRequest last(const QString& route) const;
    int count(const QString& route) const { return requests(route).size(); }
    void clearRequests() { m_requests.clear(); }
    // True while a client is connected, its answer possibly still unsent.
    bool hasOpenConnections() const { return m_openConnections > 0; }

signals:
    void requestReceived(const QString& route);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const RecordedRequest& request);
    void send(QTcpSocket* socket, const Response& response);
    Response dispatch(const RecordedRequest& request);
    void registerDefaultRoutes();

    QTcpServer* m_server;
    QString m_demoRoot;
    QJsonObject m_demo;
    QHash<QString, Handler> m_handlers;
    QHash<QString, Response> m_scripts;
    QList<RecordedRequest> m_requests;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    int m_openConnections = 0;
};

#endif
