#ifndef DISPATCHSEARCHTYPE_H
#define DISPATCHSEARCHTYPE_H

#include <QList>
#include <QString>

// One search type of the dispatch window ("type" dialect of "order_list"):
// what an empty keyword says, whether the keyword is a date from the pop-up,
// and the pairs of its body in the order the service gets them.
struct DispatchSearchType
{
    // Where the value of a body pair comes from.
    enum Value { Token, ShopId, SuperId, StaffId, TypeNumber, Keyword };
    struct Pair {
        QString key;
        Value value;
    };

    QString emptyMessage;
    bool date = false;
    QString number;
    QList<Pair> pairs;

    // The body of a search of this type, every value through FormBody.
    QByteArray body(const QString& keyword) const;
};

#endif
