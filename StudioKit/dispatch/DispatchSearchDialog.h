#ifndef DISPATCHSEARCHDIALOG_H
#define DISPATCHSEARCHDIALOG_H

#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The order searches the upload-registration and dispatch windows share: a
// scan box, an order-number box and a keyword box whose type the type box
// chooses, Return in whichever has the focus, and the date pop-up that
// fills the keyword box for date types.
//
// Use: derive, build the form in the derived constructor (the on_… slots
// here are connected by name to the form's buttons and type box), then call
// setUpSearches with the window's title, its widgets and its keyword types.
class DispatchSearchDialog : public QDialog
{
    Q_OBJECT
public:
    // One entry of the type box: what an empty keyword says, whether the
    // keyword is a date from the pop-up, and the body of its search.
    struct KeywordType {
        QString emptyMessage;
        bool date;
        std::function<QByteArray(const QString& keyword)> body;
    };
    struct SearchWidgets {
        QLineEdit* scanBox;
        QLineEdit* orderNumberBox;
        QPushButton* orderNumberButton;
        QComboBox* typeBox;
        QLineEdit* keywordBox;
        QPushButton* keywordButton;
    };

    ~DispatchSearchDialog() override;

protected:
    explicit DispatchSearchDialog(QWidget* parent);

    // An ordinary top-level window under `title`.
    void setUpSearches(const QString& title, const SearchWidgets& widgets, const QList<KeywordType>& types);
    // A model with `headers` on `view`: whole rows, one at a time, never edited.
    QStandardItemModel* showOrders(QTableView* view, const QStringList& headers);
    // Both search buttons back to "检索".
    void endSearches();

    // A scanned code, selected so that the next scan replaces it.
    virtual void lookUpScanned(const QString& scanned) = 0;
    virtual void searchOrderNumber(const QString& typed) = 0;
    // The keyword of a keyword search, read as it starts.
    virtual QString takeKeyword();
    virtual void postKeywordSearch(QByteArray body) = 0;

    void keyPressEvent(QKeyEvent* event) override;

    SearchWidgets m_search;

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();
    void on_comboBox_currentIndexChanged(int index);
    void on_newDate(QString date);

private:
    void scanReturned();
    void showCalendar();

    QList<KeywordType> m_types;
};

#endif
