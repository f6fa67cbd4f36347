#ifndef SPLITAFTERSAMPLE_H
#define SPLITAFTERSAMPLE_H

#include "core/OrderItemInfo.h"
#include "separation/ExpressHtml.h"
#include "separation/OrderSearchType.h"
#include "separation/SeparateMessage.h"
#include "separation/StoreSelection.h"

#include <QByteArray>
#include <QJsonObject>
#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <memory>

class CallbackGuard;
class OrderSearchForm;
class OrderTable;
class QAction;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QStandardItemModel;

// The after-sample separation tool "样后分件管理": searches the orders of the
// ticked stores by one of eleven types and separates the ticked orders into
// dated folders under a chosen root. Opened by the launcher, which shows it
// maximised and then calls setToolName.
class SplitAfterSample : public QDialog
{
    Q_OBJECT
    // The name the launcher gave the tool, for those who check it.
    Q_PROPERTY(QString toolName MEMBER toolName)
public:
    explicit SplitAfterSample(QWidget* parent = nullptr);
    ~SplitAfterSample() override;

    // The search types of the combo, in combo order. The Lyra separation
    // window searches with the same rows.
    static const QList<OrderSearchType>& afterSampleSearchTypes();

    void setToolName(QString name);
    bool hasCheckedOrder();
    void fillOrderTable();
    void loadSeparatePath();

public slots:
    // Called by the run's jobs by name, queued.
    void fenjian_photoIsFileSlot_1(int num);
    void fenjian_finalPhotoSlot_2();
    void onFinishSeparateImage();
    // Sent by a job before its own report when a copy did not reach its target.
    void fenjian_copyFailedSlot(QString source);
    void fenjian_analysisPhotoInfo();
    void onFinishSaveThumb();

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
    void queryProductsCallBack(QNetworkReply* reply);
    void queryPicInfoCallBack(QNetworkReply* reply);
    void queryOrderInfoCallBack(QNetworkReply* reply);

private:
    void postDataFunc(QByteArray& body);
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

    QStringList searchTypes;
    // Open from construction until the window closes; the run's jobs report
    // through it and never into a closed or deleted window.
    std::shared_ptr<CallbackGuard> isWindowShow;
    QAction* openDirAction = nullptr;
    QMenu* contextMenu = nullptr;
    QList<OrderItemInfo> m_orderList;
    OrderSearchForm* ui;
    QStandardItemModel* model = nullptr;
    QNetworkAccessManager* manager = nullptr;
    int checkedOrderCount = 0;
    int finishedOrderCount = 0;
    int progressCount = 0;
    QString toolName;
    bool isSeparating = false;

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
    QString sheetHtml;
    QStringList picsMarkArr; // names of the order's marked pictures
    QList<SeparateMessage> m_messageList;

    StoreSelection m_stores;
    std::unique_ptr<OrderTable> m_table;
    // The run's jobs; closing drops only what this window queued.
    QThreadPool m_pool;
};

#endif
