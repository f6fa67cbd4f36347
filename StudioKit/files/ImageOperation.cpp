#include "files/ImageOperation.h"

#include "files/CodeImageInfo.h"
#include "files/FileOperation.h"
#include "files/ImageData.h"
#include "files/PictureMemory.h"
#include "files/SafeFileWriter.h"
#include "Platform.h"
#include "ProgramRunner.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QMutex>
#include <QPainter>
#include <QStandardPaths>
#include <QTransform>
#include <QtEndian>

#include <algorithm>

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#endif


namespace {

const int kJpegtranStartMs = 5000;
const int kJpegtranRunMs = 180000;
const quint16 kOrientationTag = 0x0112;
const quint16 kTypeShort = 3;

// --- EXIF reading ---

class TiffReader
{
public:
    explicit TiffReader(const QByteArray& data) : m_data(data) {}

    bool readByteOrder()
    {
        if (m_data.startsWith("II"))
            m_littleEndian = true;
        else if (m_data.startsWith("MM"))
            m_littleEndian = false;
        else
            return false;
        quint32 magic = 0;
        return u16(2, &magic) && magic == 42;
    }

    bool u16(qint64 offset, quint32* value) const
    {
        if (offset < 0 || offset + 2 > m_data.size())
            return false;
        const uchar* p = reinterpret_cast<const uchar*>(m_data.constData()) + offset;
        *value = m_littleEndian ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
        return true;
    }

    bool u32(qint64 offset, quint32* value) const
    {
        if (offset < 0 || offset + 4 > m_data.size())
            return false;
        const uchar* p = reinterpret_cast<const uchar*>(m_data.constData()) + offset;
        *value = m_littleEndian ? qFromLittleEndian<quint32>(p) : qFromBigEndian<quint32>(p);
        return true;
    }

private:
    const QByteArray& m_data;
    bool m_littleEndian = false;
};

// Orientation from the TIFF block of an Exif segment, 0 when it holds none.
int orientationFromTiff(const QByteArray& tiff)
{
    TiffReader reader(tiff);
    quint32 ifd0 = 0;
    quint32 count = 0;
    if (!reader.readByteOrder() || !reader.u32(4, &ifd0) || !reader.u16(ifd0, &count))
        return 0;
    for (quint32 i = 0; i < count; ++i) {
        const qint64 entry = qint64(ifd0) + 2 + 12 * qint64(i);
        quint32 tag = 0;
        quint32 type = 0;
        quint32 values = 0;
        quint32 value = 0;
        if (!reader.u16(entry, &tag) || !reader.u16(entry + 2, &type)
            || !reader.u32(entry + 4, &values) || !reader.u16(entry + 8, &value))
            return 0;
        if (tag == kOrientationTag)
            return type == kTypeShort && values >= 1 && value >= 1 && value <= 8 ? int(value) : 0;
    }
    return 0;
}

bool readByte(QIODevice& device, uchar* byte)
{
    char c = 0;
    if (!device.getChar(&c))
        return false;
    *byte = uchar(c);
    return true;
}

// Walks the JPEG markers up to the image data and reads the first Exif APP1
// segment; 0 when there is no usable orientation.
int orientationFromJpeg(QIODevice& device)
{
    if (device.read(2) != QByteArray("\xFF\xD8", 2))
        return 0;
    for (;;) {
        uchar byte = 0;
        if (!readByte(device, &byte) || byte != 0xFF)
            return 0;
        uchar marker = 0xFF;
        while (marker == 0xFF) {
            if (!readByte(device, &marker))
                return 0;
        }
        if (marker == 0xDA || marker == 0xD9) // image data or end: no Exif
            return 0;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) // no length
            continue;
        const QByteArray lengthBytes = device.read(2);
        if (lengthBytes.size() != 2)
            return 0;
        const int length = qFromBigEndian<quint16>(reinterpret_cast<const uchar*>(lengthBytes.constData())) - 2;
        if (length < 0)
            return 0;
        if (marker == 0xE1) {
            const QByteArray content = device.read(length);
            if (content.size() != length)
                return 0;
            const QByteArray exifHeader("Exif\0\0", 6);
            if (content.startsWith(exifHeader))
                return orientationFromTiff(content.mid(exifHeader.size()));
        } else if (device.skip(length) != length) {
            return 0;
        }
    }
}

// --- rotation ---

// Orientations 5 to 8 store the picture on its side.
bool swapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}

// What brings a picture of a stored orientation upright: a clockwise turn,
// then a mirror.
struct UprightTurn {
    int degrees = 0;
    bool mirrorsHorizontally = false;
    bool mirrorsVertically = false;
};

UprightTurn uprightTurn(int orientation)
{
    switch (orientation) {
    case 2: return {0, true, false};
    case 3: return {180, false, false};
    case 4: return {0, false, true};
    case 5: return {90, true, false};
    case 6: return {90, false, false};
    case 7: return {90, false, true};
    case 8: return {-90, false, false};
    default: return {};
    }
}

QImage turnedByQt(const QImage& image, int orientation)
{
    // Qt writes the turned copy into a buffer it does not check: make sure
    // one of that size can be had first.
    const QSize upright = swapsSides(orientation) ? image.size().transposed() : image.size();
    if (QImage(upright, image.format()).isNull())
        return {};
    const UprightTurn turn = uprightTurn(orientation);
    QImage turned = turn.degrees ? image.transformed(QTransform().rotate(turn.degrees), Qt::FastTransformation) : image;
    if (turn.mirrorsHorizontally || turn.mirrorsVertically) {
        turned = turned.mirrored(turn.mirrorsHorizontally, turn.mirrorsVertically);
        // Qt's mirror keeps the colour space where its turns drop it: every
        // upright picture carries the same metadata.
        turned.setColorSpace(QColorSpace());
    }
    return turned;
}

// Where the pixel (x, y) of a w x h picture of this orientation lies once
// the picture stands upright.
QPoint uprightPosition(int orientation, int x, int y, int w, int h)
{
    switch (orientation) {
    case 2: return {w - 1 - x, y};
    case 3: return {w - 1 - x, h - 1 - y};
    case 4: return {x, h - 1 - y};
    case 5: return {y, x};
    case 6: return {h - 1 - y, x};
    case 7: return {h - 1 - y, w - 1 - x};
    default: return {y, w - 1 - x};
    }
}

struct Pixel24 {
    uchar bytes[3];
};

// The pixels of `from` turned into `to` (already of the upright size): the
// same moves as Qt's own turns and mirrors. A picture on its side is turned
// in tiles, so that the lines it reads and writes stay in the cache.
template <typename Pixel>
void turnPixels(const QImage& from, QImage* to, int orientation)
{
    const int w = from.width();
    const int h = from.height();
    const uchar* source = from.constBits();
    const qsizetype sourceLine = from.bytesPerLine();
    uchar* target = to->bits();
    const qsizetype targetLine = to->bytesPerLine();
    const auto in = [&](int y) { return reinterpret_cast<const Pixel*>(source + y * sourceLine); };
    const auto out = [&](int y) { return reinterpret_cast<Pixel*>(target + y * targetLine); };
    if (!swapsSides(orientation)) {
        // 3 is both mirrors.
        const bool mirrorsLeftRight = orientation != 4;
        const bool mirrorsTopBottom = orientation != 2;
        for (int y = 0; y < h; ++y) {
            const Pixel* line = in(y);
            Pixel* turned = out(mirrorsTopBottom ? h - 1 - y : y);
            if (mirrorsLeftRight)
                std::reverse_copy(line, line + w, turned);
            else
                std::copy(line, line + w, turned);
        }
        return;
    }
    // Column x becomes line x (5, 6) or line w - 1 - x (7, 8), read from
    // the bottom (6, 7) or from the top (5, 8).
    const bool sameLine = orientation == 5 || orientation == 6;
    const bool readUp = orientation == 6 || orientation == 7;
    constexpr int kTile = 64;
    for (int y0 = 0; y0 < h; y0 += kTile) {
        const int y1 = qMin(y0 + kTile, h);
        for (int x0 = 0; x0 < w; x0 += kTile) {
            const int x1 = qMin(x0 + kTile, w);
            for (int x = x0; x < x1; ++x) {
                Pixel* turned = out(sameLine ? x : w - 1 - x);
                if (readUp) {
                    for (int y = y0; y < y1; ++y)
                        turned[h - 1 - y] = in(y)[x];
                } else {
                    for (int y = y0; y < y1; ++y)
                        turned[y] = in(y)[x];
                }
            }
        }
    }
}

// The pixels of the source rectangle [x0, x1) x [y0, y1) of the 32-bit
// `from` turned by `orientation` into the 24-bit `to`.
void turnRegionToRgb24(const QImage& from, QImage* to, int orientation, int x0, int x1, int y0, int y1)
{
    const int w = from.width();
    const int h = from.height();
    uchar* target = to->bits();
    const qsizetype targetLine = to->bytesPerLine();
    for (int y = y0; y < y1; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(from.constScanLine(y));
        for (int x = x0; x < x1; ++x) {
            const QPoint at = uprightPosition(orientation, x, y, w, h);
            uchar* rgb = target + at.y() * targetLine + 3 * qsizetype(at.x());
            rgb[0] = uchar(qRed(line[x]));
            rgb[1] = uchar(qGreen(line[x]));
            rgb[2] = uchar(qBlue(line[x]));
        }
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
// Eight pixels of blue, green, red and an unused byte as 24 bytes of red,
// green, blue: each half's four pixels as twelve bytes, then the halves
// side by side.
__attribute__((target("avx2"))) inline void storeRgb24(__m256i pixels, uchar* at)
{
    const __m256i rgb = _mm256_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1, 2, 1, 0, 6, 5, 4, 10,
                                         9, 8, 14, 13, 12, -1, -1, -1, -1);
    const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(pixels, rgb),
                                                      _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm256_castsi256_si128(bytes));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(at + 16), _mm256_extracti128_si256(bytes, 1));
}

// turnRegionToRgb24 eight by eight pixels: eight lines of eight pixels
// turned in registers, each column stored as 24 bytes of a target line.
__attribute__((target("avx2"))) void turnToRgb24Avx2(const QImage& from, QImage* to, int orientation)
{
    const int w = from.width();
    const int h = from.height();
    const int w8 = w / 8 * 8;
    const int h8 = h / 8 * 8;
    const uchar* source = from.constBits();
    const qsizetype sourceLine = from.bytesPerLine();
    uchar* target = to->bits();
    const qsizetype targetLine = to->bytesPerLine();
    const __m256i reversed = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    const auto at = [&](int x, int y) {
        return reinterpret_cast<const __m256i*>(source + y * sourceLine + 4 * qsizetype(x));
    };
    if (!swapsSides(orientation)) {
        const bool mirrorsLeftRight = orientation != 4;
        const bool mirrorsTopBottom = orientation != 2;
        for (int y = 0; y < h; ++y) {
            uchar* line = target + (mirrorsTopBottom ? h - 1 - y : y) * targetLine;
            for (int x = 0; x < w8; x += 8) {
                const __m256i pixels = _mm256_loadu_si256(at(x, y));
                if (mirrorsLeftRight)
                    storeRgb24(_mm256_permutevar8x32_epi32(pixels, reversed), line + 3 * qsizetype(w - 8 - x));
                else
                    storeRgb24(pixels, line + 3 * qsizetype(x));
            }
        }
        turnRegionToRgb24(from, to, orientation, w8, w, 0, h);
        return;
    }
    const bool sameLine = orientation == 5 || orientation == 6;
    const bool readUp = orientation == 6 || orientation == 7;
    for (int x0 = 0; x0 < w8; x0 += 8) {
        for (int y0 = 0; y0 < h8; y0 += 8) {
            __m256i pairs[8];
            for (int i = 0; i < 8; i += 2) {
                const __m256i upper = _mm256_loadu_si256(at(x0, y0 + i));
                const __m256i lower = _mm256_loadu_si256(at(x0, y0 + i + 1));
                pairs[i] = _mm256_unpacklo_epi32(upper, lower);
                pairs[i + 1] = _mm256_unpackhi_epi32(upper, lower);
            }
            __m256i quads[8];
            for (int i = 0; i < 8; i += 4) {
                quads[i] = _mm256_unpacklo_epi64(pairs[i], pairs[i + 2]);
                quads[i + 1] = _mm256_unpackhi_epi64(pairs[i], pairs[i + 2]);
                quads[i + 2] = _mm256_unpacklo_epi64(pairs[i + 1], pairs[i + 3]);
                quads[i + 3] = _mm256_unpackhi_epi64(pairs[i + 1], pairs[i + 3]);
            }
            // column[j]: the pixels of column x0 + j, lines y0 to y0 + 7.
            __m256i column[8];
            for (int j = 0; j < 4; ++j) {
                column[j] = _mm256_permute2x128_si256(quads[j], quads[j + 4], 0x20);
                column[j + 4] = _mm256_permute2x128_si256(quads[j], quads[j + 4], 0x31);
            }
            for (int j = 0; j < 8; ++j) {
                uchar* line = target + (sameLine ? x0 + j : w - 1 - x0 - j) * targetLine;
                if (readUp)
                    storeRgb24(_mm256_permutevar8x32_epi32(column[j], reversed), line + 3 * qsizetype(h - 8 - y0));
                else
                    storeRgb24(column[j], line + 3 * qsizetype(y0));
            }
        }
    }
    turnRegionToRgb24(from, to, orientation, w8, w, 0, h);
    turnRegionToRgb24(from, to, orientation, 0, w8, h8, h);
}
#endif

// An opaque 32-bit picture turned into 24-bit colour: the pixels Qt's turn
// gives, in lines a JPEG writer takes as they are.
void turnToRgb24(const QImage& from, QImage* to, int orientation)
{
#if defined(__GNUC__) && defined(__x86_64__)
    if (__builtin_cpu_supports("avx2")) {
        turnToRgb24Avx2(from, to, orientation);
        return;
    }
#endif
    turnRegionToRgb24(from, to, orientation, 0, from.width(), 0, from.height());
}

// --- jpegtran ---

struct JpegtranOverride {
    QMutex mutex;
    std::optional<QString> program;
};

JpegtranOverride& jpegtranOverride()
{
    static JpegtranOverride instance;
    return instance;
}

// jpegtran's transform that brings a picture of this orientation upright.
QStringList jpegtranTransform(int orientation)
{
    switch (orientation) {
    case 2: return {QStringLiteral("-flip"), QStringLiteral("horizontal")};
    case 3: return {QStringLiteral("-rotate"), QStringLiteral("180")};
    case 4: return {QStringLiteral("-flip"), QStringLiteral("vertical")};
    case 5: return {QStringLiteral("-transpose")};
    case 6: return {QStringLiteral("-rotate"), QStringLiteral("90")};
    case 7: return {QStringLiteral("-transverse")};
    case 8: return {QStringLiteral("-rotate"), QStringLiteral("270")};
    default: return {};
    }
}

// The encoded picture, empty when it cannot be encoded.
QByteArray encodedImage(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, format, quality))
        return {};
    return bytes;
}

bool saveJpeg(const QImage& image, const QString& path, int quality)
{
    const QByteArray bytes = encodedImage(image, "JPG", quality);
    return !bytes.isEmpty() && SafeFileWriter::writeFile(path, bytes);
}

// --- thumbnails, marks and labels ---

const int kFineThumbSide = 1000;
const QSize kBadgeSize(22, 18);
const QColor kMarkColor(32, 45, 98);
const QColor kFrameColor(160, 160, 164);
const QSize kLabelSize(218, 150);

// A copy that QPainter can draw on: palette, one-bit and grey pictures are
// turned into 32-bit ones, others keep their format.
QImage paintableCopy(const QImage& image)
{
    if (image.depth() < 16 || image.format() == QImage::Format_Grayscale16)
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    return image;
}

QImage fitInto(const QImage& image, int side)
{
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation);
}

} // namespace

int ImageOperation::getDirection(QString path)
{
    QFile file(Platform::diskPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "文件不存在" << path;
        return 1;
    }
    const int orientation = orientationFromJpeg(file);
    if (orientation == 0) {
        qDebug() << "没找到方向" << path;
        return 1;
    }
    return orientation;
}

int ImageOperation::getDirection(const QByteArray& jpegData)
{
    QBuffer buffer;
    buffer.setData(jpegData);
    buffer.open(QIODevice::ReadOnly);
    const int orientation = orientationFromJpeg(buffer);
    return orientation == 0 ? 1 : orientation;
}

bool ImageOperation::needsTurn(int orientation)
{
    return orientation >= 2 && orientation <= 8;
}

QImage ImageOperation::rotateImage(QImage image, int orientation)
{
    if (!needsTurn(orientation) || image.isNull())
        return image;
    qDebug() << "旋转图片旋转图片" << orientation;
    return turnedByQt(image, orientation);
}

QImage ImageOperation::rotateImage(const QImage& image, int orientation, PictureMemory* memory)
{
    if (!needsTurn(orientation) || image.isNull())
        return image;
    qDebug() << "旋转图片旋转图片" << orientation;
    const int depth = image.depth();
    if (!memory || (depth != 8 && depth != 16 && depth != 24 && depth != 32 && depth != 64))
        return turnedByQt(image, orientation);
    // What leaves this picture goes to JPEG writers, which take 24-bit lines
    // as they are and convert 32-bit ones pixel by pixel.
    const bool to24Bit = image.format() == QImage::Format_RGB32;
    QImage turned = memory->picture(swapsSides(orientation) ? image.size().transposed() : image.size(),
                                    to24Bit ? QImage::Format_RGB888 : image.format());
    if (turned.isNull())
        return {};
    if (to24Bit) {
        turnToRgb24(image, &turned, orientation);
    } else {
        switch (depth) {
        case 8: turnPixels<quint8>(image, &turned, orientation); break;
        case 16: turnPixels<quint16>(image, &turned, orientation); break;
        case 24: turnPixels<Pixel24>(image, &turned, orientation); break;
        case 32: turnPixels<quint32>(image, &turned, orientation); break;
        default: turnPixels<quint64>(image, &turned, orientation); break;
        }
    }
    // What the Qt form keeps: the resolution (not swapped), the device
    // pixel ratio, the texts and the colour table; neither the offset nor
    // the colour space.
    turned.setDotsPerMeterX(image.dotsPerMeterX());
    turned.setDotsPerMeterY(image.dotsPerMeterY());
    turned.setDevicePixelRatio(image.devicePixelRatio());
    for (const QString& key : image.textKeys())
        turned.setText(key, image.text(key));
    if (image.colorCount() > 0)
        turned.setColorTable(image.colorTable());
    return turned;
}

QPixmap ImageOperation::rotateImage(QPixmap pixmap, int orientation)
{
    if (!needsTurn(orientation) || pixmap.isNull())
        return pixmap;
    return QPixmap::fromImage(rotateImage(pixmap.toImage(), orientation));
}

QString ImageOperation::findJpegtran()
{
    {
        JpegtranOverride& forced = jpegtranOverride();
        QMutexLocker lock(&forced.mutex);
        if (forced.program)
            return *forced.program;
    }
    const QString programDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        programDir + QStringLiteral("/jpegtran"),
        programDir + QStringLiteral("/jpegtran.exe"),
        programDir + QStringLiteral("/tools/jpegtran"),
        programDir + QStringLiteral("/tools/jpegtran.exe"),
        QStringLiteral("/usr/local/bin/jpegtran"),
        QStringLiteral("/opt/homebrew/bin/jpegtran"),
    };
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    for (const QString& name : {QStringLiteral("jpegtran"), QStringLiteral("jpegtran.exe")}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void ImageOperation::overrideJpegtran(const std::optional<QString>& program)
{
    JpegtranOverride& forced = jpegtranOverride();
    QMutexLocker lock(&forced.mutex);
    forced.program = program;
}

bool ImageOperation::losslessRotateJpeg(const QString& source, const QString& target, int orientation)
{
    if (!needsTurn(orientation))
        return false;
    const QString program = findJpegtran();
    if (program.isEmpty()) {
        qDebug() << "未找到 jpegtran，无法无损旋转";
        return false;
    }

    const QString targetPath = Platform::diskPath(target);
    const QString tempPath = targetPath + QStringLiteral(".rotz.jpg");
    QFile::remove(tempPath);

    // "-perfect" refuses a turn or mirror that would leave the partial edge
    // blocks of a picture whose size is no multiple of the block size
    // untransformed; the caller then re-encodes it whole.
    const ProgramRunner::Result run = ProgramRunner::run(
        program,
        jpegtranTransform(orientation)
            + QStringList{QStringLiteral("-perfect"), QStringLiteral("-copy"), QStringLiteral("none"),
                          QStringLiteral("-outfile"), QDir::toNativeSeparators(tempPath),
                          QDir::toNativeSeparators(Platform::diskPath(source))},
        kJpegtranStartMs, kJpegtranRunMs);
    if (!run.started) {
        qDebug() << "jpegtran 启动失败" << program;
        return false;
    }
    if (run.exited && run.exitCode == 0) {
        // jpegtran's own file is not checked for a full disk: its content
        // reaches the target through the checked writer.
        const bool written = SafeFileWriter::copyFile(tempPath, targetPath, SafeFileWriter::Existing::Replace);
        QFile::remove(tempPath);
        return written;
    }
    qDebug() << "jpegtran 执行失败" << run.exitCode << QString::fromLocal8Bit(run.standardError);
    QFile::remove(tempPath);
    return false;
}

bool ImageOperation::saveRotatedOriginal(const QString& source, const QStringList& targets,
                                         int orientation, QImage* out, QStringList* failedTargets)
{
    if (targets.isEmpty() || !needsTurn(orientation))
        return false;
    const QString& first = targets.first();
    if (losslessRotateJpeg(source, first, orientation)) {
        qDebug() << "原图无损旋转成功" << first;
        if (out)
            *out = loadImage(first);
    } else {
        const QImage image = loadImage(source);
        if (image.isNull())
            return false;
        const QImage upright = rotateImage(image, orientation);
        if (upright.isNull())
            return false;
        const bool saved = saveJpeg(upright, Platform::diskPath(first), 100);
        qDebug() << "原图回退 QImage FastTransformation 旋转" << first << saved;
        if (!saved)
            return false;
        if (out)
            *out = upright;
    }
    for (int i = 1; i < targets.size(); ++i) {
        if (!FileOperation::copyFile(first, targets.at(i), true) && failedTargets)
            failedTargets->append(targets.at(i));
    }
    return true;
}

bool ImageOperation::saveRotatedOriginal(const QString& source, const QString& target, int orientation,
                                         const QImage& decoded, QImage* upright, PictureMemory* memory)
{
    if (!needsTurn(orientation) || decoded.isNull())
        return false;
    const QImage turned = rotateImage(decoded, orientation, memory);
    if (upright)
        *upright = turned;
    if (losslessRotateJpeg(source, target, orientation)) {
        qDebug() << "原图无损旋转成功" << target;
        return true;
    }
    const bool saved = saveJpeg(turned, Platform::diskPath(target), 100);
    qDebug() << "原图回退 QImage FastTransformation 旋转" << target << saved;
    return saved;
}

QImage ImageOperation::loadImage(QString path)
{
    QFile file(Platform::diskPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return loadImage(file.readAll());
}

QImage ImageOperation::loadImage(const QByteArray& data)
{
    QImage image;
    decodeInto(data, &image);
    return image;
}

bool ImageOperation::decodeInto(const QByteArray& data, QImage* image)
{
    return decodeInto(data, nullptr, image);
}

bool ImageOperation::decodeInto(const QByteArray& data, PictureMemory* memory, QImage* image)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (declared.isValid() && qint64(declared.width()) * declared.height() > kMaxDecodedPixels) {
        qDebug() << "图片尺寸过大，不解码" << declared;
        *image = QImage();
        return false;
    }
    // Only the JPEG reader is known to write every pixel of a picture it is
    // given, so that nothing of an earlier photo can show through; any other
    // format, size or pixel format than declared gets a new picture.
    *image = memory && declared.isValid() && reader.format() == "jpeg"
                 ? memory->picture(declared, reader.imageFormat())
                 : QImage();
    if (reader.read(image))
        return true;
    *image = QImage();
    return false;
}

QImage ImageOperation::drawNumberBadge(QImage image, int number)
{
    if (number <= 0 || image.isNull())
        return image;
    QImage result = paintableCopy(image);
    const QRect box(QPoint(0, result.height() - kBadgeSize.height()), kBadgeSize);
    QPainter painter(&result);
    painter.fillRect(box, QColor(255, 0, 0));
    // A stroked rectangle is one pixel larger than its QRect.
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(QColor(255, 255, 255), 1));
    painter.drawText(box, Qt::AlignCenter, QString::number(number));
    return result;
}

QRect ImageOperation::scaleMarkRect(QImage from, int left, int top, int right, int bottom, QImage to)
{
    // A missing picture has no size to scale from.
    if (from.width() <= 0 || from.height() <= 0 || to.isNull())
        return {};
    const double sx = double(to.width()) / from.width();
    const double sy = double(to.height()) / from.height();
    const int x1 = int(left * sx);
    const int y1 = int(top * sy);
    const int x2 = x1 + int((right - left + 1) * sx) - 1;
    const int y2 = y1 + int((bottom - top + 1) * sy) - 1;
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

QImage ImageOperation::drawMark(QImage image, QRect mark, bool ellipse)
{
    if (image.isNull())
        return image;
    QImage result = paintableCopy(image);
    QPainter painter(&result);
    painter.setPen(QPen(kMarkColor, 2));
    painter.setBrush(Qt::NoBrush);
    if (ellipse)
        painter.drawEllipse(mark);
    else
        painter.drawRect(mark);
    return result;
}

QImage ImageOperation::squareImage(QImage image)
{
    if (image.isNull())
        return image;
    const int side = qMax(image.width(), image.height());
    const QImage scaled = fitInto(image, side - 2);
    QImage canvas(side, side, QImage::Format_ARGB32);
    canvas.fill(QColor(255, 255, 255));
    QPainter painter(&canvas);
    painter.setPen(QPen(kFrameColor, 2));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(canvas.rect());
    painter.drawImage((side - scaled.width()) / 2, (side - scaled.height()) / 2, scaled);
    return canvas;
}

QImage ImageOperation::composeThumb(QImage image, int left, int top, int right, int bottom, int size,
                                    bool ellipse, int number)
{
    if (image.isNull())
        return {};
    const QImage scaled = fitInto(image, size);
    const QRect mark = scaleMarkRect(image, left, top, right, bottom, scaled);
    return drawNumberBadge(squareImage(drawMark(scaled, mark, ellipse)), number);
}

QImage ImageOperation::getWebViewThumb(Image image, int size)
{
    if (image.type != PHOTOTYPE_FINE)
        qDebug() << "出错：网页中的照片不是来自成品！";
    // Recorded names may differ in case from the files on disk ("A.jpg" for "A.JPG").
    const QString thumbPath = FileOperation::resolveNameCase(image.getThumbPath());
    QImage picture;
    if (FileOperation::isFileExist(thumbPath)) {
        picture = loadImage(thumbPath);
    } else {
        const QImage photo = loadImage(FileOperation::resolveNameCase(image.getImagePath()));
        if (photo.isNull())
            return {};
        picture = fitInto(photo, kFineThumbSide);
        saveImage(picture, image.getThumbPath());
    }
    return composeThumb(picture, image.left, image.top, image.right, image.bottom, size, image.isEllipse(), 0);
}

QImage ImageOperation::makeCodeLabel(CodeImageInfo info)
{
    QImage label(kLabelSize, QImage::Format_RGB888);
    label.fill(QColor(255, 255, 255));
    QPainter painter(&label);
    painter.setPen(QColor(0, 0, 0));
    painter.drawText(QRect(5, 0, 218, 20), Qt::AlignLeft | Qt::AlignTop, info.line1);
    painter.drawText(QRect(5, 20, 218, 20), Qt::AlignLeft | Qt::AlignTop, info.line2);
    painter.drawText(QRect(0, 110, 218, 20), Qt::AlignCenter, info.caption);
    painter.drawText(QRect(0, 130, 218, 20), Qt::AlignCenter, info.footer);
    const QImage barCode = info.imagePath.isEmpty() ? QImage() : loadImage(info.imagePath);
    if (!barCode.isNull())
        painter.drawImage(QRect(5, 40, 208, 70), barCode, QRect(0, 0, barCode.width(), 74));
    return label;
}

bool ImageOperation::saveImage(const QImage& image, const QString& path)
{
    const QByteArray format = QFileInfo(Platform::diskPath(path)).suffix().toLower().toLatin1();
    return saveImage(image, path, format.constData());
}

bool ImageOperation::saveImage(const QImage& image, const QString& path, const char* format)
{
    if (image.isNull())
        return false;
    const QByteArray bytes = encodedImage(image, format, -1);
    return !bytes.isEmpty() && SafeFileWriter::writeFile(Platform::diskPath(path), bytes);
}
