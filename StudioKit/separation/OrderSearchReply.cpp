#include "separation/OrderSearchReply.h"

#include "core/Dialogs.h"

#include <QJsonArray>

namespace OrderSearchReply {

bool apply(const QJsonObject& reply, OrderItemInfo::Tool tool, QList<OrderItemInfo>* orders,
           const std::function<void()>& refill)
{
    const QString code = reply.value(QStringLiteral("code")).toString();
    if (code != QLatin1String("1")) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("检索错误：") + code, QMessageBox::Yes,
                             QMessageBox::Yes);
        return false;
    }
    const QJsonArray data = reply.value(QStringLiteral("data")).toArray();
    orders->clear();
    for (const QJsonValue& element : data)
        orders->append(OrderItemInfo::fromOrderElement(element.toObject(), tool));
    refill();
    if (orders->isEmpty())
        Dialogs::information(nullptr, QStringLiteral("提示"), QStringLiteral("没有查询到任何订单"), QMessageBox::Yes,
                             QMessageBox::Yes);
    return true;
}

} // namespace OrderSearchReply
