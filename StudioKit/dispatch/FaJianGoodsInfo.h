#ifndef FAJIANGOODSINFO_H
#define FAJIANGOODSINFO_H

#include <QString>

// One goods line of an order in the dispatch window.
struct FaJianGoodsInfo
{
    QString orderid;
    QString id; // sent as "ordergoodid"; "0" for an order without goods
    QString goodname;
    QString goodtypeid; // "15": the page count is shown
    QString goodsizename;
    QString goodtype;
    QString number;
    QString pnumber;
    QString isurgent;
    QString descr;
    QString printshopname;
    QString factoryname;
    QString sendToFactoryTime2;
    QString sendToPrintshopTime2;
    bool ready = false; // all fields read
};

#endif
