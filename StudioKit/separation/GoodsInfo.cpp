#include "separation/GoodsInfo.h"

#include <QJsonValue>

QList<GoodsInfo> g_orderGoodsList;

QString goodsText(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

void readGoodsTexts(GoodsInfo* record, const QJsonObject& object, const QVector<GoodsTextKey>& fields)
{
    for (const GoodsTextKey& text : fields)
        record->*text.field = object.value(text.key).toString();
}

namespace {

// The text fields that setJson fills, by the key of the good object.
const QVector<GoodsTextKey>& goodTexts()
{
    static const QVector<GoodsTextKey> fields = {
        {QLatin1String("isurgent"), &GoodsInfo::isUrgent},
        {QLatin1String("goodid"), &GoodsInfo::goodId},
        {QLatin1String("goodname"), &GoodsInfo::goodName},
        {QLatin1String("goodtypename"), &GoodsInfo::goodTypeName},
        {QLatin1String("goodtypeid"), &GoodsInfo::goodTypeId},
        {QLatin1String("goodsizename"), &GoodsInfo::goodSizeName},
        {QLatin1String("costing"), &GoodsInfo::costing},
        {QLatin1String("weight"), &GoodsInfo::weight},
        {QLatin1String("id"), &GoodsInfo::id},
        {QLatin1String("descr"), &GoodsInfo::descr},
        {QLatin1String("goodpnumber"), &GoodsInfo::goodPNumber},
        {QLatin1String("p_num"), &GoodsInfo::pNum},
        {QLatin1String("goodpagenumber"), &GoodsInfo::goodPageNumber},
        {QLatin1String("goodamount"), &GoodsInfo::goodAmount},
        {QLatin1String("type"), &GoodsInfo::type},
        {QLatin1String("remarks"), &GoodsInfo::remarks},
        {QLatin1String("servicetime"), &GoodsInfo::serviceTime},
        {QLatin1String("auth_remark"), &GoodsInfo::authRemark},
        {QLatin1String("goodremark"), &GoodsInfo::goodRemark},
        {QLatin1String("number"), &GoodsInfo::number},
        {QLatin1String("parentid"), &GoodsInfo::parentId},
        {QLatin1String("stock"), &GoodsInfo::stock},
        {QLatin1String("factoryname"), &GoodsInfo::expressFactoryName},
        {QLatin1String("factorykeyx"), &GoodsInfo::factoryKeyx},
        {QLatin1String("source_remarks"), &GoodsInfo::sourceRemarks},
    };
    return fields;
}

// The text fields of the delivery address ("orderaddress").
const QVector<GoodsTextKey>& addressTexts()
{
    static const QVector<GoodsTextKey> fields = {
        {QLatin1String("id"), &GoodsInfo::addressId},
        {QLatin1String("province"), &GoodsInfo::province},
        {QLatin1String("provinceid"), &GoodsInfo::provinceId},
        {QLatin1String("city"), &GoodsInfo::city},
        {QLatin1String("cityid"), &GoodsInfo::cityId},
        {QLatin1String("county"), &GoodsInfo::county},
        {QLatin1String("countyid"), &GoodsInfo::countyId},
        {QLatin1String("address"), &GoodsInfo::address},
        {QLatin1String("name"), &GoodsInfo::receiverName},
        {QLatin1String("phone"), &GoodsInfo::receiverPhone},
        {QLatin1String("postcode"), &GoodsInfo::postcode},
    };
    return fields;
}

} // namespace

void GoodsInfo::setJson(QJsonObject good)
{
    readGoodsTexts(this, good, goodTexts());
    if (goodTypeName.isEmpty())
        goodTypeName = goodsText(good, "goodtype");
    const QString picPath = goodsText(good, "picpath");
    if (!picPath.isEmpty())
        photoNames = picPath.split(QLatin1Char('|'));
    isExist = goodsText(good, "isexist") == QLatin1String("1");
    isEms = goodsText(good, "isems") == QLatin1String("1");
    isChild = !parentId.isEmpty() && parentId != QLatin1String("0");
    readGoodsTexts(this, good.value(QLatin1String("orderaddress")).toObject(), addressTexts());
}
