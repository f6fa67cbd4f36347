#include "import/SingleImportRun.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "import/ImageTimeFile.h"
#include "import/SingleImportRequests.h"
#include "Platform.h"

#include <QDebug>
#include <QDir>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

void warn(const QString& text)
{
    Dialogs::information(nullptr, QStringLiteral("警告"), text, QMessageBox::Yes, QMessageBox::Yes);
}

} // namespace

int countJpgFiles(QString dir)
{
    return Platform::instance()
        .entryInfoList(dir, {QStringLiteral("*.jpg"), QStringLiteral("*.JPG")}, QDir::Files)
        .size();
}

SingleImportRun::SingleImportRun(QObject* parent) : QObject(parent), m_manager(new QNetworkAccessManager(this))
{
}

void SingleImportRun::begin(const QString& orderPath, const QString& backupPath, int mode, int fileCount)
{
    m_orderPath = orderPath;
    m_backupPath = backupPath;
    m_mode = mode;
    m_fileCount = fileCount;
    m_finished = 0;
    m_failedSources.clear();
    m_imageTimes.clear();
    m_photosBefore = countJpgFiles(orderPath + photoKindFolders(mode).photos);
    m_backupsBefore = mode == 0 ? countJpgFiles(backupPath + photoKindFolders(0).photos) : 0;
    qDebug() << "oriOrderPicCount" << m_photosBefore;
    qDebug() << "oriBackPicCount" << m_backupsBefore;
    postOrderPath2(orderPath);
}

bool SingleImportRun::finishOne(const QString& imageTime)
{
    m_imageTimes += imageTime;
    ++m_finished;
    return m_finished == m_fileCount;
}

void SingleImportRun::addFailure(const QString& source)
{
    m_failedSources << source;
}

void SingleImportRun::end()
{
    if (!ImageTimeFile::append(m_orderPath + QStringLiteral("/ImageTime.txt"), m_imageTimes))
        qDebug() << "ImageTime.txt 写入失败" << m_orderPath;
    m_imageTimes.clear();
    const int photosAfter = countJpgFiles(m_orderPath + photoKindFolders(m_mode).photos);
    const int backupsAfter = m_mode == 0 ? countJpgFiles(m_backupPath + photoKindFolders(0).photos) : 0;
    QString text = QStringLiteral("导入前正式库照片：%1张\n\n导入后正式库照片：%2张")
                       .arg(m_photosBefore)
                       .arg(photosAfter);
    if (m_mode == 0)
        text += QStringLiteral("\n\n导入前备份库照片：%1张\n\n导入后备份库照片：%2张")
                    .arg(m_backupsBefore)
                    .arg(backupsAfter);
    text += QStringLiteral("    \n");
    if (m_failedSources.isEmpty()) {
        Dialogs::information(nullptr, QStringLiteral("导片成功!"), text, QMessageBox::Yes, QMessageBox::Yes);
    } else {
        text += QStringLiteral("导片失败(错误码:3)，可重试\n") + m_failedSources.join(QLatin1Char('\n'));
        warn(text);
    }
    postOrderPath(m_orderPath, photosAfter - m_photosBefore, m_mode == 0 ? backupsAfter - m_backupsBefore : 0);
}

void SingleImportRun::reimport(const QString& orderPath, const QString& backupPath, int mode)
{
    m_backupPath = backupPath;
    m_mode = mode;
    FileOperation::removeFile(orderPath + QStringLiteral("/ImageTime.txt"));
    postOrderPath(QString(), 0, 0);
}

void SingleImportRun::postOrderPath2(const QString& path)
{
    QNetworkReply* reply = ServiceCall::postForm(m_manager, URL_ORDER_UPDATEPICPATH2,
                                                 SingleImportRequests::startPaths(path, m_backupPath));
    connect(reply, &QNetworkReply::finished, this, [this, reply] { submitPicPath_2(reply); });
}

void SingleImportRun::postOrderPath(const QString& path, int photoCount, int backupCount)
{
    const QByteArray body = SingleImportRequests::finishPaths(path, m_backupPath, photoCount, backupCount, m_mode);
    qDebug() << "提交路径地址2 url" << URL_ORDER_UPDATEPICPATH;
    QNetworkReply* reply = ServiceCall::postForm(m_manager, URL_ORDER_UPDATEPICPATH, body);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { submitPicPath(reply); });
}

void SingleImportRun::submitPicPath(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return;
    qDebug() << "copyF Json:" << object;
    const QString code = object.take(QStringLiteral("code")).toString();
    if (code == QLatin1String("1"))
        emit pathsStored();
    else
        warn(QStringLiteral("错误代码：") + code);
}

void SingleImportRun::submitPicPath_2(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return;
    const QString code = object.take(QStringLiteral("code")).toString();
    qDebug() << "上传路径obj" << object;
    if (code != QLatin1String("1"))
        warn(QStringLiteral("上传路径错误代码：") + code);
}
