#include "separation/splitaftersample.h"

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
#include "separation/MarkImages.h"
#include "separation/MessageBoxDialog.h"
#include "separation/OrderPicRequest.h"
#include "separation/OrderSheetFields.h"
#include "separation/OrderSearchForm.h"
#include "separation/ProductPlan.h"
#include "separation/SeparateThread.h"
#include "separation/SeparationBusy.h"
#include "separation/SeparationFolders.h"
#include "separation/SheetFiles.h"

#include <QDate>
#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {

// The order's finished photos on the file server; none without a folder.
QString finishedFolder()
{
    return CurrentOrder::serverFolder(QStringLiteral("成品/"));
}

} // namespace

const QList<OrderSearchType>& SplitAfterSample::afterSampleSearchTypes()
{
    static const QList<OrderSearchType> types = [] {
        QList<OrderSearchType> rows;
        for (const QString& text : OrderSearchType::separationTexts())
            rows << *OrderSearchType::named(text);
        // The design-assignment date goes in the order of the other date
        // searches here: eid after the keyword, not before superid.
        for (OrderSearchType& row : rows) {
            if (row.number == 14)
                row.order = {SearchKey::ShopId, SearchKey::SearchType, SearchKey::SuperId, SearchKey::Keyword,
                             SearchKey::Eid,    SearchKey::PersonId,   SearchKey::Uid};
        }
        return rows;
    }();
    return types;
}

SplitAfterSample::SplitAfterSample(QWidget* parent)
    : SeparationSearchDialog(parent)
{
    setUpSeparationSearch(QStringLiteral("SplitAfterSample"), QSize(785, 523), afterSampleSearchTypes(),
                          OrderItemInfo::Tool::Separation);
    isWindowShow = CallbackGuard::of(this);
    m_pool.setMaxThreadCount(10);
    m_pool.setExpiryTimeout(-1);
}

SplitAfterSample::~SplitAfterSample()
{
    SeparationBusy::release(this);
}

void SplitAfterSample::closeEvent(QCloseEvent* event)
{
    qDebug() << "要关闭窗口了";
    SeparationSearchDialog::closeEvent(event);
    // Other windows' jobs are not ours to drop.
    m_pool.clear();
    // A job still running may write the program's run state: the next run
    // waits for it.
    m_pool.waitForDone();
    isSeparating = false;
    SeparationBusy::release(this);
}

void SplitAfterSample::on_pushButton_separate_clicked()
{
    // A search reply would replace the rows a run works through.
    if (!ui->searchButton->isEnabled())
        return;
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

bool SplitAfterSample::beginOrderSeparation()
{
    m_runRow = CurrentOrder::takeNext(orderList);
    if (m_runRow < 0)
        return true;
    postQueryProducts(orderList[m_runRow].order_photo_id);
    return false;
}

void SplitAfterSample::postQueryProducts(QString orderPhotoId)
{
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("order_photo_id"), orderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("personid"), g_eid)
        .add(QStringLiteral("uid"), g_uid);
    post(URL_ORDER_ORDERGOODS20230521, body.bytes(), &SplitAfterSample::queryProductsCallBack);
    qDebug() << "query product Url:" << URL_ORDER_ORDERGOODS20230521;
    qDebug() << "query product Paras:" << FormBody::masked(body.bytes());
}

void SplitAfterSample::post(const QString& url, const QByteArray& body,
                            void (SplitAfterSample::*callBack)(QNetworkReply*))
{
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, callBack);
    ServiceCall::postForm(manager, url, body);
}

bool SplitAfterSample::readRunReply(QNetworkReply* reply, QJsonObject* object, const QString& failureText)
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

void SplitAfterSample::queryProductsCallBack(QNetworkReply* reply)
{
    QJsonObject object;
    if (!readRunReply(reply, &object, QStringLiteral("查询产品信息错误：")))
        return;
    courierHtml = expressHtml.getExpressHtml(object);
    g_orderGoodsList = ProductPlan::read(object, ProductPlan::Reading::AfterSample).goods;
    ui->label->hide();
    ui->groupBox->hide();
    separatePath = SeparationFolders::chooseRoot(this, ui->pathLineEdit->text());
    separateRoot = separatePath;
    if (separatePath.isEmpty()) {
        stopRun();
        return;
    }
    startSeparatePhotos();
}

void SplitAfterSample::preparePool()
{
    m_pool.clear();
    m_pool.setMaxThreadCount(10);
    m_pool.setExpiryTimeout(-1);
}

void SplitAfterSample::startSeparatePhotos()
{
    qDebug() << "执行拉" << "startSeparatePhotos";
    separatePath += QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('/');
    if (!SeparationFolders::createRunFolder(separatePath)) {
        stopRun();
        return;
    }
    // Customer data becomes a folder name: a "/" must not nest, ".." not escape.
    separatePath += sanitizeFileName(g_curOrderPayForKey) + QStringLiteral("-服务") + sanitizeFileName(g_curServiceTimes)
        + QLatin1Char(' ') + sanitizeFileName(g_curCustomerNames) + QLatin1Char(' ') + g_curPickupTypeText
        + QLatin1Char('/');
    if (!SeparationFolders::createRunFolder(separatePath)) {
        stopRun();
        return;
    }
    g_separateOrderDir = separatePath;
    if (!SeparationFolders::createRunFolder(separatePath + g_productDirName)) {
        stopRun();
        return;
    }
    progressCount = 0;
    photoCheckCount = 0;
    photoCheckReplyCount = 0;
    m_failedCopies.clear();
    m_unwrittenFiles.clear();
    preparePool();
    const QString finished = finishedFolder();
    for (int index = 0; !finished.isEmpty() && index < g_orderGoodsList.size(); ++index) {
        for (const QString& name : g_orderGoodsList.at(index).photoNames) {
            ++photoCheckCount;
            m_pool.start(new SeparateThread(finished + name, SeparateTaskPhotoIsFile, this), index);
        }
    }
    if (photoCheckCount == 0)
        fenjian_photoIsFileSlot_1(0);
}

void SplitAfterSample::fenjian_photoIsFileSlot_1(int num)
{
    Q_UNUSED(num);
    if (photoCheckCount > 0) {
        ++photoCheckReplyCount;
        qDebug() << "读取数量：" << photoCheckCount << "  --" << photoCheckReplyCount;
    }
    if (photoCheckReplyCount != photoCheckCount)
        return;
    const QString finished = finishedFolder();
    finalPhotoList = finished.isEmpty() ? QStringList() : SeparationFolders::entries(finished);
    ui->groupBox->show();
    qDebug() << "总进度的总数 分别是 finalPhotoList：" << finalPhotoList.size();
    ui->progressBar->setMaximum(finalPhotoList.size() + 14);
    ui->progressBar->setValue(0);
    ui->progressBar->show();
    ui->label_finishOrdersNum->setText(
        QStringLiteral("已完成订单个数：%1/%2").arg(finishedOrderCount).arg(checkedOrderCount));
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
        m_pool.start(new SeparateThread(from, to, true, SeparateTaskFinalPhotoCopy, this), 0);
    }
}

void SplitAfterSample::fenjian_finalPhotoSlot_2()
{
    if (!finalPhotoList.isEmpty()) {
        ++finalCopyReplyCount;
        qDebug() << "分件原图复制完成" << finalCopyReplyCount;
        onFinishSeparateImage();
    }
    qDebug() << "原图总数：" << finalPhotoList.size() << " 已复制：" << finalCopyReplyCount;
    if (finalCopyReplyCount == finalPhotoList.size())
        prepareOrderSheet();
}

void SplitAfterSample::onFinishSeparateImage()
{
    ++progressCount;
    ui->progressBar->setValue(progressCount);
}

void SplitAfterSample::fenjian_copyFailedSlot(QString source)
{
    if (!m_failedCopies.contains(source))
        m_failedCopies << source;
}

void SplitAfterSample::prepareOrderSheet()
{
    barCodeUrl = BarCodeDownload::orderUrl(g_curOrderPhotoId);
    startDownloadBar();
    getPicInfo();
}

void SplitAfterSample::startDownloadBar()
{
    barPath = separatePath + QStringLiteral("/条形码.jpg");
    // A bar code of an earlier run today is hidden before it is replaced.
    FileOperation::setHiddenAttribute(barPath);
    qDebug() << "srcsrc===" << barCodeUrl;
    startDownload(barCodeUrl, barPath);
}

void SplitAfterSample::startDownload(QString url, QString filePath)
{
    // Nobody waits for it; a late reply never touches the next order's file.
    // The order's record comes next: the summary lists a missing bar code there.
    m_barCodes.expect(BarCodeDownload::start(url, filePath, this), m_messageList.size());
}

void SplitAfterSample::getPicInfo()
{
    OrderPicRequest request;
    request.loadFineImages(g_curOrderPath);
    request.barPath = barPath;
    request.imagePath = separatePath;
    request.withDesignImages = false;
    request.afterSample = true;
    post(URL_ORDER_GETORDERPIC, request.body(), &SplitAfterSample::queryPicInfoCallBack);
    qDebug() << "getPicInfo Url:" << URL_ORDER_GETORDERPIC;
    qDebug() << "getPicInfo Paras:" << FormBody::masked(request.body());
}

void SplitAfterSample::queryPicInfoCallBack(QNetworkReply* reply)
{
    QJsonObject object;
    if (!readRunReply(reply, &object, QStringLiteral("查询裁剪信息错误：")))
        return;
    qDebug() << "picinfo" << object;
    onFinishSeparateImage();
    sheetHtml = object.value(QStringLiteral("html")).toString();
    m_pool.start(new SeparateThread(object.value(QStringLiteral("orderpicdescr")).toArray(),
                                    SeparateTaskAnalysisPhotoInfo, this),
                 0);
}

void SplitAfterSample::fenjian_analysisPhotoInfo()
{
    onFinishSeparateImage();
    qDebug() << "开始保存成品缩略图";
    m_pool.start(new ThumbnailThread(*ImageData::getInstance()->getFineImages(), this, 88), 0);
}

void SplitAfterSample::onSheetThumbsNotWritten(QStringList paths)
{
    m_unwrittenFiles << paths;
}

void SplitAfterSample::onFinishSaveThumb()
{
    qDebug() << "search order thumbnail finished!";
    postQueryOrderInfo();
}

void SplitAfterSample::postQueryOrderInfo()
{
    const QByteArray body = orderDetailBody();
    post(URL_ORDER_ORDERDETAIL, body, &SplitAfterSample::queryOrderInfoCallBack);
    qDebug() << "postOrder Url:" << URL_ORDER_ORDERDETAIL;
    qDebug() << "postOrder Paras:" << FormBody::masked(body);
}

void SplitAfterSample::queryOrderInfoCallBack(QNetworkReply* reply)
{
    QJsonObject object;
    if (!readRunReply(reply, &object, QStringLiteral("查询订单信息错误：")))
        return;
    qDebug() << "postOrder Json:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    const QJsonArray pictures = object.value(QStringLiteral("orderpicdescr")).toArray();
    picsMarkArr = markedPictureNames(readPicsMarks(pictures));
    qDebug() << "orderpicdescr====" << pictures << "picsMarkArr====" << picsMarkArr.size();
    copyMarkedPictures();
    saveExpressPdf();
    saveHTML();
}

void SplitAfterSample::copyMarkedPictures()
{
    m_unwrittenFiles << MarkImages::copyAll(picsMarkArr, getMarksDir(), MarkImages::targetFolder());
}

void SplitAfterSample::saveExpressPdf()
{
    const QString path = separatePath + QStringLiteral("/快递产品信息.pdf");
    if (!SheetFiles::writeSheetPdf(courierHtml, path, SheetFiles::PageSetup::PrinterDefaults))
        m_unwrittenFiles << path;
}

void SplitAfterSample::saveHTML()
{
    const QString path = separatePath + QStringLiteral("/明细制作单.html");
    qDebug() << "saveFilepath:" << separatePath;
    if (!SheetFiles::writeSheetHtml(sheetHtml, path)) {
        m_unwrittenFiles << path;
        Dialogs::information(this, tr("提示"), tr("failed to create HTML file"), QMessageBox::Ok,
                             QMessageBox::NoButton);
    }
    separateNextOrder();
}

void SplitAfterSample::separateNextOrder()
{
    SeparateMessage record;
    record.orderId = g_curOrderPayForKey;
    record.failedCopies = m_failedCopies;
    record.unwrittenFiles = m_unwrittenFiles;
    m_messageList.append(record);
    ++finishedOrderCount;
    ui->label_finishOrdersNum->setText(
        QStringLiteral("已完成订单个数：%1/%2").arg(finishedOrderCount).arg(checkedOrderCount));
    ui->progressBar->setValue(0);
    ui->progressBar->setMaximum(0);
    ui->progressBar->hide();
    m_runRow = -1;
    if (beginOrderSeparation())
        endRun();
}

void SplitAfterSample::endRun()
{
    // The success form unless some copy, file or bar code did not make it.
    m_barCodes.markMissing(m_messageList);
    MessageBoxDialog::showRunSummary(m_messageList, separateRoot, QDate::currentDate());
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

void SplitAfterSample::stopRun()
{
    // The stopped order is taken again by the next start.
    if (m_runRow >= 0 && m_runRow < orderList.size())
        orderList[m_runRow].processed = false;
    m_runRow = -1;
    isSeparating = false;
    SeparationBusy::release(this);
}
