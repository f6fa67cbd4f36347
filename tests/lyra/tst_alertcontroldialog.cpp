#include "lyra/AlertControlDialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

// The log window: its widgets, appending and clearing.
class TestAlertControlDialog : public QObject
{
    Q_OBJECT
private slots:
    void builtWidgets();
    void appendsTwoParagraphsPerMessage();
    void clearEmptiesTheLog();
};

namespace {

QStringList paragraphs(const QTextEdit* edit)
{
    QStringList texts;
    for (QTextBlock block = edit->document()->begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

} // namespace

void TestAlertControlDialog::builtWidgets()
{
    AlertControlDialog dialog;
    QCOMPARE(dialog.objectName(), QString("AlertControlDialog"));
    QCOMPARE(dialog.size(), QSize(400, 300));
    QCOMPARE(dialog.windowTitle(), QString("Dialog"));
    auto* grid = dialog.findChild<QGridLayout*>("gridLayout");
    auto* edit = dialog.findChild<QTextEdit*>("textEdit");
    auto* row = dialog.findChild<QHBoxLayout*>("horizontalLayout");
    auto* button = dialog.findChild<QPushButton*>("pushButton");
    QVERIFY(grid && edit && row && button);
    QCOMPARE(grid->itemAtPosition(0, 0)->widget(), edit);
    QCOMPARE(grid->itemAtPosition(1, 0)->layout(), row);
    QVERIFY(row->itemAt(0)->spacerItem());
    QCOMPARE(row->itemAt(1)->widget(), button);
    QCOMPARE(button->text(), QString("清空"));
    QVERIFY(edit->toHtml().contains("font-family:'SimSun'; font-size:9pt"));
    QVERIFY(edit->toPlainText().isEmpty());
}

void TestAlertControlDialog::appendsTwoParagraphsPerMessage()
{
    AlertControlDialog dialog;
    auto* edit = dialog.findChild<QTextEdit*>("textEdit");
    // Each message: the line-feed paragraph (its line feed ends a block of
    // its own), then the message, as rich text where it looks like it.
    QVERIFY(QMetaObject::invokeMethod(&dialog, "slt_apptxt", Qt::QueuedConnection, Q_ARG(QString, "第一条")));
    QTRY_COMPARE(paragraphs(edit), (QStringList{"", "", "第一条"}));
    QVERIFY(QMetaObject::invokeMethod(&dialog, "slt_apptxt2", Q_ARG(QString, "<b>第二条</b>")));
    QCOMPARE(paragraphs(edit), (QStringList{"", "", "第一条", "", "", "第二条"}));
    QVERIFY(edit->toHtml().contains("font-weight:600;\">第二条"));
    dialog.appendText(QString());
    QCOMPARE(edit->toPlainText(), QString("\n\n第一条\n\n\n第二条\n\n\n"));
}

void TestAlertControlDialog::clearEmptiesTheLog()
{
    AlertControlDialog dialog;
    auto* edit = dialog.findChild<QTextEdit*>("textEdit");
    dialog.appendText("一条");
    QTest::mouseClick(dialog.findChild<QPushButton*>("pushButton"), Qt::LeftButton);
    QVERIFY(edit->toPlainText().isEmpty());
    QCOMPARE(edit->document()->blockCount(), 1);
    dialog.appendText("二条");
    QCOMPARE(edit->toPlainText(), QString("\n\n二条"));
}

QTEST_MAIN(TestAlertControlDialog)
#include "tst_alertcontroldialog.moc"
