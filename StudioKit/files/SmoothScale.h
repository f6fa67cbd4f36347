#ifndef SMOOTHSCALE_H
#define SMOOTHSCALE_H

#include <QImage>

class PictureMemory;

// The thumbnails' smooth scaling: the pixels and metadata of the picture
// QImage::scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)
// gives, but computed on the calling thread and with less work. Qt hands
// every large scaling to its global pool, which only adds work when each
// core already imports a photo of its own, and it sums a source line again
// for every target line that reads it; here each source line is summed
// once, several target pixels at a time (AVX2). An opaque picture comes out
// in 24-bit colour (Format_RGB888), whose lines a JPEG writer takes as they
// are, where it converts 32-bit ones pixel by pixel: the file is the same.
// Pictures that way does not cover (other formats, a side that grows, a
// processor without AVX2) are scaled by Qt.
class SmoothScale
{
public:
    // Drawn in `memory` when given (see PictureMemory: the picture must not
    // be handed on, and must not be the one being scaled).
    static QImage toFit(const QImage& image, int side, PictureMemory* memory = nullptr);
};

#endif
