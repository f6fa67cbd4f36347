#include "import/ImportErrorLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace ImportErrorLog {

namespace {

const qint64 kMaxLogSize = 524288;

QString folderOverride;

// The program's "logs" folder, or the user's own one where the program's
// folder is read-only (as on most Linux installations).
QString logFolder()
{
    const QString wanted = folderOverride.isEmpty()
                               ? QCoreApplication::applicationDirPath() + QStringLiteral("/logs")
                               : folderOverride;
    if (QDir().mkpath(wanted) && QFileInfo(wanted).isWritable())
        return wanted;
    const QString fallback =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/logs");
    QDir().mkpath(fallback);
    qDebug() << "导片错误日志目录不可写:" << wanted << "改用:" << fallback;
    return fallback;
}

} // namespace

void setFolder(const QString& folder)
{
    folderOverride = folder;
}

void write(const QString& order, const QString& message)
{
    const QString folder = logFolder();
    const QString path = folder + QStringLiteral("/import_error.log");
    const QFileInfo log(path);
    if (log.exists() && log.size() > kMaxLogSize) {
        const QString old = folder + QStringLiteral("/import_error.log.bak");
        QFile::remove(old);
        QFile::rename(path, old);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) << " | "
        << (order.isEmpty() ? QStringLiteral("-") : order) << " | " << message << "\n";
}

QString imageErrorMessage(int errorCode)
{
    if (errorCode == 1)
        return QStringLiteral("服务器路径错误，请检查后重新批量导片");
    if (errorCode == 2)
        return QStringLiteral("备份服务器路径错误，请检查后重新批量导片");
    return QStringLiteral("导片失败(错误码:%1)，可重试").arg(errorCode);
}

} // namespace ImportErrorLog
