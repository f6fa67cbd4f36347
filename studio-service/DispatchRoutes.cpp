#include "Routes.h"
#include "StudioService.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

QString now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

bool hasPair(const RecordedRequest& request, const QString& key)
{
    for (const auto& pair : request.pairs) {
        if (pair.first == key)
            return true;
    }
    return false;
}

// Index of the demo order whose `key` holds `value`, -1 when there is none.
int findOrder(const QJsonArray& orders, const QString& key, const QString& value)
{
    for (int i = 0; i < orders.size(); ++i) {
        if (orders.at(i).toObject().value(key).toString() == value)
            return i;
    }
    return -1;
}

QString staffName(StudioService& service, const QString& eid)
{
    for (const QJsonValue& user : service.demo().value(QStringLiteral("users")).toArray()) {
        if (user.toObject().value(QStringLiteral("EID")).toString() == eid)
            return user.toObject().value(QStringLiteral("USERNAME")).toString();
    }
    return eid;
}

// The registration's view of an order: its names under their own keys.
QJsonObject registeredOrder(const QJsonObject& order)
{
    QJsonObject reply;
    for (const char* key : {"orderpayforkey", "servicetimes", "gotodigitalname", "gotodigitaltime", "selectphotodate",
                            "selectphototime", "selectphotoname", "getphotodate", "urgentdate", "tiaoxiname",
                            "tiaosename"})
        reply.insert(QLatin1String(key), order.value(QLatin1String(key)).toString());
    reply.insert(QStringLiteral("babyname"), order.value(QStringLiteral("bname")).toString());
    reply.insert(QStringLiteral("momname"), order.value(QStringLiteral("wname")).toString());
    reply.insert(QStringLiteral("dadname"), order.value(QStringLiteral("mname")).toString());
    return reply;
}

QJsonObject dispatchData(StudioService& service)
{
    return service.demo().value(QStringLiteral("dispatch")).toObject();
}

// The keys that a dispatch search type looks at, the body key of its keyword,
// and whether the keyword must start the value (dates).
struct DispatchSearch {
    QString bodyKey;
    QStringList keys;
    bool prefix;
};

bool dispatchSearch(const QString& type, DispatchSearch* search)
{
    static const QHash<QString, DispatchSearch> searches = {
        {QStringLiteral("1"), {QStringLiteral("orderpayforkey"), {QStringLiteral("orderpayforkey")}, false}},
        {QStringLiteral("2"), {QStringLiteral("photodate"), {QStringLiteral("shotdate")}, true}},
        {QStringLiteral("3"), {QStringLiteral("selectphotodate"), {QStringLiteral("sampledate")}, true}},
        {QStringLiteral("4"), {QStringLiteral("selectphotodate"), {QStringLiteral("bookdate")}, true}},
        {QStringLiteral("5"), {QStringLiteral("selectphotodate"), {QStringLiteral("shipdate")}, true}},
        {QStringLiteral("6"),
         {QStringLiteral("orderpayforkey"), {QStringLiteral("bname"), QStringLiteral("wname"), QStringLiteral("mname")}, false}},
        {QStringLiteral("7"), {QStringLiteral("orderpayforkey"), {QStringLiteral("momtel"), QStringLiteral("dadtel")}, false}},
    };
    if (!searches.contains(type))
        return false;
    *search = searches.value(type);
    return true;
}

} // namespace

// The dispatch window's order search: "type" in place of "searchtype", the
// orders under "order" with the print shops and factories beside them.
Response dispatchOrderList(StudioService& service, const RecordedRequest& request)
{
    DispatchSearch search;
    if (!dispatchSearch(request.value(QStringLiteral("type")), &search))
        return Response::failure(QStringLiteral("检索方式不正确"));
    const QString keyword = request.value(search.bodyKey);
    QJsonArray found;
    for (const QJsonValue& value : service.demo().value(QStringLiteral("orders")).toArray()) {
        const QJsonObject order = value.toObject();
        for (const QString& key : search.keys) {
            const QString field = order.value(key).toString();
            if (search.prefix ? field.startsWith(keyword) : field.contains(keyword, Qt::CaseInsensitive)) {
                found << order;
                break;
            }
        }
    }
    const QJsonObject data = dispatchData(service);
    return Response::success({{QStringLiteral("order"), found},
                              {QStringLiteral("printshops"), data.value(QStringLiteral("printshops"))},
                              {QStringLiteral("factorys"), data.value(QStringLiteral("factorys"))}});
}

bool isDispatchOrderList(const RecordedRequest& request)
{
    return hasPair(request, QStringLiteral("type")) && !hasPair(request, QStringLiteral("searchtype"));
}

// Upload registration and dispatch: the 上件 step of an order, one order by its
// id, an order's goods and their dispatch to print shops and factories.
void registerDispatchRoutes(StudioService& service)
{
    service.setHandler(QStringLiteral("order/gotodigitalid_post"), [&service](const RecordedRequest& request) {
        QJsonArray orders = service.demo().value(QStringLiteral("orders")).toArray();
        const int index = findOrder(orders, QStringLiteral("order_photo_id"), request.value(QStringLiteral("order_photo_id")));
        if (index < 0)
            return Response::failure(QStringLiteral("订单不存在"));
        QJsonObject order = orders.at(index).toObject();
        if (order.value(QStringLiteral("shangjian")).toBool())
            return Response::json({{QStringLiteral("code"), QStringLiteral("1002")},
                                   {QStringLiteral("message"), QStringLiteral("该订单已上件")},
                                   {QStringLiteral("order"), registeredOrder(order)}});
        order.insert(QStringLiteral("shangjian"), true);
        order.insert(QStringLiteral("gotodigitalname"), staffName(service, request.value(QStringLiteral("eid"))));
        order.insert(QStringLiteral("gotodigitaltime"), now());
        orders.replace(index, order);
        service.demo().insert(QStringLiteral("orders"), orders);
        return Response::success({{QStringLiteral("message"), QStringLiteral("上件成功")},
                                  {QStringLiteral("order"), registeredOrder(order)}});
    });

    service.setHandler(QStringLiteral("order/getorderbyid"), [&service](const RecordedRequest& request) {
        const QJsonArray orders = service.demo().value(QStringLiteral("orders")).toArray();
        const int index = findOrder(orders, QStringLiteral("orderid"), request.value(QStringLiteral("orderid")));
        if (index < 0)
            return Response::failure(QStringLiteral("订单不存在"));
        const QJsonObject data = dispatchData(service);
        return Response::success({{QStringLiteral("order"), orders.at(index)},
                                  {QStringLiteral("printshops"), data.value(QStringLiteral("printshops"))},
                                  {QStringLiteral("factorys"), data.value(QStringLiteral("factorys"))}});
    });

    service.setHandler(QStringLiteral("order/ordergoods"), [&service](const RecordedRequest& request) {
        const QString orderId = request.value(QStringLiteral("orderid"));
        if (findOrder(service.demo().value(QStringLiteral("orders")).toArray(), QStringLiteral("orderid"), orderId) < 0)
            return Response::failure(QStringLiteral("订单不存在"));
        const QJsonObject goods =
            dispatchData(service).value(QStringLiteral("ordergoods")).toObject().value(orderId).toObject();
        return Response::success({{QStringLiteral("order"),
                                   QJsonObject{{QStringLiteral("ordergoods0"), goods.value(QStringLiteral("ordergoods0")).toArray()},
                                               {QStringLiteral("ordergoods2"), goods.value(QStringLiteral("ordergoods2")).toArray()}}}});
    });

    // Keeps each line's choice and, for a chosen print shop or factory, the time sent.
    service.setHandler(QStringLiteral("order/sendtoshop"), [&service](const RecordedRequest& request) {
        QJsonObject data = dispatchData(service);
        const QString orderId = request.value(QStringLiteral("orderid"));
        QJsonObject allGoods = data.value(QStringLiteral("ordergoods")).toObject();
        QJsonObject goods = allGoods.value(orderId).toObject();
        const QJsonDocument sent = QJsonDocument::fromJson(request.value(QStringLiteral("sendgoodsinfo")).toUtf8());
        if (!sent.isArray())
            return Response::failure(QStringLiteral("发件信息不正确"));
        const auto nameOf = [&data](const char* list, const QString& id) {
            for (const QJsonValue& entry : data.value(QLatin1String(list)).toArray()) {
                if (entry.toObject().value(QStringLiteral("id")).toString() == id)
                    return entry.toObject().value(QStringLiteral("name")).toString();
            }
            return QString();
        };
        for (const QJsonValue& choice : sent.array()) {
            const QJsonObject line = choice.toObject();
            const QString printShop = line.value(QStringLiteral("printshopid")).toString();
            const QString factory = line.value(QStringLiteral("factoryid")).toString();
            for (const char* list : {"ordergoods0", "ordergoods2"}) {
                QJsonArray lines = goods.value(QLatin1String(list)).toArray();
                for (int i = 0; i < lines.size(); ++i) {
                    QJsonObject goodsLine = lines.at(i).toObject();
                    if (goodsLine.value(QStringLiteral("id")).toString() != line.value(QStringLiteral("ordergoodid")).toString())
                        continue;
                    goodsLine.insert(QStringLiteral("printshopname"), nameOf("printshops", printShop));
                    goodsLine.insert(QStringLiteral("factoryname"), nameOf("factorys", factory));
                    goodsLine.insert(QStringLiteral("sendToPrintshopTime2"), printShop == QLatin1String("0") ? QString() : now());
                    goodsLine.insert(QStringLiteral("sendToFactoryTime2"), factory == QLatin1String("0") ? QString() : now());
                    lines.replace(i, goodsLine);
                }
                goods.insert(QLatin1String(list), lines);
            }
        }
        allGoods.insert(orderId, goods);
        data.insert(QStringLiteral("ordergoods"), allGoods);
        service.demo().insert(QStringLiteral("dispatch"), data);
        return Response::success({{QStringLiteral("message"), QStringLiteral("发件成功")}});
    });
}
