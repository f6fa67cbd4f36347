#include "files/PictureMemory.h"
#include "files/SmoothScale.h"
#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

// Noise, so that every weight and channel of the scaling shows in the
// result, with the metadata Qt's scaling keeps or drops.
QImage noise(QSize size, QImage::Format format, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const quint32 value = random.generate();
            const int alpha = format == QImage::Format_ARGB32_Premultiplied ? int(value >> 24) : 255;
            line[x] = qPremultiply(qRgba(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff), alpha));
        }
    }
    return withMetadata(image.convertToFormat(format));
}

QImage qtScaled(const QImage& image, int side)
{
    return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

class TstSmoothScale : public QObject
{
    Q_OBJECT

private slots:
    // The thumbnails must not change by a byte: every picture comes out with
    // the pixels and metadata of Qt's smooth scaling, whether drawn in new or
    // in kept memory, for the import's camera sizes, odd sides, the last
    // pixels of a line and pictures Qt alone scales. Our own way gives an
    // opaque picture in 24-bit colour, which a JPEG writer writes as it
    // writes the 32-bit one.
    void sameAsQt_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("side");
        QTest::addColumn<int>("format");
        const struct {
            QSize size;
            int side;
        } cases[] = {
            {{4000, 3000}, 2250}, {{3000, 4000}, 2250}, {{2250, 1688}, 1000}, {{1688, 2250}, 1000},
            {{1000, 750}, 200},   {{750, 1000}, 200},   {{4032, 3024}, 2250}, {{6000, 4000}, 2250},
            {{301, 207}, 200},    {{997, 1013}, 200},   {{2251, 13}, 1000},   {{5, 3000}, 200},
            {{1000, 750}, 7},     {{640, 480}, 1},      {{100, 50}, 200},     {{200, 150}, 200},
        };
        const QList<QPair<const char*, QImage::Format>> formats = {
            {"RGB32", QImage::Format_RGB32},
            {"ARGB32_Premultiplied", QImage::Format_ARGB32_Premultiplied},
            {"RGB888", QImage::Format_RGB888},
            {"Grayscale8", QImage::Format_Grayscale8}};
        for (const auto& format : formats) {
            for (const auto& one : cases) {
                // Qt alone scales the other formats; a few sizes show it.
                if (format.second == QImage::Format_Grayscale8 && one.size.width() > 1000)
                    continue;
                QTest::addRow("%s %dx%d to %d", format.first, one.size.width(), one.size.height(), one.side)
                    << one.size << one.side << int(format.second);
            }
        }
    }

    void sameAsQt()
    {
        QFETCH(QSize, size);
        QFETCH(int, side);
        QFETCH(int, format);
        const QImage image = noise(size, QImage::Format(format), quint32(size.width() * 31 + side));
        const QImage byQt = qtScaled(image, side);
        const bool ownWay = format != QImage::Format_Grayscale8 && byQt.width() < size.width()
                            && byQt.height() < size.height() && __builtin_cpu_supports("avx2");
        const QImage expected =
            ownWay && !image.hasAlphaChannel() ? byQt.convertToFormat(QImage::Format_RGB888) : byQt;
        comparePictures(SmoothScale::toFit(image, side), expected);
        PictureMemory memory;
        const QImage inMemory = SmoothScale::toFit(image, side, &memory);
        comparePictures(inMemory, expected);
        // Qt's own scaling never reaches the memory.
        QCOMPARE(memory.holds(inMemory), ownWay);
    }

    // Kept memory serves picture after picture without anything of the one
    // before showing, and is never the memory of the picture being scaled.
    void keptMemory()
    {
        PictureMemory memory;
        const QImage first = noise({900, 600}, QImage::Format_RGB32, 1);
        const QImage inMemory = SmoothScale::toFit(first, 450, &memory);
        QVERIFY(memory.holds(inMemory));
        comparePictures(inMemory, qtScaled(first, 450).convertToFormat(QImage::Format_RGB888));

        const QImage second = noise({900, 600}, QImage::Format_ARGB32_Premultiplied, 2);
        const QImage again = SmoothScale::toFit(second, 450, &memory);
        QVERIFY(memory.holds(again));
        comparePictures(again, qtScaled(second, 450));

        const QImage smaller = SmoothScale::toFit(again, 200, &memory);
        QVERIFY(!memory.holds(smaller));
        comparePictures(smaller, qtScaled(qtScaled(second, 450), 200));
    }

    void nullAndEmpty()
    {
        QVERIFY(SmoothScale::toFit(QImage(), 200).isNull());
        QVERIFY(SmoothScale::toFit(noise({40, 30}, QImage::Format_RGB32, 3), 0).isNull());
    }
};

QTEST_GUILESS_MAIN(TstSmoothScale)
#include "tst_smoothscale.moc"
