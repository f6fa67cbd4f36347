#ifndef SERVEDIMPORTWINDOW_H
#define SERVEDIMPORTWINDOW_H

#include "core/Globals.h"
#include "import/ImportErrorLog.h"
#include "import/importordersphotodlg.h"
#include "support/ImportDialogDriver.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QPointer>

#include <algorithm>
#include <memory>

// The import window of shop 12, shown against a fresh stand-in service, with
// its error log in the test's own folder. Test classes inherit it next to
// QObject and call openWindow() in init() and closeWindow() in cleanup().
class ServedImportWindow
{
protected:
    static inline const QByteArray kToken = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8";
    static inline const QByteArray kLogin = "&superid=3&eid=501&shopid=12";

    // False when the stand-in could not listen.
    bool openWindow()
    {
        env.reset(new ServiceEnvironment);
        ImportErrorLog::setFolder(env->workDir.path() + "/logs");
        g_shopId = "12";
        g_superId = "3";
        g_eid = "501";
        env->platform->freeBytesAnswer = -1;
        dialog = new importOrdersPhotoDlg;
        dialog->resize(1600, 900);
        dialog->show();
        ui.reset(new ImportDialogDriver(dialog));
        started = QDateTime::currentMSecsSinceEpoch();
        return env->listening;
    }

    void closeWindow()
    {
        delete dialog;
        ui.reset();
        ImportErrorLog::setFolder(QString());
        env.reset();
    }

    // The demo file server of the test.
    QString root() const { return env->workDir.path() + "/files"; }

    // Bodies of one order's reports, timestamps as "T", sorted: reports sent
    // moments apart may arrive in either order, and a start report
    // ("picnumber=0", "importype=0") sorts before the finish report.
    QList<QByteArray> reports(const QString& route, const QString& idKey, const QString& id) const
    {
        QList<QByteArray> bodies;
        for (const RecordedRequest& request : env->service->requests(route)) {
            if (request.value(idKey) == id)
                bodies << withoutTimestamp(request.body, started);
        }
        std::sort(bodies.begin(), bodies.end());
        return bodies;
    }

    std::unique_ptr<ServiceEnvironment> env;
    QPointer<importOrdersPhotoDlg> dialog;
    std::unique_ptr<ImportDialogDriver> ui;
    qint64 started = 0;
};

#endif
