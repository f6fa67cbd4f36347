#include "separation/SeparationRunDialog.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "files/ImageData.h"
#include "files/OrderFolders.h"
#include "files/ThumbnailThread.h"
#include "separation/BarCodeDownload.h"
#include "separation/CurrentOrder.h"
#include "separation/MessageBoxDialog.h"
#include "separation/OrderPicRequest.h"
#include "separation/OrderSearchForm.h"
#include "separation/OrderSheetFields.h"
#include "separation/SeparateThread.h"
#include "separation/SeparationBusy.h"
#include "separation/SeparationFolders.h"

#include <QDate>
#include <QDebug>
#include <QFuture>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// The order's finished photos on the file server; none without a folder.
QString finishedFolder()
{
    return CurrentOrder::serverFolder(QStringLiteral("成品/"));
}

} // namespace

SeparationRunDialog::SeparationRunDialog(QWidget* parent)
    : SeparationSearchDialog(parent)
    , isWindowShow(CallbackGuard::of(this))
{
    m_pool.setMaxThreadCount(10);
    m_pool.setExpiryTimeout(-1);
}

SeparationRunDialog::~SeparationRunDialog()
{
    SeparationBusy::release(this);
}

void SeparationRunDialog::closeEvent(QCloseEvent* event)
{
    SeparationSearchDialog::closeEvent(event);
    // Other windows' jobs are not ours to drop.
    m_pool.clear();
    isSeparating = false;
    SeparationBusy::release(this);
}

void SeparationRunDialog::startRun()
{
    // The current-order globals are the program's, so one run at a time in all windows.
    if (isSeparating || SeparationBusy::isBusy()) {
        showRunBusy();
        return;
    }
    if (!requireCheckedOrder())
        return;
    checkedOrderCount = 0;
    for (const OrderItemInfo& order : qAsConst(orderList))
        checkedOrderCount += order.checked ? 1 : 0;
    // An empty field passes: each order then asks for its root.
    if (!acceptsSeparationRoot(true))
        return;
    isSeparating = true;
    SeparationBusy::acquire(this);
    m_messageList.clear();
    m_barCodes.restart();
    ui->groupBox->show();
    ui->label->show();
    if (beginOrderSeparation())
        endRun();
}

bool SeparationRunDialog::beginOrderSeparation()
{
    m_runRow = CurrentOrder::takeNext(orderList);
    if (m_runRow < 0)
        return true;
    postQueryProducts(orderList[m_runRow].order_photo_id);
    return false;
}

void SeparationRunDialog::addProductsOptions(FormBody& body) const
{
    Q_UNUSED(body);
}

void SeparationRunDialog::postQueryProducts(QString orderPhotoId)
{
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("order_photo_id"), orderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("personid"), g_eid)
        .add(QStringLiteral("uid"), g_uid);
    addProductsOptions(body);
    post(URL_ORDER_ORDERGOODS20230521, body.bytes(), &SeparationRunDialog::queryProductsCallBack);
    qDebug() << "query product Url:" << URL_ORDER_ORDERGOODS20230521;
    qDebug() << "query product Paras:" << FormBody::masked(body.bytes());
}

void SeparationRunDialog::post(const QString& url, const QByteArray& body,
                               void (SeparationRunDialog::*replySlot)(QNetworkReply*))
{
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, replySlot);
    ServiceCall::postForm(manager, url, body);
}

bool SeparationRunDialog::readRunReply(QNetworkReply* reply, QJsonObject* object, const QString& failureText)
{
    reply->deleteLater();
    // A window closed mid-run takes no further step.
    if (!isWindowShow->isOpen())
        return false;
    if (ServiceCall::readSuccess(reply, object, failureText))
        return true;
    stopRun();
    return false;
}

void SeparationRunDialog::queryProductsCallBack(QNetworkReply* reply)
{
    QJsonObject object;
    if (!readRunReply(reply, &object, QStringLiteral("查询产品信息错误：")))
        return;
    // Both read the same reply: a large order's are read side by side.
    QFuture<QString> courierPage = QtConcurrent::run(&expressHtml, &ExpressHtml::getExpressHtml, object);
    readProducts(object);
    courierHtml = courierPage.result();
    ui->label->hide();
    ui->groupBox->hide();
    separatePath = SeparationFolders::chooseRoot(this, ui->pathLineEdit->text());
    separateRoot = separatePath;
    if (separatePath.isEmpty()) {
        stopRun();
        return;
    }
    g_separateOrderDir = separatePath;
    startSeparatePhotos();
}

void SeparationRunDialog::startJob(QRunnable* job, int priority)
{
    m_pool.start(job, priority);
}

void SeparationRunDialog::preparePool()
{
    m_pool.clear();
}

void SeparationRunDialog::startSeparatePhotos()
{
    qDebug() << "执行拉" << "startSeparatePhotos";
    separatePath += QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('/');
    const bool dated = SeparationFolders::createRunFolder(separatePath);
    // Customer data becomes a folder name: a "/" must not nest, ".." not escape.
    separatePath += sanitizeFileName(g_curOrderPayForKey) + QStringLiteral("-服务") + sanitizeFileName(g_curServiceTimes)
        + QLatin1Char(' ') + sanitizeFileName(g_curCustomerNames) + QLatin1Char(' ')
        + sanitizeFileName(g_curPickupTypeText) + QLatin1Char('/');
    if (!dated || !SeparationFolders::createRunFolder(separatePath) || !createWorkFolders()) {
        stopRun();
        return;
    }
    readyNum = 0;
    photoCheckCount = 0;
    photoCheckReplyCount = 0;
    m_failedCopies.clear();
    preparePool();
    const QString finished = finishedFolder();
    for (int index = 0; !finished.isEmpty() && index < g_orderGoodsList.size(); ++index) {
        for (const QString& name : g_orderGoodsList.at(index).photoNames) {
            ++photoCheckCount;
            startJob(new SeparateThread(finished + name, SeparateTaskPhotoIsFile, this), index);
        }
    }
    if (photoCheckCount == 0)
        fenjian_photoIsFileSlot_1(0);
}

void SeparationRunDialog::fenjian_photoIsFileSlot_1(int num)
{
    Q_UNUSED(num);
    if (photoCheckCount > 0) {
        ++photoCheckReplyCount;
        qDebug() << "读取数量：" << photoCheckCount << "  --" << photoCheckReplyCount;
    }
    if (photoCheckReplyCount != photoCheckCount)
        return;
    const QString finished = finishedFolder();
    // An order without a folder of its own lists nothing.
    finalPhotoList = SeparationFolders::entries(finished);
    const int otherPhotos = listOrderPhotos();
    ui->groupBox->show();
    ui->progressBar->setMaximum(finalPhotoList.size() + otherPhotos + 14);
    ui->progressBar->setValue(0);
    ui->progressBar->show();
    showFinishedOrders();
    ui->label_finishOrdersNum->show();
    preparePool();
    finalCopyReplyCount = 0;
    if (finalPhotoList.isEmpty()) {
        fenjian_finalPhotoSlot_2();
        return;
    }
    for (const QString& entry : qAsConst(finalPhotoList)) {
        const QString from = finished + entry;
        const QString to = g_separateOrderDir + g_productDirName + QLatin1Char('/') + entry;
        qDebug() << "test=" << from << "-to==" << to;
        startJob(new SeparateThread(from, to, true, SeparateTaskFinalPhotoCopy, this));
    }
}

bool SeparationRunDialog::countReport(int* done, const QStringList& list, const std::function<void()>& unit)
{
    if (list.isEmpty())
        return true;
    ++*done;
    unit();
    return *done == list.size();
}

void SeparationRunDialog::fenjian_finalPhotoSlot_2()
{
    const bool complete = countReport(&finalCopyReplyCount, finalPhotoList, [this] {
        qDebug() << "分件原图复制完成" << finalCopyReplyCount;
        onFinishSeparateImage();
    });
    qDebug() << "原图总数：" << finalPhotoList.size() << " 已复制：" << finalCopyReplyCount;
    if (complete)
        finalPhotosCopied();
}

void SeparationRunDialog::onFinishSeparateImage()
{
    ++readyNum;
    ui->progressBar->setValue(readyNum);
}

void SeparationRunDialog::fenjian_copyFailedSlot(QString source)
{
    if (!m_failedCopies.contains(source))
        m_failedCopies << source;
}

void SeparationRunDialog::prepareOrderSheet(int recordIndex)
{
    barCodeUrl = BarCodeDownload::orderUrl(g_curOrderPhotoId);
    barPath = separatePath + QStringLiteral("/条形码.jpg");
    // Nobody waits for the bar code: the run goes on with the picture information.
    startDownloadBar(recordIndex);
    getPicInfo();
}

void SeparationRunDialog::startDownloadBar(int recordIndex)
{
    // A bar code of an earlier run today is hidden before it is replaced.
    FileOperation::setHiddenAttribute(barPath);
    qDebug() << "srcsrc===" << barCodeUrl;
    // A late reply never touches the next order's file.
    m_barCodes.expect(BarCodeDownload::start(barCodeUrl, barPath, this), recordIndex);
}

void SeparationRunDialog::getPicInfo()
{
    OrderPicRequest request;
    request.loadFineImages(g_curOrderPath);
    request.barPath = barPath;
    request.imagePath = separatePath;
    addPicOptions(request);
    post(URL_ORDER_GETORDERPIC, request.body(), &SeparationRunDialog::queryPicInfoCallBack);
    qDebug() << "getPicInfo Url:" << URL_ORDER_GETORDERPIC;
    qDebug() << "getPicInfo Paras:" << FormBody::masked(request.body());
}

void SeparationRunDialog::queryPicInfoCallBack(QNetworkReply* reply)
{
    QJsonObject object;
    if (!readRunReply(reply, &object, QStringLiteral("查询裁剪信息错误：")))
        return;
    qDebug() << "picinfo" << object;
    onFinishSeparateImage();
    sheetHtml = object.value(QStringLiteral("html")).toString();
    startJob(new SeparateThread(object.value(QStringLiteral("orderpicdescr")).toArray(),
                                SeparateTaskAnalysisPhotoInfo, this));
}

void SeparationRunDialog::fenjian_analysisPhotoInfo()
{
    onFinishSeparateImage();
    qDebug() << "开始保存成品缩略图";
    // The job reads the work folder when it runs: still this order's.
    startJob(new ThumbnailThread(*ImageData::getInstance()->getFineImages(), this, 88));
}

void SeparationRunDialog::onSheetThumbsNotWritten(QStringList paths)
{
    orderRecord().unwrittenFiles << paths;
}

void SeparationRunDialog::onFinishSaveThumb()
{
    qDebug() << "search order thumbnail finished!";
    postQueryOrderInfo();
}

void SeparationRunDialog::postQueryOrderInfo()
{
    const QByteArray body = orderDetailBody();
    post(URL_ORDER_ORDERDETAIL, body, &SeparationRunDialog::queryOrderInfoCallBack);
    qDebug() << "postOrder Url:" << URL_ORDER_ORDERDETAIL;
    qDebug() << "postOrder Paras:" << FormBody::masked(body);
}

void SeparationRunDialog::queryOrderInfoCallBack(QNetworkReply* reply)
{
    QJsonObject object;
    if (!readRunReply(reply, &object, QStringLiteral("查询订单信息错误：")))
        return;
    qDebug() << "postOrder Json:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    readOrderInfo(object);
    saveExpressPdf();
    // Goes on with the next order: nothing of this order may follow.
    saveHTML();
}

void SeparationRunDialog::saveExpressPdf()
{
    const QString path = separatePath + QStringLiteral("/快递产品信息.pdf");
    if (!SheetFiles::writeSheetPdf(courierHtml, path, expressPageSetup()))
        orderRecord().unwrittenFiles << path;
}

void SeparationRunDialog::saveHTML()
{
    const QString path = separatePath + QStringLiteral("/明细制作单.html");
    qDebug() << "saveFilepath:" << separatePath;
    if (!SheetFiles::writeSheetHtml(sheetHtml, path)) {
        orderRecord().unwrittenFiles << path;
        Dialogs::information(this, tr("提示"), tr("failed to create HTML file"), QMessageBox::Ok);
    }
    separateNextOrder();
}

void SeparationRunDialog::showFinishedOrders()
{
    ui->label_finishOrdersNum->setText(
        QStringLiteral("已完成订单个数：%1/%2").arg(finishedOrderCount).arg(checkedOrderCount));
}

void SeparationRunDialog::separateNextOrder()
{
    orderDone();
    ++finishedOrderCount;
    showFinishedOrders();
    ui->progressBar->setValue(0);
    ui->progressBar->setMaximum(0);
    ui->progressBar->hide();
    m_runRow = -1;
    if (beginOrderSeparation())
        endRun();
}

void SeparationRunDialog::endRun()
{
    // The success form unless some copy, file or bar code did not make it.
    m_barCodes.markMissing(m_messageList);
    MessageBoxDialog::showRunSummary(m_messageList, summaryRoot(), QDate::currentDate());
    for (OrderItemInfo& order : orderList)
        order.processed = false;
    finishedOrderCount = 0;
    checkedOrderCount = 0;
    m_runRow = -1;
    ui->label_finishOrdersNum->hide();
    ui->groupBox->hide();
    isSeparating = false;
    SeparationBusy::release(this);
}

void SeparationRunDialog::stopRun()
{
    // The stopped order is taken again by the next start.
    if (m_runRow >= 0 && m_runRow < orderList.size())
        orderList[m_runRow].processed = false;
    m_runRow = -1;
    isSeparating = false;
    SeparationBusy::release(this);
}
