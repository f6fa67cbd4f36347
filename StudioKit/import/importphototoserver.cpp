#include "import/importphototoserver.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "import/ImageTimeFile.h"
#include "import/OrderFolderTree.h"
#include "import/PhotoPool.h"
#include "import/SingleImportRequests.h"
#include "import/SingleOrderNames.h"
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
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QScreen>
#include <QStandardItemModel>
#include <QTime>

namespace {

// What each mode shows and where its files go.
struct ModeTexts {
    QString loading;
    QString title;
    QString folder;
    QString thumbnailFolder;
    QString caption;
    QString appendLabel;
    QString progressCaption;
};

ModeTexts modeTexts(int mode)
{
    switch (mode) {
    case 0:
        return {QStringLiteral("导入照片(加载中)"), QStringLiteral("导入照片(原片)"), QStringLiteral("照片"),
                QStringLiteral("thumbnail"), QStringLiteral("订单已导入照片"), QStringLiteral("照片附加名"),
                QStringLiteral("订单已导入照片（")};
    case 1:
        return {QStringLiteral("导入成品(加载中)"), QStringLiteral("导入照片(成品)"), QStringLiteral("成品"),
                QStringLiteral("成品缩略图"), QStringLiteral("订单已导入成品"), QStringLiteral("订单附加名"),
                QStringLiteral("订单已导入成品（")};
    default:
        return {QStringLiteral("导入设计(加载中)"), QStringLiteral("导入照片(设计)"), QStringLiteral("设计"),
                QStringLiteral("设计缩略图"), QStringLiteral("订单已导入设计"), QStringLiteral("订单附加名"),
                QStringLiteral("订单已导入设计（")};
    }
}

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

int countJpgFiles(QString dir)
{
    return Platform::instance()
        .entryInfoList(dir, {QStringLiteral("*.jpg"), QStringLiteral("*.JPG")}, QDir::Files)
        .size();
}

ImportPhotoToServer::ImportPhotoToServer(QWidget* parent)
    : QMainWindow(parent), ui(new Ui_ImportPhotoToServer), pool(new PhotoPool)
{
    ui->setupUi(this);
    g_importWindowOpen = true;

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
        buttons.at(id - 1)->setText(modeTexts(id - 1).loading);
        loadingLabel->show();
    }
    const int mode = g_importPhotoMode;
    const ModeTexts texts = modeTexts(mode);
    setWindowTitle(texts.title);
    ui->pushButton_photodate->setEnabled(false);
    ui->label_8->setText(texts.appendLabel);
    ui->lineEdit_orderPRName->setReadOnly(mode != 0);
    ui->lineEdit_picAppendName->setReadOnly(mode != 0);
    ui->lineEdit_folderAppendName->setVisible(mode == 0);
    ui->label_6->setVisible(mode == 0);
    queryOrderPath();
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
    FileOperation::openFileDir(withSlash(orderPath) + modeTexts(g_importPhotoMode).folder);
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
    orderPath = withSlash(orderPath);
    const ModeTexts texts = modeTexts(g_importPhotoMode);
    const QString thumbnailDir = orderPath + texts.thumbnailFolder;
    const QString orderDir = orderPath + texts.folder;
    if (!FileOperation::isDirExist(thumbnailDir)) {
        ui->label_4->setText(texts.caption + QStringLiteral("（0张）"));
        delete listing;
        thumbList->clear();
        return;
    }
    QStringList kept;
    for (const QFileInfo& entry :
         Platform::instance().entryInfoList(thumbnailDir, {}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (FileOperation::isFileExist(orderDir + QLatin1Char('/') + entry.fileName()))
            kept << thumbnailDir + QLatin1Char('/') + entry.fileName();
    }
    startThumbJobs(kept);
    importedCount = Platform::instance().entryInfoList(orderDir, {QStringLiteral("*.jpg")}, QDir::Files).size();
    ui->label_4->setText(texts.caption + QStringLiteral("（") + QString::number(importedCount) + QStringLiteral("张)"));
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
    g_importWindowOpen = false;
    CallbackGuard::of(this)->close();
    delete listing;
    loadingLabel->hide();
    event->accept();
}

QNetworkReply* ImportPhotoToServer::post(const QString& url, const QByteArray& body,
                                         void (ImportPhotoToServer::*slot)(QNetworkReply*))
{
    netManager = new QNetworkAccessManager(this);
    connect(netManager, &QNetworkAccessManager::finished, this, slot);
    return ServiceCall::postForm(netManager, url, body);
}

// --- order and server paths ---

void ImportPhotoToServer::queryOrderPath()
{
    const QByteArray body = SingleImportRequests::orderPath();
    qDebug() << "query order url:" << URL_ORDER_GET_ORDER_PATH;
    post(URL_ORDER_GET_ORDER_PATH, body, &ImportPhotoToServer::backOrderPath);
}

void ImportPhotoToServer::backOrderPath(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    // Whatever went wrong, the mode buttons come back so a click retries.
    if (!ServiceCall::readReply(reply, &object)) {
        loadingLabel->hide();
        refreshBtn(false);
        return;
    }
    qDebug() << "order path:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    const QString code = object.take(QStringLiteral("code")).toString();
    qDebug() << "orderInfo:" << object;
    if (code != QLatin1String("1")) {
        warn(QStringLiteral("错误代码：") + code);
        loadingLabel->hide();
        refreshBtn(false);
        return;
    }
    const QJsonObject data = object.take(QStringLiteral("data")).toObject();
    orderPath = data.value(QStringLiteral("orderpath")).toString();
    orderBakPath = data.value(QStringLiteral("orderbakpicpath")).toString();
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
    QString folder = orderPath;
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QStringList folderParts = folder.section(QLatin1Char('/'), -1).split(QLatin1Char('-'));
    if (folderParts.size() == 2)
        ui->lineEdit_folderAppendName->setText(folderParts.at(1));
    const QString photos = orderPath + modeTexts(g_importPhotoMode).folder + QLatin1Char('/');
    const QFileInfoList files = Platform::instance().entryInfoList(photos, {QStringLiteral("*.jpg")}, QDir::Files,
                                                                  QDir::Name | QDir::IgnoreCase);
    if (files.isEmpty())
        return;
    qDebug() << "photoName" << files.first().fileName();
    const QStringList nameParts = files.first().fileName().split(QLatin1Char('-'));
    qDebug() << "sepratePhotoName" << nameParts;
    if (nameParts.size() == 3)
        ui->lineEdit_picAppendName->setText(nameParts.at(1));
}

void ImportPhotoToServer::queryServerPath()
{
    qDebug() << "server path url:" << URL_ORDER_GET_ORDER_PIC_PATH;
    post(URL_ORDER_GET_ORDER_PIC_PATH, SingleImportRequests::serverPath(), &ImportPhotoToServer::backServerPath);
}

void ImportPhotoToServer::backServerPath(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object)) {
        endRun();
        return;
    }
    qDebug() << "server path:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    const QString code = object.take(QStringLiteral("code")).toString();
    const QString message = object.take(QStringLiteral("message")).toString();
    if (code != QLatin1String("1")) {
        warn(message);
        endRun();
        return;
    }
    serverRoot = object.take(QStringLiteral("picpath")).toString();
    backupRoot = object.take(QStringLiteral("bakpicpath")).toString();
    g_homePicPath = object.take(QStringLiteral("homepicpath")).toString();
    qDebug() << "服务器路径" << serverRoot;
    qDebug() << "备份服务器路径" << backupRoot;
    qDebug() << "家居模板路径" << g_homePicPath;
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
    postPhotoDate();
    qDebug() << "sepratePhotoName" << date.split(QLatin1Char('-'));
    const QString prefix = orderPrefix(date);
    if (!prefix.isEmpty())
        ui->lineEdit_orderPRName->setText(prefix);
}

void ImportPhotoToServer::postPhotoDate()
{
    const QString date = ui->pushButton_photodate->text();
    QNetworkReply* reply =
        post(URL_ORDER_UPDATEPHOTODATE, SingleImportRequests::photoDate(date), &ImportPhotoToServer::queryPostPhotoDate);
    // An accepted reply stores the date its own request carried.
    reply->setProperty("photodate", date);
}

void ImportPhotoToServer::queryPostPhotoDate(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return;
    const QString code = object.take(QStringLiteral("code")).toString();
    if (code != QLatin1String("1")) {
        warn(QStringLiteral("错误代码：") + code);
        return;
    }
    g_curShotDate = reply->property("photodate").toString();
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
        queryServerPath();
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
    if (!OrderFolderTree::prepareRoot(serverRoot, false)) {
        qDebug() << "路径错误:" << serverRoot;
        warn(QStringLiteral("服务器路径错误"));
        return false;
    }
    const int mode = g_importPhotoMode;
    const QString append = mode == 0 ? ui->lineEdit_folderAppendName->text() : ui->lineEdit_picAppendName->text();
    const QString folder = SingleOrderNames::folderName(ui->lineEdit_orderPRName->text(), g_curOrderPayForKey,
                                                        append, g_curServiceTimes);
    qDebug() << "current=" << currentTimeString();
    QString yearMonth;
    QString day;
    if (!OrderFolderTree::splitShotDate(g_curShotDate, &yearMonth, &day)
        || !OrderFolderTree::isUsableFolderName(folder)) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("客人信息包含特殊字符，请修改后再导片"),
                             QMessageBox::Yes, QMessageBox::Yes);
        return false;
    }
    const QStringList visible = {photoKindFolders(0).photos, photoKindFolders(1).photos, QStringLiteral("汰片/"),
                                 photoKindFolders(2).photos};
    OrderFolderTree::make(serverRoot, yearMonth, day, folder, visible, true);
    if (!OrderFolderTree::prepareRoot(backupRoot, false)) {
        qDebug() << "备份路径：" << backupRoot;
        warn(QStringLiteral("备份服务器路径错误。"));
        return false;
    }
    OrderFolderTree::make(backupRoot, yearMonth, day, folder, {photoKindFolders(0).photos}, false);
    const QString relative = OrderFolderTree::relativeOrderPath(yearMonth, day, folder);
    if (!FileOperation::isDirExist(serverRoot + relative) || !FileOperation::isDirExist(backupRoot + relative)) {
        warn(QStringLiteral("服务器路径错误"));
        return false;
    }
    orderPath = serverRoot + relative;
    orderBakPath = backupRoot + relative;
    qDebug() << "current2=" << currentTimeString();
    return true;
}

void ImportPhotoToServer::import()
{
    const int mode = g_importPhotoMode;
    oriOrderPicCount = countJpgFiles(orderPath + photoKindFolders(mode).photos);
    oriBackPicCount = mode == 0 ? countJpgFiles(orderBakPath + photoKindFolders(0).photos) : 0;
    qDebug() << "oriOrderPicCount" << oriOrderPicCount;
    qDebug() << "oriBackPicCount" << oriBackPicCount;
    ui->progressBar->setMaximum(photoNames->size());
    ui->progressBar->setValue(0);
    ui->progressBar->show();
    finishedCount = 0;
    failedSources.clear();
    imageTimeText.clear();
    postOrderPath2(orderPath);
    for (int i = 0; i < photoNames->size(); ++i) {
        pool->add(new ThumbnailThread1(photoPaths.at(i), photoNames->at(i), orderPath, orderBakPath, this, 1000),
                  photoPaths.at(i), photoNames->at(i));
    }
}

void ImportPhotoToServer::onImportImageFailed(QString source, QString target)
{
    qDebug() << "导片失败" << source << target;
    failedSources << source;
}

void ImportPhotoToServer::onFinishImportImage(QString imageTime)
{
    imageTimeText += imageTime;
    ++finishedCount;
    ui->progressBar->setValue(finishedCount);
    const int mode = g_importPhotoMode;
    ui->label_4->setText(modeTexts(mode).progressCaption + QString::number(importedCount + finishedCount)
                         + QStringLiteral("张)"));
    if (finishedCount != ui->progressBar->maximum())
        return;
    writeImageTime(imageTimeText);
    imageTimeText.clear();
    ui->importButton->setEnabled(false);
    ui->progressBar->setValue(0);
    ui->progressBar->setMaximum(0);
    ui->progressBar->hide();
    const int photosAfter = countJpgFiles(orderPath + photoKindFolders(mode).photos);
    const int backupsAfter = mode == 0 ? countJpgFiles(orderBakPath + photoKindFolders(0).photos) : 0;
    QString text = QStringLiteral("导入前正式库照片：%1张\n\n导入后正式库照片：%2张")
                       .arg(oriOrderPicCount)
                       .arg(photosAfter);
    if (mode == 0)
        text += QStringLiteral("\n\n导入前备份库照片：%1张\n\n导入后备份库照片：%2张")
                    .arg(oriBackPicCount)
                    .arg(backupsAfter);
    text += QStringLiteral("    \n");
    if (failedSources.isEmpty()) {
        Dialogs::information(nullptr, QStringLiteral("导片成功!"), text, QMessageBox::Yes, QMessageBox::Yes);
    } else {
        text += QStringLiteral("导片失败(错误码:3)，可重试\n") + failedSources.join(QLatin1Char('\n'));
        warn(text);
    }
    postOrderPath(orderPath, photosAfter - oriOrderPicCount, mode == 0 ? backupsAfter - oriBackPicCount : 0);
    ui->importButton->setText(QStringLiteral("导入"));
    ui->importButton->setEnabled(true);
    setRunning(false);
}

void ImportPhotoToServer::writeImageTime(QString text)
{
    if (!ImageTimeFile::append(orderPath + QStringLiteral("/ImageTime.txt"), text))
        qDebug() << "ImageTime.txt 写入失败" << orderPath;
}

void ImportPhotoToServer::postOrderPath2(QString path)
{
    post(URL_ORDER_UPDATEPICPATH2, SingleImportRequests::startPaths(path, orderBakPath),
         &ImportPhotoToServer::submitPicPath_2);
}

void ImportPhotoToServer::postOrderPath(QString path, int photoCount, int backupCount)
{
    const QByteArray body =
        SingleImportRequests::finishPaths(path, orderBakPath, photoCount, backupCount, g_importPhotoMode);
    qDebug() << "提交路径地址2 url" << URL_ORDER_UPDATEPICPATH;
    post(URL_ORDER_UPDATEPICPATH, body, &ImportPhotoToServer::submitPicPath);
}

void ImportPhotoToServer::submitPicPath(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return;
    qDebug() << "copyF Json:" << object;
    const QString code = object.take(QStringLiteral("code")).toString();
    if (code == QLatin1String("1"))
        queryOrderPath();
    else
        warn(QStringLiteral("错误代码：") + code);
}

void ImportPhotoToServer::submitPicPath_2(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return;
    const QString code = object.take(QStringLiteral("code")).toString();
    qDebug() << "上传路径obj" << object;
    if (code != QLatin1String("1"))
        warn(QStringLiteral("上传路径错误代码：") + code);
}

void ImportPhotoToServer::on_reimportButton_clicked()
{
    const QMessageBox::StandardButton answer = Dialogs::question(
        nullptr, QStringLiteral("注意"), QStringLiteral("是否要重新读该订单？若是点击后请自行删除订单原文件夹"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    FileOperation::removeFile(orderPath + QStringLiteral("/ImageTime.txt"));
    postOrderPath(QString(), 0, 0);
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
    queryOrderPath();
}
