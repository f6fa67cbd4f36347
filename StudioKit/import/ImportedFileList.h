#ifndef IMPORTEDFILELIST_H
#define IMPORTEDFILELIST_H

#include <QStringList>

class QAction;
class QListWidget;
class QMenu;
class QVBoxLayout;

// The lower right of the import window: the pictures the current order
// already has on the server, as square thumbnails over their file names,
// and the menu that opens their folder or deletes the selected ones. Built
// into the window's layout, whose widgets own the list (the list owns its
// menu); the window connects the menu's actions and says what to show.
//
//     ImportedFileList files;
//     files.initImportedList(box);
//     files.showImportedList(importedFilePaths(orderPath, type));
class ImportedFileList
{
public:
    void initImportedList(QVBoxLayout* box);
    // One item per path, in order: the file name and the picture's 100 x 100
    // square thumbnail (empty for a file that is no picture).
    void showImportedList(const QStringList& paths);
    void clear();
    // Opens the menu at the cursor when at least one item is selected.
    void popupMenu();
    QStringList selectedNames() const;

    QListWidget* importedList = nullptr;
    QMenu* importedMenu = nullptr;
    QAction* openImportedAction = nullptr;
    QAction* deleteImportedAction = nullptr;

private:
    void fillImportedList(const QStringList& paths);
    void loadThumbIcons(const QStringList& paths);
};

#endif
