#include "separation/OrderDeletionRun.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "import/importorderthread.h"

#include <QDebug>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QWidget>

namespace {

void warn(const QString& text)
{
    Dialogs::information(nullptr, QStringLiteral("警告"), text, QMessageBox::Yes, QMessageBox::Yes);
}

bool hasFolder(const OrderItemInfo& order)
{
    return order.checked && !order.orderpath.isEmpty() && FileOperation::isDirExist(order.orderpath);
}

} // namespace

bool OrderDeletionRun::refuseWhileDeleting(const QPointer<OrderDeletionRun>& run)
{
    if (!run || !run->isDeleting())
        return false;
    warn(QStringLiteral("正在删除订单照片，请等本次删除完成"));
    return true;
}

OrderDeletionRun* OrderDeletionRun::start(const QList<OrderItemInfo>& orders, const Progress& progress)
{
    progress.bar->show();
    progress.group->show();
    progress.label->show();

    QList<OrderItemInfo> deleting;
    for (const OrderItemInfo& order : orders) {
        if (hasFolder(order))
            deleting << order;
    }
    if (deleting.isEmpty()) {
        progress.group->hide();
        warn(QStringLiteral("订单路径不存在"));
        return nullptr;
    }

    auto* run = new OrderDeletionRun(progress);
    run->checkOrdersNum = deleting.size();
    progress.label->setText(QStringLiteral("正在删除订单路径下的照片"));
    qDebug() << "checkOrdersNum==" << run->checkOrdersNum;
    progress.bar->setMaximum(run->checkOrdersNum);
    progress.bar->setValue(0);

    for (const OrderItemInfo& order : deleting) {
        // The worker frees itself once finished; `finished` comes after its
        // `deleteSucceed`, so it counts every worker, failed ones included.
        auto* worker = new ImportOrderThread(order, nullptr);
        connect(worker, &ImportOrderThread::deleteSucceed, run, &OrderDeletionRun::updatedata);
        connect(worker, &QThread::finished, run, &OrderDeletionRun::workerFinished);
        worker->start(QThread::InheritPriority);
    }
    return run;
}

OrderDeletionRun::OrderDeletionRun(const Progress& progress)
    : QObject(nullptr), progress(progress), manager(new QNetworkAccessManager(this))
{
    connect(manager, &QNetworkAccessManager::finished, this, &OrderDeletionRun::submitDeleteMessageCallBack);
}

void OrderDeletionRun::submitDeleteMessage(QString orderphotoid, QString path)
{
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("orderphotoid"), orderphotoid)
        .add(QStringLiteral("path"), path)
        .add(QStringLiteral("MANAGER_ID"), g_eid);
    ++pendingReports;
    ServiceCall::postForm(manager, URL_ORDERPHOTO_ORDER_PHOTO_DEL, body.bytes());
}

void OrderDeletionRun::submitDeleteMessageCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    --pendingReports;
    if (reply->error() != QNetworkReply::NoError) {
        tell(QStringLiteral("请检查网络连接\n") + ServiceCall::httpStatusText(reply));
    } else {
        QJsonObject object;
        if (ServiceCall::parseObject(reply->readAll(), &object)) {
            const QString code = object.value(QStringLiteral("code")).toString();
            if (code != QLatin1String("1"))
                tell(object.value(QStringLiteral("message")).toString() + QLatin1Char('\t') + code);
        }
    }
    freeWhenIdle();
}

void OrderDeletionRun::updatedata(QString mOrderid, QString deleteDir)
{
    qDebug() << "mOrderid==" << mOrderid;
    qDebug() << "deleteDir==" << deleteDir;
    submitDeleteMessage(mOrderid, deleteDir);
    ++deletenum;
    qDebug() << "deletenum==" << deletenum;
    if (progress.bar)
        progress.bar->setValue(deletenum);
}

void OrderDeletionRun::workerFinished()
{
    ++finishedNum;
    if (finishedNum == checkOrdersNum)
        endRun();
    freeWhenIdle();
}

void OrderDeletionRun::endRun()
{
    // A closed window has nobody left to tell.
    if (!progress.group)
        return;
    const int notDeleted = checkOrdersNum - deletenum;
    if (notDeleted == 0)
        tell(QStringLiteral("订单照片删除成功"));
    else
        tell(QStringLiteral("有%1个订单的照片未能删除").arg(notDeleted));
    if (notDeleted == 0 && progress.label)
        progress.label->setText(QStringLiteral("删除成功"));
    if (progress.group)
        progress.group->hide();
    if (progress.bar)
        progress.bar->hide();
}

void OrderDeletionRun::tell(const QString& text)
{
    ++openBoxes;
    warn(text);
    --openBoxes;
}

void OrderDeletionRun::freeWhenIdle()
{
    // A box's own event loop would run the deletion under the caller's feet.
    if (!isDeleting() && pendingReports == 0 && openBoxes == 0)
        deleteLater();
}
