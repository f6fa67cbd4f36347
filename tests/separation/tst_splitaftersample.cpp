#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/splitaftersample.h"
#include "widgets/MultiSelectComboBox.h"
#include "StudioService.h"
#include "support/OrderSearchDriver.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSemaphore>
#include <QStandardItemModel>
#include <QTableView>
#include <QThreadPool>
#include <QtTest>

#include <memory>

namespace {

const QByteArray kToken = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8";

QJsonObject order(const QString& key, const QString& path = QString())
{
    return {{"order_photo_id", key + "-id"}, {"orderpayforkey", key},   {"servicetimes", "2"},
            {"storesname", "澜叶旗舰店"},     {"bname", "宝"},          {"wname", ""},
            {"mname", "M"},                   {"role1", "R1"},          {"role2", "R2"},
            {"role10", "0"},                  {"tiaosename", "T1"},     {"tiaoxiname", "T2"},
            {"comboname", "套系"},            {"orderbaseprice", "2999"}, {"order_price", "2599"},
            {"gotodigitaltime", "2024-06-05"}, {"orderpath", path},     {"mphone", "138"}};
}

Response orders(const QJsonArray& data)
{
    return Response::success({{"data", data}});
}

class Blocker : public QRunnable
{
public:
    explicit Blocker(QSemaphore* gate) : gate(gate) {}
    void run() override { gate->acquire(); }
    QSemaphore* gate;
};

class Flag : public QRunnable
{
public:
    explicit Flag(QAtomicInt* ran) : ran(ran) {}
    void run() override { ran->storeRelease(1); }
    QAtomicInt* ran;
};

} // namespace

// The after-sample window and its order search, against the stand-in service.
class TestSplitAfterSample : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshWindow();
    void savedRootFillsThePathField();
    void noStoresShowThePrompt();
    void eachTypePostsItsBody_data();
    void eachTypePostsItsBody();
    void storeIdsFollowTheTicks();
    void storesAreTheWindowsOwn();
    void emptyKeywordSendsNothing_data();
    void emptyKeywordSendsNothing();
    void keywordsGoAsTypedButCannotInjectPairs();
    void buttonIsBusyWhileSearching();
    void replies_data();
    void replies();
    void rowsShowTheOrders();
    void ticking();
    void contextMenu();
    void columnWidths_data();
    void columnWidths();
    void rootChooser();
    void closingLeavesOtherWindowsJobs();

private:
    void open();

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SplitAfterSample> window;
    OrderSearchDriver driver{nullptr};
};

void TestSplitAfterSample::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    g_storeNames = QStringList{"旗舰店", "二店", "三店"};
    g_storeIds = QStringList{"3", "5", "7"};
}

void TestSplitAfterSample::open()
{
    window.reset(new SplitAfterSample);
    driver = OrderSearchDriver(window.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestSplitAfterSample::cleanup()
{
    window.reset();
    env.reset();
}

void TestSplitAfterSample::freshWindow()
{
    window.reset(new SplitAfterSample);
    driver = OrderSearchDriver(window.get());
    QCOMPARE(window->objectName(), QString("SplitAfterSample"));
    QCOMPARE(window->size(), QSize(785, 523));
    QCOMPARE(window->windowTitle(), QString("检索订单"));
    QVERIFY(!window->parent());
    window->setToolName("样后分件管理");
    window->show();
    QCOMPARE(window->windowTitle(), QString("检索订单"));

    QStringList texts;
    for (int row = 0; row < driver.typeBox()->count(); ++row)
        texts << driver.typeBox()->itemText(row);
    QCOMPARE(texts, (QStringList{"转数码日期", "预约单号", "拍摄日期", "选片日期", "选片完成日期", "上件日期",
                                 "预约日期", "发货日期", "设计分配日期", "姓名", "电话"}));
    QCOMPARE(driver.typeBox()->currentText(), QString("转数码日期"));

    QStringList captions;
    for (int column = 0; column < driver.model()->columnCount(); ++column)
        captions << driver.model()->horizontalHeaderItem(column)->text();
    QCOMPARE(captions, (QStringList{"分件", "预约单号", "所属门店", "服务次数", "客人姓名", "摄影师", "化妆师",
                                    "设计师", "样前对比片师", "样后修片师", "套系", "套系金额", "订单现售价",
                                    "上件日期", "订单路径"}));
    QCOMPARE(driver.stores()->checkedRows(), (QList<int>{0, 1, 2}));
    QVERIFY(!driver.widget<QGroupBox>("groupBox")->isVisible());
    QCOMPARE(driver.pathEdit()->text(), QString());
    QCOMPARE(driver.widget<QPushButton>("pushButton_separate")->text(), QString("开始分件"));
    QCOMPARE(driver.searchButton()->text(), QString("检索"));
    QCOMPARE(driver.calendar()->selectedDate(), QDate::currentDate());
}

void TestSplitAfterSample::savedRootFillsThePathField()
{
    FileOperation::writeStringList("path_separatePhotos.dat", {"/srv/分件"}, true);
    open();
    QCOMPARE(driver.pathEdit()->text(), QString("/srv/分件"));
}

void TestSplitAfterSample::noStoresShowThePrompt()
{
    g_storeNames.clear();
    g_storeIds.clear();
    open();
    QVERIFY(driver.stores()->checkedRows().isEmpty());
    auto* prompt = driver.stores()->findChild<QPushButton*>();
    QVERIFY(prompt->isVisible());
    QCOMPARE(prompt->text(), QString("点击选择店铺"));
}

void TestSplitAfterSample::eachTypePostsItsBody_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("pairs"); // between the token and "&storesids="
    const QByteArray day = "2024-06-01";
    QTest::newRow("转数码日期") << "转数码日期" << "ignored"
                           << "&shopid=12&searchtype=13&eid=501&superid=3&keyword=" + day + "&personid=501&uid=1001";
    QTest::newRow("预约单号") << "预约单号" << "A1"
                          << QByteArray("&eid=501&shopid=12&searchtype=1&superid=3&keyword=A1&personid=501&uid=1001");
    QTest::newRow("拍摄日期") << "拍摄日期" << ""
                          << "&shopid=12&searchtype=4&superid=3&keyword=" + day + "&eid=501&personid=501&uid=1001";
    QTest::newRow("选片日期") << "选片日期" << ""
                          << "&shopid=12&searchtype=5&superid=3&keyword=" + day + "&eid=501&personid=501&uid=1001";
    QTest::newRow("选片完成日期") << "选片完成日期" << ""
                            << "&shopid=12&searchtype=8&eid=501&superid=3&keyword=" + day + "&personid=501&uid=1001";
    QTest::newRow("上件日期") << "上件日期" << ""
                          << "&shopid=12&searchtype=9&eid=501&personid=501&uid=1001&superid=3&keyword=" + day;
    QTest::newRow("预约日期") << "预约日期" << ""
                          << "&shopid=12&searchtype=6&superid=3&keyword=" + day + "&eid=501&personid=501&uid=1001";
    QTest::newRow("发货日期") << "发货日期" << ""
                          << "&shopid=12&searchtype=7&superid=3&keyword=" + day + "&eid=501&personid=501&uid=1001";
    QTest::newRow("设计分配日期") << "设计分配日期" << "LY1"
                            << "&shopid=12&searchtype=14&superid=3&keyword=" + day + "&eid=501&personid=501&uid=1001";
    QTest::newRow("姓名") << "姓名" << "李娜"
                        << QByteArray("&shopid=12&searchtype=2&eid=501&personid=501&uid=1001&superid=3&keyword=")
            + QString("李娜").toUtf8();
    QTest::newRow("电话") << "电话" << "138"
                        << QByteArray("&shopid=12&searchtype=3&superid=3&keyword=138&eid=501&uid=1001&personid=501");
}

// Stores 3 and 7 ticked, the middle one not.
void TestSplitAfterSample::eachTypePostsItsBody()
{
    QFETCH(QString, type);
    QFETCH(QString, typed);
    QFETCH(QByteArray, pairs);
    open();
    driver.stores()->slt_activited(1);
    driver.calendar()->setSelectedDate(QDate(2024, 6, 1));
    QVERIFY(driver.search(type, typed));
    QCOMPARE(env->service->count("order/order_list"), 1);
    const RecordedRequest sent = env->service->last("order/order_list");
    const QByteArray body = kToken + pairs + "&storesids=3,7";
    QCOMPARE(sent.body, body);
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(body.size()));
}

void TestSplitAfterSample::storeIdsFollowTheTicks()
{
    open();
    QVERIFY(driver.search("电话", "138"));
    QVERIFY(env->service->last("order/order_list").body.endsWith("&storesids=3,5,7"));
    for (int row = 0; row < 3; ++row)
        driver.stores()->slt_activited(row);
    QVERIFY(driver.stores()->checkedRows().isEmpty());
    QVERIFY(driver.search("电话", "138"));
    QVERIFY(env->service->last("order/order_list").body.endsWith("&uid=1001&personid=501&storesids="));
}

// A shop switch while the window is open replaces the globals; the window
// keeps sending the ids of the stores it shows, and a store that came
// without an id is left out.
void TestSplitAfterSample::storesAreTheWindowsOwn()
{
    g_storeIds = QStringList{"3", ""};
    open();
    g_storeNames = QStringList{"别的店"};
    g_storeIds = QStringList{"99"};
    QVERIFY(driver.search("电话", "138"));
    QVERIFY(env->service->last("order/order_list").body.endsWith("&storesids=3"));
}

void TestSplitAfterSample::emptyKeywordSendsNothing_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("order number") << "预约单号" << "请输入订单号";
    QTest::newRow("name") << "姓名" << "请输入姓名";
    QTest::newRow("phone") << "电话" << "请输入电话";
}

void TestSplitAfterSample::emptyKeywordSendsNothing()
{
    QFETCH(QString, type);
    QFETCH(QString, text);
    open();
    QVERIFY(driver.search(type));
    QCOMPARE(env->service->count("order/order_list"), 0);
    QCOMPARE(env->dialogs.texts(), QStringList{text});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!box.hadParent);
    QCOMPARE(driver.searchButton()->text(), QString("检索"));
    QVERIFY(driver.searchButton()->isEnabled());
}

void TestSplitAfterSample::keywordsGoAsTypedButCannotInjectPairs()
{
    open();
    QVERIFY(driver.search("预约单号", "  "));
    QVERIFY(env->service->last("order/order_list").body.contains("&keyword=  &"));
    QVERIFY(driver.search("姓名", "A&B=C"));
    const RecordedRequest sent = env->service->last("order/order_list");
    QVERIFY(sent.body.contains("&keyword=A%26B%3DC&storesids="));
    QCOMPARE(sent.value("keyword"), QString("A&B=C"));
    QCOMPARE(sent.pairs.size(), 9);
}

void TestSplitAfterSample::buttonIsBusyWhileSearching()
{
    open();
    env->service->script("order/order_list", orders({order("LY1")}).delayed(300));
    QTest::mouseClick(driver.searchButton(), Qt::LeftButton);
    QCOMPARE(driver.searchButton()->text(), QString("检索中..."));
    QVERIFY(!driver.searchButton()->isEnabled());
    QTRY_VERIFY(driver.searchButton()->isEnabled());
    QCOMPARE(driver.searchButton()->text(), QString("检索"));
    QCOMPARE(driver.model()->rowCount(), 1);
}

void TestSplitAfterSample::replies_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("rows");
    QTest::newRow("http 500") << 0 << "警告" << "网络请求错误\n500" << 2;
    QTest::newRow("not json") << 1 << "" << "" << 2;
    QTest::newRow("json array") << 2 << "" << "" << 2;
    QTest::newRow("numeric code") << 3 << "警告" << "检索错误：" << 2;
    QTest::newRow("code 0") << 4 << "警告" << "检索错误：0" << 2;
    QTest::newRow("empty data") << 5 << "提示" << "没有查询到任何订单" << 0;
}

// Every reply ends with the button ready again; only a good reply touches
// the rows, and their ticks survive a failed one.
void TestSplitAfterSample::replies()
{
    QFETCH(int, fault);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(int, rows);
    open();
    env->service->script("order/order_list", orders({order("LY1"), order("LY2")}));
    QVERIFY(driver.search("预约单号", "LY"));
    driver.clickCell(1, 3);
    env->dialogs.clear();

    const QList<Response> faults = {Response::httpError(500),
                                    Response::raw("oops"),
                                    Response::raw("[1]", "application/json"),
                                    Response::json({{"code", 1}, {"data", QJsonArray{order("LY3")}}}),
                                    Response::failure("不行"),
                                    orders({})};
    env->service->script("order/order_list", faults.at(fault));
    QVERIFY(driver.search("预约单号", "LY"));
    QCOMPARE(env->service->count("order/order_list"), 2);
    QCOMPARE(driver.searchButton()->text(), QString("检索"));
    QVERIFY(driver.searchButton()->isEnabled());
    QCOMPARE(driver.model()->rowCount(), rows);
    if (text.isEmpty()) {
        QVERIFY(env->dialogs.boxes.isEmpty());
    } else {
        QCOMPARE(env->dialogs.texts(), QStringList{text});
        const DialogRecorder::Box box = env->dialogs.boxes.first();
        compareBox(box, QMessageBox::Information, title, QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!box.hadParent);
    }
    if (rows) {
        QCOMPARE(driver.ticks(), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Checked}));
        QVERIFY(window->hasCheckedOrder());
    } else {
        QVERIFY(!window->hasCheckedOrder());
    }
}

void TestSplitAfterSample::rowsShowTheOrders()
{
    open();
    env->service->script("order/order_list",
                         Response::json({{"code", "1"}, {"data", QJsonArray{order("LY1", "/srv/LY1/"), "oops"}}}));
    QVERIFY(driver.search("转数码日期"));
    QCOMPARE(driver.model()->rowCount(), 2);
    QCOMPARE(driver.rowTexts(0), (QStringList{"", "LY1", "澜叶旗舰店", "2", "宝-M", "R1", "R2", "", "T1", "T2", "套系",
                                               "2999", "2599", "2024-06-05", "/srv/LY1/"}));
    QCOMPARE(driver.model()->item(0, 0)->checkState(), Qt::Unchecked);
    QCOMPARE(driver.model()->item(0, 13)->textAlignment(), Qt::AlignCenter);
    QVERIFY(!driver.model()->item(0, 14)->data(Qt::TextAlignmentRole).isValid());
    // The element that is no object still gives an (empty) row.
    QCOMPARE(driver.rowTexts(1), QVector<QString>(15).toList());
}

void TestSplitAfterSample::ticking()
{
    open();
    QVERIFY(!window->hasCheckedOrder());
    driver.widget<QPushButton>("pushButton_selectAll")->click();
    driver.widget<QPushButton>("pushButton_selectOpposite")->click();
    QVERIFY(!window->hasCheckedOrder());

    env->service->script("order/order_list", orders({order("LY1"), order("LY2"), order("LY3")}));
    QVERIFY(driver.search("转数码日期"));
    driver.clickCell(1, 3);
    QCOMPARE(driver.ticks(), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Checked, Qt::Unchecked}));
    QVERIFY(window->hasCheckedOrder());
    QVERIFY(driver.view()->styleSheet().contains("rgb(135, 206, 250)"));
    driver.clickCell(1, 3);
    QCOMPARE(driver.ticks(), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));
    QCOMPARE(driver.view()->styleSheet(),
             QString("selection-background-color: rgb(248, 248, 255);selection-color:black;"));
    QVERIFY(!window->hasCheckedOrder());

    driver.clickCell(0, 3);
    driver.clickCell(2, 3);
    driver.widget<QPushButton>("pushButton_selectOpposite")->click();
    QCOMPARE(driver.ticks(), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Checked, Qt::Unchecked}));
    driver.widget<QPushButton>("pushButton_selectAll")->click();
    QCOMPARE(driver.ticks(), (QList<Qt::CheckState>{Qt::Checked, Qt::Checked, Qt::Checked}));
    // The ticks live in the list: a click after select all unticks.
    driver.clickCell(2, 3);
    QCOMPARE(driver.ticks(), (QList<Qt::CheckState>{Qt::Checked, Qt::Checked, Qt::Unchecked}));
}

void TestSplitAfterSample::contextMenu()
{
    open();
    const QString folder = env->workDir.path() + "/LY1";
    QVERIFY(QDir().mkpath(folder));
    env->service->script("order/order_list", orders({order("LY1", folder + "/"), order("LY2")}));
    QVERIFY(driver.search("转数码日期"));
    auto* action = window->findChild<QAction*>();
    QCOMPARE(action->text(), QString("打开订单目录"));
    auto* menu = driver.view()->findChild<QMenu*>();

    emit driver.view()->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(!menu->isVisible());

    driver.view()->setCurrentIndex(driver.model()->index(1, 1));
    emit driver.view()->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!action->isEnabled());
    menu->hide();

    driver.view()->setCurrentIndex(driver.model()->index(0, 1));
    emit driver.view()->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(action->isEnabled());
    action->trigger();
    QCOMPARE(env->platform->openedFolders, QStringList{QString(folder + "/").replace('/', '\\')});
}

void TestSplitAfterSample::columnWidths_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("1000") << 1000 << QList<int>{60, 122, 84, 56, 84, 84, 84, 84, 94, 94, 94, 94, 94, 94, 300};
    QTest::newRow("999") << 999 << QList<int>{60, 130, 91, 48, 91, 91, 91, 100, 98, 98, 98, 98, 98, 98, 323};
}

void TestSplitAfterSample::columnWidths()
{
    QFETCH(int, width);
    QFETCH(QList<int>, widths);
    open();
    driver.view()->setFixedWidth(width);
    window->resize(1600, 800);
    QTRY_COMPARE(driver.view()->width(), width);
    window->repaint();
    QList<int> actual;
    for (int column = 0; column < 15; ++column)
        actual << driver.view()->columnWidth(column);
    QCOMPARE(actual, widths);
}

void TestSplitAfterSample::rootChooser()
{
    FileOperation::writeStringList("path_separatePhotos.dat", {"/srv/old"}, true);
    open();
    auto* field = driver.pathEdit();
    QTest::mouseClick(driver.widget<QPushButton>("selectPathButton"), Qt::LeftButton);
    QCOMPARE(env->dialogs.fileDialogs.size(), 1);
    QCOMPARE(env->dialogs.fileDialogs.first().kind, DialogRecorder::FileDialogKind::ExistingDirectory);
    QCOMPARE(env->dialogs.fileDialogs.first().caption, QString("选择分件保存路径"));
    QCOMPARE(env->dialogs.fileDialogs.first().dir, QString());
    QCOMPARE(field->text(), QString("/srv/old"));

    env->dialogs.fileAnswers << QStringList{"/srv/new"};
    QTest::mouseClick(driver.widget<QPushButton>("selectPathButton"), Qt::LeftButton);
    QCOMPARE(field->text(), QString("/srv/new"));
    // Only a run saves the root.
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{"/srv/old"});
}

// The window drops only its own queued jobs when it closes.
void TestSplitAfterSample::closingLeavesOtherWindowsJobs()
{
    QThreadPool* global = QThreadPool::globalInstance();
    const int threads = global->maxThreadCount();
    global->setMaxThreadCount(1);
    QSemaphore gate;
    QAtomicInt ran;
    global->start(new Blocker(&gate));
    global->start(new Flag(&ran));

    open();
    QPointer<SplitAfterSample> closing = window.release();
    closing->setAttribute(Qt::WA_DeleteOnClose);
    closing->close();
    QTRY_VERIFY(!closing);

    gate.release();
    QVERIFY(global->waitForDone(5000));
    QCOMPARE(ran.loadAcquire(), 1);
    global->setMaxThreadCount(threads);
}

QTEST_MAIN(TestSplitAfterSample)
#include "tst_splitaftersample.moc"
