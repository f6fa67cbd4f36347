#ifndef SHEETFILES_H
#define SHEETFILES_H

#include <QString>

// Writes the sheets of a separated order into its work folder. Each file is
// written under a temporary name beside the target and renamed only when
// complete, so a failed write never leaves a partial sheet nor spoils an
// older one. Both return whether the file was written; GUI thread only.
class SheetFiles
{
public:
    enum class PageSetup {
        A4,             // an explicit A4 page: the printer's default follows the locale
        PrinterDefaults // no page size, orientation or margins set
    };

    // The page printed as PDF at screen resolution.
    static bool writeSheetPdf(const QString& html, const QString& path, PageSetup page = PageSetup::A4);
    // The page as UTF-8 without byte-order mark.
    static bool writeSheetHtml(const QString& html, const QString& path);
};

#endif
