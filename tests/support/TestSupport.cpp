#include "support/TestSupport.h"

#include "core/Dialogs.h"

#include <QApplication>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QtTest>

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

// A request the service has recorded may still wait for its answer; dropping
// the connection then makes the client send it again, to the next test's
// service on the same port.
ServiceEnvironment::~ServiceEnvironment()
{
    if (!QTest::qWaitFor([this] { return !service || !service->hasOpenConnections(); }, 5000))
        qWarning("stand-in service: a connection is still open at the end of the test");
}

void sendMouse(QWidget* widget, QPoint grip, QEvent::Type type, QPoint offset, Qt::MouseButton button,
               Qt::MouseButtons held)
{
    QMouseEvent event(type, grip + offset, widget->mapToGlobal(grip) + offset, button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void leftDrag(QWidget* widget, QPoint grip, QPoint by)
{
    sendMouse(widget, grip, QEvent::MouseButtonPress, {}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(widget, grip, QEvent::MouseMove, by, Qt::NoButton, Qt::LeftButton);
    sendMouse(widget, grip, QEvent::MouseButtonRelease, by, Qt::LeftButton, Qt::NoButton);
}

void compareBox(const DialogRecorder::Box& box, QMessageBox::Icon icon, const QString& title,
                QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.title, title);
    QCOMPARE(box.buttons, buttons);
    QCOMPARE(box.defaultButton, defaultButton);
}

QString fixturePath(const QString& name)
{
    return QStringLiteral(FIXTURES_DIR "/") + name;
}

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QVERIFY2(file.write(content) == content.size(), qPrintable(path));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QImage withMetadata(QImage image)
{
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(2835);
    image.setText(QStringLiteral("Description"), QStringLiteral("studio"));
    image.setOffset(QPoint(5, 7));
    image.setColorSpace(QColorSpace::AdobeRgb);
    return image;
}

void comparePictures(const QImage& actual, const QImage& expected)
{
    QCOMPARE(actual.format(), expected.format());
    QCOMPARE(actual.size(), expected.size());
    QVERIFY(actual == expected);
    QCOMPARE(actual.dotsPerMeterX(), expected.dotsPerMeterX());
    QCOMPARE(actual.dotsPerMeterY(), expected.dotsPerMeterY());
    QCOMPARE(actual.devicePixelRatio(), expected.devicePixelRatio());
    QCOMPARE(actual.offset(), expected.offset());
    QCOMPARE(actual.text(), expected.text());
    QCOMPARE(actual.colorSpace(), expected.colorSpace());
    QCOMPARE(actual.colorTable(), expected.colorTable());
}
