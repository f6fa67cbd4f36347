#ifndef ORDERSEARCHTYPE_H
#define ORDERSEARCHTYPE_H

#include "core/SearchBody.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// One way of searching the order list ("order_list"): the text the search
// combo shows, the number sent as "searchtype", the builder's pair order and
// where the keyword comes from. Shared by the search windows of the design,
// after-sample and Lyra separation and the batch delete.
//
// Use: find the combo's text with `named`; `keyword` gives the keyword (an
// empty typed one means: show "警告" with `emptyKeywordText`, send nothing);
// `body` builds the body up to, not including, "&storesids=".
struct OrderSearchType
{
    enum class KeywordSource { Typed, CalendarDate };

    QString text;
    int number;
    SearchKeyOrder order;
    KeywordSource source;
    QString emptyKeywordText; // for typed keywords

    // All fourteen types, in the order the search compares the combo's text.
    static const QList<OrderSearchType>& all();
    // The type shown as `text`; nullptr when none is.
    static const OrderSearchType* named(const QString& text);
    // The eleven texts of the separation windows' combo, in combo order.
    static QStringList separationTexts();

    // The typed text exactly as typed (not trimmed), or the day as "yyyy-MM-dd".
    QString keyword(const QString& typed, const QDate& day) const;
    QByteArray body(const QString& keyword) const;
};

#endif
