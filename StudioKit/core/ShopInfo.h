#ifndef SHOPINFO_H
#define SHOPINFO_H

#include <QString>

// One shop of a login reply.
struct ShopInfo {
    QString name;
    QString id;
};

#endif
