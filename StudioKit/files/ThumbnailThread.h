#ifndef THUMBNAILTHREAD_H
#define THUMBNAILTHREAD_H

#include "files/ImageData.h"

#include <QList>
#include <QRunnable>
#include <QString>

#include <memory>

class CallbackGuard;
class QObject;

// Destination folder of the order being separated; written on the GUI thread
// before the order's jobs start.
extern QString g_separateOrderDir;

// Pool job of a separation run: writes the production-sheet thumbnails of
// one order (or copies one file) and then calls its window back by slot name.
// A window that is gone by then is not called. Built on the receiver's
// thread (the GUI thread), which the call-back guard needs.
class ThumbnailThread : public QRunnable
{
public:
    // Thumbnail mode; calls "onFinishSaveThumb" when done, after
    // "onSheetThumbsNotWritten(QStringList)" with the paths of the
    // thumbnails that could not be written, if any.
    ThumbnailThread(QList<Image> images, QObject* receiver, int size);
    // Copy mode; calls "onFinishSeparateImage" after the copy.
    ThumbnailThread(const QString& source, const QString& secondPath, const QString& target, QObject* receiver);

    void run() override;

private:
    enum Mode { CopyMode = 1, ThumbnailMode = 2 };

    void copyImage();
    void saveSheetThumbs();

    QString source;
    QString target;
    std::shared_ptr<CallbackGuard> receiver;
    int size = 0;
    int mode;
    QList<Image> images;
};

#endif
