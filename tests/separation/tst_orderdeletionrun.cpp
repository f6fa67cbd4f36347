#include "core/Globals.h"
#include "separation/OrderDeletionRun.h"
#include "StudioService.h"
#include "support/DeletionFixture.h"
#include "support/TestSupport.h"

#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(Response)

using namespace DeletionFixture;

namespace {

// The progress part of a deleting window.
struct ProgressWindow {
    ProgressWindow()
    {
        auto* layout = new QVBoxLayout(group);
        layout->addWidget(bar);
        layout->addWidget(label);
        group->hide();
        window->show();
    }
    OrderDeletionRun::Progress progress() const { return {group, bar, label}; }

    std::unique_ptr<QWidget> window{new QWidget};
    QGroupBox* group = new QGroupBox(window.get());
    QProgressBar* bar = new QProgressBar(group);
    QLabel* label = new QLabel(group);
};

} // namespace

// One deletion run: the workers, the counting, the reports and the boxes.
class TestOrderDeletionRun : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void deletesTheTickedFoldersAndReportsThem();
    void nothingToDelete();
    void foldersThatStayEndTheRun();
    void onlyOrderFoldersGo_data();
    void onlyOrderFoldersGo();
    void refusedReportsStillEndTheRun_data();
    void refusedReportsStillEndTheRun();
    void closingTheWindowLosesNoReport();
    void oneRunAtATime();

private:
    QString folder(const QString& name) const { return env->workDir.path() + "/server/photos/2024-05/" + name + "/"; }
    QPointer<OrderDeletionRun> run(const QList<OrderItemInfo>& orders);
    // Waits until the run has freed itself, every report answered.
    void waitForEnd(QPointer<OrderDeletionRun> started);

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<ProgressWindow> window;
};

void TestOrderDeletionRun::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_eid = "501";
    g_picPath = env->workDir.path() + "/server/photos/";
    QVERIFY(QDir().mkpath(g_picPath));
    window.reset(new ProgressWindow);
}

void TestOrderDeletionRun::cleanup()
{
    window.reset();
    g_picPath.clear();
    g_bakPicPath.clear();
    g_homePicPath.clear();
    env.reset();
}

QPointer<OrderDeletionRun> TestOrderDeletionRun::run(const QList<OrderItemInfo>& orders)
{
    return OrderDeletionRun::start(orders, window->progress());
}

void TestOrderDeletionRun::waitForEnd(QPointer<OrderDeletionRun> started)
{
    QVERIFY(started);
    QTRY_VERIFY(!started);
}

void TestOrderDeletionRun::deletesTheTickedFoldersAndReportsThem()
{
    for (const char* name : {"A", "C", "D"})
        makeOrderFolder(folder(name));
    const QList<OrderItemInfo> orders = {order("90002", folder("A")), order("90001", ""), order("90006", folder("C")),
                                         order("90004", folder("D"), false)};

    QPointer<OrderDeletionRun> started = run(orders);
    QVERIFY(window->group->isVisible());
    QCOMPARE(window->label->text(), QString("正在删除订单路径下的照片"));
    QCOMPARE(window->bar->maximum(), 2);
    QVERIFY(started->isDeleting());
    waitForEnd(started);

    QVERIFY(!QFileInfo::exists(folder("A")));
    QVERIFY(!QFileInfo::exists(folder("C")));
    QVERIFY(QFileInfo::exists(folder("D") + "thumbnail2250/IMG_0001.jpg"));
    QVERIFY(QFileInfo::exists(g_picPath));

    QList<QByteArray> bodies;
    for (const RecordedRequest& report : env->service->requests("OrderPhoto/order_photo_del"))
        bodies << report.body;
    std::sort(bodies.begin(), bodies.end());
    QCOMPARE(bodies, (QList<QByteArray>{reportBody("90002", folder("A")), reportBody("90006", folder("C"))}));
    // The stand-in forgets the folders, so the next search shows them gone.
    for (const QJsonValue& value : env->service->demo().value("orders").toArray()) {
        const QJsonObject demoOrder = value.toObject();
        const QString id = demoOrder.value("order_photo_id").toString();
        if (id == "90002" || id == "90006")
            QCOMPARE(demoOrder.value("orderpath").toString(), QString());
    }

    QCOMPARE(env->dialogs.texts(), QStringList{"订单照片删除成功"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!env->dialogs.boxes.first().hadParent);
    QCOMPARE(window->bar->value(), 2);
    QCOMPARE(window->label->text(), QString("删除成功"));
    QVERIFY(!window->group->isVisible());
    QVERIFY(window->bar->isHidden());
}

void TestOrderDeletionRun::nothingToDelete()
{
    makeOrderFolder(folder("D"));
    const QPointer<OrderDeletionRun> started =
        run({order("90001", ""), order("90002", folder("missing")), order("90003", folder("D"), false)});
    QVERIFY(!started);
    QCOMPARE(env->dialogs.texts(), QStringList{"订单路径不存在"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!window->group->isVisible());
    QTest::qWait(50);
    QVERIFY(env->service->requests().isEmpty());
    QVERIFY(QFileInfo::exists(folder("D")));
}

void TestOrderDeletionRun::foldersThatStayEndTheRun()
{
    // The shop root and a folder named relative to the working folder both
    // exist, yet neither may go.
    makeOrderFolder(folder("A"));
    QVERIFY(QDir().mkpath(env->workDir.path() + "/relative/order"));
    QPointer<OrderDeletionRun> started =
        run({order("90001", folder("A")), order("90002", g_picPath), order("90003", "relative/order")});
    QCOMPARE(window->bar->maximum(), 3);
    waitForEnd(started);

    QVERIFY(!QFileInfo::exists(folder("A")));
    QVERIFY(QFileInfo::exists(g_picPath));
    QVERIFY(QFileInfo::exists(env->workDir.path() + "/relative/order"));
    QCOMPARE(env->service->count("OrderPhoto/order_photo_del"), 1);
    QCOMPARE(env->dialogs.texts(), QStringList{"有2个订单的照片未能删除"});
    QVERIFY(!window->group->isVisible());

    // The next run counts from nothing.
    env->dialogs.clear();
    makeOrderFolder(folder("B"));
    started = run({order("90004", folder("B"))});
    QCOMPARE(window->bar->maximum(), 1);
    waitForEnd(started);
    QCOMPARE(window->bar->value(), 1);
    QCOMPARE(env->dialogs.texts(), QStringList{"订单照片删除成功"});
}

void TestOrderDeletionRun::onlyOrderFoldersGo_data()
{
    QTest::addColumn<QString>("orderPath");
    QTest::addColumn<QString>("deleted"); // the real folder that goes; "" when nothing may
    QTest::newRow("order folder") << "shop/server/2024-03/07/LY1/" << "shop/server/2024-03/07/LY1";
    QTest::newRow("order folder below the order's own root")
        << "store13/share/photos/2024-03/07/LY2/" << "store13/share/photos/2024-03/07/LY2";
    QTest::newRow("order folder through a link above the root")
        << "linked/shop/server/2024-03/07/LY1/" << "shop/server/2024-03/07/LY1";
    QTest::newRow("another store's root, named by the order") << "store13/share/photos/" << "";
    QTest::newRow("month folder of the order's own root") << "store13/share/photos/2024-03/" << "";
    QTest::newRow("folder above one of the order's roots") << "store13/share" << "";
    QTest::newRow("day folder through a link above the root") << "linked/shop/server/2024-03/07" << "";
    QTest::newRow("outside every root") << "elsewhere/victim" << "";
    QTest::newRow("link to the order folder") << "shop/server/2024-03/07/LY1-link" << "";
    QTest::newRow("link to a folder outside") << "shop/server/2024-03/07/LY9/" << "";
    QTest::newRow("order folder through a linked day folder") << "shop/server/2024-03/alias/LY1" << "";
}

void TestOrderDeletionRun::onlyOrderFoldersGo()
{
    QFETCH(QString, orderPath);
    QFETCH(QString, deleted);
    const QString tree = env->workDir.path() + "/tree/";
    g_picPath = tree + "shop/server/";
    g_bakPicPath = tree + "shop/backup/";
    g_homePicPath = tree + "shop/home/";
    makeOrderFolder(g_picPath + "2024-03/07/LY1/");
    makeOrderFolder(g_picPath + "2024-03/07/LY3/");
    makeOrderFolder(g_bakPicPath + "2024-03/07/LY1/");
    makeOrderFolder(tree + "store13/share/photos/2024-03/07/LY2/");
    writeFile(tree + "elsewhere/victim/keep.jpg", "keep");
    QVERIFY(QFile::link(env->workDir.path() + "/tree", tree + "linked"));
    QVERIFY(QFile::link(g_picPath + "2024-03/07/LY1", g_picPath + "2024-03/07/LY1-link"));
    QVERIFY(QFile::link(tree + "elsewhere/victim", g_picPath + "2024-03/07/LY9"));
    QVERIFY(QFile::link(g_picPath + "2024-03/07", g_picPath + "2024-03/alias"));
    const QStringList before = treeEntries(tree);

    // An order of another store: its record names that store's roots, one
    // of them inside another.
    OrderItemInfo item = order("90001", tree + orderPath);
    item.picpath = tree + "store13/share/photos/";
    item.homepicpath = tree + "store13/";
    QPointer<OrderDeletionRun> started = run({item});
    QCOMPARE(window->bar->maximum(), 1);
    waitForEnd(started);

    QCOMPARE(treeEntries(tree), deleted.isEmpty() ? before : withoutFolder(before, deleted));
    QList<QByteArray> bodies;
    for (const RecordedRequest& report : env->service->requests("OrderPhoto/order_photo_del"))
        bodies << report.body;
    QCOMPARE(bodies, deleted.isEmpty() ? QList<QByteArray>() : QList<QByteArray>{reportBody("90001", tree + orderPath)});
    QCOMPARE(env->dialogs.texts(),
             QStringList{deleted.isEmpty() ? "有1个订单的照片未能删除" : "订单照片删除成功"});
}

void TestOrderDeletionRun::refusedReportsStillEndTheRun_data()
{
    QTest::addColumn<Response>("reply");
    QTest::addColumn<QString>("text");
    QTest::newRow("refused") << Response::json({{"code", "0"}, {"message", "abc"}}) << "abc\t0";
    QTest::newRow("server error") << Response::httpError(500) << "请检查网络连接\n500";
    QTest::newRow("not json") << Response::raw("oops") << "";
}

void TestOrderDeletionRun::refusedReportsStillEndTheRun()
{
    QFETCH(Response, reply);
    QFETCH(QString, text);
    env->service->script("OrderPhoto/order_photo_del", reply);
    makeOrderFolder(folder("A"));
    makeOrderFolder(folder("B"));
    waitForEnd(run({order("90001", folder("A")), order("90002", folder("B"))}));

    QCOMPARE(env->service->count("OrderPhoto/order_photo_del"), 2);
    QStringList texts = env->dialogs.texts();
    QVERIFY2(texts.removeAll("订单照片删除成功") == 1, qPrintable(texts.join('|')));
    QCOMPARE(texts, text.isEmpty() ? QStringList() : QStringList({text, text}));
}

void TestOrderDeletionRun::closingTheWindowLosesNoReport()
{
    makeOrderFolder(folder("A"));
    makeOrderFolder(folder("B"));
    QPointer<OrderDeletionRun> started = run({order("90001", folder("A")), order("90002", folder("B"))});
    window.reset();
    waitForEnd(started);

    QCOMPARE(env->service->count("OrderPhoto/order_photo_del"), 2);
    QVERIFY(!QFileInfo::exists(folder("A")));
    QVERIFY(!QFileInfo::exists(folder("B")));
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestOrderDeletionRun::oneRunAtATime()
{
    QVERIFY(!OrderDeletionRun::refuseWhileDeleting(nullptr));
    makeOrderFolder(folder("A"));
    QPointer<OrderDeletionRun> started = run({order("90001", folder("A"))});
    QVERIFY(OrderDeletionRun::refuseWhileDeleting(started));
    QCOMPARE(env->dialogs.texts(), QStringList{"正在删除订单照片，请等本次删除完成"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);

    // Once every folder is done the run only waits for its report: a new one may start.
    QTRY_VERIFY(!started || !started->isDeleting());
    QVERIFY(!OrderDeletionRun::refuseWhileDeleting(started));
    QTRY_VERIFY(!started);
}

QTEST_MAIN(TestOrderDeletionRun)
#include "tst_orderdeletionrun.moc"
