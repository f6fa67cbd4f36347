#include "separation/splitaftersample.h"

#include "core/Globals.h"
#include "files/OrderFolders.h"
#include "files/ThumbnailThread.h"
#include "separation/MarkImages.h"
#include "separation/OrderPicRequest.h"
#include "separation/OrderSearchForm.h"
#include "separation/OrderSheetFields.h"
#include "separation/ProductPlan.h"
#include "separation/SeparationFolders.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonObject>

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
    : SeparationRunDialog(parent)
{
    setUpSeparationSearch(QStringLiteral("SplitAfterSample"), QSize(785, 523), afterSampleSearchTypes(),
                          OrderItemInfo::Tool::Separation);
}

void SplitAfterSample::closeEvent(QCloseEvent* event)
{
    qDebug() << "要关闭窗口了";
    SeparationRunDialog::closeEvent(event);
    // A job still running may write the program's run state: the next run
    // waits for it.
    m_pool.waitForDone();
}

void SplitAfterSample::on_pushButton_separate_clicked()
{
    // A search reply would replace the rows a run works through.
    if (ui->searchButton->isEnabled())
        startRun();
}

void SplitAfterSample::readProducts(const QJsonObject& reply)
{
    g_orderGoodsList = ProductPlan::read(reply, ProductPlan::Reading::AfterSample).goods;
}

bool SplitAfterSample::createWorkFolders()
{
    // A new order: its record starts empty.
    m_record = SeparateMessage();
    g_separateOrderDir = separatePath;
    return SeparationFolders::createRunFolder(separatePath + g_productDirName);
}

int SplitAfterSample::listOrderPhotos()
{
    qDebug() << "总进度的总数 分别是 finalPhotoList：" << finalPhotoList.size();
    return 0;
}

void SplitAfterSample::finalPhotosCopied()
{
    // The order's record comes next: the summary lists a missing bar code there.
    prepareOrderSheet(m_messageList.size());
}

void SplitAfterSample::addPicOptions(OrderPicRequest& request) const
{
    request.withDesignImages = false;
    request.afterSample = true;
}

void SplitAfterSample::readOrderInfo(const QJsonObject& reply)
{
    const QJsonArray pictures = reply.value(QStringLiteral("orderpicdescr")).toArray();
    picsMarkArr = markedPictureNames(readPicsMarks(pictures));
    qDebug() << "orderpicdescr====" << pictures << "picsMarkArr====" << picsMarkArr.size();
    m_record.unwrittenFiles << MarkImages::copyAll(picsMarkArr, getMarksDir(), MarkImages::targetFolder());
}

void SplitAfterSample::orderDone()
{
    m_record.orderId = g_curOrderPayForKey;
    m_record.failedCopies = m_failedCopies;
    m_messageList.append(m_record);
}
