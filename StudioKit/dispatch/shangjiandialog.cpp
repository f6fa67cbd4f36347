#include "dispatch/shangjiandialog.h"
#include "ui_shangjiandialog.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/SearchBody.h"
#include "core/ServiceCall.h"
#include "dispatch/SearchControls.h"

#include <QDate>
#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardItemModel>

#include <algorithm>

namespace {

// Which list an order-list reply fills, and how a registration started:
// each request carries its own, as replies come back in any order.
const char* const kToLeft = "toLeft";
const char* const kFromScan = "fromScan";

// A keyword search type in the "searchtype" dialect the other search windows speak.
DispatchSearchDialog::KeywordType keywordType(const QString& emptyMessage, bool date, int number,
                                              const SearchKeyOrder& order)
{
    return {emptyMessage, date, [=](const QString& keyword) { return searchBody(order, number, keyword).bytes(); }};
}

// In the order of the type box; the order-number box searches as its first entry.
QList<DispatchSearchDialog::KeywordType> keywordTypes()
{
    using K = SearchKey;
    const SearchKeyOrder orderNumberOrder = {K::SuperId, K::ShopId, K::SearchType, K::Keyword, K::Uid, K::Eid, K::PersonId};
    const SearchKeyOrder keywordOrder = {K::ShopId, K::SearchType, K::Keyword, K::SuperId, K::Uid, K::Eid, K::PersonId};
    const QString date = QStringLiteral("请选择日期");
    return {
        keywordType(QStringLiteral("请输入订单号"), false, 1, orderNumberOrder), // 预约单号
        keywordType(date, true, 4, keywordOrder),                                 // 拍摄日期
        keywordType(date, true, 5, keywordOrder),                                 // 选片日期
        keywordType(date, true, 6, keywordOrder),                                 // 预约日期
        keywordType(date, true, 7, keywordOrder),                                 // 发货日期
        keywordType(date, true, 9, keywordOrder),                                 // 上件日期
        keywordType(QStringLiteral("请输入姓名"), false, 2, keywordOrder),         // 姓名
        keywordType(QStringLiteral("请输入电话"), false, 3, keywordOrder),         // 电话
    };
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
    : DispatchSearchDialog(parent)
    , ui(new Ui::ShangJianDialog)
{
    ui->setupUi(this);
    initUI();
}

ShangJianDialog::~ShangJianDialog()
{
    delete ui;
}

void ShangJianDialog::initUI()
{
    setUpSearches(QStringLiteral("上件管理"),
                  {ui->lineEdit, ui->lineEdit_orderid, ui->pushButton, ui->comboBox, ui->lineEdit_orderid2,
                   ui->pushButton_2},
                  keywordTypes());
    leftModel = showOrders(ui->tableView_left,
                           {QStringLiteral("单号"), QStringLiteral("所属门店"), QStringLiteral("姓名"),
                            QStringLiteral("价位"), QStringLiteral("选片师"), QStringLiteral("二销"),
                            QStringLiteral("欠款")});
    rightModel = showOrders(ui->tableView_right,
                            {QStringLiteral("单号"), QStringLiteral("所属门店"), QStringLiteral("上件操作人"),
                             QStringLiteral("上件日期"), QStringLiteral("客人姓名"), QStringLiteral("选片时间"),
                             QStringLiteral("选片完成时间"), QStringLiteral("选片人"), QStringLiteral("样后修片师"),
                             QStringLiteral("样前对比片"), QStringLiteral("加急日期"), QStringLiteral("发货日期")});
    ui->tableView_left->setColumnWidth(0, 200);
    ui->tableView_right->setColumnWidth(0, 200);
    ui->tableView_left->setColumnWidth(1, 150);
    ui->tableView_right->setColumnWidth(4, 150);
}

void ShangJianDialog::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
}

void ShangJianDialog::searchOrderNumber(const QString& typed)
{
    QByteArray body = keywordTypes().first().body(typed);
    postDataFunc(body, true);
}

void ShangJianDialog::postKeywordSearch(QByteArray body)
{
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
    endSearches();
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

void ShangJianDialog::lookUpScanned(const QString& scanned)
{
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
