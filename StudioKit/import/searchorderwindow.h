#ifndef SEARCHORDERWINDOW_H
#define SEARCHORDERWINDOW_H

#include "core/SearchBody.h"

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QPoint>
#include <QString>

class ImportOrderModel;
class QAction;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QStandardItem;
class QStandardItemModel;
namespace Ui { class SearchOrderWindow; }

// The order picker of the batch import: searches the order list and hands the
// ticked (or double-clicked) orders over as import models. It deletes the
// models that no import dialog adopted; adopted ones belong to the dialog.
class SearchOrderWindow : public QDialog
{
    Q_OBJECT
public:
    explicit SearchOrderWindow(QWidget* parent = nullptr);
    ~SearchOrderWindow() override;

signals:
    void closeSignal();
    void addSelectOrderSigl(QList<ImportOrderModel*> selectLst);

private slots:
    void clickCancel();
    void clickSearch();
    void queryCallBack(QNetworkReply* reply);
    void openOrderDir();
    void showMouseRightButton(QPoint pos);
    void on_selectPathButton_clicked();
    void calendarClickAction();
    void addOrdersBtnSlot();
    void selectAllOrderSlot(QStandardItem* item);
    void on_tableView_doubleClicked(const QModelIndex& index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void initUI();
    void loadSavedPath();
    void fillOrderTable();
    void postDataFunc(QByteArray& body);
    void searchByOrderNumber(QString keyword);
    void searchByName(QString keyword);
    void searchByPhone(QString keyword);
    void searchByShotDate(QString keyword);
    void searchBySelectDate(QString keyword);
    void searchByBookDate(QString keyword);
    void searchByShipDate(QString keyword);
    void searchByShangjianDate(QString keyword);
    void searchByDesignAssignDate(QString keyword);
    void postSearch(int searchType, const QString& keyword, const SearchKeyOrder& order);
    void backToIdle();
    void handOver();
    // Replaces the result list, deleting earlier models nobody adopted.
    void replaceOrderModels(const QList<ImportOrderModel*>& models);

    QAction* openDirAction;
    QMenu* rightMenu;
    QList<ImportOrderModel*> orderModels;
    QList<ImportOrderModel*> selectedModels;
    Ui::SearchOrderWindow* ui;
    QStandardItemModel* itemModel;
    QNetworkAccessManager* manager = nullptr;
};

#endif
