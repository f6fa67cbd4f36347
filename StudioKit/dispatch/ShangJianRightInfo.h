#ifndef SHANGJIANRIGHTINFO_H
#define SHANGJIANRIGHTINFO_H

#include <QString>

// One order of the upload-registration window's right list: found by the
// keyword search or registered in the window.
struct ShangJianRightInfo
{
    QString orderNumber; // booking number "-" service count
    QString orderpayforkey;
    QString servicetimes;
    QString gotodigitalname;
    QString gotodigitaltime;
    QString customerName;
    QString selectphotodate;
    QString selectphototime;
    QString selectphotoname;
    QString getphotodate;
    QString urgentdate;
    QString tiaoxiname;
    QString tiaosename;
    QString storesname;
};

#endif
