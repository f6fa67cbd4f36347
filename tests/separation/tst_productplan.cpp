#include "core/Globals.h"
#include "separation/ProductPlan.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QJsonObject good(const QString& id, const QString& name, const QJsonObject& extra = {})
{
    QJsonObject object{{"id", id},           {"goodname", name},    {"goodtypename", "相册"}, {"goodtypeid", "12"},
                       {"goodamount", "1"},  {"parentid", "0"},     {"isems", "0"},           {"factoryname", "一厂"}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        object.insert(it.key(), it.value());
    return object;
}

QJsonObject reply(const QJsonArray& goods0, const QJsonArray& goods2, const QString& idFlag = "0")
{
    return {{"code", "1"},
            {"shop_set", QJsonObject{{"fenjian_ishaveordergoodid", idFlag}}},
            {"order", QJsonObject{{"ordergoods0", goods0}, {"ordergoods2", goods2}}}};
}

QStringList folders(const ProductPlan& plan)
{
    QStringList paths;
    for (const ProductDirInfo& dir : plan.dirs)
        paths << dir.firstpath + dir.secoendpath + dir.subProductPath;
    return paths;
}

} // namespace

Q_DECLARE_METATYPE(ProductDirInfo)

// The products reply read into goods and product folders.
class TestProductPlan : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanedNames_data();
    void cleanedNames();
    void folderForms();
    void namesNumberAcrossBothLists();
    void numberingSkipsNamesTaken();
    void numberedNamesKeepTheirText();
    void largeReplyKeepsItsOrder();
    void idFlag();
    void subProducts_data();
    void subProducts();
    void serviceTextsCannotNestFolders();
    void takenFoldersGetNumberedSiblings_data();
    void takenFoldersGetNumberedSiblings();
};

void TestProductPlan::init()
{
    g_curOrderPayForKey = "LY1";
    g_curCustomerNames = "宝-母";
    g_curPickupTime = "2024-06-20";
    g_curRole10 = "周设计";
    g_isShowSubproduct = "0";
}

void TestProductPlan::cleanedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("two blanks vanish") << "相  册" << "相册";
    QTest::newRow("three leave one") << "相   册" << "相 册";
    QTest::newRow("four vanish") << "相    册" << "相册";
    QTest::newRow("ends trimmed first") << "  相册《大》 " << "相册大";
    QTest::newRow("marks removed") << "a/b\\c:d*e？f?g\"h'i“j”k‘l’m<n>o|p" << "abcdefghijklmnop";
    QTest::newRow("blank beside a removed end stays") << "《 相册" << " 相册";
    QTest::newRow("nothing left") << "《》" << "";
}

void TestProductPlan::cleanedNames()
{
    QFETCH(QString, name);
    QFETCH(QString, cleaned);
    QCOMPARE(cleanProductName(name), cleaned);
}

void TestProductPlan::folderForms()
{
    const ProductPlan plan = ProductPlan::read(reply(
        {good("1", "精修相册", {{"ishomemade", "1"}, {"isems", "1"}, {"factoryname", "自制工坊"}}),
         good("2", "摆台", {{"goodtypename", "摆台类"}, {"goodamount", "2"}}),
         good("3", "入户*挂画", {{"isurgent", "1"}, {"get gooddate", "2024-06-15"}, {"getgooddate", "x"}})},
        {good("4", "放大", {{"ishomemade", "1"}}),
         good("5", "急件", {{"isurgent", "1"}, {"getgooddate", "2024-06-16"}}),
         good("6", "无日期", {{"isurgent", "1"}, {"get gooddate", "2024-06-17"}})}));
    QCOMPARE(folders(plan), (QStringList{
                                "自制工坊/精修相册 LY1 宝-母 2024-06-20取 周设计 【快递】/",
                                "一厂 LY1 宝-母 2024-06-20取 周设计 【自取】/摆台 摆台类 2/",
                                "一厂 LY1 宝-母 2024-06-15急取 周设计 【自取】/入户x挂画 相册 1/",
                                "一厂/放大 LY1  宝-母 2024-06-20取 周设计 【自取】/",
                                "一厂 LY1 宝-母 2024-06-16急取 周设计 【自取】/急件 相册 1/",
                                // The second list reads the date without the blank.
                                "一厂 LY1 宝-母 急取 周设计 【自取】/无日期 相册 1/",
                            }));
    QCOMPARE(plan.dirs.at(0).nameTail, QString(" LY1 宝-母 2024-06-20取 周设计 【快递】/"));
    QCOMPARE(plan.dirs.at(3).nameTail, QString(" LY1 宝-母 2024-06-20取 周设计 【自取】/"));
    QCOMPARE(plan.dirs.at(0).isHomemade, QString("1"));
    QCOMPARE(plan.dirs.at(0).goodAmount, QString());
    QCOMPARE(plan.dirs.at(1).isHomemade, QString("0"));
    QCOMPARE(plan.dirs.at(1).goodAmount, QString("2"));
    QCOMPARE(plan.goods.size(), 6);
    QCOMPARE(plan.goods.at(0).pickupText, QString("快递"));
    QCOMPARE(plan.goods.at(1).pickupText, QString("自取"));
    for (int i = 0; i < plan.dirs.size(); ++i)
        QCOMPARE(plan.dirs.at(i).goodsIndex, i);
}

void TestProductPlan::namesNumberAcrossBothLists()
{
    QJsonObject noExpress{{"isems", QJsonValue()}, {"picpath", "A.jpg||A.jpg|"}};
    const ProductPlan plan =
        ProductPlan::read(reply({good("1", "相册", noExpress), good("2", "相册")}, {good("3", "相册"), good("4", "摆台")}));
    QStringList names;
    for (const GoodsInfo& goods : plan.goods)
        names << goods.displayName;
    QCOMPARE(names, (QStringList{"相册", "相册(1)", "相册(2)", "摆台"}));
    QCOMPARE(plan.goods.at(0).pickupText, QString("快递"));
    // Photo lists keep empty and repeated names.
    QCOMPARE(plan.dirs.at(0).photoNames, (QStringList{"A.jpg", "", "A.jpg", ""}));
    QCOMPARE(plan.dirs.at(1).photoNames, QStringList{});
}

// A number is never given twice, also when a good carries such a name itself.
void TestProductPlan::numberingSkipsNamesTaken()
{
    const ProductPlan plan = ProductPlan::read(reply({good("1", "相册"), good("2", "相册(2)"), good("3", "相册")},
                                                     {good("4", "相册"), good("5", "相册(1)"), good("6", "相册")}));
    QStringList names;
    for (const GoodsInfo& goods : plan.goods)
        names << goods.displayName;
    QCOMPARE(names, (QStringList{"相册", "相册(2)", "相册(1)", "相册(3)", "相册(1)(1)", "相册(4)"}));
}

// A "%" in a name is the name's own text, not a place for the number.
void TestProductPlan::numberedNamesKeepTheirText()
{
    const ProductPlan plan = ProductPlan::read(reply({good("1", "相册%2"), good("2", "相册%2")}, {}));
    QCOMPARE(plan.goods.at(1).displayName, QString("相册%2(1)"));
}

// A large reply is read in slices side by side: goods, numbers and folders
// run on across the slices and both lists in reply order.
void TestProductPlan::largeReplyKeepsItsOrder()
{
    g_isShowSubproduct = "1";
    const int perList = 2500;
    QJsonArray lists[2];
    for (int i = 0; i < 2 * perList; ++i) {
        QJsonObject extra;
        if (i % 100 == 0)
            extra.insert("son_good", QJsonArray{good("s1", "内页"), good("s2", "内页")});
        lists[i / perList].append(good(QString::number(i), "相册", extra));
    }
    const ProductPlan plan = ProductPlan::read(reply(lists[0], lists[1]));

    QCOMPARE(plan.goods.size(), 2 * perList);
    int dir = 0;
    for (int i = 0; i < 2 * perList; ++i) {
        const QString name = i == 0 ? QString("相册") : QString("相册(%1)").arg(i);
        QCOMPARE(plan.goods.at(i).id, QString::number(i));
        QCOMPARE(plan.goods.at(i).displayName, name);
        QCOMPARE(plan.dirs.at(dir).goodsIndex, i);
        QVERIFY(plan.dirs.at(dir).secoendpath.startsWith(name + " 相册 1/"));
        ++dir;
        if (i % 100 == 0) {
            QCOMPARE(plan.goods.at(i).children.at(1).goodName, QString("内页(1)"));
            for (const QString sub : {"内页 相册 1/", "内页(1) 相册 1/"}) {
                QCOMPARE(plan.dirs.at(dir).goodsIndex, i);
                QCOMPARE(plan.dirs.at(dir).subProductPath, sub);
                ++dir;
            }
        }
    }
    QCOMPARE(plan.dirs.size(), dir);
}

void TestProductPlan::idFlag()
{
    const ProductPlan plan = ProductPlan::read(reply({good("11", "相册"), good("12", "相册")}, {}, "1"));
    QCOMPARE(plan.goods.at(0).displayName, QString("11#相册"));
    QCOMPARE(plan.goods.at(1).displayName, QString("12#相册"));
}

void TestProductPlan::subProducts_data()
{
    QTest::addColumn<QString>("showSubproduct");
    QTest::addColumn<QString>("idFlag");
    QTest::addColumn<QStringList>("paths");
    const QString set = "一厂 LY1 宝-母 2024-06-20取 周设计 【自取】/套装 套装 1/";
    const QString single = "一厂 LY1 宝-母 2024-06-20取 周设计 【自取】/散件 相册 1/";
    QTest::newRow("shown") << "1" << "0" << QStringList{set, set + "水晶框 框类 1/", set + "水晶框(1) 框类 2/", single + "内页 页 1/"};
    QTest::newRow("shown with ids") << "1" << "1"
                                    << QStringList{"一厂 LY1 宝-母 2024-06-20取 周设计 【自取】/8#套装 套装 1/",
                                                   "一厂 LY1 宝-母 2024-06-20取 周设计 【自取】/8#套装 套装 1/81#套装_水晶框 框类 1/",
                                                   "一厂 LY1 宝-母 2024-06-20取 周设计 【自取】/8#套装 套装 1/82#套装_水晶框(1) 框类 2/",
                                                   "一厂 LY1 宝-母 2024-06-20取 周设计 【自取】/9#散件 相册 1/91#散件_内页 页 1/"};
    QTest::newRow("not shown") << "0" << "0" << QStringList{set, single};
}

void TestProductPlan::subProducts()
{
    QFETCH(QString, showSubproduct);
    QFETCH(QString, idFlag);
    QFETCH(QStringList, paths);
    g_isShowSubproduct = showSubproduct;
    const auto sub = [](const QString& id, const QString& name, const QString& amount) {
        return QJsonObject{{"id", id}, {"goodname", name}, {"goodtypename", "框类"}, {"goodamount", amount},
                           {"picpath", "B.jpg"}};
    };
    const QJsonObject set = good("8", "套装", {{"goodtypename", "套装"},
                                              {"son_good", QJsonArray{sub("81", "水晶框", "1"), sub("82", "水晶框", "2")}}});
    const QJsonObject single =
        good("9", "散件", {{"parentid", "88"},
                           {"son_good", QJsonArray{QJsonObject{{"id", "91"}, {"goodname", "内页"},
                                                               {"goodtypename", "页"}, {"goodamount", "1"}}}}});
    const ProductPlan plan = ProductPlan::read(reply({set, single}, {}, idFlag));
    QCOMPARE(folders(plan), paths);
    QCOMPARE(plan.goods.size(), 2);
    QCOMPARE(plan.goods.at(0).children.size(), 2);
    QVERIFY(plan.goods.at(0).children.at(0).isChild);
    if (showSubproduct == "1") {
        QCOMPARE(plan.dirs.at(1).isHomemade, QString("1"));
        QCOMPARE(plan.dirs.at(1).displayName, QString());
        QCOMPARE(plan.dirs.at(1).photoNames, QStringList{"B.jpg"});
        QCOMPARE(plan.dirs.at(3).goodsIndex, 1);
    }
}

void TestProductPlan::serviceTextsCannotNestFolders()
{
    g_curOrderPayForKey = "LY/1";
    g_curCustomerNames = "宝\\母";
    g_curRole10 = "..";
    const ProductPlan plan = ProductPlan::read(
        reply({good("1", "相册", {{"factoryname", "../厂"}, {"goodtypename", "a/b"}, {"goodamount", "1:2"}})}, {}));
    QCOMPARE(folders(plan), QStringList{"..厂 LY1 宝母 2024-06-20取  【自取】/相册 ab 12/"});
}

void TestProductPlan::takenFoldersGetNumberedSiblings_data()
{
    QTest::addColumn<ProductDirInfo>("dir");
    QTest::addColumn<QString>("expected");

    ProductDirInfo bought;
    bought.displayName = "相册%2";
    bought.goodTypeName = "相/册";
    bought.goodAmount = "1";
    bought.isHomemade = "0";
    bought.secoendpath = "相册%2 相册 1/";
    QTest::newRow("bought") << bought << "相册%2 (1) 相册 1/";

    ProductDirInfo homemade;
    homemade.goodName = "台历%1";
    homemade.isHomemade = "1";
    homemade.nameTail = " LY1 宝-母 2024-06-20取 周设计 【快递】/";
    homemade.secoendpath = "台历%1" + homemade.nameTail;
    QTest::newRow("homemade") << homemade << "台历%1 (1) LY1 宝-母 2024-06-20取 周设计 【快递】/";

    ProductDirInfo sub;
    sub.isHomemade = "1";
    sub.secoendpath = "套装%1 LY1/";
    sub.subProductPath = "水晶框%3 框类 1/";
    QTest::newRow("sub-product") << sub << "套装%1 LY1/水晶框%3 框类 1 (1)/";
}

// A folder taken already gets a numbered sibling; the service's names keep
// their text.
void TestProductPlan::takenFoldersGetNumberedSiblings()
{
    QFETCH(ProductDirInfo, dir);
    QFETCH(QString, expected);
    QTemporaryDir order;
    const QString orderFolder = order.path() + "/";
    QVERIFY(QDir().mkpath(orderFolder + "一厂/" + dir.secoendpath + dir.subProductPath));

    QCOMPARE(makeProductFolder(orderFolder, "一厂/", dir, 0), orderFolder + "一厂/" + expected);
    QVERIFY(QFileInfo(orderFolder + "一厂/" + expected).isDir());
    // Beyond the first 500 entries the folder taken is shared.
    QCOMPARE(makeProductFolder(orderFolder, "一厂/", dir, 500),
             orderFolder + "一厂/" + dir.secoendpath + dir.subProductPath);
}

QTEST_MAIN(TestProductPlan)
#include "tst_productplan.moc"
