#include "separation/ExpressHtml.h"

#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {

const QDateTime kPrintTime(QDate(2024, 6, 1), QTime(8, 9, 10));

QJsonObject fixtureReply()
{
    QJsonParseError error;
    const QJsonObject reply =
        QJsonDocument::fromJson(readFile(fixturePath("express/ordergoods20230521.json")), &error).object();
    if (error.error != QJsonParseError::NoError)
        qWarning() << "fixture reply:" << error.errorString();
    return reply;
}

// The golden page holds one or a few fragments per line, for reading against
// the sheet's layout; the page itself has no line breaks.
QString goldenPage()
{
    return QString::fromUtf8(readFile(fixturePath("express/express_sheet.html"))).remove(QLatin1Char('\n'));
}

QJsonObject courierGood(const QString& name, const QString& urgent, const QString& addressId = "20")
{
    return QJsonObject{{"goodname", name},
                       {"goodtypename", "册类"},
                       {"goodamount", "1"},
                       {"goodpnumber", "30"},
                       {"parentid", "0"},
                       {"isems", "1"},
                       {"isurgent", urgent},
                       {"orderaddress", QJsonObject{{"id", addressId}, {"name", "王五"}}}};
}

QJsonObject replyOf(const QJsonArray& goods, const QString& urgentTime, const QString& pickupTime)
{
    return QJsonObject{
        {"order", QJsonObject{{"ordergoods0", goods}, {"isurgenttime", urgentTime}, {"pickuptime", pickupTime}}}};
}

QString pageOf(const QJsonObject& reply)
{
    ExpressHtml html;
    html.setClock([] { return kPrintTime; });
    return html.getExpressHtml(reply);
}

const QString kPickupLineOpen =
    QStringLiteral("<tr><td colspan=\"6\"><span class=\"style2\"><font color=\"#000000\">普通件：");
const QString kPickupLineClose = QStringLiteral("</span>&nbsp;</td></tr>");
const QString kLastRowEnd = QStringLiteral("  </tr><tr><td><div align=\"center\">总计</div></td>");
const QString kOrderBlockEnd = QStringLiteral("</table></td></tr></table><BR>");
const QString kClosingStart =
    QStringLiteral("<BR><BR><table width=\"100%\"  border=\"0\" cellspacing=\"0\" cellpadding=\"1\">");

// The text of the page from `open` up to and including the next `close`.
QString section(const QString& page, const QString& open, const QString& close)
{
    const int start = page.indexOf(open);
    if (start < 0)
        return QString();
    const int end = page.indexOf(close, start + open.size());
    return end < 0 ? QString() : page.mid(start, end + close.size() - start);
}

} // namespace

class TestExpressHtml : public QObject
{
    Q_OBJECT

private slots:
    void goldenPage();
    void pickupDates_data();
    void pickupDates();
    void withoutCourierGoods();
    void replyWithoutOrder();
    void valuesAreEscaped();
    void largeReplyKeepsItsOrder();
};

void TestExpressHtml::goldenPage()
{
    const QJsonObject reply = fixtureReply();
    QVERIFY(!reply.isEmpty());

    ExpressHtml html;
    html.setClock([] { return kPrintTime; });
    const QString first = html.getExpressHtml(reply);
    QCOMPARE(first, ::goldenPage());
    // The groups start empty on every call.
    QCOMPARE(html.getExpressHtml(reply), first);
}

void TestExpressHtml::pickupDates_data()
{
    QTest::addColumn<QString>("urgent");
    QTest::addColumn<QString>("urgentTime");
    QTest::addColumn<QString>("pickupTime");
    QTest::addColumn<QString>("pickupLine");
    QTest::addColumn<QString>("dateCell");

    const QString urgentCell = QStringLiteral(
        "    <td align=\"center\"><span class=\"style2\"><font color=\"#DC143C\">%1</font></span></td>");
    const QString ordinaryCell = QStringLiteral("    <td align=\"center\">%1</td>");

    QTest::newRow("urgent") << "1" << "2024-06-10" << "2024-06-20"
                            << kPickupLineOpen + "2024-06-20取件</font>     <font color=\"#DC143C\">加急件：2024-06-10取件"
                                                 "</font>" + kPickupLineClose
                            << urgentCell.arg("2024-06-10");
    QTest::newRow("urgent without urgent date") << "1" << "" << "2024-06-20"
                                                << kPickupLineOpen + "2024-06-20取件</font>" + kPickupLineClose
                                                << urgentCell.arg("");
    QTest::newRow("ordinary with urgent date") << "0" << "2024-06-10" << "2024-06-20"
                                               << kPickupLineOpen + "2024-06-20取件</font>" + kPickupLineClose
                                               << ordinaryCell.arg("2024-06-20");
    QTest::newRow("no pickup date") << "0" << "2024-06-10" << "1970-01-01"
                                    << kPickupLineOpen + "</font>" + kPickupLineClose
                                    << ordinaryCell.arg("1970-01-01");
    QTest::newRow("empty pickup date") << "" << "" << "" << kPickupLineOpen + "</font>" + kPickupLineClose
                                       << ordinaryCell.arg("");
}

void TestExpressHtml::pickupDates()
{
    QFETCH(QString, urgent);
    QFETCH(QString, urgentTime);
    QFETCH(QString, pickupTime);
    QFETCH(QString, pickupLine);
    QFETCH(QString, dateCell);

    const QString page = pageOf(replyOf({courierGood("相册", urgent)}, urgentTime, pickupTime));
    QCOMPARE(section(page, kPickupLineOpen, kPickupLineClose), pickupLine);
    QVERIFY2(page.contains(dateCell + kLastRowEnd), qPrintable(page));
}

void TestExpressHtml::withoutCourierGoods()
{
    QJsonObject selfPickup = courierGood("相册", "1");
    selfPickup.insert("isems", "0");
    QJsonObject set = courierGood("套装", "0");
    set.insert("isexist", "1");
    QJsonObject child = courierGood("相框", "0");
    child.insert("isems", "2");
    set.insert("son_good", QJsonArray{child});

    const QString page = pageOf(replyOf({selfPickup, set}, "2024-06-10", "2024-06-20"));
    QVERIFY(!page.contains("快递信息"));
    QVERIFY2(page.contains(kOrderBlockEnd + kClosingStart), qPrintable(page));
}

void TestExpressHtml::replyWithoutOrder()
{
    const QString page = pageOf(QJsonObject{{"code", "1"}});
    const QString golden = ::goldenPage();

    // The golden page up to the order number, with every value empty, then the closing part.
    const QString head = golden.left(golden.indexOf("选片师姓名：") + QString("选片师姓名：").size());
    const QString expected = head +
        "</td>  </tr></table></div></td></tr></table></p><BR>"
        "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td align=\"center\">"
        "<table width=\"100%\" border=\"1\" align=\"center\" cellpadding=\"0\" cellspacing=\"0\">  <tr>"
        "    <td><div align=\"left\" >订单号</div></td>    <td><div align=\"left\" >-</div></td>"
        "    <td><div align=\"left\" >客人姓名</div></td>    <td><div align=\"left\" >/</div></td>"
        "    <td><div align=\"left\" >客人电话</div></td>    <td><div align=\"left\" >/</div></td>"
        "  </tr>" + kOrderBlockEnd + golden.mid(golden.indexOf(kClosingStart));
    QCOMPARE(page, expected);
}

void TestExpressHtml::valuesAreEscaped()
{
    QJsonObject good = courierGood("<i>框&架", "0");
    good.insert("orderaddress", QJsonObject{{"id", "20"}, {"name", "<b>&"}, {"address", "路<1>号"}});
    QJsonObject reply = replyOf({good}, "", "2024-06-20");
    reply.insert("order_info", QJsonObject{{"wname", "李&四"}, {"orderpayforkey", "A<1"}});

    const QString page = pageOf(reply);
    QVERIFY(page.contains("联系人: <span style=\"color: #0000FF\">&lt;b&gt;&amp;</span>"));
    QVERIFY(page.contains("地址： <span style=\"color: #0000FF\">路&lt;1&gt;号</span>"));
    QVERIFY(page.contains("    <td align=\"left\">&lt;i&gt;框&amp;架</td>"));
    QVERIFY(page.contains(">李&amp;四/</div>"));
    QVERIFY(page.contains(">A&lt;1-</div>"));
    QVERIFY(!page.contains("<b>"));
    QVERIFY(!page.contains("<i>"));
}

// A large reply is read in slices side by side: each address still lists
// its goods in reply order, numbered on across the slices.
void TestExpressHtml::largeReplyKeepsItsOrder()
{
    const int count = 2500;
    QJsonArray goods;
    for (int i = 0; i < count; ++i)
        goods.append(courierGood(QString("G%1").arg(i), "0", i % 2 == 0 ? "20" : "21"));
    const QString page = pageOf(replyOf(goods, "", "2024-06-20"));

    int from = 0;
    for (int address = 0; address < 2; ++address) {
        for (int row = 1; row <= count / 2; ++row) {
            const QString cells = QString("<td align=\"center\">%1</td>    <td align=\"left\">G%2</td>")
                                      .arg(row)
                                      .arg(2 * (row - 1) + address);
            const int at = page.indexOf(cells, from);
            QVERIFY2(at > from, qPrintable(cells));
            from = at;
        }
        const int total = page.indexOf(QString("产品总数:%1件").arg(count / 2), from);
        QVERIFY(total > from);
        from = total;
    }
}

QTEST_MAIN(TestExpressHtml)
#include "tst_expresshtml.moc"
