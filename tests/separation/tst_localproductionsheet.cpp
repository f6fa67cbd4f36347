#include "core/Globals.h"
#include "files/ImageData.h"
#include "files/OrderFolders.h"
#include "separation/GoodsInfo.h"
#include "separation/LocalProductionSheet.h"
#include "separation/OrderSheetFields.h"
#include "separation/searchorder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QtTest>

namespace {

GoodsInfo good(const QString& id, const QString& name, const QString& urgent, const QString& typeId = QString(),
               const QString& pages = QString(), const QStringList& photos = {})
{
    GoodsInfo info;
    info.id = id;
    info.goodName = name;
    info.isUrgent = urgent;
    info.goodTypeId = typeId;
    info.goodTypeName = typeId == "33" ? QStringLiteral("相册") : QStringLiteral("摆台");
    info.goodPNumber = typeId == "33" ? QStringLiteral("10") : QString();
    info.pNum = typeId == "33" ? QStringLiteral("2") : QString();
    info.goodPageNumber = pages;
    info.goodAmount = QStringLiteral("1");
    info.descr = QStringLiteral("制作要求") + id;
    info.remarks = QStringLiteral("备注") + id;
    info.goodRemark = QStringLiteral("对内") + id;
    info.authRemark = QStringLiteral("对外") + id;
    info.photoNames = photos;
    return info;
}

GoodsInfo child(GoodsInfo info)
{
    info.isChild = true;
    return info;
}

QJsonArray ids(const QStringList& values)
{
    QJsonArray array;
    for (const QString& id : values)
        array.append(QJsonObject{{"id", id}});
    return array;
}

QJsonObject service(const QStringList& goods, const QStringList& urgentGoods, const QString& operated,
                    const QString& selector)
{
    return QJsonObject{{"goods", ids(goods)},
                       {"urgentgoods", ids(urgentGoods)},
                       {"order_sample_infoservicetimes", operated},
                       {"role12name", selector}};
}

void saveImage(const QString& path, int width, int height)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY2(image.save(path, "JPG"), qPrintable(path));
}

int count(const QString& text, const QString& part)
{
    return text.count(part);
}

enum class Order { Design, WideHeader };

} // namespace

Q_DECLARE_METATYPE(Order)

// The local production sheet of a separated order, built from its sheet
// fields, goods, marked pictures and thumbnails, compared with golden pages
// (tests/separation/golden; the temporary folder reads "$TMP" there).
// UPDATE_GOLDEN=1 rewrites them.
class TestLocalProductionSheet : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void goldenPages_data();
    void goldenPages();
    void orderHeader_data();
    void orderHeader();
    void marksTable();
    void goodsTables();
    void setSpanCoversEveryPhotoRow();
    void escapedValues();
    void searchOrderBuildsFromItsFields();

private:
    QString build(Order order, int* photoTotal = nullptr);
    OrderSheetFields designOrder();
    OrderSheetFields wideHeaderOrder();

    QTemporaryDir dir;
    QString thumbs;
};

void TestLocalProductionSheet::initTestCase()
{
    QVERIFY(dir.isValid());
    // The order folder on the file server and the sheet's thumbnail folder.
    setOrderPath(dir.filePath("server/A1/"));
    saveImage(getMarksDir() + "wide.jpg", 200, 100);
    saveImage(getMarksDir() + "tall.jpg", 100, 200);
    saveImage(dir.filePath("server/escape.jpg"), 50, 50);
    saveImage(getFineDir() + "a.jpg", 20, 10);
    saveImage(getFineDir() + "b.jpg", 20, 10);
    thumbs = dir.filePath("out/2026-01-05/A1/其它/制作单缩略图/");
    setSheetThumbDir(thumbs);
    for (int i = 1; i <= 7; ++i)
        saveImage(thumbs + QString("p%1.jpg").arg(i), i == 2 ? 66 : 88, i == 2 ? 88 : 66);
}

void TestLocalProductionSheet::cleanup()
{
    g_sheetWideHeader.clear();
    g_orderGoodsList.clear();
    g_markImages.clear();
}

OrderSheetFields TestLocalProductionSheet::designOrder()
{
    OrderSheetFields f;
    f.shopName = "澜叶旗舰店";
    f.orderPayForKey = "DD20260105";
    f.serviceTimes = "2";
    f.serviceCount = "3";
    f.babyName = "小宝";
    f.manName = "张三";
    f.manPhone = "13800000001";
    f.womanName = "李四";
    f.womanPhone = "13800000002";
    f.packageName = "婚纱套系";
    f.selectDate = "2026-01-05";
    f.selectTime = "10:30";
    f.shipDate = "2026-01-15";
    f.shipTime = "14:00";
    f.urgentTime = "2026-01-08";
    f.photoSelector = "小王";
    f.qualityCheckDate = "2026-01-20";
    f.recipientName = "李四";
    f.recipientPhone = "13800000002";
    f.recipientAddress = "浙江省杭州市西湖区文三路1号";
    f.orderDescr = "精修20张<BR>背景换白";
    f.shopDisclaimer = "取件请带单据";
    f.selectPhotoName = "小王";
    f.sampleInfoServiceTimes = "2";
    f.picsMarkArr = {{"wide.jpg", "1-2-3-4-瘦脸", "1-2-12-4-磨皮"},
                     {"../escape.jpg", "1-2-1-4-不复制"},
                     {"tall.jpg", "短"},
                     {"missing.jpg", "1-2-02-4-去痘"}};
    f.serviceTimeArray = {service({"2", "3", "22", "99"}, {"1", "11"}, "1", "小王"),
                          service({"3"}, {}, "0", "小李")};

    const QStringList seven{"照片/p1.jpg", "照片/p2.jpg", "p3.jpg", "照片/p4.jpg", "照片/p5.jpg", "照片/p6.jpg",
                            "照片/p7.jpg"};
    GoodsInfo album = good("1", "加急相册", "1", "33", "20", seven);
    album.children = {child(good("11", "子相册一", "0", "33", "10")), child(good("12", "子相册二", "0", "33", "10"))};
    GoodsInfo set = good("2", "摆台套", "0", "5");
    set.children = {child(good("21", "摆台一", "0")), child(good("22", "摆台二", "0"))};
    g_orderGoodsList = {album, set, child(good("11", "子相册一", "0", "33", "10", {"照片/p3.jpg"})),
                        child(good("22", "摆台二", "0", QString(), QString(), {"照片/p1.jpg"})),
                        good("3", "相框", "0", "33", "5", {"照片/p2.jpg"})};
    Image marked;
    marked.setFileName("a.jpg");
    marked.descr = "提亮";
    g_markImages = {marked};
    ImageData::getInstance()->importImage(PHOTOTYPE_FINE);
    return f;
}

OrderSheetFields TestLocalProductionSheet::wideHeaderOrder()
{
    g_sheetWideHeader = "1";
    OrderSheetFields f;
    f.shopName = "澜叶二店";
    f.orderPayForKey = "DD2";
    f.serviceTimes = "1";
    f.serviceCount = "1";
    f.babyName = "小宝";
    f.babySex = "女";
    f.babyBirthday = "2025-06-01";
    f.consumptionStatement = "另购相框一个";
    f.urgentTime = "2026-02-01";
    f.serviceTimeArray = {service({}, {"1"}, "0", "小王")};
    g_orderGoodsList = {good("1", "加急摆台", "1", "5")};
    ImageData::getInstance()->clear();
    return f;
}

QString TestLocalProductionSheet::build(Order order, int* photoTotal)
{
    const OrderSheetFields fields = order == Order::Design ? designOrder() : wideHeaderOrder();
    LocalProductionSheet sheet;
    sheet.setClock([] { return QDateTime(QDate(2026, 1, 5), QTime(9, 8, 7)); });
    return sheet.build(fields, thumbs.section("制作单缩略图", 0, 0) + "/条形码.jpg", photoTotal);
}

void TestLocalProductionSheet::goldenPages_data()
{
    QTest::addColumn<Order>("order");
    QTest::addColumn<QString>("golden");
    QTest::newRow("design order") << Order::Design << "golden/local_sheet_design.html";
    QTest::newRow("wide header") << Order::WideHeader << "golden/local_sheet_wide_header.html";
}

void TestLocalProductionSheet::goldenPages()
{
    QFETCH(Order, order);
    QFETCH(QString, golden);
    const QString page = build(order).replace(dir.path(), "$TMP");
    const QString path = QFileInfo(QString(__FILE__)).absolutePath() + "/" + golden;
    if (qEnvironmentVariableIsSet("UPDATE_GOLDEN"))
        writeFile(path, page.toUtf8());
    QCOMPARE(page, QString::fromUtf8(readFile(path)));
}

void TestLocalProductionSheet::orderHeader_data()
{
    QTest::addColumn<Order>("order");
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("absent");
    const QString cell = "    <td class=\"td_thin\" width=\"25%\"><div align=\"left\">";
    QTest::newRow("one centred cell") << Order::Design
                                      << "<tr><td colspan=\"4\" align=\"center\">订单号:   DD20260105(服务次:2/3)</td></tr>"
                                      << "宝宝姓名";
    QTest::newRow("wide header") << Order::WideHeader
                                 << "<tr>" + cell + "订单号:   DD2(服务次:1/1)</div></td>" + cell
                                        + "宝宝姓名:   小宝</div></td>" + cell + "宝宝性别:   女</div></td>" + cell
                                        + "宝宝生日:   2025-06-01</div></td></tr>"
                                 << "colspan=\"4\" align=\"center\"";
}

void TestLocalProductionSheet::orderHeader()
{
    QFETCH(Order, order);
    QFETCH(QString, present);
    QFETCH(QString, absent);
    const QString page = build(order);
    QCOMPARE(count(page, present), 1);
    QCOMPARE(count(page, absent), 0);
    // The requirement blocks appear only with a text.
    QCOMPARE(count(page, "总体要求"), order == Order::Design ? 1 : 0);
    QCOMPARE(count(page, "消费要求"), order == Order::Design ? 0 : 1);
    QCOMPARE(count(page, "调修要求"), order == Order::Design ? 1 : 0);
}

// Three pictures with marks: two in the first row, the third alone; the
// name that would climb out of the marks folder is neither copied nor shown.
void TestLocalProductionSheet::marksTable()
{
    QDir(thumbs + "marks").removeRecursively();
    const QString page = build(Order::Design);
    const QString marks = thumbs + "marks/";

    const QRegularExpression table("<table cellspacing=\"0\" cellspacing=\"10\".*?</table>", QRegularExpression::DotMatchesEverythingOption);
    const QString marksTable = table.match(page).captured(0);
    QCOMPARE(count(marksTable, "<tr>"), 2);
    QCOMPARE(count(marksTable, "</tr>"), 1);
    QVERIFY(marksTable.endsWith("</ui></td></table>"));
    QVERIFY(marksTable.contains(marks + "wide.jpg\"width=\"120\"align=\"left\">"
                                "<ui style=\"list-style-type: none;\"><li>3. 瘦脸</li><li>12. 磨皮</li></ui></td>"));
    QVERIFY(marksTable.contains(marks + "tall.jpg\"height=\"120\"align=\"left\">"
                                "<ui style=\"list-style-type: none;\"><li>短</li></ui></td></tr>"));
    QVERIFY(marksTable.contains(marks + "missing.jpg\"height=\"120\"align=\"left\">"
                                "<ui style=\"list-style-type: none;\"><li>2. 去痘</li></ui></td></table>"));
    QVERIFY(!page.contains("escape.jpg"));

    QCOMPARE(QImage(marks + "wide.jpg").size(), QSize(200, 100));
    QCOMPARE(QImage(marks + "tall.jpg").size(), QSize(100, 200));
    QVERIFY(!QFileInfo::exists(marks + "missing.jpg"));
    QVERIFY(!QFileInfo::exists(thumbs + "escape.jpg"));
    QCOMPARE(QDir(marks).entryList(QDir::Files | QDir::Hidden), QStringList({"tall.jpg", "wide.jpg"}));
}

void TestLocalProductionSheet::goodsTables()
{
    int photoTotal = -1;
    const QString page = build(Order::Design, &photoTotal);
    const QRegularExpression tables("<table class=\"thinborder\".*?</table><BR>", QRegularExpression::DotMatchesEverythingOption);
    QStringList found;
    for (auto match = tables.globalMatch(page); match.hasNext();)
        found << match.next().captured(0);
    QCOMPARE(found.size(), 3);
    const QString urgent = found[0];
    const QString normal = found[1];
    const QString unoperated = found[2];

    QVERIFY(urgent.contains("<span class=\"style4\" style=\"color:#FF0000\">加急件：选片次:1/2  选片师: "
                            "<span style=\"color:#000000\">小王</span>  2026-01-08取件</span>&nbsp;"));
    QVERIFY(normal.contains("<span class=\"style2\" style=\"color:#000000\">普通件：选片次:1/2  选片师:小王  "
                            "2026-01-15取件</span>&nbsp;"));
    QVERIFY(unoperated.contains("普通件：未操作产品2026-01-15取件"));

    // Type 33 counts pages: 20 for the album and 10 for each sub-album.
    QVERIFY(urgent.contains("产品总数:1件, 选中总张数共40张"));
    QVERIFY(normal.contains("产品总数:2件, 选中总张数共5张"));
    QCOMPARE(photoTotal, 5);
    // Every sub-good of an urgent set has a photo row; in the normal table
    // only the one that the goods list gives photos.
    QCOMPARE(count(urgent, "    <td rowspan=\"4\" style=\"height: 0px \"  /td>"), 1);
    QCOMPARE(count(normal, "    <td rowspan=\"3\" style=\"height: 0px \"  /td>"), 1);
    QCOMPARE(count(urgent, "<tr><td colspan=\"10\">"), 2);
    QCOMPARE(count(normal, "<tr><td colspan=\"10\">"), 1);
    // The refreshed sub-album brings its photo.
    QVERIFY(urgent.contains("<tr><td colspan=\"10\"><table width=\"100%\" border=\"0\" cellspacing=\"0\" "
                            "cellpadding=\"1\"><tr bgcolor=\"#FFFFFF\">    <td width=5%><div align=\"center\">"
                            "<span class=\"style3\"><img width=\"83\" src=\"file:///" + thumbs + "p3.jpg\"><br>p3.jpg"));

    // Seven photos: a row of six, then one; the tall thumbnail fits by height.
    const QRegularExpression albumGrid("<tr><td colspan=\"11\">(<table.*?</table>)</td></tr>",
                                         QRegularExpression::DotMatchesEverythingOption);
    const QString grid = albumGrid.match(urgent).captured(1);
    QCOMPARE(count(grid, "<tr bgcolor=\"#FFFFFF\">"), 2);
    QCOMPARE(count(grid, "</tr>"), 1);
    QCOMPARE(count(grid, "<img width=\"83\""), 6);
    QCOMPARE(count(grid, "<img height=\"83\" src=\"file:///" + thumbs + "p2.jpg\"><br>p2.jpg</div></td>"), 1);
    QVERIFY(grid.endsWith("p7.jpg\"><br>p7.jpg</div></td></table>"));
}

// A sub-good with photos of its own (no goods-list record) gets a photo
// row too, and the set's first cell spans it.
void TestLocalProductionSheet::setSpanCoversEveryPhotoRow()
{
    const OrderSheetFields fields = designOrder();
    g_orderGoodsList[1].children[0].photoNames = QStringList{"照片/p4.jpg"};
    const QString page = LocalProductionSheet().build(fields, QString());
    const QRegularExpression normalTable("普通件：选片次.*?</table><BR>", QRegularExpression::DotMatchesEverythingOption);
    const QString normal = normalTable.match(page).captured(0);
    QCOMPARE(count(normal, "<td rowspan=\"4\""), 1);
    QCOMPARE(count(normal, "<tr><td colspan=\"10\">"), 2);
}

// Service texts are escaped; the breaks of the overall requirements stay.
void TestLocalProductionSheet::escapedValues()
{
    OrderSheetFields fields = designOrder();
    fields.shopName = "<b>店</b>";
    fields.orderDescr = "a<BR>1 < 2 & \"3\"<BR>";
    fields.selectPhotoName = "王&李";
    fields.picsMarkArr = {{"wide.jpg", "1-2-3-4-<i>"}};
    g_orderGoodsList[0].goodName = "<script>";
    LocalProductionSheet sheet;
    const QString page = sheet.build(fields, "/out/a&b/条形码.jpg");
    QVERIFY(page.contains("<span class=\"style1\">&lt;b&gt;店&lt;/b&gt;</span>"));
    QVERIFY(page.contains("src=\"file:////out/a&amp;b/条形码.jpg\" />"));
    QVERIFY(page.contains("<td align=\"left\">a<BR>1 &lt; 2 &amp; &quot;3&quot;<BR>&nbsp;</td>"));
    QVERIFY(page.contains("选片人：王&amp;李</td>"));
    QVERIFY(page.contains("<li>3. &lt;i&gt;</li>"));
    QVERIFY(page.contains("<span class=\"style2\">&lt;script&gt;</span>"));
    QVERIFY(!page.contains("<script>"));
}

// The design tool offers the sheet for the order its last detail reply
// described: before any reply, a page of empty fields.
void TestLocalProductionSheet::searchOrderBuildsFromItsFields()
{
    RecordedEnvironment env;
    SearchOrder window;
    const QString page = window.getHTMLString();
    const QString expected = LocalProductionSheet().build(window.orderSheetFields(), QString());
    const QString footer = "<p align=\"right\">";
    QCOMPARE(page.section(footer, 0, 0), expected.section(footer, 0, 0));
    QVERIFY(page.contains("订单号:   (服务次:/)"));
    QVERIFY(page.endsWith("</p></div></body></HTML>"));
}

QTEST_MAIN(TestLocalProductionSheet)
#include "tst_localproductionsheet.moc"
