#ifndef DELETIONFIXTURE_H
#define DELETIONFIXTURE_H

#include "core/OrderItemInfo.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QString>
#include <QStringList>

#include <algorithm>

// Order folders to delete and the reports their deletion sends, shared by the
// tests of the windows that delete order photos.
namespace DeletionFixture {

inline const QByteArray kReportHead = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8&shopid=12&superid=3&orderphotoid=";

// An order folder as an import leaves it: photos, and thumbnail folders that
// are hidden both ways (a leading dot, and listed in ".hidden").
inline void makeOrderFolder(const QString& path)
{
    writeFile(path + "照片/IMG_0001.jpg", "jpeg");
    writeFile(path + "成品/IMG_0001.jpg", "jpeg");
    writeFile(path + "thumbnail2250/IMG_0001.jpg", "thumb");
    writeFile(path + ".thumbs/IMG_0001.jpg", "thumb");
    writeFile(path + ".hidden", "thumbnail2250\n");
}

inline OrderItemInfo order(const QString& id, const QString& path, bool checked = true)
{
    OrderItemInfo item;
    item.order_photo_id = id;
    item.orderpayforkey = "LY" + id;
    item.orderpath = path;
    item.checked = checked;
    return item;
}

// The body of the report of one deleted folder (g_shopId "12", g_superId "3",
// g_eid "501").
inline QByteArray reportBody(const QString& id, const QString& path)
{
    return kReportHead + id.toUtf8() + "&path=" + path.toUtf8() + "&MANAGER_ID=501";
}

// Every entry below `root`, sorted; a link shows its target and is not
// followed, so a test sees a removed link apart from what it points to.
inline QStringList treeEntries(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        QString line = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isSymLink())
            line += " -> " + entry.symLinkTarget();
        entries << line;
    }
    entries.sort();
    return entries;
}

// Entries of treeEntries() without `folder` and what lies in it.
inline QStringList withoutFolder(QStringList entries, const QString& folder)
{
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&folder](const QString& entry) {
                                     return entry == folder || entry.startsWith(folder + '/');
                                 }),
                  entries.end());
    return entries;
}

} // namespace DeletionFixture

#endif
