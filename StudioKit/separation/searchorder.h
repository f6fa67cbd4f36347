#ifndef SEARCHORDER_H
#define SEARCHORDER_H

#include "separation/BarCodeWatch.h"
#include "separation/OrderDeletionRun.h"
#include "separation/OrderSheetFields.h"
#include "separation/ExpressHtml.h"
#include "separation/ProductDirInfo.h"
#include "separation/SeparateMessage.h"
#include "separation/SeparationSearchDialog.h"

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThreadPool>

class QNetworkReply;
class SeparateThread;

// The design-separation tool "分件管理": searches the orders of the ticked
// stores and separates the ticked orders. Opened by the launcher with
// setToolName("分件管理"); "批量删除" switches it to the deletion mode.
class SearchOrder : public SeparationSearchDialog
{
    Q_OBJECT
public:
    explicit SearchOrder(QWidget* parent = nullptr);

    void setToolName(QString name);
    // The results of the current or last run, two per order.
    const QList<SeparateMessage>& separateMessages() const { return m_messageList; }
    // The order-sheet fields as the latest order detail left them.
    const OrderSheetFields& orderSheetFields() const { return sheetFields; }
    // The production sheet built here from the order's data; the run writes
    // the service's sheet instead.
    QString getHTMLString();

public slots:
    // Called by the separation jobs by name, queued.
    void fenjian_photoIsFileSlot_1(int num);
    void fenjian_finalPhotoSlot_2();
    void fenjian_delPhotoSlot_3();
    void fenjian_markPhoto_3_1();
    void fenjian_shejiPhotoSlot_3_2();
    void fenjian_productPhotoSlot_4(QString fullPicName);
    // Sent by a job before its own report when a copy did not reach its target.
    void fenjian_copyFailedSlot(QString source);
    void fenjian_analysisPhotoInfo();
    // Sent by the thumbnail job before "onFinishSaveThumb" when some failed.
    void onSheetThumbsNotWritten(QStringList paths);
    void onFinishSaveThumb();

protected:
    bool holdsOrders() const override { return isSeparating; }
    void closeEvent(QCloseEvent* event) override;

private slots:
    void queryProductsCallBack(QNetworkReply* reply);
    void queryPicInfoCallBack(QNetworkReply* reply);
    void queryOrderInfoCallBack(QNetworkReply* reply);
    void on_pushButton_separate_clicked();
    // The phone code was accepted: delete the ticked orders' folders.
    void startDel();
    void onFinishSeparateImage();

private:
    // The deletion mode's button: the phone-code check comes first.
    void askForDeletion();

    bool beginOrderSeparation();
    void postQueryProducts(QString orderPhotoId);
    void chooseRootAndStart();
    void startSeparatePhotos();
    void prepareOrderSheet();
    void startDownloadBar();
    void getPicInfo();
    void postQueryOrderInfo();
    void saveExpressPdf();
    void saveHTML();
    // The record of the order being separated that collects its failures.
    SeparateMessage& orderRecord();
    void separateNextOrder();
    void endRun();
    // Ends the run after a failure; the order's row is taken again next time.
    void stopRun();
    // One level, as the run makes its own folders; a failure stops the run
    // with a box naming the folder.
    bool createRunFolder(const QString& folder);
    void post(const QString& url, const QByteArray& body, void (SearchOrder::*replySlot)(QNetworkReply*));
    void startJob(SeparateThread* job, int priority = 0);
    void preparePool();

    QList<ProductDirInfo> productDirList;
    QList<SeparateMessage> m_messageList;
    SeparateMessage m_message;
    ExpressHtml expressHtml;
    QString expressHtmlText;
    QString separatePath;
    QString separateOrderPath;
    int readyNum = 0;
    int checkOrdersNum = 0;
    int doneOrdersNum = 0;
    int fenjian_finalPhotoOkNum = 0;
    int fenjian_photoCheckNum = 0;
    int fenjian_photoExistNum = 0;
    int fenjian_photoIsFileNum = 0;
    int fenjian_delPhotoOkNum = 0;
    int fenjian_markPhotoOkNum = 0;
    int fenjian_productSumNum = 0;
    int progressBeforeProducts = 0;
    int fenjian_productOkNum = 0;
    int fenjian_shejiPhotoOkNum = 0;
    QStringList finalPhotoList;
    QStringList delPhotoList;
    QStringList markPhotoList;
    QStringList shejiPhotoList;
    bool isProductsDone = false;

    // The order's production-sheet material.
    OrderSheetFields sheetFields;
    QString barCodeUrl;
    QString barPath;
    BarCodeWatch m_barCodes;
    QString orderPicHtml;
    int goodsPhotoTotal = 0;

    // Row of orderList the run is working on; -1 between orders.
    int m_runRow = -1;
    QStringList m_failedCopies; // of the order being separated
    // The window's own jobs: closing drops only these.
    QThreadPool m_pool;

    QPointer<OrderDeletionRun> m_deletion;
};

#endif
