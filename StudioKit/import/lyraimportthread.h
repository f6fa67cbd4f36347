#ifndef LYRAIMPORTTHREAD_H
#define LYRAIMPORTTHREAD_H

#include "import/LyraFileInfo.h"

#include <QRunnable>
#include <QString>

#include <memory>

class CallbackGuard;
class QObject;

// Pool job of a Lyra-folder import: copies one file below the order's Lyra
// folder and calls the import dialog back by slot name, queued:
// "slt_lyrathreadmsg" (QString) before the copy, "importCopyLyraFailedSlot"
// (int row, QString sourcePath, QString reason) when the file did not arrive,
// then "importCopyLyraProgressSlot" (int row, int currentCount,
// int totalCount, QString toDir) whatever the result. A window that is gone
// by then is not called. Built on the receiver's thread (the GUI thread),
// which the call-back guard needs; deletes itself after run.
class LyraImportThread : public QRunnable
{
public:
    LyraImportThread(int row, int currentCount, int totalCount, QString toDir, LyraFileInfo info, QObject* receiver);

    void run() override;
    bool copyFile(QString source, QString target);

private:
    bool fail(const QString& source, const QString& reason);

    int row;
    int currentCount;
    int totalCount;
    QString toDir;
    LyraFileInfo info;
    std::shared_ptr<CallbackGuard> receiver;
};

#endif
