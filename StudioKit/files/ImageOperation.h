#ifndef IMAGEOPERATION_H
#define IMAGEOPERATION_H

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>

class Image;
class PictureMemory;
struct CodeImageInfo;

// Image functions shared by the import and separation tools. No state; the
// functions run on worker threads.
class ImageOperation
{
public:
    // --- EXIF orientation and rotation ---

    // The EXIF Orientation of a JPEG (1 upright, 3, 6, 8 turned; 2, 4, 5, 7
    // mirrored); 1 when the file holds none.
    static int getDirection(QString path);
    // The same for a file already read into memory.
    static int getDirection(const QByteArray& jpegData);

    // Pictures declaring more pixels than this are treated as undecodable:
    // a hostile or broken header would otherwise cost gigabytes and minutes.
    static constexpr qint64 kMaxDecodedPixels = 200'000'000;

    // True for the orientations 2 to 8, whose pictures are turned or
    // mirrored to stand upright; 1 and the values that name no orientation
    // leave a photo as it is.
    static bool needsTurn(int orientation);

    // Turns the picture upright: 3, 6 and 8 turn it, 2 and 4 mirror it left
    // to right and top to bottom, 5 transposes and 7 transverses it; any
    // other value returns it unchanged. A null image when the turned copy
    // does not fit in memory.
    static QImage rotateImage(QImage image, int orientation);
    static QPixmap rotateImage(QPixmap pixmap, int orientation);
    // The same picture, pixels and metadata, drawn in `memory` (see
    // PictureMemory: it must not be handed on). An opaque 32-bit picture
    // comes out in 24-bit colour (Format_RGB888), whose lines a JPEG writer
    // takes as they are: the file is the same. An unchanged picture for the
    // orientations left alone, a null one when the memory cannot be had.
    static QImage rotateImage(const QImage& image, int orientation, PictureMemory* memory);

    // The jpegtran program to run, empty when none is installed.
    static QString findJpegtran();
    // Tests put a stand-in program in place of the installed one; an empty
    // path stands for "not installed", std::nullopt restores the search.
    static void overrideJpegtran(const std::optional<QString>& program);

    // Writes the upright picture of a JPEG to `target` without re-encoding;
    // false, with nothing run, for an orientation that needs no turn.
    static bool losslessRotateJpeg(const QString& source, const QString& target, int orientation);

    // Writes the upright picture to the first target (losslessly when jpegtran
    // works, else re-encoded) and copies it to the others. The result tells
    // whether the first target was written; further targets whose copy
    // failed are appended to `failedTargets` when given.
    static bool saveRotatedOriginal(const QString& source, const QStringList& targets,
                                    int orientation, QImage* out,
                                    QStringList* failedTargets = nullptr);

    // The same for one target and a source already decoded: the turned
    // picture comes from `decoded` in memory (jpegtran's output is not read
    // back), drawn in `memory` when given, and the fallback encodes it as
    // "JPG" quality 100. False, with nothing written, for an orientation
    // that needs no turn or a null picture.
    static bool saveRotatedOriginal(const QString& source, const QString& target, int orientation,
                                    const QImage& decoded, QImage* upright, PictureMemory* memory = nullptr);

    // Decodes by content, not by file name, and never applies the EXIF
    // orientation itself. A null image when unreadable or larger than
    // kMaxDecodedPixels.
    static QImage loadImage(QString path);
    static QImage loadImage(const QByteArray& data);
    // Decodes into `image`, a new picture: false, with a null image, when
    // the bytes cannot be decoded.
    static bool decodeInto(const QByteArray& data, QImage* image);
    // The same, drawn in `memory` (see PictureMemory: the picture must not be
    // handed on) when the decoder gives the size and format its header
    // declares. The metadata are those of a new picture.
    static bool decodeInto(const QByteArray& data, PictureMemory* memory, QImage* image);

    // --- thumbnail, mark and label images ---
    // These draw on copies with QImage only (pool threads may call them) and
    // never antialias.

    // A red 22 x 18 box with the number in white at the bottom-left corner;
    // the image unchanged for a number of 0 or less.
    static QImage drawNumberBadge(QImage image, int number);
    // The mark rectangle (right and bottom inclusive) moved from the size of
    // `from` to the size of `to`; a null rectangle when either is empty.
    static QRect scaleMarkRect(QImage from, int left, int top, int right, int bottom, QImage to);
    static QImage drawMark(QImage image, QRect mark, bool ellipse);
    // The picture centred on a white square canvas with a grey frame.
    static QImage squareImage(QImage image);
    // The marked, squared size x size thumbnail; null for a null picture.
    static QImage composeThumb(QImage image, int left, int top, int right, int bottom, int size,
                               bool ellipse, int number);
    // The marked thumbnail of one finished photo, made from its 1000-pixel
    // thumbnail, which is written first when missing. Mark coordinates are
    // pixels of that thumbnail. Null when neither file can be read.
    static QImage getWebViewThumb(Image image, int size);
    // The 218 x 150 dispatch label.
    static QImage makeCodeLabel(CodeImageInfo info);
    // Format from the file name's extension, default quality; written through
    // a temporary file in the same folder, so a reader never sees half a file.
    static bool saveImage(const QImage& image, const QString& path);
    // The same in the given format, whatever the name's extension.
    static bool saveImage(const QImage& image, const QString& path, const char* format);
};

#endif
