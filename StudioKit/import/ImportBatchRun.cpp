#include "import/ImportBatchRun.h"

#include "import/ImportFileCounts.h"
#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"

#include <QDebug>

void ImportBatchRun::recount(const QList<ImportOrderModel*>& ordersToImport)
{
    this->ordersToImport = quint16(ordersToImport.size());
}

void ImportBatchRun::begin(const QList<ImportOrderModel*>& ordersToImport)
{
    ordersToStart = ordersToImport;
    ordersDone = 0;
}

int ImportBatchRun::firstRow(const QList<ImportOrderModel*>& orders, int type) const
{
    for (int row = 0; row < orders.size(); ++row) {
        const ImportOrderModel* order = orders.at(row);
        qDebug() << "orderMdl is:" << order->orderNumber();
        qDebug() << "orderMdl isImported:" << (order->isImported(type) ? "true" : "false");
        if (!order->isImported(type))
            return row;
    }
    return -1;
}

int ImportBatchRun::followingRow(const QList<ImportOrderModel*>& orders, int fromRow, int type) const
{
    for (int row = fromRow; row < orders.size(); ++row) {
        ImportOrderModel* order = orders.at(row);
        qDebug() << "2orderMdl row is:" << row;
        qDebug() << "2orderMdl is:" << order->orderNumber();
        qDebug() << "2orderMdl isImported:" << (order->isImported(type) ? "true" : "false");
        if (!order->isImported(type) && ordersToStart.contains(order))
            return row;
    }
    return -1;
}

void ImportBatchRun::orderStarting(ImportOrderModel* order, int type)
{
    ordersToStart.removeOne(order);
    beforeCount = 0;
    bakBeforeCount = 0;
    if (type == importOrdersPhotoDlg::TypeLyra)
        return;
    beforeCount = countTypeFiles(order->importOrderPath(), type);
    if (type <= importOrdersPhotoDlg::TypeFinished)
        bakBeforeCount = countTypeFiles(order->importOrderBakPath(), type);
}

int ImportBatchRun::picnumber(const ImportOrderModel* order, int type) const
{
    return countTypeFiles(order->importOrderPath(), type) - beforeCount;
}

int ImportBatchRun::picbacknumber(const ImportOrderModel* order, int type) const
{
    if (type > importOrdersPhotoDlg::TypeFinished)
        return 0;
    return countTypeFiles(order->importOrderBakPath(), type) - bakBeforeCount;
}

void ImportBatchRun::lyraCopiesStarting()
{
    lyraCopiedCount = 0;
    lyraFailures.clear();
}
