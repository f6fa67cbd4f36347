#include "import/ImportErrorLog.h"
#include "import/importordersphotodlg.h"
#include "support/ImportDialogDriver.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kEntryTime = QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d");

} // namespace

// The import error log and the messages of the import window's error slots.
class TestImportErrorLog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void entriesAreTimeOrderAndMessage();
    void sizeLimit_data();
    void sizeLimit();
    void unwritableFolderFallsBackToTheUserFolder();
    void errorSlots_data();
    void errorSlots();
    void namingErrorReopensTheFolderSuffix();

private:
    QString logPath() const { return folder.path() + "/import_error.log"; }

    QTemporaryDir folder;
    std::unique_ptr<RecordedEnvironment> env;
};

void TestImportErrorLog::init()
{
    env.reset(new RecordedEnvironment);
    QFile::remove(logPath());
    QFile::remove(logPath() + ".bak");
    ImportErrorLog::setFolder(folder.path());
}

void TestImportErrorLog::cleanup()
{
    ImportErrorLog::setFolder(QString());
    env.reset();
}

void TestImportErrorLog::entriesAreTimeOrderAndMessage()
{
    ImportErrorLog::write("LY1-1", "服务器空间不足，请清理空间后再导入");
    ImportErrorLog::write(QString(), "订单号:A-1\n订单号:B-1\n路径不存在");
    const QString text = QString::fromUtf8(readFile(logPath()));
    QVERIFY2(QRegularExpression("^" + kEntryTime + " \\| LY1-1 \\| 服务器空间不足，请清理空间后再导入\n" + kEntryTime
                                + " \\| - \\| 订单号:A-1\n订单号:B-1\n路径不存在\n$")
                 .match(text)
                 .hasMatch(),
             qPrintable(text));
    // UTF-8 whatever the system's locale.
    QVERIFY(readFile(logPath()).contains("\xe6\x9c\x8d\xe5\x8a\xa1\xe5\x99\xa8"));
}

void TestImportErrorLog::sizeLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("moved");
    QTest::newRow("exactly 512 KiB stays") << 524288 << false;
    QTest::newRow("one byte more is moved") << 524289 << true;
}

void TestImportErrorLog::sizeLimit()
{
    QFETCH(int, size);
    QFETCH(bool, moved);
    const QByteArray old(size, 'o');
    writeFile(logPath(), old);
    writeFile(logPath() + ".bak", "older");
    ImportErrorLog::write("A-1", "new");
    const QByteArray log = readFile(logPath());
    QVERIFY(log.endsWith(" | A-1 | new\n"));
    if (moved) {
        QCOMPARE(readFile(logPath() + ".bak"), old);
        QCOMPARE(log.count('\n'), 1);
        QVERIFY(QRegularExpression("^" + kEntryTime + " \\| A-1 \\| new\n$").match(QString::fromUtf8(log)).hasMatch());
    } else {
        QCOMPARE(readFile(logPath() + ".bak"), QByteArray("older"));
        QVERIFY(log.startsWith(old));
    }
}

void TestImportErrorLog::unwritableFolderFallsBackToTheUserFolder()
{
    QStandardPaths::setTestModeEnabled(true);
    const QString userLog =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/logs/import_error.log";
    QFile::remove(userLog);
    // A folder below a file can never be made.
    writeFile(folder.path() + "/plain-file", "file");
    ImportErrorLog::setFolder(folder.path() + "/plain-file/logs");
    ImportErrorLog::write("A-1", "message");
    const QByteArray log = readFile(userLog);
    QFile::remove(userLog);
    QDir().rmpath(QFileInfo(userLog).absolutePath());
    QStandardPaths::setTestModeEnabled(false);
    QVERIFY(log.endsWith(" | A-1 | message\n"));
}

void TestImportErrorLog::errorSlots_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::newRow("server root") << QByteArray("handleImportImageError") << 1 << "服务器路径错误，请检查后重新批量导片";
    QTest::newRow("backup root") << QByteArray("handleImportImageError") << 2
                                 << "备份服务器路径错误，请检查后重新批量导片";
    QTest::newRow("other code") << QByteArray("handleImportImageError") << 7 << "导片失败(错误码:7)，可重试";
    QTest::newRow("free space") << QByteArray("lookDiskSizeSlot") << 0 << "服务器空间不足，请清理空间后再导入";
    QTest::newRow("folder name") << QByteArray("lookPicPathSlot") << 0 << "客人信息包含特殊字符，请修改后再导片";
    QTest::newRow("lyra root") << QByteArray("handleImportLyraDirError") << 0
                               << "Lyra服务器路径错误，请检查后重新批量导片";
    QTest::newRow("worker reason") << QByteArray("handleImportErrorMsg") << 0
                                   << "订单[A-1]没有可导入的文件，请重新选择后重试";
}

void TestImportErrorLog::errorSlots()
{
    QFETCH(QByteArray, slot);
    QFETCH(int, code);
    QFETCH(QString, message);
    importOrdersPhotoDlg dialog;
    if (slot == "handleImportImageError")
        QVERIFY(QMetaObject::invokeMethod(&dialog, slot, Q_ARG(uchar, uchar(code))));
    else if (slot == "lookDiskSizeSlot")
        QVERIFY(QMetaObject::invokeMethod(&dialog, slot, Q_ARG(QString, "/shots/a.jpg")));
    else if (slot == "handleImportErrorMsg")
        QVERIFY(QMetaObject::invokeMethod(&dialog, slot, Q_ARG(QString, message)));
    else
        QVERIFY(QMetaObject::invokeMethod(&dialog, slot));
    QCOMPARE(env->dialogs.texts(), QStringList{message});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Warning, "警告", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), &dialog);
    // Not called by an import worker: no order to name.
    QVERIFY(QString::fromUtf8(readFile(logPath())).endsWith(" | - | " + message + "\n"));
}

void TestImportErrorLog::namingErrorReopensTheFolderSuffix()
{
    importOrdersPhotoDlg dialog;
    ImportDialogDriver ui(&dialog);
    dialog.show();
    ui.add(ImportDialogDriver::orderJson("A", folder.path(), folder.path() + "/A/", folder.path() + "/bak/A/"));
    ui.clickRow(0);
    auto* suffix = dialog.findChild<QLineEdit*>("folderSuffixEdit");
    QVERIFY(!suffix->isEnabled());
    QVERIFY(QMetaObject::invokeMethod(&dialog, "lookPicPathSlot"));
    QVERIFY(suffix->isEnabled());
}

QTEST_MAIN(TestImportErrorLog)
#include "tst_importerrorlog.moc"
