#ifndef IMAGEOPERATION_H
#define IMAGEOPERATION_H

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <optional>

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

    // Turns the picture upright for the orientations 3, 6 and 8; any other
    // value returns it unchanged.
    static QImage rotateImage(QImage image, int orientation);
    static QPixmap rotateImage(QPixmap pixmap, int orientation);

    // The jpegtran program to run, empty when none is installed.
    static QString findJpegtran();
    // Tests put a stand-in program in place of the installed one; an empty
    // path stands for "not installed", std::nullopt restores the search.
    static void overrideJpegtran(const std::optional<QString>& program);

    // Writes the upright picture of a JPEG to `target` without re-encoding.
    static bool losslessRotateJpeg(const QString& source, const QString& target, int orientation);

    // Writes the upright picture to the first target (losslessly when jpegtran
    // works, else re-encoded) and copies it to the others. The result tells
    // whether the first target was written; further targets whose copy
    // failed are appended to `failedTargets` when given.
    static bool saveRotatedOriginal(const QString& source, const QStringList& targets,
                                    int orientation, QImage* out,
                                    QStringList* failedTargets = nullptr);

    // Decodes by content, not by file name, and never applies the EXIF
    // orientation itself. A null image when unreadable.
    static QImage loadImage(QString path);
    static QImage loadImage(const QByteArray& data);
};

#endif
