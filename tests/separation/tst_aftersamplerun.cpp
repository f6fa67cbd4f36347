#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/GoodsInfo.h"
#include "separation/ProductPlan.h"
#include "separation/SeparationBusy.h"
#include "separation/splitaftersample.h"
#include "DemoPhotos.h"
#include "StudioService.h"
#include "support/OrderSearchDriver.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QDirIterator>
#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

#include <memory>

namespace {

const QByteArray kToken = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8";

// Every file and folder below `folder`, relative, sorted.
QStringList tree(const QString& folder)
{
    const QDir base(folder);
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << base.relativeFilePath(it.next());
    paths.sort();
    return paths;
}

QJsonObject good(const QString& name, const QString& photos)
{
    return {{"goodname", name}, {"picpath", photos}, {"isems", "1"}, {"goodtypename", "相册"}, {"goodamount", "1"}};
}

} // namespace

// An after-sample run from the start button through the finished-photo
// copies, against the stand-in service and order folders made here.
class TestAfterSampleRun : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void goodsOfAnAfterSampleReply();
    void refusals();
    void productsBody();
    void oneOrderTree();
    void progressOfTheCopies();
    void failedCopiesAreCollected();
    void twoOrdersAndASecondRun();
    void rootWithoutSeparator();
    void emptyPathFieldAsksPerOrder();
    void failedRepliesStopAndRetry_data();
    void failedRepliesStopAndRetry();
    void folderThatCannotBeMade();
    void customerNamesStayOneFolder();
    void orderWithoutFolderCopiesNothing();
    void searchDuringARunIsRefused();
    void closingMidRun();
    void demoOrders();

private:
    QString makeOrder(const QString& key, bool withExtras = true);
    QJsonObject row(const QString& key, const QString& names = "王强-李娜", const QString& path = QString());
    void open();
    void findAndTick(const QJsonArray& rows);
    void start();
    bool waitForIdle();
    QString dateFolder() const;

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SplitAfterSample> window;
    std::unique_ptr<OrderSearchDriver> driver;
    QString root;
};

void TestAfterSampleRun::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    g_storeNames = QStringList{"澜叶旗舰店"};
    g_storeIds = QStringList{"12"};
    g_productDirName = "成品";
    g_sjfjxz = "1";
    root = env->workDir.path() + "/分件";
    QVERIFY(QDir().mkpath(root));
    FileOperation::writeStringList("path_separatePhotos.dat", {root}, true);
    env->service->script("order/ordergoods20230521",
                         Response::success({{"order", QJsonObject{{"ordergoods0", QJsonArray{good("相册", "a b.jpg")}}}}}));
    open();
}

void TestAfterSampleRun::cleanup()
{
    driver.reset();
    window.reset();
    QVERIFY(!SeparationBusy::isBusy());
    env.reset();
}

// An order folder on the "file server": three photos in 成品/ (one with a
// blank, one Chinese), RAW companions and, with the extras, a hidden file and
// a sub-folder.
QString TestAfterSampleRun::makeOrder(const QString& key, bool withExtras)
{
    const QString folder = env->workDir.path() + "/server/" + key + "/";
    for (const char* name : {"a b.jpg", "花.jpg", "C.JPG"})
        writeFile(folder + "成品/" + QString::fromUtf8(name), QByteArray("jpeg ") + name);
    writeFile(folder + "照片/新建文件夹/a b.CR2", "raw cr2");
    writeFile(folder + "照片/新建文件夹/C.NEF", "raw nef");
    if (!withExtras)
        return folder;
    writeFile(folder + "成品/.hidden.jpg", "hidden");
    writeFile(folder + "成品/旧/x.jpg", "old");
    return folder;
}

QJsonObject TestAfterSampleRun::row(const QString& key, const QString& names, const QString& path)
{
    return {{"order_photo_id", key + "-id"},
            {"orderpayforkey", key},
            {"servicetimes", "1"},
            {"bname", names},
            {"pickuptype", "1"},
            {"orderpath", path.isNull() ? makeOrder(key) : path}};
}

void TestAfterSampleRun::open()
{
    driver.reset();
    window.reset(new SplitAfterSample);
    window->show();
    driver.reset(new OrderSearchDriver(window.get()));
}

void TestAfterSampleRun::findAndTick(const QJsonArray& rows)
{
    env->service->script("order/order_list", Response::success({{"data", rows}}));
    QVERIFY(driver->search("预约单号", "LY"));
    QCOMPARE(driver->model()->rowCount(), rows.size());
    for (int row = 0; row < rows.size(); ++row)
        driver->clickCell(row, 1);
    env->dialogs.clear();
}

void TestAfterSampleRun::start()
{
    QTest::mouseClick(driver->widget<QPushButton>("pushButton_separate"), Qt::LeftButton);
}

bool TestAfterSampleRun::waitForIdle()
{
    return QTest::qWaitFor([] { return !SeparationBusy::isBusy(); }, 10000);
}

QString TestAfterSampleRun::dateFolder() const
{
    return root + "/" + QDate::currentDate().toString("yyyy-MM-dd") + "/";
}

void TestAfterSampleRun::goodsOfAnAfterSampleReply()
{
    QJsonObject set = good(" 《10*12》 ", "a.jpg||b.jpg");
    set.insert("getgooddate", "2024-06-30");
    set.insert("get gooddate", "with blank");
    set.insert("isems", 0);
    set.insert("son_good", QJsonArray{good("页/", "c.jpg"), good("页", "")});
    const QJsonObject reply{
        {"code", "1"},
        {"shop_set", QJsonObject{{"fenjian_ishaveordergoodid", "1"}}},
        {"order", QJsonObject{{"ordergoods0", QJsonArray{set, good("ALBUM", "")}},
                              {"ordergoods2", QJsonArray{good("ALBUM", "x.jpg"), good("A  B   C", "")}}}}};
    const QList<GoodsInfo> goods = ProductPlan::read(reply, ProductPlan::Reading::AfterSample).goods;
    QCOMPARE(goods.size(), 4);
    QCOMPARE(goods.at(0).goodName, QString("10x12"));
    QCOMPARE(goods.at(0).displayName, QString("10x12"));
    QCOMPARE(goods.at(0).getGoodDate, QString("2024-06-30"));
    QCOMPARE(goods.at(0).photoNames, (QStringList{"a.jpg", "", "b.jpg"}));
    QCOMPARE(goods.at(0).pickupText, QString("快递"));
    QCOMPARE(goods.at(0).children.size(), 2);
    QCOMPARE(goods.at(0).children.at(0).goodName, QString("页"));
    QCOMPARE(goods.at(0).children.at(1).goodName, QString("页"));
    QCOMPARE(goods.at(0).children.at(0).displayName, QString());
    QCOMPARE(goods.at(1).displayName, QString("ALBUM"));
    QCOMPARE(goods.at(1).photoNames, QStringList());
    QCOMPARE(goods.at(2).displayName, QString("ALBUM(1)"));
    QCOMPARE(goods.at(3).goodName, QString("AB C"));
    QCOMPARE(goods.at(3).pickupText, QString("快递"));
}

void TestAfterSampleRun::refusals()
{
    start();
    QCOMPARE(env->dialogs.texts(), QStringList{"请选择订单"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "", QMessageBox::Yes, QMessageBox::Yes);

    findAndTick({row("LY1")});
    FileOperation::writeStringList("path_separatePhotos.dat", {root + "/无"}, true);
    open();
    findAndTick({row("LY1")});
    start();
    QCOMPARE(env->dialogs.texts(), QStringList{"分件路径不存在"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);

    // Another window's run holds the program's run state.
    QObject other;
    QVERIFY(SeparationBusy::acquire(&other));
    env->dialogs.clear();
    start();
    SeparationBusy::release(&other);
    QCOMPARE(env->dialogs.texts(), QStringList{"正在分件，请稍后"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "通知", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(env->service->count("order/ordergoods20230521"), 0);
}

void TestAfterSampleRun::productsBody()
{
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());
    const RecordedRequest sent = env->service->last("order/ordergoods20230521");
    const QByteArray body = kToken + "&order_photo_id=LY1-id&shopid=12&superid=3&personid=501&uid=1001";
    QCOMPARE(sent.body, body);
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(body.size()));
}

void TestAfterSampleRun::oneOrderTree()
{
    findAndTick({row("LY1")});
    auto* bar = driver->widget<QProgressBar>("progressBar");
    QSignalSpy progress(bar, &QProgressBar::valueChanged);
    start();
    QVERIFY(waitForIdle());
    QVERIFY(env->dialogs.boxes.isEmpty());
    const QString order = "LY1-服务1 王强-李娜 快递";
    QCOMPARE(tree(dateFolder()), (QStringList{order, order + "/成品", order + "/成品/C.JPG", order + "/成品/C.NEF",
                                              order + "/成品/a b.CR2", order + "/成品/a b.jpg",
                                              order + "/成品/花.jpg"}));
    QCOMPARE(readFile(dateFolder() + order + "/成品/花.jpg"), QByteArray("jpeg 花.jpg"));
    QCOMPARE(readFile(dateFolder() + order + "/成品/a b.CR2"), QByteArray("raw cr2"));
    // Six entries counted (".", "..", the three photos and the sub-folder),
    // then the bar is emptied for the next order.
    QList<int> values;
    for (const QList<QVariant>& signal : qAsConst(progress))
        values << signal.first().toInt();
    QCOMPARE(values, (QList<int>{1, 2, 3, 4, 5, 6, 0}));
    QVERIFY(!driver->widget<QGroupBox>("groupBox")->isVisible());
}

// Three photos list five entries: the bar's maximum is 5 + 14 and each copy
// adds one; the label counts the orders done before this one.
void TestAfterSampleRun::progressOfTheCopies()
{
    findAndTick({row("LY1", "甲", makeOrder("LY1", false)), row("LY2", "乙", makeOrder("LY2", false))});
    auto* bar = driver->widget<QProgressBar>("progressBar");
    auto* label = driver->widget<QLabel>("label_finishOrdersNum");
    QStringList seen;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        seen << QString("%1/%2 %3").arg(value).arg(bar->maximum()).arg(label->text());
    });
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(seen.mid(0, 5), (QStringList{"1/19 已完成订单个数：0/2", "2/19 已完成订单个数：0/2",
                                          "3/19 已完成订单个数：0/2", "4/19 已完成订单个数：0/2",
                                          "5/19 已完成订单个数：0/2"}));
    QVERIFY(seen.contains("5/19 已完成订单个数：1/2"));
}

// A target that cannot be written (a folder under the photo's name) is a
// failed copy of its order, not a done one.
void TestAfterSampleRun::failedCopiesAreCollected()
{
    const QString server = makeOrder("LY2");
    findAndTick({row("LY1"), row("LY2", "张三", server)});
    QVERIFY(QDir().mkpath(dateFolder() + "LY2-服务1 张三 快递/成品/花.jpg"));
    QVERIFY(QDir().mkpath(dateFolder() + "LY2-服务1 张三 快递/成品/C.NEF"));
    start();
    QVERIFY(waitForIdle());
    const QList<SeparateMessage> messages = window->separateMessages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().orderId, QString("LY2"));
    QStringList failed = messages.first().failedCopies;
    failed.sort();
    QCOMPARE(failed, (QStringList{server + "成品/花.jpg", server + "照片/新建文件夹/C.NEF"}));
    QVERIFY(QFileInfo::exists(dateFolder() + "LY2-服务1 张三 快递/成品/C.JPG"));
}

void TestAfterSampleRun::twoOrdersAndASecondRun()
{
    findAndTick({row("LY1"), row("LY2", "张三")});
    auto* label = driver->widget<QLabel>("label_finishOrdersNum");
    QStringList shown;
    connect(env->service.get(), &StudioService::requestReceived, this,
            [&](const QString&) { shown << label->text(); });
    start();
    QVERIFY(waitForIdle());
    QVERIFY(QFileInfo::exists(dateFolder() + "LY1-服务1 王强-李娜 快递/成品/C.JPG"));
    QVERIFY(QFileInfo::exists(dateFolder() + "LY2-服务1 张三 快递/成品/C.JPG"));
    QVERIFY(shown.contains("已完成订单个数：1/2"));
    QVERIFY(!label->isVisible());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);

    // The rows are free again: a second run separates both once more.
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 4);
}

void TestAfterSampleRun::rootWithoutSeparator()
{
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());
    QVERIFY(QFileInfo::exists(dateFolder() + "LY1-服务1 王强-李娜 快递/成品/C.JPG"));
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{root});
    QVERIFY(env->dialogs.fileDialogs.isEmpty());
}

void TestAfterSampleRun::emptyPathFieldAsksPerOrder()
{
    QFile::remove("path_separatePhotos.dat");
    open();
    findAndTick({row("LY1"), row("LY2")});
    env->dialogs.fileAnswers << QStringList{root + "/"} << QStringList{root};
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.fileDialogs.size(), 2);
    QCOMPARE(env->dialogs.fileDialogs.first().caption, QString("选择分件保存路径"));
    QVERIFY(QFileInfo::exists(dateFolder() + "LY2-服务1 王强-李娜 快递/成品/C.JPG"));
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{root});
    QCOMPARE(driver->pathEdit()->text(), QString());

    // Cancelling stops silently; the order is taken again by the next start.
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.fileDialogs.size(), 3);
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 3);
    env->dialogs.fileAnswers << QStringList{root} << QStringList{root};
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->last("order/ordergoods20230521").value("order_photo_id"), QString("LY2-id"));
    QCOMPARE(env->service->requests("order/ordergoods20230521").at(3).value("order_photo_id"), QString("LY1-id"));
}

void TestAfterSampleRun::failedRepliesStopAndRetry_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("http 500") << 0 << QStringList{"网络请求错误\n500"};
    QTest::newRow("code 0") << 1 << QStringList{"查询产品信息错误：0"};
    QTest::newRow("numeric code") << 2 << QStringList{"查询产品信息错误："};
    QTest::newRow("not json") << 3 << QStringList{};
}

void TestAfterSampleRun::failedRepliesStopAndRetry()
{
    QFETCH(int, fault);
    QFETCH(QStringList, texts);
    const QList<Response> faults = {Response::httpError(500), Response::failure("不行"),
                                    Response::json({{"code", 1}}), Response::raw("oops")};
    findAndTick({row("LY1")});
    env->service->script("order/ordergoods20230521", faults.at(fault));
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.texts(), texts);
    for (const DialogRecorder::Box& box : qAsConst(env->dialogs.boxes))
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!QFileInfo::exists(dateFolder()));

    env->service->script("order/ordergoods20230521", Response::success());
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);
    QVERIFY(QFileInfo::exists(dateFolder() + "LY1-服务1 王强-李娜 快递/成品/C.JPG"));
}

void TestAfterSampleRun::folderThatCannotBeMade()
{
    writeFile(root + "/" + QDate::currentDate().toString("yyyy-MM-dd"), "a file");
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.texts(), QStringList{"无法创建文件夹：" + dateFolder()});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
}

void TestAfterSampleRun::customerNamesStayOneFolder()
{
    findAndTick({row("LY/1", "A/B")});
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(QDir(dateFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"LY1-服务1 AB 快递"});
}

// An empty or relative order folder would name the current folder.
void TestAfterSampleRun::orderWithoutFolderCopiesNothing()
{
    writeFile("成品/here.jpg", "current folder");
    findAndTick({row("LY1", "甲", ""), row("LY2", "乙", "relative/")});
    writeFile("relative/成品/there.jpg", "relative folder");
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(tree(dateFolder()), (QStringList{"LY1-服务1 甲 快递", "LY1-服务1 甲 快递/成品", "LY2-服务1 乙 快递",
                                              "LY2-服务1 乙 快递/成品"}));
}

void TestAfterSampleRun::searchDuringARunIsRefused()
{
    findAndTick({row("LY1")});
    env->service->script("order/ordergoods20230521", Response::success().delayed(400));
    start();
    QTRY_COMPARE(env->service->count("order/ordergoods20230521"), 1);
    QVERIFY(SeparationBusy::isBusy());
    QTest::mouseClick(driver->searchButton(), Qt::LeftButton);
    QCOMPARE(env->dialogs.texts(), QStringList{"正在分件，请稍后"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "通知", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(env->service->count("order/order_list"), 1);
    QVERIFY(waitForIdle());

    // While a search is out the start button does nothing.
    env->service->script("order/order_list", Response::success({{"data", QJsonArray{row("LY1")}}}).delayed(300));
    QTest::mouseClick(driver->searchButton(), Qt::LeftButton);
    start();
    QVERIFY(!SeparationBusy::isBusy());
    QTRY_VERIFY(driver->searchButton()->isEnabled());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 1);
}

void TestAfterSampleRun::closingMidRun()
{
    findAndTick({row("LY1")});
    env->service->script("order/ordergoods20230521", Response::success().delayed(300));
    start();
    QTRY_COMPARE(env->service->count("order/ordergoods20230521"), 1);
    window->close();
    driver.reset();
    window.reset();
    QVERIFY(!SeparationBusy::isBusy());
    QTest::qWait(400);

    open();
    findAndTick({row("LY2")});
    env->service->script("order/ordergoods20230521", Response::success());
    start();
    QVERIFY(waitForIdle());
    QVERIFY(QFileInfo::exists(dateFolder() + "LY2-服务1 王强-李娜 快递/成品/C.JPG"));
}

// Two demo orders against the stand-in's own routes: both dated trees.
void TestAfterSampleRun::demoOrders()
{
    env->service->clearScripts();
    g_storeNames = QStringList{"澜叶旗舰店", "澜叶二店"};
    g_storeIds = QStringList{"12", "13"};
    open();
    const QStringList demoIds = {"90002", "90006"};
    for (const QJsonValue& value : env->service->demo().value("orders").toArray()) {
        const QString path = value.toObject().value("orderpath").toString();
        if (demoIds.contains(value.toObject().value("order_photo_id").toString())) {
            DemoPhotos::fillOrderFolder(path);
            DemoPhotos::addAfterSampleFiles(path);
        }
    }
    QVERIFY(driver->search("预约单号", "LY20"));
    for (int row = 0; row < driver->model()->rowCount(); ++row) {
        if (driver->model()->index(row, 1).data().toString() == "LY20240518"
            || driver->model()->index(row, 1).data().toString() == "LY20231202")
            driver->clickCell(row, 1);
    }
    start();
    QVERIFY(waitForIdle());
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);
    const QStringList photos = {"成品",         "成品/A 2.CR2", "成品/A 2.jpg", "成品/A.CR2",  "成品/A.NEF",
                                "成品/A.jpg",   "成品/B.jpg",   "成品/C.JPG",   "成品/花园.NEF", "成品/花园.jpg"};
    QCOMPARE(tree(dateFolder() + "LY20240518-服务2 张敏-刘洋 部分"), photos);
    QCOMPARE(tree(dateFolder() + "LY20231202-服务1 黄丽-郑凯 部分"), photos);
}

QTEST_MAIN(TestAfterSampleRun)
#include "tst_aftersamplerun.moc"
