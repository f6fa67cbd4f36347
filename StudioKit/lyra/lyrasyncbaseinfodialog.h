#ifndef LYRASYNCBASEINFODIALOG_H
#define LYRASYNCBASEINFODIALOG_H

#include <QDialog>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class Lyrathread;
class QNetworkAccessManager;
class QNetworkReply;
namespace Ui { class LyraSyncBaseInfoDialog; }

// Pushes the shop's whole staff or product list into the Lyra folders of
// the given stores: fetches the list from the service, then a Lyrathread
// writes it as XML into each store's folder and reports every store.
// The caller sets `shopId` and `stores` (the reachable stores) before it
// shows the dialog.
class LyraSyncBaseInfoDialog : public QDialog
{
    Q_OBJECT
public:
    explicit LyraSyncBaseInfoDialog(QWidget* parent = nullptr);
    ~LyraSyncBaseInfoDialog() override;

    QString shopId;
    QJsonArray stores;

private slots:
    void on_pb_syncpeo_clicked();
    void on_pb_syncpro_clicked();
    void on_pb_retry_clicked();
    void on_pb_cancel_clicked();

public slots:
    void slt_threademit(QJsonObject objc);

private slots:
    void query_shopdatas(QNetworkReply* reply);

private:
    void req_datas();
    // Stops the current worker, waits for it and puts a fresh one in its place.
    void replaceWorker();
    void failRequest(const QString& message);
    void showIdleButtons();
    QString finalLine() const;

    QNetworkAccessManager* manager;
    int dataType = 0;
    QString lastError;
    Lyrathread* worker;
    bool busy = false;
    Ui::LyraSyncBaseInfoDialog* ui;
    // The list request under way; any other reply is outdated or aborted.
    QPointer<QNetworkReply> pending;
    int reportedStores = 0;
    QStringList writtenStores;
};

#endif
