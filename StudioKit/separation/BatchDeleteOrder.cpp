#include "separation/BatchDeleteOrder.h"
#include "ui_BatchDeleteOrder.h"

#include "core/FormBody.h"
#include "core/Globals.h"

#include <QDebug>

BatchDeleteOrder::BatchDeleteOrder(QWidget* parent)
    : OrderSearchDialog(parent)
    , ui(new Ui::BatchDeleteOrder)
{
    ui->setupUi(this);
    // An ordinary window frame for the parentless tool.
    setWindowFlags(Qt::Widget);
    setUpOrderSearch({ui->tableView, ui->searchButton, ui->cancelButton, ui->groupBox, ui->progressBar, ui->label,
                      ui->label_finishOrdersNum},
                     OrderTable::deletionColumns(), {URL_ORDER_ORDER_LIST2, OrderItemInfo::Tool::BatchDeletion});
}

BatchDeleteOrder::~BatchDeleteOrder()
{
    delete ui;
}

// The deletion workers are threads of their own and a running deletion
// outlives the window; no pool job is ours to clear.
void BatchDeleteOrder::closeEvent(QCloseEvent* event)
{
    qDebug() << "要关闭窗口了";
    OrderSearchDialog::closeEvent(event);
}

void BatchDeleteOrder::clickSearch()
{
    if (isSearching())
        return;
    QByteArray body = FormBody()
                          .add(QStringLiteral("token"), ACCESS_TOKEN)
                          .add(QStringLiteral("shopid"), g_shopId)
                          .add(QStringLiteral("eid"), g_eid)
                          .add(QStringLiteral("personid"), g_eid)
                          .add(QStringLiteral("uid"), g_uid)
                          .add(QStringLiteral("superid"), g_superId)
                          .add(QStringLiteral("starttime"),
                               ui->calendar->selectedDate().toString(QStringLiteral("yyyy-MM-dd")))
                          .add(QStringLiteral("endtime"),
                               ui->calendar_2->selectedDate().toString(QStringLiteral("yyyy-MM-dd")))
                          .bytes();
    postDataFunc(body);
}

void BatchDeleteOrder::on_pushButton_separate_clicked()
{
    if (requireCheckedOrder())
        startDel();
}

void BatchDeleteOrder::startDel()
{
    if (!OrderDeletionRun::refuseWhileDeleting(m_deletion))
        m_deletion = OrderDeletionRun::start(orderList, {ui->groupBox, ui->progressBar, ui->label});
}
