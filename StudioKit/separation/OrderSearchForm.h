#ifndef ORDERSEARCHFORM_H
#define ORDERSEARCHFORM_H

#include "ui_searchorder.h"

#include <QSize>
#include <QString>

class QDialog;

// The widget tree shared by the order search windows of the design,
// after-sample and Lyra separation: the "SearchOrder" form under the
// window's own object name and starting size. The window's on_… slots are
// connected by name as usual.
//
// Use: `ui = new OrderSearchForm; ui->setupUi(this, "SplitAfterSample", {785, 523});`
// then reach the widgets through `ui` as with any generated form.
class OrderSearchForm : public Ui::SearchOrder
{
public:
    void setupUi(QDialog* window, const QString& objectName, const QSize& size);
    // "选择分件保存路径": a chosen folder becomes the separation root; cancelling keeps it.
    void chooseSeparationRoot(QDialog* window);
};

#endif
