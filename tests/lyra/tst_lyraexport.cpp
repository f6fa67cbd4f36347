#include "DemoPhotos.h"
#include "lyra/lyrathread.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSemaphore>
#include <QtTest>

namespace {

const QString kHeading = "所选订单Lyra选版导出结果";

QString red(const QString& order, const QString& closing)
{
    return "<br><font color=\"#ff0000\">" + order + "</font>" + closing;
}

QString green(const QString& order, const QString& closing)
{
    return "<br><font color=\"#669900\">" + order + "</font>" + closing;
}

// Every file and folder under `root`, hidden ones too, relative and sorted;
// folders end with "/".
QStringList tree(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString relative = QDir(root).relativeFilePath(it.filePath());
        entries << (it.fileInfo().isDir() ? relative + "/" : relative);
    }
    entries.sort();
    return entries;
}

// Stands in for the Lyra separation window: the slot the export calls.
class ExportReceiver : public QObject
{
    Q_OBJECT
public:
    QStringList alerts;
    QStringList finishes;

public slots:
    void slt_exportLyraResult(QJsonObject msgObjc)
    {
        const QString type = msgObjc.value("type").toString();
        if (type == "update_msg")
            alerts << msgObjc.value("alert").toString();
        else if (type == "all_finish")
            finishes << msgObjc.value("message").toString();
    }
};

} // namespace

// The export of finished Lyra selections, fed order rows as the window
// builds them, over a store folder and an order folder made like the demo's.
class TestLyraExport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void exportedTree_data();
    void exportedTree();
    void progressTexts();
    void findings_data();
    void findings();
    void onlyTickedOrders();
    void folderNamesFromServiceData_data();
    void folderNamesFromServiceData();
    void failedCopyMakesThePartialLine();
    void rerunKeepsTheFirstCopies();
    void handOverNameCannotClimbOut();
    void stopEndsTheExportBetweenFiles();

private:
    OrderItemInfo row() const;
    QString run(const QList<OrderItemInfo>& rows, const QString& downloadAll = "0", const QString& bigImage = "0");
    QString path(const QString& relative) const { return dir->path() + "/" + relative; }
    QString selected() const { return path("lyra/店/选版服务器/[已选]X"); }
    QString orderFolder(const QString& name = "K-服务次1 张三-李四") const
    {
        return path("out/" + date + "/" + name);
    }

    std::unique_ptr<RecordedEnvironment> env;
    std::unique_ptr<QTemporaryDir> dir;
    ExportReceiver receiver;
    QString date;
};

void TestLyraExport::init()
{
    env.reset(new RecordedEnvironment);
    dir.reset(new QTemporaryDir);
    receiver.alerts.clear();
    receiver.finishes.clear();
    date = QDate::currentDate().toString("yyyy-MM-dd");
    DemoPhotos::createLyraResult(path("lyra/店"), "X");
    DemoPhotos::fillOrderFolder(path("server/X/"));
    QDir().mkpath(path("out"));
}

void TestLyraExport::cleanup()
{
    env.reset();
    dir.reset();
}

// One ticked order as the window's reply step fills it: Lyra paths built
// with "\" on the store's folder.
OrderItemInfo TestLyraExport::row() const
{
    OrderItemInfo order;
    order.checked = true;
    order.orderpayforkey = "K";
    order.servicetimes = "1";
    order.names = "张三-李四";
    order.orderpath = path("server/X/");
    order.lyraRelPath = "X";
    order.lyraSelectedPath = path("lyra/店") + "\\选版服务器\\[已选]X";
    return order;
}

QString TestLyraExport::run(const QList<OrderItemInfo>& rows, const QString& downloadAll, const QString& bigImage)
{
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "exportLyraresult";
    worker.exportRoot = path("out");
    worker.orders = rows;
    worker.lyraIsDownloadAll = downloadAll;
    worker.lyraBigImg = bigImage;
    worker.start();
    worker.wait();
    QCoreApplication::sendPostedEvents(&receiver, QEvent::MetaCall);
    return receiver.finishes.value(receiver.finishes.size() - 1);
}

void TestLyraExport::exportedTree_data()
{
    QTest::addColumn<QString>("downloadAll");
    QTest::addColumn<QString>("bigImage");
    QTest::addColumn<QStringList>("expected");
    const QStringList pages = {"选版结果/", "选版结果/A.JPG", "选版结果/B.jpg", "选版结果/版面1.png",
                               "选版结果/精修/", "选版结果/精修/C.jpg"};
    const QStringList everything = pages + QStringList{"选版结果/X.ok", "选版结果/未入册照片/",
                                                       "选版结果/未入册照片/D.jpg", "选版结果/说明.txt"};
    QTest::newRow("pages only, big image") << "0" << "1" << pages;
    QTest::newRow("empty setting") << "" << "0" << everything;
    QTest::newRow("with the hand-over")
        << "1" << "0"
        << everything + QStringList{"X_待Lyra设计同步用数据/", "X_待Lyra设计同步用数据/设计说明.txt"};
}

void TestLyraExport::exportedTree()
{
    QFETCH(QString, downloadAll);
    QFETCH(QString, bigImage);
    QFETCH(QStringList, expected);
    const QString report = run({row()}, downloadAll, bigImage);
    QCOMPARE(report, kHeading + green("K 服务次1", "  Lyra导出完成"));
    QCOMPARE(tree(path("out")), (QStringList{date + "/", date + "/K-服务次1 张三-李四/"}
                                 + [&] {
                                       QStringList inOrder;
                                       for (const QString& entry : expected)
                                           inOrder << date + "/K-服务次1 张三-李四/" + entry;
                                       inOrder.sort();
                                       return inOrder;
                                   }()));
    // With the big-image setting the order's finished A.jpg goes out under
    // Lyra's name A.JPG; otherwise Lyra's own picture.
    const QByteArray exported = readFile(orderFolder() + "/选版结果/A.JPG");
    const QString source = bigImage == "1" ? path("server/X/成品/A.jpg") : selected() + "/选版结果/A.JPG";
    QCOMPARE(exported, readFile(source));
    QVERIFY(readFile(path("server/X/成品/A.jpg")) != readFile(selected() + "/选版结果/A.JPG"));
    QCOMPARE(readFile(orderFolder() + "/选版结果/版面1.png"), readFile(selected() + "/选版结果/版面1.png"));
}

void TestLyraExport::progressTexts()
{
    run({row()});
    QCOMPARE(receiver.alerts.mid(0, 2), (QStringList{"开始准备K 服务次1的检查并创建路径，请稍后...",
                                                     "开始导出K 服务次1的Lyra选版结果, 可能比较耗时，请稍后..."}));
    QStringList copies = receiver.alerts.mid(2);
    copies.sort();
    QCOMPARE(copies, (QStringList{"正在拷贝A.JPG, 请稍后...", "正在拷贝B.jpg, 请稍后...", "正在拷贝C.jpg, 请稍后...",
                                  "正在拷贝版面1.png, 请稍后..."}));
    QCOMPARE(receiver.finishes.size(), 1);
}

void TestLyraExport::findings_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("downloadAll");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("orderFolderMade");
    const QString order = "K 服务次1";
    const QString done = green(order, "  Lyra导出完成");
    const QString partly = green(order, "  Lyra部分导出完成");
    QTest::newRow("no selection path") << "no path" << "0" << QStringList{red(order, " 没有Lyra选版完成路径")} << false;
    QTest::newRow("selection out of reach")
        << "no folder" << "0" << QStringList{red(order, " Lyra选版未完成或与本机不在同一局域网")} << false;
    QTest::newRow("no .ok") << "no ok" << "0" << QStringList{red(order, " Lyra选版未完成")} << false;
    QTest::newRow("a folder x.ok counts") << "ok folder" << "0" << QStringList{done} << true;
    QTest::newRow("date folder blocked")
        << "date file" << "0" << QStringList{red(order, " 创建导出日期目录失败，请检查权限")} << false;
    QTest::newRow("empty export root")
        << "no root" << "0" << QStringList{red(order, " 创建导出日期目录失败，请检查权限")} << false;
    QTest::newRow("order folder blocked")
        << "order file" << "0" << QStringList{red(order, " 创建导出根目录失败，请检查权限")} << false;
    QTest::newRow("result folder blocked")
        << "result file" << "0" << QStringList{red(order, " 创建选版结果导出目录失败，请检查权限"), partly} << true;
    QTest::newRow("no hand-over source")
        << "no hand-over" << "1" << QStringList{red(order, " Lyra路径下没有 待Lyra设计同步用数据 文件夹"), partly} << true;
    QTest::newRow("result blocked, no hand-over")
        << "result file, no hand-over" << "1"
        << QStringList{red(order, " 创建选版结果导出目录失败，请检查权限"),
                       red(order, " Lyra路径下没有 待Lyra设计同步用数据 文件夹")}
        << true;
    QTest::newRow("hand-over folder blocked")
        << "hand-over file" << "1" << QStringList{red(order, " 创建 待Lyra设计同步用数据 导出目录失败，请检查权限"), partly}
        << true;
    QTest::newRow("no finished photos")
        << "no 成品" << "0" << QStringList{red(order, " 没有导入成品照片，所以产品文件夹里是Lyra的小图！"), done} << true;
    QTest::newRow("empty order path")
        << "no order path" << "0" << QStringList{red(order, " 没有导入成品照片，所以产品文件夹里是Lyra的小图！"), done}
        << true;
}

void TestLyraExport::findings()
{
    QFETCH(QString, change);
    QFETCH(QString, downloadAll);
    QFETCH(QStringList, lines);
    QFETCH(bool, orderFolderMade);
    OrderItemInfo order = row();
    const QString result = selected() + "/选版结果/";
    if (change == "no path")
        order.lyraSelectedPath.clear();
    if (change == "no folder")
        order.lyraSelectedPath = path("lyra/店") + "\\选版服务器\\[已选]Y";
    if (change == "no ok" || change == "ok folder")
        QVERIFY(QFile::remove(result + "X.ok"));
    if (change == "ok folder")
        QVERIFY(QDir().mkpath(result + "x.OK"));
    if (change == "date file")
        writeFile(path("out/" + date), "file");
    if (change == "order file")
        writeFile(orderFolder(), "file");
    if (change.startsWith("result file"))
        writeFile(orderFolder() + "/选版结果", "file");
    if (change.endsWith("no hand-over"))
        QVERIFY(QDir(selected() + "/X_待Lyra设计同步用数据").removeRecursively());
    if (change == "hand-over file")
        writeFile(orderFolder() + "/X_待Lyra设计同步用数据", "file");
    if (change == "no 成品")
        QVERIFY(QDir(path("server/X/成品")).removeRecursively());
    if (change == "no order path")
        order.orderpath.clear();

    Lyrathread worker(&receiver, nullptr);
    worker.mode = "exportLyraresult";
    worker.exportRoot = change == "no root" ? QString() : path("out");
    worker.orders = {order};
    worker.lyraIsDownloadAll = downloadAll;
    worker.lyraBigImg = "1";
    QDir::setCurrent(path("server/X"));
    worker.start();
    worker.wait();
    QDir::setCurrent(dir->path());
    QCoreApplication::sendPostedEvents(&receiver, QEvent::MetaCall);

    QCOMPARE(receiver.finishes, QStringList{kHeading + lines.join(QString())});
    QCOMPARE(QFileInfo(orderFolder()).isDir(), orderFolderMade);
    if (change == "no root")
        QVERIFY(!QFileInfo::exists("/" + date));
    // Without an order path nothing reads "成品" in the current folder.
    if (change == "no order path")
        QCOMPARE(readFile(orderFolder() + "/选版结果/A.JPG"), readFile(result + "A.JPG"));
}

void TestLyraExport::onlyTickedOrders()
{
    OrderItemInfo unticked = row();
    unticked.checked = false;
    QCOMPARE(run({unticked}), kHeading);
    QCOMPARE(run({}), kHeading);
    QVERIFY(receiver.alerts.isEmpty());
    QCOMPARE(tree(path("out")), QStringList{});
}

void TestLyraExport::folderNamesFromServiceData_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("reportOrder");
    QTest::newRow("slash in a name") << "K" << "张/三" << "K-服务次1 张三" << "K 服务次1";
    QTest::newRow("no names") << "K" << "" << "K-服务次1" << "K 服务次1";
    QTest::newRow("markup") << "<b>K" << "a" << "bK-服务次1 a" << "&lt;b&gt;K 服务次1";
}

void TestLyraExport::folderNamesFromServiceData()
{
    QFETCH(QString, key);
    QFETCH(QString, names);
    QFETCH(QString, folder);
    QFETCH(QString, reportOrder);
    OrderItemInfo order = row();
    order.orderpayforkey = key;
    order.names = names;
    QCOMPARE(run({order}), kHeading + green(reportOrder, "  Lyra导出完成"));
    QCOMPARE(QDir(path("out/" + date)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{folder});
}

void TestLyraExport::failedCopyMakesThePartialLine()
{
    QVERIFY(QDir().mkpath(orderFolder() + "/选版结果/B.jpg"));
    QCOMPARE(run({row()}),
             kHeading + red("K 服务次1", " 1个文件拷贝失败") + green("K 服务次1", "  Lyra部分导出完成"));
    QVERIFY(QFileInfo(orderFolder() + "/选版结果/A.JPG").isFile());
}

void TestLyraExport::rerunKeepsTheFirstCopies()
{
    run({row()}, "");
    const QStringList first = tree(path("out"));
    writeFile(orderFolder() + "/选版结果/B.jpg", "edited by hand");
    QCOMPARE(run({row()}, ""), kHeading + green("K 服务次1", "  Lyra导出完成"));
    // Nothing replaced, nothing numbered, no temporary file left.
    QCOMPARE(tree(path("out")), first);
    QCOMPARE(readFile(orderFolder() + "/选版结果/B.jpg"), QByteArray("edited by hand"));
}

void TestLyraExport::handOverNameCannotClimbOut()
{
    OrderItemInfo order = row();
    order.lyraRelPath = "../../x";
    // The source the name points to exists, so only the target is refused.
    QVERIFY(QDir().mkpath(selected() + "/../../x_待Lyra设计同步用数据"));
    writeFile(selected() + "/../../x_待Lyra设计同步用数据/f.txt", "f");
    QCOMPARE(run({order}, "1"), kHeading + red("K 服务次1", " 创建 待Lyra设计同步用数据 导出目录失败，请检查权限")
                                    + green("K 服务次1", "  Lyra部分导出完成"));
    QCOMPARE(tree(path("out/" + date)).filter("x_待Lyra"), QStringList{});
    QVERIFY(!QFileInfo::exists(path("out/x_待Lyra设计同步用数据")));
    QVERIFY(!QFileInfo::exists(path("out/" + date + "/x_待Lyra设计同步用数据")));
}

void TestLyraExport::stopEndsTheExportBetweenFiles()
{
    Lyrathread worker(&receiver, nullptr);
    // Hold the export at its reachability test until the program's end
    // asks it to stop.
    QSemaphore held;
    env->platform->beforeFolderCheck = [&](const QString&) {
        held.release();
        while (!worker.stopRequested())
            QThread::yieldCurrentThread();
    };
    worker.mode = "exportLyraresult";
    worker.exportRoot = path("out");
    worker.orders = {row(), row()};
    worker.lyraIsDownloadAll = "0";
    worker.start();
    held.acquire();
    worker.stop();
    QVERIFY(worker.wait(60000));
    QCoreApplication::sendPostedEvents(&receiver, QEvent::MetaCall);
    QCOMPARE(tree(orderFolder()).filter(".jpg", Qt::CaseInsensitive), QStringList{});
    QVERIFY(receiver.finishes.isEmpty());
}

QTEST_MAIN(TestLyraExport)
#include "tst_lyraexport.moc"
