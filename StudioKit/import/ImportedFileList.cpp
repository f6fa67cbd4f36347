#include "import/ImportedFileList.h"

#include "files/FileOperation.h"
#include "import/ImportedFiles.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

void ImportedFileList::initImportedList(QVBoxLayout* box)
{
    box->addWidget(new QLabel(QStringLiteral("已经导入的照片：")));
    importedList = new QListWidget;
    importedList->setObjectName(QStringLiteral("importedList"));
    importedList->setViewMode(QListView::IconMode);
    importedList->setResizeMode(QListView::Adjust);
    importedList->setMovement(QListView::Static);
    importedList->setDragEnabled(false);
    importedList->setIconSize(QSize(1000, 1000));
    importedList->setSpacing(10);
    importedList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    importedList->setContextMenuPolicy(Qt::CustomContextMenu);
    importedMenu = new QMenu(importedList);
    openImportedAction = importedMenu->addAction(QStringLiteral("打开照片目录"));
    importedMenu->addSeparator();
    deleteImportedAction = importedMenu->addAction(QStringLiteral("删除选中照片"));
    box->addWidget(importedList);
}

void ImportedFileList::showImportedList(const QStringList& paths)
{
    fillImportedList(paths);
}

void ImportedFileList::fillImportedList(const QStringList& paths)
{
    importedList->clear();
    for (const QString& path : paths) {
        auto* item = new QListWidgetItem(FileOperation::getFileName(path));
        item->setSizeHint(QSize(100, 120));
        item->setTextAlignment(Qt::AlignBottom);
        importedList->addItem(item);
    }
    loadThumbIcons(paths);
}

void ImportedFileList::loadThumbIcons(const QStringList& paths)
{
    for (int i = 0; i < paths.size(); ++i)
        importedList->item(i)->setData(Qt::DecorationRole, importedFileIcon(paths.at(i)));
}

void ImportedFileList::clear()
{
    importedList->clear();
}

void ImportedFileList::popupMenu()
{
    if (!importedList->selectedItems().isEmpty())
        importedMenu->popup(QCursor::pos());
}

QStringList ImportedFileList::selectedNames() const
{
    QStringList names;
    for (const QListWidgetItem* item : importedList->selectedItems())
        names << item->text();
    return names;
}
