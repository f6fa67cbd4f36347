// Imports generated 12-megapixel photos the way the batch import does and
// reports the throughput and the peak memory of the import.
//
//     bench_import [photos] [yptbcp]
//
// photos: how many 4000x3000 JPEGs to import (default 40), every fourth one
// with Exif orientation 6; yptbcp: "1" also writes each original to 成品/.

#include "DemoPhotos.h"
#include "Globals.h"
#include "importordermodel.h"
#include "importorderthread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

namespace {

void quietDebug(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

QString statusLine(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("unknown");
    QTextStream in(&status);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        if (line.startsWith(QLatin1String(key)))
            return line.mid(int(qstrlen(key))).trimmed();
    }
    return QStringLiteral("unknown");
}

// Starts a new peak-memory count, so the figure covers the import only.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietDebug);
    const QStringList args = app.arguments();
    const int photos = args.size() > 1 ? qMax(1, args.at(1).toInt()) : 40;
    g_yptbcp = args.size() > 2 ? args.at(2) : QStringLiteral("0");

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString camera = dir.filePath(QStringLiteral("camera"));
    QDir().mkpath(camera);
    const QByteArray upright = DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(4000, 3000, 1), 1);
    const QByteArray turned = DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(4000, 3000, 2), 6);
    QStringList files;
    qint64 sourceBytes = 0;
    for (int i = 0; i < photos; ++i) {
        const QString file = camera + QStringLiteral("/IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0'));
        const QByteArray& content = i % 4 == 1 ? turned : upright;
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
            return 1;
        files << file;
        sourceBytes += content.size();
    }

    g_picPath = dir.filePath(QStringLiteral("server")) + QLatin1Char('/');
    g_bakPicPath = dir.filePath(QStringLiteral("backup")) + QLatin1Char('/');
    g_importRunFlag = QStringLiteral("go");
    ImportOrderModel order(QJsonObject{{"orderpayforkey", "BENCH"}, {"servicetimes", "1"}, {"shotdate", "2024-03-07"}},
                           nullptr);
    order.setSelectedFiles(importOrdersPhotoDlg::TypeOriginal, files);
    ImportOrderThread worker(&order, importOrdersPhotoDlg::TypeOriginal, nullptr);
    int imported = 0;
    bool failed = false;
    QObject::connect(&worker, &ImportOrderThread::hasImportedImgCount, [&](ushort done) { imported = done; });
    QObject::connect(&worker, &ImportOrderThread::importErrorMsg, [&] { failed = true; });
    QObject::connect(&worker, &ImportOrderThread::checkDiskSizeSigl, [&] { failed = true; });
    QObject::connect(&worker, &ImportOrderThread::importImageThreadError, [&] { failed = true; });
    worker.createOrderDir(g_picPath, g_bakPicPath);

    resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    worker.start();
    worker.wait();
    const double seconds = timer.nsecsElapsed() / 1e9;

    std::printf("imported %d of %d photos (4000x3000, every 4th turned, %.1f MB of JPEG, yptbcp %s) in %.2f s\n",
                imported, photos, sourceBytes / 1e6, qPrintable(g_yptbcp), seconds);
    std::printf("%.2f photos/s, peak memory (VmHWM) %s\n", imported / seconds, qPrintable(statusLine("VmHWM:")));
    return failed || imported != photos ? 1 : 0;
}
