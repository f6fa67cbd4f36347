#include "separation/BatchDeleteOrder.h"
#include "ui_BatchDeleteOrder.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "separation/OrderSearchReply.h"
#include "separation/OrderTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QDebug>
#include <QJsonObject>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardItemModel>

BatchDeleteOrder::BatchDeleteOrder(QWidget* parent)
    : QDialog(parent)
    , openDirAction(new QAction(QStringLiteral("打开订单目录"), this))
    , model(new QStandardItemModel(this))
    , ui(new Ui::BatchDeleteOrder)
{
    ui->setupUi(this);
    // An ordinary window frame for the parentless tool.
    setWindowFlags(Qt::Widget);
    m_table.reset(new OrderTable(ui->tableView, model, OrderTable::deletionColumns()));

    connect(ui->searchButton, &QPushButton::clicked, this, &BatchDeleteOrder::clickSearch);
    connect(ui->cancelButton, &QPushButton::clicked, this, &BatchDeleteOrder::clickCancel);
    ui->tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->tableView, &QWidget::customContextMenuRequested, this, &BatchDeleteOrder::showMouseRightButton);
    connect(openDirAction, &QAction::triggered, this, &BatchDeleteOrder::openOrderDir);
    contextMenu = new QMenu(ui->tableView);
    contextMenu->addAction(openDirAction);

    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    ui->label->hide();
    ui->label_finishOrdersNum->hide();
    ui->groupBox->hide();
}

BatchDeleteOrder::~BatchDeleteOrder()
{
    delete contextMenu;
    delete openDirAction;
    delete ui;
}

bool BatchDeleteOrder::hasCheckedOrder()
{
    return OrderTable::hasCheckedOrder(orderList);
}

void BatchDeleteOrder::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    m_table->applyColumnWidths();
}

void BatchDeleteOrder::closeEvent(QCloseEvent* event)
{
    // The deletion workers are threads of their own and a running deletion
    // outlives the window; no pool job is ours to clear.
    qDebug() << "要关闭窗口了";
    event->accept();
}

void BatchDeleteOrder::clickCancel()
{
    close();
}

void BatchDeleteOrder::clickSearch()
{
    const QString start = ui->calendar->selectedDate().toString(QStringLiteral("yyyy-MM-dd"));
    const QString end = ui->calendar_2->selectedDate().toString(QStringLiteral("yyyy-MM-dd"));
    if (isSearching)
        return;
    ui->searchButton->setEnabled(false);
    ui->searchButton->setText(QStringLiteral("检索中..."));
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("eid"), g_eid)
        .add(QStringLiteral("personid"), g_eid)
        .add(QStringLiteral("uid"), g_uid)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("starttime"), start)
        .add(QStringLiteral("endtime"), end);
    isSearching = true;
    QByteArray bytes = body.bytes();
    postDataFunc(bytes);
}

void BatchDeleteOrder::postDataFunc(QByteArray& body)
{
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &BatchDeleteOrder::queryCallBack);
    qDebug() << "Query OrderID Url:" << URL_ORDER_ORDER_LIST2;
    qDebug() << "Query OrderID Paras:" << FormBody::masked(body);
    ServiceCall::postForm(manager, URL_ORDER_ORDER_LIST2, body);
}

void BatchDeleteOrder::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (ServiceCall::readReply(reply, &object))
        OrderSearchReply::apply(object, OrderItemInfo::Tool::BatchDeletion, &orderList, [this] { fillOrderTable(); });
    ui->searchButton->setEnabled(true);
    ui->searchButton->setText(QStringLiteral("检索"));
    isSearching = false;
}

void BatchDeleteOrder::fillOrderTable()
{
    m_table->fill(orderList);
}

void BatchDeleteOrder::on_tableView_clicked(QModelIndex index)
{
    m_table->toggle(orderList, index.row());
}

void BatchDeleteOrder::on_pushButton_selectAll_clicked()
{
    m_table->selectAll(orderList);
}

void BatchDeleteOrder::on_pushButton_selectOpposite_clicked()
{
    m_table->invert(orderList);
}

void BatchDeleteOrder::showMouseRightButton(QPoint pos)
{
    Q_UNUSED(pos);
    m_table->popUpFolderMenu(orderList, contextMenu, openDirAction);
}

void BatchDeleteOrder::openOrderDir()
{
    if (const OrderItemInfo* order = m_table->currentOrder(orderList))
        OrderTable::openOrderFolder(order->orderpath);
}

void BatchDeleteOrder::on_pushButton_separate_clicked()
{
    if (!hasCheckedOrder()) {
        Dialogs::information(nullptr, QString(), QStringLiteral("请选择订单"), QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    startDel();
}

void BatchDeleteOrder::startDel()
{
    if (!OrderDeletionRun::refuseWhileDeleting(m_deletion))
        m_deletion = OrderDeletionRun::start(orderList, {ui->groupBox, ui->progressBar, ui->label});
}
