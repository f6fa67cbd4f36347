#ifndef SPLITAFTERSAMPLE_H
#define SPLITAFTERSAMPLE_H

#include "separation/BarCodeWatch.h"
#include "separation/ExpressHtml.h"
#include "separation/OrderSearchType.h"
#include "separation/SeparateMessage.h"
#include "separation/SeparationSearchDialog.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <memory>

class CallbackGuard;
class QNetworkReply;

// The after-sample separation tool "样后分件管理": searches the orders of the
// ticked stores by one of eleven types and separates the ticked orders into
// dated folders under a chosen root. Opened by the launcher, which shows it
// maximised and then calls setToolName.
class SplitAfterSample : public SeparationSearchDialog
{
    Q_OBJECT
public:
    explicit SplitAfterSample(QWidget* parent = nullptr);
    ~SplitAfterSample() override;

    // The search types of the combo, in combo order. The Lyra separation
    // window searches with the same rows.
    static const QList<OrderSearchType>& afterSampleSearchTypes();

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
    bool holdsOrders() const override { return isSeparating; }
    void closeEvent(QCloseEvent* event) override;

private slots:
    void on_pushButton_separate_clicked();
    void queryProductsCallBack(QNetworkReply* reply);
    void queryPicInfoCallBack(QNetworkReply* reply);
    void queryOrderInfoCallBack(QNetworkReply* reply);

private:
    // Posts with a manager of its own whose reply goes to `callBack`.
    void post(const QString& url, const QByteArray& body, void (SplitAfterSample::*callBack)(QNetworkReply*));
    // A reply of the run: false (the run stopped, or the window closed)
    // unless it is good, with the usual boxes.
    bool readRunReply(QNetworkReply* reply, QJsonObject* object, const QString& failureText);

    bool beginOrderSeparation();
    void postQueryProducts(QString orderPhotoId);
    void startSeparatePhotos();
    void preparePool();
    void prepareOrderSheet();
    void startDownloadBar();
    void startDownload(QString url, QString filePath);
    void getPicInfo();
    void postQueryOrderInfo();
    void copyMarkedPictures();
    void saveExpressPdf();
    void saveHTML();
    void separateNextOrder();
    // The run is over: rows free again, progress hidden.
    void endRun();
    // A failure stops the run at the order it took, which the next start takes again.
    void stopRun();

    // Open from construction until the window closes; the run's jobs report
    // through it and never into a closed or deleted window.
    std::shared_ptr<CallbackGuard> isWindowShow;
    int checkedOrderCount = 0;
    int finishedOrderCount = 0;
    int progressCount = 0;

    ExpressHtml expressHtml;
    QString courierHtml;
    QString separateRoot; // the order's root, for the summary's save name
    QString separatePath;
    QStringList finalPhotoList;
    int photoCheckCount = 0;
    int photoCheckReplyCount = 0;
    int finalCopyReplyCount = 0;
    int m_runRow = -1; // the order being separated
    QStringList m_failedCopies; // of the order being separated
    QStringList m_unwrittenFiles; // sheets and marked pictures of the order
    QString barCodeUrl;
    QString barPath;
    BarCodeWatch m_barCodes;
    QString sheetHtml;
    QStringList picsMarkArr; // names of the order's marked pictures
    QList<SeparateMessage> m_messageList;

    // The run's jobs; closing drops only what this window queued.
    QThreadPool m_pool;
};

#endif
