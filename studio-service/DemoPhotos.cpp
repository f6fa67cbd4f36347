#include "DemoPhotos.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTransform>

namespace DemoPhotos {

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// The TIFF block of Exif data: IFD0 with the orientation and, given a shot
// time, a pointer to an Exif IFD whose DateTimeOriginal holds it (20 bytes
// with the closing NUL), as cameras write them.
QByteArray tiffBlock(int orientation, QDataStream::ByteOrder byteOrder, const QString& shotTime = QString())
{
    const bool dated = !shotTime.isEmpty();
    QByteArray tiff;
    QDataStream out(&tiff, QIODevice::WriteOnly);
    out.setByteOrder(byteOrder);
    out.writeRawData(byteOrder == QDataStream::LittleEndian ? "II" : "MM", 2);
    out << quint16(42) << quint32(8); // magic, offset of IFD0
    out << quint16(dated ? 2 : 1);    // entries
    out << quint16(0x0112) << quint16(3) << quint32(1) << quint16(orientation) << quint16(0);
    const quint32 exifIfd = 8 + 2 + 2 * 12 + 4;
    if (dated)
        out << quint16(0x8769) << quint16(4) << quint32(1) << exifIfd;
    out << quint32(0); // no further IFD
    if (!dated)
        return tiff;
    out << quint16(1) << quint16(0x9003) << quint16(2) << quint32(20) << quint32(exifIfd + 2 + 12 + 4);
    out << quint32(0);
    const QByteArray text = shotTime.toLatin1().leftJustified(19, ' ', true) + '\0';
    out.writeRawData(text.constData(), text.size());
    return tiff;
}

// Exif APP1 segment: "Exif\0\0" and the TIFF block.
QByteArray exifSegment(int orientation, QDataStream::ByteOrder byteOrder, const QString& shotTime = QString())
{
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiffBlock(orientation, byteOrder, shotTime);
    QByteArray segment("\xFF\xE1", 2);
    const int length = payload.size() + 2;
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    return segment + payload;
}

QByteArray jpegBytes(const QImage& image, int quality)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return jpeg;
}

} // namespace

QByteArray jpegWithOrientation(const QImage& image, int orientation, QDataStream::ByteOrder byteOrder, int quality)
{
    const QByteArray jpeg = jpegBytes(image, quality);
    // The segment goes right after the start-of-image marker, where cameras put it.
    return jpeg.left(2) + exifSegment(orientation, byteOrder) + jpeg.mid(2);
}

QByteArray jpegWithShotTime(const QImage& image, int orientation, const QString& shotTime)
{
    const QByteArray jpeg = jpegBytes(image, 90);
    return jpeg.left(2) + exifSegment(orientation, QDataStream::LittleEndian, shotTime) + jpeg.mid(2);
}

QByteArray rawWithShotTime(const QString& shotTime)
{
    return tiffBlock(1, QDataStream::LittleEndian, shotTime) + QByteArray(4096, 'R');
}

QImage storedAs(const QImage& upright, int orientation)
{
    // The mirrors, the half turn, the transpose (5) and the transverse (7)
    // undo themselves; a quarter turn is undone by the opposite one.
    switch (orientation) {
    case 2: return upright.mirrored(true, false);
    case 3: return upright.transformed(QTransform().rotate(180));
    case 4: return upright.mirrored(false, true);
    case 5: return upright.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6: return upright.transformed(QTransform().rotate(-90));
    case 7: return upright.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8: return upright.transformed(QTransform().rotate(90));
    default: return upright;
    }
}

QImage samplePicture(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255 / width + seed * 40) % 256, y * 255 / height, (seed * 70) % 256);
    }
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 5, height / 5, Qt::white);
    painter.fillRect(0, 0, width / 10, height / 10, Qt::black);
    return image;
}

QImage cameraLikePicture(int seed)
{
    QImage picture = samplePicture(4000, 3000, seed).convertToFormat(QImage::Format_RGB32);
    QRandomGenerator noise{quint32(seed)};
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int grain = int(noise.bounded(25)) - 12;
            const QRgb pixel = line[x];
            line[x] = qRgb(qBound(0, qRed(pixel) + grain, 255), qBound(0, qGreen(pixel) + grain, 255),
                           qBound(0, qBlue(pixel) + grain, 255));
        }
    }
    return picture;
}

void createShootFolders(const QString& folder)
{
    if (QDir(folder).exists())
        return;
    const QStringList customers = {"张三 李四", "王五", "赵六"};
    // Each shoot's fourth photo is mirrored, as some phones store them.
    const int mirrored[] = {2, 5, 7};
    int seed = 0;
    for (int c = 0; c < customers.size(); ++c) {
        const QString shoot = folder + QLatin1Char('/') + customers.at(c);
        QDir().mkpath(shoot + QStringLiteral("/成品"));
        QDir().mkpath(shoot + QStringLiteral("/设计"));
        for (int i = 1; i <= 6; ++i) {
            const int orientation = i == 2 ? 6 : i == 3 ? 8 : i == 4 ? mirrored[c] : 1;
            const bool onItsSide = orientation >= 5;
            const QImage picture = samplePicture(onItsSide ? 1200 : 1600, onItsSide ? 1600 : 1200, ++seed);
            const QString name = QStringLiteral("IMG_%1").arg(seed, 4, 10, QLatin1Char('0'));
            writeFile(shoot + QLatin1Char('/') + name + QStringLiteral(".JPG"),
                      jpegWithOrientation(storedAs(picture, orientation), orientation,
                                          i % 2 ? QDataStream::LittleEndian : QDataStream::BigEndian));
            if (i <= 2)
                writeFile(shoot + QLatin1Char('/') + name + QStringLiteral(".CR2"), QByteArray(4096, 'R'));
            if (i <= 3)
                samplePicture(1600, 1200, seed + 100).save(shoot + QStringLiteral("/成品/") + name + QStringLiteral(".jpg"), "JPEG", 90);
            if (i == 1)
                samplePicture(1800, 1200, seed + 200).save(shoot + QStringLiteral("/设计/") + name + QStringLiteral(".jpg"), "JPEG", 90);
        }
        writeFile(shoot + QStringLiteral("/VID_0001.mp4"), QByteArray(64 * 1024, 'V'));
    }
}

void fillOrderFolder(const QString& orderPath)
{
    const QString folder = orderPath.endsWith(QLatin1Char('/')) ? orderPath : orderPath + QLatin1Char('/');
    for (const char* sub : {"成品", "汰片", "设计", "设计缩略图100", "marks", "照片/新建文件夹"})
        QDir().mkpath(folder + QString::fromUtf8(sub));
    int seed = 500;
    const auto picture = [&seed](const QString& path) { samplePicture(240, 160, ++seed).save(path, "JPEG", 85); };
    for (const char* name : {"A.jpg", "B.jpg", "C.JPG"})
        picture(folder + QStringLiteral("成品/") + QLatin1String(name));
    picture(folder + QStringLiteral("汰片/D.jpg"));
    picture(folder + QStringLiteral("设计/S1.jpg"));
    picture(folder + QStringLiteral("设计缩略图100/S1.jpg"));
    picture(folder + QStringLiteral("marks/A.jpg"));
    writeFile(folder + QStringLiteral("照片/新建文件夹/A.CR2"), QByteArray(2048, 'C'));
    writeFile(folder + QStringLiteral("照片/新建文件夹/A.NEF"), QByteArray(2048, 'N'));
}

void createLyraResult(const QString& storeLyraFolder, const QString& order, bool finished)
{
    const QString selected = storeLyraFolder + QStringLiteral("/选版服务器/[已选]") + order + QLatin1Char('/');
    const QString result = selected + QStringLiteral("选版结果/");
    for (const QString& sub : {QStringLiteral("精修"), QStringLiteral("未入册照片")})
        QDir().mkpath(result + sub);
    int seed = 700;
    const auto picture = [&seed](const QString& path, const char* format) {
        samplePicture(240, 160, ++seed).save(path, format, 85);
    };
    for (const char* name : {"A.JPG", "B.jpg", "精修/C.jpg", "未入册照片/D.jpg", ".缓存.jpg"})
        picture(result + QString::fromUtf8(name), "JPEG");
    picture(result + QStringLiteral("版面1.png"), "PNG");
    writeFile(result + QStringLiteral("说明.txt"), "选片说明");
    if (finished)
        writeFile(result + order + QStringLiteral(".ok"), QByteArray());
    const QString handOver = selected + order + QStringLiteral("_待Lyra设计同步用数据/");
    QDir().mkpath(handOver);
    writeFile(handOver + QStringLiteral("设计说明.txt"), "设计同步");
}

void addAfterSampleFiles(const QString& orderPath)
{
    const QString folder = orderPath.endsWith(QLatin1Char('/')) ? orderPath : orderPath + QLatin1Char('/');
    const QString finished = folder + QStringLiteral("成品/");
    QDir().mkpath(finished + QStringLiteral("旧版"));
    QDir().mkpath(folder + QStringLiteral("照片/新建文件夹"));
    samplePicture(240, 160, 601).save(finished + QStringLiteral("A 2.jpg"), "JPEG", 85);
    samplePicture(240, 160, 602).save(finished + QStringLiteral("花园.jpg"), "JPEG", 85);
    samplePicture(240, 160, 603).save(finished + QStringLiteral("旧版/A.jpg"), "JPEG", 85);
    writeFile(finished + QStringLiteral(".缓存.jpg"), QByteArray(512, 'H'));
    writeFile(folder + QStringLiteral("照片/新建文件夹/A 2.CR2"), QByteArray(2048, 'C'));
    writeFile(folder + QStringLiteral("照片/新建文件夹/花园.NEF"), QByteArray(2048, 'N'));
}

void createSingleOrderShoot(const QString& folder)
{
    if (QDir(folder).exists())
        return;
    const QString raws = folder + QStringLiteral("/毛底/100CANON/");
    QDir().mkpath(raws);
    for (int i = 1; i <= 6; ++i) {
        const QString name = QStringLiteral("IMG_%1").arg(100 + i, 4, 10, QLatin1Char('0'));
        const QString shotTime = QStringLiteral("2024:06:01 10:15:%1").arg(i * 7, 2, 10, QLatin1Char('0'));
        const int orientation = i == 2 ? 6 : 1;
        const QImage picture = samplePicture(orientation == 1 ? 1600 : 1200, orientation == 1 ? 1200 : 1600, 40 + i);
        writeFile(folder + QLatin1Char('/') + name + QStringLiteral(".JPG"),
                  jpegWithShotTime(storedAs(picture, orientation), orientation, shotTime));
        writeFile(raws + name + QStringLiteral(".CR2"), rawWithShotTime(shotTime));
    }
}

} // namespace DemoPhotos
