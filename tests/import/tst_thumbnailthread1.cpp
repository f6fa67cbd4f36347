#include "core/Globals.h"
#include "DemoPhotos.h"
#include "files/ImageOperation.h"
#include "import/thumbnailthread1.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QPixmap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

// Stands in for the import window: records what the jobs call back.
class JobReceiver : public QObject
{
    Q_OBJECT
public:
    QStringList entries;
    QList<QStringList> failures;
    QList<QPair<int, QPixmap>> icons;
    QList<bool> checks;
    int calls = 0;

public slots:
    void onFinishImportImage(QString imageTime)
    {
        entries << imageTime;
        ++calls;
    }
    void onImportImageFailed(QString source, QString target)
    {
        failures << QStringList{source, target};
        ++calls;
    }
    void updateThumbIcon(int index, QPixmap pic)
    {
        icons << qMakePair(index, pic);
        ++calls;
    }
    void onIsPathExist(bool exist)
    {
        checks << exist;
        ++calls;
    }
};

namespace {

QSize imageSize(const QString& path)
{
    return QImageReader(path).size();
}

// Quality 100 writes every quantisation step as 1.
bool isQuality100Jpeg(const QByteArray& jpeg)
{
    const auto* data = reinterpret_cast<const uchar*>(jpeg.constData());
    bool foundTable = false;
    int pos = 2;
    while (pos + 4 <= jpeg.size() && data[pos] == 0xFF && data[pos + 1] != 0xDA) {
        const int length = qFromBigEndian<quint16>(data + pos + 2);
        if (data[pos + 1] == 0xDB) {
            for (int t = pos + 4; t < pos + 2 + length;) {
                const bool wide = data[t] >> 4;
                ++t;
                for (int i = 0; i < 64; ++i, t += wide ? 2 : 1) {
                    if ((wide ? qFromBigEndian<quint16>(data + t) : data[t]) != 1)
                        return false;
                }
                foundTable = true;
            }
        }
        pos += 2 + length;
    }
    return foundTable;
}

// The sample picture's dark corner is at the top left once it stands upright.
bool isUpright(const QImage& image)
{
    const int dx = qMax(1, image.width() / 20);
    const int dy = qMax(1, image.height() / 20);
    const auto dark = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 40; };
    return dark(dx, dy) && !dark(image.width() - 1 - dx, dy) && !dark(dx, image.height() - 1 - dy);
}

} // namespace

class TstThumbnailThread1 : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString order;
    QString backup;

    QString path(const QString& name) const { return dir->filePath(name); }

    void makeOrderFolders()
    {
        for (const QString& folder : {"照片", "成品", "设计", "thumbnail", "thumbnail100", "thumbnail2250", "成品缩略图",
                                      "成品缩略图100", "成品缩略图2250", "设计缩略图", "设计缩略图100", "设计缩略图2250"})
            QVERIFY(QDir().mkpath(order + folder));
        QVERIFY(QDir().mkpath(backup + "照片"));
    }

    QString source(const QString& name, const QByteArray& content)
    {
        const QString file = path("camera/" + name);
        writeFile(file, content);
        return file;
    }

    void runImport(const QString& sourcePath, const QString& fileName, JobReceiver* receiver)
    {
        ThumbnailThread1 job(sourcePath, fileName, order, backup, receiver, 1000);
        job.run();
        QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
        dir.reset(new QTemporaryDir);
        order = path("server/2017-05/04/504A123-2/");
        backup = path("backup/2017-05/04/504A123-2/");
        makeOrderFolders();
        g_importWindowOpen = true;
        g_importPhotoMode = 0;
        ImageOperation::overrideJpegtran(std::nullopt);
    }

    void cleanup()
    {
        ImageOperation::overrideJpegtran(std::nullopt);
        g_importWindowOpen = true;
        g_importPhotoMode = 0;
    }

    // A turned or mirrored photo is written by jpegtran when it can turn it
    // without loss, else re-encoded upright at quality 100; the backup
    // keeps the camera's bytes.
    void turnedPhoto_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("upright");
        QTest::addColumn<bool>("withJpegtran");
        QTest::newRow("orientation 6, little-endian") << "le_6.jpg" << 6 << QSize(16, 32) << true;
        QTest::newRow("orientation 6, big-endian") << "be_6.jpg" << 6 << QSize(16, 32) << true;
        QTest::newRow("4:2:0 4000x3000") << "" << 6 << QSize(3000, 4000) << true;
        QTest::newRow("no jpegtran") << "" << 6 << QSize(3000, 4000) << false;
        QTest::newRow("orientation 7, mirrored on its side") << "" << 7 << QSize(640, 800) << true;
        QTest::newRow("orientation 4, mirrored, no jpegtran") << "" << 4 << QSize(800, 600) << false;
    }

    void turnedPhoto()
    {
        QFETCH(QString, fixture);
        QFETCH(int, orientation);
        QFETCH(QSize, upright);
        QFETCH(bool, withJpegtran);
        const QByteArray camera = fixture.isEmpty()
                                      ? DemoPhotos::jpegWithOrientation(
                                          DemoPhotos::storedAs(
                                              DemoPhotos::samplePicture(upright.width(), upright.height(), 4), orientation),
                                          orientation)
                                      : readFile(fixturePath("orientation/" + fixture));
        const QString src = source("IMG_1.jpg", camera);
        if (!withJpegtran)
            ImageOperation::overrideJpegtran(QString());
        else if (ImageOperation::findJpegtran().isEmpty())
            QSKIP("jpegtran is not installed");
        // What jpegtran makes of it, if it turns it at all.
        const QString lossless = path("lossless.jpg");
        const bool turnsLosslessly = withJpegtran && ImageOperation::losslessRotateJpeg(src, lossless, orientation);
        JobReceiver receiver;

        runImport(src, "IMG_1.jpg", &receiver);

        QCOMPARE(receiver.entries, QStringList{QString()});
        QVERIFY(receiver.failures.isEmpty());
        QCOMPARE(readFile(backup + "照片/IMG_1.jpg"), camera);
        const QByteArray written = readFile(order + "照片/IMG_1.jpg");
        if (turnsLosslessly)
            QCOMPARE(written, readFile(lossless));
        else
            QVERIFY(isQuality100Jpeg(written));
        const QImage photo = QImage::fromData(written);
        QCOMPARE(photo.size(), upright);
        if (fixture.isEmpty())
            QVERIFY(isUpright(photo));
        const QSize thumbnail = upright.scaled(2250, 2250, Qt::KeepAspectRatio);
        QCOMPARE(imageSize(order + "thumbnail2250/IMG_1.jpg"), thumbnail);
        if (fixture.isEmpty())
            QVERIFY(isUpright(QImage(order + "thumbnail2250/IMG_1.jpg")));
    }

    void uprightPhotoIsCopied()
    {
        const QByteArray camera = DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(800, 600, 2), 1);
        const QString src = source("IMG_2.jpg", camera);
        JobReceiver receiver;

        runImport(src, "504A123-001.jpg", &receiver);

        QCOMPARE(readFile(order + "照片/504A123-001.jpg"), camera);
        QCOMPARE(readFile(backup + "照片/504A123-001.jpg"), camera);
    }

    // Each family's thumbnails, scaled one from the other, as "JPG" quality 100.
    void thumbnailsPerFamily_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<bool>("backedUp");
        QTest::newRow("photos") << 0 << QStringList{"照片", "thumbnail2250", "thumbnail", "thumbnail100"} << true;
        QTest::newRow("finished") << 1 << QStringList{"成品", "成品缩略图2250", "成品缩略图", "成品缩略图100"} << false;
        QTest::newRow("design") << 2 << QStringList{"设计", "设计缩略图2250", "设计缩略图", "设计缩略图100"} << false;
    }

    void thumbnailsPerFamily()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, folders);
        QFETCH(bool, backedUp);
        g_importPhotoMode = mode;
        const QString src = source("A.jpg", DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(800, 600, 1), 1));
        JobReceiver receiver;

        runImport(src, "A.jpg", &receiver);

        QVERIFY(QFileInfo::exists(order + folders.at(0) + "/A.jpg"));
        QCOMPARE(imageSize(order + folders.at(1) + "/A.jpg"), QSize(2250, 1687));
        QCOMPARE(imageSize(order + folders.at(2) + "/A.jpg"), QSize(1000, 749));
        QCOMPARE(imageSize(order + folders.at(3) + "/A.jpg"), QSize(200, 149));
        QVERIFY(isQuality100Jpeg(readFile(order + folders.at(3) + "/A.jpg")));
        QCOMPARE(QFileInfo::exists(backup + "照片/A.jpg"), backedUp);
        QCOMPARE(receiver.entries, QStringList{QString()});
    }

    void existingCopyReplacedBackupNumbered()
    {
        writeFile(order + "照片/IMG_3.jpg", "old photo");
        writeFile(backup + "照片/IMG_3.jpg", "old backup");
        const QByteArray camera = DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(64, 48, 5), 1);
        JobReceiver receiver;

        runImport(source("IMG_3.jpg", camera), "IMG_3.jpg", &receiver);

        QCOMPARE(readFile(order + "照片/IMG_3.jpg"), camera);
        QCOMPARE(readFile(backup + "照片/IMG_3.jpg"), QByteArray("old backup"));
        QCOMPARE(readFile(backup + "照片/IMG_3(1).jpg"), camera);
    }

    // A file no decoder reads, turned or not, is kept whole: copied to its
    // folder and as its 1000 and 2250 pixel thumbnails.
    void undecodableFileIsCopied_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("not an image") << QByteArray("plain text, no picture");
        QByteArray turned = readFile(fixturePath("orientation/le_6.jpg"));
        turned.truncate(turned.indexOf(QByteArray("\xFF\xDB", 2)));
        QTest::newRow("turned, picture data missing") << turned + QByteArray("garbage");
    }

    void undecodableFileIsCopied()
    {
        QFETCH(QByteArray, content);
        JobReceiver receiver;

        runImport(source("X.jpg", content), "X.jpg", &receiver);

        QCOMPARE(readFile(order + "照片/X.jpg"), content);
        QCOMPARE(readFile(order + "thumbnail/X.jpg"), content);
        QCOMPARE(readFile(order + "thumbnail2250/X.jpg"), content);
        QVERIFY(!QFileInfo::exists(order + "thumbnail100/X.jpg"));
        QCOMPARE(receiver.entries, QStringList{QString()});
        QVERIFY(receiver.failures.isEmpty());
    }

    void emptyInputSendsNothing_data()
    {
        QTest::addColumn<int>("empty");
        QTest::newRow("order folder") << 0;
        QTest::newRow("backup folder") << 1;
        QTest::newRow("source") << 2;
    }

    void emptyInputSendsNothing()
    {
        QFETCH(int, empty);
        const QString src = source("A.jpg", "x");
        JobReceiver receiver;
        ThumbnailThread1 job(empty == 2 ? QString() : src, "A.jpg", empty == 0 ? QString() : order,
                             empty == 1 ? QString() : backup, &receiver, 1000);

        job.run();
        QCoreApplication::processEvents();

        QCOMPARE(receiver.calls, 0);
    }

    // The file's other writes are still tried; the window learns which
    // source failed before the run counts it.
    void unwritableFolderReportsBoth()
    {
        QVERIFY(QDir(order + "thumbnail100").removeRecursively());
        writeFile(order + "thumbnail100", "in the way");
        const QString src = source("IMG_4.jpg", DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(64, 48, 5), 1));
        JobReceiver receiver;

        runImport(src, "IMG_4.jpg", &receiver);

        QCOMPARE(receiver.failures, (QList<QStringList>{{src, order + "thumbnail100/IMG_4.jpg"}}));
        QCOMPARE(receiver.entries, QStringList{QString()});
        QVERIFY(QFileInfo::exists(order + "thumbnail/IMG_4.jpg"));
    }

    void shotTimeEntries_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("entry");
        QTest::newRow("photo") << 0 << "IMG_0001.JPG" << "IMG_0001>17:05:04 12:34:56|";
        QTest::newRow("dots dropped") << 0 << "a.b.JPG" << "ab>17:05:04 12:34:56|";
        QTest::newRow("finished") << 1 << "IMG_0001.JPG" << "";
        QTest::newRow("design") << 2 << "IMG_0001.JPG" << "";
    }

    void shotTimeEntries()
    {
        QFETCH(int, mode);
        QFETCH(QString, fileName);
        QFETCH(QString, entry);
        g_importPhotoMode = mode;
        const QByteArray camera = DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(64, 48, 5), 1);
        const QByteArray date("2017:05:04 12:34:56\0", 20);
        // The Exif date sits a little after the start, as cameras write it.
        const QByteArray withDate = camera.left(2) + QByteArray("\xFF\xFE\x00\x16", 4) + date + camera.mid(2);
        JobReceiver receiver;

        runImport(source("shot.jpg", withDate), fileName, &receiver);

        QCOMPARE(receiver.entries, QStringList{entry});
    }

    // In the second window the last date wins; in the first, the first one.
    void shotTimeWindows_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shotTime");
        const QByteArray first("2017:05:04 12:34:56\0", 20);
        const QByteArray second("2018:01:02 03:04:05\0", 20);
        QTest::newRow("first window, first hit") << QByteArray("ab") + first + second << "17:05:04 12:34:56";
        QTest::newRow("second window, last hit") << QByteArray(2100, 'x') + first + second << "18:01:02 03:04:05";
        QTest::newRow("none") << QByteArray(3000, 'x') << "";
    }

    void shotTimeWindows()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, shotTime);
        ThumbnailThread1 job(QString(), nullptr);
        QString found;

        QVERIFY(job.getPicShotTime(source("t.jpg", content), found));
        QCOMPARE(found, shotTime);
        QVERIFY(!job.getPicShotTime(path("none.jpg"), found));
    }

    void listThumbnail()
    {
        const QString picture = path("thumb.jpg");
        QVERIFY(DemoPhotos::samplePicture(400, 200, 3).save(picture, "JPG"));
        JobReceiver receiver;

        ThumbnailThread1(picture, 4, &receiver, 100).run();
        ThumbnailThread1(path("missing.jpg"), 5, &receiver, 100).run();
        QCoreApplication::processEvents();

        QCOMPARE(receiver.icons.size(), 2);
        QCOMPARE(receiver.icons.at(0).first, 4);
        QCOMPARE(receiver.icons.at(0).second.size(), QSize(100, 100));
        QCOMPARE(receiver.icons.at(1).first, 5);
        QVERIFY(receiver.icons.at(1).second.isNull());
    }

    void folderCheck()
    {
        JobReceiver receiver;

        ThumbnailThread1(order, &receiver).run();
        ThumbnailThread1(path("nowhere"), &receiver).run();
        QCoreApplication::processEvents();

        QCOMPARE(receiver.checks, (QList<bool>{true, false}));
    }

    // A closed or deleted window is not called; the file work still happens.
    void closedOrDeletedWindowGetsNothing()
    {
        const QString src = source("A.jpg", DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(64, 48, 5), 1));
        JobReceiver receiver;
        g_importWindowOpen = false;
        runImport(src, "A.jpg", &receiver);
        QCOMPARE(receiver.calls, 0);
        QVERIFY(QFileInfo::exists(order + "照片/A.jpg"));

        g_importWindowOpen = true;
        auto* gone = new JobReceiver;
        ThumbnailThread1 job(order, gone);
        QSignalSpy destroyed(gone, &QObject::destroyed);
        delete gone;
        job.run();
        QCoreApplication::processEvents();
        QCOMPARE(destroyed.count(), 1);
    }
};

QTEST_MAIN(TstThumbnailThread1)
#include "tst_thumbnailthread1.moc"
