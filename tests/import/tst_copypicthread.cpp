#include "DemoPhotos.h"
#include "import/copypicthread.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// Stands in for a window that offers "solaImgImport".
class CopyReceiver : public QObject
{
    Q_OBJECT
public:
    QStringList reports;

public slots:
    void solaImgImport(QString path) { reports << path; }
};

class TstCopyPicThread : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString order() const { return dir.filePath("order/"); }
    QString backup() const { return dir.filePath("backup/"); }

    QString source(const QString& name, const QByteArray& content)
    {
        writeFile(dir.filePath("camera/" + name), content);
        return dir.filePath("camera/" + name);
    }

private slots:
    void init()
    {
        for (const QString& folder : {"照片", "thumbnail", "thumbnail100", "thumbnail2250", "试拍视频", "精修视频"})
            QDir().mkpath(order() + folder);
        QDir().mkpath(backup() + "照片");
    }

    // ".JPG" becomes ".jpg" in every target; other cases stay.
    void photoNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::newRow("upper case") << "IMG_1.JPG" << "IMG_1.jpg";
        QTest::newRow("mixed case") << "IMG_1.Jpg" << "IMG_1.Jpg";
    }

    void photoNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        const QByteArray jpeg = DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(64, 48, 1), 1);
        const QString src = source(name, jpeg);
        CopyReceiver receiver;

        CopyPicThread(order(), backup(), src, name, 0, &receiver).run();
        QCoreApplication::processEvents();

        QCOMPARE(readFile(order() + "照片/" + stored), jpeg);
        QCOMPARE(readFile(backup() + "照片/" + stored), jpeg);
        QVERIFY(QFileInfo::exists(order() + "thumbnail100/" + stored));
        QCOMPARE(receiver.reports, QStringList{src});
    }

    void fiveArgumentPhotoJobIsSilent()
    {
        CopyReceiver receiver;
        CopyPicThread(order(), source("a.jpg", "x"), "a.jpg", 0, &receiver).run();
        QCoreApplication::processEvents();
        QVERIFY(receiver.reports.isEmpty());
        QVERIFY(!QFileInfo::exists(order() + "照片/a.jpg"));
    }

    void videos_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("reportsTarget");
        QTest::newRow("trial") << 3 << "试拍视频/" << true;
        QTest::newRow("retouched") << 4 << "精修视频/" << false;
        QTest::newRow("negative type") << -1 << "精修视频/" << false;
    }

    void videos()
    {
        QFETCH(int, type);
        QFETCH(QString, folder);
        QFETCH(bool, reportsTarget);
        const QString src = source("v.mp4", "video");
        CopyReceiver receiver;

        CopyPicThread(order(), src, "v.mp4", type, &receiver).run();
        QCoreApplication::processEvents();

        QCOMPARE(readFile(order() + folder + "v.mp4"), QByteArray("video"));
        QCOMPARE(receiver.reports, QStringList{reportsTarget ? order() + folder + "v.mp4" : src});
    }

    void existingVideoIsKept()
    {
        writeFile(order() + "试拍视频/v.mp4", "old");
        CopyReceiver receiver;
        CopyPicThread job(order(), source("v.mp4", "new"), "v.mp4", 3, &receiver);
        QVERIFY(!job.copyFile(dir.filePath("camera/v.mp4"), order() + "试拍视频/v.mp4"));
        job.run();
        QCoreApplication::processEvents();
        QCOMPARE(readFile(order() + "试拍视频/v.mp4"), QByteArray("old"));
        QCOMPARE(receiver.reports.size(), 1);
    }

    // A receiver deleted while the job waits is not called; the copy is made.
    void deletedReceiverGetsNothing()
    {
        auto* receiver = new CopyReceiver;
        CopyPicThread job(order(), source("w.mp4", "video"), "w.mp4", 3, receiver);
        delete receiver;
        job.run();
        QCoreApplication::processEvents();
        QCOMPARE(readFile(order() + "试拍视频/w.mp4"), QByteArray("video"));
    }
};

QTEST_MAIN(TstCopyPicThread)
#include "tst_copypicthread.moc"
