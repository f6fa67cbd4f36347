#ifndef ORDERSEARCHDRIVER_H
#define ORDERSEARCHDRIVER_H

#include "widgets/MultiSelectComboBox.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

// Drives a window built on the order search form (design, after-sample and
// Lyra separation) by its widgets' object names.
class OrderSearchDriver
{
public:
    explicit OrderSearchDriver(QWidget* window) : m_window(window) {}

    template <typename T>
    T* widget(const char* name) const
    {
        T* found = m_window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qWarning("order search window: no widget %s", name);
        return found;
    }

    QComboBox* typeBox() const { return widget<QComboBox>("comboBox"); }
    QLineEdit* keywordEdit() const { return widget<QLineEdit>("orderNumber"); }
    QCalendarWidget* calendar() const { return widget<QCalendarWidget>("calendar"); }
    QPushButton* searchButton() const { return widget<QPushButton>("searchButton"); }
    MultiSelectComboBox* stores() const { return widget<MultiSelectComboBox>("cb_shops"); }
    QTableView* view() const { return widget<QTableView>("tableView"); }
    QLineEdit* pathEdit() const { return widget<QLineEdit>("pathLineEdit"); }
    QStandardItemModel* model() const { return qobject_cast<QStandardItemModel*>(view()->model()); }

    // Chooses the type by its text, types the keyword and presses "检索";
    // false when the button is not back to "检索" within five seconds.
    bool search(const QString& type, const QString& keyword = QString())
    {
        typeBox()->setCurrentText(type);
        keywordEdit()->setText(keyword);
        QTest::mouseClick(searchButton(), Qt::LeftButton);
        return QTest::qWaitFor([this] { return searchButton()->isEnabled(); }, 5000);
    }

    void clickCell(int row, int column)
    {
        const QRect cell = view()->visualRect(model()->index(row, column));
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int column = 0; column < model()->columnCount(); ++column)
            texts << model()->index(row, column).data().toString();
        return texts;
    }

    QList<Qt::CheckState> ticks() const
    {
        QList<Qt::CheckState> states;
        for (int row = 0; row < model()->rowCount(); ++row)
            states << model()->item(row, 0)->checkState();
        return states;
    }

private:
    QWidget* m_window;
};

#endif
