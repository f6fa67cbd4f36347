#ifndef FAJIANORDERROW_H
#define FAJIANORDERROW_H

#include <QString>

// One order of the dispatch window's left table.
struct FaJianOrderRow
{
    QString orderpayforkey; // booking number; unique in the table
    QString customerName;   // "mname", "/" and "wname", as given
    QString order_price;
    QString sheji;
    QString shejitime;
    QString orderid;        // the service's order id, for its goods
    QString getphotodate;
    QString urgentdate;
};

#endif
