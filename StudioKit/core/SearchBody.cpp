#include "core/SearchBody.h"

#include "core/Globals.h"

FormBody searchBody(const SearchKeyOrder& order, int searchType, const QString& keyword)
{
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN);
    for (const SearchKey key : order) {
        switch (key) {
        case SearchKey::ShopId: body.add(QStringLiteral("shopid"), g_shopId); break;
        case SearchKey::SearchType: body.add(QStringLiteral("searchtype"), QString::number(searchType)); break;
        case SearchKey::Keyword: body.add(QStringLiteral("keyword"), keyword); break;
        case SearchKey::SuperId: body.add(QStringLiteral("superid"), g_superId); break;
        case SearchKey::Uid: body.add(QStringLiteral("uid"), g_uid); break;
        case SearchKey::Eid: body.add(QStringLiteral("eid"), g_eid); break;
        case SearchKey::PersonId: body.add(QStringLiteral("personid"), g_eid); break;
        }
    }
    return body;
}
