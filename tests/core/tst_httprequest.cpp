#include "core/Globals.h"
#include "core/httprequest.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QtTest>

// The one-shot request object against the stand-in service.
class TestHttpRequest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void postsTheBodyAndEmitsTheReply();
    void emitsRepliesWhateverTheirCode();
    void httpErrorShowsTheStatus();
    void refusedConnectionShowsNoStatus();
    void repliesThatAreNoObjectAreDropped_data();
    void repliesThatAreNoObjectAreDropped();

private:
    std::unique_ptr<ServiceEnvironment> env;
};

void TestHttpRequest::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
}

void TestHttpRequest::cleanup()
{
    env.reset();
}

void TestHttpRequest::postsTheBodyAndEmitsTheReply()
{
    env->service->script("order/updatepicpath", Response::success({{"data", QJsonArray{1, "two"}}}));
    HttpRequest* request = HttpRequest::startNetRequest(URL_ORDER_UPDATEPICPATH, "a=1&b=二", true);
    QSignalSpy spy(request, &HttpRequest::netSuccessInfo);
    QTRY_COMPARE(spy.count(), 1);

    const RecordedRequest sent = env->service->last("order/updatepicpath");
    QCOMPARE(sent.method, QByteArray("POST"));
    QCOMPARE(sent.target, QByteArray("/index.php?g=QbtplusIma&m=order&a=updatepicpath"));
    QCOMPARE(sent.body, QString("a=1&b=二").toUtf8());
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray("9"));
    const QJsonObject reply = spy.at(0).at(0).toJsonObject();
    QCOMPARE(reply.value("code").toString(), QString("1"));
    QCOMPARE(reply.value("data").toArray(), (QJsonArray{1, "two"}));
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestHttpRequest::emitsRepliesWhateverTheirCode()
{
    env->service->script("order/updatevideo", Response::failure("失败了"));
    HttpRequest* request = HttpRequest::startNetRequest(URL_ORDER_UPDATEVIDEO, "x=1", true);
    QSignalSpy spy(request, &HttpRequest::netSuccessInfo);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toJsonObject().value("message").toString(), QString("失败了"));
}

void TestHttpRequest::httpErrorShowsTheStatus()
{
    env->service->script("order/updatevideo", Response::httpError(500));
    HttpRequest* request = HttpRequest::startNetRequest(URL_ORDER_UPDATEVIDEO, "x=1", true);
    QSignalSpy success(request, &HttpRequest::netSuccessInfo);
    QSignalSpy error(request, &HttpRequest::netErrorInfo);
    QTRY_COMPARE(error.count(), 1);
    QCOMPARE(success.count(), 0);
    QCOMPARE(env->dialogs.boxes.size(), 1);
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "警告", QMessageBox::Ok, QMessageBox::NoButton);
    QVERIFY(!box.hadParent);
    QCOMPARE(box.text, QString("网络请求错误\n500"));
}

void TestHttpRequest::refusedConnectionShowsNoStatus()
{
    env->service.reset();
    HttpRequest* request = HttpRequest::startNetRequest(URL_ORDER_UPDATEVIDEO, "x=1", true);
    QSignalSpy error(request, &HttpRequest::netErrorInfo);
    QTRY_COMPARE(error.count(), 1);
    QCOMPARE(env->dialogs.texts(), QStringList{"网络请求错误\n"});
}

void TestHttpRequest::repliesThatAreNoObjectAreDropped_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("array") << QByteArray("[1,2]");
    QTest::newRow("not json") << QByteArray("<html>oops</html>");
    QTest::newRow("empty") << QByteArray();
}

void TestHttpRequest::repliesThatAreNoObjectAreDropped()
{
    QFETCH(QByteArray, body);
    env->service->script("order/updatevideo", Response::raw(body));
    HttpRequest* request = HttpRequest::startNetRequest(URL_ORDER_UPDATEVIDEO, "x=1", true);
    QSignalSpy success(request, &HttpRequest::netSuccessInfo);
    QSignalSpy destroyed(request, &QObject::destroyed);
    QTRY_COMPARE(destroyed.count(), 1);
    QCOMPARE(success.count(), 0);
    QVERIFY(env->dialogs.boxes.isEmpty());
}

QTEST_MAIN(TestHttpRequest)
#include "tst_httprequest.moc"
