#ifndef EXPRESSHTML_H
#define EXPRESSHTML_H

#include "separation/GoodsInfo.h"

#include <QDateTime>
#include <QJsonObject>
#include <QMap>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Builds the courier product sheet "快递产品信息" of one order: the goods that
// go by courier, grouped by delivery address, as one HTML page. One builder
// serves the orders of a run one after another.
class ExpressHtml : public QObject
{
    Q_OBJECT

public:
    explicit ExpressHtml(QObject* parent = nullptr);
    ~ExpressHtml() override;

    // Regroups the goods of a products reply and returns the whole page.
    QString getExpressHtml(QJsonObject reply);

    // The print time at the foot of the page; the current time by default.
    void setClock(std::function<QDateTime()> clock);

private:
    // Adds a good read from the reply to the group of its address.
    void addExpressGood(const GoodsInfo& good);
    void appendAddressBlock(QString& page, const QString& addressId, const QString& pickupTime,
                            const QString& urgentTime) const;

    // The courier goods of the last reply in reply order, as read slice by
    // slice; the groups point into them.
    QVector<QVector<GoodsInfo>> courierGoods;
    QMap<QString, QVector<const GoodsInfo*>> goodsByAddress;
    QSet<QString> urgentAddressIds;
    QStringList addressIds;
    std::function<QDateTime()> m_clock;
};

#endif
