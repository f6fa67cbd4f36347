#include "BenchSupport.h"

#include "DemoPhotos.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace BenchSupport {

void quietDebug(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

bool generatePhotos(const QString& folder, int count, bool halfTurned, QStringList* files)
{
    QDir().mkpath(folder);
    // Four pictures are enough: every file is read and written on its own.
    QByteArray samples[4];
    for (int i = 0; i < 4; ++i)
        samples[i] = DemoPhotos::jpegWithOrientation(DemoPhotos::cameraLikePicture(i + 1),
                                                     halfTurned && i % 2 ? 6 : 1);
    for (int i = 0; i < count; ++i) {
        const QString file = folder + QStringLiteral("/IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0'));
        const QByteArray& content = samples[i % 4];
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
            return false;
        if (files)
            *files << file;
    }
    return true;
}

qint64 warm(const QString& folder)
{
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    return bytes;
}

double plainCopySeconds(const QString& source, const QString& target)
{
    std::error_code error;
    QElapsedTimer timer;
    timer.start();
    std::filesystem::copy(QFile::encodeName(source).toStdString(), QFile::encodeName(target).toStdString(),
                          std::filesystem::copy_options::recursive, error);
    const double seconds = timer.nsecsElapsed() / 1e9;
    return error ? -1 : seconds;
}

void settle()
{
#ifdef Q_OS_UNIX
    ::sync();
#endif
}

void bestOfTurns(const std::function<double(int)>& first, const std::function<double(int)>& second,
                 double* firstSeconds, double* secondSeconds)
{
    settle();
    *firstSeconds = first(0);
    settle();
    *secondSeconds = second(0);
    settle();
    *firstSeconds = qMin(*firstSeconds, first(1));
    settle();
    *secondSeconds = qMin(*secondSeconds, second(1));
}

bool sameTree(const QString& first, const QString& second)
{
    QStringList firstFiles;
    QDirIterator it(first, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        firstFiles << QDir(first).relativeFilePath(it.next());
    int secondCount = 0;
    QDirIterator other(second, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (other.hasNext()) {
        other.next();
        ++secondCount;
    }
    return firstFiles.size() == secondCount && sameFiles(first, second, {});
}

bool sameFiles(const QString& source, const QString& copy, const QStringList& nameFilters)
{
    QDirIterator it(source, nameFilters, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = QDir(source).relativeFilePath(it.next());
        QFile a(source + QLatin1Char('/') + file);
        QFile b(copy + QLatin1Char('/') + file);
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.readAll() != b.readAll())
            return false;
    }
    return true;
}

} // namespace BenchSupport
