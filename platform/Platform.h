#ifndef PLATFORM_H
#define PLATFORM_H

#include <QDir>
#include <QFileInfoList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

class QPrinter;

// The few operating-system services the programs need beyond Qt. The
// running program uses the native implementation; tests install a
// PlatformRecorder in its place.
class Platform
{
public:
    virtual ~Platform() = default;

    static Platform& instance();
    // Takes ownership; nullptr brings back the native implementation.
    static void install(Platform* platform);

    // Free bytes available to the user on the volume holding `path`; -1 when unknown.
    virtual qint64 freeBytes(const QString& path);

    // Hidden attribute. On POSIX a name is hidden when it begins with "." or
    // is listed in its folder's ".hidden" file; setting it adds the name there.
    virtual bool isHidden(const QString& path);
    virtual bool setHidden(const QString& path);

    // Shows a folder to the user in the desktop's file manager.
    virtual bool openFolder(const QString& path);
    virtual bool openUrl(const QUrl& url);

    virtual bool startDetached(const QString& program, const QStringList& arguments);
    // Ends this process at once, without returning to the event loop.
    virtual void exitProcess(int status);

    // Lyra's folders lie on shares that may be out of reach, where a test
    // blocks until the system gives up: call these off the GUI thread.
    virtual bool isReachableFolder(const QString& path);
    // Whether files may be written into a folder, as the file information
    // tells it (on Windows the read-only attribute; here the permissions).
    virtual bool isWritableFolder(const QString& path);

    // Whether a path names a drive ("D:..."), and whether such a drive root exists.
    virtual bool namesDrive(const QString& path);
    virtual bool driveRootExists(const QString& root);

    // Where the updater program is started from.
    virtual QString updaterProgram();
    // How the updater starts the program it downloaded to `savedPath`: by
    // its bare name on Windows, by the saved file elsewhere.
    static QString downloadedProgram(const QString& savedPath, const QString& fileName);

    // Gives a file a new name only while no entry has that name: it never
    // replaces another file, nor copies over one.
    static bool renameWithoutReplacing(const QString& from, const QString& to);

    // Whether the system has a default printer to take labels.
    virtual bool hasLabelPrinter();
    // The default printer for bar-code labels, at screen resolution with
    // native output; nullptr when the system has no printer.
    virtual std::unique_ptr<QPrinter> labelPrinter();
    // The label set-up's step to native output, the printer itself; the
    // recorder keeps its PDF output.
    virtual void useNativeOutput(QPrinter& printer);
    // Before each label job (one painter from begin to end); the recorder
    // gives each job a numbered PDF file of its own.
    virtual void beginLabelJob(QPrinter& printer);

    // Entries of a folder as Windows lists them: without hidden entries unless
    // `filters` holds QDir::Hidden.
    QFileInfoList entryInfoList(const QString& dirPath, const QStringList& nameFilters,
                                QDir::Filters filters, QDir::SortFlags sort = QDir::NoSort);

    // Paths built with "\" by the program, made usable on the local disk.
    static QString diskPath(const QString& path);
};

#endif
