#include "separation/SeparationFolders.h"

#include "Platform.h"

#include <QDir>
#include <QFileInfo>

namespace SeparationFolders {

QStringList entries(const QString& folder)
{
    if (!QFileInfo(Platform::diskPath(folder)).isDir())
        return {};
    QStringList names = {QStringLiteral("."), QStringLiteral("..")};
    for (const QFileInfo& entry : Platform::instance().entryInfoList(
             folder, {}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        names << entry.fileName();
    return names;
}

QStringList designImages(const QString& folder)
{
    QStringList names;
    for (const QFileInfo& entry : Platform::instance().entryInfoList(
             folder, {QStringLiteral("*.jpg"), QStringLiteral("*.jpeg"), QStringLiteral("*.png")},
             QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        names << entry.fileName();
    }
    return names;
}

bool makePath(const QString& folder)
{
    const QString local = Platform::diskPath(folder);
    return QDir(local).exists() || QDir().mkpath(local);
}

} // namespace SeparationFolders
