#ifndef CURRENTORDER_H
#define CURRENTORDER_H

#include "core/OrderItemInfo.h"

// The order a separation run works on, for every window that runs one.
namespace CurrentOrder {

// Copies the row's fields into the current-order globals, which the later
// steps of the order, its jobs and its sheets read.
void take(const OrderItemInfo& order);

} // namespace CurrentOrder

#endif
