#include "app/SelectTool.h"
#include "core/Globals.h"
#include "lyra/lyrasyncbaseinfodialog.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <atomic>

namespace {

const QString kIdleText = "同步全部员工/产品到Lyra";
const QString kBusyText = "同步全部员工/产品到Lyra,解析数据中,请稍后...";

QList<LyraSyncBaseInfoDialog*> syncDialogs()
{
    QList<LyraSyncBaseInfoDialog*> dialogs;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<LyraSyncBaseInfoDialog*>(widget))
            dialogs << dialog;
    }
    return dialogs;
}

} // namespace

// The launcher's Lyra sync button: the store request, the folder check on
// the worker and the start of the sync dialog, against the demo stores.
class TestSyncToLyra : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void allStoresReachableOpensTheDialog();
    void someStoresOutOfReachAsksFirst_data();
    void someStoresOutOfReachAsksFirst();
    void noStoreReachable();
    void relativeStorePathsAreNotSyncedTo();
    void failedRequestLeavesTheButtonUsable_data();
    void failedRequestLeavesTheButtonUsable();
    void oneRequestPerCheck();
    void shopChangedDuringTheCheck();
    void launcherClosedDuringTheCheck();

private:
    QPushButton* syncButton() const { return launcher->findChild<QPushButton*>("pb_synctolyra"); }
    void chooseShop(int row) { launcher->findChild<QComboBox*>("comboBox")->setCurrentIndex(row); }
    void clickSync(int expectedRequests = 1);
    // Holds the folder check on the worker until release() is called.
    void holdTheCheck();
    void release() { released = true; }
    QString demoLyra(const QString& store) const { return env->service->demoRoot() + "/lyra/" + store; }

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SelectTool> launcher;
    std::atomic<bool> held{false};
    std::atomic<bool> released{false};
};

void TestSyncToLyra::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_uid = "U";
    g_shopId = "999";
    QDir().mkpath(demoLyra("澜叶旗舰店"));
    QDir().mkpath(demoLyra("沐禾店"));
    held = false;
    released = false;
    launcher.reset(new SelectTool({{"澜叶旗舰店", "12"}, {"沐禾店", "77"}, {"城南店", "20"}}));
    launcher->show();
}

void TestSyncToLyra::cleanup()
{
    release();
    qDeleteAll(syncDialogs());
    launcher.reset();
    env.reset();
}

void TestSyncToLyra::clickSync(int expectedRequests)
{
    QTest::mouseClick(syncButton(), Qt::LeftButton);
    QTRY_COMPARE(env->service->count("lyra/getlyraset"), expectedRequests);
}

void TestSyncToLyra::holdTheCheck()
{
    env->platform->beforeFolderCheck = [this](const QString&) {
        held = true;
        while (!released)
            QThread::yieldCurrentThread();
    };
}

void TestSyncToLyra::allStoresReachableOpensTheDialog()
{
    chooseShop(1);
    clickSync();
    QCOMPARE(env->service->last("lyra/getlyraset").body,
             QByteArray("token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8&shopid=77&uid=U"));
    QTRY_COMPARE(syncDialogs().size(), 1);
    LyraSyncBaseInfoDialog* dialog = syncDialogs().first();
    QCOMPARE(dialog->shopId, QString("77"));
    QCOMPARE(dialog->stores,
             (QJsonArray{QJsonObject{{"id", "77"}, {"name", "沐禾店"}, {"lyrapath", demoLyra("沐禾店")}}}));
    QVERIFY(!dialog->parent());
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowModality(), Qt::ApplicationModal);
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(syncButton()->text(), kIdleText);
    // The sync needs no shop switch: the global shop is not sent.
    QCOMPARE(env->service->count("public/switch_shop"), 0);

    QPointer<LyraSyncBaseInfoDialog> closing = dialog;
    dialog->close();
    QTRY_VERIFY(!closing);
}

void TestSyncToLyra::someStoresOutOfReachAsksFirst_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("opens");
    QTest::newRow("confirm") << "确定同步" << true;
    QTest::newRow("cancel") << "取消" << false;
}

void TestSyncToLyra::someStoresOutOfReachAsksFirst()
{
    QFETCH(QString, answer);
    QFETCH(bool, opens);
    env->dialogs.choiceAnswers << answer;
    clickSync();
    QTRY_COMPARE(env->dialogs.boxes.size(), 1);
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    QCOMPARE(box.text, QString("澜叶二店 的Lyra路径和本机不在同一局域网不能同步到Lyra"));
    QCOMPARE(box.title, QString());
    QVERIFY(!box.hadParent);
    QCOMPARE(box.buttonTexts, (QStringList{"确定同步", "取消"}));
    QTest::qWait(50);
    QCOMPARE(syncDialogs().size(), opens ? 1 : 0);
    if (opens) {
        QCOMPARE(syncDialogs().first()->shopId, QString("12"));
        QCOMPARE(syncDialogs().first()->stores.size(), 1);
        QCOMPARE(syncDialogs().first()->stores.first().toObject().value("name").toString(), QString("澜叶旗舰店"));
    }
}

void TestSyncToLyra::noStoreReachable()
{
    chooseShop(2);
    clickSync();
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"没有门店的Lyra服务路径在和本机在同一局域网中,不能同步到Lyra！"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "温馨提示", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!env->dialogs.boxes.first().hadParent);
    QVERIFY(syncDialogs().isEmpty());
    QCOMPARE(syncButton()->text(), kIdleText);
}

void TestSyncToLyra::relativeStorePathsAreNotSyncedTo()
{
    // Both relative paths name existing folders seen from the program's folder.
    const QString programFolder = env->workDir.path() + "/program";
    QVERIFY(QDir().mkpath(programFolder + "/rel-lyra"));
    QVERIFY(QDir().mkpath(env->workDir.path() + "/x"));
    QVERIFY(QDir::setCurrent(programFolder));
    const QJsonObject flagship{{"id", "12"}, {"name", "澜叶旗舰店"}, {"lyrapath", demoLyra("澜叶旗舰店")}};
    const QJsonArray stores{flagship, QJsonObject{{"id", "14"}, {"name", "相对店"}, {"lyrapath", "rel-lyra"}},
                            QJsonObject{{"id", "15"}, {"name", "上级店"}, {"lyrapath", "../x"}}};
    env->service->script("lyra/getlyraset", Response::success({{"stores", stores}}));
    env->dialogs.choiceAnswers << "确定同步";
    clickSync();
    QTRY_COMPARE(syncDialogs().size(), 1);
    QCOMPARE(env->dialogs.texts(), QStringList{"相对店,上级店 的Lyra路径和本机不在同一局域网不能同步到Lyra"});
    LyraSyncBaseInfoDialog* dialog = syncDialogs().first();
    QCOMPARE(dialog->stores, QJsonArray{flagship});

    QTest::mouseClick(dialog->findChild<QPushButton*>("pb_syncpeo"), Qt::LeftButton);
    QTRY_COMPARE(dialog->findChild<QLabel*>("lb_message")->text(), QString("澜叶旗舰店 门店的员工数据导入Lyra成功！"));
    QVERIFY(QFileInfo::exists(demoLyra("澜叶旗舰店") + "/产品/VgStaff.xml"));
    QVERIFY(!QFileInfo::exists(programFolder + "/rel-lyra/产品"));
    QVERIFY(!QFileInfo::exists(env->workDir.path() + "/x/产品"));
    QVERIFY(!QFileInfo::exists(env->workDir.path() + "/产品"));
}

void TestSyncToLyra::failedRequestLeavesTheButtonUsable_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("http 500") << 0 << QStringList{"网络请求错误\n500"};
    QTest::newRow("refused") << 1 << QStringList{"门店未配置Lyra"};
    QTest::newRow("not json") << 2 << QStringList{};
}

void TestSyncToLyra::failedRequestLeavesTheButtonUsable()
{
    QFETCH(int, fault);
    QFETCH(QStringList, texts);
    const QList<Response> faults = {Response::httpError(500), Response::failure("门店未配置Lyra"), Response::raw("oops")};
    env->service->script("lyra/getlyraset", faults.at(fault));
    clickSync();
    QTRY_COMPARE(env->dialogs.texts(), texts);
    QTest::qWait(50);
    QCOMPARE(env->dialogs.texts(), texts);
    for (const DialogRecorder::Box& box : env->dialogs.boxes) {
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!box.hadParent);
    }
    QCOMPARE(syncButton()->text(), kIdleText);
    QVERIFY(syncDialogs().isEmpty());

    env->service->clearScripts();
    env->dialogs.choiceAnswers << "确定同步";
    clickSync(2);
    QTRY_COMPARE(syncDialogs().size(), 1);
}

void TestSyncToLyra::oneRequestPerCheck()
{
    holdTheCheck();
    QTest::mouseDClick(syncButton(), Qt::LeftButton);
    QTest::mouseClick(syncButton(), Qt::LeftButton);
    QTRY_VERIFY(held);
    // The folder test runs: the button says so and takes no click.
    QCOMPARE(syncButton()->text(), kBusyText);
    QTest::mouseClick(syncButton(), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(env->service->count("lyra/getlyraset"), 1);
    release();
    QTRY_COMPARE(syncButton()->text(), kIdleText);
    QTRY_COMPARE(env->dialogs.boxes.size(), 1);
    QCOMPARE(env->service->count("lyra/getlyraset"), 1);
}

void TestSyncToLyra::shopChangedDuringTheCheck()
{
    env->dialogs.choiceAnswers << "确定同步";
    holdTheCheck();
    clickSync();
    QTRY_VERIFY(held);
    chooseShop(1);
    release();
    QTRY_COMPARE(syncDialogs().size(), 1);
    // The stores are shop 12's, and so is the id their lists are asked with.
    QCOMPARE(syncDialogs().first()->shopId, QString("12"));
    QCOMPARE(syncDialogs().first()->stores.first().toObject().value("id").toString(), QString("12"));
}

void TestSyncToLyra::launcherClosedDuringTheCheck()
{
    holdTheCheck();
    launcher->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<SelectTool> closing = launcher.release();
    QTest::mouseClick(closing->findChild<QPushButton*>("pb_synctolyra"), Qt::LeftButton);
    QTRY_VERIFY(held);
    closing->close();
    QTRY_VERIFY(!closing);
    release();
    QTest::qWait(200);
    QVERIFY(env->dialogs.boxes.isEmpty());
    QVERIFY(syncDialogs().isEmpty());
}

QTEST_MAIN(TestSyncToLyra)
#include "tst_synctolyra.moc"
