#include "dispatch/shangjiandialog.h"
#include "ui_shangjiandialog.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/SearchBody.h"
#include "core/ServiceCall.h"
#include "dispatch/SearchControls.h"
#include "widgets/CalendarPicker.h"

#include <QDate>
#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardItemModel>

#include <algorithm>

namespace {

// Which list an order-list reply fills, and how a registration started:
// each request carries its own, as replies come back in any order.
const char* const kToLeft = "toLeft";
const char* const kFromScan = "fromScan";

enum SearchIndex { ByOrderNumber, ByShotDate, BySelectDate, ByBookDate, ByShipDate, ByShangjianDate, ByName, ByPhone };

// A keyword search type: what an empty keyword says, whether the keyword is
// a date from the pop-up, and its "order_list" body (the "searchtype" dialect
// the other search windows speak).
struct SearchType {
    QString emptyMessage;
    bool date;
    int number;
    SearchKeyOrder order;

    QByteArray body(const QString& keyword) const { return searchBody(order, number, keyword).bytes(); }
};

SearchType searchType(int index)
{
    using K = SearchKey;
    const SearchKeyOrder leftOrder = {K::SuperId, K::ShopId, K::SearchType, K::Keyword, K::Uid, K::Eid, K::PersonId};
    const SearchKeyOrder keywordOrder = {K::ShopId, K::SearchType, K::Keyword, K::SuperId, K::Uid, K::Eid, K::PersonId};
    const QString date = QStringLiteral("请选择日期");
    static const QList<SearchType> types = {
        {QStringLiteral("请输入订单号"), false, 1, leftOrder}, // 预约单号
        {date, true, 4, keywordOrder},                         // 拍摄日期
        {date, true, 5, keywordOrder},                         // 选片日期
        {date, true, 6, keywordOrder},                         // 预约日期
        {date, true, 7, keywordOrder},                         // 发货日期
        {date, true, 9, keywordOrder},                         // 上件日期
        {QStringLiteral("请输入姓名"), false, 2, keywordOrder}, // 姓名
        {QStringLiteral("请输入电话"), false, 3, keywordOrder}, // 电话
    };
    return types.value(index, SearchType{QString(), false, 0, {}});
}

void notice(const QString& title, const QString& text)
{
    Dialogs::information(nullptr, title, text, QMessageBox::Yes, QMessageBox::Yes);
}

QString text(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

// The non-empty ones of three names, joined by "-".
QString joinedNames(const QJsonObject& object, const char* first, const char* second, const char* third)
{
    QStringList names;
    for (const char* key : {first, second, third}) {
        const QString name = text(object, key);
        if (!name.isEmpty())
            names << name;
    }
    return names.join(QLatin1Char('-'));
}

QString orderNumber(const QJsonObject& object)
{
    return QStringLiteral("%1-%2").arg(text(object, "orderpayforkey"), text(object, "servicetimes"));
}

ShangJianLeftInfo leftInfo(const QJsonObject& object)
{
    ShangJianLeftInfo row;
    row.orderNumber = orderNumber(object);
    row.orderpayforkey = text(object, "orderpayforkey");
    row.servicetimes = text(object, "servicetimes");
    row.customerName = joinedNames(object, "bname", "wname", "mname");
    row.order_price = text(object, "order_price");
    row.selectphotoname = text(object, "selectphotoname");
    row.twosales = text(object, "twosales");
    row.debt = text(object, "debt");
    row.orderID = text(object, "order_photo_id");
    row.storesname = text(object, "storesname");
    return row;
}

// A right row from an order-list element, or from a registration's "order",
// which names the customers by other keys and carries no store.
ShangJianRightInfo rightInfo(const QJsonObject& object, bool registration)
{
    ShangJianRightInfo row;
    row.orderNumber = orderNumber(object);
    row.orderpayforkey = text(object, "orderpayforkey");
    row.servicetimes = text(object, "servicetimes");
    row.gotodigitalname = text(object, "gotodigitalname");
    row.gotodigitaltime = text(object, "gotodigitaltime").left(10);
    row.customerName = registration ? joinedNames(object, "babyname", "momname", "dadname")
                                    : joinedNames(object, "bname", "wname", "mname");
    row.selectphotodate = text(object, "selectphotodate");
    row.selectphototime = text(object, "selectphototime").left(10);
    row.selectphotoname = text(object, "selectphotoname");
    row.getphotodate = text(object, "getphotodate");
    row.urgentdate = text(object, "urgentdate");
    row.tiaoxiname = text(object, "tiaoxiname");
    row.tiaosename = text(object, "tiaosename");
    row.storesname = registration ? QString() : text(object, "storesname");
    return row;
}

} // namespace

ShangJianDialog::ShangJianDialog(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::ShangJianDialog)
{
    ui->setupUi(this);
    initUI();
}

ShangJianDialog::~ShangJianDialog()
{
    SearchControls::dropRequests(this);
    delete ui;
}

void ShangJianDialog::initUI()
{
    setWindowFlags(Qt::WindowFlags());
    setWindowTitle(QStringLiteral("上件管理"));

    leftModel = new QStandardItemModel(this);
    SearchControls::setHeaders(leftModel, {QStringLiteral("单号"), QStringLiteral("所属门店"), QStringLiteral("姓名"),
                                           QStringLiteral("价位"), QStringLiteral("选片师"), QStringLiteral("二销"),
                                           QStringLiteral("欠款")});
    rightModel = new QStandardItemModel(this);
    SearchControls::setHeaders(rightModel,
                               {QStringLiteral("单号"), QStringLiteral("所属门店"), QStringLiteral("上件操作人"),
                                QStringLiteral("上件日期"), QStringLiteral("客人姓名"), QStringLiteral("选片时间"),
                                QStringLiteral("选片完成时间"), QStringLiteral("选片人"), QStringLiteral("样后修片师"),
                                QStringLiteral("样前对比片"), QStringLiteral("加急日期"), QStringLiteral("发货日期")});
    for (QTableView* view : {ui->tableView_left, ui->tableView_right}) {
        view->setModel(view == ui->tableView_left ? leftModel : rightModel);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setColumnWidth(0, 200);
    }
    ui->tableView_left->setColumnWidth(1, 150);
    ui->tableView_right->setColumnWidth(4, 150);
}

void ShangJianDialog::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
}

void ShangJianDialog::keyPressEvent(QKeyEvent* event)
{
    SearchControls::routeReturn(event, {{ui->lineEdit, [this] { registerScanned(); }},
                                        {ui->lineEdit_orderid, [this] { on_pushButton_clicked(); }},
                                        {ui->lineEdit_orderid2, [this] { on_pushButton_2_clicked(); }}});
}

void ShangJianDialog::on_pushButton_clicked()
{
    const QString typed = ui->lineEdit_orderid->text();
    if (typed.trimmed().isEmpty()) {
        notice(QStringLiteral("警告"), QStringLiteral("请输入订单号"));
        return;
    }
    queryOrderByOrderNumber(typed, true);
    SearchControls::setBusy(ui->pushButton, true);
}

void ShangJianDialog::on_pushButton_2_clicked()
{
    const QString keyword = ui->lineEdit_orderid2->text();
    const int index = ui->comboBox->currentIndex();
    if (index < ByOrderNumber || index > ByPhone)
        return;
    if (keyword.isEmpty()) {
        notice(QStringLiteral("警告"), searchType(index).emptyMessage);
        return;
    }
    switch (index) {
    case ByOrderNumber: queryOrderByOrderNumber(keyword, false); break;
    case ByShotDate: queryOrderByShotDate(keyword); break;
    case BySelectDate: queryOrderBySelectDate(keyword); break;
    case ByBookDate: queryOrderByBookDate(keyword); break;
    case ByShipDate: queryOrderByShipDate(keyword); break;
    case ByShangjianDate: queryOrderByShangjianDate(keyword); break;
    case ByName: queryOrderByName(keyword); break;
    case ByPhone: queryOrderByPhone(keyword); break;
    }
    SearchControls::setBusy(ui->pushButton_2, true);
}

void ShangJianDialog::queryOrderByOrderNumber(QString keyword, bool toLeft)
{
    QByteArray body = searchType(ByOrderNumber).body(keyword);
    postDataFunc(body, toLeft);
}

void ShangJianDialog::queryOrderByShotDate(QString keyword)
{
    QByteArray body = searchType(ByShotDate).body(keyword);
    postDataFunc(body, false);
}

void ShangJianDialog::queryOrderBySelectDate(QString keyword)
{
    QByteArray body = searchType(BySelectDate).body(keyword);
    postDataFunc(body, false);
}

void ShangJianDialog::queryOrderByBookDate(QString keyword)
{
    QByteArray body = searchType(ByBookDate).body(keyword);
    postDataFunc(body, false);
}

void ShangJianDialog::queryOrderByShipDate(QString keyword)
{
    QByteArray body = searchType(ByShipDate).body(keyword);
    postDataFunc(body, false);
}

void ShangJianDialog::queryOrderByShangjianDate(QString keyword)
{
    QByteArray body = searchType(ByShangjianDate).body(keyword);
    qDebug() << "queryOrderByShangjianDate" << FormBody::masked(body);
    postDataFunc(body, false);
}

void ShangJianDialog::queryOrderByName(QString keyword)
{
    QByteArray body = searchType(ByName).body(keyword);
    postDataFunc(body, false);
}

void ShangJianDialog::queryOrderByPhone(QString keyword)
{
    QByteArray body = searchType(ByPhone).body(keyword);
    postDataFunc(body, false);
}

void ShangJianDialog::postDataFunc(QByteArray& body, bool toLeft)
{
    QNetworkAccessManager* manager = SearchControls::newManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &ShangJianDialog::queryCallBack);
    QNetworkReply* reply = ServiceCall::postForm(manager, URL_ORDER_ORDER_LIST, body);
    reply->setProperty(kToLeft, toLeft);
    qDebug() << "shangjian search order url:" << URL_ORDER_ORDER_LIST;
    qDebug() << "shangjian search order paras:" << FormBody::masked(body);
}

void ShangJianDialog::on_comboBox_currentIndexChanged(int index)
{
    if (SearchControls::changeKeywordType(ui->lineEdit_orderid2, searchType(index).date))
        showCalendar();
}

void ShangJianDialog::showCalendar()
{
    connect(SearchControls::openCalendar(), &CalendarPicker::urgentDate, this, &ShangJianDialog::on_newDate);
}

void ShangJianDialog::on_newDate(QString date)
{
    ui->lineEdit_orderid2->setText(date);
}

void ShangJianDialog::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    const bool toLeft = reply->property(kToLeft).toBool();
    QJsonObject object;
    if (ServiceCall::readReply(reply, &object)) {
        qDebug().noquote() << "shangjian search Json:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
        const QString code = text(object, "code");
        const QJsonArray data = object.value(QStringLiteral("data")).toArray();
        if (code != QLatin1String("1")) {
            notice(QStringLiteral("警告"), QStringLiteral("错误代码：") + code);
        } else if (data.isEmpty()) {
            notice(QStringLiteral("提示"), QStringLiteral("没有查询到任何订单"));
        } else if (toLeft) {
            for (const QJsonValue& element : data) {
                const ShangJianLeftInfo row = leftInfo(element.toObject());
                const bool listed = std::any_of(leftDataList.cbegin(), leftDataList.cend(),
                                                [&row](const ShangJianLeftInfo& old) {
                                                    return old.orderNumber == row.orderNumber;
                                                });
                if (!listed)
                    leftDataList << row;
            }
            fillLeftTable();
        } else {
            for (const QJsonValue& element : data)
                mergeRightRow(rightInfo(element.toObject(), false));
            fillRightTable();
        }
    }
    SearchControls::setBusy(ui->pushButton_2, false);
    SearchControls::setBusy(ui->pushButton, false);
}

// Every listed row of the same order takes the new values; else the row is
// appended.
void ShangJianDialog::mergeRightRow(const ShangJianRightInfo& row)
{
    bool matched = false;
    for (ShangJianRightInfo& old : rightDataList) {
        if (old.orderNumber == row.orderNumber) {
            old = row;
            matched = true;
        }
    }
    if (!matched)
        rightDataList << row;
}

void ShangJianDialog::fillLeftTable()
{
    QList<QStringList> rows;
    for (const ShangJianLeftInfo& row : qAsConst(leftDataList))
        rows << QStringList{row.orderNumber, row.storesname, row.customerName, row.order_price,
                            row.selectphotoname, row.twosales, row.debt};
    SearchControls::fillCentred(leftModel, rows);
}

void ShangJianDialog::fillRightTable()
{
    QList<QStringList> rows;
    for (const ShangJianRightInfo& row : qAsConst(rightDataList))
        rows << QStringList{row.orderNumber,     row.storesname,      row.gotodigitalname, row.gotodigitaltime,
                            row.customerName,    row.selectphotodate, row.selectphototime, row.selectphotoname,
                            row.tiaoxiname,      row.tiaosename,      row.urgentdate,      row.getphotodate};
    SearchControls::fillCentred(rightModel, rows);
}

void ShangJianDialog::on_pushButton_3_clicked()
{
    askExcelFileName(ui->tableView_right,
                     QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral("上件导出文件"));
}

// The proposed name is not offered and the choice not used: no Excel writer
// is part of the program.
void ShangJianDialog::askExcelFileName(QWidget* parent, QString name)
{
    Q_UNUSED(name);
    SearchControls::askExcelFileName(parent);
}

// Registration by scan: the scan box holds an "order_photo_id".
void ShangJianDialog::registerScanned()
{
    const QString scanned = ui->lineEdit->text();
    if (scanned.isEmpty()) {
        notice(QStringLiteral("警告"), QStringLiteral("请输入订单号"));
        return;
    }
    // The next scan replaces the text.
    ui->lineEdit->setSelection(0, scanned.length());
    postShangJian(scanned, true);
}

void ShangJianDialog::on_tableView_left_doubleClicked(QModelIndex index)
{
    const int row = index.row();
    if (row < 0 || row >= leftDataList.size())
        return;
    const QString id = leftDataList.at(row).orderID;
    postShangJian(id, false);
    qDebug() << "leftDataList[row].orderID" << id;
    // The row leaves the list at once and never comes back, whatever the answer.
    leftDataList.removeAt(row);
    fillLeftTable();
}

void ShangJianDialog::postShangJian(QString order_photo_id, bool fromScan)
{
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("uid"), g_eid)
                                .add(QStringLiteral("shopid"), g_shopId)
                                .add(QStringLiteral("order_photo_id"), order_photo_id)
                                .add(QStringLiteral("superid"), g_superId)
                                .add(QStringLiteral("eid"), g_eid)
                                .add(QStringLiteral("personid"), g_eid)
                                .bytes();
    QNetworkAccessManager* manager = SearchControls::newManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &ShangJianDialog::queryShangjianCallBack);
    QNetworkReply* reply = ServiceCall::postForm(manager, URL_ORDER_GOTODIGITALID_POST, body);
    reply->setProperty(kFromScan, fromScan);
    qDebug() << "shangjian url:" << URL_ORDER_GOTODIGITALID_POST;
    qDebug() << "shangjian paras:" << FormBody::masked(body);
}

void ShangJianDialog::queryShangjianCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    const bool fromScan = reply->property(kFromScan).toBool();
    if (reply->error() != QNetworkReply::NoError) {
        notice(QStringLiteral("警告"), ServiceCall::networkErrorText(reply));
        return;
    }
    QJsonObject object;
    if (ServiceCall::parseObject(reply->readAll(), &object)) {
        qDebug().noquote() << "shangjian back Json:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
        const QString code = text(object, "code");
        const QString message = text(object, "message");
        if (code == QLatin1String("1")) {
            if (!fromScan)
                notice(QStringLiteral("提示"), message);
        } else if (code == QLatin1String("1002")) {
            notice(QStringLiteral("提示"), message);
        } else {
            notice(QStringLiteral("警告"), message);
            return;
        }
        // A success without its order shows no row rather than an empty one.
        const QJsonObject order = object.value(QStringLiteral("order")).toObject();
        if (!text(order, "orderpayforkey").isEmpty()) {
            mergeRightRow(rightInfo(order, true));
            fillRightTable();
        }
    }
    SearchControls::setBusy(ui->pushButton_2, false);
}
