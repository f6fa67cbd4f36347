#include "import/OrderHandOver.h"

#include "files/FileOperation.h"
#include "import/importordermodel.h"
#include "Platform.h"

#include <QDebug>

namespace {

// An import path on a drive whose root is not there cannot take photos.
bool driveRootMissing(const QString& path, const QString& root)
{
    Platform& platform = Platform::instance();
    return platform.namesDrive(path) && root.endsWith(QLatin1Char('/')) && !platform.driveRootExists(root);
}

} // namespace

OrderHandOver::OrderHandOver(const QList<ImportOrderModel*>& listed, const QList<ImportOrderModel*>& handedOver)
{
    QStringList numbers;
    for (const ImportOrderModel* order : listed)
        numbers << order->orderNumber();
    for (ImportOrderModel* order : handedOver) {
        const QString number = order->orderNumber();
        if (numbers.contains(number)) {
            m_duplicates << number;
            continue;
        }
        const QString path = order->importOrderPath();
        const QString root = FileOperation::getDriveRoot(path);
        qDebug() << "orderPath:" << path << "orderRootPath:" << root;
        if (driveRootMissing(path, root)) {
            m_missingRoots << number + QLatin1Char(':') + root;
            continue;
        }
        m_accepted << order;
        numbers << number;
    }
}
