#include "import/OrderFolderListing.h"

#include "files/FileOperation.h"
#include "import/ImportModeTexts.h"
#include "Platform.h"

#include <QDebug>
#include <QDir>

OrderFolderListing::OrderFolderListing(const QString& orderPath, int mode)
{
    const QString path = orderPath.endsWith(QLatin1Char('/')) ? orderPath : orderPath + QLatin1Char('/');
    const ImportModeTexts texts = ImportModeTexts::of(mode);
    const QString thumbnailDir = path + texts.thumbnailFolder;
    const QString orderDir = path + texts.folder;
    m_hasThumbnailFolder = FileOperation::isDirExist(thumbnailDir);
    if (!m_hasThumbnailFolder)
        return;
    for (const QFileInfo& entry :
         Platform::instance().entryInfoList(thumbnailDir, {}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (FileOperation::isFileExist(orderDir + QLatin1Char('/') + entry.fileName()))
            m_thumbnails << thumbnailDir + QLatin1Char('/') + entry.fileName();
    }
    m_importedCount = Platform::instance().entryInfoList(orderDir, {QStringLiteral("*.jpg")}, QDir::Files).size();
}

bool OrderFolderListing::folderAppendName(const QString& orderPath, QString* name)
{
    QString folder = orderPath;
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QStringList parts = folder.section(QLatin1Char('/'), -1).split(QLatin1Char('-'));
    if (parts.size() != 2)
        return false;
    *name = parts.at(1);
    return true;
}

bool OrderFolderListing::pictureAppendName(const QString& orderPath, int mode, QString* name)
{
    const QString pictures = orderPath + ImportModeTexts::of(mode).folder + QLatin1Char('/');
    const QFileInfoList files = Platform::instance().entryInfoList(pictures, {QStringLiteral("*.jpg")}, QDir::Files,
                                                                  QDir::Name | QDir::IgnoreCase);
    if (files.isEmpty())
        return false;
    qDebug() << "photoName" << files.first().fileName();
    const QStringList parts = files.first().fileName().split(QLatin1Char('-'));
    qDebug() << "sepratePhotoName" << parts;
    if (parts.size() != 3)
        return false;
    *name = parts.at(1);
    return true;
}
