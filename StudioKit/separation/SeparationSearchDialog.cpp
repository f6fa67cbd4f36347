#include "separation/SeparationSearchDialog.h"

#include "core/CallbackGuard.h"
#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "files/FileOperation.h"
#include "separation/OrderSearchForm.h"

#include <QCloseEvent>

SeparationSearchDialog::SeparationSearchDialog(QWidget* parent)
    : OrderSearchDialog(parent)
    , ui(new OrderSearchForm)
{
}

SeparationSearchDialog::~SeparationSearchDialog()
{
    delete ui;
}

void SeparationSearchDialog::setUpSeparationSearch(const QString& objectName, const QSize& size,
                                                   const QList<OrderSearchType>& types, OrderItemInfo::Tool tool)
{
    ui->setupUi(this, objectName, size);
    ui->orderNumber->setFocus(Qt::OtherFocusReason);
    // An ordinary top-level window, not a dialog frame.
    setWindowFlags(Qt::WindowFlags());
    setSearchTypes(types);
    setUpOrderSearch({ui->tableView, ui->searchButton, ui->cancelButton, ui->groupBox, ui->progressBar, ui->label,
                      ui->label_finishOrdersNum},
                     OrderTable::separationColumns(), {URL_ORDER_ORDER_LIST, tool});
    m_stores.fill(ui->cb_shops);
    loadSeparatePath();
}

void SeparationSearchDialog::setToolName(QString name)
{
    toolName = name;
}

void SeparationSearchDialog::loadSeparatePath()
{
    // The .dat file lies in the current folder, as the program's others do.
    const QStringList saved = FileOperation::readStringList(QStringLiteral("path_separatePhotos.dat"), 1);
    if (!saved.isEmpty())
        ui->pathLineEdit->setText(saved.first());
}

void SeparationSearchDialog::setSearchTypes(const QList<OrderSearchType>& types)
{
    m_searchTypes = types;
    QStringList texts;
    for (const OrderSearchType& type : types)
        texts << type.text;
    ui->comboBox->clear();
    ui->comboBox->insertItems(0, texts);
}

const OrderSearchType* SeparationSearchDialog::searchType(const QString& text) const
{
    for (const OrderSearchType& type : m_searchTypes) {
        if (type.text == text)
            return &type;
    }
    return nullptr;
}

void SeparationSearchDialog::clickSearch()
{
    if (holdsOrders()) {
        // A reply now would replace the rows the run is working through.
        showRunBusy();
        return;
    }
    const OrderSearchType* type = searchType(ui->comboBox->currentText());
    if (!type)
        return;
    const QString keyword = type->keyword(ui->orderNumber->text(), ui->calendar->selectedDate());
    if (keyword.isEmpty()) {
        Dialogs::information(nullptr, QStringLiteral("警告"), type->emptyKeywordText, QMessageBox::Yes,
                             QMessageBox::Yes);
        return;
    }
    QByteArray body = type->body(keyword) + "&storesids="
        + FormBody::escapeValue(m_stores.joinedIds(ui->cb_shops->checkedRows()));
    postDataFunc(body);
}

void SeparationSearchDialog::closeEvent(QCloseEvent* event)
{
    // Jobs and workers of this window stop reporting first.
    CallbackGuard::of(this)->close();
    OrderSearchDialog::closeEvent(event);
}

bool SeparationSearchDialog::acceptsSeparationRoot(bool emptyPasses)
{
    const QString root = ui->pathLineEdit->text();
    if (root.isEmpty() ? emptyPasses : FileOperation::isDirExist(root))
        return true;
    Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("分件路径不存在"), QMessageBox::Yes,
                         QMessageBox::Yes);
    return false;
}

void SeparationSearchDialog::showRunBusy()
{
    Dialogs::information(nullptr, QStringLiteral("通知"), QStringLiteral("正在分件，请稍后"), QMessageBox::Yes,
                         QMessageBox::Yes);
}

void SeparationSearchDialog::on_selectPathButton_clicked()
{
    ui->chooseSeparationRoot(this);
}
