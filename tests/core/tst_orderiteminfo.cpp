#include "core/OrderItemInfo.h"

#include <QJsonDocument>
#include <QtTest>

Q_DECLARE_METATYPE(OrderItemInfo::Tool)

namespace {

using Text = QString OrderItemInfo::*;

const QList<QPair<QString, Text>>& texts()
{
    static const QList<QPair<QString, Text>> fields = {
        {"order_photo_id", &OrderItemInfo::order_photo_id}, {"servicetimes", &OrderItemInfo::servicetimes},
        {"names", &OrderItemInfo::names}, {"phones", &OrderItemInfo::phones},
        {"spareText1", &OrderItemInfo::spareText1}, {"phototype", &OrderItemInfo::phototype},
        {"comboname", &OrderItemInfo::comboname}, {"order_price", &OrderItemInfo::order_price},
        {"spareText2", &OrderItemInfo::spareText2}, {"role1", &OrderItemInfo::role1},
        {"role2", &OrderItemInfo::role2}, {"shotdate", &OrderItemInfo::shotdate},
        {"photodate2", &OrderItemInfo::photodate2}, {"orderpayforkey", &OrderItemInfo::orderpayforkey},
        {"orderpath", &OrderItemInfo::orderpath}, {"lyrapath", &OrderItemInfo::lyrapath},
        {"lyraSelectedPath", &OrderItemInfo::lyraSelectedPath}, {"lyraRelPath", &OrderItemInfo::lyraRelPath},
        {"pickuptime", &OrderItemInfo::pickuptime}, {"spareText3", &OrderItemInfo::spareText3},
        {"twosales", &OrderItemInfo::twosales}, {"selectphotoname", &OrderItemInfo::selectphotoname},
        {"role10", &OrderItemInfo::role10}, {"isurgenttime", &OrderItemInfo::isurgenttime},
        {"pickupTypeText", &OrderItemInfo::pickupTypeText}, {"orderbaseprice", &OrderItemInfo::orderbaseprice},
        {"tiaosename", &OrderItemInfo::tiaosename}, {"tiaoxiname", &OrderItemInfo::tiaoxiname},
        {"storesname", &OrderItemInfo::storesname}, {"gotodigitaltime", &OrderItemInfo::gotodigitaltime},
        {"bakpicpath", &OrderItemInfo::bakpicpath}, {"homepicpath", &OrderItemInfo::homepicpath},
        {"picpath", &OrderItemInfo::picpath}, {"lyraSelectRoot", &OrderItemInfo::lyraSelectRoot},
    };
    return fields;
}

// The non-empty texts of a record, by field name.
QVariantMap filled(const OrderItemInfo& item)
{
    QVariantMap map;
    for (const auto& field : texts()) {
        if (!(item.*field.second).isEmpty())
            map.insert(field.first, item.*field.second);
    }
    return map;
}

QJsonObject element(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

const QByteArray kFullElement = R"({
    "order_photo_id": "1001", "servicetimes": "2", "bname": "小宝", "wname": "李四", "mname": "张三",
    "mphone": "13900000001", "wphone": "13800000002", "phototype": "婚纱", "comboname": "臻爱套系",
    "order_price": "2999.00", "role1": "摄影甲", "role2": "化妆乙", "shotdate": "2024-05-01",
    "photodate2": "2024-05-03", "orderpayforkey": "YY001", "orderpath": "\\\\srv\\photos\\2024-05\\01\\YY001-2\\",
    "pickuptime": "2024-06-01", "twosales": "1", "selectphotoname": "a.jpg,b.jpg", "role10": "设计丙",
    "isurgenttime": "2024-05-20", "pickuptype": "1", "orderbaseprice": "3999.00", "tiaosename": "对比丁",
    "tiaoxiname": "修片戊", "storesname": "一店", "gotodigitaltime": "2024-05-05",
    "lyrapath": "L:\\lyra\\选版服务器\\2024\\YY001",
    "picpathnew": {"bakpicpath": "\\\\bak\\photos", "homepicpath": "\\\\home\\photos",
                   "picpath": "\\\\srv\\photos", "lyrapath": "L:\\lyra"}
})";

QVariantMap fullFields()
{
    return {
        {"order_photo_id", "1001"}, {"servicetimes", "2"}, {"names", "小宝-李四-张三"},
        {"phones", "13900000001/13800000002"}, {"phototype", "婚纱"}, {"comboname", "臻爱套系"},
        {"order_price", "2999.00"}, {"role1", "摄影甲"}, {"role2", "化妆乙"}, {"shotdate", "2024-05-01"},
        {"photodate2", "2024-05-03"}, {"orderpayforkey", "YY001"},
        {"orderpath", "\\\\srv\\photos\\2024-05\\01\\YY001-2\\"}, {"pickuptime", "2024-06-01"},
        {"twosales", "1"}, {"selectphotoname", "a.jpg,b.jpg"}, {"role10", "设计丙"},
        {"isurgenttime", "2024-05-20"}, {"pickupTypeText", "快递"}, {"orderbaseprice", "3999.00"},
        {"tiaosename", "对比丁"}, {"tiaoxiname", "修片戊"}, {"storesname", "一店"},
        {"gotodigitaltime", "2024-05-05"}, {"bakpicpath", "\\\\bak\\photos"},
        {"homepicpath", "\\\\home\\photos"}, {"picpath", "\\\\srv\\photos"},
    };
}

} // namespace

class TstOrderItemInfo : public QObject
{
    Q_OBJECT

private slots:
    void defaultRecord()
    {
        const OrderItemInfo item;
        QVERIFY(!item.checked);
        QVERIFY(!item.processed);
        for (const auto& field : texts())
            QVERIFY2((item.*field.second).isNull(), qPrintable(field.first));
    }

    void fromOrderElement_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<OrderItemInfo::Tool>("tool");
        QTest::addColumn<QVariantMap>("expected");

        QTest::newRow("separation") << kFullElement << OrderItemInfo::Tool::Separation << fullFields();

        QVariantMap deletion = fullFields();
        deletion.remove("gotodigitaltime");
        QTest::newRow("batch deletion: no hand-over time")
            << kFullElement << OrderItemInfo::Tool::BatchDeletion << deletion;

        QVariantMap lyra = fullFields();
        lyra.insert("lyrapath", "L:\\lyra\\选版服务器\\2024\\YY001");
        lyra.insert("lyraSelectRoot", "L:\\lyra\\选版服务器\\");
        lyra.insert("lyraRelPath", "2024\\YY001");
        lyra.insert("lyraSelectedPath", "L:\\lyra\\选版服务器\\[已选]2024\\YY001");
        QTest::newRow("Lyra") << kFullElement << OrderItemInfo::Tool::Lyra << lyra;

        QTest::newRow("numbers, booleans and null read as empty")
            << QByteArray(R"({"order_photo_id": 1001, "servicetimes": 2, "role1": null, "role2": true,
                              "pickuptype": 1, "bname": 5, "mphone": 139,
                              "picpathnew": {"picpath": 7, "bakpicpath": "\\\\bak"}})")
            << OrderItemInfo::Tool::Separation
            << QVariantMap{{"pickupTypeText", "自取"}, {"bakpicpath", "\\\\bak"}};

        QTest::newRow("Lyra without roots")
            << QByteArray(R"({"lyrapath": "\\\\nas\\sel\\YY002"})") << OrderItemInfo::Tool::Lyra
            << QVariantMap{{"pickupTypeText", "自取"}, {"lyrapath", "\\\\nas\\sel\\YY002"},
                           {"lyraSelectRoot", "\\选版服务器\\"}, {"lyraRelPath", "\\\\nas\\sel\\YY002"},
                           {"lyraSelectedPath", "\\选版服务器\\[已选]\\\\nas\\sel\\YY002"}};

        QTest::newRow("Lyra path outside the selection root")
            << QByteArray(R"({"lyrapath": "M:\\other\\YY003", "picpathnew": {"lyrapath": "L:\\lyra"}})")
            << OrderItemInfo::Tool::Lyra
            << QVariantMap{{"pickupTypeText", "自取"}, {"lyrapath", "M:\\other\\YY003"},
                           {"lyraSelectRoot", "L:\\lyra\\选版服务器\\"}, {"lyraRelPath", "M:\\other\\YY003"},
                           {"lyraSelectedPath", "L:\\lyra\\选版服务器\\[已选]M:\\other\\YY003"}};

        QTest::newRow("Lyra root differing in case is kept")
            << QByteArray(R"({"lyrapath": "l:\\LYRA\\选版服务器\\YY004", "picpathnew": {"lyrapath": "L:\\lyra"}})")
            << OrderItemInfo::Tool::Lyra
            << QVariantMap{{"pickupTypeText", "自取"}, {"lyrapath", "l:\\LYRA\\选版服务器\\YY004"},
                           {"lyraSelectRoot", "L:\\lyra\\选版服务器\\"},
                           {"lyraRelPath", "l:\\LYRA\\选版服务器\\YY004"},
                           {"lyraSelectedPath", "L:\\lyra\\选版服务器\\[已选]l:\\LYRA\\选版服务器\\YY004"}};

        QTest::newRow("Lyra fields only in the Lyra tool")
            << QByteArray(R"({"lyrapath": "L:\\lyra\\选版服务器\\YY005", "picpathnew": {"lyrapath": "L:\\lyra"}})")
            << OrderItemInfo::Tool::Separation << QVariantMap{{"pickupTypeText", "自取"}};
    }

    void fromOrderElement()
    {
        QFETCH(QByteArray, json);
        QFETCH(OrderItemInfo::Tool, tool);
        QFETCH(QVariantMap, expected);
        const OrderItemInfo item = OrderItemInfo::fromOrderElement(element(json), tool);
        QCOMPARE(filled(item), expected);
        QVERIFY(!item.checked);
        QVERIFY(!item.processed);
    }

    void names_data()
    {
        QTest::addColumn<QString>("bname");
        QTest::addColumn<QString>("wname");
        QTest::addColumn<QString>("mname");
        QTest::addColumn<QString>("names");
        QTest::newRow("baby alone") << "小宝" << "" << "" << "小宝";
        QTest::newRow("woman and man") << "" << "李四" << "张三" << "李四-张三";
        QTest::newRow("baby and man") << "小宝" << "" << "张三" << "小宝-张三";
        QTest::newRow("all three") << "小宝" << "李四" << "张三" << "小宝-李四-张三";
        QTest::newRow("none") << "" << "" << "" << "";
    }

    void names()
    {
        QFETCH(QString, bname);
        QFETCH(QString, wname);
        QFETCH(QString, mname);
        QFETCH(QString, names);
        const QJsonObject json{{"bname", bname}, {"wname", wname}, {"mname", mname}};
        QCOMPARE(OrderItemInfo::fromOrderElement(json, OrderItemInfo::Tool::Separation).names, names);
    }

    void phones_data()
    {
        QTest::addColumn<QString>("mphone");
        QTest::addColumn<QString>("wphone");
        QTest::addColumn<QString>("phones");
        QTest::newRow("woman only") << "" << "138" << "138";
        QTest::newRow("man only") << "139" << "" << "139";
        QTest::newRow("both") << "139" << "138" << "139/138";
        QTest::newRow("none") << "" << "" << "";
    }

    void phones()
    {
        QFETCH(QString, mphone);
        QFETCH(QString, wphone);
        QFETCH(QString, phones);
        const QJsonObject json{{"mphone", mphone}, {"wphone", wphone}};
        QCOMPARE(OrderItemInfo::fromOrderElement(json, OrderItemInfo::Tool::BatchDeletion).phones, phones);
    }

    void designerAndPickup_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("role10");
        QTest::addColumn<QString>("pickup");
        QTest::newRow("designer 0, courier") << QByteArray(R"({"role10": "0", "pickuptype": "1"})") << "" << "快递";
        QTest::newRow("designer 00, part") << QByteArray(R"({"role10": "00", "pickuptype": "2"})") << "00" << "部分";
        QTest::newRow("pickup 3") << QByteArray(R"({"pickuptype": "3"})") << "" << "自取";
        QTest::newRow("pickup missing") << QByteArray("{}") << "" << "自取";
    }

    void designerAndPickup()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, role10);
        QFETCH(QString, pickup);
        const OrderItemInfo item = OrderItemInfo::fromOrderElement(element(json), OrderItemInfo::Tool::Separation);
        QCOMPARE(item.role10, role10);
        QCOMPARE(item.pickupTypeText, pickup);
    }

    void shopRootsAreEmptyNotNull_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("no picpathnew") << QByteArray("{}");
        QTest::newRow("picpathnew not an object") << QByteArray(R"({"picpathnew": "x"})");
    }

    void shopRootsAreEmptyNotNull()
    {
        QFETCH(QByteArray, json);
        const OrderItemInfo item = OrderItemInfo::fromOrderElement(element(json), OrderItemInfo::Tool::Separation);
        for (const QString& root : {item.bakpicpath, item.homepicpath, item.picpath}) {
            QVERIFY(root.isEmpty());
            QVERIFY(!root.isNull());
        }
        QVERIFY(item.lyraSelectRoot.isNull());
        QVERIFY(item.gotodigitaltime.isNull());
    }

    void batchDeletionLeavesHandOverTimeNull()
    {
        const OrderItemInfo item = OrderItemInfo::fromOrderElement(element(kFullElement),
                                                                    OrderItemInfo::Tool::BatchDeletion);
        QVERIFY(item.gotodigitaltime.isNull());
        QVERIFY(item.lyrapath.isNull());
    }
};

QTEST_MAIN(TstOrderItemInfo)
#include "tst_orderiteminfo.moc"
