#include "TestSupport.h"

#include "Dialogs.h"

#include <QDir>

RecordedEnvironment::RecordedEnvironment()
    : platform(new PlatformRecorder)
{
    Dialogs::setRecorder(&dialogs);
    Platform::install(platform);
}

RecordedEnvironment::~RecordedEnvironment()
{
    Dialogs::setRecorder(nullptr);
    Platform::install(nullptr);
}

ServiceEnvironment::ServiceEnvironment()
    : service(new StudioService(workDir.path() + QStringLiteral("/demo")))
    , listening(QDir::setCurrent(workDir.path()) && service->listen())
{
}

QString fixturePath(const QString& name)
{
    return QStringLiteral(FIXTURES_DIR "/") + name;
}
