#ifndef ORDERFOLDERS_H
#define ORDERFOLDERS_H

#include <QString>
#include <QStringList>

// Path globals of the current order and the names of an order folder's fixed
// sub-folders. Nothing here is locked or normalised: `g_orderPath` must end in
// a separator, and no thread may change a global while another builds paths
// from it.
extern QString g_spareDirA;
extern QString g_orderPath;
extern QString g_templatePath;
extern QString g_spareDirB;
// Written directly by the production-sheet thumbnail job.
extern QString g_sheetBaseDir;
extern QString g_sheetThumbDir;

// The folders of one kind of picture inside an order folder, each ending
// with "/": 0 photos, 1 finished images, any other kind design images.
struct PhotoKindFolders {
    QString photos;
    QString thumbnail2250;
    QString thumbnail1000;
    QString thumbnail200;
};
PhotoKindFolders photoKindFolders(int kind);

// Whether a path climbs with a ".." segment ("/" or "\" separated).
bool hasParentSegment(const QString& path);
// An order path from the service that may be written into: absolute on
// this disk and without a ".." segment, so it cannot lead outside the roots.
bool isSafeOrderPath(const QString& path);

void setOrderPath(QString folder);
QString getOrderPath();

QString getOrderPhotoDir();
QString getThumbnailDir();
QString getThumbnail2250Dir();
QString getFineDir();
QString getFineThumbnailDir();
QString getFineThumbnail2250Dir();
QString getDeletedDir();
QString getMarksDir();

void setTemplatePath(QString folder);
QString getTemplatePath();
QString getBedroomTemplateDir();
QString getLivingRoomTemplateDir();
QString getOtherTemplateDir();

QString getSheetBaseDir();
void setSheetThumbDir(QString folder);
QString getSheetThumbDir();

void setSpareDirA(QString folder);
QString getSpareDirA();
void setSpareDirB(QString folder);
QString getSpareDirB();

#endif
