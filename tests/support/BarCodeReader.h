#ifndef BARCODEREADER_H
#define BARCODEREADER_H

#include <QImage>
#include <QString>

// Reads bar codes from pictures with ZXing, as a scanner at the counter
// would, so tests check what a printed label says rather than how it was drawn.
class BarCodeReader
{
public:
    // The text of the Code 128 symbol in `picture`; empty when none is read.
    static QString readCode128(const QImage& picture);
};

#endif
