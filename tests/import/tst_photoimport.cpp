#include "DemoPhotos.h"
#include "files/ImageOperation.h"
#include "import/PhotoImport.h"
#include "import/PhotoPool.h"
#include "import/PictureMemoryKeeper.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
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
    QImage stored = DemoPhotos::storedAs(picture, orientation);
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

    // A job that imports the test photo under `name` and notes the buffers
    // it was lent and their size when it began.
    std::function<void()> photoJob(const QString& name, QList<QPair<PhotoImport::Buffers*, qint64>>* seen)
    {
        return [this, name, seen] {
            PhotoImport::Buffers* buffers = PhotoImport::lentBuffers();
            {
                std::lock_guard<std::mutex> lock(m_seenMutex);
                *seen << qMakePair(buffers, buffers ? buffers->bytes() : -1);
            }
            PhotoImport::run(path(QStringLiteral("IMG_1.jpg")), targetsIn(path(QStringLiteral("out")), name),
                             PhotoImport::Settings());
        };
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::mutex m_seenMutex;

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

    // The pool lends a job the buffers of an ended one, also after it has
    // waited for more photos, and gives jobs that run side by side buffers
    // of their own.
    void poolLendsBuffers()
    {
        writeFile(path(QStringLiteral("IMG_1.jpg")), cameraPhoto({300, 400}, 6, 1));
        const auto keeper = std::make_shared<PictureMemoryKeeper>();
        QList<QPair<PhotoImport::Buffers*, qint64>> seen;

        PhotoPool one(1, PhotoPool::Starts::AsJobsEnd, keeper);
        for (const QString name : {"a.jpg", "b.jpg", "c.jpg"})
            one.add(photoJob(name, &seen), path(QStringLiteral("IMG_1.jpg")), name);
        QVERIFY(one.waitForDone(60000));
        one.add(photoJob(QStringLiteral("d.jpg"), &seen), path(QStringLiteral("IMG_1.jpg")), QStringLiteral("d.jpg"));
        QVERIFY(one.waitForDone(60000));
        QCOMPARE(seen.size(), 4);
        QVERIFY(seen.at(0).first != nullptr);
        QCOMPARE(seen.at(0).second, qint64(0));
        for (int i = 1; i < 4; ++i) {
            QCOMPARE(seen.at(i).first, seen.at(0).first);
            QVERIFY(seen.at(i).second >= 2 * 300 * 400 * 4);
        }

        // Two jobs that meet while both run.
        seen.clear();
        QSemaphore arrived;
        QSemaphore proceed;
        PhotoPool two(2, PhotoPool::Starts::AsJobsEnd, keeper);
        for (const QString name : {"e.jpg", "f.jpg"}) {
            two.add([&, name] {
                arrived.release();
                proceed.acquire();
                photoJob(name, &seen)();
            }, path(QStringLiteral("IMG_1.jpg")), name);
        }
        QVERIFY(arrived.tryAcquire(2, 60000));
        proceed.release(2);
        QVERIFY(two.waitForDone(60000));
        QCOMPARE(seen.size(), 2);
        QVERIFY(seen.at(0).first != seen.at(1).first);
    }

    // The memory outlives an order's pool: the next order's job is lent the
    // buffers of the last one, until the keeper lets them go (an import
    // window closes).
    void keeperLendsAcrossOrders()
    {
        writeFile(path(QStringLiteral("IMG_1.jpg")), cameraPhoto({300, 400}, 6, 1));
        const auto keeper = std::make_shared<PictureMemoryKeeper>();
        QList<QPair<PhotoImport::Buffers*, qint64>> seen;
        const auto importOrder = [&](const QString& name) {
            PhotoPool order(0, PhotoPool::Starts::AsJobsEnd, keeper);
            order.add(photoJob(name, &seen), path(QStringLiteral("IMG_1.jpg")), name);
            QVERIFY(order.waitForDone(60000));
        };
        importOrder(QStringLiteral("a.jpg"));
        QVERIFY(keeper->keptBytes() >= 2 * 300 * 400 * 4);
        importOrder(QStringLiteral("b.jpg"));
        keeper->release();
        QCOMPARE(keeper->keptBytes(), qint64(0));
        importOrder(QStringLiteral("c.jpg"));
        QCOMPARE(seen.size(), 3);
        QCOMPARE(seen.at(0).second, qint64(0));
        QCOMPARE(seen.at(1).first, seen.at(0).first);
        QVERIFY(seen.at(1).second >= 2 * 300 * 400 * 4);
        QCOMPARE(seen.at(2).second, qint64(0));
    }

    // Once nothing has been borrowed for the idle time, the memory goes back
    // to the system.
    void keeperFreesWhenIdle()
    {
        writeFile(path(QStringLiteral("IMG_1.jpg")), cameraPhoto({300, 400}, 6, 1));
        const auto keeper = std::make_shared<PictureMemoryKeeper>(std::chrono::milliseconds(20));
        qint64 used = 0;
        {
            PhotoPool order(0, PhotoPool::Starts::AsJobsEnd, keeper);
            order.add([&] {
                PhotoImport::run(path(QStringLiteral("IMG_1.jpg")), targetsIn(path(QStringLiteral("out")), QStringLiteral("a.jpg")),
                                 PhotoImport::Settings());
                used = PhotoImport::lentBuffers()->bytes();
            }, path(QStringLiteral("IMG_1.jpg")), QStringLiteral("a.jpg"));
            QVERIFY(order.waitForDone(60000));
        }
        QVERIFY(used >= 2 * 300 * 400 * 4);
        QTRY_COMPARE_WITH_TIMEOUT(keeper->keptBytes(), qint64(0), 30000);
    }

    // Kept buffers that would take the borrower past its budget are freed.
    void keeperFreesWhatExceedsTheRoom()
    {
        PictureMemoryKeeper keeper;
        std::shared_ptr<PhotoImport::Buffers> sets[] = {keeper.lend(0), keeper.lend(0)};
        for (std::shared_ptr<PhotoImport::Buffers>& buffers : sets) {
            QVERIFY(!buffers->decoded.picture({100, 100}, QImage::Format_RGB32).isNull());
            keeper.giveBack(std::move(buffers));
        }
        const qint64 oneSet = keeper.keptBytes() / 2;
        QVERIFY(oneSet >= 100 * 100 * 4);
        auto withinRoom = keeper.lend(oneSet);
        QCOMPARE(keeper.keptBytes(), oneSet);
        keeper.giveBack(std::move(withinRoom));
        auto pastRoom = keeper.lend(oneSet - 1);
        QCOMPARE(pastRoom->bytes(), oneSet);
        QCOMPARE(keeper.keptBytes(), qint64(0));
        keeper.giveBack(std::move(pastRoom));
    }
};

QTEST_MAIN(TstPhotoImport)
#include "tst_photoimport.moc"
