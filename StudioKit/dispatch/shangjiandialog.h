#ifndef SHANGJIANDIALOG_H
#define SHANGJIANDIALOG_H

#include "dispatch/DispatchSearchDialog.h"
#include "dispatch/ShangJianLeftInfo.h"
#include "dispatch/ShangJianRightInfo.h"

#include <QList>
#include <QModelIndex>
#include <QString>

class QNetworkReply;
class QStandardItemModel;
namespace Ui { class ShangJianDialog; }

// 上件管理: records the 上件 step of orders with the service, by scan or by
// double-clicking an order found by its number; keeps the registered orders
// and those of a keyword search in the right list.
class ShangJianDialog : public DispatchSearchDialog
{
    Q_OBJECT
public:
    explicit ShangJianDialog(QWidget* parent = nullptr);
    ~ShangJianDialog() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Registers the scanned "order_photo_id".
    void lookUpScanned(const QString& scanned) override;
    void searchOrderNumber(const QString& typed) override;
    void postKeywordSearch(QByteArray body) override;

private slots:
    void on_pushButton_3_clicked();
    void queryCallBack(QNetworkReply* reply);
    void queryShangjianCallBack(QNetworkReply* reply);
    void on_tableView_left_doubleClicked(QModelIndex index);

private:
    void initUI();
    void askExcelFileName(QWidget* parent, QString name);
    void fillLeftTable();
    void fillRightTable();
    // Posts an order-list request whose orders go to the left list or the right.
    void postDataFunc(QByteArray& body, bool toLeft);
    void postShangJian(QString order_photo_id, bool fromScan);
    void mergeRightRow(const ShangJianRightInfo& row);

    Ui::ShangJianDialog* ui;
    QStandardItemModel* leftModel;
    QStandardItemModel* rightModel;
    QList<ShangJianLeftInfo> leftDataList;
    QList<ShangJianRightInfo> rightDataList;
};

#endif
