#include "core/CallbackGuard.h"
#include "core/Globals.h"
#include "files/ImageData.h"
#include "files/ThumbnailThread.h"
#include "separation/GoodsInfo.h"
#include "separation/SeparateThread.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

// Stands in for a separation window: records every report by name.
class Reports : public QObject
{
    Q_OBJECT
public:
    QStringList calls;

public slots:
    void fenjian_photoIsFileSlot_1(int num) { calls << QString("isFile %1").arg(num); }
    void fenjian_finalPhotoSlot_2() { calls << "final"; }
    void fenjian_delPhotoSlot_3() { calls << "del"; }
    void fenjian_markPhoto_3_1() { calls << "mark"; }
    void fenjian_shejiPhotoSlot_3_2() { calls << "sheji"; }
    void fenjian_productPhotoSlot_4(QString fullPicName) { calls << "product " + fullPicName; }
    void fenjian_analysisPhotoInfo() { calls << "info"; }
    void fenjian_copyFailedSlot(QString source) { calls << "failed " + QFileInfo(source).fileName(); }
};

// One file job of a separation run, each task on its own.
class TestSeparateThread : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nothingToDo_data();
    void nothingToDo();
    void existenceCheck_data();
    void existenceCheck();
    void finishedPhotoWithRawFiles_data();
    void finishedPhotoWithRawFiles();
    void failedCopiesAreReported();
    void productPhoto_data();
    void productPhoto();
    void pictureInformation();

private:
    QStringList runJob(SeparateThread* job);

    std::unique_ptr<RecordedEnvironment> env;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Reports> reports;
    QString root;
};

void TestSeparateThread::init()
{
    env.reset(new RecordedEnvironment);
    dir.reset(new QTemporaryDir);
    root = dir->path() + "/";
    reports.reset(new Reports);
    g_sjfjxz = "0";
    g_productDirName = "成品";
    g_separateOrderDir = root + "work/";
    g_curOrderPath = root + "order/";
    g_orderGoodsList.clear();
}

void TestSeparateThread::cleanup()
{
    reports.reset();
    dir.reset();
    env.reset();
}

QStringList TestSeparateThread::runJob(SeparateThread* job)
{
    reports->calls.clear();
    QThreadPool pool;
    pool.start(job);
    pool.waitForDone();
    QCoreApplication::processEvents();
    return reports->calls;
}

void TestSeparateThread::nothingToDo_data()
{
    QTest::addColumn<int>("task");
    QTest::addColumn<bool>("closed");
    QTest::newRow("task 0") << 0 << false;
    QTest::newRow("task 8") << 8 << false;
    QTest::newRow("closed window") << 2 << true;
}

void TestSeparateThread::nothingToDo()
{
    QFETCH(int, task);
    QFETCH(bool, closed);
    writeFile(root + "a.jpg", "x");
    if (closed)
        CallbackGuard::of(reports.get())->close();
    QCOMPARE(runJob(new SeparateThread(root + "a.jpg", task, reports.get())), QStringList{});
}

void TestSeparateThread::existenceCheck_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("exists");
    QTest::newRow("file") << "a.jpg" << 1;
    QTest::newRow("other case") << "A.JPG" << 1;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("dot dot") << ".." << 0;
    QTest::newRow("folder") << "sub" << 0;
    QTest::newRow("missing") << "b.jpg" << 0;
}

void TestSeparateThread::existenceCheck()
{
    QFETCH(QString, name);
    QFETCH(int, exists);
    writeFile(root + "order/成品/a.jpg", "x");
    QVERIFY(QDir().mkpath(root + "order/成品/sub"));
    QCOMPARE(runJob(new SeparateThread(root + "order/成品/" + name, 2, reports.get())),
             QStringList{QString("isFile %1").arg(exists)});
}

void TestSeparateThread::finishedPhotoWithRawFiles_data()
{
    QTest::addColumn<QString>("sjfjxz");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("copied");
    QTest::newRow("raw files copied") << "1" << "A.jpg" << QStringList{"A.CR2", "A.NEF", "A.jpg"};
    QTest::newRow("raw files not asked for") << "0" << "A.jpg" << QStringList{"A.jpg"};
    // A name without ".jpg" is its own companion: the finished copy stays.
    QTest::newRow("name without .jpg") << "1" << "A.png" << QStringList{"A.png"};
}

void TestSeparateThread::finishedPhotoWithRawFiles()
{
    QFETCH(QString, sjfjxz);
    QFETCH(QString, name);
    QFETCH(QStringList, copied);
    g_sjfjxz = sjfjxz;
    writeFile(root + "order/成品/" + name, "finished");
    writeFile(root + "order/照片/新建文件夹/A.CR2", "cr2");
    writeFile(root + "order/照片/新建文件夹/A.NEF", "nef");
    writeFile(root + "order/照片/新建文件夹/A.png", "raw png");
    QVERIFY(QDir().mkpath(root + "work/成品"));
    QCOMPARE(runJob(new SeparateThread(root + "order/成品/" + name, root + "work/成品/" + name, true, 1,
                                       reports.get())),
             QStringList{"final"});
    QCOMPARE(QDir(root + "work/成品").entryList(QDir::Files, QDir::Name), copied);
    QCOMPARE(readFile(root + "work/成品/" + name), QByteArray("finished"));
}

void TestSeparateThread::failedCopiesAreReported()
{
    writeFile(root + "order/汰片/D.jpg", "d");
    QVERIFY(QDir().mkpath(root + "order/汰片/sub"));
    // No target folder: the copy fails and says so before its report.
    QCOMPARE(runJob(new SeparateThread(root + "order/汰片/D.jpg", root + "work/汰片/D.jpg", true, 3, reports.get())),
             (QStringList{"failed D.jpg", "del"}));
    // Folder entries are listed with the photos but are no failure.
    for (const QString& entry : {".", "..", "sub"})
        QCOMPARE(runJob(new SeparateThread(root + "order/汰片/" + entry, root + "work/汰片/" + entry, true, 7,
                                           reports.get())),
                 QStringList{"sheji"});
}

void TestSeparateThread::productPhoto_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("report");
    QTest::newRow("as named") << "A.jpg" << "";
    QTest::newRow("upper-case variant") << "B.jpg" << "";
    QTest::newRow("missing") << "X.jpg" << "相册:X.JPG";
    QTest::newRow("leaves the folder") << "../A.jpg" << "相册:../A.JPG";
}

void TestSeparateThread::productPhoto()
{
    QFETCH(QString, name);
    QFETCH(QString, report);
    GoodsInfo first;
    first.goodName = "摆台";
    GoodsInfo second;
    second.goodName = "相册";
    g_orderGoodsList = {first, second};
    writeFile(root + "work/成品/A.jpg", "a");
    writeFile(root + "work/成品/B.JPG", "b");
    writeFile(root + "work/A.jpg", "outside");
    QVERIFY(QDir().mkpath(root + "product"));
    const QString target = root + "product/" + QFileInfo(name).fileName();
    QCOMPARE(runJob(new SeparateThread(name, target, 1, false, 5, reports.get())), QStringList{"product " + report});
    QCOMPARE(QFileInfo::exists(target), report.isEmpty());
}

void TestSeparateThread::pictureInformation()
{
    writeFile(root + "order/成品/P1.jpg", "x");
    writeFile(root + "order/成品/P2.jpg", "x");
    const QJsonArray info = {
        QJsonObject{{"picname", "P1.jpg"}, {"descr", "修脸"}, {"picx", "10"}, {"picy", "20"},
                    {"picwidth", "100"}, {"picheight", "50"}, {"pictype", "0"}},
        QJsonObject{{"picname", "P2.jpg"}, {"picx", 5}, {"picwidth", "x"}},
    };
    QCOMPARE(runJob(new SeparateThread(info, 6, reports.get())), QStringList{"info"});
    QCOMPARE(g_markImages.size(), 2);
    const Image& rectangle = g_markImages.at(0);
    QCOMPARE((QList<int>{rectangle.left, rectangle.top, rectangle.right, rectangle.bottom}),
             (QList<int>{10, 20, 109, 69}));
    QVERIFY(!rectangle.isEllipse());
    QCOMPARE(rectangle.descr, QString("修脸"));
    const Image& numbers = g_markImages.at(1);
    QCOMPARE((QList<int>{numbers.left, numbers.top, numbers.right, numbers.bottom}), (QList<int>{0, 0, -1, -1}));
    QVERIFY(numbers.isEllipse());
    QCOMPARE(ImageData::getInstance()->getFineImages()->size(), 2);
    QCOMPARE(ImageData::getInstance()->getFineImages()->at(0).descr, QString("修脸"));
}

QTEST_MAIN(TestSeparateThread)
#include "tst_separatethread.moc"
