// Separates an order of 12-megapixel photos the way the design separation
// window does (its search, its start button, the products request to an
// in-process stand-in service and the copy stages on the window's pool)
// and, in the same run with equally warm sources, copies the order folder
// with std::filesystem::copy; each way runs twice, taking turns. Reports
// both throughputs (bytes written per second), their ratio, the cores and
// whether every copy equals its source.
//
//     separation_bench [photos]
//     separation_bench --goods N
//
// photos: how many 4000x3000 JPEGs the order's 成品 folder holds (default
// 40). The products reply puts all of them in an album and every tenth one
// in a print as well, so each photo is copied twice or three times: once
// into the work folder 其它/成品, then into its products.
//
// --goods N times only what a window does with a products reply of N goods
// when it arrives: parsing it, then the courier sheet and the goods (with
// the product-folder plan of the design separation) read side by side, for
// the design and the after-sample window.

#include "BenchSupport.h"
#include "core/DialogRecorder.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "files/ImageOperation.h"
#include "files/SmoothScale.h"
#include "separation/ExpressHtml.h"
#include "separation/ProductPlan.h"
#include "separation/SeparationBusy.h"
#include "separation/searchorder.h"
#include "StudioService.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFuture>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

#include <cstdio>
#include <functional>

namespace {

const QString kKey = QStringLiteral("BENCH");

// Lets the event loop run until `done` holds; false after `seconds`.
bool waitFor(const std::function<bool()>& done, int seconds)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > seconds * 1000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

QJsonObject good(const QString& id, const QString& name, const QString& type, bool homemade,
                 const QStringList& photos)
{
    return {{"id", id},
            {"goodid", id},
            {"goodname", name},
            {"goodtypename", type},
            {"goodtypeid", "12"},
            {"goodamount", "1"},
            {"picpath", photos.join(QLatin1Char('|'))},
            {"ishomemade", homemade ? "1" : "0"},
            {"parentid", "0"},
            {"isems", "0"},
            {"isurgent", "0"},
            {"factoryname", homemade ? "自制工坊" : "一厂"}};
}

// The stand-in answers the search with one order whose folder is `orderPath`
// and the products request with an album of every photo and a print of
// every tenth one.
void serveOrder(StudioService& service, const QString& orderPath, const QStringList& names)
{
    QJsonObject order;
    for (const QJsonValue& value : service.demo().value(QStringLiteral("orders")).toArray()) {
        if (value.toObject().value(QStringLiteral("order_photo_id")).toString() == QLatin1String("90002"))
            order = value.toObject();
    }
    order.insert(QStringLiteral("orderpayforkey"), kKey);
    order.insert(QStringLiteral("orderpath"), orderPath);
    service.setHandler(QStringLiteral("order/order_list"), [order](const RecordedRequest&) {
        return Response::success({{QStringLiteral("data"), QJsonArray{order}}});
    });
    QStringList prints;
    for (int i = 0; i < names.size(); i += 10)
        prints << names.at(i);
    const QJsonObject products{
        {"order_photo_id", order.value("order_photo_id")},
        {"orderpayforkey", kKey},
        {"servicetimes", order.value("servicetimes")},
        {"ordergoods0", QJsonArray{good("8001", "精修相册", "相册", true, names)}},
        {"ordergoods2", QJsonArray{good("8002", "挂画", "画类", false, prints)}}};
    service.setHandler(QStringLiteral("order/ordergoods20230521"), [products](const RecordedRequest&) {
        return Response::success({{QStringLiteral("shop_set"), QJsonObject{{"fenjian_ishaveordergoodid", "0"}}},
                                  {QStringLiteral("order"), products}});
    });
}

// Every photo under `tree` (the sheets' own pictures aside) equals the photo
// of its name in `photos`, and there are `expected` of them.
bool copiesOfPhotos(const QString& tree, const QString& photos, int expected, qint64* bytes)
{
    int count = 0;
    *bytes = 0;
    QDirIterator it(tree, {QStringLiteral("IMG_*.JPG")}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (it.next().contains(QStringLiteral("/制作单缩略图/")))
            continue;
        QFile copy(it.filePath());
        QFile source(photos + QLatin1Char('/') + it.fileName());
        if (!copy.open(QIODevice::ReadOnly) || !source.open(QIODevice::ReadOnly) || copy.readAll() != source.readAll())
            return false;
        *bytes += copy.size();
        ++count;
    }
    return count == expected;
}

// An imported order holds a 1000-pixel thumbnail of each finished photo in
// 成品缩略图, and the sheets are drawn from those. The photos repeat a few
// samples, so each sample is scaled once.
bool writeFineThumbnails(const QStringList& photos, const QString& folder)
{
    QDir().mkpath(folder);
    QHash<QByteArray, QImage> thumbnails;
    for (const QString& photo : photos) {
        QFile file(photo);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        const QByteArray bytes = file.readAll();
        QImage& thumbnail = thumbnails[bytes];
        if (thumbnail.isNull())
            thumbnail = SmoothScale::toFit(ImageOperation::loadImage(bytes), 1000);
        if (!ImageOperation::saveImage(thumbnail, folder + QFileInfo(photo).fileName()))
            return false;
    }
    return true;
}

// A products reply of `count` goods as a large order would send it: prints
// of one name (numbered one after another), every tenth good an album of
// its own name, all by courier to one of 20 addresses, every hundredth
// urgent, every fiftieth a set of two sub-goods.
QByteArray productsReply(int count)
{
    QJsonArray goods0;
    QJsonArray goods2;
    for (int i = 0; i < count; ++i) {
        const QString id = QString::number(100000 + i);
        const bool album = i % 10 == 0;
        QJsonObject item = good(id, album ? QStringLiteral("相册%1").arg(i) : QStringLiteral("6寸照片"),
                                album ? QStringLiteral("相册") : QStringLiteral("照片"), album,
                                {QStringLiteral("IMG_%1.JPG").arg(i, 6, 10, QLatin1Char('0'))});
        item.insert(QStringLiteral("isems"), QStringLiteral("1"));
        item.insert(QStringLiteral("isurgent"), i % 100 == 0 ? QStringLiteral("1") : QStringLiteral("0"));
        item.insert(QStringLiteral("orderaddress"),
                    QJsonObject{{"id", QString::number(i % 20)}, {"name", "收件人"}, {"phone", "13800138000"},
                                {"province", "浙江省"}, {"city", "杭州市"}, {"county", "西湖区"}, {"address", "文三路"}});
        if (i % 50 == 0) {
            item.insert(QStringLiteral("isexist"), QStringLiteral("1"));
            item.insert(QStringLiteral("son_good"), QJsonArray{item, item});
        }
        (i % 2 == 0 ? goods0 : goods2).append(item);
    }
    const QJsonObject reply{{"code", "1"},
                            {"shop_set", QJsonObject{{"fenjian_ishaveordergoodid", "0"}}},
                            {"order", QJsonObject{{"ordergoods0", goods0},
                                                  {"ordergoods2", goods2},
                                                  {"pickuptime", "2024-06-30"},
                                                  {"isurgenttime", "2024-06-20"}}},
                            {"order_info", QJsonObject{{"orderpayforkey", kKey}}}};
    return QJsonDocument(reply).toJson(QJsonDocument::Compact);
}

// What a window makes of a products reply, and how long each step took.
struct ReplyHandling
{
    QString courierPage;
    ProductPlan plan;
    double seconds = 0;
    double jsonSeconds = 0;
    double sheetSeconds = 0;
    double planSeconds = 0;
};

// Handles a products reply as the windows do on the GUI thread when it
// arrives: parsed, then the courier sheet and the goods read side by side.
ReplyHandling handleProductsReply(const QByteArray& body, ProductPlan::Reading reading)
{
    ReplyHandling handling;
    QElapsedTimer timer;
    timer.start();
    const QJsonObject reply = QJsonDocument::fromJson(body).object();
    handling.jsonSeconds = timer.nsecsElapsed() / 1e9;
    ExpressHtml courier;
    QFuture<QString> courierPage = QtConcurrent::run([&] {
        QElapsedTimer sheetTimer;
        sheetTimer.start();
        const QString page = courier.getExpressHtml(reply);
        handling.sheetSeconds = sheetTimer.nsecsElapsed() / 1e9;
        return page;
    });
    handling.plan = ProductPlan::read(reply, reading);
    handling.planSeconds = timer.nsecsElapsed() / 1e9 - handling.jsonSeconds;
    handling.courierPage = courierPage.result();
    handling.seconds = timer.nsecsElapsed() / 1e9;
    return handling;
}

// Times the handling of a products reply of `count` goods by the design and
// the after-sample separation windows.
int benchProductsReply(int count)
{
    g_curOrderPayForKey = kKey;
    g_curCustomerNames = QStringLiteral("张敏-刘洋");
    g_curPickupTime = QStringLiteral("2024-06-30");
    g_isShowSubproduct = QStringLiteral("1");
    const QByteArray body = productsReply(count);
    std::printf("%d goods, a reply of %.1f MB, %d cores\n", count, body.size() / 1e6, QThread::idealThreadCount());
    const ReplyHandling design = handleProductsReply(body, ProductPlan::Reading::DesignSeparation);
    std::printf("products reply handled in %.3f s: JSON %.3f s, then side by side courier sheet %.3f s and product "
                "plan %.3f s\n",
                design.seconds, design.jsonSeconds, design.sheetSeconds, design.planSeconds);
    const ReplyHandling afterSample = handleProductsReply(body, ProductPlan::Reading::AfterSample);
    std::printf("after-sample window: handled in %.3f s: JSON %.3f s, then side by side courier sheet %.3f s and "
                "goods %.3f s\n",
                afterSample.seconds, afterSample.jsonSeconds, afterSample.sheetSeconds, afterSample.planSeconds);
    const bool complete = design.plan.goods.size() == count && afterSample.plan.goods.size() == count
        && !design.courierPage.isEmpty() && !afterSample.courierPage.isEmpty();
    std::printf("%d goods, %d product folders planned, sheet of %.1f MB: %s\n", design.plan.goods.size(),
                design.plan.dirs.size(), design.courierPage.size() * 2 / 1e6, complete ? "complete" : "INCOMPLETE");
    return complete ? 0 : 1;
}

qint64 treeBytes(const QString& tree)
{
    qint64 bytes = 0;
    QDirIterator it(tree, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += it.fileInfo().size();
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(BenchSupport::quietDebug);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--goods") && args.at(2).toInt() > 0)
        return benchProductsReply(args.at(2).toInt());
    if (args.size() > 2 || (args.size() == 2 && args.at(1).toInt() <= 0)) {
        std::fprintf(stderr, "usage: separation_bench [photos] | --goods N\n");
        return 2;
    }
    const int photos = args.size() > 1 ? args.at(1).toInt() : 40;

    QTemporaryDir dir;
    const QString orderPath = dir.filePath(QStringLiteral("server/2024-05/18/BENCH-2/"));
    QStringList files;
    if (!dir.isValid() || !QDir::setCurrent(dir.path())
        || !BenchSupport::generatePhotos(orderPath + QStringLiteral("成品"), photos, false, &files)
        || !writeFineThumbnails(files, orderPath + QStringLiteral("成品缩略图/")))
        return 1;
    for (const char* folder : {"汰片", "设计", "设计缩略图100", "marks"})
        QDir().mkpath(orderPath + QLatin1String(folder));
    QStringList names;
    for (const QString& file : qAsConst(files))
        names << QFileInfo(file).fileName();
    BenchSupport::warm(orderPath);

    DialogRecorder dialogs;
    Dialogs::setRecorder(&dialogs);
    StudioService service(dir.filePath(QStringLiteral("demo")));
    if (!service.listen()) {
        std::fprintf(stderr, "the stand-in service cannot listen\n");
        return 1;
    }
    serveOrder(service, orderPath, names);
    g_shopId = QStringLiteral("12");
    g_superId = QStringLiteral("3");
    g_uid = QStringLiteral("1001");
    g_eid = QStringLiteral("501");
    g_storeNames = QStringList{QStringLiteral("澜叶旗舰店")};
    g_storeIds = QStringList{QStringLiteral("12")};
    g_separateModeName.clear();
    g_productDirName = QStringLiteral("成品");
    g_markDirName = QStringLiteral("标注");
    g_xztp = QStringLiteral("1");
    g_sjfjxz = QStringLiteral("1");
    g_isShowSubproduct = QStringLiteral("1");

    SearchOrder window;
    window.setToolName(QStringLiteral("分件管理"));
    auto* search = window.findChild<QPushButton*>(QStringLiteral("searchButton"));
    window.findChild<QComboBox*>(QStringLiteral("comboBox"))->setCurrentText(QStringLiteral("预约单号"));
    window.findChild<QLineEdit*>(QStringLiteral("orderNumber"))->setText(kKey);
    search->click();
    if (!waitFor([search] { return search->isEnabled(); }, 10))
        return 1;
    window.findChild<QPushButton*>(QStringLiteral("pushButton_selectAll"))->click();
    auto* pathField = window.findChild<QLineEdit*>(QStringLiteral("pathLineEdit"));
    auto* start = window.findChild<QPushButton*>(QStringLiteral("pushButton_separate"));

    bool separated = true;
    const auto separateTurn = [&](int turn) {
        const QString root = dir.filePath(QStringLiteral("separated%1").arg(turn));
        QDir().mkpath(root);
        pathField->setText(root);
        QElapsedTimer timer;
        timer.start();
        start->click();
        separated = waitFor([] { return !SeparationBusy::isBusy(); }, 3600) && separated;
        return timer.nsecsElapsed() / 1e9;
    };
    const auto plainTurn = [&](int turn) {
        return BenchSupport::plainCopySeconds(orderPath, dir.filePath(QStringLiteral("plain%1").arg(turn)));
    };
    double separateSeconds = 0;
    double plainSeconds = 0;
    BenchSupport::bestOfTurns(separateTurn, plainTurn, &separateSeconds, &plainSeconds);

    // Each turn wrote its own tree; the first of each is compared.
    const QString orderFolder = dir.filePath(QStringLiteral("separated0/"))
        + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    const int expected = 2 * photos + (photos + 9) / 10;
    qint64 separatedBytes = 0;
    const bool separatedEqual = separated && dialogs.boxes.isEmpty()
        && copiesOfPhotos(orderFolder, orderPath + QStringLiteral("成品"), expected, &separatedBytes);
    const QString plain = dir.filePath(QStringLiteral("plain0"));
    const bool plainEqual = plainSeconds > 0 && BenchSupport::sameTree(orderPath, plain);
    const qint64 plainBytes = treeBytes(plain);
    for (const DialogRecorder::Box& box : qAsConst(dialogs.boxes))
        std::fprintf(stderr, "box: %s\n", qPrintable(box.text));

    const double separateRate = separatedBytes / 1e6 / separateSeconds;
    const double plainRate = plainBytes / 1e6 / plainSeconds;
    std::printf("%d photos 4000x3000, %.1f MB of JPEG, %d cores\n", photos, plainBytes / 1e6,
                QThread::idealThreadCount());
    std::printf("separation:       %.1f MB/s (%d copies, %.1f MB in %.2f s: the order at %.1f MB/s)\n",
                separateRate, expected, separatedBytes / 1e6, separateSeconds, plainBytes / 1e6 / separateSeconds);
    std::printf("filesystem copy:  %.1f MB/s (%.1f MB in %.2f s)\n", plainRate, plainBytes / 1e6, plainSeconds);
    std::printf("separation at %.0f%% of the plain copy, copies %s\n", 100 * separateRate / plainRate,
                separatedEqual && plainEqual ? "equal their sources" : "DIFFER");
    Dialogs::setRecorder(nullptr);
    return separatedEqual && plainEqual ? 0 : 1;
}
