#include "Routes.h"
#include "StudioService.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace {

const char* const kDownloadRoute = "GET /download";

} // namespace

// Serves the files of the demo folder's "downloads" for the updater; the file
// is named by the "file" query item.
void registerUpdateRoutes(StudioService& service)
{
    service.setHandler(QString::fromLatin1(kDownloadRoute), [&service](const RecordedRequest& request) {
        const QString name = request.queryValue(QStringLiteral("file"));
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
            || name.contains(QLatin1String("..")))
            return Response::httpError(404);
        QFile file(QDir(service.demoRoot()).filePath(QStringLiteral("downloads/") + name));
        if (!file.open(QIODevice::ReadOnly))
            return Response::httpError(404);
        return Response::raw(file.readAll(), "application/octet-stream");
    });
}

QString downloadUrl(const StudioService& service, const QString& fileName)
{
    return service.baseUrl() + QLatin1String("/download?file=")
        + QString::fromLatin1(QUrl::toPercentEncoding(fileName));
}
