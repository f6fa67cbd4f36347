#ifndef ORDERSEARCHDIALOG_H
#define ORDERSEARCHDIALOG_H

#include "core/OrderItemInfo.h"
#include "separation/OrderTable.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QPoint>
#include <QString>
#include <QVector>

#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QPushButton;
class QStandardItemModel;
class QTableView;

// What the order search windows have in common: the orders of the last
// search and their table, the table's folder menu, the tick buttons, the
// search request and its reply.
//
// Use: derive, build the form on the window in the derived constructor (so
// that the on_… slots here and in the window are connected by name), then
// call setUpOrderSearch with the form's widgets. The window implements
// clickSearch and hands its body to postDataFunc.
class OrderSearchDialog : public QDialog
{
    Q_OBJECT
public:
    ~OrderSearchDialog() override;

    bool hasCheckedOrder();
    void fillOrderTable();

protected:
    // The form's widgets this class works with, by their object names.
    struct SearchWidgets {
        QTableView* tableView;
        QPushButton* searchButton;
        QPushButton* cancelButton;
        QGroupBox* groupBox;
        QProgressBar* progressBar;
        QLabel* label;
        QLabel* label_finishOrdersNum;
    };
    // Where the window's searches go and what its order rows carry.
    struct SearchService {
        QString url;
        OrderItemInfo::Tool tool;
    };

    explicit OrderSearchDialog(QWidget* parent);

    // Builds the table and its menu, connects the search and cancel buttons
    // and hides the progress widgets.
    void setUpOrderSearch(const SearchWidgets& widgets, const QVector<OrderTable::Column>& columns,
                          const SearchService& service);
    // Posts a search; the button shows "检索中..." until the reply is in.
    void postDataFunc(QByteArray& body);
    bool isSearching() const { return m_searching; }
    // False with "请选择订单" when no row is ticked.
    bool requireCheckedOrder();
    // A run that works through the rows keeps them: a search reply then
    // leaves them alone.
    virtual bool holdsOrders() const { return false; }

    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    QList<OrderItemInfo> orderList;
    QStandardItemModel* model = nullptr;
    // The manager of the latest request; each request makes its own.
    QNetworkAccessManager* manager = nullptr;
    std::unique_ptr<OrderTable> m_table;

protected slots:
    virtual void clickSearch() = 0;
    void clickCancel();
    void queryCallBack(QNetworkReply* reply);
    void showMouseRightButton(QPoint pos);
    void openOrderDir();
    void on_tableView_clicked(QModelIndex index);
    void on_pushButton_selectAll_clicked();
    void on_pushButton_selectOpposite_clicked();

private:
    void showSearching(bool searching);

    QAction* openDirAction = nullptr;
    QMenu* contextMenu = nullptr;
    QPushButton* m_searchButton = nullptr;
    SearchService m_service;
    bool m_searching = false;
};

#endif
