#ifndef SEARCHBODY_H
#define SEARCHBODY_H

#include "core/FormBody.h"

#include <QString>
#include <QVector>

// The pairs an order search sends. Every search tool sends the same values,
// each builder under its own key order; the service reads them by position
// in some versions, so the order is kept exactly.
enum class SearchKey { ShopId, SearchType, Keyword, SuperId, Uid, Eid, PersonId };
using SearchKeyOrder = QVector<SearchKey>;

// "token=" first, then the pairs of `order`: the login globals ("eid" and
// "personid" both carry g_eid), the type number and the keyword. Callers
// append what follows (such as "storesids").
FormBody searchBody(const SearchKeyOrder& order, int searchType, const QString& keyword);

#endif
