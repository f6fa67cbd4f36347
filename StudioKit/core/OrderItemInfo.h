#ifndef ORDERITEMINFO_H
#define ORDERITEMINFO_H

#include <QJsonObject>
#include <QString>

// One order row of an order-search reply, with the row's tick and
// processed flags. A plain value: copies are cheap and independent.
struct OrderItemInfo
{
    // The search tools read slightly different keys of the same element.
    enum class Tool {
        Separation,    // design and after-sample separation
        BatchDeletion, // no hand-over time
        Lyra           // also the Lyra folders, no picpath debug line
    };

    // Fills a record from one element of the reply's "data" array. Every
    // value is read as a string: numbers, null and missing keys give empty.
    static OrderItemInfo fromOrderElement(const QJsonObject& element, Tool tool);

    bool checked = false;
    bool processed = false;
    QString order_photo_id;
    QString servicetimes;
    QString names;
    QString phones;
    QString spareText1;
    QString phototype;
    QString comboname;
    QString order_price;
    QString spareText2;
    QString role1;
    QString role2;
    QString shotdate;
    QString photodate2;
    QString orderpayforkey;
    QString orderpath;
    QString lyrapath;
    QString lyraSelectedPath;
    QString lyraRelPath;
    QString pickuptime;
    QString spareText3;
    QString twosales;
    QString selectphotoname;
    QString role10;
    QString isurgenttime;
    QString pickupTypeText;
    QString orderbaseprice;
    QString tiaosename;
    QString tiaoxiname;
    QString storesname;
    QString gotodigitaltime;
    QString bakpicpath;
    QString homepicpath;
    QString picpath;
    QString lyraSelectRoot;
};

#endif
