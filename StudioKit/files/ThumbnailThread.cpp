#include "files/ThumbnailThread.h"

#include "core/CallbackGuard.h"
#include "files/FileOperation.h"
#include "files/ImageOperation.h"
#include "files/OrderFolders.h"

#include <QMutex>
#include <QStringList>
#include <QThreadPool>

QString g_separateOrderDir;

ThumbnailThread::ThumbnailThread(QList<Image> images, QObject* receiver, int size)
    : receiver(CallbackGuard::of(receiver)), size(size), mode(ThumbnailMode), images(images)
{
}

ThumbnailThread::ThumbnailThread(const QString& source, const QString&, const QString& target,
                                 QObject* receiver)
    : source(source), target(target), receiver(CallbackGuard::of(receiver)), mode(CopyMode)
{
}

void ThumbnailThread::run()
{
    switch (mode) {
    case CopyMode: copyImage(); break;
    case ThumbnailMode: saveSheetThumbs(); break;
    }
}

void ThumbnailThread::copyImage()
{
    if (source.isEmpty() || target.isEmpty())
        return;
    FileOperation::copyFile(source, target, true);
    receiver->invoke("onFinishSeparateImage");
}

void ThumbnailThread::saveSheetThumbs()
{
    // Read now: the run sets it for the order whose turn it is.
    g_sheetBaseDir = g_separateOrderDir;
    FileOperation::createDir(getSheetBaseDir());
    setSheetThumbDir(getSheetBaseDir() + QStringLiteral("制作单缩略图") + QStringLiteral("/"));
    QString folder = getSheetThumbDir();
    FileOperation::createDir(folder);
    // Hide the folder itself, not the empty name after its slash.
    folder.chop(1);
    FileOperation::setHiddenAttribute(folder);
    // An album holds hundreds of photos, each drawn on its own: side by
    // side they take a fraction of the time the copies take.
    QThreadPool workers;
    const QString sheetThumbDir = getSheetThumbDir();
    QMutex unwrittenLock;
    QStringList unwritten;
    for (const Image& image : qAsConst(images)) {
        workers.start(QRunnable::create([&, image] {
            // A photo gone from the order since it was listed has no thumbnail to write.
            const QImage thumbnail = ImageOperation::getWebViewThumb(image, size);
            const QString target = sheetThumbDir + image.getFileName();
            if (thumbnail.isNull() || ImageOperation::saveImage(thumbnail, target))
                return;
            QMutexLocker locker(&unwrittenLock);
            unwritten << target;
        }));
    }
    workers.waitForDone();
    // A folder in the way or a full disk: the run's summary names them.
    if (!unwritten.isEmpty()) {
        unwritten.sort();
        receiver->invoke("onSheetThumbsNotWritten", unwritten);
    }
    receiver->invoke("onFinishSaveThumb");
}
