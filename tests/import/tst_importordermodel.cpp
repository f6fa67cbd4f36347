#include "import/importordermodel.h"

#include <QDateTime>
#include <QJsonArray>
#include <QtTest>

// An order element of the order list becomes an import model.
class TestImportOrderModel : public QObject
{
    Q_OBJECT
private slots:
    void readsEveryFieldOfTheElement();
    void numbersAndOtherValuesReadAsEmpty();
    void booktime_data();
    void booktime();
    void sampledateDefaultsToTheEpochDay();
    void customerNamesAndFolderSuffix_data();
    void customerNamesAndFolderSuffix();
    void rootsAndLyraServerPath();
    void orderNumberKeepsEmptyParts();
    void renamedFileNames_data();
    void renamedFileNames();
    void folderSuffixesStayEqual();
    void perTypeStateIsKeptPerType();
};

namespace {

QJsonObject fullOrder()
{
    return {{"order_photo_id", "90001"},
            {"orderpayforkey", "LY20240601"},
            {"servicetimes", "2"},
            {"storesname", "澜叶旗舰店"},
            {"phototype", "宝宝照"},
            {"bname", "王小宝"},
            {"wname", "李娜"},
            {"mname", "王强"},
            {"momtel", "138"},
            {"dadtel", "139"},
            {"comboname", "成长记录"},
            {"comboprice", "2999"},
            {"order_price", "2599"},
            {"orderbaseprice", "2899"},
            {"booktime", "abc"},
            {"gotodigitaltime", "2024-06-05 10:00:00"},
            {"shotdate", "2024-06-01"},
            {"sampledate", "2024-06-08"},
            {"getphotodate", "2024-06-30"},
            {"role1", "陈摄影"},
            {"role2", "林化妆"},
            {"yindouer", "周引逗"},
            {"tiaosename", "赵调色"},
            {"tiaoxiname", "孙修图"},
            {"orderpath", "/srv/photos/2024-06/01/LY/"},
            {"orderbakpicpath", "/srv/backup/2024-06/01/LY/"},
            {"lyrapath", "/lyra/order"},
            {"picpathnew", QJsonObject{{"picpath", "/srv/photos/"},
                                       {"bakpicpath", "/srv/backup/"},
                                       {"homepicpath", "/srv/home/"},
                                       {"lyrapath", "//lyra/shop"}}}};
}

} // namespace

void TestImportOrderModel::readsEveryFieldOfTheElement()
{
    const ImportOrderModel m(fullOrder(), nullptr);
    QCOMPARE(m.order_photo_id(), QString("90001"));
    QCOMPARE(m.orderpayforkey(), QString("LY20240601"));
    QCOMPARE(m.orderpayforkey2(), QString("LY20240601"));
    QCOMPARE(m.servicetimes(), QString("2"));
    QCOMPARE(m.orderNumber(), QString("LY20240601-2"));
    QCOMPARE(m.storesname(), QString("澜叶旗舰店"));
    QCOMPARE(m.phototype(), QString("宝宝照"));
    QCOMPARE(m.phototype2(), QString("宝宝照"));
    QCOMPARE(m.bname(), QString("王小宝"));
    QCOMPARE(m.wname(), QString("李娜"));
    QCOMPARE(m.mname(), QString("王强"));
    QCOMPARE(m.momtel, QString("138"));
    QCOMPARE(m.dadtel, QString("139"));
    QCOMPARE(m.comboname(), QString("成长记录"));
    QCOMPARE(m.comboprice(), QString("2999"));
    QCOMPARE(m.order_price(), QString("2599"));
    QCOMPARE(m.orderbaseprice(), QString("2899"));
    QCOMPARE(m.gotodigitaltime(), QString("2024-06-05 10:00:00"));
    QCOMPARE(m.gotodigitaltime2(), QString("2024-06-05 10:00:00"));
    QCOMPARE(m.shotdate(), QString("2024-06-01"));
    QCOMPARE(m.sampledate(), QString("2024-06-08"));
    QCOMPARE(m.getphotodate, QString("2024-06-30"));
    QCOMPARE(m.role1(), QString("陈摄影"));
    QCOMPARE(m.role2(), QString("林化妆"));
    QCOMPARE(m.yindouer(), QString("周引逗"));
    QCOMPARE(m.tiaosename(), QString("赵调色"));
    QCOMPARE(m.tiaoxiname(), QString("孙修图"));
    QCOMPARE(m.orderpath, QString("/srv/photos/2024-06/01/LY/"));
    QCOMPARE(m.importOrderPath(), QString("/srv/photos/2024-06/01/LY/"));
    QCOMPARE(m.orderbakpicpath, QString("/srv/backup/2024-06/01/LY/"));
    QCOMPARE(m.importOrderBakPath(), QString("/srv/backup/2024-06/01/LY/"));
    QCOMPARE(m.lyrapath(), QString("/lyra/order"));
    QCOMPARE(m.customerNames(), QString("王小宝-李娜-王强"));
    QCOMPARE(m.orderPrefix(1), QString("LY20240601-2"));
    QVERIFY(m.orderPrefix(0).isNull());
    QVERIFY(m.orderPrefix(2).isNull());
    QVERIFY(m.lyraSourceDir().isNull());
    QVERIFY(m.lyraSourceParent().isNull());
    for (int type = 0; type < 5; ++type) {
        QVERIFY(m.selectedFiles(type).isEmpty());
        QCOMPARE(m.importedCount(type), quint16(0));
        QCOMPARE(m.finishedCount(type), quint16(0));
        QVERIFY(m.imageSuffix(type).isEmpty());
    }
    for (int type = 0; type < 6; ++type)
        QVERIFY(!m.isImported(type));
}

void TestImportOrderModel::numbersAndOtherValuesReadAsEmpty()
{
    QJsonObject order = fullOrder();
    order["servicetimes"] = 2;
    order["order_price"] = 2599.5;
    order["bname"] = true;
    order["wname"] = QJsonValue::Null;
    order["orderpath"] = QJsonArray{"x"};
    order.remove("mname");
    const ImportOrderModel m(order, nullptr);
    QVERIFY(m.servicetimes().isEmpty());
    QVERIFY(m.order_price().isEmpty());
    QVERIFY(m.bname().isEmpty());
    QVERIFY(m.wname().isEmpty());
    QVERIFY(m.mname().isEmpty());
    QVERIFY(m.importOrderPath().isEmpty());
    QCOMPARE(m.customerNames(), QString());
    QCOMPARE(m.orderNumber(), QString("LY20240601-"));
}

void TestImportOrderModel::booktime_data()
{
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("seconds as text") << QJsonValue("1717200000") << qint64(1717200000);
    QTest::newRow("seconds as a number") << QJsonValue(1717200000) << qint64(0);
    QTest::newRow("not a number") << QJsonValue("2024-06-01") << qint64(0);
    QTest::newRow("missing") << QJsonValue(QJsonValue::Undefined) << qint64(0);
}

void TestImportOrderModel::booktime()
{
    QFETCH(QJsonValue, value);
    QFETCH(qint64, seconds);
    QJsonObject order = fullOrder();
    order.remove("booktime");
    if (!value.isUndefined())
        order.insert("booktime", value);
    const ImportOrderModel m(order, nullptr);
    const QString expected = QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime).toString("yyyy-MM-dd hh:mm:ss");
    QCOMPARE(m.booktime(), expected);
}

void TestImportOrderModel::sampledateDefaultsToTheEpochDay()
{
    QJsonObject order = fullOrder();
    order["sampledate"] = "";
    QCOMPARE(ImportOrderModel(order, nullptr).sampledate(), QString("1970-01-01"));
    order.remove("sampledate");
    QCOMPARE(ImportOrderModel(order, nullptr).sampledate(), QString("1970-01-01"));
}

void TestImportOrderModel::customerNamesAndFolderSuffix_data()
{
    QTest::addColumn<QStringList>("namesAndRoles"); // bname, wname, mname, role1, role2
    QTest::addColumn<QString>("customerNames");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("baby only") << QStringList{"宝宝", "", "", "", ""} << "宝宝" << "宝宝";
    QTest::newRow("woman and man") << QStringList{"", "W", "M", "", ""} << "W-M" << "W-M";
    QTest::newRow("nobody") << QStringList{"", "", "", "", ""} << "" << "";
    QTest::newRow("roles without names") << QStringList{"", "", "", "A", "B"} << "" << "-A-B";
    QTest::newRow("second role only") << QStringList{"X", "", "", "", "B"} << "X" << "X-B";
    QTest::newRow("forbidden characters") << QStringList{"", "Anna:Lee", "Tom?*", "a/b", ""} << "Anna:Lee-Tom?*"
                                          << "AnnaLee-Tom-ab";
    QTest::newRow("blanks around") << QStringList{" X", "", "", "", "B "} << " X" << "X-B";
}

void TestImportOrderModel::customerNamesAndFolderSuffix()
{
    QFETCH(QStringList, namesAndRoles);
    QFETCH(QString, customerNames);
    QFETCH(QString, suffix);
    QJsonObject order = fullOrder();
    const char* const keys[] = {"bname", "wname", "mname", "role1", "role2"};
    for (int i = 0; i < 5; ++i)
        order[keys[i]] = namesAndRoles.at(i);
    const ImportOrderModel m(order, nullptr);
    QCOMPARE(m.customerNames(), customerNames);
    for (int type = 0; type < 3; ++type)
        QCOMPARE(m.folderSuffix(type), suffix);
}

void TestImportOrderModel::rootsAndLyraServerPath()
{
    const ImportOrderModel full(fullOrder(), nullptr);
    QCOMPARE(full.picRootPath(), QString("/srv/photos/"));
    QCOMPARE(full.picpath, QString("/srv/photos/"));
    QCOMPARE(full.bakRootPath(), QString("/srv/backup/"));
    QCOMPARE(full.bakpicpath, QString("/srv/backup/"));
    QCOMPARE(full.homeRootPath(), QString("/srv/home/"));
    QCOMPARE(full.homepicpath, QString("/srv/home/"));
    QCOMPARE(full.lyraServerPath, QString("//lyra/shop\\选版服务器"));
    QCOMPARE(full.lyraPicPath(), QString("//lyra/shop\\选版服务器"));

    QJsonObject bare = fullOrder();
    bare.remove("picpathnew");
    const ImportOrderModel none(bare, nullptr);
    QCOMPARE(none.picRootPath(), QString(""));
    QCOMPARE(none.bakRootPath(), QString(""));
    QCOMPARE(none.homeRootPath(), QString(""));
    QCOMPARE(none.lyraServerPath, QString("\\选版服务器"));

    bare["picpathnew"] = "not an object";
    QCOMPARE(ImportOrderModel(bare, nullptr).lyraPicPath(), QString("\\选版服务器"));
}

void TestImportOrderModel::orderNumberKeepsEmptyParts()
{
    QJsonObject order = fullOrder();
    order["orderpayforkey"] = "";
    order["servicetimes"] = "1";
    QCOMPARE(ImportOrderModel(order, nullptr).orderNumber(), QString("-1"));
}

void TestImportOrderModel::renamedFileNames_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("names");
    const QStringList paths = {"/a/IMG_1.JPG", "C:\\shots\\a.b.jpg", "abc", "/x/y/.hidden"};
    QTest::newRow("finished with suffix") << 1 << "x" << paths << QStringList{"IMG_1-x.JPG", "a.b-x.jpg", "-x.abc", "-x.hidden"};
    QTest::newRow("originals without suffix") << 0 << "" << QStringList{"/a/IMG_1.JPG", "/a/b.c.png"}
                                              << QStringList{"IMG_1.JPG", "b.c.png"};
    QTest::newRow("trial videos") << 3 << "" << QStringList{"/v/VID.mp4", "/v/a.b.avi"} << QStringList{"VID.mp4", "a.b.avi"};
    QTest::newRow("retouched videos") << 4 << "" << QStringList{"/v/VID.mp4"} << QStringList{"VID.mp4"};
    QTest::newRow("lyra folder") << 5 << "" << QStringList{"/v/a.b.jpg"} << QStringList{"a.b"};
}

void TestImportOrderModel::renamedFileNames()
{
    QFETCH(int, type);
    QFETCH(QString, suffix);
    QFETCH(QStringList, paths);
    QFETCH(QStringList, names);
    ImportOrderModel m(fullOrder(), nullptr);
    for (int t = 0; t < 3; ++t)
        m.setImageSuffix(t, suffix);
    QCOMPARE(m.renamedFileNames(paths, type), names);
}

void TestImportOrderModel::folderSuffixesStayEqual()
{
    ImportOrderModel m(fullOrder(), nullptr);
    for (int type = 0; type < 3; ++type) {
        const QString suffix = QStringLiteral("后缀%1").arg(type);
        m.setFolderSuffix(type, suffix);
        for (int t = 0; t < 3; ++t)
            QCOMPARE(m.folderSuffix(t), suffix);
    }
}

void TestImportOrderModel::perTypeStateIsKeptPerType()
{
    ImportOrderModel m(fullOrder(), nullptr);
    m.setSelectedFiles(4, {"/v/a.mp4"});
    m.setImportedCount(3, 7);
    m.setFinishedCount(0, 9);
    m.setIsImported(5, true);
    m.setImageSuffix(2, "d");
    m.setOrderPrefix(0, "p");
    QCOMPARE(m.selectedFiles(4), QStringList{"/v/a.mp4"});
    QVERIFY(m.selectedFiles(3).isEmpty());
    QCOMPARE(m.importedCount(3), quint16(7));
    QCOMPARE(m.importedCount(4), quint16(0));
    QCOMPARE(m.finishedCount(0), quint16(9));
    QVERIFY(m.isImported(5));
    QVERIFY(!m.isImported(1));
    QCOMPARE(m.imageSuffix(2), QString("d"));
    QVERIFY(m.imageSuffix(1).isEmpty());
    QCOMPARE(m.orderPrefix(0), QString("p"));
    QCOMPARE(m.orderPrefix(1), QString("LY20240601-2"));
    // Types a field does not have are neither stored nor read.
    m.setSelectedFiles(5, {"/x"});
    m.setIsImported(6, true);
    QVERIFY(m.selectedFiles(5).isEmpty());
    QVERIFY(!m.isImported(6));
}

QTEST_APPLESS_MAIN(TestImportOrderModel)
#include "tst_importordermodel.moc"
