#include "support/BarCodeReader.h"

#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>

QString BarCodeReader::readCode128(const QImage& picture)
{
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(), ZXing::ImageFormat::Lum,
                                int(gray.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::Code128);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    return result.isValid() ? QString::fromStdString(result.text()) : QString();
}
