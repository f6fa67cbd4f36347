#ifndef GLOBALS_H
#define GLOBALS_H

#include <QString>
#include <QStringList>

#include <atomic>
#include <mutex>

// Program constants, built once at static initialisation. The service URLs
// are built on the compiled-in address; they are references so that tests can
// build them anew on the address of a stand-in service of their own.
extern const QString APP_VERSION;
extern const QString& BASE_URL;
extern const QString& INDEX_URL;
extern const QString API_GROUP;
extern const QString ACCESS_TOKEN;

extern const QString& URL_PUBLIC_DOLOGIN;
extern const QString& URL_PUBLIC_SWITCH_SHOP;
extern const QString& URL_LYRA_GETLYRASET;
extern const QString& URL_LYRA_GETPERSONS;
extern const QString& URL_LYRA_GETGOODS;
extern const QString& URL_ORDER_ORDER_LIST;
extern const QString& URL_ORDER_ORDER_LIST2;
extern const QString& URL_ORDERPHOTO_ORDER_ISROLE12FINISH;
extern const QString& URL_ORDER_UPDATEPICPATH;
extern const QString& URL_ORDER_UPDATEVIDEO;
extern const QString& URL_ORDER_SAVELYRAPATH;
extern const QString& URL_ORDER_ORDERGOODS20230521;
extern const QString& URL_ORDER_GETORDERPIC;
extern const QString& URL_ORDER_ORDERDETAIL;
extern const QString& URL_ORDER_GETBARCODEGEN;
extern const QString& URL_ORDERPHOTO_ORDER_PHOTO_DEL;
extern const QString& URL_ORDERPHOTO_SEND_CODE;
extern const QString& URL_ORDERPHOTO_SEND_CODE_POST;
extern const QString& URL_ORDER_GETORDERBYID;
extern const QString& URL_ORDER_ORDERGOODS;
extern const QString& URL_ORDER_SENDTOSHOP;
extern const QString& URL_ORDER_GOTODIGITALID_POST;
extern const QString& URL_ORDER_GET_ORDER_PATH;
extern const QString& URL_ORDER_GET_ORDER_PIC_PATH;
extern const QString& URL_ORDER_UPDATEPICPATH2;
extern const QString& URL_ORDER_UPDATEPHOTODATE;
extern const QString& URL_VERSION_CHECK;

// For tests only: builds BASE_URL and every URL on it anew on `baseUrl`
// (scheme, host and port), before any request is made. The program never
// calls it and reads its address from nowhere else.
void setServiceBaseUrlForTests(const QString& baseUrl);

// Login state.
extern QString g_uid;
extern QString g_userName;
extern QString g_shopId;
extern QString g_shopName;
extern QString g_superId;
extern QString g_eid;

// Settings of the current shop, written by the shop switch.
extern QString g_picPath;
extern QString g_bakPicPath;
extern QString g_homePicPath;
extern QStringList g_storeIds;
extern QStringList g_storeNames;
extern QString g_isShowSubproduct;
extern QString g_separateModeName;
extern QString g_markDirName;
extern QString g_productDirName;
extern QString g_sjfjxz;
extern QString g_xztp;
extern QString g_yptbcp;
extern QString g_lyraBigImg;
extern QString g_lyraIsDownloadAll;

// The order being separated, shared by the separation tools.
extern QString g_curOrderPhotoId;
extern QString g_curServiceTimes;
extern QString g_curCustomerNames;
extern QString g_curPhones;
extern QString g_curRole1;
extern QString g_curRole2;
extern QString g_curShotDate;
extern QString g_curPhotoDate2;
extern QString g_curOrderPayForKey;
extern QString g_curOrderPath;
extern QString g_curPickupTime;
extern QString g_curRole10;
extern QString g_curUrgentTime;
extern QString g_curPickupTypeText;

// "go" while a batch import runs, "no" to stop it. Written by the import
// dialog and by the import worker while the other reads it, hence the lock.
class ImportRunFlag
{
public:
    ImportRunFlag& operator=(const QString& value);
    operator QString() const;
    bool operator==(const QString& value) const;
    bool operator!=(const QString& value) const { return !(*this == value); }

private:
    mutable std::mutex m_mutex;
    QString m_value;
};
extern ImportRunFlag g_importRunFlag;

extern QString g_lyraPicPath;
// The single-order import window: whether it is open (its jobs call back
// only then) and its mode, 0 photos, 1 finished images, 2 design images.
// Written on the GUI thread while the window's jobs read them.
extern std::atomic<bool> g_importWindowOpen;
extern std::atomic<int> g_importPhotoMode;
extern QString g_lastPhotoPath;
extern QString g_staffPhone;
extern QString g_sheetWideHeader;

// Makes a text safe as one folder or file name component.
QString sanitizeFileName(QString name);

#endif
