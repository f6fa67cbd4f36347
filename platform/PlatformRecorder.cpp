#include "PlatformRecorder.h"

qint64 PlatformRecorder::freeBytes(const QString& path)
{
    return freeBytesAnswer == -2 ? Platform::freeBytes(path) : freeBytesAnswer;
}

bool PlatformRecorder::openFolder(const QString& path)
{
    openedFolders << path;
    return true;
}

bool PlatformRecorder::openUrl(const QUrl& url)
{
    openedUrls << url;
    return true;
}

bool PlatformRecorder::startDetached(const QString& program, const QStringList& arguments)
{
    starts << Start{program, arguments};
    return startSucceeds;
}

void PlatformRecorder::exitProcess(int status)
{
    exitStatuses << status;
}

bool PlatformRecorder::driveRootExists(const QString& root)
{
    return namesDrive(root) ? existingDriveRoots.contains(root) : Platform::driveRootExists(root);
}
