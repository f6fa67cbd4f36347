#include "import/thumbnailthread1.h"

#include "core/CallbackGuard.h"
#include "core/Globals.h"
#include "files/FileOperation.h"
#include "files/ImageOperation.h"
#include "files/OrderFolders.h"
#include "import/PhotoImport.h"

#include "Platform.h"

#include <QDebug>
#include <QFile>
#include <QPixmap>

ThumbnailThread1::ThumbnailThread1(QString sourcePath, QString fileName, QString orderDir, QString backupDir,
                                   QObject* receiver, int thumbSize)
    : orderDir(orderDir)
    , backupDir(backupDir)
    , fileName(fileName)
    , sourcePath(sourcePath)
    , receiver(CallbackGuard::of(receiver))
    , thumbSize(thumbSize)
    , mode(1)
{
}

ThumbnailThread1::ThumbnailThread1(QString listPath, int listIndex, QObject* receiver, int thumbSize)
    : listPath(listPath), listIndex(listIndex), receiver(CallbackGuard::of(receiver)), thumbSize(thumbSize), mode(2)
{
}

ThumbnailThread1::ThumbnailThread1(QString checkPath, QObject* receiver)
    : receiver(CallbackGuard::of(receiver)), mode(3), checkPath(checkPath)
{
}

ThumbnailThread1::~ThumbnailThread1() = default;

void ThumbnailThread1::run()
{
    switch (mode) {
    case 1: importImage(); break;
    case 2: makeListThumb(); break;
    case 3: checkPathExists(); break;
    default: break;
    }
}

template <typename... Args>
void ThumbnailThread1::callBack(const char* slot, const Args&... args)
{
    if (g_importWindowOpen)
        receiver->invoke(slot, args...);
}

QString ThumbnailThread1::shotTimeEntry(const QString& fileName, const QString& shotTime)
{
    QStringList pieces = fileName.split(QLatin1Char('.'));
    pieces.removeLast();
    return pieces.join(QString()) + QLatin1Char('>') + shotTime + QLatin1Char('|');
}

void ThumbnailThread1::importImage()
{
    if (orderDir.isEmpty() || backupDir.isEmpty() || sourcePath.isEmpty())
        return;
    // Read now: the window's mode of this run.
    const int kind = g_importPhotoMode;
    const PhotoKindFolders folders = photoKindFolders(kind);
    QString entry;
    PhotoImport::Targets targets;
    if (kind == 0) {
        QString shotTime;
        getPicShotTime(sourcePath, shotTime);
        if (!shotTime.isEmpty())
            entry = shotTimeEntry(fileName, shotTime);
        targets.backup = backupDir + folders.photos + fileName;
    }
    targets.photos << orderDir + folders.photos + fileName;
    targets.thumbnail2250 = orderDir + folders.thumbnail2250 + fileName;
    targets.thumbnail1000 = orderDir + folders.thumbnail1000 + fileName;
    targets.thumbnail200 = orderDir + folders.thumbnail200 + fileName;
    PhotoImport::Settings settings;
    settings.losslessTurn = true;
    settings.thumbnailFormat = "JPG";
    settings.thumbnailQuality = 100;
    settings.stopAtFirstFailure = false;
    const PhotoImport::Outcome outcome = PhotoImport::run(sourcePath, targets, settings);
    if (!outcome.decoded)
        qDebug() << "空照片：" << orderDir;
    if (!outcome.ok()) {
        callBack("onImportImageFailed", sourcePath, outcome.failed.first());
        entry.clear();
    }
    callBack("onFinishImportImage", entry);
}

void ThumbnailThread1::makeListThumb()
{
    QFile file(Platform::diskPath(listPath));
    QImage image;
    // Decoded in the buffers the pool lends, as the import does; only the
    // scaled copy leaves.
    PhotoImport::Buffers* buffers = PhotoImport::lentBuffers();
    if (file.open(QIODevice::ReadOnly))
        ImageOperation::decodeInto(file.readAll(), buffers ? &buffers->decoded : nullptr, &image);
    if (!image.isNull())
        image = ImageOperation::squareImage(
            image.scaled(thumbSize, thumbSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    callBack("updateThumbIcon", listIndex, QPixmap::fromImage(image));
}

void ThumbnailThread1::checkPathExists()
{
    callBack("onIsPathExist", FileOperation::isDirExist(checkPath));
}

bool ThumbnailThread1::getPicShotTime(QString path, QString& shotTime)
{
    return PhotoImport::scanShotTime(path, {{0, false}, {2000, true}}, shotTime);
}
