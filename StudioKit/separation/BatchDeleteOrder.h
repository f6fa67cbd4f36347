#ifndef BATCHDELETEORDER_H
#define BATCHDELETEORDER_H

#include "core/OrderItemInfo.h"
#include "separation/OrderDeletionRun.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QPoint>
#include <QPointer>

#include <memory>

class OrderTable;
class QAction;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QStandardItemModel;

namespace Ui {
class BatchDeleteOrder;
}

// The batch-delete tool "批量删除": searches the shop's orders closed in a
// date range and deletes the folders of the ticked ones, each deletion
// reported to the service. Opened by the launcher, deletes itself on close.
class BatchDeleteOrder : public QDialog
{
    Q_OBJECT
public:
    explicit BatchDeleteOrder(QWidget* parent = nullptr);
    ~BatchDeleteOrder() override;

    bool hasCheckedOrder();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void clickCancel();
    void clickSearch();
    void queryCallBack(QNetworkReply* reply);
    void showMouseRightButton(QPoint pos);
    void on_tableView_clicked(QModelIndex index);
    void on_pushButton_separate_clicked();
    void on_pushButton_selectAll_clicked();
    void on_pushButton_selectOpposite_clicked();
    void startDel();
    void openOrderDir();

private:
    void postDataFunc(QByteArray& body);
    void fillOrderTable();

    bool isSearching = false;
    QAction* openDirAction;
    QMenu* contextMenu;
    QList<OrderItemInfo> orderList;
    QStandardItemModel* model;
    QNetworkAccessManager* manager = nullptr;
    Ui::BatchDeleteOrder* ui;
    std::unique_ptr<OrderTable> m_table;
    QPointer<OrderDeletionRun> m_deletion;
};

#endif
