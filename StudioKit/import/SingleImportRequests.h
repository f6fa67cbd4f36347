#ifndef SINGLEIMPORTREQUESTS_H
#define SINGLEIMPORTREQUESTS_H

#include <QByteArray>
#include <QString>

// The form bodies of the single-order import window's requests, built without
// the window so their bytes can be checked on their own. The order and login
// values come from the globals.
class SingleImportRequests
{
public:
    // "get_order_path": the current order's folder and backup folder.
    static QByteArray orderPath();
    // "get_order_pic_path": the shop's photo, backup and home roots.
    static QByteArray serverPath();
    // "updatephotodate": a new shot date for the current order.
    static QByteArray photoDate(const QString& date);
    // "updatepicpath2": the order's folders when an import starts.
    static QByteArray startPaths(const QString& orderPath, const QString& backupPath);
    // "updatepicpath": the order's folders and what a run added, for the
    // window's mode (0 photos, 1 finished images, 2 design images).
    static QByteArray finishPaths(const QString& orderPath, const QString& backupPath, int photoCount,
                                  int backupCount, int mode);
};

#endif
