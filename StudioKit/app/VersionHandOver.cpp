#include "app/VersionHandOver.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "Platform.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace VersionHandOver {

const QString TEST_INDEX_URL_HTTP = QStringLiteral("http://test.studio.lanye.local/index.php?");
const QString TEST_INDEX_URL_HTTPS = QStringLiteral("https://test.studio.lanye.local/index.php?");

QByteArray checkBody(const QString& applicationId, bool onTestServer)
{
    FormBody body;
    body.add(QStringLiteral("type"), applicationId);
    if (onTestServer)
        body.add(QStringLiteral("test"), QStringLiteral("1"));
    body.add(QStringLiteral("number"), APP_VERSION)
        .add(QStringLiteral("token"), ACCESS_TOKEN);
    return body.bytes();
}

QStringList updaterArguments(const QJsonObject& data)
{
    // Only the last component of the announced name, so the download can
    // never land outside the current folder.
    QString fileName = data.value(QStringLiteral("file_name")).toString();
    fileName = QFileInfo(fileName.replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    if (fileName.isEmpty() || fileName == QLatin1String(".") || fileName == QLatin1String(".."))
        return {};
    const QString savePath = QDir::currentPath() + QLatin1Char('/') + fileName;
    qDebug() << "current Path:" << savePath;
    return {data.value(QStringLiteral("application_name")).toString(),
            data.value(QStringLiteral("number")).toString(),
            data.value(QStringLiteral("time")).toString(),
            fileName,
            data.value(QStringLiteral("path")).toString(),
            savePath,
            data.value(QStringLiteral("file_size")).toString()};
}

void startUpdaterAndExit(QWidget* parent, const QJsonObject& data)
{
    Platform& platform = Platform::instance();
    const QStringList arguments = updaterArguments(data);
    if (arguments.isEmpty()) {
        Dialogs::warning(parent, QStringLiteral("警告"), QStringLiteral("新版本的文件名无效，无法自动更新，请联系管理员"));
    } else if (!platform.startDetached(platform.updaterProgram(), arguments)) {
        Dialogs::warning(parent, QStringLiteral("警告"), QStringLiteral("无法启动升级程序，请手动运行VersionProbe进行更新"));
    }
    platform.exitProcess(0);
}

} // namespace VersionHandOver
