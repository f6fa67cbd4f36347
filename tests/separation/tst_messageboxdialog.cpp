#include "files/SafeFileWriter.h"
#include "separation/MessageBoxDialog.h"
#include "separation/RunSummary.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QPushButton>
#include <QTextCodec>
#include <QTextEdit>
#include <QtTest>

#include <memory>

namespace {

SeparateMessage record(const QString& orderId, const QStringList& photos = {}, const QStringList& products = {},
                       const QStringList& copies = {}, const QStringList& files = {})
{
    SeparateMessage message;
    message.orderId = orderId;
    message.notExisPhotos = photos;
    message.emptyProducts = products;
    message.failedCopies = copies;
    message.unwrittenFiles = files;
    return message;
}

const QString kSuccess = QStringLiteral("提示:   分件成功!");
const QString kIncomplete = QStringLiteral("提示:   分件未全部完成");

} // namespace

Q_DECLARE_METATYPE(QList<SeparateMessage>)

// The run summary: its text, title and proposed name, and the window that
// shows and saves it, driven by clicks with the dialogs recorded.
class TestMessageBoxDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void summaryText_data();
    void summaryText();
    void saveName_data();
    void saveName();

    void form();
    void nothingToReport();
    void save_data();
    void save();
    void failedSaveKeepsWindowAndOldFile();
    void runSummaryWindow_data();
    void runSummaryWindow();

private:
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(name); }
    QTextEdit* textEdit() const { return dialog->findChild<QTextEdit*>("textEdit"); }
    void open(const QString& text, const QString& saveName);
    void click(const char* name);

    std::unique_ptr<RecordedEnvironment> env;
    QTemporaryDir dir;
    QPointer<MessageBoxDialog> dialog;
};

void TestMessageBoxDialog::init()
{
    env.reset(new RecordedEnvironment);
}

void TestMessageBoxDialog::cleanup()
{
    SafeFileWriter::failFlushesForTests(QString());
    delete dialog;
    env.reset();
}

void TestMessageBoxDialog::open(const QString& text, const QString& saveName)
{
    dialog = new MessageBoxDialog(nullptr);
    dialog->setText(text, saveName);
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
}

void TestMessageBoxDialog::click(const char* name)
{
    QPushButton* pushButton = button(name);
    QVERIFY(pushButton && pushButton->isVisible());
    QTest::mouseClick(pushButton, Qt::LeftButton);
}

void TestMessageBoxDialog::summaryText_data()
{
    QTest::addColumn<QList<SeparateMessage>>("messages");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");

    QTest::newRow("no records") << QList<SeparateMessage>() << QString() << kSuccess;
    QTest::newRow("nothing to report") << QList<SeparateMessage>{record("A"), record("A")} << QString() << kSuccess;
    QTest::newRow("missing photos") << QList<SeparateMessage>{record("A", {"成品:1.jpg", "照片:2.jpg"})}
                                    << QString("订单A:\n不存在的照片:成品:1.jpg、照片:2.jpg\n\n") << kSuccess;
    QTest::newRow("empty products") << QList<SeparateMessage>{record("A", {}, {"相册", "摆台"})}
                                    << QString("订单A:\n空产品:相册、摆台\n\n") << kSuccess;
    QTest::newRow("both") << QList<SeparateMessage>{record("A", {"照片:2.jpg"}, {"相册"})}
                          << QString("订单A:\n不存在的照片:照片:2.jpg\n空产品:相册\n\n") << kSuccess;
    QTest::newRow("only records with something, in order")
        << QList<SeparateMessage>{record("A"), record("B", {}, {"相册"}), record("C"), record("D", {"照片:9.jpg"})}
        << QString("订单B:\n空产品:相册\n\n订单D:\n不存在的照片:照片:9.jpg\n\n") << kSuccess;
    QTest::newRow("failed copy")
        << QList<SeparateMessage>{record("A", {}, {}, {"/srv/A/成品/1.jpg", "/srv/A/成品/2.jpg"})}
        << QString("订单A:\n复制失败的照片:/srv/A/成品/1.jpg、/srv/A/成品/2.jpg\n\n") << kIncomplete;
    QTest::newRow("unwritten file") << QList<SeparateMessage>{record("A"), record("A", {}, {}, {}, {"/out/明细制作单.html"})}
                                    << QString("订单A:\n未能写入的文件:/out/明细制作单.html\n\n") << kIncomplete;
    QTest::newRow("everything")
        << QList<SeparateMessage>{record("A", {"照片:2.jpg"}, {"相册"}, {"/srv/1.jpg"}, {"/out/快递产品信息.pdf"})}
        << QString("订单A:\n不存在的照片:照片:2.jpg\n空产品:相册\n复制失败的照片:/srv/1.jpg\n"
                   "未能写入的文件:/out/快递产品信息.pdf\n\n")
        << kIncomplete;
}

void TestMessageBoxDialog::summaryText()
{
    QFETCH(QList<SeparateMessage>, messages);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QCOMPARE(RunSummary::text(messages), text);
    QCOMPARE(RunSummary::title(messages), title);
    QCOMPARE(RunSummary::hasFailures(messages), title == kIncomplete);
}

void TestMessageBoxDialog::saveName_data()
{
    QTest::addColumn<QStringList>("orderIds");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("name");

    const QStringList aabb{"A", "A", "B", "B"};
    QTest::newRow("root without separator") << aabb << "/out" << "/out/2026-01-05/A、A、B、B分件结果.txt";
    QTest::newRow("root ending /") << aabb << "/out/" << "/out/2026-01-05/A、A、B、B分件结果.txt";
    QTest::newRow("root ending \\") << aabb << "D:\\分件\\" << "D:\\分件\\2026-01-05/A、A、B、B分件结果.txt";
    QTest::newRow("empty root") << QStringList{"A"} << "" << "/2026-01-05/A分件结果.txt";
    QTest::newRow("no records") << QStringList() << "/out" << "/out/2026-01-05/分件结果.txt";
    QTest::newRow("booking numbers sanitized")
        << QStringList{"../A", "B/C:1", "D? "} << "/out" << "/out/2026-01-05/..A、BC1、D分件结果.txt";
}

void TestMessageBoxDialog::saveName()
{
    QFETCH(QStringList, orderIds);
    QFETCH(QString, root);
    QFETCH(QString, name);
    QList<SeparateMessage> messages;
    for (const QString& id : orderIds)
        messages << record(id);
    QCOMPARE(RunSummary::saveName(messages, root, QDate(2026, 1, 5)), name);
}

void TestMessageBoxDialog::form()
{
    open("订单A:\n空产品:相册\n\n", "/out/A分件结果.txt");
    QCOMPARE(dialog->objectName(), QString("MessageBoxDialog"));
    QCOMPARE(dialog->windowTitle(), kSuccess);
    QCOMPARE(dialog->size(), QSize(331, 172));
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(textEdit()->isReadOnly());
    QCOMPARE(textEdit()->styleSheet(),
             QString("QTextEdit{background-color:rgba(255, 255, 255, 0);border-style: solid;border-width: 0px;}"));
    QCOMPARE(textEdit()->toPlainText(), QString("订单A:\n空产品:相册\n\n"));
    QCOMPARE(button("pushButton_save")->text(), QString("保存"));
    QCOMPARE(button("pushButton_close")->text(), QString("关闭"));
    QVERIFY(button("pushButton_save")->isVisible());
    // Save left of close, both on the row below the text.
    QVERIFY(button("pushButton_save")->x() < button("pushButton_close")->x());
    QVERIFY(button("pushButton_close")->y() > textEdit()->y());

    click("pushButton_close");
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(env->dialogs.fileDialogs.isEmpty());
}

void TestMessageBoxDialog::nothingToReport()
{
    open(QString(), "/out/A分件结果.txt");
    QCOMPARE(textEdit()->toPlainText(), QString("分件成功!"));
    QCOMPARE(textEdit()->minimumHeight(), 120);
    QCOMPARE(textEdit()->maximumHeight(), 120);
    QCOMPARE(button("pushButton_close")->text(), QString("确认"));
    QVERIFY(!button("pushButton_save")->isVisible());

    click("pushButton_close");
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(env->dialogs.fileDialogs.isEmpty());
}

// The chosen file gets the text in the system's 8-bit encoding, which is
// UTF-8 here, without byte-order mark; the window closes either way.
void TestMessageBoxDialog::save_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");

    const QByteArray text = QString("订单A:\n不存在的照片:照片:1.jpg\n\n").toUtf8();
    QTest::newRow("new file") << "summary.txt" << QByteArray() << text;
    QTest::newRow("replaces a file") << "summary.txt" << QByteArray("an older, longer summary text\n") << text;
    QTest::newRow("cancelled") << "" << QByteArray() << QByteArray();
    QTest::newRow("cancelled, file kept") << "" << QByteArray("older") << QByteArray("older");
}

void TestMessageBoxDialog::save()
{
    QFETCH(QString, answer);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QString target = dir.filePath("summary.txt");
    QFile::remove(target);
    if (!before.isEmpty())
        writeFile(target, before);
    QCOMPARE(QTextCodec::codecForLocale()->name(), QByteArray("UTF-8"));
    env->dialogs.fileAnswers << QStringList(answer.isEmpty() ? QString() : dir.filePath(answer));

    open("订单A:\n不存在的照片:照片:1.jpg\n\n", "/out/2026-01-05/A、A分件结果.txt");
    click("pushButton_save");

    QCOMPARE(env->dialogs.fileDialogs.size(), 1);
    const DialogRecorder::FileDialog fileDialog = env->dialogs.fileDialogs.first();
    QCOMPARE(fileDialog.kind, DialogRecorder::FileDialogKind::SaveFileName);
    QCOMPARE(fileDialog.caption, QString("另存为"));
    QCOMPARE(fileDialog.dir, QString("/out/2026-01-05/A、A分件结果.txt"));
    QCOMPARE(fileDialog.filter, QString("文本 (*.txt)"));
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(QFile::exists(target), !after.isEmpty());
    QCOMPARE(readFile(target), after);
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), after.isEmpty() ? 0 : 1);
}

// A file that cannot be written is named in a box and the window stays, so
// the user can pick another; an older file of that name stays whole.
void TestMessageBoxDialog::failedSaveKeepsWindowAndOldFile()
{
    const QString missing = dir.filePath("no such folder/summary.txt");
    const QString failing = dir.filePath("full/summary.txt");
    writeFile(failing, "older summary");
    SafeFileWriter::failFlushesForTests(dir.filePath("full/"));
    env->dialogs.fileAnswers << QStringList(missing) << QStringList(failing) << QStringList(dir.filePath("ok.txt"));
    open("订单A:\n空产品:相册\n\n", "/out/A分件结果.txt");

    click("pushButton_save");
    click("pushButton_save");
    QVERIFY(!dialog.isNull());
    QCOMPARE(env->dialogs.boxes.size(), 2);
    compareBox(env->dialogs.boxes[0], QMessageBox::Warning, "警告", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(env->dialogs.boxes[0].text, "无法保存文件：" + missing);
    QCOMPARE(env->dialogs.boxes[1].text, "无法保存文件：" + failing);
    QCOMPARE(env->dialogs.boxes[1].parent.data(), static_cast<QWidget*>(dialog.data()));
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(readFile(failing), QByteArray("older summary"));
    QCOMPARE(QDir(dir.filePath("full")).entryList(QDir::Files | QDir::Hidden), QStringList("summary.txt"));

    click("pushButton_save");
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(readFile(dir.filePath("ok.txt")), QString("订单A:\n空产品:相册\n\n").toUtf8());
}

void TestMessageBoxDialog::runSummaryWindow_data()
{
    QTest::addColumn<QList<SeparateMessage>>("messages");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("closeText");

    QTest::newRow("nothing found") << QList<SeparateMessage>() << kSuccess << "分件成功!" << "确认";
    QTest::newRow("missing photos still succeed")
        << QList<SeparateMessage>{record("A", {"照片:1.jpg"}), record("A")} << kSuccess
        << "订单A:\n不存在的照片:照片:1.jpg\n\n" << "关闭";
    QTest::newRow("failures do not claim success")
        << QList<SeparateMessage>{record("A"), record("A", {}, {}, {"/srv/1.jpg"})} << kIncomplete
        << "订单A:\n复制失败的照片:/srv/1.jpg\n\n" << "关闭";
}

void TestMessageBoxDialog::runSummaryWindow()
{
    QFETCH(QList<SeparateMessage>, messages);
    QFETCH(QString, title);
    QFETCH(QString, shown);
    QFETCH(QString, closeText);

    dialog = MessageBoxDialog::showRunSummary(messages, dir.path(), QDate(2026, 1, 5));
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isModal());
    QVERIFY(!dialog->parent());
    QCOMPARE(dialog->windowTitle(), title);
    QCOMPARE(textEdit()->toPlainText(), shown);
    QCOMPARE(button("pushButton_close")->text(), closeText);
    if (closeText == QLatin1String("关闭")) {
        click("pushButton_save");
        QCOMPARE(env->dialogs.fileDialogs.size(), 1);
        QCOMPARE(env->dialogs.fileDialogs[0].dir, dir.path() + "/2026-01-05/A、A分件结果.txt");
    } else {
        click("pushButton_close");
    }
    QTRY_VERIFY(dialog.isNull());
}

QTEST_MAIN(TestMessageBoxDialog)
#include "tst_messageboxdialog.moc"
