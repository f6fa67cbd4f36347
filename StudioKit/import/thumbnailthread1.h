#ifndef THUMBNAILTHREAD1_H
#define THUMBNAILTHREAD1_H

#include <QRunnable>
#include <QString>

#include <memory>

class CallbackGuard;
class QObject;

// One file's job of the single-order import window (not the separation's
// ThumbnailThread). Mode 1 imports a chosen file into the order folder with
// its thumbnails and, for a photo, its backup and shot-time entry, then calls
// "onFinishImportImage" (after "onImportImageFailed" for a file that could
// not be written); mode 2 makes a list icon and calls "updateThumbIcon"; mode
// 3 checks a folder and calls "onIsPathExist". Calls go out only while the
// window is open and its receiver alive. Build it on the receiver's thread.
class ThumbnailThread1 : public QRunnable
{
public:
    ThumbnailThread1(QString sourcePath, QString fileName, QString orderDir, QString backupDir, QObject* receiver,
                     int thumbSize);
    ThumbnailThread1(QString listPath, int listIndex, QObject* receiver, int thumbSize);
    ThumbnailThread1(QString checkPath, QObject* receiver);
    ~ThumbnailThread1() override;

    void run() override;

    void importImage();
    void makeListThumb();
    void checkPathExists();
    // As the batch's scan, except that in the second window the last hit wins.
    bool getPicShotTime(QString path, QString& shotTime);

    // "IMG_0001.JPG" with the shot time gives "IMG_0001>17:05:04 12:34:56|":
    // the name without any ".", and its extension.
    static QString shotTimeEntry(const QString& fileName, const QString& shotTime);

private:
    template <typename... Args>
    void callBack(const char* slot, const Args&... args);

    QString listPath;
    int listIndex = 0;
    QString orderDir;
    QString backupDir;
    QString fileName;
    QString sourcePath;
    std::shared_ptr<CallbackGuard> receiver;
    int thumbSize = 0;
    int mode = 0;
    QString checkPath;
};

#endif
