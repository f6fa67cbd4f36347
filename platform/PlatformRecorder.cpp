#include "PlatformRecorder.h"

#include <QPageSize>
#include <QPrinter>
#include <QStandardPaths>

qint64 PlatformRecorder::freeBytes(const QString& path)
{
    return freeBytesAnswer == -2 ? Platform::freeBytes(path) : freeBytesAnswer;
}

bool PlatformRecorder::openFolder(const QString& path)
{
    openedFolders << path;
    return true;
}

bool PlatformRecorder::openUrl(const QUrl& url)
{
    openedUrls << url;
    return true;
}

bool PlatformRecorder::startDetached(const QString& program, const QStringList& arguments)
{
    starts << Start{program, arguments};
    return startSucceeds;
}

void PlatformRecorder::exitProcess(int status)
{
    exitStatuses << status;
}

bool PlatformRecorder::driveRootExists(const QString& root)
{
    return namesDrive(root) ? existingDriveRoots.contains(root) : Platform::driveRootExists(root);
}

bool PlatformRecorder::hasLabelPrinter()
{
    return labelPrinterPresent;
}

std::unique_ptr<QPrinter> PlatformRecorder::labelPrinter()
{
    if (!labelPrinterPresent)
        return nullptr;
    auto printer = std::make_unique<QPrinter>(QPrinter::ScreenResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setPageSize(QPageSize(labelPageMM, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    return printer;
}

void PlatformRecorder::useNativeOutput(QPrinter& printer)
{
    Q_UNUSED(printer);
}

void PlatformRecorder::beginLabelJob(QPrinter& printer)
{
    const QString folder = labelFolder.isEmpty() ? defaultLabelFolder() : labelFolder;
    QDir().mkpath(folder);
    const QString file = QDir(folder).filePath(QStringLiteral("label-%1.pdf").arg(labelFiles.size() + 1, 3, 10, QLatin1Char('0')));
    printer.setOutputFileName(file);
    labelFiles << file;
}

QString PlatformRecorder::defaultLabelFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/labels");
}

bool PlatformRecorder::isReachableFolder(const QString& path)
{
    if (beforeFolderCheck)
        beforeFolderCheck(path);
    return Platform::isReachableFolder(path);
}

bool PlatformRecorder::isWritableFolder(const QString& path)
{
    if (beforeFolderCheck)
        beforeFolderCheck(path);
    return !unwritableFolders.contains(diskPath(path)) && Platform::isWritableFolder(path);
}
