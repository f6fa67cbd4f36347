#ifndef ORDERSEARCHREPLY_H
#define ORDERSEARCHREPLY_H

#include "core/OrderItemInfo.h"

#include <QJsonObject>
#include <QList>

#include <functional>

// The step of an order search reply that follows ServiceCall::readReply,
// shared by the order search windows.
//
// Use: in the reply slot, after readReply gave the object, call
// `OrderSearchReply::apply(object, tool, &orderList, [this] { fillOrderTable(); })`
// and restore the search button whatever it returns.
namespace OrderSearchReply {

// A "code" other than the string "1" shows "警告" "检索错误：" + code and
// leaves `orders` alone (false). Otherwise the records of "data" replace
// `orders`, `refill` rebuilds the table, and an empty result then shows
// "提示" "没有查询到任何订单" (true).
bool apply(const QJsonObject& reply, OrderItemInfo::Tool tool, QList<OrderItemInfo>* orders,
           const std::function<void()>& refill);

} // namespace OrderSearchReply

#endif
