#ifndef SHANGJIANLEFTINFO_H
#define SHANGJIANLEFTINFO_H

#include <QString>

// One order of the upload-registration window's left list.
struct ShangJianLeftInfo
{
    QString orderNumber; // booking number "-" service count
    QString orderpayforkey;
    QString servicetimes;
    QString customerName;
    QString order_price;
    QString selectphotoname;
    QString twosales;
    QString debt;
    QString orderID; // "order_photo_id", what a registration sends
    QString storesname;
};

#endif
