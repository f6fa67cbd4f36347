#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include "core/DialogRecorder.h"
#include "PlatformRecorder.h"

#include "StudioService.h"

#include <QByteArray>
#include <QEvent>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class QWidget;

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

// The recorders, a fresh temporary folder as the current directory, and the
// stand-in service over that folder's "demo" folder, listening on a free port
// that the program's service URLs point at.
class ServiceEnvironment : public RecordedEnvironment
{
public:
    ServiceEnvironment();
    ~ServiceEnvironment();

    QTemporaryDir workDir;
    std::unique_ptr<StudioService> service;
    bool listening;
};

// Sends one mouse event at `grip` + `offset` of `widget`, with the global
// position a frameless window's drag follows.
void sendMouse(QWidget* widget, QPoint grip, QEvent::Type type, QPoint offset, Qt::MouseButton button,
               Qt::MouseButtons held);

// Compares a recorded box's kind, title, buttons and default button.
void compareBox(const DialogRecorder::Box& box, QMessageBox::Icon icon, const QString& title,
                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);

// Presses the left button at `grip` of `widget`, moves by `by` and releases.
void leftDrag(QWidget* widget, QPoint grip, QPoint by);

// Path of a file under tests/fixtures.
QString fixturePath(const QString& name);

// Writes a file, creating its folder; a failure fails the calling test.
void writeFile(const QString& path, const QByteArray& content);
// The whole content of a file; empty when it cannot be read.
QByteArray readFile(const QString& path);

// The picture with every kind of metadata set (density, text, offset, colour
// space), so that a test sees which of it a picture operation keeps.
QImage withMetadata(QImage image);

// Compares everything of a picture that reaches an encoder or a caller:
// format, size, pixels and metadata; a difference fails the calling test.
void comparePictures(const QImage& actual, const QImage& expected);

#endif
