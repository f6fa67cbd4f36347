#include "import/importordermodel.h"

#include "core/Globals.h"

#include <QDateTime>
#include <QDebug>

namespace {

// Every value of the order list is text; numbers and the rest read as null.
QString text(const QJsonObject& order, const char* key)
{
    return order.value(QLatin1String(key)).toString();
}

// Roots are "" rather than null when the service left them out.
QString rootText(const QJsonObject& roots, const char* key)
{
    return roots.contains(QLatin1String(key)) ? text(roots, key) : QStringLiteral("");
}

QString joinNonEmpty(const QStringList& parts)
{
    QString joined;
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        if (!joined.isEmpty())
            joined += QLatin1Char('-');
        joined += part;
    }
    return joined;
}

} // namespace

ImportOrderModel::ImportOrderModel(QJsonObject order, QObject* parent)
    : QObject(parent)
{
    m_order_photo_id = text(order, "order_photo_id");
    m_orderpayforkey = text(order, "orderpayforkey");
    m_phototype = text(order, "phototype");
    m_servicetimes = text(order, "servicetimes");
    m_lyrapath = text(order, "lyrapath");
    m_bname = text(order, "bname");
    m_wname = text(order, "wname");
    m_mname = text(order, "mname");
    momtel = text(order, "momtel");
    dadtel = text(order, "dadtel");
    m_comboname = text(order, "comboname");
    m_comboprice = text(order, "comboprice");
    m_order_price = text(order, "order_price");
    m_orderbaseprice = text(order, "orderbaseprice");
    m_orderpayforkey2 = text(order, "orderpayforkey");
    m_gotodigitaltime = text(order, "gotodigitaltime");
    m_booktime = text(order, "booktime");
    m_tiaosename = text(order, "tiaosename");
    m_tiaoxiname = text(order, "tiaoxiname");
    m_storesname = text(order, "storesname");
    m_gotodigitaltime2 = text(order, "gotodigitaltime");

    bool isNumber = false;
    const qint64 bookSeconds = m_booktime.toLongLong(&isNumber);
    m_booktime = QDateTime::fromSecsSinceEpoch(isNumber ? bookSeconds : 0, Qt::LocalTime)
                     .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));

    m_sampledate = text(order, "sampledate");
    if (m_sampledate.isEmpty())
        m_sampledate = QStringLiteral("1970-01-01");
    getphotodate = text(order, "getphotodate");
    m_shotdate = text(order, "shotdate");
    m_role1 = text(order, "role1");
    m_role2 = text(order, "role2");
    m_yindouer = text(order, "yindouer");
    orderpath = text(order, "orderpath");
    orderbakpicpath = text(order, "orderbakpicpath");

    m_importOrderPath = orderpath;
    m_importOrderBakPath = orderbakpicpath;

    const QJsonObject roots = order.take(QStringLiteral("picpathnew")).toObject();
    bakpicpath = rootText(roots, "bakpicpath");
    homepicpath = rootText(roots, "homepicpath");
    picpath = rootText(roots, "picpath");
    m_bakRootPath = bakpicpath;
    m_homeRootPath = homepicpath;
    m_picRootPath = picpath;

    lyraServerPath = rootText(roots, "lyrapath") + QStringLiteral("\\选版服务器");
    m_lyraPicPath = lyraServerPath;

    m_phototype2 = text(order, "phototype");
    m_orderPrefix[1] = orderNumber();
    m_customerNames = joinNonEmpty({m_bname, m_wname, m_mname});

    QString suffix = m_customerNames;
    if (!m_role1.isEmpty())
        suffix += QLatin1Char('-') + m_role1;
    if (!m_role2.isEmpty())
        suffix += QLatin1Char('-') + m_role2;
    suffix = sanitizeFileName(suffix.trimmed());
    for (QString& folderSuffix : m_folderSuffix)
        folderSuffix = suffix;

    qDebug() << "______________" << order;
    qDebug() << "生成的后缀是：" << suffix << "哈哈哈";
}

ImportOrderModel::ImportOrderModel(QObject* parent)
    : QObject(parent)
{
}

ImportOrderModel::~ImportOrderModel() = default;

QString ImportOrderModel::orderNumber() const
{
    return QStringLiteral("%1-%2").arg(m_orderpayforkey, m_servicetimes);
}

QStringList ImportOrderModel::renamedFileNames(QStringList paths, int type) const
{
    QStringList names;
    for (const QString& path : paths) {
        const int separator = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
        const QString fileName = path.mid(separator + 1);
        QStringList parts = fileName.split(QLatin1Char('.'));
        const QString extension = QLatin1Char('.') + parts.takeLast();
        const QString base = parts.join(QLatin1Char('.'));
        if (type >= 0 && type < kTextTypes) {
            const QString suffix = m_imageSuffix[type];
            names << base + (suffix.isEmpty() ? QString() : QLatin1Char('-') + suffix) + extension;
        } else if (type == 3 || type == 4) {
            names << fileName;
        } else {
            names << base;
        }
    }
    return names;
}

QString ImportOrderModel::orderPrefix(int type) const
{
    return type >= 0 && type < kTextTypes ? m_orderPrefix[type] : QString();
}

void ImportOrderModel::setOrderPrefix(int type, const QString& prefix)
{
    if (type >= 0 && type < kTextTypes)
        m_orderPrefix[type] = prefix;
}

QString ImportOrderModel::folderSuffix(int type) const
{
    return type >= 0 && type < kTextTypes ? m_folderSuffix[type] : QString();
}

void ImportOrderModel::setFolderSuffix(int type, const QString& suffix)
{
    if (type < 0 || type >= kTextTypes)
        return;
    for (QString& folderSuffix : m_folderSuffix)
        folderSuffix = suffix;
}

QString ImportOrderModel::imageSuffix(int type) const
{
    return type >= 0 && type < kTextTypes ? m_imageSuffix[type] : QString();
}

void ImportOrderModel::setImageSuffix(int type, const QString& suffix)
{
    if (type >= 0 && type < kTextTypes)
        m_imageSuffix[type] = suffix;
}

QStringList ImportOrderModel::selectedFiles(int type) const
{
    return type >= 0 && type < kFileTypes ? m_selectedFiles[type] : QStringList();
}

void ImportOrderModel::setSelectedFiles(int type, const QStringList& files)
{
    if (type >= 0 && type < kFileTypes)
        m_selectedFiles[type] = files;
}

quint16 ImportOrderModel::importedCount(int type) const
{
    return type >= 0 && type < kFileTypes ? m_importedCount[type] : 0;
}

void ImportOrderModel::setImportedCount(int type, const quint16& count)
{
    if (type >= 0 && type < kFileTypes)
        m_importedCount[type] = count;
}

quint16 ImportOrderModel::finishedCount(int type) const
{
    return type >= 0 && type < kFileTypes ? m_finishedCount[type] : 0;
}

void ImportOrderModel::setFinishedCount(int type, const quint16& count)
{
    if (type >= 0 && type < kFileTypes)
        m_finishedCount[type] = count;
}

bool ImportOrderModel::isImported(int type) const
{
    return type >= 0 && type < kFlagTypes && m_isImported[type];
}

void ImportOrderModel::setIsImported(int type, bool imported)
{
    if (type >= 0 && type < kFlagTypes)
        m_isImported[type] = imported;
}
