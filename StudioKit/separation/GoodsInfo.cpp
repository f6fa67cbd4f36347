#include "separation/GoodsInfo.h"

#include <QHash>
#include <QJsonValue>
#include <QLatin1String>

QList<GoodsInfo> g_orderGoodsList;

QString goodsText(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

void readGoodsTexts(GoodsInfo* record, const QJsonObject& object, const QHash<QString, GoodsTextField>& fields,
                    const std::function<void(const QString& key, const QJsonValue& value)>& other)
{
    for (const GoodsTextField field : fields)
        record->*field = QString();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        const QString key = it.key();
        const auto field = fields.constFind(key);
        if (field != fields.constEnd())
            record->*field.value() = it.value().toString();
        else if (other)
            other(key, it.value());
    }
}

namespace {

// The text fields that setJson fills, by the key of the good object.
const QHash<QString, GoodsTextField>& goodTexts()
{
    static const QHash<QString, GoodsTextField> fields = {
        {QStringLiteral("isurgent"), &GoodsInfo::isUrgent},
        {QStringLiteral("goodid"), &GoodsInfo::goodId},
        {QStringLiteral("goodname"), &GoodsInfo::goodName},
        {QStringLiteral("goodtypename"), &GoodsInfo::goodTypeName},
        {QStringLiteral("goodtypeid"), &GoodsInfo::goodTypeId},
        {QStringLiteral("goodsizename"), &GoodsInfo::goodSizeName},
        {QStringLiteral("costing"), &GoodsInfo::costing},
        {QStringLiteral("weight"), &GoodsInfo::weight},
        {QStringLiteral("id"), &GoodsInfo::id},
        {QStringLiteral("descr"), &GoodsInfo::descr},
        {QStringLiteral("goodpnumber"), &GoodsInfo::goodPNumber},
        {QStringLiteral("p_num"), &GoodsInfo::pNum},
        {QStringLiteral("goodpagenumber"), &GoodsInfo::goodPageNumber},
        {QStringLiteral("goodamount"), &GoodsInfo::goodAmount},
        {QStringLiteral("type"), &GoodsInfo::type},
        {QStringLiteral("remarks"), &GoodsInfo::remarks},
        {QStringLiteral("servicetime"), &GoodsInfo::serviceTime},
        {QStringLiteral("auth_remark"), &GoodsInfo::authRemark},
        {QStringLiteral("goodremark"), &GoodsInfo::goodRemark},
        {QStringLiteral("number"), &GoodsInfo::number},
        {QStringLiteral("parentid"), &GoodsInfo::parentId},
        {QStringLiteral("stock"), &GoodsInfo::stock},
        {QStringLiteral("factoryname"), &GoodsInfo::expressFactoryName},
        {QStringLiteral("factorykeyx"), &GoodsInfo::factoryKeyx},
        {QStringLiteral("source_remarks"), &GoodsInfo::sourceRemarks},
    };
    return fields;
}

// The text fields of the delivery address ("orderaddress").
const QHash<QString, GoodsTextField>& addressTexts()
{
    static const QHash<QString, GoodsTextField> fields = {
        {QStringLiteral("id"), &GoodsInfo::addressId},
        {QStringLiteral("province"), &GoodsInfo::province},
        {QStringLiteral("provinceid"), &GoodsInfo::provinceId},
        {QStringLiteral("city"), &GoodsInfo::city},
        {QStringLiteral("cityid"), &GoodsInfo::cityId},
        {QStringLiteral("county"), &GoodsInfo::county},
        {QStringLiteral("countyid"), &GoodsInfo::countyId},
        {QStringLiteral("address"), &GoodsInfo::address},
        {QStringLiteral("name"), &GoodsInfo::receiverName},
        {QStringLiteral("phone"), &GoodsInfo::receiverPhone},
        {QStringLiteral("postcode"), &GoodsInfo::postcode},
    };
    return fields;
}

} // namespace

void GoodsInfo::setJson(QJsonObject good)
{
    QString picPath;
    QString goodType;
    QJsonObject place;
    isExist = false;
    isEms = false;
    readGoodsTexts(this, good, goodTexts(), [&](const QString& key, const QJsonValue& value) {
        if (key == QLatin1String("picpath"))
            picPath = value.toString();
        else if (key == QLatin1String("goodtype"))
            goodType = value.toString();
        else if (key == QLatin1String("isexist"))
            isExist = value.toString() == QLatin1String("1");
        else if (key == QLatin1String("isems"))
            isEms = value.toString() == QLatin1String("1");
        else if (key == QLatin1String("orderaddress"))
            place = value.toObject();
    });
    if (goodTypeName.isEmpty())
        goodTypeName = goodType;
    if (!picPath.isEmpty())
        photoNames = picPath.split(QLatin1Char('|'));
    isChild = !parentId.isEmpty() && parentId != QLatin1String("0");
    readGoodsTexts(this, place, addressTexts());
}
