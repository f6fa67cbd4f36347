#include "import/importordersphotodlg.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/httprequest.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "import/ImportBatchCheck.h"
#include "import/ImportErrorLog.h"
#include "import/ImportFileCounts.h"
#include "import/ImportReports.h"
#include "import/ImportTypes.h"
#include "import/ImportedFiles.h"
#include "import/OrderTableCells.h"
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
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

using namespace OrderTableCells;

QLabel* infoTitle(const QString& text)
{
    auto* label = new QLabel(text);
    label->setProperty("titleS", true);
    return label;
}

QLabel* infoValue(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setProperty("info", true);
    return label;
}

QPushButton* unfocusedButton(const QString& text)
{
    auto* button = new QPushButton(text);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

const QString kBusyText = QStringLiteral("导片中...");
const QString kIdleText = QStringLiteral("批量导片");

HttpRequest* postReport(const QString& url, const QByteArray& body)
{
    qDebug() << "postData===" << QString::fromUtf8(FormBody::masked(body));
    return HttpRequest::startNetRequest(url, body, true);
}

// An import path on a drive whose root is not there cannot take photos.
bool driveRootMissing(const QString& path, const QString& root)
{
    Platform& platform = Platform::instance();
    return platform.namesDrive(path) && root.endsWith(QLatin1Char('/')) && !platform.driveRootExists(root);
}

} // namespace

importOrdersPhotoDlg::importOrdersPhotoDlg(QWidget* parent)
    : QDialog(parent)
    , lastDir(QStringLiteral("."))
{
    initUI();
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(QStringLiteral("#rightTitle {font-size: 16px;font-weight: bold;}"
                                 "QLabel[info=\"true\"] {font-size: 14px;font-weight: bold;}"
                                 "QLabel[titleS=\"true\"] {font-size: 14px;color: gray;}"));
    importType = TypeFinished;
    imageSuffixEdit->setEnabled(false);
    reImportBtn->setEnabled(false);
    curModel = nullptr;
    curRow = -1;

    connect(typeGroup, &QButtonGroup::idClicked, this, &importOrdersPhotoDlg::importTypeSlot);
    connect(selectAllBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::selectAllSlot);
    connect(cancelAllBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::cancelAllSlot);
    connect(delSelectedBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::delAllOrdersSlot);
    connect(addOrderBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::addNewOrderBtnSlot);
    connect(ordersTableWgt, &QTableWidget::cellClicked, this, &importOrdersPhotoDlg::ordersTableWgtClickedSlot);
    connect(ordersTableWgt, &QWidget::customContextMenuRequested, this,
            &importOrdersPhotoDlg::showTableMouseRightButton);
    connect(openOrderPathAction, &QAction::triggered, this, &importOrdersPhotoDlg::tbOpenOrderPathAction);
    connect(orderPrefixEdit, &QLineEdit::textChanged, this, &importOrdersPhotoDlg::prefieOrderChangedSlot);
    connect(folderSuffixEdit, &QLineEdit::textChanged, this, &importOrdersPhotoDlg::prefieFolderChangedSlot);
    connect(imageSuffixEdit, &QLineEdit::textChanged, this, &importOrdersPhotoDlg::prefieImageChangedSlot);
    connect(openPathBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::openOrderPhotoPathBtnSlot);
    connect(openOriginPathBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::openOrderOriginPathBtnSlot);
    connect(importAllBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::importAllOrdersBtnSlot);
    connect(videoBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::upDataVideoUrlsBtnSlot);
    connect(reImportBtn, &QPushButton::clicked, this, &importOrdersPhotoDlg::reImportBtnSlot);
    connect(importedList, &QWidget::customContextMenuRequested, this,
            &importOrdersPhotoDlg::showLstWgtContextMenuSlot);
}

importOrdersPhotoDlg::~importOrdersPhotoDlg()
{
    // Lyra copies still waiting or running all end (the pool outlives the
    // window); their call-backs go nowhere from now on.
    CallbackGuard::of(this)->close();

    // The pickers still point at the models this window is about to delete.
    for (const QPointer<SearchOrderWindow>& picker : qAsConst(pickers))
        delete picker.data();
}

void importOrdersPhotoDlg::initUI()
{
    auto* mainLayout = new QHBoxLayout(this);
    mainSpliter = new QSplitter(Qt::Horizontal, this);
    mainSpliter->setObjectName(QStringLiteral("mainSpliter"));
    mainLayout->addWidget(mainSpliter);
    leftFrame = new QFrame;
    leftFrame->setObjectName(QStringLiteral("leftFrame"));
    rightFrame = new QFrame;
    rightFrame->setObjectName(QStringLiteral("rightFrame"));
    mainSpliter->addWidget(leftFrame);
    mainSpliter->addWidget(rightFrame);
    mainSpliter->setStretchFactor(0, 4);
    mainSpliter->setStretchFactor(1, 2);

    auto* left = new QVBoxLayout(leftFrame);
    auto* typeBox = new QGroupBox;
    auto* typeRow = new QHBoxLayout(typeBox);
    typeGroup = new QButtonGroup(this);
    for (int type = TypeOriginal; type <= TypeLyra; ++type) {
        auto* radio = new QRadioButton(importTypeText(type));
        typeGroup->addButton(radio, type);
        typeRow->addWidget(radio);
    }
    typeGroup->button(TypeFinished)->setChecked(true);
    left->addWidget(typeBox);
    left->addSpacing(20);
    initOrderTable(left);
    auto* checkRow = new QHBoxLayout;
    selectAllBtn = unfocusedButton(QStringLiteral("全选"));
    cancelAllBtn = unfocusedButton(QStringLiteral("取消选中"));
    delSelectedBtn = unfocusedButton(QStringLiteral("删除选中"));
    checkRow->addWidget(selectAllBtn);
    checkRow->addWidget(cancelAllBtn);
    checkRow->addWidget(delSelectedBtn);
    checkRow->addStretch();
    left->addLayout(checkRow);

    auto* right = new QVBoxLayout(rightFrame);
    rightTitle = new QLabel(QStringLiteral("导片模式：成品"));
    rightTitle->setObjectName(QStringLiteral("rightTitle"));
    right->addWidget(rightTitle);
    right->addSpacing(20);
    auto* infoGrid = new QGridLayout;
    initInfoPanel(infoGrid);
    right->addLayout(infoGrid);
    right->addSpacing(20);

    auto* suffixBox = new QGroupBox;
    auto* suffixGrid = new QGridLayout(suffixBox);
    auto* folderSuffixLabel = new QLabel(QStringLiteral("文件夹后缀:"));
    folderSuffixLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    folderSuffixEdit = new QLineEdit;
    folderSuffixEdit->setObjectName(QStringLiteral("folderSuffixEdit"));
    auto* imageSuffixLabel = new QLabel(QStringLiteral("照片后缀:"));
    imageSuffixLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    imageSuffixEdit = new QLineEdit;
    imageSuffixEdit->setObjectName(QStringLiteral("imageSuffixEdit"));
    suffixGrid->addWidget(folderSuffixLabel, 0, 0);
    suffixGrid->addWidget(folderSuffixEdit, 0, 1);
    suffixGrid->addWidget(imageSuffixLabel, 0, 2);
    suffixGrid->addWidget(imageSuffixEdit, 0, 3);
    right->addWidget(suffixBox);

    // Kept per order but never shown: the folder name uses the order number.
    auto* orderPrefixLabel = new QLabel(QStringLiteral("订单前缀:"), this);
    orderPrefixLabel->hide();
    orderPrefixEdit = new QLineEdit(this);
    orderPrefixEdit->setObjectName(QStringLiteral("orderPrefixEdit"));
    orderPrefixEdit->hide();

    auto* filesRow = new QHBoxLayout;
    auto* selectedBlock = new QVBoxLayout;
    initSelectedList(selectedBlock);
    auto* importedBlock = new QVBoxLayout;
    initImportedList(importedBlock);
    filesRow->addLayout(selectedBlock, 1);
    filesRow->addLayout(importedBlock, 3);
    right->addLayout(filesRow);
}

void importOrdersPhotoDlg::initOrderTable(QVBoxLayout* box)
{
    auto* captionRow = new QHBoxLayout;
    captionRow->addWidget(new QLabel(QStringLiteral("订单列表：")));
    captionRow->addStretch();
    videoBtn = unfocusedButton(QStringLiteral("更新视频到选片系统"));
    videoBtn->hide();
    captionRow->addWidget(videoBtn);
    captionRow->addSpacing(20);
    addOrderBtn = unfocusedButton(QStringLiteral("添加订单"));
    captionRow->addWidget(addOrderBtn);
    captionRow->addSpacing(20);
    importAllBtn = unfocusedButton(QStringLiteral("批量导片"));
    captionRow->addWidget(importAllBtn);
    box->addLayout(captionRow);

    ordersTableWgt = newOrderTable();
    tableMenu = new QMenu(this);
    openOrderPathAction = tableMenu->addAction(QStringLiteral("查看照片"));
    box->addWidget(ordersTableWgt);
}

void importOrdersPhotoDlg::initInfoPanel(QGridLayout* grid)
{
    orderNumberValue = infoValue("orderNumberValue");
    photoTypeValue = infoValue("photoTypeValue");
    serviceTimesValue = infoValue("serviceTimesValue");
    womanNameValue = infoValue("womanNameValue");
    manNameValue = infoValue("manNameValue");
    babyNameValue = infoValue("babyNameValue");
    comboNameValue = infoValue("comboNameValue");
    bookShopValue = infoValue("bookShopValue");
    dealDateValue = infoValue("dealDateValue");
    photographerValue = infoValue("photographerValue");
    makeupValue = infoValue("makeupValue");
    yindouerValue = infoValue("yindouerValue");
    babyNameTitle = infoTitle(QStringLiteral("宝宝姓名："));
    babyNameTitle->setObjectName(QStringLiteral("babyNameTitle"));

    const QList<QPair<QLabel*, QLabel*>> pairs = {
        {infoTitle(QStringLiteral("订单号：")), orderNumberValue},
        {infoTitle(QStringLiteral("拍照类型：")), photoTypeValue},
        {infoTitle(QStringLiteral("服务次数：")), serviceTimesValue},
        {infoTitle(QStringLiteral("女士姓名：")), womanNameValue},
        {infoTitle(QStringLiteral("男士姓名：")), manNameValue},
        {babyNameTitle, babyNameValue},
        {infoTitle(QStringLiteral("套系名：")), comboNameValue},
        {infoTitle(QStringLiteral("预约门店：")), bookShopValue},
        {infoTitle(QStringLiteral("成交日期：")), dealDateValue},
        {infoTitle(QStringLiteral("摄影师：")), photographerValue},
        {infoTitle(QStringLiteral("化妆师：")), makeupValue},
        {infoTitle(QStringLiteral("引逗师：")), yindouerValue},
    };
    for (int i = 0; i < pairs.size(); ++i) {
        const int row = i / 3;
        const int column = (i % 3) * 2;
        grid->addWidget(pairs.at(i).first, row, column, Qt::AlignRight);
        grid->addWidget(pairs.at(i).second, row, column + 1);
    }

    orderPathValue = infoValue("orderPathValue");
    reImportBtn = unfocusedButton(QStringLiteral("重新导片"));
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(orderPathValue);
    pathRow->addSpacing(40);
    pathRow->addWidget(reImportBtn);
    pathRow->addStretch();
    grid->addWidget(infoTitle(QStringLiteral("订单路径：")), 4, 0, Qt::AlignRight);
    grid->addLayout(pathRow, 4, 1, 1, 5);

    orderBakPathValue = infoValue("orderBakPathValue");
    grid->addWidget(infoTitle(QStringLiteral("订单备份路径：")), 5, 0, Qt::AlignRight);
    grid->addWidget(orderBakPathValue, 5, 1, 1, 5);

    orderLyraPathValue = infoValue("orderLyraPathValue");
    grid->addWidget(infoTitle(QStringLiteral("订单Lyra路径：")), 6, 0, Qt::AlignRight);
    grid->addWidget(orderLyraPathValue, 6, 1, 1, 5);

    auto* openRow = new QHBoxLayout;
    openRow->setContentsMargins(10, 10, 0, 0);
    openPathBtn = new QPushButton(QStringLiteral("打开路径"));
    openOriginPathBtn = new QPushButton(QStringLiteral("打开原始档路径"));
    openRow->addWidget(openPathBtn);
    openRow->addSpacing(20);
    openRow->addWidget(openOriginPathBtn);
    openRow->addStretch();
    grid->addLayout(openRow, 7, 0, 1, 5);
}

void importOrdersPhotoDlg::initSelectedList(QVBoxLayout* box)
{
    box->addWidget(new QLabel(QStringLiteral("选择的照片：")));
    selectedTable = new QTableWidget(0, 1);
    selectedTable->setObjectName(QStringLiteral("selectedTable"));
    selectedTable->setHorizontalHeaderLabels({QStringLiteral("照片名")});
    selectedTable->setSelectionMode(QAbstractItemView::NoSelection);
    selectedTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    selectedTable->horizontalHeader()->setStretchLastSection(true);
    box->addWidget(selectedTable);
}

void importOrdersPhotoDlg::initImportedList(QVBoxLayout* box)
{
    box->addWidget(new QLabel(QStringLiteral("已经导入的照片：")));
    importedList = new QListWidget;
    importedList->setObjectName(QStringLiteral("importedList"));
    importedList->setViewMode(QListView::IconMode);
    importedList->setResizeMode(QListView::Adjust);
    importedList->setMovement(QListView::Static);
    importedList->setDragEnabled(false);
    importedList->setIconSize(QSize(1000, 1000));
    importedList->setSpacing(10);
    importedList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    importedList->setContextMenuPolicy(Qt::CustomContextMenu);
    importedMenu = new QMenu(importedList);
    QAction* openAction = importedMenu->addAction(QStringLiteral("打开照片目录"));
    importedMenu->addSeparator();
    QAction* deleteAction = importedMenu->addAction(QStringLiteral("删除选中照片"));
    connect(openAction, &QAction::triggered, this, &importOrdersPhotoDlg::openImportedImgSlot);
    connect(deleteAction, &QAction::triggered, this, &importOrdersPhotoDlg::deleteImportedImgSlot);
    box->addWidget(importedList);
}

void importOrdersPhotoDlg::importTypeSlot(int id)
{
    videoBtn->hide();
    if (id >= TypeOriginal && id <= TypeLyra) {
        importType = ImportTypeEnum(id);
        imageSuffixEdit->setEnabled(id == TypeOriginal);
        rightTitle->setText(importModeTitle(id));
        if (id == TypeTrialVideo || id == TypeRetouchedVideo) {
            videoBtn->setText(id == TypeTrialVideo ? QStringLiteral("更新试拍视频到选片系统")
                                                   : QStringLiteral("更新精修视频到选片系统"));
            videoBtn->show();
        }
    }
    refreshOrderTable();
}

void importOrdersPhotoDlg::refreshOrderTable()
{
    ordersTableWgt->setRowCount(orderList.size());
    for (int row = 0; row < orderList.size(); ++row) {
        ImportOrderModel* order = orderList.at(row);
        auto* numberItem = new QTableWidgetItem(order->orderNumber());
        numberItem->setCheckState(Qt::Unchecked);
        ordersTableWgt->setItem(row, NumberColumn, numberItem);
        ordersTableWgt->setItem(row, ShopColumn, centredItem(order->storesname()));
        ordersTableWgt->setItem(row, NamesColumn, centredItem(order->customerNames()));

        countImportedImages(order);
        countImportedVideos(order);
        const bool lyra = importType == TypeLyra;
        const int imported = lyra ? 0 : order->importedCount(importType);
        const int finished = lyra ? 0 : order->finishedCount(importType);
        const bool done = order->isImported(importType);

        ordersTableWgt->setItem(row, StateColumn,
                                centredItem(imported != 0 ? QStringLiteral("已导入(%1)").arg(imported)
                                                          : QStringLiteral("未导入")));

        auto* selectButton = new QPushButton(selectButtonText(importType));
        selectButton->setProperty("row", row);
        connect(selectButton, &QPushButton::clicked, this, &importOrdersPhotoDlg::selectImgBtnSlot);
        auto* selectLabel = new QLabel(QStringLiteral("未选"));
        ordersTableWgt->setCellWidget(row, SelectColumn, selectCell(selectButton, selectLabel));
        auto* progressBar = new QProgressBar;
        auto* progressLabel = new QLabel(lyra ? QString() : QStringLiteral("%1/%1").arg(finished));
        ordersTableWgt->setCellWidget(row, ProgressColumn, progressCell(progressBar, progressLabel));

        if (done) {
            progressBar->setRange(0, finished);
            progressBar->setValue(finished);
            selectLabel->setText(QStringLiteral("已选(%1)").arg(finished));
        }
    }
}

void importOrdersPhotoDlg::ordersTableWgtClickedSlot(int row)
{
    if (row < 0 || row >= orderList.size())
        return;
    curRow = row;
    curModel = orderList.at(row);
    ImportOrderModel* order = curModel;

    orderNumberValue->setText(order->orderpayforkey());
    photoTypeValue->setText(order->phototype());
    serviceTimesValue->setText(order->servicetimes());
    babyNameValue->setText(order->bname());
    womanNameValue->setText(order->wname());
    manNameValue->setText(order->mname());
    comboNameValue->setText(order->comboname());
    bookShopValue->setText(order->orderpayforkey2());
    dealDateValue->setText(order->booktime());
    photographerValue->setText(order->role1());
    makeupValue->setText(order->role2());
    yindouerValue->setText(order->yindouer());
    const bool baby = order->phototype2() == QStringLiteral("宝宝照");
    babyNameTitle->setVisible(baby);
    babyNameValue->setVisible(baby);

    orderPathValue->setText(order->importOrderPath());
    orderBakPathValue->setText(order->importOrderBakPath());
    orderLyraPathValue->setText(order->lyrapath());

    QStringList names;
    if (isPhotoType(importType)) {
        orderPrefixEdit->setText(order->orderNumber());
        folderSuffixEdit->setText(order->folderSuffix(importType));
        imageSuffixEdit->setText(order->imageSuffix(importType));
        names = order->renamedFileNames(order->selectedFiles(importType), importType);
    }
    selectedTable->setRowCount(names.size());
    for (int i = 0; i < names.size(); ++i)
        selectedTable->setItem(i, 0, new QTableWidgetItem(names.at(i)));
    showImportedFiles(order->importOrderPath());

    folderSuffixEdit->setEnabled(order->importOrderPath().isEmpty());
    // While a batch runs no order is put back under its feet.
    reImportBtn->setEnabled(!isBatchRunning()
                            && (!order->importOrderPath().isEmpty() || !order->importOrderBakPath().isEmpty()));
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
    // Numbers already listed, including those added from this same hand-over.
    QStringList listed;
    for (const ImportOrderModel* order : qAsConst(orderList))
        listed << order->orderNumber();
    QStringList duplicates;
    QStringList missingRoots;
    for (ImportOrderModel* order : qAsConst(orderLst)) {
        const QString number = order->orderNumber();
        if (listed.contains(number)) {
            duplicates << number;
            continue;
        }
        const QString path = order->importOrderPath();
        const QString root = FileOperation::getDriveRoot(path);
        qDebug() << "orderPath:" << path << "orderRootPath:" << root;
        if (driveRootMissing(path, root)) {
            missingRoots << number + QLatin1Char(':') + root;
            continue;
        }
        countImportedImages(order);
        order->setParent(this);
        orderList << order;
        listed << number;
    }
    if (!duplicates.isEmpty())
        Dialogs::information(this, QStringLiteral("订单已存在"),
                             QStringLiteral("已经添加过订单：\n") + duplicates.join(QLatin1Char(',')),
                             QMessageBox::Ok, QMessageBox::NoButton);
    if (!missingRoots.isEmpty())
        Dialogs::information(this, QStringLiteral("订单导片路径不存在"),
                             QStringLiteral("以下订单导片根目录不存在：\n") + missingRoots.join(QLatin1Char(',')),
                             QMessageBox::Ok, QMessageBox::NoButton);
    refreshOrderTable();
}

void importOrdersPhotoDlg::setAllChecks(Qt::CheckState state)
{
    for (int row = 0; row < ordersTableWgt->rowCount(); ++row) {
        if (QTableWidgetItem* item = ordersTableWgt->item(row, NumberColumn))
            item->setCheckState(state);
    }
}

void importOrdersPhotoDlg::selectAllSlot()
{
    setAllChecks(Qt::Checked);
}

void importOrdersPhotoDlg::cancelAllSlot()
{
    setAllChecks(Qt::Unchecked);
}

void importOrdersPhotoDlg::delAllOrdersSlot()
{
    QList<int> checkedRows;
    for (int row = 0; row < ordersTableWgt->rowCount(); ++row) {
        const QTableWidgetItem* item = ordersTableWgt->item(row, NumberColumn);
        if (item && item->checkState() == Qt::Checked)
            checkedRows << row;
    }
    if (checkedRows.isEmpty()) {
        Dialogs::warning(this, QStringLiteral("警告"), QStringLiteral("您还没有选择订单"), QMessageBox::Ok,
                         QMessageBox::NoButton);
        return;
    }
    // Table rows and list entries go together, by index, last first.
    for (int i = checkedRows.size() - 1; i >= 0; --i) {
        orderList.removeAt(checkedRows.at(i));
        ordersTableWgt->removeRow(checkedRows.at(i));
    }
    renumberRows();

    curRow = orderList.indexOf(curModel);
    if (curRow < 0)
        curModel = nullptr;
    if (ordersTableWgt->currentIndex().isValid())
        ordersTableWgtClickedSlot(ordersTableWgt->currentIndex().row());
    if (!curModel) {
        clearInfoPanel();
        // With orders left, the image suffix still follows the type.
        if (!orderList.isEmpty())
            imageSuffixEdit->setEnabled(importType == TypeOriginal);
    }
}

void importOrdersPhotoDlg::renumberRows()
{
    for (int row = 0; row < ordersTableWgt->rowCount(); ++row) {
        if (QWidget* frame = ordersTableWgt->cellWidget(row, SelectColumn)) {
            if (auto* button = frame->findChild<QPushButton*>())
                button->setProperty("row", row);
        }
    }
}

void importOrdersPhotoDlg::clearInfoPanel()
{
    for (QLabel* value : {orderNumberValue, photoTypeValue, serviceTimesValue, womanNameValue, manNameValue,
                          babyNameValue, comboNameValue, bookShopValue, dealDateValue, photographerValue, makeupValue,
                          yindouerValue, orderPathValue, orderBakPathValue})
        value->clear();
    reImportBtn->setEnabled(false);
    folderSuffixEdit->setEnabled(true);
    folderSuffixEdit->clear();
    imageSuffixEdit->setEnabled(false);
    importedList->clear();
    selectedTable->clear();
    selectedTable->setRowCount(0);
}

void importOrdersPhotoDlg::showTableMouseRightButton(QPoint pos)
{
    Q_UNUSED(pos);
    const ImportOrderModel* order = orderList.value(ordersTableWgt->currentRow());
    tableMenu->setEnabled(order && !order->importOrderPath().isEmpty());
    tableMenu->popup(QCursor::pos());
}

void importOrdersPhotoDlg::tbOpenOrderPathAction()
{
    const ImportOrderModel* order = orderList.value(ordersTableWgt->currentRow());
    if (!order)
        return;
    qDebug() << "orderpath" << order->importOrderPath();
    openLocalFolder(order->importOrderPath() + QStringLiteral("成品"));
}

void importOrdersPhotoDlg::openOrderPhotoPathBtnSlot()
{
    const QString path = orderPathValue->text();
    qDebug() << path;
    if (!path.isEmpty())
        openLocalFolder(path);
}

void importOrdersPhotoDlg::openOrderOriginPathBtnSlot()
{
    const QString path = orderPathValue->text();
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
    showProgress(ordersTableWgt, row, 0, chosenCount, QStringLiteral("0/%1").arg(chosenCount));
    if (QLabel* selectLabel = label(ordersTableWgt, row, SelectColumn))
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
        folderSuffixEdit->setText(cleaned);
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
        imageSuffixEdit->setText(cleaned);
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
    for (QAbstractButton* radio : typeGroup->buttons())
        radio->setEnabled(on);
    for (QPushButton* button : {addOrderBtn, selectAllBtn, cancelAllBtn, delSelectedBtn, reImportBtn})
        button->setEnabled(on);
}

void importOrdersPhotoDlg::resetBatchButton()
{
    g_importRunFlag = QStringLiteral("go");
    importAllBtn->setText(kIdleText);
    importAllBtn->setEnabled(true);
    setControlsEnabled(true);
}

bool importOrdersPhotoDlg::isBatchRunning() const
{
    return importAllBtn->text() == kBusyText;
}

void importOrdersPhotoDlg::importAllOrdersBtnSlot()
{
    const ImportBatchCheck check(orderList, importType);
    ordersToImport = quint16(check.ordersToImport().size());
    if (!check.passed()) {
        showImportError(check.refusedOrder(), check.refusal());
        return;
    }
    ordersToStart = check.ordersToImport();
    ordersDone = 0;
    setControlsEnabled(false);
    importAllBtn->setText(kBusyText);
    importAllBtn->setEnabled(false);
    for (int row = 0; row < orderList.size(); ++row) {
        ImportOrderModel* order = orderList.at(row);
        qDebug() << "orderMdl is:" << order->orderNumber();
        qDebug() << "orderMdl isImported:" << (order->isImported(importType) ? "true" : "false");
        if (!order->isImported(importType)) {
            recordBeforeCounts(order);
            startImportOrder(order, row);
            return;
        }
    }
}

void importOrdersPhotoDlg::recordBeforeCounts(ImportOrderModel* order)
{
    beforeCount = 0;
    bakBeforeCount = 0;
    if (importType == TypeLyra)
        return;
    beforeCount = countTypeFiles(order->importOrderPath(), importType);
    if (importType <= TypeFinished)
        bakBeforeCount = countTypeFiles(order->importOrderBakPath(), importType);
}

void importOrdersPhotoDlg::startImportOrder(ImportOrderModel* order, int row)
{
    ordersToStart.removeOne(order);
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
    showProgress(ordersTableWgt, row, imgCount, -1, QStringLiteral("%1/%2").arg(imgCount).arg(totalCount));
}

void importOrdersPhotoDlg::finishedImportOrderSlot(ushort totalCount)
{
    ++ordersDone;
    const QObject* worker = sender();
    const int row = worker->property("row").toInt();
    qDebug().noquote() << QStringLiteral("%1 import finished").arg(worker->objectName());
    ImportOrderModel* order = orderList.value(row);
    if (!order)
        return;

    const int picnumber = countTypeFiles(order->importOrderPath(), importType) - beforeCount;
    const int picbacknumber =
        importType <= TypeFinished ? countTypeFiles(order->importOrderBakPath(), importType) - bakBeforeCount : 0;
    qDebug() << "updateFinishInfo2----";
    updateFinishInfo(order, QStringLiteral("1"), picnumber, picbacknumber);

    countImportedImages(order);
    countImportedVideos(order);
    order->setFinishedCount(importType, totalCount);
    order->setIsImported(importType, true);
    const int imported = order->importedCount(importType);
    ordersTableWgt->item(row, StateColumn)
        ->setText(imported != 0 ? QStringLiteral("已导入(%1)").arg(imported) : QStringLiteral("未导入"));

    startFollowingOrder(row + 1);
    finishBatchIfDone();
}

void importOrdersPhotoDlg::startFollowingOrder(int fromRow)
{
    for (int row = fromRow; row < orderList.size(); ++row) {
        ImportOrderModel* order = orderList.at(row);
        qDebug() << "2orderMdl row is:" << row;
        qDebug() << "2orderMdl is:" << order->orderNumber();
        qDebug() << "2orderMdl isImported:" << (order->isImported(importType) ? "true" : "false");
        if (!order->isImported(importType) && ordersToStart.contains(order)) {
            recordBeforeCounts(order);
            qDebug() << "updateFinishInfo1----";
            startImportOrder(order, row);
            return;
        }
    }
}

void importOrdersPhotoDlg::finishBatchIfDone()
{
    qDebug() << "finishtCount:" << ordersDone << "--" << orderList.size() << "--" << ordersToImport;
    if (ordersDone != ordersToImport)
        return;
    qDebug() << "All orders import finished";
    Dialogs::information(this, QStringLiteral("导入完成"), QStringLiteral("%1个订单已经全部导完").arg(ordersDone),
                         QMessageBox::Ok, QMessageBox::NoButton);
    resetBatchButton();
    folderSuffixEdit->setEnabled(false);
}

void importOrdersPhotoDlg::startImportCopyLyraProgressSlot(QList<LyraFileInfo> list, QString toDir)
{
    const int row = sender()->property("row").toInt();
    const int total = list.size();
    qDebug() << "listlist=" << total;
    showProgress(ordersTableWgt, row, 0, total, QStringLiteral("0/%1").arg(total));
    lyraCopiedCount = 0;
    lyraFailures.clear();
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
    ++lyraCopiedCount;
    qDebug() << "开始导入=" << lyraCopiedCount << "--" << totalCount;
    showProgress(ordersTableWgt, row, lyraCopiedCount, totalCount, QStringLiteral("%1/%2").arg(lyraCopiedCount).arg(totalCount));
    if (lyraCopiedCount == totalCount)
        finishedImportOrderLyraSlot(row, toDir);
}

void importOrdersPhotoDlg::importCopyLyraFailedSlot(int row, QString sourcePath, QString reason)
{
    qDebug() << "Lyra文件复制失败" << row << sourcePath << reason;
    lyraFailures << sourcePath + QStringLiteral("：") + reason;
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
    if (!lyraFailures.isEmpty()) {
        showImportError(order->orderNumber(),
                        QStringLiteral("订单[%1]有%2个文件复制到Lyra服务器失败，请检查后重新批量导片\n%3")
                            .arg(order->orderNumber())
                            .arg(lyraFailures.size())
                            .arg(lyraFailures.first()));
        return;
    }
    ++ordersDone;
    order->setIsImported(TypeLyra, true);
    order->setLyrapath(picPath);
    updateLyraInfo(order, picPath);
    ordersTableWgt->item(row, StateColumn)->setText(QStringLiteral("已导入"));
    startFollowingOrder(0);
    finishBatchIfDone();
}

void importOrdersPhotoDlg::reImportBtnSlot()
{
    if (!curModel)
        return;
    selectedTable->setRowCount(0);
    importedList->clear();
    resetImportState(curModel);
    orderPathValue->clear();
    orderBakPathValue->clear();
    folderSuffixEdit->setEnabled(true);
    reImportBtn->setEnabled(false);
    qDebug() << "updateFinishInfo3----";
    updateFinishInfo(curModel, QStringLiteral("0"), 0, 0);
    if (curRow == -1)
        return;
    ordersTableWgt->item(curRow, StateColumn)->setText(QStringLiteral("未导入"));
    showProgress(ordersTableWgt, curRow, 0, -1, QStringLiteral("0/0"));
    if (QLabel* selectLabel = label(ordersTableWgt, curRow, SelectColumn))
        selectLabel->setText(QStringLiteral("未选"));
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
    const auto tell = [&title](const QString& text) {
        Dialogs::information(nullptr, title, text, QMessageBox::Yes, QMessageBox::Yes);
    };
    const auto ask = [&title](const QString& text) {
        return Dialogs::information(nullptr, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
               == QMessageBox::Yes;
    };
    if (curRow == -1 || !curModel) {
        tell(QStringLiteral("请选择更新视频的订单"));
        return;
    }
    ImportOrderModel* order = curModel;
    if (order->importOrderPath().isEmpty()) {
        tell(QStringLiteral("此订单未导视频"));
        return;
    }
    const bool trial = importType == TypeTrialVideo;
    const QString folder = order->importOrderPath() + importTypeFolder(trial ? TypeTrialVideo : TypeRetouchedVideo);
    // A path that climbs out of the roots is neither listed nor reported.
    if (!isSafeOrderPath(order->importOrderPath()) || !FileOperation::isDirExist(folder)) {
        tell(QStringLiteral("此订单导片路径打不开，请检查服务器是否连接成功！"));
        return;
    }
    const VideoListUpdate update(folder, trial);
    if (ask(update.question()))
        updataVideoList(order, update.videofiles(), update.videopaths());
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
    QString message;
    if (errorCode == 1)
        message = QStringLiteral("服务器路径错误，请检查后重新批量导片");
    else if (errorCode == 2)
        message = QStringLiteral("备份服务器路径错误，请检查后重新批量导片");
    else
        message = QStringLiteral("导片失败(错误码:%1)，可重试").arg(errorCode);
    showImportError(senderOrder(), message);
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
    folderSuffixEdit->setEnabled(true);
}

void importOrdersPhotoDlg::handleImportLyraDirError()
{
    showImportError(senderOrder(), QStringLiteral("Lyra服务器路径错误，请检查后重新批量导片"));
}

void importOrdersPhotoDlg::showImportedFiles(QString path)
{
    showImportedList(importedFilePaths(path, importType));
}

void importOrdersPhotoDlg::showImportedList(QStringList paths)
{
    fillImportedList(paths);
}

void importOrdersPhotoDlg::fillImportedList(QStringList paths)
{
    importedList->clear();
    for (const QString& path : qAsConst(paths)) {
        auto* item = new QListWidgetItem(FileOperation::getFileName(path));
        item->setSizeHint(QSize(100, 120));
        item->setTextAlignment(Qt::AlignBottom);
        importedList->addItem(item);
    }
    loadThumbIcons(paths);
}

void importOrdersPhotoDlg::loadThumbIcons(QStringList paths)
{
    for (int i = 0; i < paths.size(); ++i)
        importedList->item(i)->setData(Qt::DecorationRole, importedFileIcon(paths.at(i)));
}

void importOrdersPhotoDlg::showLstWgtContextMenuSlot(QPoint pos)
{
    Q_UNUSED(pos)
    if (!importedList->selectedItems().isEmpty())
        importedMenu->popup(QCursor::pos());
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
    QStringList names;
    for (const QListWidgetItem* item : importedList->selectedItems())
        names << item->text();
    delListFiles(names);
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
