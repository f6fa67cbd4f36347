#include "Platform.h"

#include "files/SafeFileWriter.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSet>
#include <QStorageInfo>
#include <QTextStream>

#include <cstdlib>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::unique_ptr<Platform>& current()
{
    static std::unique_ptr<Platform> platform;
    return platform;
}

const char* const kHiddenListName = ".hidden";

QStringList hiddenNamesIn(const QString& dirPath)
{
    QFile file(QDir(dirPath).filePath(kHiddenListName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList names;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    while (!in.atEnd()) {
        const QString line = in.readLine();
        if (!line.isEmpty())
            names << line;
    }
    return names;
}

// The entry a path names on disk: "dir/" is the folder itself.
QString entryPath(const QString& path)
{
    QString local = Platform::diskPath(path);
    while (local.size() > 1 && local.endsWith(QLatin1Char('/')))
        local.chop(1);
    return local;
}

} // namespace

Platform& Platform::instance()
{
    if (!current())
        current().reset(new Platform);
    return *current();
}

void Platform::install(Platform* platform)
{
    current().reset(platform);
}

qint64 Platform::freeBytes(const QString& path)
{
    QStorageInfo storage(diskPath(path));
    if (!storage.isValid() || !storage.isReady())
        return -1;
    return storage.bytesAvailable();
}

bool Platform::isHidden(const QString& path)
{
#ifdef Q_OS_WIN
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN);
#else
    const QFileInfo info(entryPath(path));
    if (info.fileName().startsWith(QLatin1Char('.')))
        return true;
    return hiddenNamesIn(info.absolutePath()).contains(info.fileName());
#endif
}

bool Platform::setHidden(const QString& path)
{
#ifdef Q_OS_WIN
    const auto nativePath = reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16());
    const DWORD attributes = GetFileAttributesW(nativePath);
    return attributes != INVALID_FILE_ATTRIBUTES
        && SetFileAttributesW(nativePath, attributes | FILE_ATTRIBUTE_HIDDEN);
#else
    const QString local = entryPath(path);
    const QFileInfo info(local);
    if (!info.exists())
        return false;
    if (isHidden(local))
        return true;
    QStringList names = hiddenNamesIn(info.absolutePath());
    names << info.fileName();
    return SafeFileWriter::writeFile(QDir(info.absolutePath()).filePath(kHiddenListName),
                                     names.join(QLatin1Char('\n')).toUtf8() + '\n');
#endif
}

bool Platform::isReachableFolder(const QString& path)
{
    return QFileInfo(diskPath(path)).isDir();
}

bool Platform::isWritableFolder(const QString& path)
{
    return QFileInfo(diskPath(path)).isWritable();
}

bool Platform::openFolder(const QString& path)
{
#ifdef Q_OS_WIN
    return QProcess::startDetached(QStringLiteral("explorer"), {QDir::toNativeSeparators(path)});
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(diskPath(path)));
#endif
}

bool Platform::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

bool Platform::startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

void Platform::exitProcess(int status)
{
    std::exit(status);
}

bool Platform::namesDrive(const QString& path)
{
    return path.length() >= 2 && path.at(1) == QLatin1Char(':');
}

bool Platform::driveRootExists(const QString& root)
{
#ifdef Q_OS_WIN
    return QDir(root).exists();
#else
    // POSIX has no drive letters: "D:/" names a drive that is not there.
    return namesDrive(root) ? false : QDir(root).exists();
#endif
}

QString Platform::updaterProgram()
{
#ifdef Q_OS_WIN
    return QStringLiteral("VersionProbe.exe");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/VersionProbe");
#endif
}

QString Platform::downloadedProgram(const QString& savedPath, const QString& fileName)
{
#ifdef Q_OS_WIN
    Q_UNUSED(savedPath)
    return fileName;
#else
    Q_UNUSED(fileName)
    return diskPath(savedPath);
#endif
}

bool Platform::renameWithoutReplacing(const QString& from, const QString& to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(to).utf16()), 0);
#else
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
#endif
    // A hard link cannot take a name either.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    if (errno == EEXIST)
        return false;
    // Shares that support neither: look, then rename.
    return !QFileInfo::exists(to) && ::rename(source.constData(), target.constData()) == 0;
#endif
}

bool Platform::hasLabelPrinter()
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

std::unique_ptr<QPrinter> Platform::labelPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::ScreenResolution);
    printer->setOutputFormat(QPrinter::NativeFormat);
    return printer;
}

void Platform::useNativeOutput(QPrinter& printer)
{
    printer.setOutputFormat(QPrinter::NativeFormat);
}

void Platform::beginLabelJob(QPrinter& printer)
{
    Q_UNUSED(printer);
}

QFileInfoList Platform::entryInfoList(const QString& dirPath, const QStringList& nameFilters,
                                      QDir::Filters filters, QDir::SortFlags sort)
{
    const QDir dir(diskPath(dirPath));
    const QFileInfoList all = dir.entryInfoList(nameFilters, filters, sort);
    if (filters.testFlag(QDir::Hidden))
        return all;
    QFileInfoList visible;
#ifdef Q_OS_WIN
    for (const QFileInfo& info : all) {
        if (!isHidden(info.filePath()))
            visible << info;
    }
#else
    // One read of the folder's ".hidden" list serves the whole listing.
    const QStringList listed = hiddenNamesIn(dir.path());
    const QSet<QString> hiddenNames(listed.cbegin(), listed.cend());
    for (const QFileInfo& info : all) {
        if (!info.fileName().startsWith(QLatin1Char('.')) && !hiddenNames.contains(info.fileName()))
            visible << info;
    }
#endif
    return visible;
}

QString Platform::diskPath(const QString& path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString local = path;
    return local.replace(QLatin1Char('\\'), QLatin1Char('/'));
#endif
}
