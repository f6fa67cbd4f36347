#include "separation/ProductPlan.h"

#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/ReadInSlices.h"
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
            candidate = name % QLatin1Char('(') % QString::number(++n) % QLatin1Char(')');
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
    static const QVector<GoodsTextKey> fields = {
        {QLatin1String("id"), &GoodsInfo::id},
        {QLatin1String("goodid"), &GoodsInfo::goodId},
        {QLatin1String("goodsizename"), &GoodsInfo::goodSizeName},
        {QLatin1String("goodtypename"), &GoodsInfo::goodTypeName},
        {QLatin1String("costing"), &GoodsInfo::costing},
        {QLatin1String("weight"), &GoodsInfo::weight},
        {QLatin1String("descr"), &GoodsInfo::descr},
        {QLatin1String("isurgent"), &GoodsInfo::isUrgent},
        {QLatin1String("goodpnumber"), &GoodsInfo::goodPNumber},
        {QLatin1String("p_num"), &GoodsInfo::pNum},
        {QLatin1String("goodamount"), &GoodsInfo::goodAmount},
        {QLatin1String("goodpagenumber"), &GoodsInfo::goodPageNumber},
        {QLatin1String("goodtypeid"), &GoodsInfo::goodTypeId},
        {QLatin1String("factoryname"), &GoodsInfo::factoryName},
        {QLatin1String("goodremark"), &GoodsInfo::goodRemark},
        {QLatin1String("auth_remark"), &GoodsInfo::authRemark},
    };
    GoodsInfo good;
    readGoodsTexts(&good, object, fields);
    QString name = goodsText(object, "goodname");
    good.getGoodDate = goodsText(object, dateKey);
    if (homemade)
        *homemade = goodsText(object, "ishomemade");
    if (parentId)
        *parentId = goodsText(object, "parentid");
    const QString isEms = goodsText(object, "isems");
    const QString picPath = goodsText(object, "picpath");
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
        , showSubproduct(g_isShowSubproduct)
    {
    }

    const bool afterSample;
    const QString idFlag;
    const QString bookingNumber;
    const QString customerNames;
    const QString pickupTime;
    const QString designer;
    const QString showSubproduct;
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

// A good object of the reply and whether it comes from the second list.
struct ReplyGood
{
    QJsonObject object;
    bool secondList = false;
};

// One good as read on its own, before its name is numbered across the reply.
struct ReadGood
{
    GoodsInfo good;
    bool secondList = false;
    QString homemade;
    QString parentId;
};

ReadGood readReplyGood(const ReplyGood& replyGood, bool afterSample)
{
    const QJsonObject& object = replyGood.object;
    if (replyGood.secondList && goodsText(object, "goodname").contains(QLatin1Char('*')))
        qDebug() << "包含*******************";
    ReadGood read;
    read.secondList = replyGood.secondList;
    read.good = readGood(object, replyGood.secondList || afterSample ? "getgooddate" : "get gooddate", &read.homemade,
                         &read.parentId);
    read.good.children = parseChildGoods(object, !afterSample);
    return read;
}

// Texts of the service cleaned for folder names, each once: factories,
// types, amounts and dates repeat from good to good.
class CleanTexts
{
public:
    const QString& operator()(const QString& text)
    {
        auto it = m_cleaned.constFind(text);
        if (it == m_cleaned.constEnd())
            it = m_cleaned.insert(text, sanitizeFileName(text));
        return it.value();
    }

private:
    QHash<QString, QString> m_cleaned;
};

// The product folders of one good (the `goodsIndex`th of the plan, read as
// `read`) and of its sub-goods.
void planFolders(const GoodsInfo& good, const ReadGood& read, int goodsIndex, const ReplyReading& reading,
                 CleanTexts& safe, QVector<ProductDirInfo>* dirs)
{
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
    if (read.homemade == QLatin1String("1")) {
        dir.firstpath = safe(good.factoryName) % QLatin1Char('/');
        dir.isHomemade = QStringLiteral("1");
        dir.nameTail = tail(QStringLiteral(" "));
        dir.secoendpath = good.displayName % (read.secondList ? tail(QStringLiteral("  ")) : dir.nameTail);
    } else {
        dir.isHomemade = QStringLiteral("0");
        dir.goodAmount = good.goodAmount;
        dir.firstpath = safe(good.factoryName) % tail(QStringLiteral(" "));
        dir.secoendpath = good.displayName % QLatin1Char(' ') % safe(good.goodTypeName) % QLatin1Char(' ')
            % safe(good.goodAmount) % QLatin1Char('/');
    }
    if (reading.showSubproduct == QLatin1String("0") || read.parentId == QLatin1String("0"))
        dirs->append(dir);
    if (reading.showSubproduct != QLatin1String("1"))
        return;
    for (const GoodsInfo& child : good.children) {
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
        const QString prefix = reading.idFlag == QLatin1String("1")
            ? safe(child.id) + QLatin1Char('#') + good.goodName + QLatin1Char('_')
            : QString();
        sub.subProductPath = prefix % child.goodName % QLatin1Char(' ') % safe(child.goodTypeName) % QLatin1Char(' ')
            % safe(child.goodAmount) % QLatin1Char('/');
        dirs->append(sub);
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
    QVector<ReplyGood> replyGoods;
    replyGoods.reserve(goods0.size() + goods2.size());
    for (const QJsonValue& value : goods0)
        replyGoods.append({value.toObject(), false});
    for (const QJsonValue& value : goods2)
        replyGoods.append({value.toObject(), true});

    // Each good is read on its own, side by side; its display name depends on
    // the goods before it, its folders on its display name.
    QVector<QVector<ReadGood>> readSlices =
        readInSlices<QVector<ReadGood>>(replyGoods.size(), [&](int begin, int end) {
            QVector<ReadGood> slice;
            slice.reserve(end - begin);
            for (int i = begin; i < end; ++i)
                slice.append(readReplyGood(replyGoods.at(i), replyReading.afterSample));
            return slice;
        });

    ProductPlan plan;
    plan.goods.reserve(replyGoods.size());
    QVector<const ReadGood*> readGoods;
    readGoods.reserve(replyGoods.size());
    UniqueNames usedNames;
    CleanTexts safe;
    for (QVector<ReadGood>& slice : readSlices) {
        for (ReadGood& read : slice) {
            GoodsInfo& good = read.good;
            good.displayName = replyReading.idFlag == QLatin1String("1")
                ? safe(good.id) + QLatin1Char('#') + good.goodName
                : good.goodName;
            if (usedNames.contains(good.goodName))
                good.displayName = usedNames.numbered(good.goodName);
            usedNames.insert(good.displayName);
            // Moved rather than copied: a copy counts a reference per text.
            plan.goods.append(GoodsInfo());
            plan.goods.last() = std::move(good);
            readGoods.append(&read);
        }
    }
    if (replyReading.afterSample)
        return plan;

    const QVector<QVector<ProductDirInfo>> dirSlices =
        readInSlices<QVector<ProductDirInfo>>(readGoods.size(), [&](int begin, int end) {
            QVector<ProductDirInfo> slice;
            CleanTexts sliceSafe;
            for (int i = begin; i < end; ++i)
                planFolders(plan.goods.at(i), *readGoods.at(i), i, replyReading, sliceSafe, &slice);
            return slice;
        });
    plan.dirs.reserve(readGoods.size());
    for (const QVector<ProductDirInfo>& slice : dirSlices) {
        for (const ProductDirInfo& dir : slice)
            plan.dirs.append(dir);
    }
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
            // Built piece by piece: a "%" in a name is text, not a place for arg().
            const QString number = QStringLiteral(" (") % QString::number(n) % QLatin1Char(')');
            QString numbered;
            // A sub-product numbers its own folder inside its product's.
            if (!dir.subProductPath.isEmpty())
                numbered = dir.secoendpath % dir.subProductPath.chopped(1) % number % QLatin1Char('/');
            else if (dir.isHomemade == QLatin1String("1"))
                numbered = label % number % dir.nameTail;
            else
                numbered = label % number % QLatin1Char(' ') % sanitizeFileName(dir.goodTypeName) % QLatin1Char(' ')
                    % sanitizeFileName(dir.goodAmount) % QLatin1Char('/');
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
