#include "dispatch/DispatchSearchType.h"

#include "core/FormBody.h"
#include "core/Globals.h"

QByteArray DispatchSearchType::body(const QString& keyword) const
{
    FormBody form;
    for (const Pair& pair : pairs) {
        switch (pair.value) {
        case Token: form.add(pair.key, ACCESS_TOKEN); break;
        case ShopId: form.add(pair.key, g_shopId); break;
        case SuperId: form.add(pair.key, g_superId); break;
        case StaffId: form.add(pair.key, g_eid); break;
        case TypeNumber: form.add(pair.key, number); break;
        case Keyword: form.add(pair.key, keyword); break;
        }
    }
    return form.bytes();
}
