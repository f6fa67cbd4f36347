#include "files/OrderFolders.h"
#include "separation/BarCodeDownload.h"
#include "Platform.h"
#include "Routes.h"
#include "support/SeparationRunFixture.h"

#include <QImageReader>
#include <QTextEdit>
#include <QJsonDocument>
#include <QUrl>

Q_DECLARE_METATYPE(Response)

namespace {

QByteArray enc(const QString& text)
{
    return QUrl::toPercentEncoding(text);
}

// An "orderdetail" reply with the given order keys, one picture with marks.
Response detailReply(const QJsonObject& order)
{
    const QJsonArray marks{QJsonObject{{"picname", "A.jpg"}, {"mark", QJsonArray{"1-0-1-0-瘦脸"}}}};
    return Response::success({{"order", order},
                              {"orderpicdescr", marks},
                              {"servicetime", QJsonArray{QJsonObject{{"role12name", "何选片"}}}},
                              {"count_order_sample_infoservicetimes", "2"}});
}

} // namespace

// The order sheet material of a design separation run: bar code, picture
// information, sheet thumbnails and the order detail.
class TestOrderSheet : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void requestsAndMaterial();
    void emptyPictureLists();
    void barCodeFaultsLeaveNoFile_data();
    void barCodeFaultsLeaveNoFile();
    void missingBarCodeIsListed_data();
    void missingBarCodeIsListed();
    void rerunHidesTheEarlierBarCode();
    void closedWindowDropsItsDownload();
    void lateBarCodeKeepsToItsOrder();
    void failedRepliesStopAndRetry_data();
    void failedRepliesStopAndRetry();
    void sheetFieldsPerOrder();

private:
    bool downloadsDone() const { return f->window->findChildren<BarCodeDownload*>().isEmpty(); }
    QString summaryText() const;

    std::unique_ptr<SeparationRunFixture> f;
};

void TestOrderSheet::init()
{
    f.reset(new SeparationRunFixture);
    QVERIFY(f->env->listening);
}

void TestOrderSheet::cleanup()
{
    f.reset();
    QVERIFY(!SeparationBusy::isBusy());
}

// The demo order's summary: its missing photo and empty products, then the
// record of its copies, which names a missing bar code.
const QString kDemoOrderSummary = "订单LY20240518:\n不存在的照片:精修相册:X.jpg\n空产品:摆台、豪华套装\n\n";

QString TestOrderSheet::summaryText() const
{
    const QList<QDialog*> open = SeparationRunFixture::summaries();
    return open.size() == 1 ? open.first()->findChild<QTextEdit*>("textEdit")->toPlainText() : QString();
}

void TestOrderSheet::requestsAndMaterial()
{
    const QString order = f->orderPath("90002");
    DemoPhotos::samplePicture(120, 80, 3).save(order + "成品/新 照.jpg", "JPEG");
    DemoPhotos::samplePicture(120, 80, 4).save(order + "设计/设 计.jpg", "JPEG");
    DemoPhotos::samplePicture(60, 40, 4).save(order + "设计缩略图100/设 计.jpg", "JPEG");
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QTRY_VERIFY(downloadsDone());

    const RecordedRequest barCode = f->env->service->last("order/getbarcodegen");
    QCOMPARE(barCode.method, QByteArray("GET"));
    QCOMPARE(f->env->service->baseUrl() + QString::fromUtf8(barCode.target),
             URL_ORDER_GETBARCODEGEN + "&order_photo_id=90002&shopid=12&superid=3"
                 + "&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8");
    const QString work = f->workFolder();
    QCOMPARE(readFile(work + "条形码.jpg"), demoBarCode("90002"));
    QVERIFY(!Platform::instance().isHidden(work + "条形码.jpg"));

    // Names encoded one by one, joined by a raw "，"; the bar code's path keeps its "//".
    const QByteArray comma = QString("，").toUtf8();
    QCOMPARE(f->env->service->last("order/getorderpic").body,
             "token=" + ACCESS_TOKEN.toUtf8() + "&order_photo_id=90002&shopid=12&superid=3&companyid=3&uid=501"
                 + "&qrcodepath=" + enc(work + "/条形码.jpg") + "&imgpath=" + enc(work) + "&cpimgs=A.jpg" + comma
                 + "B.jpg" + comma + "C.jpg" + comma + "%E6%96%B0%20%E7%85%A7.jpg" + "&sjimgs=S1.jpg" + comma
                 + "%E8%AE%BE%20%E8%AE%A1.jpg");
    QVERIFY(f->env->service->last("order/getorderpic").body.contains("%2F%2F%E6%9D%A1"));
    QVERIFY(f->env->service->last("order/getorderpic").body.contains("%2F&cpimgs="));
    QCOMPARE(f->env->service->last("order/orderdetail").body,
             "token=" + ACCESS_TOKEN.toUtf8()
                 + "&order_photo_id=90002&shopid=12&superid=3&eid=501&uid=1001&personid=501");

    // One 88-pixel thumbnail per finished photo in the hidden sheet folder;
    // its marks/ holds the pictures with marks only (B.jpg has none).
    const QString sheet = work + "制作单缩略图/";
    QVERIFY(Platform::instance().isHidden(work + "制作单缩略图"));
    QCOMPARE(QDir(sheet).entryList(QDir::Files), (QStringList{"A.jpg", "B.jpg", "C.jpg", "新 照.jpg"}));
    for (const QString& name : QDir(sheet).entryList(QDir::Files))
        QCOMPARE(QImageReader(sheet + name).size(), QSize(88, 88));
    QCOMPARE(QDir(sheet + "marks").entryList(QDir::Files), QStringList{"A.jpg"});
    QCOMPARE(QImageReader(sheet + "marks/A.jpg").size(), QImageReader(order + "marks/A.jpg").size());
    QVERIFY(f->window->separateMessages().last().failedCopies.isEmpty());
}

void TestOrderSheet::emptyPictureLists()
{
    const QString order = f->orderPath("90002");
    for (const QString& folder : {"成品", "设计"})
        QVERIFY(QDir(order + folder).removeRecursively());
    // The service names a picture with marks that the order's marks/ lacks.
    f->env->service->script("order/orderdetail",
                            Response::success({{"orderpicdescr", QJsonArray{QJsonObject{
                                                   {"picname", "gone.jpg"}, {"mark", QJsonArray{"x"}}}}}}));
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QVERIFY(f->env->service->last("order/getorderpic").body.endsWith("&cpimgs=&sjimgs="));
    QCOMPARE(f->env->service->count("order/orderdetail"), 1);
    QCOMPARE(QDir(f->workFolder() + "制作单缩略图").entryList(QDir::Files), QStringList{});
    // A marked picture the order no longer holds is no failure of the run.
    QVERIFY(f->window->separateMessages().last().failedCopies.isEmpty());
    QVERIFY(f->env->dialogs.boxes.isEmpty());
    QTRY_VERIFY(downloadsDone());
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), QString("提示:   分件成功!"));
}

void TestOrderSheet::barCodeFaultsLeaveNoFile_data()
{
    QTest::addColumn<Response>("reply");
    QTest::newRow("HTTP 500") << Response::httpError(500);
    QTest::newRow("cut short") << Response::truncated(demoBarCode("90002"), demoBarCode("90002").size() + 500);
    QTest::newRow("closed without reply") << Response::closeWithoutReply();
}

void TestOrderSheet::barCodeFaultsLeaveNoFile()
{
    QFETCH(Response, reply);
    f->env->service->script("order/getbarcodegen", reply);
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QTRY_VERIFY(downloadsDone());
    // Neither the name nor a temporary file; the run went on without a box.
    const QStringList files = QDir(f->workFolder()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(files, (QStringList{".hidden", "快递产品信息.pdf", "明细制作单.html"}));
    QCOMPARE(f->env->service->count("order/orderdetail"), 1);
    QVERIFY(f->env->dialogs.boxes.isEmpty());
    QCOMPARE(summaryText(), kDemoOrderSummary + "订单LY20240518:\n条形码未能下载\n\n");
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), QString("提示:   分件未全部完成"));
}

void TestOrderSheet::missingBarCodeIsListed_data()
{
    QTest::addColumn<Response>("reply");
    QTest::addColumn<bool>("folderInItsPlace");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("title");
    const Response barCode = Response::raw(demoBarCode("90002"), "image/jpeg");
    QTest::newRow("arrived") << barCode << false << QString() << "提示:   分件成功!";
    QTest::newRow("still on its way") << barCode.delayed(3000) << false << "订单LY20240518:\n条形码未能下载\n\n"
                                      << "提示:   分件未全部完成";
    QTest::newRow("folder in its place") << barCode << true << "订单LY20240518:\n条形码未能下载\n\n"
                                         << "提示:   分件未全部完成";
}

// The summary names an order whose bar code failed or has not come by the
// end of the run, which never waits for it.
void TestOrderSheet::missingBarCodeIsListed()
{
    QFETCH(Response, reply);
    QFETCH(bool, folderInItsPlace);
    QFETCH(QString, listed);
    QFETCH(QString, title);
    f->env->service->script("order/getbarcodegen", reply);
    if (folderInItsPlace)
        QVERIFY(QDir().mkpath(f->workFolder() + "条形码.jpg/kept"));
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(summaryText(), kDemoOrderSummary + listed);
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), title);
    QVERIFY(f->env->dialogs.boxes.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(downloadsDone(), 10000);
}

void TestOrderSheet::rerunHidesTheEarlierBarCode()
{
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QTRY_VERIFY(downloadsDone());
    const QString barCode = f->workFolder() + "条形码.jpg";
    QVERIFY(!Platform::instance().isHidden(barCode));
    f->start();
    QVERIFY(f->waitForIdle());
    QTRY_VERIFY(downloadsDone());
    QVERIFY(Platform::instance().isHidden(barCode));
    QCOMPARE(readFile(barCode), demoBarCode("90002"));
}

void TestOrderSheet::closedWindowDropsItsDownload()
{
    f->env->service->script("order/getbarcodegen", Response::raw(demoBarCode("90002"), "image/jpeg").delayed(1000));
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    f->window->close();
    f->driver.reset();
    f->window.reset();
    QTest::qWait(1300);
    QCOMPARE(QDir(f->workFolder()).entryList({"*.jpg", ".*.part"}, QDir::Files | QDir::Hidden), QStringList{});
}

void TestOrderSheet::lateBarCodeKeepsToItsOrder()
{
    // The first order's bar code comes long after the second order began.
    f->env->service->setHandler("order/getbarcodegen", [](const RecordedRequest& request) {
        const QString id = request.queryValue("order_photo_id");
        const Response reply = Response::raw(demoBarCode(id), "image/jpeg");
        return id == "90002" ? reply.delayed(4000) : reply;
    });
    QVERIFY(f->tickOrders({"LY20240518", "LY20231202"}));
    f->start();
    QVERIFY(f->waitForIdle());
    const QString first = f->workFolder() + "条形码.jpg";
    const QString second = f->workFolder("LY20231202-服务1 黄丽-郑凯 部分") + "条形码.jpg";
    QCOMPARE(f->env->service->count("order/orderdetail"), 2);
    QVERIFY(!QFileInfo::exists(first));
    QTRY_VERIFY_WITH_TIMEOUT(downloadsDone(), 10000);
    QCOMPARE(readFile(first), demoBarCode("90002"));
    QCOMPARE(readFile(second), demoBarCode("90006"));
}

void TestOrderSheet::failedRepliesStopAndRetry_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<Response>("reply");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("picture information: HTTP 500")
        << "order/getorderpic" << Response::httpError(500) << QStringList{"网络请求错误\n500"};
    QTest::newRow("picture information: code 0")
        << "order/getorderpic" << Response::failure("x") << QStringList{"查询裁剪信息错误：0"};
    QTest::newRow("picture information: not JSON") << "order/getorderpic" << Response::raw("[1]") << QStringList{};
    QTest::newRow("order detail: HTTP 500")
        << "order/orderdetail" << Response::httpError(500) << QStringList{"网络请求错误\n500"};
    QTest::newRow("order detail: code 0")
        << "order/orderdetail" << Response::failure("x") << QStringList{"查询订单信息错误：0"};
    QTest::newRow("order detail: not JSON") << "order/orderdetail" << Response::raw("oops") << QStringList{};
}

void TestOrderSheet::failedRepliesStopAndRetry()
{
    QFETCH(QString, route);
    QFETCH(Response, reply);
    QFETCH(QStringList, boxes);
    QVERIFY(f->findOrders("LY20240518", 1));
    f->env->service->script(route, reply);
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->dialogs.texts(), boxes);
    for (const DialogRecorder::Box& box : f->env->dialogs.boxes)
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(f->env->service->count("order/orderdetail"), route == "order/orderdetail" ? 1 : 0);
    QVERIFY(!QFileInfo::exists(f->workFolder() + "明细制作单.html"));
    QVERIFY(!QFileInfo::exists(f->workFolder() + "快递产品信息.pdf"));
    QVERIFY(f->summaries().isEmpty());

    // The stopped order is taken again by the next press.
    f->env->service->clearScripts();
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->service->count("order/ordergoods20230521"), 2);
    QCOMPARE(f->env->service->count("order/orderdetail"), route == "order/orderdetail" ? 2 : 1);
}

void TestOrderSheet::sheetFieldsPerOrder()
{
    // The second order's detail is late: between the two, the fields show
    // what the reset left.
    f->env->service->setHandler("order/orderdetail", [](const RecordedRequest& request) {
        if (request.value("order_photo_id") == "90002")
            return detailReply({{"shopname", "澜叶旗舰店"}, {"sheji", "钱设计"}, {"role1", "陈摄影"},
                                {"samplestarttime", "10"}, {"samplestartmin", "30"},
                                {"provinceid", QJsonObject{{"areaname", "浙江省"}}}, {"address", "文三路1号"},
                                {"kanbanarea", QJsonObject{{"timeTxt", ":00"}}}, {"orderdescr", "暖\r\n白"}});
        return detailReply({{"shopname", "澜叶二店"}, {"mname", "郑凯"}, {"samplestarttime", "9"}})
            .delayed(800);
    });
    QVERIFY(f->tickOrders({"LY20240518", "LY20231202"}));
    f->start();
    QTRY_COMPARE(f->env->service->count("order/orderdetail"), 2);
    const OrderSheetFields& sheet = f->window->orderSheetFields();
    QCOMPARE(sheet.shopName, QString());
    QCOMPARE(sheet.orderPayForKey, QString());
    QCOMPARE(sheet.selectPhotoName, QString());
    QCOMPARE(sheet.designer, QString("钱设计"));
    QCOMPARE(sheet.selectTime, QString("10:30"));
    QCOMPARE(sheet.orderDescr, QString("暖\r<BR>白"));

    QVERIFY(f->waitForIdle());
    QCOMPARE(sheet.shopName, QString("澜叶二店"));
    QCOMPARE(sheet.manName, QString("郑凯"));
    QCOMPARE(sheet.orderPayForKey, QString("LY20231202"));
    QCOMPARE(sheet.serviceTimes, QString("1"));
    QCOMPARE(sheet.selectPhotoName, QString("郭选片"));
    // Nothing of the first customer stays.
    QCOMPARE(sheet.designer, QString());
    QCOMPARE(sheet.selectTime, QString());
    QCOMPARE(sheet.orderDescr, QString());
    QCOMPARE(sheet.picsMarkArr, (QList<QStringList>{{"A.jpg", "1-0-1-0-瘦脸"}}));
    QCOMPARE(sheet.sampleInfoServiceTimes, QString("2"));
}

QTEST_MAIN(TestOrderSheet)
#include "tst_ordersheet.moc"
