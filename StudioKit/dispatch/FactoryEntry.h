#ifndef FACTORYENTRY_H
#define FACTORYENTRY_H

#include <QString>

// A finishing factory offered for the goods of an order.
struct FactoryEntry
{
    QString id;
    QString name;
};

#endif
