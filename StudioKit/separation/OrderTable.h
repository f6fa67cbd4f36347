#ifndef ORDERTABLE_H
#define ORDERTABLE_H

#include "core/OrderItemInfo.h"

#include <QList>
#include <QString>
#include <QVector>

class QAction;
class QMenu;
class QStandardItemModel;
class QTableView;

// The result table of the order search windows: column 0 shows the row's
// tick, every other column one text field of the order. The tick lives in the
// window's order list; the table only shows it, and its items are not
// user-checkable, so a key press cannot tick a row behind the list's back.
//
// Use: build one with the window's `tableView`, its model and the columns;
// `fill` after every search reply; call `toggle` from the view's clicked
// slot, `selectAll` and `invert` from the two buttons, and `applyColumnWidths`
// from the window's paintEvent.
class OrderTable
{
public:
    struct Column {
        QString caption;
        QString OrderItemInfo::*field; // nullptr for column 0, the tick
    };

    // Sets the captions, the model and the view's behaviour: whole rows,
    // one at a time, never edited.
    OrderTable(QTableView* view, QStandardItemModel* model, const QVector<Column>& columns);

    // Rebuilds the rows from `orders`; all columns but the last are centred.
    void fill(const QList<OrderItemInfo>& orders);
    // A click in any column of `row` flips its tick; the selection colour
    // shows the new state (light blue ticked, near-white not).
    void toggle(QList<OrderItemInfo>& orders, int row);
    void selectAll(QList<OrderItemInfo>& orders);
    void invert(QList<OrderItemInfo>& orders);
    void applyColumnWidths();

    // The order of the view's current row; nullptr without one.
    const OrderItemInfo* currentOrder(const QList<OrderItemInfo>& orders) const;
    // Pops up the folder menu at the cursor for the current row, its action
    // enabled only when the order has a folder; nothing without a current row.
    void popUpFolderMenu(const QList<OrderItemInfo>& orders, QMenu* menu, QAction* openFolder) const;

    // The columns of the separation windows; the batch delete's lack "上件日期".
    static const QVector<Column>& separationColumns();
    static const QVector<Column>& deletionColumns();
    static bool hasCheckedOrder(const QList<OrderItemInfo>& orders);
    // Opens an order's folder for the user. The path comes from the service:
    // the shell gets only an existing folder, never a file it would open or run.
    static void openOrderFolder(const QString& path);
    // Widths of the 15 columns of the separation windows or the 14 of the
    // batch delete at a table width: a wide layout from 1000 pixels on.
    static QVector<int> columnWidths(int tableWidth, int columnCount);

private:
    void showTick(int row, bool checked);

    QTableView* m_view;
    QStandardItemModel* m_model;
    QVector<Column> m_columns;
};

#endif
