#include "core/Globals.h"

#include <QRegularExpression>

#include <deque>

const QString APP_VERSION = QStringLiteral("1.7.0");

QString g_uid;
QString g_userName;
QString g_shopId;
QString g_shopName;
QString g_superId;
QString g_eid;

QString g_picPath;
QString g_bakPicPath;
QString g_homePicPath;
QStringList g_storeIds;
QStringList g_storeNames;
QString g_isShowSubproduct;
QString g_separateModeName;
QString g_markDirName;
QString g_productDirName;
QString g_sjfjxz;
QString g_xztp;
QString g_yptbcp;
QString g_lyraBigImg;
QString g_lyraIsDownloadAll;

QString g_curOrderPhotoId;
QString g_curServiceTimes;
QString g_curCustomerNames;
QString g_curPhones;
QString g_curRole1;
QString g_curRole2;
QString g_curShotDate;
QString g_curPhotoDate2;
QString g_curOrderPayForKey;
QString g_curOrderPath;
QString g_curPickupTime;
QString g_curRole10;
QString g_curUrgentTime;
QString g_curPickupTypeText;

ImportRunFlag g_importRunFlag;
QString g_lyraPicPath;
std::atomic<bool> g_importWindowOpen{true};
std::atomic<int> g_importPhotoMode{0};
QString g_lastPhotoPath;
QString g_staffPhone;
QString g_sheetWideHeader;

namespace {

// Every URL built on the service's address, kept with the text that follows
// the address, so that tests can build them all anew on another one.
class UrlsOnBase
{
public:
    const QString& add(const QString& tail)
    {
        m_urls.push_back({tail, QStringLiteral(STUDIO_BASE_URL) + tail});
        return m_urls.back().url;
    }

    void rebuild(const QString& base)
    {
        for (Url& url : m_urls)
            url.url = base + url.tail;
    }

private:
    struct Url {
        QString tail;
        QString url;
    };
    std::deque<Url> m_urls; // a deque keeps the constants' referents in place
};

UrlsOnBase urlsOnBase;
const QString INDEX_PATH = QStringLiteral("/index.php?");

} // namespace

const QString& BASE_URL = urlsOnBase.add(QString());
const QString& INDEX_URL = urlsOnBase.add(INDEX_PATH);
const QString API_GROUP = QStringLiteral("g=QbtplusIma");

namespace {
const QString& endpoint(const char* queryTail)
{
    return urlsOnBase.add(INDEX_PATH + API_GROUP + QString::fromLatin1(queryTail));
}
} // namespace

const QString& URL_PUBLIC_DOLOGIN = endpoint("&m=public&a=dologin");
const QString& URL_PUBLIC_SWITCH_SHOP = endpoint("&m=public&a=switch_shop");
const QString ACCESS_TOKEN = QStringLiteral("5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8");
const QString& URL_LYRA_GETLYRASET = endpoint("&m=lyra&a=getlyraset");
const QString& URL_LYRA_GETPERSONS = endpoint("&m=lyra&a=getpersons");
const QString& URL_LYRA_GETGOODS = endpoint("&m=lyra&a=getgoods");
const QString& URL_ORDER_ORDER_LIST = endpoint("&m=order&a=order_list");
const QString& URL_ORDER_ORDER_LIST2 = endpoint("&m=order&a=order_list2");
const QString& URL_ORDERPHOTO_ORDER_ISROLE12FINISH = endpoint("&m=OrderPhoto&a=order_isrole12finish");
const QString& URL_ORDER_UPDATEPICPATH = endpoint("&m=order&a=updatepicpath");
const QString& URL_ORDER_UPDATEVIDEO = endpoint("&m=order&a=updatevideo");
const QString& URL_ORDER_SAVELYRAPATH = endpoint("&m=order&a=savelyrapath");
const QString& URL_ORDER_ORDERGOODS20230521 = endpoint("&m=order&a=ordergoods20230521");
const QString& URL_ORDER_GETORDERPIC = endpoint("&m=order&a=getorderpic");
const QString& URL_ORDER_ORDERDETAIL = endpoint("&m=order&a=orderdetail");
const QString& URL_ORDER_GETBARCODEGEN = endpoint("&m=order&a=getbarcodegen");
const QString& URL_ORDERPHOTO_ORDER_PHOTO_DEL = endpoint("&m=OrderPhoto&a=order_photo_del");
const QString& URL_ORDERPHOTO_SEND_CODE = endpoint("&m=OrderPhoto&a=send_code");
const QString& URL_ORDERPHOTO_SEND_CODE_POST = endpoint("&m=OrderPhoto&a=send_code_post");
const QString& URL_ORDER_GETORDERBYID = endpoint("&m=order&a=getorderbyid");
const QString& URL_ORDER_ORDERGOODS = endpoint("&m=order&a=ordergoods");
const QString& URL_ORDER_SENDTOSHOP = endpoint("&m=order&a=sendtoshop");
const QString& URL_ORDER_GOTODIGITALID_POST = endpoint("&m=order&a=gotodigitalid_post");
const QString& URL_ORDER_GET_ORDER_PATH = endpoint("&m=order&a=get_order_path");
const QString& URL_ORDER_GET_ORDER_PIC_PATH = endpoint("&m=order&a=get_order_pic_path");
const QString& URL_ORDER_UPDATEPICPATH2 = endpoint("&m=order&a=updatepicpath2");
const QString& URL_ORDER_UPDATEPHOTODATE = endpoint("&m=order&a=updatephotodate");
const QString& URL_VERSION_CHECK = urlsOnBase.add(INDEX_PATH + QStringLiteral("g=Publicapi&m=Version&a=check_update"));

void setServiceBaseUrlForTests(const QString& baseUrl)
{
    urlsOnBase.rebuild(baseUrl);
}

ImportRunFlag& ImportRunFlag::operator=(const QString& value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_value = value;
    return *this;
}

ImportRunFlag::operator QString() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_value;
}

bool ImportRunFlag::operator==(const QString& value) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_value == value;
}

QString sanitizeFileName(QString name)
{
    static const QRegularExpression forbidden(QStringLiteral("[<>:\"/\\\\|?*\\x00-\\x1F]"));
    name.remove(forbidden);
    // Dropping dots can uncover a trailing blank, and trimming a trailing dot:
    // repeat until the name no longer changes.
    QString previous;
    do {
        previous = name;
        name = name.trimmed();
        while (name.endsWith(QLatin1Char('.')))
            name.chop(1);
    } while (name != previous);
    return name;
}
