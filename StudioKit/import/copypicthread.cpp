#include "import/copypicthread.h"

#include "core/CallbackGuard.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "files/SafeFileWriter.h"
#include "import/PhotoImport.h"
#include "Platform.h"

#include <QDebug>
#include <QFileInfo>

CopyPicThread::CopyPicThread(QString orderDir, QString backupDir, QString sourcePath, QString fileName, int type,
                             QObject* receiver)
    : receiver(CallbackGuard::of(receiver))
    , orderDir(orderDir)
    , backupDir(backupDir)
    , sourcePath(sourcePath)
    , fileName(fileName)
    , type(type)
{
}

CopyPicThread::CopyPicThread(QString orderDir, QString sourcePath, QString fileName, int type, QObject* receiver)
    : CopyPicThread(orderDir, QString(), sourcePath, fileName, type, receiver)
{
}

CopyPicThread::~CopyPicThread() = default;

void CopyPicThread::run()
{
    if (unsigned(type) <= 2)
        importImg();
    else
        copyVideo();
}

void CopyPicThread::importImg()
{
    if (orderDir.isEmpty() || backupDir.isEmpty() || sourcePath.isEmpty())
        return;
    fileName.replace(QStringLiteral(".JPG"), QStringLiteral(".jpg"));
    const PhotoKindFolders folders = photoKindFolders(type);
    PhotoImport::Targets targets;
    if (type == 0)
        targets.backup = backupDir + folders.photos + fileName;
    targets.photos << orderDir + folders.photos + fileName;
    targets.thumbnail2250 = orderDir + folders.thumbnail2250 + fileName;
    targets.thumbnail1000 = orderDir + folders.thumbnail1000 + fileName;
    targets.thumbnail200 = orderDir + folders.thumbnail200 + fileName;
    PhotoImport::Settings settings;
    settings.losslessTurn = true;
    settings.thumbnailFormat = "JPG";
    settings.thumbnailQuality = 100;
    settings.stopAtFirstFailure = false;
    qDebug() << "--!开始读取照片: " << sourcePath;
    const PhotoImport::Outcome outcome = PhotoImport::run(sourcePath, targets, settings);
    qDebug() << (outcome.decoded ? "--!开始图片压缩并存储" : "--!照片导入失败时，直接拷贝");
    if (!outcome.ok())
        qDebug() << "导片失败" << outcome.failed;
    qDebug() << "--!发送完成消息";
    receiver->invoke("solaImgImport", sourcePath);
}

void CopyPicThread::copyVideo()
{
    if (orderDir.isEmpty() || sourcePath.isEmpty())
        return;
    const QString target = orderDir + (type == 3 ? QStringLiteral("试拍视频/") : QStringLiteral("精修视频/")) + fileName;
    copyFile(sourcePath, target);
    receiver->invoke("solaImgImport", type == 3 ? target : sourcePath);
}

bool CopyPicThread::copyFile(QString src, QString dst)
{
    qDebug() << "toDir=" << dst;
    if (src == dst)
        return true;
    if (!QFileInfo::exists(Platform::diskPath(src)))
        return false;
    return SafeFileWriter::copyFile(Platform::diskPath(src), Platform::diskPath(dst), SafeFileWriter::Existing::Keep);
}
