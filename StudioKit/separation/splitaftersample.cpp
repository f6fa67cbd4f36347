#include "separation/splitaftersample.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "separation/OrderSearchForm.h"
#include "separation/OrderSearchReply.h"
#include "separation/OrderTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QDebug>
#include <QJsonObject>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardItemModel>

namespace {

const OrderSearchType* afterSampleType(const QString& text)
{
    for (const OrderSearchType& type : SplitAfterSample::afterSampleSearchTypes()) {
        if (type.text == text)
            return &type;
    }
    return nullptr;
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
    : QDialog(parent)
    , ui(new OrderSearchForm)
{
    ui->setupUi(this, QStringLiteral("SplitAfterSample"), QSize(785, 523));
    isWindowShow = CallbackGuard::of(this);
    ui->orderNumber->setFocus(Qt::OtherFocusReason);
    // An ordinary top-level window, not a dialog frame.
    setWindowFlags(Qt::WindowFlags());

    for (const OrderSearchType& type : afterSampleSearchTypes())
        searchTypes << type.text;
    ui->comboBox->insertItems(ui->comboBox->count(), searchTypes);

    model = new QStandardItemModel(this);
    m_table.reset(new OrderTable(ui->tableView, model, OrderTable::separationColumns()));

    connect(ui->searchButton, &QPushButton::clicked, this, &SplitAfterSample::clickSearch);
    connect(ui->cancelButton, &QPushButton::clicked, this, &SplitAfterSample::clickCancel);

    ui->tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->tableView, &QWidget::customContextMenuRequested, this, &SplitAfterSample::showMouseRightButton);
    openDirAction = new QAction(QStringLiteral("打开订单目录"), this);
    connect(openDirAction, &QAction::triggered, this, &SplitAfterSample::openOrderDir);
    contextMenu = new QMenu(ui->tableView);
    contextMenu->addAction(openDirAction);

    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    ui->label_finishOrdersNum->hide();
    ui->label->hide();
    ui->groupBox->hide();

    m_stores.fill(ui->cb_shops);
    m_pool.setMaxThreadCount(10);
    m_pool.setExpiryTimeout(-1);
    loadSeparatePath();
}

SplitAfterSample::~SplitAfterSample()
{
    delete contextMenu;
    delete openDirAction;
    delete ui;
}

void SplitAfterSample::setToolName(QString name)
{
    toolName = name;
}

bool SplitAfterSample::hasCheckedOrder()
{
    return OrderTable::hasCheckedOrder(m_orderList);
}

void SplitAfterSample::fillOrderTable()
{
    m_table->fill(m_orderList);
}

void SplitAfterSample::loadSeparatePath()
{
    // The .dat file lies in the current folder, as the program's others do.
    const QStringList saved = FileOperation::readStringList(QStringLiteral("path_separatePhotos.dat"), 1);
    if (!saved.isEmpty())
        ui->pathLineEdit->setText(saved.first());
}

void SplitAfterSample::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    m_table->applyColumnWidths();
}

void SplitAfterSample::closeEvent(QCloseEvent* event)
{
    qDebug() << "要关闭窗口了";
    // Jobs of this window stop reporting; other windows' jobs are not ours to drop.
    isWindowShow->close();
    m_pool.clear();
    event->accept();
}

void SplitAfterSample::clickCancel()
{
    close();
}

void SplitAfterSample::clickSearch()
{
    const OrderSearchType* type = afterSampleType(ui->comboBox->currentText());
    if (!type)
        return;
    const QString keyword = type->keyword(ui->orderNumber->text(), ui->calendar->selectedDate());
    if (keyword.isEmpty()) {
        Dialogs::information(nullptr, QStringLiteral("警告"), type->emptyKeywordText, QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    QByteArray body = type->body(keyword);
    postDataFunc(body);
    ui->searchButton->setEnabled(false);
    ui->searchButton->setText(QStringLiteral("检索中..."));
}

void SplitAfterSample::postDataFunc(QByteArray& body)
{
    body += "&storesids=" + FormBody::escapeValue(m_stores.joinedIds(ui->cb_shops->checkedRows()));
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &SplitAfterSample::queryCallBack);
    qDebug() << "Query OrderID Url:" << URL_ORDER_ORDER_LIST;
    qDebug() << "Query OrderID Paras:" << FormBody::masked(body);
    ServiceCall::postForm(manager, URL_ORDER_ORDER_LIST, body);
}

void SplitAfterSample::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (ServiceCall::readReply(reply, &object))
        OrderSearchReply::apply(object, OrderItemInfo::Tool::Separation, &m_orderList, [this] { fillOrderTable(); });
    restoreSearchButton();
}

void SplitAfterSample::restoreSearchButton()
{
    ui->searchButton->setEnabled(true);
    ui->searchButton->setText(QStringLiteral("检索"));
}

void SplitAfterSample::on_tableView_clicked(QModelIndex index)
{
    m_table->toggle(m_orderList, index.row());
}

void SplitAfterSample::on_pushButton_selectAll_clicked()
{
    m_table->selectAll(m_orderList);
}

void SplitAfterSample::on_pushButton_selectOpposite_clicked()
{
    m_table->invert(m_orderList);
}

void SplitAfterSample::showMouseRightButton(QPoint pos)
{
    Q_UNUSED(pos);
    m_table->popUpFolderMenu(m_orderList, contextMenu, openDirAction);
}

void SplitAfterSample::openOrderDir()
{
    if (const OrderItemInfo* order = m_table->currentOrder(m_orderList))
        OrderTable::openOrderFolder(order->orderpath);
}

void SplitAfterSample::on_selectPathButton_clicked()
{
    const QString folder = Dialogs::getExistingDirectory(this, tr("选择分件保存路径"), QString(),
                                                         QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        ui->pathLineEdit->setText(folder);
}
