#include "files/CodeImageInfo.h"
#include "files/FileOperation.h"
#include "files/ImageData.h"
#include "files/ImageOperation.h"
#include "files/OrderFolders.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kGrey(160, 160, 164);
const QColor kMarkColor(32, 45, 98);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

QImage solid(int width, int height, const QColor& colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor at(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

// Every pixel of the rectangle has the colour.
bool allOf(const QImage& image, const QRect& area, const QColor& colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (at(image, x, y) != colour)
                return false;
        }
    }
    return true;
}

// Bounding box of the pixels that are not white in the rectangle.
QRect inkIn(const QImage& image, const QRect& area)
{
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (at(image, x, y) != kWhite)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink;
}

void writeImage(const QString& path, const QImage& image)
{
    QVERIFY2(image.save(path), qPrintable(path));
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

Image fineImage(const QString& name, const QRect& mark = QRect(), bool ellipse = false)
{
    Image image;
    image.type = PHOTOTYPE_FINE;
    image.setFileName(name);
    if (!mark.isNull())
        image.setMark(mark.left(), mark.top(), mark.right(), mark.bottom(), ellipse);
    return image;
}

} // namespace

class TstThumbnailImages : public QObject
{
    Q_OBJECT

private:
    RecordedEnvironment m_env;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString order() const { return m_dir->path() + QStringLiteral("/order/"); }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(QDir().mkpath(order() + QStringLiteral("成品")));
        QVERIFY(QDir().mkpath(order() + QStringLiteral("成品缩略图")));
        setOrderPath(order());
    }

    void squareImage_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("picture");
        QTest::newRow("wide") << QSize(1000, 500) << QRect(1, 250, 998, 499);
        QTest::newRow("tall") << QSize(500, 1000) << QRect(250, 1, 499, 998);
        QTest::newRow("square") << QSize(88, 88) << QRect(1, 1, 86, 86);
    }

    void squareImage()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, picture);
        const QColor blue(0, 0, 255);
        const QImage input = solid(size.width(), size.height(), blue);

        const QImage square = ImageOperation::squareImage(input);

        const int side = qMax(size.width(), size.height());
        QCOMPARE(square.size(), QSize(side, side));
        QCOMPARE(square.format(), QImage::Format_ARGB32);
        QVERIFY(allOf(square, picture, blue));
        // Outside the picture the inside of the frame is white.
        QRect inside(1, 1, side - 2, side - 2);
        for (const QRect& band : {QRect(inside.left(), inside.top(), inside.width(), picture.top() - inside.top()),
                                  QRect(inside.left(), picture.bottom() + 1, inside.width(),
                                        inside.bottom() - picture.bottom())}) {
            if (band.height() > 0)
                QVERIFY(allOf(square, band, kWhite));
        }
        // A grey line along every outer edge.
        QVERIFY(allOf(square, QRect(0, 1, 1, side - 2), kGrey));
        QVERIFY(allOf(square, QRect(side - 1, 1, 1, side - 2), kGrey));
        QVERIFY(allOf(square, QRect(1, 0, side - 2, 1), kGrey));
        QVERIFY(allOf(square, QRect(1, side - 1, side - 2, 1), kGrey));
        QCOMPARE(input.size(), size);
    }

    void squareImageOfNullIsNull()
    {
        QVERIFY(ImageOperation::squareImage(QImage()).isNull());
    }

    void scaleMarkRect_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::addColumn<QRect>("mark");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("sheet size") << QSize(1000, 750) << QSize(88, 66) << QRect(QPoint(100, 100), QPoint(199, 149))
                                    << QRect(QPoint(8, 8), QPoint(15, 11));
        QTest::newRow("same size") << QSize(100, 80) << QSize(100, 80) << QRect(QPoint(10, 20), QPoint(29, 39))
                                   << QRect(QPoint(10, 20), QPoint(29, 39));
        QTest::newRow("twice the size") << QSize(50, 50) << QSize(100, 100) << QRect(QPoint(5, 5), QPoint(14, 14))
                                        << QRect(QPoint(10, 10), QPoint(29, 29));
        QTest::newRow("no mark") << QSize(1000, 750) << QSize(88, 66) << QRect(QPoint(0, 0), QPoint(0, 0))
                                 << QRect(QPoint(0, 0), QPoint(-1, -1));
        QTest::newRow("missing picture") << QSize(0, 0) << QSize(88, 66) << QRect(QPoint(100, 100), QPoint(199, 149))
                                         << QRect();
    }

    void scaleMarkRect()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        QFETCH(QRect, mark);
        QFETCH(QRect, expected);
        const QImage fromImage = from.isEmpty() ? QImage() : solid(from.width(), from.height(), kWhite);
        const QRect result = ImageOperation::scaleMarkRect(fromImage, mark.left(), mark.top(), mark.right(),
                                                           mark.bottom(), solid(to.width(), to.height(), kWhite));
        QCOMPARE(result, expected);
    }

    void drawMark_data()
    {
        QTest::addColumn<bool>("ellipse");
        QTest::addColumn<QImage::Format>("format");
        QTest::newRow("rectangle") << false << QImage::Format_RGB32;
        QTest::newRow("ellipse") << true << QImage::Format_RGB32;
        // Grey and palette pictures still get the mark in its colour.
        QTest::newRow("grey picture") << false << QImage::Format_Grayscale8;
        QTest::newRow("palette picture") << true << QImage::Format_Indexed8;
    }

    void drawMark()
    {
        QFETCH(bool, ellipse);
        QFETCH(QImage::Format, format);
        const QImage input = solid(60, 60, kWhite).convertToFormat(format);
        const QRect mark(QPoint(10, 10), QPoint(49, 39));

        const QImage result = ImageOperation::drawMark(input, mark, ellipse);

        QCOMPARE(result.size(), input.size());
        QVERIFY(allOf(input, input.rect(), kWhite));
        // Solid pen, no fill, no antialiasing: only the two colours.
        int marked = 0;
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 60; ++x) {
                const QColor colour = at(result, x, y);
                QVERIFY2(colour == kWhite || colour == kMarkColor, qPrintable(colour.name()));
                marked += colour == kMarkColor;
            }
        }
        QVERIFY(marked > 0);
        QCOMPARE(at(result, 30, 25), kWhite); // the centre stays open
        // The top and bottom lines are two pixels thick at the middle.
        QCOMPARE(inkIn(result, QRect(30, 0, 1, 25)).height(), 2);
        QCOMPARE(inkIn(result, QRect(30, 25, 1, 35)).height(), 2);
        QVERIFY(mark.adjusted(-1, -1, 1, 1).contains(inkIn(result, result.rect())));
        // A rectangle reaches its corners, an ellipse does not.
        QCOMPARE(at(result, 10, 10) == kMarkColor, !ellipse);
    }

    void numberBadge_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("3") << 3 << true;
        QTest::newRow("12") << 12 << true;
        QTest::newRow("0") << 0 << false;
        QTest::newRow("-1") << -1 << false;
    }

    void numberBadge()
    {
        QFETCH(int, number);
        QFETCH(bool, drawn);
        const QColor green(0, 200, 0);
        const QImage input = solid(50, 40, green);

        const QImage result = ImageOperation::drawNumberBadge(input, number);

        QVERIFY(allOf(input, input.rect(), green));
        if (!drawn) {
            QCOMPARE(result, input);
            return;
        }
        const QRect box(0, 40 - 18, 22, 18);
        // Everything outside the box is untouched.
        QVERIFY(allOf(result, QRect(0, 0, 50, box.top()), green));
        QVERIFY(allOf(result, QRect(22, box.top(), 28, 18), green));
        // Red inside a black outline on the box's own edge pixels.
        for (const QPoint& corner : {QPoint(1, 23), QPoint(20, 23), QPoint(1, 38), QPoint(20, 38)})
            QCOMPARE(at(result, corner.x(), corner.y()), kRed);
        QVERIFY(allOf(result, QRect(0, box.top(), 1, 18), kBlack));
        QVERIFY(allOf(result, QRect(21, box.top(), 1, 18), kBlack));
        QVERIFY(allOf(result, QRect(0, box.top(), 22, 1), kBlack));
        QVERIFY(allOf(result, QRect(0, 39, 22, 1), kBlack));
    }

    void composeThumb_data()
    {
        QTest::addColumn<int>("number");
        QTest::newRow("no badge") << 0;
        QTest::newRow("badge 3") << 3;
    }

    void composeThumb()
    {
        QFETCH(int, number);
        const QColor green(0, 200, 0);
        // 1000 x 500 becomes 88 x 44 for the mark, then 86 x 43 on the canvas.
        const QImage result = ImageOperation::composeThumb(solid(1000, 500, green), 0, 0, 999, 499, 88, false,
                                                           number);

        QCOMPARE(result.size(), QSize(88, 88));
        QCOMPARE(at(result, 44, 10), kWhite);
        QCOMPARE(at(result, 44, 44), green);
        QCOMPARE(at(result, 0, 44), kGrey);
        // The mark frames the whole picture: its edge lies at the picture's edge.
        QCOMPARE(at(result, 44, 22), kMarkColor);
        QCOMPARE(at(result, 1, 44), kMarkColor);
        QCOMPARE(at(result, 5, 84) == kRed, number > 0);
    }

    void composeThumbOfNullIsNull()
    {
        QVERIFY(ImageOperation::composeThumb(QImage(), 1, 1, 5, 5, 88, false, 2).isNull());
    }

    void webViewThumbWritesMissingThumbnail_data()
    {
        QTest::addColumn<QString>("nameOnDisk");
        QTest::addColumn<QString>("recordedName");
        QTest::newRow("same name") << "p1.jpg"
                                   << "p1.jpg";
        QTest::newRow("upper-case extension on disk") << "P2.JPG"
                                                      << "P2.jpg";
    }

    void webViewThumbWritesMissingThumbnail()
    {
        QFETCH(QString, nameOnDisk);
        QFETCH(QString, recordedName);
        const QColor green(0, 200, 0);
        writeImage(order() + "成品/" + nameOnDisk, solid(2000, 1500, green));

        const QImage thumb = ImageOperation::getWebViewThumb(fineImage(recordedName, QRect(100, 100, 100, 50)), 88);

        QCOMPARE(thumb.size(), QSize(88, 88));
        QCOMPARE(entriesOf(order() + "成品缩略图"), QStringList{recordedName});
        QCOMPARE(QImage(order() + "成品缩略图/" + recordedName).size(), QSize(1000, 750));
        // The mark is in pixels of the 1000-pixel thumbnail: (100,100)-(199,149)
        // lands at (8,8)-(15,11) of the 88 x 66 picture, which sits at y 11.
        QRect markInk;
        for (int y = 0; y < 88; ++y) {
            for (int x = 0; x < 88; ++x) {
                if (at(thumb, x, y) == kMarkColor)
                    markInk |= QRect(x, y, 1, 1);
            }
        }
        QVERIFY(markInk.isValid());
        QVERIFY2(QRect(6, 17, 12, 8).contains(markInk), qPrintable(QStringLiteral("%1,%2 %3x%4")
                     .arg(markInk.x()).arg(markInk.y()).arg(markInk.width()).arg(markInk.height())));
        QCOMPARE(at(thumb, 44, 44), green);
        QCOMPARE(at(thumb, 5, 70), green); // no badge
    }

    void webViewThumbUsesExistingThumbnail()
    {
        const QColor red(250, 0, 0);
        writeImage(order() + "成品/x.jpg", solid(1000, 1000, QColor(0, 0, 250)));
        writeImage(order() + "成品缩略图/x.jpg", solid(1000, 1000, red));
        const QDateTime written = QFileInfo(order() + "成品缩略图/x.jpg").lastModified();

        const QImage thumb = ImageOperation::getWebViewThumb(fineImage("x.jpg"), 88);

        QCOMPARE(thumb.size(), QSize(88, 88));
        const QColor middle = at(thumb, 44, 44);
        QVERIFY2(middle.red() > 200 && middle.blue() < 50, qPrintable(middle.name()));
        QCOMPARE(QFileInfo(order() + "成品缩略图/x.jpg").lastModified(), written);
        QCOMPARE(entriesOf(order() + "成品缩略图"), QStringList{"x.jpg"});
    }

    void webViewThumbWithoutThumbnailFolderWritesNothing()
    {
        QVERIFY(QDir(order() + "成品缩略图").removeRecursively());
        writeImage(order() + "成品/x.jpg", solid(400, 300, kBlack));

        QCOMPARE(ImageOperation::getWebViewThumb(fineImage("x.jpg"), 88).size(), QSize(88, 88));
        QVERIFY(!QFileInfo::exists(order() + "成品缩略图"));
    }

    void webViewThumbOfMissingPhotoIsNull()
    {
        const QImage thumb = ImageOperation::getWebViewThumb(fineImage("gone.jpg", QRect(10, 10, 20, 20)), 88);

        QVERIFY(thumb.isNull());
        QVERIFY(entriesOf(order() + "成品缩略图").isEmpty());
    }

    void webViewThumbOfAnotherKind()
    {
        QVERIFY(QDir().mkpath(order() + "照片"));
        QVERIFY(QDir().mkpath(order() + "thumbnail"));
        writeImage(order() + "照片/s.jpg", solid(500, 500, kBlack));
        Image shot;
        shot.setFileName("s.jpg");

        QTest::ignoreMessage(QtDebugMsg, "出错：网页中的照片不是来自成品！");
        const QImage thumb = ImageOperation::getWebViewThumb(shot, 88);

        QCOMPARE(thumb.size(), QSize(88, 88));
        QCOMPARE(entriesOf(order() + "thumbnail"), QStringList{"s.jpg"});
    }

    // Sheet jobs of two windows may write the same thumbnail at once; a reader
    // must never find half a file, and no temporary file may stay behind.
    void concurrentWritersLeaveOneWholeThumbnail()
    {
        writeImage(order() + "成品/c.jpg", solid(3000, 2000, QColor(0, 120, 200)));
        QThreadPool pool;
        pool.setMaxThreadCount(8);
        QAtomicInt nulls = 0;
        for (int i = 0; i < 8; ++i) {
            pool.start(QRunnable::create([&nulls] {
                if (ImageOperation::getWebViewThumb(fineImage("c.jpg"), 88).isNull())
                    nulls.ref();
            }));
        }
        QVERIFY(pool.waitForDone(60000));

        QCOMPARE(int(nulls), 0);
        QCOMPARE(entriesOf(order() + "成品缩略图"), QStringList{"c.jpg"});
        QCOMPARE(QImage(order() + "成品缩略图/c.jpg").size(), QSize(1000, 666));
    }

    void codeLabel_data()
    {
        QTest::addColumn<bool>("withBarCode");
        QTest::newRow("with bar code") << true;
        QTest::newRow("bar code missing") << false;
    }

    void codeLabel()
    {
        QFETCH(bool, withBarCode);
        CodeImageInfo info;
        QVERIFY(info.line1.isEmpty() && info.line2.isEmpty() && info.imagePath.isEmpty() && info.caption.isEmpty()
                && info.footer.isEmpty());
        info.line1 = QStringLiteral("Album 30x30");
        info.line2 = QStringLiteral("Large");
        info.caption = QStringLiteral("G1001  B2002");
        info.footer = QStringLiteral("Shop");
        info.imagePath = m_dir->path() + QStringLiteral("/G1001.png");
        if (withBarCode) {
            // Only the top 74 rows are drawn: the red part below must not show.
            QImage barCode = solid(300, 100, kRed);
            QPainter(&barCode).fillRect(0, 0, 300, 74, kBlack);
            writeImage(info.imagePath, barCode);
        }

        const QImage label = ImageOperation::makeCodeLabel(info);

        QCOMPARE(label.size(), QSize(218, 150));
        const QRect codeArea(5, 40, 208, 70);
        QVERIFY(allOf(label, codeArea, withBarCode ? kBlack : kWhite));
        QVERIFY(allOf(label, QRect(0, 40, 5, 70), kWhite));
        QVERIFY(allOf(label, QRect(213, 40, 5, 70), kWhite));
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 218; ++x)
                QVERIFY(at(label, x, y) != kRed);

        // Text placement by its ink: two left-aligned lines, two centred ones.
        const QRect line1 = inkIn(label, QRect(0, 0, 218, 20));
        const QRect line2 = inkIn(label, QRect(0, 20, 218, 20));
        const QRect caption = inkIn(label, QRect(0, 110, 218, 20));
        const QRect footer = inkIn(label, QRect(0, 130, 218, 20));
        for (const QRect& left : {line1, line2}) {
            QVERIFY(left.isValid());
            QVERIFY2(left.left() >= 5 && left.left() <= 10, qPrintable(QString::number(left.left())));
        }
        for (const QRect& centred : {caption, footer}) {
            QVERIFY(centred.isValid());
            QVERIFY2(qAbs(centred.center().x() - 108) <= 3, qPrintable(QString::number(centred.center().x())));
        }
    }

    void codeLabelWithoutTextsIsBlank()
    {
        const QImage label = ImageOperation::makeCodeLabel(CodeImageInfo());
        QCOMPARE(label.size(), QSize(218, 150));
        QVERIFY(allOf(label, label.rect(), kWhite));
    }
};

QTEST_MAIN(TstThumbnailImages)
#include "tst_thumbnailimages.moc"
