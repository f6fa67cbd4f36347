#ifndef SEARCHORDER_H
#define SEARCHORDER_H

#include "core/OrderItemInfo.h"
#include "separation/OrderDeletionRun.h"
#include "separation/StoreSelection.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class OrderSearchForm;
class OrderTable;
class QAction;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QStandardItemModel;

// The design-separation tool "分件管理": searches the orders of the ticked
// stores and separates the ticked orders. Opened by the launcher with
// setToolName("分件管理"); "批量删除" switches it to the deletion mode.
class SearchOrder : public QDialog
{
    Q_OBJECT
public:
    explicit SearchOrder(QWidget* parent = nullptr);
    ~SearchOrder() override;

    void setToolName(QString name);
    bool hasCheckedOrder();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void clickCancel();
    void clickSearch();
    void queryCallBack(QNetworkReply* reply);
    void openOrderDir();
    void showMouseRightButton(QPoint pos);
    void on_selectPathButton_clicked();
    void on_tableView_clicked(QModelIndex index);
    void on_pushButton_selectAll_clicked();
    void on_pushButton_selectOpposite_clicked();
    void on_pushButton_separate_clicked();
    // The phone code was accepted: delete the ticked orders' folders.
    void startDel();

private:
    void postDataFunc(QByteArray& body);
    void fillOrderTable();
    void backToIdle();
    // The deletion mode's button: the phone-code check comes first.
    void askForDeletion();

    QStringList searchTypeList;
    // Read by separation jobs on pool threads; false once the window closes.
    std::atomic<bool> isWindowShow{false};
    QAction* openDirAction = nullptr;
    QMenu* contextMenu = nullptr;
    QList<OrderItemInfo> orderList;
    OrderSearchForm* ui;
    QStandardItemModel* model = nullptr;
    QNetworkAccessManager* manager = nullptr;
    QString toolName;
    bool isSeparating = false;

    StoreSelection m_stores;
    std::unique_ptr<OrderTable> m_table;
    QPointer<OrderDeletionRun> m_deletion;
};

#endif
