#include "core/Globals.h"
#include "separation/MessageDialog.h"
#include "separation/searchorder.h"
#include "StudioService.h"
#include "support/DeletionFixture.h"
#include "support/OrderSearchDriver.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QJsonArray>
#include <QLabel>
#include <QProgressBar>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using namespace DeletionFixture;

namespace {

QList<MessageDialog*> phoneChecks()
{
    QList<MessageDialog*> open;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* check = qobject_cast<MessageDialog*>(widget); check && check->isVisible())
            open << check;
    }
    return open;
}

} // namespace

// The deletion mode of the order search window: the ticked orders' folders
// go only once the phone code has been accepted.
class TestSearchOrderDeletion : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nothingTicked();
    void deletesAfterThePhoneCode();
    void leavesALinkedOrderPath();

private:
    QString folder(const QString& name) const { return env->workDir.path() + "/server/" + name + "/"; }
    QPushButton* deleteButton() const { return driver->widget<QPushButton>("pushButton_separate"); }
    // Searches `orders`, ticks them all and passes the phone-code check.
    void deleteAll(const QJsonArray& orders);
    void acceptPhoneCode();

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SearchOrder> window;
    std::unique_ptr<OrderSearchDriver> driver;
};

void TestSearchOrderDeletion::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    g_storeNames = QStringList{"澜叶旗舰店"};
    g_storeIds = QStringList{"12"};
    g_staffPhone = "13800138000";
    g_picPath = env->workDir.path() + "/server/";
    window.reset(new SearchOrder);
    window->setToolName("批量删除");
    window->show();
    driver.reset(new OrderSearchDriver(window.get()));
}

void TestSearchOrderDeletion::cleanup()
{
    qDeleteAll(phoneChecks());
    driver.reset();
    window.reset();
    g_staffPhone.clear();
    g_picPath.clear();
    env.reset();
}

void TestSearchOrderDeletion::deleteAll(const QJsonArray& orders)
{
    env->service->script("order/order_list", Response::success({{"data", orders}}));
    QVERIFY(driver->search("预约单号", "LY"));
    driver->widget<QPushButton>("pushButton_selectAll")->click();
    deleteButton()->click();
    acceptPhoneCode();
}

void TestSearchOrderDeletion::acceptPhoneCode()
{
    QCOMPARE(phoneChecks().size(), 1);
    MessageDialog* check = phoneChecks().first();
    check->findChild<QTextEdit*>("textEdit_code")->setPlainText("246810");
    QTest::mouseClick(check->findChild<QPushButton*>("pushButton_ok"), Qt::LeftButton);
    QTRY_VERIFY(phoneChecks().isEmpty());
}

void TestSearchOrderDeletion::nothingTicked()
{
    QCOMPARE(deleteButton()->text(), QString("批量删除"));
    deleteButton()->click();
    QCOMPARE(env->dialogs.texts(), QStringList{"请选择订单"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(phoneChecks().isEmpty());
}

void TestSearchOrderDeletion::deletesAfterThePhoneCode()
{
    makeOrderFolder(folder("A"));
    makeOrderFolder(folder("B"));
    const QJsonArray orders = {QJsonObject{{"order_photo_id", "90002"}, {"orderpath", folder("A")}},
                               QJsonObject{{"order_photo_id", "90006"}, {"orderpath", folder("B")}}};
    env->service->script("order/order_list", Response::success({{"data", orders}}));
    QVERIFY(driver->search("预约单号", "LY"));
    driver->clickCell(0, 1);
    deleteButton()->click();
    QCOMPARE(phoneChecks().size(), 1);
    QVERIFY(!phoneChecks().first()->parent());

    // Nothing goes before the code is accepted.
    QTest::qWait(100);
    QVERIFY(QFileInfo::exists(folder("A")));
    QVERIFY(!driver->widget<QWidget>("groupBox")->isVisible());

    acceptPhoneCode();
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"订单照片删除成功"});
    QVERIFY(!QFileInfo::exists(folder("A")));
    QVERIFY(QFileInfo::exists(folder("B")));
    QTRY_COMPARE(env->service->count("OrderPhoto/order_photo_del"), 1);
    QCOMPARE(env->service->last("OrderPhoto/order_photo_del").body, reportBody("90002", folder("A")));
    QCOMPARE(driver->widget<QProgressBar>("progressBar")->maximum(), 1);
    QCOMPARE(driver->widget<QLabel>("label")->text(), QString("删除成功"));
    QVERIFY(!driver->widget<QWidget>("groupBox")->isVisible());
}

// An order path that is a link to an order folder: neither the link nor the
// folder behind it goes, and nothing is reported for it.
void TestSearchOrderDeletion::leavesALinkedOrderPath()
{
    makeOrderFolder(folder("A"));
    makeOrderFolder(folder("B"));
    QVERIFY(QFile::link(env->workDir.path() + "/server/B", env->workDir.path() + "/server/B-link"));
    const QStringList before = treeEntries(env->workDir.path() + "/server");
    deleteAll({QJsonObject{{"order_photo_id", "90002"}, {"orderpath", folder("A")}},
               QJsonObject{{"order_photo_id", "90006"}, {"orderpath", folder("B-link")}}});

    QTRY_COMPARE(env->dialogs.texts(), QStringList{"有1个订单的照片未能删除"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(treeEntries(env->workDir.path() + "/server"), withoutFolder(before, "A"));
    QTRY_COMPARE(env->service->count("OrderPhoto/order_photo_del"), 1);
    QTest::qWait(100);
    QCOMPARE(env->service->count("OrderPhoto/order_photo_del"), 1);
    QCOMPARE(env->service->last("OrderPhoto/order_photo_del").body, reportBody("90002", folder("A")));
    QVERIFY(!driver->widget<QWidget>("groupBox")->isVisible());
}

QTEST_MAIN(TestSearchOrderDeletion)
#include "tst_searchorderdeletion.moc"
