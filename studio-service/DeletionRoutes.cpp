#include "Routes.h"
#include "StudioService.h"

#include <QJsonArray>

namespace {

// The staff phone on record and the code its text message would carry.
bool staffPhone(StudioService& service, QString* phone, QString* code)
{
    const QJsonObject staff = service.demo().value(QStringLiteral("staffphone")).toObject();
    *phone = staff.value(QStringLiteral("phone")).toString();
    *code = staff.value(QStringLiteral("code")).toString();
    return !phone->isEmpty();
}

} // namespace

// The batch deletion: the search by closing date ("order_list2"), the report
// of a deleted order folder ("order_photo_del"), which the later order lists
// reflect, and the phone-code check before a deletion ("send_code",
// "send_code_post") with the demo staff phone and its fixed code.
void registerDeletionRoutes(StudioService& service)
{
    service.setHandler(QStringLiteral("order/order_list2"), [&service](const RecordedRequest& request) {
        const QString start = request.value(QStringLiteral("starttime"));
        const QString end = request.value(QStringLiteral("endtime"));
        QJsonArray found;
        for (const QJsonValue& value : service.demo().value(QStringLiteral("orders")).toArray()) {
            const QString closed = value.toObject().value(QStringLiteral("closedate")).toString();
            if (!closed.isEmpty() && closed >= start && closed <= end)
                found << value;
        }
        return Response::success({{QStringLiteral("data"), found}});
    });

    service.setHandler(QStringLiteral("OrderPhoto/order_photo_del"), [&service](const RecordedRequest& request) {
        const bool known = updateOrder(service, request.value(QStringLiteral("orderphotoid")), [](QJsonObject& order) {
            order.insert(QStringLiteral("orderpath"), QString());
        });
        if (!known)
            return Response::failure(QStringLiteral("订单不存在"));
        return Response::success({{QStringLiteral("message"), QStringLiteral("删除记录已保存")}});
    });

    service.setHandler(QStringLiteral("OrderPhoto/send_code"), [&service](const RecordedRequest& request) {
        QString phone, code;
        if (!staffPhone(service, &phone, &code) || request.value(QStringLiteral("phone")) != phone)
            return Response::failure(QStringLiteral("手机号未登记"));
        return Response::success({{QStringLiteral("message"), QStringLiteral("验证码已发送")}});
    });

    service.setHandler(QStringLiteral("OrderPhoto/send_code_post"), [&service](const RecordedRequest& request) {
        QString phone, code;
        if (!staffPhone(service, &phone, &code) || request.value(QStringLiteral("phone")) != phone
            || request.value(QStringLiteral("code")) != code)
            return Response::failure(QStringLiteral("验证码错误"));
        return Response::success({{QStringLiteral("message"), QStringLiteral("验证通过")}});
    });
}
