#include "files/CopyFileThread.h"
#include "files/FileOperation.h"
#include "files/ImageOperation.h"
#include "files/SafeFileWriter.h"
#include "Platform.h"
#include "support/SmallDisk.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <vector>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>
#endif

namespace {

// The writes that replace a file, each run against `folder` holding "old.dat"
// (and a ".hidden" list naming "a"). True when the write reported success.
enum class Writer { Helper, LargeFile, CopyOverwrite, MoveJob, SettingsFile, HiddenList, Image };

bool runWriter(Writer writer, const QString& folder)
{
    const QString old = folder + QStringLiteral("/old.dat");
    switch (writer) {
    case Writer::Helper:
        return SafeFileWriter::writeFile(old, QByteArray(3000, 'n'));
    case Writer::LargeFile:
        return SafeFileWriter::writeFile(old, QByteArray((1 << 20) + 5, 'n'));
    case Writer::CopyOverwrite:
        return FileOperation::copyFile(folder + QStringLiteral("/../source.dat"), old, true);
    case Writer::MoveJob:
        CopyFileThread(folder + QStringLiteral("/../source.dat"), old).run();
        return !QFileInfo::exists(folder + QStringLiteral("/../source.dat"));
    case Writer::SettingsFile: {
        const QString current = QDir::currentPath();
        QDir::setCurrent(folder);
        FileOperation::writeStringList(QStringLiteral("old.dat"), {QString(1500, QLatin1Char('s'))}, false);
        QDir::setCurrent(current);
        return readFile(old) != "old content";
    }
    case Writer::HiddenList:
        writeFile(folder + QStringLiteral("/b"), {});
        return Platform().setHidden(folder + QStringLiteral("/b"));
    case Writer::Image: {
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(Qt::red);
        return ImageOperation::saveImage(image, folder + QStringLiteral("/old.png"));
    }
    }
    return false;
}

// Bytes that differ from block to block, so a block written twice or
// skipped shows.
QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i / 7 + seed) * 31 + i / 4096);
    return bytes;
}

#ifdef Q_OS_LINUX
// Whether files in the folder of `probe` can be switched to direct writes.
bool takesDirectWrites(const QString& probe)
{
    const int fd = ::open(QFile::encodeName(probe).constData(), O_WRONLY | O_CREAT, 0644);
    const bool direct = fd >= 0 && ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_DIRECT) == 0;
    if (fd >= 0)
        ::close(fd);
    QFile::remove(probe);
    return direct;
}

// How many of the file's pages the system's file cache holds; -1 when the
// file cannot be mapped.
int cachedPages(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    const off_t size = ::lseek(fd, 0, SEEK_END);
    void* map = size > 0 ? ::mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, fd, 0) : MAP_FAILED;
    ::close(fd);
    if (map == MAP_FAILED)
        return -1;
    const long page = ::sysconf(_SC_PAGESIZE);
    std::vector<unsigned char> resident(size_t((size + page - 1) / page));
    const bool known = ::mincore(map, size_t(size), resident.data()) == 0;
    ::munmap(map, size_t(size));
    return known ? int(std::count_if(resident.begin(), resident.end(), [](unsigned char r) { return r & 1; })) : -1;
}
#endif

// Names in a folder, hidden ones included.
QStringList names(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

#ifdef Q_OS_UNIX
mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

mode_t fileMode(const QString& path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}
#endif

} // namespace

Q_DECLARE_METATYPE(Writer)

class TstSafeFileWriter : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SafeFileWriter::failFlushesForTests(QString()); }

    void writesAndReplaces()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.dat"));
        QVERIFY(SafeFileWriter::writeFile(path, "first"));
        QVERIFY(SafeFileWriter::writeFile(path, "second, longer"));
        QCOMPARE(readFile(path), QByteArray("second, longer"));
        QCOMPARE(names(dir.path()), QStringList{QStringLiteral("a.dat")});
    }

    void writesInPieces()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.dat"));
        SafeFileWriter writer(path);
        QVERIFY(writer.open());
        QVERIFY(writer.write(QByteArray(100000, 'x')));
        QVERIFY(writer.write("end"));
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY(writer.commit());
        QCOMPARE(readFile(path), QByteArray(100000, 'x') + "end");
    }

    // Large pieces go to the disk in whole blocks past the cache and the
    // rest through it; every mix of the two must give the bytes in order.
    void piecesOfEverySize_data()
    {
        QTest::addColumn<QList<int>>("pieces");
        QTest::newRow("empty") << QList<int>{0};
        QTest::newRow("under a block") << QList<int>{4095};
        QTest::newRow("just under the large size") << QList<int>{256 * 1024 - 1};
        QTest::newRow("large, whole blocks") << QList<int>{256 * 1024};
        QTest::newRow("large with a tail") << QList<int>{256 * 1024 + 1};
        QTest::newRow("several staging rounds and a tail") << QList<int>{3 * 1024 * 1024 + 4097};
        QTest::newRow("large after a small piece") << QList<int>{10, 1024 * 1024};
        QTest::newRow("large after large with a tail") << QList<int>{300000, 1024 * 1024, 7};
        QTest::newRow("large after large whole blocks") << QList<int>{1024 * 1024, 512 * 1024 + 3};
    }

    void piecesOfEverySize()
    {
        QFETCH(QList<int>, pieces);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.dat"));
        writeFile(path, "older");
        SafeFileWriter writer(path);
        QVERIFY(writer.open());
        QByteArray expected;
        for (int i = 0; i < pieces.size(); ++i) {
            const QByteArray piece = pattern(pieces.at(i), i);
            QVERIFY(writer.write(piece));
            expected += piece;
        }
        QVERIFY2(writer.commit(), qPrintable(writer.errorString()));
        QCOMPARE(readFile(path).size(), expected.size());
        QVERIFY(readFile(path) == expected);
        QCOMPARE(names(dir.path()), QStringList{QStringLiteral("a.dat")});
    }

    // A photo written for the server does not push what the system caches
    // out of memory; a small file goes through the cache.
    void largeFilesPassTheCache()
    {
#ifdef Q_OS_LINUX
        QTemporaryDir dir;
        struct statfs volume {};
        if (::statfs(QFile::encodeName(dir.path()).constData(), &volume) == 0 && volume.f_type == TMPFS_MAGIC)
            QSKIP("a tmpfs is the cache itself");
        if (!takesDirectWrites(dir.filePath(QStringLiteral("probe"))))
            QSKIP("this file system takes no direct writes");
        const QString large = dir.filePath(QStringLiteral("photo.jpg"));
        const QString small = dir.filePath(QStringLiteral("small.jpg"));
        QVERIFY(SafeFileWriter::writeFile(large, pattern(2 * 1024 * 1024 + 100, 1)));
        QVERIFY(SafeFileWriter::writeFile(small, pattern(8192, 2)));
        // At most the tail's page, which went through the cache.
        const int largePages = cachedPages(large);
        QVERIFY2(largePages >= 0 && largePages <= 1, qPrintable(QString::number(largePages)));
        QCOMPARE(cachedPages(small), 2);
        QVERIFY(readFile(large) == pattern(2 * 1024 * 1024 + 100, 1));
#else
        QSKIP("direct writes are only made on Linux");
#endif
    }

    void missingFolderFails()
    {
        QTemporaryDir dir;
        SafeFileWriter writer(dir.filePath(QStringLiteral("missing/a.dat")));
        QVERIFY(!writer.open());
        QVERIFY(!writer.errorString().isEmpty());
        QVERIFY(!SafeFileWriter::writeFile(dir.filePath(QStringLiteral("missing/a.dat")), "x"));
    }

    void withoutReplacingKeepsTheOtherFile()
    {
        QTemporaryDir dir;
        const QString taken = dir.filePath(QStringLiteral("a.dat"));
        writeFile(taken, "theirs");
        SafeFileWriter writer(taken);
        QVERIFY(writer.open());
        QVERIFY(writer.write("mine"));
        QVERIFY(!writer.commitWithoutReplacing());
        // The content waits for another name.
        QVERIFY(writer.commitWithoutReplacing(dir.filePath(QStringLiteral("a(1).dat"))));
        QCOMPARE(readFile(taken), QByteArray("theirs"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("a(1).dat"))), QByteArray("mine"));
        QCOMPARE(names(dir.path()), (QStringList{QStringLiteral("a(1).dat"), QStringLiteral("a.dat")}));
    }

    void abandonedWriteLeavesNothing()
    {
        QTemporaryDir dir;
        {
            SafeFileWriter writer(dir.filePath(QStringLiteral("a.dat")));
            QVERIFY(writer.open());
            QVERIFY(writer.write("never committed"));
        }
        QVERIFY(names(dir.path()).isEmpty());
    }

#ifdef Q_OS_UNIX
    // A new file gets what a plain file gets, never a temporary file's 0600;
    // a replaced one keeps the mode it had.
    void permissions_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("existingMode");
        QTest::addColumn<int>("expectedMode");
        QTest::newRow("new, umask 022") << 022 << -1 << 0644;
        QTest::newRow("new, umask 002") << 002 << -1 << 0664;
        QTest::newRow("new, umask 077") << 077 << -1 << 0600;
        QTest::newRow("replaced 0640") << 022 << 0640 << 0640;
        QTest::newRow("replaced 0666") << 077 << 0666 << 0666;
    }

    void permissions()
    {
        QFETCH(int, mask);
        QFETCH(int, existingMode);
        QFETCH(int, expectedMode);
        const mode_t before = ::umask(mode_t(mask));
        const auto restore = qScopeGuard([before] { ::umask(before); });
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.jpg"));
        if (existingMode >= 0) {
            writeFile(path, "old");
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(existingMode)), 0);
        }
        QVERIFY(SafeFileWriter::writeFile(path, "new"));
        QCOMPARE(int(fileMode(path)), expectedMode);

        const QString copy = dir.filePath(QStringLiteral("b.jpg"));
        QVERIFY(SafeFileWriter::copyFile(path, copy, SafeFileWriter::Existing::Keep));
        QCOMPARE(int(fileMode(copy)), 0666 & ~mask);
    }
#endif

    // Every replacing write: when the bytes do not all reach the disk the
    // write fails, the old file stays whole and no temporary file remains.
    // Run by the writer's fault hook everywhere and on a really full disk
    // where the machine lets the test mount one.
    void failedWriteKeepsOldFile_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<bool>("fullDisk");
        const QList<QPair<const char*, Writer>> writers = {
            {"helper", Writer::Helper},          {"large file", Writer::LargeFile},
            {"copyFile with overwrite", Writer::CopyOverwrite},
            {"CopyFileThread move", Writer::MoveJob}, {"settings file", Writer::SettingsFile},
            {".hidden list", Writer::HiddenList}, {"saveImage", Writer::Image}};
        for (const auto& writer : writers) {
            QTest::addRow("%s, flush fault", writer.first) << writer.second << false;
            QTest::addRow("%s, full disk", writer.first) << writer.second << true;
        }
    }

    void failedWriteKeepsOldFile()
    {
        QFETCH(Writer, writer);
        QFETCH(bool, fullDisk);
        RecordedEnvironment env;
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("disk"));
        writeFile(dir.filePath(QStringLiteral("source.dat")), QByteArray(3000, 'm'));
        std::unique_ptr<SmallDisk> disk;
        if (fullDisk) {
            disk = std::make_unique<SmallDisk>(folder);
            if (!disk->isMounted())
                QSKIP(qPrintable(disk->skipReason()));
        } else {
            QVERIFY(QDir().mkpath(folder));
        }
        writeFile(folder + QStringLiteral("/old.dat"), "old content");
        writeFile(folder + QStringLiteral("/old.png"), "old content");
        writeFile(folder + QStringLiteral("/.hidden"), "a\n");
        if (fullDisk)
            QVERIFY(disk->fill());
        else
            SafeFileWriter::failFlushesForTests(folder + QLatin1Char('/'));
        const QStringList before = names(folder);

        QVERIFY(!runWriter(writer, folder));

        QCOMPARE(readFile(folder + QStringLiteral("/old.dat")), QByteArray("old content"));
        QCOMPARE(readFile(folder + QStringLiteral("/old.png")), QByteArray("old content"));
        QCOMPARE(readFile(folder + QStringLiteral("/.hidden")), QByteArray("a\n"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("source.dat"))), QByteArray(3000, 'm'));
        QStringList after = names(folder);
        after.removeAll(QStringLiteral("b"));
        QCOMPARE(after, before);
    }
};

QTEST_MAIN(TstSafeFileWriter)
#include "tst_safefilewriter.moc"
