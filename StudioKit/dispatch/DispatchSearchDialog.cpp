#include "dispatch/DispatchSearchDialog.h"

#include "core/Dialogs.h"
#include "dispatch/SearchControls.h"
#include "widgets/CalendarPicker.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

namespace {

void warn(const QString& text)
{
    Dialogs::information(nullptr, QStringLiteral("警告"), text, QMessageBox::Yes, QMessageBox::Yes);
}

} // namespace

DispatchSearchDialog::DispatchSearchDialog(QWidget* parent)
    : QDialog(parent)
{
}

DispatchSearchDialog::~DispatchSearchDialog()
{
    SearchControls::dropRequests(this);
}

void DispatchSearchDialog::setUpSearches(const QString& title, const SearchWidgets& widgets,
                                         const QList<KeywordType>& types)
{
    m_search = widgets;
    m_types = types;
    setWindowFlags(Qt::WindowFlags());
    setWindowTitle(title);
}

QStandardItemModel* DispatchSearchDialog::showOrders(QTableView* view, const QStringList& headers)
{
    auto* model = new QStandardItemModel(this);
    SearchControls::setHeaders(model, headers);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return model;
}

void DispatchSearchDialog::endSearches()
{
    SearchControls::setBusy(m_search.keywordButton, false);
    SearchControls::setBusy(m_search.orderNumberButton, false);
}

void DispatchSearchDialog::keyPressEvent(QKeyEvent* event)
{
    SearchControls::routeReturn(event, {{m_search.scanBox, [this] { scanReturned(); }},
                                        {m_search.orderNumberBox, [this] { on_pushButton_clicked(); }},
                                        {m_search.keywordBox, [this] { on_pushButton_2_clicked(); }}});
}

void DispatchSearchDialog::scanReturned()
{
    const QString scanned = m_search.scanBox->text();
    if (scanned.isEmpty()) {
        warn(QStringLiteral("请输入订单号"));
        return;
    }
    m_search.scanBox->selectAll();
    lookUpScanned(scanned);
}

void DispatchSearchDialog::on_pushButton_clicked()
{
    const QString typed = m_search.orderNumberBox->text();
    if (typed.trimmed().isEmpty()) {
        warn(QStringLiteral("请输入订单号"));
        return;
    }
    searchOrderNumber(typed);
    SearchControls::setBusy(m_search.orderNumberButton, true);
}

QString DispatchSearchDialog::takeKeyword()
{
    return m_search.keywordBox->text();
}

void DispatchSearchDialog::on_pushButton_2_clicked()
{
    const QString keyword = takeKeyword();
    const int index = m_search.typeBox->currentIndex();
    if (index < 0 || index >= m_types.size())
        return;
    if (keyword.isEmpty()) {
        warn(m_types.at(index).emptyMessage);
        return;
    }
    postKeywordSearch(m_types.at(index).body(keyword));
    SearchControls::setBusy(m_search.keywordButton, true);
}

void DispatchSearchDialog::on_comboBox_currentIndexChanged(int index)
{
    if (SearchControls::changeKeywordType(m_search.keywordBox, m_types.value(index).date))
        showCalendar();
}

void DispatchSearchDialog::showCalendar()
{
    connect(SearchControls::openCalendar(), &CalendarPicker::urgentDate, this, &DispatchSearchDialog::on_newDate);
}

void DispatchSearchDialog::on_newDate(QString date)
{
    m_search.keywordBox->setText(date);
}
