#include "import/ImportedFiles.h"

#include "files/FileOperation.h"
#include "files/ImageOperation.h"
#include "import/ImportFileCounts.h"
#include "import/importordersphotodlg.h"
#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QImage>

namespace {

// Where the imported-file list of a type comes from and what it touches.
struct ImportedFolders {
    QString listed;
    QString opened;
    QStringList removed;
};

ImportedFolders importedFolders(int type)
{
    switch (type) {
    case importOrdersPhotoDlg::TypeFinished:
        return {QStringLiteral("成品缩略图100"), QStringLiteral("成品"),
                {QStringLiteral("成品/"), QStringLiteral("成品缩略图/"), QStringLiteral("成品缩略图100/"),
                 QStringLiteral("成品缩略图2250/")}};
    case importOrdersPhotoDlg::TypeDesign:
        return {QStringLiteral("设计缩略图100"), QStringLiteral("设计"),
                {QStringLiteral("设计/"), QStringLiteral("设计缩略图/"), QStringLiteral("设计缩略图100/"),
                 QStringLiteral("设计缩略图2250/")}};
    default:
        return {QStringLiteral("thumbnail100"),
                type == importOrdersPhotoDlg::TypeOriginal ? QStringLiteral("照片") : QString(),
                {QStringLiteral("照片/"), QStringLiteral("thumbnail/"), QStringLiteral("thumbnail100/"),
                 QStringLiteral("thumbnail2250/")}};
    }
}

} // namespace

QStringList importedFilePaths(const QString& orderPath, int type)
{
    if (orderPath.isEmpty())
        return {};
    const QString folder = withTrailingSlash(orderPath) + importedFolders(type).listed;
    if (!FileOperation::isDirExist(folder))
        return {};
    QStringList paths;
    const QFileInfoList entries = Platform::instance().entryInfoList(
        folder, {}, QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const QString file = folder + QLatin1Char('/') + entry.fileName();
        if (FileOperation::isFileExist(file))
            paths << file;
    }
    return paths;
}

QPixmap importedFileIcon(const QString& path)
{
    QFile file(Platform::diskPath(path));
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    // Bounded like every decode: a huge header gives no icon.
    QImage picture = ImageOperation::loadImage(data);
    if (!picture.isNull())
        picture =
            ImageOperation::squareImage(picture.scaled(100, 100, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return QPixmap::fromImage(picture);
}

QString importedFilesFolder(const QString& orderPath, int type)
{
    const QString folder = importedFolders(type).opened;
    if (orderPath.isEmpty() || folder.isEmpty())
        return QString();
    return withTrailingSlash(orderPath) + folder;
}

void removeImportedFiles(const QString& orderPath, int type, const QStringList& names)
{
    // Never relative to the current folder.
    if (orderPath.isEmpty())
        return;
    const QStringList folders = importedFolders(type).removed;
    for (const QString& name : names) {
        for (const QString& folder : folders)
            FileOperation::removeFile(withTrailingSlash(orderPath) + folder + name);
    }
}
