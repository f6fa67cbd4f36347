#include "files/CopyFileThread.h"

#include "files/FileOperation.h"
#include "Platform.h"

#include <QFileInfo>

namespace {

bool isSameFile(const QString& a, const QString& b)
{
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity fileNameCase = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity fileNameCase = Qt::CaseSensitive;
#endif
    const QString first = QFileInfo(Platform::diskPath(a)).canonicalFilePath();
    return !first.isEmpty()
        && first.compare(QFileInfo(Platform::diskPath(b)).canonicalFilePath(), fileNameCase) == 0;
}

} // namespace

CopyFileThread::CopyFileThread(const QString& source, const QString& target)
    : source(source), target(target), mode(Move)
{
}

CopyFileThread::CopyFileThread(const QString& path)
    : source(path), mode(Delete)
{
}

void CopyFileThread::run()
{
    switch (mode) {
    case Delete:
        FileOperation::removeFile(source);
        break;
    case Nothing:
        break;
    default:
        // The source is the only copy until the target is written, and a
        // move onto itself has nothing to delete.
        if (FileOperation::copyFile(source, target, true) && !isSameFile(source, target))
            FileOperation::removeFile(source);
        break;
    }
}
