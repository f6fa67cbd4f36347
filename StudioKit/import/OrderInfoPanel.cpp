#include "import/OrderInfoPanel.h"

#include "import/importordermodel.h"
#include "widgets/ElidedLabel.h"
#include "Platform.h"

#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QList>
#include <QPair>
#include <QPushButton>

namespace {

// The window's style sheet sets titles gray and values bold by these
// properties.
QLabel* infoTitle(const QString& text)
{
    auto* label = new QLabel(text);
    label->setProperty("titleS", true);
    return label;
}

QLabel* infoValue(const char* name, QLabel* label = new QLabel)
{
    label->setObjectName(QLatin1String(name));
    label->setProperty("info", true);
    return label;
}

// Folders may be of any length: they must never widen the window.
QLabel* pathValue(const char* name)
{
    return infoValue(name, new ElidedLabel);
}

} // namespace

void OrderInfoPanel::initInfoPanel(QGridLayout* grid)
{
    orderNumberValue = infoValue("orderNumberValue");
    photoTypeValue = infoValue("photoTypeValue");
    serviceTimesValue = infoValue("serviceTimesValue");
    womanNameValue = infoValue("womanNameValue");
    manNameValue = infoValue("manNameValue");
    babyNameValue = infoValue("babyNameValue");
    comboNameValue = infoValue("comboNameValue");
    bookShopValue = infoValue("bookShopValue");
    dealDateValue = infoValue("dealDateValue");
    photographerValue = infoValue("photographerValue");
    makeupValue = infoValue("makeupValue");
    yindouerValue = infoValue("yindouerValue");
    babyNameTitle = infoTitle(QStringLiteral("宝宝姓名："));
    babyNameTitle->setObjectName(QStringLiteral("babyNameTitle"));

    const QList<QPair<QLabel*, QLabel*>> pairs = {
        {infoTitle(QStringLiteral("订单号：")), orderNumberValue},
        {infoTitle(QStringLiteral("拍照类型：")), photoTypeValue},
        {infoTitle(QStringLiteral("服务次数：")), serviceTimesValue},
        {infoTitle(QStringLiteral("女士姓名：")), womanNameValue},
        {infoTitle(QStringLiteral("男士姓名：")), manNameValue},
        {babyNameTitle, babyNameValue},
        {infoTitle(QStringLiteral("套系名：")), comboNameValue},
        {infoTitle(QStringLiteral("预约门店：")), bookShopValue},
        {infoTitle(QStringLiteral("成交日期：")), dealDateValue},
        {infoTitle(QStringLiteral("摄影师：")), photographerValue},
        {infoTitle(QStringLiteral("化妆师：")), makeupValue},
        {infoTitle(QStringLiteral("引逗师：")), yindouerValue},
    };
    for (int i = 0; i < pairs.size(); ++i) {
        const int row = i / 3;
        const int column = (i % 3) * 2;
        grid->addWidget(pairs.at(i).first, row, column, Qt::AlignRight);
        grid->addWidget(pairs.at(i).second, row, column + 1);
    }

    orderPathValue = pathValue("orderPathValue");
    reImportBtn = new QPushButton(QStringLiteral("重新导片"));
    reImportBtn->setFocusPolicy(Qt::NoFocus);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(orderPathValue);
    pathRow->addSpacing(40);
    pathRow->addWidget(reImportBtn);
    pathRow->addStretch();
    grid->addWidget(infoTitle(QStringLiteral("订单路径：")), 4, 0, Qt::AlignRight);
    grid->addLayout(pathRow, 4, 1, 1, 5);

    orderBakPathValue = pathValue("orderBakPathValue");
    grid->addWidget(infoTitle(QStringLiteral("订单备份路径：")), 5, 0, Qt::AlignRight);
    grid->addWidget(orderBakPathValue, 5, 1, 1, 5);

    orderLyraPathValue = pathValue("orderLyraPathValue");
    grid->addWidget(infoTitle(QStringLiteral("订单Lyra路径：")), 6, 0, Qt::AlignRight);
    grid->addWidget(orderLyraPathValue, 6, 1, 1, 5);

    auto* openRow = new QHBoxLayout;
    openRow->setContentsMargins(10, 10, 0, 0);
    openPathBtn = new QPushButton(QStringLiteral("打开路径"));
    openOriginPathBtn = new QPushButton(QStringLiteral("打开原始档路径"));
    openRow->addWidget(openPathBtn);
    openRow->addSpacing(20);
    openRow->addWidget(openOriginPathBtn);
    openRow->addStretch();
    grid->addLayout(openRow, 7, 0, 1, 5);
}

void OrderInfoPanel::showOrder(const ImportOrderModel& order)
{
    orderNumberValue->setText(order.orderpayforkey());
    photoTypeValue->setText(order.phototype());
    serviceTimesValue->setText(order.servicetimes());
    babyNameValue->setText(order.bname());
    womanNameValue->setText(order.wname());
    manNameValue->setText(order.mname());
    comboNameValue->setText(order.comboname());
    bookShopValue->setText(order.orderpayforkey2());
    dealDateValue->setText(order.booktime());
    photographerValue->setText(order.role1());
    makeupValue->setText(order.role2());
    yindouerValue->setText(order.yindouer());
    const bool baby = order.phototype2() == QStringLiteral("宝宝照");
    babyNameTitle->setVisible(baby);
    babyNameValue->setVisible(baby);

    orderPathValue->setText(order.importOrderPath());
    orderBakPathValue->setText(order.importOrderBakPath());
    // The service joins Lyra folders with both separators; shown with one.
    orderLyraPathValue->setText(QDir::toNativeSeparators(Platform::diskPath(order.lyrapath())));
}

void OrderInfoPanel::clear()
{
    for (QLabel* value : {orderNumberValue, photoTypeValue, serviceTimesValue, womanNameValue, manNameValue,
                          babyNameValue, comboNameValue, bookShopValue, dealDateValue, photographerValue, makeupValue,
                          yindouerValue, orderPathValue, orderBakPathValue})
        value->clear();
    reImportBtn->setEnabled(false);
}
