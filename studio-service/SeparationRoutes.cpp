#include "Routes.h"
#include "StudioService.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonObject demoOrder(StudioService& service, const QString& id)
{
    for (const QJsonValue& value : service.demo().value(QStringLiteral("orders")).toArray()) {
        if (value.toObject().value(QStringLiteral("order_photo_id")).toString() == id)
            return value.toObject();
    }
    return {};
}

QJsonObject goodsTemplate()
{
    QFile file(QStringLiteral(":/studio-service/ordergoods.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

// The products of a demo order (ordergoods20230521) for the design
// separation: every demo order gets the goods of ordergoods.json, with the
// order's own dates.
void registerSeparationRoutes(StudioService& service)
{
    service.setHandler(QStringLiteral("order/ordergoods20230521"), [&service](const RecordedRequest& request) {
        const QJsonObject order = demoOrder(service, request.value(QStringLiteral("order_photo_id")));
        if (order.isEmpty())
            return Response::failure(QStringLiteral("订单不存在"));
        const QJsonObject goods = goodsTemplate();
        QJsonObject products;
        for (const char* key : {"order_photo_id", "orderpayforkey", "servicetimes", "pickuptime", "isurgenttime"})
            products.insert(QLatin1String(key), order.value(QLatin1String(key)));
        products.insert(QStringLiteral("ordergoods0"), goods.value(QStringLiteral("ordergoods0")));
        products.insert(QStringLiteral("ordergoods2"), goods.value(QStringLiteral("ordergoods2")));
        return Response::success({{QStringLiteral("shop_set"), goods.value(QStringLiteral("shop_set"))},
                                  {QStringLiteral("order"), products}});
    });
}
