#include "QtChineseTexts.h"
#include "widgets/CalendarPicker.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

// Qt's own texts and calendars in Chinese on a machine whose locale is C,
// after the set-up both programs run; the programs' own texts unchanged.
class TstQtChineseTexts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCOMPARE(QLocale::system().name(), QString("C"));
        QVERIFY(QtChineseTexts::install());
        QCOMPARE(QLocale().name(), QString("zh_CN"));
    }

    void standardButtons()
    {
        QMessageBox box(QMessageBox::Information, "警告", "未输入用户名", QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QString("是(&Y)"));
        QCOMPARE(box.button(QMessageBox::No)->text(), QString("否(&N)"));
        QCOMPARE(box.windowTitle(), QString("警告"));
        QCOMPARE(box.text(), QString("未输入用户名"));

        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QString("确定"));
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("取消"));
    }

    // The program's own date picker: Qt's month and day names in Chinese,
    // its own title and buttons as they are.
    void calendar()
    {
        CalendarPicker picker;
        auto* calendar = picker.findChild<QCalendarWidget*>();
        calendar->setCurrentPage(2024, 12);
        QCOMPARE(calendar->findChild<QToolButton*>("qt_calendar_monthbutton")->text(), QString("十二月"));
        QCOMPARE(calendar->locale().dayName(Qt::Monday, QLocale::ShortFormat), QString("周一"));
        QCOMPARE(picker.windowTitle(), QString("日历"));
        QStringList texts;
        for (QPushButton* button : picker.findChildren<QPushButton*>())
            texts << button->text();
        QCOMPARE(texts, (QStringList{"确认", "清除"}));
    }

    // Qt's own file dialog, as the program's calls show it where the desktop
    // offers none: Qt's labels in Chinese, the caption and filter as given.
    void fileDialog()
    {
        QFileDialog dialog(nullptr, "选择照片", QDir::tempPath(), "Image File(*.jpg *.jpeg *.png)");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QCOMPARE(dialog.findChild<QLabel*>("lookInLabel")->text(), QString("查找范围："));
        QCOMPARE(dialog.findChild<QLabel*>("fileNameLabel")->text(), QString("文件名称(&N)："));
        auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
        QCOMPARE(buttons->button(QDialogButtonBox::Open)->text(), QString("打开(&O)"));
        QCOMPARE(dialog.windowTitle(), QString("选择照片"));
        QCOMPARE(dialog.nameFilters(), QStringList{"Image File(*.jpg *.jpeg *.png)"});
    }
};

QTEST_MAIN(TstQtChineseTexts)
#include "tst_qtchinesetexts.moc"
