#include "core/Dialogs.h"
#include "files/ImageData.h"
#include "files/OrderFolders.h"
#include "Platform.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QStringList namesOf(const QList<Image>& images)
{
    QStringList names;
    for (const Image& image : images)
        names << image.getFileName();
    return names;
}

Image mark(const QString& name, const QRect& rect, bool ellipse, const QString& text)
{
    Image image;
    image.setFileName(name);
    image.descr = text;
    image.setMark(rect.left(), rect.top(), rect.right(), rect.bottom(), ellipse);
    return image;
}

QRect markOf(const Image& image)
{
    return QRect(QPoint(image.left, image.top), QPoint(image.right, image.bottom));
}

} // namespace

class TstImageData : public QObject
{
    Q_OBJECT

private:
    RecordedEnvironment m_env;
    std::unique_ptr<QTemporaryDir> m_dir;
    ImageData* m_data = nullptr;

    QString order() const { return m_dir->path() + QStringLiteral("/A001/"); }

    QList<Image> fineList(const QStringList& names)
    {
        QList<Image> images;
        for (const QString& name : names) {
            Image image;
            image.type = PHOTOTYPE_FINE;
            image.setFileName(name);
            images << image;
        }
        return images;
    }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir().mkpath(order() + QStringLiteral("成品")));
        setOrderPath(order());
        g_markImages.clear();
        m_data = ImageData::getInstance();
        m_data->clear();
        m_env.dialogs.boxes.clear();
    }

    void oneInstance()
    {
        QCOMPARE(ImageData::getInstance(), m_data);
        QCOMPARE(g_imageDataInstance, m_data);
    }

    void newImage()
    {
        const Image image;
        QCOMPARE(image.type, PHOTOTYPE_PHOTO);
        QVERIFY(image.descr.isEmpty() && !image.descr.isNull());
        QVERIFY(image.getFileName().isNull());
        QCOMPARE(markOf(image), QRect(QPoint(0, 0), QPoint(0, 0)));
        QVERIFY(!image.isEllipse());
        QVERIFY(image.getExtra().isEmpty() && !image.getExtra().isNull());
    }

    void extraUseCount_data()
    {
        QTest::addColumn<QString>("extra");
        QTest::addColumn<int>("count");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("none") << "相册" << 0;
        QTest::newRow("two, one at each end") << "用相册用" << 2;
        QTest::newRow("side by side") << "用用" << 2;
    }

    void extraUseCount()
    {
        QFETCH(QString, extra);
        QFETCH(int, count);
        Image image;
        image.setExtra(extra);
        QCOMPARE(image.getExtra(), extra);
        QCOMPARE(image.getExtraUseCount(), count);
    }

    void paths_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("thumb");
        QTest::addColumn<QString>("thumb2250");
        QTest::addColumn<QString>("counterpart");
        QTest::newRow("photo") << 0 << "照片/x.jpg"
                               << "thumbnail/x.jpg"
                               << "thumbnail2250/x.jpg"
                               << "成品/x.jpg";
        QTest::newRow("finished") << 1 << "成品/x.jpg"
                                  << "成品缩略图/x.jpg"
                                  << "成品缩略图2250/x.jpg"
                                  << "照片/x.jpg";
        QTest::newRow("rejected: finished thumbnails") << 2 << "汰片/x.jpg"
                                                       << "成品缩略图/x.jpg"
                                                       << "成品缩略图2250/x.jpg"
                                                       << "";
        QTest::newRow("unknown kind: photo folders") << 7 << "照片/x.jpg"
                                                     << "thumbnail/x.jpg"
                                                     << "thumbnail2250/x.jpg"
                                                     << "";
    }

    void paths()
    {
        QFETCH(int, type);
        QFETCH(QString, image);
        QFETCH(QString, thumb);
        QFETCH(QString, thumb2250);
        QFETCH(QString, counterpart);
        setOrderPath(QStringLiteral("D:/orders/A001/"));
        Image picture;
        picture.type = PHOTOTYPE(type);
        picture.setFileName(QStringLiteral("x.jpg"));
        const QString base = QStringLiteral("D:/orders/A001/");
        QCOMPARE(picture.getImagePath(), base + image);
        QCOMPARE(picture.getThumbPath(), base + thumb);
        QCOMPARE(picture.getThumb2250Path(), base + thumb2250);
        QCOMPARE(picture.getCounterpartPath(), counterpart.isEmpty() ? QString() : base + counterpart);
        // Paths follow the current order.
        setOrderPath(QStringLiteral("E:/B002/"));
        QCOMPARE(picture.getImagePath(), QStringLiteral("E:/B002/") + image);
    }

    void importListsVisibleJpgs()
    {
        writeFile(order() + "成品/A.JPG", "jpeg");
        writeFile(order() + "成品/b.jpg", "jpeg");
        writeFile(order() + "成品/c.png", "jpeg");
        writeFile(order() + "成品/d.jpg", "jpeg");
        QVERIFY(Platform::instance().setHidden(order() + "成品/d.jpg"));

        m_data->importImage(PHOTOTYPE_FINE);

        const QList<Image>& fine = *m_data->getFineImages();
        QCOMPARE(namesOf(fine), (QStringList{"A.jpg", "b.jpg"}));
        for (const Image& image : fine) {
            QCOMPARE(image.type, PHOTOTYPE_FINE);
            QVERIFY(image.descr.isEmpty());
            QCOMPARE(markOf(image), QRect(QPoint(0, 0), QPoint(0, 0)));
        }
        QVERIFY(QFileInfo::exists(order() + "成品/A.JPG"));
        QCOMPARE(m_data->getPhotoCount(), 0);
        QCOMPARE(m_data->getDeletedCount(), 0);
        QCOMPARE(m_data->getCurrentType(), PHOTOTYPE_FINE);
        QCOMPARE(m_data->getCurrentIndex(), 0);
        QCOMPARE(m_data->getCurrentIterator()->getFileName(), QStringLiteral("A.jpg"));
    }

    void importListsFolderNamedLikeJpg()
    {
        QVERIFY(QDir().mkpath(order() + "成品/sub.jpg"));
        writeFile(order() + "成品/a.jpg", "jpeg");
        m_data->importImage(PHOTOTYPE_FINE);
        QCOMPARE(namesOf(*m_data->getFineImages()), (QStringList{"a.jpg", "sub.jpg"}));
    }

    void importAttachesMarksByExactName()
    {
        writeFile(order() + "成品/A.JPG", "jpeg");
        writeFile(order() + "成品/b.jpg", "jpeg");
        writeFile(order() + "成品/c.jpg", "jpeg");
        g_markImages = {mark("A.JPG", QRect(1, 1, 5, 5), true, "upper"),
                        mark("A.jpg", QRect(10, 20, 30, 40), false, "lower"),
                        mark("b.jpg", QRect(1, 2, 3, 4), false, "first"),
                        mark("b.jpg", QRect(100, 200, 50, 60), true, "second"),
                        mark("z.jpg", QRect(7, 7, 7, 7), true, "no such file")};

        m_data->importImage(PHOTOTYPE_FINE);

        const QList<Image>& fine = *m_data->getFineImages();
        QCOMPARE(namesOf(fine), (QStringList{"A.jpg", "b.jpg", "c.jpg"}));
        QCOMPARE(fine.at(0).descr, QStringLiteral("lower"));
        QCOMPARE(markOf(fine.at(0)), QRect(10, 20, 30, 40));
        QVERIFY(!fine.at(0).isEllipse());
        QCOMPARE(fine.at(1).descr, QStringLiteral("second"));
        QCOMPARE(markOf(fine.at(1)), QRect(100, 200, 50, 60));
        QVERIFY(fine.at(1).isEllipse());
        QVERIFY(fine.at(2).descr.isEmpty());
        QCOMPARE(markOf(fine.at(2)), QRect(QPoint(0, 0), QPoint(0, 0)));
    }

    void importReplacesLists()
    {
        writeFile(order() + "成品/a.jpg", "jpeg");
        m_data->getPhotoImages()->append(Image());
        m_data->getDeletedImages()->append(Image());
        m_data->importImage(PHOTOTYPE_FINE);
        QVERIFY(QFile::remove(order() + "成品/a.jpg"));
        writeFile(order() + "成品/b.jpg", "jpeg");

        m_data->importImage(PHOTOTYPE_PHOTO);

        QCOMPARE(namesOf(*m_data->getFineImages()), QStringList{"b.jpg"});
        QCOMPARE(m_data->getPhotoCount(), 0);
        QCOMPARE(m_data->getDeletedCount(), 0);
        QCOMPARE(m_data->getCurrentType(), PHOTOTYPE_PHOTO);
        QCOMPARE(m_data->getCurrentIndex(), -1);
    }

    void importOfMissingFolderIsEmpty_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("missing") << "missing/";
        // Both would name the program's current folder.
        QTest::newRow("empty") << "";
        QTest::newRow("relative") << "here/";
    }

    void importOfMissingFolderIsEmpty()
    {
        QFETCH(QString, folder);
        const QString current = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir->path()));
        writeFile(m_dir->path() + "/成品/cwd.jpg", "jpeg");
        writeFile(m_dir->path() + "/here/成品/cwd.jpg", "jpeg");
        setOrderPath(folder == "missing/" ? m_dir->path() + "/missing/" : folder);
        m_data->importImage(PHOTOTYPE_FINE);
        const int listed = ImageData::getFineAndDeletedImage().size();
        QDir::setCurrent(current);
        QVERIFY(m_data->getFineImages()->isEmpty());
        QCOMPARE(listed, 0);
        QCOMPARE(m_data->getCurrentIndex(), -1);
    }

    void fineAndDeletedImages()
    {
        QVERIFY(QDir().mkpath(order() + "汰片"));
        writeFile(order() + "成品/A.JPG", "jpeg");
        writeFile(order() + "汰片/r.jpg", "jpeg");
        g_markImages = {mark("A.JPG", QRect(1, 2, 3, 4), true, "kept name"), mark("r.jpg", QRect(5, 5, 5, 5), true, "x")};

        const QList<Image> images = ImageData::getFineAndDeletedImage();

        QCOMPARE(namesOf(images), (QStringList{"A.JPG", "r.jpg"}));
        QCOMPARE(images.at(0).type, PHOTOTYPE_FINE);
        QCOMPARE(images.at(0).descr, QStringLiteral("kept name"));
        QCOMPARE(images.at(1).type, PHOTOTYPE_DELETED);
        QVERIFY(images.at(1).descr.isEmpty());
        QCOMPARE(markOf(images.at(1)), QRect(QPoint(0, 0), QPoint(0, 0)));
        QVERIFY(m_data->getFineImages()->isEmpty());
    }

    void cursor()
    {
        *m_data->getFineImages() = fineList({"a.jpg", "b.jpg", "c.jpg"});
        m_data->setCurrentType(PHOTOTYPE_FINE);
        QCOMPARE(m_data->getCurrentIndex(), 0);
        QCOMPARE(m_data->getCurrentImages(), m_data->getFineImages());

        QCOMPARE(m_data->moveBackward()->getFileName(), QStringLiteral("c.jpg"));
        QCOMPARE(m_data->moveForward()->getFileName(), QStringLiteral("a.jpg"));
        QCOMPARE(m_data->moveForward()->getFileName(), QStringLiteral("b.jpg"));
        QCOMPARE(m_data->moveToLast()->getFileName(), QStringLiteral("c.jpg"));
        QCOMPARE(m_data->moveToFirst()->getFileName(), QStringLiteral("a.jpg"));
        QCOMPARE(m_data->setCurrentIndex(2)->getFileName(), QStringLiteral("c.jpg"));
        QCOMPARE(m_data->setCurrentIndex(9), m_data->getFineImages()->end());
        QCOMPARE(m_data->getCurrentIndex(), -1);
        QCOMPARE(m_data->fineImageAt(1)->getFileName(), QStringLiteral("b.jpg"));
        QCOMPARE(m_data->fineImageAt(3), m_data->getFineImages()->end());

        // Another kind's list is empty: its cursor is at the end.
        m_data->setCurrentType(PHOTOTYPE_DELETED);
        QCOMPARE(m_data->getCurrentIndex(), -1);
        QCOMPARE(m_data->getCurrentImages(), m_data->getDeletedImages());

        QTest::ignoreMessage(QtDebugMsg, "设置迭代器 1");
        m_data->setIterator(QStringLiteral("b.jpg"));
        QCOMPARE(m_data->getCurrentType(), PHOTOTYPE_FINE);
        QCOMPARE(m_data->getCurrentIndex(), 1);

        QCOMPARE(m_data->findFineImage(QStringLiteral("c.jpg")).getFileName(), QStringLiteral("c.jpg"));
        QVERIFY(m_data->findFineImage(QStringLiteral("C.jpg")).getFileName().isNull());

        m_data->clear();
        QCOMPARE(m_data->getFineCount(), 0);
        QCOMPARE(m_data->getCurrentType(), PHOTOTYPE_PHOTO);
        QCOMPARE(m_data->getCurrentIndex(), -1);
    }

    void moveBetweenFineAndDeleted()
    {
        QVERIFY(QDir().mkpath(order() + "汰片"));
        writeFile(order() + "成品/a.jpg", "A");
        writeFile(order() + "成品/b.jpg", "B");
        *m_data->getFineImages() = fineList({"a.jpg", "b.jpg"});

        QCOMPARE(m_data->moveFineToDeleted({"a.jpg", "not-listed.jpg"}), QStringList{"a.jpg"});

        QVERIFY(!QFileInfo::exists(order() + "成品/a.jpg"));
        QCOMPARE(readFile(order() + "汰片/a.jpg"), QByteArray("A"));
        QCOMPARE(namesOf(*m_data->getFineImages()), QStringList{"b.jpg"});
        QCOMPARE(m_data->getDeletedCount(), 0);
        QVERIFY(m_env.dialogs.boxes.isEmpty());

        m_data->getDeletedImages()->append(fineList({"a.jpg"}));
        QCOMPARE(m_data->moveDeletedToFine({"a.jpg"}), QStringList{"a.jpg"});
        QCOMPARE(readFile(order() + "成品/a.jpg"), QByteArray("A"));
        QVERIFY(!QFileInfo::exists(order() + "汰片/a.jpg"));
        QCOMPARE(m_data->getDeletedCount(), 0);
    }

    // Without a "汰片/" folder the copy fails: the finished photo must stay.
    void failedMoveKeepsSource()
    {
        writeFile(order() + "成品/a.jpg", "A");
        *m_data->getFineImages() = fineList({"a.jpg"});

        QVERIFY(m_data->moveFineToDeleted({"a.jpg"}).isEmpty());

        QCOMPARE(readFile(order() + "成品/a.jpg"), QByteArray("A"));
        QCOMPARE(namesOf(*m_data->getFineImages()), QStringList{"a.jpg"});
        QCOMPARE(m_env.dialogs.boxes.size(), 1);
        const DialogRecorder::Box& box = m_env.dialogs.boxes.first();
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(box.title, QStringLiteral("警告"));
        QCOMPARE(box.text, QStringLiteral("成品a.jpg移至汰片失败"));
    }

    void deletePhotos()
    {
        QVERIFY(QDir().mkpath(order() + "照片"));
        writeFile(order() + "照片/p.jpg", "jpeg");
        Image photo;
        photo.setFileName(QStringLiteral("p.jpg"));
        Image other = photo;
        other.setFileName(QStringLiteral("q.jpg"));
        *m_data->getPhotoImages() = {photo, other};

        m_data->deletePhotos({"p.jpg"});

        QVERIFY(!QFileInfo::exists(order() + "照片/p.jpg"));
        QCOMPARE(namesOf(*m_data->getPhotoImages()), QStringList{"q.jpg"});
        QVERIFY(m_env.dialogs.boxes.isEmpty());
    }

    void clearDeletedImages()
    {
        QVERIFY(QDir().mkpath(order() + "汰片"));
        writeFile(order() + "汰片/r.jpg", "jpeg");
        m_data->getDeletedImages()->append(Image());

        m_data->clearDeletedImages();

        QVERIFY(QFileInfo(order() + "汰片").isDir());
        QVERIFY(QDir(order() + "汰片").isEmpty());
        QCOMPARE(m_data->getDeletedCount(), 0);
    }
};

QTEST_MAIN(TstImageData)
#include "tst_imagedata.moc"
