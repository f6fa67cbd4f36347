#ifndef SPLITAFTERSAMPLE_H
#define SPLITAFTERSAMPLE_H

#include "separation/OrderSearchType.h"
#include "separation/SeparateMessage.h"
#include "separation/SeparationRunDialog.h"

#include <QList>
#include <QStringList>

// The after-sample separation tool "样后分件管理": searches the orders of the
// ticked stores by one of eleven types and separates the ticked orders into
// dated folders under a chosen root. Opened by the launcher, which shows it
// maximised and then calls setToolName.
class SplitAfterSample : public SeparationRunDialog
{
    Q_OBJECT
public:
    explicit SplitAfterSample(QWidget* parent = nullptr);

    // The search types of the combo, in combo order. The Lyra separation
    // window searches with the same rows.
    static const QList<OrderSearchType>& afterSampleSearchTypes();

protected:
    void closeEvent(QCloseEvent* event) override;

    bool createWorkFolders() override;
    void readProducts(const QJsonObject& reply) override;
    int listOrderPhotos() override;
    void finalPhotosCopied() override;
    void addPicOptions(OrderPicRequest& request) const override;
    void readOrderInfo(const QJsonObject& reply) override;
    SheetFiles::PageSetup expressPageSetup() const override { return SheetFiles::PageSetup::PrinterDefaults; }
    // The order's record, added to the run's when the order is done.
    SeparateMessage& orderRecord() override { return m_record; }
    void orderDone() override;

private slots:
    void on_pushButton_separate_clicked();

private:
    SeparateMessage m_record;
    QStringList picsMarkArr; // names of the order's marked pictures
};

#endif
