#include "core/Globals.h"
#include "import/importordermodel.h"
#include "import/PictureMemoryKeeper.h"
#include "support/ServedImportWindow.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QPointer>
#include <QtTest>

#include <memory>

namespace {

const QString kEntryTime = QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\| ");

QStringList fileNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

// The batch run of the import window against the stand-in service: the
// refusals before anything starts, photo, video and Lyra batches with their
// reports, and the errors that end a batch.
class TestImportBatch : public QObject, protected ServedImportWindow
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void refusals_data();
    void refusals();
    void twoPhotoOrdersEndToEnd();
    void freeSpaceEndsTheBatchAndTheNextPressGoesOn();
    void ordersHandedOverDuringABatchWaitForTheNextPress();
    void videosReportTheirFinishOnly();
    void failedVideoCopyEndsTheBatch();
    void lyraFoldersAreCopiedByJobs();
    void lyraCopyFailureIsNotReported();
    void orderChosenAnewDuringABatchWaitsForTheNextPress();
    void lyraOrderThatCannotRun_data();
    void lyraOrderThatCannotRun();
    void closingTheWindowDuringLyraCopies();

private:
    QString logText() const;
    QList<DialogRecorder::Box> boxesTitled(const QString& title) const;
    QStringList shots(const QString& name, int count, int firstSeed);
    QString lyraSelections() const { return root() + "/选片"; }
    // An order of the Lyra type whose chosen folder is `folder` of the selections.
    ImportOrderModel* addLyraOrder(const QString& key, const QString& folder);
};

void TestImportBatch::init()
{
    QVERIFY(openWindow());
    g_uid = "1001";
    g_yptbcp = "0";
}

void TestImportBatch::cleanup()
{
    closeWindow();
}

QString TestImportBatch::logText() const
{
    return QString::fromUtf8(readFile(env->workDir.path() + "/logs/import_error.log"));
}

QList<DialogRecorder::Box> TestImportBatch::boxesTitled(const QString& title) const
{
    QList<DialogRecorder::Box> found;
    for (const DialogRecorder::Box& box : env->dialogs.boxes) {
        if (box.title == title)
            found << box;
    }
    return found;
}

QStringList TestImportBatch::shots(const QString& name, int count, int firstSeed)
{
    QStringList files;
    for (int i = 1; i <= count; ++i) {
        const QString path = QStringLiteral("%1/shots/%2/IMG_%3.jpg").arg(root(), name).arg(i);
        writePhoto(path, firstSeed + i);
        files << path;
    }
    return files;
}

ImportOrderModel* TestImportBatch::addLyraOrder(const QString& key, const QString& folder)
{
    ImportOrderModel* order = ui->add(ImportDialogDriver::orderJson(key, root()));
    order->setLyraSourceDir(lyraSelections() + "/" + folder);
    order->setLyraSourceParent(lyraSelections());
    return order;
}

void TestImportBatch::refusals_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("message");
    QTest::newRow("no orders") << "empty" << "-" << "没有需要导入的订单";
    QTest::newRow("all imported") << "imported" << "-" << "没有需要导入的订单";
    QTest::newRow("photos missing") << "photos" << "B-1" << "有订单没有选择照片";
    QTest::newRow("imported order without photos") << "importedWithout" << "A-1" << "有订单没有选择照片";
    QTest::newRow("videos missing") << "videos" << "B-1" << "有订单没有选择视频";
    QTest::newRow("lyra folder missing") << "lyra" << "A-1" << "有订单没有选择Lyra路径";
    QTest::newRow("finished folders missing") << "finished" << "-" << "订单号:B-1\n订单号:C-1\n路径不存在";
    QTest::newRow("root not writable") << "readOnly" << "B-1" << "您没有服务器写入权限";
}

void TestImportBatch::refusals()
{
    QFETCH(QString, situation);
    QFETCH(QString, order);
    QFETCH(QString, message);
    const QStringList photo = shots("A", 1, 0);
    if (situation == "imported") {
        ui->add(ImportDialogDriver::orderJson("A", root()), 1, photo)->setIsImported(1, true);
    } else if (situation == "photos") {
        ui->add(ImportDialogDriver::orderJson("A", root()), 1, photo);
        ui->add(ImportDialogDriver::orderJson("B", root()));
    } else if (situation == "importedWithout") {
        ui->add(ImportDialogDriver::orderJson("A", root()))->setIsImported(1, true);
        ui->add(ImportDialogDriver::orderJson("B", root()), 1, photo);
    } else if (situation == "videos") {
        ui->chooseType("试拍视频");
        ui->add(ImportDialogDriver::orderJson("A", root()), 3, {root() + "/a.mp4"});
        ui->add(ImportDialogDriver::orderJson("B", root()), 4, {root() + "/a.mp4"});
    } else if (situation == "lyra") {
        ui->chooseType("导入Lyra");
        ui->add(ImportDialogDriver::orderJson("A", root()));
    } else if (situation == "finished") {
        const QString a = root() + "/server/A/";
        QDir().mkpath(a + "成品");
        ui->add(ImportDialogDriver::orderJson("A", root(), a, a), 1, photo);
        ui->add(ImportDialogDriver::orderJson("B", root(), root() + "/server/B/", a), 1, photo);
        ui->add(ImportDialogDriver::orderJson("N", root()), 1, photo);
        ui->add(ImportDialogDriver::orderJson("C", root(), root() + "/server/C/", a), 1, photo);
    } else if (situation == "readOnly") {
        if (!QFileInfo("/proc/self").isDir())
            QSKIP("needs a folder that nobody can write into");
        ui->add(ImportDialogDriver::orderJson("A", root()), 1, photo);
        QJsonObject json = ImportDialogDriver::orderJson("B", root());
        json["picpathnew"] = QJsonObject{{"picpath", "/proc/"}, {"bakpicpath", root() + "/backup/"}};
        ui->add(json, 1, photo);
    }
    env->dialogs.clear();

    ui->batchButton()->click();
    QCOMPARE(env->dialogs.texts(), QStringList{message});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Warning, "警告", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), dialog.data());
    QVERIFY(QRegularExpression(kEntryTime + QRegularExpression::escape(order + " | " + message) + "\n$")
                .match(logText())
                .hasMatch());
    QCOMPARE(ui->batchButton()->text(), QString("批量导片"));
    QVERIFY(ui->batchButton()->isEnabled());
    QTest::qWait(100);
    QCOMPARE(env->service->count("order/updatepicpath"), 0);
    QVERIFY(!QDir(root() + "/server/2024-06").exists());
}

void TestImportBatch::twoPhotoOrdersEndToEnd()
{
    // Whether each order's folders were there when its start report came.
    QStringList treeAtStart;
    env->service->setHandler("order/updatepicpath", [&treeAtStart](const RecordedRequest& request) {
        if (request.value("importype") == "0") {
            const bool tree = QDir(request.value("orderpicpath") + "照片").exists();
            treeAtStart << request.value("order_photo_id") + ":" + (tree ? "yes" : "no");
        }
        return Response::success();
    });
    // Photos in the current folder's "照片" are no order's photos.
    writePhoto(env->workDir.path() + "/照片/stray.jpg", 99);
    // A folder of the root that happens to bear the program's name.
    writeFile(root() + "/server/澜叶/keep.txt", "kept");

    ui->chooseType("导入原片");
    ui->add(ImportDialogDriver::orderJson("A", root()), 0, shots("A", 3, 0));
    ui->add(ImportDialogDriver::orderJson("B", root()), 0, shots("B", 2, 10));
    ui->batchButton()->click();
    QCOMPARE(ui->batchButton()->text(), QString("导片中..."));
    QVERIFY(!ui->batchButton()->isEnabled());
    QVERIFY(!ui->button("添加订单")->isEnabled());
    QVERIFY(!ui->dialog->findChildren<QRadioButton*>().first()->isEnabled());

    QTRY_COMPARE_WITH_TIMEOUT(boxesTitled("导入完成").size(), 1, 20000);
    const DialogRecorder::Box end = boxesTitled("导入完成").first();
    QCOMPARE(end.text, QString("2个订单已经全部导完"));
    QCOMPARE(end.icon, QMessageBox::Information);
    QCOMPARE(end.parent.data(), dialog.data());
    QCOMPARE(end.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(end.defaultButton, QMessageBox::NoButton);
    QCOMPARE(env->dialogs.boxes.size(), 1);

    QTRY_COMPARE(env->service->count("order/updatepicpath"), 4);
    QCOMPARE(treeAtStart, (QStringList{"A-id:yes", "B-id:yes"}));
    for (const QString key : {"A", "B"}) {
        const QByteArray folder = ImportDialogDriver::newOrderFolder(key).toUtf8();
        const QByteArray paths = "&orderpicpath=" + root().toUtf8() + "/server/" + folder + "&orderbakpicpath="
                                 + root().toUtf8() + "/backup/" + folder;
        const QByteArray id = "&order_photo_id=" + key.toUtf8() + "-id";
        const QByteArray count = key == "A" ? "3" : "2";
        QCOMPARE(reports("order/updatepicpath", "order_photo_id", key + "-id"),
                 (QList<QByteArray>{"picnumber=0&picbacknumber=0&importype=0&" + kToken + id + paths + kLogin
                                        + "&timestamp=T&typeid=0",
                                    "picnumber=" + count + "&picbacknumber=" + count + "&importype=1&" + kToken + id
                                        + paths + kLogin + "&timestamp=T&typeid=0"}));
    }

    QCOMPARE(ui->state(0), QString("已导入(3)"));
    QCOMPARE(ui->state(1), QString("已导入(2)"));
    QCOMPARE(ui->progressLabel(0)->text(), QString("3/3"));
    QCOMPARE(ui->progressLabel(1)->text(), QString("2/2"));
    QCOMPARE(ui->batchButton()->text(), QString("批量导片"));
    QVERIFY(ui->batchButton()->isEnabled());
    QVERIFY(ui->button("添加订单")->isEnabled());
    QVERIFY(!dialog->findChild<QLineEdit*>("folderSuffixEdit")->isEnabled());

    const QString a = root() + "/server/" + ImportDialogDriver::newOrderFolder("A");
    QCOMPARE(fileNames(a + "照片"), (QStringList{"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg"}));
    QCOMPARE(fileNames(a + "thumbnail100"), fileNames(a + "照片"));
    QCOMPARE(fileNames(root() + "/backup/" + ImportDialogDriver::newOrderFolder("B") + "照片"),
             (QStringList{"IMG_1.jpg", "IMG_2.jpg"}));
    // The write probe left the root as it found it.
    QCOMPARE(QDir(root() + "/server").entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{"2024-06", "澜叶"}));
    QVERIFY(QFile::exists(root() + "/server/澜叶/keep.txt"));

    // A second press has nothing left to do.
    env->dialogs.clear();
    ui->batchButton()->click();
    QCOMPARE(env->dialogs.texts(), QStringList{"没有需要导入的订单"});

    // Closing the window gives the photos' memory back to the system.
    delete dialog;
    QCOMPARE(PictureMemoryKeeper::shared()->keptBytes(), qint64(0));
}

void TestImportBatch::freeSpaceEndsTheBatchAndTheNextPressGoesOn()
{
    const QString big = root() + "/shots/B/IMG_1.jpg";
    writePhoto(big, 1, 300000);
    ui->add(ImportDialogDriver::orderJson("A", root()), 1, shots("A", 1, 0));
    ImportOrderModel* b = ui->add(ImportDialogDriver::orderJson("B", root()), 1, {big});
    ImportOrderModel* c = ui->add(ImportDialogDriver::orderJson("C", root()), 1, shots("C", 1, 20));
    env->platform->freeBytesAnswer = 200000;

    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"服务器空间不足，请清理空间后再导入"}, 20000);
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.title, QString("警告"));
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(QRegularExpression(kEntryTime + "B-1 \\| 服务器空间不足，请清理空间后再导入\n$").match(logText()).hasMatch());
    QCOMPARE(ui->batchButton()->text(), QString("批量导片"));
    QVERIFY(ui->batchButton()->isEnabled());
    QVERIFY(g_importRunFlag == "go");
    QTest::qWait(300);
    QCOMPARE(ui->state(0), QString("已导入(1)"));
    QVERIFY(!b->isImported(1));
    QVERIFY(c->importOrderPath().isEmpty());
    QCOMPARE(reports("order/updatepicpath", "order_photo_id", "C-id").size(), 0);
    QCOMPARE(env->dialogs.boxes.size(), 1);

    env->dialogs.clear();
    env->platform->freeBytesAnswer = -1;
    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"2个订单已经全部导完"}, 20000);
    QCOMPARE(ui->state(1), QString("已导入(1)"));
    QCOMPARE(ui->state(2), QString("已导入(1)"));
    QTRY_COMPARE(env->service->count("order/updatepicpath"), 7);
    // A is not imported again; B's folders from the first press are reused.
    QCOMPARE(reports("order/updatepicpath", "order_photo_id", "A-id").size(), 2);
    const QList<QByteArray> bReports = reports("order/updatepicpath", "order_photo_id", "B-id");
    QCOMPARE(bReports.size(), 3);
    QVERIFY(bReports.last().startsWith("picnumber=1&picbacknumber=0&importype=1&"));
    QVERIFY(bReports.last().endsWith("&typeid=1"));
}

void TestImportBatch::ordersHandedOverDuringABatchWaitForTheNextPress()
{
    ui->chooseType("导入设计");
    ui->add(ImportDialogDriver::orderJson("A", root()), 2, shots("A", 2, 0));
    ui->batchButton()->click();
    // An order picker still open hands an order over while A is imported.
    ImportOrderModel* late = ui->add(ImportDialogDriver::orderJson("L", root()), 2, shots("L", 1, 30));
    QCOMPARE(ui->table()->rowCount(), 2);

    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"1个订单已经全部导完"}, 20000);
    QTest::qWait(300);
    QVERIFY(late->importOrderPath().isEmpty());
    QCOMPARE(ui->state(1), QString("未导入"));
    QCOMPARE(reports("order/updatepicpath", "order_photo_id", "L-id").size(), 0);

    env->dialogs.clear();
    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"1个订单已经全部导完"}, 20000);
    QCOMPARE(ui->state(1), QString("已导入(1)"));
    QTRY_COMPARE(env->service->count("order/updatepicpath"), 4);
}

void TestImportBatch::videosReportTheirFinishOnly()
{
    QStringList videos;
    for (const char* name : {"VID_1.mp4", "VID_2.avi"}) {
        writeFile(root() + "/shots/" + name, QByteArray(1000, 'v'));
        videos << root() + "/shots/" + name;
    }
    ui->chooseType("试拍视频");
    ImportOrderModel* a = ui->add(ImportDialogDriver::orderJson("A", root()), 3, videos);
    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"1个订单已经全部导完"}, 20000);
    QTRY_COMPARE(env->service->count("order/updatepicpath"), 1);

    const QByteArray path = root().toUtf8() + "/server/" + ImportDialogDriver::newOrderFolder("A").toUtf8();
    const QByteArray bakPath = root().toUtf8() + "/backup/" + ImportDialogDriver::newOrderFolder("A").toUtf8();
    QCOMPARE(reports("order/updatepicpath", "order_photo_id", "A-id"),
             QList<QByteArray>{"picnumber=2&picbacknumber=0&importype=1&" + kToken + "&order_photo_id=A-id&orderpicpath="
                               + path + "&orderbakpicpath=" + bakPath + kLogin + "&timestamp=T&videopaths=" + path
                               + "试拍视频/VID_1.mp4|" + path + "试拍视频/VID_2.avi&videofiles=VID_1.mp4|VID_2.avi&typeid=3"});
    QCOMPARE(fileNames(path + "试拍视频"), (QStringList{"VID_1.mp4", "VID_2.avi"}));
    QCOMPARE(ui->state(0), QString("已导入(2)"));
    QVERIFY(a->isImported(3));
}

void TestImportBatch::failedVideoCopyEndsTheBatch()
{
    writeFile(root() + "/shots/VID_1.mp4", "video");
    ui->chooseType("精修视频");
    ImportOrderModel* a =
        ui->add(ImportDialogDriver::orderJson("A", root()), 4, {root() + "/shots/VID_1.mp4", root() + "/shots/gone.mp4"});
    ImportOrderModel* b = ui->add(ImportDialogDriver::orderJson("B", root()), 4, {root() + "/shots/VID_1.mp4"});
    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"导片失败(错误码:3)，可重试"}, 20000);
    QVERIFY(logText().endsWith(" | A-1 | 导片失败(错误码:3)，可重试\n"));
    QTest::qWait(200);
    QVERIFY(!a->isImported(4));
    QCOMPARE(ui->state(0), QString("未导入"));
    QVERIFY(b->importOrderPath().isEmpty());
    QCOMPARE(env->service->count("order/updatepicpath"), 0);
}

void TestImportBatch::lyraFoldersAreCopiedByJobs()
{
    const QString source = lyraSelections();
    writePhoto(source + "/LY-1/b.jpg", 1);
    writePhoto(source + "/LY-1/a.jpg", 2);
    writePhoto(source + "/LY-1/精选/c.jpg", 3);
    writePhoto(source + "/LY-2/d.jpg", 4);
    ui->chooseType("导入Lyra");
    ImportOrderModel* first = addLyraOrder("A", "LY-1");
    addLyraOrder("B", "LY-2");

    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{"2个订单已经全部导完"}, 20000);
    QCOMPARE(ui->progressLabel(0)->text(), QString("3/3"));
    QCOMPARE(ui->progressBar(0)->maximum(), 3);
    QCOMPARE(ui->progressBar(0)->value(), 3);
    QCOMPARE(ui->progressLabel(1)->text(), QString("1/1"));
    QCOMPARE(ui->state(0), QString("已导入"));
    QCOMPARE(ui->state(1), QString("已导入"));
    const QString lyraRoot = root() + "/lyra/选版服务器/";
    QCOMPARE(fileNames(lyraRoot + "LY-1"), (QStringList{"a.jpg", "b.jpg"}));
    QCOMPARE(fileNames(lyraRoot + "LY-1/精选"), QStringList{"c.jpg"});
    QCOMPARE(first->lyrapath(), root() + "/lyra\\选版服务器\\LY-1");
    QVERIFY(first->isImported(5));

    QTRY_COMPARE(env->service->count("order/savelyrapath"), 2);
    QVERIFY(QRegularExpression("^[A-Za-z0-9_./-]+$").match(root()).hasMatch());
    const QByteArray encodedRoot = root().toUtf8().replace("/", "%2F");
    QCOMPARE(reports("order/savelyrapath", "orderphotoid", "A-id"),
             QList<QByteArray>{"&token=9e4a7c2f0b8d3e61a5c9f2d07b4e8a13&orderphotoid=A-id&lyrapath=" + encodedRoot
                               + "%2Flyra%5C%E9%80%89%E7%89%88%E6%9C%8D%E5%8A%A1%E5%99%A8%5CLY-1" + kLogin});
    QCOMPARE(env->service->count("order/updatepicpath"), 0);
}

void TestImportBatch::lyraCopyFailureIsNotReported()
{
    const QString source = lyraSelections();
    writePhoto(source + "/LY-1/a.jpg", 1);
    writePhoto(source + "/LY-1/b.jpg", 2);
    // A folder where the first file has to go: that copy cannot succeed.
    QDir().mkpath(root() + "/lyra/选版服务器/LY-1/a.jpg");
    ui->chooseType("导入Lyra");
    ImportOrderModel* order = addLyraOrder("A", "LY-1");

    ui->batchButton()->click();
    const QString message = "订单[A-1]有1个文件复制到Lyra服务器失败，请检查后重新批量导片\n" + source
                            + "/LY-1/a.jpg：复制文件失败";
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{message}, 20000);
    QCOMPARE(env->dialogs.boxes.first().title, QString("警告"));
    QVERIFY(logText().endsWith(" | A-1 | " + message + "\n"));
    QCOMPARE(ui->progressLabel(0)->text(), QString("2/2"));
    QCOMPARE(ui->state(0), QString("未导入"));
    QVERIFY(!order->isImported(5));
    QCOMPARE(ui->batchButton()->text(), QString("批量导片"));
    QTest::qWait(200);
    QCOMPARE(env->service->count("order/savelyrapath"), 0);
}

// The select buttons stay usable during a batch: a finished order given a new
// folder meanwhile is not started again by the same batch.
void TestImportBatch::orderChosenAnewDuringABatchWaitsForTheNextPress()
{
    const QString source = lyraSelections();
    writePhoto(source + "/LY-1/a.jpg", 1);
    writePhoto(source + "/LY-2/b.jpg", 2);
    writePhoto(source + "/LY-3/c.jpg", 3);
    ui->chooseType("导入Lyra");
    ImportOrderModel* first = addLyraOrder("A", "LY-1");
    addLyraOrder("B", "LY-2");
    env->dialogs.fileAnswers << QStringList{source + "/LY-3"};
    bool chosenAnew = false;
    connect(ui->table(), &QTableWidget::itemChanged, this, [&](QTableWidgetItem* item) {
        if (!chosenAnew && item->row() == 0 && item->column() == 3 && item->text() == "已导入") {
            chosenAnew = true;
            ui->selectButton(0)->click();
        }
    });

    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(boxesTitled("导入完成").size(), 1, 20000);
    QVERIFY(chosenAnew);
    QCOMPARE(boxesTitled("导入完成").first().text, QString("2个订单已经全部导完"));
    QCOMPARE(ui->state(1), QString("已导入"));
    QCOMPARE(first->lyraSourceDir(), source + "/LY-3");
    QVERIFY(!first->isImported(5));
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(root() + "/lyra/选版服务器/LY-3"));
    QCOMPARE(boxesTitled("导入完成").size(), 1);
    QCOMPARE(ui->batchButton()->text(), QString("批量导片"));
}

void TestImportBatch::lyraOrderThatCannotRun_data()
{
    QTest::addColumn<bool>("emptyFolder");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty folder") << true << "1个订单已经全部导完";
    QTest::newRow("target not creatable") << false << "Lyra服务器路径错误，请检查后重新批量导片";
}

void TestImportBatch::lyraOrderThatCannotRun()
{
    QFETCH(bool, emptyFolder);
    QFETCH(QString, message);
    const QString source = lyraSelections();
    QDir().mkpath(source + "/LY-1/空");
    if (!emptyFolder) {
        writePhoto(source + "/LY-1/a.jpg", 1);
        writeFile(root() + "/lyra/选版服务器/LY-1", "a file in the folder's place");
    }
    ui->chooseType("导入Lyra");
    ImportOrderModel* order = addLyraOrder("A", "LY-1");

    ui->batchButton()->click();
    QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.texts(), QStringList{message}, 20000);
    QCOMPARE(ui->batchButton()->text(), QString("批量导片"));
    QCOMPARE(order->isImported(5), emptyFolder);
    if (emptyFolder) {
        QCOMPARE(ui->progressLabel(0)->text(), QString("0/0"));
        QCOMPARE(ui->state(0), QString("已导入"));
        QVERIFY(QDir(root() + "/lyra/选版服务器/LY-1/空").exists());
        QTRY_COMPARE(env->service->count("order/savelyrapath"), 1);
    } else {
        QVERIFY(logText().endsWith(" | A-1 | " + message + "\n"));
        QTest::qWait(200);
        QCOMPARE(env->service->count("order/savelyrapath"), 0);
    }
}

void TestImportBatch::closingTheWindowDuringLyraCopies()
{
    const QString source = lyraSelections();
    for (int i = 0; i < 200; ++i)
        writeFile(QString("%1/LY-1/%2.jpg").arg(source).arg(i), QByteArray(100000, 'x'));
    ui->chooseType("导入Lyra");
    ImportOrderModel* order = addLyraOrder("A", "LY-1");
    // The window closes as soon as its copy jobs have been handed out.
    connect(ui->progressBar(0), &QProgressBar::valueChanged, dialog.data(), [this] { dialog->close(); });
    ui->batchButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog, 20000);
    // Every copy still waiting reaches the order's Lyra folder, and nobody is
    // called back.
    const QString target = root() + "/lyra/选版服务器/LY-1";
    QTRY_COMPARE_WITH_TIMEOUT(QDir(target).entryList(QDir::Files).size(), 200, 20000);
    for (int i = 0; i < 200; ++i)
        QCOMPARE(readFile(QString("%1/%2.jpg").arg(target).arg(i)).size(), 100000);
    QTest::qWait(200);
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(env->service->count("order/savelyrapath"), 0);
}

QTEST_MAIN(TestImportBatch)
#include "tst_importbatch.moc"
