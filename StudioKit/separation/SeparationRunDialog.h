#ifndef SEPARATIONRUNDIALOG_H
#define SEPARATIONRUNDIALOG_H

#include "separation/BarCodeWatch.h"
#include "separation/ExpressHtml.h"
#include "separation/SeparateMessage.h"
#include "separation/SeparationSearchDialog.h"
#include "separation/SheetFiles.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <functional>
#include <memory>

class CallbackGuard;
class FormBody;
class OrderPicRequest;
class QNetworkReply;

// The order-by-order separation run of the design and after-sample tools:
// the products request, the order's folders, the check and copy of its
// finished photos, the bar code, the picture information, the thumbnails,
// the order detail with its sheets, and the summary at the end.
//
// Use: the window calls startRun() from its separate button and fills in
// the steps that differ (its work folders, its extra photo stages after the
// finished photos, its request options, what it keeps of the order detail).
class SeparationRunDialog : public SeparationSearchDialog
{
    Q_OBJECT
public:
    ~SeparationRunDialog() override;

    // The results of the current or last run.
    const QList<SeparateMessage>& separateMessages() const { return m_messageList; }

public slots:
    // Called by the run's jobs by name, queued.
    void fenjian_photoIsFileSlot_1(int num);
    void fenjian_finalPhotoSlot_2();
    void onFinishSeparateImage();
    // Sent by a job before its own report when a copy did not reach its target.
    void fenjian_copyFailedSlot(QString source);
    void fenjian_analysisPhotoInfo();
    // Sent by the thumbnail job before "onFinishSaveThumb" when some failed.
    void onSheetThumbsNotWritten(QStringList paths);
    void onFinishSaveThumb();

protected:
    explicit SeparationRunDialog(QWidget* parent);

    bool holdsOrders() const override { return isSeparating; }
    void closeEvent(QCloseEvent* event) override;

    // The start checks, then the first ticked order.
    void startRun();

    // The order's folders below its dated customer folder `separatePath`;
    // false stops the run.
    virtual bool createWorkFolders() = 0;
    virtual void addProductsOptions(FormBody& body) const;
    virtual void readProducts(const QJsonObject& reply) = 0;
    // Lists the window's own photos to copy after the finished ones and
    // returns how many progress units they take.
    virtual int listOrderPhotos() = 0;
    virtual void finalPhotosCopied() = 0;
    virtual void addPicOptions(OrderPicRequest& request) const = 0;
    virtual void readOrderInfo(const QJsonObject& reply) = 0;
    virtual SheetFiles::PageSetup expressPageSetup() const = 0;
    // Where the order's failures go.
    virtual SeparateMessage& orderRecord() = 0;
    // The order's sheets are written; its record is complete.
    virtual void orderDone() {}
    // The root the summary offers to save its text under.
    virtual QString summaryRoot() const { return separateRoot; }
    // A failure stops the run at the order it took, which the next start takes again.
    virtual void stopRun();

    // The bar code's failure goes to the record at `recordIndex`.
    void prepareOrderSheet(int recordIndex);
    void startJob(QRunnable* job, int priority = 0);
    // Drops the jobs of an earlier stage that have not started.
    void preparePool();

    // Counts one report of a stage's jobs: true once all are in. A call on an
    // empty list comes from the stage before and goes on at once.
    static bool countReport(int* done, const QStringList& list, const std::function<void()>& unit);

    QList<SeparateMessage> m_messageList;
    QString separateRoot; // the order's root as chosen
    QString separatePath;
    QStringList m_failedCopies; // of the order being separated
    QStringList finalPhotoList;
    QString barPath;
    QString sheetHtml;
    int readyNum = 0;
    int m_runRow = -1; // the order being separated; -1 between orders
    // The run's jobs; closing drops only what this window queued.
    QThreadPool m_pool;

private slots:
    void queryProductsCallBack(QNetworkReply* reply);
    void queryPicInfoCallBack(QNetworkReply* reply);
    void queryOrderInfoCallBack(QNetworkReply* reply);

private:
    // Posts with a manager of its own, as every step of the run makes its own.
    void post(const QString& url, const QByteArray& body, void (SeparationRunDialog::*replySlot)(QNetworkReply*));
    // A reply of the run: false (the run stopped, or the window closed)
    // unless it is good, with the usual boxes.
    bool readRunReply(QNetworkReply* reply, QJsonObject* object, const QString& failureText);

    bool beginOrderSeparation();
    void postQueryProducts(QString orderPhotoId);
    void startSeparatePhotos();
    void startDownloadBar(int recordIndex);
    void getPicInfo();
    void postQueryOrderInfo();
    void saveExpressPdf();
    void saveHTML();
    void separateNextOrder();
    void showFinishedOrders();
    // The run is over: rows free again, progress hidden.
    void endRun();

    // Open from construction until the window closes; the run's jobs report
    // through it and never into a closed or deleted window.
    std::shared_ptr<CallbackGuard> isWindowShow;
    int checkedOrderCount = 0;
    int finishedOrderCount = 0;
    int photoCheckCount = 0;
    int photoCheckReplyCount = 0;
    int finalCopyReplyCount = 0;
    ExpressHtml expressHtml;
    QString courierHtml;
    QString barCodeUrl;
    BarCodeWatch m_barCodes;
};

#endif
