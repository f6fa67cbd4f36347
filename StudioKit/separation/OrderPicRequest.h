#ifndef ORDERPICREQUEST_H
#define ORDERPICREQUEST_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// The body of the picture-information request ("getorderpic") of the order
// being separated. The two folder paths and the picture names are sent
// percent-encoded one by one (every byte but A-Z a-z 0-9 "-._~"), the names
// joined by a raw full-width comma "，"; the ids go as they stand.
//
//   OrderPicRequest request;
//   request.barPath = ...; request.imagePath = ...; request.fineImages = ...;
//   ServiceCall::postForm(manager, URL_ORDER_GETORDERPIC, request.body());
struct OrderPicRequest
{
    QString barPath;           // "qrcodepath"
    QString imagePath;         // "imgpath", the work folder with its "/"
    QStringList fineImages;    // "cpimgs", file names of the finished images
    QStringList designImages;  // "sjimgs"
    // The after-sample window sends no "sjimgs" and ends with "&isyhfj=1".
    bool withDesignImages = true;
    bool afterSample = false;

    // Reloads ImageData's finished images of the order folder (with the
    // marks of g_markImages) and takes their names in list order.
    void loadFineImages(const QString& orderPath);

    // Ids from the current order and the login state: "&uid=" carries g_eid.
    QByteArray body() const;

    static QByteArray encodedNames(const QStringList& names);
};

#endif
