#include "import/checkdirthread.h"

#include "files/FileOperation.h"

#include <QDebug>

CheckDirThread::CheckDirThread(QString dir) : dir(dir)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

CheckDirThread::~CheckDirThread() = default;

void CheckDirThread::run()
{
    const bool exist = FileOperation::isDirExist(dir);
    qDebug() << "目录是否存在" << (exist ? "true" : "false");
    emit onFinishCheck(exist);
}
