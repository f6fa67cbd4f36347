#include "separation/ExpressHtml.h"

#include "separation/ReadInSlices.h"

#include <QJsonArray>
#include <QLatin1String>
#include <QStringBuilder>

namespace {

// Values from the service are escaped: the sheet goes through QTextDocument,
// where a "<" or "&" in a name would swallow text or add markup.
QString escaped(const QString& value)
{
    // Most values hold nothing to escape: keep them without a copy.
    for (const QChar c : value) {
        if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('&') || c == QLatin1Char('"'))
            return value.toHtmlEscaped();
    }
    return value;
}

const QString kHead = QStringLiteral("<HTML>"
                          "<head>"
                          "<meta http-equiv=\"Content-Language\" content=\"zh-cn\">"
                          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">"
                          "<title></title>"
                          "</head>"
                          "<body leftmargin=\"0\">"
                          "<div align=\"center\">");

const QString kStyle = QStringLiteral("<style type=\"text/css\">"
                           ".style1 {"
                           "\tfont-size: 24px;"
                           "\tfont-weight: bold;"
                           "\tfont-family: \"微软雅黑\",\"Tahoma\";"
                           "}"
                           ".thinborder{border-collapse:collapse;border-spacing:0;border-left:1px solid #888;"
                           "border-top:1px solid #000;}"
                           ".td_thin{border-right:1px solid #000;border-bottom:1px solid #000;padding:5px 15px;}"
                           "</style>");

const QString kTitleBeforeSelector = QStringLiteral("<p><table width=100%  border=0 cellspacing=0 cellpadding=1;>"
                                         "<tr bgcolor=\"#FFFFFF\"><td width=27%><div align=\"center\"></div></td>"
                                         "<td width=46%><div align=\"center\">"
                                         "<span align=\"center\" class=\"style1\">快递产品信息</span>"
                                         "</div></td><td width=27%><div align=\"right\">"
                                         "<table width=\"100%\"   cellspacing=\"0\" cellpadding=\"1\" border=\"1\">"
                                         "  <tr>"
                                         "    <td align=\"left\" class=\"style2\">选片师姓名：");
const QString kTitleAfterSelector = QStringLiteral("</td>"
                                        "  </tr>"
                                        "</table>"
                                        "</div></td></tr></table></p>"
                                        "<BR>");

const QString kOrderOpen = QStringLiteral("<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\">"
                               "<tr><td align=\"center\">"
                               "<table width=\"100%\" border=\"1\" align=\"center\" cellpadding=\"0\" cellspacing=\"0\">"
                               "  <tr>");
const QString kOrderLabelOpen = QStringLiteral("    <td><div align=\"left\" >");
const QString kOrderLabelClose = QStringLiteral("</div></td>");
const QString kOrderClose = QStringLiteral("  </tr>"
                                "</table></td></tr></table>"
                                "<BR>");

const QString kGroupOpen = QStringLiteral("<table width=\"100%\"  border=\"0\" cellspacing=\"0\" cellpadding=\"0\">"
                               "<tr><td align=\"center\">"
                               "<table width=\"100%\" border=\"1\" align=\"center\" cellpadding=\"0\" cellspacing=\"0\">");
const QString kContactName = QStringLiteral("联系人: <span style=\"color: #0000FF\">");
const QString kContactPhone = QStringLiteral("</span>    联系电话:  <span style=\"color: #0000FF\">");
const QString kContactPostcode = QStringLiteral("</span>     邮编: <span style=\"color: #0000FF\">");
const QString kContactAddress = QStringLiteral("</span>    地址： <span style=\"color: #0000FF\">");
const QString kContactEnd = QStringLiteral("</span>");
const QString kCourierLineOpen = QStringLiteral("<tr><td colspan=\"6\"><span class=\"style2\"><font color=\"#000000\"> 快递信息： ");
const QString kCourierLineClose = QStringLiteral("</font></td></tr>");
const QString kPickupLineOpen = QStringLiteral("<tr><td colspan=\"6\"><span class=\"style2\"><font color=\"#000000\">普通件：");
const QString kPickupSuffix = QStringLiteral("取件");
const QString kPickupOrdinaryClose = QStringLiteral("</font>");
const QString kPickupUrgentOpen = QStringLiteral("     <font color=\"#DC143C\">加急件：");
const QString kPickupUrgentClose = QStringLiteral("取件</font>");
const QString kPickupLineClose = QStringLiteral("</span>&nbsp;</td></tr>");
const QString kGoodsHeader = QStringLiteral("  <tr bgcolor=\"#CCCCCC\">"
                                 "    <td width=\"10%\"><div align=\"center\">序号</div></td>"
                                 "    <td width=\"40%\"><div align=\"center\">产品名称</div></td>"
                                 "    <td width=\"10%\"><div align=\"center\">类别</div></td>"
                                 "    <td width=\"10%\"><div align=\"center\">数量</div></td>"
                                 "    <td width=\"10%\"><div align=\"center\">P数</div></td>"
                                 "    <td width=\"20%\"><div align=\"center\">发货日期</div></td>"
                                 "  </tr>");
const QString kRowOpen = QStringLiteral("  <tr>");
const QString kCellCentre = QStringLiteral("    <td align=\"center\">");
const QString kCellLeft = QStringLiteral("    <td align=\"left\">");
const QString kCellClose = QStringLiteral("</td>");
const QString kCellUrgentDateOpen = QStringLiteral("    <td align=\"center\"><span class=\"style2\"><font color=\"#DC143C\">");
const QString kCellUrgentDateClose = QStringLiteral("</font></span></td>");
const QString kRowClose = QStringLiteral("  </tr>");
const QString kTotalOpen = QStringLiteral("<tr>"
                               "<td><div align=\"center\">总计</div></td>"
                               "<td colspan=\"5\"><div align=\"center\">产品总数:");
const QString kTotalClose = QStringLiteral("件</div>"
                                "</td></tr>"
                                "</table></td></tr></table>");
const QString kGroupGap = QStringLiteral("<BR>");

const QString kClosing = QStringLiteral("<BR>"
                             "<BR>"
                             "<table width=\"100%\"  border=\"0\" cellspacing=\"0\" cellpadding=\"1\">"
                             "  <tr>"
                             "    <td align=\"left\" class=\"style2\" width=\"50%\">费用合计：________________</td>"
                             "    <td align=\"left\" class=\"style2\" width=\"50%\">客户签字：________________</td>"
                             "  </tr>"
                             "</table>"
                             "<div style=\"font-size:12px\" align=\"center\"><p align=\"right\">");
const QString kEnd = QStringLiteral("</p></div>"
                         "</body>"
                         "</HTML>");

const QString kNoPickupDate = QStringLiteral("1970-01-01");
// Category whose goods have no P count on the sheet.
const QString kCategoryWithoutPCount = QStringLiteral("33");

// Characters reserved for the page: its fixed parts and one row per good.
const int kPageReserve = 65536;
const int kRowReserve = 512;

// A good of the reply that goes by courier, and the name of its set, empty
// for a good of its own.
struct CourierGood
{
    QJsonObject good;
    QString parentGoodName;
};

// The courier goods of an order in reply order. A set is not listed itself
// but through its sub-goods, which are reached only through their set.
QVector<CourierGood> listCourierGoods(const QJsonObject& order)
{
    QVector<CourierGood> listed;
    const auto list = [&listed](const QJsonObject& good, const QString& parentGoodName) {
        if (goodsText(good, "isems") == QLatin1String("1"))
            listed.append({good, parentGoodName});
    };
    for (const char* listKey : {"ordergoods0", "ordergoods2"}) {
        const QJsonArray goods = order.value(QLatin1String(listKey)).toArray();
        for (const QJsonValue& value : goods) {
            const QJsonObject good = value.toObject();
            const QString parentId = goodsText(good, "parentid");
            if (!parentId.isEmpty() && parentId != QLatin1String("0"))
                continue;
            if (goodsText(good, "isexist") != QLatin1String("1")) {
                list(good, QString());
                continue;
            }
            const QString setName = goodsText(good, "goodname");
            const QJsonArray children = good.value(QLatin1String("son_good")).toArray();
            for (const QJsonValue& child : children)
                list(child.toObject(), setName);
        }
    }
    return listed;
}

} // namespace

ExpressHtml::ExpressHtml(QObject* parent) : QObject(parent), m_clock(&QDateTime::currentDateTime) {}

ExpressHtml::~ExpressHtml() = default;

void ExpressHtml::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

void ExpressHtml::addExpressGood(const GoodsInfo& good)
{
    auto group = goodsByAddress.find(good.addressId);
    if (group == goodsByAddress.end()) {
        addressIds.append(good.addressId);
        group = goodsByAddress.insert(good.addressId, {});
    }
    group->append(&good);
    if (good.isUrgent == QLatin1String("1"))
        urgentAddressIds.insert(good.addressId);
}

QString ExpressHtml::getExpressHtml(QJsonObject reply)
{
    const QJsonObject order = reply.value(QLatin1String("order")).toObject();
    const QJsonObject orderInfo = reply.value(QLatin1String("order_info")).toObject();
    const QString urgentTime = goodsText(order, "isurgenttime");
    const QString pickupTime = goodsText(order, "pickuptime");

    goodsByAddress.clear();
    addressIds.clear();
    urgentAddressIds.clear();

    const QVector<CourierGood> listed = listCourierGoods(order);
    courierGoods = readInSlices<QVector<GoodsInfo>>(listed.size(), [&listed](int begin, int end) {
        QVector<GoodsInfo> slice(end - begin);
        for (int i = begin; i < end; ++i) {
            GoodsInfo& good = slice[i - begin];
            good.setJson(listed.at(i).good);
            good.parentGoodName = listed.at(i).parentGoodName;
        }
        return slice;
    });
    for (const QVector<GoodsInfo>& slice : qAsConst(courierGoods)) {
        for (const GoodsInfo& good : slice)
            addExpressGood(good);
    }

    const auto value = [](const QJsonObject& object, const char* key) { return escaped(goodsText(object, key)); };
    const auto orderCell = [](const QString& label, const QString& text) {
        return kOrderLabelOpen + label + kOrderLabelClose + kOrderLabelOpen + text +
               kOrderLabelClose;
    };

    // Reserved for long rows: memory is only touched once written, and
    // a page that grows step by step copies itself into new memory each time.
    QString page;
    page.reserve(kPageReserve + listed.size() * kRowReserve);
    page += kHead + kStyle;
    page += kTitleBeforeSelector + value(order, "role12name") + kTitleAfterSelector;

    page += kOrderOpen;
    page += orderCell(QStringLiteral("订单号"),
                      value(orderInfo, "orderpayforkey") + QLatin1Char('-') + value(order, "servicetimes"));
    page += orderCell(QStringLiteral("客人姓名"),
                      value(orderInfo, "wname") + QLatin1Char('/') + value(orderInfo, "mname"));
    page += orderCell(QStringLiteral("客人电话"),
                      value(orderInfo, "wphone") + QLatin1Char('/') + value(orderInfo, "mphone"));
    page += kOrderClose;

    for (int i = 0; i < addressIds.size(); ++i) {
        if (i > 0)
            page += kGroupGap;
        appendAddressBlock(page, addressIds.at(i), pickupTime, urgentTime);
    }

    page += kClosing + m_clock().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + kEnd;
    return page;
}

void ExpressHtml::appendAddressBlock(QString& page, const QString& addressId, const QString& pickupTime,
                                     const QString& urgentTime) const
{
    const QVector<const GoodsInfo*> group = goodsByAddress.value(addressId);
    const QString pickup = escaped(pickupTime);
    const QString urgent = escaped(urgentTime);

    page += kGroupOpen;

    QString contact;
    if (!group.isEmpty()) {
        const GoodsInfo& first = *group.first();
        contact = kContactName + escaped(first.receiverName) + kContactPhone +
                  escaped(first.receiverPhone) + kContactPostcode + escaped(first.postcode) +
                  kContactAddress + escaped(first.province + first.city + first.county + first.address) +
                  kContactEnd;
    }
    page += kCourierLineOpen + contact + kCourierLineClose;

    page += kPickupLineOpen;
    if (!pickupTime.isEmpty() && pickupTime != kNoPickupDate)
        page += pickup + kPickupSuffix;
    page += kPickupOrdinaryClose;
    if (urgentAddressIds.contains(addressId) && !urgentTime.isEmpty())
        page += kPickupUrgentOpen + urgent + kPickupUrgentClose;
    page += kPickupLineClose;

    page += kGoodsHeader;
    int row = 0;
    for (const GoodsInfo* courierGood : group) {
        const GoodsInfo& good = *courierGood;
        // A set among the sub-goods has no row of its own, yet counts in the total.
        if (good.isExist)
            continue;
        const QString name = good.isChild ? good.parentGoodName % QLatin1Char('-') % good.goodName : good.goodName;
        const bool noPCount = good.goodTypeId == kCategoryWithoutPCount;
        const bool urgentGood = good.isUrgent == QLatin1String("1");
        // Built in place: a page of many goods must not copy itself per cell.
        page += kRowOpen % kCellCentre % QString::number(++row) % kCellClose % kCellLeft % escaped(name) % kCellClose
            % kCellCentre % escaped(good.goodTypeName) % kCellClose % kCellCentre % escaped(good.goodAmount)
            % kCellClose % kCellCentre % (noPCount ? QString() : escaped(good.goodPNumber)) % kCellClose
            % (urgentGood ? kCellUrgentDateOpen : kCellCentre) % (urgentGood ? urgent : pickup)
            % (urgentGood ? kCellUrgentDateClose : kCellClose) % kRowClose;
    }
    page += kTotalOpen + QString::number(group.size()) + kTotalClose;
}
