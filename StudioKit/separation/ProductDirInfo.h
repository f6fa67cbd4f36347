#ifndef PRODUCTDIRINFO_H
#define PRODUCTDIRINFO_H

#include <QString>
#include <QStringList>

// One product folder of a separation run: separation order folder +
// firstpath + secoendpath (+ subProductPath for a sub-good), and the photos
// to copy into it.
struct ProductDirInfo
{
    QString nameTail;
    QString goodTypeName;
    QString goodTypeId;
    QString goodName;
    QString displayName;
    QString goodAmount;
    QStringList photoNames;
    QString firstpath;
    QString secoendpath;
    QString subProductPath;
    QString isHomemade;
    // Index in g_orderGoodsList of the good the entry was made from (a
    // sub-good's parent), so a copy job can name the product it belongs to.
    int goodsIndex = -1;

    // The name the result lists use: the display name, else the good's name.
    QString label() const { return displayName.isEmpty() ? goodName : displayName; }
};

#endif
