#ifndef SINGLEORDERTREE_H
#define SINGLEORDERTREE_H

#include <QString>

// The folders the single-order window makes for an order the service knows
// no folders of: under the server root the dated order folder with "照片/",
// "成品/", "汰片/", "设计/" and the nine hidden thumbnail folders, then under
// the backup root the dated order folder with "照片/". A missing root is made
// one level only. Folders that exist stay as they are.
class SingleOrderTree
{
public:
    // Builds the tree of `folderName` for the shot date ("yyyy-MM-dd") and
    // gives the order's two folders. On failure nothing more is made, the
    // paths are left alone and `error` holds the text to show.
    static bool create(QString serverRoot, QString backupRoot, const QString& folderName, const QString& shotDate,
                       QString* orderPath, QString* backupPath, QString* error);
};

#endif
