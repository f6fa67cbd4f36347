#include "core/CallbackGuard.h"
#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/OrderSearchType.h"
#include "separation/OrderTable.h"
#include "separation/searchorder.h"
#include "StudioService.h"
#include "support/OrderSearchDriver.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QJsonArray>
#include <QMenu>
#include <QtTest>

#include <memory>

namespace {

QByteArray token()
{
    return "token=" + ACCESS_TOKEN.toUtf8();
}

QJsonObject order(const QString& key, const QString& path = QString())
{
    return {{"order_photo_id", key + "-id"}, {"orderpayforkey", key}, {"storesname", "一店"},
            {"servicetimes", "2"},           {"bname", "宝"},          {"mname", "父"},
            {"role1", "R1"},                 {"role2", "R2"},          {"role10", "0"},
            {"tiaosename", "T1"},            {"tiaoxiname", "T2"},     {"comboname", "套系"},
            {"orderbaseprice", "2999"},      {"order_price", "2599"},  {"gotodigitaltime", "2024-06-05"},
            {"orderpath", path}};
}

Response orders(const QJsonArray& data)
{
    return Response::success({{"data", data}});
}

} // namespace

Q_DECLARE_METATYPE(Response)

// The design-separation window's search, table and root field against the
// stand-in service.
class TestSearchOrder : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshWindow();
    void deletionMode();
    void bodies_data();
    void bodies();
    void typesNoComboOffers();
    void emptyKeywordSendsNothing_data();
    void emptyKeywordSendsNothing();
    void storesAreTheWindowsOwn();
    void resultTable();
    void failedRepliesKeepTheRows_data();
    void failedRepliesKeepTheRows();
    void ticking();
    void contextMenu();
    void rootField();
    void columnWidths_data();
    void columnWidths();
    void demoOrdersByBookingNumber();
    void closingClosesTheGuard();

private:
    void open();
    void serve(const QJsonArray& data);

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SearchOrder> window;
    std::unique_ptr<OrderSearchDriver> driver;
};

void TestSearchOrder::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "S";
    g_superId = "P";
    g_uid = "U";
    g_eid = "E";
    g_storeNames = QStringList{"一店", "二店", "三店"};
    g_storeIds = QStringList{"3", "5", "7"};
    open();
}

void TestSearchOrder::cleanup()
{
    driver.reset();
    window.reset();
    env.reset();
}

void TestSearchOrder::open()
{
    driver.reset();
    window.reset(new SearchOrder);
    window->setToolName("分件管理");
    window->show();
    driver.reset(new OrderSearchDriver(window.get()));
}

// A search of two orders by booking number, answered with `data`.
void TestSearchOrder::serve(const QJsonArray& data)
{
    env->service->script("order/order_list", orders(data));
    QVERIFY(driver->search("预约单号", "LY"));
    env->service->clearScripts();
}

void TestSearchOrder::freshWindow()
{
    QCOMPARE(window->objectName(), QString("SearchOrder"));
    QCOMPARE(window->windowTitle(), QString("检索订单"));
    QDialog ordinary;
    ordinary.setWindowFlags(Qt::WindowFlags());
    QCOMPARE(window->windowFlags(), ordinary.windowFlags());
    QStringList types;
    for (int i = 0; i < driver->typeBox()->count(); ++i)
        types << driver->typeBox()->itemText(i);
    QCOMPARE(types, OrderSearchType::separationTexts());
    QCOMPARE(types.first(), QString("转数码日期"));
    QCOMPARE(driver->widget<QPushButton>("pushButton_separate")->text(), QString("开始分件"));
    QVERIFY(driver->widget<QPushButton>("selectPathButton")->isVisible());
    QVERIFY(driver->pathEdit()->isVisible());
    for (const char* hidden : {"groupBox", "progressBar", "label", "label_finishOrdersNum"})
        QVERIFY2(!driver->widget<QWidget>(hidden)->isVisible(), hidden);
    QStringList captions;
    for (int column = 0; column < driver->model()->columnCount(); ++column)
        captions << driver->model()->horizontalHeaderItem(column)->text();
    QCOMPARE(captions, (QStringList{"分件", "预约单号", "所属门店", "服务次数", "客人姓名", "摄影师", "化妆师", "设计师",
                                    "样前对比片师", "样后修片师", "套系", "套系金额", "订单现售价", "上件日期", "订单路径"}));
    QCOMPARE(driver->stores()->checkedRows(), (QList<int>{0, 1, 2}));
    QCOMPARE(driver->searchButton()->text(), QString("检索"));
}

void TestSearchOrder::deletionMode()
{
    window->setToolName("批量删除");
    QStringList types;
    for (int i = 0; i < driver->typeBox()->count(); ++i)
        types << driver->typeBox()->itemText(i);
    QCOMPARE(types, (QStringList{"预约单号", "拍摄日期", "选片日期", "预约日期", "发货日期", "取件完成日期", "姓名", "电话"}));
    QVERIFY(!driver->widget<QPushButton>("selectPathButton")->isVisible());
    QVERIFY(!driver->pathEdit()->isVisible());
    QCOMPARE(driver->widget<QPushButton>("pushButton_separate")->text(), QString("批量删除"));
}

void TestSearchOrder::bodies_data()
{
    QTest::addColumn<bool>("deletionMode");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("body");
    const QByteArray ids = "&storesids=3,7";
    const auto row = [](const char* name) -> QTestData& { return QTest::newRow(name) << false; };
    row("转数码日期") << "转数码日期" << "x"
                 << "&shopid=S&searchtype=13&eid=E&superid=P&keyword=2024-06-01&personid=E&uid=U" + ids;
    row("预约单号") << "预约单号" << "A1" << "&eid=E&shopid=S&searchtype=1&superid=P&keyword=A1&personid=E&uid=U" + ids;
    row("拍摄日期") << "拍摄日期" << "" << "&shopid=S&searchtype=4&superid=P&keyword=2024-06-01&eid=E&personid=E&uid=U" + ids;
    row("选片日期") << "选片日期" << "" << "&shopid=S&searchtype=5&superid=P&keyword=2024-06-01&eid=E&personid=E&uid=U" + ids;
    row("选片完成日期") << "选片完成日期" << ""
                   << "&shopid=S&searchtype=8&eid=E&superid=P&keyword=2024-06-01&personid=E&uid=U" + ids;
    row("上件日期") << "上件日期" << "" << "&shopid=S&searchtype=9&eid=E&personid=E&uid=U&superid=P&keyword=2024-06-01" + ids;
    row("预约日期") << "预约日期" << "" << "&shopid=S&searchtype=6&superid=P&keyword=2024-06-01&eid=E&personid=E&uid=U" + ids;
    row("发货日期") << "发货日期" << "" << "&shopid=S&searchtype=7&superid=P&keyword=2024-06-01&eid=E&personid=E&uid=U" + ids;
    row("设计分配日期") << "设计分配日期" << ""
                   << "&shopid=S&searchtype=14&eid=E&superid=P&keyword=2024-06-01&personid=E&uid=U" + ids;
    row("姓名 untrimmed") << "姓名" << " 李娜 " << "&shopid=S&searchtype=2&eid=E&personid=E&uid=U&superid=P&keyword= 李娜 " + ids;
    row("电话 blanks") << "电话" << "  " << "&shopid=S&searchtype=3&superid=P&keyword=  &eid=E&uid=U&personid=E" + ids;
    row("injected keyword") << "预约单号" << "a&b=c"
                            << "&eid=E&shopid=S&searchtype=1&superid=P&keyword=a%26b%3Dc&personid=E&uid=U" + ids;
    QTest::newRow("取件完成日期") << true << "取件完成日期" << ""
                            << "&shopid=S&searchtype=10&eid=E&superid=P&keyword=2024-06-01&personid=E&uid=U" + ids;
}

void TestSearchOrder::bodies()
{
    QFETCH(bool, deletionMode);
    QFETCH(QString, type);
    QFETCH(QString, typed);
    QFETCH(QByteArray, body);
    if (deletionMode)
        window->setToolName("批量删除");
    driver->calendar()->setSelectedDate(QDate(2024, 6, 1));
    driver->stores()->slt_activited(1);
    QVERIFY(driver->search(type, typed));
    QCOMPARE(env->service->count("order/order_list"), 1);
    const RecordedRequest sent = env->service->last("order/order_list");
    QCOMPARE(sent.body, token() + body);
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(sent.body.size()));
    QCOMPARE(sent.pairs.size(), 9);
}

void TestSearchOrder::typesNoComboOffers()
{
    QCOMPARE(OrderSearchType::named("品管安排日期")->body("2024-06-01"),
             token() + "&shopid=S&searchtype=11&eid=E&superid=P&keyword=2024-06-01&personid=E&uid=U");
    QCOMPARE(OrderSearchType::named("转设计时间")->body("2024-06-01"),
             token() + "&shopid=S&searchtype=12&eid=E&personid=E&uid=U&superid=P&keyword=2024-06-01");
    QVERIFY(!OrderSearchType::named("设计分配"));
}

void TestSearchOrder::emptyKeywordSendsNothing_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("order number") << "预约单号" << "请输入订单号";
    QTest::newRow("name") << "姓名" << "请输入姓名";
    QTest::newRow("phone") << "电话" << "请输入电话";
}

void TestSearchOrder::emptyKeywordSendsNothing()
{
    QFETCH(QString, type);
    QFETCH(QString, text);
    QVERIFY(driver->search(type));
    QCOMPARE(env->service->count("order/order_list"), 0);
    QCOMPARE(env->dialogs.texts(), QStringList{text});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!box.hadParent);
}

void TestSearchOrder::storesAreTheWindowsOwn()
{
    // None ticked: the pair stays, empty.
    for (int row = 0; row < 3; ++row)
        driver->stores()->slt_activited(row);
    QVERIFY(driver->search("预约单号", "A1"));
    QVERIFY(env->service->last("order/order_list").body.endsWith("&uid=U&storesids="));

    // A shop switch while the window stays open: it still sends the ids of
    // the stores it shows, and skips a store that has no id.
    g_storeNames = QStringList{"一店", "二店", "无号店"};
    g_storeIds = QStringList{"3", "5", ""};
    open();
    g_storeNames = QStringList{"别家店"};
    g_storeIds = QStringList{"99"};
    QVERIFY(driver->search("预约单号", "A1"));
    QVERIFY(env->service->last("order/order_list").body.endsWith("&storesids=3,5"));
}

void TestSearchOrder::resultTable()
{
    QJsonObject first = order("LY1", "/srv/LY1");
    first.insert("wname", "母");
    QJsonObject second = order("LY2");
    second.insert("role10", "00");
    serve({first, second});
    QCOMPARE(driver->model()->rowCount(), 2);
    QCOMPARE(driver->rowTexts(0), (QStringList{"", "LY1", "一店", "2", "宝-母-父", "R1", "R2", "", "T1", "T2", "套系",
                                               "2999", "2599", "2024-06-05", "/srv/LY1"}));
    QCOMPARE(driver->rowTexts(1).at(7), QString("00"));
    for (int column = 0; column < 15; ++column) {
        const Qt::Alignment alignment = driver->model()->item(0, column)->textAlignment();
        QCOMPARE(alignment == Qt::AlignCenter, column < 14);
    }
    const QStandardItem* tick = driver->model()->item(0, 0);
    QCOMPARE(tick->checkState(), Qt::Unchecked);
    // Shown, not user-checkable: only the window's click changes a tick.
    QVERIFY(!(tick->flags() & Qt::ItemIsUserCheckable));
    QVERIFY(!window->hasCheckedOrder());
}

void TestSearchOrder::failedRepliesKeepTheRows_data()
{
    QTest::addColumn<Response>("reply");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("HTTP 500") << Response::httpError(500) << QStringList{"网络请求错误\n500"};
    QTest::newRow("not JSON") << Response::raw("<html>") << QStringList{};
    QTest::newRow("a JSON array") << Response::raw("[1]", "application/json") << QStringList{};
    QTest::newRow("code 0") << Response::failure("无权限") << QStringList{"检索错误：0"};
    QTest::newRow("numeric code") << Response::json({{"code", 1}, {"data", QJsonArray{order("X")}}})
                                  << QStringList{"检索错误："};
}

void TestSearchOrder::failedRepliesKeepTheRows()
{
    QFETCH(Response, reply);
    QFETCH(QStringList, boxes);
    serve({order("LY1"), order("LY2")});
    driver->clickCell(1, 3);
    env->service->script("order/order_list", reply);
    QVERIFY(driver->search("预约单号", "LY"));
    QCOMPARE(env->dialogs.texts(), boxes);
    for (const DialogRecorder::Box& box : env->dialogs.boxes)
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(driver->model()->rowCount(), 2);
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Checked}));
    QVERIFY(window->hasCheckedOrder());
    QCOMPARE(driver->searchButton()->text(), QString("检索"));
}

void TestSearchOrder::ticking()
{
    // Nothing to select or invert yet.
    QTest::mouseClick(driver->widget<QPushButton>("pushButton_selectAll"), Qt::LeftButton);
    QTest::mouseClick(driver->widget<QPushButton>("pushButton_selectOpposite"), Qt::LeftButton);
    QCOMPARE(driver->model()->rowCount(), 0);
    QVERIFY(!window->hasCheckedOrder());

    serve({order("LY1"), order("LY2"), order("LY3")});
    driver->clickCell(0, 9);
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Unchecked}));
    QCOMPARE(driver->view()->styleSheet(),
             QString("selection-background-color: rgb(135, 206, 250);selection-color:black;"));
    driver->clickCell(0, 14);
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));
    QCOMPARE(driver->view()->styleSheet(),
             QString("selection-background-color: rgb(248, 248, 255);selection-color:black;"));
    QVERIFY(!window->hasCheckedOrder());

    // The space key on a row changes nothing behind the order list's back.
    QTest::keyClick(driver->view(), Qt::Key_Space);
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Unchecked, Qt::Unchecked, Qt::Unchecked}));

    driver->clickCell(1, 2);
    QTest::mouseClick(driver->widget<QPushButton>("pushButton_selectOpposite"), Qt::LeftButton);
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked}));
    QTest::mouseClick(driver->widget<QPushButton>("pushButton_selectAll"), Qt::LeftButton);
    QCOMPARE(driver->ticks(), (QList<Qt::CheckState>{Qt::Checked, Qt::Checked, Qt::Checked}));
    QVERIFY(window->hasCheckedOrder());

    // A new result replaces the rows and their ticks.
    serve({order("LY4")});
    QCOMPARE(driver->ticks(), QList<Qt::CheckState>{Qt::Unchecked});
    env->dialogs.clear();
    serve({});
    QCOMPARE(driver->model()->rowCount(), 0);
    QCOMPARE(env->dialogs.texts(), QStringList{"没有查询到任何订单"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "提示", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!window->hasCheckedOrder());
}

void TestSearchOrder::contextMenu()
{
    const QString folder = env->workDir.path() + "/orders/LY1";
    QVERIFY(QDir().mkpath(folder));
    const QString file = env->workDir.path() + "/orders/run.bat";
    writeFile(file, "echo");
    serve({order("LY1", folder), order("LY2"), order("LY3", file), order("LY4", folder + "/gone")});
    auto* menu = driver->view()->findChild<QMenu*>();
    QVERIFY(menu);
    QAction* openDir = menu->actions().value(0);
    QCOMPARE(openDir->text(), QString("打开订单目录"));

    // No current row: no menu.
    emit driver->view()->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(!menu->isVisible());

    const auto request = [&](int row) {
        driver->view()->setCurrentIndex(driver->model()->index(row, 1));
        emit driver->view()->customContextMenuRequested(QPoint(5, 5));
        const bool shown = menu->isVisible();
        menu->hide();
        return shown;
    };
    QVERIFY(request(1));
    QVERIFY(!openDir->isEnabled());
    for (int row : {0, 2, 3}) {
        QVERIFY(request(row));
        QVERIFY(openDir->isEnabled());
        openDir->trigger();
    }
    QCOMPARE(env->platform->openedFolders, QStringList{QString(folder).replace('/', '\\')});
}

void TestSearchOrder::rootField()
{
    // Missing file: empty.
    QCOMPARE(driver->pathEdit()->text(), QString());
    writeFile("path_separatePhotos.dat", QByteArray());
    open();
    QCOMPARE(driver->pathEdit()->text(), QString());

    FileOperation::writeStringList("path_separatePhotos.dat", {"/srv/分件"}, true);
    open();
    QCOMPARE(driver->pathEdit()->text(), QString("/srv/分件"));

    auto* choose = driver->widget<QPushButton>("selectPathButton");
    QTest::mouseClick(choose, Qt::LeftButton);
    QCOMPARE(driver->pathEdit()->text(), QString("/srv/分件"));
    QCOMPARE(env->dialogs.fileDialogs.size(), 1);
    QCOMPARE(env->dialogs.fileDialogs.first().kind, DialogRecorder::FileDialogKind::ExistingDirectory);
    QCOMPARE(env->dialogs.fileDialogs.first().caption, QString("选择分件保存路径"));
    QCOMPARE(env->dialogs.fileDialogs.first().dir, QString());

    env->dialogs.fileAnswers << QStringList{"/data/out"};
    QTest::mouseClick(choose, Qt::LeftButton);
    QCOMPARE(driver->pathEdit()->text(), QString("/data/out"));
}

void TestSearchOrder::columnWidths_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QVector<int>>("widths");
    QTest::newRow("wide") << 1000 << 15
                          << QVector<int>{60, 122, 84, 56, 84, 84, 84, 84, 94, 94, 94, 94, 94, 94, 300};
    QTest::newRow("narrow") << 999 << 15
                            << QVector<int>{60, 130, 91, 48, 91, 91, 91, 100, 98, 98, 98, 98, 98, 98, 323};
    QTest::newRow("wide, 14 columns") << 1000 << 14
                                      << QVector<int>{60, 122, 84, 56, 84, 84, 84, 84, 94, 94, 94, 94, 94, 300};
    QTest::newRow("narrow, 14 columns") << 999 << 14
                                        << QVector<int>{60, 130, 91, 48, 91, 91, 91, 100, 98, 98, 98, 98, 98, 323};
}

void TestSearchOrder::columnWidths()
{
    QFETCH(int, width);
    QFETCH(int, columns);
    QFETCH(QVector<int>, widths);
    QCOMPARE(OrderTable::columnWidths(width, columns), widths);
}

void TestSearchOrder::demoOrdersByBookingNumber()
{
    g_storeNames = QStringList{"澜叶旗舰店", "澜叶二店"};
    g_storeIds = QStringList{"12", "13"};
    open();
    QVERIFY(driver->search("预约单号", "LY"));
    QCOMPARE(driver->model()->rowCount(), 7);
    QVERIFY(env->dialogs.boxes.isEmpty());

    driver->stores()->slt_activited(1);
    QVERIFY(driver->search("预约单号", "LY"));
    QCOMPARE(driver->model()->rowCount(), 5);
    for (int row = 0; row < 5; ++row)
        QCOMPARE(driver->rowTexts(row).at(2), QString("澜叶旗舰店"));
}

void TestSearchOrder::closingClosesTheGuard()
{
    const std::shared_ptr<CallbackGuard> guard = CallbackGuard::of(window.get());
    QVERIFY(guard->isOpen());
    QTest::mouseClick(driver->widget<QPushButton>("cancelButton"), Qt::LeftButton);
    QVERIFY(!window->isVisible());
    QVERIFY(!guard->isOpen());
}

QTEST_MAIN(TestSearchOrder)
#include "tst_searchorder.moc"
