#include "core/Globals.h"
#include "files/FileOperation.h"
#include "support/TestSupport.h"

#include <QDirIterator>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <memory>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

// Creates entries described as "name=content" (file), "name/" (folder) or
// "name->target" (symbolic link).
void createEntries(const QString& root, const QStringList& entries)
{
    for (const QString& entry : entries) {
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir(root).mkpath(entry));
        } else if (entry.contains(QLatin1String("->"))) {
            const QStringList parts = entry.split(QLatin1String("->"));
            QVERIFY(QFile::link(parts.at(1), root + QLatin1Char('/') + parts.at(0)));
        } else {
            const int eq = entry.indexOf(QLatin1Char('='));
            writeFile(root + QLatin1Char('/') + entry.left(eq), entry.mid(eq + 1).toUtf8());
        }
    }
}

// Every entry below `root` in the notation of createEntries, sorted.
QStringList snapshot(const QString& root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        const QString name = QDir(root).relativeFilePath(info.filePath());
        if (info.isSymLink())
            entries << name + QLatin1String("->") + info.symLinkTarget();
        else if (info.isDir())
            entries << name + QLatin1Char('/');
        else
            entries << name + QLatin1Char('=') + QString::fromUtf8(readFile(info.filePath()));
    }
    entries.sort();
    return entries;
}

#ifdef Q_OS_LINUX
// An append-only folder: its entries are listed as writable, yet even root
// cannot delete them.
bool setAppendOnly(const QString& folder, bool on)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_APPEND_FL) : (flags & ~FS_APPEND_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}
#endif

} // namespace

class TstFileOperation : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& relative) const { return m_dir->path() + QLatin1Char('/') + relative; }

    RecordedEnvironment m_env;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_startDir;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_startDir = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
    }

    void cleanup()
    {
        QDir::setCurrent(m_startDir);
        g_picPath.clear();
        g_bakPicPath.clear();
        g_homePicPath.clear();
        m_dir.reset();
    }

    void writeStringList_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("five characters")
            << QStringList{QStringLiteral("abcde")}
            << QByteArray::fromHex("0000000a 0061 0062 0063 0064 0065");
        QTest::newRow("null string") << QStringList{QString()} << QByteArray::fromHex("ffffffff");
        QTest::newRow("empty string") << QStringList{QStringLiteral("")} << QByteArray::fromHex("00000000");
        QTest::newRow("two strings, Chinese")
            << QStringList{QStringLiteral("D:/照片"), QStringLiteral("x")}
            << QByteArray::fromHex("0000000a 0044 003a 002f 7167 7247 00000002 0078");
    }

    void writeStringList()
    {
        QFETCH(QStringList, list);
        QFETCH(QByteArray, bytes);
        FileOperation::writeStringList(QStringLiteral("path_separatePhotos.dat"), list, true);
        const QString file = QDir::currentPath() + QStringLiteral("/path_separatePhotos.dat");
        QCOMPARE(readFile(file), bytes);
        QVERIFY(Platform::instance().isHidden(file));
        QCOMPARE(FileOperation::readStringList(QStringLiteral("path_separatePhotos.dat"), list.size()), list);
    }

    void writeStringListReplacesOldContent()
    {
        FileOperation::writeStringList(QStringLiteral("a.dat"), {QStringLiteral("abcdefgh")}, false);
        FileOperation::writeStringList(QStringLiteral("a.dat"), {QStringLiteral("a")}, false);
        QCOMPARE(readFile(path(QStringLiteral("a.dat"))), QByteArray::fromHex("00000002 0061"));
        QVERIFY(!Platform::instance().isHidden(path(QStringLiteral("a.dat"))));
    }

    void readStringList_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("expected");
        const QByteArray abcde = QByteArray::fromHex("0000000a 0061 0062 0063 0064 0065");
        QTest::newRow("missing file") << false << QByteArray() << 1 << QStringList();
        QTest::newRow("empty file") << true << QByteArray() << 1 << QStringList();
        QTest::newRow("one of one") << true << abcde << 1 << QStringList{QStringLiteral("abcde")};
        QTest::newRow("two of one") << true << abcde << 2 << QStringList{QStringLiteral("abcde"), QStringLiteral("")};
    }

    void readStringList()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(QStringList, expected);
        if (exists)
            writeFile(path(QStringLiteral("path_copyPhotos.dat")), bytes);
        QCOMPARE(FileOperation::readStringList(QStringLiteral("path_copyPhotos.dat"), count), expected);
    }

    void copyFile_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("after");
        // {dir} is the test folder, {bsdir} the same written with "\".
        const QString src = QStringLiteral("src.jpg=S");

        QTest::newRow("same string") << QStringList{"a.jpg=A"} << "{dir}/a.jpg" << "{dir}/a.jpg" << true
                                     << true << QStringList{"a.jpg=A"};
        QTest::newRow("missing source") << QStringList{} << "{dir}/missing.jpg" << "{dir}/b.jpg" << false
                                        << false << QStringList{};
        QTest::newRow("new target") << QStringList{src} << "{dir}/src.jpg" << "{dir}/n.jpg" << false
                                    << true << QStringList{"n.jpg=S", src};
        QTest::newRow("first two numbers taken")
            << QStringList{src, "IMG_7.jpg=7", "IMG_7(1).jpg=71"} << "{dir}/src.jpg" << "{dir}/IMG_7.jpg" << false
            << true << QStringList{"IMG_7(1).jpg=71", "IMG_7(2).jpg=S", "IMG_7.jpg=7", src};
        QTest::newRow("upper-case JPG") << QStringList{src, "IMG_7.JPG=7"} << "{dir}/src.jpg" << "{dir}/IMG_7.JPG"
                                        << false << true << QStringList{"IMG_7(1).jpg=S", "IMG_7.JPG=7", src};
        QTest::newRow("overwrite") << QStringList{src, "IMG_7.jpg=7"} << "{dir}/src.jpg" << "{dir}/IMG_7.jpg"
                                   << true << true << QStringList{"IMG_7.jpg=S", src};
        QTest::newRow("backslashes in target")
            << QStringList{src, "sub/"} << "{dir}/src.jpg" << "{bsdir}\\sub\\t.jpg" << false
            << true << QStringList{src, "sub/", "sub/t.jpg=S"};
        QTest::newRow("video keeps its extension")
            << QStringList{"src.mp4=S", "a.mp4=M"} << "{dir}/src.mp4" << "{dir}/a.mp4" << false
            << true << QStringList{"a(1).mp4=S", "a.mp4=M", "src.mp4=S"};
        QTest::newRow("name without extension")
            << QStringList{"src=S", "v.1/", "v.1/ab=B"} << "{dir}/src" << "{dir}/v.1/ab" << false
            << true << QStringList{"src=S", "v.1/", "v.1/ab(1)=S", "v.1/ab=B"};
        QTest::newRow("overwrite a folder") << QStringList{src, "x.jpg/"} << "{dir}/src.jpg" << "{dir}/x.jpg"
                                            << true << false << QStringList{src, "x.jpg/"};
        QTest::newRow("target folder missing") << QStringList{src} << "{dir}/src.jpg" << "{dir}/none/t.jpg"
                                               << false << false << QStringList{src};
        QTest::newRow("unreadable source keeps the old target")
            << QStringList{"srcdir/", "t.jpg=T"} << "{dir}/srcdir" << "{dir}/t.jpg" << true
            << false << QStringList{"srcdir/", "t.jpg=T"};

        // The same file spelled another way must never be lost.
        QTest::newRow("same file, dot segment") << QStringList{"a.jpg=A"} << "{dir}/a.jpg" << "{dir}/./a.jpg"
                                                << true << true << QStringList{"a.jpg=A"};
        QTest::newRow("same file, source with backslashes")
            << QStringList{"a.jpg=A"} << "{bsdir}\\a.jpg" << "{dir}/a.jpg" << true << true << QStringList{"a.jpg=A"};
        QTest::newRow("same file, parent segment, no overwrite: a numbered copy")
            << QStringList{"a.jpg=A", "sub/"} << "{dir}/a.jpg" << "{dir}/sub/../a.jpg" << false
            << true << QStringList{"a(1).jpg=A", "a.jpg=A", "sub/"};
        QTest::newRow("same file through a link")
            << QStringList{"a.jpg=A", "l->."} << "{dir}/a.jpg" << "{dir}/l/a.jpg" << true
            << true << QStringList{"a.jpg=A", "l->{dir}"};
    }

    void copyFile()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(bool, overwrite);
        QFETCH(bool, result);
        QFETCH(QStringList, after);
        const QString dir = m_dir->path();
        const auto expand = [&dir](QString text) {
            QString backslashed = dir;
            backslashed.replace(QLatin1Char('/'), QLatin1Char('\\'));
            return text.replace(QLatin1String("{bsdir}"), backslashed).replace(QLatin1String("{dir}"), dir);
        };
        createEntries(dir, before);
        QCOMPARE(FileOperation::copyFile(expand(source), expand(target), overwrite), result);
        for (QString& entry : after)
            entry = expand(entry);
        QCOMPARE(snapshot(dir), after);
    }

    void copyDirCopiesVisibleEntries()
    {
        QDir().mkpath(path(QStringLiteral("src/sub")));
        createEntries(path(QStringLiteral("src")), {"a.jpg=1", "sub/b.jpg=2", ".cache=x", "h.jpg=h"});
        FileOperation::hideFile(path(QStringLiteral("src/h.jpg")));

        QVERIFY(FileOperation::copyDir(path(QStringLiteral("src")), path(QStringLiteral("dst")), false));
        QCOMPARE(snapshot(path(QStringLiteral("dst"))), (QStringList{"a.jpg=1", "sub/", "sub/b.jpg=2"}));

        writeFile(path(QStringLiteral("src/a.jpg")), "new");
        QVERIFY(!FileOperation::copyDir(path(QStringLiteral("src")), path(QStringLiteral("dst")), false));
        QCOMPARE(readFile(path(QStringLiteral("dst/a.jpg"))), QByteArray("1"));
        QVERIFY(FileOperation::copyDir(path(QStringLiteral("src")), path(QStringLiteral("dst")), true));
        QCOMPARE(readFile(path(QStringLiteral("dst/a.jpg"))), QByteArray("new"));
    }

    void hiddenFoldersSurviveOnlyRemoveDirRecursive()
    {
        const QString order = path(QStringLiteral("A001"));
        QDir().mkpath(order);
        createEntries(order, {"照片/", "照片/1.jpg=p", "thumbnail/", "thumbnail/1.jpg=t", ".cache/", ".cache/x=c"});
        FileOperation::setHiddenAttribute(order + QStringLiteral("/thumbnail"));

        QVERIFY(!FileOperation::removeDirRecursive(order));
        QCOMPARE(snapshot(order), (QStringList{".cache/", ".cache/x=c", ".hidden=thumbnail\n", "thumbnail/",
                                               "thumbnail/1.jpg=t"}));

        QVERIFY(FileOperation::deleteDirTree(order + QLatin1Char('/')));
        QVERIFY(!QFileInfo::exists(order));
    }

    void missingFolder()
    {
        QVERIFY(!FileOperation::deleteDirTree(path(QStringLiteral("none"))));
        QVERIFY(!FileOperation::removeDirRecursive(path(QStringLiteral("none"))));
    }

    void linksAreNotFollowed_data()
    {
        QTest::addColumn<bool>("wholeTree");
        QTest::newRow("deleteDirTree") << true;
        QTest::newRow("removeDirRecursive") << false;
    }

    void linksAreNotFollowed()
    {
        QFETCH(bool, wholeTree);
        const auto remove = [wholeTree](const QString& folder) {
            return wholeTree ? FileOperation::deleteDirTree(folder) : FileOperation::removeDirRecursive(folder);
        };
        const QString outside = path(QStringLiteral("outside"));
        QDir().mkpath(outside);
        createEntries(outside, {"keep.jpg=k", "sub/", "sub/keep2.jpg=k2"});
        const QStringList outsideBefore = snapshot(outside);

        const QString tree = path(QStringLiteral("tree"));
        QDir().mkpath(tree);
        createEntries(tree, {"own.jpg=o", "dirlink->" + outside, "filelink->" + outside + "/keep.jpg"});
        QVERIFY(remove(tree));
        QVERIFY(!QFileInfo::exists(tree));
        QCOMPARE(snapshot(outside), outsideBefore);

        // A link given as the folder itself goes, never what it points to.
        QVERIFY(QFile::link(outside, path(QStringLiteral("toplink"))));
        QVERIFY(remove(path(QStringLiteral("toplink"))));
        QVERIFY(!QFileInfo(path(QStringLiteral("toplink"))).isSymLink());
        QCOMPARE(snapshot(outside), outsideBefore);
    }

    void protectedFolders_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("picPath");
        QTest::newRow("empty path: the current folder") << "" << "";
        QTest::newRow("relative path") << "shop" << "";
        QTest::newRow("shop root") << "{dir}/shop/root" << "{dir}/shop/root";
        QTest::newRow("shop root with a trailing slash") << "{dir}/shop/root/" << "{dir}/shop/root";
        QTest::newRow("ancestor of a shop root") << "{dir}/shop" << "{dir}/shop/root/";
        QTest::newRow("shop root spelled with backslashes") << "{dir}/shop" << "{bsdir}\\shop\\root";
    }

    void protectedFolders()
    {
        QFETCH(QString, folder);
        QFETCH(QString, picPath);
        const QString dir = m_dir->path();
        QString backslashed = dir;
        backslashed.replace(QLatin1Char('/'), QLatin1Char('\\'));
        folder.replace(QLatin1String("{dir}"), dir);
        picPath.replace(QLatin1String("{bsdir}"), backslashed).replace(QLatin1String("{dir}"), dir);
        g_picPath = picPath;
        QDir().mkpath(path(QStringLiteral("shop/root")));
        createEntries(dir, {"keep.txt=k", "shop/root/keep.jpg=r"});
        const QStringList before = snapshot(dir);

        QVERIFY(!FileOperation::deleteDirTree(folder));
        QVERIFY(!FileOperation::removeDirRecursive(folder));
        QCOMPARE(snapshot(dir), before);
    }

    void undeletableEntryEndsTheLoop()
    {
#ifdef Q_OS_LINUX
        const QString tree = path(QStringLiteral("tree"));
        QDir().mkpath(tree + QStringLiteral("/locked"));
        createEntries(tree, {"locked/held.jpg=h", "other.jpg=o"});
        if (!setAppendOnly(tree + QStringLiteral("/locked"), true))
            QSKIP("the file system refuses the append-only attribute here");
        const auto unlock = qScopeGuard([&] { setAppendOnly(tree + QStringLiteral("/locked"), false); });

        bool result = true;
        std::unique_ptr<QThread> worker(QThread::create([&] { result = FileOperation::deleteDirTree(tree); }));
        worker->start();
        if (!worker->wait(20000)) {
            setAppendOnly(tree + QStringLiteral("/locked"), false); // lets the loop end
            worker->wait();
            QFAIL("deleteDirTree did not return");
        }
        QVERIFY(!result);
        QCOMPARE(snapshot(tree), (QStringList{"locked/", "locked/held.jpg=h"}));
        QVERIFY(!FileOperation::removeDirRecursive(tree));
#else
        QSKIP("needs the Linux append-only attribute");
#endif
    }

    void countJpgFiles()
    {
        const QString folder = path(QStringLiteral("照片"));
        QDir().mkpath(folder);
        createEntries(folder, {"A.JPG=a", "b.jpg=b", "c.png=c", "d.jpg/", ".e.jpg=e", "f.jpeg=f"});
        FileOperation::hideFile(folder + QStringLiteral("/b.jpg"));
        QCOMPARE(FileOperation::countJpgFiles(folder), 2); // A.JPG and the folder d.jpg
        QCOMPARE(FileOperation::countJpgFiles(path(QStringLiteral("none"))), 0);
    }

    void openFileDirPassesOnePath()
    {
        FileOperation::openFileDir(QStringLiteral("D:/照片 目录/A 1"));
        QCOMPARE(m_env.platform->openedFolders, QStringList{QStringLiteral("D:\\照片 目录\\A 1")});
    }

    void pathTexts()
    {
        QCOMPARE(FileOperation::getFileName(QStringLiteral("D:/a/b.jpg")), QStringLiteral("b.jpg"));
        QCOMPARE(FileOperation::getFileName(QStringLiteral("D:/a/")), QStringLiteral(""));
        QCOMPARE(FileOperation::getFileName(QStringLiteral("b.jpg")), QStringLiteral("b.jpg"));
        QCOMPARE(FileOperation::getDriveRoot(QStringLiteral("D:/photos/x")), QStringLiteral("D:/"));
    }

    void existenceAndCreation()
    {
        createEntries(m_dir->path(), {"f.jpg=f", "d/"});
        QVERIFY(FileOperation::isFileExist(path(QStringLiteral("f.jpg"))));
        QVERIFY(!FileOperation::isFileExist(path(QStringLiteral("d"))));
        QVERIFY(FileOperation::isDirExist(path(QStringLiteral("d"))));
        QVERIFY(!FileOperation::isDirExist(path(QStringLiteral("f.jpg"))));

        QVERIFY(FileOperation::createDir(path(QStringLiteral("d"))));
        QVERIFY(FileOperation::createDir(path(QStringLiteral("d/new"))));
        QVERIFY(!FileOperation::createDir(path(QStringLiteral("x/y"))));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("x"))));

        QVERIFY(FileOperation::removeFile(path(QStringLiteral("f.jpg"))));
        QVERIFY(!FileOperation::removeFile(path(QStringLiteral("f.jpg"))));
    }

    void createNumberedDir()
    {
        QString backslashed = m_dir->path();
        backslashed.replace(QLatin1Char('/'), QLatin1Char('\\'));
        QCOMPARE(FileOperation::createNumberedDir(path(QStringLiteral("x/"))), path(QStringLiteral("x/")));
        QCOMPARE(FileOperation::createNumberedDir(path(QStringLiteral("x"))), path(QStringLiteral("x(1)/")));
        QCOMPARE(FileOperation::createNumberedDir(path(QStringLiteral("x/"))), path(QStringLiteral("x(2)/")));
        QCOMPARE(FileOperation::createNumberedDir(backslashed + QStringLiteral("\\a*b  \\")), path(QStringLiteral("axb/")));
        QVERIFY(QFileInfo(path(QStringLiteral("axb"))).isDir());
        QCOMPARE(FileOperation::createNumberedDir(path(QStringLiteral("none/y"))), QStringLiteral(""));
    }
};

QTEST_MAIN(TstFileOperation)
#include "tst_fileoperation.moc"
