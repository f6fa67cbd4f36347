#include "DemoPhotos.h"
#include "files/ImageOperation.h"
#include "files/PictureMemory.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString orientationFixture(const QString& name)
{
    return fixturePath(QStringLiteral("orientation/") + name);
}

QByteArray jpegBytes(const QImage& image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

QImage rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The picture turned upright, pixel by pixel, independently of QTransform.
QImage expectedUpright(const QImage& source, int orientation)
{
    const int w = source.width();
    const int h = source.height();
    const bool swaps = orientation >= 5 && orientation <= 8;
    QImage result(swaps ? h : w, swaps ? w : h, QImage::Format_RGB32);
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            QPoint from(x, y);
            switch (orientation) {
            case 2: from = QPoint(w - 1 - x, y); break;
            case 3: from = QPoint(w - 1 - x, h - 1 - y); break;
            case 4: from = QPoint(x, h - 1 - y); break;
            case 5: from = QPoint(y, x); break;
            case 6: from = QPoint(y, h - 1 - x); break;
            case 7: from = QPoint(w - 1 - y, h - 1 - x); break;
            case 8: from = QPoint(w - 1 - y, x); break;
            }
            result.setPixel(x, y, source.pixel(from));
        }
    }
    return result;
}

// An upright picture whose top-left corner alone is red, in blocks wide
// enough to stay red through JPEG.
QImage cornerMarked(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(128, 128, 128));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            image.setPixel(x, y, qRgb(230, 20, 20));
    return image;
}

// The corners of the picture that are red.
QStringList redCorners(const QImage& image)
{
    const int right = image.width() - 6;
    const int bottom = image.height() - 6;
    const QList<QPair<QString, QPoint>> corners = {{"top left", {5, 5}}, {"top right", {right, 5}},
                                                   {"bottom left", {5, bottom}}, {"bottom right", {right, bottom}}};
    QStringList red;
    for (const auto& corner : corners) {
        const QRgb pixel = image.pixel(corner.second);
        if (qRed(pixel) > 180 && qGreen(pixel) < 80 && qBlue(pixel) < 80)
            red << corner.first;
    }
    return red;
}

// A picture with every pixel different, odd sides past the tile size, and
// metadata Qt's turns keep or drop.
QImage patterned(QImage::Format format, QSize size)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgba(x * 7 + y, y * 13 + x, (x ^ y) * 3, 255 - (x + y) % 200));
    return withMetadata(image.convertToFormat(format));
}

QByteArray jpegWithMetadata(const QImage& image, int dotsPerMeter, const QString& comment)
{
    QImage copy = image;
    copy.setDotsPerMeterX(dotsPerMeter);
    copy.setDotsPerMeterY(dotsPerMeter);
    if (!comment.isEmpty())
        copy.setText(QStringLiteral("Description"), comment);
    return jpegBytes(copy, 90);
}

} // namespace

class TstImageOperationRotation : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& relative) const { return m_dir->path() + QLatin1Char('/') + relative; }

    // A shell script standing in for jpegtran; it records its arguments.
    QString standIn(const QByteArray& body, bool executable = true)
    {
        const QString program = path(QStringLiteral("jpegtran"));
        writeFile(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(path("args")) + "'\n" + body);
        if (executable)
            QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        return program;
    }

    QStringList recordedArguments() const
    {
        QFile file(path(QStringLiteral("args")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        ImageOperation::overrideJpegtran(std::nullopt);
        m_dir.reset();
    }

    void getDirection_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("orientation");
        for (int value : {1, 3, 6, 8}) {
            QTest::addRow("little-endian %d", value) << QStringLiteral("le_%1.jpg").arg(value) << value;
            QTest::addRow("big-endian %d", value) << QStringLiteral("be_%1.jpg").arg(value) << value;
        }
        QTest::newRow("no Exif") << "no_exif.jpg" << 1;
        QTest::newRow("Exif without the tag") << "no_orientation.jpg" << 1;
        QTest::newRow("cut inside the tag") << "truncated.jpg" << 1;
        QTest::newRow("tag pattern outside Exif") << "stray_pattern.jpg" << 1;
    }

    void getDirection()
    {
        QFETCH(QString, file);
        QFETCH(int, orientation);
        QCOMPARE(ImageOperation::getDirection(orientationFixture(file)), orientation);
        QCOMPARE(ImageOperation::getDirection(readFile(orientationFixture(file))), orientation);
    }

    void getDirectionOfMissingFile()
    {
        QCOMPARE(ImageOperation::getDirection(path(QStringLiteral("none.jpg"))), 1);
    }

    void getDirectionFromBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("orientation");
        // le_6.jpg: SOI, APP1 (76 bytes, TIFF from offset 12, Orientation value
        // at 42), then the encoder's APP0 (18 bytes) and the rest.
        const QByteArray le6 = readFile(orientationFixture(QStringLiteral("le_6.jpg")));
        QByteArray exifAfterJfif = le6.left(2) + le6.mid(76, 18) + le6.mid(2, 74) + le6.mid(94);
        QByteArray value9 = le6;
        value9[42] = 9;
        QByteArray ifdOutside = le6;
        ifdOutside[16] = char(0xF0);
        QByteArray noSoi = le6.mid(2);
        QTest::newRow("Exif after JFIF") << exifAfterJfif << 6;
        QTest::newRow("value out of range") << value9 << 1;
        QTest::newRow("IFD0 outside the segment") << ifdOutside << 1;
        QTest::newRow("not a JPEG") << noSoi << 1;
        QTest::newRow("empty") << QByteArray() << 1;
    }

    void getDirectionFromBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, orientation);
        QCOMPARE(ImageOperation::getDirection(bytes), orientation);
    }

    void rotateImage_data()
    {
        QTest::addColumn<int>("orientation");
        for (int value : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9})
            QTest::addRow("%d", value) << value;
    }

    void rotateImage()
    {
        QFETCH(int, orientation);
        QImage source(3, 2, QImage::Format_RGB32);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                source.setPixel(x, y, qRgb(x * 80, y * 120, 7));
        const QImage turned = ImageOperation::rotateImage(source, orientation);
        QCOMPARE(rgb(turned), expectedUpright(source, orientation));
        const QPixmap pixmap = ImageOperation::rotateImage(QPixmap::fromImage(source), orientation);
        QCOMPARE(rgb(pixmap.toImage()), expectedUpright(source, orientation));
        if (orientation == 6) // landscape becomes portrait, left edge on top
            QCOMPARE(turned.pixel(0, 0), source.pixel(0, 1));
    }

    // A photo stored under each orientation stands upright in every way the
    // import turns it: the red corner ends at the top left. Sides that are
    // no multiple of jpegtran's blocks make it refuse most transforms, so
    // those photos are re-encoded; values that name no orientation leave
    // the photo as it is.
    void everyOrientationStandsUpright_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("upright");
        for (int orientation = 0; orientation <= 9; ++orientation) {
            QTest::addRow("%d, whole blocks", orientation) << orientation << QSize(64, 48);
            QTest::addRow("%d, partial blocks", orientation) << orientation << QSize(66, 50);
        }
    }

    void everyOrientationStandsUpright()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, upright);
        const bool turns = orientation >= 2 && orientation <= 8;
        QCOMPARE(ImageOperation::needsTurn(orientation), turns);
        const QString source = path(QStringLiteral("camera.jpg"));
        writeFile(source, DemoPhotos::jpegWithOrientation(DemoPhotos::storedAs(cornerMarked(upright), orientation),
                                                          orientation));
        QCOMPARE(ImageOperation::getDirection(source), turns ? orientation : 1);
        const QImage decoded = ImageOperation::loadImage(source);
        const QStringList topLeft{QStringLiteral("top left")};

        const QImage byQt = ImageOperation::rotateImage(decoded, orientation);
        QCOMPARE(byQt.size(), upright);
        QCOMPARE(redCorners(byQt), topLeft);
        PictureMemory memory;
        const QImage inMemory = ImageOperation::rotateImage(decoded, orientation, &memory);
        QCOMPARE(inMemory.size(), upright);
        QCOMPARE(redCorners(inMemory), topLeft);

        const QString reencoded = path(QStringLiteral("re-encoded.jpg"));
        ImageOperation::overrideJpegtran(QString());
        QCOMPARE(ImageOperation::saveRotatedOriginal(source, {reencoded}, orientation, nullptr), turns);
        ImageOperation::overrideJpegtran(std::nullopt);
        if (!turns) {
            QVERIFY(!ImageOperation::losslessRotateJpeg(source, path(QStringLiteral("lossless.jpg")), orientation));
            QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("camera.jpg")});
            return;
        }
        QCOMPARE(ImageOperation::loadImage(reencoded).size(), upright);
        QCOMPARE(redCorners(ImageOperation::loadImage(reencoded)), topLeft);
        if (ImageOperation::findJpegtran().isEmpty())
            QSKIP("jpegtran is not installed");
        const QString lossless = path(QStringLiteral("lossless.jpg"));
        const bool wholeBlocks = upright.width() % 16 == 0 && upright.height() % 16 == 0;
        if (ImageOperation::losslessRotateJpeg(source, lossless, orientation)) {
            QCOMPARE(ImageOperation::getDirection(lossless), 1);
            QCOMPARE(ImageOperation::loadImage(lossless).size(), upright);
            QCOMPARE(redCorners(ImageOperation::loadImage(lossless)), topLeft);
        } else {
            QVERIFY2(!wholeBlocks, "jpegtran refused a picture of whole blocks");
        }
        // Lossless where jpegtran can, re-encoded where it refuses.
        const QString saved = path(QStringLiteral("saved.jpg"));
        QVERIFY(ImageOperation::saveRotatedOriginal(source, {saved}, orientation, nullptr));
        QCOMPARE(ImageOperation::loadImage(saved).size(), upright);
        QCOMPARE(redCorners(ImageOperation::loadImage(saved)), topLeft);
    }

    // The turn drawn in kept memory is Qt's own turn, pixel for pixel and in
    // what it keeps of the metadata, so the files written from it do not
    // change; the memory serves the next picture of that size again.
    void rotateIntoMemoryMatchesQt_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("orientation");
        const QList<QPair<const char*, QImage::Format>> formats = {
            {"RGB32", QImage::Format_RGB32}, {"ARGB32", QImage::Format_ARGB32_Premultiplied},
            {"Grayscale8", QImage::Format_Grayscale8}, {"Indexed8", QImage::Format_Indexed8},
            {"RGB888", QImage::Format_RGB888}, {"RGB16", QImage::Format_RGB16},
            {"RGBA64", QImage::Format_RGBA64}, {"Mono", QImage::Format_Mono}};
        for (const auto& format : formats) {
            for (int orientation = 0; orientation <= 9; ++orientation)
                QTest::addRow("%s, %d", format.first, orientation) << int(format.second) << orientation;
        }
    }

    void rotateIntoMemoryMatchesQt()
    {
        QFETCH(int, format);
        QFETCH(int, orientation);
        const QImage source = patterned(QImage::Format(format), QSize(131, 70));
        PictureMemory memory;
        // An opaque 32-bit picture is turned into 24-bit colour.
        const auto byQt = [&](const QImage& picture) {
            const QImage turned = ImageOperation::rotateImage(picture, orientation);
            return turned.format() == QImage::Format_RGB32 && turned.constBits() != picture.constBits()
                       ? turned.convertToFormat(QImage::Format_RGB888)
                       : turned;
        };
        const QImage turned = ImageOperation::rotateImage(source, orientation, &memory);
        comparePictures(turned, byQt(source));

        const QImage other = patterned(QImage::Format(format), QSize(131, 70)).mirrored();
        const QImage again = ImageOperation::rotateImage(other, orientation, &memory);
        comparePictures(again, byQt(other));
        const bool drawnInMemory =
            ImageOperation::needsTurn(orientation) && QImage::Format(format) != QImage::Format_Mono;
        QCOMPARE(memory.bytes() > 0, drawnInMemory);
        if (drawnInMemory)
            QVERIFY(again.constBits() == turned.constBits());
    }

    // Decoding into kept memory gives what a new picture gives: nothing of
    // the photo before it, neither its density, its comment nor its pixels
    // (a cut file ends in grey, not in the earlier photo).
    void decodeIntoMemoryMatchesNewPicture()
    {
        const QImage red = DemoPhotos::samplePicture(320, 240, 1);
        const QImage blue = DemoPhotos::samplePicture(320, 240, 2);
        const QByteArray first = jpegWithMetadata(red, 11811, QStringLiteral("first photo"));
        const QByteArray full = jpegWithMetadata(blue, 2835, QString());
        const QByteArray cut = full.left(full.size() / 2);
        const QByteArray png = [&] {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            blue.save(&buffer, "PNG");
            return bytes;
        }();

        PictureMemory memory;
        QImage picture;
        QVERIFY(ImageOperation::decodeInto(first, &memory, &picture));
        const uchar* const kept = picture.constBits();
        QCOMPARE(picture.text(QStringLiteral("Description")), QStringLiteral("first photo"));
        for (const QByteArray& next : {full, cut}) {
            QImage fresh;
            QVERIFY(ImageOperation::decodeInto(next, &fresh));
            QVERIFY(ImageOperation::decodeInto(next, &memory, &picture));
            QVERIFY(picture.constBits() == kept);
            comparePictures(picture, fresh);
        }
        // Other formats get a new picture.
        QVERIFY(ImageOperation::decodeInto(png, &memory, &picture));
        QVERIFY(picture.constBits() != kept);
        comparePictures(picture, ImageOperation::loadImage(png));
        QVERIFY(!ImageOperation::decodeInto(QByteArray("not a picture"), &memory, &picture));
        QVERIFY(picture.isNull());
    }

    void nullPictureStaysNull()
    {
        QVERIFY(ImageOperation::rotateImage(QImage(), 6).isNull());
    }

    void loadImageKeepsStoredOrientation()
    {
        const QImage fromPath = ImageOperation::loadImage(orientationFixture(QStringLiteral("le_6.jpg")));
        QCOMPARE(fromPath.size(), QSize(32, 16));
        QCOMPARE(ImageOperation::loadImage(readFile(orientationFixture(QStringLiteral("le_6.jpg")))), fromPath);
        writeFile(path(QStringLiteral("named.png")), readFile(orientationFixture(QStringLiteral("le_1.jpg"))));
        QCOMPARE(ImageOperation::loadImage(path(QStringLiteral("named.png"))).size(), QSize(32, 16));
        writeFile(path(QStringLiteral("broken.jpg")), "not a picture");
        QVERIFY(ImageOperation::loadImage(path(QStringLiteral("broken.jpg"))).isNull());
        QVERIFY(ImageOperation::loadImage(path(QStringLiteral("none.jpg"))).isNull());
    }

    void losslessRotationWithJpegtran_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::newRow("3") << 3;
        QTest::newRow("6") << 6;
        QTest::newRow("8") << 8;
    }

    void losslessRotationWithJpegtran()
    {
        QFETCH(int, orientation);
        if (ImageOperation::findJpegtran().isEmpty())
            QSKIP("jpegtran is not installed");
        const QString source = orientationFixture(QStringLiteral("le_%1.jpg").arg(orientation));
        const QString target = path(QStringLiteral("A 1.jpg"));
        writeFile(target, "old");

        QVERIFY(ImageOperation::losslessRotateJpeg(source, target, orientation));
        const QImage upright = ImageOperation::loadImage(target);
        QCOMPARE(rgb(upright), expectedUpright(rgb(ImageOperation::loadImage(source)), orientation));
        QCOMPARE(ImageOperation::getDirection(target), 1);
        QVERIFY(!QFileInfo::exists(target + QStringLiteral(".rotz.jpg")));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("A 1.jpg")});
    }

    void losslessRotationWithStandIn_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("transform"); // empty: the program must not run
        // The last two arguments: jpegtran's output file, then the source.
        const QByteArray copies = "for arg; do out=$in; in=$arg; done\ncp \"$in\" \"$out\"\n";
        QTest::newRow("2") << copies << true << 2 << true << QStringList{"-flip", "horizontal"};
        QTest::newRow("3") << copies << true << 3 << true << QStringList{"-rotate", "180"};
        QTest::newRow("4") << copies << true << 4 << true << QStringList{"-flip", "vertical"};
        QTest::newRow("5") << copies << true << 5 << true << QStringList{"-transpose"};
        QTest::newRow("6") << copies << true << 6 << true << QStringList{"-rotate", "90"};
        QTest::newRow("7") << copies << true << 7 << true << QStringList{"-transverse"};
        QTest::newRow("8") << copies << true << 8 << true << QStringList{"-rotate", "270"};
        QTest::newRow("exit code 1") << QByteArray(copies + "echo broken >&2\nexit 1\n") << true << 6 << false
                                     << QStringList{"-rotate", "90"};
        QTest::newRow("cannot start") << copies << false << 6 << false << QStringList();
        for (int value : {0, 1, 9})
            QTest::addRow("no turn for %d", value) << copies << true << value << false << QStringList();
    }

    void losslessRotationWithStandIn()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, executable);
        QFETCH(int, orientation);
        QFETCH(bool, result);
        QFETCH(QStringList, transform);
        ImageOperation::overrideJpegtran(standIn(script, executable));
        const QString source = path(QStringLiteral("src.jpg"));
        writeFile(source, "source bytes");
        const QString target = path(QStringLiteral("dst.jpg"));
        writeFile(target, "old");

        QCOMPARE(ImageOperation::losslessRotateJpeg(source, target, orientation), result);
        QCOMPARE(readFile(target), result ? QByteArray("source bytes") : QByteArray("old"));
        QVERIFY(!QFileInfo::exists(target + QStringLiteral(".rotz.jpg")));
        const QStringList expected = transform.isEmpty()
            ? QStringList()
            : transform + QStringList{"-perfect", "-copy", "none", "-outfile", target + ".rotz.jpg", source};
        QCOMPARE(recordedArguments(), expected);
    }

    void saveRotatedOriginalWithJpegtran()
    {
        if (ImageOperation::findJpegtran().isEmpty())
            QSKIP("jpegtran is not installed");
        const QString source = orientationFixture(QStringLiteral("be_6.jpg"));
        const QStringList targets = {path(QStringLiteral("a.jpg")), path(QStringLiteral("b.jpg"))};
        QImage out;
        QStringList failed;
        QVERIFY(ImageOperation::saveRotatedOriginal(source, targets, 6, &out, &failed));
        QCOMPARE(rgb(out), expectedUpright(rgb(ImageOperation::loadImage(source)), 6));
        QCOMPARE(out, ImageOperation::loadImage(targets.at(0)));
        QCOMPARE(readFile(targets.at(1)), readFile(targets.at(0)));
        QCOMPARE(failed, QStringList());
    }

    // A camera-sized 4:2:0 photo, 3000 high: no multiple of 16. Turned a
    // quarter, its bottom band must become the whole left edge.
    void quarterTurnKeepsThePartialEdge()
    {
        QImage stored(4000, 3000, QImage::Format_RGB32);
        stored.fill(Qt::white);
        const int band = 40;
        for (int y = stored.height() - band; y < stored.height(); ++y) {
            for (int x = 0; x < stored.width(); ++x)
                stored.setPixel(x, y, qRgb(220, 0, 0));
        }
        const QString source = path(QStringLiteral("camera.jpg"));
        writeFile(source, DemoPhotos::jpegWithOrientation(stored, 6));
        const QString target = path(QStringLiteral("upright.jpg"));

        QVERIFY(ImageOperation::saveRotatedOriginal(source, {target}, 6, nullptr));

        const QImage upright = ImageOperation::loadImage(target);
        QCOMPARE(upright.size(), QSize(3000, 4000));
        for (int y = 0; y < upright.height(); y += 97) {
            for (int x = 0; x < band - 2; ++x) {
                const QRgb pixel = upright.pixel(x, y);
                QVERIFY2(qRed(pixel) > 180 && qGreen(pixel) < 60 && qBlue(pixel) < 60,
                         qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
            }
            QVERIFY(qGreen(upright.pixel(band + 8, y)) > 200);
        }
    }

    void saveRotatedOriginalReencodes_data()
    {
        QTest::addColumn<bool>("jpegtranFails");
        QTest::newRow("no jpegtran") << false;
        QTest::newRow("jpegtran fails") << true;
    }

    void saveRotatedOriginalReencodes()
    {
        QFETCH(bool, jpegtranFails);
        ImageOperation::overrideJpegtran(jpegtranFails ? standIn("exit 1\n") : QString());
        const QString source = orientationFixture(QStringLiteral("le_8.jpg"));
        const QStringList targets = {path(QStringLiteral("a.jpg")), path(QStringLiteral("b.jpg")),
                                     path(QStringLiteral("none/c.jpg"))};
        QImage out;
        QStringList failed;
        QVERIFY(ImageOperation::saveRotatedOriginal(source, targets, 8, &out, &failed));

        const QImage upright = ImageOperation::rotateImage(ImageOperation::loadImage(source), 8);
        QCOMPARE(out, upright);
        QCOMPARE(out.size(), QSize(16, 32));
        QCOMPARE(readFile(targets.at(0)), jpegBytes(upright, 100));
        QCOMPARE(readFile(targets.at(1)), readFile(targets.at(0)));
        QCOMPARE(failed, QStringList{targets.at(2)});
    }

    void saveRotatedOriginalWritesNothing_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("noTargets");
        QTest::newRow("upright") << "le_1.jpg" << 1 << false;
        QTest::newRow("no targets") << "le_6.jpg" << 6 << true;
        QTest::newRow("undecodable source") << "truncated.jpg" << 6 << false;
    }

    void saveRotatedOriginalWritesNothing()
    {
        QFETCH(QString, source);
        QFETCH(int, orientation);
        QFETCH(bool, noTargets);
        ImageOperation::overrideJpegtran(QString());
        const QStringList targets = noTargets ? QStringList() : QStringList{path(QStringLiteral("a.jpg"))};
        QImage out;
        QVERIFY(!ImageOperation::saveRotatedOriginal(orientationFixture(source), targets, orientation, &out));
        QVERIFY(out.isNull());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }
};

QTEST_MAIN(TstImageOperationRotation)
#include "tst_imageoperation_rotation.moc"
