#ifndef GOODSINFO_H
#define GOODSINFO_H

#include <QJsonObject>
#include <QLatin1String>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// One product (good) of an order as the products reply describes it. A plain
// value: copies are deep and cheap, `children` included.
struct GoodsInfo
{
    // Fills the fields the courier sheet reads from one good object. Fields
    // that only the products-reply filler writes are left as they are.
    void setJson(QJsonObject good);

    QString isUrgent;
    QString goodId;
    QString goodName;
    QString displayName;
    QString goodTypeName;
    QString goodTypeId;
    QString goodSizeName;
    QString costing;
    QString weight;
    QString id;
    QString getGoodDate;
    QString descr;
    QString goodPNumber;
    QString pNum;
    QString goodPageNumber;
    QString goodAmount;
    QString factoryName;
    QStringList photoNames;
    QString pickupText;
    QString type;
    QString remarks;
    QString serviceTime;
    QString authRemark;
    QString goodRemark;
    bool isExist = false;
    bool isChild = false;
    QList<GoodsInfo> children;
    QString parentGoodName;
    QString number;
    QString parentId;
    QString stock;
    QString expressFactoryName;
    QString factoryKeyx;
    bool isEms = false;
    QString sourceRemarks;
    QString addressId;
    QString province;
    QString provinceId;
    QString city;
    QString cityId;
    QString county;
    QString countyId;
    QString address;
    QString receiverName;
    QString receiverPhone;
    QString postcode;
};

// The value of `key` as the service's text: numbers, booleans, null and
// missing keys read as empty. Both fillers of the record read through it.
QString goodsText(const QJsonObject& object, const char* key);

using GoodsTextField = QString GoodsInfo::*;

// A text field of the record and the key of the object it is read from.
struct GoodsTextKey
{
    QLatin1String key;
    GoodsTextField field;
};

// Fills each of `fields` from its key of `object`, empty when missing.
void readGoodsTexts(GoodsInfo* record, const QJsonObject& object, const QVector<GoodsTextKey>& fields);

// The goods of the order being separated; the products reply replaces them
// before any job of the order starts.
extern QList<GoodsInfo> g_orderGoodsList;

#endif
