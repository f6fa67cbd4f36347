#include "core/CallbackGuard.h"
#include "DemoPhotos.h"
#include "files/CopyFileThread.h"
#include "files/ImageData.h"
#include "files/OrderFolders.h"
#include "files/ThumbnailThread.h"
#include "Platform.h"
#include "support/SmallDisk.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <atomic>
#include <memory>

// Stands in for a separation window: the two call-back slots, plus one with
// arguments for the guard.
class Receiver : public QObject
{
    Q_OBJECT

public:
    static std::atomic<int> liveCalls;

    QList<QThread*> saveThumbThreads;
    QStringList notWritten;
    int notWrittenBeforeFinish = -1;
    int separateImageCalls = 0;
    QString text;
    int number = 0;
    int ticks = 0;

public slots:
    void onSheetThumbsNotWritten(const QStringList& paths) { notWritten << paths; }
    void onFinishSaveThumb()
    {
        notWrittenBeforeFinish = notWritten.size();
        saveThumbThreads << QThread::currentThread();
        ++liveCalls;
    }
    void onFinishSeparateImage()
    {
        ++separateImageCalls;
        ++liveCalls;
    }
    void takeValues(const QString& value, int count)
    {
        text = value;
        number = count;
    }
    void tick() { ++ticks; }
};

std::atomic<int> Receiver::liveCalls{0};

namespace {

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TstThumbnailThread : public QObject
{
    Q_OBJECT

private:
    RecordedEnvironment m_env;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString path(const QString& relative) const { return m_dir->path() + QLatin1Char('/') + relative; }

    // An order folder with finished photos and their thumbnail folder; the
    // finished list as the separation run hands it over.
    QList<Image> finishedPhotos(const QStringList& namesOnDisk)
    {
        const QString order = path(QStringLiteral("order/"));
        [&] {
            QVERIFY(QDir().mkpath(order + QStringLiteral("成品")));
            QVERIFY(QDir().mkpath(order + QStringLiteral("成品缩略图")));
        }();
        for (int i = 0; i < namesOnDisk.size(); ++i) {
            const QImage picture = DemoPhotos::samplePicture(400 + 100 * i, 300, i);
            writeFile(order + QStringLiteral("成品/") + namesOnDisk.at(i), DemoPhotos::jpegWithOrientation(picture, 1));
        }
        setOrderPath(order);
        ImageData::getInstance()->importImage(PHOTOTYPE_FINE);
        return *ImageData::getInstance()->getFineImages();
    }

    static void runOnPool(QRunnable* job)
    {
        QThreadPool::globalInstance()->start(job);
        QVERIFY(QThreadPool::globalInstance()->waitForDone(30000));
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        g_separateOrderDir = path(QStringLiteral("out/"));
        Receiver::liveCalls = 0;
    }

    void emptyListStillMakesFolderAndCallsBack()
    {
        Receiver receiver;
        runOnPool(new ThumbnailThread({}, &receiver, 88));

        const QString sheetDir = path(QStringLiteral("out/制作单缩略图/"));
        QVERIFY(QFileInfo(sheetDir).isDir());
        QVERIFY(Platform::instance().isHidden(path(QStringLiteral("out/制作单缩略图"))));
        QCOMPARE(g_sheetBaseDir, path(QStringLiteral("out/")));
        QCOMPARE(getSheetThumbDir(), sheetDir);
        QVERIFY(filesIn(sheetDir).isEmpty());
        // Queued: it arrives through the receiver's event loop, on its thread.
        QVERIFY(receiver.saveThumbThreads.isEmpty());
        QTRY_COMPARE(receiver.saveThumbThreads.size(), 1);
        QCOMPARE(receiver.saveThumbThreads.first(), receiver.thread());
        QCOMPARE(receiver.separateImageCalls, 0);
    }

    void threePhotos()
    {
        const QList<Image> images = finishedPhotos({"a.jpg", "B.JPG", "c.jpg"});
        QCOMPARE(images.size(), 3);
        Receiver receiver;
        auto* job = new ThumbnailThread(images, &receiver, 88);
        // The destination is read when the job runs, not when it is built.
        g_separateOrderDir = path(QStringLiteral("later/"));

        runOnPool(job);

        const QString sheetDir = path(QStringLiteral("later/制作单缩略图/"));
        QCOMPARE(filesIn(sheetDir), (QStringList{"B.jpg", "a.jpg", "c.jpg"}));
        for (const QString& name : filesIn(sheetDir))
            QCOMPARE(QImage(sheetDir + name).size(), QSize(88, 88));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("out"))));
        QTRY_COMPARE(receiver.saveThumbThreads.size(), 1);
    }

    void missingPhotoIsSkipped()
    {
        QList<Image> images = finishedPhotos({"a.jpg", "c.jpg"});
        Image gone = images.first();
        gone.setFileName(QStringLiteral("gone.jpg"));
        images.insert(1, gone);
        Receiver receiver;

        runOnPool(new ThumbnailThread(images, &receiver, 88));

        QCOMPARE(filesIn(path(QStringLiteral("out/制作单缩略图/"))), (QStringList{"a.jpg", "c.jpg"}));
        QTRY_COMPARE(receiver.saveThumbThreads.size(), 1);
        QCOMPARE(receiver.notWritten, QStringList{});
    }

    void unwrittenThumbnailsAreReported_data()
    {
        QTest::addColumn<bool>("fullDisk");
        QTest::newRow("a file where the folder goes") << false;
        QTest::newRow("full disk") << true;
    }

    // Each thumbnail that could not be written is reported, before the job
    // says it is done; a photo gone since the listing is not.
    void unwrittenThumbnailsAreReported()
    {
        QFETCH(bool, fullDisk);
        QList<Image> images = finishedPhotos({"a.jpg", "B.JPG"});
        Image gone = images.first();
        gone.setFileName(QStringLiteral("gone.jpg"));
        images << gone;
        const QString sheetDir = path(QStringLiteral("out/制作单缩略图/"));
        std::unique_ptr<SmallDisk> disk;
        if (fullDisk) {
            disk.reset(new SmallDisk(path(QStringLiteral("out"))));
            if (!disk->isMounted())
                QSKIP(qPrintable(disk->skipReason()));
            QVERIFY(QDir().mkpath(sheetDir));
            QVERIFY(disk->fill());
        } else {
            writeFile(path(QStringLiteral("out/制作单缩略图")), "not a folder");
        }
        Receiver receiver;

        runOnPool(new ThumbnailThread(images, &receiver, 88));

        QTRY_COMPARE(receiver.saveThumbThreads.size(), 1);
        QCOMPARE(receiver.notWritten, (QStringList{sheetDir + "B.jpg", sheetDir + "a.jpg"}));
        QCOMPARE(receiver.notWrittenBeforeFinish, 2);
        if (fullDisk)
            QCOMPARE(filesIn(sheetDir), QStringList{});
        else
            QCOMPARE(readFile(path(QStringLiteral("out/制作单缩略图"))), QByteArray("not a folder"));
    }

    void receiverDeletedBeforeRun()
    {
        const QList<Image> images = finishedPhotos({"a.jpg"});
        auto* receiver = new Receiver;
        auto* job = new ThumbnailThread(images, receiver, 88);
        delete receiver;

        runOnPool(job);
        QCoreApplication::processEvents();

        QCOMPARE(filesIn(path(QStringLiteral("out/制作单缩略图/"))), QStringList{"a.jpg"});
        QCOMPARE(Receiver::liveCalls.load(), 0);
    }

    void receiverDeletedBeforeDelivery()
    {
        auto* receiver = new Receiver;
        ThumbnailThread job({}, receiver, 88);
        job.setAutoDelete(false);
        job.run();
        delete receiver;
        QCoreApplication::processEvents();
        QCOMPARE(Receiver::liveCalls.load(), 0);
    }

    void closedWindowIsNotCalled()
    {
        Receiver receiver;
        CallbackGuard::of(&receiver)->close();
        runOnPool(new ThumbnailThread({}, &receiver, 88));
        QCoreApplication::processEvents();
        QVERIFY(QFileInfo(path(QStringLiteral("out/制作单缩略图"))).isDir());
        QVERIFY(receiver.saveThumbThreads.isEmpty());
    }

    void copyMode()
    {
        writeFile(path(QStringLiteral("a.jpg")), "A");
        writeFile(path(QStringLiteral("b.jpg")), "old");
        Receiver receiver;

        runOnPool(new ThumbnailThread(path(QStringLiteral("a.jpg")), QStringLiteral("unused"),
                                      path(QStringLiteral("b.jpg")), &receiver));

        QCOMPARE(readFile(path(QStringLiteral("b.jpg"))), QByteArray("A"));
        QTRY_COMPARE(receiver.separateImageCalls, 1);
        QVERIFY(receiver.saveThumbThreads.isEmpty());
    }

    void copyModeWithoutTargetDoesNothing()
    {
        writeFile(path(QStringLiteral("a.jpg")), "A");
        Receiver receiver;

        runOnPool(new ThumbnailThread(path(QStringLiteral("a.jpg")), QString(), QString(), &receiver));
        QCoreApplication::processEvents();

        QCOMPARE(filesIn(m_dir->path()), QStringList{"a.jpg"});
        QCOMPARE(receiver.separateImageCalls, 0);
    }

    void guardPassesArgumentsAndRejectsUnknownSlots()
    {
        Receiver receiver;
        const std::shared_ptr<CallbackGuard> guard = CallbackGuard::of(&receiver);
        QCOMPARE(CallbackGuard::of(&receiver), guard);
        QVERIFY(guard->isOpen());

        QVERIFY(guard->invoke("takeValues", QStringLiteral("文字"), 7));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("No such method"));
        QVERIFY(!guard->invoke("noSuchSlot"));
        QVERIFY(receiver.text.isEmpty());
        QTRY_COMPARE(receiver.text, QStringLiteral("文字"));
        QCOMPARE(receiver.number, 7);

        QVERIFY(!CallbackGuard::of(nullptr)->invoke("tick"));
    }

    // Jobs keep calling while the window goes away: every call after that is
    // dropped, none reaches freed memory.
    void receiverDeletedWhileJobsCall()
    {
        auto* receiver = new Receiver;
        const std::shared_ptr<CallbackGuard> guard = CallbackGuard::of(receiver);
        QThreadPool pool;
        pool.setMaxThreadCount(4);
        std::atomic<int> queued{0};
        for (int i = 0; i < 4; ++i) {
            pool.start(QRunnable::create([guard, &queued] {
                while (guard->invoke("tick"))
                    ++queued;
            }));
        }
        QTRY_VERIFY(queued > 100);
        QCoreApplication::processEvents();
        QVERIFY(receiver->ticks > 0);
        delete receiver;

        QVERIFY(pool.waitForDone(30000));
        QVERIFY(!guard->isOpen());
        QCoreApplication::processEvents();
    }

    void copyFileThread()
    {
        writeFile(path(QStringLiteral("move.jpg")), "M");
        writeFile(path(QStringLiteral("keep.jpg")), "K");
        writeFile(path(QStringLiteral("self.jpg")), "S");
        writeFile(path(QStringLiteral("delete.jpg")), "D");

        runOnPool(new CopyFileThread(path(QStringLiteral("move.jpg")), path(QStringLiteral("moved.jpg"))));
        // The target folder is missing: the copy fails and the source stays.
        runOnPool(new CopyFileThread(path(QStringLiteral("keep.jpg")), path(QStringLiteral("no/keep.jpg"))));
        runOnPool(new CopyFileThread(path(QStringLiteral("self.jpg")), path(QStringLiteral("self.jpg"))));
        runOnPool(new CopyFileThread(path(QStringLiteral("./self.jpg")), path(QStringLiteral("self.jpg"))));
        runOnPool(new CopyFileThread(path(QStringLiteral("delete.jpg"))));

        QCOMPARE(filesIn(m_dir->path()), (QStringList{"keep.jpg", "moved.jpg", "self.jpg"}));
        QCOMPARE(readFile(path(QStringLiteral("moved.jpg"))), QByteArray("M"));
        QCOMPARE(readFile(path(QStringLiteral("keep.jpg"))), QByteArray("K"));
        QCOMPARE(readFile(path(QStringLiteral("self.jpg"))), QByteArray("S"));
    }
};

QTEST_MAIN(TstThumbnailThread)
#include "tst_thumbnailthread.moc"
