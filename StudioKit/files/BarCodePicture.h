#ifndef BARCODEPICTURE_H
#define BARCODEPICTURE_H

#include <QImage>
#include <QString>

// The bar-code picture of a dispatch label: a text in Code 128, encoded by
// libzint, bars with their quiet zones and no text line.
//
//   if (!BarCodePicture::write(goodsId, path, &error)) ...
//
// The label (ImageOperation::makeCodeLabel) shows the picture's full width
// and its top 74 rows in a 208 x 70 area. The picture is therefore 208 x 74,
// so that across the bars one picture pixel is one label pixel, and every
// module is the same whole number of pixels wide, as many as the symbol
// allows: the bars stay sharp on the label and on its print.
class BarCodePicture
{
public:
    static constexpr int Width = 208;
    static constexpr int Height = 74;

    // The picture, bars over its whole height, centred; a null image, with
    // the reason in `error`, when the text cannot be encoded (empty, beyond
    // Latin-1) or needs more modules than the width has pixels.
    static QImage draw(const QString& text, QString* error = nullptr);
    // Draws the picture and writes it as PNG to `path` through SafeFileWriter.
    static bool write(const QString& text, const QString& path, QString* error = nullptr);
};

#endif
