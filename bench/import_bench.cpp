// Imports 12-megapixel photos the way the batch import does, once one photo
// at a time and once on the worker's pool, and reports both throughputs, the
// speedup, the peak memory of each run and whether both runs wrote the same
// files. On the same pool it then measures the floor: decoding every photo
// once and encoding every turned one once at quality 100, nothing written;
// the pool run's CPU (user + system of the process) over the floor's tells
// what the import spends beyond the work it cannot avoid. The same photos
// then go through the single-order window's jobs on its pool, as photo runs
// of that window, beside the batch's figures.
//
//     import_bench [--keep DIR] [--orders K] [photos]
//     import_bench [--keep DIR] [--orders K] --photos DIR
//
// photos: how many 4000x3000 JPEGs to generate and import as one order of
// originals with backup (default 40); every second one carries Exif
// orientation 6. With --photos the JPEGs of DIR (not its sub-folders) are
// imported instead, so a studio can measure on its own camera's files; DIR
// is only read. With --orders the batch holds K such orders (each of its
// own generated photos, or each of DIR's), imported one after another by a
// worker each, as the batch runs them; every figure is the whole batch's.
// With --keep the trees are written into DIR (a new folder) and kept, so
// that two builds' outputs can be compared.

#include "BenchSupport.h"
#include "core/Globals.h"
#include "import/importordermodel.h"
#include "import/importorderthread.h"
#include "import/PhotoImport.h"
#include "import/PhotoPool.h"
#include "import/PictureMemoryKeeper.h"
#include "import/thumbnailthread1.h"
#include "files/ImageOperation.h"

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
        BenchSupport::settle();
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

// The orders of a batch, one list of photos each.
using Batch = QList<QStringList>;

QStringList allPhotos(const Batch& batch)
{
    QStringList files;
    for (const QStringList& order : batch)
        files << order;
    return files;
}

// Imports the batch's orders one after another, each by a worker of its own
// into its order folder BENCH-1, BENCH-2, …, as the program's first import:
// no picture memory is kept when it starts.
Run importBatch(const QString& root, const Batch& batch, int jobs)
{
    g_picPath = root + QStringLiteral("/server/");
    g_bakPicPath = root + QStringLiteral("/backup/");
    PictureMemoryKeeper::shared()->release();
    Run run;
    RunMeter meter(&run);
    for (int i = 0; i < batch.size() && !run.failed; ++i) {
        g_importRunFlag = QStringLiteral("go");
        ImportOrderModel order(QJsonObject{{"orderpayforkey", "BENCH"},
                                           {"servicetimes", QString::number(i + 1)},
                                           {"shotdate", "2024-03-07"}},
                               nullptr);
        order.setSelectedFiles(importOrdersPhotoDlg::TypeOriginal, batch.at(i));
        ImportOrderThread worker(&order, importOrdersPhotoDlg::TypeOriginal, nullptr);
        worker.setPhotoJobLimit(jobs);
        int imported = 0;
        QObject::connect(&worker, &ImportOrderThread::hasImportedImgCount, [&imported](ushort done) { imported = done; });
        QObject::connect(&worker, &ImportOrderThread::importErrorMsg, [&run] { run.failed = true; });
        QObject::connect(&worker, &ImportOrderThread::checkDiskSizeSigl, [&run] { run.failed = true; });
        QObject::connect(&worker, &ImportOrderThread::importImageThreadError, [&run] { run.failed = true; });
        worker.createOrderDir(g_picPath, g_bakPicPath);
        worker.start();
        worker.wait();
        run.imported += imported;
    }
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
// job decodes into the picture memory the pool lends it, the memory the
// import has kept, so no fresh memory is counted either.
Run floorRun(const QStringList& files)
{
    Run run;
    std::atomic<int> done{0};
    RunMeter meter(&run);
    {
        PhotoPool pool;
        for (const QString& file : files) {
            pool.add([file, &done] {
                QFile source(file);
                if (!source.open(QIODevice::ReadOnly))
                    return;
                const QByteArray data = source.readAll();
                QImage picture;
                if (!ImageOperation::decodeInto(data, &PhotoImport::lentBuffers()->decoded, &picture))
                    return;
                if (ImageOperation::needsTurn(ImageOperation::getDirection(data))) {
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

QString batchOrderFolder(const QString& root, const QString& tree, int order)
{
    return root + QStringLiteral("/") + tree + QStringLiteral("/2024-03/07/BENCH-%1/").arg(order + 1);
}

QString windowOrderFolder(const QString& root, const QString& tree, int order)
{
    return root + QStringLiteral("/") + tree + QStringLiteral("/order") + (order > 0 ? QString::number(order + 1) : QString())
           + QStringLiteral("/");
}

// The single-order window's photo runs, one per order of the batch and each
// after the one before has ended: one job per photo on the window's pool,
// under the names the batch gave them. No picture memory is kept when the
// first starts.
Run windowRun(const QString& root, const Batch& batch, const Batch& names)
{
    for (int i = 0; i < batch.size(); ++i) {
        const QString order = windowOrderFolder(root, QStringLiteral("server"), i);
        for (const QString& folder : {order + "照片", order + "thumbnail", order + "thumbnail100",
                                      order + "thumbnail2250", windowOrderFolder(root, QStringLiteral("backup"), i) + "照片"})
            QDir().mkpath(folder);
    }
    g_importWindowOpen = true;
    g_importPhotoMode = 0;
    PictureMemoryKeeper::shared()->release();
    ReportCounter counter;
    Run run;
    RunMeter meter(&run);
    {
        PhotoPool pool;
        for (int i = 0; i < batch.size(); ++i) {
            const QString order = windowOrderFolder(root, QStringLiteral("server"), i);
            const QString backup = windowOrderFolder(root, QStringLiteral("backup"), i);
            const QStringList& files = batch.at(i);
            for (int j = 0; j < files.size(); ++j)
                pool.add(new ThumbnailThread1(files.at(j), names.at(i).at(j), order, backup, &counter, 1000),
                         files.at(j), names.at(i).at(j));
            pool.waitForDone();
        }
    }
    meter.stop();
    QCoreApplication::processEvents();
    run.imported = counter.finished - counter.failed;
    run.failed = counter.failed > 0;
    return run;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

// Whether the window's backups and unturned photos hold the batch's bytes.
bool windowMatchesBatch(const QString& root, const Batch& batch, const Batch& names)
{
    for (int i = 0; i < batch.size(); ++i) {
        const QString batchOrder = batchOrderFolder(root + QStringLiteral("/pool"), QStringLiteral("server"), i);
        const QString batchBackup = batchOrderFolder(root + QStringLiteral("/pool"), QStringLiteral("backup"), i);
        const QString windowOrder = windowOrderFolder(root + QStringLiteral("/window"), QStringLiteral("server"), i);
        const QString windowBackup = windowOrderFolder(root + QStringLiteral("/window"), QStringLiteral("backup"), i);
        for (int j = 0; j < batch.at(i).size(); ++j) {
            const QString name = QStringLiteral("照片/") + names.at(i).at(j);
            if (readAll(batchBackup + name) != readAll(windowBackup + name)
                || (!ImageOperation::needsTurn(ImageOperation::getDirection(batch.at(i).at(j)))
                    && readAll(batchOrder + name) != readAll(windowOrder + name)))
                return false;
        }
    }
    return true;
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
    std::fprintf(stderr, "usage: import_bench [--keep DIR] [--orders K] [photos]\n"
                         "       import_bench [--keep DIR] [--orders K] --photos DIR\n");
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
    int orders = 1;
    if (!args.isEmpty() && args.at(0) == QLatin1String("--orders")) {
        orders = args.size() >= 2 ? args.at(1).toInt() : 0;
        if (orders < 1)
            return usage();
        args = args.mid(2);
    }
    Batch batch;
    QString description;
    if (!args.isEmpty() && args.at(0) == QLatin1String("--photos")) {
        if (args.size() != 2)
            return usage();
        const QString folder = args.at(1);
        const QStringList files = folderPhotos(folder);
        if (files.isEmpty()) {
            std::fprintf(stderr, "no JPEG photos in %s\n", qPrintable(folder));
            return 2;
        }
        for (int i = 0; i < orders; ++i)
            batch << files;
        description = QStringLiteral("of %1").arg(QDir::toNativeSeparators(QDir(folder).absolutePath()));
    } else {
        if (args.size() > 1 || (args.size() == 1 && args.at(0).startsWith(QLatin1Char('-'))))
            return usage();
        const int photos = !args.isEmpty() ? qMax(1, args.at(0).toInt()) : 40;
        for (int i = 0; i < orders; ++i) {
            QStringList files;
            const QString folder = QStringLiteral("camera") + (orders > 1 ? QStringLiteral("/%1").arg(i + 1) : QString());
            if (!BenchSupport::generatePhotos(dir.filePath(folder), photos, true, &files))
                return 1;
            batch << files;
        }
        description = QStringLiteral("4000x3000 (half turned)");
    }
    const QStringList files = allPhotos(batch);
    const int photos = files.size();
    qint64 sourceBytes = 0;
    for (const QString& file : files)
        sourceBytes += QFileInfo(file).size();

    const Run single = importBatch(dir.filePath(QStringLiteral("one")), batch, 1);
    const Run pooled = importBatch(dir.filePath(QStringLiteral("pool")), batch, 0);
    const bool identical = BenchSupport::sameTree(dir.filePath(QStringLiteral("one")), dir.filePath(QStringLiteral("pool")));

    if (orders > 1)
        std::printf("%d orders of %d photos ", orders, int(batch.first().size()));
    else
        std::printf("%d photos ", photos);
    std::printf("%s, %.1f MB of JPEG, %d cores\n", qPrintable(description), sourceBytes / 1e6,
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
    Batch names;
    for (const QStringList& order : qAsConst(batch))
        names << model.renamedFileNames(order, importOrdersPhotoDlg::TypeOriginal);
    const Run window = windowRun(dir.filePath(QStringLiteral("window")), batch, names);
    const bool sameBytes = windowMatchesBatch(dir.path(), batch, names);
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
