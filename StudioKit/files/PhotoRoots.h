#ifndef PHOTOROOTS_H
#define PHOTOROOTS_H

#include "core/OrderItemInfo.h"

#include <QString>
#include <QStringList>

// The photo roots of the file server (a shop's server, backup and home roots,
// and those an order record names), with their links resolved as they are
// when the object is made. The one place that knows what a root is and which
// folders below one hold more than one order: the root itself, the folders
// above it, and its month ("R/yyyy-MM") and day ("R/yyyy-MM/dd") folders.
//
//     // On the GUI thread, which owns the shop globals:
//     const QStringList known = PhotoRoots::knownFor(order);
//     // Later, on any thread:
//     const QString folder = PhotoRoots(known).deletableOrderFolder(order.orderpath);
//     if (!folder.isEmpty())
//         FileOperation::deleteDirTree(folder, known);
class PhotoRoots
{
public:
    // A text that can serve as a root: absolute on this disk and not a
    // filesystem root.
    static bool isUsable(const QString& root);
    // The order record's own picture roots and the current shop's roots.
    static QStringList knownFor(const OrderItemInfo& order);

    // Texts that cannot serve as a root are left out.
    explicit PhotoRoots(const QStringList& roots);

    // Whether the folder, its links resolved, is a filesystem root, one of
    // the roots or a folder above one.
    bool isRootOrAbove(const QString& folder) const;
    // The folder that deleting the order folder `orderPath` may remove, with
    // its links resolved; "" when the path is no order folder. It must be a
    // real folder strictly inside a root, reached from that root without a
    // link, and neither a root, a folder above one, nor a month or day folder.
    QString deletableOrderFolder(const QString& orderPath) const;

private:
    bool isDateFolder(const QString& realFolder) const;
    bool isReachedWithoutLinks(const QString& folder, const QString& realFolder) const;

    QStringList m_roots; // resolved, usable
};

#endif
