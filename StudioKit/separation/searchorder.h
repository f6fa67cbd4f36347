#ifndef SEARCHORDER_H
#define SEARCHORDER_H

#include "separation/OrderDeletionRun.h"
#include "separation/OrderSheetFields.h"
#include "separation/ProductDirInfo.h"
#include "separation/SeparateMessage.h"
#include "separation/SeparationRunDialog.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

// The design-separation tool "分件管理": searches the orders of the ticked
// stores and separates the ticked orders. Opened by the launcher with
// setToolName("分件管理"); "批量删除" switches it to the deletion mode.
class SearchOrder : public SeparationRunDialog
{
    Q_OBJECT
public:
    explicit SearchOrder(QWidget* parent = nullptr);

    void setToolName(QString name);
    // The order-sheet fields as the latest order detail left them.
    const OrderSheetFields& orderSheetFields() const { return sheetFields; }
    // The production sheet built here from the order's data; the run writes
    // the service's sheet instead.
    QString getHTMLString();

public slots:
    // Called by the separation jobs by name, queued.
    void fenjian_delPhotoSlot_3();
    void fenjian_markPhoto_3_1();
    void fenjian_shejiPhotoSlot_3_2();
    void fenjian_productPhotoSlot_4(QString fullPicName);

protected:
    bool createWorkFolders() override;
    void addProductsOptions(FormBody& body) const override;
    void readProducts(const QJsonObject& reply) override;
    int listOrderPhotos() override;
    void finalPhotosCopied() override;
    void addPicOptions(OrderPicRequest& request) const override;
    void readOrderInfo(const QJsonObject& reply) override;
    SheetFiles::PageSetup expressPageSetup() const override { return SheetFiles::PageSetup::A4; }
    // The order's last record so far.
    SeparateMessage& orderRecord() override;
    QString summaryRoot() const override;
    void stopRun() override;

private slots:
    void on_pushButton_separate_clicked();
    // The phone code was accepted: delete the ticked orders' folders.
    void startDel();

private:
    // The deletion mode's button: the phone-code check comes first.
    void askForDeletion();

    QList<ProductDirInfo> productDirList;
    SeparateMessage m_message;
    QString separateOrderPath;
    int fenjian_delPhotoOkNum = 0;
    int fenjian_markPhotoOkNum = 0;
    int fenjian_productSumNum = 0;
    int progressBeforeProducts = 0;
    int fenjian_productOkNum = 0;
    int fenjian_shejiPhotoOkNum = 0;
    QStringList delPhotoList;
    QStringList markPhotoList;
    QStringList shejiPhotoList;
    bool isProductsDone = false;

    // The order's production-sheet material.
    OrderSheetFields sheetFields;
    int goodsPhotoTotal = 0;

    QPointer<OrderDeletionRun> m_deletion;
};

#endif
