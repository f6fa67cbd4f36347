#ifndef ORDERHANDOVER_H
#define ORDERHANDOVER_H

#include <QList>
#include <QStringList>

class ImportOrderModel;

// Sorts the orders an order picker hands to the import window. An order
// whose number the window already lists, or that came earlier in the same
// hand-over, is a duplicate; one whose import path lies on a drive whose
// root is not there is refused; the window takes the rest, in order.
//
//     const OrderHandOver handOver(orderList, orderLst);
//     orderList << handOver.accepted();
//     if (!handOver.duplicates().isEmpty()) ... // the box "订单已存在"
class OrderHandOver
{
public:
    OrderHandOver(const QList<ImportOrderModel*>& listed, const QList<ImportOrderModel*>& handedOver);

    QList<ImportOrderModel*> accepted() const { return m_accepted; }
    // Numbers of the duplicates.
    QStringList duplicates() const { return m_duplicates; }
    // Each refused order as its number, ":" and the missing root.
    QStringList missingRoots() const { return m_missingRoots; }

private:
    QList<ImportOrderModel*> m_accepted;
    QStringList m_duplicates;
    QStringList m_missingRoots;
};

#endif
