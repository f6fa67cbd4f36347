#include "import/importordersphotodlg.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/httprequest.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "import/ImportBatchCheck.h"
#include "import/ImportBatchRun.h"
#include "import/ImportErrorLog.h"
#include "import/ImportFileCounts.h"
#include "import/ImportReports.h"
#include "import/ImportTypes.h"
#include "import/ImportedFiles.h"
#include "import/OrderHandOver.h"
#include "import/OrderTableCells.h"
#include "import/PictureMemoryKeeper.h"
#include "import/VideoListUpdate.h"
#include "import/importordermodel.h"
#include "import/importorderthread.h"
#include "import/lyraimportthread.h"
#include "import/searchorderwindow.h"
#include "Platform.h"

#include <QAction>
#include <QButtonGroup>
#include <QCursor>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>

namespace {

using namespace OrderTableCells;

const QString kBusyText = QStringLiteral("导片中...");
const QString kIdleText = QStringLiteral("批量导片");

HttpRequest* postReport(const QString& url, const QByteArray& body)
{
    qDebug() << "postData===" << QString::fromUtf8(FormBody::masked(body));
    return HttpRequest::startNetRequest(url, body, true);
}

} // namespace

importOrdersPhotoDlg::importOrdersPhotoDlg(QWidget* parent)
    : QDialog(parent)
    , lastDir(QStringLiteral("."))
{
    ui.initUI(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QStringLiteral("#rightTitle {font-size: 16px;font-weight: bold;}"
                                 "QLabel[info=\"true\"] {font-size: 14px;font-weight: bold;}"
                                 "QLabel[titleS=\"true\"] {font-size: 14px;color: gray;}"));
    importType = TypeFinished;
    ui.imageSuffixEdit->setEnabled(false);
    ui.infoPanel.reImportBtn->setEnabled(false);
    curModel = nullptr;
    curRow = -1;

    connect(ui.typeGroup, &QButtonGroup::idClicked, this, &importOrdersPhotoDlg::importTypeSlot);
    connect(ui.selectAllBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::selectAllSlot);
    connect(ui.cancelAllBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::cancelAllSlot);
    connect(ui.delSelectedBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::delAllOrdersSlot);
    connect(ui.addOrderBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::addNewOrderBtnSlot);
    connect(ui.ordersTableWgt, &QTableWidget::cellClicked, this, &importOrdersPhotoDlg::ordersTableWgtClickedSlot);
    connect(ui.ordersTableWgt, &QWidget::customContextMenuRequested, this,
            &importOrdersPhotoDlg::showTableMouseRightButton);
    connect(ui.openOrderPathAction, &QAction::triggered, this, &importOrdersPhotoDlg::tbOpenOrderPathAction);
    connect(ui.orderPrefixEdit, &QLineEdit::textChanged, this, &importOrdersPhotoDlg::prefieOrderChangedSlot);
    connect(ui.folderSuffixEdit, &QLineEdit::textChanged, this, &importOrdersPhotoDlg::prefieFolderChangedSlot);
    connect(ui.imageSuffixEdit, &QLineEdit::textChanged, this, &importOrdersPhotoDlg::prefieImageChangedSlot);
    connect(ui.infoPanel.openPathBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::openOrderPhotoPathBtnSlot);
    connect(ui.infoPanel.openOriginPathBtn, &QPushButton::clicked, this,
            &importOrdersPhotoDlg::openOrderOriginPathBtnSlot);
    connect(ui.importAllBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::importAllOrdersBtnSlot);
    connect(ui.videoBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::upDataVideoUrlsBtnSlot);
    connect(ui.infoPanel.reImportBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::reImportBtnSlot);
    connect(ui.importedFiles.importedList, &QWidget::customContextMenuRequested, this,
            &importOrdersPhotoDlg::showLstWgtContextMenuSlot);
    connect(ui.importedFiles.openImportedAction, &QAction::triggered, this, &importOrdersPhotoDlg::openImportedImgSlot);
    connect(ui.importedFiles.deleteImportedAction, &QAction::triggered, this,
            &importOrdersPhotoDlg::deleteImportedImgSlot);
}

importOrdersPhotoDlg::~importOrdersPhotoDlg()
{
    // Lyra copies still waiting or running all end (the pool outlives the
    // window); their call-backs go nowhere from now on.
    CallbackGuard::of(this)->close();
    // An idle program holds no picture memory.
    PictureMemoryKeeper::shared()->release();

    // The pickers still point at the models this window is about to delete.
    for (const QPointer<SearchOrderWindow>& picker : qAsConst(pickers))
        delete picker.data();
}

void importOrdersPhotoDlg::importTypeSlot(int id)
{
    ui.videoBtn->hide();
    if (id >= TypeOriginal && id <= TypeLyra) {
        importType = ImportTypeEnum(id);
        ui.imageSuffixEdit->setEnabled(id == TypeOriginal);
        ui.rightTitle->setText(importModeTitle(id));
        if (isVideoType(id)) {
            ui.videoBtn->setText(videoButtonText(id));
            ui.videoBtn->show();
        }
    }
    refreshOrderTable();
}

void importOrdersPhotoDlg::refreshOrderTable()
{
    ui.ordersTableWgt->setRowCount(orderList.size());
    for (int row = 0; row < orderList.size(); ++row) {
        ImportOrderModel* order = orderList.at(row);
        countImportedImages(order);
        countImportedVideos(order);
        QPushButton* selectButton = fillOrderRow(ui.ordersTableWgt, row, order, importType);
        connect(selectButton, &QPushButton::clicked, this, &importOrdersPhotoDlg::selectImgBtnSlot);
    }
}

void importOrdersPhotoDlg::ordersTableWgtClickedSlot(int row)
{
    if (row < 0 || row >= orderList.size())
        return;
    curRow = row;
    curModel = orderList.at(row);
    ImportOrderModel* order = curModel;
    ui.infoPanel.showOrder(*order);

    QStringList names;
    if (isPhotoType(importType)) {
        ui.orderPrefixEdit->setText(order->orderNumber());
        ui.folderSuffixEdit->setText(order->folderSuffix(importType));
        ui.imageSuffixEdit->setText(order->imageSuffix(importType));
        names = order->renamedFileNames(order->selectedFiles(importType), importType);
    }
    ui.selectedTable->setRowCount(names.size());
    for (int i = 0; i < names.size(); ++i)
        ui.selectedTable->setItem(i, 0, new QTableWidgetItem(names.at(i)));
    showImportedFiles(order->importOrderPath());

    ui.folderSuffixEdit->setEnabled(order->importOrderPath().isEmpty());
    // While a batch runs no order is put back under its feet.
    ui.infoPanel.reImportBtn->setEnabled(
        !isBatchRunning() && (!order->importOrderPath().isEmpty() || !order->importOrderBakPath().isEmpty()));
}

void importOrdersPhotoDlg::addNewOrderBtnSlot()
{
    auto* picker = new SearchOrderWindow(nullptr);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->show();
    connect(picker, &SearchOrderWindow::addSelectOrderSigl, this, &importOrdersPhotoDlg::getNewOrderSlot);
    pickers.removeAll(QPointer<SearchOrderWindow>());
    pickers << picker;
}

void importOrdersPhotoDlg::getNewOrderSlot(QList<ImportOrderModel*> orderLst)
{
    const OrderHandOver handOver(orderList, orderLst);
    for (ImportOrderModel* order : handOver.accepted()) {
        countImportedImages(order);
        order->setParent(this);
        orderList << order;
    }
    if (!handOver.duplicates().isEmpty())
        Dialogs::information(this, QStringLiteral("订单已存在"),
                             QStringLiteral("已经添加过订单：\n") + handOver.duplicates().join(QLatin1Char(',')),
                             QMessageBox::Ok, QMessageBox::NoButton);
    if (!handOver.missingRoots().isEmpty())
        Dialogs::information(this, QStringLiteral("订单导片路径不存在"),
                             QStringLiteral("以下订单导片根目录不存在：\n")
                                 + handOver.missingRoots().join(QLatin1Char(',')),
                             QMessageBox::Ok, QMessageBox::NoButton);
    refreshOrderTable();
}

void importOrdersPhotoDlg::selectAllSlot()
{
    setAllChecks(ui.ordersTableWgt, Qt::Checked);
}

void importOrdersPhotoDlg::cancelAllSlot()
{
    setAllChecks(ui.ordersTableWgt, Qt::Unchecked);
}

void importOrdersPhotoDlg::delAllOrdersSlot()
{
    const QList<int> checked = checkedRows(ui.ordersTableWgt);
    if (checked.isEmpty()) {
        Dialogs::warning(this, QStringLiteral("警告"), QStringLiteral("您还没有选择订单"), QMessageBox::Ok,
                         QMessageBox::NoButton);
        return;
    }
    // Table rows and list entries go together, by index, last first.
    for (int i = checked.size() - 1; i >= 0; --i) {
        orderList.removeAt(checked.at(i));
        ui.ordersTableWgt->removeRow(checked.at(i));
    }
    renumberRows(ui.ordersTableWgt);

    curRow = orderList.indexOf(curModel);
    if (curRow < 0)
        curModel = nullptr;
    if (ui.ordersTableWgt->currentIndex().isValid())
        ordersTableWgtClickedSlot(ui.ordersTableWgt->currentIndex().row());
    if (!curModel) {
        clearInfoPanel();
        // With orders left, the image suffix still follows the type.
        if (!orderList.isEmpty())
            ui.imageSuffixEdit->setEnabled(importType == TypeOriginal);
    }
}

void importOrdersPhotoDlg::clearInfoPanel()
{
    ui.infoPanel.clear();
    ui.folderSuffixEdit->setEnabled(true);
    ui.folderSuffixEdit->clear();
    ui.imageSuffixEdit->setEnabled(false);
    ui.importedFiles.clear();
    ui.selectedTable->clear();
    ui.selectedTable->setRowCount(0);
}

void importOrdersPhotoDlg::showTableMouseRightButton(QPoint pos)
{
    Q_UNUSED(pos);
    const ImportOrderModel* order = orderList.value(ui.ordersTableWgt->currentRow());
    ui.tableMenu->setEnabled(order && !order->importOrderPath().isEmpty());
    ui.tableMenu->popup(QCursor::pos());
}

void importOrdersPhotoDlg::tbOpenOrderPathAction()
{
    const ImportOrderModel* order = orderList.value(ui.ordersTableWgt->currentRow());
    if (!order)
        return;
    qDebug() << "orderpath" << order->importOrderPath();
    openLocalFolder(order->importOrderPath() + QStringLiteral("成品"));
}

void importOrdersPhotoDlg::openOrderPhotoPathBtnSlot()
{
    const QString path = ui.infoPanel.orderPathValue->text();
    qDebug() << path;
    if (!path.isEmpty())
        openLocalFolder(path);
}

void importOrdersPhotoDlg::openOrderOriginPathBtnSlot()
{
    const QString path = ui.infoPanel.orderPathValue->text();
    if (path.isEmpty())
        return;
    const QString rawFolder = path + QStringLiteral("照片/新建文件夹");
    openLocalFolder(rawFolder);
    qDebug() << rawFolder;
}

void importOrdersPhotoDlg::openLocalFolder(const QString& path)
{
    Platform::instance().openUrl(QUrl::fromLocalFile(Platform::diskPath(path)));
}

void importOrdersPhotoDlg::selectImgBtnSlot()
{
    const int row = sender()->property("row").toInt();
    ImportOrderModel* order = orderList.value(row);
    if (!order)
        return;
    if (importType == TypeFinished)
        queryIsCanSelImg(order);
    else
        selImg(row, order);
}

void importOrdersPhotoDlg::queryIsCanSelImg(ImportOrderModel* order)
{
    auto* manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &importOrdersPhotoDlg::isCanSelImgSlot);
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("shopid"), g_shopId)
                                .add(QStringLiteral("superid"), g_superId)
                                .add(QStringLiteral("order_photo_id"), order->order_photo_id())
                                .add(QStringLiteral("eid"), g_eid)
                                .add(QStringLiteral("personid"), g_eid)
                                .add(QStringLiteral("uid"), g_uid)
                                .bytes();
    pendingQueries.insert(ServiceCall::postForm(manager, URL_ORDERPHOTO_ORDER_ISROLE12FINISH, body), order);
}

void importOrdersPhotoDlg::isCanSelImgSlot(QNetworkReply* reply)
{
    reply->deleteLater();
    reply->manager()->deleteLater();
    ImportOrderModel* order = pendingQueries.take(reply);
    if (reply->error() != QNetworkReply::NoError) {
        Dialogs::information(nullptr, QStringLiteral("警告"), ServiceCall::networkErrorText(reply), QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    QJsonObject object;
    const bool isObject = ServiceCall::parseObject(reply->readAll(), &object);
    qDebug().noquote() << "query order Json:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (!isObject) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("请求失败"), QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    const QString code = object.value(QStringLiteral("code")).toString();
    if (code != QLatin1String("1")) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("请求失败：") + code, QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    // The order may have left the list, or the window the finished type,
    // while the answer was on its way: then nobody is asking any more.
    const auto stillAsked = [this, order] { return orderList.contains(order) && importType == TypeFinished; };
    if (!stillAsked())
        return;
    // A JSON number on purpose.
    if (object.value(QStringLiteral("isrole12finish")).toDouble() != 0) {
        const QMessageBox::StandardButton answer = Dialogs::information(
            this, QStringLiteral("温馨提示"),
            QStringLiteral("该订单已选片完成，继续导片会覆盖之前的选片结果，确定要继续导片吗？"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
        if (answer != QMessageBox::Yes || !stillAsked())
            return;
    }
    selImg(orderList.indexOf(order), order);
}

void importOrdersPhotoDlg::selImg(int row, ImportOrderModel* order)
{
    const QString startDir = QDir(lastDir).absolutePath();
    int chosenCount = 0;
    QString chosenText;
    if (importType == TypeLyra) {
        const QString folder = Dialogs::getExistingDirectory(this, QStringLiteral("请选择文件路径..."), startDir,
                                                             QFileDialog::ShowDirsOnly);
        if (folder.isEmpty()) {
            Dialogs::information(this, QStringLiteral("提示"), QStringLiteral("请重新选择路径"), QMessageBox::Ok,
                                 QMessageBox::NoButton);
            return;
        }
        QString parentPath = QFileInfo(folder).absolutePath();
        if (parentPath.endsWith(QLatin1Char('\\')) || parentPath.endsWith(QLatin1Char('/'))) {
            parentPath.chop(1);
            qDebug() << "最后一位是目录的符号";
        }
        qDebug() << "fatherPath=" << parentPath;
        lastDir = parentPath;
        order->setLyraSourceDir(folder);
        order->setLyraSourceParent(parentPath);
        order->setIsImported(TypeLyra, false);
        chosenText = folder;
    } else {
        const bool video = isVideoType(importType);
        const QStringList files = Dialogs::getOpenFileNames(
            this, video ? QStringLiteral("选择视频") : QStringLiteral("选择照片"), startDir,
            video ? QStringLiteral("Video File(*.mp4 *.avi)") : QStringLiteral("Image File(*.jpg *.jpeg *.png)"));
        if (files.isEmpty()) {
            Dialogs::information(this, QStringLiteral("提示"), QStringLiteral("没有选择任何照片"), QMessageBox::Ok,
                                 QMessageBox::NoButton);
            return;
        }
        const QString refusal = selectionRefusal(files, importType);
        if (!refusal.isEmpty()) {
            Dialogs::warning(this, QStringLiteral("警告"), refusal, QMessageBox::Ok, QMessageBox::NoButton);
            return;
        }
        order->setSelectedFiles(importType, files);
        order->setIsImported(importType, false);
        const QString folder = QFileInfo(files.first()).absolutePath();
        lastDir = video ? folder : QFileInfo(folder).absolutePath();
        chosenCount = files.size();
        chosenText = QString::number(chosenCount);
    }

    ordersTableWgtClickedSlot(row);
    showProgress(ui.ordersTableWgt, row, 0, chosenCount, QStringLiteral("0/%1").arg(chosenCount));
    if (QLabel* selectLabel = label(ui.ordersTableWgt, row, SelectColumn))
        selectLabel->setText(QStringLiteral("已选(%1)").arg(chosenText));
}

void importOrdersPhotoDlg::prefieOrderChangedSlot(QString text)
{
    if (curModel && isPhotoType(importType))
        curModel->setOrderPrefix(importType, text.trimmed());
}

void importOrdersPhotoDlg::prefieFolderChangedSlot(QString text)
{
    if (!curModel || !isPhotoType(importType))
        return;
    const QString cleaned = sanitizeFileName(text.trimmed());
    if (cleaned != text)
        ui.folderSuffixEdit->setText(cleaned);
    qDebug() << "修改后的路径是：" << cleaned << "over";
    curModel->setFolderSuffix(importType, cleaned);
}

void importOrdersPhotoDlg::prefieImageChangedSlot(QString text)
{
    if (!curModel || !isPhotoType(importType))
        return;
    qDebug() << "修改前的路径是：" << text << "over";
    const QString cleaned = sanitizeFileName(text.trimmed());
    if (cleaned != text)
        ui.imageSuffixEdit->setText(cleaned);
    curModel->setImageSuffix(importType, cleaned);
}

void importOrdersPhotoDlg::countImportedImages(ImportOrderModel* order)
{
    const int count = importedImageCount(order->importOrderPath(), importType);
    if (count >= 0)
        order->setImportedCount(importType, quint16(count));
}

void importOrdersPhotoDlg::countImportedVideos(ImportOrderModel* order)
{
    const int count = importedVideoCount(order->importOrderPath(), importType);
    if (count >= 0)
        order->setImportedCount(importType, quint16(count));
}

void importOrdersPhotoDlg::setControlsEnabled(bool on)
{
    for (QAbstractButton* radio : ui.typeGroup->buttons())
        radio->setEnabled(on);
    for (QPushButton* button :
         {ui.addOrderBtn, ui.selectAllBtn, ui.cancelAllBtn, ui.delSelectedBtn, ui.infoPanel.reImportBtn})
        button->setEnabled(on);
}

void importOrdersPhotoDlg::resetBatchButton()
{
    g_importRunFlag = QStringLiteral("go");
    ui.importAllBtn->setText(kIdleText);
    ui.importAllBtn->setEnabled(true);
    setControlsEnabled(true);
}

bool importOrdersPhotoDlg::isBatchRunning() const
{
    return ui.importAllBtn->text() == kBusyText;
}

void importOrdersPhotoDlg::importAllOrdersBtnSlot()
{
    const ImportBatchCheck check(orderList, importType);
    batch.recount(check.ordersToImport());
    if (!check.passed()) {
        showImportError(check.refusedOrder(), check.refusal());
        return;
    }
    batch.begin(check.ordersToImport());
    setControlsEnabled(false);
    ui.importAllBtn->setText(kBusyText);
    ui.importAllBtn->setEnabled(false);
    const int row = batch.firstRow(orderList, importType);
    if (row < 0)
        return;
    batch.orderStarting(orderList.at(row), importType);
    startImportOrder(orderList.at(row), row);
}

void importOrdersPhotoDlg::startImportOrder(ImportOrderModel* order, int row)
{
    g_picPath = order->picRootPath();
    g_bakPicPath = order->bakRootPath();
    g_homePicPath = order->homeRootPath();
    g_lyraPicPath = order->lyraPicPath();
    g_importRunFlag = QStringLiteral("go");

    auto* worker = new ImportOrderThread(order, importType, nullptr);
    worker->setObjectName(order->orderNumber());
    worker->setProperty("row", row);
    qRegisterMetaType<QList<LyraFileInfo>>("QList<LyraFileInfo>");
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &ImportOrderThread::hasImportedImgCount, this, &importOrdersPhotoDlg::importProgressSlot);
    connect(worker, &ImportOrderThread::hasFinishedImportSigl, this, &importOrdersPhotoDlg::finishedImportOrderSlot);
    connect(worker, &ImportOrderThread::importImageThreadError, this, &importOrdersPhotoDlg::handleImportImageError);
    connect(worker, &ImportOrderThread::importErrorMsg, this, &importOrdersPhotoDlg::handleImportErrorMsg);
    connect(worker, &ImportOrderThread::checkDiskSizeSigl, this, &importOrdersPhotoDlg::lookDiskSizeSlot);
    connect(worker, &ImportOrderThread::checkOrderPicPathSigl, this, &importOrdersPhotoDlg::lookPicPathSlot);
    connect(worker, &ImportOrderThread::importDirLyraThreadError, this,
            &importOrdersPhotoDlg::handleImportLyraDirError);
    connect(worker, &ImportOrderThread::startImportDirLyraThreadSigl, this,
            &importOrdersPhotoDlg::startImportCopyLyraProgressSlot);

    // Errors of the folder creation arrive here at once and end the batch.
    if (importType == TypeLyra)
        worker->createLyraDir(g_lyraPicPath);
    else
        worker->createOrderDir(g_picPath, g_bakPicPath);
    if (!isBatchRunning()) {
        worker->deleteLater();
        return;
    }
    // The start report carries the folders just made.
    if (importType != TypeLyra)
        updateFinishInfo(order, QStringLiteral("0"), 0, 0);
    worker->start();
}

void importOrdersPhotoDlg::importProgressSlot(ushort imgCount, ushort totalCount)
{
    const int row = sender()->property("row").toInt();
    showProgress(ui.ordersTableWgt, row, imgCount, -1, QStringLiteral("%1/%2").arg(imgCount).arg(totalCount));
}

void importOrdersPhotoDlg::finishedImportOrderSlot(ushort totalCount)
{
    batch.orderFinished();
    const QObject* worker = sender();
    const int row = worker->property("row").toInt();
    qDebug().noquote() << QStringLiteral("%1 import finished").arg(worker->objectName());
    ImportOrderModel* order = orderList.value(row);
    if (!order)
        return;

    qDebug() << "updateFinishInfo2----";
    updateFinishInfo(order, QStringLiteral("1"), batch.picnumber(order, importType),
                     batch.picbacknumber(order, importType));

    countImportedImages(order);
    countImportedVideos(order);
    order->setFinishedCount(importType, totalCount);
    order->setIsImported(importType, true);
    const int imported = order->importedCount(importType);
    ui.ordersTableWgt->item(row, StateColumn)->setText(importStateText(imported));

    startFollowingOrder(row + 1);
    finishBatchIfDone();
}

void importOrdersPhotoDlg::startFollowingOrder(int fromRow)
{
    const int row = batch.followingRow(orderList, fromRow, importType);
    if (row < 0)
        return;
    ImportOrderModel* order = orderList.at(row);
    batch.orderStarting(order, importType);
    qDebug() << "updateFinishInfo1----";
    startImportOrder(order, row);
}

void importOrdersPhotoDlg::finishBatchIfDone()
{
    qDebug() << "finishtCount:" << batch.finishedOrders() << "--" << orderList.size() << "--" << batch.plannedOrders();
    if (!batch.isComplete())
        return;
    qDebug() << "All orders import finished";
    Dialogs::information(this, QStringLiteral("导入完成"),
                         QStringLiteral("%1个订单已经全部导完").arg(batch.finishedOrders()), QMessageBox::Ok,
                         QMessageBox::NoButton);
    resetBatchButton();
    ui.folderSuffixEdit->setEnabled(false);
}

void importOrdersPhotoDlg::startImportCopyLyraProgressSlot(QList<LyraFileInfo> list, QString toDir)
{
    const int row = sender()->property("row").toInt();
    const int total = list.size();
    qDebug() << "listlist=" << total;
    showProgress(ui.ordersTableWgt, row, 0, total, QStringLiteral("0/%1").arg(total));
    batch.lyraCopiesStarting();
    // A folder without files has nothing to wait for.
    if (list.isEmpty()) {
        finishedImportOrderLyraSlot(row, toDir);
        return;
    }
    for (int i = 0; i < total; ++i)
        lyraPool.start(new LyraImportThread(row, i + 1, total, toDir, list.at(i), this));
}

void importOrdersPhotoDlg::importCopyLyraProgressSlot(int row, int currentCount, int totalCount, QString toDir)
{
    Q_UNUSED(currentCount)
    const int copied = batch.lyraFileCopied();
    qDebug() << "开始导入=" << copied << "--" << totalCount;
    showProgress(ui.ordersTableWgt, row, copied, totalCount, QStringLiteral("%1/%2").arg(copied).arg(totalCount));
    if (copied == totalCount)
        finishedImportOrderLyraSlot(row, toDir);
}

void importOrdersPhotoDlg::importCopyLyraFailedSlot(int row, QString sourcePath, QString reason)
{
    qDebug() << "Lyra文件复制失败" << row << sourcePath << reason;
    batch.lyraFileFailed(sourcePath + QStringLiteral("：") + reason);
}

void importOrdersPhotoDlg::slt_lyrathreadmsg(QString str)
{
    qDebug() << "返回过来的数据哈哈哈哈" << str;
}

void importOrdersPhotoDlg::finishedImportOrderLyraSlot(int row, QString picPath)
{
    ImportOrderModel* order = orderList.value(row);
    if (!order)
        return;
    // An incomplete Lyra folder is neither imported nor reported.
    const QStringList failures = batch.failedLyraFiles();
    if (!failures.isEmpty()) {
        showImportError(order->orderNumber(),
                        QStringLiteral("订单[%1]有%2个文件复制到Lyra服务器失败，请检查后重新批量导片\n%3")
                            .arg(order->orderNumber())
                            .arg(failures.size())
                            .arg(failures.first()));
        return;
    }
    batch.orderFinished();
    order->setIsImported(TypeLyra, true);
    order->setLyrapath(picPath);
    updateLyraInfo(order, picPath);
    ui.ordersTableWgt->item(row, StateColumn)->setText(QStringLiteral("已导入"));
    startFollowingOrder(0);
    finishBatchIfDone();
}

void importOrdersPhotoDlg::reImportBtnSlot()
{
    if (!curModel)
        return;
    ui.selectedTable->setRowCount(0);
    ui.importedFiles.clear();
    resetImportState(curModel);
    ui.infoPanel.orderPathValue->clear();
    ui.infoPanel.orderBakPathValue->clear();
    ui.folderSuffixEdit->setEnabled(true);
    ui.infoPanel.reImportBtn->setEnabled(false);
    qDebug() << "updateFinishInfo3----";
    updateFinishInfo(curModel, QStringLiteral("0"), 0, 0);
    if (curRow == -1)
        return;
    showNotImported(ui.ordersTableWgt, curRow);
}

void importOrdersPhotoDlg::updateFinishInfo(ImportOrderModel* model, QString importype, int picnumber,
                                            int picbacknumber)
{
    const bool video = isVideoType(importType);
    // A video order reports its finish only.
    if (video && importype == QLatin1String("0"))
        return;
    const QByteArray body =
        ImportReports::finishInfo(model, importType, importype, picnumber, picbacknumber, ImportReports::timestamp());
    qDebug() << "提交路径地址1:===" << URL_ORDER_UPDATEPICPATH;
    connect(postReport(URL_ORDER_UPDATEPICPATH, body), &HttpRequest::netSuccessInfo, this,
            &importOrdersPhotoDlg::httpUploadOrderInfoJson);
}

void importOrdersPhotoDlg::updataVideoList(ImportOrderModel* model, QString videofiles, QString videopaths)
{
    const QByteArray body =
        ImportReports::videoList(model, importType, videofiles, videopaths, ImportReports::timestamp());
    qDebug().noquote() << "更新选片视频地址:===" << URL_ORDER_UPDATEVIDEO;
    connect(postReport(URL_ORDER_UPDATEVIDEO, body), &HttpRequest::netSuccessInfo, this,
            &importOrdersPhotoDlg::httpUploadVideoListJson);
}

void importOrdersPhotoDlg::updateLyraInfo(ImportOrderModel* model, QString lyrapath)
{
    qDebug() << "getOrderPath=" << model->importOrderPath();
    connect(postReport(URL_ORDER_SAVELYRAPATH, ImportReports::lyraInfo(model, lyrapath)), &HttpRequest::netSuccessInfo, this,
            &importOrdersPhotoDlg::httpUploadLyraInfoJson);
}

void importOrdersPhotoDlg::httpUploadOrderInfoJson(QJsonObject infoJson)
{
    qDebug() << "infoJson" << infoJson;
}

void importOrdersPhotoDlg::httpUploadLyraInfoJson(QJsonObject infoJson)
{
    qDebug() << "infoJson" << infoJson;
}

void importOrdersPhotoDlg::httpUploadVideoListJson(QJsonObject infoJson)
{
    Dialogs::information(nullptr, QStringLiteral("温馨提示"), infoJson.value(QStringLiteral("message")).toString(),
                         QMessageBox::Yes, QMessageBox::Yes);
}

void importOrdersPhotoDlg::upDataVideoUrlsBtnSlot()
{
    const QString title = QStringLiteral("温馨提示");
    const VideoListUpdate update(curRow == -1 ? nullptr : curModel, importType == TypeTrialVideo);
    if (!update.refusal().isEmpty()) {
        Dialogs::information(nullptr, title, update.refusal(), QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    if (Dialogs::information(nullptr, title, update.question(), QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes)
        updataVideoList(curModel, update.videofiles(), update.videopaths());
}

void importOrdersPhotoDlg::showImportError(QString order, QString message)
{
    ImportErrorLog::write(order, message);
    resetBatchButton();
    Dialogs::warning(this, QStringLiteral("警告"), message, QMessageBox::Ok, QMessageBox::NoButton);
}

QString importOrdersPhotoDlg::senderOrder() const
{
    const auto* worker = qobject_cast<const ImportOrderThread*>(sender());
    return worker ? worker->objectName() : QStringLiteral("-");
}

void importOrdersPhotoDlg::handleImportImageError(uchar errorCode)
{
    showImportError(senderOrder(), ImportErrorLog::imageErrorMessage(errorCode));
}

void importOrdersPhotoDlg::handleImportErrorMsg(QString reason)
{
    showImportError(senderOrder(), reason);
}

void importOrdersPhotoDlg::lookDiskSizeSlot(QString picPath)
{
    Q_UNUSED(picPath)
    showImportError(senderOrder(), QStringLiteral("服务器空间不足，请清理空间后再导入"));
}

void importOrdersPhotoDlg::lookPicPathSlot()
{
    showImportError(senderOrder(), QStringLiteral("客人信息包含特殊字符，请修改后再导片"));
    ui.folderSuffixEdit->setEnabled(true);
}

void importOrdersPhotoDlg::handleImportLyraDirError()
{
    showImportError(senderOrder(), QStringLiteral("Lyra服务器路径错误，请检查后重新批量导片"));
}

void importOrdersPhotoDlg::showImportedFiles(QString path)
{
    ui.importedFiles.showImportedList(importedFilePaths(path, importType));
}

void importOrdersPhotoDlg::showLstWgtContextMenuSlot(QPoint pos)
{
    Q_UNUSED(pos)
    ui.importedFiles.popupMenu();
}

void importOrdersPhotoDlg::openImportedImgSlot()
{
    if (!curModel)
        return;
    const QString path = curModel->importOrderPath();
    qDebug() << "open orderPath:" << path;
    const QString folder = importedFilesFolder(path, importType);
    if (!folder.isEmpty())
        FileOperation::openFileDir(folder);
}

void importOrdersPhotoDlg::deleteImportedImgSlot()
{
    delListFiles(ui.importedFiles.selectedNames());
}

void importOrdersPhotoDlg::delListFiles(const QStringList& names)
{
    if (!curModel)
        return;
    const QString path = curModel->importOrderPath();
    qDebug() << "delete orderPath:" << path;
    // Never relative to the current folder.
    if (path.isEmpty())
        return;
    removeImportedFiles(path, importType, names);
    showImportedFiles(path);
}
