#ifndef SEPARATIONSEARCHDIALOG_H
#define SEPARATIONSEARCHDIALOG_H

#include "separation/OrderSearchDialog.h"
#include "separation/OrderSearchType.h"
#include "separation/StoreSelection.h"

#include <QList>
#include <QSize>
#include <QString>

class OrderSearchForm;

// The order search of the separation tools (design, after-sample, Lyra): the
// "SearchOrder" form, the ticked stores, one search type with its keyword or
// date, and the separation root the run writes under.
//
// Use: in the derived constructor call setUpSeparationSearch with the
// window's object name, size, search types and row kind; the tool's run
// reads the root from `ui->pathLineEdit`.
class SeparationSearchDialog : public OrderSearchDialog
{
    Q_OBJECT
    // The name the launcher gave the tool, for those who check it.
    Q_PROPERTY(QString toolName MEMBER toolName)
public:
    ~SeparationSearchDialog() override;

    void setToolName(QString name);
    void loadSeparatePath();

protected:
    explicit SeparationSearchDialog(QWidget* parent);

    void setUpSeparationSearch(const QString& objectName, const QSize& size, const QList<OrderSearchType>& types,
                               OrderItemInfo::Tool tool);
    // Replaces the combo's search types.
    void setSearchTypes(const QList<OrderSearchType>& types);
    void clickSearch() override;
    void closeEvent(QCloseEvent* event) override;

    // "分件路径不存在" unless the root field names an existing folder; an
    // empty field passes where the run then asks for a root per order.
    bool acceptsSeparationRoot(bool emptyPasses);
    // The separation globals are the program's: one run at a time.
    static void showRunBusy();

    OrderSearchForm* ui;
    QString toolName;
    bool isSeparating = false;

private slots:
    void on_selectPathButton_clicked();

private:
    const OrderSearchType* searchType(const QString& text) const;

    QList<OrderSearchType> m_searchTypes;
    StoreSelection m_stores;
};

#endif
