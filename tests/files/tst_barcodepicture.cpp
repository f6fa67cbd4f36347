#include "files/BarCodePicture.h"
#include "files/CodeImageInfo.h"
#include "files/ImageOperation.h"
#include "files/SafeFileWriter.h"
#include "support/BarCodeReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The label's bar-code area: the picture's full width and top 74 rows go there.
const QRect kCodeArea(5, 40, 208, 70);

// Lengths of the runs of equal pixels along one row of the area, from its left edge.
QList<int> runsAlong(const QImage& label, int y)
{
    QList<int> runs;
    QRgb last = label.pixel(kCodeArea.left(), y);
    int length = 0;
    for (int x = kCodeArea.left(); x <= kCodeArea.right(); ++x) {
        const QRgb pixel = label.pixel(x, y);
        if (pixel != last) {
            runs << length;
            length = 0;
            last = pixel;
        }
        ++length;
    }
    return runs << length;
}

} // namespace

// The Code 128 picture of a dispatch label, read back from the label itself.
class TstBarCodePicture : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void labelScansBackToTheText_data();
    void labelScansBackToTheText();
    void textsWithoutPicture_data();
    void textsWithoutPicture();
    void failedWriteLeavesNoFile();

private:
    QString path(const QString& name) const { return m_dir->filePath(name + QStringLiteral(".png")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstBarCodePicture::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

void TstBarCodePicture::cleanup()
{
    SafeFileWriter::failFlushesForTests(QString());
}

void TstBarCodePicture::labelScansBackToTheText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("one digit") << "7";
    QTest::newRow("digits") << "20240601";
    QTest::newRow("letters and digits") << "G1001ab";
    QTest::newRow("long") << "LY20240601-00123";
    QTest::newRow("long digits") << "12345678901234567890123456";
}

void TstBarCodePicture::labelScansBackToTheText()
{
    QFETCH(QString, text);
    QString error;
    QVERIFY2(BarCodePicture::write(text, path(text), &error), qPrintable(error));
    const QImage picture(path(text), "PNG");
    QCOMPARE(picture.size(), QSize(208, 74));

    const QImage label = ImageOperation::makeCodeLabel(CodeImageInfo{"Album", "30x30", path(text), text, "Shop"});
    QCOMPARE(BarCodeReader::readCode128(label), text);

    // Sharp: pure black and white, every column one colour from top to bottom.
    const QList<int> runs = runsAlong(label, kCodeArea.top());
    for (int y = kCodeArea.top(); y <= kCodeArea.bottom(); ++y) {
        QCOMPARE(runsAlong(label, y), runs);
        for (int x = kCodeArea.left(); x <= kCodeArea.right(); ++x)
            QVERIFY(label.pixel(x, y) == qRgb(0, 0, 0) || label.pixel(x, y) == qRgb(255, 255, 255));
    }
    // Every bar and space a whole number of modules; ten modules of white on
    // either side; the widest module for which bars and quiet zones fit.
    QVERIFY(runs.size() > 2);
    const QList<int> bars = runs.mid(1, runs.size() - 2);
    const int module = *std::min_element(bars.begin(), bars.end());
    for (int run : bars)
        QVERIFY2(run % module == 0, qPrintable(QString("%1 in modules of %2").arg(run).arg(module)));
    QVERIFY(runs.first() >= 10 * module && runs.last() >= 10 * module);
    const int barsWidth = kCodeArea.width() - runs.first() - runs.last();
    QVERIFY((barsWidth / module + 20) * (module + 1) > kCodeArea.width());
    QVERIFY(qAbs(runs.first() - runs.last()) <= 1);
}

void TstBarCodePicture::textsWithoutPicture_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("beyond Latin-1") << "货号1001";
    QTest::newRow("too long for the label") << "A1B2C3D4E5F6G7";
}

void TstBarCodePicture::textsWithoutPicture()
{
    QFETCH(QString, text);
    QString error;
    QVERIFY(BarCodePicture::draw(text, &error).isNull());
    QVERIFY(!error.isEmpty());
    error.clear();
    QVERIFY(!BarCodePicture::write(text, path(QStringLiteral("G1")), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void TstBarCodePicture::failedWriteLeavesNoFile()
{
    SafeFileWriter::failFlushesForTests(m_dir->path());
    QString error;
    QVERIFY(!BarCodePicture::write(QStringLiteral("G1"), path(QStringLiteral("G1")), &error));
    QCOMPARE(error, QString("cannot write ") + path(QStringLiteral("G1")));
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

QTEST_MAIN(TstBarCodePicture)
#include "tst_barcodepicture.moc"
