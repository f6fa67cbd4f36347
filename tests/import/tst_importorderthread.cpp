#include "core/Globals.h"
#include "DemoPhotos.h"
#include "files/ImageOperation.h"
#include "files/SafeFileWriter.h"
#include "Platform.h"
#include "support/ImportWorkerFixture.h"
#include "support/SmallDisk.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonObject>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// A photo as the camera stores it under its orientation.
QByteArray cameraJpeg(const QImage& upright, int orientation, QDataStream::ByteOrder order = QDataStream::LittleEndian)
{
    return DemoPhotos::jpegWithOrientation(DemoPhotos::storedAs(upright, orientation), orientation, order);
}

// A small JPEG whose frame header declares another size: decoders would
// allocate the declared picture before they find the data missing.
QByteArray jpegDeclaring(int width, int height, int orientation)
{
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray jpeg = DemoPhotos::jpegWithOrientation(small, orientation);
    const int frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0)
        return {};
    qToBigEndian<quint16>(quint16(height), reinterpret_cast<uchar*>(jpeg.data()) + frame + 5);
    qToBigEndian<quint16>(quint16(width), reinterpret_cast<uchar*>(jpeg.data()) + frame + 7);
    return jpeg;
}

bool isDark(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 40;
}

// The sample picture's black corner is at the top left and nowhere else.
bool isUpright(const QImage& image)
{
    const int dx = qMax(1, image.width() / 20);
    const int dy = qMax(1, image.height() / 20);
    return isDark(image, dx, dy) && !isDark(image, image.width() - 1 - dx, dy)
           && !isDark(image, dx, image.height() - 1 - dy);
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

struct ImportSignals {
    explicit ImportSignals(ImportOrderThread* worker)
        : progress(worker, &ImportOrderThread::hasImportedImgCount)
        , finished(worker, &ImportOrderThread::hasFinishedImportSigl)
        , imageError(worker, &ImportOrderThread::importImageThreadError)
        , errorMsg(worker, &ImportOrderThread::importErrorMsg)
        , diskSize(worker, &ImportOrderThread::checkDiskSizeSigl)
        , orderPath(worker, &ImportOrderThread::checkOrderPicPathSigl)
    {
    }

    QList<QPair<int, int>> progressPairs() const
    {
        QList<QPair<int, int>> pairs;
        for (const QList<QVariant>& args : progress)
            pairs << qMakePair(args.at(0).toInt(), args.at(1).toInt());
        return pairs;
    }

    int errorCount() const { return imageError.count() + errorMsg.count() + diskSize.count() + orderPath.count(); }

    QSignalSpy progress;
    QSignalSpy finished;
    QSignalSpy imageError;
    QSignalSpy errorMsg;
    QSignalSpy diskSize;
    QSignalSpy orderPath;
};

} // namespace

class TstImportOrderThread : public QObject, protected ImportWorkerFixture
{
    Q_OBJECT

private:
    QString backupPath() const { return path(QStringLiteral("backup/") + kOrderFolder); }

    // A source photo in the camera folder.
    QString cameraFile(const QString& name, const QByteArray& content)
    {
        QDir().mkpath(path(QStringLiteral("camera")));
        const QString file = path(QStringLiteral("camera/") + name);
        writeFile(file, content);
        return file;
    }

    QString cameraPhoto(const QString& name, int width, int height, int orientation = 1)
    {
        return cameraFile(name, cameraJpeg(DemoPhotos::samplePicture(width, height, 3), orientation));
    }

    const QStringList kThumbnailFolders = {
        QStringLiteral("thumbnail/"), QStringLiteral("thumbnail100/"), QStringLiteral("thumbnail2250/"),
        QStringLiteral("成品缩略图/"), QStringLiteral("成品缩略图100/"), QStringLiteral("成品缩略图2250/"),
        QStringLiteral("设计缩略图/"), QStringLiteral("设计缩略图100/"), QStringLiteral("设计缩略图2250/")};

private slots:
    void init()
    {
        QVERIFY(setUpFolders());
        g_homePicPath.clear();
        g_yptbcp = QStringLiteral("0");
    }

    void cleanup() { tearDownFolders(); }

    // --- the order folder tree ---

    void newOrderTree_data()
    {
        QTest::addColumn<QString>("serverRoot");
        QTest::addColumn<QString>("backupRoot");
        QTest::addColumn<QString>("storedServer");
        QTest::addColumn<QString>("storedBackup");
        QTest::newRow("roots ending in a separator") << "{dir}/server/" << "{dir}/backup/"
                                                     << "{dir}/server/" << "{dir}/backup/";
        QTest::newRow("roots without a separator") << "{dir}/server" << "{dir}/backup"
                                                   << "{dir}/server/" << "{dir}/backup/";
        QTest::newRow("roots written with backslashes") << "{dir}\\server\\" << "{dir}\\backup\\"
                                                        << "{dir}\\server\\" << "{dir}\\backup\\";
        QTest::newRow("server root with blanks around it") << "  {dir}/server/ " << "{dir}/backup/"
                                                           << "{dir}/server/" << "{dir}/backup/";
    }

    void newOrderTree()
    {
        QFETCH(QString, serverRoot);
        QFETCH(QString, backupRoot);
        QFETCH(QString, storedServer);
        QFETCH(QString, storedBackup);
        for (QString* text : {&serverRoot, &backupRoot, &storedServer, &storedBackup})
            text->replace(QLatin1String("{dir}"), m_dir->path());
        auto model = makeModel();
        ImportOrderThread worker(model.get(), importOrdersPhotoDlg::TypeOriginal, nullptr);
        ImportSignals spies(&worker);

        worker.createOrderDir(serverRoot, backupRoot);

        QCOMPARE(spies.errorCount(), 0);
        QCOMPARE(model->importOrderPath(), storedServer + kOrderFolder);
        QCOMPARE(model->importOrderBakPath(), storedBackup + kOrderFolder);
        const QString order = QStringLiteral("2024-03/07/LY100-1-王芳-李雷-摄影A/");
        QStringList expected = {"2024-03/", "2024-03/07/", order};
        const QStringList visible = {"照片/", "照片/新建文件夹/", "成品/", "汰片/", "设计/", "试拍视频/", "精修视频/"};
        for (const QString& name : visible + kThumbnailFolders)
            expected << order + name;
        expected.sort();
        QCOMPARE(entries(path(QStringLiteral("server")), QDir::Dirs), expected);
        QCOMPARE(entries(path(QStringLiteral("backup")), QDir::Dirs),
                 (QStringList{"2024-03/", "2024-03/07/", order, order + "照片/"}));
        for (const QString& name : kThumbnailFolders)
            QVERIFY2(Platform::instance().isHidden(orderPath() + name.chopped(1)), qPrintable(name));
        for (const QString& name : visible)
            QVERIFY2(!Platform::instance().isHidden(orderPath() + name.chopped(1)), qPrintable(name));
    }

    void orderFolderName_data()
    {
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("folder");
        QTest::newRow("forbidden characters in the suffix")
            << QJsonObject{} << "王:芳?*" << "LY100-1-王芳";
        QTest::newRow("no suffix, no dash")
            << QJsonObject{{"wname", ""}, {"mname", ""}, {"role1", ""}} << "" << "LY100-1";
        QTest::newRow("blanks around the order number")
            << QJsonObject{{"orderpayforkey", " LY100"}, {"servicetimes", "1 "}} << "" << "LY100-1";
        // Dots are ordinary characters as long as the name is not "." or "..".
        QTest::newRow("dots inside the customer name") << QJsonObject{} << "A..B" << "LY100-1-A..B";
        QTest::newRow("order number of dots")
            << QJsonObject{{"orderpayforkey", ".."}, {"servicetimes", ".."}, {"wname", ""}, {"mname", ""},
                           {"role1", ""}}
            << "" << "..-";
    }

    void orderFolderName()
    {
        QFETCH(QJsonObject, changes);
        QFETCH(QString, suffix);
        QFETCH(QString, folder);
        auto model = makeModel(changes);
        model->setFolderSuffix(0, suffix);
        ImportOrderThread worker(model.get(), importOrdersPhotoDlg::TypeOriginal, nullptr);

        worker.createOrderDir(g_picPath, g_bakPicPath);

        QCOMPARE(model->importOrderPath(), g_picPath + QStringLiteral("2024-03/07/") + folder + QLatin1Char('/'));
        QVERIFY(QFileInfo(model->importOrderPath() + QStringLiteral("照片")).isDir());
    }

    void existingPathsCreateNothing_data()
    {
        QTest::addColumn<QString>("orderpath");
        QTest::addColumn<QString>("orderbakpicpath");
        QTest::newRow("both paths from the service") << "/photos/A1/" << "/backup/A1/";
        QTest::newRow("only the order path") << "/photos/A1/" << "";
        QTest::newRow("only the backup path") << "" << "/backup/A1/";
    }

    void existingPathsCreateNothing()
    {
        QFETCH(QString, orderpath);
        QFETCH(QString, orderbakpicpath);
        auto model = makeModel({{"orderpath", orderpath}, {"orderbakpicpath", orderbakpicpath}});
        ImportOrderThread worker(model.get(), importOrdersPhotoDlg::TypeOriginal, nullptr);
        ImportSignals spies(&worker);

        worker.createOrderDir(g_picPath, g_bakPicPath);

        QCOMPARE(spies.errorCount(), 0);
        QCOMPARE(entries(m_dir->path()), (QStringList{"backup/", "server/"}));
        QCOMPARE(model->importOrderPath(), orderpath);
        QCOMPARE(model->importOrderBakPath(), orderbakpicpath);
    }

    void unsafeDateOrNameCreatesNothing_data()
    {
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("empty shot date") << QJsonObject{{"shotdate", ""}} << "";
        QTest::newRow("climbing shot date") << QJsonObject{{"shotdate", "../../../x"}} << "";
        QTest::newRow("date and a climb") << QJsonObject{{"shotdate", "2024-03-07/../.."}} << "";
        QTest::newRow("slashes in the date") << QJsonObject{{"shotdate", "2024/03/07"}} << "";
        QTest::newRow("one-digit month") << QJsonObject{{"shotdate", "2024-3-07"}} << "";
        QTest::newRow("suffix of two dots") << QJsonObject{} << "..";
        QTest::newRow("suffix of dots and blanks") << QJsonObject{} << ". . .";
        QTest::newRow("suffix of forbidden characters") << QJsonObject{} << "?*";
    }

    void unsafeDateOrNameCreatesNothing()
    {
        QFETCH(QJsonObject, changes);
        QFETCH(QString, suffix);
        auto model = makeModel(changes);
        if (!suffix.isEmpty())
            model->setFolderSuffix(0, suffix);
        ImportOrderThread worker(model.get(), importOrdersPhotoDlg::TypeOriginal, nullptr);
        ImportSignals spies(&worker);

        worker.createOrderDir(g_picPath, g_bakPicPath);

        QCOMPARE(spies.orderPath.count(), 1);
        QCOMPARE(spies.errorCount(), 1);
        QCOMPARE(QString(g_importRunFlag), QStringLiteral("no"));
        QCOMPARE(entries(m_dir->path()), (QStringList{"backup/", "server/"}));
        QVERIFY(model->importOrderPath().isEmpty());
        QVERIFY(model->importOrderBakPath().isEmpty());
    }

    // The import window and the search tools rely on each signal's index.
    void signalsInTheirOrder()
    {
        const QStringList expected = {"hasImportedImgCount(ushort,ushort)",
                                      "hasFinishedImportSigl(ushort)",
                                      "importImageThreadError(uchar)",
                                      "importErrorMsg(QString)",
                                      "checkDiskSizeSigl(QString)",
                                      "checkOrderPicPathSigl()",
                                      "deleteSucceed(QString,QString)",
                                      "importDirLyraThreadError()",
                                      "importDirLyraThreadSigl(QString)",
                                      "startImportDirLyraThreadSigl(QList<LyraFileInfo>,QString)",
                                      "emit_msg(QString)"};
        const QMetaObject& meta = ImportOrderThread::staticMetaObject;
        QStringList found;
        for (int index = meta.methodOffset(); index < meta.methodCount(); ++index) {
            if (meta.method(index).methodType() == QMetaMethod::Signal)
                found << QString::fromLatin1(meta.method(index).methodSignature());
        }
        QCOMPARE(found, expected);
        // The row number is the index among the class's own methods.
        for (int row = 0; row < expected.size(); ++row)
            QCOMPARE(QString::fromLatin1(meta.method(meta.methodOffset() + row).methodSignature()), expected.at(row));
    }

    void rootErrors_data()
    {
        QTest::addColumn<QString>("serverRoot");
        QTest::addColumn<QString>("backupRoot");
        QTest::addColumn<int>("code");
        QTest::newRow("server root blocked by a file") << "{dir}/blocked/server/" << "{dir}/backup/" << 1;
        QTest::newRow("relative server root") << "relative/server/" << "{dir}/backup/" << 1;
        QTest::newRow("backup root without its parent") << "{dir}/a/b/server/" << "{dir}/missing/backup/" << 2;
        QTest::newRow("empty backup root") << "{dir}/server/" << "" << 2;
        QTest::newRow("server root is the filesystem root") << "/" << "{dir}/backup/" << 1;
        QTest::newRow("backup root is the filesystem root") << "{dir}/server/" << "/" << 2;
    }

    void rootErrors()
    {
        QFETCH(QString, serverRoot);
        QFETCH(QString, backupRoot);
        QFETCH(int, code);
        serverRoot.replace(QLatin1String("{dir}"), m_dir->path());
        backupRoot.replace(QLatin1String("{dir}"), m_dir->path());
        writeFile(path(QStringLiteral("blocked")), "a file");
        QDir::setCurrent(m_dir->path());
        auto model = makeModel();
        ImportOrderThread worker(model.get(), importOrdersPhotoDlg::TypeOriginal, nullptr);
        ImportSignals spies(&worker);

        worker.createOrderDir(serverRoot, backupRoot);

        // Delivered before the call returns: the dialog reacts before it would start the thread.
        QCOMPARE(spies.imageError.count(), 1);
        QCOMPARE(spies.imageError.at(0).at(0).value<uchar>(), uchar(code));
        QCOMPARE(spies.errorCount(), 1);
        QVERIFY(model->importOrderPath().isEmpty());
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("relative"))));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("missing"))));
        if (code == 2)
            QVERIFY(QFileInfo(serverRoot).isDir());
    }

    void lyraRoot()
    {
        ImportOrderThread worker(nullptr, importOrdersPhotoDlg::TypeLyra, nullptr);
        QSignalSpy failed(&worker, &ImportOrderThread::importDirLyraThreadError);

        worker.createLyraDir(path(QStringLiteral("lyra\\store\\选版服务器")));
        QVERIFY(QFileInfo(path(QStringLiteral("lyra/store/选版服务器"))).isDir());
        QCOMPARE(failed.count(), 0);

        writeFile(path(QStringLiteral("file")), "x");
        worker.createLyraDir(path(QStringLiteral("file/选版服务器")));
        QCOMPARE(failed.count(), 1);

        // The shop has no Lyra path: nothing is made at the filesystem root.
        for (const QString& rootless : {QStringLiteral("\\选版服务器"), QStringLiteral("选版服务器")}) {
            worker.createLyraDir(rootless);
            QVERIFY(!QFileInfo::exists(QStringLiteral("/选版服务器")));
        }
        QCOMPARE(failed.count(), 3);
    }

    // --- photo import ---

    void photoFixtures_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("byteOrder");
        QTest::addColumn<QString>("yptbcp");
        QTest::addColumn<QStringList>("photoFolders");
        QTest::addColumn<QSize>("photoSize");
        QTest::addColumn<bool>("byteCopy");
        QTest::addColumn<QStringList>("thumbnailFolders");
        QTest::addColumn<QList<QSize>>("thumbnailSizes");

        const QStringList originals = {"thumbnail2250/", "thumbnail/", "thumbnail100/"};
        const QList<QSize> portrait = QList<QSize>{{1687, 2250}, {749, 1000}, {149, 200}};
        const QList<QSize> landscape = QList<QSize>{{2250, 1687}, {1000, 749}, {200, 149}};
        const int le = QDataStream::LittleEndian;
        const int be = QDataStream::BigEndian;
        QTest::newRow("orientation 6, little-endian: upright")
            << 0 << QSize(400, 300) << 6 << le << "0" << QStringList{"照片/"} << QSize(300, 400) << false
            << originals << portrait;
        QTest::newRow("orientation 6, big-endian: upright")
            << 0 << QSize(400, 300) << 6 << be << "0" << QStringList{"照片/"} << QSize(300, 400) << false
            << originals << portrait;
        QTest::newRow("orientation 1: byte copy")
            << 0 << QSize(400, 300) << 1 << le << "0" << QStringList{"照片/"} << QSize(400, 300) << true
            << originals << landscape;
        QTest::newRow("turned original also to 成品/")
            << 0 << QSize(400, 300) << 6 << le << "1" << QStringList{"照片/", "成品/"} << QSize(300, 400) << false
            << originals << portrait;
        QTest::newRow("upright original also to 成品/")
            << 0 << QSize(400, 300) << 1 << be << "1" << QStringList{"照片/", "成品/"} << QSize(400, 300) << true
            << originals << landscape;
        QTest::newRow("full-size photo")
            << 0 << QSize(4000, 3000) << 1 << le << "0" << QStringList{"照片/"} << QSize(4000, 3000) << true
            << originals << landscape;
        QTest::newRow("orientation 5, mirrored on its side: upright, also to 成品/")
            << 0 << QSize(400, 300) << 5 << le << "1" << QStringList{"照片/", "成品/"} << QSize(300, 400) << false
            << originals << portrait;
        QTest::newRow("orientation 2, mirrored: upright")
            << 0 << QSize(400, 300) << 2 << be << "0" << QStringList{"照片/"} << QSize(400, 300) << false
            << originals << landscape;
        QTest::newRow("orientation 9, no orientation: byte copy")
            << 0 << QSize(400, 300) << 9 << le << "0" << QStringList{"照片/"} << QSize(400, 300) << true
            << originals << landscape;
        QTest::newRow("finished photo: own folders only")
            << 1 << QSize(400, 300) << 6 << le << "1" << QStringList{"成品/"} << QSize(300, 400) << false
            << QStringList{"成品缩略图2250/", "成品缩略图/", "成品缩略图100/"} << portrait;
        QTest::newRow("design image: own folders only")
            << 2 << QSize(400, 300) << 1 << le << "1" << QStringList{"设计/"} << QSize(400, 300) << true
            << QStringList{"设计缩略图2250/", "设计缩略图/", "设计缩略图100/"} << landscape;
    }

    void photoFixtures()
    {
        QFETCH(int, type);
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        QFETCH(int, byteOrder);
        QFETCH(QString, yptbcp);
        QFETCH(QStringList, photoFolders);
        QFETCH(QSize, photoSize);
        QFETCH(bool, byteCopy);
        QFETCH(QStringList, thumbnailFolders);
        QFETCH(QList<QSize>, thumbnailSizes);
        g_yptbcp = yptbcp;
        const QImage upright = DemoPhotos::samplePicture(photoSize.width(), photoSize.height(), 3);
        const QByteArray source =
            cameraJpeg(upright, orientation, QDataStream::ByteOrder(byteOrder));
        QCOMPARE(ImageOperation::loadImage(source).size(), stored);
        const QString file = cameraFile(QStringLiteral("IMG_0001.JPG"), source);
        auto model = makeModel();
        auto worker = prepare(model.get(), Type(type), {file});
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.errorCount(), 0);
        QCOMPARE(spies.progressPairs(), (QList<QPair<int, int>>{{1, 1}}));
        QCOMPARE(spies.finished.count(), 1);
        for (const QString& folder : {"照片/", "成品/", "设计/"}) {
            const QString target = orderPath() + folder + QStringLiteral("IMG_0001.JPG");
            QCOMPARE(QFileInfo::exists(target), photoFolders.contains(folder));
            if (!photoFolders.contains(folder))
                continue;
            const QByteArray written = readFile(target);
            if (byteCopy) {
                QVERIFY(written == source);
                continue;
            }
            QVERIFY(isQuality100Jpeg(written));
            const QImage photo = ImageOperation::loadImage(written);
            QCOMPARE(photo.size(), photoSize);
            QVERIFY(isUpright(photo));
        }
        for (const QString& folder : kThumbnailFolders) {
            const QString target = orderPath() + folder + QStringLiteral("IMG_0001.JPG");
            const int index = thumbnailFolders.indexOf(folder);
            QCOMPARE(QFileInfo::exists(target), index >= 0);
            if (index < 0)
                continue;
            const QImage thumbnail = ImageOperation::loadImage(target);
            QCOMPARE(thumbnail.size(), thumbnailSizes.at(index));
            QVERIFY(isUpright(thumbnail));
        }
        const QString backup = backupPath() + QStringLiteral("照片/IMG_0001.JPG");
        QCOMPARE(QFileInfo::exists(backup), type == importOrdersPhotoDlg::TypeOriginal);
        if (type == importOrdersPhotoDlg::TypeOriginal)
            QVERIFY(readFile(backup) == source);
    }

    void backupNameCollision()
    {
        const QString file = cameraPhoto(QStringLiteral("IMG_7.JPG"), 200, 150);
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, {file});
        writeFile(backupPath() + QStringLiteral("照片/IMG_7.JPG"), "old backup");
        writeFile(backupPath() + QStringLiteral("照片/IMG_7(1).jpg"), "older backup");
        writeFile(orderPath() + QStringLiteral("照片/IMG_7.JPG"), "old photo");

        runToEnd(worker.get());

        QCOMPARE(entries(backupPath() + QStringLiteral("照片")),
                 (QStringList{"IMG_7(1).jpg", "IMG_7(2).jpg", "IMG_7.JPG"}));
        QCOMPARE(readFile(backupPath() + QStringLiteral("照片/IMG_7.JPG")), QByteArray("old backup"));
        QCOMPARE(readFile(backupPath() + QStringLiteral("照片/IMG_7(1).jpg")), QByteArray("older backup"));
        QVERIFY(readFile(backupPath() + QStringLiteral("照片/IMG_7(2).jpg")) == readFile(file));
        QVERIFY(readFile(orderPath() + QStringLiteral("照片/IMG_7.JPG")) == readFile(file));
    }

    void undecodableFileIsCopied_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("orientation");
        QTest::newRow("not an image") << QByteArray("no picture in here") << 1;
        // An Exif block saying "turned" in front of data no decoder reads.
        const QByteArray jpeg = DemoPhotos::jpegWithOrientation(QImage(8, 8, QImage::Format_RGB32), 6);
        const int exifEnd = 4 + qFromBigEndian<quint16>(reinterpret_cast<const uchar*>(jpeg.constData()) + 4);
        QTest::newRow("broken JPEG with orientation 6") << jpeg.left(exifEnd) + QByteArray(300, 'x') << 6;
        QTest::newRow("30000 x 30000 declared, orientation 6") << jpegDeclaring(30000, 30000, 6) << 6;
        QTest::newRow("60000 x 60000 declared") << jpegDeclaring(60000, 60000, 1) << 1;
    }

    void undecodableFileIsCopied()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, orientation);
        QCOMPARE(ImageOperation::getDirection(content), orientation);
        QVERIFY(ImageOperation::loadImage(content).isNull());
        const QString file = cameraFile(QStringLiteral("notes.jpg"), content);
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, {file});
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.errorCount(), 0);
        QCOMPARE(spies.finished.count(), 1);
        for (const QString& folder : {"照片/", "thumbnail/", "thumbnail2250/"})
            QCOMPARE(readFile(orderPath() + folder + QStringLiteral("notes.jpg")), content);
        QCOMPARE(readFile(backupPath() + QStringLiteral("照片/notes.jpg")), content);
        QVERIFY(!QFileInfo::exists(orderPath() + QStringLiteral("thumbnail100/notes.jpg")));
    }

    void freeSpace_data()
    {
        QTest::addColumn<int>("margin");
        QTest::addColumn<bool>("imported");
        QTest::newRow("free space equal to the file") << 0 << false;
        QTest::newRow("one byte more") << 1 << true;
        QTest::newRow("free space unknown") << -1 << true;
    }

    void freeSpace()
    {
        QFETCH(int, margin);
        QFETCH(bool, imported);
        const QString file = cameraPhoto(QStringLiteral("IMG_1.jpg"), 200, 150);
        m_env.platform->freeBytesAnswer = margin < 0 ? -1 : QFileInfo(file).size() + margin;
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, {file});
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.finished.count(), imported ? 1 : 0);
        QCOMPARE(QFileInfo::exists(orderPath() + QStringLiteral("照片/IMG_1.jpg")), imported);
        if (imported)
            return;
        QCOMPARE(spies.diskSize.count(), 1);
        QCOMPARE(spies.diskSize.at(0).at(0).toString(), file);
        QCOMPARE(spies.errorCount(), 1);
        QCOMPARE(spies.progress.count(), 0);
        QCOMPARE(QString(g_importRunFlag), QStringLiteral("no"));
        QStringList written = entries(orderPath(), QDir::Files) + entries(backupPath(), QDir::Files);
        written.removeAll(QStringLiteral(".hidden")); // the hidden-folder list, not a photo
        QCOMPARE(written, QStringList{});
    }

    // --- the import loop ---

    void progressAndFinishOnce()
    {
        QStringList files;
        for (int i = 1; i <= 3; ++i)
            files << cameraPhoto(QStringLiteral("IMG_%1.jpg").arg(i), 200, 150, i == 2 ? 6 : 1);
        auto model = makeModel();
        model->setImageSuffix(0, QStringLiteral("x"));
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.progressPairs(), (QList<QPair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
        QCOMPARE(spies.finished.count(), 1);
        QCOMPARE(spies.finished.at(0).at(0).toInt(), 3);
        QCOMPARE(spies.errorCount(), 0);
        QCOMPARE(entries(orderPath() + QStringLiteral("照片"), QDir::Files),
                 (QStringList{"IMG_1-x.jpg", "IMG_2-x.jpg", "IMG_3-x.jpg"}));
    }

    void stopFlag_data()
    {
        QTest::addColumn<int>("jobs");
        QTest::addColumn<bool>("stopBeforeRun");
        QTest::addColumn<QStringList>("imported");
        QTest::newRow("flag already no") << 0 << true << QStringList{};
        QTest::newRow("flag set after the first photo, one at a time") << 1 << false << QStringList{"IMG_1.jpg"};
        // The photo already in work still ends; nothing else starts.
        QTest::newRow("flag set after the first photo, two at a time")
            << 2 << false << QStringList{"IMG_1.jpg", "IMG_2.jpg"};
    }

    void stopFlag()
    {
        QFETCH(int, jobs);
        QFETCH(bool, stopBeforeRun);
        QFETCH(QStringList, imported);
        QStringList files;
        for (int i = 1; i <= 4; ++i)
            files << cameraPhoto(QStringLiteral("IMG_%1.jpg").arg(i), 200, 150);
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
        worker->setPhotoJobLimit(jobs);
        ImportSignals spies(worker.get());
        if (stopBeforeRun)
            g_importRunFlag = QStringLiteral("no");
        else
            connect(worker.get(), &ImportOrderThread::hasImportedImgCount, worker.get(),
                    [] { g_importRunFlag = QStringLiteral("no"); }, Qt::DirectConnection);

        runToEnd(worker.get());

        QCOMPARE(entries(orderPath() + QStringLiteral("照片"), QDir::Files), imported);
        QCOMPARE(spies.progress.count(), imported.size());
        QCOMPARE(spies.finished.count(), 0);
        QCOMPARE(spies.errorCount(), 0);
    }

    void writeFailure_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::addColumn<QString>("yptbcp");
        QTest::newRow("photo folder") << "server/" + kOrderFolder + "照片" << "0";
        QTest::newRow("finished folder") << "server/" + kOrderFolder + "成品" << "1";
        QTest::newRow("backup folder") << "backup/" + kOrderFolder + "照片" << "0";
        QTest::newRow("200-pixel thumbnail folder") << "server/" + kOrderFolder + "thumbnail100" << "0";
    }

    void writeFailure()
    {
        QFETCH(QString, blocked);
        QFETCH(QString, yptbcp);
        g_yptbcp = yptbcp;
        const QStringList files = {cameraPhoto(QStringLiteral("IMG_1.jpg"), 200, 150, 6),
                                   cameraPhoto(QStringLiteral("IMG_2.jpg"), 200, 150)};
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
        // One at a time, so the failure also shows that no later photo starts.
        worker->setPhotoJobLimit(1);
        // A regular file where the folder should be.
        QVERIFY(QDir(path(blocked)).removeRecursively());
        writeFile(path(blocked), "in the way");
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.imageError.count(), 1);
        QCOMPARE(spies.imageError.at(0).at(0).value<uchar>(), ImportOrderThread::kWriteFailedError);
        QCOMPARE(spies.errorCount(), 1);
        QCOMPARE(spies.progress.count(), 0);
        QCOMPARE(spies.finished.count(), 0);
        QVERIFY(!QFileInfo::exists(backupPath() + QStringLiteral("照片/IMG_2.jpg")));
    }

    // Files that did not fully reach the disk fail the photo; nothing is
    // left empty or half-written under a real name.
    void flushFailureFailsThePhoto_data()
    {
        QTest::addColumn<QString>("failing");
        QTest::newRow("backup") << "backup/" + kOrderFolder + "照片/";
        QTest::newRow("photo") << "server/" + kOrderFolder + "照片/";
        QTest::newRow("1000-pixel thumbnail") << "server/" + kOrderFolder + "thumbnail/";
        QTest::newRow("200-pixel thumbnail") << "server/" + kOrderFolder + "thumbnail100/";
    }

    void flushFailureFailsThePhoto()
    {
        QFETCH(QString, failing);
        const QString file = cameraPhoto(QStringLiteral("IMG_1.jpg"), 200, 150, 6);
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, {file});
        ImportSignals spies(worker.get());
        SafeFileWriter::failFlushesForTests(path(failing));
        const auto restore = qScopeGuard([] { SafeFileWriter::failFlushesForTests(QString()); });

        runToEnd(worker.get());

        QCOMPARE(spies.imageError.count(), 1);
        QCOMPARE(spies.imageError.at(0).at(0).value<uchar>(), ImportOrderThread::kWriteFailedError);
        QCOMPARE(spies.errorCount(), 1);
        QCOMPARE(spies.finished.count(), 0);
        QCOMPARE(entries(path(failing), QDir::Files), QStringList());
        for (const QString& entry : entries(orderPath(), QDir::Files))
            QVERIFY2(QFileInfo(orderPath() + entry).size() > 0, qPrintable(entry));
    }

    void fullDiskFailsThePhoto()
    {
        const QString file = cameraPhoto(QStringLiteral("IMG_1.jpg"), 400, 300);
        SmallDisk disk(path(QStringLiteral("server")));
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.skipReason()));
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, {file});
        QVERIFY(QFileInfo(orderPath()).isDir());
        QVERIFY(disk.fill());
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.imageError.count(), 1);
        QCOMPARE(spies.imageError.at(0).at(0).value<uchar>(), ImportOrderThread::kWriteFailedError);
        QCOMPARE(spies.finished.count(), 0);
        QStringList photos = entries(orderPath(), QDir::Files);
        photos.removeAll(QStringLiteral(".hidden"));
        QCOMPARE(photos, QStringList());
    }

#ifdef Q_OS_UNIX
    // Other accounts of the studio read what the import wrote, backups too.
    void importedFilesHaveTheUsualModes()
    {
        const mode_t before = ::umask(022);
        const auto restore = qScopeGuard([before] { ::umask(before); });
        g_yptbcp = QStringLiteral("1");
        const QStringList files = {cameraPhoto(QStringLiteral("IMG_1.jpg"), 200, 150, 6),
                                   cameraPhoto(QStringLiteral("IMG_2.jpg"), 200, 150)};
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
        writeFile(backupPath() + QStringLiteral("照片/IMG_2.jpg"), "older backup");
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.finished.count(), 1);
        QMap<QString, int> modes;
        for (const QString& root : {path(QStringLiteral("server")), path(QStringLiteral("backup"))}) {
            for (const QString& entry : entries(root, QDir::Files)) {
                struct stat info {};
                QCOMPARE(::stat(QFile::encodeName(root + QLatin1Char('/') + entry).constData(), &info), 0);
                modes.insert(entry, int(info.st_mode & 07777));
            }
        }
        QVERIFY(modes.contains(kOrderFolder + QStringLiteral("照片/IMG_2(1).jpg")));
        QVERIFY(modes.contains(kOrderFolder + QStringLiteral("thumbnail100/IMG_1.jpg")));
        for (auto it = modes.cbegin(); it != modes.cend(); ++it)
            QVERIFY2(it.value() == 0644, qPrintable(QStringLiteral("%1: %2").arg(it.key()).arg(it.value(), 0, 8)));
    }
#endif

    // Every file below `root` with its content.
    static QMap<QString, QByteArray> tree(const QString& root)
    {
        QMap<QString, QByteArray> files;
        for (const QString& entry : entries(root, QDir::Files))
            files.insert(entry, readFile(root + QLatin1Char('/') + entry));
        return files;
    }

    void poolGivesTheTreeOfOneAtATime()
    {
        QStringList files;
        for (int i = 1; i <= 8; ++i)
            files << cameraPhoto(QStringLiteral("IMG_%1.jpg").arg(i), 320, 240, i % 2 ? 6 : 1);
        // Three photos with one name: backups numbered in list order, the
        // last one in the order folder. A fourth whose own name is one of
        // those numbers takes the next number of its own.
        QStringList sameName;
        for (const QString& name : {"a/DSC_1.jpg", "b/DSC_1.jpg", "c/DSC_1.jpg", "d/DSC_1(1).jpg"}) {
            sameName << cameraFile(name, cameraJpeg(DemoPhotos::samplePicture(320, 240, name.at(0).unicode()), 1));
        }
        files = QStringList{sameName.at(0)} + files.mid(0, 4) + QStringList{sameName.at(1), sameName.at(3)}
                + QStringList{sameName.at(2)} + files.mid(4);

        QMap<QString, QByteArray> trees[2];
        for (const int jobs : {1, 0}) {
            const QString root = path(jobs ? QStringLiteral("one") : QStringLiteral("pool"));
            g_picPath = root + QStringLiteral("/server/");
            g_bakPicPath = root + QStringLiteral("/backup/");
            auto model = makeModel();
            auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
            worker->setPhotoJobLimit(jobs);
            ImportSignals spies(worker.get());

            runToEnd(worker.get());

            QList<QPair<int, int>> expected;
            for (int done = 1; done <= files.size(); ++done)
                expected << qMakePair(done, int(files.size()));
            QCOMPARE(spies.progressPairs(), expected);
            QCOMPARE(spies.finished.count(), 1);
            QCOMPARE(spies.errorCount(), 0);
            trees[jobs ? 0 : 1] = tree(root);
        }
        QCOMPARE(trees[1].keys(), trees[0].keys());
        QVERIFY(trees[1] == trees[0]);
        const QString backup = QStringLiteral("backup/") + kOrderFolder + QStringLiteral("照片/");
        QCOMPARE(trees[1].value(backup + "DSC_1.jpg"), readFile(sameName.at(0)));
        QCOMPARE(trees[1].value(backup + "DSC_1(1).jpg"), readFile(sameName.at(1)));
        QCOMPARE(trees[1].value(backup + "DSC_1(1)(1).jpg"), readFile(sameName.at(3)));
        QCOMPARE(trees[1].value(backup + "DSC_1(2).jpg"), readFile(sameName.at(2)));
        const QString photos = QStringLiteral("server/") + kOrderFolder + QStringLiteral("照片/");
        QCOMPARE(trees[1].value(photos + "DSC_1.jpg"), readFile(sameName.at(2)));
        QCOMPARE(trees[1].value(photos + "DSC_1(1).jpg"), readFile(sameName.at(3)));
    }

    void poolReportsOnlyTheFirstFailure()
    {
        QStringList files;
        for (int i = 1; i <= 6; ++i)
            files << cameraPhoto(QStringLiteral("IMG_%1.jpg").arg(i), 200, 150);
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
        const QString blocked = orderPath() + QStringLiteral("照片");
        QVERIFY(QDir(blocked).removeRecursively());
        writeFile(blocked, "in the way");
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.imageError.count(), 1);
        QCOMPARE(spies.errorCount(), 1);
        QCOMPARE(spies.progress.count(), 0);
        QCOMPARE(spies.finished.count(), 0);
    }

    // The error comes once the photos in work have ended: after it, nothing
    // of the order is written any more, so a retry meets no running job.
    void poolFailureComesAfterThePhotosInWork()
    {
        QStringList files;
        for (int i = 1; i <= 6; ++i)
            files << cameraPhoto(QStringLiteral("IMG_%1.jpg").arg(i), 1600, 1200);
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
        QVERIFY(QFile::remove(files.first()));
        QStringList writtenAtTheError;
        connect(worker.get(), &ImportOrderThread::importImageThreadError, worker.get(),
                [&] { writtenAtTheError = entries(m_dir->path(), QDir::Files); }, Qt::DirectConnection);
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.imageError.count(), 1);
        QCOMPARE(spies.finished.count(), 0);
        QCOMPARE(entries(m_dir->path(), QDir::Files), writtenAtTheError);
    }

    void emptyPathsOrSelection_data()
    {
        QTest::addColumn<QJsonObject>("changes");
        QTest::addColumn<bool>("withFile");
        QTest::addColumn<QString>("message");
        QTest::newRow("no backup path")
            << QJsonObject{{"orderpath", "{dir}/server/A/"}} << true
            << "订单[LY100-1]路径为空，无法导片，请检查订单路径/备份路径后重试";
        QTest::newRow("nothing selected")
            << QJsonObject{} << false << "订单[LY100-1]没有可导入的文件，请重新选择后重试";
        // Order paths from the service are not followed out of the roots.
        QTest::newRow("order path climbing with ..")
            << QJsonObject{{"orderpath", "{dir}/server/../outside/"}, {"orderbakpicpath", "{dir}/backup/A/"}} << true
            << "订单[LY100-1]路径为空，无法导片，请检查订单路径/备份路径后重试";
        QTest::newRow("backup path climbing with ..")
            << QJsonObject{{"orderpath", "{dir}/server/A/"}, {"orderbakpicpath", "{dir}\\backup\\..\\outside\\"}}
            << true << "订单[LY100-1]路径为空，无法导片，请检查订单路径/备份路径后重试";
        QTest::newRow("relative order path")
            << QJsonObject{{"orderpath", "outside/"}, {"orderbakpicpath", "{dir}/backup/A/"}} << true
            << "订单[LY100-1]路径为空，无法导片，请检查订单路径/备份路径后重试";
    }

    void emptyPathsOrSelection()
    {
        QFETCH(QJsonObject, changes);
        QFETCH(bool, withFile);
        QFETCH(QString, message);
        for (const char* key : {"orderpath", "orderbakpicpath"}) {
            if (changes.contains(key))
                changes[key] = changes[key].toString().replace(QLatin1String("{dir}"), m_dir->path());
        }
        QDir::setCurrent(m_dir->path());
        QStringList files;
        if (withFile)
            files << cameraPhoto(QStringLiteral("IMG_1.jpg"), 200, 150);
        auto model = makeModel(changes);
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.errorMsg.count(), 1);
        QCOMPARE(spies.errorMsg.at(0).at(0).toString(), message);
        QCOMPARE(spies.errorCount(), 1);
        QCOMPARE(spies.progress.count(), 0);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("outside"))));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("server/A"))));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("backup/A"))));
    }

    // The progress signals count in 16 bits: 65536 files would wrap them.
    void tooManyFilesAreRefused()
    {
        QStringList files;
        for (int i = 0; i < 65536; ++i)
            files << path(QStringLiteral("camera/IMG_%1.jpg").arg(i));
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal, files);
        ImportSignals spies(worker.get());

        runToEnd(worker.get());

        QCOMPARE(spies.errorMsg.count(), 1);
        QCOMPARE(spies.errorMsg.at(0).at(0).toString(), QString("订单[LY100-1]所选文件超过65535个，请分批导入"));
        QCOMPARE(spies.errorCount(), 1);
        QCOMPARE(spies.progress.count(), 0);
        QCOMPARE(spies.finished.count(), 0);
    }

    void runBuildsTheTreeForTheModel()
    {
        const QString file = cameraPhoto(QStringLiteral("IMG_1.jpg"), 200, 150);
        auto model = makeModel();
        model->setSelectedFiles(importOrdersPhotoDlg::TypeDesign, {file});
        ImportOrderThread worker(model.get(), importOrdersPhotoDlg::TypeDesign, nullptr);
        ImportSignals spies(&worker);
        // The worker works from its own copy: later changes of the model do not reach the run.
        model->setSelectedFiles(importOrdersPhotoDlg::TypeDesign, {});

        runToEnd(&worker);

        QCOMPARE(spies.finished.count(), 1);
        QCOMPARE(model->importOrderPath(), orderPath());
        QCOMPARE(model->importOrderBakPath(), backupPath());
        QVERIFY(QFileInfo::exists(orderPath() + QStringLiteral("设计/IMG_1.jpg")));
    }

    void shotTime_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shotTime");
        const QByteArray date("2017:05:04 12:34:56\0rest", 24);
        QTest::newRow("near the start") << QByteArray("Exif header ") + date << "17:05:04 12:34:56";
        QTest::newRow("after offset 2000") << QByteArray(2100, 'x') + date << "17:05:04 12:34:56";
        QTest::newRow("cut at a zero byte") << QByteArray("ab2017:05\0:04", 13) << "17:05";
        QTest::newRow("none") << QByteArray(3000, 'x') << "unchanged";
    }

    void shotTime()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, shotTime);
        const QString file = cameraFile(QStringLiteral("IMG_1.jpg"), content);
        ImportOrderThread worker(nullptr, importOrdersPhotoDlg::TypeOriginal, nullptr);
        QString found = QStringLiteral("unchanged");

        QVERIFY(worker.getPicShotTime(file, found));
        QCOMPARE(found, shotTime);
        QVERIFY(!worker.getPicShotTime(path(QStringLiteral("none.jpg")), found));
    }

    // --- delete mode ---

    void deleteRemovesWholeTree_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("customer names") << "";
        QTest::newRow("dots inside the customer name") << "A..B";
    }

    void deleteRemovesWholeTree()
    {
        QFETCH(QString, suffix);
        auto model = makeModel();
        if (!suffix.isEmpty())
            model->setFolderSuffix(0, suffix);
        auto importer = prepare(model.get(), importOrdersPhotoDlg::TypeOriginal,
                                {cameraPhoto(QStringLiteral("IMG_1.jpg"), 200, 150)});
        runToEnd(importer.get());
        const QString folder = model->importOrderPath();
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("thumbnail100/IMG_1.jpg")));
        OrderItemInfo item;
        item.order_photo_id = QStringLiteral("9001");
        item.orderpath = folder;
        QPointer<ImportOrderThread> worker = new ImportOrderThread(item, nullptr);
        QSignalSpy deleted(worker.data(), &ImportOrderThread::deleteSucceed);

        worker->start();

        QTRY_VERIFY(worker.isNull()); // freed once finished
        QCOMPARE(deleted.count(), 1);
        QCOMPARE(deleted.at(0), (QList<QVariant>{QStringLiteral("9001"), folder}));
        QVERIFY(!QFileInfo::exists(folder));
        QCOMPARE(entries(path(QStringLiteral("server"))), (QStringList{"2024-03/", "2024-03/07/"}));
    }

    void deleteRefuses_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("empty path") << "";
        QTest::newRow("relative path") << "server/2024-03";
        QTest::newRow("climbing with ..") << "{dir}/backup/../server/2024-03";
        QTest::newRow("climbing with ..\\") << "{dir}/backup\\..\\server/2024-03";
        QTest::newRow("shop root") << "{dir}/server/";
        QTest::newRow("ancestor of the shop root") << "{dir}";
        QTest::newRow("missing folder") << "{dir}/server/none";
        QTest::newRow("month folder of the shop root") << "{dir}/server/2024-03";
        QTest::newRow("day folder of the shop root") << "{dir}/server/2024-03/07/";
    }

    void deleteRefuses()
    {
        QFETCH(QString, folder);
        folder.replace(QLatin1String("{dir}"), m_dir->path());
        QDir().mkpath(path(QStringLiteral("server/2024-03/07")));
        QDir().mkpath(path(QStringLiteral("backup")));
        writeFile(path(QStringLiteral("server/2024-03/07/keep.jpg")), "k");
        QDir::setCurrent(m_dir->path());
        const QStringList before = entries(m_dir->path());
        OrderItemInfo item;
        item.order_photo_id = QStringLiteral("9001");
        item.orderpath = folder;
        QPointer<ImportOrderThread> worker = new ImportOrderThread(item, nullptr);
        QSignalSpy deleted(worker.data(), &ImportOrderThread::deleteSucceed);

        worker->start();

        QTRY_VERIFY(worker.isNull());
        QCOMPARE(deleted.count(), 0);
        QCOMPARE(entries(m_dir->path()), before);
    }
};

QTEST_MAIN(TstImportOrderThread)
#include "tst_importorderthread.moc"
