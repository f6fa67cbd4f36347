#include "import/lyraimportthread.h"

#include "core/CallbackGuard.h"
#include "files/FileOperation.h"
#include "import/importorderthread.h"
#include "Platform.h"

#include <QDebug>
#include <QDir>

LyraImportThread::LyraImportThread(int row, int currentCount, int totalCount, QString toDir, LyraFileInfo info,
                                   QObject* receiver)
    : row(row)
    , currentCount(currentCount)
    , totalCount(totalCount)
    , toDir(toDir)
    , info(info)
    , receiver(CallbackGuard::of(receiver))
{
}

void LyraImportThread::run()
{
    copyFile(info.sourcePath(), info.targetPath());
    receiver->invoke("importCopyLyraProgressSlot", row, currentCount, totalCount, toDir);
}

bool LyraImportThread::copyFile(QString source, QString target)
{
    if (source == target)
        return true;
    if (!FileOperation::isFileExist(source))
        return fail(source, QStringLiteral("源文件不存在"));
    target.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QStringList parts = target.split(QLatin1Char('\\'));
    parts.removeLast();
    const QString folder = parts.join(QLatin1Char('\\'));
    QString message;
    if (!FileOperation::isDirExist(folder)) {
        message = QStringLiteral("复制文件需要创建目录 原目录：") + target + QStringLiteral(" 配置的目录：") + folder;
        // Several jobs may make the same folder at once; mkpath takes that.
        QDir().mkpath(Platform::diskPath(folder));
    } else {
        message = QStringLiteral("不用创建目录") + folder;
    }
    receiver->invoke("slt_lyrathreadmsg", message);
    qDebug() << folder;
    if (!ImportOrderThread::copyFile(source, target))
        return fail(source, QStringLiteral("复制文件失败"));
    return true;
}

bool LyraImportThread::fail(const QString& source, const QString& reason)
{
    qDebug() << "Lyra文件导入失败" << source << reason;
    receiver->invoke("importCopyLyraFailedSlot", row, source, reason);
    return false;
}
