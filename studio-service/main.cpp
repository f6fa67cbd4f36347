#include "DemoPhotos.h"
#include "StudioService.h"

#include <QCommandLineParser>
#include <QDir>
#include <QCoreApplication>
#include <QJsonObject>
#include <QTextStream>

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
    parser.process(app);

    StudioService service(QDir(parser.value(rootOption)).absolutePath());
    const QJsonObject shops = service.demo().value(QStringLiteral("shops")).toObject();
    for (const QJsonValue& shop : shops) {
        for (const char* key : {"picpath", "bakpicpath", "homepicpath"})
            QDir().mkpath(shop.toObject().value(QLatin1String(key)).toString());
    }
    DemoPhotos::createShootFolders(service.demoRoot() + QStringLiteral("/相机导出"));

    QTextStream out(stdout);
    if (!service.listen()) {
        out << "studio-service: cannot listen on port " << StudioService::defaultPort() << Qt::endl;
        return 1;
    }
    out << "studio-service: listening on " << service.baseUrl() << ", demo folder " << service.demoRoot() << Qt::endl;
    return app.exec();
}
