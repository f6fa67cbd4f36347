#include "importordersphotodlg.h"

#include "Dialogs.h"
#include "FileOperation.h"
#include "FormBody.h"
#include "Globals.h"
#include "Platform.h"
#include "ServiceCall.h"
#include "importordermodel.h"
#include "searchorderwindow.h"

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

enum Column { NumberColumn = 0, ShopColumn, NamesColumn, StateColumn, SelectColumn, ProgressColumn };

const char* const kTypeTexts[] = {"导入原片", "导入成品/精修", "导入设计", "试拍视频", "精修视频", "导入Lyra"};
const char* const kModeTitles[] = {"导片模式：原片",     "导片模式：成品",     "导片模式：设计",
                                   "导片模式：试拍视频", "导片模式：精修视频", "导片模式：Lyra"};

bool isPhotoType(int type)
{
    return type >= importOrdersPhotoDlg::TypeOriginal && type <= importOrdersPhotoDlg::TypeDesign;
}

bool isVideoType(int type)
{
    return type == importOrdersPhotoDlg::TypeTrialVideo || type == importOrdersPhotoDlg::TypeRetouchedVideo;
}

QString selectButtonText(int type)
{
    if (type == importOrdersPhotoDlg::TypeLyra)
        return QStringLiteral("选择Lyra路径");
    return isVideoType(type) ? QStringLiteral("选择视频") : QStringLiteral("选择照片");
}

QTableWidgetItem* centredItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

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

// Entries of an order sub-folder matching the patterns, listed as Windows
// lists them; a missing folder has none.
int countEntries(const QString& folder, const QStringList& patterns)
{
    return Platform::instance().entryInfoList(folder, patterns, QDir::AllEntries | QDir::NoDotAndDotDot).size();
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
}

importOrdersPhotoDlg::~importOrdersPhotoDlg()
{
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
        auto* radio = new QRadioButton(QString::fromUtf8(kTypeTexts[type]));
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

    ordersTableWgt = new QTableWidget(0, 6);
    ordersTableWgt->setObjectName(QStringLiteral("ordersTableWgt"));
    ordersTableWgt->setHorizontalHeaderLabels({QStringLiteral("订单号"), QStringLiteral("所属门店"),
                                               QStringLiteral("客户姓名"), QStringLiteral("导片状态"),
                                               QStringLiteral("操作区"), QStringLiteral("导片进度")});
    const int widths[] = {200, 150, 150, 80, 200, 180};
    for (int column = 0; column < 6; ++column)
        ordersTableWgt->setColumnWidth(column, widths[column]);
    ordersTableWgt->setSelectionBehavior(QAbstractItemView::SelectRows);
    ordersTableWgt->setSelectionMode(QAbstractItemView::SingleSelection);
    ordersTableWgt->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ordersTableWgt->setContextMenuPolicy(Qt::CustomContextMenu);
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
    box->addWidget(importedList);
}

void importOrdersPhotoDlg::importTypeSlot(int id)
{
    videoBtn->hide();
    if (id >= TypeOriginal && id <= TypeLyra) {
        importType = ImportTypeEnum(id);
        imageSuffixEdit->setEnabled(id == TypeOriginal);
        rightTitle->setText(QString::fromUtf8(kModeTitles[id]));
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

        auto* selectFrame = new QFrame;
        selectFrame->setObjectName(QStringLiteral("tableFrame"));
        auto* selectLayout = new QHBoxLayout(selectFrame);
        selectLayout->setContentsMargins(0, 0, 0, 0);
        auto* selectButton = new QPushButton(selectButtonText(importType));
        selectButton->setProperty("row", row);
        connect(selectButton, &QPushButton::clicked, this, &importOrdersPhotoDlg::selectImgBtnSlot);
        auto* selectLabel = new QLabel(QStringLiteral("未选"));
        selectLayout->addSpacing(10);
        selectLayout->addWidget(selectButton);
        selectLayout->addSpacing(10);
        selectLayout->addWidget(selectLabel);
        selectLayout->addSpacing(10);
        ordersTableWgt->setCellWidget(row, SelectColumn, selectFrame);

        auto* progressFrame = new QFrame;
        progressFrame->setObjectName(QStringLiteral("tableFrame"));
        auto* progressLayout = new QHBoxLayout(progressFrame);
        progressLayout->setContentsMargins(0, 0, 0, 0);
        auto* progressBar = new QProgressBar;
        progressBar->setFixedWidth(110);
        progressBar->setAlignment(Qt::AlignCenter);
        auto* progressLabel = new QLabel(lyra ? QString() : QStringLiteral("%1/%1").arg(finished));
        progressLayout->addSpacing(10);
        progressLayout->addWidget(progressBar);
        progressLayout->addWidget(progressLabel);
        progressLayout->addSpacing(10);
        ordersTableWgt->setCellWidget(row, ProgressColumn, progressFrame);

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

    folderSuffixEdit->setEnabled(order->importOrderPath().isEmpty());
    reImportBtn->setEnabled(!order->importOrderPath().isEmpty() || !order->importOrderBakPath().isEmpty());
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
    if (!curModel)
        clearInfoPanel();
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
        order->setSelectedFiles(importType, files);
        order->setIsImported(importType, false);
        const QString folder = QFileInfo(files.first()).absolutePath();
        lastDir = video ? folder : QFileInfo(folder).absolutePath();
        chosenCount = files.size();
        chosenText = QString::number(chosenCount);
    }

    ordersTableWgtClickedSlot(row);
    if (QLabel* progressLabel = rowLabel(row, ProgressColumn))
        progressLabel->setText(QStringLiteral("0/%1").arg(chosenCount));
    if (QProgressBar* progressBar = rowProgressBar(row)) {
        progressBar->setRange(0, chosenCount);
        progressBar->setValue(0);
    }
    if (QLabel* selectLabel = rowLabel(row, SelectColumn))
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
    QString path = order->importOrderPath();
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    QString marker = QStringLiteral("thumbnail");
    QString content = QStringLiteral("照片");
    if (importType == TypeFinished) {
        marker = QStringLiteral("成品缩略图");
        content = QStringLiteral("成品");
    } else if (importType == TypeDesign) {
        marker = QStringLiteral("设计缩略图");
        content = QStringLiteral("设计");
    }
    if (!FileOperation::isDirExist(path + marker))
        return;
    const int count = countEntries(path + content, {QStringLiteral("*.jpg"), QStringLiteral("*.png"),
                                                    QStringLiteral("*.jpeg")});
    if (isPhotoType(importType))
        order->setImportedCount(importType, quint16(count));
}

void importOrdersPhotoDlg::countImportedVideos(ImportOrderModel* order)
{
    QString path = order->importOrderPath();
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    const QString folder = path + (importType == TypeRetouchedVideo ? QStringLiteral("精修视频")
                                                                    : QStringLiteral("试拍视频"));
    if (!FileOperation::isDirExist(folder))
        return;
    const int count = countEntries(folder, {QStringLiteral("*.mp4"), QStringLiteral("*.avi"),
                                            QStringLiteral("*.m4v"), QStringLiteral("*.wmv")});
    if (isVideoType(importType))
        order->setImportedCount(importType, quint16(count));
}

QLabel* importOrdersPhotoDlg::rowLabel(int row, int column) const
{
    QWidget* frame = ordersTableWgt->cellWidget(row, column);
    return frame ? frame->findChild<QLabel*>() : nullptr;
}

QProgressBar* importOrdersPhotoDlg::rowProgressBar(int row) const
{
    QWidget* frame = ordersTableWgt->cellWidget(row, ProgressColumn);
    return frame ? frame->findChild<QProgressBar*>() : nullptr;
}
