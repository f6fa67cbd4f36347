#ifndef DELETIONFIXTURE_H
#define DELETIONFIXTURE_H

#include "core/OrderItemInfo.h"
#include "support/TestSupport.h"

#include <QByteArray>
#include <QDir>
#include <QString>

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

} // namespace DeletionFixture

#endif
