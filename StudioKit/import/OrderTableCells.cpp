#include "import/OrderTableCells.h"

#include "import/ImportTypes.h"
#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>

namespace OrderTableCells {

QTableWidget* newOrderTable()
{
    auto* table = new QTableWidget(0, 6);
    table->setObjectName(QStringLiteral("ordersTableWgt"));
    table->setHorizontalHeaderLabels({QStringLiteral("订单号"), QStringLiteral("所属门店"), QStringLiteral("客户姓名"),
                                      QStringLiteral("导片状态"), QStringLiteral("操作区"),
                                      QStringLiteral("导片进度")});
    const int widths[] = {200, 150, 150, 80, 200, 180};
    for (int column = 0; column < 6; ++column)
        table->setColumnWidth(column, widths[column]);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    return table;
}

QTableWidgetItem* centredItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

QString importStateText(int importedCount)
{
    return importedCount != 0 ? QStringLiteral("已导入(%1)").arg(importedCount) : QStringLiteral("未导入");
}

QPushButton* fillOrderRow(QTableWidget* table, int row, const ImportOrderModel* order, int type)
{
    auto* numberItem = new QTableWidgetItem(order->orderNumber());
    numberItem->setCheckState(Qt::Unchecked);
    table->setItem(row, NumberColumn, numberItem);
    table->setItem(row, ShopColumn, centredItem(order->storesname()));
    table->setItem(row, NamesColumn, centredItem(order->customerNames()));

    const bool lyra = type == importOrdersPhotoDlg::TypeLyra;
    const int imported = lyra ? 0 : order->importedCount(type);
    const int finished = lyra ? 0 : order->finishedCount(type);
    table->setItem(row, StateColumn, centredItem(importStateText(imported)));

    auto* selectButton = new QPushButton(selectButtonText(type));
    selectButton->setProperty("row", row);
    auto* selectLabel = new QLabel(QStringLiteral("未选"));
    table->setCellWidget(row, SelectColumn, selectCell(selectButton, selectLabel));
    auto* progressBar = new QProgressBar;
    auto* progressLabel = new QLabel(lyra ? QString() : QStringLiteral("%1/%1").arg(finished));
    table->setCellWidget(row, ProgressColumn, progressCell(progressBar, progressLabel));

    if (order->isImported(type)) {
        progressBar->setRange(0, finished);
        progressBar->setValue(finished);
        selectLabel->setText(QStringLiteral("已选(%1)").arg(finished));
    }
    return selectButton;
}

QFrame* selectCell(QPushButton* button, QLabel* label)
{
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("tableFrame"));
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addSpacing(10);
    layout->addWidget(button);
    layout->addSpacing(10);
    layout->addWidget(label);
    layout->addSpacing(10);
    return frame;
}

QFrame* progressCell(QProgressBar* progressBar, QLabel* label)
{
    auto* frame = new QFrame;
    frame->setObjectName(QStringLiteral("tableFrame"));
    auto* layout = new QHBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    progressBar->setFixedWidth(110);
    progressBar->setAlignment(Qt::AlignCenter);
    layout->addSpacing(10);
    layout->addWidget(progressBar);
    layout->addWidget(label);
    layout->addSpacing(10);
    return frame;
}

QLabel* label(const QTableWidget* table, int row, int column)
{
    QWidget* frame = table->cellWidget(row, column);
    return frame ? frame->findChild<QLabel*>() : nullptr;
}

QProgressBar* progressBar(const QTableWidget* table, int row)
{
    QWidget* frame = table->cellWidget(row, ProgressColumn);
    return frame ? frame->findChild<QProgressBar*>() : nullptr;
}

void showProgress(const QTableWidget* table, int row, int value, int maximum, const QString& text)
{
    if (QProgressBar* bar = progressBar(table, row)) {
        if (maximum >= 0)
            bar->setRange(0, maximum);
        bar->setValue(value);
    }
    if (QLabel* progressLabel = label(table, row, ProgressColumn))
        progressLabel->setText(text);
}

void showNotImported(const QTableWidget* table, int row)
{
    table->item(row, StateColumn)->setText(QStringLiteral("未导入"));
    showProgress(table, row, 0, -1, QStringLiteral("0/0"));
    if (QLabel* selectLabel = label(table, row, SelectColumn))
        selectLabel->setText(QStringLiteral("未选"));
}

void setAllChecks(const QTableWidget* table, Qt::CheckState state)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        if (QTableWidgetItem* item = table->item(row, NumberColumn))
            item->setCheckState(state);
    }
}

QList<int> checkedRows(const QTableWidget* table)
{
    QList<int> rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem* item = table->item(row, NumberColumn);
        if (item && item->checkState() == Qt::Checked)
            rows << row;
    }
    return rows;
}

void renumberRows(const QTableWidget* table)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        if (QWidget* frame = table->cellWidget(row, SelectColumn)) {
            if (auto* button = frame->findChild<QPushButton*>())
                button->setProperty("row", row);
        }
    }
}

} // namespace OrderTableCells
