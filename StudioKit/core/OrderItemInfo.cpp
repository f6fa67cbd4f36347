#include "core/OrderItemInfo.h"

#include <QDebug>
#include <QStringList>

namespace {

QString joinNonEmpty(const QStringList& parts, const QString& separator)
{
    QStringList present;
    for (const QString& part : parts) {
        if (!part.isEmpty())
            present << part;
    }
    return present.join(separator);
}

} // namespace

OrderItemInfo OrderItemInfo::fromOrderElement(const QJsonObject& element, Tool tool)
{
    const auto text = [&element](const char* key) { return element.value(QLatin1String(key)).toString(); };

    OrderItemInfo item;
    const QJsonObject roots = element.value(QLatin1String("picpathnew")).toObject();
    const auto root = [&roots](const char* key) {
        return roots.contains(QLatin1String(key)) ? roots.value(QLatin1String(key)).toString()
                                                  : QStringLiteral("");
    };
    item.bakpicpath = root("bakpicpath");
    item.homepicpath = root("homepicpath");
    item.picpath = root("picpath");

    item.order_photo_id = text("order_photo_id");
    item.servicetimes = text("servicetimes");
    item.names = joinNonEmpty({text("bname"), text("wname"), text("mname")}, QStringLiteral("-"));
    item.phones = joinNonEmpty({text("mphone"), text("wphone")}, QStringLiteral("/"));
    item.phototype = text("phototype");
    item.comboname = text("comboname");
    item.order_price = text("order_price");
    item.role1 = text("role1");
    item.role2 = text("role2");
    item.shotdate = text("shotdate");
    item.photodate2 = text("photodate2");
    item.orderpayforkey = text("orderpayforkey");
    item.orderpath = text("orderpath");
    item.pickuptime = text("pickuptime");
    item.twosales = text("twosales");
    item.selectphotoname = text("selectphotoname");
    const QString role10 = text("role10");
    item.role10 = role10 == QLatin1String("0") ? QStringLiteral("") : role10;
    item.isurgenttime = text("isurgenttime");
    const QString pickupType = text("pickuptype");
    if (pickupType == QLatin1String("1"))
        item.pickupTypeText = QStringLiteral("快递");
    else if (pickupType == QLatin1String("2"))
        item.pickupTypeText = QStringLiteral("部分");
    else
        item.pickupTypeText = QStringLiteral("自取");
    item.orderbaseprice = text("orderbaseprice");
    item.tiaosename = text("tiaosename");
    item.tiaoxiname = text("tiaoxiname");
    item.storesname = text("storesname");
    if (tool != Tool::BatchDeletion)
        item.gotodigitaltime = text("gotodigitaltime");

    if (tool == Tool::Lyra) {
        item.lyraSelectRoot = root("lyrapath") + QStringLiteral("\\选版服务器\\");
        item.lyrapath = text("lyrapath");
        if (!item.lyrapath.isEmpty()) {
            item.lyraRelPath = QString(item.lyrapath).remove(item.lyraSelectRoot, Qt::CaseSensitive);
            item.lyraSelectedPath = item.lyraSelectRoot + QStringLiteral("[已选]") + item.lyraRelPath;
        }
    } else {
        qDebug() << "store_picpath" << item.picpath;
    }
    return item;
}
