#include "DemoPhotos.h"
#include "Routes.h"
#include "StudioService.h"

#include <QCommandLineParser>
#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTextStream>

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}

// The folders of an order that an earlier import made, with two trial
// videos, so the order already listed with its paths can be worked on.
void createImportedOrder(const QString& path, const QString& backupPath)
{
    if (QDir(path).exists())
        return;
    for (const char* folder : {"照片/新建文件夹", "成品", "汰片", "设计", "试拍视频", "精修视频"})
        QDir().mkpath(path + QString::fromUtf8(folder));
    const QStringList thumbnails = {"thumbnail", "thumbnail100", "thumbnail2250", "成品缩略图", "成品缩略图100",
                                    "成品缩略图2250", "设计缩略图", "设计缩略图100", "设计缩略图2250"};
    for (const QString& folder : thumbnails)
        QDir().mkpath(path + folder);
    // Hidden as the desktop's file managers read it.
    writeFile(path + QStringLiteral(".hidden"), (thumbnails.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    for (const char* video : {"VID_0101.mp4", "VID_0102.mp4"})
        writeFile(path + QStringLiteral("试拍视频/") + QLatin1String(video), QByteArray(64 * 1024, 'V'));
    DemoPhotos::fillOrderFolder(path);
    DemoPhotos::addAfterSampleFiles(path);
    QDir().mkpath(backupPath + QStringLiteral("照片"));
}

// Selection results to copy to the Lyra server, with a sub-folder.
void createLyraSelection(const QString& folder)
{
    if (QDir(folder).exists())
        return;
    QDir().mkpath(folder + QStringLiteral("/精修"));
    const QStringList names = {"LY_0001.jpg", "LY_0002.jpg", "精修/LY_0001.jpg"};
    for (int i = 0; i < names.size(); ++i)
        DemoPhotos::samplePicture(1200, 800, 300 + i).save(folder + QLatin1Char('/') + names.at(i), "JPEG", 85);
}

// Announces version 1.8.0: a small script the updater downloads and starts;
// it leaves a note in the folder it runs in.
void offerUpdate(StudioService& service)
{
    const QString fileName = QStringLiteral("影务通-1.8.0.sh");
    const QByteArray script = "#!/bin/sh\necho '影务通 1.8.0 已安装' > 更新说明.txt\n";
    QDir().mkpath(service.demoRoot() + QStringLiteral("/downloads"));
    writeFile(service.demoRoot() + QStringLiteral("/downloads/") + fileName, script);
    service.demo().insert(QStringLiteral("update"),
                          QJsonObject{{QStringLiteral("application_name"), QStringLiteral("影务通")},
                                      {QStringLiteral("number"), QStringLiteral("1.8.0")},
                                      {QStringLiteral("time"), QStringLiteral("2026-12-01 10:00:00")},
                                      {QStringLiteral("file_name"), fileName},
                                      {QStringLiteral("path"), downloadUrl(service, fileName)},
                                      {QStringLiteral("file_size"), QString::number(script.size())}});
}

} // namespace

// The demo server: serves the demo data on the port of the compiled-in base
// URL, with every shop root and a folder of freshly shot sample photos created
// beneath the demo folder.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption rootOption(QStringLiteral("root"), QStringLiteral("Demo file-server folder."),
                                  QStringLiteral("dir"), QDir::tempPath() + QStringLiteral("/studio-demo"));
    parser.addOption(rootOption);
    QCommandLineOption updateOption(QStringLiteral("offer-update"),
                                    QStringLiteral("Announce a new program version to the version check."));
    parser.addOption(updateOption);
    parser.process(app);

    StudioService service(QDir(parser.value(rootOption)).absolutePath());
    const QJsonObject shops = service.demo().value(QStringLiteral("shops")).toObject();
    for (const QJsonValue& shop : shops) {
        for (const char* key : {"picpath", "bakpicpath", "homepicpath"})
            QDir().mkpath(shop.toObject().value(QLatin1String(key)).toString());
    }
    DemoPhotos::createShootFolders(service.demoRoot() + QStringLiteral("/相机导出"));
    // Order 90001 has no folders yet: its shoot, with dated photos and RAW
    // files, is for the single-order import and the RAW download.
    DemoPhotos::createSingleOrderShoot(service.demoRoot() + QStringLiteral("/相机导出/王小宝"));
    for (const QJsonValue& value : service.demo().value(QStringLiteral("orders")).toArray()) {
        const QJsonObject order = value.toObject();
        const QString path = order.value(QStringLiteral("orderpath")).toString();
        const QString backupPath = order.value(QStringLiteral("orderbakpicpath")).toString();
        if (!path.isEmpty() && !backupPath.isEmpty())
            createImportedOrder(path, backupPath);
        // The store's folder on the Lyra server, and the order's own.
        const QString lyraStore =
            order.value(QStringLiteral("picpathnew")).toObject().value(QStringLiteral("lyrapath")).toString();
        if (!lyraStore.isEmpty())
            QDir().mkpath(lyraStore);
        const QString lyraOrder = order.value(QStringLiteral("lyrapath")).toString();
        if (!lyraOrder.isEmpty())
            QDir().mkpath(QString(lyraOrder).replace(QLatin1Char('\\'), QLatin1Char('/')));
    }
    createLyraSelection(service.demoRoot() + QStringLiteral("/Lyra选片/LY20240605-1"));
    // Lyra's selection results: one finished, one still being chosen.
    for (const QJsonValue& value : service.demo().value(QStringLiteral("lyraresults")).toArray()) {
        const QJsonObject result = value.toObject();
        const QString store = result.value(QStringLiteral("store")).toString();
        const QString order = result.value(QStringLiteral("order")).toString();
        if (!QDir(store + QStringLiteral("/选版服务器/[已选]") + order).exists())
            DemoPhotos::createLyraResult(store, order, result.value(QStringLiteral("finished")).toBool());
    }
    // The stores' Lyra folders that this computer reaches; the others stand
    // for shares out of reach.
    for (const QJsonValue& stores : service.demo().value(QStringLiteral("lyrasets")).toObject()) {
        for (const QJsonValue& store : stores.toArray()) {
            const QString path = store.toObject().value(QStringLiteral("lyrapath")).toString();
            if (path.startsWith(service.demoRoot()))
                QDir().mkpath(path);
        }
    }

    QTextStream out(stdout);
    if (!service.listen(StudioService::defaultPort())) {
        out << "studio-service: cannot listen on port " << StudioService::defaultPort() << Qt::endl;
        return 1;
    }
    if (parser.isSet(updateOption))
        offerUpdate(service);
    out << "studio-service: listening on " << service.baseUrl() << ", demo folder " << service.demoRoot() << Qt::endl;
    return app.exec();
}
