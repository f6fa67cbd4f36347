#include "support/AfterSampleRunFixture.h"

#include <QUrl>
#include <QtTest>

// The sheet stages of an after-sample run against the stand-in service: the
// bar code, the picture information, the order detail and the sheet files,
// their failures, and the demo orders.
class TestAfterSampleSheets : public AfterSampleRunFixture
{
    Q_OBJECT
private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }
    void requestsOfAnOrder();
    void orderWithoutFinishedImages();
    void failedRepliesStopTheOrder_data();
    void failedRepliesStopTheOrder();
    void unopenableHtml();
    void failedBarCodeLeavesNoFile_data();
    void failedBarCodeLeavesNoFile();
    void missingBarCodeIsListed_data();
    void missingBarCodeIsListed();
    void lateBarCodeStaysWithItsOrder();
    void unwrittenSheetThumbnailsAreListed();
    void demoOrders();
};

void TestAfterSampleSheets::requestsOfAnOrder()
{
    const QString order = orderFolder("LY1");
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());

    const RecordedRequest bar = env->service->last("order/getbarcodegen");
    QCOMPARE(bar.method, QByteArray("GET"));
    QCOMPARE(env->service->baseUrl() + QString::fromUtf8(bar.target),
             URL_ORDER_GETBARCODEGEN + "&order_photo_id=LY1-id&shopid=12&superid=3&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8");

    // The bar path holds two separators before its name; the names are
    // encoded one by one and joined by a raw "，"; no "sjimgs".
    const RecordedRequest pictures = env->service->last("order/getorderpic");
    QCOMPARE(pictures.body, token() + "&order_photo_id=LY1-id&shopid=12&superid=3&companyid=3&uid=501&qrcodepath="
                 + QUrl::toPercentEncoding(order + "/") + "%2F%E6%9D%A1%E5%BD%A2%E7%A0%81.jpg&imgpath="
                 + QUrl::toPercentEncoding(order + "/") + "&cpimgs=a%20b.jpg，C.jpg，%E8%8A%B1.jpg&isyhfj=1");
    QVERIFY(pictures.body.contains("%2F%2F%E6%9D%A1"));
    QCOMPARE(pictures.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));

    const RecordedRequest detail = env->service->last("order/orderdetail");
    QCOMPARE(detail.body, token() + "&order_photo_id=LY1-id&shopid=12&superid=3&eid=501&uid=1001&personid=501");
    QCOMPARE(detail.header("Content-Length"), QByteArray::number(detail.body.size()));
}

void TestAfterSampleSheets::orderWithoutFinishedImages()
{
    const QString server = env->workDir.path() + "/server/LY1/";
    QVERIFY(QDir().mkpath(server + "成品"));
    findAndTick({row("LY1", "王强-李娜", server)});
    start();
    QVERIFY(waitForIdle());
    QVERIFY(env->service->last("order/getorderpic").body.endsWith("&cpimgs=&isyhfj=1"));
    QCOMPARE(summaryText(), QString("分件成功!"));
}

void TestAfterSampleSheets::failedRepliesStopTheOrder_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("pictures, http 500") << "order/getorderpic" << 0 << QStringList{"网络请求错误\n500"};
    QTest::newRow("pictures, code 0") << "order/getorderpic" << 1 << QStringList{"查询裁剪信息错误：0"};
    QTest::newRow("pictures, not json") << "order/getorderpic" << 3 << QStringList{};
    QTest::newRow("detail, http 500") << "order/orderdetail" << 0 << QStringList{"网络请求错误\n500"};
    QTest::newRow("detail, numeric code") << "order/orderdetail" << 2 << QStringList{"查询订单信息错误："};
    QTest::newRow("detail, not json") << "order/orderdetail" << 3 << QStringList{};
}

// Each stops the run at the order, writes no sheet for it and shows no
// summary; the next start separates the order again.
void TestAfterSampleSheets::failedRepliesStopTheOrder()
{
    QFETCH(QString, route);
    QFETCH(int, fault);
    QFETCH(QStringList, texts);
    const QList<Response> faults = {Response::httpError(500), Response::failure("不行"),
                                    Response::json({{"code", 1}}), Response::raw("oops")};
    findAndTick({row("LY1")});
    env->service->script(route, faults.at(fault));
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.texts(), texts);
    for (const DialogRecorder::Box& box : qAsConst(env->dialogs.boxes))
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!QFileInfo::exists(orderFolder("LY1") + "/明细制作单.html"));
    QVERIFY(!QFileInfo::exists(orderFolder("LY1") + "/快递产品信息.pdf"));
    QVERIFY(SeparationRunFixture::summaries().isEmpty());

    scriptReplies();
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);
    QVERIFY(QFileInfo::exists(orderFolder("LY1") + "/明细制作单.html"));
    QCOMPARE(summaryText(), QString("分件成功!"));
}

// A sheet that cannot be written shows the box of its own, the run goes on
// and the summary lists the file.
void TestAfterSampleSheets::unopenableHtml()
{
    findAndTick({row("LY1"), row("LY2", "张三")});
    const QString html = orderFolder("LY1") + "/明细制作单.html";
    QVERIFY(QDir().mkpath(html));
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.texts(), QStringList{"failed to create HTML file"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "提示", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(env->dialogs.boxes.first().parent.data(), static_cast<QWidget*>(window.get()));
    QVERIFY(QFileInfo::exists(orderFolder("LY2", "张三") + "/明细制作单.html"));
    QCOMPARE(summaryText(), "订单LY1:\n未能写入的文件:" + orderFolder("LY1") + "//明细制作单.html\n\n");
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), QString("提示:   分件未全部完成"));
}

void TestAfterSampleSheets::failedBarCodeLeavesNoFile_data()
{
    QTest::addColumn<int>("fault");
    QTest::newRow("http 500") << 0;
    QTest::newRow("cut short") << 1;
    QTest::newRow("closed") << 2;
}

// The run never waits for the bar code, and a broken one leaves no file.
void TestAfterSampleSheets::failedBarCodeLeavesNoFile()
{
    QFETCH(int, fault);
    const QList<Response> faults = {Response::httpError(500), Response::truncated(barCode(), 4096),
                                    Response::closeWithoutReply()};
    env->service->script("order/getbarcodegen", faults.at(fault));
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());
    QTRY_VERIFY(!env->service->hasOpenConnections());
    QTest::qWait(50);
    QVERIFY(QFileInfo::exists(orderFolder("LY1") + "/明细制作单.html"));
    QCOMPARE(QDir(orderFolder("LY1")).entryList({"*条形码*"}, QDir::AllEntries | QDir::Hidden), QStringList());
    QCOMPARE(summaryText(), QString("订单LY1:\n条形码未能下载\n\n"));
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), QString("提示:   分件未全部完成"));
}

void TestAfterSampleSheets::missingBarCodeIsListed_data()
{
    QTest::addColumn<bool>("late");
    QTest::addColumn<bool>("folderInItsPlace");
    QTest::newRow("still on its way") << true << false;
    QTest::newRow("folder in its place") << false << true;
}

// The run ends without waiting for the bar code; the summary names the
// order whose bar code is not there, and only that one.
void TestAfterSampleSheets::missingBarCodeIsListed()
{
    QFETCH(bool, late);
    QFETCH(bool, folderInItsPlace);
    env->service->clearScripts();
    scriptReplies(false);
    env->service->setHandler("order/getbarcodegen", [late](const RecordedRequest& request) {
        const Response picture = Response::raw("bar code", "image/jpeg");
        return late && request.queryValue("order_photo_id") == "LY2-id" ? picture.delayed(3000) : picture;
    });
    if (folderInItsPlace)
        QVERIFY(QDir().mkpath(orderFolder("LY2", "张三") + "/条形码.jpg/kept"));
    findAndTick({row("LY1"), row("LY2", "张三")});
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(summaryText(), QString("订单LY2:\n条形码未能下载\n\n"));
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), QString("提示:   分件未全部完成"));
    QCOMPARE(readFile(orderFolder("LY1") + "/条形码.jpg"), QByteArray("bar code"));
    QTRY_VERIFY_WITH_TIMEOUT(!env->service->hasOpenConnections(), 10000);
}

// Order 1's bar code arrives after order 2 is done: each file holds its own.
void TestAfterSampleSheets::lateBarCodeStaysWithItsOrder()
{
    env->service->clearScripts();
    scriptReplies(false);
    env->service->setHandler("order/getbarcodegen", [](const RecordedRequest& request) {
        const QString id = request.queryValue("order_photo_id");
        const Response picture = Response::raw("bar code of " + id.toUtf8(), "image/jpeg");
        return id == "LY1-id" ? picture.delayed(1500) : picture;
    });
    findAndTick({row("LY1"), row("LY2", "张三")});
    start();
    QVERIFY(waitForIdle());
    QVERIFY(!QFileInfo::exists(orderFolder("LY1") + "/条形码.jpg"));
    QCOMPARE(readFile(orderFolder("LY2", "张三") + "/条形码.jpg"), QByteArray("bar code of LY2-id"));
    QTRY_COMPARE_WITH_TIMEOUT(readFile(orderFolder("LY1") + "/条形码.jpg"), QByteArray("bar code of LY1-id"), 5000);
    QCOMPARE(readFile(orderFolder("LY2", "张三") + "/条形码.jpg"), QByteArray("bar code of LY2-id"));
}

// A file where the sheet thumbnails go: none is written, and the summary
// lists each with the marked picture that could not follow them.
void TestAfterSampleSheets::unwrittenSheetThumbnailsAreListed()
{
    const QString server = makeOrder("LY1");
    writeFile(orderFolder("LY1") + "/制作单缩略图", "not a folder");
    findAndTick({row("LY1", "王强-李娜", server)});
    start();
    QVERIFY(waitForIdle());
    const QString thumbnails = orderFolder("LY1") + "/制作单缩略图/";
    QCOMPARE(summaryText(), "订单LY1:\n未能写入的文件:" + thumbnails + "C.jpg、" + thumbnails + "a b.jpg、" + thumbnails
                 + "花.jpg、" + server + "marks/花.jpg\n\n");
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), QString("提示:   分件未全部完成"));
    QVERIFY(QFileInfo::exists(orderFolder("LY1") + "/明细制作单.html"));
    QCOMPARE(readFile(orderFolder("LY1") + "/制作单缩略图"), QByteArray("not a folder"));
}

// Two demo orders against the stand-in's own routes: both dated trees.
void TestAfterSampleSheets::demoOrders()
{
    env->service->clearScripts();
    g_storeNames = QStringList{"澜叶旗舰店", "澜叶二店"};
    g_storeIds = QStringList{"12", "13"};
    open();
    const QStringList demoIds = {"90002", "90006"};
    for (const QJsonValue& value : env->service->demo().value("orders").toArray()) {
        const QString path = value.toObject().value("orderpath").toString();
        if (demoIds.contains(value.toObject().value("order_photo_id").toString())) {
            DemoPhotos::fillOrderFolder(path);
            DemoPhotos::addAfterSampleFiles(path);
        }
    }
    QVERIFY(driver->search("预约单号", "LY20"));
    for (int row = 0; row < driver->model()->rowCount(); ++row) {
        const QString key = driver->model()->index(row, 1).data().toString();
        if (key == "LY20240518" || key == "LY20231202")
            driver->clickCell(row, 1);
    }
    start();
    QVERIFY(waitForIdle());
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);
    QTRY_VERIFY(!env->service->hasOpenConnections());
    const QStringList expected = {".hidden", "制作单缩略图", "制作单缩略图/A 2.jpg", "制作单缩略图/A.jpg",
                                  "制作单缩略图/B.jpg", "制作单缩略图/C.jpg", "制作单缩略图/marks",
                                  "制作单缩略图/marks/A.jpg", "制作单缩略图/花园.jpg", "快递产品信息.pdf", "成品",
                                  "成品/A 2.CR2", "成品/A 2.jpg", "成品/A.CR2", "成品/A.NEF", "成品/A.jpg",
                                  "成品/B.jpg", "成品/C.JPG", "成品/花园.NEF", "成品/花园.jpg", "明细制作单.html",
                                  "条形码.jpg"};
    QCOMPARE(tree(dateFolder() + "LY20240518-服务2 张敏-刘洋 部分"), expected);
    QCOMPARE(tree(dateFolder() + "LY20231202-服务1 黄丽-郑凯 部分"), expected);
    QCOMPARE(summaryText(), QString("分件成功!"));
}

QTEST_MAIN(TestAfterSampleSheets)
#include "tst_aftersamplesheets.moc"
