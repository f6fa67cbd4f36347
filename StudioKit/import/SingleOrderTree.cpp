#include "import/SingleOrderTree.h"

#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "import/OrderFolderTree.h"

#include <QDebug>
#include <QStringList>

bool SingleOrderTree::create(QString serverRoot, QString backupRoot, const QString& folderName,
                             const QString& shotDate, QString* orderPath, QString* backupPath, QString* error)
{
    if (!OrderFolderTree::prepareRoot(serverRoot, false)) {
        qDebug() << "路径错误:" << serverRoot;
        *error = QStringLiteral("服务器路径错误");
        return false;
    }
    QString yearMonth;
    QString day;
    // Customer data that would name no folder of its own, or a date the
    // dated folders cannot be made of, makes nothing.
    if (!OrderFolderTree::splitShotDate(shotDate, &yearMonth, &day)
        || !OrderFolderTree::isUsableFolderName(folderName) || folderName.contains(QLatin1String(".."))) {
        *error = QStringLiteral("客人信息包含特殊字符，请修改后再导片");
        return false;
    }
    const QStringList visible = {photoKindFolders(0).photos, photoKindFolders(1).photos, QStringLiteral("汰片/"),
                                 photoKindFolders(2).photos};
    OrderFolderTree::make(serverRoot, yearMonth, day, folderName, visible, true);
    if (!OrderFolderTree::prepareRoot(backupRoot, false)) {
        qDebug() << "备份路径：" << backupRoot;
        *error = QStringLiteral("备份服务器路径错误。");
        return false;
    }
    OrderFolderTree::make(backupRoot, yearMonth, day, folderName, {photoKindFolders(0).photos}, false);
    const QString relative = OrderFolderTree::relativeOrderPath(yearMonth, day, folderName);
    if (!FileOperation::isDirExist(serverRoot + relative) || !FileOperation::isDirExist(backupRoot + relative)) {
        *error = QStringLiteral("服务器路径错误");
        return false;
    }
    *orderPath = serverRoot + relative;
    *backupPath = backupRoot + relative;
    return true;
}
