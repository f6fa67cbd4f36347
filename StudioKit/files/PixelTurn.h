#ifndef PIXELTURN_H
#define PIXELTURN_H

#include <QImage>

// Moves a picture's pixels upright for an Exif orientation into a picture
// the caller provides (kept memory, see PictureMemory), with the same
// result as Qt's own turns and mirrors.
namespace PixelTurn {

// Orientations 5 to 8 store the picture on its side.
bool swapsSides(int orientation);
// Whether turn() can move this picture's pixels (8 to 64 bits a pixel).
bool handles(const QImage& image);
// The format to draw the upright picture in: an opaque 32-bit picture comes
// out in 24-bit colour, whose lines a JPEG writer takes as they are.
QImage::Format uprightFormat(const QImage& image);
// The pixels of `from` moved into `to`, already of the upright size and of
// uprightFormat(from), for the orientations 2 to 8.
void turn(const QImage& from, QImage* to, int orientation);

} // namespace PixelTurn

#endif
