#ifndef MARKIMAGES_H
#define MARKIMAGES_H

#include <QImage>
#include <QString>
#include <QStringList>

// Copies the pictures that carry retouch marks from the order's "marks/"
// folder on the file server into the sheet's own "marks/" folder, so the
// production sheet can show them. The picture is copied unchanged (the mark
// texts are not drawn) and saved as JPEG under its own name, through a
// temporary file. Names come from the service: one holding "/", "\" or ".."
// is skipped, never followed.
class MarkImages
{
public:
    // Where the copies go: the sheet-thumbnail folder's "marks/".
    static QString targetFolder();

    static bool isUnsafeName(const QString& name);

    // Copies one picture; `picture` gets the picture as loaded (null when it
    // could not be read). False when the name is unsafe, the picture cannot
    // be read, the folder cannot be made or the file not written.
    static bool copy(const QString& name, const QString& marksFolder, const QString& targetFolder,
                     QImage* picture = nullptr);

    // Copies every picture in turn; returns the source paths of the copies
    // that failed. Unsafe names and pictures the folder does not hold (the
    // service may name pictures the order no longer has) are skipped without
    // a report; a relative marks folder, of an order without a folder of its
    // own, is not read at all.
    static QStringList copyAll(const QStringList& names, const QString& marksFolder, const QString& targetFolder);
};

#endif
