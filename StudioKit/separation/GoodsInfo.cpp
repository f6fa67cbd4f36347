#include "separation/GoodsInfo.h"

#include <QLatin1String>

QList<GoodsInfo> g_orderGoodsList;

QString goodsText(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

void GoodsInfo::setJson(QJsonObject good)
{
    const auto text = [&good](const char* key) { return goodsText(good, key); };

    isUrgent = text("isurgent");
    goodId = text("goodid");
    goodName = text("goodname");
    goodTypeName = text("goodtypename");
    if (goodTypeName.isEmpty())
        goodTypeName = text("goodtype");
    goodTypeId = text("goodtypeid");
    goodSizeName = text("goodsizename");
    costing = text("costing");
    weight = text("weight");
    id = text("id");
    descr = text("descr");
    goodPNumber = text("goodpnumber");
    pNum = text("p_num");
    goodPageNumber = text("goodpagenumber");
    goodAmount = text("goodamount");
    const QString picPath = text("picpath");
    if (!picPath.isEmpty())
        photoNames = picPath.split(QLatin1Char('|'));
    type = text("type");
    remarks = text("remarks");
    serviceTime = text("servicetime");
    authRemark = text("auth_remark");
    goodRemark = text("goodremark");
    isExist = text("isexist") == QLatin1String("1");
    number = text("number");
    parentId = text("parentid");
    isChild = !parentId.isEmpty() && parentId != QLatin1String("0");
    stock = text("stock");
    expressFactoryName = text("factoryname");
    factoryKeyx = text("factorykeyx");
    isEms = text("isems") == QLatin1String("1");
    sourceRemarks = text("source_remarks");

    const QJsonObject place = good.value(QLatin1String("orderaddress")).toObject();
    addressId = goodsText(place, "id");
    province = goodsText(place, "province");
    provinceId = goodsText(place, "provinceid");
    city = goodsText(place, "city");
    cityId = goodsText(place, "cityid");
    county = goodsText(place, "county");
    countyId = goodsText(place, "countyid");
    address = goodsText(place, "address");
    receiverName = goodsText(place, "name");
    receiverPhone = goodsText(place, "phone");
    postcode = goodsText(place, "postcode");
}
