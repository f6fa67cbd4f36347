#include "core/Globals.h"
#include "separation/BatchDeleteOrder.h"
#include "StudioService.h"
#include "support/DeletionFixture.h"
#include "support/OrderSearchDriver.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QPaintEvent>
#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(Response)

using namespace DeletionFixture;

namespace {

QJsonObject served(const QString& id, const QString& path)
{
    return {{"order_photo_id", id},     {"orderpayforkey", "LY" + id}, {"storesname", "一店"},
            {"servicetimes", "2"},       {"bname", "宝"},                {"mname", "父"},
            {"role1", "R1"},             {"role2", "R2"},                {"role10", "0"},
            {"tiaosename", "T1"},        {"tiaoxiname", "T2"},           {"comboname", "套系"},
            {"orderbaseprice", "2999"},  {"order_price", "2599"},        {"gotodigitaltime", "2024-06-05"},
            {"orderpath", path}};
}

} // namespace

// The batch-delete tool against the stand-in service and real folders.
class TestBatchDeleteOrder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshWindow();
    void searchBody();
    void oneSearchAtATime();
    void failedSearches_data();
    void failedSearches();
    void ticksAndFolderMenu();
    void columnWidths_data();
    void columnWidths();
    void deletesTheTickedOrders();
    void nothingToDelete();
    void leavesAnotherStoresRoot();
    void closingMidRunSendsEveryReport();
    void demoOrderFolder();

private:
    void open();
    // Searches, with `data` as the answer unless it is empty.
    void search(const QJsonArray& data = {});
    QString folder(const QString& name) const { return env->workDir.path() + "/server/" + name + "/"; }
    QPushButton* button(const char* name) const { return driver->widget<QPushButton>(name); }
    QWidget* group() const { return driver->widget<QWidget>("groupBox"); }

    std::unique_ptr<ServiceEnvironment> env;
    QPointer<BatchDeleteOrder> window;
    std::unique_ptr<OrderSearchDriver> driver;
};

void TestBatchDeleteOrder::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    g_picPath = env->workDir.path() + "/server/";
    open();
}

void TestBatchDeleteOrder::cleanup()
{
    driver.reset();
    delete window;
    g_picPath.clear();
    env.reset();
}

void TestBatchDeleteOrder::open()
{
    window = new BatchDeleteOrder(nullptr);
    window->show();
    driver.reset(new OrderSearchDriver(window));
}

void TestBatchDeleteOrder::search(const QJsonArray& data)
{
    if (!data.isEmpty())
        env->service->script("order/order_list2", Response::success({{"data", data}}));
    QTest::mouseClick(driver->searchButton(), Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([this] { return driver->searchButton()->isEnabled(); }, 5000));
    env->service->clearScripts();
}

void TestBatchDeleteOrder::freshWindow()
{
    QCOMPARE(window->objectName(), QString("BatchDeleteOrder"));
    QCOMPARE(window->windowTitle(), QString("Form"));
    QDialog ordinary;
    ordinary.setWindowFlags(Qt::Widget);
    QCOMPARE(window->windowFlags(), ordinary.windowFlags());
    QStringList captions;
    for (int column = 0; column < driver->model()->columnCount(); ++column)
        captions << driver->model()->horizontalHeaderItem(column)->text();
    QCOMPARE(captions, (QStringList{"分件", "预约单号", "所属门店", "服务次数", "客人姓名", "摄影师", "化妆师", "设计师",
                                    "样前对比片师", "样后修片师", "套系", "套系金额", "订单现售价", "订单路径"}));
    for (const char* hidden : {"groupBox", "progressBar", "label", "label_finishOrdersNum"})
        QVERIFY2(!driver->widget<QWidget>(hidden)->isVisible(), hidden);
    QCOMPARE(driver->widget<QGroupBox>("groupBox_2")->title(), QString("结单日期"));
    for (const char* calendar : {"calendar", "calendar_2"})
        QCOMPARE(driver->widget<QCalendarWidget>(calendar)->selectedDate(), QDate::currentDate());
    QCOMPARE(button("pushButton_separate")->text(), QString("批量删除"));
    QCOMPARE(driver->searchButton()->text(), QString("检索"));
}

void TestBatchDeleteOrder::searchBody()
{
    // The dates go as chosen, a start after the end included.
    driver->widget<QCalendarWidget>("calendar")->setSelectedDate(QDate(2024, 6, 30));
    driver->widget<QCalendarWidget>("calendar_2")->setSelectedDate(QDate(2023, 12, 1));
    search();
    QCOMPARE(env->service->count("order/order_list2"), 1);
    const RecordedRequest sent = env->service->last("order/order_list2");
    const QByteArray body = "token=" + ACCESS_TOKEN.toUtf8() +
                            "&shopid=12&eid=501&personid=501&uid=1001&superid=3&starttime=2024-06-30&endtime=2023-12-01";
    QCOMPARE(sent.body, body);
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(body.size()));
    QCOMPARE(env->dialogs.texts(), QStringList{"没有查询到任何订单"});
}

void TestBatchDeleteOrder::oneSearchAtATime()
{
    env->service->script("order/order_list2", Response::success({{"data", QJsonArray{served("1", "")}}}).delayed(300));
    QTest::mouseClick(driver->searchButton(), Qt::LeftButton);
    QCOMPARE(driver->searchButton()->text(), QString("检索中..."));
    QVERIFY(!driver->searchButton()->isEnabled());
    QMetaObject::invokeMethod(window, "clickSearch");
    QTRY_VERIFY(driver->searchButton()->isEnabled());
    QCOMPARE(driver->searchButton()->text(), QString("检索"));
    QCOMPARE(env->service->count("order/order_list2"), 1);
    QCOMPARE(driver->model()->rowCount(), 1);
}

void TestBatchDeleteOrder::failedSearches_data()
{
    QTest::addColumn<Response>("reply");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("rows");
    QTest::newRow("server error") << Response::httpError(500) << QStringList{"网络请求错误\n500"} << 2;
    QTest::newRow("refused") << Response::failure("x") << QStringList{"检索错误：0"} << 2;
    QTest::newRow("not json") << Response::raw("<html>") << QStringList{} << 2;
    QTest::newRow("no orders") << Response::success({{"data", QJsonArray()}}) << QStringList{"没有查询到任何订单"} << 0;
    QTest::newRow("no data") << Response::success() << QStringList{"没有查询到任何订单"} << 0;
}

void TestBatchDeleteOrder::failedSearches()
{
    QFETCH(Response, reply);
    QFETCH(QStringList, texts);
    QFETCH(int, rows);
    search({served("1", ""), served("2", "")});
    button("pushButton_selectAll")->click();
    env->service->script("order/order_list2", reply);
    search();
    QCOMPARE(env->dialogs.texts(), texts);
    for (const DialogRecorder::Box& box : env->dialogs.boxes)
        compareBox(box, QMessageBox::Information, box.text.startsWith("没有") ? "提示" : "警告", QMessageBox::Yes,
                   QMessageBox::Yes);
    QCOMPARE(driver->model()->rowCount(), rows);
    QCOMPARE(window->hasCheckedOrder(), rows > 0);
    QCOMPARE(driver->searchButton()->text(), QString("检索"));
}

void TestBatchDeleteOrder::ticksAndFolderMenu()
{
    QVERIFY(QDir().mkpath(folder("LY1")));
    search({served("1", folder("LY1")), served("2", "")});
    QCOMPARE(driver->rowTexts(0), (QStringList{"", "LY1", "一店", "2", "宝-父", "R1", "R2", "", "T1", "T2", "套系", "2999",
                                               "2599", folder("LY1")}));
    QCOMPARE(driver->model()->item(0, 12)->textAlignment(), Qt::AlignCenter);
    QCOMPARE(driver->model()->item(0, 13)->data(Qt::TextAlignmentRole), QVariant());

    driver->clickCell(1, 5);
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Checked}));
    QCOMPARE(driver->view()->styleSheet(),
             QString("selection-background-color: rgb(135, 206, 250);selection-color:black;"));
    button("pushButton_selectOpposite")->click();
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked}));
    button("pushButton_selectAll")->click();
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Checked, Qt::Checked}));

    auto* menu = driver->view()->findChild<QMenu*>();
    QAction* openDir = menu->actions().value(0);
    QCOMPARE(openDir->text(), QString("打开订单目录"));
    driver->view()->setCurrentIndex(driver->model()->index(1, 1));
    emit driver->view()->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(menu->isVisible());
    QVERIFY(!openDir->isEnabled());
    menu->hide();
    driver->view()->setCurrentIndex(driver->model()->index(0, 1));
    emit driver->view()->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(openDir->isEnabled());
    openDir->trigger();
    menu->hide();
    QCOMPARE(env->platform->openedFolders, QStringList{folder("LY1").replace('/', '\\')});
}

void TestBatchDeleteOrder::columnWidths_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QVector<int>>("widths");
    QTest::newRow("wide") << 1000 << QVector<int>{60, 122, 84, 56, 84, 84, 84, 84, 94, 94, 94, 94, 94, 300};
    QTest::newRow("narrow") << 999 << QVector<int>{60, 130, 91, 48, 91, 91, 91, 100, 98, 98, 98, 98, 98, 323};
}

void TestBatchDeleteOrder::columnWidths()
{
    QFETCH(int, width);
    QFETCH(QVector<int>, widths);
    driver->view()->setFixedWidth(width);
    QTRY_COMPARE(driver->view()->width(), width);
    QPaintEvent paint(window->rect());
    QApplication::sendEvent(window, &paint);
    QVector<int> shown;
    for (int column = 0; column < 14; ++column)
        shown << driver->view()->columnWidth(column);
    QCOMPARE(shown, widths);
}

void TestBatchDeleteOrder::deletesTheTickedOrders()
{
    button("pushButton_separate")->click();
    QCOMPARE(env->dialogs.texts(), QStringList{"请选择订单"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "", QMessageBox::Yes, QMessageBox::Yes);
    env->dialogs.clear();

    makeOrderFolder(folder("A"));
    makeOrderFolder(folder("C"));
    makeOrderFolder(folder("D"));
    search({served("90002", folder("A")), served("90003", ""), served("90006", folder("C")),
            served("90004", folder("D"))});
    for (int row : {0, 1, 2})
        driver->clickCell(row, 1);
    button("pushButton_separate")->click();
    auto* bar = driver->widget<QProgressBar>("progressBar");
    QCOMPARE(bar->maximum(), 2);
    QVERIFY(group()->isVisible());
    QCOMPARE(driver->widget<QLabel>("label")->text(), QString("正在删除订单路径下的照片"));

    QTRY_COMPARE(env->dialogs.texts(), QStringList{"订单照片删除成功"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!QFileInfo::exists(folder("A")));
    QVERIFY(!QFileInfo::exists(folder("C")));
    QVERIFY(QFileInfo::exists(folder("D") + ".thumbs/IMG_0001.jpg"));
    QTRY_COMPARE(env->service->count("OrderPhoto/order_photo_del"), 2);
    QList<QByteArray> bodies;
    for (const RecordedRequest& report : env->service->requests("OrderPhoto/order_photo_del"))
        bodies << report.body;
    std::sort(bodies.begin(), bodies.end());
    QCOMPARE(bodies, (QList<QByteArray>{reportBody("90002", folder("A")), reportBody("90006", folder("C"))}));
    QCOMPARE(driver->widget<QLabel>("label")->text(), QString("删除成功"));
    QVERIFY(!group()->isVisible());
}

void TestBatchDeleteOrder::nothingToDelete()
{
    search({served("90001", ""), served("90002", folder("gone"))});
    button("pushButton_selectAll")->click();
    button("pushButton_separate")->click();
    QCOMPARE(env->dialogs.texts(), QStringList{"订单路径不存在"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!group()->isVisible());
}

// An order of another store whose folder is that store's photo root, as its
// record names it: the root and every order under it stay, unreported.
void TestBatchDeleteOrder::leavesAnotherStoresRoot()
{
    const QString otherRoot = env->workDir.path() + "/store13/photos/";
    makeOrderFolder(otherRoot + "2024-03/07/LY2/");
    const QStringList otherOrders = treeEntries(otherRoot);
    makeOrderFolder(folder("A"));
    QJsonObject other = served("90006", otherRoot);
    other.insert("picpathnew", QJsonObject{{"picpath", otherRoot}});
    search({served("90002", folder("A")), other});
    button("pushButton_selectAll")->click();
    button("pushButton_separate")->click();
    QCOMPARE(driver->widget<QProgressBar>("progressBar")->maximum(), 2);

    QTRY_COMPARE(env->dialogs.texts(), QStringList{"有1个订单的照片未能删除"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!QFileInfo::exists(folder("A")));
    QCOMPARE(treeEntries(otherRoot), otherOrders);
    QTRY_COMPARE(env->service->count("OrderPhoto/order_photo_del"), 1);
    QTest::qWait(100);
    QCOMPARE(env->service->count("OrderPhoto/order_photo_del"), 1);
    QCOMPARE(env->service->last("OrderPhoto/order_photo_del").body, reportBody("90002", folder("A")));
    QVERIFY(!group()->isVisible());
}

void TestBatchDeleteOrder::closingMidRunSendsEveryReport()
{
    makeOrderFolder(folder("A"));
    makeOrderFolder(folder("B"));
    search({served("90002", folder("A")), served("90006", folder("B"))});
    button("pushButton_selectAll")->click();
    window->setAttribute(Qt::WA_DeleteOnClose);
    button("pushButton_separate")->click();
    window->close();
    QTRY_VERIFY(!window);

    QTRY_COMPARE(env->service->count("OrderPhoto/order_photo_del"), 2);
    QVERIFY(!QFileInfo::exists(folder("A")));
    QVERIFY(!QFileInfo::exists(folder("B")));
}

// The demo as the launcher opens it: the orders closed in a range, one of
// them with a folder on the demo file server.
void TestBatchDeleteOrder::demoOrderFolder()
{
    QString path;
    for (const QJsonValue& value : env->service->demo().value("orders").toArray()) {
        if (value.toObject().value("order_photo_id").toString() == "90002")
            path = value.toObject().value("orderpath").toString();
    }
    QVERIFY(path.startsWith(env->workDir.path() + "/demo/"));
    makeOrderFolder(path);

    driver->widget<QCalendarWidget>("calendar")->setSelectedDate(QDate(2023, 12, 1));
    driver->widget<QCalendarWidget>("calendar_2")->setSelectedDate(QDate(2024, 6, 30));
    search();
    QCOMPARE(driver->model()->rowCount(), 4);
    int row = 0;
    while (driver->rowTexts(row).at(13) != path)
        ++row;
    driver->clickCell(row, 1);
    button("pushButton_separate")->click();
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"订单照片删除成功"});
    QTRY_COMPARE(env->service->count("OrderPhoto/order_photo_del"), 1);
    QCOMPARE(env->service->last("OrderPhoto/order_photo_del").body, reportBody("90002", path));
    QVERIFY(!QFileInfo::exists(path));

    // The next search shows the order without its folder.
    search();
    QCOMPARE(driver->rowTexts(row).at(13), QString());
}

QTEST_MAIN(TestBatchDeleteOrder)
#include "tst_batchdeleteorder.moc"
