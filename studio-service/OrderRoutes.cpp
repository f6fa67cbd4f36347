#include "Routes.h"
#include "StudioService.h"

#include <QJsonArray>

namespace {

// The element keys a search type looks at, and whether the keyword must
// start the value (dates) or may stand anywhere in it.
struct SearchField {
    QStringList keys;
    bool prefix;
};

bool searchField(const QString& searchType, SearchField* field)
{
    static const QHash<QString, SearchField> fields = {
        {QStringLiteral("1"), {{QStringLiteral("orderpayforkey")}, false}},
        {QStringLiteral("2"), {{QStringLiteral("bname"), QStringLiteral("wname"), QStringLiteral("mname")}, false}},
        {QStringLiteral("3"),
         {{QStringLiteral("momtel"), QStringLiteral("dadtel"), QStringLiteral("mphone"), QStringLiteral("wphone")},
          false}},
        {QStringLiteral("4"), {{QStringLiteral("shotdate")}, true}},
        {QStringLiteral("5"), {{QStringLiteral("selectdate")}, true}},
        {QStringLiteral("6"), {{QStringLiteral("bookdate")}, true}},
        {QStringLiteral("7"), {{QStringLiteral("shipdate")}, true}},
        {QStringLiteral("8"), {{QStringLiteral("selectdonedate")}, true}},
        {QStringLiteral("9"), {{QStringLiteral("gotodigitaltime")}, true}},
        {QStringLiteral("10"), {{QStringLiteral("pickupdonedate")}, true}},
        {QStringLiteral("11"), {{QStringLiteral("qcarrangedate")}, true}},
        {QStringLiteral("12"), {{QStringLiteral("todesigntime")}, true}},
        {QStringLiteral("13"), {{QStringLiteral("todigitaldate")}, true}},
        {QStringLiteral("14"), {{QStringLiteral("designassigndate")}, true}},
    };
    if (!fields.contains(searchType))
        return false;
    *field = fields.value(searchType);
    return true;
}

bool matches(const QJsonObject& order, const SearchField& field, const QString& keyword)
{
    for (const QString& key : field.keys) {
        const QString value = order.value(key).toString();
        if (field.prefix ? value.startsWith(keyword) : value.contains(keyword, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// "storesids" narrows the search to those stores when it names any; the
// import picker sends none.
bool inStores(const QJsonObject& order, const QString& storesIds)
{
    if (storesIds.isEmpty())
        return true;
    return storesIds.split(QLatin1Char(',')).contains(order.value(QStringLiteral("storesid")).toString());
}

} // namespace

// order_list for the order search windows and the import tool's order
// picker, and the selection check order_isrole12finish, against the demo
// orders. An empty keyword matches every order of its search type.
void registerOrderRoutes(StudioService& service)
{
    service.setHandler(QStringLiteral("order/order_list"), [&service](const RecordedRequest& request) {
        if (isDispatchOrderList(request))
            return dispatchOrderList(service, request);
        SearchField field;
        if (!searchField(request.value(QStringLiteral("searchtype")), &field))
            return Response::failure(QStringLiteral("检索方式不正确"));
        const QString keyword = request.value(QStringLiteral("keyword"));
        const QString storesIds = request.value(QStringLiteral("storesids"));
        QJsonArray found;
        for (const QJsonValue& order : service.demo().value(QStringLiteral("orders")).toArray()) {
            if (matches(order.toObject(), field, keyword) && inStores(order.toObject(), storesIds))
                found << order;
        }
        return Response::success({{QStringLiteral("data"), found}});
    });

    service.setHandler(QStringLiteral("OrderPhoto/order_isrole12finish"), [&service](const RecordedRequest& request) {
        const QString id = request.value(QStringLiteral("order_photo_id"));
        for (const QJsonValue& value : service.demo().value(QStringLiteral("orders")).toArray()) {
            const QJsonObject order = value.toObject();
            if (order.value(QStringLiteral("order_photo_id")).toString() == id)
                return Response::success(
                    {{QStringLiteral("isrole12finish"), order.value(QStringLiteral("isrole12finish")).toInt()}});
        }
        return Response::failure(QStringLiteral("订单不存在"));
    });
}
