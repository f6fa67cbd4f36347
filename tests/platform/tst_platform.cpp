#include "Platform.h"
#include "PlatformRecorder.h"
#include "support/TestSupport.h"

#include <QtTest>

// The POSIX side of the platform layer: what counts as hidden and how
// listings skip it, drive roots and paths written with backslashes.
class TestPlatform : public QObject
{
    Q_OBJECT
private slots:
    void hiddenByDotOrList();
    void setHiddenAddsTheNameOnce();
    void listingsSkipHiddenEntriesUnlessAsked();
    void drives_data();
    void drives();
    void diskPathTurnsBackslashes();
    void freeBytesOfAnExistingFolder();
    void updaterLiesBesideTheMainProgram();
    void renameNeverReplaces();
};

void TestPlatform::hiddenByDotOrList()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("thumbnail");
    QDir(dir.path()).mkdir(".cache");
    QFile list(dir.filePath(".hidden"));
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write("thumbnail\n");
    list.close();
    Platform& platform = Platform::instance();
    QVERIFY(platform.isHidden(dir.filePath("thumbnail")));
    QVERIFY(platform.isHidden(dir.filePath("thumbnail") + "/"));
    QVERIFY(platform.isHidden(dir.filePath(".cache")));
    QVERIFY(!platform.isHidden(dir.filePath("照片")));
}

void TestPlatform::setHiddenAddsTheNameOnce()
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("缩略图");
    QDir(dir.path()).mkdir("b");
    Platform& platform = Platform::instance();
    QVERIFY(platform.setHidden(dir.filePath("缩略图") + "/"));
    QVERIFY(platform.setHidden(dir.filePath("缩略图")));
    QVERIFY(platform.setHidden(dir.filePath("b")));
    QVERIFY(!platform.setHidden(dir.filePath("missing")));
    QFile list(dir.filePath(".hidden"));
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(list.readAll()), QString("缩略图\nb\n"));
    QVERIFY(QDir(dir.filePath("缩略图")).exists());
}

void TestPlatform::listingsSkipHiddenEntriesUnlessAsked()
{
    QTemporaryDir dir;
    for (const char* name : {"a.jpg", "b.jpg", ".c.jpg"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    Platform& platform = Platform::instance();
    QVERIFY(platform.setHidden(dir.filePath("b.jpg")));
    const auto names = [](const QFileInfoList& entries) {
        QStringList result;
        for (const QFileInfo& info : entries)
            result << info.fileName();
        return result;
    };
    QCOMPARE(names(platform.entryInfoList(dir.path(), {"*.jpg"}, QDir::Files, QDir::Name)), QStringList{"a.jpg"});
    QCOMPARE(names(platform.entryInfoList(dir.path(), {"*.jpg"}, QDir::Files | QDir::Hidden, QDir::Name)),
             (QStringList{".c.jpg", "a.jpg", "b.jpg"}));
}

void TestPlatform::drives_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("namesDrive");
    QTest::newRow("drive") << "D:/photos" << true;
    QTest::newRow("drive backslash") << "E:\\backup" << true;
    QTest::newRow("posix") << "/srv/photos" << false;
    QTest::newRow("network") << "\\\\server\\share" << false;
    QTest::newRow("empty") << "" << false;
}

void TestPlatform::drives()
{
    QFETCH(QString, path);
    QFETCH(bool, namesDrive);
    Platform& platform = Platform::instance();
    QCOMPARE(platform.namesDrive(path), namesDrive);
    if (namesDrive)
        QVERIFY(!platform.driveRootExists(path.left(3)));
    PlatformRecorder recorder;
    recorder.existingDriveRoots << "D:/";
    QCOMPARE(recorder.driveRootExists("D:/"), true);
    QCOMPARE(recorder.driveRootExists("E:\\"), false);
    QCOMPARE(recorder.driveRootExists("/"), true);
}

void TestPlatform::diskPathTurnsBackslashes()
{
    QCOMPARE(Platform::diskPath("\\\\lyra\\share\\订单\\1.jpg"), QString("//lyra/share/订单/1.jpg"));
    QCOMPARE(Platform::diskPath("/srv/a/b"), QString("/srv/a/b"));
}

void TestPlatform::freeBytesOfAnExistingFolder()
{
    QTemporaryDir dir;
    QVERIFY(Platform::instance().freeBytes(dir.path()) > 0);
    PlatformRecorder recorder;
    recorder.freeBytesAnswer = -1;
    QCOMPARE(recorder.freeBytes(dir.path()), qint64(-1));
}

// The main program starts the updater from its own folder.
void TestPlatform::updaterLiesBesideTheMainProgram()
{
    const QFileInfo updater(QStringLiteral(MAIN_PROGRAM_DIR "/VersionProbe"));
    QVERIFY(updater.isFile());
    QVERIFY(updater.isExecutable());
}

void TestPlatform::renameNeverReplaces()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("new.jpg");
    const QString taken = dir.filePath("taken.jpg");
    writeFile(file, "new");
    writeFile(taken, "old");
    QVERIFY(!Platform::renameWithoutReplacing(file, taken));
    QCOMPARE(readFile(taken), QByteArray("old"));
    QCOMPARE(readFile(file), QByteArray("new"));

    QVERIFY(Platform::renameWithoutReplacing(file, dir.filePath("free.jpg")));
    QVERIFY(!QFile::exists(file));
    QCOMPARE(readFile(dir.filePath("free.jpg")), QByteArray("new"));
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
