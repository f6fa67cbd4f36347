#include "separation/GoodsInfo.h"

#include <QJsonDocument>
#include <QtTest>

namespace {

using Text = QString GoodsInfo::*;

const QList<QPair<QString, Text>>& texts()
{
    static const QList<QPair<QString, Text>> fields = {
        {"isUrgent", &GoodsInfo::isUrgent}, {"goodId", &GoodsInfo::goodId}, {"goodName", &GoodsInfo::goodName},
        {"displayName", &GoodsInfo::displayName}, {"goodTypeName", &GoodsInfo::goodTypeName},
        {"goodTypeId", &GoodsInfo::goodTypeId}, {"goodSizeName", &GoodsInfo::goodSizeName},
        {"costing", &GoodsInfo::costing}, {"weight", &GoodsInfo::weight}, {"id", &GoodsInfo::id},
        {"getGoodDate", &GoodsInfo::getGoodDate}, {"descr", &GoodsInfo::descr},
        {"goodPNumber", &GoodsInfo::goodPNumber}, {"pNum", &GoodsInfo::pNum},
        {"goodPageNumber", &GoodsInfo::goodPageNumber}, {"goodAmount", &GoodsInfo::goodAmount},
        {"factoryName", &GoodsInfo::factoryName}, {"pickupText", &GoodsInfo::pickupText},
        {"type", &GoodsInfo::type}, {"remarks", &GoodsInfo::remarks}, {"serviceTime", &GoodsInfo::serviceTime},
        {"authRemark", &GoodsInfo::authRemark}, {"goodRemark", &GoodsInfo::goodRemark},
        {"parentGoodName", &GoodsInfo::parentGoodName}, {"number", &GoodsInfo::number},
        {"parentId", &GoodsInfo::parentId}, {"stock", &GoodsInfo::stock},
        {"expressFactoryName", &GoodsInfo::expressFactoryName}, {"factoryKeyx", &GoodsInfo::factoryKeyx},
        {"sourceRemarks", &GoodsInfo::sourceRemarks}, {"addressId", &GoodsInfo::addressId},
        {"province", &GoodsInfo::province}, {"provinceId", &GoodsInfo::provinceId}, {"city", &GoodsInfo::city},
        {"cityId", &GoodsInfo::cityId}, {"county", &GoodsInfo::county}, {"countyId", &GoodsInfo::countyId},
        {"address", &GoodsInfo::address}, {"receiverName", &GoodsInfo::receiverName},
        {"receiverPhone", &GoodsInfo::receiverPhone}, {"postcode", &GoodsInfo::postcode},
    };
    return fields;
}

// The non-empty texts of a record, by field name.
QVariantMap filled(const GoodsInfo& good)
{
    QVariantMap map;
    for (const auto& field : texts()) {
        if (!(good.*field.second).isEmpty())
            map.insert(field.first, good.*field.second);
    }
    return map;
}

QString flags(const GoodsInfo& good)
{
    return QStringLiteral("exist=%1 child=%2 ems=%3").arg(good.isExist).arg(good.isChild).arg(good.isEms);
}

const QByteArray kAddress = R"({"id": "20", "province": "北京市", "provinceid": "11", "city": "北京市",
    "cityid": "1101", "county": "朝阳区", "countyid": "110105", "address": "建国路1号", "name": "王五",
    "phone": "13700000003", "postcode": "100000"})";

// `fields` with the eleven address fields of kAddress.
QVariantMap withAddress(QVariantMap fields)
{
    const QVariantMap address = {
        {"addressId", "20"}, {"province", "北京市"}, {"provinceId", "11"}, {"city", "北京市"},
        {"cityId", "1101"}, {"county", "朝阳区"}, {"countyId", "110105"}, {"address", "建国路1号"},
        {"receiverName", "王五"}, {"receiverPhone", "13700000003"}, {"postcode", "100000"}};
    for (auto it = address.begin(); it != address.end(); ++it)
        fields.insert(it.key(), it.value());
    return fields;
}

} // namespace

class TestGoodsInfo : public QObject
{
    Q_OBJECT

private slots:
    void setJson_data();
    void setJson();
    void emptyPicPathKeepsNames();
    void copiesAreIndependent();
};

void TestGoodsInfo::setJson_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QVariantMap>("texts");
    QTest::addColumn<QStringList>("photoNames");
    QTest::addColumn<QString>("flags");

    const QString none = QStringLiteral("exist=0 child=0 ems=0");
    QTest::newRow("no keys") << QByteArray("{}") << QVariantMap() << QStringList() << none;

    QTest::newRow("every key") << QByteArray(R"({"isurgent": "1", "goodid": "301", "goodname": " 相册 ",
        "goodtypename": "册类", "goodtype": "不用", "goodtypeid": "12", "goodsizename": "12寸", "costing": "80",
        "weight": "2", "id": "9001", "descr": "描述", "goodpnumber": "30", "p_num": "15", "goodpagenumber": "20",
        "goodamount": "1", "type": "2", "remarks": "备注", "servicetime": "2024-05-01", "auth_remark": "审",
        "goodremark": "产品备注", "number": "5", "stock": "9", "factoryname": "一厂", "factorykeyx": "k1",
        "source_remarks": "来源", "picpath": "a.jpg|b.jpg", "isexist": "1", "isems": "1", "parentid": "12",
        "displayname": "x", "getgooddate": "y", "pickuptext": "z", "son_good": [{"goodname": "子"}],
        "orderaddress": )" + kAddress + "}")
        << withAddress({{"isUrgent", "1"}, {"goodId", "301"}, {"goodName", " 相册 "}, {"goodTypeName", "册类"},
                        {"goodTypeId", "12"}, {"goodSizeName", "12寸"}, {"costing", "80"}, {"weight", "2"},
                        {"id", "9001"}, {"descr", "描述"}, {"goodPNumber", "30"}, {"pNum", "15"},
                        {"goodPageNumber", "20"}, {"goodAmount", "1"}, {"type", "2"}, {"remarks", "备注"},
                        {"serviceTime", "2024-05-01"}, {"authRemark", "审"}, {"goodRemark", "产品备注"},
                        {"number", "5"}, {"stock", "9"}, {"expressFactoryName", "一厂"}, {"factoryKeyx", "k1"},
                        {"sourceRemarks", "来源"}, {"parentId", "12"}})
        << QStringList{"a.jpg", "b.jpg"} << QStringLiteral("exist=1 child=1 ems=1");

    QTest::newRow("empty type name takes goodtype") << QByteArray(R"({"goodtypename": "", "goodtype": "册类"})")
                                                    << QVariantMap{{"goodTypeName", "册类"}} << QStringList() << none;
    QTest::newRow("missing type name takes goodtype")
        << QByteArray(R"({"goodtype": "册类"})") << QVariantMap{{"goodTypeName", "册类"}} << QStringList() << none;

    QTest::newRow("parentid empty") << QByteArray(R"({"parentid": ""})") << QVariantMap() << QStringList() << none;
    QTest::newRow("parentid 0") << QByteArray(R"({"parentid": "0"})") << QVariantMap{{"parentId", "0"}}
                                << QStringList() << none;
    QTest::newRow("parentid number") << QByteArray(R"({"parentid": 12})") << QVariantMap() << QStringList() << none;

    const QByteArray notOne[] = {R"("0")", R"(" 1")", R"("01")", "1", "true", R"("")"};
    for (const QByteArray& value : notOne) {
        QTest::newRow(("isems/isexist " + value).constData())
            << QByteArray("{\"isems\": " + value + ", \"isexist\": " + value + "}") << QVariantMap()
            << QStringList() << none;
    }
    QTest::newRow("isems only") << QByteArray(R"({"isems": "1"})") << QVariantMap() << QStringList()
                                << QStringLiteral("exist=0 child=0 ems=1");

    QTest::newRow("picpath one name") << QByteArray(R"({"picpath": "a.jpg"})") << QVariantMap()
                                      << QStringList{"a.jpg"} << none;
    QTest::newRow("picpath bar") << QByteArray(R"({"picpath": "|"})") << QVariantMap() << QStringList{"", ""}
                                 << none;
    QTest::newRow("picpath double bar") << QByteArray(R"({"picpath": "a||b"})") << QVariantMap()
                                        << QStringList{"a", "", "b"} << none;
    QTest::newRow("picpath trailing bar") << QByteArray(R"({"picpath": "a|"})") << QVariantMap()
                                          << QStringList{"a", ""} << none;

    QTest::newRow("address not an object") << QByteArray(R"({"orderaddress": "北京市"})") << QVariantMap()
                                           << QStringList() << none;
    QTest::newRow("address keys at top level") << QByteArray(R"({"province": "北京市", "name": "王五"})")
                                               << QVariantMap() << QStringList() << none;
    QTest::newRow("numeric ids") << QByteArray(R"({"goodid": 301, "id": 9001, "orderaddress": {"id": 20}})")
                                 << QVariantMap() << QStringList() << none;
}

void TestGoodsInfo::setJson()
{
    QFETCH(QByteArray, json);
    QFETCH(QVariantMap, texts);
    QFETCH(QStringList, photoNames);
    QFETCH(QString, flags);

    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(json, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);

    GoodsInfo good;
    good.setJson(object);
    QCOMPARE(filled(good), texts);
    QCOMPARE(good.photoNames, photoNames);
    QCOMPARE(::flags(good), flags);
    QVERIFY(good.children.isEmpty());
}

void TestGoodsInfo::emptyPicPathKeepsNames()
{
    GoodsInfo good;
    good.photoNames = QStringList{"a.jpg"};
    good.displayName = QStringLiteral("相册");
    good.factoryName = QStringLiteral("一厂");
    good.pickupText = QStringLiteral("快递");
    good.getGoodDate = QStringLiteral("2024-06-01");
    good.parentGoodName = QStringLiteral("套装");
    good.children.append(GoodsInfo());
    good.goodName = QStringLiteral("旧名");

    good.setJson(QJsonDocument::fromJson(R"({"picpath": "", "factoryname": "二厂"})").object());

    QCOMPARE(good.photoNames, QStringList{"a.jpg"});
    QCOMPARE(filled(good), (QVariantMap{{"displayName", "相册"}, {"factoryName", "一厂"}, {"pickupText", "快递"},
                                        {"getGoodDate", "2024-06-01"}, {"parentGoodName", "套装"},
                                        {"expressFactoryName", "二厂"}}));
    QCOMPARE(good.children.size(), 1);
}

void TestGoodsInfo::copiesAreIndependent()
{
    GoodsInfo set;
    set.goodName = QStringLiteral("套装");
    set.isExist = true;
    GoodsInfo child;
    child.goodName = QStringLiteral("水晶框");
    set.children << child << child;

    GoodsInfo copy = set;
    copy.children[1].goodName = QStringLiteral("相框");
    QCOMPARE(set.children.at(1).goodName, QStringLiteral("水晶框"));

    GoodsInfo assigned;
    assigned.isEms = true;
    assigned.photoNames = QStringList{"x.jpg"};
    assigned = set;
    QVERIFY(assigned.isExist);
    QVERIFY(!assigned.isEms);
    QVERIFY(assigned.photoNames.isEmpty());
    QCOMPARE(assigned.children.size(), 2);
}

QTEST_GUILESS_MAIN(TestGoodsInfo)
#include "tst_goodsinfo.moc"
