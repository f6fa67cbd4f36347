#ifndef VERSIONHANDOVER_H
#define VERSIONHANDOVER_H

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

class QWidget;

// The version check shared by the password and the web login: its request
// body and the hand-over of an announced version to the updater program.
namespace VersionHandOver {

// Index URLs of the test server; a check sent there asks for test versions.
extern const QString TEST_INDEX_URL_HTTP;
extern const QString TEST_INDEX_URL_HTTPS;

QByteArray checkBody(const QString& applicationId, bool onTestServer);

// The seven updater arguments from the reply's "data"; empty when the
// announced file name cannot be used as a local file name.
QStringList updaterArguments(const QJsonObject& data);

// Starts the updater with the announced version, telling the user when that
// is impossible, and then ends this process with status 0.
void startUpdaterAndExit(QWidget* parent, const QJsonObject& data);

} // namespace VersionHandOver

#endif
