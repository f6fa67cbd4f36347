#include "support/SeparationRunFixture.h"

#include "separation/BarCodeDownload.h"

#include <QProgressBar>

Q_DECLARE_METATYPE(Response)

// A design separation run from the button to the last copy, against the
// stand-in service and a demo order folder.
class TestSeparationRun : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void refusals();
    void separatesTheDemoOrder();
    void rerunNumbersTheFolders();
    void muheLayout();
    void progressBarRange_data();
    void progressBarRange();
    void failedRepliesStopAndRetry_data();
    void failedRepliesStopAndRetry();
    void folderThatCannotBeMade();
    void emptyPathFieldAsksPerOrder();
    void orderWithoutFolderReadsNothing();
    void oneRunInTheProgram();
    void closingMidRun();

private:
    std::unique_ptr<SeparationRunFixture> f;
};

void TestSeparationRun::init()
{
    f.reset(new SeparationRunFixture);
    QVERIFY(f->env->listening);
}

void TestSeparationRun::cleanup()
{
    f.reset();
    QVERIFY(!SeparationBusy::isBusy());
}

void TestSeparationRun::refusals()
{
    f->start();
    QCOMPARE(f->env->dialogs.texts(), QStringList{"请选择订单"});
    compareBox(f->env->dialogs.boxes.first(), QMessageBox::Information, "", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(f->findOrders("LY20240518", 1));
    f->env->dialogs.clear();
    QVERIFY(QDir(f->root).removeRecursively());
    f->start();
    QCOMPARE(f->env->dialogs.texts(), QStringList{"分件路径不存在"});
    compareBox(f->env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(f->env->service->count("order/ordergoods20230521"), 0);
    QVERIFY(!SeparationBusy::isBusy());
}

void TestSeparationRun::separatesTheDemoOrder()
{
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QVERIFY(f->env->dialogs.boxes.isEmpty());
    // The run does not wait for the bar code.
    QTRY_VERIFY(QFileInfo::exists(f->workFolder() + "条形码.jpg"));
    QCOMPARE(f->env->service->last("order/ordergoods20230521").body,
             "token=" + ACCESS_TOKEN.toUtf8() + "&order_photo_id=90002&shopid=12&superid=3&personid=501&uid=1001&is_qu=1");
    const QString tail = " LY20240518 张敏-刘洋 2024-06-02取  【自取】";
    QCOMPARE(tree(f->orderFolder()), (QStringList{
        "一厂" + tail,
        "一厂" + tail + "/挂画 画类 1",
        "一厂" + tail + "/挂画 画类 1/B(1).jpg",
        "一厂" + tail + "/挂画 画类 1/B.jpg",
        "一厂" + tail + "/豪华套装 套装 1",
        "一厂" + tail + "/豪华套装 套装 1/水晶框 框类 1",
        "一厂" + tail + "/豪华套装 套装 1/水晶框 框类 1/B.jpg",
        "一厂" + tail + "/豪华套装 套装 1/相框 框类 2",
        "一厂" + tail + "/豪华套装 套装 1/相框 框类 2/c.jpg",
        "一厂 LY20240518 张敏-刘洋 2024-06-15急取  【快递】",
        "一厂 LY20240518 张敏-刘洋 2024-06-15急取  【快递】/入户挂画 挂画 1",
        "一厂 LY20240518 张敏-刘洋 2024-06-15急取  【快递】/入户挂画 挂画 1/C.JPG",
        "二厂" + tail,
        "二厂" + tail + "/摆台 摆台类 2",
        "二厂" + tail + "/电子相册 电子 1",
        "其它",
        "其它/.hidden",
        "其它/制作单缩略图",
        "其它/制作单缩略图/A.jpg",
        "其它/制作单缩略图/B.jpg",
        "其它/制作单缩略图/C.jpg",
        "其它/制作单缩略图/marks",
        "其它/制作单缩略图/marks/A.jpg",
        "其它/快递产品信息.pdf",
        "其它/成品",
        "其它/成品/A.CR2",
        "其它/成品/A.NEF",
        "其它/成品/A.jpg",
        "其它/成品/B.jpg",
        "其它/成品/C.JPG",
        "其它/明细制作单.html",
        "其它/条形码.jpg",
        "其它/标注",
        "其它/标注/A.jpg",
        "其它/汰片",
        "其它/汰片/D.jpg",
        "其它/设计",
        "其它/设计/S1.jpg",
        "自制工坊",
        "自制工坊/精修相册 LY20240518 张敏-刘洋 2024-06-02取  【快递】",
        "自制工坊/精修相册 LY20240518 张敏-刘洋 2024-06-02取  【快递】/A.jpg",
        "自制工坊/精修相册(1) LY20240518  张敏-刘洋 2024-06-02取  【自取】",
        "自制工坊/精修相册(1) LY20240518  张敏-刘洋 2024-06-02取  【自取】/A.jpg",
    }));
    QCOMPARE(readFile(f->orderFolder() + "/其它/成品/A.jpg"),
             readFile(f->orderPath("90002") + "成品/A.jpg"));
    QCOMPARE(readFile(f->orderFolder() + "/其它/设计/S1.jpg"),
             readFile(f->orderPath("90002") + "设计缩略图100/S1.jpg"));

    const QList<SeparateMessage> messages = f->window->separateMessages();
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages.at(0).orderId, QString("LY20240518"));
    QCOMPARE(messages.at(0).notExisPhotos, QStringList{"精修相册:X.jpg"});
    QCOMPARE(messages.at(0).emptyProducts, (QStringList{"摆台", "豪华套装"}));
    QCOMPARE(messages.at(1).orderId, QString("LY20240518"));
    QVERIFY(messages.at(1).notExisPhotos.isEmpty());
    QVERIFY(messages.at(1).failedCopies.isEmpty());
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{f->root});
    QVERIFY(!f->driver->widget<QWidget>("groupBox")->isVisible());
}

void TestSeparationRun::rerunNumbersTheFolders()
{
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->service->count("order/ordergoods20230521"), 2);
    const QString tail = " LY20240518 张敏-刘洋 2024-06-02取  【自取】";
    const QStringList paths = tree(f->orderFolder());
    QVERIFY(paths.contains("二厂" + tail + "/摆台 (1) 摆台类 2"));
    QVERIFY(paths.contains("自制工坊/精修相册 (1) LY20240518 张敏-刘洋 2024-06-02取  【快递】/A.jpg"));
    QVERIFY(paths.contains("一厂" + tail + "/挂画 (1) 画类 1/B(1).jpg"));
    QVERIFY(paths.contains("一厂" + tail + "/豪华套装 套装 1/水晶框 框类 1 (1)/B.jpg"));
    // The work copies are replaced, not numbered.
    QVERIFY(!paths.contains("其它/成品/A(1).jpg"));
}

void TestSeparationRun::muheLayout()
{
    g_separateModeName = "沐禾分件";
    g_productDirName = "02底片";
    g_markDirName = "01标注";
    g_sjfjxz = "0";
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    const QStringList paths = tree(f->orderFolder());
    for (const QString& expected : {"02底片/A.jpg", "01标注/A.jpg", "设计/S1.jpg", "精修相册 LY20240518 张敏-刘洋 2024-06-02取  【快递】/A.jpg",
                                    "挂画 画类 1/B.jpg"})
        QVERIFY2(paths.contains(expected), qPrintable(expected));
    QVERIFY(!paths.contains("其它"));
    QVERIFY(!paths.contains("汰片"));
    QVERIFY(!paths.contains("02底片/A.CR2"));
}

void TestSeparationRun::progressBarRange_data()
{
    QTest::addColumn<QString>("xztp");
    QTest::addColumn<int>("maximum");
    // 成品 ".", "..", A, B, C; 汰片 ".", "..", D; marks ".", "..", A; 设计 S1 only.
    QTest::newRow("rejects copied") << "1" << 5 + 3 + 3 + 1 + 14;
    QTest::newRow("rejects left out") << "0" << 5 + 0 + 3 + 1 + 14;
}

void TestSeparationRun::progressBarRange()
{
    QFETCH(QString, xztp);
    QFETCH(int, maximum);
    g_xztp = xztp;
    const QString design = f->orderPath("90002") + "设计/";
    writeFile(design + "说明.txt", "not a design image");
    QVERIFY(QDir().mkpath(design + "旧稿.jpg"));
    auto* bar = f->driver->widget<QProgressBar>("progressBar");
    QList<QPair<int, int>> seen; // value, maximum
    connect(bar, &QProgressBar::valueChanged, this, [&seen, bar](int value) {
        if (value > 0)
            seen.append(qMakePair(value, bar->maximum()));
    });
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QVERIFY(!seen.isEmpty());
    for (const auto& step : qAsConst(seen))
        QCOMPARE(step.second, maximum);
    // One unit per copy of the four lists, exactly 10 over the products, then
    // the picture information and the marks.
    QCOMPARE(seen.last().first, maximum - 14 + 12);
    QCOMPARE(bar->maximum(), 0);
}

void TestSeparationRun::failedRepliesStopAndRetry_data()
{
    QTest::addColumn<Response>("reply");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("HTTP 500") << Response::httpError(500) << QStringList{"网络请求错误\n500"};
    QTest::newRow("code 0") << Response::failure("x") << QStringList{"查询产品信息错误：0"};
    QTest::newRow("not JSON") << Response::raw("oops") << QStringList{};
}

void TestSeparationRun::failedRepliesStopAndRetry()
{
    QFETCH(Response, reply);
    QFETCH(QStringList, boxes);
    QVERIFY(f->findOrders("LY20240518", 1));
    f->env->service->script("order/ordergoods20230521", reply);
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->dialogs.texts(), boxes);
    QVERIFY(!QDir(f->orderFolder()).exists());
    // The stopped order is taken again by the next press.
    f->env->service->clearScripts();
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->service->count("order/ordergoods20230521"), 2);
    QVERIFY(QFileInfo::exists(f->orderFolder() + "/其它/成品/A.jpg"));
}

void TestSeparationRun::folderThatCannotBeMade()
{
    writeFile(f->root + "/" + QDate::currentDate().toString("yyyy-MM-dd"), "a file where the date folder goes");
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->dialogs.texts(),
             QStringList{"无法创建文件夹：" + f->root + "/" + QDate::currentDate().toString("yyyy-MM-dd") + "/"});
    compareBox(f->env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
}

void TestSeparationRun::emptyPathFieldAsksPerOrder()
{
    QFile::remove("path_separatePhotos.dat");
    f->open();
    QCOMPARE(f->driver->pathEdit()->text(), QString());
    QVERIFY(f->findOrders("LY20240518", 1));
    // Cancelled: the run stops and the order is taken again next time.
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->dialogs.fileDialogs.size(), 1);
    QCOMPARE(f->env->dialogs.fileDialogs.first().caption, QString("选择分件保存路径"));
    QVERIFY(!QFileInfo::exists("path_separatePhotos.dat"));

    f->env->dialogs.fileAnswers << QStringList{f->root + "/"};
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->dialogs.fileDialogs.size(), 2);
    QVERIFY(QFileInfo::exists(f->orderFolder() + "/其它/成品/A.jpg"));
    // Saved as chosen; the field stays empty until the window opens again.
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{f->root + "/"});
    QCOMPARE(f->driver->pathEdit()->text(), QString());
}

// An empty or relative order folder would name the program's current
// folder: such an order has no photos, marks, design images or thumbnails.
void TestSeparationRun::orderWithoutFolderReadsNothing()
{
    const QString current = f->env->workDir.path() + "/";
    DemoPhotos::fillOrderFolder(current);
    DemoPhotos::fillOrderFolder(current + "relative/");
    QJsonArray orders = f->env->service->demo().value("orders").toArray();
    for (int i = 0; i < orders.size(); ++i) {
        QJsonObject order = orders.at(i).toObject();
        const QString id = order.value("order_photo_id").toString();
        if (id == "90002" || id == "90006")
            order.insert("orderpath", id == "90002" ? "" : "relative/");
        orders[i] = order;
    }
    f->env->service->demo().insert("orders", orders);
    QVERIFY(f->tickOrders({"LY20240518", "LY20231202"}));
    f->start();
    QVERIFY(f->waitForIdle());
    QTRY_VERIFY(f->window->findChildren<BarCodeDownload*>().isEmpty());
    for (const QString& order : {QString("LY20240518-服务2 张敏-刘洋 部分"), QString("LY20231202-服务1 黄丽-郑凯 部分")}) {
        QStringList files;
        for (const QString& path : tree(f->orderFolder(order))) {
            if (QFileInfo(f->orderFolder(order) + "/" + path).isFile())
                files << path;
        }
        QCOMPARE(files, (QStringList{"其它/.hidden", "其它/快递产品信息.pdf", "其它/明细制作单.html", "其它/条形码.jpg"}));
    }
    for (const RecordedRequest& request : f->env->service->requests("order/getorderpic"))
        QVERIFY(request.body.endsWith("&cpimgs=&sjimgs="));
    // Every photo the products name is missing, which is no failure. No copy
    // was started, so the record of the copies comes first.
    const QList<SeparateMessage> messages = f->window->separateMessages();
    QCOMPARE(messages.at(1).notExisPhotos,
             (QStringList{"精修相册:A.jpg", "精修相册:X.jpg", "水晶框:B.jpg", "相框:c.jpg", "挂画:B.jpg",
                          "精修相册(1):A.jpg", "入户挂画:C.JPG"}));
    QCOMPARE(SeparationRunFixture::summaries().first()->windowTitle(), QString("提示:   分件成功!"));
}

void TestSeparationRun::oneRunInTheProgram()
{
    QVERIFY(f->findOrders("LY", 7));
    f->env->service->script("order/ordergoods20230521", Response::failure("x").delayed(400));
    f->start();
    QVERIFY(SeparationBusy::isBusy());
    // The same window: neither a second run nor a search that would replace its rows.
    f->start();
    QVERIFY(f->driver->search("预约单号", "LY2024"));
    SearchOrder second;
    second.show();
    QTest::mouseClick(second.findChild<QPushButton*>("pushButton_separate"), Qt::LeftButton);
    QCOMPARE(f->env->dialogs.texts(), (QStringList{"正在分件，请稍后", "正在分件，请稍后", "正在分件，请稍后"}));
    for (const DialogRecorder::Box& box : f->env->dialogs.boxes)
        compareBox(box, QMessageBox::Information, "通知", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(f->env->service->count("order/order_list"), 1);
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->driver->model()->rowCount(), 7);
}

void TestSeparationRun::closingMidRun()
{
    QVERIFY(f->findOrders("LY20240518", 1));
    f->env->service->script("order/ordergoods20230521", Response::failure("x").delayed(300));
    f->start();
    QVERIFY(SeparationBusy::isBusy());
    f->window->close();
    QVERIFY(!SeparationBusy::isBusy());
    f->window.reset();
    QTest::qWait(400);
    f->driver.reset();
}

QTEST_MAIN(TestSeparationRun)
#include "tst_separationrun.moc"
