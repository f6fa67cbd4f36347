#include "separation/LocalProductionSheet.h"

#include "core/Globals.h"
#include "files/ImageData.h"
#include "files/OrderFolders.h"
#include "separation/MarkImages.h"
#include "separation/OrderSheetFields.h"

#include <QDebug>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>

namespace {

const char kHead[] =
    "<HTML><head><meta http-equiv=\"Content-Language\" content=\"zh-cn\">"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb232\"><title></title></head>"
    "<body leftmargin=\"0\"><div align=\"center\"><style type=\"text/css\"><!--"
    ".style1 {font-size: 24px;font-weight: bold;font-family: \"微软雅黑\",\"Tahoma\";}"
    ".style2 {font-size: 16px;font-weight: bold;font-family: \"微软雅黑\",\"Tahoma\";}"
    ".style4 {font-size: 16px;font-weight: bold;font-family: \"黑体\",\"Tahoma\";}"
    ".style3 {font-size: 12px;font-family: \"微软雅黑\",\"Tahoma\";}"
    ".justify1 {display: inline-block;width: 100%;overflow: hidden;}"
    "body,td,th {font-size: 14px;font-family: \"微软雅黑\",\"Tahoma\";}"
    "p {margin: 0px;padding: 0px;}"
    "--></style>";
const char kCell[] = "    <td class=\"td_thin\" width=\"25%\"><div align=\"left\">";                            // E1
const char kBarCode[] = "<img  align=\"center\" src=\"file:///";                                                // E2
const char kImageEnd[] = "\" />";                                                                               // E3
const char kMarksTable[] = "<table cellspacing=\"0\" cellspacing=\"10\" cellpadding=\"10\" width=\"100%\" frame=\"box\">"; // E4
const char kMarkImage[] = "<img style=\"margin-right: 10;\" src=\"file:///";                                    // E5
const char kMarkList[] = "<ui style=\"list-style-type: none;\">";                                              // E6
const char kSpanStart[] = "    <td rowspan=\"";                                                                 // E7
const char kSpanEnd[] = "\" style=\"height: 0px \"  /td>";                                                      // E8
const char kGridCell[] = "    <td width=5%><div align=\"center\"><span class=\"style3\"><img %1=\"83\" src=\"file:///"; // E9
const char kAlbumCell[] = "    <td><div align=\"center\"><img src=\"file:///";                                  // E10
const char kImageCaption[] = "\"><br>";                                                                         // E11
const int kPhotosPerRow = 6;
// Products of this type are counted in pages.
const char kPagedType[] = "33";

QString cell(const QString& label, const QString& value)
{
    return QLatin1String(kCell) + label + QStringLiteral(":   ") + value.toHtmlEscaped() + QStringLiteral("</div></td>");
}

QString row(const QStringList& cells)
{
    return QStringLiteral("<tr>") + cells.join(QString()) + QStringLiteral("</tr>");
}

QString joined(const QString& first, const QString& second)
{
    return first + QLatin1Char(' ') + second;
}

// The line breaks the reply's line feeds became stay markup; the text
// between them is the service's and is escaped.
QString escapedKeepingBreaks(const QString& text)
{
    const QString brk = QStringLiteral("<BR>");
    QStringList pieces = text.split(brk);
    for (QString& piece : pieces)
        piece = piece.toHtmlEscaped();
    return pieces.join(brk);
}

// "a-b-N-d-TEXT": the number and the text; a shorter record is shown whole.
QString markItem(const QString& mark)
{
    const QStringList fields = mark.split(QLatin1Char('-'));
    if (fields.size() < 5)
        return mark.toHtmlEscaped();
    return QStringLiteral("%1. %2").arg(fields.at(2).toInt()).arg(fields.at(4).toHtmlEscaped());
}

QString openRowIfFirst(int index, const QString& rowStart)
{
    return index % kPhotosPerRow == 0 ? rowStart : QString();
}

QString closeRowIfLast(int index)
{
    return index % kPhotosPerRow == kPhotosPerRow - 1 ? QStringLiteral("</tr>") : QString();
}

} // namespace

void LocalProductionSheet::setClock(std::function<QDateTime()> clock)
{
    m_clock = std::move(clock);
}

QString LocalProductionSheet::build(const OrderSheetFields& fields, const QString& barPath, int* goodsPhotoTotal)
{
    m_goods.clear();
    for (const GoodsInfo& good : g_orderGoodsList)
        m_goods.insert(good.id, good);

    QString page = QString::fromUtf8(kHead);
    page += QStringLiteral("<table width=\"100%\" border=\"0\"><tr bgcolor=\"#FFFFFF\">"
                           "<td width=\"33%\" align=\"center\"></td>"
                           "<td width=\"33%\" align=\"center\"><span class=\"style1\">")
            + fields.shopName.toHtmlEscaped()
            + QStringLiteral("</span></td><td width=\"33%\" align=\"center\">") + QLatin1String(kBarCode)
            + barPath.toHtmlEscaped() + QLatin1String(kImageEnd) + QStringLiteral("</td></tr></table><br>");
    appendOrderBlock(page, fields);
    appendRequirement(page, QStringLiteral("总体要求"), escapedKeepingBreaks(fields.orderDescr));
    appendRequirement(page, QStringLiteral("消费要求"), fields.consumptionStatement.toHtmlEscaped());
    appendMarks(page, fields.picsMarkArr);

    page += QStringLiteral("<p><span class=\"style2\">指定制作</span></p>");
    for (int k = 0; k < fields.serviceTimeArray.size(); ++k) {
        const QJsonObject service = fields.serviceTimeArray.at(k).toObject();
        if (!service.value(QStringLiteral("urgentgoods")).toArray().isEmpty())
            appendGoodsTable(page, Table::Urgent, k + 1, service, fields);
        const QJsonArray goods = service.value(QStringLiteral("goods")).toArray();
        if (!goods.isEmpty())
            appendGoodsTable(page, Table::Normal, k + 1, service, fields);
        qDebug() << "1111产品数量是：" << goods.size();
    }

    appendAlbum(page);
    page += QStringLiteral("<table width=\"100%\" border=\"0\"><tr><td align=\"left\">")
            + fields.shopDisclaimer.toHtmlEscaped() + QStringLiteral("<BR></td></tr></table><BR>");
    page += QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr>"
                           "<td width=\"18%\" align=\"left\" class=\"style2\">选片人：")
            + fields.selectPhotoName.toHtmlEscaped()
            + QStringLiteral("</td>"
                             "<td width=\"25%\" align=\"left\" class=\"style2\">核单员：___________&nbsp;</td>"
                             "<td width=\"25%\" align=\"left\" class=\"style2\">收发人：___________&nbsp;</td>"
                             "<td width=\"32%\" align=\"left\" class=\"style2\">客人确认签名：___________&nbsp;</td>"
                             "</tr></table></div><BR>");
    const QDateTime now = m_clock ? m_clock() : QDateTime::currentDateTime();
    page += QStringLiteral("<div align=\"center\" style=\"font-size: 12px\"><p align=\"right\">")
            + now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) + QStringLiteral("</p></div></body></HTML>");
    if (goodsPhotoTotal)
        *goodsPhotoTotal = m_goodsPhotoTotal;
    return page;
}

void LocalProductionSheet::appendOrderBlock(QString& page, const OrderSheetFields& f) const
{
    page += QStringLiteral("<table width=\"100%\" border=\"0\"><tr><td>"
                           "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"1\">");
    const QString orderText = QStringLiteral("%1(服务次:%2)")
                                  .arg(f.orderPayForKey, QStringLiteral("%1/%2").arg(f.serviceTimes, f.serviceCount));
    if (g_sheetWideHeader == QLatin1String("1")) {
        page += row({cell(QStringLiteral("订单号"), orderText), cell(QStringLiteral("宝宝姓名"), f.babyName),
                     cell(QStringLiteral("宝宝性别"), f.babySex), cell(QStringLiteral("宝宝生日"), f.babyBirthday)});
    } else {
        page += QStringLiteral("<tr><td colspan=\"4\" align=\"center\">订单号:   ") + orderText.toHtmlEscaped()
                + QStringLiteral("</td></tr>");
    }
    const QString emptyCell = QLatin1String(kCell) + QStringLiteral("</div></td>");
    page += row({cell("男士", f.manName), cell("手机", f.manPhone), cell("女士", f.womanName),
                 cell("手机", f.womanPhone)});
    page += row({cell("套系", f.packageName), cell("预约店", f.bookingShop), cell("服务店", f.serviceShop),
                 cell("预约日期", f.bookingTime)});
    page += row({cell("拍照日期", f.shootDate), cell("选片日期", joined(f.selectDate, f.selectTime)),
                 cell("看精修日期", joined(f.retouchReviewDate, f.retouchReviewTime)),
                 cell("看版日期", joined(f.layoutReviewDate, f.layoutReviewTime))});
    page += row({cell("门市", f.storeSeller), cell("网约", f.onlineBooker), cell("推广", f.promoter),
                 cell("选片师", f.photoSelector)});
    page += row({cell("对比片选中张数", f.comparePhotoCount), cell("相册P数", f.albumPageCount),
                 cell("套系约定精修", f.packageRetouchCount), cell("已选张数", f.selectedCount)});
    page += row({cell("摄影师", f.photographer), cell("摄像师", f.videographer), cell("化妆师", f.makeupArtist),
                 cell("男士邮箱", f.manMail)});
    page += row({cell("摄助", f.photoAssistant), cell("剪辑师", f.videoEditor), cell("化助", f.makeupAssistant),
                 cell("女士邮箱", f.womanMail)});
    page += row({cell("精修师", f.retoucher), cell("转档师", f.transferStaff), emptyCell, emptyCell});
    page += row({cell("预约金额", f.orderPrice), cell("二销总额", f.secondSalesTotal),
                 cell("二销欠款", f.secondSalesDebt), cell("支付方式", f.payType)});
    page += row({cell("样前对比片", f.preSampleRetoucher), cell("样后修片师", f.postSampleRetoucher),
                 cell("设计师", f.designer), cell("发货日期", joined(f.shipDate, f.shipTime))});
    const QString qualityCell = QStringLiteral("    <td class=\"td_thin\" width=\"25%\" style=\"color:#FF3300\">"
                                               "<div align=\"left\">质检日期:   ")
                                + f.qualityCheckDate.toHtmlEscaped() + QStringLiteral("</div></td>");
    page += row({cell("购买毛底张数", f.boughtRawCount), cell("赠送精修张数", f.giftRetouchCount),
                 cell("购买精修张数", f.boughtRetouchCount), qualityCell});
    page += QStringLiteral("<tr><td colspan=\"4\" align=\"left\">收件人姓名:   ") + f.recipientName.toHtmlEscaped()
            + QStringLiteral("     电话：") + f.recipientPhone.toHtmlEscaped() + QStringLiteral("    地址：")
            + f.recipientAddress.toHtmlEscaped() + QStringLiteral("</td></tr>");
    page += QStringLiteral("</table></td></tr></table><BR>");
}

void LocalProductionSheet::appendRequirement(QString& page, const QString& heading, const QString& text) const
{
    if (text.isEmpty())
        return;
    page += QStringLiteral("<table width=\"100%\" border=\"0\"><tr><td align=\"left\"><span class=\"style2\">")
            + heading
            + QStringLiteral("</span></td></tr></table>"
                             "<table width=\"100%\" cellspacing=\"0\" border=\"1\"><tr><td align=\"left\">")
            + text + QStringLiteral("&nbsp;</td></tr></table><BR>");
}

void LocalProductionSheet::appendMarks(QString& page, const QList<QStringList>& picsMarkArr) const
{
    qDebug() << "markPath====" << getMarksDir();
    // A name from the service that could leave the folder is never followed.
    QList<QStringList> marked;
    for (const QStringList& entry : picsMarkArr) {
        if (!entry.isEmpty() && !MarkImages::isUnsafeName(entry.first()))
            marked << entry;
    }
    if (marked.isEmpty())
        return;
    page += QStringLiteral("<table width=\"100%\" border=\"0\"><tr><td align=\"left\"><span class=\"style2\">"
                           "调修要求</span></td></tr></table>")
            + QLatin1String(kMarksTable);
    const QString folder = MarkImages::targetFolder();
    for (int i = 0; i < marked.size(); ++i) {
        const QString name = marked.at(i).first();
        if (i % 2 == 0)
            page += QStringLiteral("<tr>");
        QImage picture;
        MarkImages::copy(name, getMarksDir(), folder, &picture);
        page += QStringLiteral("<td>") + QLatin1String(kMarkImage) + (folder + name).toHtmlEscaped()
                + QLatin1Char('"')
                + (picture.width() > picture.height() ? QStringLiteral("width=\"120\"") : QStringLiteral("height=\"120\""))
                + QStringLiteral("align=\"left\">") + QLatin1String(kMarkList);
        for (int m = 1; m < marked.at(i).size(); ++m)
            page += QStringLiteral("<li>") + markItem(marked.at(i).at(m)) + QStringLiteral("</li>");
        page += QStringLiteral("</ui></td>");
        if (i % 2 == 1)
            page += QStringLiteral("</tr>");
    }
    page += QStringLiteral("</table><BR>");
}

void LocalProductionSheet::appendGoodsTable(QString& page, Table table, int serviceNumber,
                                            const QJsonObject& service, const OrderSheetFields& fields)
{
    const bool urgent = table == Table::Urgent;
    const QJsonArray entries = service.value(urgent ? QStringLiteral("urgentgoods") : QStringLiteral("goods")).toArray();
    QStringList urgentIds;
    for (const QJsonValue& entry : service.value(QStringLiteral("urgentgoods")).toArray())
        urgentIds << entry.toObject().value(QStringLiteral("id")).toString();

    QString serviceText;
    const QString selector = service.value(QStringLiteral("role12name")).toString().toHtmlEscaped();
    if (service.value(QStringLiteral("order_sample_infoservicetimes")).toString() == QLatin1String("0")) {
        serviceText = QStringLiteral("未操作产品");
    } else {
        serviceText = QStringLiteral("选片次:%1/%2").arg(serviceNumber).arg(fields.sampleInfoServiceTimes.toHtmlEscaped())
                      + (urgent ? QStringLiteral("  选片师: <span style=\"color:#000000\">") + selector
                                      + QStringLiteral("</span>")
                                : QStringLiteral("  选片师:") + selector)
                      + QStringLiteral("  ");
    }
    page += QStringLiteral("<table class=\"thinborder\" width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"1\">"
                           "<tr><td colspan=\"11\" align=\"left\">");
    page += urgent ? QStringLiteral("<span class=\"style4\" style=\"color:#FF0000\">加急件：")
                   : QStringLiteral("<span class=\"style2\" style=\"color:#000000\">普通件：");
    page += serviceText + (urgent ? fields.urgentTime : fields.shipDate).toHtmlEscaped()
            + QStringLiteral("取件</span>&nbsp;</td></tr>");
    const QList<QPair<const char*, int>> titles = {
        {"序号", 5}, {"名称", 10}, {"类别", 5}, {"P数", 5}, {"加P数", 5}, {"张数", 5}, {"数量", 5},
        {"制作要求", urgent ? 15 : 20}, {"备注", urgent ? 15 : 10}, {"产品说明(对内)", 15}, {"授权备注(对外)", 15}};
    page += QStringLiteral("<tr bgcolor=\"#CCCCCC\">");
    for (const auto& title : titles)
        page += QStringLiteral("<td width=\"%1%\" align=\"center\">%2</td>").arg(title.second).arg(QString::fromUtf8(title.first));
    page += QStringLiteral("</tr>");

    int rowNumber = 0;
    m_goodsPhotoTotal = 0;
    for (const QJsonValue& entry : entries) {
        GoodsInfo good = m_goods.value(entry.toObject().value(QStringLiteral("id")).toString());
        const bool passes = urgent ? good.isUrgent == QLatin1String("1")
                                   : !good.isChild && good.isUrgent == QLatin1String("0");
        if (!passes)
            continue;
        page += QStringLiteral("<tr><td align=\"center\">%1</td>").arg(++rowNumber);
        appendGoodsCells(page, good);
        page += QStringLiteral("</tr>");

        int photoRows = 0;
        for (GoodsInfo& child : good.children) {
            if (m_goods.contains(child.id) && (!urgent || urgentIds.contains(child.id)))
                child = m_goods.value(child.id);
            if (urgent || !child.photoNames.isEmpty())
                ++photoRows;
        }
        // The first column spans every row of the set: one per sub-good and
        // one per photo row written below it.
        for (int c = 0; c < good.children.size(); ++c) {
            const GoodsInfo& child = good.children.at(c);
            qDebug() << (urgent ? "加急子产品名称：" : "子产品名称：") << child.goodName << child.photoNames.size();
            page += QStringLiteral("<tr>");
            if (c == 0)
                page += QLatin1String(kSpanStart) + QString::number(good.children.size() + photoRows)
                        + QLatin1String(kSpanEnd);
            appendGoodsCells(page, child);
            page += QStringLiteral("</tr>");
            if (urgent || !child.photoNames.isEmpty()) {
                page += QStringLiteral("<tr><td colspan=\"10\">");
                appendPhotoGrid(page, child.photoNames, nullptr);
                page += QStringLiteral("</td></tr>");
            }
        }
        page += QStringLiteral("<tr><td colspan=\"11\">");
        appendPhotoGrid(page, good.photoNames, urgent ? "分件html-*照片列表-wan" : "imgName=");
        page += QStringLiteral("</td></tr>");
    }
    page += QStringLiteral("<tr><td align=\"center\">总计</td><td colspan=\"11\">产品总数:%1件, 选中总张数共%2张</td></tr>"
                           "</table><BR>")
                .arg(rowNumber)
                .arg(m_goodsPhotoTotal);
}

// The cells from 名称 to 授权备注(对外) of a good or sub-good.
void LocalProductionSheet::appendGoodsCells(QString& page, const GoodsInfo& good)
{
    const auto centred = [](const QString& value) {
        return QStringLiteral("<td align=\"center\">") + value.toHtmlEscaped() + QStringLiteral("</td>");
    };
    const auto left = [](const QString& value) {
        return QStringLiteral("<td align=\"left\">") + value.toHtmlEscaped() + QStringLiteral("</td>");
    };
    const auto bold = [](const QString& value, const char* align) {
        return QStringLiteral("<td align=\"%1\"><span class=\"style2\">").arg(QLatin1String(align)) + value.toHtmlEscaped()
               + QStringLiteral("</span></td>");
    };
    page += bold(good.goodName, "left") + left(good.goodTypeName);
    if (good.goodTypeId == QLatin1String(kPagedType)) {
        page += centred(good.goodPNumber) + centred(good.pNum) + bold(good.goodPageNumber, "center");
        m_goodsPhotoTotal += good.goodPageNumber.toInt();
    } else {
        page += centred(QString()) + centred(QString()) + centred(QString());
    }
    page += bold(good.goodAmount, "center") + left(good.descr) + left(good.remarks) + left(good.goodRemark)
            + left(good.authRemark);
}

void LocalProductionSheet::appendPhotoGrid(QString& page, const QStringList& photoNames, const char* debugLine) const
{
    const QString folder = getSheetThumbDir();
    page += QStringLiteral("<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\">");
    for (int j = 0; j < photoNames.size(); ++j) {
        const QString name = photoNames.at(j).section(QLatin1Char('/'), -1);
        if (debugLine)
            qDebug() << debugLine << name;
        // Thumbnails are 88 pixels on their long side: the wide ones fit by width.
        const bool wide = QImageReader(folder + name).size().width() == 88;
        page += openRowIfFirst(j, QStringLiteral("<tr bgcolor=\"#FFFFFF\">"))
                + QLatin1String(kGridCell).arg(wide ? QStringLiteral("width") : QStringLiteral("height"))
                + (folder + name).toHtmlEscaped() + QLatin1String(kImageCaption) + name.toHtmlEscaped()
                + QStringLiteral("</div></td>") + closeRowIfLast(j);
    }
    page += QStringLiteral("</table>");
}

void LocalProductionSheet::appendAlbum(QString& page) const
{
    qDebug() << "分件html-成品相册";
    const QList<Image> images = *ImageData::getInstance()->getFineImages();
    const QString folder = getSheetThumbDir();
    page += QStringLiteral("<BR><p align=\"center\"><span class=\"style2\">已选张数 （%1张）&nbsp;</span></p>"
                           "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\" "
                           "style=\"margin-left: -20px\">")
                .arg(images.size());
    for (int j = 0; j < images.size(); ++j) {
        const QString name = images.at(j).getFileName();
        page += openRowIfFirst(j, QStringLiteral("<tr>")) + QLatin1String(kAlbumCell) + (folder + name).toHtmlEscaped()
                + QLatin1String(kImageCaption) + name.toHtmlEscaped() + QStringLiteral("<BR>")
                + images.at(j).descr.toHtmlEscaped() + QStringLiteral("&nbsp;</div></td>") + closeRowIfLast(j);
    }
    page += QStringLiteral("</table><BR>");
}
