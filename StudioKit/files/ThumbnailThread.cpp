#include "files/ThumbnailThread.h"

#include "core/CallbackGuard.h"
#include "files/FileOperation.h"
#include "files/ImageOperation.h"
#include "files/OrderFolders.h"

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
    for (const Image& image : qAsConst(images)) {
        workers.start(QRunnable::create([this, image, sheetThumbDir] {
            ImageOperation::saveImage(ImageOperation::getWebViewThumb(image, size), sheetThumbDir + image.getFileName());
        }));
    }
    workers.waitForDone();
    receiver->invoke("onFinishSaveThumb");
}
