#include "files/OrderFolders.h"
#include "separation/MarkImages.h"
#include "DemoPhotos.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

class TestMarkImages : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void copiesAsJpegUnchanged();
    void unsafeNamesAreSkipped_data();
    void unsafeNamesAreSkipped();
    void failuresAreListed();
    void relativeMarksFolderIsNotRead();
    void targetFolderFollowsTheSheetThumbnails();

private:
    QString picture(const QString& name, int width, int height);

    std::unique_ptr<QTemporaryDir> dir;
    QString marks;
    QString target;
};

void TestMarkImages::init()
{
    dir.reset(new QTemporaryDir);
    marks = dir->path() + "/order/marks/";
    target = dir->path() + "/sheet/制作单缩略图/marks/";
    QVERIFY(QDir().mkpath(marks));
    QVERIFY(QDir().mkpath(dir->path() + "/sheet/制作单缩略图"));
}

QString TestMarkImages::picture(const QString& name, int width, int height)
{
    const QString path = marks + name;
    if (!DemoPhotos::samplePicture(width, height, 7).save(path, "PNG"))
        return QString();
    return path;
}

void TestMarkImages::copiesAsJpegUnchanged()
{
    // A PNG under its own name: the copy keeps the name and is a JPEG.
    QVERIFY(!picture("宽 图.png", 90, 40).isEmpty());
    QImage loaded;
    QVERIFY(MarkImages::copy("宽 图.png", marks, target, &loaded));
    QCOMPARE(loaded.size(), QSize(90, 40));
    QImageReader reader(target + "宽 图.png");
    QCOMPARE(reader.format(), QByteArray("jpeg"));
    QCOMPARE(reader.size(), QSize(90, 40));
    // Nothing but the copy: no temporary file left beside it.
    QCOMPARE(QDir(target).entryList(QDir::Files | QDir::Hidden), QStringList{"宽 图.png"});
}

void TestMarkImages::unsafeNamesAreSkipped_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("slash") << "../order/marks/A.jpg";
    QTest::newRow("backslash") << "sub\\A.jpg";
    QTest::newRow("dots") << "..";
    QTest::newRow("dots inside") << "A..jpg";
    QTest::newRow("empty") << "";
}

void TestMarkImages::unsafeNamesAreSkipped()
{
    QFETCH(QString, name);
    QVERIFY(!picture("A.jpg", 30, 30).isEmpty());
    QVERIFY(QDir().mkpath(marks + "sub"));
    QVERIFY(!picture("A..jpg", 30, 30).isEmpty());
    QImage loaded;
    QVERIFY(!MarkImages::copy(name, marks, target, &loaded));
    QVERIFY(loaded.isNull());
    // Skipped without a report: the name was never followed.
    QCOMPARE(MarkImages::copyAll({name}, marks, target), QStringList{});
    QVERIFY(!QDir(target).exists());
    QVERIFY(!QFileInfo::exists(dir->path() + "/sheet/制作单缩略图/order"));
}

void TestMarkImages::failuresAreListed()
{
    QVERIFY(!picture("A.jpg", 40, 90).isEmpty());
    writeFile(marks + "broken.jpg", "not a picture");
    // A picture the order does not hold is skipped, not a failure.
    const QStringList failed =
        MarkImages::copyAll({"A.jpg", "missing.jpg", "broken.jpg", "a/b.jpg"}, marks, target);
    QCOMPARE(failed, QStringList{marks + "broken.jpg"});
    QCOMPARE(QDir(target).entryList(QDir::Files | QDir::Hidden), QStringList{"A.jpg"});

    // A target that is a file: the folder cannot be made, the copy fails.
    const QString blocked = dir->path() + "/blocked";
    writeFile(blocked, "a file");
    QCOMPARE(MarkImages::copyAll({"A.jpg"}, marks, blocked + "/marks/"), QStringList{marks + "A.jpg"});
    // A relative target (no sheet folder yet) never writes into the working folder.
    QVERIFY(!MarkImages::copy("A.jpg", marks, "marks/"));
    QVERIFY(!QFileInfo::exists("marks"));
}

// An order without a folder of its own names its marks "marks/" or
// "relative/marks/": the working folder's pictures are never read.
void TestMarkImages::relativeMarksFolderIsNotRead()
{
    QVERIFY(QDir::setCurrent(dir->path() + "/order"));
    QVERIFY(!picture("A.jpg", 40, 90).isEmpty());
    for (const QString& folder : {QString("marks/"), QString("../order/marks/"), QString()})
        QCOMPARE(MarkImages::copyAll({"A.jpg"}, folder, target), QStringList{});
    QVERIFY(!QDir(target).exists());
}

void TestMarkImages::targetFolderFollowsTheSheetThumbnails()
{
    setSheetThumbDir(dir->path() + "/sheet/制作单缩略图/");
    QCOMPARE(MarkImages::targetFolder(), target);
}

QTEST_MAIN(TestMarkImages)
#include "tst_markimages.moc"
