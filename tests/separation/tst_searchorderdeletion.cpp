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

private:
    QString folder(const QString& name) const { return env->workDir.path() + "/server/" + name + "/"; }
    QPushButton* deleteButton() const { return driver->widget<QPushButton>("pushButton_separate"); }

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
    env.reset();
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
    MessageDialog* check = phoneChecks().first();
    QVERIFY(!check->parent());

    // Nothing goes before the code is accepted.
    QTest::qWait(100);
    QVERIFY(QFileInfo::exists(folder("A")));
    QVERIFY(!driver->widget<QWidget>("groupBox")->isVisible());

    check->findChild<QTextEdit*>("textEdit_code")->setPlainText("246810");
    QTest::mouseClick(check->findChild<QPushButton*>("pushButton_ok"), Qt::LeftButton);
    QTRY_VERIFY(phoneChecks().isEmpty());
    QTRY_COMPARE(env->dialogs.texts(), QStringList{"订单照片删除成功"});
    QVERIFY(!QFileInfo::exists(folder("A")));
    QVERIFY(QFileInfo::exists(folder("B")));
    QTRY_COMPARE(env->service->count("OrderPhoto/order_photo_del"), 1);
    QCOMPARE(env->service->last("OrderPhoto/order_photo_del").body, reportBody("90002", folder("A")));
    QCOMPARE(driver->widget<QProgressBar>("progressBar")->maximum(), 1);
    QCOMPARE(driver->widget<QLabel>("label")->text(), QString("删除成功"));
    QVERIFY(!driver->widget<QWidget>("groupBox")->isVisible());
}

QTEST_MAIN(TestSearchOrderDeletion)
#include "tst_searchorderdeletion.moc"
