#include "separation/searchorder.h"

#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/FormBody.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "files/ThumbnailThread.h"
#include "separation/BarCodeDownload.h"
#include "separation/CurrentOrder.h"
#include "separation/LocalProductionSheet.h"
#include "separation/MarkImages.h"
#include "separation/MessageBoxDialog.h"
#include "separation/MessageDialog.h"
#include "separation/OrderSearchForm.h"
#include "separation/OrderSearchType.h"
#include "separation/OrderPicRequest.h"
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
#include <QSet>

namespace {

QList<OrderSearchType> typesNamed(const QStringList& texts)
{
    QList<OrderSearchType> types;
    for (const QString& text : texts)
        types << *OrderSearchType::named(text);
    return types;
}

} // namespace

SearchOrder::SearchOrder(QWidget* parent)
    : SeparationSearchDialog(parent)
{
    setUpSeparationSearch(QStringLiteral("SearchOrder"), QSize(785, 545),
                          typesNamed(OrderSearchType::separationTexts()), OrderItemInfo::Tool::Separation);
}

void SearchOrder::setToolName(QString name)
{
    SeparationSearchDialog::setToolName(name);
    if (name != QStringLiteral("批量删除"))
        return;
    setSearchTypes(typesNamed({QStringLiteral("预约单号"), QStringLiteral("拍摄日期"), QStringLiteral("选片日期"),
                               QStringLiteral("预约日期"), QStringLiteral("发货日期"), QStringLiteral("取件完成日期"),
                               QStringLiteral("姓名"), QStringLiteral("电话")}));
    ui->selectPathButton->hide();
    ui->pathLineEdit->hide();
    ui->pushButton_separate->setText(QStringLiteral("批量删除"));
}

void SearchOrder::closeEvent(QCloseEvent* event)
{
    SeparationSearchDialog::closeEvent(event);
    // Other windows' jobs are not ours to drop.
    m_pool.clear();
    isSeparating = false;
    SeparationBusy::release(this);
}

void SearchOrder::on_pushButton_separate_clicked()
{
    if (ui->pushButton_separate->text() == QStringLiteral("批量删除")) {
        askForDeletion();
        return;
    }
    // The current-order globals are the program's, so one run at a time in all windows.
    if (isSeparating || SeparationBusy::isBusy()) {
        showRunBusy();
        return;
    }
    m_messageList.clear();
    m_barCodes.restart();
    if (!requireCheckedOrder())
        return;
    checkOrdersNum = 0;
    for (const OrderItemInfo& order : qAsConst(orderList))
        checkOrdersNum += order.checked ? 1 : 0;
    // An empty field passes: the root step then asks for a folder per order.
    if (!acceptsSeparationRoot(true))
        return;
    isSeparating = true;
    SeparationBusy::acquire(this);
    ui->groupBox->show();
    ui->label->show();
    if (beginOrderSeparation())
        endRun();
}

void SearchOrder::askForDeletion()
{
    if (OrderDeletionRun::refuseWhileDeleting(m_deletion) || !requireCheckedOrder())
        return;
    auto* check = new MessageDialog(nullptr);
    connect(check, SIGNAL(deleteorderfile()), this, SLOT(startDel()));
    check->show();
}

void SearchOrder::startDel()
{
    if (!OrderDeletionRun::refuseWhileDeleting(m_deletion))
        m_deletion = OrderDeletionRun::start(orderList, {ui->groupBox, ui->progressBar, ui->label});
}

bool SearchOrder::beginOrderSeparation()
{
    m_runRow = CurrentOrder::takeNext(orderList);
    if (m_runRow < 0)
        return true;
    postQueryProducts(orderList[m_runRow].order_photo_id);
    return false;
}

void SearchOrder::postQueryProducts(QString orderPhotoId)
{
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("order_photo_id"), orderPhotoId)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("personid"), g_eid)
        .add(QStringLiteral("uid"), g_uid)
        .add(QStringLiteral("is_qu"), QStringLiteral("1"));
    post(URL_ORDER_ORDERGOODS20230521, body.bytes(), &SearchOrder::queryProductsCallBack);
    qDebug() << "query product Url:" << URL_ORDER_ORDERGOODS20230521;
    qDebug() << "query product Paras:" << FormBody::masked(body.bytes());
}

void SearchOrder::queryProductsCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readSuccess(reply, &object, QStringLiteral("查询产品信息错误："))) {
        stopRun();
        return;
    }
    expressHtmlText = expressHtml.getExpressHtml(object);
    const ProductPlan plan = ProductPlan::read(object);
    productDirList = plan.dirs;
    g_orderGoodsList = plan.goods;
    ui->label->hide();
    ui->groupBox->hide();
    chooseRootAndStart();
}

void SearchOrder::chooseRootAndStart()
{
    separatePath = SeparationFolders::chooseRoot(this, ui->pathLineEdit->text());
    if (separatePath.isEmpty()) {
        stopRun();
        return;
    }
    g_separateOrderDir = separatePath;
    startSeparatePhotos();
}

bool SearchOrder::createRunFolder(const QString& folder)
{
    if (SeparationFolders::createRunFolder(folder))
        return true;
    stopRun();
    return false;
}

void SearchOrder::post(const QString& url, const QByteArray& body, void (SearchOrder::*replySlot)(QNetworkReply*))
{
    // A manager per request, as every step of the run makes its own.
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, replySlot);
    ServiceCall::postForm(manager, url, body);
}

void SearchOrder::startJob(SeparateThread* job, int priority)
{
    m_pool.start(job, priority);
}

void SearchOrder::preparePool()
{
    m_pool.clear();
    m_pool.setMaxThreadCount(10);
    m_pool.setExpiryTimeout(-1);
}

void SearchOrder::startSeparatePhotos()
{
    qDebug() << "执行拉" << "startSeparatePhotos";
    separatePath += QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('/');
    if (!createRunFolder(separatePath))
        return;
    // Customer data becomes a folder name: a "/" must not nest, ".." not escape.
    separatePath += sanitizeFileName(g_curOrderPayForKey) + QStringLiteral("-服务") + sanitizeFileName(g_curServiceTimes)
        + QLatin1Char(' ') + sanitizeFileName(g_curCustomerNames) + QLatin1Char(' ')
        + sanitizeFileName(g_curPickupTypeText) + QLatin1Char('/');
    if (!createRunFolder(separatePath))
        return;
    separateOrderPath = separatePath;
    if (g_separateModeName.isEmpty()) {
        separatePath += QStringLiteral("其它/");
        if (!createRunFolder(separatePath))
            return;
    }
    g_separateOrderDir = separatePath;
    if (!createRunFolder(separatePath + g_productDirName))
        return;
    if (g_separateModeName.isEmpty() && !createRunFolder(separatePath + QStringLiteral("汰片")))
        return;
    if (!createRunFolder(separatePath + g_markDirName))
        return;

    readyNum = 0;
    fenjian_photoCheckNum = 0;
    fenjian_photoExistNum = 0;
    fenjian_photoIsFileNum = 0;
    m_failedCopies.clear();
    preparePool();
    const QString finished = CurrentOrder::serverFolder(QStringLiteral("成品/"));
    for (int index = 0; !finished.isEmpty() && index < g_orderGoodsList.size(); ++index) {
        for (const QString& name : g_orderGoodsList.at(index).photoNames) {
            ++fenjian_photoCheckNum;
            startJob(new SeparateThread(finished + name, SeparateTaskPhotoIsFile, this), index);
        }
    }
    if (fenjian_photoCheckNum == 0)
        fenjian_photoIsFileSlot_1(0);
}

void SearchOrder::onFinishSeparateImage()
{
    ++readyNum;
    ui->progressBar->setValue(readyNum);
}

void SearchOrder::fenjian_copyFailedSlot(QString source)
{
    if (!m_failedCopies.contains(source))
        m_failedCopies << source;
}

void SearchOrder::fenjian_photoIsFileSlot_1(int num)
{
    Q_UNUSED(num);
    if (fenjian_photoCheckNum != 0) {
        ++fenjian_photoIsFileNum;
        qDebug() << "读取数量：" << fenjian_photoCheckNum << "  --" << fenjian_photoIsFileNum;
    }
    if (fenjian_photoIsFileNum != fenjian_photoCheckNum)
        return;
    // An order without a folder of its own lists nothing.
    finalPhotoList = SeparationFolders::entries(CurrentOrder::serverFolder(QStringLiteral("成品/")));
    delPhotoList.clear();
    if (g_xztp == QLatin1String("1"))
        delPhotoList = SeparationFolders::entries(CurrentOrder::serverFolder(QStringLiteral("汰片/")));
    if (g_separateModeName == QStringLiteral("沐禾分件"))
        delPhotoList.clear();
    shejiPhotoList = SeparationFolders::designImages(CurrentOrder::serverFolder(QStringLiteral("设计/")));
    qDebug() << "设计图的数据：" << g_curOrderPath + QStringLiteral("设计/") << shejiPhotoList;
    markPhotoList = SeparationFolders::entries(CurrentOrder::serverFolder(QStringLiteral("marks/")));

    ui->groupBox->show();
    ui->progressBar->setMaximum(finalPhotoList.size() + delPhotoList.size() + markPhotoList.size()
                                + shejiPhotoList.size() + 14);
    ui->progressBar->setValue(0);
    ui->progressBar->show();
    qDebug() << "总进度的总数 分别是 finalPhotoList：" << finalPhotoList.size() << " - delPhotoList"
             << delPhotoList.size() << " - markPhotoList" << markPhotoList.size() << " - shejiPhotoList:"
             << shejiPhotoList.size();
    ui->label_finishOrdersNum->setText(QStringLiteral("已完成订单个数：%1/%2").arg(doneOrdersNum).arg(checkOrdersNum));
    ui->label_finishOrdersNum->show();
    preparePool();

    fenjian_finalPhotoOkNum = 0;
    if (finalPhotoList.isEmpty()) {
        fenjian_finalPhotoSlot_2();
        return;
    }
    for (const QString& entry : qAsConst(finalPhotoList)) {
        const QString from = g_curOrderPath + QStringLiteral("成品/") + entry;
        const QString to = g_separateOrderDir + g_productDirName + QLatin1Char('/') + entry;
        qDebug() << "test=" << from << "-to==" << to;
        startJob(new SeparateThread(from, to, true, SeparateTaskFinalPhotoCopy, this));
    }
}

// Counts one report of a stage's jobs: true once all are in. A call on an
// empty list comes from the stage before and goes on at once.
static bool countReport(int* done, const QStringList& list, const std::function<void()>& unit)
{
    if (list.isEmpty())
        return true;
    ++*done;
    unit();
    return *done == list.size();
}

void SearchOrder::fenjian_finalPhotoSlot_2()
{
    if (!countReport(&fenjian_finalPhotoOkNum, finalPhotoList, [this] { onFinishSeparateImage(); }))
        return;
    fenjian_delPhotoOkNum = 0;
    if (delPhotoList.isEmpty()) {
        fenjian_delPhotoSlot_3();
        return;
    }
    for (const QString& entry : qAsConst(delPhotoList))
        startJob(new SeparateThread(g_curOrderPath + QStringLiteral("汰片/") + entry,
                                    g_separateOrderDir + QStringLiteral("汰片/") + entry, true,
                                    SeparateTaskDelPhotoCopy, this));
}

void SearchOrder::fenjian_delPhotoSlot_3()
{
    if (!countReport(&fenjian_delPhotoOkNum, delPhotoList, [this] { onFinishSeparateImage(); }))
        return;
    fenjian_shejiPhotoOkNum = 0;
    if (shejiPhotoList.isEmpty())
        fenjian_shejiPhotoSlot_3_2();
    SeparationFolders::makePath(g_separateOrderDir + QStringLiteral("设计/"));
    // The design images go out as their small thumbnails, under the names of "设计/".
    for (const QString& entry : qAsConst(shejiPhotoList))
        startJob(new SeparateThread(g_curOrderPath + QStringLiteral("设计缩略图100/") + entry,
                                    g_separateOrderDir + QStringLiteral("设计/") + entry, true,
                                    SeparateTaskShejiImgCopy, this));
}

void SearchOrder::fenjian_shejiPhotoSlot_3_2()
{
    if (!countReport(&fenjian_shejiPhotoOkNum, shejiPhotoList, [this] { onFinishSeparateImage(); }))
        return;
    fenjian_markPhotoOkNum = 0;
    if (markPhotoList.isEmpty())
        fenjian_markPhoto_3_1();
    qDebug() << "markPhotoList: " << markPhotoList;
    for (const QString& entry : qAsConst(markPhotoList))
        startJob(new SeparateThread(g_curOrderPath + QStringLiteral("marks/") + entry,
                                    g_separateOrderDir + g_markDirName + QLatin1Char('/') + entry, true,
                                    SeparateTaskMarkPhotoCopy, this));
}

void SearchOrder::fenjian_markPhoto_3_1()
{
    const bool complete = countReport(&fenjian_markPhotoOkNum, markPhotoList, [this] { onFinishSeparateImage(); });
    fenjian_productSumNum = 0;
    fenjian_productOkNum = 0;
    if (!complete)
        return;
    progressBeforeProducts = readyNum;
    SeparateMessage record;
    record.orderId = g_curOrderPayForKey;
    m_message = record;
    isProductsDone = false;

    const bool muhe = g_separateModeName == QStringLiteral("沐禾分件");
    // Copies run side by side: a photo listed twice gets its numbered name
    // here, or both copies would race for the same free name.
    QSet<QString> targets;
    const QString finished = CurrentOrder::serverFolder(QStringLiteral("成品/"));
    for (int i = 0; i < productDirList.size(); ++i) {
        const ProductDirInfo& dir = productDirList.at(i);
        const QString base = muhe ? QString() : dir.firstpath;
        const QString label = dir.label();
        if (dir.secoendpath.isEmpty())
            continue;
        const QString folder = makeProductFolder(separateOrderPath, base, dir, i);
        qDebug() << "要复制照片的产品：" << folder << dir.photoNames;
        if (dir.photoNames.isEmpty()) {
            if (dir.goodTypeId != QLatin1String("40"))
                record.emptyProducts << label;
            continue;
        }
        for (const QString& name : dir.photoNames) {
            const QString source = finished + name;
            // A name that would leave the folder counts as missing, never followed.
            if (!finished.isEmpty() && !SeparateThread::isUnsafeName(name)
                && FileOperation::isFileExist(FileOperation::resolveNameCase(source))) {
                ++fenjian_productSumNum;
                QString target = folder + name;
                for (int n = 1; targets.contains(target); ++n)
                    target = FileOperation::numberedName(folder + name, n);
                targets.insert(target);
                startJob(new SeparateThread(name, target, dir.goodsIndex, false, SeparateTaskProductPhotoCopy, this));
                continue;
            }
            const QString missing = label + QLatin1Char(':') + name;
            if (!record.notExisPhotos.contains(missing))
                record.notExisPhotos << missing;
        }
    }
    if (fenjian_productSumNum == 0)
        fenjian_productPhotoSlot_4(QString());
    m_messageList.append(record);
}

void SearchOrder::fenjian_productPhotoSlot_4(QString fullPicName)
{
    if (fenjian_productSumNum == 0) {
        qDebug() << "产品为空开始下面流程";
        readyNum += 9;
        onFinishSeparateImage();
    } else {
        const int k = fenjian_productOkNum;
        fenjian_productOkNum = k + 1;
        const double step = 10.0 / fenjian_productSumNum;
        const int units = int((k + 1) * step - int(k * step));
        qDebug() << "产品数加了：" << units << "--i" << step << "-- fenjian_productOkNum*i" << (k + 1) * step
                 << " --int( (fenjian_productOkNum-1) * i) " << int(k * step);
        if (units > 0) {
            readyNum += units - 1;
            onFinishSeparateImage();
            qDebug() << "readyNum加一" << readyNum;
        }
    }
    if (!fullPicName.isEmpty() && fullPicName != QLatin1String(":") && !m_message.notExisPhotos.contains(fullPicName)) {
        m_message.notExisPhotos << fullPicName;
        qDebug() << "message_notExisPhotos_fullPicName:" << fullPicName << "  --" << m_message.notExisPhotos;
    }
    qDebug() << "产品总数:" << fenjian_productSumNum << "  产品完成计数:" << fenjian_productOkNum;
    if (fenjian_productOkNum >= fenjian_productSumNum && !isProductsDone) {
        readyNum = progressBeforeProducts + 10;
        // Every copy of the order has reported by now, its failures included.
        m_message.failedCopies = m_failedCopies;
        m_messageList.append(m_message);
        isProductsDone = true;
        qDebug() << "开始html";
        prepareOrderSheet();
    }
}

void SearchOrder::prepareOrderSheet()
{
    sheetFields.resetForNextOrder();
    barCodeUrl = BarCodeDownload::orderUrl(g_curOrderPhotoId);
    barPath = separatePath + QStringLiteral("/条形码.jpg");
    // Nobody waits for the bar code: the run goes on with the picture information.
    startDownloadBar();
    getPicInfo();
}

void SearchOrder::startDownloadBar()
{
    // A bar code of an earlier run today is hidden before it is replaced.
    FileOperation::setHiddenAttribute(barPath);
    qDebug() << "srcsrc===" << barCodeUrl;
    // The order's last record so far: the summary lists a missing bar code there.
    m_barCodes.expect(BarCodeDownload::start(barCodeUrl, barPath, this), m_messageList.size() - 1);
}

void SearchOrder::getPicInfo()
{
    OrderPicRequest request;
    request.loadFineImages(g_curOrderPath);
    qDebug() << "成品照片数量是：" << request.fineImages.size();
    request.designImages = shejiPhotoList;
    request.barPath = barPath;
    request.imagePath = separatePath;
    post(URL_ORDER_GETORDERPIC, request.body(), &SearchOrder::queryPicInfoCallBack);
    qDebug() << "getPicInfo Url:" << URL_ORDER_GETORDERPIC;
    qDebug() << "getPicInfo Paras:" << FormBody::masked(request.body());
}

void SearchOrder::queryPicInfoCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readSuccess(reply, &object, QStringLiteral("查询裁剪信息错误："))) {
        stopRun();
        return;
    }
    qDebug() << "picinfo" << object;
    onFinishSeparateImage();
    orderPicHtml = object.value(QStringLiteral("html")).toString();
    startJob(new SeparateThread(object.value(QStringLiteral("orderpicdescr")).toArray(),
                                SeparateTaskAnalysisPhotoInfo, this));
}

void SearchOrder::fenjian_analysisPhotoInfo()
{
    onFinishSeparateImage();
    qDebug() << "开始保存成品缩略图";
    // The job reads the work folder when it runs: still this order's.
    m_pool.start(new ThumbnailThread(*ImageData::getInstance()->getFineImages(), this, 88), 0);
}

void SearchOrder::onSheetThumbsNotWritten(QStringList paths)
{
    orderRecord().unwrittenFiles << paths;
}

void SearchOrder::onFinishSaveThumb()
{
    qDebug() << "search order thumbnail finished!";
    postQueryOrderInfo();
}

void SearchOrder::postQueryOrderInfo()
{
    const QByteArray body = orderDetailBody();
    post(URL_ORDER_ORDERDETAIL, body, &SearchOrder::queryOrderInfoCallBack);
    qDebug() << "postOrder Url:" << URL_ORDER_ORDERDETAIL;
    qDebug() << "postOrder Paras:" << FormBody::masked(body);
}

void SearchOrder::queryOrderInfoCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readSuccess(reply, &object, QStringLiteral("查询订单信息错误："))) {
        stopRun();
        return;
    }
    qDebug() << "postOrder Json:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    readOrderDetail(object, g_curOrderPayForKey, g_curServiceTimes, &sheetFields);
    qDebug() << "picsMarkArr====" << sheetFields.picsMarkArr.size();
    if (m_runRow >= 0 && m_runRow < orderList.size())
        sheetFields.selectPhotoName = orderList.at(m_runRow).selectphotoname;
    orderRecord().failedCopies << MarkImages::copyAll(markedPictureNames(sheetFields.picsMarkArr), getMarksDir(),
                                                      MarkImages::targetFolder());
    saveExpressPdf();
    // Goes on with the next order: nothing of this order may follow.
    saveHTML();
}

SeparateMessage& SearchOrder::orderRecord()
{
    if (m_messageList.isEmpty())
        m_messageList.append(m_message);
    return m_messageList.last();
}

void SearchOrder::saveExpressPdf()
{
    const QString path = separatePath + QStringLiteral("/快递产品信息.pdf");
    if (!SheetFiles::writeSheetPdf(expressHtmlText, path))
        orderRecord().unwrittenFiles << path;
}

void SearchOrder::saveHTML()
{
    const QString path = separatePath + QStringLiteral("/明细制作单.html");
    qDebug() << "saveFilepath:" << separatePath;
    if (!SheetFiles::writeSheetHtml(orderPicHtml, path)) {
        Dialogs::information(this, tr("提示"), tr("failed to create HTML file"), QMessageBox::Ok);
        orderRecord().unwrittenFiles << path;
    }
    separateNextOrder();
}

QString SearchOrder::getHTMLString()
{
    return LocalProductionSheet().build(sheetFields, barPath, &goodsPhotoTotal);
}

void SearchOrder::separateNextOrder()
{
    ++doneOrdersNum;
    ui->label_finishOrdersNum->setText(QStringLiteral("已完成订单个数：%1/%2").arg(doneOrdersNum).arg(checkOrdersNum));
    ui->progressBar->setValue(0);
    ui->progressBar->setMaximum(0);
    ui->progressBar->hide();
    m_runRow = -1;
    if (beginOrderSeparation())
        endRun();
}

void SearchOrder::endRun()
{
    m_barCodes.markMissing(m_messageList);
    MessageBoxDialog::showRunSummary(m_messageList, ui->pathLineEdit->text(), QDate::currentDate());
    for (OrderItemInfo& order : orderList)
        order.processed = false;
    doneOrdersNum = 0;
    checkOrdersNum = 0;
    m_runRow = -1;
    ui->label_finishOrdersNum->hide();
    ui->groupBox->hide();
    isSeparating = false;
    SeparationBusy::release(this);
}

void SearchOrder::stopRun()
{
    // The stopped order is taken again by the next press.
    if (m_runRow >= 0 && m_runRow < orderList.size())
        orderList[m_runRow].processed = false;
    m_runRow = -1;
    ui->label->hide();
    ui->groupBox->hide();
    isSeparating = false;
    SeparationBusy::release(this);
}
