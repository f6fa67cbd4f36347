#include "lyra/exportlyraresult.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "lyra/lyrathread.h"
#include "separation/OrderSearchForm.h"
#include "separation/splitaftersample.h"

#include <QCoreApplication>
#include <QDebug>

const QList<OrderSearchType>& ExportLyraResult::lyraSearchTypes()
{
    static const QList<OrderSearchType> types = [] {
        const QStringList texts = {"转数码日期", "预约单号", "拍摄日期", "选片日期", "选片完成日期",
                                   "上件日期",   "预约日期", "发货日期", "姓名",     "电话"};
        QList<OrderSearchType> rows;
        for (const QString& text : texts) {
            for (const OrderSearchType& type : SplitAfterSample::afterSampleSearchTypes()) {
                if (type.text == text)
                    rows << type;
            }
        }
        return rows;
    }();
    return types;
}

ExportLyraResult::ExportLyraResult(QWidget* parent)
    : SeparationSearchDialog(parent)
{
    setUpSeparationSearch(QStringLiteral("ExportLyraResult"), QSize(785, 545), lyraSearchTypes(),
                          OrderItemInfo::Tool::Lyra);
    // Progress names files from Lyra's folders: never markup.
    ui->label->setTextFormat(Qt::PlainText);
    lyraThread = new Lyrathread(this, this);
}

ExportLyraResult::~ExportLyraResult()
{
    if (lyraThread->isRunning()) {
        // Closing does not stop an export, nor wait for it: the worker goes
        // on by itself and reports to no one. Only the program's end stops
        // it, between two files, and waits for it.
        Lyrathread* worker = lyraThread;
        worker->setParent(nullptr);
        connect(worker, &QThread::finished, worker, &QObject::deleteLater);
        connect(qApp, &QCoreApplication::aboutToQuit, worker, [worker] {
            worker->stop();
            worker->wait();
        });
    } else {
        lyraThread->stop();
        lyraThread->quit();
        lyraThread->wait();
    }
}

void ExportLyraResult::on_pushButton_separate_clicked()
{
    if (isSeparating) {
        showRunBusy();
        return;
    }
    if (!requireCheckedOrder())
        return;
    // An empty root would put the tree at the top of the disk.
    if (!acceptsSeparationRoot(false))
        return;
    isSeparating = true;
    ui->groupBox->show();
    ui->label->show();
    ui->label->setText(QStringLiteral("开始导出Lyra结果..."));
    // The last export may still be returning after its report: start() on
    // a running thread would do nothing.
    lyraThread->wait();
    lyraThread->mode = QStringLiteral("exportLyraresult");
    lyraThread->exportRoot = ui->pathLineEdit->text();
    lyraThread->orders = orderList;
    // Copies: a shop switch may rewrite the globals while the export runs.
    lyraThread->lyraIsDownloadAll = g_lyraIsDownloadAll;
    lyraThread->lyraBigImg = g_lyraBigImg;
    lyraThread->start(QThread::InheritPriority);
}

void ExportLyraResult::slt_exportLyraResult(QJsonObject msgObjc)
{
    const QString type = msgObjc.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("all_finish")) {
        Dialogs::information(nullptr, QStringLiteral("温馨提示"), msgObjc.value(QStringLiteral("message")).toString(),
                             QMessageBox::Yes, QMessageBox::Yes);
        isSeparating = false;
        ui->groupBox->hide();
        ui->label->hide();
    } else if (type == QLatin1String("update_msg")) {
        ui->label->setText(msgObjc.value(QStringLiteral("alert")).toString());
    } else {
        qDebug() << msgObjc;
    }
}
