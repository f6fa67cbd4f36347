#ifndef DEMOPHOTOS_H
#define DEMOPHOTOS_H

#include <QByteArray>
#include <QDataStream>
#include <QImage>
#include <QString>

// Sample photos for the demo and for tests: JPEGs that carry an Exif
// orientation the way cameras write it.
namespace DemoPhotos {

// A JPEG of `image` with an APP1 Exif block whose IFD0 holds only the
// orientation tag, in the given byte order.
QByteArray jpegWithOrientation(const QImage& image, int orientation,
                               QDataStream::ByteOrder byteOrder = QDataStream::LittleEndian, int quality = 90);

// The picture as a camera stores it under this Exif orientation: what the
// orientation's turn or mirror brings back to `upright`.
QImage storedAs(const QImage& upright, int orientation);

// A recognisable test picture: a gradient with a marked top-left corner, so
// a wrong rotation shows.
QImage samplePicture(int width, int height, int seed);

// A 4000x3000 camera-like picture: the sample gradient with sensor noise,
// which gives JPEGs of a camera's size rather than a smooth gradient's.
QImage cameraLikePicture(int seed);

// Fills `folder` with the photos a photographer brings back from a shoot
// (upright, turned and mirrored photos, RAW companions, a video, finished
// and design images) unless it exists already.
void createShootFolders(const QString& folder);

// The photos of an order folder that a design separation copies: finished
// A.jpg, B.jpg, C.JPG, rejected D.jpg, design S1.jpg with its small
// thumbnail, the mark photo A.jpg, and A.CR2 and A.NEF beside the shots.
void fillOrderFolder(const QString& orderPath);

// A finished Lyra selection of `order` in a store's Lyra folder, as Lyra
// leaves it: "选版服务器/[已选]<order>/选版结果/" with the mark "<order>.ok"
// (left out when `finished` is false), the pictures A.JPG and B.jpg, the
// page 版面1.png, the note 说明.txt, the sub-folder 精修/ with C.jpg, the
// unused 未入册照片/D.jpg and the hidden .缓存.jpg; beside it the design
// hand-over folder "<order>_待Lyra设计同步用数据/" with 设计说明.txt.
void createLyraResult(const QString& storeLyraFolder, const QString& order, bool finished = true);

// What an after-sample separation meets in a real order folder besides that:
// finished images named with a blank ("A 2.jpg") and in Chinese ("花园.jpg")
// with their RAW companions, a hidden file and an old sub-folder in 成品/.
void addAfterSampleFiles(const QString& orderPath);

// A camera's JPEG: the Exif orientation and the shot time
// ("2024:06:01 10:15:07") as DateTimeOriginal.
QByteArray jpegWithShotTime(const QImage& image, int orientation, const QString& shotTime);
// The start of a camera RAW file: TIFF data whose Exif part carries the same
// date text, then filler.
QByteArray rawWithShotTime(const QString& shotTime);

// The shoot of the demo order without folders, for the single-order import
// and its RAW download: IMG_0101.JPG to IMG_0106.JPG (IMG_0102 turned, Exif
// orientation 6), shot on 2024-06-01 at 10:15:07, :14, ... :42, and in
// "毛底/100CANON/" the RAW files IMG_0101.CR2 to IMG_0106.CR2 of the same
// shots. Nothing is made when `folder` exists.
void createSingleOrderShoot(const QString& folder);

} // namespace DemoPhotos

#endif
