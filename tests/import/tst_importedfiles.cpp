#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"
#include "support/ImportDialogDriver.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QStringList kDesignFolders = {"设计/", "设计缩略图/", "设计缩略图100/", "设计缩略图2250/"};
const QStringList kPhotoFolders = {"照片/", "thumbnail/", "thumbnail100/", "thumbnail2250/"};

} // namespace

// The list of pictures an order already has in the current type, and the
// deletion of chosen ones with their thumbnails.
class TestImportedFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void listFollowsTheType();
    void deletingRemovesThePictureAndItsThumbnails();
    void videoTypesShowThePhotos();
    void menuNeedsASelection();
    void orderWithoutFolderListsNothing();

private:
    QString orderPath() const { return dir.path() + "/server/A/"; }
    void putPicture(const QStringList& folders, const QString& name, int seed);
    QStringList listed() const;
    QMenu* menu() const { return list()->findChild<QMenu*>(); }
    QListWidget* list() const { return dialog->findChild<QListWidget*>("importedList"); }
    QAction* action(const QString& text) const;
    void select(const QStringList& names);

    QTemporaryDir dir;
    std::unique_ptr<RecordedEnvironment> env;
    QPointer<importOrdersPhotoDlg> dialog;
    std::unique_ptr<ImportDialogDriver> ui;
};

void TestImportedFiles::init()
{
    env.reset(new RecordedEnvironment);
    QDir(dir.path() + "/server").removeRecursively();
    dialog = new importOrdersPhotoDlg;
    dialog->resize(1600, 900);
    dialog->show();
    ui.reset(new ImportDialogDriver(dialog));
    ui->add(ImportDialogDriver::orderJson("A", dir.path(), orderPath(), dir.path() + "/backup/A/"));
    ui->add(ImportDialogDriver::orderJson("N", dir.path()));
}

void TestImportedFiles::cleanup()
{
    delete dialog;
    ui.reset();
    env.reset();
}

void TestImportedFiles::putPicture(const QStringList& folders, const QString& name, int seed)
{
    for (const QString& folder : folders)
        writePhoto(orderPath() + folder + name, seed);
}

QStringList TestImportedFiles::listed() const
{
    QStringList names;
    for (int i = 0; i < list()->count(); ++i)
        names << list()->item(i)->text();
    return names;
}

QAction* TestImportedFiles::action(const QString& text) const
{
    for (QAction* candidate : menu()->actions()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

void TestImportedFiles::select(const QStringList& names)
{
    list()->clearSelection();
    for (int i = 0; i < list()->count(); ++i)
        list()->item(i)->setSelected(names.contains(list()->item(i)->text()));
}

void TestImportedFiles::listFollowsTheType()
{
    putPicture(kPhotoFolders, "B.jpg", 1);
    putPicture(kPhotoFolders, "a.jpg", 2);
    QDir().mkpath(orderPath() + "thumbnail100/sub");
    putPicture({"成品/", "成品缩略图100/"}, "f.jpg", 3);
    writeFile(orderPath() + "成品缩略图100/broken.jpg", "not a picture");

    ui->clickRow(0);
    QCOMPARE(listed(), (QStringList{"broken.jpg", "f.jpg"}));
    QListWidgetItem* item = list()->item(1);
    QCOMPARE(item->sizeHint(), QSize(100, 120));
    QCOMPARE(item->textAlignment(), int(Qt::AlignBottom));
    QCOMPARE(item->data(Qt::DecorationRole).value<QPixmap>().size(), QSize(100, 100));
    QVERIFY(list()->item(0)->data(Qt::DecorationRole).value<QPixmap>().isNull());

    ui->chooseType("导入原片");
    ui->clickRow(0);
    QCOMPARE(listed(), (QStringList{"a.jpg", "B.jpg"}));
    select({"B.jpg"});
    action("打开照片目录")->trigger();
    QCOMPARE(env->platform->openedFolders, QStringList{QString(orderPath() + "照片").replace('/', '\\')});
}

void TestImportedFiles::deletingRemovesThePictureAndItsThumbnails()
{
    for (int i = 1; i <= 3; ++i)
        putPicture(kDesignFolders, QString("d%1.jpg").arg(i), i);
    putPicture(kPhotoFolders, "d1.jpg", 9);
    ui->chooseType("导入设计");
    ui->clickRow(0);
    QCOMPARE(listed(), (QStringList{"d1.jpg", "d2.jpg", "d3.jpg"}));

    select({"d1.jpg", "d3.jpg"});
    QCOMPARE(menu()->actions().size(), 3);
    QVERIFY(menu()->actions().at(1)->isSeparator());
    action("删除选中照片")->trigger();
    QCOMPARE(listed(), QStringList{"d2.jpg"});
    for (const QString& folder : kDesignFolders) {
        QVERIFY(!QFile::exists(orderPath() + folder + "d1.jpg"));
        QVERIFY(!QFile::exists(orderPath() + folder + "d3.jpg"));
        QVERIFY(QFile::exists(orderPath() + folder + "d2.jpg"));
    }
    // Another type's picture of the same name stays.
    QVERIFY(QFile::exists(orderPath() + "照片/d1.jpg"));
}

void TestImportedFiles::videoTypesShowThePhotos()
{
    putPicture(kPhotoFolders, "p.jpg", 1);
    putPicture(kPhotoFolders, "q.jpg", 2);
    ui->chooseType("精修视频");
    ui->clickRow(0);
    QCOMPARE(listed(), (QStringList{"p.jpg", "q.jpg"}));
    select({"p.jpg"});
    action("打开照片目录")->trigger();
    QVERIFY(env->platform->openedFolders.isEmpty());
    action("删除选中照片")->trigger();
    QCOMPARE(listed(), QStringList{"q.jpg"});
    for (const QString& folder : kPhotoFolders)
        QVERIFY(!QFile::exists(orderPath() + folder + "p.jpg"));
}

void TestImportedFiles::menuNeedsASelection()
{
    putPicture(kPhotoFolders, "p.jpg", 1);
    ui->chooseType("导入原片");
    ui->clickRow(0);
    list()->clearSelection();
    emit list()->customContextMenuRequested(QPoint(5, 5));
    QTest::qWait(50);
    QVERIFY(!menu()->isVisible());
    select({"p.jpg"});
    emit list()->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(menu()->isVisible());
    menu()->hide();
}

void TestImportedFiles::orderWithoutFolderListsNothing()
{
    putPicture(kPhotoFolders, "p.jpg", 1);
    ui->chooseType("导入原片");
    ui->clickRow(0);
    QCOMPARE(listed(), QStringList{"p.jpg"});
    ui->clickRow(1);
    QVERIFY(listed().isEmpty());
}

QTEST_MAIN(TestImportedFiles)
#include "tst_importedfiles.moc"
