#include "files/BarCodePicture.h"

#include "files/ImageOperation.h"

#include <QPainter>

#include <zint.h>

#include <memory>

namespace {

struct SymbolDeleter
{
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

QImage noPicture(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return QImage();
}

// zint's raster scale: 0.5 draws one pixel per module.
float scaleFor(int modulePixels)
{
    return modulePixels / 2.0f;
}

} // namespace

QImage BarCodePicture::draw(const QString& text, QString* error)
{
    const Symbol symbol(ZBarcode_Create());
    if (!symbol)
        return noPicture(error, QStringLiteral("out of memory"));
    symbol->symbology = BARCODE_CODE128;
    symbol->input_mode = UNICODE_MODE;
    symbol->show_hrt = 0;
    symbol->output_options |= BARCODE_QUIET_ZONES;
    const QByteArray utf8 = text.toUtf8();
    if (ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(utf8.constData()), utf8.size()) >= ZINT_ERROR)
        return noPicture(error, QString::fromLatin1(symbol->errtxt));

    // One pixel per module first: the width counts the modules, quiet zones included.
    symbol->scale = scaleFor(1);
    if (ZBarcode_Buffer(symbol.get(), 0) >= ZINT_ERROR)
        return noPicture(error, QString::fromLatin1(symbol->errtxt));
    const int modulePixels = Width / symbol->bitmap_width;
    if (modulePixels < 1)
        return noPicture(error, QStringLiteral("%1 modules do not fit in %2 pixels").arg(symbol->bitmap_width).arg(Width));
    symbol->scale = scaleFor(modulePixels);
    symbol->height = float((Height + modulePixels - 1) / modulePixels);
    if (ZBarcode_Buffer(symbol.get(), 0) >= ZINT_ERROR)
        return noPicture(error, QString::fromLatin1(symbol->errtxt));

    const QImage bars(symbol->bitmap, symbol->bitmap_width, symbol->bitmap_height, 3 * symbol->bitmap_width,
                      QImage::Format_RGB888);
    QImage picture(Width, Height, QImage::Format_RGB888);
    picture.fill(Qt::white);
    QPainter(&picture).drawImage((Width - bars.width()) / 2, 0, bars);
    return picture;
}

bool BarCodePicture::write(const QString& text, const QString& path, QString* error)
{
    const QImage picture = draw(text, error);
    if (picture.isNull())
        return false;
    if (!ImageOperation::saveImage(picture, path, "PNG")) {
        if (error)
            *error = QStringLiteral("cannot write ") + path;
        return false;
    }
    return true;
}
