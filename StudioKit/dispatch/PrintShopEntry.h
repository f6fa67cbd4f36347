#ifndef PRINTSHOPENTRY_H
#define PRINTSHOPENTRY_H

#include <QString>

// A print shop offered for the goods of an order.
struct PrintShopEntry
{
    QString id;
    QString name;
};

#endif
