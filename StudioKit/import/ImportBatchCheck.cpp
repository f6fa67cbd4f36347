#include "import/ImportBatchCheck.h"

#include "files/FileOperation.h"
#include "import/ImportFileCounts.h"
#include "import/ImportTypes.h"
#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"
#include "Platform.h"

#include <QDebug>
#include <QTemporaryDir>

ImportBatchCheck::ImportBatchCheck(const QList<ImportOrderModel*>& orders, int type)
{
    const QString nothingToImport = QStringLiteral("没有需要导入的订单");
    if (orders.isEmpty()) {
        refuse(QStringLiteral("-"), nothingToImport);
        return;
    }
    for (ImportOrderModel* order : orders) {
        if (!rootIsWritable(order->picRootPath())) {
            refuse(order->orderNumber(), QStringLiteral("您没有服务器写入权限"));
            return;
        }
        const QString missing = missingSelectionText(order, type);
        if (!missing.isEmpty()) {
            refuse(order->orderNumber(), missing);
            return;
        }
        if (!order->isImported(type))
            m_ordersToImport << order;
    }
    if (m_ordersToImport.isEmpty()) {
        refuse(QStringLiteral("-"), nothingToImport);
        return;
    }
    if (type == importOrdersPhotoDlg::TypeLyra)
        return;
    QString withoutFinished;
    for (const ImportOrderModel* order : orders) {
        const QString path = order->importOrderPath();
        if (!path.isEmpty() && !FileOperation::isDirExist(path + QStringLiteral("成品/")))
            withoutFinished += QStringLiteral("订单号:") + order->orderNumber() + QLatin1Char('\n');
    }
    if (!withoutFinished.isEmpty())
        refuse(QStringLiteral("-"), withoutFinished + QStringLiteral("路径不存在"));
}

bool ImportBatchCheck::rootIsWritable(const QString& root)
{
    if (!FileOperation::isDirExist(root))
        return true;
    QTemporaryDir probe(withTrailingSlash(Platform::diskPath(root)) + QStringLiteral("澜叶-XXXXXX"));
    qDebug() << "delPath==" << probe.path();
    return probe.isValid();
}

void ImportBatchCheck::refuse(const QString& order, const QString& message)
{
    m_refusedOrder = order;
    m_refusal = message;
}
