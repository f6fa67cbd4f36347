#ifndef CURRENTORDER_H
#define CURRENTORDER_H

#include "core/OrderItemInfo.h"

#include <QString>

// The order a separation run works on, for every window that runs one.
namespace CurrentOrder {

// Copies the row's fields into the current-order globals, which the later
// steps of the order, its jobs and its sheets read.
void take(const OrderItemInfo& order);

// Marks the first ticked, unprocessed row as processed and takes it; its row,
// or -1 when every ticked row has had its turn.
int takeNext(QList<OrderItemInfo>& orders);

// The current order's folder on the file server followed by `subFolder`
// ("成品/"), or empty for an order without an absolute folder: its path
// would name the program's current folder, which is never read for it.
QString serverFolder(const QString& subFolder);

} // namespace CurrentOrder

#endif
