#include "separation/SheetFiles.h"
#include "support/SmallDisk.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <memory>

namespace {

// A courier-sheet-like page with the names that must come out of the PDF.
const QString kPage = QStringLiteral(
    "<html><body><h2>快递产品信息</h2><table border=\"1\"><tr><td>收件人：</td><td>欧阳明月</td></tr>"
    "<tr><td>产品</td><td>水晶相册 &amp; 摆台</td></tr></table></body></html>");

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

enum class Sheet { Pdf, PdfDefaults, Html };

bool writeSheet(Sheet sheet, const QString& path)
{
    switch (sheet) {
    case Sheet::Pdf:
        return SheetFiles::writeSheetPdf(kPage, path);
    case Sheet::PdfDefaults:
        return SheetFiles::writeSheetPdf(kPage, path, SheetFiles::PageSetup::PrinterDefaults);
    case Sheet::Html:
        return SheetFiles::writeSheetHtml(kPage, path);
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Sheet)

// The sheet files of a separated order: the courier sheet as PDF, the
// production sheet as HTML, and what a failed write leaves behind.
class TestSheetFiles : public QObject
{
    Q_OBJECT
private slots:
    void pdfHoldsTheChineseText_data();
    void pdfHoldsTheChineseText();
    void htmlBytes();
    void failedWriteLeavesNoPartialFile_data();
    void failedWriteLeavesNoPartialFile();

private:
    QTemporaryDir dir;
};

void TestSheetFiles::pdfHoldsTheChineseText_data()
{
    QTest::addColumn<Sheet>("sheet");
    QTest::addColumn<bool>("replace");
    QTest::newRow("A4, new file") << Sheet::Pdf << false;
    QTest::newRow("A4, replaces an older file") << Sheet::Pdf << true;
    QTest::newRow("printer defaults") << Sheet::PdfDefaults << false;
}

void TestSheetFiles::pdfHoldsTheChineseText()
{
    QFETCH(Sheet, sheet);
    QFETCH(bool, replace);
    const QString folder = dir.filePath(QTest::currentDataTag());
    QVERIFY(QDir().mkpath(folder));
    // The work folder ends with "/" and the run adds another.
    const QString path = folder + "//快递产品信息.pdf";
    if (replace)
        writeFile(path, "an older sheet");

    QVERIFY(writeSheet(sheet, path));

    QVERIFY(readFile(path).startsWith("%PDF"));
    QCOMPARE(entries(folder), QStringList("快递产品信息.pdf"));
    // The CJK font draws some ideographs with the glyph of their radical, and
    // the PDF maps such a glyph back to the radical: compare compatibly.
    const QString text = run("pdftotext", {path, "-"}).normalized(QString::NormalizationForm_KC);
    QVERIFY2(text.contains("快递产品信息") && text.contains("欧阳明月") && text.contains("水晶相册 & 摆台"),
             qPrintable(text));
    const QString info = run("pdfinfo", {path});
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
    if (sheet == Sheet::Pdf)
        QVERIFY2(info.contains("(A4)"), qPrintable(info));
    QVERIFY((QFileInfo(path).permissions() & QFile::ReadOther) != 0);
}

void TestSheetFiles::htmlBytes()
{
    const QString path = dir.filePath("html//明细制作单.html");
    writeFile(path, QByteArray(4000, 'o'));
    const QString page = QStringLiteral("<p>王小丫 – 相册</p>");

    QVERIFY(SheetFiles::writeSheetHtml(page, path));
    QCOMPARE(readFile(path), QByteArray("<p>\xe7\x8e\x8b\xe5\xb0\x8f\xe4\xb8\xab \xe2\x80\x93 "
                                        "\xe7\x9b\xb8\xe5\x86\x8c</p>"));
    QVERIFY(SheetFiles::writeSheetHtml(QString(), path));
    QCOMPARE(readFile(path), QByteArray());
    QCOMPARE(entries(dir.filePath("html")), QStringList("明细制作单.html"));
}

// Whatever fails, the target keeps its older content (or stays missing) and
// no temporary file is left in the folder.
void TestSheetFiles::failedWriteLeavesNoPartialFile_data()
{
    QTest::addColumn<Sheet>("sheet");
    QTest::addColumn<QString>("fault");
    const QList<QPair<const char*, Sheet>> sheets = {
        {"pdf", Sheet::Pdf}, {"pdf, printer defaults", Sheet::PdfDefaults}, {"html", Sheet::Html}};
    for (const auto& sheet : sheets) {
        for (const char* fault : {"missing folder", "target is a folder", "full disk"})
            QTest::addRow("%s, %s", sheet.first, fault) << sheet.second << QString(fault);
    }
}

void TestSheetFiles::failedWriteLeavesNoPartialFile()
{
    QFETCH(Sheet, sheet);
    QFETCH(QString, fault);
    const QString folder = dir.filePath(QStringLiteral("fault-%1").arg(QTest::currentDataTag()));
    std::unique_ptr<SmallDisk> disk;
    if (fault == "full disk") {
        disk = std::make_unique<SmallDisk>(folder, 64 * 1024);
        if (!disk->isMounted())
            QSKIP(qPrintable(disk->skipReason()));
    } else {
        QVERIFY(QDir().mkpath(folder));
    }
    QString target = folder + "/sheet";
    if (fault == "missing folder")
        target = folder + "/missing/sheet";
    else if (fault == "target is a folder")
        QVERIFY(QDir().mkpath(target + "/inside"));
    else
        writeFile(target, "older sheet");
    if (disk)
        QVERIFY(disk->fill());
    const QStringList before = entries(folder);

    QVERIFY(!writeSheet(sheet, target));

    QCOMPARE(entries(folder), before);
    if (fault == "full disk")
        QCOMPARE(readFile(target), QByteArray("older sheet"));
    if (fault == "target is a folder")
        QCOMPARE(entries(target), QStringList("inside"));
}

QTEST_MAIN(TestSheetFiles)
#include "tst_sheetfiles.moc"
