#ifndef ORDERSHEETFIELDS_H
#define ORDERSHEETFIELDS_H

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// The order-sheet fields of the order being separated, as the "orderdetail"
// reply fills them; the local production sheet is built from them.
//
//   sheet.resetForNextOrder();        // before the order's sheet material
//   readOrderDetail(reply, payForKey, serviceTimes, &sheet);
//
// Every value is the service's text as received: numbers, booleans and null
// read as empty.
struct OrderSheetFields
{
    // Empties the fields the next reply must fill; the others stay until
    // that reply overwrites them.
    void resetForNextOrder();

    QString shopName;
    QString babyName;
    QString babySex;
    QString babyBirthday;
    QString orderPayForKey;
    QString manName;
    QString manPhone;
    QString womanName;
    QString womanPhone;
    QString bookingShop;
    QString serviceShop;
    QString bookingTime;
    QString onlineBooker;
    QString promoter;
    QString photoSelector;
    QString comparePhotoCount;
    QString albumPageCount;
    QString selectedCount;
    QString videographer;
    QString manMail;
    QString photoAssistant;
    QString videoEditor;
    QString makeupAssistant;
    QString retoucher;
    QString transferStaff;
    QString womanMail;
    QString secondSalesTotal;
    QString secondSalesDebt;
    QString payType;
    QString serviceTimes;
    QString serviceCount;
    QString boughtRawCount;
    QString recipientAddress;
    QString packageName;
    QString storeSeller;
    QString preSampleRetoucher;
    QString designer;
    QString postSampleRetoucher;
    QString orderPrice;
    QString selectPhotoName;
    QString photographer;
    QString makeupArtist;
    QString shootDate;
    QString selectDate;
    QString selectTime;
    QString shipDate;
    QString shipTime;
    QString urgentTime;
    QString retouchReviewDate;
    QString retouchReviewTime;
    QString layoutReviewDate;
    QString layoutReviewTime;
    QString recipientName;
    QString recipientPhone;
    QString qualityCheckDate;
    // One entry per picture with marks: its "picname", then its mark texts.
    QList<QStringList> picsMarkArr;
    // Line feeds become "<BR>"; carriage returns stay.
    QString orderDescr;
    QString consumptionStatement;
    QString shopDisclaimer;
    QString packageRetouchCount;
    QString boughtRetouchCount;
    QString giftRetouchCount;
    // The reply's "servicetime" objects ("goods", "urgentgoods",
    // "order_sample_infoservicetimes", "role12name").
    QJsonArray serviceTimeArray;
    QString sampleInfoServiceTimes;
};

// The "orderdetail" request of the current order: token, order_photo_id,
// shopid, superid, eid, uid and personid (g_eid again), values as they stand.
QByteArray orderDetailBody();

// Fills `fields` from a successful "orderdetail" reply. `orderPayForKey` and
// `serviceTimes` are the run's own values for the order; `selectPhotoName`
// comes from the order's search row and is left to the caller.
void readOrderDetail(const QJsonObject& reply, const QString& orderPayForKey, const QString& serviceTimes,
                     OrderSheetFields* fields);

// The pictures of an "orderpicdescr" array that carry at least one mark:
// "picname" first, then the mark texts in order.
QList<QStringList> readPicsMarks(const QJsonArray& orderPicDescr);

// The picture names of `picsMarkArr`, in order.
QStringList markedPictureNames(const QList<QStringList>& picsMarkArr);

#endif
