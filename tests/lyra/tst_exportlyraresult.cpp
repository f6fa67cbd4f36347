#include "core/Globals.h"
#include "DemoPhotos.h"
#include "files/FileOperation.h"
#include "lyra/exportlyraresult.h"
#include "separation/splitaftersample.h"
#include "StudioService.h"
#include "support/OrderSearchDriver.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QSemaphore>
#include <QThreadPool>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

// Keeps every text the status label shows, in order, by looking at it
// before each of the export's queued calls and at the end.
class LabelHistory : public QObject
{
public:
    LabelHistory(QObject* window, QLabel* label) : label(label) { window->installEventFilter(this); }
    void note()
    {
        if (label && (texts.isEmpty() || texts.last() != label->text()))
            texts << label->text();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MetaCall)
            note();
        return false;
    }

    QPointer<QLabel> label;
    QStringList texts;
};

class Blocker : public QRunnable
{
public:
    explicit Blocker(QSemaphore* gate) : gate(gate) {}
    void run() override { gate->acquire(); }
    QSemaphore* gate;
};

class Flag : public QRunnable
{
public:
    explicit Flag(QAtomicInt* ran) : ran(ran) {}
    void run() override { ran->storeRelease(1); }
    QAtomicInt* ran;
};

} // namespace

// The Lyra separation window: its order search, the start of the export
// and its report, against the stand-in's demo orders and Lyra folders.
class TestExportLyraResult : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void savedRootAndChooser();
    void searchesAsTheAfterSampleWindow();
    void startRefusals_data();
    void startRefusals();
    void exportsTheTickedDemoOrder();
    void muheOrderExportsItsHandOver();
    void unknownCallChangesNothing();
    void closingMidExportNeitherWaitsNorReports();

private:
    void reopen();
    // Searches the demo order LY20240518 (finished in Lyra) and ticks it.
    void findAndTick();
    QString exported(const QString& relative) const
    {
        return env->workDir.path() + "/out/" + QDate::currentDate().toString("yyyy-MM-dd")
            + "/LY20240518-服务次2 张敏-刘洋/" + relative;
    }
    QString demo(const QString& relative) const { return env->service->demoRoot() + "/" + relative; }

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<ExportLyraResult> window;
    std::unique_ptr<OrderSearchDriver> driver;
};

void TestExportLyraResult::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_uid = "1001";
    g_shopId = "12";
    g_superId = "3";
    g_eid = "501";
    g_storeNames = QStringList{"澜叶旗舰店", "澜叶二店"};
    g_storeIds = QStringList{"12", "13"};
    g_lyraIsDownloadAll = "0";
    g_lyraBigImg = "1";
    DemoPhotos::createLyraResult(demo("lyra/澜叶旗舰店"), "LY20240518-2");
    DemoPhotos::fillOrderFolder(demo("server/photos/2024-05/18/LY20240518-2-张敏-刘洋-陈摄影-林化妆/"));
    QDir().mkpath(env->workDir.path() + "/out");
    window.reset(new ExportLyraResult);
    window->show();
    driver.reset(new OrderSearchDriver(window.get()));
}

void TestExportLyraResult::cleanup()
{
    driver.reset();
    window.reset();
    env.reset();
}

// A new window, as the launcher makes one after each shop switch.
void TestExportLyraResult::reopen()
{
    driver.reset();
    window.reset(new ExportLyraResult);
    window->show();
    driver.reset(new OrderSearchDriver(window.get()));
}

void TestExportLyraResult::findAndTick()
{
    QVERIFY(driver->search("预约单号", "LY20240518"));
    QCOMPARE(driver->model()->rowCount(), 1);
    driver->clickCell(0, 1);
    QCOMPARE(driver->ticks(), QList<Qt::CheckState>{Qt::Checked});
}

void TestExportLyraResult::savedRootAndChooser()
{
    FileOperation::writeStringList("path_separatePhotos.dat", {"/srv/分件"}, true);
    reopen();
    auto* field = driver->pathEdit();
    QCOMPARE(field->text(), QString("/srv/分件"));

    auto* choose = driver->widget<QPushButton>("selectPathButton");
    QTest::mouseClick(choose, Qt::LeftButton);
    QCOMPARE(env->dialogs.fileDialogs.size(), 1);
    QCOMPARE(env->dialogs.fileDialogs.first().kind, DialogRecorder::FileDialogKind::ExistingDirectory);
    QCOMPARE(env->dialogs.fileDialogs.first().caption, QString("选择分件保存路径"));
    QCOMPARE(field->text(), QString("/srv/分件"));
    env->dialogs.fileAnswers << QStringList{"/srv/新"};
    QTest::mouseClick(choose, Qt::LeftButton);
    QCOMPARE(field->text(), QString("/srv/新"));
    // Only the after-sample run saves a root.
    QCOMPARE(FileOperation::readStringList("path_separatePhotos.dat", 1), QStringList{"/srv/分件"});
}

void TestExportLyraResult::searchesAsTheAfterSampleWindow()
{
    const QStringList texts = {"转数码日期", "预约单号", "拍摄日期", "选片日期", "选片完成日期",
                               "上件日期",   "预约日期", "发货日期", "姓名",     "电话"};
    QStringList offered;
    for (int i = 0; i < driver->typeBox()->count(); ++i)
        offered << driver->typeBox()->itemText(i);
    QCOMPARE(offered, texts);
    QCOMPARE(driver->typeBox()->currentText(), QString("转数码日期"));

    SplitAfterSample afterSample;
    OrderSearchDriver other(&afterSample);
    for (const QString& text : texts) {
        for (OrderSearchDriver* each : {driver.get(), &other}) {
            each->calendar()->setSelectedDate(QDate(2024, 5, 22));
            QVERIFY2(each->search(text, "LY2024"), qPrintable(text));
        }
        const QList<RecordedRequest> sent = env->service->requests("order/order_list");
        QCOMPARE(sent.size(), 2);
        QCOMPARE(sent.at(0).body, sent.at(1).body);
        env->service->clearRequests();
    }
    env->dialogs.clear();
}

void TestExportLyraResult::startRefusals_data()
{
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing ticked") << false << "out" << "" << "请选择订单";
    QTest::newRow("missing root") << true << "missing" << "警告" << "分件路径不存在";
    QTest::newRow("empty root") << true << "" << "警告" << "分件路径不存在";
}

void TestExportLyraResult::startRefusals()
{
    QFETCH(bool, tick);
    QFETCH(QString, path);
    QFETCH(QString, title);
    QFETCH(QString, text);
    if (tick)
        findAndTick();
    driver->pathEdit()->setText(path.isEmpty() ? QString() : env->workDir.path() + "/" + path);
    env->dialogs.clear();
    QTest::mouseClick(driver->widget<QPushButton>("pushButton_separate"), Qt::LeftButton);
    QCOMPARE(env->dialogs.texts(), QStringList{text});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, title, QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!env->dialogs.boxes.first().hadParent);
    QVERIFY(driver->widget<QGroupBox>("groupBox")->isHidden());
    QTest::qWait(50);
    QCOMPARE(QDir(env->workDir.path() + "/out").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
}

void TestExportLyraResult::exportsTheTickedDemoOrder()
{
    findAndTick();
    driver->pathEdit()->setText(env->workDir.path() + "/out");
    auto* label = driver->widget<QLabel>("label");
    LabelHistory history(window.get(), label);
    auto* start = driver->widget<QPushButton>("pushButton_separate");
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(driver->widget<QGroupBox>("groupBox")->isVisible());
    QVERIFY(driver->widget<QProgressBar>("progressBar")->isHidden());
    QVERIFY(driver->widget<QLabel>("label_finishOrdersNum")->isHidden());
    history.note();
    // A second press while the export runs starts nothing.
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_COMPARE(env->dialogs.boxes.size(), 2);
    history.note();

    const QString report = "所选订单Lyra选版导出结果<br><font color=\"#669900\">LY20240518 服务次2</font>  Lyra导出完成";
    QCOMPARE(env->dialogs.texts(), (QStringList{"正在分件，请稍后", report}));
    compareBox(env->dialogs.boxes.at(0), QMessageBox::Information, "通知", QMessageBox::Yes, QMessageBox::Yes);
    compareBox(env->dialogs.boxes.at(1), QMessageBox::Information, "温馨提示", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!env->dialogs.boxes.at(1).hadParent);
    QCOMPARE(history.texts.mid(0, 4), (QStringList{"开始导出Lyra结果...", "开始准备LY20240518 服务次2的检查并创建路径，请稍后...",
                                                   "开始导出LY20240518 服务次2的Lyra选版结果, 可能比较耗时，请稍后...",
                                                   history.texts.value(3)}));
    QVERIFY(history.texts.value(3).startsWith("正在拷贝"));
    QVERIFY(driver->widget<QGroupBox>("groupBox")->isHidden());
    QVERIFY(label->isHidden());

    // Shop 12 exports pictures and pages, with the finished photo in place of Lyra's.
    QCOMPARE(readFile(exported("选版结果/A.JPG")),
             readFile(demo("server/photos/2024-05/18/LY20240518-2-张敏-刘洋-陈摄影-林化妆/成品/A.jpg")));
    QVERIFY(!QFileInfo::exists(exported("选版结果/说明.txt")));
    // The root is not remembered.
    QVERIFY(!QFileInfo::exists(env->workDir.path() + "/path_separatePhotos.dat"));

    // Idle again: a new press exports once more, keeping the first copies.
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_COMPARE(env->dialogs.boxes.size(), 3);
    QCOMPARE(env->dialogs.texts().last(), report);
}

// 沐禾店 exports everything but hidden files, with Lyra's design hand-over.
void TestExportLyraResult::muheOrderExportsItsHandOver()
{
    g_shopId = "77";
    g_storeNames = QStringList{"沐禾店"};
    g_storeIds = QStringList{"77"};
    g_lyraIsDownloadAll = "1";
    g_lyraBigImg = "0";
    DemoPhotos::createLyraResult(demo("lyra/沐禾店"), "MH20240712-1");
    reopen();
    QVERIFY(driver->search("预约单号", "MH20240712"));
    QCOMPARE(driver->model()->rowCount(), 1);
    driver->clickCell(0, 1);
    driver->pathEdit()->setText(env->workDir.path() + "/out");
    QTest::mouseClick(driver->widget<QPushButton>("pushButton_separate"), Qt::LeftButton);
    QTRY_COMPARE(env->dialogs.boxes.size(), 1);

    QCOMPARE(env->dialogs.texts(),
             QStringList{"所选订单Lyra选版导出结果<br><font color=\"#ff0000\">MH20240712 服务次1</font> "
                         "没有导入成品照片，所以产品文件夹里是Lyra的小图！<br><font color=\"#669900\">MH20240712 "
                         "服务次1</font>  Lyra导出完成"});
    const QString order = env->workDir.path() + "/out/" + QDate::currentDate().toString("yyyy-MM-dd")
        + "/MH20240712-服务次1 宋雨-韩潇/";
    const QString selected = demo("lyra/沐禾店/选版服务器/[已选]MH20240712-1/");
    for (const QString& file : {"选版结果/说明.txt", "选版结果/MH20240712-1.ok", "选版结果/未入册照片/D.jpg",
                                "MH20240712-1_待Lyra设计同步用数据/设计说明.txt"})
        QCOMPARE(readFile(order + file), readFile(selected + file));
    QVERIFY(!QFileInfo::exists(order + "选版结果/.缓存.jpg"));
}

void TestExportLyraResult::unknownCallChangesNothing()
{
    findAndTick();
    driver->pathEdit()->setText(env->workDir.path() + "/out");
    auto* label = driver->widget<QLabel>("label");
    const QJsonObject other{{"type", "other"}, {"alert", "x"}};
    QVERIFY(QMetaObject::invokeMethod(window.get(), "slt_exportLyraResult", Q_ARG(QJsonObject, other)));
    QVERIFY(label->isHidden());
    QCOMPARE(label->text(), QString("正在查询产品信息..."));
    // Progress shows as plain text, markup and all.
    const QJsonObject progress{{"type", "update_msg"}, {"alert", "正在拷贝<b>a.jpg</b>"}};
    QVERIFY(QMetaObject::invokeMethod(window.get(), "slt_exportLyraResult", Q_ARG(QJsonObject, progress)));
    QCOMPARE(label->text(), QString("正在拷贝<b>a.jpg</b>"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestExportLyraResult::closingMidExportNeitherWaitsNorReports()
{
    findAndTick();
    driver->pathEdit()->setText(env->workDir.path() + "/out");
    std::atomic<bool> held{false};
    std::atomic<bool> released{false};
    env->platform->beforeFolderCheck = [&](const QString&) {
        held = true;
        while (!released)
            QThread::yieldCurrentThread();
    };
    // A job of the program's pool, queued behind a running one.
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    QSemaphore gate;
    QAtomicInt ran;
    pool->start(new Blocker(&gate));
    pool->start(new Flag(&ran));

    QTest::mouseClick(driver->widget<QPushButton>("pushButton_separate"), Qt::LeftButton);
    QTRY_VERIFY(held);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<ExportLyraResult> closing = window.release();
    driver.reset();
    closing->close();
    // Deleted while the export is held: the window did not wait for it.
    QTRY_VERIFY(!closing);
    released = true;
    QTRY_VERIFY(QFileInfo::exists(exported("选版结果/A.JPG")));
    QTRY_VERIFY(QFileInfo::exists(exported("选版结果/精修/C.jpg")));
    QTest::qWait(100);
    QVERIFY(env->dialogs.boxes.isEmpty());

    gate.release();
    QTRY_VERIFY(ran.loadAcquire());
    pool->setMaxThreadCount(threads);
}

QTEST_MAIN(TestExportLyraResult)
#include "tst_exportlyraresult.moc"
