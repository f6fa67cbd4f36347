#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "import/importordermodel.h"
#include "import/searchorderwindow.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

const QByteArray kToken = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8";

QJsonObject order(const QString& key, const QString& times, const QString& path = QString())
{
    return {{"order_photo_id", key + "-id"}, {"orderpayforkey", key},      {"servicetimes", times},
            {"storesname", "澜叶旗舰店"},     {"bname", "宝"},             {"wname", "W"},
            {"role1", "R1"},                  {"role2", "R2"},             {"tiaosename", "T1"},
            {"orderpath", path},              {"tiaoxiname", "T2"},        {"comboname", "套系"},
            {"orderbaseprice", "2999"},       {"order_price", "2599"},     {"gotodigitaltime", "2024-06-05"}};
}

Response orders(const QJsonArray& data)
{
    return Response::success({{"data", data}});
}

} // namespace

// The order picker against the stand-in service.
class TestSearchOrderWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshWindow();
    void eachSearchTypePostsItsBody_data();
    void eachSearchTypePostsItsBody();
    void emptyKeywordSendsNothing_data();
    void emptyKeywordSendsNothing();
    void keywordsCannotInjectPairs();
    void buttonIsBusyWhileSearching();
    void failedSearchesReturnToIdle_data();
    void failedSearchesReturnToIdle();
    void resultTable();
    void selectAllRow();
    void handOverTickedOrders();
    void handOverByDoubleClick();
    void modelsNobodyAdoptedAreDeleted();
    void contextMenuOpensTheOrderFolder();
    void columnWidths_data();
    void columnWidths();
    void savedPathFillsTheHiddenRow();

private:
    void search(int type, const QString& keyword = QString());
    QStandardItemModel* table() const;

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SearchOrderWindow> picker;
};

void TestSearchOrderWindow::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    picker.reset(new SearchOrderWindow);
    picker->show();
}

void TestSearchOrderWindow::cleanup()
{
    ServiceCall::setTransferTimeoutForTests(0);
    picker.reset();
    env.reset();
}

// Chooses the search type, types the keyword and searches; waits for the
// reply when a request went out.
void TestSearchOrderWindow::search(int type, const QString& keyword)
{
    picker->findChild<QComboBox*>("comboBox")->setCurrentIndex(type);
    picker->findChild<QLineEdit*>("orderNumber")->setText(keyword);
    auto* button = picker->findChild<QPushButton*>("searchButton");
    QTest::mouseClick(button, Qt::LeftButton);
    // A posted search disables the button until its reply is handled.
    QTRY_VERIFY(button->isEnabled());
    QTest::qWait(20);
}

QStandardItemModel* TestSearchOrderWindow::table() const
{
    return qobject_cast<QStandardItemModel*>(picker->findChild<QTableView*>("tableView")->model());
}

void TestSearchOrderWindow::freshWindow()
{
    QCOMPARE(picker->windowTitle(), QString("检索订单 (双击添加订单)"));
    QVERIFY(!picker->findChild<QPushButton*>("selectPathButton")->isVisible());
    QVERIFY(!picker->findChild<QLineEdit*>("pathLineEdit")->isVisible());
    QCOMPARE(picker->findChild<QCalendarWidget*>("calendar")->selectedDate(), QDate::currentDate());
    QCOMPARE(picker->findChild<QComboBox*>("comboBox")->currentText(), QString("预约单号"));
    QCOMPARE(table()->columnCount(), 13);
    QCOMPARE(table()->rowCount(), 0);
    QCOMPARE(table()->horizontalHeaderItem(6)->text(), QString("样前对比片师"));
    QCOMPARE(picker->findChild<QPushButton*>("searchButton")->text(), QString("检索"));
}

void TestSearchOrderWindow::eachSearchTypePostsItsBody_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("body");
    const QByteArray head = kToken + "&shopid=12&searchtype=";
    QTest::newRow("order number") << 0 << " LY1 " << head + "1&keyword=LY1&superid=3&uid=1001&eid=501&personid=501";
    QTest::newRow("shot date") << 1 << "ignored" << head + "4&keyword=2024-06-01&superid=3&eid=501&personid=501&uid=1001";
    QTest::newRow("select date") << 2 << "" << head + "5&keyword=2024-06-01&superid=3&eid=501&uid=1001";
    QTest::newRow("book date") << 3 << "" << head + "6&keyword=2024-06-01&superid=3&eid=501&personid=501&uid=1001";
    QTest::newRow("ship date") << 4 << "" << head + "7&keyword=2024-06-01&superid=3&uid=1001&eid=501&personid=501";
    QTest::newRow("upload date") << 5 << "" << head + "9&keyword=2024-06-01&superid=3&uid=1001&eid=501&personid=501";
    QTest::newRow("design date") << 6 << "" << head + "14&keyword=2024-06-01&superid=3&uid=1001&eid=501&personid=501";
    QTest::newRow("name untrimmed") << 7 << " 李娜 " << head + "2&keyword= 李娜 &superid=3&eid=501&personid=501";
    QTest::newRow("phone") << 8 << " 138 " << head + "3&keyword=138&superid=3&eid=501&personid=501";
    QTest::newRow("blank order number") << 0 << "   " << head + "1&keyword=&superid=3&uid=1001&eid=501&personid=501";
}

void TestSearchOrderWindow::eachSearchTypePostsItsBody()
{
    QFETCH(int, type);
    QFETCH(QString, typed);
    QFETCH(QByteArray, body);
    picker->findChild<QCalendarWidget*>("calendar")->setSelectedDate(QDate(2024, 6, 1));
    search(type, typed);
    QCOMPARE(env->service->count("order/order_list"), 1);
    const RecordedRequest sent = env->service->last("order/order_list");
    QCOMPARE(sent.body, body);
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(body.size()));
}

void TestSearchOrderWindow::emptyKeywordSendsNothing_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("order number") << 0 << "请输入订单号";
    QTest::newRow("name") << 7 << "请输入姓名";
    QTest::newRow("phone") << 8 << "请输入电话";
}

void TestSearchOrderWindow::emptyKeywordSendsNothing()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    search(type);
    QCOMPARE(env->service->count("order/order_list"), 0);
    QCOMPARE(env->dialogs.texts(), QStringList{text});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!box.hadParent);
    QCOMPARE(picker->findChild<QPushButton*>("searchButton")->text(), QString("检索"));
}

void TestSearchOrderWindow::keywordsCannotInjectPairs()
{
    search(7, "a&uid=9");
    const RecordedRequest sent = env->service->last("order/order_list");
    QVERIFY(sent.body.contains("&keyword=a%26uid%3D9&"));
    QCOMPARE(sent.value("keyword"), QString("a&uid=9"));
    QCOMPARE(sent.pairs.size(), 7);
}

void TestSearchOrderWindow::buttonIsBusyWhileSearching()
{
    env->service->script("order/order_list", orders({order("LY1", "1")}).delayed(300));
    picker->findChild<QComboBox*>("comboBox")->setCurrentIndex(1);
    auto* button = picker->findChild<QPushButton*>("searchButton");
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(button->text(), QString("检索中..."));
    QVERIFY(!button->isEnabled());
    QTRY_VERIFY(button->isEnabled());
    QCOMPARE(button->text(), QString("检索"));
    QCOMPARE(table()->rowCount(), 2);
}

void TestSearchOrderWindow::failedSearchesReturnToIdle_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("http 500") << 0 << "警告" << "网络请求错误\n500";
    QTest::newRow("not json") << 1 << "" << "";
    QTest::newRow("json array") << 2 << "" << "";
    QTest::newRow("code 0") << 3 << "警告" << "错误代码：0";
    QTest::newRow("numeric code") << 4 << "警告" << "错误代码：";
    QTest::newRow("empty data") << 5 << "提示" << "没有查询到任何订单";
    QTest::newRow("missing data") << 6 << "提示" << "没有查询到任何订单";
    QTest::newRow("reply that never comes") << 7 << "警告" << "网络请求错误\n";
}

void TestSearchOrderWindow::failedSearchesReturnToIdle()
{
    QFETCH(int, fault);
    QFETCH(QString, title);
    QFETCH(QString, text);
    env->service->script("order/order_list", orders({order("LY1", "1"), order("LY2", "1")}));
    search(1);
    QCOMPARE(table()->rowCount(), 3);
    env->dialogs.clear();

    const QList<Response> faults = {Response::httpError(500),
                                    Response::raw("oops"),
                                    Response::raw("[1]", "application/json"),
                                    Response::failure("不行"),
                                    Response::json({{"code", 1}, {"data", QJsonArray{order("LY3", "1")}}}),
                                    orders({}),
                                    Response::success(),
                                    Response::failure("不行").delayed(3000)};
    ServiceCall::setTransferTimeoutForTests(200);
    env->service->script("order/order_list", faults.at(fault));
    search(1);
    QCOMPARE(env->service->count("order/order_list"), 2);
    auto* button = picker->findChild<QPushButton*>("searchButton");
    QCOMPARE(button->text(), QString("检索"));
    QVERIFY(button->isEnabled());
    if (text.isEmpty()) {
        QVERIFY(env->dialogs.boxes.isEmpty());
    } else {
        QCOMPARE(env->dialogs.texts(), QStringList{text});
        compareBox(env->dialogs.boxes.first(), QMessageBox::Information, title, QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!env->dialogs.boxes.first().hadParent);
    }
    // The earlier result stays, still checkable.
    QCOMPARE(table()->rowCount(), 3);
    QCOMPARE(table()->item(2, 0)->text(), QString("LY2"));
    QVERIFY(table()->item(2, 0)->isCheckable());
}

void TestSearchOrderWindow::resultTable()
{
    QJsonObject first = order("LY1", "2", "/srv/LY1/");
    first["mname"] = "M";
    env->service->script("order/order_list", orders({first, "not an object", order("LY3", "1")}));
    search(1);
    QStandardItemModel* model = table();
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->item(0, 0)->text(), QString("全选"));
    QVERIFY(model->item(0, 0)->isCheckable());
    QCOMPARE(model->item(0, 0)->checkState(), Qt::Unchecked);
    QVERIFY(!model->item(0, 1));

    const QStringList expected = {"LY1", "澜叶旗舰店", "2", "宝-W-M", "R1", "R2", "T1", "/srv/LY1/", "T2", "套系",
                                  "2999", "2599", "2024-06-05"};
    for (int column = 0; column < 13; ++column) {
        QCOMPARE(model->item(1, column)->text(), expected.at(column));
        const bool left = column == 0 || column == 7;
        QCOMPARE(model->item(1, column)->textAlignment(), left ? Qt::Alignment() : Qt::Alignment(Qt::AlignCenter));
    }
    QVERIFY(model->item(1, 0)->isCheckable());
    QCOMPARE(model->item(1, 0)->checkState(), Qt::Unchecked);
    // An element that is no object still gives a row, of empty cells.
    QCOMPARE(model->item(2, 0)->text(), QString());
    QCOMPARE(model->item(3, 0)->text(), QString("LY3"));

    env->service->script("order/order_list", orders({order("LY9", "1")}));
    search(1);
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->item(1, 0)->text(), QString("LY9"));
}

void TestSearchOrderWindow::selectAllRow()
{
    env->service->script("order/order_list", orders({order("LY1", "1"), order("LY2", "1"), order("LY3", "1")}));
    search(1);
    QStandardItemModel* model = table();
    model->item(0, 0)->setCheckState(Qt::Checked);
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(model->item(row, 0)->checkState(), Qt::Checked);
    model->item(2, 0)->setCheckState(Qt::Unchecked);
    QCOMPARE(model->item(0, 0)->checkState(), Qt::Checked);
    model->item(0, 0)->setCheckState(Qt::Unchecked);
    for (int row = 1; row <= 3; ++row)
        QCOMPARE(model->item(row, 0)->checkState(), Qt::Unchecked);
}

void TestSearchOrderWindow::handOverTickedOrders()
{
    QList<QList<ImportOrderModel*>> handOvers;
    connect(picker.get(), &SearchOrderWindow::addSelectOrderSigl, this,
            [&handOvers](QList<ImportOrderModel*> list) { handOvers << list; });
    env->service->script("order/order_list", orders({order("LY1", "1"), order("LY2", "1"), order("LY3", "1")}));
    search(1);
    auto* add = picker->findChild<QPushButton*>("addOrdersBtn");

    QTest::mouseClick(add, Qt::LeftButton);
    QVERIFY(handOvers.isEmpty());
    QCOMPARE(env->dialogs.texts(), QStringList{"请选择导入的订单"});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "提示", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), picker.get());

    table()->item(1, 0)->setCheckState(Qt::Checked);
    table()->item(3, 0)->setCheckState(Qt::Checked);
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(handOvers.size(), 2);
    QCOMPARE(handOvers.first().size(), 2);
    QCOMPARE(handOvers.first().at(0)->orderNumber(), QString("LY1-1"));
    QCOMPARE(handOvers.first().at(1)->orderNumber(), QString("LY3-1"));
    // The same models again; the window stays open and the ticks stay.
    QCOMPARE(handOvers.at(1), handOvers.at(0));
    QVERIFY(picker->isVisible());
    QCOMPARE(table()->item(3, 0)->checkState(), Qt::Checked);
}

void TestSearchOrderWindow::handOverByDoubleClick()
{
    QList<QList<ImportOrderModel*>> handOvers;
    connect(picker.get(), &SearchOrderWindow::addSelectOrderSigl, this,
            [&handOvers](QList<ImportOrderModel*> list) { handOvers << list; });
    env->service->script("order/order_list", orders({order("LY1", "1"), order("LY2", "1")}));
    search(1);
    auto* view = picker->findChild<QTableView*>("tableView");
    const auto doubleClick = [view](int row) {
        const QRect cell = view->visualRect(view->model()->index(row, 2));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    };
    doubleClick(0);
    QVERIFY(handOvers.isEmpty());
    doubleClick(2);
    QCOMPARE(handOvers.size(), 1);
    QCOMPARE(handOvers.first().size(), 1);
    QCOMPARE(handOvers.first().first()->orderNumber(), QString("LY2-1"));
    QCOMPARE(table()->item(2, 0)->checkState(), Qt::Unchecked);
}

void TestSearchOrderWindow::modelsNobodyAdoptedAreDeleted()
{
    QList<QPointer<ImportOrderModel>> handedOver;
    connect(picker.get(), &SearchOrderWindow::addSelectOrderSigl, this, [&handedOver](QList<ImportOrderModel*> list) {
        for (ImportOrderModel* model : list)
            handedOver << model;
    });
    env->service->script("order/order_list", orders({order("LY1", "1"), order("LY2", "1"), order("LY3", "1")}));
    search(1);
    table()->item(1, 0)->setCheckState(Qt::Checked);
    table()->item(2, 0)->setCheckState(Qt::Checked);
    QTest::mouseClick(picker->findChild<QPushButton*>("addOrdersBtn"), Qt::LeftButton);
    QCOMPARE(handedOver.size(), 2);

    // A receiver adopts the first; the second was refused.
    QObject adopter;
    handedOver.at(0)->setParent(&adopter);

    env->service->script("order/order_list", orders({order("LY9", "1")}));
    search(1);
    QVERIFY(handedOver.at(0));
    QVERIFY(!handedOver.at(1));

    table()->item(1, 0)->setCheckState(Qt::Checked);
    QTest::mouseClick(picker->findChild<QPushButton*>("addOrdersBtn"), Qt::LeftButton);
    QCOMPARE(handedOver.size(), 3);
    picker.reset();
    QVERIFY(handedOver.at(0));
    QVERIFY(!handedOver.at(2));
}

void TestSearchOrderWindow::contextMenuOpensTheOrderFolder()
{
    env->service->script("order/order_list", orders({order("LY1", "1", "/srv/photos/LY1/"), order("LY2", "1")}));
    search(1);
    auto* view = picker->findChild<QTableView*>("tableView");
    auto* action = picker->findChild<QAction*>();
    QVERIFY(action);
    QCOMPARE(action->text(), QString("打开订单目录"));
    auto* menu = view->findChild<QMenu*>();

    emit view->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(!menu->isVisible());
    view->setCurrentIndex(view->model()->index(0, 1));
    emit view->customContextMenuRequested(QPoint(5, 5));
    QVERIFY(!menu->isVisible());

    view->setCurrentIndex(view->model()->index(2, 1));
    emit view->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!action->isEnabled());
    menu->hide();

    view->setCurrentIndex(view->model()->index(1, 1));
    emit view->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(action->isEnabled());
    action->trigger();
    QCOMPARE(env->platform->openedUrls, QList<QUrl>{QUrl::fromLocalFile("/srv/photos/LY1/")});
}

void TestSearchOrderWindow::columnWidths_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("1000") << 1000 << QList<int>{130, 100, 100, 100, 100, 100, 130, 320, 110, 130, 110, 110, 110};
    QTest::newRow("999") << 999 << QList<int>{130, 96, 98, 98, 98, 98, 108, 347, 108, 108, 108, 108, 108};
}

void TestSearchOrderWindow::columnWidths()
{
    QFETCH(int, width);
    QFETCH(QList<int>, widths);
    env->service->script("order/order_list", orders({order("LY1", "1")}));
    search(1);
    auto* view = picker->findChild<QTableView*>("tableView");
    view->setFixedWidth(width);
    picker->resize(1600, 800);
    QTRY_COMPARE(view->width(), width);
    picker->repaint();
    QList<int> actual;
    for (int column = 0; column < 13; ++column)
        actual << view->columnWidth(column);
    QCOMPARE(actual, widths);
}

void TestSearchOrderWindow::savedPathFillsTheHiddenRow()
{
    QTemporaryDir folder;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    SearchOrderWindow without;
    QCOMPARE(without.findChild<QLineEdit*>("pathLineEdit")->text(), QString());
    FileOperation::writeStringList("path_copyPhotos.dat", {"/srv/分件", "x"}, true);
    SearchOrderWindow with;
    QDir::setCurrent(previous);
    QCOMPARE(with.findChild<QLineEdit*>("pathLineEdit")->text(), QString("/srv/分件"));
}

QTEST_MAIN(TestSearchOrderWindow)
#include "tst_searchorderwindow.moc"
