#include "import/SingleImportRequests.h"

#include "core/FormBody.h"
#include "core/Globals.h"

QByteArray SingleImportRequests::orderPath()
{
    return FormBody()
        .add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("order_photo_id"), g_curOrderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .bytes();
}

QByteArray SingleImportRequests::serverPath()
{
    return FormBody()
        .add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .bytes();
}

QByteArray SingleImportRequests::photoDate(const QString& date)
{
    return FormBody()
        .add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("orderid"), g_curOrderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("photodate"), date)
        .add(QStringLiteral("superid"), g_superId)
        .bytes();
}

QByteArray SingleImportRequests::startPaths(const QString& orderPath, const QString& backupPath)
{
    return FormBody()
        .add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("orderid"), g_curOrderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("orderpicpath"), orderPath)
        .add(QStringLiteral("orderbakpicpath"), backupPath)
        .bytes();
}

QByteArray SingleImportRequests::finishPaths(const QString& orderPath, const QString& backupPath, int photoCount,
                                             int backupCount, int mode)
{
    // Type ids 1, 2, 3 stand for photos, finished and design images.
    const int typeId = mode == 0 ? 1 : mode == 1 ? 2 : 3;
    return FormBody()
        .add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("order_photo_id"), g_curOrderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("orderpicpath"), orderPath)
        .add(QStringLiteral("orderbakpicpath"), backupPath)
        .add(QStringLiteral("picnumber"), QString::number(photoCount))
        .add(QStringLiteral("picbaknumber"), QString::number(backupCount))
        .add(QStringLiteral("MANAGER_ID"), g_eid)
        .add(QStringLiteral("typeid"), QString::number(typeId))
        .bytes();
}
