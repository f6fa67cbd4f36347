#include "core/Globals.h"
#include "dispatch/shangjiandialog.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QHeaderView>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

QJsonObject order(const QString& key, const QString& times, QJsonObject fields = {})
{
    QJsonObject object{{"order_photo_id", key + "-" + times + "-id"}, {"orderpayforkey", key}, {"servicetimes", times}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

Response orders(const QJsonArray& data)
{
    return Response::success({{"data", data}});
}

QStringList rowTexts(const QStandardItemModel* model, int row)
{
    QStringList texts;
    for (int column = 0; column < model->columnCount(); ++column)
        texts << (model->item(row, column) ? model->item(row, column)->text() : QString("<none>"));
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Response)

// The upload-registration window against the stand-in service.
class TestShangJianDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshWindow();
    void searchBodies_data();
    void searchBodies();
    void emptyKeywordsSendNothing_data();
    void emptyKeywordsSendNothing();
    void dateTypesFillFromThePopUp();
    void rowsShowTheirOrders();
    void listsMergeSearches();
    void failedSearchesLeaveTheLists_data();
    void failedSearchesLeaveTheLists();
    void repliesFillTheListOfTheirSearch();
    void scanRegistersQuietly();
    void doubleClickRegistersAndDropsTheRow_data();
    void doubleClickRegistersAndDropsTheRow();
    void registrationsRefreshTheirOwnOrder();
    void eachRegistrationKeepsHowItStarted();
    void registrationReplies_data();
    void registrationReplies();
    void returnFollowsTheFocus();
    void excelButtonOnlyAsks();
    void closingWithRepliesOut();

private:
    QLineEdit* edit(const char* name) const { return window->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    QStandardItemModel* model(const char* view) const
    {
        return qobject_cast<QStandardItemModel*>(window->findChild<QTableView*>(view)->model());
    }
    void leftSearch(const QString& number);
    void keywordSearch(int type, const QString& keyword);
    void waitIdle();
    void waitForReplies();
    void scan(const QString& id);
    void doubleClickLeft(int row);
    void focus(QWidget* widget);

    std::unique_ptr<ServiceEnvironment> env;
    QPointer<ShangJianDialog> window;
};

void TestShangJianDialog::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    window = new ShangJianDialog;
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void TestShangJianDialog::cleanup()
{
    delete window;
    // The date pop-ups the test left open.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->parent())
            widget->deleteLater();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    env.reset();
}

void TestShangJianDialog::waitIdle()
{
    QTRY_VERIFY(button("pushButton")->isEnabled() && button("pushButton_2")->isEnabled());
    QTest::qWait(20);
}

// Either search's reply enables both buttons again, so only the replies
// themselves tell that every answer has been handled: the window deletes each.
void TestShangJianDialog::waitForReplies()
{
    QTRY_VERIFY(window->findChildren<QNetworkReply*>().isEmpty());
}

void TestShangJianDialog::leftSearch(const QString& number)
{
    edit("lineEdit_orderid")->setText(number);
    QTest::mouseClick(button("pushButton"), Qt::LeftButton);
    waitIdle();
}

void TestShangJianDialog::keywordSearch(int type, const QString& keyword)
{
    window->findChild<QComboBox*>("comboBox")->setCurrentIndex(type);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "CalendarPicker")
            widget->close();
    }
    edit("lineEdit_orderid2")->setText(keyword);
    QTest::mouseClick(button("pushButton_2"), Qt::LeftButton);
    waitIdle();
}

void TestShangJianDialog::focus(QWidget* widget)
{
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
}

void TestShangJianDialog::scan(const QString& id)
{
    focus(edit("lineEdit"));
    edit("lineEdit")->setText(id);
    const int sent = env->service->count("order/gotodigitalid_post");
    QTest::keyClick(edit("lineEdit"), Qt::Key_Return);
    QTRY_COMPARE(env->service->count("order/gotodigitalid_post"), sent + 1);
    QTest::qWait(100);
}

void TestShangJianDialog::doubleClickLeft(int row)
{
    auto* view = window->findChild<QTableView*>("tableView_left");
    const QRect cell = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

void TestShangJianDialog::freshWindow()
{
    QCOMPARE(window->windowTitle(), QString("上件管理"));
    QVERIFY(!(window->windowFlags() & Qt::Dialog & ~Qt::Window));
    QCOMPARE(window->findChild<QLabel*>("label_2")->text(), QString("扫码上件"));
    auto* combo = window->findChild<QComboBox*>("comboBox");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QCOMPARE(items, (QStringList{"预约单号", "拍摄日期", "选片日期", "预约日期", "发货日期", "上件日期", "姓名", "电话"}));
    for (const char* name : {"pushButton", "pushButton_2", "pushButton_3"})
        QCOMPARE(button(name)->focusPolicy(), Qt::NoFocus);
    QCOMPARE(button("pushButton_3")->text(), QString("导出excel"));

    const auto headers = [](QStandardItemModel* m) {
        QStringList texts;
        for (int column = 0; column < m->columnCount(); ++column)
            texts << m->horizontalHeaderItem(column)->text();
        return texts;
    };
    QCOMPARE(headers(model("tableView_left")),
             (QStringList{"单号", "所属门店", "姓名", "价位", "选片师", "二销", "欠款"}));
    QCOMPARE(headers(model("tableView_right")),
             (QStringList{"单号", "所属门店", "上件操作人", "上件日期", "客人姓名", "选片时间", "选片完成时间", "选片人",
                          "样后修片师", "样前对比片", "加急日期", "发货日期"}));
    auto* left = window->findChild<QTableView*>("tableView_left");
    auto* right = window->findChild<QTableView*>("tableView_right");
    QCOMPARE(left->columnWidth(0), 200);
    QCOMPARE(left->columnWidth(1), 150);
    QCOMPARE(right->columnWidth(0), 200);
    QCOMPARE(right->columnWidth(4), 150);
    for (QTableView* view : {left, right}) {
        QCOMPARE(view->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(view->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    }
}

void TestShangJianDialog::searchBodies_data()
{
    QTest::addColumn<int>("type"); // -1: the left search
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("toLeft");
    const QByteArray token = "token=" + ACCESS_TOKEN.toUtf8();
    QTest::newRow("left search") << -1 << "A1"
                                 << token + "&superid=3&shopid=12&searchtype=1&keyword=A1&uid=1001&eid=501&personid=501"
                                 << true;
    QTest::newRow("left search sends blanks") << -1 << " A1 "
                                              << token + "&superid=3&shopid=12&searchtype=1&keyword= A1 &uid=1001&eid=501&personid=501"
                                              << true;
    QTest::newRow("预约单号") << 0 << "A1"
                              << token + "&superid=3&shopid=12&searchtype=1&keyword=A1&uid=1001&eid=501&personid=501"
                              << false;
    const auto keyword = [&token](int number, const char* kw) {
        return token + "&shopid=12&searchtype=" + QByteArray::number(number) + "&keyword=" + kw
            + "&superid=3&uid=1001&eid=501&personid=501";
    };
    QTest::newRow("拍摄日期") << 1 << "2024-06-01" << keyword(4, "2024-06-01") << false;
    QTest::newRow("选片日期") << 2 << "2024-06-08" << keyword(5, "2024-06-08") << false;
    QTest::newRow("预约日期") << 3 << "2024-05-01" << keyword(6, "2024-05-01") << false;
    QTest::newRow("发货日期") << 4 << "2024-06-20" << keyword(7, "2024-06-20") << false;
    QTest::newRow("上件日期") << 5 << "2024-06-05" << keyword(9, "2024-06-05") << false;
    QTest::newRow("姓名, blanks kept") << 6 << " 王 " << keyword(2, " 王 ") << false;
    QTest::newRow("电话") << 7 << "1380" << keyword(3, "1380") << false;
    QTest::newRow("a pair cannot be injected") << 6 << "a&b=c" << keyword(2, "a%26b%3Dc") << false;
}

void TestShangJianDialog::searchBodies()
{
    QFETCH(int, type);
    QFETCH(QString, keyword);
    QFETCH(QByteArray, body);
    QFETCH(bool, toLeft);
    env->service->script("order/order_list", orders({order("LY1", "1")}));
    if (type < 0)
        leftSearch(keyword);
    else
        keywordSearch(type, keyword);
    QCOMPARE(env->service->count("order/order_list"), 1);
    const RecordedRequest request = env->service->last("order/order_list");
    QCOMPARE(request.body, body);
    QCOMPARE(request.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(request.header("Content-Length"), QByteArray::number(body.size()));
    if (type == 6 && keyword.contains('&'))
        QCOMPARE(request.value("keyword"), keyword);
    QCOMPARE(model("tableView_left")->rowCount(), toLeft ? 1 : 0);
    QCOMPARE(model("tableView_right")->rowCount(), toLeft ? 0 : 1);
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestShangJianDialog::emptyKeywordsSendNothing_data()
{
    QTest::addColumn<int>("type"); // -1: the left search
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("message");
    QTest::newRow("left, empty") << -1 << "" << "请输入订单号";
    QTest::newRow("left, blanks") << -1 << "   " << "请输入订单号";
    QTest::newRow("预约单号") << 0 << "" << "请输入订单号";
    for (int type = 1; type <= 5; ++type)
        QTest::newRow(qPrintable(QString("date type %1").arg(type))) << type << "" << "请选择日期";
    QTest::newRow("姓名") << 6 << "" << "请输入姓名";
    QTest::newRow("电话") << 7 << "" << "请输入电话";
}

void TestShangJianDialog::emptyKeywordsSendNothing()
{
    QFETCH(int, type);
    QFETCH(QString, keyword);
    QFETCH(QString, message);
    if (type < 0)
        leftSearch(keyword);
    else
        keywordSearch(type, keyword);
    QTest::qWait(50);
    QCOMPARE(env->service->count("order/order_list"), 0);
    QCOMPARE(env->dialogs.texts(), QStringList{message});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!box.hadParent);
    QCOMPARE(button("pushButton")->text(), QString("检索"));
    QCOMPARE(button("pushButton_2")->text(), QString("检索"));
}

void TestShangJianDialog::dateTypesFillFromThePopUp()
{
    auto* combo = window->findChild<QComboBox*>("comboBox");
    QLineEdit* box = edit("lineEdit_orderid2");
    const auto popUps = [] {
        QList<QWidget*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "CalendarPicker" && widget->isVisible())
                found << widget;
        }
        return found;
    };
    box->setText("typed");
    combo->setCurrentIndex(1);
    QCOMPARE(box->text(), QString());
    QVERIFY(box->isReadOnly());
    QCOMPARE(popUps().size(), 1);
    QWidget* picker = popUps().first();
    QVERIFY(!picker->parent());
    QVERIFY(picker->testAttribute(Qt::WA_DeleteOnClose));
    picker->findChild<QCalendarWidget*>()->setSelectedDate(QDate(2024, 6, 1));
    picker->findChild<QPushButton*>("pushButton")->click();
    QCOMPARE(box->text(), QString("2024-06-01"));
    QTRY_COMPARE(popUps().size(), 0);

    combo->setCurrentIndex(6);
    QCOMPARE(box->text(), QString());
    QVERIFY(!box->isReadOnly());
    QCOMPARE(popUps().size(), 0);

    combo->setCurrentIndex(5);
    QCOMPARE(popUps().size(), 1);
    popUps().first()->findChild<QPushButton*>("pushButton_2")->click();
    QCOMPARE(box->text(), QString());
    QTRY_COMPARE(popUps().size(), 0);
    QTest::mouseClick(button("pushButton_2"), Qt::LeftButton);
    QCOMPARE(env->dialogs.texts(), QStringList{"请选择日期"});
}

void TestShangJianDialog::rowsShowTheirOrders()
{
    env->service->script(
        "order/order_list",
        orders({order("A", "1", {{"storesname", "一店"}, {"bname", ""}, {"wname", ""}, {"mname", "M"}, {"order_price", "2599"},
                                 {"selectphotoname", "何"}, {"twosales", "800"}, {"debt", 0},
                                 {"gotodigitalname", "员工"}, {"gotodigitaltime", "2024-06-05 10:00:00"},
                                 {"selectphotodate", "2024-06-08"}, {"selectphototime", "2024-06-08 17:20:00"},
                                 {"tiaoxiname", "孙"}, {"tiaosename", "赵"}, {"urgentdate", "2024-06-15"},
                                 {"getphotodate", "2024-06-20"}}),
                order("B", "2", {{"bname", "宝"}, {"wname", ""}, {"mname", ""}, {"gotodigitaltime", "2024-6-5"},
                                 {"servicetimes", 2}}),
                order("C", "1", {{"bname", "宝"}, {"wname", "W"}, {"mname", "M"}})}));
    leftSearch("X");
    keywordSearch(6, "X");
    QStandardItemModel* left = model("tableView_left");
    QStandardItemModel* right = model("tableView_right");
    QCOMPARE(left->rowCount(), 3);
    QCOMPARE(rowTexts(left, 0), (QStringList{"A-1", "一店", "M", "2599", "何", "800", ""}));
    QCOMPARE(rowTexts(left, 1), (QStringList{"B-", "", "宝", "", "", "", ""}));
    QCOMPARE(rowTexts(left, 2).at(2), QString("宝-W-M"));
    QCOMPARE(rowTexts(right, 0), (QStringList{"A-1", "一店", "员工", "2024-06-05", "M", "2024-06-08", "2024-06-08", "何",
                                              "孙", "赵", "2024-06-15", "2024-06-20"}));
    QCOMPARE(rowTexts(right, 1).mid(0, 5), (QStringList{"B-", "", "", "2024-6-5", "宝"}));
    for (QStandardItemModel* m : {left, right}) {
        for (int column = 0; column < m->columnCount(); ++column)
            QCOMPARE(m->item(0, column)->textAlignment(), Qt::AlignCenter);
    }
}

void TestShangJianDialog::listsMergeSearches()
{
    env->service->script("order/order_list",
                         orders({order("A", "1", {{"debt", "1"}}), order("A", "1", {{"debt", "2"}}), order("B", "1")}));
    leftSearch("A");
    keywordSearch(6, "A");
    QCOMPARE(model("tableView_left")->rowCount(), 2);
    QCOMPARE(model("tableView_left")->item(0, 6)->text(), QString("1")); // the first of two
    QCOMPARE(model("tableView_right")->rowCount(), 2);
    QCOMPARE(model("tableView_right")->item(0, 0)->text(), QString("A-1"));

    env->service->script("order/order_list",
                         orders({order("C", "1"), order("B", "1", {{"debt", "9"}, {"tiaoxiname", "新"}}),
                                 order("A", "2")}));
    leftSearch("B");
    keywordSearch(6, "B");
    QStandardItemModel* left = model("tableView_left");
    QCOMPARE(left->rowCount(), 4);
    QCOMPARE(left->item(1, 0)->text(), QString("B-1"));
    QCOMPARE(left->item(1, 6)->text(), QString("")); // listed rows stay as they were
    QCOMPARE(left->item(2, 0)->text(), QString("C-1"));
    QCOMPARE(left->item(3, 0)->text(), QString("A-2"));
    QStandardItemModel* right = model("tableView_right");
    QCOMPARE(right->rowCount(), 4);
    QCOMPARE(right->item(1, 0)->text(), QString("B-1"));
    QCOMPARE(right->item(1, 8)->text(), QString("新")); // refreshed in place
    QCOMPARE(right->item(2, 0)->text(), QString("C-1"));
    QCOMPARE(right->item(3, 0)->text(), QString("A-2"));
}

void TestShangJianDialog::failedSearchesLeaveTheLists_data()
{
    QTest::addColumn<Response>("response");
    QTest::addColumn<QStringList>("boxes"); // title, text
    QTest::newRow("HTTP 500") << Response::httpError(500) << QStringList{"警告", "网络请求错误\n500"};
    QTest::newRow("not JSON") << Response::raw("<html>") << QStringList{};
    QTest::newRow("JSON array") << Response::raw("[1]", "application/json") << QStringList{};
    QTest::newRow("code 0") << Response::failure("x") << QStringList{"警告", "错误代码：0"};
    QTest::newRow("numeric code") << Response::json({{"code", 1}, {"data", QJsonArray{order("Z", "1")}}})
                                  << QStringList{"警告", "错误代码："};
    QTest::newRow("empty data") << orders({}) << QStringList{"提示", "没有查询到任何订单"};
    QTest::newRow("data not an array") << Response::success({{"data", "x"}}) << QStringList{"提示", "没有查询到任何订单"};
}

void TestShangJianDialog::failedSearchesLeaveTheLists()
{
    QFETCH(Response, response);
    QFETCH(QStringList, boxes);
    env->service->script("order/order_list", orders({order("A", "1")}));
    leftSearch("A");
    keywordSearch(6, "A");
    env->service->script("order/order_list", response.delayed(200));
    edit("lineEdit_orderid")->setText("A");
    QTest::mouseClick(button("pushButton"), Qt::LeftButton);
    QCOMPARE(button("pushButton")->text(), QString("检索中..."));
    QVERIFY(!button("pushButton")->isEnabled());
    keywordSearch(6, "A");
    waitForReplies();
    QCOMPARE(button("pushButton")->text(), QString("检索"));
    QCOMPARE(button("pushButton_2")->text(), QString("检索"));
    QCOMPARE(model("tableView_left")->rowCount(), 1);
    QCOMPARE(model("tableView_right")->rowCount(), 1);
    QStringList seen;
    for (const DialogRecorder::Box& box : qAsConst(env->dialogs.boxes)) {
        compareBox(box, QMessageBox::Information, box.title, QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!box.hadParent);
        seen << box.title << box.text;
    }
    QStringList expected = boxes;
    expected += boxes;
    QCOMPARE(seen, expected);
}

void TestShangJianDialog::repliesFillTheListOfTheirSearch()
{
    env->service->setHandler("order/order_list", [](const RecordedRequest& request) {
        if (request.value("keyword") == "left")
            return orders({order("L", "1")}).delayed(300);
        return orders({order("R", "1")});
    });
    edit("lineEdit_orderid")->setText("left");
    QTest::mouseClick(button("pushButton"), Qt::LeftButton);
    keywordSearch(6, "right");
    QCOMPARE(model("tableView_right")->rowCount(), 1);
    QCOMPARE(model("tableView_left")->rowCount(), 0);
    QTRY_COMPARE(model("tableView_left")->rowCount(), 1);
    QCOMPARE(model("tableView_left")->item(0, 0)->text(), QString("L-1"));
    QCOMPARE(model("tableView_right")->rowCount(), 1);
    QCOMPARE(model("tableView_right")->item(0, 0)->text(), QString("R-1"));
}

void TestShangJianDialog::scanRegistersQuietly()
{
    // The demo's order 90001 is LY20240601, first service.
    leftSearch("LY20240601");
    QCOMPARE(model("tableView_left")->rowCount(), 2);
    scan("90001");
    const QByteArray body = "token=" + ACCESS_TOKEN.toUtf8()
        + "&uid=501&shopid=12&order_photo_id=90001&superid=3&eid=501&personid=501";
    QCOMPARE(env->service->last("order/gotodigitalid_post").body, body);
    QVERIFY(env->dialogs.boxes.isEmpty());
    QStandardItemModel* right = model("tableView_right");
    QCOMPARE(right->rowCount(), 1);
    const QStringList row = rowTexts(right, 0);
    QCOMPARE(row.mid(0, 3), (QStringList{"LY20240601-1", "", "演示员工"}));
    QCOMPARE(row.at(3), QDate::currentDate().toString("yyyy-MM-dd"));
    QCOMPARE(row.mid(4), (QStringList{"王小宝-李娜-王强", "2024-06-08", "2024-06-08", "何选片", "孙修图", "赵调色",
                                      "2024-06-15", ""}));
    QCOMPARE(edit("lineEdit")->text(), QString("90001"));
    QCOMPARE(edit("lineEdit")->selectedText(), QString("90001"));
    QVERIFY(edit("lineEdit")->hasFocus());
    QCOMPARE(model("tableView_left")->rowCount(), 2); // a scan leaves the left list alone

    scan("90001"); // once registered the service says so, and the row is refreshed
    QCOMPARE(env->dialogs.texts(), QStringList{"该订单已上件"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "提示", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(right->rowCount(), 1);

    env->dialogs.clear();
    focus(edit("lineEdit"));
    edit("lineEdit")->clear();
    QTest::keyClick(edit("lineEdit"), Qt::Key_Return);
    QCOMPARE(env->dialogs.texts(), QStringList{"请输入订单号"});
    QCOMPARE(env->dialogs.boxes.first().title, QString("警告"));
    QCOMPARE(env->service->count("order/gotodigitalid_post"), 2);

    scan(" 90003 "); // sent as scanned: the service knows no such id
    QCOMPARE(env->service->last("order/gotodigitalid_post").value("order_photo_id"), QString(" 90003 "));
}

void TestShangJianDialog::doubleClickRegistersAndDropsTheRow_data()
{
    QTest::addColumn<Response>("response");
    QTest::addColumn<QStringList>("boxes"); // title, text
    QTest::addColumn<bool>("added");
    QJsonObject registered{{"orderpayforkey", "A"}, {"servicetimes", "1"}, {"babyname", "宝"}, {"dadname", "爸"}};
    QTest::newRow("registered") << Response::success({{"message", "上件成功"}, {"order", registered}})
                                << QStringList{"提示", "上件成功"} << true;
    QTest::newRow("already registered")
        << Response::json({{"code", "1002"}, {"message", "已上件"}, {"order", registered}}) << QStringList{"提示", "已上件"}
        << true;
    QTest::newRow("refused") << Response::failure("不能上件") << QStringList{"警告", "不能上件"} << false;
    QTest::newRow("network error") << Response::httpError(500) << QStringList{"警告", "网络请求错误\n500"} << false;
    QTest::newRow("not JSON") << Response::raw("oops") << QStringList{} << false;
    QTest::newRow("success without order") << Response::success({{"message", "上件成功"}})
                                           << QStringList{"提示", "上件成功"} << false;
}

void TestShangJianDialog::doubleClickRegistersAndDropsTheRow()
{
    QFETCH(Response, response);
    QFETCH(QStringList, boxes);
    QFETCH(bool, added);
    env->service->script("order/order_list", orders({order("A", "1"), order("B", "1")}));
    leftSearch("X");
    env->service->script("order/gotodigitalid_post", response.delayed(200));
    doubleClickLeft(0);
    // Gone before the service has answered.
    QCOMPARE(model("tableView_left")->rowCount(), 1);
    QCOMPARE(model("tableView_left")->item(0, 0)->text(), QString("B-1"));
    QTRY_COMPARE(env->service->count("order/gotodigitalid_post"), 1);
    QCOMPARE(env->service->last("order/gotodigitalid_post").value("order_photo_id"), QString("A-1-id"));
    waitForReplies();
    QStringList seen;
    for (const DialogRecorder::Box& box : qAsConst(env->dialogs.boxes)) {
        compareBox(box, QMessageBox::Information, box.title, QMessageBox::Yes, QMessageBox::Yes);
        seen << box.title << box.text;
    }
    QCOMPARE(seen, boxes);
    QCOMPARE(model("tableView_right")->rowCount(), added ? 1 : 0);
    if (added)
        QCOMPARE(rowTexts(model("tableView_right"), 0).mid(0, 5), (QStringList{"A-1", "", "", "", "宝-爸"}));
    QCOMPARE(model("tableView_left")->rowCount(), 1);
}

void TestShangJianDialog::registrationsRefreshTheirOwnOrder()
{
    env->service->script("order/order_list",
                         orders({order("A", "1", {{"storesname", "一店"}}), order("A", "2", {{"storesname", "一店"}})}));
    keywordSearch(6, "A");
    QCOMPARE(model("tableView_right")->rowCount(), 2);
    env->service->script("order/gotodigitalid_post",
                         Response::success({{"order", QJsonObject{{"orderpayforkey", "A"}, {"servicetimes", "2"},
                                                                  {"gotodigitalname", "员工"}}}}));
    scan("A-2-id");
    QStandardItemModel* right = model("tableView_right");
    QCOMPARE(right->rowCount(), 2);
    QCOMPARE(rowTexts(right, 0).mid(0, 3), (QStringList{"A-1", "一店", ""}));
    QCOMPARE(rowTexts(right, 1).mid(0, 3), (QStringList{"A-2", "", "员工"}));
}

void TestShangJianDialog::eachRegistrationKeepsHowItStarted()
{
    env->service->script("order/order_list", orders({order("A", "1")}));
    leftSearch("A");
    env->service->setHandler("order/gotodigitalid_post", [](const RecordedRequest& request) {
        const QString id = request.value("order_photo_id");
        const Response reply = Response::success(
            {{"message", "上件 " + id}, {"order", QJsonObject{{"orderpayforkey", id}, {"servicetimes", "1"}}}});
        return id == "S" ? reply.delayed(300) : reply;
    });
    scan("S");
    doubleClickLeft(0);
    QTRY_COMPARE(model("tableView_right")->rowCount(), 2);
    QCOMPARE(env->dialogs.texts(), QStringList{"上件 A-1-id"});
}

void TestShangJianDialog::registrationReplies_data()
{
    QTest::addColumn<Response>("response");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("rows");
    const QJsonObject registered{{"orderpayforkey", "A"}, {"servicetimes", "1"}};
    QTest::newRow("scan, code 1") << Response::success({{"message", "好"}, {"order", registered}}) << QStringList{} << 1;
    QTest::newRow("scan, code 1002") << Response::json({{"code", "1002"}, {"message", "已上件"}, {"order", registered}})
                                     << QStringList{"已上件"} << 1;
    QTest::newRow("scan, numeric code") << Response::json({{"code", 1}, {"message", "坏"}, {"order", registered}})
                                        << QStringList{"坏"} << 0;
    QTest::newRow("scan, empty booking number")
        << Response::success({{"order", QJsonObject{{"servicetimes", "1"}}}}) << QStringList{} << 0;
}

void TestShangJianDialog::registrationReplies()
{
    QFETCH(Response, response);
    QFETCH(QStringList, boxes);
    QFETCH(int, rows);
    env->service->script("order/gotodigitalid_post", response);
    scan("1");
    QCOMPARE(env->dialogs.texts(), boxes);
    QCOMPARE(model("tableView_right")->rowCount(), rows);
}

void TestShangJianDialog::returnFollowsTheFocus()
{
    env->service->script("order/order_list", orders({order("A", "1")}));
    edit("lineEdit_orderid")->setText("A");
    edit("lineEdit_orderid2")->setText("B");
    edit("lineEdit")->setText("90001");

    focus(edit("lineEdit_orderid"));
    for (Qt::Key key : {Qt::Key_Enter, Qt::Key_Escape})
        QTest::keyClick(edit("lineEdit_orderid"), key);
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::qWait(50);
    QVERIFY(window->isVisible());
    QCOMPARE(env->service->requests().size(), 0);

    QTest::keyClick(edit("lineEdit_orderid"), Qt::Key_Return);
    QTRY_COMPARE(env->service->count("order/order_list"), 1);
    QCOMPARE(env->service->last("order/order_list").value("keyword"), QString("A"));
    // Return searches even while the button is busy.
    QTest::keyClick(edit("lineEdit_orderid"), Qt::Key_Return);
    focus(edit("lineEdit_orderid2"));
    QTest::keyClick(edit("lineEdit_orderid2"), Qt::Key_Return);
    QTRY_COMPARE(env->service->count("order/order_list"), 3);
    QStringList keywords;
    for (const RecordedRequest& request : env->service->requests("order/order_list"))
        keywords << request.value("keyword");
    keywords.sort();
    QCOMPARE(keywords, (QStringList{"A", "A", "B"}));
    QCOMPARE(env->service->count("order/gotodigitalid_post"), 0);
    waitIdle();
    QVERIFY(window->isVisible());
}

void TestShangJianDialog::excelButtonOnlyAsks()
{
    QDir::current().mkpath("docs");
    env->dialogs.fileAnswers << QStringList{QDir::current().absoluteFilePath("docs/out.xls")};
    QTest::mouseClick(button("pushButton_3"), Qt::LeftButton);
    QCOMPARE(env->dialogs.fileDialogs.size(), 1);
    const DialogRecorder::FileDialog dialog = env->dialogs.fileDialogs.first();
    QCOMPARE(dialog.kind, DialogRecorder::FileDialogKind::SaveFileName);
    QCOMPARE(dialog.caption, QString("保存"));
    QCOMPARE(dialog.dir, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QCOMPARE(dialog.filter, QString("Excel 文件(*.xls *.xlsx)"));
    QVERIFY(QDir("docs").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestShangJianDialog::closingWithRepliesOut()
{
    env->service->script("order/order_list", Response::httpError(500).delayed(200));
    env->service->script("order/gotodigitalid_post", Response::httpError(500).delayed(200));
    window->setAttribute(Qt::WA_DeleteOnClose);
    edit("lineEdit_orderid")->setText("A");
    QTest::mouseClick(button("pushButton"), Qt::LeftButton);
    scan("90001");
    QCOMPARE(env->service->count("order/order_list"), 1);
    window->close();
    QTRY_VERIFY(!window);
    QTest::qWait(400);
    QVERIFY(env->dialogs.boxes.isEmpty());
}

QTEST_MAIN(TestShangJianDialog)
#include "tst_shangjiandialog.moc"
