#include "import/cr2downloadrunnable.h"

#include "core/CallbackGuard.h"
#include "core/Globals.h"
#include "files/FileOperation.h"
#include "files/SafeFileWriter.h"
#include "import/PhotoImport.h"
#include "Platform.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// A folder's entries by name, hidden ones left out. Windows lists "." and
// ".." first, and the progress counts them: kDots stands for them.
constexpr int kDots = 2;

QFileInfoList listing(const QString& dir)
{
    return Platform::instance().entryInfoList(dir, {}, QDir::AllEntries | QDir::NoDotAndDotDot,
                                              QDir::Name | QDir::IgnoreCase);
}

QString withBackslash(QString dir)
{
    if (!dir.endsWith(QLatin1Char('\\')) && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('\\');
    return dir;
}

} // namespace

CR2DownloadRunnable::CR2DownloadRunnable(QObject* receiver, QString rawDir, QString localDir, QString imageTimeText)
    : rawDir(rawDir), localDir(localDir), receiver(CallbackGuard::of(receiver)), imageTimeText(imageTimeText)
{
    parseImageTimes(imageTimeText);
}

CR2DownloadRunnable::~CR2DownloadRunnable() = default;

void CR2DownloadRunnable::run()
{
    QString message;
    const bool ok = downLoad(rawDir, localDir, message);
    receiver->invoke("onDownloadFinish", ok, message);
}

void CR2DownloadRunnable::parseImageTimes(QString text)
{
    imageTimes.clear();
    for (const QString& piece : text.split(QLatin1Char('|'))) {
        if (piece.isEmpty())
            continue;
        const QStringList parts = piece.split(QLatin1Char('>'));
        if (parts.size() != 2)
            continue;
        // A name that could leave the local folder is no photo's name.
        if (sanitizeFileName(parts.at(0)) != parts.at(0) || parts.at(0).contains(QLatin1String("..")))
            continue;
        imageTimes.append({parts.at(0), parts.at(1)});
    }
}

bool CR2DownloadRunnable::dirHasEntries(QString dir)
{
    return FileOperation::isDirExist(dir) && !listing(dir).isEmpty();
}

bool CR2DownloadRunnable::findRawDir(QString dir, QString& rawSubDir)
{
    if (!FileOperation::isDirExist(dir))
        return false;
    for (const QFileInfo& entry : listing(dir)) {
        if (!entry.isDir())
            continue;
        for (const QFileInfo& inner : listing(entry.filePath())) {
            const QString suffix = inner.suffix().toLower();
            if ((suffix == QLatin1String("cr2") || suffix == QLatin1String("nef"))) {
                rawSubDir = entry.filePath();
                return true;
            }
        }
    }
    return false;
}

bool CR2DownloadRunnable::getPicShotTime(QString path, QString& time)
{
    const bool opened = PhotoImport::scanShotTime(path, {{0, true}}, time);
    if (opened)
        qDebug() << "拍摄日期" << path << time;
    return opened;
}

const QHash<QString, QString>& CR2DownloadRunnable::folderShotTimes(const QString& dir)
{
    if (scannedDir == dir)
        return scannedTimes;
    scannedDir = dir;
    scannedTimes.clear();
    for (const QFileInfo& entry : listing(dir)) {
        if (entry.isDir())
            continue;
        QString time;
        if (getPicShotTime(entry.filePath(), time) && !time.isEmpty() && !scannedTimes.contains(time))
            scannedTimes.insert(time, entry.fileName().section(QLatin1Char('.'), 0, 0));
    }
    return scannedTimes;
}

QString CR2DownloadRunnable::matchPhotoName(QString dir, QString rawPath, QString defaultName)
{
    QString time;
    if (!getPicShotTime(rawPath, time))
        return defaultName;
    // A file without a shot time belongs to no photo.
    if (time.isEmpty())
        return defaultName;
    if (!imageTimeText.isEmpty()) {
        for (const ImageTime& entry : qAsConst(imageTimes)) {
            if (entry.shotTime == time)
                return entry.fileName;
        }
    }
    return folderShotTimes(dir).value(time, defaultName);
}

bool CR2DownloadRunnable::downLoad(QString rawDir, QString localDir, QString& message)
{
    rawDir = withBackslash(rawDir);
    localDir = withBackslash(localDir);
    if (!dirHasEntries(rawDir)) {
        message = QStringLiteral("毛底目录为空");
        return false;
    }
    if (!FileOperation::createDir(localDir)) {
        message = QStringLiteral("创建本地目录失败，目录为：") + localDir;
        return false;
    }
    message = QStringLiteral("下载完毕！\n\n");
    const QString local = Platform::diskPath(localDir);

    QString sub;
    if (!findRawDir(rawDir, sub)) {
        const QFileInfoList entries = listing(rawDir);
        for (int i = 0; i < entries.size(); ++i) {
            const QFileInfo& entry = entries.at(i);
            if (entry.isDir())
                continue;
            if (!FileOperation::copyFile(entry.filePath(), local + entry.fileName(), true))
                message += QStringLiteral("拷贝照片未成功，照片名：") + entry.filePath() + QLatin1Char('\n');
            receiver->invoke("onDownloadProcess", int(entries.size()) + kDots, i + 1 + kDots);
        }
        return true;
    }

    QSet<QString> written;
    QList<QPair<QFileInfo, QString>> arrived;
    const QFileInfoList entries = listing(sub);
    for (int i = 0; i < entries.size(); ++i) {
        const QFileInfo& entry = entries.at(i);
        if (entry.isDir())
            continue;
        const QString name = matchPhotoName(rawDir, entry.filePath(), entry.completeBaseName());
        qDebug() << "匹配：" << entry.fileName() << "和" << name;
        QString target = local + name + QLatin1Char('.') + entry.suffix();
        // Two files of one second: the later keeps its own name. Names are
        // compared as Windows does, without case.
        if (written.contains(target.toLower())) {
            target = local + entry.fileName();
            for (int n = 1; written.contains(target.toLower()); ++n)
                target = FileOperation::numberedName(local + entry.fileName(), n);
        }
        if (SafeFileWriter::copyFile(entry.filePath(), target, SafeFileWriter::Existing::Replace)) {
            written.insert(target.toLower());
            arrived.append({entry, target});
        } else {
            message += QStringLiteral("拷贝原图照片未成功，照片名：") + entry.filePath() + QLatin1Char('\n');
        }
        receiver->invoke("onDownloadProcess", int(entries.size()) + kDots, i + 1 + kDots);
    }

    // Only what arrived whole leaves the RAW folder; the folder goes when
    // nothing else is left in it.
    for (const auto& copy : qAsConst(arrived)) {
        if (QFileInfo(copy.second).size() == copy.first.size())
            QFile::remove(copy.first.filePath());
    }
    QDir folder(sub);
    const bool empty = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty();
    if (!empty || !folder.removeRecursively())
        message += QStringLiteral("原图目录未删除，请检查后手动处理。路径为：") + sub + QLatin1Char('\n');
    return true;
}
