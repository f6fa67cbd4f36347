#include "Routes.h"
#include "StudioService.h"

#include <QJsonArray>

// The Lyra sync: each shop's stores with their Lyra folders ("getlyraset"),
// and the staff and product lists written into them ("getpersons",
// "getgoods").
void registerLyraRoutes(StudioService& service)
{
    service.setHandler(QStringLiteral("lyra/getlyraset"), [&service](const RecordedRequest& request) {
        const QJsonObject sets = service.demo().value(QStringLiteral("lyrasets")).toObject();
        const QString shopId = request.value(QStringLiteral("shopid"));
        if (!sets.contains(shopId))
            return Response::failure(QStringLiteral("店铺不存在"));
        return Response::success({{QStringLiteral("stores"), sets.value(shopId)}});
    });

    service.setHandler(QStringLiteral("lyra/getpersons"), [&service](const RecordedRequest&) {
        return Response::success({{QStringLiteral("persons"), service.demo().value(QStringLiteral("lyrapersons"))}});
    });

    service.setHandler(QStringLiteral("lyra/getgoods"), [&service](const RecordedRequest&) {
        return Response::success({{QStringLiteral("goods"), service.demo().value(QStringLiteral("lyragoods"))}});
    });
}
