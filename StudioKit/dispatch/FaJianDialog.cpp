#include "dispatch/FaJianDialog.h"
#include "ui_FaJianDialog.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "dispatch/DispatchSearchType.h"
#include "dispatch/SearchControls.h"
#include "files/BarCodePicture.h"
#include "files/ImageOperation.h"
#include "Platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStandardItemModel>
#include <QTextDocument>

namespace {

// The order whose goods a request asks for or submits travels with it, as
// replies come back in any order.
const char* const kOrderId = "orderid";

enum GoodsColumn { PrintShopColumn = 8, FactoryColumn = 10, TickColumn = 12, GoodsColumns = 13 };

QList<DispatchSearchType> searchTypes()
{
    using T = DispatchSearchType;
    // "&uid=" carries the staff id here.
    const T::Pair token{"token", T::Token}, uid{"uid", T::StaffId}, shop{"shopid", T::ShopId},
        super{"superid", T::SuperId}, type{"type", T::TypeNumber};
    const auto key = [](const char* name) { return T::Pair{name, T::Keyword}; };
    const QString date = QStringLiteral("请选择日期");
    // In the order of the type box: 预约单号, 拍摄日期, 看样日期, 预约日期, 发货日期, 姓名, 电话.
    static const QList<T> types = {
        {QStringLiteral("请输入订单号"), false, QStringLiteral("1"),
         {token, uid, shop, super, type, key("orderpayforkey")}},
        {date, true, QStringLiteral("2"), {token, uid, shop, super, type, key("photodate")}},
        {date, true, QStringLiteral("3"),
         {token, shop, super, type, uid, key("selectphotodate")}},
        {date, true, QStringLiteral("4"),
         {token, shop, super, type, key("selectphotodate"), uid}},
        {date, true, QStringLiteral("5"),
         {token, shop, super, type, uid, key("selectphotodate")}},
        {QStringLiteral("请输入姓名"), false, QStringLiteral("6"),
         {token, uid, shop, super, type, key("orderpayforkey")}},
        {QStringLiteral("请输入电话"), false, QStringLiteral("7"),
         {token, uid, shop, super, type, key("orderpayforkey")}},
    };
    return types;
}

// The order-number box searches as the type box's first entry.
QByteArray orderNumberBody(const QString& keyword)
{
    return searchTypes().first().body(keyword);
}

QList<DispatchSearchDialog::KeywordType> keywordTypes()
{
    QList<DispatchSearchDialog::KeywordType> types;
    for (const DispatchSearchType& type : searchTypes())
        types << DispatchSearchDialog::KeywordType{type.emptyMessage, type.date,
                                                    [type](const QString& keyword) { return type.body(keyword); }};
    return types;
}

void notice(const QString& title, const QString& text)
{
    Dialogs::information(nullptr, title, text, QMessageBox::Yes, QMessageBox::Yes);
}

QString text(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

FaJianOrderRow orderRow(const QJsonObject& object, bool withDates)
{
    FaJianOrderRow row;
    row.orderpayforkey = text(object, "orderpayforkey");
    const QString man = text(object, "mname");
    const QString woman = text(object, "wname");
    row.customerName = man.isEmpty() ? woman : woman.isEmpty() ? man : man + QLatin1Char('/') + woman;
    row.order_price = text(object, "order_price");
    row.sheji = text(object, "sheji");
    row.shejitime = text(object, "shejitime");
    row.orderid = text(object, "orderid");
    if (withDates) {
        row.getphotodate = text(object, "getphotodate");
        row.urgentdate = text(object, "urgentdate");
    }
    return row;
}

FaJianGoodsInfo goodsLine(const QJsonObject& object)
{
    FaJianGoodsInfo line;
    line.orderid = text(object, "orderid");
    line.id = text(object, "id");
    line.goodname = text(object, "goodname");
    line.goodtypeid = text(object, "goodtypeid");
    line.goodsizename = text(object, "goodsizename");
    line.goodtype = text(object, "goodtype");
    line.number = text(object, "number");
    line.pnumber = text(object, "pnumber");
    line.isurgent = text(object, "isurgent");
    line.descr = text(object, "descr");
    line.printshopname = text(object, "printshopname");
    line.factoryname = text(object, "factoryname");
    line.sendToFactoryTime2 = text(object, "sendToFactoryTime2");
    line.sendToPrintshopTime2 = text(object, "sendToPrintshopTime2");
    line.ready = true;
    return line;
}

// A combo box of every entry's name, each item keeping its entry's id; the
// entry of the given name is current, else the first.
template <typename Entry>
QComboBox* entryCombo(const QList<Entry>& entries, const QString& name)
{
    auto* combo = new QComboBox;
    for (const Entry& entry : entries)
        combo->addItem(entry.name, entry.id);
    const int named = combo->findText(name, Qt::MatchExactly);
    combo->setCurrentIndex(name.isEmpty() || named < 0 ? 0 : named);
    return combo;
}

QTableWidgetItem* centredItem(const QString& value)
{
    auto* item = new QTableWidgetItem(value);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

QWidget* tickBox()
{
    auto* cell = new QWidget;
    auto* layout = new QHBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setAlignment(Qt::AlignCenter);
    auto* tick = new QCheckBox(cell);
    tick->setChecked(true);
    layout->addWidget(tick);
    return cell;
}

} // namespace

FaJianDialog::FaJianDialog(QWidget* parent)
    : DispatchSearchDialog(parent)
    , ui(new Ui::FaJianDialog)
{
    ui->setupUi(this);
    initUI();
}

FaJianDialog::~FaJianDialog()
{
    delete ui;
}

void FaJianDialog::initUI()
{
    setUpSearches(QStringLiteral("发件管理"),
                  {ui->lineEdit, ui->lineEdit_orderid, ui->pushButton, ui->comboBox, ui->lineEdit_orderid2,
                   ui->pushButton_2},
                  keywordTypes());
    leftModel = showOrders(ui->tableView_left, {QStringLiteral("单号"), QStringLiteral("姓名"), QStringLiteral("价位"),
                                                QStringLiteral("设计师"), QStringLiteral("设计完成日期")});

    ui->tableWidget->setColumnCount(GoodsColumns);
    ui->tableWidget->setHorizontalHeaderLabels(
        {QStringLiteral("产品名称"), QStringLiteral("尺寸"), QStringLiteral("类别"), QStringLiteral("数量"),
         QStringLiteral("P数"), QStringLiteral("发货日期"), QStringLiteral("加急取件"), QStringLiteral("备注"),
         QStringLiteral("冲印公司"), QStringLiteral("发冲印公司时间"), QStringLiteral("后期工厂"),
         QStringLiteral("发后期工厂时间"), QStringLiteral("打印条码")});
    ui->tableWidget->setRowCount(0);
    ui->tableWidget->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->tableWidget->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->tableWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void FaJianDialog::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    const int w = ui->tableWidget->width() - 15;
    const auto part = [w](double factor) { return int(w * factor); };
    ui->tableWidget->setColumnWidth(0, part(0.133));
    for (int column : {1, 2, 3, 4, 6})
        ui->tableWidget->setColumnWidth(column, part(0.073));
    for (int column : {5, 7, 12})
        ui->tableWidget->setColumnWidth(column, part(0.083));
    for (int column = 8; column <= 11; ++column)
        ui->tableWidget->setColumnWidth(column, 150);
}

void FaJianDialog::lookUpScanned(const QString& scanned)
{
    queryOrderById(scanned);
}

void FaJianDialog::searchOrderNumber(const QString& typed)
{
    ui->lineEdit_orderid->selectAll();
    QByteArray body = orderNumberBody(typed);
    postDataFunc(body);
}

QString FaJianDialog::takeKeyword()
{
    orderList.clear();
    goodsByOrder.clear();
    shownGoods.clear();
    return ui->lineEdit_orderid2->text().trimmed();
}

void FaJianDialog::postKeywordSearch(QByteArray body)
{
    postDataFunc(body);
}

void FaJianDialog::postDataFunc(QByteArray& body)
{
    QNetworkAccessManager* manager = SearchControls::newManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &FaJianDialog::queryCallBack);
    ServiceCall::postForm(manager, URL_ORDER_ORDER_LIST, body);
}

void FaJianDialog::queryOrderById(QString orderid)
{
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("shopid"), g_shopId)
                                .add(QStringLiteral("orderid"), orderid)
                                .bytes();
    QNetworkAccessManager* manager = SearchControls::newManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &FaJianDialog::queryOrderIDCallBack);
    ServiceCall::postForm(manager, URL_ORDER_GETORDERBYID, body);
}

void FaJianDialog::fillChoiceLists(const QJsonObject& reply, bool withPrompt)
{
    printShopList.clear();
    factoryList.clear();
    if (withPrompt) {
        printShopList << PrintShopEntry{QStringLiteral("0"), QStringLiteral("请选择")};
        factoryList << FactoryEntry{QStringLiteral("0"), QStringLiteral("请选择")};
    }
    for (const QJsonValue& shop : reply.value(QStringLiteral("printshops")).toArray())
        printShopList << PrintShopEntry{text(shop.toObject(), "id"), text(shop.toObject(), "name")};
    for (const QJsonValue& factory : reply.value(QStringLiteral("factorys")).toArray())
        factoryList << FactoryEntry{text(factory.toObject(), "id"), text(factory.toObject(), "name")};
}

void FaJianDialog::addOrder(const FaJianOrderRow& row)
{
    for (const FaJianOrderRow& listed : qAsConst(orderList)) {
        if (listed.orderpayforkey == row.orderpayforkey)
            return;
    }
    orderList << row;
    goodsByOrder << QList<FaJianGoodsInfo>();
}

void FaJianDialog::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (ServiceCall::readReply(reply, &object)) {
        const QString code = text(object, "code");
        const QJsonArray orders = object.value(QStringLiteral("order")).toArray();
        if (code != QLatin1String("1")) {
            notice(QStringLiteral("警告"), QStringLiteral("错误代码：") + code);
        } else {
            fillChoiceLists(object, true);
            if (orders.isEmpty()) {
                notice(QStringLiteral("提示"), QStringLiteral("没有查询到任何订单"));
            } else {
                qDebug() << "order_list" << orders;
                for (const QJsonValue& element : orders) {
                    qDebug() << "orderobj" << element.toObject();
                    addOrder(orderRow(element.toObject(), true));
                }
                // Every listed order's goods are asked for again.
                goodsByOrder = QList<QList<FaJianGoodsInfo>>();
                for (int i = 0; i < orderList.size(); ++i)
                    goodsByOrder << QList<FaJianGoodsInfo>();
                shownGoods.clear();
                for (const FaJianOrderRow& row : qAsConst(orderList))
                    postQueryProducts(row.orderid);
                fillLeftTable();
            }
        }
    }
    endSearches();
}

void FaJianDialog::queryOrderIDCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (ServiceCall::readReply(reply, &object)) {
        qDebug() << "obj" << object;
        if (text(object, "code") != QLatin1String("1")) {
            notice(QStringLiteral("警告"), text(object, "message"));
        } else {
            if (!object.value(QStringLiteral("printshops")).toArray().isEmpty()
                && !object.value(QStringLiteral("factorys")).toArray().isEmpty())
                fillChoiceLists(object, false);
            else
                notice(QStringLiteral("提示"), QStringLiteral("后台没有设置冲印公司或后期工厂"));
            const QJsonObject order = object.value(QStringLiteral("order")).toObject();
            if (order.isEmpty()) {
                notice(QStringLiteral("提示"), QStringLiteral("没有查询到任何订单"));
            } else {
                addOrder(orderRow(order, false));
                postQueryProducts(text(order, "orderid"));
                fillLeftTable();
            }
        }
    }
    SearchControls::setBusy(ui->pushButton_2, false);
}

void FaJianDialog::fillLeftTable()
{
    QList<QStringList> rows;
    for (const FaJianOrderRow& row : qAsConst(orderList))
        rows << QStringList{row.orderpayforkey, row.customerName, row.order_price, row.sheji, row.shejitime};
    SearchControls::fillCentred(leftModel, rows);
}

int FaJianDialog::getRowOfOrder(QString orderid)
{
    qDebug() << "leftList count is:" << orderList.size();
    for (int row = 0; row < orderList.size(); ++row) {
        if (orderList.at(row).orderid == orderid)
            return row;
    }
    return orderList.size();
}

void FaJianDialog::postQueryProducts(QString orderid)
{
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("orderid"), orderid)
                                .add(QStringLiteral("shopid"), g_shopId)
                                .bytes();
    QNetworkAccessManager* manager = SearchControls::newManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &FaJianDialog::queryProductsCallBack);
    qDebug() << "post request row is:" << getRowOfOrder(orderid);
    QNetworkReply* reply = ServiceCall::postForm(manager, URL_ORDER_ORDERGOODS, body);
    reply->setProperty(kOrderId, orderid);
}

void FaJianDialog::queryProductsCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        notice(QStringLiteral("警告"), ServiceCall::networkErrorText(reply));
        return;
    }
    QJsonObject object;
    int stored = -1;
    if (ServiceCall::parseObject(reply->readAll(), &object)) {
        qDebug() << "productInfO:0803" << object;
        const QString code = text(object, "code");
        if (code != QLatin1String("1")) {
            notice(QStringLiteral("警告"), QStringLiteral("查询产品信息错误：") + code);
            qDebug() << "code is:" << code;
            return;
        }
        const QJsonObject order = object.value(QStringLiteral("order")).toObject();
        QList<FaJianGoodsInfo> lines;
        for (const char* key : {"ordergoods0", "ordergoods2"}) {
            for (const QJsonValue& element : order.value(QLatin1String(key)).toArray())
                lines << goodsLine(element.toObject());
        }
        if (lines.isEmpty()) {
            FaJianGoodsInfo placeholder;
            placeholder.id = QStringLiteral("0");
            placeholder.ready = true;
            lines << placeholder;
        }
        // The list goes to its order's row as listed now; an order no longer
        // listed drops it.
        const int row = getRowOfOrder(reply->property(kOrderId).toString());
        if (row < goodsByOrder.size()) {
            goodsByOrder[row] = lines;
            stored = row;
        }
    }
    SearchControls::setBusy(ui->pushButton_2, false);
    // Only the clicked order's own list is shown again, so choices not yet
    // sent survive the other orders' replies.
    if (stored >= 0 && lastClickedIndex.isValid() && lastClickedIndex.row() == stored)
        on_tableView_left_clicked(lastClickedIndex);
}

void FaJianDialog::on_tableView_left_clicked(QModelIndex index)
{
    lastClickedIndex = index;
    const int row = index.row();
    if (row < 0 || row >= goodsByOrder.size() || goodsByOrder.at(row).isEmpty()) {
        qDebug() << "noright";
        return;
    }
    if (!goodsByOrder.at(row).last().ready) {
        qDebug() << "rightisnotok";
        return;
    }
    currentOrderIndex = row;
    refreshRightTable(row);
}

void FaJianDialog::refreshRightTable(int page)
{
    const FaJianOrderRow order = orderList.value(currentOrderIndex);
    ui->label_currentID->setText(QStringLiteral("当前订单号：") + order.orderpayforkey);
    shownGoods = goodsByOrder.value(page);
    if (shownGoods.isEmpty())
        return;
    qDebug() << "page" << page << shownGoods.first().goodname;
    QTableWidget* table = ui->tableWidget;
    table->clearContents();
    table->setRowCount(shownGoods.size() + 1);
    if (!printShopList.isEmpty()) {
        QComboBox* all = entryCombo(printShopList, shownGoods.first().printshopname);
        table->setCellWidget(0, PrintShopColumn, all);
        connect(all, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &FaJianDialog::setAllPrintShop);
    }
    if (!factoryList.isEmpty()) {
        QComboBox* all = entryCombo(factoryList, shownGoods.first().factoryname);
        table->setCellWidget(0, FactoryColumn, all);
        connect(all, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &FaJianDialog::setAllFactory);
    }
    for (int i = 0; i < shownGoods.size(); ++i) {
        const FaJianGoodsInfo& line = shownGoods.at(i);
        const bool urgent = line.isurgent == QLatin1String("1");
        const QStringList cells = {line.goodname,
                                   line.goodsizename,
                                   line.goodtype,
                                   line.number,
                                   line.goodtypeid == QLatin1String("15") ? line.pnumber : QString(),
                                   urgent ? order.urgentdate : order.getphotodate,
                                   urgent ? QStringLiteral("是") : QStringLiteral("否"),
                                   line.descr};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(i + 1, column, centredItem(cells.at(column)));
        table->setItem(i + 1, 9, new QTableWidgetItem(line.sendToPrintshopTime2));
        table->setItem(i + 1, 11, new QTableWidgetItem(line.sendToFactoryTime2));
        if (!printShopList.isEmpty())
            table->setCellWidget(i + 1, PrintShopColumn, entryCombo(printShopList, line.printshopname));
        if (!factoryList.isEmpty())
            table->setCellWidget(i + 1, FactoryColumn, entryCombo(factoryList, line.factoryname));
        table->setCellWidget(i + 1, TickColumn, tickBox());
    }
}

QComboBox* FaJianDialog::goodsCombo(int row, int column) const
{
    return qobject_cast<QComboBox*>(ui->tableWidget->cellWidget(row, column));
}

void FaJianDialog::setAllCombos(int column, int index)
{
    for (int row = 1; row <= shownGoods.size(); ++row) {
        if (QComboBox* combo = goodsCombo(row, column))
            combo->setCurrentIndex(index);
    }
}

void FaJianDialog::setAllPrintShop(int index)
{
    qDebug() << "printShop:" << index;
    setAllCombos(PrintShopColumn, index);
}

void FaJianDialog::setAllFactory(int index)
{
    qDebug() << "factory:" << index;
    setAllCombos(FactoryColumn, index);
}

// Sends the choices of the goods the table shows, under their own order; the
// ids come from the combo items, whatever the lists hold by now.
void FaJianDialog::on_pushButton_submit_clicked()
{
    if (shownGoods.isEmpty())
        return;
    QJsonArray choices;
    for (int i = 0; i < shownGoods.size(); ++i) {
        const QComboBox* printShop = goodsCombo(i + 1, PrintShopColumn);
        const QComboBox* factory = goodsCombo(i + 1, FactoryColumn);
        if (!printShop || !factory)
            return;
        choices << QJsonObject{{QStringLiteral("ordergoodid"), shownGoods.at(i).id},
                               {QStringLiteral("printshopid"), printShop->currentData().toString()},
                               {QStringLiteral("factoryid"), factory->currentData().toString()}};
    }
    const QString orderid = orderList.value(currentOrderIndex).orderid;
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("uid"), g_eid)
                                .add(QStringLiteral("shopid"), g_shopId)
                                .add(QStringLiteral("orderid"), orderid)
                                .add(QStringLiteral("sendgoodsinfo"),
                                     QString::fromUtf8(QJsonDocument(choices).toJson(QJsonDocument::Compact)))
                                .bytes();
    qDebug() << "postData" << FormBody::masked(body);
    QNetworkAccessManager* manager = SearchControls::newManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &FaJianDialog::querySendToShopCallBack);
    QNetworkReply* reply = ServiceCall::postForm(manager, URL_ORDER_SENDTOSHOP, body);
    reply->setProperty(kOrderId, orderid);
}

void FaJianDialog::querySendToShopCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        notice(QStringLiteral("警告"), ServiceCall::networkErrorText(reply));
        return;
    }
    QJsonObject object;
    if (ServiceCall::parseObject(reply->readAll(), &object)) {
        qDebug() << "obj1111" << object;
        const QString code = text(object, "code");
        if (code != QLatin1String("1")) {
            notice(QStringLiteral("警告"), QStringLiteral("提交发件错误：") + code);
            return;
        }
        // The new send times are fetched while the order is still listed.
        const QString orderid = reply->property(kOrderId).toString();
        if (getRowOfOrder(orderid) < orderList.size())
            postQueryProducts(orderid);
        notice(QStringLiteral("提示"), QStringLiteral("发件成功!"));
    }
    SearchControls::setBusy(ui->pushButton_2, false);
}

void FaJianDialog::on_pushButton_excel_clicked()
{
    askExcelFileName(ui->tableWidget);
}

void FaJianDialog::askExcelFileName(QWidget* parent)
{
    SearchControls::askExcelFileName(parent);
}

void FaJianDialog::on_pushButton_print_clicked()
{
    // Checked first, so that a machine without a printer writes no pictures either.
    if (!Platform::instance().hasLabelPrinter()) {
        warnNoPrinter();
        return;
    }
    QList<CodeImageInfo> labels;
    const QString orderNumber = orderList.value(currentOrderIndex).orderpayforkey;
    for (int i = 0; i < shownGoods.size(); ++i) {
        QWidget* cell = ui->tableWidget->cellWidget(i + 1, TickColumn);
        const QCheckBox* tick = cell ? cell->findChild<QCheckBox*>() : nullptr;
        if (!tick || !tick->isChecked())
            continue;
        qDebug() << "i" << i;
        const FaJianGoodsInfo& line = shownGoods.at(i);
        const QString picture = getCodeImagePath(line.id);
        QString error;
        if (!picture.isEmpty() && !BarCodePicture::write(line.id, picture, &error))
            qDebug() << "no bar code for" << line.id << error;
        labels << CodeImageInfo{line.goodname, line.goodsizename, picture,
                                line.id + QStringLiteral("  ") + orderNumber, g_shopName};
    }
    printCodeImages(labels);
}

void FaJianDialog::warnNoPrinter()
{
    Dialogs::warning(nullptr, QStringLiteral("警告"), QStringLiteral("没有可用的打印机"), QMessageBox::Yes,
                     QMessageBox::Yes);
}

// An empty id, or one that could leave the temporary folder, names no picture.
QString FaJianDialog::getCodeImagePath(QString id)
{
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id.contains(QLatin1Char('\\'))
        || id.contains(QLatin1String("..")))
        return QString();
    return QDir::tempPath() + QStringLiteral("\\") + id + QStringLiteral(".png");
}

void FaJianDialog::printCodeImages(QList<CodeImageInfo> labels)
{
    Platform& platform = Platform::instance();
    const std::unique_ptr<QPrinter> printer = platform.labelPrinter();
    if (!printer) {
        warnNoPrinter();
        return;
    }
    const QSizeF page = printer->pageLayout().fullRect(QPageLayout::Millimeter).size();
    const int w = int(page.width());
    const int h = int(page.height());
    qDebug() << "widthMM" << w;
    qDebug() << "heightMM" << h + 2.5;
    qDebug() << "logicalDpiX" << printer->logicalDpiX();
    qDebug() << "logicalDpiY" << printer->logicalDpiY();
    qDebug() << "printer.width()" << printer->width();
    qDebug() << "printer.height()" << printer->height();
    qDebug() << "printer.pageSize()" << printer->pageLayout().pageSize().name();

    printer->setPageOrientation(QPageLayout::Portrait);
    platform.useNativeOutput(*printer);
    printer->setFullPage(true);
    printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer->setPageSize(QPageSize(QSizeF(w, h + 2.5), QPageSize::Millimeter, QString(), QPageSize::ExactMatch));

    for (int i = 0; i < labels.size(); ++i) {
        const QImage image = ImageOperation::makeCodeLabel(labels.at(i));
        platform.beginLabelJob(*printer);
        QPainter painter;
        if (!painter.begin(printer.get())) {
            warnNoPrinter();
            return;
        }
        const QRect viewport = painter.viewport();
        QSize size = image.size();
        size.scale(viewport.size(), Qt::KeepAspectRatio);
        painter.setViewport(viewport.x(), viewport.y(), size.width(), size.height());
        painter.setWindow(image.rect());
        painter.drawImage(0, 0, image);
        qDebug() << "i" << i;
        painter.end();
    }
}

// Kept for printing sheets on a chosen printer; nothing calls it yet.
void FaJianDialog::printHtml(QString html)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
}
