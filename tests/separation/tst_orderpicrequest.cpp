#include "core/Globals.h"
#include "separation/OrderPicRequest.h"

#include <QtTest>

class TestOrderPicRequest : public QObject
{
    Q_OBJECT
private slots:
    void bodies_data();
    void bodies();
};

void TestOrderPicRequest::bodies_data()
{
    QTest::addColumn<bool>("afterSample");
    QTest::addColumn<QStringList>("fine");
    QTest::addColumn<QStringList>("design");
    QTest::addColumn<QByteArray>("tail");
    const QByteArray comma = QString("，").toUtf8();
    QTest::newRow("design") << false << QStringList{"A.jpg", "a b~_-.jpg", "照&片=1+.jpg"}
                            << QStringList{"S1.jpg"}
                            << "&cpimgs=A.jpg" + comma + "a%20b~_-.jpg" + comma
                                   + "%E7%85%A7%26%E7%89%87%3D1%2B.jpg&sjimgs=S1.jpg";
    QTest::newRow("design, no pictures") << false << QStringList{} << QStringList{}
                                         << QByteArray("&cpimgs=&sjimgs=");
    QTest::newRow("after sample") << true << QStringList{"A.jpg", "B.jpg"} << QStringList{"S1.jpg"}
                                  << "&cpimgs=A.jpg" + comma + "B.jpg&isyhfj=1";
}

void TestOrderPicRequest::bodies()
{
    QFETCH(bool, afterSample);
    QFETCH(QStringList, fine);
    QFETCH(QStringList, design);
    QFETCH(QByteArray, tail);
    g_curOrderPhotoId = "90002";
    g_shopId = "12";
    g_superId = "3";
    g_eid = "501";
    g_uid = "1001";
    OrderPicRequest request;
    request.barPath = "D:\\分件/2024-06-01/LY 1/其它//条形码.jpg";
    request.imagePath = "D:\\分件/2024-06-01/LY 1/其它/";
    request.fineImages = fine;
    request.designImages = design;
    request.withDesignImages = !afterSample;
    request.afterSample = afterSample;
    QCOMPARE(request.body(),
             "token=" + ACCESS_TOKEN.toUtf8()
                 + "&order_photo_id=90002&shopid=12&superid=3&companyid=3&uid=501&qrcodepath="
                   "D%3A%5C%E5%88%86%E4%BB%B6%2F2024-06-01%2FLY%201%2F%E5%85%B6%E5%AE%83%2F%2F"
                   "%E6%9D%A1%E5%BD%A2%E7%A0%81.jpg&imgpath="
                   "D%3A%5C%E5%88%86%E4%BB%B6%2F2024-06-01%2FLY%201%2F%E5%85%B6%E5%AE%83%2F"
                 + tail);
}

QTEST_GUILESS_MAIN(TestOrderPicRequest)
#include "tst_orderpicrequest.moc"
