#include "import/OrderTableCells.h"

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

} // namespace OrderTableCells
