#ifndef SEPARATIONFOLDERS_H
#define SEPARATIONFOLDERS_H

#include <QString>
#include <QStringList>

class QWidget;

// How a separation run lists and makes folders, shared by the separation
// windows.
namespace SeparationFolders {

// The entries of a folder on the file server as the Windows listing gives
// them: "." and ".." first, then files and sub-folders by name ignoring
// case, hidden entries left out; a missing folder gives none. The stages
// count them all, so the progress bar matches on every system.
QStringList entries(const QString& folder);

// The files of a folder named "*.jpg", "*.jpeg" or "*.png" in any case,
// by name ignoring case.
QStringList designImages(const QString& folder);

// Makes the folder with every missing parent; true when it exists afterwards.
bool makePath(const QString& folder);

// Makes one folder level of a run (its parent must exist); when that fails,
// "警告" names the folder and the caller stops the run.
bool createRunFolder(const QString& folder);

// The separation root of one order: the path field, else a folder the user
// picks now ("选择分件保存路径"), the field left as it is. A root is saved to
// "path_separatePhotos.dat" as given and returned ending with a separator;
// empty when the user cancelled.
QString chooseRoot(QWidget* window, const QString& field);

} // namespace SeparationFolders

#endif
