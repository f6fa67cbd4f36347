#ifndef PLATFORMRECORDER_H
#define PLATFORMRECORDER_H

#include "Platform.h"

#include <QHash>
#include <QSet>
#include <QSizeF>

#include <functional>

// Test stand-in: records what the program asks of the system instead of doing
// it, and answers with figures the test sets. Hidden attributes and folder
// listings stay real, so files in temporary folders behave as in the program.
class PlatformRecorder : public Platform
{
public:
    struct Start {
        QString program;
        QStringList arguments;
    };

    qint64 freeBytes(const QString& path) override;
    bool openFolder(const QString& path) override;
    bool openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
    void exitProcess(int status) override;
    bool driveRootExists(const QString& root) override;
    bool hasLabelPrinter() override;
    // Labels become PDF files: one per job, numbered, in `labelFolder`.
    std::unique_ptr<QPrinter> labelPrinter() override;
    void useNativeOutput(QPrinter& printer) override;
    void beginLabelJob(QPrinter& printer) override;
    // The per-user folder that takes the label files when no folder is set.
    static QString defaultLabelFolder();
    bool isReachableFolder(const QString& path) override;
    bool isWritableFolder(const QString& path) override;

    // -1 answers "unknown"; unset answers with the real figure.
    qint64 freeBytesAnswer = -2;
    bool startSucceeds = true;
    QSet<QString> existingDriveRoots;
    // Folders (disk paths) answered "not writable", since tests may run as root.
    QSet<QString> unwritableFolders;
    // Called on the asking thread before a reachability or writability
    // answer, so a test can hold a worker at a known point.
    std::function<void(const QString&)> beforeFolderCheck;

    bool labelPrinterPresent = true; // false: a machine without any printer
    QString labelFolder;
    QSizeF labelPageMM{100, 150}; // the page the default printer reports

    QStringList openedFolders;
    QStringList labelFiles;
    QList<QUrl> openedUrls;
    QList<Start> starts;
    QList<int> exitStatuses;
};

#endif
