#include "app/Login.h"
#include "app/VersionHandOver.h"
#include "core/Globals.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QtTest>

// The start-up version check and the hand-over to the updater.
class TestVersionCheck : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checkBodyMarksOnlyTheTestServer();
    void postsTheCheckWithoutGroup();
    void noNewVersionLetsTheProgramGoOn_data();
    void noNewVersionLetsTheProgramGoOn();
    void newVersionAsksAndHandsOver_data();
    void newVersionAsksAndHandsOver();
    void unusableFileNameStartsNothing_data();
    void unusableFileNameStartsNothing();
    void failedStartIsShownAndStillEnds();
    void replyAfterTheLoginClosedStillAsks();

private:
    QJsonObject announce(const QJsonObject& overrides = {});

    std::unique_ptr<ServiceEnvironment> env;
};

void TestVersionCheck::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
}

void TestVersionCheck::cleanup()
{
    env.reset();
}

QJsonObject TestVersionCheck::announce(const QJsonObject& overrides)
{
    QJsonObject data{{"application_name", "影务通"}, {"number", "1.8.0"}, {"time", "2026-12-01 10:00:00"},
                     {"file_name", "影务通 1.8.0.exe"}, {"path", env->service->baseUrl() + "/download?file=x"},
                     {"file_size", "1048576"}};
    for (auto it = overrides.begin(); it != overrides.end(); ++it)
        data.insert(it.key(), it.value());
    env->service->demo().insert("update", data);
    return data;
}

void TestVersionCheck::checkBodyMarksOnlyTheTestServer()
{
    QCOMPARE(VersionHandOver::checkBody("qbtOrbitStudioAide", false),
             QByteArray("type=qbtOrbitStudioAide&number=1.7.0&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8"));
    QCOMPARE(VersionHandOver::checkBody("qbtOrbitStudioAide", true),
             QByteArray("type=qbtOrbitStudioAide&test=1&number=1.7.0&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8"));
    QVERIFY(INDEX_URL != VersionHandOver::TEST_INDEX_URL_HTTP);
    QVERIFY(VersionHandOver::TEST_INDEX_URL_HTTP.startsWith("http://"));
    QVERIFY(VersionHandOver::TEST_INDEX_URL_HTTP.endsWith("/index.php?"));
}

void TestVersionCheck::postsTheCheckWithoutGroup()
{
    Login login;
    QTRY_COMPARE(env->service->count("Version/check_update"), 1);
    const RecordedRequest sent = env->service->last("Version/check_update");
    QCOMPARE(sent.target, QByteArray("/index.php?g=Publicapi&m=Version&a=check_update"));
    QCOMPARE(sent.body, QByteArray("type=qbtOrbitStudioAide&number=1.7.0&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8"));
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(sent.body.size()));
}

void TestVersionCheck::noNewVersionLetsTheProgramGoOn_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("code 0") << 0 << QStringList{};
    QTest::newRow("numeric code 1") << 1 << QStringList{};
    QTest::newRow("not json") << 2 << QStringList{};
    QTest::newRow("http 500") << 3 << QStringList{"网络请求错误\n500"};
}

void TestVersionCheck::noNewVersionLetsTheProgramGoOn()
{
    QFETCH(int, fault);
    QFETCH(QStringList, texts);
    const QList<Response> replies = {Response::failure("已是最新版本"),
                                     Response::json({{"code", 1}, {"data", QJsonObject{{"file_name", "a.exe"}}}}),
                                     Response::raw("<html/>"), Response::httpError(500)};
    env->service->script("Version/check_update", replies.at(fault));
    Login login;
    login.show();
    QTRY_COMPARE(env->service->count("Version/check_update"), 1);
    QTest::qWait(100);
    QCOMPARE(env->dialogs.texts(), texts);
    QVERIFY(env->platform->starts.isEmpty());
    QVERIFY(env->platform->exitStatuses.isEmpty());
    QVERIFY(login.isVisible());
}

void TestVersionCheck::newVersionAsksAndHandsOver_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("cancel") << false;
}

void TestVersionCheck::newVersionAsksAndHandsOver()
{
    QFETCH(bool, yes);
    const QMessageBox::StandardButton answer = yes ? QMessageBox::Yes : QMessageBox::Cancel;
    const QJsonObject data = announce({{"file_size", 1048576}});
    env->dialogs.boxAnswers << answer;
    Login login;
    login.show();
    QTRY_COMPARE(env->platform->exitStatuses, QList<int>{0});

    QCOMPARE(env->dialogs.boxes.size(), 1);
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "影务通温馨提示", QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel);
    QCOMPARE(box.text, QString("升级需要关闭程序"));
    QCOMPARE(box.parent.data(), &login);

    if (answer == QMessageBox::Cancel) {
        QVERIFY(env->platform->starts.isEmpty());
        return;
    }
    QCOMPARE(env->platform->starts.size(), 1);
    QCOMPARE(env->platform->starts.first().program, QCoreApplication::applicationDirPath() + "/VersionProbe");
    const QStringList expected{"影务通",
                               "1.8.0",
                               "2026-12-01 10:00:00",
                               "影务通 1.8.0.exe",
                               data.value("path").toString(),
                               QDir::currentPath() + "/影务通 1.8.0.exe",
                               ""};
    QCOMPARE(env->platform->starts.first().arguments, expected);
}

void TestVersionCheck::unusableFileNameStartsNothing_data()
{
    QTest::addColumn<QJsonValue>("fileName");
    QTest::addColumn<QString>("usedName");
    QTest::newRow("path outside") << QJsonValue("../../bin/evil.exe") << "evil.exe";
    QTest::newRow("windows path") << QJsonValue("..\\..\\evil.exe") << "evil.exe";
    QTest::newRow("empty") << QJsonValue("") << "";
    QTest::newRow("dot dot") << QJsonValue("..") << "";
    QTest::newRow("number") << QJsonValue(5) << "";
}

void TestVersionCheck::unusableFileNameStartsNothing()
{
    QFETCH(QJsonValue, fileName);
    QFETCH(QString, usedName);
    announce({{"file_name", fileName}});
    env->dialogs.boxAnswers << QMessageBox::Yes;
    Login login;
    QTRY_COMPARE(env->platform->exitStatuses, QList<int>{0});
    if (usedName.isEmpty()) {
        QVERIFY(env->platform->starts.isEmpty());
        QCOMPARE(env->dialogs.boxes.size(), 2);
        QCOMPARE(env->dialogs.boxes.last().title, QString("警告"));
        return;
    }
    QCOMPARE(env->platform->starts.size(), 1);
    QCOMPARE(env->platform->starts.first().arguments.at(3), usedName);
    QCOMPARE(env->platform->starts.first().arguments.at(5), QDir::currentPath() + "/" + usedName);
}

void TestVersionCheck::failedStartIsShownAndStillEnds()
{
    announce();
    env->platform->startSucceeds = false;
    env->dialogs.boxAnswers << QMessageBox::Yes;
    Login login;
    QTRY_COMPARE(env->platform->exitStatuses, QList<int>{0});
    QCOMPARE(env->platform->starts.size(), 1);
    QCOMPARE(env->dialogs.boxes.size(), 2);
    QCOMPARE(env->dialogs.boxes.last().title, QString("警告"));
    QCOMPARE(env->dialogs.boxes.last().icon, QMessageBox::Warning);
}

void TestVersionCheck::replyAfterTheLoginClosedStillAsks()
{
    announce();
    env->service->script("Version/check_update", Response::success({{"data", env->service->demo().value("update")}}).delayed(300));
    env->dialogs.boxAnswers << QMessageBox::Cancel;
    Login login;
    login.show();
    login.close();
    QTRY_COMPARE(env->platform->exitStatuses, QList<int>{0});
    QCOMPARE(env->dialogs.texts(), QStringList{"升级需要关闭程序"});
}

QTEST_MAIN(TestVersionCheck)
#include "tst_versioncheck.moc"
