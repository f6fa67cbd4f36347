#include "lyra/lyrasyncbaseinfodialog.h"
#include "ui_lyrasyncbaseinfodialog.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "lyra/lyrathread.h"

#include <QDebug>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {
const QString kRequestFailed = QStringLiteral("网络请求错误");
}

LyraSyncBaseInfoDialog::LyraSyncBaseInfoDialog(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::LyraSyncBaseInfoDialog)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("同步员工/产品信息到Lyra系统"));
    ui->pb_retry->hide();
    ui->pb_cancel->hide();
    ui->progressBar->setMaximum(10);
    ui->progressBar->setValue(0);
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &LyraSyncBaseInfoDialog::query_shopdatas);
    worker = new Lyrathread(this, this);
}

LyraSyncBaseInfoDialog::~LyraSyncBaseInfoDialog()
{
    worker->stop();
    worker->quit();
    worker->wait();
    // A request still under way ends with the manager; its reply must not
    // reach a dialog that is half destroyed.
    disconnect(manager, nullptr, this, nullptr);
    delete manager;
    delete ui;
}

// While a job runs the list it fetches stays as it is.
void LyraSyncBaseInfoDialog::on_pb_syncpeo_clicked()
{
    if (busy)
        return;
    dataType = 0;
    req_datas();
}

void LyraSyncBaseInfoDialog::on_pb_syncpro_clicked()
{
    if (busy)
        return;
    dataType = 1;
    req_datas();
}

void LyraSyncBaseInfoDialog::on_pb_retry_clicked()
{
    if (lastError == kRequestFailed)
        req_datas();
}

void LyraSyncBaseInfoDialog::on_pb_cancel_clicked()
{
    // The list request ends here too: its late reply must not start a writer.
    if (QNetworkReply* reply = pending) {
        pending = nullptr;
        reply->abort();
    }
    replaceWorker();
    busy = false;
    ui->progressBar->setValue(0);
    ui->lb_message->setText(QStringLiteral("请点击需要同步的数据类型"));
    showIdleButtons();
}

void LyraSyncBaseInfoDialog::req_datas()
{
    if (busy)
        return;
    busy = true;
    qDebug() << "可以使用的分店数量" << stores.size();
    ui->progressBar->setValue(0);
    ui->progressBar->setMaximum(stores.size() + 2);
    qDebug() << "进度条的最大值" << ui->progressBar->maximum();
    const bool staff = dataType == 0;
    const QString url = staff ? URL_LYRA_GETPERSONS : URL_LYRA_GETGOODS;
    ui->lb_message->setText(staff ? QStringLiteral("正在获取员工信息...") : QStringLiteral("正在获取产品信息..."));
    ui->pb_syncpeo->hide();
    ui->pb_syncpro->hide();
    ui->pb_cancel->show();
    ui->pb_retry->hide();
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("shopid"), shopId)
                                .add(QStringLiteral("uid"), g_uid)
                                .bytes();
    qDebug() << "获取需要导入Lyra的分店员工和产品 url==" << url;
    pending = ServiceCall::postForm(manager, url, body);
}

void LyraSyncBaseInfoDialog::query_shopdatas(QNetworkReply* reply)
{
    reply->deleteLater();
    if (reply != pending)
        return;
    pending = nullptr;
    if (reply->error() != QNetworkReply::NoError) {
        failRequest(QStringLiteral("网络请求错误！"));
        Dialogs::information(nullptr, QStringLiteral("警告"), ServiceCall::networkErrorText(reply), QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    const QByteArray body = reply->readAll();
    QJsonObject object;
    if (!ServiceCall::parseObject(body, &object)) {
        const bool isJson = !QJsonDocument::fromJson(body).isNull();
        failRequest(isJson ? QStringLiteral("数据格式错误101！") : QStringLiteral("数据格式错误100！"));
        return;
    }
    if (object.value(QStringLiteral("code")).toString() != QLatin1String("1")) {
        const QString message = object.value(QStringLiteral("message")).toString();
        failRequest(message);
        Dialogs::information(nullptr, QStringLiteral("警告"), message, QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    ui->progressBar->setValue(ui->progressBar->value() + 1);
    replaceWorker();
    worker->mode = QStringLiteral("xml");
    worker->dataType = dataType;
    worker->data = object.value(dataType != 0 ? QStringLiteral("goods") : QStringLiteral("persons")).toArray();
    worker->stores = stores;
    reportedStores = 0;
    writtenStores.clear();
    worker->start(QThread::InheritPriority);
}

void LyraSyncBaseInfoDialog::slt_threademit(QJsonObject objc)
{
    // Only the writer of the job under way reports; a stopped one may still
    // have calls queued.
    if (!busy || pending)
        return;
    const QString type = objc.value(QStringLiteral("type")).toString();
    const QString msg = objc.value(QStringLiteral("msg")).toString();
    const QString errors = objc.value(QStringLiteral("errormsg")).toString();
    const bool storeReport = type == QStringLiteral("门店数据导入成功") || type == QStringLiteral("全部导入成功");
    if (storeReport) {
        // The k-th store report belongs to the k-th store.
        if (errors.isEmpty())
            writtenStores << stores.at(reportedStores).toObject().value(QStringLiteral("name")).toString();
        ++reportedStores;
    }
    if (type == QStringLiteral("数据配置完成")) {
        ui->progressBar->setValue(ui->progressBar->value() + 1);
    } else if (type == QStringLiteral("门店数据导入成功")) {
        ui->progressBar->setValue(ui->progressBar->value() + 1);
        ui->lb_message->setText(msg);
    } else if (type == QStringLiteral("全部导入成功")) {
        ui->progressBar->setValue(ui->progressBar->maximum());
        ui->lb_message->setText(msg);
        if (!errors.isEmpty())
            Dialogs::information(nullptr, QStringLiteral("温馨提示"), errors, QMessageBox::Yes, QMessageBox::Yes);
        replaceWorker();
        busy = false;
        ui->lb_message->setText(finalLine());
        showIdleButtons();
    }
}

void LyraSyncBaseInfoDialog::replaceWorker()
{
    worker->stop();
    worker->quit();
    worker->wait();
    // The stopped worker stays a child until the dialog goes.
    worker = new Lyrathread(this, this);
}

void LyraSyncBaseInfoDialog::failRequest(const QString& message)
{
    ui->pb_retry->show();
    ui->lb_message->setText(message);
    lastError = kRequestFailed;
    busy = false;
}

void LyraSyncBaseInfoDialog::showIdleButtons()
{
    ui->pb_cancel->hide();
    ui->pb_retry->hide();
    ui->pb_syncpeo->show();
    ui->pb_syncpro->show();
}

// Names only the stores whose file was written.
QString LyraSyncBaseInfoDialog::finalLine() const
{
    const QString kind = dataType == 0 ? QStringLiteral("员工") : QStringLiteral("产品");
    if (writtenStores.isEmpty())
        return kind + QStringLiteral("数据导入Lyra失败！");
    QString names;
    for (const QString& name : writtenStores)
        names = names.isEmpty() ? name : names + QLatin1Char(',') + name;
    return names + QStringLiteral(" 门店的") + kind + QStringLiteral("数据导入Lyra成功！");
}
