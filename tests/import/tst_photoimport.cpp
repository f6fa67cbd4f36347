#include "DemoPhotos.h"
#include "files/ImageOperation.h"
#include "import/PhotoImport.h"
#include "import/PhotoPool.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QtTest>

#include <mutex>

namespace {

// A camera photo stored as the camera holds it; the picture carries a
// density and a comment when given.
QByteArray cameraPhoto(QSize upright, int orientation, int seed, int dotsPerMeter = 0, const QString& comment = {},
                       bool grey = false)
{
    QImage picture = DemoPhotos::samplePicture(upright.width(), upright.height(), seed);
    if (grey)
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    QTransform back;
    if (orientation == 6)
        back.rotate(-90);
    else if (orientation == 8)
        back.rotate(90);
    else if (orientation == 3)
        back.rotate(180);
    QImage stored = picture.transformed(back);
    if (dotsPerMeter > 0) {
        stored.setDotsPerMeterX(dotsPerMeter);
        stored.setDotsPerMeterY(dotsPerMeter);
    }
    if (!comment.isEmpty())
        stored.setText(QStringLiteral("Description"), comment);
    return DemoPhotos::jpegWithOrientation(stored, orientation);
}

QMap<QString, QByteArray> tree(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        files.insert(QDir(root).relativeFilePath(file), readFile(file));
    }
    return files;
}

} // namespace

class TstPhotoImport : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& relative) const { return m_dir->filePath(relative); }

    PhotoImport::Targets targetsIn(const QString& root, const QString& name) const
    {
        for (const char* folder : {"backup", "photos", "2250", "1000", "200"})
            QDir().mkpath(root + QLatin1Char('/') + QLatin1String(folder));
        PhotoImport::Targets targets;
        targets.backup = root + QStringLiteral("/backup/") + name;
        targets.photos << root + QStringLiteral("/photos/") + name;
        targets.thumbnail2250 = root + QStringLiteral("/2250/") + name;
        targets.thumbnail1000 = root + QStringLiteral("/1000/") + name;
        targets.thumbnail200 = root + QStringLiteral("/200/") + name;
        return targets;
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        // The window's turn without jpegtran: the picture turned in memory.
        ImageOperation::overrideJpegtran(QString());
    }

    void cleanup()
    {
        ImageOperation::overrideJpegtran(std::nullopt);
        m_dir.reset();
    }

    // Photos drawn one after another in the same kept memory give the very
    // bytes of photos drawn in new pictures: nothing of a photo (its
    // density, its comment, its pixels) reaches the files of the next one,
    // whatever their sizes, orientations and colours.
    void keptBuffersChangeNoByte_data()
    {
        QTest::addColumn<bool>("window");
        QTest::newRow("batch") << false;
        QTest::newRow("window") << true;
    }

    void keptBuffersChangeNoByte()
    {
        QFETCH(bool, window);
        const QByteArray full = cameraPhoto({300, 400}, 6, 5);
        const QList<QPair<QString, QByteArray>> photos = {
            {"A.jpg", cameraPhoto({300, 400}, 6, 1, 11811, QStringLiteral("first customer"))},
            {"B.jpg", cameraPhoto({300, 400}, 6, 2)},
            {"C.jpg", cameraPhoto({200, 150}, 8, 3)},
            {"D.jpg", cameraPhoto({400, 300}, 1, 4)},
            {"E.jpg", cameraPhoto({400, 300}, 3, 6, 0, QString(), true)},
            {"F.jpg", full.left(full.size() / 2)},
            {"G.jpg", cameraPhoto({480, 640}, 6, 7)},
        };
        PhotoImport::Settings settings;
        if (window) {
            settings.losslessTurn = true;
            settings.thumbnailFormat = "JPG";
            settings.thumbnailQuality = 100;
            settings.stopAtFirstFailure = false;
        }
        QDir().mkpath(path(QStringLiteral("camera")));
        PhotoImport::Buffers buffers;
        for (const bool lent : {false, true}) {
            const QString root = path(lent ? QStringLiteral("kept") : QStringLiteral("new"));
            std::unique_ptr<PhotoImport::BuffersLent> lending;
            if (lent)
                lending = std::make_unique<PhotoImport::BuffersLent>(&buffers);
            QCOMPARE(PhotoImport::lentBuffers(), lent ? &buffers : nullptr);
            for (const auto& photo : photos) {
                const QString source = path(QStringLiteral("camera/") + photo.first);
                writeFile(source, photo.second);
                const PhotoImport::Outcome outcome = PhotoImport::run(source, targetsIn(root, photo.first), settings);
                QVERIFY(outcome.ok());
                QVERIFY(outcome.decoded);
            }
        }
        QVERIFY(buffers.decoded.bytes() >= 480 * 640 * 4);
        QVERIFY(buffers.turned.bytes() >= 480 * 640 * 4);
        QVERIFY(PhotoImport::lentBuffers() == nullptr);
        const QMap<QString, QByteArray> expected = tree(path(QStringLiteral("new")));
        QCOMPARE(expected.size(), 5 * photos.size());
        QCOMPARE(tree(path(QStringLiteral("kept"))).keys(), expected.keys());
        QVERIFY(tree(path(QStringLiteral("kept"))) == expected);
    }

    // The pool lends a job the buffers of an ended one, gives jobs that run
    // side by side buffers of their own, and keeps none once it has nothing
    // left to do.
    void poolLendsBuffers()
    {
        const QString source = path(QStringLiteral("IMG_1.jpg"));
        writeFile(source, cameraPhoto({300, 400}, 6, 1));
        std::mutex mutex;
        QList<QPair<PhotoImport::Buffers*, qint64>> seen;
        const auto photoJob = [&](const QString& name) {
            return [&, name] {
                PhotoImport::Buffers* buffers = PhotoImport::lentBuffers();
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    seen << qMakePair(buffers, buffers ? buffers->bytes() : -1);
                }
                PhotoImport::run(source, targetsIn(path(QStringLiteral("out")), name), PhotoImport::Settings());
            };
        };

        PhotoPool one(1);
        for (const QString name : {"a.jpg", "b.jpg", "c.jpg"})
            one.add(photoJob(name), source, name);
        QVERIFY(one.waitForDone(60000));
        QCOMPARE(seen.size(), 3);
        QVERIFY(seen.at(0).first != nullptr);
        QCOMPARE(seen.at(0).second, qint64(0));
        for (int i = 1; i < 3; ++i) {
            QCOMPARE(seen.at(i).first, seen.at(0).first);
            QVERIFY(seen.at(i).second >= 2 * 300 * 400 * 4);
        }
        one.add(photoJob(QStringLiteral("d.jpg")), source, QStringLiteral("d.jpg"));
        QVERIFY(one.waitForDone(60000));
        QCOMPARE(seen.last().second, qint64(0));

        // Two jobs that meet while both run.
        seen.clear();
        QSemaphore arrived;
        QSemaphore proceed;
        PhotoPool two(2);
        for (const QString name : {"e.jpg", "f.jpg"}) {
            two.add([&, name] {
                arrived.release();
                proceed.acquire();
                photoJob(name)();
            }, source, name);
        }
        QVERIFY(arrived.tryAcquire(2, 60000));
        proceed.release(2);
        QVERIFY(two.waitForDone(60000));
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen.at(0).first != seen.at(1).first);
    }
};

QTEST_MAIN(TstPhotoImport)
#include "tst_photoimport.moc"
