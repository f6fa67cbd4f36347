#ifndef FAJIANDIALOG_H
#define FAJIANDIALOG_H

#include "dispatch/DispatchSearchDialog.h"
#include "dispatch/FaJianGoodsInfo.h"
#include "dispatch/FaJianOrderRow.h"
#include "dispatch/FactoryEntry.h"
#include "dispatch/PrintShopEntry.h"
#include "files/CodeImageInfo.h"

#include <QList>
#include <QModelIndex>
#include <QString>

class QComboBox;
class QNetworkReply;
class QStandardItemModel;
namespace Ui { class FaJianDialog; }

// 发件管理: looks up orders, assigns each goods line of the chosen order to
// a print shop and a finishing factory, submits that dispatch and prints a
// bar-code label per ticked line on the default printer.
class FaJianDialog : public DispatchSearchDialog
{
    Q_OBJECT
public:
    explicit FaJianDialog(QWidget* parent = nullptr);
    ~FaJianDialog() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Looks the scanned order up by its id.
    void lookUpScanned(const QString& scanned) override;
    void searchOrderNumber(const QString& typed) override;
    // A keyword search starts the lists afresh and trims its keyword.
    QString takeKeyword() override;
    void postKeywordSearch(QByteArray body) override;

private slots:
    void on_pushButton_excel_clicked();
    void queryCallBack(QNetworkReply* reply);
    void queryProductsCallBack(QNetworkReply* reply);
    void querySendToShopCallBack(QNetworkReply* reply);
    void on_tableView_left_clicked(QModelIndex index);
    void on_pushButton_submit_clicked();
    void on_pushButton_print_clicked();
    void queryOrderIDCallBack(QNetworkReply* reply);
    void setAllPrintShop(int index);
    void setAllFactory(int index);

private:
    void initUI();
    void fillLeftTable();
    void askExcelFileName(QWidget* parent);
    void queryOrderById(QString orderid);
    void postDataFunc(QByteArray& body);
    int getRowOfOrder(QString orderid);
    void postQueryProducts(QString orderid);
    void refreshRightTable(int page);
    QString getCodeImagePath(QString id);
    void printCodeImages(QList<CodeImageInfo> labels);
    void printHtml(QString html);

    // Appends an order unless its booking number is listed; its goods list waits.
    void addOrder(const FaJianOrderRow& row);
    void fillChoiceLists(const QJsonObject& reply, bool withPrompt);
    QComboBox* goodsCombo(int row, int column) const;
    void setAllCombos(int column, int index);
    // Once per press, whichever step finds no printer to use.
    void warnNoPrinter();

    Ui::FaJianDialog* ui;
    QStandardItemModel* leftModel;
    QList<FaJianOrderRow> orderList;
    QList<FaJianGoodsInfo> shownGoods;
    // One list per order of orderList; an empty list waits for its reply.
    QList<QList<FaJianGoodsInfo>> goodsByOrder;
    QList<PrintShopEntry> printShopList;
    QList<FactoryEntry> factoryList;
    // The order the goods table shows.
    int currentOrderIndex = 0;
    QModelIndex lastClickedIndex;
};

#endif
