#ifndef IMPORTEDFILES_H
#define IMPORTEDFILES_H

#include <QPixmap>
#include <QString>
#include <QStringList>

// The files an order already has on the server for an import type, as the
// import window lists, opens and deletes them: the list shows the type's
// 200-pixel thumbnails, "open" shows the type's folder, and deleting a name
// removes the file and its three thumbnails.

// Paths of the listed thumbnails, sorted by name ignoring case; none for an
// order without folder or without the thumbnail folder.
QStringList importedFilePaths(const QString& orderPath, int type);
// A 100 x 100 square icon of a listed file; a null pixmap when it is no
// picture.
QPixmap importedFileIcon(const QString& path);
// The folder that "打开照片目录" opens, or empty when the type has none.
QString importedFilesFolder(const QString& orderPath, int type);
// Removes each named file from the type's folder and its thumbnail folders.
// Nothing is removed for an order without folder.
void removeImportedFiles(const QString& orderPath, int type, const QStringList& names);

#endif
