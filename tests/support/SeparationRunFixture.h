#ifndef SEPARATIONRUNFIXTURE_H
#define SEPARATIONRUNFIXTURE_H

#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/SeparationBusy.h"
#include "separation/searchorder.h"
#include "DemoPhotos.h"
#include "StudioService.h"
#include "support/OrderSearchDriver.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDate>
#include <QDirIterator>
#include <QJsonArray>
#include <QtTest>

#include <memory>

// A design-separation window against the stand-in service, with the demo
// orders 90002 (LY20240518) and 90006 (LY20231202) on the file server and
// an empty separation root saved as the last one. Made in a test's init().
class SeparationRunFixture
{
public:
    SeparationRunFixture() : env(new ServiceEnvironment)
    {
        g_shopId = "12";
        g_superId = "3";
        g_uid = "1001";
        g_eid = "501";
        g_storeNames = QStringList{"澜叶旗舰店", "澜叶二店"};
        g_storeIds = QStringList{"12", "13"};
        g_separateModeName.clear();
        g_productDirName = "成品";
        g_markDirName = "标注";
        g_xztp = "1";
        g_sjfjxz = "1";
        g_isShowSubproduct = "1";
        DemoPhotos::fillOrderFolder(orderPath("90002"));
        DemoPhotos::fillOrderFolder(orderPath("90006"));
        root = env->workDir.path() + "/分件";
        QDir().mkpath(root);
        FileOperation::writeStringList("path_separatePhotos.dat", {root}, true);
        open();
    }

    ~SeparationRunFixture()
    {
        driver.reset();
        window.reset();
        closeSummaries();
        env.reset();
    }

    void open()
    {
        driver.reset();
        window.reset(new SearchOrder);
        window->setToolName("分件管理");
        window->show();
        driver.reset(new OrderSearchDriver(window.get()));
    }

    // Searches "预约单号" with the keyword and ticks every row found.
    bool findOrders(const QString& keyword, int expected)
    {
        if (!driver->search("预约单号", keyword) || driver->model()->rowCount() != expected)
            return false;
        for (int row = 0; row < expected; ++row)
            driver->clickCell(row, 1);
        return true;
    }

    // Searches all demo orders and ticks the rows of these booking numbers, in table order.
    bool tickOrders(const QStringList& bookingNumbers)
    {
        if (!driver->search("预约单号", "LY"))
            return false;
        int ticked = 0;
        for (int row = 0; row < driver->model()->rowCount(); ++row) {
            for (const QString& number : bookingNumbers) {
                if (driver->rowTexts(row).contains(number)) {
                    driver->clickCell(row, 1);
                    ++ticked;
                }
            }
        }
        return ticked == bookingNumbers.size();
    }

    void start() { QTest::mouseClick(driver->widget<QPushButton>("pushButton_separate"), Qt::LeftButton); }

    static bool waitForIdle()
    {
        return QTest::qWaitFor([] { return !SeparationBusy::isBusy(); }, 10000);
    }

    // The summary windows left open by the runs so far (top-level, visible).
    static QList<QDialog*> summaries()
    {
        QList<QDialog*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("MessageBoxDialog") && widget->isVisible())
                found << qobject_cast<QDialog*>(widget);
        }
        return found;
    }

    static void closeSummaries()
    {
        for (QDialog* dialog : summaries())
            dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString orderPath(const QString& id) const
    {
        for (const QJsonValue& value : env->service->demo().value("orders").toArray()) {
            if (value.toObject().value("order_photo_id").toString() == id)
                return value.toObject().value("orderpath").toString();
        }
        return {};
    }

    QString dateFolder() const { return root + "/" + QDate::currentDate().toString("yyyy-MM-dd"); }
    QString orderFolder(const QString& name = "LY20240518-服务2 张敏-刘洋 部分") const
    {
        return dateFolder() + "/" + name;
    }
    // The work folder as the run names it, with its trailing "/".
    QString workFolder(const QString& name = "LY20240518-服务2 张敏-刘洋 部分") const
    {
        return orderFolder(name) + "/其它/";
    }

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SearchOrder> window;
    std::unique_ptr<OrderSearchDriver> driver;
    QString root;
};

// Every file and folder below `folder`, hidden ones too, relative, sorted.
inline QStringList tree(const QString& folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next().mid(folder.size() + 1);
    paths.sort();
    return paths;
}

#endif
