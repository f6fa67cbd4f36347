#ifndef IMPORTBATCHRUN_H
#define IMPORTBATCHRUN_H

#include <QList>
#include <QString>
#include <QStringList>

class ImportOrderModel;

// The bookkeeping of one press of "批量导片", without widgets: the orders it
// has still to start (each once; orders added while it runs wait for the
// next press), the orders it finished, the files in the running order's
// folders before its import, and the copy jobs of a running Lyra order. The
// window starts the orders this names and shows what it counts.
//
//     batch.begin(check.ordersToImport());
//     const int row = batch.firstRow(orders, type);
//     batch.orderStarting(orders.at(row), type);   // then start its worker
//     // ... the worker finished:
//     batch.orderFinished();
//     report(batch.picnumber(order, type), batch.picbacknumber(order, type));
//     const int next = batch.followingRow(orders, row + 1, type);
class ImportBatchRun
{
public:
    // Every press counts anew, also one that is then refused.
    void recount(const QList<ImportOrderModel*>& ordersToImport);
    void begin(const QList<ImportOrderModel*>& ordersToImport);

    // The first row whose order is not imported in the type, or -1.
    int firstRow(const QList<ImportOrderModel*>& orders, int type) const;
    // The first row from `fromRow` on whose order this batch has still to
    // start, or -1.
    int followingRow(const QList<ImportOrderModel*>& orders, int fromRow, int type) const;
    // Counts the order's files of the type (and of its backup, for originals
    // and finished images) and takes the order off the orders to start.
    void orderStarting(ImportOrderModel* order, int type);
    // Files that arrived since the before-counts: in the order folder, and
    // in the backup folder (always 0 but for originals and finished images).
    int picnumber(const ImportOrderModel* order, int type) const;
    int picbacknumber(const ImportOrderModel* order, int type) const;

    void orderFinished() { ++ordersDone; }
    quint16 finishedOrders() const { return ordersDone; }
    quint16 plannedOrders() const { return ordersToImport; }
    bool isComplete() const { return ordersDone == ordersToImport; }

    // The running Lyra order's copy jobs: each reports once, copied or
    // failed, in any order.
    void lyraCopiesStarting();
    // The number of jobs that have reported, this one included.
    int lyraFileCopied() { return ++lyraCopiedCount; }
    void lyraFileFailed(const QString& failure) { lyraFailures << failure; }
    // Files of the running Lyra order that did not arrive.
    QStringList failedLyraFiles() const { return lyraFailures; }

private:
    int beforeCount = 0;
    int bakBeforeCount = 0;
    int lyraCopiedCount = 0;
    quint16 ordersDone = 0;
    quint16 ordersToImport = 0;
    QList<ImportOrderModel*> ordersToStart;
    QStringList lyraFailures;
};

#endif
