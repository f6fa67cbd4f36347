#include "import/importordermodel.h"
#include "support/ServedImportWindow.h"

#include <QLineEdit>
#include <QPointer>
#include <QtTest>

#include <memory>

// What the import window tells the service besides the batch itself: the
// re-import of an order, the video list for the selection side, and paths
// that lie outside the order's roots.
class TestImportReports : public QObject, protected ServedImportWindow
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void reImportPutsTheOrderBack();
    void reImportOfAVideoOrderSendsNothing();
    void videoListRefusals_data();
    void videoListRefusals();
    void emptyVideoFolderEmptiesTheList_data();
    void emptyVideoFolderEmptiesTheList();
    void videoListIsSentOnYesOnly();
    void folderOutsideTheRootIsReportedEmpty();
    void climbingOrderPathIsRefusedBeforeAnyReport();
    void finishReportCountsOnlyTheNewFiles();

private:
    // An order whose folders exist, as the service delivers it.
    ImportOrderModel* existingOrder(const QString& key);
};

void TestImportReports::init()
{
    QVERIFY(openWindow());
}

void TestImportReports::cleanup()
{
    closeWindow();
}

ImportOrderModel* TestImportReports::existingOrder(const QString& key)
{
    const QString path = root() + "/server/" + key + "/";
    const QString bakPath = root() + "/backup/" + key + "/";
    for (const char* folder : {"照片", "成品", "thumbnail", "成品缩略图"})
        QDir().mkpath(path + folder);
    QDir().mkpath(bakPath + "照片");
    return ui->add(ImportDialogDriver::orderJson(key, root(), path, bakPath));
}

void TestImportReports::reImportPutsTheOrderBack()
{
    ImportOrderModel* order = existingOrder("A");
    writePhoto(root() + "/server/A/成品/a.jpg", 1);
    order->setSelectedFiles(1, {"/shots/a.jpg"});
    order->setIsImported(1, true);
    order->setFinishedCount(1, 1);
    order->setSelectedFiles(3, {"/shots/a.mp4"});
    ui->add(ImportDialogDriver::orderJson("B", root()));
    ui->clickRow(0);
    QCOMPARE(ui->state(0), QString("已导入(1)"));
    QCOMPARE(ui->selectLabel(0)->text(), QString("已选(1)"));

    ui->button("重新导片")->click();
    QCOMPARE(ui->state(0), QString("未导入"));
    QCOMPARE(ui->selectLabel(0)->text(), QString("未选"));
    QCOMPARE(ui->progressLabel(0)->text(), QString("0/0"));
    QCOMPARE(ui->progressBar(0)->value(), 0);
    QVERIFY(order->importOrderPath().isEmpty());
    QVERIFY(order->importOrderBakPath().isEmpty());
    QVERIFY(order->selectedFiles(1).isEmpty());
    QVERIFY(!order->isImported(1));
    QCOMPARE(order->selectedFiles(3), QStringList{"/shots/a.mp4"});
    QCOMPARE(dialog->findChild<QLabel*>("orderPathValue")->text(), QString());
    QCOMPARE(dialog->findChild<QLabel*>("orderBakPathValue")->text(), QString());
    QVERIFY(dialog->findChild<QLineEdit*>("folderSuffixEdit")->isEnabled());
    QVERIFY(!ui->button("重新导片")->isEnabled());

    QTRY_COMPARE(env->service->count("order/updatepicpath"), 1);
    QCOMPARE(withoutTimestamp(env->service->last("order/updatepicpath").body, started),
             "picnumber=0&picbacknumber=0&importype=0&" + kToken
                 + "&order_photo_id=A-id&orderpicpath=&orderbakpicpath=" + kLogin + "&timestamp=T&typeid=1");
    // The order's files stay where they are.
    QVERIFY(QFile::exists(root() + "/server/A/成品/a.jpg"));
}

void TestImportReports::reImportOfAVideoOrderSendsNothing()
{
    ImportOrderModel* order = existingOrder("A");
    ui->chooseType("精修视频");
    ui->clickRow(0);
    ui->button("重新导片")->click();
    QVERIFY(order->importOrderPath().isEmpty());
    QCOMPARE(ui->state(0), QString("未导入"));
    QTest::qWait(200);
    QCOMPARE(env->service->count("order/updatepicpath"), 0);
}

void TestImportReports::videoListRefusals_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("text");
    QTest::newRow("no order clicked") << "none" << "请选择更新视频的订单";
    QTest::newRow("order without folder") << "new" << "此订单未导视频";
    QTest::newRow("video folder missing") << "missing" << "此订单导片路径打不开，请检查服务器是否连接成功！";
    QTest::newRow("order path climbing out of the root") << "climbing"
                                                         << "此订单导片路径打不开，请检查服务器是否连接成功！";
}

void TestImportReports::videoListRefusals()
{
    QFETCH(QString, situation);
    QFETCH(QString, text);
    existingOrder("A");
    ui->add(ImportDialogDriver::orderJson("N", root()));
    ui->chooseType("试拍视频");
    if (situation == "new")
        ui->clickRow(1);
    else if (situation == "missing")
        ui->clickRow(0);
    if (situation == "climbing") {
        const QString path = root() + "/server/../outside/C/";
        writeFile(path + "试拍视频/c.mp4", "video");
        ui->add(ImportDialogDriver::orderJson("C", root(), path, root() + "/backup/C/"));
        ui->clickRow(2);
    }
    ui->button("更新试拍视频到选片系统")->click();
    QCOMPARE(env->dialogs.texts(), QStringList{text});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "温馨提示", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!box.hadParent);
    QTest::qWait(100);
    QCOMPARE(env->service->count("order/updatevideo"), 0);
}

void TestImportReports::emptyVideoFolderEmptiesTheList_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QByteArray>("typeId");
    QTest::newRow("trial") << "试拍视频" << "试拍视频/"
                           << "  没有试拍视频， 是否要将<font color=\"red\">选片系统 试拍视频列表</font>列表清空？ "
                           << QByteArray("3");
    QTest::newRow("retouched") << "精修视频" << "精修视频/"
                               << "  没有精修视频， 是否要将<font color=\"red\">选片系统 精修视频列表</font>列表清空？ "
                               << QByteArray("4");
}

void TestImportReports::emptyVideoFolderEmptiesTheList()
{
    QFETCH(QString, type);
    QFETCH(QString, folder);
    QFETCH(QString, question);
    QFETCH(QByteArray, typeId);
    existingOrder("A");
    const QString videos = root() + "/server/A/" + folder;
    QDir().mkpath(videos);
    writeFile(videos + ".hidden.mp4", "video");
    ui->chooseType(type);
    ui->clickRow(0);
    env->dialogs.boxAnswers << QMessageBox::Yes;
    ui->button("更新" + type + "到选片系统")->click();
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    QCOMPARE(box.text, videos + question);
    compareBox(box, QMessageBox::Information, "温馨提示", QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    QVERIFY(!box.hadParent);

    QTRY_COMPARE(env->service->count("order/updatevideo"), 1);
    QCOMPARE(withoutTimestamp(env->service->last("order/updatevideo").body, started),
             "&timestamp=T&videopaths=&videofiles=&shopid=12&order_photo_id=A-id&superid=3&eid=501&" + kToken
                 + "&typeid=" + typeId);
    // The service's own words come back in a box of their own.
    QTRY_COMPARE(env->dialogs.boxes.size(), 2);
    const DialogRecorder::Box answer = env->dialogs.boxes.at(1);
    QCOMPARE(answer.text, QString("选片系统视频列表已更新，共0个视频"));
    compareBox(answer, QMessageBox::Information, "温馨提示", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!answer.hadParent);
}

void TestImportReports::videoListIsSentOnYesOnly()
{
    existingOrder("A");
    const QString videos = root() + "/server/A/试拍视频/";
    writeFile(videos + "VID_2.mp4", "video");
    writeFile(videos + "试拍 1.avi", "video");
    env->service->script("order/updatevideo", Response::failure("视频列表未更新"));
    ui->chooseType("试拍视频");
    ui->clickRow(0);
    env->dialogs.boxAnswers << QMessageBox::No << QMessageBox::Yes;
    ui->button("更新试拍视频到选片系统")->click();
    QTest::qWait(100);
    QCOMPARE(env->service->count("order/updatevideo"), 0);

    ui->button("更新试拍视频到选片系统")->click();
    QTRY_COMPARE(env->service->count("order/updatevideo"), 1);
    // Names and paths go in the folder's own order, pair by pair.
    const RecordedRequest sent = env->service->last("order/updatevideo");
    const QStringList names = sent.value("videofiles").split('|');
    const QStringList paths = sent.value("videopaths").split('|');
    QCOMPARE(QSet<QString>(names.begin(), names.end()), (QSet<QString>{"VID_2.mp4", "试拍 1.avi"}));
    QCOMPARE(paths.size(), 2);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(paths.at(i), root() + "/server/A/试拍视频/" + names.at(i));
    const QString question = env->dialogs.boxes.first().text;
    QCOMPARE(question, "是否要将<font color=\"red\">选片系统 试拍视频列表</font>更新为:  <br/> <font size='18' color='blue'><br/>"
                           + names.at(0) + "<br/>" + names.at(1) + "</font>");
    QVERIFY(sent.body.startsWith("&timestamp="));
    QVERIFY(sent.body.endsWith("&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8&typeid=3"));
    // A refusal's message is shown just the same.
    QTRY_COMPARE(env->dialogs.boxes.size(), 3);
    QCOMPARE(env->dialogs.boxes.last().text, QString("视频列表未更新"));
}

void TestImportReports::folderOutsideTheRootIsReportedEmpty()
{
    // An archived order: its photo folder lies outside the shop's photo root,
    // its backup folder inside the backup root.
    const QString path = root() + "/archive/E/";
    const QString bakPath = root() + "/backup/E/";
    for (const char* folder : {"成品", "设计", "设计缩略图", "设计缩略图100", "设计缩略图2250"})
        QDir().mkpath(path + folder);
    QDir().mkpath(bakPath);
    writePhoto(root() + "/shots/e.jpg", 1);
    ui->chooseType("导入设计");
    ui->add(ImportDialogDriver::orderJson("E", root(), path, bakPath), 2, {root() + "/shots/e.jpg"});
    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"1个订单已经全部导完"}, 20000);
    QTRY_COMPARE(env->service->count("order/updatepicpath"), 2);
    const QList<QByteArray> bodies = reports("order/updatepicpath", "order_photo_id", "E-id");
    const QByteArray paths = "&orderpicpath=&orderbakpicpath=" + bakPath.toUtf8();
    QCOMPARE(bodies, (QList<QByteArray>{
                         "picnumber=0&picbacknumber=0&importype=0&" + kToken + "&order_photo_id=E-id" + paths + kLogin
                             + "&timestamp=T&typeid=2",
                         "picnumber=1&picbacknumber=0&importype=1&" + kToken + "&order_photo_id=E-id" + paths + kLogin
                             + "&timestamp=T&typeid=2"}));
    QVERIFY(QFile::exists(path + "设计/e.jpg"));
}

// A path from the service that climbs out of the root with "..": nothing is
// written there and no report carries it.
void TestImportReports::climbingOrderPathIsRefusedBeforeAnyReport()
{
    const QString path = root() + "/server/../outside/E/";
    const QString bakPath = root() + "/backup/E/";
    for (const char* folder : {"照片", "成品"})
        QDir().mkpath(path + folder);
    QDir().mkpath(bakPath + "照片");
    writePhoto(root() + "/shots/e.jpg", 1);
    ui->chooseType("导入原片");
    ui->add(ImportDialogDriver::orderJson("E", root(), path, bakPath), 0, {root() + "/shots/e.jpg"});
    ui->batchButton()->click();
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"订单[E-1]路径为空，无法导片，请检查订单路径/备份路径后重试"});
    QTest::qWait(100);
    QCOMPARE(env->service->count("order/updatepicpath"), 0);
    QCOMPARE(QDir(path + "照片").entryList(QDir::Files), QStringList());
    QCOMPARE(QDir(bakPath + "照片").entryList(QDir::Files), QStringList());
}

// An order that already holds photos: the report counts what this import
// added. A photo imported again replaces its copy in the order folder and
// adds a numbered one in the backup.
void TestImportReports::finishReportCountsOnlyTheNewFiles()
{
    const QString path = root() + "/server/A/";
    const QString bakPath = root() + "/backup/A/";
    for (const char* folder : {"thumbnail2250", "thumbnail100"})
        QDir().mkpath(path + folder);
    for (const QString& name : {"old1.jpg", "old2.jpg"}) {
        writePhoto(path + "照片/" + name, 1);
        writePhoto(bakPath + "照片/" + name, 1);
    }
    writePhoto(root() + "/shots/new.jpg", 2);
    writePhoto(root() + "/shots/old1.jpg", 3);
    ImportOrderModel* order = existingOrder("A");
    order->setSelectedFiles(0, {root() + "/shots/new.jpg", root() + "/shots/old1.jpg"});
    ui->chooseType("导入原片");

    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"1个订单已经全部导完"}, 20000);
    QTRY_COMPARE(env->service->count("order/updatepicpath"), 2);
    const QByteArray paths = "&orderpicpath=" + path.toUtf8() + "&orderbakpicpath=" + bakPath.toUtf8();
    QCOMPARE(reports("order/updatepicpath", "order_photo_id", "A-id").last(),
             "picnumber=1&picbacknumber=2&importype=1&" + kToken + "&order_photo_id=A-id" + paths + kLogin
                 + "&timestamp=T&typeid=0");
    QCOMPARE(QDir(bakPath + "照片").entryList(QDir::Files),
             (QStringList{"new.jpg", "old1(1).jpg", "old1.jpg", "old2.jpg"}));
}

QTEST_MAIN(TestImportReports)
#include "tst_importreports.moc"
