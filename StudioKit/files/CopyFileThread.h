#ifndef COPYFILETHREAD_H
#define COPYFILETHREAD_H

#include <QRunnable>
#include <QString>

// Pool job that moves one file or deletes it.
class CopyFileThread : public QRunnable
{
public:
    CopyFileThread(const QString& source, const QString& target);
    explicit CopyFileThread(const QString& path);

    void run() override;

private:
    enum Mode { Move = 0, Delete = 1, Nothing = 2 };

    QString source;
    QString target;
    int mode;
};

#endif
