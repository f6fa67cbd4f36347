#include "core/Globals.h"
#include "DemoPhotos.h"
#include "Routes.h"
#include "import/ImageTimeFile.h"
#include "import/cr2downloadwindow.h"
#include "import/importphototoserver.h"
#include "import/ThumbListing.h"
#include "import/thumbnailthread1.h"
#include "support/ServedSingleOrderWindow.h"

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <algorithm>
#include <memory>

Q_DECLARE_METATYPE(Response)

// The single-order import window against the stand-in service: its paths,
// listing, shot date and the main paths of its import run.
class TstImportPhotoToServer : public QObject, public ServedSingleOrderWindow
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(setUpOrder()); }
    void cleanup() { tearDown(); }

    // --- the window and its paths ---

    void newWindow()
    {
        openWindow();
        QCOMPARE(window->windowTitle(), QString("导入照片(成品)"));
        QVERIFY(w<QPushButton>("importPic2")->isChecked());
        QCOMPARE(w<QPushButton>("importPic2")->text(), QString("导入成品(加载中)"));
        QVERIFY(!w<QPushButton>("importPic1")->isEnabled());
        QVERIFY(!w<QPushButton>("importPic3")->isEnabled());
        QVERIFY(!w<QPushButton>("importButton")->isEnabled());
        QVERIFY(!w<QPushButton>("pushButton_photodate")->isEnabled());
        QVERIFY(w<QLineEdit>("lineEdit_folderAppendName")->isHidden());
        QCOMPARE(w<QLabel>("label_8")->text(), QString("订单附加名"));
        QCOMPARE(w<QLineEdit>("lineEdit_orderPRName")->text(), QString("504"));
        QCOMPARE(w<QLineEdit>("label_id")->text(), QString("A123"));
        QCOMPARE(w<QPushButton>("pushButton_photodate")->text(), QString("2017-05-04"));
        settle();
        QCOMPARE(env->service->last("order/get_order_path").body,
                 kToken + "&order_photo_id=90001&shopid=12&superid=3");
        QCOMPARE(w<QPushButton>("importPic2")->text(), QString("导入成品"));

        switchMode("importPic1", 3);
        QCOMPARE(window->windowTitle(), QString("导入照片(原片)"));
        QCOMPARE(w<QLabel>("label_8")->text(), QString("照片附加名"));
        QVERIFY(!w<QLineEdit>("lineEdit_folderAppendName")->isHidden());
    }

    void orderPrefix_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("May") << "2017-05-08" << "508";
        QTest::newRow("December") << "2017-12-25" << "1225";
        QTest::newRow("no date") << "" << "";
        QTest::newRow("month not a number") << "2017-xx-08" << "008";
    }

    void orderPrefix()
    {
        QFETCH(QString, date);
        QFETCH(QString, prefix);
        QCOMPARE(ImportPhotoToServer::orderPrefix(date), prefix);
    }

    // An order folder with "-X" and photos named "…-Y-…": both append names
    // come from them, read-only; only thumbnails with their photo are listed.
    void existingFolderIsListed()
    {
        const QString folder = serverRoot() + "2017-05/04/504A123-X/";
        for (int i = 1; i <= 5; ++i)
            writeFile(folder + QString("成品/504A123-Y-00%1.jpg").arg(i), smallJpeg(i));
        for (const QString& name : {"504A123-Y-001.jpg", "504A123-Y-002.jpg", "stray.jpg"})
            writeFile(folder + "成品缩略图/" + name, smallJpeg(7));
        answerOrderPath(folder, backupRoot() + "2017-05/04/504A123-X/");

        openWindow();
        settle();

        auto* list = window->findChild<QListWidget*>("thumbList");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QString("504A123-Y-001.jpg"));
        QTRY_VERIFY(!list->item(1)->icon().isNull());
        for (int row = 0; row < 2; ++row)
            QCOMPARE(list->item(row)->icon().availableSizes(), QList<QSize>{QSize(100, 100)});
        QCOMPARE(w<QLabel>("label_4")->text(), QString("订单已导入成品（5张)"));
        QCOMPARE(w<QLineEdit>("lineEdit_folderAppendName")->text(), QString("X"));
        QCOMPARE(w<QLineEdit>("lineEdit_picAppendName")->text(), QString("Y"));
        QVERIFY(w<QLineEdit>("lineEdit_folderAppendName")->isReadOnly());
        QVERIFY(w<QLineEdit>("lineEdit_picAppendName")->isReadOnly());
        QVERIFY(!w<QPushButton>("selectButton")->isHidden());
        QVERIFY(!w<QPushButton>("reimportButton")->isHidden());
    }

    void missingOrEmptyFolder()
    {
        answerOrderPath(serverRoot() + "gone/", backupRoot() + "gone/");
        openWindow();
        settle();
        QCOMPARE(w<QLabel>("label_4")->text(), QString("订单照片"));
        QVERIFY(!w<QPushButton>("reimportButton")->isHidden());

        answerOrderPath(QString(), QString());
        switchMode("importPic3", 3);
        QCOMPARE(w<QLabel>("label_4")->text(), QString("订单已导入设计（0张）"));
        QVERIFY(!w<QLineEdit>("lineEdit_picAppendName")->isReadOnly());
        QVERIFY(w<QPushButton>("reimportButton")->isHidden());
    }

    // Whatever goes wrong, the mode buttons come back, so a click retries.
    void orderPathFailures_data()
    {
        QTest::addColumn<Response>("response");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("HTTP 500") << Response::httpError(500) << QStringList{"网络请求错误\n500"};
        QTest::newRow("code 0") << Response::failure("x") << QStringList{"错误代码：0"};
        QTest::newRow("numeric code") << Response::json({{"code", 1}}) << QStringList{"错误代码："};
        QTest::newRow("not JSON") << Response::raw("<html>") << QStringList{};
    }

    void orderPathFailures()
    {
        QFETCH(Response, response);
        QFETCH(QStringList, boxes);
        env->service->script("order/get_order_path", response);
        openWindow();
        settle();
        QCOMPARE(env->dialogs.texts(), boxes);
        QVERIFY(w<QPushButton>("selectButton")->isHidden());
        QVERIFY(loadingLabel()->isHidden());
    }

    // Closing tells the creator once, stops the jobs' call-backs and drops
    // what has not started.
    void closing()
    {
        const QString folder = serverRoot() + "2017-05/04/504A123-2/";
        writeFile(folder + "成品/a.jpg", smallJpeg(1));
        writeFile(folder + "成品缩略图/a.jpg", smallJpeg(1));
        answerOrderPath(folder, backupRoot());
        openWindow();
        settle();
        auto* list = window->findChild<QListWidget*>("thumbList");
        QTRY_VERIFY(!list->item(0)->icon().isNull());
        list->item(0)->setIcon(QIcon());
        QSignalSpy showSearch(window.data(), &ImportPhotoToServer::showSearch);

        window->close();

        QCOMPARE(showSearch.count(), 1);
        QVERIFY(!g_importWindowOpen);
        QVERIFY(loadingLabel()->isHidden());
        QVERIFY(window);
        g_importWindowOpen = true;
        ThumbnailThread1(folder + "成品缩略图/a.jpg", 0, window, 100).run();
        QTest::qWait(50);
        QVERIFY(list->item(0)->icon().isNull());
    }

    // An icon for a row the list no longer has is dropped, and a listing's
    // icons still on their way never land on a later listing's rows.
    void staleIcons()
    {
        const QString folder = orderFolderPath;
        for (const QString& sub : {"成品/", "成品缩略图/", "照片/", "thumbnail/"})
            writeFile(folder + sub + "a.jpg", smallJpeg(1));
        answerOrderPath(folder, backupFolderPath);
        openWindow();
        settle();
        auto* list = window->findChild<QListWidget*>("thumbList");
        QTRY_VERIFY(!list->item(0)->icon().isNull());
        QPointer<QObject> earlierListing = window->findChild<ThumbListing*>();
        QVERIFY(earlierListing);

        switchMode("importPic1", 3);
        QCOMPARE(list->count(), 1);
        QTRY_VERIFY(!list->item(0)->icon().isNull());
        list->item(0)->setIcon(QIcon());
        ThumbnailThread1(folder + "成品缩略图/a.jpg", 0, earlierListing.data(), 100).run();
        QMetaObject::invokeMethod(window, "updateThumbIcon", Q_ARG(int, 7), Q_ARG(QPixmap, QPixmap(4, 4)));
        QTest::qWait(50);
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->icon().isNull());
    }

    // A finished edit drops every "-" and what no file name may hold; the
    // picture append name follows the folder's until it is edited itself.
    void appendNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("separator") << "a-b-" << "ab";
        QTest::newRow("path characters") << "x/y\\z:*?" << "xyz";
        QTest::newRow("trailing dots and blanks") << " end. ." << "end";
        QTest::newRow("plain") << "婚纱" << "婚纱";
    }

    void appendNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        openWindow();
        settle();
        switchMode("importPic1", 3);
        auto* folderAppend = w<QLineEdit>("lineEdit_folderAppendName");
        auto* picAppend = w<QLineEdit>("lineEdit_picAppendName");

        folderAppend->setFocus();
        folderAppend->insert(typed);
        QCOMPARE(picAppend->text(), typed);
        QTest::keyClick(folderAppend, Qt::Key_Return);
        QCOMPARE(folderAppend->text(), kept);

        picAppend->setText(typed);
        picAppend->setFocus();
        QTest::keyClick(picAppend, Qt::Key_Return);
        QCOMPARE(picAppend->text(), kept);
        folderAppend->insert("Z");
        QCOMPARE(picAppend->text(), kept);
    }

    void shotDate()
    {
        openWindow();
        settle();
        QSignalSpy refreshed(window.data(), &ImportPhotoToServer::refreshSearchTable);
        QStringList stored;
        connect(window.data(), &ImportPhotoToServer::refreshSearchTable, this, [&stored] { stored << g_curShotDate; });

        QMetaObject::invokeMethod(window, "on_newPhotoDateDate", Q_ARG(QString, "2017-06-09"));
        QMetaObject::invokeMethod(window, "on_newPhotoDateDate", Q_ARG(QString, "2017-11-23"));
        QCOMPARE(w<QPushButton>("pushButton_photodate")->text(), QString("2017-11-23"));
        QCOMPARE(w<QLineEdit>("lineEdit_orderPRName")->text(), QString("1123"));
        QTRY_COMPARE(refreshed.count(), 2);
        QCOMPARE(g_curShotDate, stored.last());
        // Each accepted reply stores the date its own request carried, in
        // whichever order the replies arrive.
        std::sort(stored.begin(), stored.end());
        QCOMPARE(stored, (QStringList{"2017-06-09", "2017-11-23"}));
        QList<QByteArray> bodies;
        for (const RecordedRequest& request : env->service->requests("order/updatephotodate"))
            bodies << request.body;
        std::sort(bodies.begin(), bodies.end());
        QCOMPARE(bodies, (QList<QByteArray>{kToken + "&orderid=90001&shopid=12&photodate=2017-06-09&superid=3",
                                            kToken + "&orderid=90001&shopid=12&photodate=2017-11-23&superid=3"}));

        // The picker's clear changes and posts nothing.
        QMetaObject::invokeMethod(window, "on_newPhotoDateDate", Q_ARG(QString, ""));
        QCOMPARE(w<QPushButton>("pushButton_photodate")->text(), QString("2017-11-23"));
        QCOMPARE(env->service->count("order/updatephotodate"), 2);

        env->service->script("order/updatephotodate", Response::failure("no"));
        QMetaObject::invokeMethod(window, "on_newPhotoDateDate", Q_ARG(QString, "2018-01-01"));
        QTRY_COMPARE(env->dialogs.texts(), QStringList{"错误代码：0"});
        const QString accepted = g_curShotDate;
        QTest::qWait(20);
        QCOMPARE(g_curShotDate, accepted);
        QVERIFY(accepted != "2018-01-01");
    }

    // --- the import run ---

    void photoNames_data()
    {
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("append");
        QTest::addColumn<QStringList>("names");
        QStringList twelve;
        for (int i = 1; i <= 12; ++i)
            twelve << QString("504A123-%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        QTest::newRow("after 012") << twelve << "" << QStringList{"504A123-013.jpg", "504A123-014.jpg", "504A123-015.jpg"};
        QTest::newRow("empty folder") << QStringList{} << "" << QStringList{"504A123-001.jpg", "504A123-002.jpg", "504A123-003.jpg"};
        QTest::newRow("append name") << twelve << "X" << QStringList{"504A123-X-013.jpg", "504A123-X-014.jpg", "504A123-X-015.jpg"};
        QTest::newRow("after 999") << QStringList{"504A123-999.jpg"} << "" << QStringList{"504A123-1000.jpg", "504A123-1001.jpg", "504A123-1002.jpg"};
        // 1000 reads as key 0: the name that exists is passed over.
        QTest::newRow("1000 present") << QStringList{"504A123-999.jpg", "504A123-1000.jpg"} << ""
                                      << QStringList{"504A123-1001.jpg", "504A123-1002.jpg", "504A123-1003.jpg"};
    }

    void photoNames()
    {
        QFETCH(QStringList, existing);
        QFETCH(QString, append);
        QFETCH(QStringList, names);
        const QString folder = orderFolderPath + "照片/";
        QDir().mkpath(folder);
        for (const QString& name : existing)
            writeFile(folder + name, "x");
        answerOrderPath(orderFolderPath, backupFolderPath);
        openWindow();
        settle();
        switchMode("importPic1", 3);
        w<QLineEdit>("lineEdit_picAppendName")->setText(append);
        const QString hidden = camera(".hidden.jpg", smallJpeg(9));
        choose({camera("a.jpg", smallJpeg(1)), hidden, camera("b.jpg", smallJpeg(2)), camera("c.jpg", smallJpeg(3))});

        QCOMPARE(tableNames(), names);
        QCOMPARE(w<QLabel>("label_importPhotoCount")->text(), QString("导入照片: 3张"));
        QVERIFY(w<QPushButton>("importButton")->isEnabled());
        QCOMPARE(env->dialogs.fileDialogs.last().caption, QString("选择照片"));
        QCOMPARE(env->dialogs.fileDialogs.last().filter, QString("JPG(*.jpg*)"));
    }

    // The window shows the names of the order's files and of the chosen
    // photos, never their folders: folders of 300 characters leave its
    // minimum width as short ones do.
    void longFoldersDoNotWidenTheWindow()
    {
        QString longFolder = serverRoot();
        while (longFolder.size() < 300)
            longFolder += "很长的文件夹名字abcdefghij/";
        int widths[2];
        int run = 0;
        for (const QString& folder : {serverRoot() + "2017-05/04/504A123-X/", longFolder + "504A123-X/"}) {
            writeFile(folder + "成品/504A123-Y-001.jpg", smallJpeg(1));
            writeFile(folder + "成品缩略图/504A123-Y-001.jpg", smallJpeg(1));
            answerOrderPath(folder, folder);
            delete window;
            openWindow();
            settle(run + 1);
            QCOMPARE(window->findChild<QListWidget*>("thumbList")->count(), 1);
            choose({camera(folder.mid(root().size()) + "IMG_1.JPG", smallJpeg(2))});
            QCOMPARE(tableNames(), QStringList{"IMG_1.JPG"});
            QApplication::sendPostedEvents();
            widths[run++] = window->minimumSizeHint().width();
        }
        QCOMPARE(widths[1], widths[0]);
    }

    void finishedImagesKeepTheirNames()
    {
        openWindow();
        settle();
        choose({camera("IMG_7.JPG", smallJpeg(1)), camera("z.jpg", smallJpeg(2))});
        QCOMPARE(tableNames(), (QStringList{"IMG_7.JPG", "z.jpg"}));
    }

    // A new order: its tree under both roots, ten photos with their shot
    // times, the start and finish reports.
    void newOrderImport()
    {
        openWindow();
        settle();
        switchMode("importPic1", 3);
        QStringList files;
        const QByteArray date("2017:05:04 12:34:56\0", 20);
        for (int i = 0; i < 10; ++i) {
            const QByteArray jpeg = smallJpeg(i);
            files << camera(QString("IMG_%1.jpg").arg(i), jpeg.left(2) + QByteArray("\xFF\xFE\x00\x16", 4) + date + jpeg.mid(2));
        }
        choose(files);

        importAndWait();

        QCOMPARE(env->service->last("order/updatepicpath2").body,
                 kToken + "&orderid=90001&shopid=12&orderpicpath=" + orderFolderPath.toUtf8()
                     + "&orderbakpicpath=" + backupFolderPath.toUtf8());
        QStringList folders;
        QDirIterator it(serverRoot(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            folders << QDir(serverRoot()).relativeFilePath(it.next());
        folders.sort();
        const QString order = "2017-05/04/504A123-2";
        QStringList expected = {"2017-05", "2017-05/04", order};
        for (const QString& sub : {"照片", "成品", "汰片", "设计", "thumbnail", "thumbnail100", "thumbnail2250", "成品缩略图",
                                   "成品缩略图100", "成品缩略图2250", "设计缩略图", "设计缩略图100", "设计缩略图2250"})
            expected << order + "/" + sub;
        expected.sort();
        QCOMPARE(folders, expected);
        QVERIFY(env->platform->isHidden(orderFolderPath + "thumbnail2250"));
        QCOMPARE(fileNames(backupFolderPath + "照片").size(), 10);
        QCOMPARE(g_homePicPath, root() + "home/");

        const DialogRecorder::Box box = env->dialogs.boxes.last();
        QCOMPARE(box.title, QString("导片成功!"));
        QCOMPARE(box.text, QString("导入前正式库照片：0张\n\n导入后正式库照片：10张\n\n导入前备份库照片：0张\n\n"
                                   "导入后备份库照片：10张    \n"));
        QTRY_COMPARE(env->service->count("order/updatepicpath"), 1);
        QCOMPARE(env->service->last("order/updatepicpath").body,
                 kToken + "&order_photo_id=90001&shopid=12&orderpicpath=" + orderFolderPath.toUtf8()
                     + "&orderbakpicpath=" + backupFolderPath.toUtf8()
                     + "&picnumber=10&picbaknumber=10&MANAGER_ID=501&typeid=1");
        QStringList entries = ImageTimeFile::read(orderFolderPath + "/ImageTime.txt").split('|', Qt::SkipEmptyParts);
        entries.sort();
        QCOMPARE(entries.size(), 10);
        QCOMPARE(entries.first(), QString("504A123-001>17:05:04 12:34:56"));
        QVERIFY(w<QPushButton>("importButton")->isEnabled());
        QCOMPARE(w<QPushButton>("importButton")->text(), QString("导入"));
    }

    // The demo's order without folders and its shoot, with the demo's own
    // answers: the photo run names the photos and keeps their shot times,
    // then the RAW download names each RAW file after the photo of the same
    // second and empties the card's folder.
    void demoShootWithRawFiles()
    {
        registerSingleImportRoutes(*env->service);
        const QString demo = env->service->demoRoot();
        for (const QString& rootFolder : {"/server/photos", "/backup/photos"})
            QVERIFY(QDir().mkpath(demo + rootFolder));
        g_curOrderPayForKey = "LY20240601";
        g_curServiceTimes = "1";
        g_curShotDate = "2024-06-01";
        const QString shoot = demo + "/相机导出/王小宝";
        DemoPhotos::createSingleOrderShoot(shoot);
        QStringList photos;
        for (const QString& name : fileNames(shoot))
            photos << shoot + "/" + name;
        const QString card = shoot + "/毛底/100CANON/";
        QList<QByteArray> raws;
        for (const QString& name : fileNames(card))
            raws << readFile(card + name);
        QCOMPARE(photos.size(), 6);
        QCOMPARE(raws.size(), 6);

        openWindow();
        settle();
        switchMode("importPic1", 3);
        choose(photos);
        importAndWait();

        QCOMPARE(env->dialogs.boxes.last().title, QString("导片成功!"));
        const QString order = demo + "/server/photos/2024-06/01/601LY20240601-1/";
        QStringList photoNames;
        QStringList rawNames;
        for (int i = 1; i <= 6; ++i) {
            photoNames << QString("601LY20240601-00%1.jpg").arg(i);
            rawNames << QString("601LY20240601-00%1.CR2").arg(i);
        }
        QCOMPARE(fileNames(order + "照片"), photoNames);
        QStringList entries = ImageTimeFile::read(order + "ImageTime.txt").split('|', Qt::SkipEmptyParts);
        entries.sort();
        QCOMPARE(entries.size(), 6);
        QCOMPARE(entries.first(), QString("601LY20240601-001>24:06:01 10:15:07"));
        QCOMPARE(entries.last(), QString("601LY20240601-006>24:06:01 10:15:42"));

        QVERIFY(QDir().mkpath(root()));
        auto* download = new CR2DownLoadWindow(nullptr);
        download->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<CR2DownLoadWindow> alive(download);
        download->show();
        download->startDownload(order + "ImageTime.txt", shoot + "/毛底", root() + "毛底下载");
        QTRY_VERIFY_WITH_TIMEOUT(!alive, 10000);
        QCOMPARE(env->dialogs.texts().last(), QString("下载完毕！\n\n"));
        QCOMPARE(fileNames(root() + "毛底下载"), rawNames);
        for (int i = 0; i < rawNames.size(); ++i)
            QCOMPARE(readFile(root() + "毛底下载/" + rawNames.at(i)), raws.at(i));
        QVERIFY(!QFileInfo::exists(card));
    }

    void rootNotCreatable()
    {
        env->service->setHandler("order/get_order_pic_path", [this](const RecordedRequest&) {
            return Response::success({{"picpath", root() + "missing/server/"}, {"bakpicpath", backupRoot()}});
        });
        openWindow();
        settle();
        choose({camera("a.jpg", smallJpeg(1))});
        w<QPushButton>("importButton")->click();
        QTRY_COMPARE(env->dialogs.texts(), QStringList{"服务器路径错误"});
        QVERIFY(!QFileInfo::exists(root() + "missing"));
        QVERIFY(modeButtonsBack());
        QVERIFY(w<QPushButton>("importButton")->isEnabled());
        QCOMPARE(w<QPushButton>("importButton")->text(), QString("导入"));
        QCOMPARE(env->service->count("order/updatepicpath2"), 0);
    }

    void reportFailures_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<Response>("response");
        QTest::addColumn<QString>("text");
        QTest::newRow("roots 500") << "order/get_order_pic_path" << Response::httpError(500) << "网络请求错误\n500";
        QTest::newRow("start report refused") << "order/updatepicpath2" << Response::failure("x") << "上传路径错误代码：0";
        QTest::newRow("finish report refused") << "order/updatepicpath" << Response::failure("x") << "错误代码：0";
    }

    void reportFailures()
    {
        QFETCH(QString, route);
        QFETCH(Response, response);
        QFETCH(QString, text);
        env->service->script(route, response);
        openWindow();
        settle();
        choose({camera("a.jpg", smallJpeg(1))});
        w<QPushButton>("importButton")->click();
        QTRY_VERIFY(env->dialogs.texts().contains(text));
        QTRY_VERIFY(modeButtonsBack());
    }

    void failedWriteIsReported()
    {
        openWindow();
        settle();
        const QString src = camera("a.jpg", smallJpeg(1));
        choose({src});
        // A file where the thumbnail folder of the new order will be.
        writeFile(orderFolderPath + "成品缩略图100", "in the way");
        importAndWait();
        const DialogRecorder::Box box = env->dialogs.boxes.last();
        QCOMPARE(box.title, QString("警告"));
        QVERIFY(box.text.endsWith("导片失败(错误码:3)，可重试\n" + src));
        QTRY_COMPARE(env->service->count("order/updatepicpath"), 1);
    }

    void reimportAndDelete()
    {
        const QString folder = orderFolderPath;
        for (const QString& name : {"a.jpg", "b.jpg", "c.jpg"})
            for (const QString& sub : {"成品/", "成品缩略图/", "成品缩略图100/", "成品缩略图2250/"})
                writeFile(folder + sub + name, smallJpeg(1));
        writeFile(folder + "ImageTime.txt", "x>y|");
        answerOrderPath(folder, backupFolderPath);
        openWindow();
        settle();

        env->dialogs.boxAnswers << QMessageBox::Yes;
        w<QPushButton>("reimportButton")->click();
        QCOMPARE(env->dialogs.boxes.last().title, QString("注意"));
        QVERIFY(!QFileInfo::exists(folder + "ImageTime.txt"));
        QTRY_COMPARE(env->service->count("order/updatepicpath"), 1);
        QCOMPARE(env->service->last("order/updatepicpath").body,
                 kToken + "&order_photo_id=90001&shopid=12&orderpicpath=&orderbakpicpath=" + backupFolderPath.toUtf8()
                     + "&picnumber=0&picbaknumber=0&MANAGER_ID=501&typeid=2");
        QVERIFY(QFileInfo::exists(folder + "成品/a.jpg"));
        QTRY_VERIFY(modeButtonsBack());

        auto* list = window->findChild<QListWidget*>("thumbList");
        QTRY_COMPARE(list->count(), 3);
        list->item(0)->setSelected(true);
        list->item(2)->setSelected(true);
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->text() == "删除选中照片")
                action->trigger();
        }
        int left = 0;
        for (const QString& sub : {"成品", "成品缩略图", "成品缩略图100", "成品缩略图2250"})
            left += fileNames(folder + sub).size();
        QCOMPARE(left, 4);
        QCOMPARE(fileNames(folder + "成品"), QStringList{"b.jpg"});
    }
};

QTEST_MAIN(TstImportPhotoToServer)
#include "tst_importphototoserver.moc"
