#include "separation/MarkImages.h"

#include "files/ImageOperation.h"
#include "files/OrderFolders.h"
#include "Platform.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

QString MarkImages::targetFolder()
{
    return getSheetThumbDir() + QStringLiteral("marks/");
}

bool MarkImages::isUnsafeName(const QString& name)
{
    return name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QStringLiteral(".."));
}

bool MarkImages::copy(const QString& name, const QString& marksFolder, const QString& targetFolder,
                      QImage* picture)
{
    if (picture)
        *picture = QImage();
    if (isUnsafeName(name))
        return false;
    const QImage image = ImageOperation::loadImage(marksFolder + name);
    if (picture)
        *picture = image;
    if (image.isNull())
        return false;
    // Before the first sheet-thumbnail job the folder is unknown: never the working folder.
    if (!QDir::isAbsolutePath(targetFolder) || !QDir().mkpath(Platform::diskPath(targetFolder)))
        return false;
    qDebug() << "tempPath Path:" << targetFolder + name;
    return ImageOperation::saveImage(image, targetFolder + name, "JPG");
}

QStringList MarkImages::copyAll(const QStringList& names, const QString& marksFolder, const QString& targetFolder)
{
    QStringList failed;
    // An order without a folder of its own: never the working folder's marks/.
    if (!QDir::isAbsolutePath(Platform::diskPath(marksFolder)))
        return failed;
    for (const QString& name : names) {
        if (isUnsafeName(name) || !QFileInfo::exists(Platform::diskPath(marksFolder + name)))
            continue;
        if (!copy(name, marksFolder, targetFolder))
            failed << marksFolder + name;
    }
    return failed;
}
