#include "import/importphototoserver.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "import/ImportModeTexts.h"
#include "import/OrderFolderListing.h"
#include "import/OrderPathQuery.h"
#include "import/PhotoPool.h"
#include "import/PictureMemoryKeeper.h"
#include "import/ShotDateUpdate.h"
#include "import/SingleImportRun.h"
#include "import/SingleOrderNames.h"
#include "import/SingleOrderTree.h"
#include "import/ThumbListing.h"
#include "import/checkdirthread.h"
#include "import/thumbnailthread1.h"
#include "Platform.h"
#include "ui_importphototoserver.h"
#include "widgets/CalendarPicker.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QDebug>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QStandardItemModel>
#include <QTime>

namespace {

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

void warn(const QString& text)
{
    Dialogs::information(nullptr, QStringLiteral("警告"), text, QMessageBox::Yes, QMessageBox::Yes);
}

} // namespace

ImportPhotoToServer::ImportPhotoToServer(QWidget* parent)
    : QMainWindow(parent), ui(new Ui_ImportPhotoToServer), paths(new OrderPathQuery(this)),
      shotDate(new ShotDateUpdate(this)), run(new SingleImportRun(this)), pool(new PhotoPool)
{
    ui->setupUi(this);
    g_importWindowOpen = true;
    connect(paths, &OrderPathQuery::orderPathReceived, this, &ImportPhotoToServer::onOrderPath);
    connect(paths, &OrderPathQuery::orderPathFailed, this, &ImportPhotoToServer::onOrderPathFailed);
    connect(paths, &OrderPathQuery::serverRootsReceived, this, &ImportPhotoToServer::onServerRoots);
    connect(paths, &OrderPathQuery::serverRootsFailed, this, &ImportPhotoToServer::endRun);
    connect(shotDate, &ShotDateUpdate::accepted, this, &ImportPhotoToServer::onShotDateAccepted);
    connect(run, &SingleImportRun::pathsStored, paths, &OrderPathQuery::queryOrderPath);

    ui->lineEdit_dresser->setText(g_curRole2);
    ui->lineEdit_cameraman->setText(g_curRole1);
    ui->pushButton_photodate->setText(g_curShotDate);
    ui->lineEdit_otherdate->setText(g_curServiceTimes);
    ui->label_id->setText(g_curOrderPayForKey);
    ui->label_name->setText(g_curCustomerNames);
    ui->refreshPushButton->hide();

    loadingLabel = new QLabel;
    loadingLabel->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    loadingLabel->setAttribute(Qt::WA_TranslucentBackground);
    loadingLabel->setText(QStringLiteral("正在加载..."));
    QFont font = loadingLabel->font();
    font.setPointSize(20);
    loadingLabel->setFont(font);
    loadingLabel->show();
    const QRect desktop = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
    loadingLabel->move((desktop.width() - loadingLabel->width()) / 2, (desktop.height() - loadingLabel->height()) / 2);

    connect(ui->importButton, &QPushButton::clicked, this, &ImportPhotoToServer::clickImportPhoto);
    connect(ui->selectButton, &QPushButton::clicked, this, &ImportPhotoToServer::clickSelectPhoto);
    ui->tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->tableView, &QWidget::customContextMenuRequested, this,
            &ImportPhotoToServer::tableShowMouseRightButton);
    openSelfDirAction = new QAction(QStringLiteral("打开照片目录"), this);
    connect(openSelfDirAction, &QAction::triggered, this, &ImportPhotoToServer::openSelfPhotoDir);
    tableMenu = new QMenu(ui->tableView);
    tableMenu->addAction(openSelfDirAction);

    ui->reimportButton->hide();
    ui->selectButton->hide();
    photoNames = new QStringList;
    ui->progressBar->hide();

    initThumbList();
    initPhotoTable();
    initImportButtons();
    ui->importButton->setEnabled(false);
    QPalette palette = ui->reimportButton->palette();
    palette.setBrush(QPalette::All, QPalette::ButtonText, QBrush(QColor(255, 0, 0)));
    ui->reimportButton->setPalette(palette);
    ui->lineEdit_orderPRName->setReadOnly(true);
    qDebug() << "sepratePhotoName" << g_curShotDate.split(QLatin1Char('-'));
    ui->lineEdit_orderPRName->setText(orderPrefix(g_curShotDate));
}

ImportPhotoToServer::~ImportPhotoToServer()
{
    // Jobs still running end before what they may call back goes away.
    pool.reset();
    delete ui;
    delete photoNames;
    delete loadingLabel;
}

QString ImportPhotoToServer::orderPrefix(const QString& shotDate)
{
    const QStringList parts = shotDate.split(QLatin1Char('-'));
    if (parts.size() != 3)
        return {};
    return QString::number(parts.at(1).toInt()) + parts.at(2);
}

int ImportPhotoToServer::fileSortKey(QFileInfo file)
{
    return SingleOrderNames::sortKey(file);
}

QString ImportPhotoToServer::currentTimeString()
{
    const QTime now = QTime::currentTime();
    return QStringLiteral("%1:%2:%3:%4").arg(now.hour()).arg(now.minute()).arg(now.second()).arg(now.msec());
}

void ImportPhotoToServer::initThumbList()
{
    thumbList = new QListWidget(this);
    thumbList->setObjectName(QStringLiteral("thumbList"));
    thumbList->setIconSize(QSize(1000, 1000));
    thumbList->setResizeMode(QListView::Adjust);
    thumbList->setViewMode(QListView::IconMode);
    thumbList->setMovement(QListView::Static);
    thumbList->setDragEnabled(false);
    thumbList->setSpacing(10);
    thumbList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(thumbList, &QListWidget::itemDoubleClicked, this, &ImportPhotoToServer::selectItem);
    ui->verticalLayout->addWidget(thumbList);
    thumbList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(thumbList, &QWidget::customContextMenuRequested, this, &ImportPhotoToServer::listShowMouseRightButton);
    listMenu = new QMenu(thumbList);
    openOrderDirAction = new QAction(QStringLiteral("打开照片目录"), this);
    connect(openOrderDirAction, &QAction::triggered, this, &ImportPhotoToServer::openOrderPhotoDir);
    deleteSelectedAction = new QAction(QStringLiteral("删除选中照片"), this);
    connect(deleteSelectedAction, &QAction::triggered, this, &ImportPhotoToServer::delListPhotoAction);
    listMenu->addAction(openOrderDirAction);
    listMenu->addSeparator();
    listMenu->addAction(deleteSelectedAction);
}

void ImportPhotoToServer::initPhotoTable()
{
    photoModel = new QStandardItemModel(this);
    photoModel->setHorizontalHeaderItem(0, new QStandardItem(QStringLiteral("照片")));
    ui->tableView->setModel(photoModel);
    ui->tableView->setColumnWidth(0, ui->tableView->width());
    ui->tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->tableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(ui->tableView, &QAbstractItemView::doubleClicked, this, &ImportPhotoToServer::selectRow);
}

void ImportPhotoToServer::initImportButtons()
{
    modeGroup = new QButtonGroup(this);
    modeGroup->setExclusive(true);
    const QList<QPushButton*> buttons = {ui->importPic1, ui->importPic2, ui->importPic3};
    for (int i = 0; i < buttons.size(); ++i) {
        buttons.at(i)->setCheckable(true);
        buttons.at(i)->setFlat(true);
        modeGroup->addButton(buttons.at(i), i + 1);
        connect(buttons.at(i), &QPushButton::toggled, this, &ImportPhotoToServer::importBtnAction);
    }
    ui->importPic2->setChecked(true);
}

void ImportPhotoToServer::importBtnAction()
{
    const QList<QPushButton*> buttons = {ui->importPic1, ui->importPic2, ui->importPic3};
    const int id = modeGroup->checkedId();
    if (id >= 1 && id <= 3) {
        g_importPhotoMode = id - 1;
        for (int i = 0; i < buttons.size(); ++i) {
            if (i != id - 1)
                buttons.at(i)->setEnabled(false);
        }
        buttons.at(id - 1)->setText(ImportModeTexts::of(id - 1).loading);
        loadingLabel->show();
    }
    const int mode = g_importPhotoMode;
    const ImportModeTexts texts = ImportModeTexts::of(mode);
    setWindowTitle(texts.title);
    ui->pushButton_photodate->setEnabled(false);
    ui->label_8->setText(texts.appendLabel);
    ui->lineEdit_orderPRName->setReadOnly(mode != 0);
    ui->lineEdit_picAppendName->setReadOnly(mode != 0);
    ui->lineEdit_folderAppendName->setVisible(mode == 0);
    ui->label_6->setVisible(mode == 0);
    paths->queryOrderPath();
    ui->importButton->setEnabled(false);
    photoModel->removeRows(0, photoModel->rowCount());
    ui->tableView->setModel(photoModel);
}

void ImportPhotoToServer::updateThumbIcon(int index, QPixmap pic)
{
    // A row a later listing no longer has gets no icon.
    if (QListWidgetItem* item = thumbList->item(index))
        item->setIcon(QIcon(pic));
}

void ImportPhotoToServer::clickClearPhoto()
{
    photoPaths.clear();
    photoNames->clear();
    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    setPhotoList();
}

void ImportPhotoToServer::setPhotoList()
{
    photoModel->removeRows(0, photoModel->rowCount());
    for (int i = 0; i < photoNames->size(); ++i)
        photoModel->setItem(i, 0, new QStandardItem(photoNames->at(i)));
}

void ImportPhotoToServer::selectRow(QModelIndex index)
{
    if (index.row() >= 0 && index.row() < photoPaths.size())
        FileOperation::openFileDir(photoPaths.at(index.row()));
}

void ImportPhotoToServer::selectItem(QListWidgetItem* item)
{
    qDebug() << "双击缩略图" << item->text();
}

void ImportPhotoToServer::openSelfPhotoDir()
{
    FileOperation::openFileDir(withSlash(selectedPhotoDir));
}

void ImportPhotoToServer::openOrderPhotoDir()
{
    FileOperation::openFileDir(withSlash(orderPath) + ImportModeTexts::of(g_importPhotoMode).folder);
}

void ImportPhotoToServer::delListPhotoAction()
{
    qDebug() << "orderPath:" << orderPath;
    QStringList files;
    for (int row = 0; row < thumbList->count(); ++row) {
        if (thumbList->item(row)->isSelected())
            files << thumbList->item(row)->text();
    }
    delListFiles(&files);
}

void ImportPhotoToServer::tableShowMouseRightButton(QPoint)
{
    tableMenu->exec(QCursor::pos());
}

void ImportPhotoToServer::listShowMouseRightButton(QPoint)
{
    listMenu->exec(QCursor::pos());
}

void ImportPhotoToServer::on_refreshPushButton_clicked()
{
    showImportedFiles(orderPath);
}

void ImportPhotoToServer::fillThumbList(const QStringList& files)
{
    thumbList->clear();
    for (const QString& file : files) {
        auto* item = new QListWidgetItem(FileOperation::getFileName(file));
        item->setSizeHint(QSize(100, 120));
        item->setTextAlignment(Qt::AlignBottom);
        thumbList->addItem(item);
    }
}

void ImportPhotoToServer::startThumbJobs(QStringList files)
{
    // The previous listing's icons still on their way go with its receiver.
    delete listing;
    listing = new ThumbListing(this);
    fillThumbList(files);
    for (int i = 0; i < files.size(); ++i)
        pool->add(new ThumbnailThread1(files.at(i), i, listing, 100), files.at(i), QString());
}

void ImportPhotoToServer::showImportedFiles(QString orderPath)
{
    QApplication::processEvents();
    const QString caption = ImportModeTexts::of(g_importPhotoMode).caption;
    const OrderFolderListing found(orderPath, g_importPhotoMode);
    if (!found.hasThumbnailFolder()) {
        ui->label_4->setText(caption + QStringLiteral("（0张）"));
        delete listing;
        thumbList->clear();
        return;
    }
    startThumbJobs(found.thumbnails());
    importedCount = found.importedCount();
    ui->label_4->setText(caption + QStringLiteral("（") + QString::number(importedCount) + QStringLiteral("张)"));
    QApplication::processEvents();
}

void ImportPhotoToServer::refreshBtn(bool wait)
{
    if (wait) {
        if (!pool->waitForDone())
            return;
        qDebug() << "wait is done";
    }
    ui->importPic1->setText(QStringLiteral("导入照片"));
    ui->importPic2->setText(QStringLiteral("导入成品"));
    ui->importPic3->setText(QStringLiteral("导入设计"));
    ui->importPic1->setEnabled(true);
    ui->importPic2->setEnabled(true);
    ui->importPic3->setEnabled(true);
}

void ImportPhotoToServer::on_lineEdit_folderAppendName_textChanged(QString arg1)
{
    if (!picAppendNameEdited)
        ui->lineEdit_picAppendName->setText(arg1);
}

// "-" separates the parts of folder and file names; what sanitizeFileName
// drops could not stand in them either.
void ImportPhotoToServer::on_lineEdit_folderAppendName_editingFinished()
{
    ui->lineEdit_folderAppendName->setText(
        sanitizeFileName(ui->lineEdit_folderAppendName->text().remove(QLatin1Char('-'))));
}

void ImportPhotoToServer::on_lineEdit_picAppendName_editingFinished()
{
    picAppendNameEdited = true;
    ui->lineEdit_picAppendName->setText(
        sanitizeFileName(ui->lineEdit_picAppendName->text().remove(QLatin1Char('-'))));
}

void ImportPhotoToServer::paintEvent(QPaintEvent* event)
{
    ui->tableView->setColumnWidth(0, ui->tableView->width());
    QMainWindow::paintEvent(event);
}

void ImportPhotoToServer::closeEvent(QCloseEvent* event)
{
    emit showSearch();
    pool->clear();
    // An idle program holds no picture memory; jobs still running give
    // theirs back to be freed after the idle time.
    PictureMemoryKeeper::shared()->release();
    g_importWindowOpen = false;
    CallbackGuard::of(this)->close();
    delete listing;
    loadingLabel->hide();
    event->accept();
}

// --- order and server paths ---

void ImportPhotoToServer::onOrderPathFailed()
{
    // Whatever went wrong, the mode buttons come back so a click retries.
    loadingLabel->hide();
    refreshBtn(false);
}

void ImportPhotoToServer::onOrderPath(QString orderPath, QString backupPath)
{
    this->orderPath = orderPath;
    orderBakPath = backupPath;
    ui->selectButton->show();
    if (!orderPath.isEmpty()) {
        ui->reimportButton->show();
        auto* check = new CheckDirThread(orderPath);
        connect(check, &CheckDirThread::onFinishCheck, this, &ImportPhotoToServer::onIsPathExist);
        check->start(QThread::InheritPriority);
        return;
    }
    ui->reimportButton->hide();
    ui->lineEdit_folderAppendName->setReadOnly(false);
    ui->lineEdit_picAppendName->setReadOnly(false);
    showImportedFiles(orderPath);
    refreshBtn(true);
    loadingLabel->hide();
}

void ImportPhotoToServer::onIsPathExist(bool exist)
{
    qDebug() << "onIsPathExist" << (exist ? "true" : "false");
    if (exist) {
        writeOrderAppendPath();
        showImportedFiles(orderPath);
        refreshBtn(true);
    } else {
        refreshBtn(false);
    }
    loadingLabel->hide();
}

void ImportPhotoToServer::writeOrderAppendPath()
{
    ui->lineEdit_folderAppendName->setReadOnly(true);
    ui->lineEdit_picAppendName->setReadOnly(true);
    QString name;
    if (OrderFolderListing::folderAppendName(orderPath, &name))
        ui->lineEdit_folderAppendName->setText(name);
    if (OrderFolderListing::pictureAppendName(orderPath, g_importPhotoMode, &name))
        ui->lineEdit_picAppendName->setText(name);
}

void ImportPhotoToServer::onServerRoots(QString serverRoot, QString backupRoot)
{
    this->serverRoot = serverRoot;
    this->backupRoot = backupRoot;
    if (createOrderDir(serverRoot, backupRoot))
        import();
    else
        endRun();
}

// --- shot date ---

void ImportPhotoToServer::on_pushButton_photodate_clicked()
{
    auto* picker = new CalendarPicker(nullptr);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    connect(picker, &CalendarPicker::urgentDate, this, &ImportPhotoToServer::on_newPhotoDateDate);
    picker->show();
}

void ImportPhotoToServer::on_newPhotoDateDate(QString date)
{
    // The picker's clear gives no date to change to.
    if (date.isEmpty())
        return;
    ui->pushButton_photodate->setText(date);
    shotDate->postPhotoDate(date);
    qDebug() << "sepratePhotoName" << date.split(QLatin1Char('-'));
    const QString prefix = orderPrefix(date);
    if (!prefix.isEmpty())
        ui->lineEdit_orderPRName->setText(prefix);
}

void ImportPhotoToServer::onShotDateAccepted(QString date)
{
    g_curShotDate = date;
    emit refreshSearchTable();
}

// --- the import run ---

void ImportPhotoToServer::clickSelectPhoto()
{
    clickClearPhoto();
    const int mode = g_importPhotoMode;
    int highest = 0;
    const QString photoFolder = orderPath.isEmpty() ? QString() : orderPath + photoKindFolders(0).photos;
    if (mode == 0 && !photoFolder.isEmpty()) {
        qDebug() << "服务器订单文件夹下已有照片数量" << countJpgFiles(photoFolder);
        highest = SingleOrderNames::highestKey(photoFolder);
    }
    const QString start = QDir(g_lastPhotoPath).path();
    qDebug() << "openDir.path()" << start;
    const QStringList chosen = Dialogs::getOpenFileNames(this, QStringLiteral("选择照片"), start,
                                                         QStringLiteral("JPG(*.jpg*)"));
    for (const QString& path : chosen) {
        if (!Platform::instance().isHidden(path))
            photoPaths << path;
    }
    if (photoPaths.isEmpty())
        return;
    g_lastPhotoPath = photoPaths.first();
    ui->label_importPhotoCount->setText(QStringLiteral("导入照片: ") + QString::number(photoPaths.size())
                                        + QStringLiteral("张"));
    selectedPhotoDir = QFileInfo(photoPaths.first()).path();
    if (mode == 0) {
        picAppendPart = ui->lineEdit_picAppendName->text();
        *photoNames = SingleOrderNames::photoNames(ui->lineEdit_orderPRName->text(), g_curOrderPayForKey,
                                                   picAppendPart, highest + 1, photoPaths.size(), photoFolder);
    } else {
        for (const QString& path : qAsConst(photoPaths))
            *photoNames << FileOperation::getFileName(path);
    }
    setPhotoList();
    ui->importButton->setEnabled(true);
}

void ImportPhotoToServer::setRunning(bool running)
{
    // The choice stays as it is while its files are imported.
    ui->selectButton->setEnabled(!running);
    ui->reimportButton->setEnabled(!running);
    deleteSelectedAction->setEnabled(!running);
    ui->importPic1->setEnabled(!running);
    ui->importPic2->setEnabled(!running);
    ui->importPic3->setEnabled(!running);
}

void ImportPhotoToServer::clickImportPhoto()
{
    ui->importButton->setEnabled(false);
    ui->importButton->setText(QStringLiteral("导入照片中..."));
    setRunning(true);
    if (photoNames->isEmpty()) {
        Dialogs::information(this, QStringLiteral("警告"), QStringLiteral("请先添加照片"), QMessageBox::Yes,
                             QMessageBox::Yes);
        endRun();
        return;
    }
    if (orderPath.isEmpty() || orderBakPath.isEmpty()) {
        paths->queryServerPath();
        return;
    }
    // Folders from the service that climb out of the roots get no files.
    if (!isSafeOrderPath(orderPath) || !isSafeOrderPath(orderBakPath)) {
        warn(QStringLiteral("服务器路径错误"));
        endRun();
        return;
    }
    import();
}

void ImportPhotoToServer::endRun()
{
    ui->importButton->setText(QStringLiteral("导入"));
    ui->importButton->setEnabled(!photoNames->isEmpty());
    setRunning(false);
    refreshBtn(false);
}

bool ImportPhotoToServer::createOrderDir(QString serverRoot, QString backupRoot)
{
    const QString append =
        g_importPhotoMode == 0 ? ui->lineEdit_folderAppendName->text() : ui->lineEdit_picAppendName->text();
    const QString folder = SingleOrderNames::folderName(ui->lineEdit_orderPRName->text(), g_curOrderPayForKey,
                                                        append, g_curServiceTimes);
    qDebug() << "current=" << currentTimeString();
    QString error;
    if (!SingleOrderTree::create(serverRoot, backupRoot, folder, g_curShotDate, &orderPath, &orderBakPath, &error)) {
        warn(error);
        return false;
    }
    qDebug() << "current2=" << currentTimeString();
    return true;
}

void ImportPhotoToServer::import()
{
    ui->progressBar->setMaximum(photoNames->size());
    ui->progressBar->setValue(0);
    ui->progressBar->show();
    run->begin(orderPath, orderBakPath, g_importPhotoMode, photoNames->size());
    for (int i = 0; i < photoNames->size(); ++i) {
        pool->add(new ThumbnailThread1(photoPaths.at(i), photoNames->at(i), orderPath, orderBakPath, this, 1000),
                  photoPaths.at(i), photoNames->at(i));
    }
}

void ImportPhotoToServer::onImportImageFailed(QString source, QString target)
{
    qDebug() << "导片失败" << source << target;
    run->addFailure(source);
}

void ImportPhotoToServer::onFinishImportImage(QString imageTime)
{
    const bool last = run->finishOne(imageTime);
    ui->progressBar->setValue(run->finished());
    ui->label_4->setText(ImportModeTexts::of(g_importPhotoMode).progressCaption
                         + QString::number(importedCount + run->finished()) + QStringLiteral("张)"));
    if (!last)
        return;
    ui->importButton->setEnabled(false);
    ui->progressBar->setValue(0);
    ui->progressBar->setMaximum(0);
    ui->progressBar->hide();
    run->end();
    ui->importButton->setText(QStringLiteral("导入"));
    ui->importButton->setEnabled(true);
    setRunning(false);
}

void ImportPhotoToServer::on_reimportButton_clicked()
{
    const QMessageBox::StandardButton answer = Dialogs::question(
        nullptr, QStringLiteral("注意"), QStringLiteral("是否要重新读该订单？若是点击后请自行删除订单原文件夹"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        run->reimport(orderPath, orderBakPath, g_importPhotoMode);
}

void ImportPhotoToServer::delListFiles(const QStringList* files)
{
    const PhotoKindFolders folders = photoKindFolders(g_importPhotoMode);
    const QStringList dirs = {folders.photos, folders.thumbnail1000, folders.thumbnail200, folders.thumbnail2250};
    for (const QString& name : *files) {
        // Names come from the listing; one that could leave its folder is skipped.
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
            || name.contains(QLatin1String("..")))
            continue;
        for (const QString& dir : dirs)
            FileOperation::removeFile(orderPath + dir + name);
    }
    paths->queryOrderPath();
}
