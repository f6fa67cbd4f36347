#include "separation/OrderSearchDialog.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/ServiceCall.h"
#include "separation/OrderSearchReply.h"

#include <QAction>
#include <QCloseEvent>
#include <QDebug>
#include <QGroupBox>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

OrderSearchDialog::OrderSearchDialog(QWidget* parent)
    : QDialog(parent)
{
}

OrderSearchDialog::~OrderSearchDialog()
{
    delete contextMenu;
    delete openDirAction;
}

void OrderSearchDialog::setUpOrderSearch(const SearchWidgets& widgets, const QVector<OrderTable::Column>& columns,
                                         const SearchService& service)
{
    m_service = service;
    m_searchButton = widgets.searchButton;
    model = new QStandardItemModel(this);
    m_table.reset(new OrderTable(widgets.tableView, model, columns));

    connect(widgets.searchButton, &QPushButton::clicked, this, &OrderSearchDialog::clickSearch);
    connect(widgets.cancelButton, &QPushButton::clicked, this, &OrderSearchDialog::clickCancel);

    widgets.tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widgets.tableView, &QWidget::customContextMenuRequested, this, &OrderSearchDialog::showMouseRightButton);
    openDirAction = new QAction(QStringLiteral("打开订单目录"), this);
    connect(openDirAction, &QAction::triggered, this, &OrderSearchDialog::openOrderDir);
    contextMenu = new QMenu(widgets.tableView);
    contextMenu->addAction(openDirAction);

    widgets.progressBar->setValue(0);
    widgets.progressBar->hide();
    widgets.label->hide();
    widgets.label_finishOrdersNum->hide();
    widgets.groupBox->hide();
}

bool OrderSearchDialog::hasCheckedOrder()
{
    return OrderTable::hasCheckedOrder(orderList);
}

bool OrderSearchDialog::requireCheckedOrder()
{
    if (hasCheckedOrder())
        return true;
    Dialogs::information(nullptr, QString(), QStringLiteral("请选择订单"), QMessageBox::Yes, QMessageBox::Yes);
    return false;
}

void OrderSearchDialog::fillOrderTable()
{
    m_table->fill(orderList);
}

void OrderSearchDialog::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    m_table->applyColumnWidths();
}

// Accepted without QDialog's reject: closing is no answer to a question.
void OrderSearchDialog::closeEvent(QCloseEvent* event)
{
    event->accept();
}

void OrderSearchDialog::clickCancel()
{
    close();
}

void OrderSearchDialog::postDataFunc(QByteArray& body)
{
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &OrderSearchDialog::queryCallBack);
    qDebug() << "Query OrderID Url:" << m_service.url;
    qDebug() << "Query OrderID Paras:" << FormBody::masked(body);
    ServiceCall::postForm(manager, m_service.url, body);
    showSearching(true);
}

void OrderSearchDialog::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (ServiceCall::readReply(reply, &object) && !holdsOrders())
        OrderSearchReply::apply(object, m_service.tool, &orderList, [this] { fillOrderTable(); });
    showSearching(false);
}

void OrderSearchDialog::showSearching(bool searching)
{
    m_searching = searching;
    m_searchButton->setEnabled(!searching);
    m_searchButton->setText(searching ? QStringLiteral("检索中...") : QStringLiteral("检索"));
}

void OrderSearchDialog::on_tableView_clicked(QModelIndex index)
{
    m_table->toggle(orderList, index.row());
}

void OrderSearchDialog::on_pushButton_selectAll_clicked()
{
    m_table->selectAll(orderList);
}

void OrderSearchDialog::on_pushButton_selectOpposite_clicked()
{
    m_table->invert(orderList);
}

void OrderSearchDialog::showMouseRightButton(QPoint pos)
{
    Q_UNUSED(pos);
    m_table->popUpFolderMenu(orderList, contextMenu, openDirAction);
}

void OrderSearchDialog::openOrderDir()
{
    if (const OrderItemInfo* order = m_table->currentOrder(orderList))
        OrderTable::openOrderFolder(order->orderpath);
}
