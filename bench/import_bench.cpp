// Imports generated 12-megapixel photos the way the batch import does, once
// one photo at a time and once on the worker's pool, and reports both
// throughputs, the speedup, the peak memory of each run and whether both
// runs wrote the same files.
//
//     import_bench [photos]
//
// photos: how many 4000x3000 JPEGs to import as one order of originals with
// backup (default 40); every second one carries Exif orientation 6.

#include "core/Globals.h"
#include "DemoPhotos.h"
#include "import/importordermodel.h"
#include "import/importorderthread.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <cstdio>

namespace {

struct Run {
    int imported = 0;
    bool failed = false;
    double seconds = 0;
    QString peakMemory;
};

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

// Starts a new peak-memory count, so the figure covers one run only.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

// A camera-like picture: the sample gradient with sensor noise, which gives
// JPEGs of a camera's size rather than a smooth gradient's.
QImage photoLike(int seed)
{
    QImage picture = DemoPhotos::samplePicture(4000, 3000, seed).convertToFormat(QImage::Format_RGB32);
    QRandomGenerator noise{quint32(seed)};
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int grain = int(noise.bounded(25)) - 12;
            const QRgb pixel = line[x];
            line[x] = qRgb(qBound(0, qRed(pixel) + grain, 255), qBound(0, qGreen(pixel) + grain, 255),
                           qBound(0, qBlue(pixel) + grain, 255));
        }
    }
    return picture;
}

Run importOnce(const QString& root, const QStringList& files, int jobs)
{
    g_picPath = root + QStringLiteral("/server/");
    g_bakPicPath = root + QStringLiteral("/backup/");
    g_importRunFlag = QStringLiteral("go");
    ImportOrderModel order(QJsonObject{{"orderpayforkey", "BENCH"}, {"servicetimes", "1"}, {"shotdate", "2024-03-07"}},
                           nullptr);
    order.setSelectedFiles(importOrdersPhotoDlg::TypeOriginal, files);
    ImportOrderThread worker(&order, importOrdersPhotoDlg::TypeOriginal, nullptr);
    worker.setPhotoJobLimit(jobs);
    Run run;
    QObject::connect(&worker, &ImportOrderThread::hasImportedImgCount, [&run](ushort done) { run.imported = done; });
    QObject::connect(&worker, &ImportOrderThread::importErrorMsg, [&run] { run.failed = true; });
    QObject::connect(&worker, &ImportOrderThread::checkDiskSizeSigl, [&run] { run.failed = true; });
    QObject::connect(&worker, &ImportOrderThread::importImageThreadError, [&run] { run.failed = true; });
    worker.createOrderDir(g_picPath, g_bakPicPath);

    resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    worker.start();
    worker.wait();
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.peakMemory = statusLine("VmHWM:");
    return run;
}

// Both trees hold the same files with the same bytes.
bool sameTree(const QString& first, const QString& second)
{
    QStringList firstFiles;
    QDirIterator it(first, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        firstFiles << QDir(first).relativeFilePath(it.next());
    int secondCount = 0;
    QDirIterator other(second, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (other.hasNext()) {
        other.next();
        ++secondCount;
    }
    if (firstFiles.size() != secondCount)
        return false;
    for (const QString& file : firstFiles) {
        QFile a(first + QLatin1Char('/') + file);
        QFile b(second + QLatin1Char('/') + file);
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.readAll() != b.readAll())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietDebug);
    const QStringList args = app.arguments();
    const int photos = args.size() > 1 ? qMax(1, args.at(1).toInt()) : 40;

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString camera = dir.filePath(QStringLiteral("camera"));
    QDir().mkpath(camera);
    // Two pictures of each kind are enough: every file is read, decoded and
    // written on its own.
    const QByteArray samples[] = {DemoPhotos::jpegWithOrientation(photoLike(1), 1),
                                  DemoPhotos::jpegWithOrientation(photoLike(2), 6),
                                  DemoPhotos::jpegWithOrientation(photoLike(3), 1),
                                  DemoPhotos::jpegWithOrientation(photoLike(4), 6)};
    QStringList files;
    qint64 sourceBytes = 0;
    for (int i = 0; i < photos; ++i) {
        const QString file = camera + QStringLiteral("/IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0'));
        const QByteArray& content = samples[i % 4];
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
            return 1;
        files << file;
        sourceBytes += content.size();
    }

    const Run single = importOnce(dir.filePath(QStringLiteral("one")), files, 1);
    const Run pooled = importOnce(dir.filePath(QStringLiteral("pool")), files, 0);
    const bool identical = sameTree(dir.filePath(QStringLiteral("one")), dir.filePath(QStringLiteral("pool")));

    std::printf("%d photos 4000x3000 (half turned), %.1f MB of JPEG, %d cores\n", photos, sourceBytes / 1e6,
                QThread::idealThreadCount());
    std::printf("one at a time: %.2f photos/s, peak memory %s\n", single.imported / single.seconds,
                qPrintable(single.peakMemory));
    std::printf("pool:          %.2f photos/s, peak memory %s\n", pooled.imported / pooled.seconds,
                qPrintable(pooled.peakMemory));
    std::printf("speedup %.2fx, trees %s\n", single.seconds / pooled.seconds,
                identical ? "byte-identical" : "DIFFER");
    const bool complete = !single.failed && !pooled.failed && single.imported == photos && pooled.imported == photos;
    return complete && identical ? 0 : 1;
}
