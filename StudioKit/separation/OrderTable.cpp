#include "separation/OrderTable.h"

#include "files/FileOperation.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QStandardItemModel>
#include <QTableView>

namespace {

QStandardItem* tickItem(bool checked)
{
    auto* item = new QStandardItem;
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

} // namespace

OrderTable::OrderTable(QTableView* view, QStandardItemModel* model, const QVector<Column>& columns)
    : m_view(view)
    , m_model(model)
    , m_columns(columns)
{
    for (int column = 0; column < m_columns.size(); ++column)
        m_model->setHorizontalHeaderItem(column, new QStandardItem(m_columns.at(column).caption));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void OrderTable::fill(const QList<OrderItemInfo>& orders)
{
    m_model->removeRows(0, m_model->rowCount());
    const int last = m_columns.size() - 1;
    for (int row = 0; row < orders.size(); ++row) {
        const OrderItemInfo& order = orders.at(row);
        m_model->setItem(row, 0, tickItem(order.checked));
        for (int column = 1; column <= last; ++column) {
            auto* item = new QStandardItem(order.*(m_columns.at(column).field));
            if (column < last)
                item->setTextAlignment(Qt::AlignCenter);
            m_model->setItem(row, column, item);
        }
    }
}

void OrderTable::showTick(int row, bool checked)
{
    m_model->setItem(row, 0, tickItem(checked));
}

void OrderTable::toggle(QList<OrderItemInfo>& orders, int row)
{
    if (row < 0 || row >= orders.size())
        return;
    OrderItemInfo& order = orders[row];
    order.checked = !order.checked;
    showTick(row, order.checked);
    m_view->setStyleSheet(order.checked
                              ? QStringLiteral("selection-background-color: rgb(135, 206, 250);selection-color:black;")
                              : QStringLiteral("selection-background-color: rgb(248, 248, 255);selection-color:black;"));
}

void OrderTable::selectAll(QList<OrderItemInfo>& orders)
{
    for (int row = 0; row < orders.size(); ++row) {
        orders[row].checked = true;
        showTick(row, true);
    }
}

void OrderTable::invert(QList<OrderItemInfo>& orders)
{
    for (int row = 0; row < orders.size(); ++row) {
        orders[row].checked = !orders.at(row).checked;
        showTick(row, orders.at(row).checked);
    }
}

const OrderItemInfo* OrderTable::currentOrder(const QList<OrderItemInfo>& orders) const
{
    const int row = m_view->currentIndex().row();
    return row >= 0 && row < orders.size() ? &orders.at(row) : nullptr;
}

void OrderTable::popUpFolderMenu(const QList<OrderItemInfo>& orders, QMenu* menu, QAction* openFolder) const
{
    const OrderItemInfo* order = currentOrder(orders);
    if (!order)
        return;
    openFolder->setEnabled(!order->orderpath.isEmpty());
    menu->popup(QCursor::pos());
}

const QVector<OrderTable::Column>& OrderTable::separationColumns()
{
    static const QVector<Column> columns = {
        {QStringLiteral("分件"), nullptr},
        {QStringLiteral("预约单号"), &OrderItemInfo::orderpayforkey},
        {QStringLiteral("所属门店"), &OrderItemInfo::storesname},
        {QStringLiteral("服务次数"), &OrderItemInfo::servicetimes},
        {QStringLiteral("客人姓名"), &OrderItemInfo::names},
        {QStringLiteral("摄影师"), &OrderItemInfo::role1},
        {QStringLiteral("化妆师"), &OrderItemInfo::role2},
        {QStringLiteral("设计师"), &OrderItemInfo::role10},
        {QStringLiteral("样前对比片师"), &OrderItemInfo::tiaosename},
        {QStringLiteral("样后修片师"), &OrderItemInfo::tiaoxiname},
        {QStringLiteral("套系"), &OrderItemInfo::comboname},
        {QStringLiteral("套系金额"), &OrderItemInfo::orderbaseprice},
        {QStringLiteral("订单现售价"), &OrderItemInfo::order_price},
        {QStringLiteral("上件日期"), &OrderItemInfo::gotodigitaltime},
        {QStringLiteral("订单路径"), &OrderItemInfo::orderpath},
    };
    return columns;
}

const QVector<OrderTable::Column>& OrderTable::deletionColumns()
{
    static const QVector<Column> columns = [] {
        QVector<Column> all = separationColumns();
        all.removeAt(13); // "上件日期"
        return all;
    }();
    return columns;
}

bool OrderTable::hasCheckedOrder(const QList<OrderItemInfo>& orders)
{
    for (const OrderItemInfo& order : orders) {
        if (order.checked)
            return true;
    }
    return false;
}

void OrderTable::openOrderFolder(const QString& path)
{
    if (FileOperation::isDirExist(path))
        FileOperation::openFileDir(path);
}

QVector<int> OrderTable::columnWidths(int tableWidth, int columnCount)
{
    // Both layouts add up to more than the width: the table scrolls sideways.
    QVector<int> widths(columnCount);
    const int last = columnCount - 1;
    const auto part = [](int rest, double factor) { return int(rest * factor); };
    widths[0] = 60;
    if (tableWidth * 0.13 >= 130) {
        const int rest = tableWidth - 60;
        widths[1] = part(rest, 0.13);
        for (int column : {2, 4, 5, 6, 7})
            widths[column] = part(rest, 0.09);
        widths[3] = part(rest, 0.06);
        for (int column = 8; column < last; ++column)
            widths[column] = part(rest, 0.1);
        widths[last] = part(rest, 0.32);
    } else {
        const int rest = tableWidth - 190;
        widths[1] = 130;
        for (int column : {2, 4, 5, 6})
            widths[column] = part(rest, 0.113);
        widths[3] = part(rest, 0.06);
        widths[7] = part(rest, 0.1243);
        for (int column = 8; column < last; ++column)
            widths[column] = part(rest, 0.12143);
        widths[last] = part(rest, 0.4);
    }
    return widths;
}

void OrderTable::applyColumnWidths()
{
    const QVector<int> widths = columnWidths(m_view->width(), m_columns.size());
    for (int column = 0; column < widths.size(); ++column)
        m_view->setColumnWidth(column, widths.at(column));
}
