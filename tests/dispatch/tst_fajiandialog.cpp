#include "core/Globals.h"
#include "dispatch/FaJianDialog.h"
#include "files/BarCodePicture.h"
#include "files/ImageOperation.h"
#include "StudioService.h"
#include "support/BarCodeReader.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QHeaderView>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

QJsonObject order(const QString& key, const QString& id, QJsonObject fields = {})
{
    QJsonObject object{{"orderpayforkey", key}, {"orderid", id}, {"mname", "M"}, {"wname", "W"}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QJsonObject goods(const QString& id, const QString& orderId, QJsonObject fields = {})
{
    QJsonObject object{{"id", id}, {"orderid", orderId}, {"goodname", "品" + id}, {"goodsizename", "10寸"}};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

const QJsonArray kShops{QJsonObject{{"id", "P1"}, {"name", "美印"}}, QJsonObject{{"id", "P2"}, {"name", "彩虹"}}};
const QJsonArray kFactories{QJsonObject{{"id", "F1"}, {"name", "华艺"}}};

Response orders(const QJsonArray& list, const QJsonArray& shops = kShops, const QJsonArray& factories = kFactories)
{
    return Response::success({{"order", list}, {"printshops", shops}, {"factorys", factories}});
}

Response goodsReply(const QJsonArray& first, const QJsonArray& second = {})
{
    return Response::success({{"order", QJsonObject{{"ordergoods0", first}, {"ordergoods2", second}}}});
}

QByteArray token()
{
    return "token=" + ACCESS_TOKEN.toUtf8();
}

} // namespace

Q_DECLARE_METATYPE(Response)

// The dispatch window against the stand-in service, labels as PDF files.
class TestFaJianDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshWindow();
    void searchBodies_data();
    void searchBodies();
    void emptyKeywordsEmptyTheLists();
    void dateTypesFillFromThePopUp();
    void orderListReply();
    void orderByIdReply_data();
    void orderByIdReply();
    void failedReplies_data();
    void failedReplies();
    void goodsTable();
    void setAllChangesOneColumn();
    void submissionSendsTheShownGoods();
    void submissionFailures();
    void goodsStayWithTheirOrders();
    void submitWithNothingShownSendsNothing();
    void columnWidths();
    void keysAndExcel();
    void labelsArePrintedPerTickedLine();
    void printedLabelsScanBackToTheirIds();
    void noPrinterSaysSoOnce_data();
    void noPrinterSaysSoOnce();
    void closingWithRepliesOut();

private:
    QLineEdit* edit(const char* name) const { return window->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    QTableWidget* goodsWidget() const { return window->findChild<QTableWidget*>("tableWidget"); }
    QStandardItemModel* left() const
    {
        return qobject_cast<QStandardItemModel*>(window->findChild<QTableView*>("tableView_left")->model());
    }
    QComboBox* combo(int row, int column) const { return qobject_cast<QComboBox*>(goodsWidget()->cellWidget(row, column)); }
    QCheckBox* tick(int row) const
    {
        QWidget* cell = goodsWidget()->cellWidget(row, 12);
        return cell ? cell->findChild<QCheckBox*>() : nullptr;
    }
    QStringList comboItems(int row, int column) const;
    void search(int type, const QString& keyword);
    void waitIdle();
    void clickLeft(int row);
    void focus(QWidget* widget);
    // Searches the scripted orders and waits for all their goods.
    void listOrders(const QJsonArray& list);
    // Lists one order with these goods, shows them and presses 打印条码.
    void printGoods(const QJsonArray& lines);
    // A printed label page at 10 pixels a millimetre, in grey.
    QImage renderPage(const QString& pdf) const;
    // The files under the test's own temporary folder (QDir::tempPath()).
    QStringList temporaryFiles() const;

    std::unique_ptr<ServiceEnvironment> env;
    QPointer<FaJianDialog> window;
};

void TestFaJianDialog::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    env->platform->labelFolder = env->workDir.filePath("labels");
    // The bar-code pictures go to the system's temporary folder: this test's own.
    QVERIFY(QDir().mkpath(env->workDir.filePath("tmp")));
    qputenv("TMPDIR", QFile::encodeName(env->workDir.filePath("tmp")));
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    g_shopName = "澜叶旗舰店";
    // Scripted orders hold no goods unless a test says otherwise.
    env->service->script("order/ordergoods", goodsReply({}));
    window = new FaJianDialog;
    window->resize(1400, 700);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void TestFaJianDialog::cleanup()
{
    delete window;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (!widget->parent())
            widget->deleteLater();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    env.reset();
    qunsetenv("TMPDIR");
}

QStringList TestFaJianDialog::comboItems(int row, int column) const
{
    QStringList items;
    QComboBox* box = combo(row, column);
    for (int i = 0; box && i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

void TestFaJianDialog::waitIdle()
{
    QTRY_VERIFY(button("pushButton")->isEnabled() && button("pushButton_2")->isEnabled());
    QTest::qWait(20);
}

void TestFaJianDialog::search(int type, const QString& keyword)
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

void TestFaJianDialog::listOrders(const QJsonArray& list)
{
    QSet<QString> bookings;
    for (const QJsonValue& element : list)
        bookings << element.toObject().value("orderpayforkey").toString();
    const int asked = env->service->count("order/ordergoods");
    env->service->script("order/order_list", orders(list));
    search(5, "X");
    QTRY_COMPARE(env->service->count("order/ordergoods"), asked + bookings.size());
    QTest::qWait(100);
}

void TestFaJianDialog::printGoods(const QJsonArray& lines)
{
    env->service->script("order/ordergoods", goodsReply(lines));
    listOrders({order("A", "O1")});
    clickLeft(0);
    QTest::mouseClick(button("pushButton_print"), Qt::LeftButton);
}

QImage TestFaJianDialog::renderPage(const QString& pdf) const
{
    const QString prefix = env->workDir.filePath("page");
    QProcess::execute("pdftoppm", {"-r", "254", "-gray", "-png", "-singlefile", pdf, prefix});
    return QImage(prefix + ".png");
}

QStringList TestFaJianDialog::temporaryFiles() const
{
    QStringList files;
    QDirIterator it(env->workDir.filePath("tmp"), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(env->workDir.filePath("tmp")).relativeFilePath(it.next());
    files.sort();
    return files;
}

void TestFaJianDialog::clickLeft(int row)
{
    auto* view = window->findChild<QTableView*>("tableView_left");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(view->model()->index(row, 0)).center());
}

void TestFaJianDialog::focus(QWidget* widget)
{
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
}

void TestFaJianDialog::freshWindow()
{
    QCOMPARE(window->windowTitle(), QString("发件管理"));
    QCOMPARE(window->findChild<QLabel*>("label_2")->text(), QString("扫码搜索"));
    QCOMPARE(window->findChild<QLabel*>("label_currentID")->text(), QString("当前单号："));
    auto* types = window->findChild<QComboBox*>("comboBox");
    QStringList items;
    for (int i = 0; i < types->count(); ++i)
        items << types->itemText(i);
    QCOMPARE(items, (QStringList{"预约单号", "拍摄日期", "看样日期", "预约日期", "发货日期", "姓名", "电话"}));
    for (const char* name : {"pushButton", "pushButton_2", "pushButton_submit", "pushButton_print", "pushButton_excel"})
        QCOMPARE(button(name)->focusPolicy(), Qt::NoFocus);
    QCOMPARE(button("pushButton_excel")->text(), QString("导出EXCEL"));
    QStringList headers;
    for (int column = 0; column < left()->columnCount(); ++column)
        headers << left()->horizontalHeaderItem(column)->text();
    QCOMPARE(headers, (QStringList{"单号", "姓名", "价位", "设计师", "设计完成日期"}));
    QCOMPARE(goodsWidget()->columnCount(), 13);
    QCOMPARE(goodsWidget()->horizontalHeaderItem(12)->text(), QString("打印条码"));
    QCOMPARE(goodsWidget()->rowCount(), 0);
    QVERIFY(goodsWidget()->horizontalHeader()->isHidden());
}

void TestFaJianDialog::searchBodies_data()
{
    QTest::addColumn<int>("type"); // -1: the order-number box
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QByteArray>("body");
    const QByteArray t = token();
    QTest::newRow("预约单号") << 0 << "A1" << t + "&uid=501&shopid=12&superid=3&type=1&orderpayforkey=A1";
    QTest::newRow("拍摄日期") << 1 << "2024-06-01" << t + "&uid=501&shopid=12&superid=3&type=2&photodate=2024-06-01";
    QTest::newRow("看样日期") << 2 << "2024-06-08" << t + "&shopid=12&superid=3&type=3&uid=501&selectphotodate=2024-06-08";
    QTest::newRow("预约日期") << 3 << "2024-05-01" << t + "&shopid=12&superid=3&type=4&selectphotodate=2024-05-01&uid=501";
    QTest::newRow("发货日期") << 4 << "2024-06-20" << t + "&shopid=12&superid=3&type=5&uid=501&selectphotodate=2024-06-20";
    QTest::newRow("姓名 trimmed") << 5 << " 王 " << t + "&uid=501&shopid=12&superid=3&type=6&orderpayforkey=王";
    QTest::newRow("电话") << 6 << "a&b=c" << t + "&uid=501&shopid=12&superid=3&type=7&orderpayforkey=a%26b%3Dc";
    QTest::newRow("order-number box, as typed") << -1 << " A1 " << t + "&uid=501&shopid=12&superid=3&type=1&orderpayforkey= A1 ";
}

void TestFaJianDialog::searchBodies()
{
    QFETCH(int, type);
    QFETCH(QString, keyword);
    QFETCH(QByteArray, body);
    env->service->script("order/order_list", orders({order("A", "O1")}));
    if (type < 0) {
        edit("lineEdit_orderid")->setText(keyword);
        QTest::mouseClick(button("pushButton"), Qt::LeftButton);
        QCOMPARE(button("pushButton")->text(), QString("检索中..."));
        QCOMPARE(edit("lineEdit_orderid")->selectedText(), keyword);
        waitIdle();
    } else {
        search(type, keyword);
    }
    QCOMPARE(env->service->count("order/order_list"), 1);
    QCOMPARE(env->service->last("order/order_list").body, body);
    QTRY_COMPARE(env->service->count("order/ordergoods"), 1);
    QCOMPARE(env->service->last("order/ordergoods").body, token() + "&orderid=O1&shopid=12");
    QCOMPARE(left()->rowCount(), 1);
}

void TestFaJianDialog::emptyKeywordsEmptyTheLists()
{
    env->service->script("order/ordergoods", goodsReply({goods("G1", "5001"), goods("G2", "5001")}, {goods("G3", "5001")}));
    listOrders({order("A", "5001")});
    clickLeft(0);
    QCOMPARE(goodsWidget()->rowCount(), 4);
    const QStringList messages = {"请输入订单号", "请选择日期", "请选择日期", "请选择日期", "请选择日期", "请输入姓名", "请输入电话"};
    for (int type = 0; type < messages.size(); ++type) {
        env->dialogs.clear();
        search(type, "  ");
        QCOMPARE(env->dialogs.texts(), QStringList{messages.at(type)});
        compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!env->dialogs.boxes.first().hadParent);
    }
    QCOMPARE(env->service->count("order/order_list"), 1);
    // The lists are empty, the tables keep their rows: nothing to submit or print.
    QCOMPARE(left()->rowCount(), 1);
    QCOMPARE(goodsWidget()->rowCount(), 4);
    QTest::mouseClick(button("pushButton_submit"), Qt::LeftButton);
    QTest::mouseClick(button("pushButton_print"), Qt::LeftButton);
    clickLeft(0);
    QTest::qWait(50);
    QCOMPARE(env->service->count("order/sendtoshop"), 0);
    QVERIFY(env->platform->labelFiles.isEmpty());

    env->dialogs.clear();
    edit("lineEdit_orderid")->setText(" ");
    QTest::mouseClick(button("pushButton"), Qt::LeftButton);
    QCOMPARE(env->dialogs.texts(), QStringList{"请输入订单号"});
}

void TestFaJianDialog::dateTypesFillFromThePopUp()
{
    auto* types = window->findChild<QComboBox*>("comboBox");
    QLineEdit* box = edit("lineEdit_orderid2");
    const auto popUp = []() -> QWidget* {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == "CalendarPicker" && widget->isVisible())
                return widget;
        }
        return nullptr;
    };
    box->setText("x");
    types->setCurrentIndex(2);
    QCOMPARE(box->text(), QString());
    QVERIFY(box->isReadOnly());
    QVERIFY(popUp());
    popUp()->findChild<QCalendarWidget*>()->setSelectedDate(QDate(2024, 6, 8));
    popUp()->findChild<QPushButton*>("pushButton")->click();
    QCOMPARE(box->text(), QString("2024-06-08"));
    types->setCurrentIndex(5);
    QVERIFY(!box->isReadOnly());
    QTRY_VERIFY(!popUp());
    types->setCurrentIndex(3);
    QVERIFY(popUp());
    popUp()->findChild<QPushButton*>("pushButton_2")->click();
    QCOMPARE(box->text(), QString());
}

void TestFaJianDialog::orderListReply()
{
    listOrders({order("A", "O1", {{"wname", ""}, {"order_price", "2599"}, {"sheji", "钱"}, {"shejitime", "2024-06-12"}}),
                order("A", "O9", {{"mname", "X"}}), order("B", "O2", {{"mname", ""}}),
                order("C", "O3", {{"order_price", 2599}})});
    QCOMPARE(left()->rowCount(), 3);
    const auto row = [this](int r) {
        QStringList texts;
        for (int column = 0; column < 5; ++column)
            texts << left()->item(r, column)->text();
        return texts;
    };
    QCOMPARE(row(0), (QStringList{"A", "M", "2599", "钱", "2024-06-12"}));
    QCOMPARE(row(1), (QStringList{"B", "W", "", "", ""}));
    QCOMPARE(row(2), (QStringList{"C", "M/W", "", "", ""}));
    QCOMPARE(left()->item(0, 0)->textAlignment(), Qt::AlignCenter);
    QStringList asked;
    for (const RecordedRequest& request : env->service->requests("order/ordergoods"))
        asked << request.value("orderid");
    asked.sort();
    QCOMPARE(asked, (QStringList{"O1", "O2", "O3"}));

    // The order-number box adds to the listed orders and asks for all goods again.
    env->service->script("order/order_list", orders({order("B", "O2"), order("D", "O4")}));
    edit("lineEdit_orderid")->setText("B");
    QTest::mouseClick(button("pushButton"), Qt::LeftButton);
    waitIdle();
    QCOMPARE(left()->rowCount(), 4);
    QCOMPARE(left()->item(3, 0)->text(), QString("D"));
    QTRY_COMPARE(env->service->count("order/ordergoods"), 7);

    // A reply without orders still brings the print shops: "请选择" first.
    env->service->script("order/order_list", orders({}, QJsonArray{QJsonObject{{"id", "P7"}, {"name", "唯一"}}}));
    search(5, "none"); // goods replies still out free the button too: wait for the box
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"没有查询到任何订单"});
    QCOMPARE(env->dialogs.boxes.first().title, QString("提示"));
}

void TestFaJianDialog::orderByIdReply_data()
{
    QTest::addColumn<QJsonArray>("shops");
    QTest::addColumn<QJsonArray>("factories");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("shopItems");
    QTest::newRow("both lists") << kShops << kFactories << QStringList{} << QStringList{"美印", "彩虹"};
    QTest::newRow("no factory") << QJsonArray{QJsonObject{{"id", "P9"}, {"name", "另"}}} << QJsonArray{}
                                << QStringList{"后台没有设置冲印公司或后期工厂"}
                                << QStringList{"请选择", "美印", "彩虹"};
}

void TestFaJianDialog::orderByIdReply()
{
    QFETCH(QJsonArray, shops);
    QFETCH(QJsonArray, factories);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, shopItems);
    listOrders({order("A", "O1")});
    env->service->script("order/getorderbyid",
                         Response::success({{"order", order("S", "O5", {{"getphotodate", "2024-07-01"}})},
                                            {"printshops", shops},
                                            {"factorys", factories}}));
    env->service->script("order/ordergoods", goodsReply({goods("G1", "O5", {{"printshopname", "不在列表"}})}));
    focus(edit("lineEdit"));
    edit("lineEdit")->setText("O5");
    QTest::keyClick(edit("lineEdit"), Qt::Key_Return);
    QCOMPARE(edit("lineEdit")->selectedText(), QString("O5"));
    QTRY_COMPARE(env->service->count("order/getorderbyid"), 1);
    QCOMPARE(env->service->last("order/getorderbyid").body, token() + "&shopid=12&orderid=O5");
    QTRY_COMPARE(env->service->count("order/ordergoods"), 2);
    QCOMPARE(env->service->last("order/ordergoods").value("orderid"), QString("O5"));
    QCOMPARE(env->dialogs.texts(), boxes);
    QCOMPARE(left()->rowCount(), 2);
    QTest::qWait(50);
    clickLeft(1);
    QCOMPARE(comboItems(1, 8), shopItems);
    QCOMPARE(combo(1, 8)->currentIndex(), 0); // a print shop not listed shows the first entry
    // Only the order-list reply fills the pick-up dates.
    QCOMPARE(goodsWidget()->item(1, 5)->text(), QString());
}

void TestFaJianDialog::failedReplies_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<Response>("response");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("order list, HTTP 500") << "order/order_list" << Response::httpError(500)
                                          << QStringList{"警告", "网络请求错误\n500"};
    QTest::newRow("order list, not JSON") << "order/order_list" << Response::raw("x") << QStringList{};
    QTest::newRow("order list, code 0") << "order/order_list" << Response::failure("m") << QStringList{"警告", "错误代码：0"};
    QTest::newRow("by id, code 0") << "order/getorderbyid" << Response::failure("没有此订单")
                                   << QStringList{"警告", "没有此订单"};
    QTest::newRow("by id, no order") << "order/getorderbyid"
                                     << Response::success({{"printshops", kShops}, {"factorys", kFactories}})
                                     << QStringList{"提示", "没有查询到任何订单"};
    QTest::newRow("by id, HTTP 500") << "order/getorderbyid" << Response::httpError(500)
                                     << QStringList{"警告", "网络请求错误\n500"};
}

void TestFaJianDialog::failedReplies()
{
    QFETCH(QString, route);
    QFETCH(Response, response);
    QFETCH(QStringList, boxes);
    env->service->script(route, response);
    if (route == "order/order_list") {
        search(5, "X");
    } else {
        focus(edit("lineEdit"));
        edit("lineEdit")->setText("O1");
        QTest::keyClick(edit("lineEdit"), Qt::Key_Return);
        QTRY_COMPARE(env->service->count(route), 1);
        QTest::qWait(100);
    }
    QStringList seen;
    for (const DialogRecorder::Box& box : qAsConst(env->dialogs.boxes)) {
        compareBox(box, QMessageBox::Information, box.title, QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!box.hadParent);
        seen << box.title << box.text;
    }
    QCOMPARE(seen, boxes);
    QCOMPARE(left()->rowCount(), 0);
    QCOMPARE(button("pushButton_2")->text(), QString("检索"));
    QVERIFY(button("pushButton_2")->isEnabled());
}

void TestFaJianDialog::goodsTable()
{
    env->service->script("order/ordergoods",
                         goodsReply({goods("G1", "O1", {{"goodtypeid", "15"}, {"pnumber", "30"}, {"goodtype", "相册"},
                                                        {"number", "1"}, {"descr", "烫金"}, {"printshopname", "彩虹"},
                                                        {"factoryname", "华艺"}, {"sendToPrintshopTime2", "2024-06-01 10:00:00"}}),
                                     goods("G2", "O1", {{"goodtypeid", "8"}, {"pnumber", "30"}, {"isurgent", "1"}})},
                                    {goods("G3", "O1", {{"pnumber", 12}, {"printshopname", "旧厂"}})}));
    listOrders({order("A", "O1", {{"getphotodate", "2024-06-20"}, {"urgentdate", "2024-06-15"}})});
    clickLeft(0);
    QTableWidget* table = goodsWidget();
    QCOMPARE(window->findChild<QLabel*>("label_currentID")->text(), QString("当前订单号：A"));
    QCOMPARE(table->rowCount(), 4);
    for (int column = 0; column < 13; ++column) {
        const bool combo = column == 8 || column == 10;
        QCOMPARE(bool(table->cellWidget(0, column)), combo);
        QVERIFY(!table->item(0, column) || table->item(0, column)->text().isEmpty());
    }
    QCOMPARE(comboItems(0, 8), (QStringList{"请选择", "美印", "彩虹"}));
    QCOMPARE(comboItems(0, 10), (QStringList{"请选择", "华艺"}));
    QCOMPARE(combo(0, 8)->currentText(), QString("彩虹")); // the first line's names
    QCOMPARE(combo(0, 10)->currentText(), QString("华艺"));
    const auto cells = [table](int row) {
        QStringList texts;
        for (int column : {0, 1, 2, 3, 4, 5, 6, 7, 9, 11})
            texts << table->item(row, column)->text();
        return texts;
    };
    QCOMPARE(cells(1), (QStringList{"品G1", "10寸", "相册", "1", "30", "2024-06-20", "否", "烫金", "2024-06-01 10:00:00", ""}));
    QCOMPARE(cells(2), (QStringList{"品G2", "10寸", "", "", "", "2024-06-15", "是", "", "", ""}));
    QCOMPARE(cells(3), (QStringList{"品G3", "10寸", "", "", "", "2024-06-20", "否", "", "", ""}));
    QCOMPARE(table->item(1, 0)->textAlignment(), int(Qt::AlignCenter));
    QCOMPARE(combo(1, 8)->currentText(), QString("彩虹"));
    QCOMPARE(combo(1, 10)->currentText(), QString("华艺"));
    QCOMPARE(combo(3, 8)->currentText(), QString("请选择"));
    for (int row = 1; row <= 3; ++row)
        QVERIFY(tick(row) && tick(row)->isChecked());

    // An order without goods shows one empty line.
    env->service->script("order/ordergoods", goodsReply({}));
    listOrders({order("E", "O7", {{"getphotodate", "2024-07-01"}})});
    clickLeft(0);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(cells(1), (QStringList{"", "", "", "", "", "2024-07-01", "否", "", "", ""}));
    QCOMPARE(combo(1, 8)->currentIndex(), 0);
}

void TestFaJianDialog::setAllChangesOneColumn()
{
    env->service->script("order/ordergoods", goodsReply({goods("G1", "O1"), goods("G2", "O1", {{"factoryname", "华艺"}})}));
    listOrders({order("A", "O1")});
    clickLeft(0);
    combo(0, 8)->setCurrentIndex(2);
    QCOMPARE(combo(1, 8)->currentText(), QString("彩虹"));
    QCOMPARE(combo(2, 8)->currentText(), QString("彩虹"));
    QCOMPARE(combo(1, 10)->currentIndex(), 0);
    QCOMPARE(combo(2, 10)->currentText(), QString("华艺"));
    combo(0, 10)->setCurrentIndex(1);
    QCOMPARE(combo(1, 10)->currentText(), QString("华艺"));
    QCOMPARE(combo(1, 8)->currentText(), QString("彩虹"));
}

void TestFaJianDialog::submissionSendsTheShownGoods()
{
    // The demo's order 5001 holds three lines, one naming a print shop no longer listed.
    env->service->clearScripts();
    search(0, "LY20240601");
    QTRY_COMPARE(env->service->count("order/ordergoods"), 1);
    QTest::qWait(100);
    QCOMPARE(left()->rowCount(), 1); // two services, one booking number
    clickLeft(0);
    QCOMPARE(goodsWidget()->rowCount(), 4);
    combo(2, 8)->setCurrentIndex(2);
    combo(2, 10)->setCurrentIndex(0);
    combo(3, 8)->setCurrentIndex(1);
    QTest::mouseClick(button("pushButton_submit"), Qt::LeftButton);
    QTRY_COMPARE(env->service->count("order/sendtoshop"), 1);
    const QByteArray expected = token() + "&uid=501&shopid=12&orderid=5001&sendgoodsinfo=["
        R"({"factoryid":"F1","ordergoodid":"G1001","printshopid":"P1"},)"
        R"({"factoryid":"0","ordergoodid":"G1002","printshopid":"P2"},)"
        R"({"factoryid":"F2","ordergoodid":"G1003","printshopid":"P1"}])";
    QCOMPARE(env->service->last("order/sendtoshop").body, expected);
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"发件成功!"});
    QCOMPARE(env->dialogs.boxes.first().title, QString("提示"));
    QTRY_COMPARE(env->service->count("order/ordergoods"), 2);
    QTRY_VERIFY(!goodsWidget()->item(2, 9)->text().isEmpty());
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    QVERIFY(goodsWidget()->item(2, 9)->text().startsWith(today));
    QCOMPARE(goodsWidget()->item(2, 11)->text(), QString());
    QCOMPARE(combo(2, 8)->currentText(), QString("彩虹冲印"));
    QCOMPARE(combo(3, 8)->currentText(), QString("美印冲印"));
}

void TestFaJianDialog::submissionFailures()
{
    env->service->script("order/ordergoods", goodsReply({goods("G1", "O1")}));
    listOrders({order("A", "O1")});
    clickLeft(0);
    env->service->script("order/sendtoshop", Response::failure("x"));
    QTest::mouseClick(button("pushButton_submit"), Qt::LeftButton);
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"提交发件错误：0"});
    QCOMPARE(env->service->count("order/ordergoods"), 1);

    env->dialogs.clear();
    env->service->script("order/ordergoods", Response::failure("x"));
    clickLeft(0);
    env->service->script("order/sendtoshop", Response::success());
    QTest::mouseClick(button("pushButton_submit"), Qt::LeftButton);
    QTRY_COMPARE(env->dialogs.texts(), (QStringList{"发件成功!", "查询产品信息错误：0"}));
    QCOMPARE(goodsWidget()->rowCount(), 2); // the list stays
}

void TestFaJianDialog::goodsStayWithTheirOrders()
{
    env->service->clearScripts();
    env->service->setHandler("order/ordergoods", [](const RecordedRequest& request) {
        const QString id = request.value("orderid");
        if (id == "O1")
            return goodsReply({goods("G1", "O1")}).delayed(300);
        if (id == "O2")
            return goodsReply({goods("G2", "O2")});
        return goodsReply({}); // O3 and O4 hold no goods
    });
    env->service->script("order/order_list", orders({order("A", "O1"), order("B", "O2"), order("C", "O3"), order("D", "O4")}));
    search(5, "X");
    clickLeft(0); // waiting: nothing shown yet
    QCOMPARE(goodsWidget()->rowCount(), 0);
    QTRY_COMPARE(goodsWidget()->rowCount(), 2); // shown once its own list arrives
    QCOMPARE(goodsWidget()->item(1, 0)->text(), QString("品G1"));
    combo(1, 8)->setCurrentIndex(2);
    const auto shows = [this](int row, const QString& first) {
        clickLeft(row);
        return goodsWidget()->rowCount() == 2 && goodsWidget()->item(1, 0)->text() == first;
    };
    QVERIFY(shows(1, "品G2"));
    QVERIFY(shows(2, ""));
    QVERIFY(shows(3, ""));
    QCOMPARE(window->findChild<QLabel*>("label_currentID")->text(), QString("当前订单号：D"));

    // Another order's late list leaves the shown choices alone.
    clickLeft(0);
    combo(1, 8)->setCurrentIndex(2);
    env->service->script("order/getorderbyid",
                         Response::success({{"order", order("B", "O2")}, {"printshops", kShops}, {"factorys", kFactories}}));
    focus(edit("lineEdit"));
    edit("lineEdit")->setText("O2");
    QTest::keyClick(edit("lineEdit"), Qt::Key_Return);
    QTRY_COMPARE(env->service->count("order/ordergoods"), 5);
    QTest::qWait(100);
    QCOMPARE(combo(1, 8)->currentIndex(), 2);
    QCOMPARE(left()->rowCount(), 4);

    // A late list of the previous search finds its order unlisted and is dropped.
    env->service->script("order/order_list", orders({order("E", "O5")}));
    search(5, "Y");
    QTRY_COMPARE(env->service->count("order/ordergoods"), 6);
    QTest::qWait(400);
    QVERIFY(shows(0, ""));
}

void TestFaJianDialog::submitWithNothingShownSendsNothing()
{
    env->service->script("order/ordergoods", goodsReply({goods("G1", "O1")}));
    listOrders({order("A", "O1")});
    QTest::mouseClick(button("pushButton_submit"), Qt::LeftButton);
    QTest::mouseClick(button("pushButton_print"), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(env->service->count("order/sendtoshop"), 0);
    QVERIFY(env->platform->labelFiles.isEmpty());

    // A submission whose reply comes after a new search refetches nothing.
    clickLeft(0);
    env->service->script("order/sendtoshop", Response::success().delayed(300));
    QTest::mouseClick(button("pushButton_submit"), Qt::LeftButton);
    env->service->script("order/order_list", orders({order("B", "O2")}));
    search(5, "Z");
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"发件成功!"});
    QTest::qWait(100);
    QStringList asked;
    for (const RecordedRequest& request : env->service->requests("order/ordergoods"))
        asked << request.value("orderid");
    QCOMPARE(asked, (QStringList{"O1", "O2"}));
}

void TestFaJianDialog::columnWidths()
{
    goodsWidget()->setFixedWidth(1000);
    window->repaint();
    const QList<int> expected = {131, 71, 71, 71, 71, 81, 71, 81, 150, 150, 150, 150, 81};
    for (int column = 0; column < 13; ++column)
        QCOMPARE(goodsWidget()->columnWidth(column), expected.at(column));
}

void TestFaJianDialog::keysAndExcel()
{
    env->service->script("order/order_list", orders({order("A", "O1")}));
    edit("lineEdit_orderid")->setText("A");
    edit("lineEdit_orderid2")->setText("B");
    focus(edit("lineEdit_orderid"));
    QTest::keyClick(edit("lineEdit_orderid"), Qt::Key_Enter);
    QTest::keyClick(edit("lineEdit_orderid"), Qt::Key_Escape);
    QTest::qWait(50);
    QVERIFY(window->isVisible());
    QCOMPARE(env->service->requests().size(), 0);
    QTest::keyClick(edit("lineEdit_orderid"), Qt::Key_Return);
    focus(edit("lineEdit_orderid2"));
    QTest::keyClick(edit("lineEdit_orderid2"), Qt::Key_Return);
    QTRY_COMPARE(env->service->count("order/order_list"), 2);
    QStringList keywords;
    for (const RecordedRequest& request : env->service->requests("order/order_list"))
        keywords << request.value("orderpayforkey");
    keywords.sort();
    QCOMPARE(keywords, (QStringList{"A", "B"}));
    focus(edit("lineEdit"));
    QTest::keyClick(edit("lineEdit"), Qt::Key_Return);
    QCOMPARE(env->dialogs.texts(), QStringList{"请输入订单号"});
    waitIdle();

    QTest::mouseClick(button("pushButton_excel"), Qt::LeftButton);
    QCOMPARE(env->dialogs.fileDialogs.size(), 1);
    const DialogRecorder::FileDialog dialog = env->dialogs.fileDialogs.first();
    QCOMPARE(dialog.caption, QString("保存"));
    QCOMPARE(dialog.dir, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    QCOMPARE(dialog.filter, QString("Excel 文件(*.xls *.xlsx)"));
}

void TestFaJianDialog::labelsArePrintedPerTickedLine()
{
    if (QStandardPaths::findExecutable("pdfinfo").isEmpty() || QStandardPaths::findExecutable("pdftoppm").isEmpty())
        QSKIP("pdfinfo and pdftoppm (poppler-utils, scripts/install-deps.sh) are needed");
    env->service->script("order/ordergoods",
                         goodsReply({goods("GL1", "O1"), goods("GL2", "O1"), goods("../GL3", "O1")}));
    listOrders({order("A", "O1")});
    clickLeft(0);
    tick(2)->setChecked(false);
    QTest::mouseClick(button("pushButton_print"), Qt::LeftButton);
    // Pictures for the ticked lines only; the unsafe id gets none, here or above.
    QCOMPARE(temporaryFiles(), QStringList{"GL1.png"});
    QVERIFY(QDir(env->workDir.path()).entryList({"*.png"}, QDir::Files).isEmpty());
    QCOMPARE(env->platform->labelFiles.size(), 2);
    for (const QString& file : env->platform->labelFiles) {
        QProcess info;
        info.start("pdfinfo", {file});
        QVERIFY(info.waitForFinished());
        const QString out = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(out.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(out));
        const QRegularExpressionMatch size = QRegularExpression("Page size:\\s+([0-9.]+) x ([0-9.]+) pts").match(out);
        QVERIFY2(size.hasMatch(), qPrintable(out));
        QVERIFY(qAbs(size.captured(1).toDouble() / 72 * 25.4 - 100) < 1);
        QVERIFY(qAbs(size.captured(2).toDouble() / 72 * 25.4 - 152.5) < 1);
    }
    // 10 pixels a millimetre: the label spans the width from the top-left at
    // 218:150, the bars of its picture in the bar-code area (5, 40, 208 x 70)
    // of it, white below.
    const QImage first = renderPage(env->platform->labelFiles.at(0));
    QVERIFY(!first.isNull());
    QVERIFY(qAbs(first.width() - 1000) <= 10);
    const double mm = 1000.0 / 218; // label pixels to tenths of millimetres
    const auto darkIn = [](const QImage& image, int left, int top, int right, int bottom) {
        QRect dark;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (qGray(image.pixel(x, y)) < 64)
                    dark |= QRect(x, y, 1, 1);
            }
        }
        return dark;
    };
    const QImage picture(env->workDir.filePath("tmp/GL1.png"));
    const QRect bars = darkIn(picture, 0, 0, picture.width(), picture.height());
    QCOMPARE(bars.height(), 74);
    // The bars' sides from the page's middle rows, their top and bottom from
    // columns right of the texts.
    const QRect sides = darkIn(first, 0, 250, first.width(), 450);
    const QRect ends = darkIn(first, 400, 100, first.width(), 515);
    QVERIFY2(qAbs(sides.left() - (5 + bars.left()) * mm) <= 10 && qAbs(sides.right() - (5 + bars.right() + 1) * mm) <= 10,
             qPrintable(QString("%1 %2").arg(sides.left()).arg(sides.right())));
    QVERIFY2(qAbs(ends.top() - 40 * mm) <= 10 && qAbs(ends.bottom() - 110 * mm) <= 10,
             qPrintable(QString("%1 %2").arg(ends.top()).arg(ends.bottom())));
    for (int y = int(150 * mm) + 10; y < first.height(); y += 3) {
        for (int x = 0; x < first.width(); x += 3)
            QVERIFY(qGray(first.pixel(x, y)) > 250);
    }
    // The second label is the third line's: its id leaves no picture.
    const QImage second = renderPage(env->platform->labelFiles.at(1));
    for (int y = int(45 * mm); y < int(105 * mm); y += 3) {
        for (int x = int(10 * mm); x < int(200 * mm); x += 3)
            QVERIFY(qGray(second.pixel(x, y)) > 250);
    }
    QCOMPARE(BarCodeReader::readCode128(second), QString());
    // Texts: the label drawn from the expected texts, at the printed size.
    const auto caption = [](const QImage& page, const CodeImageInfo& info) {
        const QImage expected = ImageOperation::makeCodeLabel(info).scaledToWidth(page.width(), Qt::SmoothTransformation);
        double difference = 0;
        for (int y = int(110 * 1000.0 / 218); y < expected.height() && y < page.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x)
                difference += qAbs(qGray(expected.pixel(x, y)) - qGray(page.pixel(x, y)));
        }
        return difference;
    };
    const CodeImageInfo right{"品../GL3", "10寸", "", "../GL3  A", "澜叶旗舰店"};
    const CodeImageInfo wrong{"品../GL3", "10寸", "", "../GL3 A", "澜叶二店"};
    QVERIFY(caption(second, right) * 2 < caption(second, wrong));
}

void TestFaJianDialog::printedLabelsScanBackToTheirIds()
{
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
        QSKIP("pdftoppm (poppler-utils, scripts/install-deps.sh) is needed");
    // The last line has no id: its label keeps a white band.
    const QStringList ids{"20240601", "G1001ab", "LY20240601-00123", ""};
    // Pictures left under an id's name: drawn anew, or not shown.
    QVERIFY(BarCodePicture::draw("STALE").save(env->workDir.filePath("tmp/G1001ab.png")));
    QVERIFY(BarCodePicture::draw("STALE").save(env->workDir.filePath("tmp/.png")));
    QJsonArray lines;
    for (const QString& id : ids)
        lines << goods(id, "O1");
    printGoods(lines);
    QCOMPARE(env->platform->labelFiles.size(), ids.size());
    for (int i = 0; i < ids.size(); ++i)
        QCOMPARE(BarCodeReader::readCode128(renderPage(env->platform->labelFiles.at(i))), ids.at(i));
    QCOMPARE(temporaryFiles(), (QStringList{".png", "20240601.png", "G1001ab.png", "LY20240601-00123.png"}));
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestFaJianDialog::noPrinterSaysSoOnce_data()
{
    QTest::addColumn<bool>("printerPresent");
    QTest::addColumn<QStringList>("pictures");
    QTest::newRow("no printer at all") << false << QStringList();
    // Its label files cannot be made: the printer does not start.
    QTest::newRow("printer that cannot be opened") << true << QStringList{"G1.png", "G2.png"};
}

void TestFaJianDialog::noPrinterSaysSoOnce()
{
    QFETCH(bool, printerPresent);
    QFETCH(QStringList, pictures);
    env->platform->labelPrinterPresent = printerPresent;
    writeFile(env->workDir.filePath("file"), "not a folder");
    env->platform->labelFolder = env->workDir.filePath("file/labels");
    printGoods({goods("G1", "O1"), goods("G2", "O1")});
    QCOMPARE(env->dialogs.texts(), QStringList{"没有可用的打印机"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Warning, "警告", QMessageBox::Yes, QMessageBox::Yes);
    for (const QString& file : env->platform->labelFiles)
        QVERIFY(!QFileInfo::exists(file));
    QCOMPARE(temporaryFiles(), pictures);
}

void TestFaJianDialog::closingWithRepliesOut()
{
    env->service->script("order/order_list", orders({order("A", "O1")}));
    env->service->script("order/ordergoods", goodsReply({}).delayed(200));
    env->service->script("order/getorderbyid", Response::httpError(500).delayed(200));
    search(5, "X");
    focus(edit("lineEdit"));
    edit("lineEdit")->setText("O1");
    QTest::keyClick(edit("lineEdit"), Qt::Key_Return);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->close();
    QTRY_VERIFY(!window);
    QTest::qWait(400);
    QVERIFY(env->dialogs.boxes.isEmpty());
}

QTEST_MAIN(TestFaJianDialog)
#include "tst_fajiandialog.moc"
