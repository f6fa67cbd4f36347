#include "import/importorderthread.h"

#include "core/Globals.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "files/PhotoRoots.h"
#include "files/SafeFileWriter.h"
#include "import/importordermodel.h"
#include "import/OrderFolderTree.h"
#include "import/PhotoImport.h"
#include "import/PhotoPool.h"
#include "Platform.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVector>

#include <condition_variable>
#include <mutex>

namespace {

const QString kImportTag = QStringLiteral("importordersphotodlg");
const QString kDeleteTag = QStringLiteral("searchorder");
const QString kStop = QStringLiteral("no");

const QString kFinishedFolder = QStringLiteral("成品/");

// The visible sub-folders of a new order folder, in the order they are made.
const QStringList kVisibleFolders = {
    QStringLiteral("照片/"), QStringLiteral("照片/新建文件夹"), kFinishedFolder, QStringLiteral("汰片/"),
    QStringLiteral("设计/"), QStringLiteral("试拍视频/"), QStringLiteral("精修视频/")};

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// `name` inside `folder`, without doubling a separator the folder ends with.
QString joinPath(const QString& folder, const QString& name)
{
    if (!folder.isEmpty() && isSeparator(folder.back()))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

// The parent as a prefix: "/" becomes "" and "D:/" becomes "D:", so a folder
// right under a root still has its separator after the prefix.
QString withoutTrailingSeparators(QString path)
{
    while (!path.isEmpty() && isSeparator(path.back()))
        path.chop(1);
    return path;
}

bool isBelow(const QString& path, const QString& parent)
{
    return path.size() > parent.size() && path.startsWith(parent) && isSeparator(path.at(parent.size()));
}

// Indices of photo jobs that have ended, handed to the worker thread in the
// order they ended.
class EndedPhotoJobs
{
public:
    void add(int index)
    {
        std::lock_guard<std::mutex> lock(mutex);
        ended.append(index);
        endedOne.notify_one();
    }

    int take()
    {
        std::unique_lock<std::mutex> lock(mutex);
        endedOne.wait(lock, [this] { return !ended.isEmpty(); });
        return ended.takeFirst();
    }

private:
    std::mutex mutex;
    std::condition_variable endedOne;
    QList<int> ended;
};

ImportOrderThread::PhotoOutcome photoFailed(ImportOrderThread::PhotoOutcome::Result result, const QString& path)
{
    return {result, path};
}

} // namespace

ImportOrderThread::ImportOrderThread(ImportOrderModel* model, importOrdersPhotoDlg::ImportTypeEnum type,
                                     QObject* parent)
    : QThread(parent), model(model), importType(type), callerTag(kImportTag)
{
    qDebug() << "thread-start";
    order.serverRoot = g_picPath;
    order.backupRoot = g_bakPicPath;
    order.originalsToFinished = g_yptbcp == QLatin1String("1");
    order.lyraRoot = g_lyraPicPath;
    qRegisterMetaType<QList<LyraFileInfo>>("QList<LyraFileInfo>");
    if (!model)
        return;
    order.orderNumber = model->orderNumber();
    order.shotdate = model->shotdate();
    // Design images and both video types share the third suffix.
    order.folderSuffix = model->folderSuffix(qMin(int(type), int(importOrdersPhotoDlg::TypeDesign)));
    order.importOrderPath = model->importOrderPath();
    order.importOrderBakPath = model->importOrderBakPath();
    order.lyraSourceDir = model->lyraSourceDir();
    order.lyraSourceParent = withoutTrailingSeparators(model->lyraSourceParent());
    if (type <= importOrdersPhotoDlg::TypeRetouchedVideo) {
        order.files = model->selectedFiles(type);
        order.targetNames = model->renamedFileNames(order.files, type);
        fileCount = quint16(order.files.size());
    }
}

ImportOrderThread::ImportOrderThread(OrderItemInfo item, QObject* parent)
    : QThread(parent)
    , deleteDir(item.orderpath)
    , keptRoots(PhotoRoots::knownFor(item))
    , callerTag(kDeleteTag)
    , orderId(item.order_photo_id)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

ImportOrderThread::~ImportOrderThread()
{
    qDebug() << "import thread delete";
}

void ImportOrderThread::run()
{
    if (callerTag == kImportTag) {
        if (importType != importOrdersPhotoDlg::TypeLyra)
            createOrderDir(order.serverRoot, order.backupRoot);
        importOrder();
    } else if (callerTag == kDeleteTag) {
        qDebug() << "deleteDir==" << deleteDir;
        startDelete();
    }
}

void ImportOrderThread::importOrder()
{
    if (importType == importOrdersPhotoDlg::TypeLyra) {
        copyLyraDirToSer(order.lyraSourceDir);
        return;
    }
    // createOrderDir has refused these already.
    if (hasUnsafeOrderPath())
        return;
    if (order.importOrderPath.isEmpty() || order.importOrderBakPath.isEmpty()) {
        emit importErrorMsg(emptyPathMessage());
        return;
    }
    if (order.files.isEmpty()) {
        emit importErrorMsg(QStringLiteral("订单[%1]没有可导入的文件，请重新选择后重试").arg(order.orderNumber));
        return;
    }
    if (order.files.size() > kMaxFiles) {
        emit importErrorMsg(QStringLiteral("订单[%1]所选文件超过%2个，请分批导入").arg(order.orderNumber).arg(kMaxFiles));
        return;
    }
    if (importType <= importOrdersPhotoDlg::TypeDesign) {
        importPhotos();
        return;
    }
    doneCount = 0;
    for (int i = 0; i < order.files.size(); ++i) {
        if (g_importRunFlag == kStop)
            return;
        ++doneCount;
        if (!importVideo(order.importOrderPath, order.importOrderBakPath, order.files.at(i), order.targetNames.at(i)))
            return;
    }
}

// The photos go through a pool, at most one job per core and within a memory
// budget, while this thread keeps the worker's contract: the run flag is
// read before each photo starts, progress counts photos as they end, and a
// failure stops further starts and is reported once the running photos have
// ended (the one earliest in the list), so an error still means the worker is
// done. Photos whose names can meet in the backup numbering run one after
// another in list order, so the numbers and the last-one-wins copy come out as
// in a run of one photo at a time.
void ImportOrderThread::importPhotos()
{
    const int count = order.files.size();
    // Declared before the pool, so it outlives the jobs still leaving it.
    EndedPhotoJobs endedJobs;
    QVector<PhotoOutcome> outcomes(count);
    PhotoPool pool(photoJobLimit, PhotoPool::Starts::OnRequest);
    pool.setEndedHandler([&endedJobs](int index) { endedJobs.add(index); });
    for (int i = 0; i < count; ++i) {
        pool.add([this, i, &outcomes] {
            outcomes[i] = importImage(order.importOrderPath, order.importOrderBakPath, order.files.at(i),
                                      order.targetNames.at(i));
        }, order.files.at(i), order.targetNames.at(i));
    }
    int inWork = 0;
    int failedIndex = -1;
    doneCount = 0;
    for (;;) {
        if (failedIndex < 0 && g_importRunFlag == kStop)
            pool.clear();
        else if (failedIndex < 0)
            inWork += pool.startWaiting();
        if (inWork == 0)
            break;
        const int ended = endedJobs.take();
        --inWork;
        if (outcomes.at(ended).result != PhotoOutcome::Result::Imported) {
            pool.clear();
            if (failedIndex < 0 || ended < failedIndex)
                failedIndex = ended;
        } else if (failedIndex < 0) {
            ++doneCount;
            reportProgress();
        }
    }
    if (failedIndex >= 0)
        reportFailure(outcomes.at(failedIndex));
}

void ImportOrderThread::reportFailure(const PhotoOutcome& outcome)
{
    switch (outcome.result) {
    case PhotoOutcome::Result::Imported:
        break;
    case PhotoOutcome::Result::EmptyPath:
        emit importErrorMsg(QStringLiteral("订单[%1]导片路径或源文件为空，已中断，可重试").arg(order.orderNumber));
        break;
    case PhotoOutcome::Result::NoSpace:
        g_importRunFlag = kStop;
        emit checkDiskSizeSigl(outcome.path);
        break;
    case PhotoOutcome::Result::WriteFailed:
        emit importImageThreadError(kWriteFailedError);
        break;
    }
}

void ImportOrderThread::createOrderDir(QString serverRoot, QString backupRoot)
{
    serverRoot = serverRoot.trimmed();
    if (!OrderFolderTree::prepareRoot(serverRoot, true)) {
        qDebug() << "服务器路径错误:" << serverRoot;
        emit importImageThreadError(1);
        return;
    }
    if (!OrderFolderTree::prepareRoot(backupRoot, false)) {
        emit importImageThreadError(2);
        return;
    }
    qDebug() << "orderpath" << order.importOrderPath;
    qDebug() << "orderbackpath" << order.importOrderBakPath;
    if (!order.importOrderPath.isEmpty() || !order.importOrderBakPath.isEmpty()) {
        if (hasUnsafeOrderPath())
            emit importErrorMsg(emptyPathMessage());
        return;
    }

    const QString number = sanitizeFileName(order.orderNumber.trimmed());
    QString folder = number;
    if (!order.folderSuffix.isEmpty())
        folder += sanitizeFileName((QStringLiteral("-") + order.folderSuffix).trimmed());
    QString yearMonth;
    QString day;
    // Cleaning leaves no separator, so only a name of its own that is "." or
    // ".." could climb out of the root; dots inside a customer name are fine.
    // A suffix that cleans away to its dash is refused too.
    if (!OrderFolderTree::splitShotDate(order.shotdate, &yearMonth, &day)
        || !OrderFolderTree::isUsableFolderName(folder)
        || (!order.folderSuffix.isEmpty() && !OrderFolderTree::isUsableFolderName(folder.mid(number.size() + 1)))) {
        qDebug() << "订单目录无效" << order.shotdate << folder;
        g_importRunFlag = kStop;
        emit checkOrderPicPathSigl();
        return;
    }

    const QString orderFolder = OrderFolderTree::relativeOrderPath(yearMonth, day, folder);
    const QString orderPath = serverRoot + orderFolder;
    const QString backupPath = backupRoot + orderFolder;
    OrderFolderTree::make(serverRoot, yearMonth, day, folder, kVisibleFolders, true);
    OrderFolderTree::make(backupRoot, yearMonth, day, folder, {photoKindFolders(0).photos}, false);
    qDebug() << "orderBackupPathCrt===" << backupPath;

    if (!FileOperation::isDirExist(orderPath)) {
        g_importRunFlag = kStop;
        emit checkOrderPicPathSigl();
        return;
    }
    storeOrderPaths(orderPath, backupPath);
}

// A path from the service that climbs out with ".." or hangs below the
// program's folder is no order folder: nothing is written into it, and the
// start report never sends it.
bool ImportOrderThread::hasUnsafeOrderPath() const
{
    return (!order.importOrderPath.isEmpty() && !isSafeOrderPath(order.importOrderPath))
           || (!order.importOrderBakPath.isEmpty() && !isSafeOrderPath(order.importOrderBakPath));
}

QString ImportOrderThread::emptyPathMessage() const
{
    return QStringLiteral("订单[%1]路径为空，无法导片，请检查订单路径/备份路径后重试").arg(order.orderNumber);
}

void ImportOrderThread::storeOrderPaths(const QString& orderPath, const QString& backupPath)
{
    order.importOrderPath = orderPath;
    order.importOrderBakPath = backupPath;
    // The model belongs to the GUI thread: a tree made by the run reaches it
    // through this object's event queue there.
    QMetaObject::invokeMethod(
        this,
        [this, orderPath, backupPath] {
            if (!model)
                return;
            model->setImportOrderPath(orderPath);
            model->setImportOrderBakPath(backupPath);
        },
        Qt::AutoConnection);
}

void ImportOrderThread::createLyraDir(QString path)
{
    qDebug() << "lyraPicPath=" << path;
    // A shop without a Lyra path leaves only "\选版服务器": that folder would
    // land at a filesystem root.
    const QFileInfo target(Platform::diskPath(path));
    if (target.isRelative() || QDir(target.absolutePath()).isRoot()) {
        qDebug() << "Lyra服务器路径无效" << path;
        emit importDirLyraThreadError();
        return;
    }
    if (FileOperation::isDirExist(path))
        return;
    if (!QDir().mkpath(Platform::diskPath(path))) {
        qDebug() << "Lyra服务器路径创建失败" << path;
        emit importDirLyraThreadError();
    }
}

ImportOrderThread::PhotoOutcome ImportOrderThread::importImage(QString orderPath, QString backupPath,
                                                              QString sourcePath, QString targetName) const
{
    using Result = PhotoOutcome::Result;
    qDebug() << "orderBackupPath=" << backupPath;
    qDebug() << "orderPath=" << orderPath;
    if (orderPath.isEmpty() || backupPath.isEmpty() || sourcePath.isEmpty())
        return photoFailed(Result::EmptyPath, sourcePath);
    if (!judgeMemorySize(sourcePath))
        return photoFailed(Result::NoSpace, sourcePath);

    const PhotoKindFolders folders = photoKindFolders(importType);
    PhotoImport::Targets targets;
    if (importType == importOrdersPhotoDlg::TypeOriginal) {
        targets.backup = backupPath + folders.photos + targetName;
        if (order.originalsToFinished)
            targets.photos << orderPath + folders.photos + targetName << orderPath + kFinishedFolder + targetName;
    }
    if (targets.photos.isEmpty())
        targets.photos << orderPath + folders.photos + targetName;
    targets.thumbnail2250 = orderPath + folders.thumbnail2250 + targetName;
    targets.thumbnail1000 = orderPath + folders.thumbnail1000 + targetName;
    targets.thumbnail200 = orderPath + folders.thumbnail200 + targetName;
    const PhotoImport::Outcome outcome = PhotoImport::run(sourcePath, targets, PhotoImport::Settings());
    if (!outcome.ok())
        return photoFailed(Result::WriteFailed, outcome.failed.first());
    return {};
}

bool ImportOrderThread::importVideo(QString orderPath, QString backupPath, QString sourcePath, QString targetName)
{
    Q_UNUSED(backupPath)
    if (orderPath.isEmpty() || sourcePath.isEmpty()) {
        emit importErrorMsg(QStringLiteral("订单[%1]视频路径或源文件为空，已中断，可重试").arg(order.orderNumber));
        return false;
    }
    const QString folder = importType == importOrdersPhotoDlg::TypeTrialVideo ? QStringLiteral("试拍视频/")
                                                                             : QStringLiteral("精修视频/");
    const QString target = orderPath + folder + targetName;
    if (!copyFile(sourcePath, target))
        return writeFailed(target);
    reportProgress();
    return true;
}

bool ImportOrderThread::copyFile(QString source, QString target)
{
    qDebug() << "toDir=" << target;
    return FileOperation::copyNewFile(source, target);
}

void ImportOrderThread::copyLyraDirToSer(QString sourceDir)
{
    qDebug() << "LyraDir=" << sourceDir;
    qDebug() << "importServLyraPath=" << order.lyraRoot;
    const QString lastPart = sourceDir.split(QLatin1Char('/')).last();
    qDebug() << "endStr=" << lastPart;
    const QString toDir = order.lyraRoot + QLatin1Char('\\') + lastPart;
    qDebug() << "导片的根目录是:" << toDir;
    // The file targets are the source paths with the parent swapped for the
    // Lyra root: a folder that is gone, or not below that parent, has none.
    if (!FileOperation::isDirExist(sourceDir) || !isBelow(sourceDir, order.lyraSourceParent)) {
        emit importErrorMsg(QStringLiteral("订单[%1]Lyra源文件夹不存在，已中断，可重试").arg(order.orderNumber));
        return;
    }
    if (!FileOperation::isDirExist(toDir))
        FileOperation::createDir(toDir);
    if (!FileOperation::isDirExist(toDir)) {
        qDebug() << "Lyra导入目录创建失败" << toDir;
        emit importDirLyraThreadError();
        return;
    }
    copyDir(sourceDir, toDir);
}

void ImportOrderThread::copyDir(QString from, QString to)
{
    lyraFiles.clear();
    folderWalk.start(from);
    copyDir2(from, to);
    emit startImportDirLyraThreadSigl(lyraFiles, to);
}

void ImportOrderThread::copyDir2(QString from, QString to)
{
    if (!FileOperation::isDirExist(to)) {
        FileOperation::createDir(to);
        qDebug() << "创建文件夹=" << QFileInfo(Platform::diskPath(to)).absoluteFilePath();
    }
    const QFileInfoList entries = Platform::instance().entryInfoList(from, {}, QDir::AllEntries | QDir::NoDotAndDotDot,
                                                                     QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        const QString path = joinPath(from, entry.fileName());
        if (entry.isDir()) {
            if (folderWalk.enter(entry)) {
                copyDir2(path, joinPath(to, entry.fileName()));
                folderWalk.leave(entry);
            }
            continue;
        }
        LyraFileInfo file;
        file.setSourcePath(path);
        file.setTargetPath(lyraTargetPath(path));
        qDebug() << "原路径：" << file.sourcePath();
        qDebug() << "导入生成路径：" << file.targetPath();
        lyraFiles << file;
    }
    qDebug() << "导入路径：" << to;
}

// Only the leading parent folder is swapped: the same text deeper in the
// path names the customer's own folders.
QString ImportOrderThread::lyraTargetPath(const QString& sourcePath) const
{
    return order.lyraRoot + sourcePath.mid(order.lyraSourceParent.size());
}

bool ImportOrderThread::writeFailed(const QString& path)
{
    qDebug() << "导片读写失败" << path;
    emit importImageThreadError(kWriteFailedError);
    return false;
}

void ImportOrderThread::reportProgress()
{
    emit hasImportedImgCount(doneCount, fileCount);
    if (doneCount == fileCount)
        emit hasFinishedImportSigl(doneCount);
}

bool ImportOrderThread::judgeMemorySize(QString path) const
{
    const qint64 size = QFileInfo(Platform::diskPath(path)).size();
    qDebug() << "picSize=" << size;
    qDebug() << "mypicPath=" << path;
    return judgeDiskSize(size, order.serverRoot);
}

bool ImportOrderThread::judgeDiskSize(qint64 size, QString path) const
{
    const qint64 available = Platform::instance().freeBytes(path);
    if (available < 0)
        return true;
    qDebug() << "服务器路径" << path;
    qDebug() << "可用的磁盘空闲容量: " << available;
    return quint64(size) < quint64(available);
}

bool ImportOrderThread::getPicShotTime(QString path, QString& shotTime)
{
    // Exif dates are text beginning with "20"; they sit near the start of
    // the file or a little after offset 2000.
    return PhotoImport::scanShotTime(path, {{0, false}, {2000, false}}, shotTime);
}

void ImportOrderThread::startDelete()
{
    // Only a real order folder inside the order's photo roots goes; a link,
    // a root, a month or day folder full of other orders, or anything
    // outside stays.
    const QString folder = PhotoRoots(keptRoots).deletableOrderFolder(deleteDir);
    if (folder.isEmpty())
        return;
    const bool removed = FileOperation::deleteDirTree(folder, keptRoots);
    qDebug() << "isDelete" << (removed ? "true" : "false");
    if (removed)
        emit deleteSucceed(orderId, deleteDir);
}

// Built here rather than with the other classes' meta-objects, so the worker
// links without the import dialog.
#include "moc_importorderthread.cpp"
