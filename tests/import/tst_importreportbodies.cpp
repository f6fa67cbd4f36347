#include "core/Globals.h"
#include "import/ImportReports.h"
#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"

#include <QJsonObject>
#include <QtTest>

// The bytes of the three import reports, without a window or a service.
class TestImportReportBodies : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void finishInfo_data();
    void finishInfo();
    void videoList();
    void lyraInfo();

private:
    static QJsonObject orderJson(const QString& path, const QString& bakPath);
};

void TestImportReportBodies::initTestCase()
{
    g_superId = QStringLiteral("S1");
    g_eid = QStringLiteral("E2");
    g_shopId = QStringLiteral("12");
}

QJsonObject TestImportReportBodies::orderJson(const QString& path, const QString& bakPath)
{
    return {{"order_photo_id", "77"},
            {"orderpayforkey", "K9"},
            {"servicetimes", "2"},
            {"orderpath", path},
            {"orderbakpicpath", bakPath},
            {"picpathnew", QJsonObject{{"picpath", "D:/pic/"}, {"bakpicpath", "E:/bak/"}}}};
}

void TestImportReportBodies::finishInfo_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("bakPath");
    QTest::addColumn<QByteArray>("tail");

    const QByteArray head = "picnumber=3&picbacknumber=2&importype=1&token=" + ACCESS_TOKEN.toUtf8()
                            + "&order_photo_id=77";
    QTest::newRow("finished") << int(importOrdersPhotoDlg::TypeFinished) << "D:/pic/K9/" << "E:/bak/K9/"
                              << head + "&orderpicpath=D:/pic/K9/&orderbakpicpath=E:/bak/K9/"
                                        "&superid=S1&eid=E2&shopid=12&timestamp=1700&typeid=1";
    QTest::newRow("outside the roots") << int(importOrdersPhotoDlg::TypeOriginal) << "C:/elsewhere/K9/"
                                       << "E:/bak/K9/"
                                       << head + "&orderpicpath=&orderbakpicpath=E:/bak/K9/"
                                                 "&superid=S1&eid=E2&shopid=12&timestamp=1700&typeid=0";
    QTest::newRow("climbing out of the root") << int(importOrdersPhotoDlg::TypeOriginal) << "D:/pic/../K9/"
                                              << "E:/bak/K9/"
                                              << head + "&orderpicpath=&orderbakpicpath=E:/bak/K9/"
                                                        "&superid=S1&eid=E2&shopid=12&timestamp=1700&typeid=0";
    QTest::newRow("trial videos") << int(importOrdersPhotoDlg::TypeTrialVideo) << "D:/pic/K9/" << "E:/bak/K9/"
                                  << head + "&orderpicpath=D:/pic/K9/&orderbakpicpath=E:/bak/K9/"
                                            "&superid=S1&eid=E2&shopid=12&timestamp=1700"
                                            "&videopaths=D:/pic/K9/试拍视频/a.mp4|D:/pic/K9/试拍视频/b c.avi"
                                            "&videofiles=a.mp4|b c.avi&typeid=3";
    QTest::newRow("lyra") << int(importOrdersPhotoDlg::TypeLyra) << "D:/pic/K9/" << "E:/bak/K9/"
                          << head + "&orderpicpath=D:/pic/K9/&orderbakpicpath=E:/bak/K9/"
                                    "&superid=S1&eid=E2&shopid=12&timestamp=1700";
}

void TestImportReportBodies::finishInfo()
{
    QFETCH(int, type);
    QFETCH(QString, path);
    QFETCH(QString, bakPath);
    QFETCH(QByteArray, tail);
    ImportOrderModel order(orderJson(path, bakPath), nullptr);
    order.setSelectedFiles(importOrdersPhotoDlg::TypeTrialVideo, {"/shots/a.mp4", "/shots/b c.avi"});
    QCOMPARE(QString::fromUtf8(ImportReports::finishInfo(&order, type, "1", 3, 2, "1700")), QString::fromUtf8(tail));
}

void TestImportReportBodies::videoList()
{
    ImportOrderModel order(orderJson("D:/pic/K9/", "E:/bak/K9/"), nullptr);
    QCOMPARE(QString::fromUtf8(ImportReports::videoList(&order, importOrdersPhotoDlg::TypeRetouchedVideo, "a.mp4",
                                                        "/srv/K9/精修视频/a.mp4", "1700")),
             QString("&timestamp=1700&videopaths=/srv/K9/精修视频/a.mp4&videofiles=a.mp4&shopid=12"
                     "&order_photo_id=77&superid=S1&eid=E2&token=")
                 + ACCESS_TOKEN + "&typeid=4");
}

void TestImportReportBodies::lyraInfo()
{
    ImportOrderModel order(orderJson("", ""), nullptr);
    QCOMPARE(ImportReports::lyraInfo(&order, "\\\\nas\\选版服务器\\K9"),
             QByteArray("&token=9e4a7c2f0b8d3e61a5c9f2d07b4e8a13&orderphotoid=77"
                        "&lyrapath=%5C%5Cnas%5C%E9%80%89%E7%89%88%E6%9C%8D%E5%8A%A1%E5%99%A8%5CK9"
                        "&superid=S1&eid=E2&shopid=12"));
}

QTEST_GUILESS_MAIN(TestImportReportBodies)
#include "tst_importreportbodies.moc"
