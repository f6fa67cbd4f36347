#include "separation/GoodsInfo.h"
#include "separation/ProductPlan.h"
#include "support/AfterSampleRunFixture.h"

#include "Platform.h"

#include <QGroupBox>
#include <QProcess>
#include <QTextEdit>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

// An after-sample run from the start button through the finished-photo
// copies, against the stand-in service and order folders made here.
class TestAfterSampleRun : public AfterSampleRunFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void goodsOfAnAfterSampleReply();
    void refusals();
    void productsBody();
    void oneOrderTree();
    void progressOfTheCopies();
    void productFolderOfShop77();
    void failedCopiesAreCollected();
    void twoOrdersAndASecondRun();
    void rootWithoutSeparator();
    void emptyPathFieldAsksPerOrder();
    void failedRepliesStopAndRetry_data();
    void failedRepliesStopAndRetry();
    void folderThatCannotBeMade();
    void customerNamesStayOneFolder();
    void orderWithoutFolderCopiesNothing();
    void searchDuringARunIsRefused();
    void closingMidRun_data();
    void closingMidRun();
};

void TestAfterSampleRun::init()
{
    setUp();
}

void TestAfterSampleRun::cleanup()
{
    tearDown();
}

void TestAfterSampleRun::goodsOfAnAfterSampleReply()
{
    QJsonObject set = good(" 《10*12》 ", "a.jpg||b.jpg");
    set.insert("getgooddate", "2024-06-30");
    set.insert("get gooddate", "with blank");
    set.insert("isems", 0);
    set.insert("son_good", QJsonArray{good("页/", "c.jpg"), good("页", "")});
    const QJsonObject reply{
        {"code", "1"},
        {"shop_set", QJsonObject{{"fenjian_ishaveordergoodid", "1"}}},
        {"order", QJsonObject{{"ordergoods0", QJsonArray{set, good("ALBUM", "")}},
                              {"ordergoods2", QJsonArray{good("ALBUM", "x.jpg"), good("A  B   C", "")}}}}};
    const QList<GoodsInfo> goods = ProductPlan::read(reply, ProductPlan::Reading::AfterSample).goods;
    QCOMPARE(goods.size(), 4);
    QCOMPARE(goods.at(0).goodName, QString("10x12"));
    QCOMPARE(goods.at(0).displayName, QString("10x12"));
    QCOMPARE(goods.at(0).getGoodDate, QString("2024-06-30"));
    QCOMPARE(goods.at(0).photoNames, (QStringList{"a.jpg", "", "b.jpg"}));
    QCOMPARE(goods.at(0).pickupText, QString("快递"));
    QCOMPARE(goods.at(0).children.size(), 2);
    QCOMPARE(goods.at(0).children.at(0).goodName, QString("页"));
    QCOMPARE(goods.at(0).children.at(1).goodName, QString("页"));
    QCOMPARE(goods.at(0).children.at(0).displayName, QString());
    QCOMPARE(goods.at(1).displayName, QString("ALBUM"));
    QCOMPARE(goods.at(1).photoNames, QStringList());
    QCOMPARE(goods.at(2).displayName, QString("ALBUM(1)"));
    QCOMPARE(goods.at(3).goodName, QString("AB C"));
    QCOMPARE(goods.at(3).pickupText, QString("快递"));
}

void TestAfterSampleRun::refusals()
{
    start();
    QCOMPARE(env->dialogs.texts(), QStringList{"请选择订单"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "", QMessageBox::Yes, QMessageBox::Yes);

    findAndTick({row("LY1")});
    FileOperation::writeStringList("path_separatePhotos.dat", {root + "/无"}, true);
    open();
    findAndTick({row("LY1")});
    start();
    QCOMPARE(env->dialogs.texts(), QStringList{"分件路径不存在"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);

    // Another window's run holds the program's run state.
    QObject other;
    QVERIFY(SeparationBusy::acquire(&other));
    env->dialogs.clear();
    start();
    SeparationBusy::release(&other);
    QCOMPARE(env->dialogs.texts(), QStringList{"正在分件，请稍后"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "通知", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(env->service->count("order/ordergoods20230521"), 0);
}

void TestAfterSampleRun::productsBody()
{
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());
    const RecordedRequest sent = env->service->last("order/ordergoods20230521");
    const QByteArray body = token() + "&order_photo_id=LY1-id&shopid=12&superid=3&personid=501&uid=1001";
    QCOMPARE(sent.body, body);
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(body.size()));
}

// One order gives exactly its dated tree: the finished images with their RAW
// companions (no hidden file, no sub-folder), the bar code, the hidden sheet
// thumbnails with the present marked picture, and both sheets.
void TestAfterSampleRun::oneOrderTree()
{
    const QString server = makeOrder("LY1");
    findAndTick({row("LY1", "王强-李娜", server)});
    auto* bar = driver->widget<QProgressBar>("progressBar");
    QSignalSpy progress(bar, &QProgressBar::valueChanged);
    start();
    QVERIFY(waitForIdle());
    QVERIFY(env->dialogs.boxes.isEmpty());
    const QString order = orderFolder("LY1");
    QCOMPARE(tree(order), (QStringList{".hidden", "制作单缩略图", "制作单缩略图/C.jpg", "制作单缩略图/a b.jpg",
                                       "制作单缩略图/marks", "制作单缩略图/marks/花.jpg", "制作单缩略图/花.jpg",
                                       "快递产品信息.pdf", "成品", "成品/C.JPG", "成品/C.NEF", "成品/a b.CR2",
                                       "成品/a b.jpg", "成品/花.jpg", "明细制作单.html", "条形码.jpg"}));
    QCOMPARE(readFile(order + "/成品/花.jpg"), readFile(server + "成品/花.jpg"));
    QCOMPARE(readFile(order + "/成品/a b.CR2"), QByteArray("raw cr2"));
    QCOMPARE(readFile(order + "/条形码.jpg"), barCode());
    QVERIFY(Platform::instance().isHidden(order + "/制作单缩略图"));
    for (const QString& name : {"C.jpg", "a b.jpg", "花.jpg"})
        QCOMPARE(QImage(order + "/制作单缩略图/" + name).size(), QSize(88, 88));
    QVERIFY(!QImage(order + "/制作单缩略图/marks/花.jpg").isNull());
    QCOMPARE(readFile(order + "/明细制作单.html"), sheetHtml().toUtf8());
    QVERIFY(readFile(order + "/快递产品信息.pdf").startsWith("%PDF"));
    QProcess pdftotext;
    pdftotext.start("pdftotext", {order + "/快递产品信息.pdf", "-"});
    QVERIFY(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    QVERIFY2(text.contains("快递产品信息") && text.contains("欧阳收件"), qPrintable(text));
    // Six entries counted (".", "..", the three photos and the sub-folder),
    // the picture information and the thumbnail start; then the bar is
    // emptied for the next order.
    QList<int> values;
    for (const QList<QVariant>& signal : qAsConst(progress))
        values << signal.first().toInt();
    QCOMPARE(values, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 0}));
    QCOMPARE(bar->maximum(), 0);
    QVERIFY(!driver->widget<QGroupBox>("groupBox")->isVisible());
    // The success form of the summary.
    QCOMPARE(summaryText(), QString("分件成功!"));
}

// Shops 77 and 162 name the product folder "02底片"; the after-sample run
// keeps its own layout, whatever the shop's separation mode.
void TestAfterSampleRun::productFolderOfShop77()
{
    g_productDirName = "02底片";
    g_separateModeName = "沐禾分件";
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());
    g_separateModeName.clear();
    const QStringList paths = tree(orderFolder("LY1"));
    QVERIFY2(paths.contains("02底片/a b.jpg") && paths.contains("02底片/a b.CR2"), qPrintable(paths.join(',')));
    QVERIFY(!paths.contains("成品"));
    QVERIFY(!paths.contains("其它"));
    QVERIFY(paths.contains("明细制作单.html"));
}

// Three photos list five entries: the bar's maximum is 5 + 14 and each copy
// adds one; the label counts the orders done before this one.
void TestAfterSampleRun::progressOfTheCopies()
{
    findAndTick({row("LY1", "甲", makeOrder("LY1", false)), row("LY2", "乙", makeOrder("LY2", false))});
    auto* bar = driver->widget<QProgressBar>("progressBar");
    auto* label = driver->widget<QLabel>("label_finishOrdersNum");
    QStringList seen;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        seen << QString("%1/%2 %3").arg(value).arg(bar->maximum()).arg(label->text());
    });
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(seen.mid(0, 5), (QStringList{"1/19 已完成订单个数：0/2", "2/19 已完成订单个数：0/2",
                                          "3/19 已完成订单个数：0/2", "4/19 已完成订单个数：0/2",
                                          "5/19 已完成订单个数：0/2"}));
    QVERIFY(seen.contains("5/19 已完成订单个数：1/2"));
}

// A target that cannot be written (a folder under the photo's name) is a
// failed copy of its order, not a done one: the summary lists it.
void TestAfterSampleRun::failedCopiesAreCollected()
{
    const QString server = makeOrder("LY2");
    findAndTick({row("LY1"), row("LY2", "张三", server)});
    QVERIFY(QDir().mkpath(orderFolder("LY2", "张三") + "/成品/花.jpg"));
    QVERIFY(QDir().mkpath(orderFolder("LY2", "张三") + "/成品/C.NEF"));
    start();
    QVERIFY(waitForIdle());
    const QString text = summaryText();
    QVERIFY2(text.startsWith("订单LY2:\n复制失败的照片:"), qPrintable(text));
    QVERIFY2(text.contains(server + "成品/花.jpg") && text.contains(server + "照片/新建文件夹/C.NEF"), qPrintable(text));
    QVERIFY(!text.contains("LY1"));
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), QString("提示:   分件未全部完成"));
    QVERIFY(QFileInfo::exists(orderFolder("LY2", "张三") + "/成品/C.JPG"));
}

void TestAfterSampleRun::twoOrdersAndASecondRun()
{
    findAndTick({row("LY1"), row("LY2", "张三")});
    auto* label = driver->widget<QLabel>("label_finishOrdersNum");
    QStringList shown;
    connect(env->service.get(), &StudioService::requestReceived, this,
            [&](const QString&) { shown << label->text(); });
    start();
    QVERIFY(waitForIdle());
    QVERIFY(QFileInfo::exists(dateFolder() + "LY1-服务1 王强-李娜 快递/成品/C.JPG"));
    QVERIFY(QFileInfo::exists(dateFolder() + "LY2-服务1 张三 快递/成品/C.JPG"));
    QVERIFY(shown.contains("已完成订单个数：1/2"));
    QVERIFY(!label->isVisible());
    QVERIFY(!driver->widget<QGroupBox>("groupBox")->isVisible());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);
    // The success form: no text to save, one "确认".
    const QList<QDialog*> summaries = SeparationRunFixture::summaries();
    QCOMPARE(summaries.size(), 1);
    QVERIFY(summaries.first()->isModal());
    QCOMPARE(summaryText(), QString("分件成功!"));
    QCOMPARE(summaries.first()->findChild<QPushButton*>("pushButton_close")->text(), QString("确认"));
    QVERIFY(summaries.first()->findChild<QPushButton*>("pushButton_save")->isHidden());
    QCOMPARE(summaries.first()->windowTitle(), QString("提示:   分件成功!"));

    // The rows are free again: a second run separates both once more.
    shown.clear();
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 4);
    QVERIFY(shown.contains("已完成订单个数：1/2"));
}

void TestAfterSampleRun::rootWithoutSeparator()
{
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());
    QVERIFY(QFileInfo::exists(dateFolder() + "LY1-服务1 王强-李娜 快递/成品/C.JPG"));
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{root});
    QVERIFY(env->dialogs.fileDialogs.isEmpty());
}

void TestAfterSampleRun::emptyPathFieldAsksPerOrder()
{
    QFile::remove("path_separatePhotos.dat");
    open();
    findAndTick({row("LY1"), row("LY2")});
    env->dialogs.fileAnswers << QStringList{root + "/"} << QStringList{root};
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.fileDialogs.size(), 2);
    QCOMPARE(env->dialogs.fileDialogs.first().caption, QString("选择分件保存路径"));
    QVERIFY(QFileInfo::exists(dateFolder() + "LY2-服务1 王强-李娜 快递/成品/C.JPG"));
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{root});
    QCOMPARE(driver->pathEdit()->text(), QString());

    // Cancelling stops silently; the order is taken again by the next start.
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.fileDialogs.size(), 3);
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 3);
    env->dialogs.fileAnswers << QStringList{root} << QStringList{root};
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->last("order/ordergoods20230521").value("order_photo_id"), QString("LY2-id"));
    QCOMPARE(env->service->requests("order/ordergoods20230521").at(3).value("order_photo_id"), QString("LY1-id"));
}

void TestAfterSampleRun::failedRepliesStopAndRetry_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("http 500") << 0 << QStringList{"网络请求错误\n500"};
    QTest::newRow("code 0") << 1 << QStringList{"查询产品信息错误：0"};
    QTest::newRow("numeric code") << 2 << QStringList{"查询产品信息错误："};
    QTest::newRow("not json") << 3 << QStringList{};
}

void TestAfterSampleRun::failedRepliesStopAndRetry()
{
    QFETCH(int, fault);
    QFETCH(QStringList, texts);
    const QList<Response> faults = {Response::httpError(500), Response::failure("不行"),
                                    Response::json({{"code", 1}}), Response::raw("oops")};
    findAndTick({row("LY1")});
    env->service->script("order/ordergoods20230521", faults.at(fault));
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.texts(), texts);
    for (const DialogRecorder::Box& box : qAsConst(env->dialogs.boxes))
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!QFileInfo::exists(dateFolder()));

    env->service->script("order/ordergoods20230521", Response::success());
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 2);
    QVERIFY(QFileInfo::exists(dateFolder() + "LY1-服务1 王强-李娜 快递/成品/C.JPG"));
}

void TestAfterSampleRun::folderThatCannotBeMade()
{
    writeFile(root + "/" + QDate::currentDate().toString("yyyy-MM-dd"), "a file");
    findAndTick({row("LY1")});
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(env->dialogs.texts(), QStringList{"无法创建文件夹：" + dateFolder()});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
}

void TestAfterSampleRun::customerNamesStayOneFolder()
{
    findAndTick({row("LY/1", "A/B")});
    start();
    QVERIFY(waitForIdle());
    QCOMPARE(QDir(dateFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"LY1-服务1 AB 快递"});
}

// An empty or relative order folder would name the current folder: such an
// order has no photos, thumbnails or marked pictures.
void TestAfterSampleRun::orderWithoutFolderCopiesNothing()
{
    writeFile("成品/here.jpg", "current folder");
    writeFile("marks/花.jpg", "current folder");
    findAndTick({row("LY1", "甲", ""), row("LY2", "乙", "relative/")});
    writeFile("relative/成品/there.jpg", "relative folder");
    writeFile("relative/marks/花.jpg", "relative folder");
    start();
    QVERIFY(waitForIdle());
    for (const QString& order : {orderFolder("LY1", "甲"), orderFolder("LY2", "乙")}) {
        QCOMPARE(QDir(order + "/成品").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QCOMPARE(QDir(order + "/制作单缩略图").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        QVERIFY(QFileInfo::exists(order + "/明细制作单.html"));
    }
    QCOMPARE(env->service->last("order/getorderpic").value("cpimgs"), QString());
}

void TestAfterSampleRun::searchDuringARunIsRefused()
{
    findAndTick({row("LY1")});
    env->service->script("order/ordergoods20230521", Response::success().delayed(400));
    start();
    QTRY_COMPARE(env->service->count("order/ordergoods20230521"), 1);
    QVERIFY(SeparationBusy::isBusy());
    QTest::mouseClick(driver->searchButton(), Qt::LeftButton);
    QCOMPARE(env->dialogs.texts(), QStringList{"正在分件，请稍后"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "通知", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(env->service->count("order/order_list"), 1);
    QVERIFY(waitForIdle());

    // While a search is out the start button does nothing.
    env->service->script("order/order_list", Response::success({{"data", QJsonArray{row("LY1")}}}).delayed(300));
    QTest::mouseClick(driver->searchButton(), Qt::LeftButton);
    start();
    QVERIFY(!SeparationBusy::isBusy());
    QTRY_VERIFY(driver->searchButton()->isEnabled());
    QCOMPARE(env->service->count("order/ordergoods20230521"), 1);
}

void TestAfterSampleRun::closingMidRun_data()
{
    QTest::addColumn<QString>("route");
    QTest::newRow("products") << "order/ordergoods20230521";
    QTest::newRow("pictures") << "order/getorderpic";
    QTest::newRow("detail") << "order/orderdetail";
}

// Closing while a reply is out: no crash, and another window can start.
void TestAfterSampleRun::closingMidRun()
{
    QFETCH(QString, route);
    findAndTick({row("LY1")});
    const QJsonObject reply = route == "order/orderdetail" ? orderDetail() : QJsonObject{};
    env->service->script(route, Response::success(reply).delayed(300));
    start();
    QTRY_COMPARE(env->service->count(route), 1);
    window->close();
    driver.reset();
    window.reset();
    QVERIFY(!SeparationBusy::isBusy());
    QTest::qWait(400);

    open();
    findAndTick({row("LY2")});
    scriptReplies();
    start();
    QVERIFY(waitForIdle());
    QVERIFY(QFileInfo::exists(orderFolder("LY2") + "/明细制作单.html"));
    QVERIFY(!QFileInfo::exists(orderFolder("LY1") + "/明细制作单.html"));
}

QTEST_MAIN(TestAfterSampleRun)
#include "tst_aftersamplerun.moc"
