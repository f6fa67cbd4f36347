#ifndef SERVEDSINGLEORDERWINDOW_H
#define SERVEDSINGLEORDERWINDOW_H

#include "core/Globals.h"
#include "DemoPhotos.h"
#include "import/importphototoserver.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QApplication>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <memory>

// The single-order import window against a fresh stand-in service (a
// ServiceEnvironment per test), with the current-order globals of order
// 90001, booking A123, shot 2017-05-04. By default the service knows no
// folders of the order and gives the roots under the test's "files/".
// Test classes inherit it next to QObject and call setUpOrder() in init()
// and tearDown() in cleanup(); openWindow() shows the window.
class ServedSingleOrderWindow
{
protected:
    static inline const QByteArray kToken = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8";

    std::unique_ptr<ServiceEnvironment> env;
    QPointer<ImportPhotoToServer> window;
    QString orderFolderPath;
    QString backupFolderPath;

    static QByteArray smallJpeg(int seed, int orientation = 1)
    {
        return DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(64, 48, seed), orientation);
    }

    static QStringList fileNames(const QString& folder)
    {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }

    // False when the stand-in could not listen.
    bool setUpOrder()
    {
        env.reset(new ServiceEnvironment);
        g_shopId = "12";
        g_superId = "3";
        g_eid = "501";
        g_curOrderPhotoId = "90001";
        g_curOrderPayForKey = "A123";
        g_curServiceTimes = "2";
        g_curCustomerNames = "王小宝-李娜";
        g_curPhones = "13800000001";
        g_curRole1 = "陈摄影";
        g_curRole2 = "林化妆";
        g_curShotDate = "2017-05-04";
        g_curPhotoDate2 = "";
        g_curOrderPath = "";
        g_curPickupTime = "";
        g_curRole10 = "";
        g_curUrgentTime = "";
        g_curPickupTypeText = "";
        g_lastPhotoPath = "";
        g_importPhotoMode = 0;
        orderFolderPath = serverRoot() + "2017-05/04/504A123-2/";
        backupFolderPath = backupRoot() + "2017-05/04/504A123-2/";
        answerOrderPath(QString(), QString());
        answerRoots();
        return env->listening;
    }

    void tearDown()
    {
        delete window;
        env.reset();
    }

    template <typename T>
    T* w(const char* name) const
    {
        T* widget = window->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }

    QString root() const { return env->workDir.path() + "/files/"; }
    QString serverRoot() const { return root() + "server/"; }
    QString backupRoot() const { return root() + "backup/"; }

    // The service answers "get_order_path" with these folders.
    void answerOrderPath(const QString& orderPath, const QString& backupPath)
    {
        env->service->setHandler("order/get_order_path", [orderPath, backupPath](const RecordedRequest&) {
            return Response::success(
                {{"data", QJsonObject{{"orderpath", orderPath}, {"orderbakpicpath", backupPath}}}});
        });
    }

    // The service answers "get_order_pic_path" with these roots.
    void answerRoots(const QString& server = QString(), const QString& backup = QString())
    {
        const QString serverPath = server.isNull() ? serverRoot() : server;
        const QString backupPath = backup.isNull() ? backupRoot() : backup;
        const QString home = root() + "home/";
        env->service->setHandler("order/get_order_pic_path", [serverPath, backupPath, home](const RecordedRequest&) {
            return Response::success({{"picpath", serverPath}, {"bakpicpath", backupPath}, {"homepicpath", home}});
        });
    }

    // The window's "正在加载..." label, a window of its own.
    static QLabel* loadingLabel()
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* label = qobject_cast<QLabel*>(widget);
            if (label && label->text() == "正在加载...")
                return label;
        }
        qFatal("no loading label");
    }

    bool modeButtonsBack() const
    {
        return w<QPushButton>("importPic1")->isEnabled() && w<QPushButton>("importPic2")->isEnabled()
               && w<QPushButton>("importPic3")->isEnabled();
    }

    void openWindow()
    {
        window = new ImportPhotoToServer(nullptr);
        window->show();
    }

    // Waits for the window's order query of `count` requests to be handled.
    void settle(int count = 1)
    {
        QTRY_COMPARE(env->service->count("order/get_order_path"), count);
        QTRY_VERIFY(modeButtonsBack());
    }

    QString camera(const QString& name, const QByteArray& content)
    {
        const QString file = root() + "camera/" + name;
        writeFile(file, content);
        return file;
    }

    // Chooses files through the recorded file dialog.
    void choose(const QStringList& files)
    {
        env->dialogs.fileAnswers << files;
        w<QPushButton>("selectButton")->click();
    }

    QStringList tableNames() const
    {
        auto* model = qobject_cast<QStandardItemModel*>(w<QTableView>("tableView")->model());
        QStringList names;
        for (int row = 0; row < model->rowCount(); ++row)
            names << model->item(row, 0)->text();
        return names;
    }

    void switchMode(const char* button, int queries)
    {
        w<QPushButton>(button)->click();
        settle(queries);
    }

    // Presses 导入 and waits for the run's end box.
    void importAndWait()
    {
        const int boxes = env->dialogs.boxes.size();
        w<QPushButton>("importButton")->click();
        QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.boxes.size(), boxes + 1, 20000);
    }
};

#endif
