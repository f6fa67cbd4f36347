#include "separation/ProductPlan.h"

#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/SeparationFolders.h"

#include <QDebug>
#include <QHash>
#include <QJsonArray>
#include <QSet>
#include <QStringBuilder>

namespace {

// Names already given within one reply (or one set), each looked up once:
// a reply of many goods of one name must not search from "(1)" every time.
class UniqueNames
{
public:
    bool contains(const QString& name) const { return m_used.contains(name); }
    void insert(const QString& name) { m_used.insert(name); }

    // The first "name(n)" not given yet. Names are never taken back, so the
    // search goes on from the number found last time for the same name.
    QString numbered(const QString& name)
    {
        int& n = m_lastNumber[name];
        QString candidate;
        do
            candidate = QStringLiteral("%1(%2)").arg(name).arg(++n);
        while (m_used.contains(candidate));
        return candidate;
    }

private:
    QSet<QString> m_used;
    QHash<QString, int> m_lastNumber;
};

// The fields of one good object the separation reads; "getgooddate" is
// spelled with a blank in the first goods list. A top-level good also gives
// its "ishomemade" and "parentid", which the record does not keep.
GoodsInfo readGood(const QJsonObject& object, const char* dateKey, QString* homemade = nullptr,
                   QString* parentId = nullptr)
{
    static const QHash<QString, GoodsTextField> fields = {
        {QStringLiteral("id"), &GoodsInfo::id},
        {QStringLiteral("goodid"), &GoodsInfo::goodId},
        {QStringLiteral("goodsizename"), &GoodsInfo::goodSizeName},
        {QStringLiteral("goodtypename"), &GoodsInfo::goodTypeName},
        {QStringLiteral("costing"), &GoodsInfo::costing},
        {QStringLiteral("weight"), &GoodsInfo::weight},
        {QStringLiteral("descr"), &GoodsInfo::descr},
        {QStringLiteral("isurgent"), &GoodsInfo::isUrgent},
        {QStringLiteral("goodpnumber"), &GoodsInfo::goodPNumber},
        {QStringLiteral("p_num"), &GoodsInfo::pNum},
        {QStringLiteral("goodamount"), &GoodsInfo::goodAmount},
        {QStringLiteral("goodpagenumber"), &GoodsInfo::goodPageNumber},
        {QStringLiteral("goodtypeid"), &GoodsInfo::goodTypeId},
        {QStringLiteral("factoryname"), &GoodsInfo::factoryName},
        {QStringLiteral("goodremark"), &GoodsInfo::goodRemark},
        {QStringLiteral("auth_remark"), &GoodsInfo::authRemark},
    };
    GoodsInfo good;
    QString name;
    QString isEms;
    QString picPath;
    const QLatin1String date(dateKey);
    readGoodsTexts(&good, object, fields, [&](const QString& key, const QJsonValue& value) {
        if (key == QLatin1String("goodname"))
            name = value.toString();
        else if (key == date)
            good.getGoodDate = value.toString();
        else if (key == QLatin1String("isems"))
            isEms = value.toString();
        else if (key == QLatin1String("picpath"))
            picPath = value.toString();
        else if (homemade && key == QLatin1String("ishomemade"))
            *homemade = value.toString();
        else if (parentId && key == QLatin1String("parentid"))
            *parentId = value.toString();
    });
    good.goodName = cleanProductName(name.replace(QLatin1Char('*'), QLatin1Char('x')));
    good.pickupText = isEms == QLatin1String("0") ? QStringLiteral("自取") : QStringLiteral("快递");
    if (!picPath.isEmpty())
        good.photoNames = picPath.split(QLatin1Char('|'));
    return good;
}

// What every good of one reply shares: how it is read and the order's parts
// of its folder names, cleaned once rather than for each good.
struct ReplyReading
{
    ReplyReading(const QJsonObject& reply, ProductPlan::Reading reading)
        : afterSample(reading == ProductPlan::Reading::AfterSample)
        , idFlag(afterSample ? QString()
                             : reply.value(QStringLiteral("shop_set"))
                                   .toObject()
                                   .value(QStringLiteral("fenjian_ishaveordergoodid"))
                                   .toString())
        , bookingNumber(sanitizeFileName(g_curOrderPayForKey))
        , customerNames(sanitizeFileName(g_curCustomerNames))
        , pickupTime(sanitizeFileName(g_curPickupTime))
        , designer(sanitizeFileName(g_curRole10))
    {
    }

    const bool afterSample;
    const QString idFlag;
    const QString bookingNumber;
    const QString customerNames;
    const QString pickupTime;
    const QString designer;
};

// Logs a goods list; a reply of thousands of goods would take longer to
// print than to read, so a long one is logged by its size.
void logGoods(const char* label, const QJsonArray& goods)
{
    const int kLoggedGoods = 200;
    if (goods.size() <= kLoggedGoods)
        qDebug() << label << goods;
    else
        qDebug() << label << goods.size() << "goods";
}

// Reads the goods of one array into `plan`, numbering display names across
// both arrays through `usedNames`.
void readGoods(const QJsonArray& array, bool secondList, const ReplyReading& reading, UniqueNames* usedNames,
               ProductPlan* plan)
{
    const bool afterSample = reading.afterSample;
    const QString& idFlag = reading.idFlag;
    // Factories, types, amounts and dates repeat from good to good: each
    // text is cleaned once.
    QHash<QString, QString> cleaned;
    const auto safe = [&cleaned](const QString& text) {
        auto it = cleaned.constFind(text);
        if (it == cleaned.constEnd())
            it = cleaned.insert(text, sanitizeFileName(text));
        return it.value();
    };
    for (const QJsonValue& value : array) {
        const QJsonObject object = value.toObject();
        if (secondList && goodsText(object, "goodname").contains(QLatin1Char('*')))
            qDebug() << "包含*******************";
        QString homemade;
        QString parentId;
        // The record is filled where it stays rather than copied there.
        const int goodsIndex = plan->goods.size();
        plan->goods.append(GoodsInfo());
        GoodsInfo& good = plan->goods.last();
        good = readGood(object, secondList || afterSample ? "getgooddate" : "get gooddate", &homemade, &parentId);
        good.displayName = idFlag == QLatin1String("1") ? safe(good.id) + QLatin1Char('#') + good.goodName
                                                        : good.goodName;
        if (usedNames->contains(good.goodName))
            good.displayName = usedNames->numbered(good.goodName);
        usedNames->insert(good.displayName);
        good.isChild = false;
        good.children = parseChildGoods(object, !afterSample);
        if (afterSample)
            continue;

        const QString urgency = good.isUrgent == QLatin1String("1") ? safe(good.getGoodDate + QStringLiteral("急"))
                                                                    : reading.pickupTime;
        // The pickup text is one of the two texts readGood gives.
        const auto tail = [&](const QString& gap) -> QString {
            return QLatin1Char(' ') % reading.bookingNumber % gap % reading.customerNames % QLatin1Char(' ') % urgency
                % QStringLiteral("取 ") % reading.designer % QStringLiteral(" 【") % good.pickupText
                % QStringLiteral("】/");
        };
        ProductDirInfo dir;
        dir.goodName = good.goodName;
        dir.displayName = good.displayName;
        dir.goodTypeName = good.goodTypeName;
        dir.goodTypeId = good.goodTypeId;
        dir.photoNames = good.photoNames;
        dir.goodsIndex = goodsIndex;
        if (homemade == QLatin1String("1")) {
            dir.firstpath = safe(good.factoryName) % QLatin1Char('/');
            dir.isHomemade = QStringLiteral("1");
            dir.nameTail = tail(QStringLiteral(" "));
            dir.secoendpath = good.displayName % (secondList ? tail(QStringLiteral("  ")) : dir.nameTail);
        } else {
            dir.isHomemade = QStringLiteral("0");
            dir.goodAmount = good.goodAmount;
            dir.firstpath = safe(good.factoryName) % tail(QStringLiteral(" "));
            dir.secoendpath = good.displayName % QLatin1Char(' ') % safe(good.goodTypeName) % QLatin1Char(' ')
                % safe(good.goodAmount) % QLatin1Char('/');
        }
        if (g_isShowSubproduct == QLatin1String("0") || parentId == QLatin1String("0"))
            plan->dirs.append(dir);
        if (g_isShowSubproduct != QLatin1String("1"))
            continue;
        for (const GoodsInfo& child : qAsConst(good.children)) {
            ProductDirInfo sub;
            sub.firstpath = dir.firstpath;
            sub.secoendpath = dir.secoendpath;
            sub.nameTail = dir.nameTail;
            sub.goodName = child.goodName;
            sub.goodTypeName = child.goodTypeName;
            sub.goodTypeId = child.goodTypeId;
            sub.goodAmount = child.goodAmount;
            sub.photoNames = child.photoNames;
            sub.isHomemade = QStringLiteral("1");
            sub.goodsIndex = goodsIndex;
            const QString prefix = idFlag == QLatin1String("1")
                ? safe(child.id) + QLatin1Char('#') + good.goodName + QLatin1Char('_')
                : QString();
            sub.subProductPath = prefix % child.goodName % QLatin1Char(' ') % safe(child.goodTypeName)
                % QLatin1Char(' ') % safe(child.goodAmount) % QLatin1Char('/');
            plan->dirs.append(sub);
        }
    }
}

} // namespace

QString cleanProductName(QString name)
{
    name = name.trimmed();
    static const QString removed = QStringLiteral("\\/:*？?\"'“”‘’<《>》|");
    for (const QChar c : removed)
        name.remove(c);
    // One pass from the left: each non-overlapping pair of blanks goes.
    name.replace(QStringLiteral("  "), QString());
    return name;
}

QList<GoodsInfo> parseChildGoods(QJsonObject good, bool numbered)
{
    QList<GoodsInfo> children;
    UniqueNames used;
    for (const QJsonValue& value : good.value(QStringLiteral("son_good")).toArray()) {
        GoodsInfo child = readGood(value.toObject(), "getgooddate");
        if (numbered && used.contains(child.goodName))
            child.goodName = used.numbered(child.goodName);
        used.insert(child.goodName);
        child.isChild = true;
        children.append(child);
    }
    return children;
}

ProductPlan ProductPlan::read(const QJsonObject& reply, Reading reading)
{
    const ReplyReading replyReading(reply, reading);
    const QJsonObject order = reply.value(QStringLiteral("order")).toObject();
    const QJsonArray goods0 = order.value(QStringLiteral("ordergoods0")).toArray();
    const QJsonArray goods2 = order.value(QStringLiteral("ordergoods2")).toArray();
    logGoods("orderGoods0", goods0);
    logGoods("orderGoods2", goods2);
    ProductPlan plan;
    UniqueNames usedNames;
    readGoods(goods0, false, replyReading, &usedNames, &plan);
    readGoods(goods2, true, replyReading, &usedNames, &plan);
    return plan;
}

QString makeProductFolder(const QString& orderFolder, const QString& base, const ProductDirInfo& dir, int index)
{
    const QString label = dir.label();
    QString folder = orderFolder + base + dir.secoendpath + dir.subProductPath;
    qDebug() << "finalPath==" << index << "--" << folder;
    qDebug() << "firstpath==" << index << "--" << base;
    qDebug() << "secoendpath==" << index << "--" << dir.secoendpath;
    SeparationFolders::makePath(orderFolder + base);
    if (!FileOperation::isDirExist(folder)) {
        SeparationFolders::makePath(folder);
    } else if (index <= 499) {
        for (int n = 1;; ++n) {
            // A sub-product numbers its own folder inside its product's.
            const QString numbered = !dir.subProductPath.isEmpty()
                ? QStringLiteral("%1%2 (%3)/").arg(dir.secoendpath, dir.subProductPath.chopped(1)).arg(n)
                : dir.isHomemade == QLatin1String("1")
                ? QStringLiteral("%1 (%2)%3").arg(label).arg(n).arg(dir.nameTail)
                : QStringLiteral("%1 (%2) %3 %4/")
                      .arg(label)
                      .arg(n)
                      .arg(sanitizeFileName(dir.goodTypeName), sanitizeFileName(dir.goodAmount));
            const QString candidate = orderFolder + base + numbered;
            qDebug() << (dir.subProductPath.isEmpty() ? "newPath1: " : "newPath2: ") << candidate;
            if (!FileOperation::isDirExist(candidate)) {
                SeparationFolders::makePath(candidate);
                folder = candidate;
                break;
            }
        }
    }
    return folder;
}
