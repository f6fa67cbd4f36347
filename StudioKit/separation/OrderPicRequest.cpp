#include "separation/OrderPicRequest.h"

#include "core/FormBody.h"
#include "core/Globals.h"
#include "files/ImageData.h"
#include "files/OrderFolders.h"

#include <QUrl>

QByteArray OrderPicRequest::encodedNames(const QStringList& names)
{
    QList<QByteArray> encoded;
    for (const QString& name : names)
        encoded << QUrl::toPercentEncoding(name);
    return encoded.join(QStringLiteral("，").toUtf8());
}

void OrderPicRequest::loadFineImages(const QString& orderPath)
{
    setOrderPath(orderPath);
    ImageData::getInstance()->importImage(PHOTOTYPE_FINE);
    fineImages.clear();
    for (const Image& image : qAsConst(*ImageData::getInstance()->getFineImages()))
        fineImages << image.getFileName();
}

QByteArray OrderPicRequest::body() const
{
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("order_photo_id"), g_curOrderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("companyid"), g_superId)
        .add(QStringLiteral("uid"), g_eid)
        .addEncoded(QStringLiteral("qrcodepath"), QUrl::toPercentEncoding(barPath))
        .addEncoded(QStringLiteral("imgpath"), QUrl::toPercentEncoding(imagePath))
        .addEncoded(QStringLiteral("cpimgs"), encodedNames(fineImages));
    if (withDesignImages)
        body.addEncoded(QStringLiteral("sjimgs"), encodedNames(designImages));
    if (afterSample)
        body.add(QStringLiteral("isyhfj"), QStringLiteral("1"));
    return body.bytes();
}
