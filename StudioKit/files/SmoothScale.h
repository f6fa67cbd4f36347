#ifndef SMOOTHSCALE_H
#define SMOOTHSCALE_H

#include <QImage>

class PictureMemory;

// The thumbnails' smooth scaling, pixel for pixel and in its metadata the
// picture QImage::scaled(side, side, Qt::KeepAspectRatio,
// Qt::SmoothTransformation) gives, but computed on the calling thread and
// with less work. Qt hands every large scaling to its global pool, which
// only adds work when each core already imports a photo of its own, and it
// sums a source line again for every target line that reads it; here each
// source line is summed once, several target pixels at a time (AVX2).
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
