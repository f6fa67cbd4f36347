#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/SeparationBusy.h"
#include "separation/searchorder.h"
#include "DemoPhotos.h"
#include "StudioService.h"
#include "support/OrderSearchDriver.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QDirIterator>
#include <QProgressBar>
#include <QtTest>

#include <memory>

namespace {

// Every file and folder below `folder`, relative, sorted.
QStringList tree(const QString& folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next().mid(folder.size() + 1);
    paths.sort();
    return paths;
}

QString orderPathOf(StudioService& service, const QString& id)
{
    for (const QJsonValue& value : service.demo().value("orders").toArray()) {
        if (value.toObject().value("order_photo_id").toString() == id)
            return value.toObject().value("orderpath").toString();
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Response)

// A design separation run from the button to the last copy, against the
// stand-in service and a demo order folder.
class TestSeparationRun : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void refusals();
    void separatesTheDemoOrder();
    void rerunNumbersTheFolders();
    void muheLayout();
    void progressBarRange_data();
    void progressBarRange();
    void failedRepliesStopAndRetry_data();
    void failedRepliesStopAndRetry();
    void folderThatCannotBeMade();
    void emptyPathFieldAsksPerOrder();
    void oneRunInTheProgram();
    void closingMidRun();

private:
    void open();
    void findOrders(const QString& keyword, int expected);
    void start();
    bool waitForIdle();
    QString orderFolder() const;

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SearchOrder> window;
    std::unique_ptr<OrderSearchDriver> driver;
    QString root;
};

void TestSeparationRun::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    g_storeNames = QStringList{"澜叶旗舰店", "澜叶二店"};
    g_storeIds = QStringList{"12", "13"};
    g_separateModeName.clear();
    g_productDirName = "成品";
    g_markDirName = "标注";
    g_xztp = "1";
    g_sjfjxz = "1";
    g_isShowSubproduct = "1";
    DemoPhotos::fillOrderFolder(orderPathOf(*env->service, "90002"));
    DemoPhotos::fillOrderFolder(orderPathOf(*env->service, "90006"));
    root = env->workDir.path() + "/分件";
    QVERIFY(QDir().mkpath(root));
    FileOperation::writeStringList("path_separatePhotos.dat", {root}, true);
    open();
}

void TestSeparationRun::cleanup()
{
    driver.reset();
    window.reset();
    QVERIFY(!SeparationBusy::isBusy());
    env.reset();
}

void TestSeparationRun::open()
{
    driver.reset();
    window.reset(new SearchOrder);
    window->setToolName("分件管理");
    window->show();
    driver.reset(new OrderSearchDriver(window.get()));
}

void TestSeparationRun::findOrders(const QString& keyword, int expected)
{
    QVERIFY(driver->search("预约单号", keyword));
    QCOMPARE(driver->model()->rowCount(), expected);
    for (int row = 0; row < expected; ++row)
        driver->clickCell(row, 1);
}

void TestSeparationRun::start()
{
    QTest::mouseClick(driver->widget<QPushButton>("pushButton_separate"), Qt::LeftButton);
}

bool TestSeparationRun::waitForIdle()
{
    return QTest::qWaitFor([] { return !SeparationBusy::isBusy(); }, 10000);
}

QString TestSeparationRun::orderFolder() const
{
    return root + "/" + QDate::currentDate().toString("yyyy-MM-dd") + "/LY20240518-服务2 张敏-刘洋 部分";
}

void TestSeparationRun::refusals()
{
    start();
    QCOMPARE(env->dialogs.texts(), QStringList{"请选择订单"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "", QMessageBox::Yes, QMessageBox::Yes);
    findOrders("LY20240518", 1);
    env->dialogs.clear();
    QVERIFY(QDir(root).removeRecursively());
    start();
    QCOMPARE(env->dialogs.texts(), QStringList{"分件路径不存在"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(env->service->count("order/ordergoods20230521"), 0);
    QVERIFY(!SeparationBusy::isBusy());
}

void TestSeparationRun::separatesTheDemoOrder()
{
    findOrders("LY20240518", 1);
    start();
    QVERIFY(waitForIdle());
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(env->service->last("order/ordergoods20230521").body,
             "token=" + ACCESS_TOKEN.toUtf8() + "&order_photo_id=90002&shopid=12&superid=3&personid=501&uid=1001&is_qu=1");
    const QString tail = " LY20240518 张敏-刘洋 2024-06-02取  【自取】";
    QCOMPARE(tree(orderFolder()), (QStringList{
        "一厂" + tail,
        "一厂" + tail + "/挂画 画类 1",
        "一厂" + tail + "/挂画 画类 1/B(1).jpg",
        "一厂" + tail + "/挂画 画类 1/B.jpg",
        "一厂" + tail + "/豪华套装 套装 1",
        "一厂" + tail + "/豪华套装 套装 1/水晶框 框类 1",
        "一厂" + tail + "/豪华套装 套装 1/水晶框 框类 1/B.jpg",
        "一厂" + tail + "/豪华套装 套装 1/相框 框类 2",
        "一厂" + tail + "/豪华套装 套装 1/相框 框类 2/c.jpg",
        "一厂 LY20240518 张敏-刘洋 2024-06-15急取  【快递】",
        "一厂 LY20240518 张敏-刘洋 2024-06-15急取  【快递】/入户挂画 挂画 1",
        "一厂 LY20240518 张敏-刘洋 2024-06-15急取  【快递】/入户挂画 挂画 1/C.JPG",
        "二厂" + tail,
        "二厂" + tail + "/摆台 摆台类 2",
        "二厂" + tail + "/电子相册 电子 1",
        "其它",
        "其它/成品",
        "其它/成品/A.CR2",
        "其它/成品/A.NEF",
        "其它/成品/A.jpg",
        "其它/成品/B.jpg",
        "其它/成品/C.JPG",
        "其它/标注",
        "其它/标注/A.jpg",
        "其它/汰片",
        "其它/汰片/D.jpg",
        "其它/设计",
        "其它/设计/S1.jpg",
        "自制工坊",
        "自制工坊/精修相册 LY20240518 张敏-刘洋 2024-06-02取  【快递】",
        "自制工坊/精修相册 LY20240518 张敏-刘洋 2024-06-02取  【快递】/A.jpg",
        "自制工坊/精修相册(1) LY20240518  张敏-刘洋 2024-06-02取  【自取】",
        "自制工坊/精修相册(1) LY20240518  张敏-刘洋 2024-06-02取  【自取】/A.jpg",
    }));
    QCOMPARE(readFile(orderFolder() + "/其它/成品/A.jpg"),
             readFile(orderPathOf(*env->service, "90002") + "成品/A.jpg"));
    QCOMPARE(readFile(orderFolder() + "/其它/设计/S1.jpg"),
             readFile(orderPathOf(*env->service, "90002") + "设计缩略图100/S1.jpg"));

    const QList<SeparateMessage> messages = window->separateMessages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.at(0).orderId, QString("LY20240518"));
    QCOMPARE(messages.at(0).notExisPhotos, QStringList{"精修相册:X.jpg"});
    QCOMPARE(messages.at(0).emptyProducts, (QStringList{"摆台", "豪华套装"}));
    QCOMPARE(messages.at(1).orderId, QString("LY20240518"));
    QVERIFY(messages.at(1).notExisPhotos.isEmpty());
    QVERIFY(messages.at(1).failedCopies.isEmpty());
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{root});
    QVERIFY(!driver->widget<QWidget>("groupBox")->isVisible());
}

void TestSeparationRun::rerunNumbersTheFolders()
{
    findOrders("LY20240518", 1);
    start();
    QVERIFY(waitForIdle());
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);
    const QString tail = " LY20240518 张敏-刘洋 2024-06-02取  【自取】";
    const QStringList paths = tree(orderFolder());
    QVERIFY(paths.contains("二厂" + tail + "/摆台 (1) 摆台类 2"));
    QVERIFY(paths.contains("自制工坊/精修相册 (1) LY20240518 张敏-刘洋 2024-06-02取  【快递】/A.jpg"));
    QVERIFY(paths.contains("一厂" + tail + "/挂画 (1) 画类 1/B(1).jpg"));
    QVERIFY(paths.contains("一厂" + tail + "/豪华套装 套装 1/水晶框 框类 1 (1)/B.jpg"));
    // The work copies are replaced, not numbered.
    QVERIFY(!paths.contains("其它/成品/A(1).jpg"));
}

void TestSeparationRun::muheLayout()
{
    g_separateModeName = "沐禾分件";
    g_productDirName = "02底片";
    g_markDirName = "01标注";
    g_sjfjxz = "0";
    findOrders("LY20240518", 1);
    start();
    QVERIFY(waitForIdle());
    const QStringList paths = tree(orderFolder());
    for (const QString& expected : {"02底片/A.jpg", "01标注/A.jpg", "设计/S1.jpg", "精修相册 LY20240518 张敏-刘洋 2024-06-02取  【快递】/A.jpg",
                                    "挂画 画类 1/B.jpg"})
        QVERIFY2(paths.contains(expected), qPrintable(expected));
    QVERIFY(!paths.contains("其它"));
    QVERIFY(!paths.contains("汰片"));
    QVERIFY(!paths.contains("02底片/A.CR2"));
}

void TestSeparationRun::progressBarRange_data()
{
    QTest::addColumn<QString>("xztp");
    QTest::addColumn<int>("maximum");
    // 成品 ".", "..", A, B, C; 汰片 ".", "..", D; marks ".", "..", A; 设计 S1 only.
    QTest::newRow("rejects copied") << "1" << 5 + 3 + 3 + 1 + 14;
    QTest::newRow("rejects left out") << "0" << 5 + 0 + 3 + 1 + 14;
}

void TestSeparationRun::progressBarRange()
{
    QFETCH(QString, xztp);
    QFETCH(int, maximum);
    g_xztp = xztp;
    const QString design = orderPathOf(*env->service, "90002") + "设计/";
    writeFile(design + "说明.txt", "not a design image");
    QVERIFY(QDir().mkpath(design + "旧稿.jpg"));
    auto* bar = driver->widget<QProgressBar>("progressBar");
    QList<QPair<int, int>> seen; // value, maximum
    connect(bar, &QProgressBar::valueChanged, this, [&seen, bar](int value) {
        if (value > 0)
            seen.append(qMakePair(value, bar->maximum()));
    });
    findOrders("LY20240518", 1);
    start();
    QVERIFY(waitForIdle());
    QVERIFY(!seen.isEmpty());
    for (const auto& step : qAsConst(seen))
        QCOMPARE(step.second, maximum);
    // One unit per copy of the four lists, then exactly 10 over the products.
    QCOMPARE(seen.last().first, maximum - 14 + 10);
    QCOMPARE(bar->maximum(), 0);
}

void TestSeparationRun::failedRepliesStopAndRetry_data()
{
    QTest::addColumn<Response>("reply");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("HTTP 500") << Response::httpError(500) << QStringList{"网络请求错误\n500"};
    QTest::newRow("code 0") << Response::failure("x") << QStringList{"查询产品信息错误：0"};
    QTest::newRow("not JSON") << Response::raw("oops") << QStringList{};
}

void TestSeparationRun::failedRepliesStopAndRetry()
{
    QFETCH(Response, reply);
    QFETCH(QStringList, boxes);
    findOrders("LY20240518", 1);
    env->service->script("order/ordergoods20230521", reply);
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.texts(), boxes);
    QVERIFY(!QDir(orderFolder()).exists());
    // The stopped order is taken again by the next press.
    env->service->clearScripts();
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);
    QVERIFY(QFileInfo::exists(orderFolder() + "/其它/成品/A.jpg"));
}

void TestSeparationRun::folderThatCannotBeMade()
{
    writeFile(root + "/" + QDate::currentDate().toString("yyyy-MM-dd"), "a file where the date folder goes");
    findOrders("LY20240518", 1);
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.texts(),
             QStringList{"无法创建文件夹：" + root + "/" + QDate::currentDate().toString("yyyy-MM-dd") + "/"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
}

void TestSeparationRun::emptyPathFieldAsksPerOrder()
{
    QFile::remove("path_separatePhotos.dat");
    open();
    QCOMPARE(driver->pathEdit()->text(), QString());
    findOrders("LY20240518", 1);
    // Cancelled: the run stops and the order is taken again next time.
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.fileDialogs.size(), 1);
    QCOMPARE(env->dialogs.fileDialogs.first().caption, QString("选择分件保存路径"));
    QVERIFY(!QFileInfo::exists("path_separatePhotos.dat"));

    env->dialogs.fileAnswers << QStringList{root + "/"};
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.fileDialogs.size(), 2);
    QVERIFY(QFileInfo::exists(orderFolder() + "/其它/成品/A.jpg"));
    // Saved as chosen; the field stays empty until the window opens again.
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{root + "/"});
    QCOMPARE(driver->pathEdit()->text(), QString());
}

void TestSeparationRun::oneRunInTheProgram()
{
    findOrders("LY", 7);
    env->service->script("order/ordergoods20230521", Response::failure("x").delayed(400));
    start();
    QVERIFY(SeparationBusy::isBusy());
    // The same window: neither a second run nor a search that would replace its rows.
    start();
    QVERIFY(driver->search("预约单号", "LY2024"));
    SearchOrder second;
    second.show();
    QTest::mouseClick(second.findChild<QPushButton*>("pushButton_separate"), Qt::LeftButton);
    QCOMPARE(env->dialogs.texts(), (QStringList{"正在分件，请稍后", "正在分件，请稍后", "正在分件，请稍后"}));
    for (const DialogRecorder::Box& box : env->dialogs.boxes)
        compareBox(box, QMessageBox::Information, "通知", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(env->service->count("order/order_list"), 1);
    QVERIFY(waitForIdle());
    QCOMPARE(driver->model()->rowCount(), 7);
}

void TestSeparationRun::closingMidRun()
{
    findOrders("LY20240518", 1);
    env->service->script("order/ordergoods20230521", Response::failure("x").delayed(300));
    start();
    QVERIFY(SeparationBusy::isBusy());
    window->close();
    QVERIFY(!SeparationBusy::isBusy());
    window.reset();
    QTest::qWait(400);
    driver.reset();
}

QTEST_MAIN(TestSeparationRun)
#include "tst_separationrun.moc"
