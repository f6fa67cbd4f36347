#include "import/searchorderwindow.h"
#include "ui_searchorderwindow.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/SearchBody.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "import/importordermodel.h"
#include "Platform.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDate>
#include <QDebug>
#include <QGuiApplication>
#include <QJsonArray>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScreen>
#include <QStandardItemModel>
#include <QUrl>

namespace {

const int kColumnCount = 13;

// The picker's builders send shop, type, keyword and super id first; the
// login pairs that follow differ from builder to builder.
using K = SearchKey;
const SearchKeyOrder kUidEidPerson = {K::ShopId, K::SearchType, K::Keyword, K::SuperId, K::Uid, K::Eid, K::PersonId};
const SearchKeyOrder kEidPersonUid = {K::ShopId, K::SearchType, K::Keyword, K::SuperId, K::Eid, K::PersonId, K::Uid};
const SearchKeyOrder kEidPerson = {K::ShopId, K::SearchType, K::Keyword, K::SuperId, K::Eid, K::PersonId};
const SearchKeyOrder kEidUid = {K::ShopId, K::SearchType, K::Keyword, K::SuperId, K::Eid, K::Uid};

QStandardItem* checkableItem(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setCheckable(true);
    item->setCheckState(Qt::Unchecked);
    return item;
}

QStandardItem* centredItem(const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

} // namespace

SearchOrderWindow::SearchOrderWindow(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::SearchOrderWindow)
{
    ui->setupUi(this);
    setFocus();
    ui->orderNumber->setFocus();
    ui->selectPathButton->hide();
    ui->pathLineEdit->hide();
    connect(ui->calendar, &QCalendarWidget::clicked, this, &SearchOrderWindow::calendarClickAction);
    connect(ui->addOrdersBtn, &QPushButton::clicked, this, &SearchOrderWindow::addOrdersBtnSlot);
    initUI();
    loadSavedPath();
    const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
    resize(int(desktop.width() * 0.8), int(desktop.height() * 0.8));
}

SearchOrderWindow::~SearchOrderWindow()
{
    replaceOrderModels({});
    delete ui;
    delete rightMenu;
    delete openDirAction;
}

void SearchOrderWindow::initUI()
{
    // An ordinary top-level window with minimise and maximise, not a dialog frame.
    setWindowFlags(Qt::WindowFlags());
    setWindowTitle(QStringLiteral("检索订单 (双击添加订单)"));

    itemModel = new QStandardItemModel(this);
    const QStringList headers = {QStringLiteral("预约单号"), QStringLiteral("所属门店"), QStringLiteral("服务次数"),
                                 QStringLiteral("客人姓名"), QStringLiteral("摄影师"),   QStringLiteral("化妆师"),
                                 QStringLiteral("样前对比片师"), QStringLiteral("订单路径"), QStringLiteral("样后修片师"),
                                 QStringLiteral("套系"),     QStringLiteral("套系金额"), QStringLiteral("订单现售价"),
                                 QStringLiteral("上件日期")};
    for (int column = 0; column < headers.size(); ++column)
        itemModel->setHorizontalHeaderItem(column, new QStandardItem(headers.at(column)));
    ui->tableView->setModel(itemModel);
    ui->tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui->tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    ui->tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(itemModel, &QStandardItemModel::itemChanged, this, &SearchOrderWindow::selectAllOrderSlot);

    ui->tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->tableView, &QWidget::customContextMenuRequested, this, &SearchOrderWindow::showMouseRightButton);
    openDirAction = new QAction(QStringLiteral("打开订单目录"), this);
    connect(openDirAction, &QAction::triggered, this, &SearchOrderWindow::openOrderDir);
    rightMenu = new QMenu(ui->tableView);
    rightMenu->addAction(openDirAction);

    connect(ui->searchButton, &QPushButton::clicked, this, &SearchOrderWindow::clickSearch);
    connect(ui->cancelButton, &QPushButton::clicked, this, &SearchOrderWindow::clickCancel);
}

void SearchOrderWindow::loadSavedPath()
{
    const QStringList saved = FileOperation::readStringList(QStringLiteral("path_copyPhotos.dat"), 1);
    if (!saved.isEmpty())
        ui->pathLineEdit->setText(saved.first());
}

void SearchOrderWindow::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    const int w = ui->tableView->width();
    const auto part = [](double factor, int width) { return int(factor * width); };
    const auto setWidth = [this](int column, int width) { ui->tableView->setColumnWidth(column, width); };
    if (part(0.13, w) >= 130) {
        for (int column : {0, 6, 9})
            setWidth(column, part(0.13, w));
        for (int column = 1; column <= 5; ++column)
            setWidth(column, part(0.1, w));
        setWidth(7, part(0.32, w));
        for (int column : {8, 10, 11, 12})
            setWidth(column, part(0.11, w));
    } else {
        const int x = w - 130;
        setWidth(0, 130);
        setWidth(1, part(0.1113, x));
        for (int column = 2; column <= 5; ++column)
            setWidth(column, part(0.113, x));
        setWidth(7, part(0.4, x));
        for (int column : {6, 8, 9, 10, 11, 12})
            setWidth(column, part(0.1243, x));
    }
}

void SearchOrderWindow::closeEvent(QCloseEvent* event)
{
    emit closeSignal();
    QDialog::closeEvent(event);
}

void SearchOrderWindow::clickCancel()
{
    close();
}

void SearchOrderWindow::clickSearch()
{
    const QString date = ui->calendar->selectedDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QString typed = ui->orderNumber->text();
    const auto refuse = [](const char* text) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QString::fromUtf8(text), QMessageBox::Yes,
                             QMessageBox::Yes);
    };
    switch (ui->comboBox->currentIndex()) {
    case 0:
        if (typed.isEmpty())
            return refuse("请输入订单号");
        searchByOrderNumber(typed.trimmed());
        break;
    case 1: searchByShotDate(date); break;
    case 2: searchBySelectDate(date); break;
    case 3: searchByBookDate(date); break;
    case 4: searchByShipDate(date); break;
    case 5: searchByShangjianDate(date); break;
    case 6: searchByDesignAssignDate(date); break;
    case 7:
        if (typed.isEmpty())
            return refuse("请输入姓名");
        searchByName(typed);
        break;
    case 8:
        if (typed.isEmpty())
            return refuse("请输入电话");
        searchByPhone(typed.trimmed());
        break;
    default:
        return;
    }
    ui->searchButton->setEnabled(false);
    ui->searchButton->setText(QStringLiteral("检索中..."));
}

void SearchOrderWindow::searchByOrderNumber(QString keyword)
{
    postSearch(1, keyword, kUidEidPerson);
}

void SearchOrderWindow::searchByName(QString keyword)
{
    postSearch(2, keyword, kEidPerson);
}

void SearchOrderWindow::searchByPhone(QString keyword)
{
    postSearch(3, keyword, kEidPerson);
}

void SearchOrderWindow::searchByShotDate(QString keyword)
{
    postSearch(4, keyword, kEidPersonUid);
}

void SearchOrderWindow::searchBySelectDate(QString keyword)
{
    postSearch(5, keyword, kEidUid);
}

void SearchOrderWindow::searchByBookDate(QString keyword)
{
    postSearch(6, keyword, kEidPersonUid);
}

void SearchOrderWindow::searchByShipDate(QString keyword)
{
    postSearch(7, keyword, kUidEidPerson);
}

void SearchOrderWindow::searchByShangjianDate(QString keyword)
{
    postSearch(9, keyword, kUidEidPerson);
}

void SearchOrderWindow::searchByDesignAssignDate(QString keyword)
{
    postSearch(14, keyword, kUidEidPerson);
}

void SearchOrderWindow::postSearch(int searchType, const QString& keyword, const SearchKeyOrder& order)
{
    QByteArray bytes = searchBody(order, searchType, keyword).bytes();
    postDataFunc(bytes);
}

void SearchOrderWindow::postDataFunc(QByteArray& body)
{
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &SearchOrderWindow::queryCallBack);
    ServiceCall::postForm(manager, URL_ORDER_ORDER_LIST, body);
}

void SearchOrderWindow::backToIdle()
{
    ui->searchButton->setEnabled(true);
    ui->searchButton->setText(QStringLiteral("检索"));
}

void SearchOrderWindow::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object)) {
        backToIdle();
        return;
    }
    const QString code = object.value(QStringLiteral("code")).toString();
    if (code != QLatin1String("1")) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("错误代码：") + code, QMessageBox::Yes,
                             QMessageBox::Yes);
        backToIdle();
        return;
    }
    const QJsonArray data = object.value(QStringLiteral("data")).toArray();
    if (data.isEmpty()) {
        Dialogs::information(nullptr, QStringLiteral("提示"), QStringLiteral("没有查询到任何订单"), QMessageBox::Yes,
                             QMessageBox::Yes);
    } else {
        QList<ImportOrderModel*> models;
        for (const QJsonValue& order : data)
            models << new ImportOrderModel(order.toObject(), nullptr);
        replaceOrderModels(models);
        fillOrderTable();
    }
    backToIdle();
}

void SearchOrderWindow::replaceOrderModels(const QList<ImportOrderModel*>& models)
{
    selectedModels.clear();
    for (ImportOrderModel* model : qAsConst(orderModels)) {
        if (!model->parent())
            delete model;
    }
    orderModels = models;
}

void SearchOrderWindow::fillOrderTable()
{
    itemModel->removeRows(0, itemModel->rowCount());
    itemModel->setItem(0, 0, checkableItem(QStringLiteral("全选")));
    for (int i = 0; i < orderModels.size(); ++i) {
        const ImportOrderModel* m = orderModels.at(i);
        const QStringList cells = {m->orderpayforkey(), m->storesname(),      m->servicetimes(),   m->customerNames(),
                                   m->role1(),          m->role2(),           m->tiaosename(),     m->importOrderPath(),
                                   m->tiaoxiname(),     m->comboname(),       m->orderbaseprice(), m->order_price(),
                                   m->gotodigitaltime2()};
        QList<QStandardItem*> row;
        row << checkableItem(cells.at(0));
        for (int column = 1; column < kColumnCount; ++column)
            row << (column == 7 ? new QStandardItem(cells.at(column)) : centredItem(cells.at(column)));
        itemModel->insertRow(i + 1, row);
    }
}

void SearchOrderWindow::selectAllOrderSlot(QStandardItem* item)
{
    if (orderModels.isEmpty() || !itemModel->item(1, 0) || item != itemModel->item(0, 0))
        return;
    Qt::CheckState state = item->checkState();
    if (state == Qt::PartiallyChecked)
        return;
    qDebug() << (state == Qt::Checked ? "select all!" : "unselect all!");
    for (int row = 1; row <= orderModels.size(); ++row) {
        if (QStandardItem* order = itemModel->item(row, 0))
            order->setCheckState(state);
    }
}

void SearchOrderWindow::handOver()
{
    if (selectedModels.isEmpty())
        return;
    const QList<ImportOrderModel*> handedOver = selectedModels;
    emit addSelectOrderSigl(handedOver);
}

void SearchOrderWindow::addOrdersBtnSlot()
{
    selectedModels.clear();
    for (int row = 1; row <= orderModels.size(); ++row) {
        const QStandardItem* item = itemModel->item(row, 0);
        if (item && item->checkState() == Qt::Checked)
            selectedModels << orderModels.at(row - 1);
    }
    if (selectedModels.isEmpty()) {
        Dialogs::information(this, QStringLiteral("提示"), QStringLiteral("请选择导入的订单"), QMessageBox::Ok,
                             QMessageBox::NoButton);
        return;
    }
    handOver();
}

void SearchOrderWindow::on_tableView_doubleClicked(const QModelIndex& index)
{
    selectedModels.clear();
    const int row = index.row();
    qDebug() << "index====" << row;
    if (row < 1 || row > orderModels.size())
        return;
    ImportOrderModel* model = orderModels.at(row - 1);
    qDebug() << "orderpath====" << model->importOrderPath();
    selectedModels << model;
    handOver();
}

void SearchOrderWindow::showMouseRightButton(QPoint pos)
{
    Q_UNUSED(pos);
    const int row = ui->tableView->currentIndex().row();
    qDebug() << "selectedRow===" << row;
    if (row < 1 || row > orderModels.size())
        return;
    openDirAction->setEnabled(!orderModels.at(row - 1)->importOrderPath().isEmpty());
    rightMenu->popup(QCursor::pos());
}

void SearchOrderWindow::openOrderDir()
{
    const int row = ui->tableView->currentIndex().row();
    if (row < 1 || row > orderModels.size())
        return;
    const QString path = orderModels.at(row - 1)->importOrderPath();
    Platform::instance().openUrl(QUrl::fromLocalFile(Platform::diskPath(path)));
}

void SearchOrderWindow::on_selectPathButton_clicked()
{
    const QString folder = Dialogs::getExistingDirectory(this, QStringLiteral("选择分件保存路径"));
    if (!folder.isEmpty())
        ui->pathLineEdit->setText(folder);
}

void SearchOrderWindow::calendarClickAction()
{
    ui->searchButton->setFocus();
}
