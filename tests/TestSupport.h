#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include "DialogRecorder.h"
#include "PlatformRecorder.h"

#include <QString>

// Installs the dialog and platform recorders for the life of a test program
// (or of one test function), so no box blocks and no process ends.
class RecordedEnvironment
{
public:
    RecordedEnvironment();
    ~RecordedEnvironment();

    DialogRecorder dialogs;
    PlatformRecorder* platform; // owned by Platform
};

// Path of a file under tests/fixtures.
QString fixturePath(const QString& name);

#endif
