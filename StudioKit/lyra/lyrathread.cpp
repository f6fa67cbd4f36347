#include "lyra/lyrathread.h"

#include "core/CallbackGuard.h"
#include "files/FileOperation.h"
#include "files/SafeFileWriter.h"
#include "Platform.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {

QString textOf(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

// One "&" or "<" in a name would make the whole file unreadable for Lyra.
QString xmlText(QString value)
{
    return value.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"));
}

QString element(const QString& tag, const QString& value)
{
    return QLatin1Char('<') + tag + QLatin1Char('>') + xmlText(value) + QLatin1String("</") + tag + QLatin1Char('>');
}

QString staffRecord(const QJsonObject& person)
{
    return QLatin1String("<Staff>") + element(QStringLiteral("id"), textOf(person, "id"))
        + element(QStringLiteral("name"), textOf(person, "name")) + QLatin1String("</Staff>");
}

QString productRecord(const QJsonObject& product)
{
    return QLatin1String("<product>") + element(QStringLiteral("ID"), textOf(product, "id"))
        + element(QStringLiteral("name"), textOf(product, "name"))
        + QLatin1String("<width>0</width><height>0</height></product>");
}

// Written into a temporary file beside the old one and renamed over it, so
// a failure leaves the old list whole. Returns the error text, empty when
// every byte is on the disk.
QString writeWhole(const QString& path, const QByteArray& bytes, bool* opened)
{
    // A folder under the file's name cannot be opened as the file.
    QFile existing(Platform::diskPath(path));
    if (QFileInfo(existing).isDir()) {
        existing.open(QIODevice::WriteOnly);
        *opened = false;
        qDebug() << "文件打开失败，错误原因：" << existing.errorString();
        return existing.errorString();
    }
    SafeFileWriter writer(path);
    *opened = writer.open();
    if (!*opened) {
        qDebug() << "文件打开失败，错误原因：" << writer.errorString();
        return writer.errorString();
    }
    if (!writer.write(bytes) || !writer.commit()) {
        qDebug() << "文件写入失败，错误原因：" << writer.errorString();
        return writer.errorString();
    }
    return QString();
}

} // namespace

Lyrathread::Lyrathread(QObject* receiver, QObject* parent)
    : QThread(parent)
    , receiver(receiver)
    , guard(CallbackGuard::of(receiver))
{
}

Lyrathread::~Lyrathread() = default;

void Lyrathread::stop()
{
    stopFlag.store(true, std::memory_order_relaxed);
}

void Lyrathread::run()
{
    stopFlag.store(false, std::memory_order_relaxed);
    if (mode == QLatin1String("xml")) {
        if (dataType == 0)
            buildStaffXml();
        else if (dataType == 1)
            buildProductXml();
    } else if (mode == QLatin1String("write")) {
        writeToFile();
    } else if (mode == QLatin1String("stores")) {
        checkStores();
    }
}

void Lyrathread::checkStores()
{
    QJsonArray kept;
    QString others;
    for (const QJsonValue& value : qAsConst(stores)) {
        const QJsonObject store = value.toObject();
        const QString path = textOf(store, "lyrapath");
        if (!path.isEmpty() && Platform::instance().isReachableFolder(path)) {
            kept.append(store);
            continue;
        }
        const QString name = textOf(store, "name");
        others = others.isEmpty() ? name : others + QLatin1Char(',') + name;
    }
    guard->invoke("slt_lyrastores", kept, others);
}

void Lyrathread::buildStaffXml()
{
    buildXml(staffRecord);
}

void Lyrathread::buildProductXml()
{
    buildXml(productRecord);
}

void Lyrathread::buildXml(QString (*record)(const QJsonObject&))
{
    // One line, no blanks between tags: Lyra reads exactly this form.
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><nemovg>");
    for (const QJsonValue& value : qAsConst(data)) {
        if (stopRequested())
            return;
        text += record(value.toObject());
    }
    text += QLatin1String("</nemovg>");
    const QJsonObject report{{QStringLiteral("type"), QStringLiteral("数据配置完成")}, {QStringLiteral("xmlstr"), text}};
    if (stopRequested())
        return;
    emitXmlReport(report);
    xmlStr = text;
    if (!stopRequested())
        writeToFile();
}

void Lyrathread::writeToFile()
{
    const bool staff = dataType == 0;
    const QString fileName = staff ? QStringLiteral("VgStaff.xml") : QStringLiteral("productList.xml");
    const QString prefix = staff ? QStringLiteral("员工数据: ") : QStringLiteral("产品数据: ");
    const QByteArray bytes = xmlStr.toUtf8();
    QString errors;
    for (int i = 0; i < stores.size(); ++i) {
        if (stopRequested())
            return;
        const QJsonObject store = stores.at(i).toObject();
        const QString name = textOf(store, "name");
        const QString lyraPath = textOf(store, "lyrapath");
        const QString folder = lyraPath + QStringLiteral("\\产品");
        // Without a Lyra folder the product folder would land at the disk's root.
        if (!lyraPath.isEmpty())
            FileOperation::createDir(folder);
        const QString filePath = folder + QLatin1Char('\\') + fileName;

        const bool last = i == stores.size() - 1;
        const QString msg = last ? QStringLiteral("数据全部导入完成")
                                 : prefix + name + QStringLiteral("数据导入完成，开始给导入")
                + textOf(stores.at(i + 1).toObject(), "name") + QStringLiteral("数据...");
        QJsonObject report{{QStringLiteral("type"), last ? QStringLiteral("全部导入成功") : QStringLiteral("门店数据导入成功")},
                           {QStringLiteral("errormsg"), QString()},
                           {QStringLiteral("msg"), msg}};

        QString entry;
        if (lyraPath.isEmpty() || !FileOperation::isDirExist(folder)) {
            entry = name + QStringLiteral("lyra路径错误，写入失败：") + folder;
        } else if (!Platform::instance().isWritableFolder(folder)) {
            entry = name + QStringLiteral("lyra路径没有写入权限：") + folder;
        } else {
            bool opened = false;
            const QString error = writeWhole(filePath, bytes, &opened);
            if (!opened)
                entry = name + QStringLiteral(" 文件打开失败，错误原因：") + error;
            else if (!error.isEmpty())
                entry = name + QStringLiteral(" 文件写入失败，错误原因：") + error;
            else if (stopRequested())
                return;
        }
        if (!entry.isEmpty()) {
            errors += QLatin1Char('\n') + entry;
            report.insert(QStringLiteral("errormsg"), errors);
        }
        emitXmlReport(report);
    }
}

void Lyrathread::emitXmlReport(const QJsonObject& report)
{
    guard->invoke("slt_threademit", report);
}
