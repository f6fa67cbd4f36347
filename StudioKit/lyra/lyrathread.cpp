#include "lyra/lyrathread.h"

#include "core/CallbackGuard.h"
#include "core/Globals.h"
#include "files/FileOperation.h"
#include "files/SafeFileWriter.h"
#include "lyra/LyraExportReport.h"
#include "lyra/XmlText.h"
#include "Platform.h"

#include <QDate>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString textOf(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString();
}

QString element(const QString& tag, const QString& value)
{
    return QLatin1Char('<') + tag + QLatin1Char('>') + XmlText::content(value) + QLatin1String("</") + tag
        + QLatin1Char('>');
}

// A relative Lyra folder would be tested and written below the program's
// current folder.
bool isAbsoluteLyraPath(const QString& path)
{
    return QDir::isAbsolutePath(Platform::diskPath(path));
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


// What a shop that exports pictures and page files only keeps.
const QStringList kPageSuffixes = {"htm", "html", "jpg", "png", "jpeg", "gif", "bmp",
                                   "tiff", "psd", "webp", "svg", "eps", "ai", "wmf"};

QString orderText(const OrderItemInfo& order)
{
    return order.orderpayforkey + QStringLiteral(" 服务次") + order.servicetimes;
}

// Lyra marks a finished choice with an entry "*.ok" (a folder counts too).
bool hasFinishedMark(const QString& folder)
{
    return !Platform::instance()
                .entryInfoList(folder, {QStringLiteral("*.ok")}, QDir::AllEntries | QDir::NoDotAndDotDot)
                .isEmpty();
}

// A hand-over name from the service must stay one folder inside the order folder.
bool isOneFolderName(const QString& name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && name != QLatin1String("..")
        && name != QLatin1String(".");
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
    } else if (mode == QLatin1String("exportLyraresult")) {
        exportLyraResult();
    }
}

void Lyrathread::checkStores()
{
    QJsonArray kept;
    QString others;
    for (const QJsonValue& value : qAsConst(stores)) {
        const QJsonObject store = value.toObject();
        const QString path = textOf(store, "lyrapath");
        if (isAbsoluteLyraPath(path) && Platform::instance().isReachableFolder(path)) {
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
        // Without a Lyra folder of its own the product folder would land at
        // the disk's root or below the program's folder.
        const bool absolute = isAbsoluteLyraPath(lyraPath);
        if (absolute)
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
        if (!absolute || !FileOperation::isDirExist(folder)) {
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

void Lyrathread::postUpdateMsg(QString text)
{
    emitExportResult({{QStringLiteral("type"), QStringLiteral("update_msg")}, {QStringLiteral("alert"), text}});
}

void Lyrathread::emitExportResult(QJsonObject result)
{
    guard->invoke("slt_exportLyraResult", result);
}

void Lyrathread::exportLyraResult()
{
    LyraExportReport report;
    const QString date = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    for (const OrderItemInfo& order : qAsConst(orders)) {
        if (!order.checked)
            continue;
        // Only the program's end stops an export.
        if (stopRequested())
            return;
        const QString key = order.orderpayforkey;
        const QString times = order.servicetimes;
        currentOrderPath = order.orderpath;
        failedCopies = 0;
        // An empty path would look for "成品" in the current folder.
        if (currentOrderPath.isEmpty() || !FileOperation::isDirExist(currentOrderPath + QStringLiteral("成品")))
            report.addProblem(key, times, QStringLiteral(" 没有导入成品照片，所以产品文件夹里是Lyra的小图！"));
        postUpdateMsg(QStringLiteral("开始准备") + orderText(order) + QStringLiteral("的检查并创建路径，请稍后..."));

        if (order.lyraSelectedPath.isEmpty()) {
            report.addProblem(key, times, QStringLiteral(" 没有Lyra选版完成路径"));
            continue;
        }
        if (!Platform::instance().isReachableFolder(order.lyraSelectedPath)) {
            report.addProblem(key, times, QStringLiteral(" Lyra选版未完成或与本机不在同一局域网"));
            continue;
        }
        const QString resultSource = order.lyraSelectedPath + QStringLiteral("\\选版结果");
        if (!FileOperation::isDirExist(resultSource) || !hasFinishedMark(resultSource)) {
            report.addProblem(key, times, QStringLiteral(" Lyra选版未完成"));
            continue;
        }
        // Without a root the tree would land at the top of the disk.
        const QString dateFolder = exportRoot + QLatin1Char('/') + date;
        if (exportRoot.isEmpty() || !FileOperation::createDir(dateFolder)) {
            report.addProblem(key, times, QStringLiteral(" 创建导出日期目录失败，请检查权限"));
            continue;
        }
        const QString orderFolder = dateFolder + QLatin1Char('/')
            + sanitizeFileName(key + QStringLiteral("-服务次") + times + QLatin1Char(' ') + order.names);
        if (!FileOperation::createDir(orderFolder)) {
            report.addProblem(key, times, QStringLiteral(" 创建导出根目录失败，请检查权限"));
            continue;
        }

        bool resultCopied = false;
        const QString resultFolder = orderFolder + QStringLiteral("/选版结果");
        if (!FileOperation::createDir(resultFolder)) {
            report.addProblem(key, times, QStringLiteral(" 创建选版结果导出目录失败，请检查权限"));
        } else {
            postUpdateMsg(QStringLiteral("开始导出") + orderText(order)
                          + QStringLiteral("的Lyra选版结果, 可能比较耗时，请稍后..."));
            copyTree(resultSource, resultFolder);
            resultCopied = true;
        }

        bool everything = resultCopied;
        bool anything = resultCopied;
        if (lyraIsDownloadAll == QLatin1String("1")) {
            const QString handOverName = order.lyraRelPath + QStringLiteral("_待Lyra设计同步用数据");
            const QString handOverSource = order.lyraSelectedPath + QLatin1Char('/') + handOverName;
            const QString handOverFolder = orderFolder + QLatin1Char('/') + handOverName;
            bool handedOver = false;
            if (!FileOperation::isDirExist(handOverSource)) {
                report.addProblem(key, times, QStringLiteral(" Lyra路径下没有 待Lyra设计同步用数据 文件夹"));
            } else if (!isOneFolderName(order.lyraRelPath) || !FileOperation::createDir(handOverFolder)) {
                report.addProblem(key, times, QStringLiteral(" 创建 待Lyra设计同步用数据 导出目录失败，请检查权限"));
            } else {
                postUpdateMsg(QStringLiteral("开始导出") + orderText(order)
                              + QStringLiteral("的 待Lyra设计同步用数据, 可能比较耗时，请稍后..."));
                copyTree(handOverSource, handOverFolder);
                handedOver = true;
            }
            everything = resultCopied && handedOver;
            anything = resultCopied || handedOver;
        } else {
            // Without the hand-over an order always gets its final line.
            anything = true;
        }
        if (failedCopies > 0)
            report.addProblem(key, times, QStringLiteral(" %1个文件拷贝失败").arg(failedCopies));
        if (anything)
            report.addFinal(key, times, everything && failedCopies == 0 ? QStringLiteral("  Lyra导出完成")
                                                                        : QStringLiteral("  Lyra部分导出完成"));
    }
    emitExportResult({{QStringLiteral("type"), QStringLiteral("all_finish")}, {QStringLiteral("message"), report.text()}});
}

void Lyrathread::copyTree(const QString& from, const QString& to)
{
    folderWalk.start(from);
    copyDirectory(from, to);
}

void Lyrathread::copyDirectory(const QString& from, const QString& to)
{
    if (!FileOperation::isDirExist(to))
        QDir().mkpath(Platform::diskPath(to));
    const QFileInfoList entries =
        Platform::instance().entryInfoList(from, {}, QDir::AllEntries | QDir::NoDotAndDotDot);
    const bool pagesOnly = lyraIsDownloadAll == QLatin1String("0");
    for (const QFileInfo& entry : entries) {
        if (stopRequested())
            return;
        const QString name = entry.fileName();
        const QString source = from + QLatin1Char('/') + name;
        const QString target = to + QLatin1Char('/') + name;
        qDebug() << "准备拷贝的文件夹:" << source;
        qDebug() << "拷贝到：" << target;
        if (entry.isDir()) {
            if (pagesOnly && (name == QStringLiteral("未入册版面") || name == QStringLiteral("未入册照片")))
                continue;
            qDebug() << "导版面000:" << name;
            if (folderWalk.enter(entry)) {
                copyDirectory(source, target);
                folderWalk.leave(entry);
            }
            continue;
        }
        if (pagesOnly && !kPageSuffixes.contains(entry.suffix().toLower()))
            continue;
        QString copySource = source;
        if (lyraBigImg == QLatin1String("1") && !currentOrderPath.isEmpty()) {
            // The file server ignores case: "A.JPG" finds "a.jpg".
            const QString finished = FileOperation::resolveNameCase(currentOrderPath + QStringLiteral("成品\\") + name);
            if (FileOperation::isFileExist(finished))
                copySource = finished;
        }
        postUpdateMsg(QStringLiteral("正在拷贝") + name + QStringLiteral(", 请稍后..."));
        if (!FileOperation::copyNewFile(copySource, target)) {
            qDebug() << "Failed to copy file from" << copySource << "to" << target;
            ++failedCopies;
        }
    }
}
