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

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// The writes that replace a file, each run against `folder` holding "old.dat"
// (and a ".hidden" list naming "a"). True when the write reported success.
enum class Writer { Helper, CopyOverwrite, MoveJob, SettingsFile, HiddenList, Image };

bool runWriter(Writer writer, const QString& folder)
{
    const QString old = folder + QStringLiteral("/old.dat");
    switch (writer) {
    case Writer::Helper:
        return SafeFileWriter::writeFile(old, QByteArray(3000, 'n'));
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
            {"helper", Writer::Helper},          {"copyFile with overwrite", Writer::CopyOverwrite},
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
