#ifndef FILEOPERATION_H
#define FILEOPERATION_H

#include <QString>
#include <QStringList>

// Files and folders on the file server and local disks, and the small hidden
// ".dat" settings files in the current directory. No state; safe on any
// thread. Paths are taken by value so callers' strings never change.
class FileOperation
{
public:
    static bool removeFile(QString path);
    // One level only: the parent must exist.
    static bool createDir(QString path);
    static bool isDirExist(QString path);
    static bool isFileExist(QString path);
    static QString getDriveRoot(QString path);
    static QString getFileName(QString path);
    // The path under the name the file has on disk: when nothing exists at
    // the path, an entry of its folder whose name differs only in case
    // (Windows opens "A.jpg" for "A.JPG"; case-sensitive disks do not).
    static QString resolveNameCase(QString path);
    static void setHiddenAttribute(QString path);
    static void hideFile(QString path);
    static int countJpgFiles(QString folder);

    // An existing target is replaced (overwrite) or the copy goes to the first
    // free numbered name: "x.jpg" -> "x(1).jpg", "a.mp4" -> "a(1).mp4".
    static bool copyFile(QString source, QString target, bool overwrite);
    // The n-th numbered variant of a name: "x.jpg" keeps the established
    // "x(n).jpg" form, other names get "(n)" before their own extension.
    static QString numberedName(QString target, int n);
    // Copies only to a name no file has yet, through a temporary file, so a
    // failure never leaves a half file; a file already at the name is kept
    // and counts as copied.
    static bool copyNewFile(QString source, QString target);
    static bool copyDir(QString sourceFolder, QString destinationFolder, bool overwrite);

    // The shop's photo, backup and home roots: no deletion removes them or
    // a folder above them. Read them on the thread that owns the globals.
    static QStringList shopRoots();
    // Deletes the folder with all its content, hidden entries included.
    static bool deleteDirTree(QString folder, const QStringList& keptRoots = shopRoots());
    // Deletes the visible content, then the folder; hidden entries stay.
    static bool removeDirRecursive(QString folder, const QStringList& keptRoots = shopRoots());

    static void openFileDir(QString path);

    static QStringList readStringList(QString fileName, int count);
    static void writeStringList(QString fileName, QStringList list, bool hidden);

    // Creates the folder under the first free name "path", "path(1)", ...;
    // returns it with a trailing "/", or "" when the creation failed.
    static QString createNumberedDir(QString path);
};

#endif
