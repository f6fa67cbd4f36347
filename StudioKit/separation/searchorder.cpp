#include "separation/searchorder.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/FormBody.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "separation/MessageDialog.h"
#include "separation/OrderSearchForm.h"
#include "separation/OrderSearchReply.h"
#include "separation/OrderSearchType.h"
#include "separation/OrderTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QDebug>
#include <QJsonObject>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardItemModel>

SearchOrder::SearchOrder(QWidget* parent)
    : QDialog(parent)
    , ui(new OrderSearchForm)
{
    ui->setupUi(this, QStringLiteral("SearchOrder"), QSize(785, 545));
    isWindowShow = true;
    ui->orderNumber->setFocus(Qt::OtherFocusReason);
    // An ordinary top-level window, not a dialog frame.
    setWindowFlags(Qt::WindowFlags());

    searchTypeList = OrderSearchType::separationTexts();
    ui->comboBox->insertItems(ui->comboBox->count(), searchTypeList);

    model = new QStandardItemModel(this);
    m_table.reset(new OrderTable(ui->tableView, model, OrderTable::separationColumns()));

    connect(ui->searchButton, &QPushButton::clicked, this, &SearchOrder::clickSearch);
    connect(ui->cancelButton, &QPushButton::clicked, this, &SearchOrder::clickCancel);

    ui->tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->tableView, &QWidget::customContextMenuRequested, this, &SearchOrder::showMouseRightButton);
    openDirAction = new QAction(QStringLiteral("打开订单目录"), this);
    connect(openDirAction, &QAction::triggered, this, &SearchOrder::openOrderDir);
    contextMenu = new QMenu(ui->tableView);
    contextMenu->addAction(openDirAction);

    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    ui->label->hide();
    ui->label_finishOrdersNum->hide();
    ui->groupBox->hide();

    m_stores.fill(ui->cb_shops);

    // The .dat file lies in the current folder, as the program's others do.
    const QStringList saved = FileOperation::readStringList(QStringLiteral("path_separatePhotos.dat"), 1);
    if (!saved.isEmpty())
        ui->pathLineEdit->setText(saved.first());
}

SearchOrder::~SearchOrder()
{
    delete contextMenu;
    delete openDirAction;
    delete ui;
}

void SearchOrder::setToolName(QString name)
{
    toolName = name;
    if (name != QStringLiteral("批量删除"))
        return;
    searchTypeList = QStringList{QStringLiteral("预约单号"), QStringLiteral("拍摄日期"), QStringLiteral("选片日期"),
                                 QStringLiteral("预约日期"), QStringLiteral("发货日期"), QStringLiteral("取件完成日期"),
                                 QStringLiteral("姓名"),     QStringLiteral("电话")};
    ui->comboBox->clear();
    ui->comboBox->insertItems(0, searchTypeList);
    ui->selectPathButton->hide();
    ui->pathLineEdit->hide();
    ui->pushButton_separate->setText(QStringLiteral("批量删除"));
}

bool SearchOrder::hasCheckedOrder()
{
    return OrderTable::hasCheckedOrder(orderList);
}

void SearchOrder::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    m_table->applyColumnWidths();
}

void SearchOrder::closeEvent(QCloseEvent* event)
{
    // Jobs of this window stop reporting; other windows' jobs are not ours to drop.
    isWindowShow = false;
    CallbackGuard::of(this)->close();
    event->accept();
}

void SearchOrder::clickCancel()
{
    close();
}

void SearchOrder::clickSearch()
{
    if (isSeparating) {
        // A reply now would replace the rows the run is working through.
        Dialogs::information(nullptr, QStringLiteral("通知"), QStringLiteral("正在分件，请稍后"), QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    const OrderSearchType* type = OrderSearchType::named(ui->comboBox->currentText());
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

void SearchOrder::postDataFunc(QByteArray& body)
{
    body += "&storesids=" + FormBody::escapeValue(m_stores.joinedIds(ui->cb_shops->checkedRows()));
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &SearchOrder::queryCallBack);
    qDebug() << "Query OrderID Url:" << URL_ORDER_ORDER_LIST;
    qDebug() << "Query OrderID Paras:" << FormBody::masked(body);
    ServiceCall::postForm(manager, URL_ORDER_ORDER_LIST, body);
}

void SearchOrder::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    // A run in progress keeps the rows it is working through.
    if (ServiceCall::readReply(reply, &object) && !isSeparating)
        OrderSearchReply::apply(object, OrderItemInfo::Tool::Separation, &orderList, [this] { fillOrderTable(); });
    backToIdle();
}

void SearchOrder::backToIdle()
{
    ui->searchButton->setEnabled(true);
    ui->searchButton->setText(QStringLiteral("检索"));
}

void SearchOrder::fillOrderTable()
{
    m_table->fill(orderList);
}

void SearchOrder::on_tableView_clicked(QModelIndex index)
{
    m_table->toggle(orderList, index.row());
}

void SearchOrder::on_pushButton_selectAll_clicked()
{
    m_table->selectAll(orderList);
}

void SearchOrder::on_pushButton_selectOpposite_clicked()
{
    m_table->invert(orderList);
}

void SearchOrder::showMouseRightButton(QPoint pos)
{
    Q_UNUSED(pos);
    m_table->popUpFolderMenu(orderList, contextMenu, openDirAction);
}

void SearchOrder::openOrderDir()
{
    if (const OrderItemInfo* order = m_table->currentOrder(orderList))
        OrderTable::openOrderFolder(order->orderpath);
}

void SearchOrder::on_selectPathButton_clicked()
{
    const QString folder = Dialogs::getExistingDirectory(this, tr("选择分件保存路径"), QString(),
                                                         QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        ui->pathLineEdit->setText(folder);
}

void SearchOrder::on_pushButton_separate_clicked()
{
    if (ui->pushButton_separate->text() == QStringLiteral("批量删除"))
        askForDeletion();
}

void SearchOrder::askForDeletion()
{
    if (OrderDeletionRun::refuseWhileDeleting(m_deletion))
        return;
    if (!hasCheckedOrder()) {
        Dialogs::information(nullptr, QString(), QStringLiteral("请选择订单"), QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    auto* check = new MessageDialog(nullptr);
    connect(check, SIGNAL(deleteorderfile()), this, SLOT(startDel()));
    check->show();
}

void SearchOrder::startDel()
{
    if (!OrderDeletionRun::refuseWhileDeleting(m_deletion))
        m_deletion = OrderDeletionRun::start(orderList, {ui->groupBox, ui->progressBar, ui->label});
}
