#include "import/SingleOrderNames.h"

#include "core/Globals.h"
#include "Platform.h"

QString SingleOrderNames::folderName(const QString& prefix, const QString& payForKey, const QString& append,
                                     const QString& serviceTimes)
{
    QString name = sanitizeFileName(prefix) + sanitizeFileName(payForKey);
    const QString cleanAppend = sanitizeFileName(append);
    if (!cleanAppend.isEmpty())
        name += QLatin1Char('-') + cleanAppend;
    return name + QLatin1Char('-') + sanitizeFileName(serviceTimes);
}

int SingleOrderNames::sortKey(const QFileInfo& file)
{
    return file.completeBaseName().right(3).toInt();
}

int SingleOrderNames::highestKey(const QString& folder)
{
    int highest = 0;
    for (const QFileInfo& file : Platform::instance().entryInfoList(folder, {QStringLiteral("*.jpg")}, QDir::Files))
        highest = qMax(highest, sortKey(file));
    return highest;
}

QStringList SingleOrderNames::photoNames(const QString& prefix, const QString& payForKey, const QString& append,
                                         int first, int count, const QString& folder)
{
    const QString cleanAppend = sanitizeFileName(append);
    const QString stem = sanitizeFileName(prefix) + sanitizeFileName(payForKey) + QLatin1Char('-')
                         + (cleanAppend.isEmpty() ? QString() : cleanAppend + QLatin1Char('-'));
    const QDir dir(Platform::diskPath(folder));
    QStringList names;
    for (int number = first; names.size() < count; ++number) {
        const QString name = stem + QStringLiteral("%1.jpg").arg(number, 3, 10, QLatin1Char('0'));
        if (!folder.isEmpty() && dir.exists(name))
            continue;
        names << name;
    }
    return names;
}
