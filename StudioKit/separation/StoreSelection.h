#ifndef STORESELECTION_H
#define STORESELECTION_H

#include <QList>
#include <QString>
#include <QStringList>

class MultiSelectComboBox;

// The stores an order search window offers, copied from the current shop
// when the window is built: a later shop switch replaces the globals while
// the window stays open, and its ticked rows must still name these stores.
//
// Use: keep one as a member built with the window, `fill` the window's
// `cb_shops` once, and send `joinedIds(cb_shops->checkedRows())` as
// "storesids".
class StoreSelection
{
public:
    // Copies g_storeNames and g_storeIds.
    StoreSelection();

    // Adds every store, ticked, under the prompt "点击选择店铺".
    void fill(MultiSelectComboBox* box) const;
    // The ids of the ticked rows in row order, joined with ","; a row
    // without an id is left out.
    QString joinedIds(const QList<int>& checkedRows) const;

private:
    QStringList m_names;
    QStringList m_ids;
};

#endif
