#ifndef CHECKDIRTHREAD_H
#define CHECKDIRTHREAD_H

#include <QString>
#include <QThread>

// Tells off the GUI thread whether a folder exists (a file server may be slow
// to answer); frees itself once it has reported.
class CheckDirThread : public QThread
{
    Q_OBJECT
public:
    explicit CheckDirThread(QString dir);
    ~CheckDirThread() override;

signals:
    void onFinishCheck(bool exist);

protected:
    void run() override;

private:
    QString dir;
};

#endif
