#include "widgets/CalendarPicker.h"

#include <QCalendarWidget>
#include <QDate>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

class TestCalendarPicker : public QObject
{
    Q_OBJECT

private:
    // A picker shown and activated the way its callers do it.
    static CalendarPicker* openPicker()
    {
        auto* picker = new CalendarPicker;
        picker->setAttribute(Qt::WA_DeleteOnClose);
        picker->show();
        picker->activateWindow();
        if (!QTest::qWaitForWindowActive(picker))
            qWarning("picker window did not become active");
        return picker;
    }

    static QPushButton* button(CalendarPicker* picker, const char* name)
    {
        return picker->findChild<QPushButton*>(QLatin1String(name));
    }

    static QTableView* dayTable(CalendarPicker* picker)
    {
        return picker->findChild<QCalendarWidget*>()->findChild<QTableView*>();
    }

    // Clicks the first cell of the day table that shows the given day number.
    static void clickDay(CalendarPicker* picker, const QString& day)
    {
        QTableView* table = dayTable(picker);
        QAbstractItemModel* model = table->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                const QModelIndex index = model->index(row, column);
                if (index.data().toString() == day) {
                    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(index).center());
                    return;
                }
            }
        }
        QFAIL("day not shown");
    }

private slots:
    void formHasFixedSizeTitleAndTexts()
    {
        QPointer<CalendarPicker> picker = openPicker();
        QCOMPARE(picker->windowTitle(), QStringLiteral("日历"));
        QCOMPARE(button(picker, "pushButton")->text(), QStringLiteral("确认"));
        QCOMPARE(button(picker, "pushButton_2")->text(), QStringLiteral("清除"));
        QCOMPARE(picker->findChild<QCalendarWidget*>()->selectedDate(), QDate::currentDate());

        picker->resize(600, 400);
        QCOMPARE(picker->size(), QSize(375, 243));
        delete picker;
    }

    void returnGivesTodayUntouched()
    {
        QPointer<CalendarPicker> picker = openPicker();
        QSignalSpy spy(picker.data(), &CalendarPicker::urgentDate);

        QTest::keyClick(dayTable(picker)->viewport(), Qt::Key_Return);

        QCOMPARE(spy.count(), 1);
        const QString date = spy.at(0).at(0).toString();
        QCOMPARE(date, QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$")).match(date).hasMatch());
        QTRY_VERIFY(picker.isNull());
    }

    void chosenDateIsReported_data()
    {
        QTest::addColumn<bool>("byReturnKey");
        QTest::newRow("confirm button") << false;
        QTest::newRow("return key") << true;
    }

    void chosenDateIsReported()
    {
        QFETCH(bool, byReturnKey);
        QPointer<CalendarPicker> picker = openPicker();
        QSignalSpy spy(picker.data(), &CalendarPicker::urgentDate);

        picker->findChild<QCalendarWidget*>()->setCurrentPage(2024, 2);
        clickDay(picker, QStringLiteral("9"));
        if (byReturnKey)
            QTest::keyClick(dayTable(picker)->viewport(), Qt::Key_Return);
        else
            QTest::mouseClick(button(picker, "pushButton"), Qt::LeftButton);

        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("2024-02-09"));
        QTRY_VERIFY(picker.isNull());
    }

    void clearGivesEmptyText()
    {
        QPointer<CalendarPicker> picker = openPicker();
        QSignalSpy spy(picker.data(), &CalendarPicker::urgentDate);

        QTest::mouseClick(button(picker, "pushButton_2"), Qt::LeftButton);

        QCOMPARE(spy.count(), 1);
        const QString date = spy.at(0).at(0).toString();
        QVERIFY(date.isEmpty());
        QVERIFY(!date.isNull());
        QTRY_VERIFY(picker.isNull());
    }

    void closingByFrameReportsNothing()
    {
        QPointer<CalendarPicker> picker = openPicker();
        QSignalSpy spy(picker.data(), &CalendarPicker::urgentDate);

        picker->close();

        QTRY_VERIFY(picker.isNull());
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(TestCalendarPicker)
#include "tst_calendarpicker.moc"
