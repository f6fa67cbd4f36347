#include "import/OrderFolderTree.h"

#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "files/PhotoRoots.h"
#include "Platform.h"

#include <QDir>
#include <QRegularExpression>

bool OrderFolderTree::prepareRoot(QString& root, bool withParents)
{
    if (!PhotoRoots::isUsable(root))
        return false;
    if (!FileOperation::isDirExist(root)) {
        const bool made =
            withParents ? QDir().mkpath(Platform::diskPath(root)) : FileOperation::createDir(root);
        if (!made)
            return false;
    }
    // A root without its trailing separator still gets its folders inside
    // it rather than glued to its last name.
    if (!root.endsWith(QLatin1Char('/')) && !root.endsWith(QLatin1Char('\\')))
        root += QLatin1Char('/');
    return true;
}

bool OrderFolderTree::splitShotDate(const QString& shotdate, QString* yearMonth, QString* day)
{
    static const QRegularExpression format(QStringLiteral("^([0-9]{4}-[0-9]{2})-([0-9]{2})$"));
    const QRegularExpressionMatch match = format.match(shotdate);
    if (!match.hasMatch())
        return false;
    *yearMonth = match.captured(1);
    *day = match.captured(2);
    return true;
}

bool OrderFolderTree::isUsableFolderName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..");
}

QString OrderFolderTree::relativeOrderPath(const QString& yearMonth, const QString& day, const QString& folder)
{
    return yearMonth + QLatin1Char('/') + day + QLatin1Char('/') + folder + QLatin1Char('/');
}

void OrderFolderTree::make(const QString& root, const QString& yearMonth, const QString& day, const QString& folder,
                           const QStringList& subFolders, bool thumbnailFamilies)
{
    const QString orderPath = root + relativeOrderPath(yearMonth, day, folder);
    FileOperation::createDir(root + yearMonth);
    FileOperation::createDir(root + yearMonth + QLatin1Char('/') + day);
    FileOperation::createDir(orderPath);
    for (const QString& name : subFolders)
        FileOperation::createDir(orderPath + name);
    if (!thumbnailFamilies)
        return;
    for (int kind = 0; kind <= 2; ++kind) {
        const PhotoKindFolders folders = photoKindFolders(kind);
        const QStringList thumbnails = {folders.thumbnail1000, folders.thumbnail200, folders.thumbnail2250};
        for (const QString& name : thumbnails)
            FileOperation::createDir(orderPath + name);
        // The attribute belongs to the folder's own name, without the slash.
        for (const QString& name : thumbnails)
            FileOperation::setHiddenAttribute(orderPath + name.chopped(1));
    }
}
