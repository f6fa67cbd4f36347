#include "Routes.h"
#include "StudioService.h"

#include <QJsonArray>

namespace {

const QString kAccessToken = QStringLiteral("5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8");
// The Lyra path report has a token of its own.
const QString kLyraToken = QStringLiteral("9e4a7c2f0b8d3e61a5c9f2d07b4e8a13");

} // namespace

bool updateOrder(StudioService& service, const QString& id, const std::function<void(QJsonObject&)>& change)
{
    QJsonArray orders = service.demo().value(QStringLiteral("orders")).toArray();
    for (int i = 0; i < orders.size(); ++i) {
        QJsonObject order = orders.at(i).toObject();
        if (order.value(QStringLiteral("order_photo_id")).toString() != id)
            continue;
        change(order);
        orders.replace(i, order);
        service.demo().insert(QStringLiteral("orders"), orders);
        return true;
    }
    return false;
}

// The import tool's reports: an order's folders and counts ("updatepicpath"),
// its video list for the selection side ("updatevideo") and its Lyra folder
// ("savelyrapath"). The folders are kept in the demo orders, so a later
// order list delivers them.
void registerReportRoutes(StudioService& service)
{
    service.setHandler(QStringLiteral("order/updatepicpath"), [&service](const RecordedRequest& request) {
        if (request.value(QStringLiteral("token")) != kAccessToken)
            return Response::failure(QStringLiteral("token错误"));
        const QString id = request.value(QStringLiteral("order_photo_id"));
        const bool known = updateOrder(service, id, [&request](QJsonObject& order) {
            order.insert(QStringLiteral("orderpath"), request.value(QStringLiteral("orderpicpath")));
            order.insert(QStringLiteral("orderbakpicpath"), request.value(QStringLiteral("orderbakpicpath")));
        });
        if (!known)
            return Response::failure(QStringLiteral("订单不存在"));
        return Response::success({{QStringLiteral("message"), QStringLiteral("更新成功")}});
    });

    service.setHandler(QStringLiteral("order/updatevideo"), [](const RecordedRequest& request) {
        if (request.value(QStringLiteral("token")) != kAccessToken)
            return Response::failure(QStringLiteral("token错误"));
        const QString files = request.value(QStringLiteral("videofiles"));
        const int count = files.isEmpty() ? 0 : files.split(QLatin1Char('|')).size();
        return Response::success(
            {{QStringLiteral("message"), QStringLiteral("选片系统视频列表已更新，共%1个视频").arg(count)}});
    });

    service.setHandler(QStringLiteral("order/savelyrapath"), [&service](const RecordedRequest& request) {
        if (request.value(QStringLiteral("token")) != kLyraToken)
            return Response::failure(QStringLiteral("token错误"));
        const QString id = request.value(QStringLiteral("orderphotoid"));
        const bool known = updateOrder(service, id, [&request](QJsonObject& order) {
            order.insert(QStringLiteral("lyrapath"), request.value(QStringLiteral("lyrapath")));
        });
        if (!known)
            return Response::failure(QStringLiteral("订单不存在"));
        return Response::success({{QStringLiteral("message"), QStringLiteral("保存成功")}});
    });
}
