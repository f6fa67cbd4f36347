#ifndef AFTERSAMPLERUNFIXTURE_H
#define AFTERSAMPLERUNFIXTURE_H

#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/SeparationBusy.h"
#include "separation/splitaftersample.h"
#include "DemoPhotos.h"
#include "StudioService.h"
#include "support/OrderSearchDriver.h"
#include "support/SeparationRunFixture.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QJsonArray>
#include <QTextEdit>
#include <QtTest>

#include <memory>

// An after-sample window against the stand-in service. Orders are made on a
// "file server" in the test folder and found through a scripted search; the
// products, bar code, picture information and order detail are scripted for
// every order alike. Test classes derive from it and call setUp() in init()
// and tearDown() in cleanup().
class AfterSampleRunFixture : public QObject
{
public:
    static QByteArray token() { return "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8"; }
    static QByteArray barCode() { return "\xFF\xD8 stand-in bar code"; }
    static QString sheetHtml() { return "<html><body><h1>明细制作单</h1><p>样后 花.jpg</p></body></html>"; }

    static QJsonObject good(const QString& name, const QString& photos)
    {
        return {{"goodname", name},        {"picpath", photos}, {"isems", "1"},
                {"goodtypename", "相册"},   {"goodamount", "1"}, {"parentid", "0"},
                {"orderaddress", QJsonObject{{"id", "9"}, {"name", "欧阳收件"}, {"phone", "13900000009"},
                                             {"province", "浙江省"}, {"city", "杭州市"}, {"address", "文一路"}}}};
    }

    // "花.jpg" and "a b.jpg" carry marks, but only 花.jpg is in the order's
    // marks/; an unsafe name is never followed.
    static QJsonObject orderDetail()
    {
        return {{"orderpicdescr",
                 QJsonArray{QJsonObject{{"picname", "花.jpg"}, {"mark", QJsonArray{"提亮"}}},
                            QJsonObject{{"picname", "a b.jpg"}, {"mark", QJsonArray{"去痘"}}},
                            QJsonObject{{"picname", "C.JPG"}, {"mark", QJsonArray()}},
                            QJsonObject{{"picname", "../花.jpg"}, {"mark", QJsonArray{"x"}}}}}};
    }

    void setUp()
    {
        env.reset(new ServiceEnvironment);
        QVERIFY(env->listening);
        g_shopId = "12";
        g_superId = "3";
        g_uid = "1001";
        g_eid = "501";
        g_storeNames = QStringList{"澜叶旗舰店"};
        g_storeIds = QStringList{"12"};
        g_productDirName = "成品";
        g_sjfjxz = "1";
        root = env->workDir.path() + "/分件";
        QVERIFY(QDir().mkpath(root));
        FileOperation::writeStringList("path_separatePhotos.dat", {root}, true);
        scriptReplies();
        open();
    }

    // The same products, bar code, picture information and detail for every order.
    void scriptReplies(bool withBarCode = true)
    {
        StudioService& service = *env->service;
        service.script("order/ordergoods20230521",
                       Response::success({{"order", QJsonObject{{"ordergoods0", QJsonArray{good("相册", "a b.jpg")}}}}}));
        if (withBarCode)
            service.script("order/getbarcodegen", Response::raw(barCode(), "image/jpeg"));
        const QJsonArray marks{QJsonObject{{"picname", "花.jpg"}, {"descr", "提亮"}, {"picx", "10"}, {"picy", "10"},
                                           {"picwidth", "40"}, {"picheight", "20"}, {"pictype", "0"}}};
        service.script("order/getorderpic", Response::success({{"html", sheetHtml()}, {"orderpicdescr", marks}}));
        service.script("order/orderdetail", Response::success(orderDetail()));
    }

    // The summary text of the one summary window left open.
    static QString summaryText()
    {
        const QList<QDialog*> windows = SeparationRunFixture::summaries();
        return windows.size() == 1 ? windows.first()->findChild<QTextEdit*>("textEdit")->toPlainText() : QString();
    }

    void tearDown()
    {
        driver.reset();
        window.reset();
        SeparationRunFixture::closeSummaries();
        QVERIFY(!SeparationBusy::isBusy());
        env.reset();
    }

    // An order folder on the "file server": three photos in 成品/ (one with
    // a blank, one Chinese), RAW companions, the marked picture 花.jpg in
    // marks/ and, with the extras, a hidden file and a sub-folder in 成品/.
    QString makeOrder(const QString& key, bool withExtras = true)
    {
        const QString folder = env->workDir.path() + "/server/" + key + "/";
        int seed = 0;
        for (const QString& name : {QString("a b.jpg"), QString("花.jpg"), QString("C.JPG")})
            writeFile(folder + "成品/" + name, DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(120, 80, ++seed), 1));
        writeFile(folder + "marks/花.jpg", DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(60, 40, 9), 1));
        writeFile(folder + "照片/新建文件夹/a b.CR2", "raw cr2");
        writeFile(folder + "照片/新建文件夹/C.NEF", "raw nef");
        if (!withExtras)
            return folder;
        writeFile(folder + "成品/.hidden.jpg", "hidden");
        writeFile(folder + "成品/旧/x.jpg", "old");
        return folder;
    }

    QJsonObject row(const QString& key, const QString& names = "王强-李娜", const QString& path = QString())
    {
        return {{"order_photo_id", key + "-id"},
                {"orderpayforkey", key},
                {"servicetimes", "1"},
                {"bname", names},
                {"pickuptype", "1"},
                {"orderpath", path.isNull() ? makeOrder(key) : path}};
    }

    void open()
    {
        driver.reset();
        window.reset(new SplitAfterSample);
        window->show();
        driver.reset(new OrderSearchDriver(window.get()));
    }

    // A scripted search that finds `rows`, every one of them ticked.
    void findAndTick(const QJsonArray& rows)
    {
        env->service->script("order/order_list", Response::success({{"data", rows}}));
        QVERIFY(driver->search("预约单号", "LY"));
        QCOMPARE(driver->model()->rowCount(), rows.size());
        for (int row = 0; row < rows.size(); ++row)
            driver->clickCell(row, 1);
        env->dialogs.clear();
    }

    void start() { QTest::mouseClick(driver->widget<QPushButton>("pushButton_separate"), Qt::LeftButton); }

    static bool waitForIdle()
    {
        return QTest::qWaitFor([] { return !SeparationBusy::isBusy(); }, 10000);
    }

    QString dateFolder() const { return root + "/" + QDate::currentDate().toString("yyyy-MM-dd") + "/"; }
    // The destination of an order of row(), without the trailing "/".
    QString orderFolder(const QString& key, const QString& names = "王强-李娜") const
    {
        return dateFolder() + key + "-服务1 " + names + " 快递";
    }

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<SplitAfterSample> window;
    std::unique_ptr<OrderSearchDriver> driver;
    QString root;
};

#endif
