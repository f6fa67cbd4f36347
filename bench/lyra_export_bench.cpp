// Exports a finished Lyra selection of 12-megapixel photos the way the Lyra
// separation window does (through Lyrathread, pictures and pages only) and,
// in the same run with equally warm sources, copies the same tree with
// std::filesystem::copy; each way runs twice, taking turns. Reports both throughputs, their ratio, the cores
// and whether every copy equals its source.
//
//     lyra_export_bench [photos]
//
// photos: how many 4000x3000 JPEGs the selection holds (default 40).

#include "DemoPhotos.h"
#include "lyra/lyrathread.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <filesystem>

namespace {

void quietDebug(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The export's reports are not looked at: the run is timed to its end.
class Receiver : public QObject
{
    Q_OBJECT
public slots:
    void slt_exportLyraResult(QJsonObject) {}
};

// Reads every file once, so both copies start from the page cache.
qint64 warm(const QString& folder)
{
    qint64 bytes = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    return bytes;
}

// Every picture of `source` is in `copy` with the same bytes.
bool sameFiles(const QString& source, const QString& copy)
{
    QDirIterator it(source, {QStringLiteral("*.JPG")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = QDir(source).relativeFilePath(it.next());
        QFile a(source + QLatin1Char('/') + file);
        QFile b(copy + QLatin1Char('/') + file);
        if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.readAll() != b.readAll())
            return false;
    }
    return true;
}

bool generateSelection(const QString& result, int count)
{
    QDir().mkpath(result);
    const QByteArray samples[] = {DemoPhotos::jpegWithOrientation(DemoPhotos::cameraLikePicture(1), 1),
                                  DemoPhotos::jpegWithOrientation(DemoPhotos::cameraLikePicture(2), 1),
                                  DemoPhotos::jpegWithOrientation(DemoPhotos::cameraLikePicture(3), 1),
                                  DemoPhotos::jpegWithOrientation(DemoPhotos::cameraLikePicture(4), 1)};
    for (int i = 0; i < count; ++i) {
        QFile out(result + QStringLiteral("/IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0')));
        const QByteArray& content = samples[i % 4];
        if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
            return false;
    }
    QFile mark(result + QStringLiteral("/BENCH.ok"));
    return mark.open(QIODevice::WriteOnly);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietDebug);
    const QStringList args = app.arguments();
    if (args.size() > 2 || (args.size() == 2 && args.at(1).toInt() <= 0)) {
        std::fprintf(stderr, "usage: lyra_export_bench [photos]\n");
        return 2;
    }
    const int photos = args.size() > 1 ? args.at(1).toInt() : 40;

    QTemporaryDir dir;
    const QString selected = dir.filePath(QStringLiteral("lyra/选版服务器/[已选]BENCH"));
    const QString result = selected + QStringLiteral("/选版结果");
    if (!dir.isValid() || !generateSelection(result, photos))
        return 1;
    const qint64 bytes = warm(result);

    OrderItemInfo order;
    order.checked = true;
    order.orderpayforkey = QStringLiteral("BENCH");
    order.servicetimes = QStringLiteral("1");
    order.lyraRelPath = QStringLiteral("BENCH");
    order.lyraSelectedPath = selected;
    Receiver receiver;
    const auto exportOnce = [&](const QString& root) {
        Lyrathread worker(&receiver, nullptr);
        worker.mode = QStringLiteral("exportLyraresult");
        worker.exportRoot = root;
        worker.orders = {order};
        worker.lyraIsDownloadAll = QStringLiteral("0");
        worker.lyraBigImg = QStringLiteral("0");
        QDir().mkpath(root);
        QElapsedTimer timer;
        timer.start();
        worker.start();
        worker.wait();
        return timer.nsecsElapsed() / 1e9;
    };
    std::error_code error;
    const auto copyOnce = [&](const QString& target) {
        QElapsedTimer timer;
        timer.start();
        std::filesystem::copy(QFile::encodeName(result).toStdString(), QFile::encodeName(target).toStdString(),
                              std::filesystem::copy_options::recursive, error);
        return timer.nsecsElapsed() / 1e9;
    };
    // Each way twice, taking turns, so neither profits from going second;
    // the faster run of each counts.
    double exportSeconds = exportOnce(dir.filePath(QStringLiteral("export")));
    double plainSeconds = copyOnce(dir.filePath(QStringLiteral("plain")));
    exportSeconds = qMin(exportSeconds, exportOnce(dir.filePath(QStringLiteral("export2"))));
    plainSeconds = qMin(plainSeconds, copyOnce(dir.filePath(QStringLiteral("plain2"))));
    const QString plain = dir.filePath(QStringLiteral("plain"));

    const QString exported = dir.filePath(QStringLiteral("export")) + QLatin1Char('/') + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
        + QStringLiteral("/BENCH-服务次1/选版结果");
    const bool identical = !error && sameFiles(result, exported) && sameFiles(result, plain);
    const double exportRate = bytes / 1e6 / exportSeconds;
    const double plainRate = bytes / 1e6 / plainSeconds;
    std::printf("%d photos 4000x3000, %.1f MB of JPEG, %d cores\n", photos, bytes / 1e6, QThread::idealThreadCount());
    std::printf("Lyra export:      %.1f MB/s\n", exportRate);
    std::printf("filesystem copy:  %.1f MB/s\n", plainRate);
    std::printf("export at %.0f%% of the plain copy, copies %s\n", 100 * exportRate / plainRate,
                identical ? "equal their sources" : "DIFFER");
    return identical ? 0 : 1;
}

#include "lyra_export_bench.moc"
