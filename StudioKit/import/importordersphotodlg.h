#ifndef IMPORTORDERSPHOTODLG_H
#define IMPORTORDERSPHOTODLG_H

#include "import/ImportBatchRun.h"
#include "import/ImportDialogLayout.h"
#include "import/LyraCopyPool.h"
#include "import/LyraFileInfo.h"

#include <QDialog>
#include <QHash>
#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QPointer>
#include <QString>

class ImportOrderModel;
class QNetworkReply;
class SearchOrderWindow;

// The batch import window: one import type for the whole window, a table of
// orders taken from order pickers, and the chosen order's details.
//
// It owns the orders it lists: every model it accepts becomes its child and
// is deleted with the window. Pickers it opened are deleted with it too, so
// none keeps a pointer to a model that is gone.
//
// Its widgets are built and kept by ImportDialogLayout (with the info panel
// and the imported-file list), the rows of its order table by
// OrderTableCells, and the counters of a batch by ImportBatchRun; the slots
// here tie them to the orders, the worker and the service.
class importOrdersPhotoDlg : public QDialog
{
    Q_OBJECT
public:
    enum ImportTypeEnum {
        TypeOriginal = 0,
        TypeFinished = 1,
        TypeDesign = 2,
        TypeTrialVideo = 3,
        TypeRetouchedVideo = 4,
        TypeLyra = 5
    };

    explicit importOrdersPhotoDlg(QWidget* parent = nullptr);
    ~importOrdersPhotoDlg() override;

public slots:
    void getNewOrderSlot(QList<ImportOrderModel*> orderLst);

    // Called by name, queued, by the Lyra copy jobs.
    void importCopyLyraProgressSlot(int row, int currentCount, int totalCount, QString toDir);
    void importCopyLyraFailedSlot(int row, QString sourcePath, QString reason);
    void slt_lyrathreadmsg(QString str);

private slots:
    void importTypeSlot(int id);
    void ordersTableWgtClickedSlot(int row);
    void addNewOrderBtnSlot();
    void selectAllSlot();
    void cancelAllSlot();
    void delAllOrdersSlot();
    void showTableMouseRightButton(QPoint pos);
    void tbOpenOrderPathAction();
    void openOrderPhotoPathBtnSlot();
    void openOrderOriginPathBtnSlot();
    void selectImgBtnSlot();
    void isCanSelImgSlot(QNetworkReply* reply);
    void prefieOrderChangedSlot(QString text);
    void prefieFolderChangedSlot(QString text);
    void prefieImageChangedSlot(QString text);

    void importAllOrdersBtnSlot();
    void importProgressSlot(ushort imgCount, ushort totalCount);
    void finishedImportOrderSlot(ushort totalCount);
    void startImportCopyLyraProgressSlot(QList<LyraFileInfo> list, QString toDir);
    void finishedImportOrderLyraSlot(int row, QString picPath);
    void reImportBtnSlot();

    void upDataVideoUrlsBtnSlot();
    void httpUploadOrderInfoJson(QJsonObject infoJson);
    void httpUploadVideoListJson(QJsonObject infoJson);
    void httpUploadLyraInfoJson(QJsonObject infoJson);

    void handleImportImageError(uchar errorCode);
    void handleImportErrorMsg(QString reason);
    void lookDiskSizeSlot(QString picPath);
    void lookPicPathSlot();
    void handleImportLyraDirError();

    void showLstWgtContextMenuSlot(QPoint pos);
    void openImportedImgSlot();
    void deleteImportedImgSlot();

private:
    void refreshOrderTable();
    void clearInfoPanel();
    void openLocalFolder(const QString& path);

    void queryIsCanSelImg(ImportOrderModel* order);
    void selImg(int row, ImportOrderModel* order);
    void countImportedImages(ImportOrderModel* order);
    void countImportedVideos(ImportOrderModel* order);

    void setControlsEnabled(bool on);
    void resetBatchButton();
    bool isBatchRunning() const;
    void startImportOrder(ImportOrderModel* order, int row);
    void startFollowingOrder(int fromRow);
    void finishBatchIfDone();
    void showImportError(QString order, QString message);
    QString senderOrder() const;

    void updateFinishInfo(ImportOrderModel* model, QString importype, int picnumber, int picbacknumber);
    void updataVideoList(ImportOrderModel* model, QString videofiles, QString videopaths);
    void updateLyraInfo(ImportOrderModel* model, QString lyrapath);

    void showImportedFiles(QString path);
    void delListFiles(const QStringList& names);

    // Each selection query remembers its own order, so an answer always
    // opens the file dialog for the order whose button asked.
    QHash<QNetworkReply*, ImportOrderModel*> pendingQueries;
    ImportTypeEnum importType = TypeFinished;
    ImportOrderModel* curModel = nullptr;
    int curRow = -1;
    QList<ImportOrderModel*> orderList;
    QString lastDir;
    QList<QPointer<SearchOrderWindow>> pickers;

    // Counters of the running batch and the orders it has still to start.
    ImportBatchRun batch;
    // The Lyra copy jobs of this window; closing it drops none.
    LyraCopyPool lyraPool;

    // The widgets, built by ui.initUI.
    ImportDialogLayout ui;
};

#endif
