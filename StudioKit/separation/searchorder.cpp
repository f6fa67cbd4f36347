#include "separation/searchorder.h"

#include "core/Globals.h"
#include "core/FormBody.h"
#include "files/FileOperation.h"
#include "files/OrderFolders.h"
#include "files/ThumbnailThread.h"
#include "separation/CurrentOrder.h"
#include "separation/LocalProductionSheet.h"
#include "separation/MarkImages.h"
#include "separation/MessageDialog.h"
#include "separation/OrderSearchForm.h"
#include "separation/OrderSearchType.h"
#include "separation/OrderPicRequest.h"
#include "separation/ProductPlan.h"
#include "separation/SeparateThread.h"
#include "separation/SeparationFolders.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonObject>
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
    : SeparationRunDialog(parent)
{
    setUpSeparationSearch(QStringLiteral("SearchOrder"), QSize(785, 545),
                          typesNamed(OrderSearchType::separationTexts()), OrderItemInfo::Tool::Separation);
}

void SearchOrder::setToolName(QString name)
{
    SeparationRunDialog::setToolName(name);
    if (name != QStringLiteral("批量删除"))
        return;
    setSearchTypes(typesNamed({QStringLiteral("预约单号"), QStringLiteral("拍摄日期"), QStringLiteral("选片日期"),
                               QStringLiteral("预约日期"), QStringLiteral("发货日期"), QStringLiteral("取件完成日期"),
                               QStringLiteral("姓名"), QStringLiteral("电话")}));
    ui->selectPathButton->hide();
    ui->pathLineEdit->hide();
    ui->pushButton_separate->setText(QStringLiteral("批量删除"));
}

void SearchOrder::on_pushButton_separate_clicked()
{
    if (ui->pushButton_separate->text() == QStringLiteral("批量删除")) {
        askForDeletion();
        return;
    }
    startRun();
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

void SearchOrder::addProductsOptions(FormBody& body) const
{
    body.add(QStringLiteral("is_qu"), QStringLiteral("1"));
}

void SearchOrder::readProducts(const QJsonObject& reply)
{
    const ProductPlan plan = ProductPlan::read(reply);
    productDirList = plan.dirs;
    g_orderGoodsList = plan.goods;
}

bool SearchOrder::createWorkFolders()
{
    separateOrderPath = separatePath;
    if (g_separateModeName.isEmpty()) {
        separatePath += QStringLiteral("其它/");
        if (!SeparationFolders::createRunFolder(separatePath))
            return false;
    }
    g_separateOrderDir = separatePath;
    return SeparationFolders::createRunFolder(separatePath + g_productDirName)
        && (!g_separateModeName.isEmpty() || SeparationFolders::createRunFolder(separatePath + QStringLiteral("汰片")))
        && SeparationFolders::createRunFolder(separatePath + g_markDirName);
}

int SearchOrder::listOrderPhotos()
{
    delPhotoList.clear();
    if (g_xztp == QLatin1String("1"))
        delPhotoList = SeparationFolders::entries(CurrentOrder::serverFolder(QStringLiteral("汰片/")));
    if (g_separateModeName == QStringLiteral("沐禾分件"))
        delPhotoList.clear();
    shejiPhotoList = SeparationFolders::designImages(CurrentOrder::serverFolder(QStringLiteral("设计/")));
    qDebug() << "设计图的数据：" << g_curOrderPath + QStringLiteral("设计/") << shejiPhotoList;
    markPhotoList = SeparationFolders::entries(CurrentOrder::serverFolder(QStringLiteral("marks/")));
    qDebug() << "总进度的总数 分别是 finalPhotoList：" << finalPhotoList.size() << " - delPhotoList"
             << delPhotoList.size() << " - markPhotoList" << markPhotoList.size() << " - shejiPhotoList:"
             << shejiPhotoList.size();
    return delPhotoList.size() + markPhotoList.size() + shejiPhotoList.size();
}

void SearchOrder::finalPhotosCopied()
{
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
        sheetFields.resetForNextOrder();
        // The order's last record so far: the summary lists a missing bar code there.
        prepareOrderSheet(m_messageList.size() - 1);
    }
}


void SearchOrder::addPicOptions(OrderPicRequest& request) const
{
    qDebug() << "成品照片数量是：" << request.fineImages.size();
    request.designImages = shejiPhotoList;
}

void SearchOrder::readOrderInfo(const QJsonObject& reply)
{
    readOrderDetail(reply, g_curOrderPayForKey, g_curServiceTimes, &sheetFields);
    qDebug() << "picsMarkArr====" << sheetFields.picsMarkArr.size();
    if (m_runRow >= 0 && m_runRow < orderList.size())
        sheetFields.selectPhotoName = orderList.at(m_runRow).selectphotoname;
    orderRecord().failedCopies << MarkImages::copyAll(markedPictureNames(sheetFields.picsMarkArr), getMarksDir(),
                                                      MarkImages::targetFolder());
}

SeparateMessage& SearchOrder::orderRecord()
{
    if (m_messageList.isEmpty())
        m_messageList.append(m_message);
    return m_messageList.last();
}

QString SearchOrder::getHTMLString()
{
    return LocalProductionSheet().build(sheetFields, barPath, &goodsPhotoTotal);
}

QString SearchOrder::summaryRoot() const
{
    return ui->pathLineEdit->text();
}

void SearchOrder::stopRun()
{
    ui->label->hide();
    ui->groupBox->hide();
    SeparationRunDialog::stopRun();
}
