#include "separation/SheetFiles.h"

#include "files/SafeFileWriter.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QTextDocument>

namespace {

// The printer reports no write error: a PDF counts only when it is whole,
// from its header to the end-of-file mark written last.
bool isCompletePdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF");
}

} // namespace

bool SheetFiles::writeSheetPdf(const QString& html, const QString& path, PageSetup page)
{
    const QString temporary = SafeFileWriter::reserveTemporary(path);
    if (temporary.isEmpty())
        return false;
    {
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(temporary);
        if (page == PageSetup::A4)
            printer.setPageSize(QPageSize(QPageSize::A4));
        QTextDocument document;
        document.setHtml(html);
        document.print(&printer);
    } // the printer closes its file here
    if (!isCompletePdf(temporary)) {
        QFile::remove(temporary);
        return false;
    }
    return SafeFileWriter::replaceWith(temporary, path);
}

bool SheetFiles::writeSheetHtml(const QString& html, const QString& path)
{
    return SafeFileWriter::writeFile(path, html.toUtf8());
}
