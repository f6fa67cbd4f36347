#include "separation/OrderSheetFields.h"

#include "core/FormBody.h"
#include "core/Globals.h"

namespace {

QString text(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

QString inner(const QJsonObject& object, const char* key, const char* innerKey)
{
    return text(object.value(QLatin1String(key)).toObject(), innerKey);
}

// A review time the service leaves unset comes as ":00".
QString reviewTime(const QJsonObject& order, const char* key)
{
    const QString time = inner(order, key, "timeTxt");
    return time == QLatin1String(":00") ? QString() : time;
}

} // namespace

void OrderSheetFields::resetForNextOrder()
{
    for (QString* field :
         {&shopName,         &babyName,         &babySex,          &babyBirthday,         &orderPayForKey,
          &manName,          &manPhone,         &womanName,        &womanPhone,           &bookingShop,
          &serviceShop,      &bookingTime,      &onlineBooker,     &promoter,             &photoSelector,
          &comparePhotoCount, &albumPageCount,  &selectedCount,    &videographer,         &manMail,
          &photoAssistant,   &videoEditor,      &makeupAssistant,  &retoucher,            &transferStaff,
          &womanMail,        &secondSalesTotal, &secondSalesDebt,  &payType,              &serviceTimes,
          &serviceCount,     &boughtRawCount,   &recipientAddress, &packageName,          &storeSeller,
          &orderPrice,       &selectPhotoName,  &shootDate,        &selectDate,           &shipDate,
          &consumptionStatement, &shopDisclaimer, &packageRetouchCount})
        field->clear();
}

QByteArray orderDetailBody()
{
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("order_photo_id"), g_curOrderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("eid"), g_eid)
        .add(QStringLiteral("uid"), g_uid)
        .add(QStringLiteral("personid"), g_eid);
    return body.bytes();
}

QList<QStringList> readPicsMarks(const QJsonArray& orderPicDescr)
{
    QList<QStringList> marked;
    for (const QJsonValue& value : orderPicDescr) {
        const QJsonObject picture = value.toObject();
        const QJsonArray marks = picture.value(QStringLiteral("mark")).toArray();
        if (marks.isEmpty())
            continue;
        QStringList entry{text(picture, "picname")};
        for (const QJsonValue& mark : marks)
            entry << mark.toString();
        marked << entry;
    }
    return marked;
}

QStringList markedPictureNames(const QList<QStringList>& picsMarkArr)
{
    QStringList names;
    for (const QStringList& entry : picsMarkArr)
        names << entry.value(0);
    return names;
}

void readOrderDetail(const QJsonObject& reply, const QString& orderPayForKey, const QString& serviceTimes,
                     OrderSheetFields* fields)
{
    OrderSheetFields& f = *fields;
    f.serviceTimeArray = reply.value(QStringLiteral("servicetime")).toArray();
    f.picsMarkArr = readPicsMarks(reply.value(QStringLiteral("orderpicdescr")).toArray());

    const QJsonObject order = reply.value(QStringLiteral("order")).toObject();
    f.shopName = text(order, "shopname");
    f.babyName = text(order, "bname");
    f.babySex = text(order, "bsex");
    f.babyBirthday = text(order, "birthdate");
    f.orderPayForKey = orderPayForKey;
    f.manName = text(order, "mname");
    f.manPhone = text(order, "mphone");
    f.womanName = text(order, "wname");
    f.womanPhone = text(order, "wphone");
    f.bookingShop = text(order, "mssid");
    f.serviceShop = text(order, "servershopid");
    f.bookingTime = text(order, "booktime");
    f.onlineBooker = text(order, "wxname");
    f.promoter = text(order, "tuiguangname");
    f.photoSelector = text(order, "selectphoto");
    f.comparePhotoCount = text(order, "yqnumber");
    f.albumPageCount = text(order, "goodpnumber");
    f.selectedCount = text(order, "yx_number");
    f.videographer = text(order, "role17");
    f.manMail = text(order, "mmail");
    f.photoAssistant = text(order, "role3");
    f.videoEditor = text(order, "role16");
    f.makeupAssistant = text(order, "role4");
    f.retoucher = text(order, "role9name");
    f.transferStaff = text(order, "role6name");
    f.womanMail = text(order, "wmail");
    f.secondSalesTotal = text(order, "twosales");
    f.secondSalesDebt = text(order, "dept");
    f.payType = text(order, "pay_type");
    f.serviceTimes = serviceTimes;
    f.serviceCount = text(order, "count");
    f.boughtRawCount = text(order, "buynumber");
    f.recipientAddress = inner(order, "provinceid", "areaname") + inner(order, "cityid", "areaname")
        + inner(order, "countyid", "areaname") + text(order, "address");
    f.packageName = text(order, "s2_name");
    f.storeSeller = text(order, "booksuccess");
    f.preSampleRetoucher = text(order, "tiaose");
    f.designer = text(order, "sheji");
    f.postSampleRetoucher = text(order, "tiaoxiu");
    f.orderPrice = text(order, "order_price");
    f.photographer = text(order, "role1");
    f.makeupArtist = text(order, "role2");
    f.shootDate = text(order, "photodate");
    f.selectDate = text(order, "selectphotodate");
    // Without both parts there is no time of this order: never keep the
    // previous customer's.
    const QString hour = text(order, "samplestarttime");
    const QString minute = text(order, "samplestartmin");
    f.selectTime = hour.isEmpty() || minute.isEmpty() ? QString() : hour + QLatin1Char(':') + minute;
    f.shipDate = text(order, "getphotodate_html");
    f.shipTime = inner(order, "getphotoarea", "timeTxt");
    f.urgentTime = text(order, "isurgenttime");
    f.retouchReviewDate = text(order, "checktruing");
    f.retouchReviewTime = reviewTime(order, "kanjinxiuarea");
    f.layoutReviewDate = text(order, "comparedate");
    f.layoutReviewTime = reviewTime(order, "kanbanarea");
    f.recipientName = text(order, "recipients");
    f.recipientPhone = text(order, "sj_tel");
    f.qualityCheckDate = text(order, "qualitytime");
    f.orderDescr = text(order, "orderdescr").replace(QLatin1Char('\n'), QStringLiteral("<BR>"));
    f.consumptionStatement = text(order, "consumption_statement");
    f.shopDisclaimer = text(order, "shopdisclaimer");
    f.packageRetouchCount = text(order, "vipphotonumber");
    f.boughtRetouchCount = text(order, "morephotonumber");
    f.giftRetouchCount = text(order, "activenumber");
    f.sampleInfoServiceTimes = text(reply, "count_order_sample_infoservicetimes");
}
