#include "files/ImageOperation.h"

#include "files/CodeImageInfo.h"
#include "files/ExifOrientation.h"
#include "files/FileOperation.h"
#include "files/ImageData.h"
#include "files/PictureMemory.h"
#include "files/PixelTurn.h"
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

namespace {

const int kJpegtranStartMs = 5000;
const int kJpegtranRunMs = 180000;

// --- rotation ---

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
    const QSize upright = PixelTurn::swapsSides(orientation) ? image.size().transposed() : image.size();
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
    const int orientation = ExifOrientation::read(file);
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
    const int orientation = ExifOrientation::read(buffer);
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
    if (!memory || !PixelTurn::handles(image))
        return turnedByQt(image, orientation);
    QImage turned = memory->picture(PixelTurn::swapsSides(orientation) ? image.size().transposed() : image.size(),
                                    PixelTurn::uprightFormat(image));
    if (turned.isNull())
        return {};
    PixelTurn::turn(image, &turned, orientation);
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
