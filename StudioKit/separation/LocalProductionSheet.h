#ifndef LOCALPRODUCTIONSHEET_H
#define LOCALPRODUCTIONSHEET_H

#include "separation/GoodsInfo.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

struct OrderSheetFields;

// Builds the production sheet "明细制作单" of the order being separated as one
// HTML page from its sheet fields, its goods (`g_orderGoodsList`), its
// finished images (ImageData) and the sheet thumbnails. Values are escaped;
// the line breaks of the overall requirements stay breaks. Building copies
// the marked pictures into the sheet's "marks/" folder, as the run does.
//
//   const QString page = LocalProductionSheet().build(fields, barPath, &total);
class LocalProductionSheet
{
public:
    // The time printed at the foot of the page; the current time by default.
    void setClock(std::function<QDateTime()> clock);

    // `goodsPhotoTotal`, when given, gets the selected photos counted in the
    // last goods table of the page.
    QString build(const OrderSheetFields& fields, const QString& barPath, int* goodsPhotoTotal = nullptr);

private:
    enum class Table { Urgent, Normal };

    void appendOrderBlock(QString& page, const OrderSheetFields& fields) const;
    void appendRequirement(QString& page, const QString& heading, const QString& text) const;
    void appendMarks(QString& page, const QList<QStringList>& picsMarkArr) const;
    void appendGoodsTable(QString& page, Table table, int serviceNumber, const QJsonObject& service,
                          const OrderSheetFields& fields);
    void appendGoodsCells(QString& page, const GoodsInfo& good);
    void appendPhotoGrid(QString& page, const QStringList& photoNames, const char* debugLine) const;
    void appendAlbum(QString& page) const;

    std::function<QDateTime()> m_clock;
    QMap<QString, GoodsInfo> m_goods;
    int m_goodsPhotoTotal = 0;
};

#endif
