#ifndef SEPARATIONFOLDERS_H
#define SEPARATIONFOLDERS_H

#include <QString>
#include <QStringList>

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

} // namespace SeparationFolders

#endif
