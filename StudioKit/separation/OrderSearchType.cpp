#include "separation/OrderSearchType.h"

namespace {

using K = SearchKey;
using Source = OrderSearchType::KeywordSource;

// The five pair orders of the order_list builders.
const SearchKeyOrder kOrderA = {K::Eid, K::ShopId, K::SearchType, K::SuperId, K::Keyword, K::PersonId, K::Uid};
const SearchKeyOrder kOrderB = {K::ShopId, K::SearchType, K::Eid, K::PersonId, K::Uid, K::SuperId, K::Keyword};
const SearchKeyOrder kOrderC = {K::ShopId, K::SearchType, K::SuperId, K::Keyword, K::Eid, K::Uid, K::PersonId};
const SearchKeyOrder kOrderD = {K::ShopId, K::SearchType, K::SuperId, K::Keyword, K::Eid, K::PersonId, K::Uid};
const SearchKeyOrder kOrderE = {K::ShopId, K::SearchType, K::Eid, K::SuperId, K::Keyword, K::PersonId, K::Uid};

OrderSearchType dateType(const char* text, int number, const SearchKeyOrder& order)
{
    return {QString::fromUtf8(text), number, order, Source::CalendarDate, QString()};
}

OrderSearchType typedType(const char* text, int number, const SearchKeyOrder& order, const char* emptyText)
{
    return {QString::fromUtf8(text), number, order, Source::Typed, QString::fromUtf8(emptyText)};
}

} // namespace

const QList<OrderSearchType>& OrderSearchType::all()
{
    static const QList<OrderSearchType> types = {
        typedType("预约单号", 1, kOrderA, "请输入订单号"),
        dateType("拍摄日期", 4, kOrderD),
        dateType("选片日期", 5, kOrderD),
        dateType("预约日期", 6, kOrderD),
        dateType("发货日期", 7, kOrderD),
        typedType("姓名", 2, kOrderB, "请输入姓名"),
        typedType("电话", 3, kOrderC, "请输入电话"),
        dateType("选片完成日期", 8, kOrderE),
        dateType("取件完成日期", 10, kOrderE),
        dateType("品管安排日期", 11, kOrderE),
        dateType("转设计时间", 12, kOrderB),
        dateType("上件日期", 9, kOrderB),
        dateType("转数码日期", 13, kOrderE),
        dateType("设计分配日期", 14, kOrderE),
    };
    return types;
}

const OrderSearchType* OrderSearchType::named(const QString& text)
{
    for (const OrderSearchType& type : all()) {
        if (type.text == text)
            return &type;
    }
    return nullptr;
}

QStringList OrderSearchType::separationTexts()
{
    return {QStringLiteral("转数码日期"), QStringLiteral("预约单号"), QStringLiteral("拍摄日期"),
            QStringLiteral("选片日期"),   QStringLiteral("选片完成日期"), QStringLiteral("上件日期"),
            QStringLiteral("预约日期"),   QStringLiteral("发货日期"), QStringLiteral("设计分配日期"),
            QStringLiteral("姓名"),       QStringLiteral("电话")};
}

QString OrderSearchType::keyword(const QString& typed, const QDate& day) const
{
    return source == Source::Typed ? typed : day.toString(QStringLiteral("yyyy-MM-dd"));
}

QByteArray OrderSearchType::body(const QString& keyword) const
{
    return searchBody(order, number, keyword).bytes();
}
