#include "core/Globals.h"
#include "import/ImageTimeFile.h"
#include "support/ServedSingleOrderWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// A small photo whose Exif date sits where cameras write it.
QByteArray datedJpeg(int seed)
{
    const QByteArray jpeg = DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(64, 48, seed), 1);
    return jpeg.left(2) + QByteArray("\xFF\xFE\x00\x16", 4) + QByteArray("2017:05:04 12:34:56\0", 20) + jpeg.mid(2);
}

} // namespace

// The single-order window's import run against the stand-in service
// (ServiceEnvironment): the order tree it refuses or builds, a run that
// cannot start, the choice held still during a run, and "ImageTime.txt"
// across runs.
class TstSingleOrderRun : public QObject, public ServedSingleOrderWindow
{
    Q_OBJECT

private:
    QAction* deleteAction() const
    {
        for (QAction* action : window->findChildren<QAction*>()) {
            if (action->text() == "删除选中照片")
                return action;
        }
        qFatal("no delete action");
    }

    bool choiceAvailable() const
    {
        return w<QPushButton>("selectButton")->isEnabled() && w<QPushButton>("reimportButton")->isEnabled()
               && deleteAction()->isEnabled();
    }

private slots:
    void init() { QVERIFY(setUpOrder()); }
    void cleanup() { tearDown(); }

    // Customer data or roots that would put the order anywhere but its own
    // dated folder make nothing, and the window can be used again.
    void treeRefusals_data()
    {
        QTest::addColumn<QString>("payForKey");
        QTest::addColumn<QString>("shotDate");
        QTest::addColumn<QString>("serverRoot");
        QTest::addColumn<QString>("box");
        const QString special = "客人信息包含特殊字符，请修改后再导片";
        QTest::newRow("date without leading zeros") << "A123" << "2017-5-4" << "" << special;
        QTest::newRow("no shot date") << "A123" << "" << "" << special;
        QTest::newRow("name with ..") << "A..B" << "2017-05-04" << "" << special;
        QTest::newRow("relative root") << "A123" << "2017-05-04" << "relative/server/" << "服务器路径错误";
    }

    void treeRefusals()
    {
        QFETCH(QString, payForKey);
        QFETCH(QString, shotDate);
        QFETCH(QString, serverRoot);
        QFETCH(QString, box);
        g_curOrderPayForKey = payForKey;
        g_curShotDate = shotDate;
        if (!serverRoot.isEmpty())
            answerRoots(serverRoot, QString());
        openWindow();
        settle();
        choose({camera("a.jpg", smallJpeg(1))});

        w<QPushButton>("importButton")->click();

        QTRY_COMPARE(env->dialogs.texts(), QStringList{box});
        QCOMPARE(env->dialogs.boxes.last().title, QString("警告"));
        // The server root may have been made; nothing below it.
        QCOMPARE(QDir(this->serverRoot()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QVERIFY(!QFileInfo::exists(backupRoot()));
        QVERIFY(!QFileInfo::exists(env->workDir.path() + "/relative"));
        QVERIFY(modeButtonsBack());
        QVERIFY(w<QPushButton>("importButton")->isEnabled());
        QCOMPARE(w<QPushButton>("importButton")->text(), QString("导入"));
        QVERIFY(choiceAvailable());
        QCOMPARE(env->service->count("order/updatepicpath2"), 0);
    }

    // Photos name the folder after the folder append name, finished and
    // design images after the other; roots without their separator get one.
    void folderNamePerMode_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("photoFolder");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::newRow("photos") << "importPic1" << "照片/" << "504A123-X-2" << "504A123-Y-001.jpg";
        QTest::newRow("finished images") << "importPic2" << "成品/" << "504A123-Y-2" << "a.jpg";
        QTest::newRow("design images") << "importPic3" << "设计/" << "504A123-Y-2" << "a.jpg";
    }

    void folderNamePerMode()
    {
        QFETCH(QString, button);
        QFETCH(QString, photoFolder);
        QFETCH(QString, folder);
        QFETCH(QString, file);
        answerRoots(root() + "server", root() + "backup");
        openWindow();
        settle();
        if (button != "importPic2")
            switchMode(button.toLatin1().constData(), 3);
        w<QLineEdit>("lineEdit_folderAppendName")->setText("X");
        w<QLineEdit>("lineEdit_picAppendName")->setText("Y");
        choose({camera("a.jpg", smallJpeg(1))});

        importAndWait();

        const QString order = serverRoot() + "2017-05/04/" + folder + "/";
        QCOMPARE(env->dialogs.boxes.last().title, QString("导片成功!"));
        QCOMPARE(fileNames(order + photoFolder), QStringList{file});
        QCOMPARE(env->service->last("order/updatepicpath2").body,
                 kToken + "&orderid=90001&shopid=12&orderpicpath=" + order.toUtf8() + "&orderbakpicpath="
                     + (backupRoot() + "2017-05/04/" + folder + "/").toUtf8());
    }

    // Without a choice the run does not start, and nothing stays locked.
    void noPhotosChosen()
    {
        openWindow();
        settle();
        choose({});
        QVERIFY(!w<QPushButton>("importButton")->isEnabled());

        QMetaObject::invokeMethod(window, "clickImportPhoto");

        QCOMPARE(env->dialogs.texts(), QStringList{"请先添加照片"});
        QCOMPARE(env->dialogs.boxes.last().title, QString("警告"));
        QVERIFY(modeButtonsBack());
        QVERIFY(!w<QPushButton>("importButton")->isEnabled());
        QCOMPARE(w<QPushButton>("importButton")->text(), QString("导入"));
        QCOMPARE(env->service->count("order/get_order_pic_path"), 0);
    }

    // While the chosen files are imported the choice cannot change under the
    // run: choosing, re-reading and deleting wait for its end.
    void choiceHeldDuringRun()
    {
        for (const QString& sub : {"成品", "成品缩略图", "成品缩略图100", "成品缩略图2250"})
            QVERIFY(QDir().mkpath(orderFolderPath + sub));
        QVERIFY(QDir().mkpath(backupFolderPath + "照片"));
        answerOrderPath(orderFolderPath, backupFolderPath);
        openWindow();
        settle();
        choose({camera("a.jpg", smallJpeg(1)), camera("b.jpg", smallJpeg(2)), camera("c.jpg", smallJpeg(3))});
        QVERIFY(choiceAvailable());

        importAndWait();
        // The run started and ended within the wait; its start locked the choice.
        QCOMPARE(env->dialogs.boxes.last().title, QString("导片成功!"));
        QVERIFY(choiceAvailable());

        w<QPushButton>("importButton")->click();
        QCOMPARE(w<QPushButton>("importButton")->text(), QString("导入照片中..."));
        QVERIFY(!w<QPushButton>("selectButton")->isEnabled());
        QVERIFY(!w<QPushButton>("reimportButton")->isEnabled());
        QVERIFY(!deleteAction()->isEnabled());
        QVERIFY(!w<QPushButton>("importPic1")->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(env->dialogs.boxes.size(), 2, 20000);
        QVERIFY(choiceAvailable());
        QVERIFY(modeButtonsBack());
        QCOMPARE(fileNames(orderFolderPath + "成品"), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
    }

    // A second photo run adds its entries to the first's and counts only
    // what it added; a finished-image run leaves an empty file.
    void imageTimeAcrossRuns()
    {
        openWindow();
        settle();
        switchMode("importPic1", 3);
        choose({camera("a.jpg", datedJpeg(1)), camera("b.jpg", datedJpeg(2))});
        importAndWait();
        settle(4);

        importAndWait();
        // The run asks for the order's paths again once it has stored them.
        settle(5);

        QCOMPARE(env->dialogs.boxes.last().text,
                 QString("导入前正式库照片：2张\n\n导入后正式库照片：2张\n\n导入前备份库照片：2张\n\n"
                         "导入后备份库照片：4张    \n"));
        QTRY_COMPARE(env->service->count("order/updatepicpath"), 2);
        QVERIFY(env->service->last("order/updatepicpath").body.contains("&picnumber=0&picbaknumber=2&"));
        QStringList entries = ImageTimeFile::read(orderFolderPath + "ImageTime.txt").split('|', Qt::SkipEmptyParts);
        entries.sort();
        QCOMPARE(entries, (QStringList{"504A123-001>17:05:04 12:34:56", "504A123-001>17:05:04 12:34:56",
                                       "504A123-002>17:05:04 12:34:56", "504A123-002>17:05:04 12:34:56"}));

        g_curOrderPayForKey = "B456";
        delete window;
        openWindow();
        settle(6);
        choose({camera("c.jpg", datedJpeg(3))});
        importAndWait();
        const QString finishedOrder = serverRoot() + "2017-05/04/504B456-2/";
        QCOMPARE(fileNames(finishedOrder + "成品"), QStringList{"c.jpg"});
        QVERIFY(QFileInfo(finishedOrder + "ImageTime.txt").isFile());
        QCOMPARE(QFileInfo(finishedOrder + "ImageTime.txt").size(), 0);
    }
};

QTEST_MAIN(TstSingleOrderRun)
#include "tst_singleorderrun.moc"
