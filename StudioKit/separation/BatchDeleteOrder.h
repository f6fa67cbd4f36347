#ifndef BATCHDELETEORDER_H
#define BATCHDELETEORDER_H

#include "separation/OrderDeletionRun.h"
#include "separation/OrderSearchDialog.h"

#include <QPointer>

namespace Ui {
class BatchDeleteOrder;
}

// The batch-delete tool "批量删除": searches the shop's orders closed in a
// date range and deletes the folders of the ticked ones, each deletion
// reported to the service. Opened by the launcher, deletes itself on close.
class BatchDeleteOrder : public OrderSearchDialog
{
    Q_OBJECT
public:
    explicit BatchDeleteOrder(QWidget* parent = nullptr);
    ~BatchDeleteOrder() override;

protected:
    void clickSearch() override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void on_pushButton_separate_clicked();
    void startDel();

private:
    Ui::BatchDeleteOrder* ui;
    QPointer<OrderDeletionRun> m_deletion;
};

#endif
