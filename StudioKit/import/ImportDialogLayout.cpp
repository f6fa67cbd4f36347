#include "import/ImportDialogLayout.h"

#include "import/ImportTypes.h"
#include "import/OrderTableCells.h"
#include "import/importordersphotodlg.h"

#include <QAction>
#include <QButtonGroup>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The window's buttons leave the keyboard focus where it is.
QPushButton* unfocusedButton(const QString& text)
{
    auto* button = new QPushButton(text);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

void ImportDialogLayout::initUI(QDialog* dialog)
{
    auto* mainLayout = new QHBoxLayout(dialog);
    mainSpliter = new QSplitter(Qt::Horizontal, dialog);
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
    typeGroup = new QButtonGroup(dialog);
    for (int type = importOrdersPhotoDlg::TypeOriginal; type <= importOrdersPhotoDlg::TypeLyra; ++type) {
        auto* radio = new QRadioButton(importTypeText(type));
        typeGroup->addButton(radio, type);
        typeRow->addWidget(radio);
    }
    typeGroup->button(importOrdersPhotoDlg::TypeFinished)->setChecked(true);
    left->addWidget(typeBox);
    left->addSpacing(20);
    initOrderTable(left);
    tableMenu = new QMenu(dialog);
    openOrderPathAction = tableMenu->addAction(QStringLiteral("查看照片"));
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
    infoPanel.initInfoPanel(infoGrid);
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

    auto* orderPrefixLabel = new QLabel(QStringLiteral("订单前缀:"), dialog);
    orderPrefixLabel->hide();
    orderPrefixEdit = new QLineEdit(dialog);
    orderPrefixEdit->setObjectName(QStringLiteral("orderPrefixEdit"));
    orderPrefixEdit->hide();

    auto* filesRow = new QHBoxLayout;
    auto* selectedBlock = new QVBoxLayout;
    initSelectedList(selectedBlock);
    auto* importedBlock = new QVBoxLayout;
    importedFiles.initImportedList(importedBlock);
    filesRow->addLayout(selectedBlock, 1);
    filesRow->addLayout(importedBlock, 3);
    right->addLayout(filesRow);
}

void ImportDialogLayout::initOrderTable(QVBoxLayout* box)
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

    ordersTableWgt = OrderTableCells::newOrderTable();
    box->addWidget(ordersTableWgt);
}

void ImportDialogLayout::initSelectedList(QVBoxLayout* box)
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
