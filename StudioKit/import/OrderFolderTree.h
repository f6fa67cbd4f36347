#ifndef ORDERFOLDERTREE_H
#define ORDERFOLDERTREE_H

#include <QString>
#include <QStringList>

// The dated folder tree of one order under a shop root, shared by the batch
// worker and the single-order window:
//   root / yyyy-MM / dd / order folder / its sub-folders
// with the three hidden thumbnail families of photos, finished and design
// images. Each caller gives its own visible sub-folders.
class OrderFolderTree
{
public:
    // Makes sure a root can hold orders: an absolute path (relative ones
    // would land below the program's folder), not a filesystem root, that
    // exists or is created,
    // with its parents or one level only. On success `root` ends with a
    // separator.
    static bool prepareRoot(QString& root, bool withParents);

    // "yyyy-MM-dd" as digits, split into the year-month and the day folder.
    static bool splitShotDate(const QString& shotdate, QString* yearMonth, QString* day);

    // A folder name that names a folder of its own: not empty, "." or "..".
    // Names are cleaned of separators first, so dots inside one are fine.
    static bool isUsableFolderName(const QString& name);

    // The order folder relative to a root: "2017-05/04/504A123-2/".
    static QString relativeOrderPath(const QString& yearMonth, const QString& day, const QString& folder);

    // Creates, one level at a time below a prepared root, the year-month and
    // day folders, the order folder and `subFolders` in order, then the
    // hidden thumbnail families when asked. Existing folders stay as they
    // are; the results are not tested here: the caller checks the order
    // folder afterwards.
    static void make(const QString& root, const QString& yearMonth, const QString& day, const QString& folder,
                     const QStringList& subFolders, bool thumbnailFamilies);
};

#endif
