#ifndef IMPORTORDERTHREAD_H
#define IMPORTORDERTHREAD_H

#include "core/OrderItemInfo.h"
#include "files/FolderWalk.h"
#include "import/importordersphotodlg.h"
#include "import/LyraFileInfo.h"

#include <QList>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QThread>

class ImportOrderModel;

// Worker of the batch import: one object handles one order. Import mode
// builds the order's folder tree and copies one type of the user's selection
// into it (photos, videos), or collects a chosen folder for the Lyra copy jobs
// (LyraImportThread); delete mode removes one order folder for the search
// tools.
//
// The worker object lives in the thread that built it. It takes copies of the
// order fields and shop settings it needs when it is built, so the run never
// reads the model or the shop globals while the GUI thread may change them;
// folder paths it creates go back to the model on the model's thread.
class ImportOrderThread : public QThread
{
    Q_OBJECT
public:
    // Error code of importImageThreadError for a photo, backup or thumbnail
    // that could not be written.
    static constexpr uchar kWriteFailedError = 3;
    // The progress signals count in 16 bits: a larger order is refused.
    static constexpr int kMaxFiles = 65535;

    // What one photo's import came to; the worker thread reports it.
    struct PhotoOutcome {
        enum class Result { Imported, EmptyPath, NoSpace, WriteFailed };
        Result result = Result::Imported;
        QString path; // the source that finds no space, or the file that could not be written
    };

    ImportOrderThread(ImportOrderModel* model, importOrdersPhotoDlg::ImportTypeEnum type, QObject* parent);
    // Delete mode; the worker frees itself once it has finished.
    ImportOrderThread(OrderItemInfo item, QObject* parent);
    ~ImportOrderThread() override;

    void importOrder();
    // How many photos of the order are imported at once; 0 (the default)
    // means one per core.
    void setPhotoJobLimit(int jobs) { photoJobLimit = jobs; }

    void createOrderDir(QString serverRoot, QString backupRoot);
    void createLyraDir(QString path);

    // Imports one photo; safe to run for several photos at once.
    PhotoOutcome importImage(QString orderPath, QString backupPath, QString sourcePath, QString targetName) const;
    bool judgeMemorySize(QString path) const;
    bool judgeDiskSize(qint64 size, QString path) const;
    bool getPicShotTime(QString path, QString& shotTime);

    bool importVideo(QString orderPath, QString backupPath, QString sourcePath, QString targetName);
    // Copies without replacing: a file already at the target counts as
    // present; a missing source or a failed copy gives false.
    static bool copyFile(QString source, QString target);
    void copyLyraDirToSer(QString sourceDir);
    void copyDir(QString from, QString to);
    void copyDir2(QString from, QString to);

    void startDelete();

signals:
    void hasImportedImgCount(ushort doneCount, ushort fileCount);
    void hasFinishedImportSigl(ushort doneCount);
    void importImageThreadError(uchar errorCode);
    void importErrorMsg(QString reason);
    void checkDiskSizeSigl(QString picPath);
    void checkOrderPicPathSigl();
    void deleteSucceed(QString mOrderid, QString deleteDir);
    void importDirLyraThreadError();
    // Never emitted: declared so that every signal keeps its index.
    void importDirLyraThreadSigl(QString picPath);
    void startImportDirLyraThreadSigl(QList<LyraFileInfo> list, QString toDir);
    // Never emitted, like importDirLyraThreadSigl.
    void emit_msg(QString str);

protected:
    void run() override;

private:
    // What the run needs of the order and the shop, copied before it starts.
    struct OrderCopy {
        QString orderNumber;
        QString shotdate;
        QString folderSuffix;
        QString importOrderPath;
        QString importOrderBakPath;
        QStringList files;
        QStringList targetNames;
        QString serverRoot;
        QString backupRoot;
        bool originalsToFinished = false;
        QString lyraRoot;
        QString lyraSourceDir;
        QString lyraSourceParent;
    };

    void storeOrderPaths(const QString& orderPath, const QString& backupPath);
    bool hasUnsafeOrderPath() const;
    QString emptyPathMessage() const;
    void importPhotos();
    void reportFailure(const PhotoOutcome& outcome);
    void reportProgress();
    bool writeFailed(const QString& path);
    QString lyraTargetPath(const QString& sourcePath) const;

    QPointer<ImportOrderModel> model;
    importOrdersPhotoDlg::ImportTypeEnum importType = importOrdersPhotoDlg::TypeOriginal;
    quint16 fileCount = 0;
    quint16 doneCount = 0;
    QList<LyraFileInfo> lyraFiles;
    FolderWalk folderWalk; // the real folders copyDir2 is inside of
    QString deleteDir;
    QStringList keptRoots; // the photo roots known for the order when a delete-mode worker was made
    QString callerTag;
    QString orderId;
    OrderCopy order;
    int photoJobLimit = 0;
};

#endif
