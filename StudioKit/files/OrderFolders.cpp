#include "files/OrderFolders.h"

#include "Platform.h"

#include <QDir>
#include <QRegularExpression>

QString g_spareDirA;
QString g_orderPath;
QString g_templatePath;
QString g_spareDirB;
QString g_sheetBaseDir = QStringLiteral("");
QString g_sheetThumbDir;

PhotoKindFolders photoKindFolders(int kind)
{
    switch (kind) {
    case 0:
        return {QStringLiteral("照片/"), QStringLiteral("thumbnail2250/"), QStringLiteral("thumbnail/"),
                QStringLiteral("thumbnail100/")};
    case 1:
        return {QStringLiteral("成品/"), QStringLiteral("成品缩略图2250/"), QStringLiteral("成品缩略图/"),
                QStringLiteral("成品缩略图100/")};
    default:
        return {QStringLiteral("设计/"), QStringLiteral("设计缩略图2250/"), QStringLiteral("设计缩略图/"),
                QStringLiteral("设计缩略图100/")};
    }
}

bool hasParentSegment(const QString& path)
{
    static const QRegularExpression separators(QStringLiteral("[/\\\\]"));
    return path.split(separators).contains(QStringLiteral(".."));
}

bool isSafeOrderPath(const QString& path)
{
    return !path.isEmpty() && QDir::isAbsolutePath(Platform::diskPath(path)) && !hasParentSegment(path);
}

void setOrderPath(QString folder)
{
    g_orderPath = folder;
}

QString getOrderPath()
{
    return g_orderPath;
}

QString getOrderPhotoDir()
{
    return g_orderPath + QStringLiteral("照片/");
}

QString getThumbnailDir()
{
    return g_orderPath + QStringLiteral("thumbnail/");
}

QString getThumbnail2250Dir()
{
    return g_orderPath + QStringLiteral("thumbnail2250/");
}

QString getFineDir()
{
    return g_orderPath + QStringLiteral("成品/");
}

QString getFineThumbnailDir()
{
    return g_orderPath + QStringLiteral("成品缩略图/");
}

QString getFineThumbnail2250Dir()
{
    return g_orderPath + QStringLiteral("成品缩略图2250/");
}

QString getDeletedDir()
{
    return g_orderPath + QStringLiteral("汰片/");
}

QString getMarksDir()
{
    return g_orderPath + QStringLiteral("marks/");
}

void setTemplatePath(QString folder)
{
    g_templatePath = folder;
}

QString getTemplatePath()
{
    return g_templatePath;
}

QString getBedroomTemplateDir()
{
    return g_templatePath + QStringLiteral("模板/卧室/");
}

QString getLivingRoomTemplateDir()
{
    return g_templatePath + QStringLiteral("模板/客厅/");
}

QString getOtherTemplateDir()
{
    return g_templatePath + QStringLiteral("模板/其他/");
}

QString getSheetBaseDir()
{
    return g_sheetBaseDir;
}

void setSheetThumbDir(QString folder)
{
    g_sheetThumbDir = folder;
}

QString getSheetThumbDir()
{
    return g_sheetThumbDir;
}

void setSpareDirA(QString folder)
{
    g_spareDirA = folder;
}

QString getSpareDirA()
{
    return g_spareDirA;
}

void setSpareDirB(QString folder)
{
    g_spareDirB = folder;
}

QString getSpareDirB()
{
    return g_spareDirB;
}
