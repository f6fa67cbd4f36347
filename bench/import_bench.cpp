// Imports 12-megapixel photos the way the batch import does, once one photo
// at a time and once on the worker's pool, and reports both throughputs, the
// speedup, the peak memory of each run and whether both runs wrote the same
// files. The same photos then go through the single-order window's jobs on
// its pool, as a photo run of that window, beside the batch's figures.
//
//     import_bench [photos]
//     import_bench --photos DIR
//
// photos: how many 4000x3000 JPEGs to generate and import as one order of
// originals with backup (default 40); every second one carries Exif
// orientation 6. With --photos the JPEGs of DIR (not its sub-folders) are
// imported instead, so a studio can measure on its own camera's files; DIR
// is only read.

#include "BenchSupport.h"
#include "core/Globals.h"
#include "import/importordermodel.h"
#include "import/importorderthread.h"
#include "import/PhotoPool.h"
#include "import/thumbnailthread1.h"
#include "files/ImageOperation.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <cstdio>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

struct Run {
    int imported = 0;
    bool failed = false;
    double seconds = 0;
    QString peakMemory;
};

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

// Counts the window jobs' reports as the window would.
class ReportCounter : public QObject
{
    Q_OBJECT
public:
    int finished = 0;
    int failed = 0;

public slots:
    void onFinishImportImage(QString) { ++finished; }
    void onImportImageFailed(QString, QString) { ++failed; }
};

QString batchOrderFolder(const QString& root, const QString& tree)
{
    return root + QStringLiteral("/") + tree + QStringLiteral("/2024-03/07/BENCH-1/");
}

// The single-order window's photo run: one job per photo on the window's
// pool, under the names the batch gave them.
Run windowRun(const QString& root, const QStringList& files, const QStringList& names)
{
    const QString order = root + QStringLiteral("/server/order/");
    const QString backup = root + QStringLiteral("/backup/order/");
    for (const QString& folder : {order + "照片", order + "thumbnail", order + "thumbnail100",
                                  order + "thumbnail2250", backup + "照片"})
        QDir().mkpath(folder);
    g_importWindowOpen = true;
    g_importPhotoMode = 0;
    ReportCounter counter;
    Run run;
    resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    {
        PhotoPool pool;
        for (int i = 0; i < files.size(); ++i)
            pool.add(new ThumbnailThread1(files.at(i), names.at(i), order, backup, &counter, 1000), files.at(i),
                     names.at(i));
        pool.waitForDone();
    }
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.peakMemory = statusLine("VmHWM:");
    QCoreApplication::processEvents();
    run.imported = counter.finished - counter.failed;
    run.failed = counter.failed > 0;
    return run;
}

} // namespace

// The JPEGs of a folder of the user's, in name order.
QStringList folderPhotos(const QString& folder)
{
    QStringList files;
    const QFileInfoList entries =
        QDir(folder).entryInfoList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files,
                                   QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries)
        files << entry.absoluteFilePath();
    return files;
}

int usage()
{
    std::fprintf(stderr, "usage: import_bench [photos]\n       import_bench --photos DIR\n");
    return 2;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(BenchSupport::quietDebug);
    const QStringList args = app.arguments();

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    QStringList files;
    QString description;
    if (args.size() > 1 && args.at(1) == QLatin1String("--photos")) {
        if (args.size() != 3)
            return usage();
        const QString folder = args.at(2);
        files = folderPhotos(folder);
        if (files.isEmpty()) {
            std::fprintf(stderr, "no JPEG photos in %s\n", qPrintable(folder));
            return 2;
        }
        description = QStringLiteral("of %1").arg(QDir::toNativeSeparators(QDir(folder).absolutePath()));
    } else {
        if (args.size() > 2 || (args.size() == 2 && args.at(1).startsWith(QLatin1Char('-'))))
            return usage();
        const int photos = args.size() > 1 ? qMax(1, args.at(1).toInt()) : 40;
        if (!BenchSupport::generatePhotos(dir.filePath(QStringLiteral("camera")), photos, true, &files))
            return 1;
        description = QStringLiteral("4000x3000 (half turned)");
    }
    const int photos = files.size();
    qint64 sourceBytes = 0;
    for (const QString& file : qAsConst(files))
        sourceBytes += QFileInfo(file).size();

    const Run single = importOnce(dir.filePath(QStringLiteral("one")), files, 1);
    const Run pooled = importOnce(dir.filePath(QStringLiteral("pool")), files, 0);
    const bool identical = BenchSupport::sameTree(dir.filePath(QStringLiteral("one")), dir.filePath(QStringLiteral("pool")));

    std::printf("%d photos %s, %.1f MB of JPEG, %d cores\n", photos, qPrintable(description), sourceBytes / 1e6,
                QThread::idealThreadCount());
    std::printf("one at a time: %.2f photos/s, peak memory %s\n", single.imported / single.seconds,
                qPrintable(single.peakMemory));
    std::printf("pool:          %.2f photos/s, peak memory %s\n", pooled.imported / pooled.seconds,
                qPrintable(pooled.peakMemory));
    std::printf("speedup %.2fx, trees %s\n", single.seconds / pooled.seconds,
                identical ? "byte-identical" : "DIFFER");

    ImportOrderModel model(QJsonObject{{"orderpayforkey", "BENCH"}, {"servicetimes", "1"}}, nullptr);
    const QStringList names = model.renamedFileNames(files, importOrdersPhotoDlg::TypeOriginal);
    const Run window = windowRun(dir.filePath(QStringLiteral("window")), files, names);
    const QString batchOrder = batchOrderFolder(dir.filePath(QStringLiteral("pool")), QStringLiteral("server"));
    const QString batchBackup = batchOrderFolder(dir.filePath(QStringLiteral("pool")), QStringLiteral("backup"));
    const QString windowOrder = dir.filePath(QStringLiteral("window/server/order/"));
    const QString windowBackup = dir.filePath(QStringLiteral("window/backup/order/"));
    bool sameBytes = true;
    for (int i = 0; i < photos && sameBytes; ++i) {
        const QString name = names.at(i);
        sameBytes = readAll(batchBackup + QStringLiteral("照片/") + name) == readAll(windowBackup + QStringLiteral("照片/") + name)
                    && (ImageOperation::getDirection(files.at(i)) != 1
                        || readAll(batchOrder + QStringLiteral("照片/") + name)
                               == readAll(windowOrder + QStringLiteral("照片/") + name));
    }
    std::printf("window jobs:   %.2f photos/s, peak memory %s (%.2fx the batch pool)\n", window.imported / window.seconds,
                qPrintable(window.peakMemory), pooled.seconds / window.seconds);
    std::printf("window backups and unturned photos %s the batch's bytes\n", sameBytes ? "equal" : "DIFFER FROM");
    const bool complete = !single.failed && !pooled.failed && !window.failed && single.imported == photos
                          && pooled.imported == photos && window.imported == photos;
    return complete && identical && sameBytes ? 0 : 1;
}

#include "import_bench.moc"
