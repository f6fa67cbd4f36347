#ifndef EXIFORIENTATION_H
#define EXIFORIENTATION_H

#include <QIODevice>

namespace ExifOrientation {

// Walks a JPEG's markers up to the image data and reads the Orientation tag
// of its first Exif APP1 segment: 1 to 8, or 0 when there is no usable one.
int read(QIODevice& device);

} // namespace ExifOrientation

#endif
