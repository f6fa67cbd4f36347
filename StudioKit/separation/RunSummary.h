#ifndef RUNSUMMARY_H
#define RUNSUMMARY_H

#include "separation/SeparateMessage.h"

#include <QDate>
#include <QList>
#include <QString>

// What the summary window of a separation run shows and proposes, built
// from the run's result records alone, so the design, after-sample and Lyra
// runs all report alike.
class RunSummary
{
public:
    // Per record with anything to report: "订单" + booking number, then one
    // line per non-empty list; empty when nothing at all is to be reported.
    static QString text(const QList<SeparateMessage>& messages);
    // The window title: success only when no copy, file write or bar code failed.
    static QString title(const QList<SeparateMessage>& messages);
    static bool hasFailures(const QList<SeparateMessage>& messages);
    // The date folder under `root`, "/", every record's booking number
    // joined with "、" and "分件结果.txt".
    static QString saveName(const QList<SeparateMessage>& messages, const QString& root, const QDate& date);
};

#endif
