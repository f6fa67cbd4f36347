#include "Routes.h"
#include "StudioService.h"

#include <QJsonArray>

// dologin, switch_shop and check_update against the demo accounts and shops.
void registerLoginRoutes(StudioService& service)
{
    service.setHandler(QStringLiteral("public/dologin"), [&service](const RecordedRequest& request) {
        const QJsonArray users = service.demo().value(QStringLiteral("users")).toArray();
        for (const QJsonValue& value : users) {
            QJsonObject user = value.toObject();
            if (user.value(QStringLiteral("username")).toString() == request.value(QStringLiteral("username"))
                && user.value(QStringLiteral("password")).toString() == request.value(QStringLiteral("password"))) {
                user.remove(QStringLiteral("username"));
                user.remove(QStringLiteral("password"));
                return Response::success(user);
            }
        }
        return Response::failure(QStringLiteral("用户名或密码错误"));
    });

    service.setHandler(QStringLiteral("public/switch_shop"), [&service](const RecordedRequest& request) {
        const QJsonObject shops = service.demo().value(QStringLiteral("shops")).toObject();
        const QString shopId = request.value(QStringLiteral("shopid"));
        if (!shops.contains(shopId))
            return Response::failure(QStringLiteral("店铺不存在"));
        return Response::success(shops.value(shopId).toObject());
    });

    service.setHandler(QStringLiteral("Version/check_update"), [&service](const RecordedRequest&) {
        const QJsonObject update = service.demo().value(QStringLiteral("update")).toObject();
        if (update.isEmpty())
            return Response::json({{QStringLiteral("code"), QStringLiteral("0")},
                                   {QStringLiteral("message"), QStringLiteral("已是最新版本")}});
        return Response::success({{QStringLiteral("data"), update}});
    });
}
