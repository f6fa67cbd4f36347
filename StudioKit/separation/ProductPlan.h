#ifndef PRODUCTPLAN_H
#define PRODUCTPLAN_H

#include "separation/GoodsInfo.h"
#include "separation/ProductDirInfo.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// The products reply ("ordergoods20230521") of the order being separated,
// read into its goods and its product-folder plan. Free helpers shared by
// the design, after-sample and Lyra separation.
//
// Use: after the reply's "code" is "1", fill the current-order globals'
// order first, then `ProductPlan plan = ProductPlan::read(object);`,
// `g_orderGoodsList = plan.goods;` and keep `plan.dirs` for the product stage.
struct ProductPlan
{
    QList<GoodsInfo> goods; // "ordergoods0" then "ordergoods2"
    QList<ProductDirInfo> dirs;

    // How a window reads the goods. The after-sample separation reads
    // "getgooddate" in both lists, ignores the shop's line-id flag, leaves
    // sub-goods' names unnumbered and plans no product folders.
    enum class Reading { DesignSeparation, AfterSample };

    // Reads with the current-order globals (booking number, names, pickup
    // time, designer) and g_isShowSubproduct. Every text of the service that
    // becomes part of a folder name passes sanitizeFileName.
    static ProductPlan read(const QJsonObject& reply, Reading reading = Reading::DesignSeparation);
};

// Trims, removes the characters a product folder cannot show and deletes
// each pair of adjacent blanks once from the left ("  " and "    " vanish,
// "   " leaves one).
QString cleanProductName(QString name);

// The sub-goods ("son_good") of one good object, names made unique within
// the good unless `numbered` is false.
QList<GoodsInfo> parseChildGoods(QJsonObject good, bool numbered = true);

// Makes the folder of one planned product below the separation order folder
// (`base` is the entry's firstpath, empty in the 沐禾 layout). A folder that
// exists already gets a numbered sibling, for the first 500 entries; returns
// the folder to copy into.
QString makeProductFolder(const QString& orderFolder, const QString& base, const ProductDirInfo& dir, int index);

#endif
