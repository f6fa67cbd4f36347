#include "app/SelectTool.h"
#include "core/Globals.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QJsonArray>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

QJsonObject shopReply(const QJsonValue& shopId)
{
    return {{"is_all_del_photo", 1},      {"isshow_subproduct", "1"},
            {"SUPERID", "9"},              {"EID", "88"},
            {"SHOPID", shopId},            {"lyrabigimg", "1"},
            {"lyraisdownloadall", "0"},    {"SHOPNAME", "新店"},
            {"yptbcp", "1"},               {"xztp", "0"},
            {"sjfjxz", "0"},               {"picpath", "/srv/photos/"},
            {"bakpicpath", "/srv/backup/"}, {"homepicpath", "/srv/home/"},
            {"stores", QJsonArray{QJsonObject{{"id", "5"}, {"name", "一店"}}, QJsonObject{{"id", 6}, {"name", "二店"}}}}};
}

void resetShopGlobals()
{
    for (QString* global : {&g_isShowSubproduct, &g_superId, &g_eid, &g_shopId, &g_separateModeName, &g_markDirName,
                            &g_productDirName, &g_lyraBigImg, &g_lyraIsDownloadAll, &g_shopName, &g_yptbcp, &g_xztp,
                            &g_sjfjxz, &g_picPath, &g_bakPicPath, &g_homePicPath})
        *global = "old";
    g_storeIds = QStringList{"old"};
    g_storeNames = QStringList{"old"};
}

bool shopGlobalsUntouched()
{
    for (QString* global : {&g_isShowSubproduct, &g_superId, &g_eid, &g_shopId, &g_markDirName, &g_shopName, &g_sjfjxz,
                            &g_picPath})
        if (*global != "old")
            return false;
    return g_storeIds == QStringList{"old"};
}

} // namespace

// The launcher's shop switch against the stand-in service.
class TestSelectTool : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsTheShops();
    void switchPostsTheBodyAndStoresEverySetting();
    void separationFolderNames_data();
    void separationFolderNames();
    void batchDeletePermission_data();
    void batchDeletePermission();
    void noToolChosenAfterTheGlobals();
    void afterSampleToolForcesItsFlag();
    void refusedOrFailedSwitchChangesNothing_data();
    void refusedOrFailedSwitchChangesNothing();
    void missingStoresLeaveEmptyLists();
    void emptyShopListSendsNothing();

private:
    void pressOk(int toolButtonIndex = -1);

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SelectTool> launcher;
};

void TestSelectTool::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_uid = "1001";
    resetShopGlobals();
    launcher.reset(new SelectTool({{"澜叶旗舰店", "12"}, {"沐禾店", "77"}}));
    launcher->show();
}

void TestSelectTool::cleanup()
{
    launcher.reset();
    env.reset();
}

// Ticks the radio button of a tool by its object name index and presses OK
// once the reply has been handled.
void TestSelectTool::pressOk(int toolButtonIndex)
{
    static const char* const buttons[] = {"radioButton_separatePhotos", "importPicRadio", "rb_plsc", "radioButton_yhfj",
                                          "rb_lyrafj"};
    if (toolButtonIndex >= 0)
        QTest::mouseClick(launcher->findChild<QRadioButton*>(buttons[toolButtonIndex]), Qt::LeftButton, {},
                          QPoint(5, 5));
    const int before = env->service->count("public/switch_shop");
    QTest::mouseClick(launcher->findChild<QPushButton*>("pushButton"), Qt::LeftButton);
    // A connection closed without reply is sent once more by Qt itself.
    QTRY_VERIFY(env->service->count("public/switch_shop") > before);
    QTest::qWait(50);
}

void TestSelectTool::showsTheShops()
{
    auto* combo = launcher->findChild<QComboBox*>("comboBox");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->itemText(1), QString("沐禾店"));
    QCOMPARE(launcher->windowTitle(), QString("选择工具"));
    for (const char* name : {"importPicRadio", "radioButton_separatePhotos", "radioButton_yhfj", "rb_plsc", "rb_lyrafj"})
        QVERIFY(!launcher->findChild<QRadioButton*>(name)->isChecked());
}

void TestSelectTool::switchPostsTheBodyAndStoresEverySetting()
{
    env->service->script("public/switch_shop", Response::success(shopReply("12")));
    launcher->findChild<QComboBox*>("comboBox")->setCurrentIndex(1);
    pressOk(1);

    const RecordedRequest sent = env->service->last("public/switch_shop");
    const QByteArray expected = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8&shopid=77&uid=1001";
    QCOMPARE(sent.body, expected);
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(expected.size()));
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));

    QCOMPARE(g_isShowSubproduct, QString("1"));
    QCOMPARE(g_superId, QString("9"));
    QCOMPARE(g_eid, QString("88"));
    QCOMPARE(g_shopId, QString("12"));
    QCOMPARE(g_separateModeName, QString());
    QCOMPARE(g_markDirName, QString("标注"));
    QCOMPARE(g_productDirName, QString("成品"));
    QCOMPARE(g_lyraBigImg, QString("1"));
    QCOMPARE(g_lyraIsDownloadAll, QString("0"));
    QCOMPARE(g_shopName, QString("新店"));
    QCOMPARE(g_yptbcp, QString("1"));
    QCOMPARE(g_xztp, QString("0"));
    QCOMPARE(g_sjfjxz, QString("0"));
    QCOMPARE(g_storeNames, (QStringList{"一店", "二店"}));
    QCOMPARE(g_storeIds, (QStringList{"5", ""}));
    QCOMPARE(g_picPath, QString("/srv/photos/"));
    QCOMPARE(g_bakPicPath, QString("/srv/backup/"));
    QCOMPARE(g_homePicPath, QString("/srv/home/"));
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestSelectTool::separationFolderNames_data()
{
    QTest::addColumn<QJsonValue>("shopId");
    QTest::addColumn<bool>("muhe");
    QTest::newRow("77") << QJsonValue("77") << true;
    QTest::newRow("162") << QJsonValue("162") << true;
    QTest::newRow("leading zero") << QJsonValue("077") << false;
    QTest::newRow("leading blank") << QJsonValue(" 77") << false;
    QTest::newRow("number") << QJsonValue(77) << false;
}

void TestSelectTool::separationFolderNames()
{
    QFETCH(QJsonValue, shopId);
    QFETCH(bool, muhe);
    env->service->script("public/switch_shop", Response::success(shopReply(shopId)));
    pressOk(0);
    QCOMPARE(g_shopId, shopId.toString());
    QCOMPARE(g_separateModeName, muhe ? QString("沐禾分件") : QString());
    QCOMPARE(g_markDirName, muhe ? QString("01标注") : QString("标注"));
    QCOMPARE(g_productDirName, muhe ? QString("02底片") : QString("成品"));
}

void TestSelectTool::batchDeletePermission_data()
{
    QTest::addColumn<QJsonValue>("permission");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("zero") << QJsonValue(0) << false;
    QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined) << false;
    QTest::newRow("string one") << QJsonValue("1") << false;
    QTest::newRow("number one") << QJsonValue(1) << true;
}

void TestSelectTool::batchDeletePermission()
{
    QFETCH(QJsonValue, permission);
    QFETCH(bool, allowed);
    QJsonObject reply = shopReply("12");
    reply.remove("is_all_del_photo");
    if (!permission.isUndefined())
        reply.insert("is_all_del_photo", permission);
    env->service->script("public/switch_shop", Response::success(reply));
    pressOk(2);
    if (allowed) {
        QVERIFY(env->dialogs.boxes.isEmpty());
        QCOMPARE(g_shopId, QString("12"));
        return;
    }
    QCOMPARE(env->dialogs.texts(), QStringList{"暂无权限，请联系管理员开通"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!env->dialogs.boxes.first().hadParent);
    QVERIFY(shopGlobalsUntouched());
}

void TestSelectTool::noToolChosenAfterTheGlobals()
{
    env->service->script("public/switch_shop", Response::success(shopReply("12")));
    pressOk();
    QCOMPARE(g_shopId, QString("12"));
    QCOMPARE(g_storeIds, (QStringList{"5", ""}));
    QCOMPARE(env->dialogs.texts(), QStringList{"请选择一个工具"});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(box.parent.data(), launcher.get());
}

void TestSelectTool::afterSampleToolForcesItsFlag()
{
    env->service->script("public/switch_shop", Response::success(shopReply("12")));
    pressOk(3);
    QCOMPARE(g_sjfjxz, QString("1"));
}

void TestSelectTool::refusedOrFailedSwitchChangesNothing_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("code 0") << 0 << QStringList{"店铺已停用"};
    QTest::newRow("numeric code") << 1 << QStringList{""};
    QTest::newRow("http 500") << 2 << QStringList{"网络请求错误\n500"};
    QTest::newRow("not json") << 3 << QStringList{};
    QTest::newRow("closed") << 4 << QStringList{"网络请求错误\n"};
}

void TestSelectTool::refusedOrFailedSwitchChangesNothing()
{
    QFETCH(int, fault);
    QFETCH(QStringList, texts);
    QJsonObject numericCode = shopReply("12");
    numericCode.insert("code", 1);
    const QList<Response> faults = {Response::failure("店铺已停用"), Response::json(numericCode),
                                    Response::httpError(500), Response::raw("oops"), Response::closeWithoutReply()};
    env->service->script("public/switch_shop", faults.at(fault));
    pressOk(1);
    QTRY_COMPARE(env->dialogs.texts(), texts);
    for (const DialogRecorder::Box& box : env->dialogs.boxes) {
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!box.hadParent);
    }
    QVERIFY(shopGlobalsUntouched());
}

void TestSelectTool::missingStoresLeaveEmptyLists()
{
    QJsonObject reply = shopReply("12");
    reply.insert("stores", "none");
    env->service->script("public/switch_shop", Response::success(reply));
    pressOk(1);
    QVERIFY(g_storeIds.isEmpty());
    QVERIFY(g_storeNames.isEmpty());
}

void TestSelectTool::emptyShopListSendsNothing()
{
    SelectTool empty({});
    empty.show();
    QTest::mouseClick(empty.findChild<QPushButton*>("pushButton"), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(env->service->count("public/switch_shop"), 0);
    QCOMPARE(env->dialogs.boxes.size(), 1);
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(env->dialogs.boxes.first().parent.data(), &empty);
}

QTEST_MAIN(TestSelectTool)
#include "tst_selecttool.moc"
