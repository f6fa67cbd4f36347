#include "Routes.h"
#include "StudioService.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
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

QString text(const QJsonObject& order, const char* key)
{
    return order.value(QLatin1String(key)).toString();
}

// The picture information of a demo order: the service's own production
// sheet and the marks drawn on the finished photo A.jpg.
QJsonObject orderPicture(const QJsonObject& order)
{
    const QString key = text(order, "orderpayforkey");
    const QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>明细制作单</title></head><body>"
                                        "<h2>明细制作单 %1</h2><p>客人：%2 %3 套系：%4</p>"
                                        "<p>调修要求：A.jpg 瘦脸、去痘</p></body></html>")
                             .arg(key, text(order, "wname"), text(order, "mname"), text(order, "comboname"));
    const QJsonArray marks{QJsonObject{{QStringLiteral("picname"), QStringLiteral("A.jpg")},
                                       {QStringLiteral("descr"), QStringLiteral("瘦脸、去痘")},
                                       {QStringLiteral("picx"), QStringLiteral("100")},
                                       {QStringLiteral("picy"), QStringLiteral("80")},
                                       {QStringLiteral("picwidth"), QStringLiteral("300")},
                                       {QStringLiteral("picheight"), QStringLiteral("200")},
                                       {QStringLiteral("pictype"), QStringLiteral("1")}}};
    return {{QStringLiteral("html"), html}, {QStringLiteral("orderpicdescr"), marks}};
}

// The order detail of a demo order, with the keys the production sheet reads.
QJsonObject orderDetail(const QJsonObject& order)
{
    const QJsonObject area{{QStringLiteral("timeTxt"), QStringLiteral("14:00")}};
    QJsonObject detail{
        {QStringLiteral("shopname"), text(order, "storesname")},
        {QStringLiteral("bname"), text(order, "bname")},
        {QStringLiteral("bsex"), QString()},
        {QStringLiteral("birthdate"), QString()},
        {QStringLiteral("mname"), text(order, "mname")},
        {QStringLiteral("mphone"), text(order, "mphone")},
        {QStringLiteral("wname"), text(order, "wname")},
        {QStringLiteral("wphone"), text(order, "wphone")},
        {QStringLiteral("mssid"), text(order, "storesname")},
        {QStringLiteral("servershopid"), text(order, "storesname")},
        {QStringLiteral("booktime"), text(order, "bookdate")},
        {QStringLiteral("selectphoto"), text(order, "selectphotoname")},
        {QStringLiteral("yx_number"), QStringLiteral("3")},
        {QStringLiteral("twosales"), text(order, "twosales")},
        {QStringLiteral("dept"), text(order, "debt")},
        {QStringLiteral("pay_type"), QStringLiteral("微信")},
        {QStringLiteral("count"), QStringLiteral("3")},
        {QStringLiteral("provinceid"), QJsonObject{{QStringLiteral("areaname"), QStringLiteral("浙江省")}}},
        {QStringLiteral("cityid"), QJsonObject{{QStringLiteral("areaname"), QStringLiteral("杭州市")}}},
        {QStringLiteral("countyid"), QJsonObject{{QStringLiteral("areaname"), QStringLiteral("西湖区")}}},
        {QStringLiteral("address"), QStringLiteral("文三路1号")},
        {QStringLiteral("s2_name"), text(order, "comboname")},
        {QStringLiteral("tiaose"), text(order, "tiaosename")},
        {QStringLiteral("sheji"), text(order, "sheji")},
        {QStringLiteral("tiaoxiu"), text(order, "tiaoxiname")},
        {QStringLiteral("order_price"), text(order, "order_price")},
        {QStringLiteral("role1"), text(order, "role1")},
        {QStringLiteral("role2"), text(order, "role2")},
        {QStringLiteral("photodate"), text(order, "shotdate")},
        {QStringLiteral("selectphotodate"), text(order, "selectphotodate")},
        {QStringLiteral("samplestarttime"), QStringLiteral("15")},
        {QStringLiteral("samplestartmin"), QStringLiteral("30")},
        {QStringLiteral("getphotodate_html"), text(order, "pickuptime")},
        {QStringLiteral("getphotoarea"), area},
        {QStringLiteral("isurgenttime"), text(order, "isurgenttime")},
        {QStringLiteral("kanjinxiuarea"), QJsonObject{{QStringLiteral("timeTxt"), QStringLiteral(":00")}}},
        {QStringLiteral("kanbanarea"), area},
        {QStringLiteral("recipients"), text(order, "wname")},
        {QStringLiteral("sj_tel"), text(order, "mphone")},
        {QStringLiteral("orderdescr"), QStringLiteral("整体偏暖\r\n背景干净")},
        {QStringLiteral("consumption_statement"), QStringLiteral("加选 2 张")},
        {QStringLiteral("shopdisclaimer"), QStringLiteral("成品请于取件日起 30 日内领取。")},
        {QStringLiteral("vipphotonumber"), QStringLiteral("30")},
        {QStringLiteral("phototype"), text(order, "phototype")},
    };
    const QJsonArray marks{
        QJsonObject{{QStringLiteral("picname"), QStringLiteral("A.jpg")},
                    {QStringLiteral("mark"), QJsonArray{QStringLiteral("1-0-1-0-瘦脸"), QStringLiteral("1-0-2-0-去痘")}}},
        QJsonObject{{QStringLiteral("picname"), QStringLiteral("B.jpg")}, {QStringLiteral("mark"), QJsonArray()}}};
    const QJsonArray serviceTimes{QJsonObject{{QStringLiteral("goods"), QJsonArray()},
                                              {QStringLiteral("urgentgoods"), QJsonArray()},
                                              {QStringLiteral("order_sample_infoservicetimes"), QStringLiteral("1")},
                                              {QStringLiteral("role12name"), text(order, "selectphotoname")}}};
    return {{QStringLiteral("order"), detail},
            {QStringLiteral("servicetime"), serviceTimes},
            {QStringLiteral("orderpicdescr"), marks},
            {QStringLiteral("count_order_sample_infoservicetimes"), QStringLiteral("1")}};
}

} // namespace

QByteArray demoBarCode(const QString& orderPhotoId)
{
    // Bars from the id's digits: each order gets its own picture.
    QImage image(240, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QByteArray digits = orderPhotoId.toLatin1();
    for (int x = 10; x < 230; ++x) {
        const int digit = digits.isEmpty() ? 0 : digits.at((x / 7) % digits.size()) - '0';
        if ((x / 2 + digit) % 3 == 0) {
            for (int y = 5; y < 55; ++y)
                image.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// The design separation of a demo order: its products (ordergoods20230521;
// every demo order gets the goods of ordergoods.json, with the order's own
// dates), its bar code (a GET of getbarcodegen), its picture information
// (getorderpic) and its detail (orderdetail).
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
        products.insert(QStringLiteral("role12name"), order.value(QStringLiteral("selectphotoname")));
        products.insert(QStringLiteral("ordergoods0"), goods.value(QStringLiteral("ordergoods0")));
        products.insert(QStringLiteral("ordergoods2"), goods.value(QStringLiteral("ordergoods2")));
        // The customer block of the courier sheet.
        QJsonObject customer;
        for (const char* key : {"orderpayforkey", "wname", "mname", "wphone", "mphone"})
            customer.insert(QLatin1String(key), order.value(QLatin1String(key)));
        return Response::success({{QStringLiteral("shop_set"), goods.value(QStringLiteral("shop_set"))},
                                  {QStringLiteral("order"), products},
                                  {QStringLiteral("order_info"), customer}});
    });
    service.setHandler(QStringLiteral("order/getbarcodegen"), [&service](const RecordedRequest& request) {
        const QString id = request.queryValue(QStringLiteral("order_photo_id"));
        if (request.method != "GET" || demoOrder(service, id).isEmpty())
            return Response::httpError(404);
        return Response::raw(demoBarCode(id), "image/jpeg");
    });
    service.setHandler(QStringLiteral("order/getorderpic"), [&service](const RecordedRequest& request) {
        const QJsonObject order = demoOrder(service, request.value(QStringLiteral("order_photo_id")));
        if (order.isEmpty())
            return Response::failure(QStringLiteral("订单不存在"));
        return Response::success(orderPicture(order));
    });
    service.setHandler(QStringLiteral("order/orderdetail"), [&service](const RecordedRequest& request) {
        const QJsonObject order = demoOrder(service, request.value(QStringLiteral("order_photo_id")));
        if (order.isEmpty())
            return Response::failure(QStringLiteral("订单不存在"));
        return Response::success(orderDetail(order));
    });
}
