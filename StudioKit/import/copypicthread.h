#ifndef COPYPICTHREAD_H
#define COPYPICTHREAD_H

#include <QRunnable>
#include <QString>

#include <memory>

class CallbackGuard;
class QObject;

// One file of an order copied into its folder: a photo, finished or design
// image through the import's photo step (kind from `type`), or a trial or
// retouched video. Calls "solaImgImport" on its receiver when done, while the
// receiver lives. Nothing in the program creates it. Build it on the
// receiver's thread.
class CopyPicThread : public QRunnable
{
public:
    CopyPicThread(QString orderDir, QString backupDir, QString sourcePath, QString fileName, int type,
                  QObject* receiver);
    CopyPicThread(QString orderDir, QString sourcePath, QString fileName, int type, QObject* receiver);
    ~CopyPicThread() override;

    void run() override;
    void importImg();
    void copyVideo();
    // Never replaces: false for a missing source or an existing target.
    bool copyFile(QString src, QString dst);

private:
    std::shared_ptr<CallbackGuard> receiver;
    QString orderDir;
    QString backupDir;
    QString sourcePath;
    QString fileName;
    int type = 0;
};

#endif
