#include "app/SelectTool.h"
#include "core/Globals.h"
#include "dispatch/FaJianDialog.h"
#include "dispatch/shangjiandialog.h"
#include "import/importordersphotodlg.h"
#include "lyra/exportlyraresult.h"
#include "separation/BatchDeleteOrder.h"
#include "separation/searchorder.h"
#include "separation/splitaftersample.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

namespace {

QJsonObject shopReply(const QString& picPath, const QString& bakPath, const QString& homePath)
{
    return {{"is_all_del_photo", 1}, {"SUPERID", "3"},   {"EID", "501"},        {"SHOPID", "12"},
            {"SHOPNAME", "澜叶旗舰店"}, {"sjfjxz", "0"},     {"picpath", picPath}, {"bakpicpath", bakPath},
            {"homepicpath", homePath}};
}

template <typename Window>
QList<Window*> windowsOf()
{
    QList<Window*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget))
            windows << window;
    }
    return windows;
}

QList<importOrdersPhotoDlg*> importWindows()
{
    return windowsOf<importOrdersPhotoDlg>();
}

} // namespace

// What the launcher opens once the shop switch has succeeded.
class TestOpenTool : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void importToolChecksTheFirstDriveRoot_data();
    void importToolChecksTheFirstDriveRoot();
    void importWindowOpensMaximised();
    void separationWindowOpensMaximised();
    void afterSampleWindowOpensMaximised();
    void batchDeleteWindowOpensMaximised();
    void lyraWindowOpensMaximised();
    void registrationWindowOpensForItsId();
    void dispatchWindowOpensForItsId();

private:
    void choose(const char* toolButton, const QJsonObject& reply);

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SelectTool> launcher;
};

void TestOpenTool::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_uid = "1001";
    launcher.reset(new SelectTool(QList<ShopInfo>{{"澜叶旗舰店", "12"}}));
    launcher->show();
}

void TestOpenTool::cleanup()
{
    qDeleteAll(importWindows());
    qDeleteAll(windowsOf<SearchOrder>());
    qDeleteAll(windowsOf<SplitAfterSample>());
    qDeleteAll(windowsOf<ShangJianDialog>());
    qDeleteAll(windowsOf<BatchDeleteOrder>());
    qDeleteAll(windowsOf<FaJianDialog>());
    qDeleteAll(windowsOf<ExportLyraResult>());
    launcher.reset();
    env.reset();
}

void TestOpenTool::choose(const char* toolButton, const QJsonObject& reply)
{
    env->service->script("public/switch_shop", Response::success(reply));
    launcher->findChild<QRadioButton*>(toolButton)->click();
    QTest::mouseClick(launcher->findChild<QPushButton*>("pushButton"), Qt::LeftButton);
    QTRY_COMPARE(env->service->count("public/switch_shop"), 1);
    QTest::qWait(50);
}

void TestOpenTool::importToolChecksTheFirstDriveRoot_data()
{
    QTest::addColumn<QStringList>("paths"); // photo, backup, home-effect root
    QTest::addColumn<QStringList>("existingRoots");
    QTest::addColumn<QString>("message");
    QTest::newRow("photo root missing")
        << QStringList{"D:/photos/", "/srv/backup/", ""} << QStringList{}
        << "导片路径 \"D:/photos/\" 中的根目录 \"D:/\" 不存在 \n(请到店铺后台重新设置)";
    QTest::newRow("network photo root, backup missing")
        << QStringList{"\\\\server\\photos\\", "E:\\backup\\", "D:/home/"} << QStringList{"D:/"}
        << "备份路径 \"E:\\backup\\\" 中的根目录 \"E:\\\" 不存在 \n(请到店铺后台重新设置)";
    QTest::newRow("only the home root names a drive")
        << QStringList{"", "photos/backup/", "F:/home/"} << QStringList{}
        << "家居效果路径 \"F:/home/\" 中的根目录 \"F:/\" 不存在 \n(请到店铺后台重新设置)";
    QTest::newRow("photo root exists, backup would not")
        << QStringList{"D:/photos/", "E:/backup/", "F:/home/"} << QStringList{"D:/"} << "";
    QTest::newRow("no drive at all") << QStringList{"/srv/photos/", "/srv/backup/", "/srv/home/"} << QStringList{} << "";
    QTest::newRow("all empty") << QStringList{"", "", ""} << QStringList{} << "";
}

void TestOpenTool::importToolChecksTheFirstDriveRoot()
{
    QFETCH(QStringList, paths);
    QFETCH(QStringList, existingRoots);
    QFETCH(QString, message);
    for (const QString& root : existingRoots)
        env->platform->existingDriveRoots << root;
    choose("importPicRadio", shopReply(paths.at(0), paths.at(1), paths.at(2)));
    QCOMPARE(g_picPath, paths.at(0));
    if (message.isEmpty()) {
        QVERIFY(env->dialogs.boxes.isEmpty());
        QCOMPARE(importWindows().size(), 1);
        return;
    }
    QCOMPARE(env->dialogs.texts(), QStringList{message});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Warning, "警告", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), launcher.get());
    QVERIFY(importWindows().isEmpty());
}

void TestOpenTool::importWindowOpensMaximised()
{
    choose("importPicRadio", shopReply("/srv/photos/", "/srv/backup/", "/srv/home/"));
    QCOMPARE(importWindows().size(), 1);
    importOrdersPhotoDlg* window = importWindows().first();
    QVERIFY(!window->parent());
    QVERIFY(window->isVisible());
    QVERIFY(window->windowState() & Qt::WindowMaximized);
    // Qt adds the title and system-menu hints to any such set; a window
    // given exactly the three buttons ends up with the same flags.
    QDialog reference;
    reference.setWindowFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    QCOMPARE(window->windowFlags(), reference.windowFlags());
    QVERIFY(!(window->windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(launcher->isVisible());

    QPointer<importOrdersPhotoDlg> closing = window;
    window->close();
    QTRY_VERIFY(!closing);
}

void TestOpenTool::separationWindowOpensMaximised()
{
    choose("radioButton_separatePhotos", shopReply("D:/photos/", "", ""));
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(windowsOf<SearchOrder>().size(), 1);
    SearchOrder* window = windowsOf<SearchOrder>().first();
    QVERIFY(!window->parent());
    QVERIFY(window->isVisible());
    QVERIFY(window->windowState() & Qt::WindowMaximized);
    QCOMPARE(window->findChild<QPushButton*>("pushButton_separate")->text(), QString("开始分件"));
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));

    // Each switch with the tool chosen opens a window of its own.
    env->service->clearRequests();
    choose("radioButton_separatePhotos", shopReply("D:/photos/", "", ""));
    QCOMPARE(windowsOf<SearchOrder>().size(), 2);

    QPointer<SearchOrder> closing = window;
    window->close();
    QTRY_VERIFY(!closing);
}

void TestOpenTool::afterSampleWindowOpensMaximised()
{
    choose("radioButton_yhfj", shopReply("D:/photos/", "", ""));
    QCOMPARE(g_sjfjxz, QString("1"));
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(windowsOf<SplitAfterSample>().size(), 1);
    QVERIFY(windowsOf<SearchOrder>().isEmpty());
    SplitAfterSample* window = windowsOf<SplitAfterSample>().first();
    QVERIFY(!window->parent());
    QVERIFY(window->isVisible());
    QVERIFY(window->windowState() & Qt::WindowMaximized);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(window->windowTitle(), QString("检索订单"));
    QCOMPARE(window->property("toolName").toString(), QString("样后分件管理"));
    QVERIFY(launcher->isVisible());

    QPointer<SplitAfterSample> closing = window;
    window->close();
    QTRY_VERIFY(!closing);
}

void TestOpenTool::batchDeleteWindowOpensMaximised()
{
    choose("rb_plsc", shopReply("D:/photos/", "", ""));
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(windowsOf<BatchDeleteOrder>().size(), 1);
    BatchDeleteOrder* window = windowsOf<BatchDeleteOrder>().first();
    QVERIFY(!window->parent());
    QVERIFY(window->isVisible());
    QVERIFY(window->windowState() & Qt::WindowMaximized);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));

    QPointer<BatchDeleteOrder> closing = window;
    window->close();
    QTRY_VERIFY(!closing);
}

void TestOpenTool::lyraWindowOpensMaximised()
{
    choose("rb_lyrafj", shopReply("D:/photos/", "", ""));
    // The shop's own value: the Lyra tool does not force it as 样后分件 does.
    QCOMPARE(g_sjfjxz, QString("0"));
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(windowsOf<ExportLyraResult>().size(), 1);
    QVERIFY(windowsOf<SplitAfterSample>().isEmpty());
    ExportLyraResult* window = windowsOf<ExportLyraResult>().first();
    QVERIFY(!window->parent());
    QVERIFY(window->isVisible());
    QVERIFY(window->windowState() & Qt::WindowMaximized);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(window->objectName(), QString("ExportLyraResult"));
    QCOMPARE(window->windowTitle(), QString("检索订单"));
    QCOMPARE(window->property("toolName").toString(), QString("Lyra分件"));
    QVERIFY(launcher->isVisible());

    QPointer<ExportLyraResult> closing = window;
    window->close();
    QTRY_VERIFY(!closing);
}

// No launcher button carries the registration window's id 2; a test gives it one.
void TestOpenTool::registrationWindowOpensForItsId()
{
    auto* hiddenChoice = new QRadioButton(launcher.get());
    hiddenChoice->setObjectName("shangJianChoice");
    launcher->findChild<QButtonGroup*>()->addButton(hiddenChoice, 2);
    choose("shangJianChoice", shopReply("/srv/photos/", "", ""));
    const QList<ShangJianDialog*> windows = windowsOf<ShangJianDialog>();
    QCOMPARE(windows.size(), 1);
    ShangJianDialog* window = windows.first();
    QVERIFY(!window->parent());
    QVERIFY(window->isVisible());
    QVERIFY(window->windowState() & Qt::WindowMaximized);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(env->dialogs.boxes.isEmpty());
    QVERIFY(windowsOf<FaJianDialog>().isEmpty());

    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* scanBox = window->findChild<QLineEdit*>("lineEdit");
    scanBox->setFocus();
    QTest::keyClicks(scanBox, "90001");
    QTest::keyClick(scanBox, Qt::Key_Return);
    auto* right = window->findChild<QTableView*>("tableView_right")->model();
    QTRY_COMPARE(right->rowCount(), 1);
    QCOMPARE(right->index(0, 0).data().toString(), QString("LY20240601-1"));

    QPointer<ShangJianDialog> closing = window;
    window->close();
    QTRY_VERIFY(!closing);
}

// Nor does any carry the dispatch window's id 3.
void TestOpenTool::dispatchWindowOpensForItsId()
{
    auto* hiddenChoice = new QRadioButton(launcher.get());
    hiddenChoice->setObjectName("faJianChoice");
    launcher->findChild<QButtonGroup*>()->addButton(hiddenChoice, 3);
    choose("faJianChoice", shopReply("/srv/photos/", "", ""));
    QVERIFY(windowsOf<ShangJianDialog>().isEmpty());
    const QList<FaJianDialog*> windows = windowsOf<FaJianDialog>();
    QCOMPARE(windows.size(), 1);
    FaJianDialog* window = windows.first();
    QVERIFY(!window->parent());
    QVERIFY(window->windowState() & Qt::WindowMaximized);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));

    // The demo lists its orders there.
    window->findChild<QLineEdit*>("lineEdit_orderid2")->setText("LY2024");
    window->findChild<QPushButton*>("pushButton_2")->click();
    auto* orders = window->findChild<QTableView*>("tableView_left")->model();
    QTRY_VERIFY(orders->rowCount() > 0);
    QCOMPARE(orders->index(0, 0).data().toString(), QString("LY20240601"));
    QTRY_COMPARE(env->service->count("order/ordergoods"), orders->rowCount());
    QTest::qWait(100);
    QVERIFY(env->dialogs.boxes.isEmpty());

    QPointer<FaJianDialog> closing = window;
    window->close();
    QTRY_VERIFY(!closing);
}

QTEST_MAIN(TestOpenTool)
#include "tst_opentool.moc"
