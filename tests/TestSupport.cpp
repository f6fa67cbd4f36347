#include "TestSupport.h"

#include "Dialogs.h"

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

QString fixturePath(const QString& name)
{
    return QStringLiteral(FIXTURES_DIR "/") + name;
}
