#include "lyra/exportlyraresult.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "files/FileOperation.h"
#include "lyra/lyrathread.h"
#include "separation/OrderSearchForm.h"
#include "separation/OrderSearchReply.h"
#include "separation/OrderTable.h"
#include "separation/splitaftersample.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardItemModel>

namespace {

const OrderSearchType* lyraType(const QString& text)
{
    for (const OrderSearchType& type : ExportLyraResult::lyraSearchTypes()) {
        if (type.text == text)
            return &type;
    }
    return nullptr;
}

} // namespace

const QList<OrderSearchType>& ExportLyraResult::lyraSearchTypes()
{
    static const QList<OrderSearchType> types = [] {
        const QStringList texts = {"转数码日期", "预约单号", "拍摄日期", "选片日期", "选片完成日期",
                                   "上件日期",   "预约日期", "发货日期", "姓名",     "电话"};
        QList<OrderSearchType> rows;
        for (const QString& text : texts) {
            for (const OrderSearchType& type : SplitAfterSample::afterSampleSearchTypes()) {
                if (type.text == text)
                    rows << type;
            }
        }
        return rows;
    }();
    return types;
}

ExportLyraResult::ExportLyraResult(QWidget* parent)
    : QDialog(parent)
    , ui(new OrderSearchForm)
{
    ui->setupUi(this, QStringLiteral("ExportLyraResult"), QSize(785, 545));
    isWindowShow = CallbackGuard::of(this);
    ui->orderNumber->setFocus(Qt::OtherFocusReason);
    // An ordinary top-level window, not a dialog frame.
    setWindowFlags(Qt::WindowFlags());

    for (const OrderSearchType& type : lyraSearchTypes())
        searchTypes << type.text;
    ui->comboBox->insertItems(ui->comboBox->count(), searchTypes);

    model = new QStandardItemModel(this);
    m_table.reset(new OrderTable(ui->tableView, model, OrderTable::separationColumns()));

    connect(ui->searchButton, &QPushButton::clicked, this, &ExportLyraResult::clickSearch);
    connect(ui->cancelButton, &QPushButton::clicked, this, &ExportLyraResult::clickCancel);

    ui->tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->tableView, &QWidget::customContextMenuRequested, this, &ExportLyraResult::showMouseRightButton);
    openDirAction = new QAction(QStringLiteral("打开订单目录"), this);
    connect(openDirAction, &QAction::triggered, this, &ExportLyraResult::openOrderDir);
    contextMenu = new QMenu(ui->tableView);
    contextMenu->addAction(openDirAction);

    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    ui->label_finishOrdersNum->hide();
    ui->label->hide();
    ui->groupBox->hide();
    // Progress names files from Lyra's folders: never markup.
    ui->label->setTextFormat(Qt::PlainText);

    m_stores.fill(ui->cb_shops);
    loadSeparatePath();
    lyraThread = new Lyrathread(this, this);
}

ExportLyraResult::~ExportLyraResult()
{
    if (lyraThread->isRunning()) {
        // Closing does not stop an export, nor wait for it: the worker goes
        // on by itself and reports to no one. Only the program's end stops
        // it, between two files, and waits for it.
        Lyrathread* worker = lyraThread;
        worker->setParent(nullptr);
        connect(worker, &QThread::finished, worker, &QObject::deleteLater);
        connect(qApp, &QCoreApplication::aboutToQuit, worker, [worker] {
            worker->stop();
            worker->wait();
        });
    } else {
        lyraThread->stop();
        lyraThread->quit();
        lyraThread->wait();
    }
    delete contextMenu;
    delete openDirAction;
    delete ui;
}

void ExportLyraResult::setToolName(QString name)
{
    toolName = name;
}

bool ExportLyraResult::hasCheckedOrder()
{
    return OrderTable::hasCheckedOrder(m_orderList);
}

void ExportLyraResult::fillOrderTable()
{
    m_table->fill(m_orderList);
}

void ExportLyraResult::loadSeparatePath()
{
    const QStringList saved = FileOperation::readStringList(QStringLiteral("path_separatePhotos.dat"), 1);
    if (!saved.isEmpty())
        ui->pathLineEdit->setText(saved.first());
}

void ExportLyraResult::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    m_table->applyColumnWidths();
}

// This window runs no pool jobs, so there is no queue of its own to clear
// and none of the other windows' to touch.
void ExportLyraResult::closeEvent(QCloseEvent* event)
{
    isWindowShow->close();
    event->accept();
}

void ExportLyraResult::clickCancel()
{
    close();
}

void ExportLyraResult::clickSearch()
{
    const OrderSearchType* type = lyraType(ui->comboBox->currentText());
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
    ui->showSearching(true);
}

void ExportLyraResult::postDataFunc(QByteArray& body)
{
    body += "&storesids=" + FormBody::escapeValue(m_stores.joinedIds(ui->cb_shops->checkedRows()));
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &ExportLyraResult::queryCallBack);
    qDebug() << "Query OrderID Url:" << URL_ORDER_ORDER_LIST;
    qDebug() << "Query OrderID Paras:" << FormBody::masked(body);
    ServiceCall::postForm(manager, URL_ORDER_ORDER_LIST, body);
}

void ExportLyraResult::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (ServiceCall::readReply(reply, &object))
        OrderSearchReply::apply(object, OrderItemInfo::Tool::Lyra, &m_orderList, [this] { fillOrderTable(); });
    ui->showSearching(false);
}

void ExportLyraResult::on_tableView_clicked(QModelIndex index)
{
    m_table->toggle(m_orderList, index.row());
}

void ExportLyraResult::on_pushButton_selectAll_clicked()
{
    m_table->selectAll(m_orderList);
}

void ExportLyraResult::on_pushButton_selectOpposite_clicked()
{
    m_table->invert(m_orderList);
}

void ExportLyraResult::showMouseRightButton(QPoint pos)
{
    Q_UNUSED(pos);
    m_table->popUpFolderMenu(m_orderList, contextMenu, openDirAction);
}

void ExportLyraResult::openOrderDir()
{
    if (const OrderItemInfo* order = m_table->currentOrder(m_orderList))
        OrderTable::openOrderFolder(order->orderpath);
}

void ExportLyraResult::on_selectPathButton_clicked()
{
    ui->chooseSeparationRoot(this);
}

void ExportLyraResult::on_pushButton_separate_clicked()
{
    if (isSeparating) {
        Dialogs::information(nullptr, QStringLiteral("通知"), QStringLiteral("正在分件，请稍后"), QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    if (!hasCheckedOrder()) {
        Dialogs::information(nullptr, QString(), QStringLiteral("请选择订单"), QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    // An empty root would put the tree at the top of the disk.
    const QString root = ui->pathLineEdit->text();
    if (root.isEmpty() || !FileOperation::isDirExist(root)) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("分件路径不存在"), QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    isSeparating = true;
    ui->groupBox->show();
    ui->label->show();
    ui->label->setText(QStringLiteral("开始导出Lyra结果..."));
    // The last export may still be returning after its report: start() on
    // a running thread would do nothing.
    lyraThread->wait();
    lyraThread->mode = QStringLiteral("exportLyraresult");
    lyraThread->exportRoot = root;
    lyraThread->orders = m_orderList;
    // Copies: a shop switch may rewrite the globals while the export runs.
    lyraThread->lyraIsDownloadAll = g_lyraIsDownloadAll;
    lyraThread->lyraBigImg = g_lyraBigImg;
    lyraThread->start(QThread::InheritPriority);
}

void ExportLyraResult::slt_exportLyraResult(QJsonObject msgObjc)
{
    const QString type = msgObjc.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("all_finish")) {
        Dialogs::information(nullptr, QStringLiteral("温馨提示"), msgObjc.value(QStringLiteral("message")).toString(),
                             QMessageBox::Yes, QMessageBox::Yes);
        isSeparating = false;
        ui->groupBox->hide();
        ui->label->hide();
    } else if (type == QLatin1String("update_msg")) {
        ui->label->setText(msgObjc.value(QStringLiteral("alert")).toString());
    } else {
        qDebug() << msgObjc;
    }
}
