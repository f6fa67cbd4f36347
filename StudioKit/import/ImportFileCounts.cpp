#include "import/ImportFileCounts.h"

#include "files/FileOperation.h"
#include "import/ImportTypes.h"
#include "import/importordersphotodlg.h"
#include "Platform.h"

#include <QDir>

int countEntries(const QString& folder, const QStringList& patterns)
{
    return Platform::instance().entryInfoList(folder, patterns, QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

int countPhotoFiles(const QString& dir)
{
    return countEntries(dir, {QStringLiteral("*.jpg"), QStringLiteral("*.JPG")});
}

int countVideoFiles(const QString& dir)
{
    return countEntries(dir, {QStringLiteral("*.mp4"), QStringLiteral("*.avi"), QStringLiteral("*.m4v"),
                              QStringLiteral("*.wmv")});
}

int countTypeFiles(const QString& orderPath, int type)
{
    if (orderPath.isEmpty())
        return 0;
    const QString dir = orderPath + importTypeFolder(type);
    return isVideoType(type) ? countVideoFiles(dir) : countPhotoFiles(dir);
}

int importedImageCount(const QString& orderPath, int type)
{
    if (orderPath.isEmpty() || !isPhotoType(type))
        return -1;
    const QString path = withTrailingSlash(orderPath);
    QString marker = QStringLiteral("thumbnail");
    QString content = QStringLiteral("照片");
    if (type == importOrdersPhotoDlg::TypeFinished) {
        marker = QStringLiteral("成品缩略图");
        content = QStringLiteral("成品");
    } else if (type == importOrdersPhotoDlg::TypeDesign) {
        marker = QStringLiteral("设计缩略图");
        content = QStringLiteral("设计");
    }
    if (!FileOperation::isDirExist(path + marker))
        return -1;
    return countEntries(path + content, {QStringLiteral("*.jpg"), QStringLiteral("*.png"), QStringLiteral("*.jpeg")});
}

int importedVideoCount(const QString& orderPath, int type)
{
    if (orderPath.isEmpty() || !isVideoType(type))
        return -1;
    const QString folder = withTrailingSlash(orderPath)
                           + (type == importOrdersPhotoDlg::TypeRetouchedVideo ? QStringLiteral("精修视频")
                                                                               : QStringLiteral("试拍视频"));
    if (!FileOperation::isDirExist(folder))
        return -1;
    return countVideoFiles(folder);
}

QString withTrailingSlash(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}
