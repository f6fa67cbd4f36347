#ifndef LYRATHREAD_H
#define LYRATHREAD_H

#include "core/OrderItemInfo.h"
#include "files/FolderWalk.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>

class CallbackGuard;

// The Lyra worker: one job per start, chosen by `mode`, reported only by
// queued calls of named slots on the receiver:
//   "stores" -> slt_lyrastores(QJsonArray, QString): which stores' Lyra
//               folders this computer reaches;
//   "xml"    -> slt_threademit(QJsonObject): the staff or product list as
//               an XML file in every store's "产品" folder ("write" only
//               writes `xmlStr`);
//   "exportLyraresult" -> slt_exportLyraResult(QJsonObject): the finished
//               Lyra selections of the ticked `orders` copied into a dated
//               tree under `exportRoot`, with progress and one HTML report.
// The owner fills the inputs of the mode, then calls start(). The calls go
// through the receiver's call-back guard, so a worker that outlives its
// window reports to no one.
class Lyrathread : public QThread
{
    Q_OBJECT
public:
    Lyrathread(QObject* receiver, QObject* parent);
    ~Lyrathread() override;

    // Asks the XML jobs to end at their next check; returns at once.
    void stop();
    bool stopRequested() const { return stopFlag.load(std::memory_order_relaxed); }

    void checkStores();
    void buildStaffXml();
    void buildProductXml();
    void writeToFile();
    void exportLyraResult();
    // Copies a folder tree under the export's rules; never replaces a file.
    void copyDirectory(const QString& from, const QString& to);
    void postUpdateMsg(QString text);
    void emitExportResult(QJsonObject result);

    QString mode;
    int dataType = -1; // "xml": 0 staff, 1 products
    QJsonArray data;
    QJsonArray stores;
    QString exportRoot;
    QList<OrderItemInfo> orders;
    // The shop's settings as they were when the export started.
    QString lyraIsDownloadAll;
    QString lyraBigImg;
    QString currentOrderPath;
    QString xmlStr;

protected:
    void run() override;

private:
    // Builds the list's text from `data`, one record per element, and hands
    // it to the store writer unless stopped.
    void buildXml(QString (*record)(const QJsonObject&));
    void emitXmlReport(const QJsonObject& report);
    void copyTree(const QString& from, const QString& to);

    std::atomic<bool> stopFlag{false};
    QObject* receiver;
    std::shared_ptr<CallbackGuard> guard;
    FolderWalk folderWalk;
    int failedCopies = 0; // files of the current order that could not be copied
};

#endif
