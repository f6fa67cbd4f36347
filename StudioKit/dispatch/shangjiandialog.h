#ifndef SHANGJIANDIALOG_H
#define SHANGJIANDIALOG_H

#include "dispatch/ShangJianLeftInfo.h"
#include "dispatch/ShangJianRightInfo.h"

#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QString>

class QNetworkReply;
class QStandardItemModel;
namespace Ui { class ShangJianDialog; }

// 上件管理: records the 上件 step of orders with the service, by scan or by
// double-clicking an order found by its number; keeps the registered orders
// and those of a keyword search in the right list.
class ShangJianDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ShangJianDialog(QWidget* parent = nullptr);
    ~ShangJianDialog() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private slots:
    void on_pushButton_clicked();
    void on_pushButton_3_clicked();
    void on_pushButton_2_clicked();
    void on_comboBox_currentIndexChanged(int index);
    void on_newDate(QString date);
    void queryCallBack(QNetworkReply* reply);
    void queryShangjianCallBack(QNetworkReply* reply);
    void on_tableView_left_doubleClicked(QModelIndex index);

private:
    void initUI();
    void askExcelFileName(QWidget* parent, QString name);
    void showCalendar();
    void fillLeftTable();
    void fillRightTable();
    // Posts an order-list request whose orders go to the left list or the right.
    void postDataFunc(QByteArray& body, bool toLeft);
    void queryOrderByOrderNumber(QString keyword, bool toLeft);
    void queryOrderByShotDate(QString keyword);
    void queryOrderBySelectDate(QString keyword);
    void queryOrderByBookDate(QString keyword);
    void queryOrderByShipDate(QString keyword);
    void queryOrderByShangjianDate(QString keyword);
    void queryOrderByName(QString keyword);
    void queryOrderByPhone(QString keyword);
    void postShangJian(QString order_photo_id, bool fromScan);
    void registerScanned();
    void mergeRightRow(const ShangJianRightInfo& row);

    Ui::ShangJianDialog* ui;
    QStandardItemModel* leftModel;
    QStandardItemModel* rightModel;
    QList<ShangJianLeftInfo> leftDataList;
    QList<ShangJianRightInfo> rightDataList;
};

#endif
