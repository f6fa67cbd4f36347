#include "StudioService.h"

#include "Routes.h"
#include "core/Globals.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

// Resources of a static library are registered by hand.
static void initServiceResources()
{
    Q_INIT_RESOURCE(demo);
}

namespace {

QString decodeFormPart(QByteArray part)
{
    part.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(part));
}

QList<QPair<QString, QString>> splitPairs(const QByteArray& body)
{
    QList<QPair<QString, QString>> pairs;
    if (body.isEmpty())
        return pairs;
    for (const QByteArray& pair : body.split('&')) {
        const int equals = pair.indexOf('=');
        if (equals < 0)
            pairs.append({decodeFormPart(pair), QString()});
        else
            pairs.append({decodeFormPart(pair.left(equals)), decodeFormPart(pair.mid(equals + 1))});
    }
    return pairs;
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

QJsonObject loadDemoData(const QString& demoRoot)
{
    static const bool resourcesReady = (initServiceResources(), true);
    Q_UNUSED(resourcesReady);
    QFile file(QStringLiteral(":/studio-service/demo.json"));
    file.open(QIODevice::ReadOnly);
    QByteArray text = file.readAll();
    QString root = demoRoot.isEmpty() ? QDir::tempPath() + QStringLiteral("/studio-demo") : demoRoot;
    text.replace("${DEMO_ROOT}", QDir::fromNativeSeparators(root).toUtf8());
    return QJsonDocument::fromJson(text).object();
}

} // namespace

QByteArray RecordedRequest::header(const QByteArray& name) const
{
    for (const auto& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return header.second;
    }
    return QByteArray();
}

QString RecordedRequest::value(const QString& key) const
{
    for (const auto& pair : pairs) {
        if (pair.first == key)
            return pair.second;
    }
    return QString();
}

QString RecordedRequest::queryValue(const QString& key) const
{
    return QUrlQuery(url).queryItemValue(key, QUrl::FullyDecoded);
}

QString RecordedRequest::route() const
{
    const QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("m")) && query.hasQueryItem(QStringLiteral("a")))
        return query.queryItemValue(QStringLiteral("m")) + QLatin1Char('/') + query.queryItemValue(QStringLiteral("a"));
    return QString::fromLatin1(method) + QLatin1Char(' ') + url.path();
}

Response Response::json(const QJsonObject& object)
{
    Response response;
    response.body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return response;
}

Response Response::success(QJsonObject object)
{
    object.insert(QStringLiteral("code"), QStringLiteral("1"));
    return json(object);
}

Response Response::failure(const QString& message)
{
    return json({{QStringLiteral("code"), QStringLiteral("0")}, {QStringLiteral("message"), message}});
}

Response Response::raw(const QByteArray& body, const QByteArray& contentType)
{
    Response response;
    response.body = body;
    response.contentType = contentType;
    return response;
}

Response Response::httpError(int status)
{
    Response response;
    response.status = status;
    response.contentType = "text/plain; charset=utf-8";
    response.body = reasonPhrase(status);
    return response;
}

Response Response::closeWithoutReply()
{
    Response response;
    response.mode = Mode::CloseWithoutReply;
    return response;
}

Response Response::truncated(const QByteArray& body, qint64 announcedLength)
{
    Response response = raw(body, "application/octet-stream");
    response.mode = Mode::Truncated;
    response.announcedLength = announcedLength;
    return response;
}

Response Response::delayed(int ms) const
{
    Response response = *this;
    response.delayMs = ms;
    return response;
}

StudioService::StudioService(const QString& demoRoot, QObject* parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_demoRoot(demoRoot.isEmpty() ? QDir::tempPath() + QStringLiteral("/studio-demo") : demoRoot)
    , m_demo(loadDemoData(m_demoRoot))
{
    connect(m_server, &QTcpServer::newConnection, this, &StudioService::onNewConnection);
    registerDefaultRoutes();
}

StudioService::~StudioService() = default;

quint16 StudioService::defaultPort()
{
    return static_cast<quint16>(QUrl(QStringLiteral(STUDIO_BASE_URL)).port(80));
}

bool StudioService::listen()
{
    // A test's request may still be under way when its stand-in closes; the
    // next stand-in of the same program takes the same port when it can, so
    // that such a request is answered rather than refused in the next test.
    static quint16 portOfThisProgram = 0;
    if (!(portOfThisProgram != 0 && listen(portOfThisProgram)) && !listen(0))
        return false;
    portOfThisProgram = port();
    setServiceBaseUrlForTests(baseUrl());
    return true;
}

bool StudioService::listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 StudioService::port() const
{
    return m_server->serverPort();
}

QString StudioService::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port());
}

void StudioService::setHandler(const QString& route, Handler handler)
{
    m_handlers.insert(route, std::move(handler));
}

void StudioService::script(const QString& route, const Response& response)
{
    m_scripts.insert(route, response);
}

void StudioService::clearScripts()
{
    m_scripts.clear();
}

QList<RecordedRequest> StudioService::requests(const QString& route) const
{
    QList<RecordedRequest> matching;
    for (const RecordedRequest& request : m_requests) {
        if (request.route() == route)
            matching << request;
    }
    return matching;
}

RecordedRequest StudioService::last(const QString& route) const
{
    const QList<RecordedRequest> matching = requests(route);
    return matching.isEmpty() ? RecordedRequest() : matching.last();
}

void StudioService::registerDefaultRoutes()
{
    registerLoginRoutes(*this);
    registerUpdateRoutes(*this);
    registerOrderRoutes(*this);
    registerWebLoginRoutes(*this);
    registerReportRoutes(*this);
    registerDispatchRoutes(*this);
    registerDeletionRoutes(*this);
    registerSeparationRoutes(*this);
    registerSingleImportRoutes(*this);
    registerLyraRoutes(*this);
}

void StudioService::onNewConnection()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        ++m_openConnections;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            --m_openConnections;
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void StudioService::onReadyRead(QTcpSocket* socket)
{
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;

    RecordedRequest request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    request.url = QUrl::fromEncoded(request.target);
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const int colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed(), line.mid(colon + 1).trimmed()});
    }
    const int contentLength = request.header("Content-Length").toInt();
    if (buffer.size() < headerEnd + 4 + contentLength)
        return;
    request.body = buffer.mid(headerEnd + 4, contentLength);
    request.pairs = splitPairs(request.body);
    m_buffers.remove(socket);
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);

    m_requests << request;
    emit requestReceived(request.route());
    answer(socket, request);
}

void StudioService::answer(QTcpSocket* socket, const RecordedRequest& request)
{
    const Response response = dispatch(request);
    if (response.delayMs > 0) {
        QPointer<QTcpSocket> guarded(socket);
        QTimer::singleShot(response.delayMs, this, [this, guarded, response] {
            if (guarded)
                send(guarded, response);
        });
    } else {
        send(socket, response);
    }
}

Response StudioService::dispatch(const RecordedRequest& request)
{
    const QString route = request.route();
    if (m_scripts.contains(route))
        return m_scripts.value(route);
    if (m_handlers.contains(route))
        return m_handlers.value(route)(request);
    return Response::httpError(404);
}

void StudioService::send(QTcpSocket* socket, const Response& response)
{
    if (response.mode == Response::Mode::CloseWithoutReply) {
        socket->abort();
        return;
    }
    const qint64 length = response.mode == Response::Mode::Truncated ? response.announcedLength : response.body.size();
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    head += "Content-Type: " + response.contentType + "\r\n";
    head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head + response.body);
    // Closing after the bytes leave also cuts a truncated body short of its
    // announced length.
    socket->disconnectFromHost();
}
