// Imports 12-megapixel photos the way the batch import does, once one photo
// at a time and once on the worker's pool, and reports both throughputs, the
// speedup, the peak memory of each run and whether both runs wrote the same
// files. On the same pool it then measures the floor: decoding every photo
// once and encoding every turned one once at quality 100, nothing written;
// the pool run's CPU (user + system of the process) over the floor's tells
// what the import spends beyond the work it cannot avoid. The same photos
// then go through the single-order window's jobs on its pool, as a photo run
// of that window, beside the batch's figures.
//
//     import_bench [--keep DIR] [photos]
//     import_bench [--keep DIR] --photos DIR
//
// photos: how many 4000x3000 JPEGs to generate and import as one order of
// originals with backup (default 40); every second one carries Exif
// orientation 6. With --photos the JPEGs of DIR (not its sub-folders) are
// imported instead, so a studio can measure on its own camera's files; DIR
// is only read. With --keep the trees are written into DIR (a new folder)
// and kept, so that two builds' outputs can be compared.

#include "BenchSupport.h"
#include "core/Globals.h"
#include "import/importordermodel.h"
#include "import/importorderthread.h"
#include "import/PhotoPool.h"
#include "import/thumbnailthread1.h"
#include "files/ImageOperation.h"
#include "files/PictureMemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <atomic>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
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

// What the process has used so far: CPU seconds of all its threads and the
// page faults served without I/O (fresh or reclaimed pages).
struct Usage {
    double user = 0;
    double system = 0;
    long minorFaults = 0;

    static Usage now()
    {
        Usage usage;
#ifdef Q_OS_UNIX
        rusage self{};
        getrusage(RUSAGE_SELF, &self);
        usage.user = double(self.ru_utime.tv_sec) + self.ru_utime.tv_usec / 1e6;
        usage.system = double(self.ru_stime.tv_sec) + self.ru_stime.tv_usec / 1e6;
        usage.minorFaults = self.ru_minflt;
#endif
        return usage;
    }

    Usage since(const Usage& start) const
    {
        return {user - start.user, system - start.system, minorFaults - start.minorFaults};
    }

    double cpu() const { return user + system; }
};

struct Run {
    int imported = 0;
    bool failed = false;
    double seconds = 0;
    Usage usage;
    QString peakMemory;
};

// Times a run: wall time, the process's CPU and page faults, and its peak
// memory.
class RunMeter
{
public:
    explicit RunMeter(Run* run) : m_run(run)
    {
        resetPeakMemory();
        m_start = Usage::now();
        m_timer.start();
    }

    void stop()
    {
        m_run->seconds = m_timer.nsecsElapsed() / 1e9;
        m_run->usage = Usage::now().since(m_start);
        m_run->peakMemory = statusLine("VmHWM:");
    }

private:
    Run* m_run;
    Usage m_start;
    QElapsedTimer m_timer;
};

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

    RunMeter meter(&run);
    worker.start();
    worker.wait();
    meter.stop();
    return run;
}

// Takes the encoded bytes and keeps none of them.
class DiscardingDevice : public QIODevice
{
public:
    DiscardingDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 length) override { return length; }
};

// The work no import can avoid, on a pool like the batch's: each photo read
// and decoded once, each turned one encoded once as JPEG quality 100. Each
// thread decodes into the same memory, so no fresh memory is counted either.
Run floorRun(const QStringList& files)
{
    Run run;
    std::atomic<int> done{0};
    RunMeter meter(&run);
    {
        PhotoPool pool;
        for (const QString& file : files) {
            pool.add([file, &done] {
                thread_local PictureMemory memory;
                QFile source(file);
                if (!source.open(QIODevice::ReadOnly))
                    return;
                const QByteArray data = source.readAll();
                QImage picture;
                if (!ImageOperation::decodeInto(data, &memory, &picture))
                    return;
                if (ImageOperation::getDirection(data) != 1) {
                    DiscardingDevice sink;
                    QImageWriter writer(&sink, "jpg");
                    writer.setQuality(100);
                    if (!writer.write(picture))
                        return;
                }
                ++done;
            }, file, QString());
        }
        pool.waitForDone();
    }
    meter.stop();
    run.imported = done;
    run.failed = run.imported != files.size();
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
    RunMeter meter(&run);
    {
        PhotoPool pool;
        for (int i = 0; i < files.size(); ++i)
            pool.add(new ThumbnailThread1(files.at(i), names.at(i), order, backup, &counter, 1000), files.at(i),
                     names.at(i));
        pool.waitForDone();
    }
    meter.stop();
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
    std::fprintf(stderr, "usage: import_bench [--keep DIR] [photos]\n"
                         "       import_bench [--keep DIR] --photos DIR\n");
    return 2;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(BenchSupport::quietDebug);
    QStringList args = app.arguments().mid(1);

    QTemporaryDir temporary;
    QDir dir(temporary.path());
    if (args.size() >= 2 && args.at(0) == QLatin1String("--keep")) {
        dir.setPath(QDir(args.at(1)).absolutePath());
        if (dir.exists() || !QDir().mkpath(dir.path())) {
            std::fprintf(stderr, "--keep needs a new folder: %s\n", qPrintable(dir.path()));
            return 2;
        }
        args = args.mid(2);
    } else if (!temporary.isValid()) {
        return 1;
    }
    QStringList files;
    QString description;
    if (!args.isEmpty() && args.at(0) == QLatin1String("--photos")) {
        if (args.size() != 2)
            return usage();
        const QString folder = args.at(1);
        files = folderPhotos(folder);
        if (files.isEmpty()) {
            std::fprintf(stderr, "no JPEG photos in %s\n", qPrintable(folder));
            return 2;
        }
        description = QStringLiteral("of %1").arg(QDir::toNativeSeparators(QDir(folder).absolutePath()));
    } else {
        if (args.size() > 1 || (args.size() == 1 && args.at(0).startsWith(QLatin1Char('-'))))
            return usage();
        const int photos = !args.isEmpty() ? qMax(1, args.at(0).toInt()) : 40;
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

    const Run floor = floorRun(files);
    std::printf("floor:         %.2f photos/s (each photo decoded once, each turned one encoded once at quality 100)\n",
                floor.imported / floor.seconds);
    std::printf("pool CPU %.1f s (user %.1f + system %.1f), %ld minor page faults; floor CPU %.1f s (user %.1f + "
                "system %.1f), %ld minor page faults\n",
                pooled.usage.cpu(), pooled.usage.user, pooled.usage.system, pooled.usage.minorFaults,
                floor.usage.cpu(), floor.usage.user, floor.usage.system, floor.usage.minorFaults);
    std::printf("CPU ratio import/floor %.2f\n", pooled.usage.cpu() / floor.usage.cpu());

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
    std::printf("window CPU %.1f s (user %.1f + system %.1f), %ld minor page faults (%.2fx the batch pool's CPU)\n",
                window.usage.cpu(), window.usage.user, window.usage.system, window.usage.minorFaults,
                window.usage.cpu() / pooled.usage.cpu());
    std::printf("window backups and unturned photos %s the batch's bytes\n", sameBytes ? "equal" : "DIFFER FROM");
    const bool complete = !single.failed && !pooled.failed && !floor.failed && !window.failed
                          && single.imported == photos && pooled.imported == photos && window.imported == photos;
    return complete && identical && sameBytes ? 0 : 1;
}

#include "import_bench.moc"
