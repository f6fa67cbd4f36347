#ifndef ORDERDELETIONRUN_H
#define ORDERDELETIONRUN_H

#include "core/OrderItemInfo.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QWidget;

// One run of deleting the folders of ticked orders, shared by the windows that
// delete order photos: one worker thread per order whose folder exists, all at
// once, and one "order_photo_del" report per removed folder. A worker removes
// only the real order folder that the order's photo roots allow (see
// PhotoRoots::deletableOrderFolder); any other path stays, is not reported
// and counts as not deleted in the end message.
//
// The run has no parent and outlives the window that started it, so closing
// the window loses no report; it frees itself once its last worker has ended
// and its last report is answered. The window's progress widgets are watched
// through guarded pointers.
//
// Use, in the window's startDel():
//     if (!OrderDeletionRun::refuseWhileDeleting(m_deletion))
//         m_deletion = OrderDeletionRun::start(orderList, {ui->groupBox, ui->progressBar, ui->label});
class OrderDeletionRun : public QObject
{
    Q_OBJECT
public:
    struct Progress {
        QPointer<QWidget> group; // holds the bar and the label
        QPointer<QProgressBar> bar;
        QPointer<QLabel> label;
    };

    // True, after saying so, while `run` still has folders being deleted.
    static bool refuseWhileDeleting(const QPointer<OrderDeletionRun>& run);
    // Starts a worker for every ticked order whose folder exists; without
    // one, says "订单路径不存在" and gives nullptr.
    static OrderDeletionRun* start(const QList<OrderItemInfo>& orders, const Progress& progress);

    bool isDeleting() const { return finishedNum < checkOrdersNum; }

private slots:
    void submitDeleteMessageCallBack(QNetworkReply* reply);

private:
    explicit OrderDeletionRun(const Progress& progress);

    // A worker removed its folder.
    void updatedata(QString mOrderid, QString deleteDir);
    // Posts the report of one removed folder.
    void submitDeleteMessage(QString orderphotoid, QString path);
    // A worker ended, whether or not its folder went.
    void workerFinished();
    void endRun();
    // A "警告" box; the run is not freed while one is open.
    void tell(const QString& text);
    void freeWhenIdle();

    Progress progress;
    QNetworkAccessManager* manager;
    int checkOrdersNum = 0;
    int deletenum = 0;
    int finishedNum = 0;
    int pendingReports = 0;
    int openBoxes = 0;
};

#endif
