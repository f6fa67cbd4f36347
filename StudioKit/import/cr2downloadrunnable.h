#ifndef CR2DOWNLOADRUNNABLE_H
#define CR2DOWNLOADRUNNABLE_H

#include "import/ImageTime.h"

#include <QHash>
#include <QList>
#include <QRunnable>
#include <QString>

#include <memory>

class CallbackGuard;
class QObject;

// Copies a shoot's RAW files (CR2, NEF) from a RAW folder into a local folder
// and names each after the imported photo shot in the same second, as the
// order's "ImageTime.txt" tells. A RAW sub-folder is emptied of what arrived
// afterwards. Reports "onDownloadProcess" (max, value) and "onDownloadFinish"
// (ok, message) while its window lives. Build it on the window's thread.
class CR2DownloadRunnable : public QRunnable
{
public:
    CR2DownloadRunnable(QObject* receiver, QString rawDir, QString localDir, QString imageTimeText);
    ~CR2DownloadRunnable() override;

    void run() override;

    bool downLoad(QString rawDir, QString localDir, QString& message);
    void parseImageTimes(QString text);
    bool dirHasEntries(QString dir);
    bool findRawDir(QString dir, QString& rawSubDir);
    // One window from the start of the file, the last "20" wins.
    bool getPicShotTime(QString path, QString& time);
    QString matchPhotoName(QString dir, QString rawPath, QString defaultName);

    const QList<ImageTime>& entries() const { return imageTimes; }

private:
    // Shot times of the files directly in a folder, read once per run.
    const QHash<QString, QString>& folderShotTimes(const QString& dir);

    QString rawDir;
    QString localDir;
    std::shared_ptr<CallbackGuard> receiver;
    QString imageTimeText;
    QList<ImageTime> imageTimes;
    QString scannedDir;
    QHash<QString, QString> scannedTimes; // shot time -> base name, first in listing order
};

#endif
