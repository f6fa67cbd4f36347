#include "separation/CurrentOrder.h"

#include "core/Globals.h"
#include "Platform.h"

#include <QDir>

namespace CurrentOrder {

void take(const OrderItemInfo& order)
{
    g_curOrderPhotoId = order.order_photo_id;
    g_curServiceTimes = order.servicetimes;
    g_curRole1 = order.role1;
    g_curShotDate = order.shotdate;
    g_curPickupTime = order.pickuptime;
    g_curPhotoDate2 = order.photodate2;
    g_curOrderPayForKey = order.orderpayforkey;
    g_curRole2 = order.role2;
    g_curCustomerNames = order.names;
    g_curOrderPath = order.orderpath;
    g_curPhones = order.phones;
    g_curRole10 = order.role10;
    g_curUrgentTime = order.isurgenttime;
    g_curPickupTypeText = order.pickupTypeText;
}

int takeNext(QList<OrderItemInfo>& orders)
{
    for (int row = 0; row < orders.size(); ++row) {
        OrderItemInfo& order = orders[row];
        if (!order.checked || order.processed)
            continue;
        order.processed = true;
        take(order);
        return row;
    }
    return -1;
}

QString serverFolder(const QString& subFolder)
{
    if (g_curOrderPath.isEmpty() || !QDir::isAbsolutePath(Platform::diskPath(g_curOrderPath)))
        return QString();
    return g_curOrderPath + subFolder;
}

} // namespace CurrentOrder
