#include "files/FileOperation.h"

#include "core/Globals.h"
#include "files/PhotoRoots.h"
#include "files/SafeFileWriter.h"
#include "Platform.h"

#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

const int kStreamVersion = QDataStream::Qt_4_4;

Qt::CaseSensitivity fileNameCase()
{
#ifdef Q_OS_WIN
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

QString settingsFilePath(const QString& fileName)
{
    return QDir::currentPath() + QLatin1Char('/') + fileName;
}

bool isSameFile(const QString& a, const QString& b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first.compare(QFileInfo(b).canonicalFilePath(), fileNameCase()) == 0;
}

// Empty and relative paths, filesystem roots, the kept roots and the
// folders above them are never deleted, whatever a caller computed.
bool mayDelete(const QString& path, const QStringList& keptRoots)
{
    return !path.isEmpty() && !QDir::isRelativePath(path) && !PhotoRoots(keptRoots).isRootOrAbove(path);
}

// Removes a file, or a link without touching what it points to.
bool removeEntry(const QFileInfo& entry)
{
    return QFile::remove(entry.filePath()) || (entry.isSymLink() && QDir().rmdir(entry.filePath()));
}

bool isRealDir(const QFileInfo& entry)
{
    return entry.isDir() && !entry.isSymLink();
}

bool removeFolderItself(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    return info.dir().rmdir(info.fileName());
}

// A failed copy leaves the file it was to replace intact and no half file
// under the name.
bool copyOneFile(const QString& source, const QString& target, bool replace)
{
    if (isSameFile(source, target))
        return true;
    return SafeFileWriter::copyFile(source, target,
                                    replace ? SafeFileWriter::Existing::Replace : SafeFileWriter::Existing::Keep);
}

QString firstFreeNumberedName(const QString& target)
{
    for (int n = 1;; ++n) {
        const QString candidate = FileOperation::numberedName(target, n);
        if (!QFileInfo(candidate).isFile())
            return candidate;
    }
}

QFileInfoList visibleEntries(const QString& folder)
{
    return Platform::instance().entryInfoList(folder, {}, QDir::AllEntries,
                                              QDir::Name | QDir::IgnoreCase);
}

void removeVisibleContent(const QString& folder, const QStringList& keptRoots)
{
    for (const QFileInfo& entry : visibleEntries(folder)) {
        if (entry.fileName() == QLatin1String(".") || entry.fileName() == QLatin1String(".."))
            continue;
        if (isRealDir(entry))
            FileOperation::removeDirRecursive(entry.filePath(), keptRoots);
        else
            removeEntry(entry);
    }
}

} // namespace

bool FileOperation::removeFile(QString path)
{
    return QFile::remove(Platform::diskPath(path));
}

bool FileOperation::createDir(QString path)
{
    const QString local = Platform::diskPath(path);
    return QDir(local).exists() || QDir().mkdir(local);
}

bool FileOperation::isDirExist(QString path)
{
    return QFileInfo(Platform::diskPath(path)).isDir();
}

bool FileOperation::isFileExist(QString path)
{
    return QFileInfo(Platform::diskPath(path)).isFile();
}

QString FileOperation::getDriveRoot(QString path)
{
    return path.left(3);
}

QString FileOperation::getFileName(QString path)
{
    return path.split(QLatin1Char('/')).last();
}

QString FileOperation::resolveNameCase(QString path)
{
    const QFileInfo info(Platform::diskPath(path));
    if (info.exists() || info.fileName().isEmpty())
        return path;
    const QStringList names = QDir(info.absolutePath())
                                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                             QDir::Name);
    for (const QString& name : names) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return path.left(path.size() - info.fileName().size()) + name;
    }
    return path;
}

void FileOperation::setHiddenAttribute(QString path)
{
    Platform::instance().setHidden(path);
}

void FileOperation::hideFile(QString path)
{
    setHiddenAttribute(path);
}

int FileOperation::countJpgFiles(QString folder)
{
    return Platform::instance().entryInfoList(folder, {QStringLiteral("*.jpg")}, QDir::AllEntries).size();
}

bool FileOperation::copyFile(QString source, QString target, bool overwrite)
{
    target.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (source == target)
        return true;
    const QString from = Platform::diskPath(source);
    if (!QFileInfo::exists(from))
        return false;
    // The same file spelled another way: replacing it would lose the only copy.
    if (overwrite && isSameFile(from, target))
        return true;
    if (!overwrite && QFileInfo::exists(target))
        target = firstFreeNumberedName(target);
    return copyOneFile(from, target, overwrite);
}

bool FileOperation::copyNewFile(QString source, QString target)
{
    if (source == target)
        return true;
    const QString from = Platform::diskPath(source);
    if (!QFileInfo(from).isFile())
        return false;
    const QString to = Platform::diskPath(target);
    return SafeFileWriter::copyFile(from, to, SafeFileWriter::Existing::Keep) || QFileInfo(to).isFile();
}

bool FileOperation::copyDir(QString sourceFolder, QString destinationFolder, bool overwrite)
{
    const QString destination = Platform::diskPath(destinationFolder);
    const QFileInfo destinationInfo(destination);
    if (!destinationInfo.isDir() && !QDir().mkdir(destinationInfo.absoluteFilePath()))
        return false;

    const QFileInfoList entries = visibleEntries(sourceFolder);
    for (int i = 0; i < entries.size(); ++i) {
        const QFileInfo& entry = entries.at(i);
        qDebug().noquote() << "复制目录" << QStringLiteral("%1%").arg((i + 1) * 100 / entries.size());
        if (entry.fileName() == QLatin1String(".") || entry.fileName() == QLatin1String(".."))
            continue;
        const QString target = destination + QLatin1Char('/') + entry.fileName();
        const bool copied = entry.isDir() ? copyDir(entry.filePath(), target, overwrite)
                                          : copyOneFile(entry.filePath(), target, overwrite);
        if (!copied)
            return false;
    }
    return true;
}

QStringList FileOperation::shopRoots()
{
    return {g_picPath, g_bakPicPath, g_homePicPath};
}

bool FileOperation::deleteDirTree(QString folder, const QStringList& keptRoots)
{
    const QString path = QDir::cleanPath(Platform::diskPath(folder));
    const QFileInfo top(path);
    if (!top.isDir() || !mayDelete(path, keptRoots))
        return false;
    if (top.isSymLink())
        return removeEntry(top);

    const QDir::Filters filters = QDir::Files | QDir::Dirs | QDir::Readable | QDir::Writable
                                  | QDir::Hidden | QDir::NoDotAndDotDot;
    const auto listing = [filters](const QString& dir) {
        return Platform::instance().entryInfoList(dir, {}, filters, QDir::Name);
    };

    QFileInfoList work;
    QSet<QString> queued; // paths now in `work`
    QSet<QString> seen;   // paths ever queued
    const auto enqueue = [&](const QFileInfo& entry) {
        if (queued.contains(entry.filePath()))
            return false;
        work.append(entry);
        queued.insert(entry.filePath());
        const int known = seen.size();
        seen.insert(entry.filePath());
        return seen.size() > known;
    };
    for (const QFileInfo& entry : listing(path))
        enqueue(entry);

    while (!work.isEmpty()) {
        // A pass that neither deleted anything nor found new entries would be
        // repeated for ever: something in the tree cannot be deleted.
        bool progressed = false;
        for (int i = work.size() - 1; i >= 0; --i) {
            const QFileInfo entry = work.at(i);
            if (isRealDir(entry)) {
                const QFileInfoList children = listing(entry.filePath());
                if (!children.isEmpty()) {
                    for (const QFileInfo& child : children)
                        progressed = enqueue(child) || progressed;
                    continue;
                }
                progressed = QDir().rmdir(entry.filePath()) || progressed;
            } else {
                progressed = removeEntry(entry) || progressed;
            }
            queued.remove(entry.filePath());
            work.removeAt(i);
        }
        if (!progressed)
            return false;
    }
    return removeFolderItself(path);
}

bool FileOperation::removeDirRecursive(QString folder, const QStringList& keptRoots)
{
    const QString path = QDir::cleanPath(Platform::diskPath(folder));
    const QFileInfo top(path);
    if (!top.isDir() || !mayDelete(path, keptRoots))
        return false;
    if (top.isSymLink())
        return removeEntry(top);
    removeVisibleContent(path, keptRoots);
    return removeFolderItself(path);
}

void FileOperation::openFileDir(QString path)
{
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    qDebug() << "filePath==" << path;
    Platform::instance().openFolder(path);
}

QStringList FileOperation::readStringList(QString fileName, int count)
{
    QFile file(settingsFilePath(fileName));
    if (!file.exists() || file.size() == 0)
        return {};
    file.open(QIODevice::ReadOnly);
    QDataStream in(&file);
    in.setVersion(kStreamVersion);
    QStringList list;
    for (int i = 0; i < count; ++i) {
        QString text;
        in >> text;
        list << text;
    }
    return list;
}

void FileOperation::writeStringList(QString fileName, QStringList list, bool hidden)
{
    const QString path = settingsFilePath(fileName);
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    for (const QString& text : list)
        out << text;
    SafeFileWriter::writeFile(path, bytes);
    if (hidden)
        setHiddenAttribute(path);
}

QString FileOperation::createNumberedDir(QString path)
{
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    path.replace(QLatin1Char('*'), QLatin1Char('x'));
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    while (path.endsWith(QLatin1Char(' ')))
        path.chop(1);
    const QString base = path;
    path += QLatin1Char('/');
    for (int n = 1; QFileInfo(Platform::diskPath(path)).isDir(); ++n)
        path = base + QStringLiteral("(%1)/").arg(n);
    return QDir().mkdir(Platform::diskPath(path)) ? path : QStringLiteral("");
}

// "x.jpg" keeps the established "x(n).jpg" form; other names get the number
// before their own extension, or at the end when they have none.
QString FileOperation::numberedName(QString target, int n)
{
    const QString number = QStringLiteral("(%1)").arg(n);
    const QString jpg = QStringLiteral(".jpg");
    if (target.endsWith(jpg, Qt::CaseInsensitive))
        return target.left(target.size() - jpg.size()) + number + jpg;
    const int slash = target.lastIndexOf(QLatin1Char('/'));
    const int dot = target.lastIndexOf(QLatin1Char('.'));
    if (dot > slash + 1)
        return target.left(dot) + number + target.mid(dot);
    return target + number;
}
