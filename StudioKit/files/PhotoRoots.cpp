#include "files/PhotoRoots.h"

#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The path with links and "." / ".." resolved where it exists.
QString resolved(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// `path` as seen from `folder`: "." for the folder itself, a path down from
// it, or one that leaves it (see leavesFolder). Letter case counts as the
// file system counts it.
QString seenFrom(const QString& folder, const QString& path)
{
    return QDir(folder).relativeFilePath(path);
}

bool leavesFolder(const QString& seen)
{
    return seen == QLatin1String("..") || seen.startsWith(QLatin1String("../")) || QDir::isAbsolutePath(seen);
}

bool isLink(const QFileInfo& entry)
{
    return entry.isSymLink() || entry.isJunction();
}

} // namespace

bool PhotoRoots::isUsable(const QString& root)
{
    const QString local = Platform::diskPath(root);
    return !local.isEmpty() && QDir::isAbsolutePath(local) && !QDir(local).isRoot();
}

QStringList PhotoRoots::knownFor(const OrderItemInfo& order)
{
    return FileOperation::shopRoots() << order.picpath << order.bakpicpath << order.homepicpath;
}

PhotoRoots::PhotoRoots(const QStringList& roots)
{
    for (const QString& text : roots) {
        const QString root = Platform::diskPath(text.trimmed());
        if (!isUsable(root))
            continue;
        const QString real = resolved(root);
        if (!QDir(real).isRoot())
            m_roots << real;
    }
}

bool PhotoRoots::isRootOrAbove(const QString& folder) const
{
    const QString real = resolved(Platform::diskPath(folder));
    if (QDir(real).isRoot())
        return true;
    for (const QString& root : m_roots) {
        if (!leavesFolder(seenFrom(real, root)))
            return true;
    }
    return false;
}

QString PhotoRoots::deletableOrderFolder(const QString& orderPath) const
{
    // Behind a link ".." leads elsewhere on the disk than in the text.
    const QString local = Platform::diskPath(orderPath);
    if (local.isEmpty() || QDir::isRelativePath(local) || hasParentSegment(orderPath))
        return QString();
    const QString folder = QDir::cleanPath(local);
    const QString real = QFileInfo(folder).canonicalFilePath();
    if (real.isEmpty() || !QFileInfo(real).isDir() || isRootOrAbove(real) || isDateFolder(real)
        || !isReachedWithoutLinks(folder, real))
        return QString();
    return real;
}

// As the import names them: "yyyy-MM" and "yyyy-MM/dd" below a root.
bool PhotoRoots::isDateFolder(const QString& realFolder) const
{
    static const QRegularExpression dateFolder(QStringLiteral("^[0-9]{4}-[0-9]{2}(/[0-9]{2})?$"));
    for (const QString& root : m_roots) {
        if (dateFolder.match(seenFrom(root, realFolder)).hasMatch())
            return true;
    }
    return false;
}

// Whether `folder` names `realFolder` by stepping down from one of the roots
// through real folders only: no step below that root, the last one included,
// is a link. Links above the root are the root's own business.
bool PhotoRoots::isReachedWithoutLinks(const QString& folder, const QString& realFolder) const
{
    for (const QString& root : m_roots) {
        const QString below = seenFrom(root, realFolder);
        if (below == QLatin1String(".") || leavesFolder(below))
            continue;
        QString step = folder;
        bool linked = false;
        for (int steps = below.count(QLatin1Char('/')) + 1; steps > 0 && !linked; --steps) {
            const QFileInfo entry(step);
            linked = isLink(entry);
            step = entry.path();
        }
        if (!linked && seenFrom(root, resolved(step)) == QLatin1String("."))
            return true;
    }
    return false;
}
