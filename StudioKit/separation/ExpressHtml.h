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

    // Adds a good to the group of its address when it goes by courier;
    // `parentGoodName` names its set, empty for a good of its own.
    void addExpressGood(QJsonObject good, const QString& parentGoodName);
    // Regroups the goods of a products reply and returns the whole page.
    QString getExpressHtml(QJsonObject reply);

    // The print time at the foot of the page; the current time by default.
    void setClock(std::function<QDateTime()> clock);

private:
    void appendAddressBlock(QString& page, const QString& addressId, const QString& pickupTime,
                            const QString& urgentTime) const;

    QMap<QString, QList<GoodsInfo>> goodsByAddress;
    QSet<QString> urgentAddressIds;
    QStringList addressIds;
    std::function<QDateTime()> m_clock;
};

#endif
