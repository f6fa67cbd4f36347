#include "Routes.h"
#include "StudioService.h"

#include <QJsonArray>

namespace {

const QString kAccessToken = QStringLiteral("5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8");

// The demo order with the id, or an empty object.
QJsonObject findOrder(StudioService& service, const QString& id)
{
    for (const QJsonValue& value : service.demo().value(QStringLiteral("orders")).toArray()) {
        if (value.toObject().value(QStringLiteral("order_photo_id")).toString() == id)
            return value.toObject();
    }
    return {};
}

} // namespace

// The single-order import window: an order's folders ("get_order_path"), the
// shop's roots ("get_order_pic_path"), a new shot date ("updatephotodate")
// and the folders when an import starts ("updatepicpath2"; the finish report
// "updatepicpath" is the batch's route).
void registerSingleImportRoutes(StudioService& service)
{
    service.setHandler(QStringLiteral("order/get_order_path"), [&service](const RecordedRequest& request) {
        if (request.value(QStringLiteral("token")) != kAccessToken)
            return Response::failure(QStringLiteral("token错误"));
        const QJsonObject order = findOrder(service, request.value(QStringLiteral("order_photo_id")));
        if (order.isEmpty())
            return Response::failure(QStringLiteral("订单不存在"));
        return Response::success({{QStringLiteral("data"),
                                   QJsonObject{{QStringLiteral("orderpath"), order.value(QStringLiteral("orderpath"))},
                                               {QStringLiteral("orderbakpicpath"),
                                                order.value(QStringLiteral("orderbakpicpath"))}}}});
    });

    service.setHandler(QStringLiteral("order/get_order_pic_path"), [&service](const RecordedRequest& request) {
        if (request.value(QStringLiteral("token")) != kAccessToken)
            return Response::failure(QStringLiteral("token错误"));
        const QJsonObject shop =
            service.demo().value(QStringLiteral("shops")).toObject().value(request.value(QStringLiteral("shopid"))).toObject();
        if (shop.isEmpty())
            return Response::failure(QStringLiteral("店铺不存在"));
        QJsonObject roots;
        for (const QString& key : {QStringLiteral("picpath"), QStringLiteral("bakpicpath"), QStringLiteral("homepicpath")})
            roots.insert(key, shop.value(key));
        return Response::success(roots);
    });

    service.setHandler(QStringLiteral("order/updatephotodate"), [&service](const RecordedRequest& request) {
        if (request.value(QStringLiteral("token")) != kAccessToken)
            return Response::failure(QStringLiteral("token错误"));
        const QString date = request.value(QStringLiteral("photodate"));
        const bool known = updateOrder(service, request.value(QStringLiteral("orderid")),
                                       [&date](QJsonObject& order) { order.insert(QStringLiteral("shotdate"), date); });
        if (!known)
            return Response::failure(QStringLiteral("订单不存在"));
        return Response::success({{QStringLiteral("message"), QStringLiteral("修改成功")}});
    });

    service.setHandler(QStringLiteral("order/updatepicpath2"), [&service](const RecordedRequest& request) {
        if (request.value(QStringLiteral("token")) != kAccessToken)
            return Response::failure(QStringLiteral("token错误"));
        const bool known = updateOrder(service, request.value(QStringLiteral("orderid")), [&request](QJsonObject& order) {
            order.insert(QStringLiteral("orderpath"), request.value(QStringLiteral("orderpicpath")));
            order.insert(QStringLiteral("orderbakpicpath"), request.value(QStringLiteral("orderbakpicpath")));
        });
        if (!known)
            return Response::failure(QStringLiteral("订单不存在"));
        return Response::success({{QStringLiteral("message"), QStringLiteral("更新成功")}});
    });
}
