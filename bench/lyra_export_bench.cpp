// Exports a finished Lyra selection of 12-megapixel photos the way the Lyra
// separation window does (through Lyrathread, pictures and pages only) and,
// in the same run with equally warm sources, copies the same tree with
// std::filesystem::copy; each way runs twice, taking turns. Reports both
// throughputs, their ratio, the cores and whether every copy equals its
// source.
//
//     lyra_export_bench [photos]
//
// photos: how many 4000x3000 JPEGs the selection holds (default 40).

#include "BenchSupport.h"
#include "lyra/lyrathread.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

// The export's reports are not looked at: the run is timed to its end.
class Receiver : public QObject
{
    Q_OBJECT
public slots:
    void slt_exportLyraResult(QJsonObject) {}
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(BenchSupport::quietDebug);
    const QStringList args = app.arguments();
    if (args.size() > 2 || (args.size() == 2 && args.at(1).toInt() <= 0)) {
        std::fprintf(stderr, "usage: lyra_export_bench [photos]\n");
        return 2;
    }
    const int photos = args.size() > 1 ? args.at(1).toInt() : 40;

    QTemporaryDir dir;
    const QString selected = dir.filePath(QStringLiteral("lyra/选版服务器/[已选]BENCH"));
    const QString result = selected + QStringLiteral("/选版结果");
    if (!dir.isValid() || !BenchSupport::generatePhotos(result, photos, false)
        || !QFile(result + QStringLiteral("/BENCH.ok")).open(QIODevice::WriteOnly))
        return 1;
    const qint64 bytes = BenchSupport::warm(result);

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
    const auto exportTurn = [&](int turn) { return exportOnce(dir.filePath(QStringLiteral("export%1").arg(turn))); };
    const auto plainTurn = [&](int turn) {
        return BenchSupport::plainCopySeconds(result, dir.filePath(QStringLiteral("plain%1").arg(turn)));
    };
    double exportSeconds = 0;
    double plainSeconds = 0;
    BenchSupport::bestOfTurns(exportTurn, plainTurn, &exportSeconds, &plainSeconds);
    const QString plain = dir.filePath(QStringLiteral("plain0"));

    const QString exported = dir.filePath(QStringLiteral("export0")) + QLatin1Char('/')
                             + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
                             + QStringLiteral("/BENCH-服务次1/选版结果");
    const QStringList pictures{QStringLiteral("*.JPG")};
    const bool identical = plainSeconds > 0 && BenchSupport::sameFiles(result, exported, pictures)
                           && BenchSupport::sameFiles(result, plain, pictures);
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
