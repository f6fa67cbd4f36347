#include "files/SafeFileWriter.h"
#include "lyra/lyrathread.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QSemaphore>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString kDeclaration = R"(<?xml version="1.0" encoding="UTF-8"?>)";

// Stands in for the windows that start the worker: the slots it calls by name.
class LyraReceiver : public QObject
{
    Q_OBJECT
public:
    QList<QJsonObject> reports;
    QList<QPair<QJsonArray, QString>> storeResults;

public slots:
    void slt_threademit(QJsonObject objc) { reports << objc; }
    void slt_lyrastores(QJsonArray storeables, QString msg) { storeResults << qMakePair(storeables, msg); }
};

QJsonObject store(const QString& name, const QJsonValue& lyraPath)
{
    QJsonObject object{{"id", "1"}, {"name", name}};
    if (!lyraPath.isUndefined())
        object.insert("lyrapath", lyraPath);
    return object;
}

QJsonObject report(const QString& type, const QString& errors, const QString& msg)
{
    return {{"type", type}, {"errormsg", errors}, {"msg", msg}};
}

// What an XML reader says of the text; empty when it reads to the end.
QString xmlError(const QByteArray& text)
{
    QXmlStreamReader reader(text);
    while (!reader.atEnd())
        reader.readNext();
    return reader.errorString();
}

} // namespace

class TestLyraThread : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void storeCheck_data();
    void storeCheck();
    void relativeStorePathIsRefused_data();
    void relativeStorePathIsRefused();

    void xmlText_data();
    void xmlText();
    void reportsEveryStoreInOrder();
    void failedStoresAreReportedAndTheOthersWritten();
    void folderInPlaceOfTheFileCannotBeOpened();
    void olderFileIsReplacedWhole();
    void failedWriteKeepsTheOlderFile();
    void noStoresReportsTheTextOnly();
    void writeModeWritesTheGivenText();
    void otherModesReportNothing_data();
    void otherModesReportNothing();
    void stopBeforeStartIsForgotten();
    void stopBetweenStoresWritesNoMore();

private:
    // Runs the worker's job to its end and delivers its queued reports.
    void run(Lyrathread& worker);
    // A store's Lyra folder under the temporary folder, written with "\" as
    // the service gives it.
    QString lyraFolder(const QString& name, bool create = true) const;
    QString productFile(const QString& name, const QString& file) const;

    std::unique_ptr<RecordedEnvironment> env;
    std::unique_ptr<QTemporaryDir> dir;
    QString startFolder;
    LyraReceiver receiver;
};

void TestLyraThread::init()
{
    env.reset(new RecordedEnvironment);
    dir.reset(new QTemporaryDir);
    startFolder = QDir::currentPath();
    receiver.reports.clear();
    receiver.storeResults.clear();
}

void TestLyraThread::cleanup()
{
    QDir::setCurrent(startFolder);
    env.reset();
    dir.reset();
}

void TestLyraThread::run(Lyrathread& worker)
{
    worker.start();
    QVERIFY(worker.wait(60000));
    QCoreApplication::sendPostedEvents(&receiver, QEvent::MetaCall);
}

QString TestLyraThread::lyraFolder(const QString& name, bool create) const
{
    if (create)
        QDir().mkpath(dir->path() + "/lyra/" + name);
    return dir->path() + "\\lyra\\" + name;
}

QString TestLyraThread::productFile(const QString& name, const QString& file) const
{
    return dir->path() + "/lyra/" + name + "/产品/" + file;
}

void TestLyraThread::storeCheck_data()
{
    QTest::addColumn<QJsonArray>("stores");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QString>("others");
    QTest::newRow("folder, empty, missing, number")
        << QJsonArray{store("A", "@A"), store("B", ""), store("C", "@missing"), store("D", 42)} << QStringList{"A"}
        << "B,C,D";
    QTest::newRow("no stores") << QJsonArray{} << QStringList{} << "";
    QTest::newRow("all usable") << QJsonArray{store("A", "@A"), store("B", "@B")} << QStringList{"A", "B"} << "";
    QTest::newRow("no key, a file") << QJsonArray{store("A", QJsonValue::Undefined), store("B", "@file"), store("C", "@C")}
                                    << QStringList{"C"} << "A,B";
}

void TestLyraThread::storeCheck()
{
    QFETCH(QJsonArray, stores);
    QFETCH(QStringList, kept);
    QFETCH(QString, others);
    writeFile(dir->path() + "/lyra/file", "x");
    // "@name" stands for a folder under the temporary folder.
    for (int i = 0; i < stores.size(); ++i) {
        QJsonObject object = stores.at(i).toObject();
        const QString path = object.value("lyrapath").toString();
        if (path.startsWith('@'))
            object.insert("lyrapath", lyraFolder(path.mid(1), path != "@missing" && path != "@file"));
        stores.replace(i, object);
    }
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "stores";
    worker.stores = stores;
    run(worker);

    QCOMPARE(receiver.storeResults.size(), 1);
    QJsonArray expected;
    for (const QJsonValue& value : stores) {
        if (kept.contains(value.toObject().value("name").toString()))
            expected << value;
    }
    QCOMPARE(receiver.storeResults.first().first, expected);
    QCOMPARE(receiver.storeResults.first().second, others);
    QVERIFY(receiver.reports.isEmpty());
}

void TestLyraThread::relativeStorePathIsRefused_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("below the current folder") << "rel-lyra";
    QTest::newRow("beside it") << "../x";
    QTest::newRow("with backslashes") << "rel\\lyra";
}

void TestLyraThread::relativeStorePathIsRefused()
{
    QFETCH(QString, path);
    // Each path names an existing folder seen from the current folder.
    for (const char* folder : {"program/rel-lyra", "x", "program/rel/lyra"})
        QVERIFY(QDir().mkpath(dir->path() + "/" + folder));
    QVERIFY(QDir::setCurrent(dir->path() + "/program"));
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "stores";
    worker.stores = {store("R", path)};
    run(worker);
    QCOMPARE(receiver.storeResults, (QList<QPair<QJsonArray, QString>>{{QJsonArray{}, "R"}}));

    worker.mode = "xml";
    worker.dataType = 0;
    run(worker);
    QCOMPARE(receiver.reports.size(), 2);
    QCOMPARE(receiver.reports.at(1),
             report("全部导入成功", "\nRlyra路径错误，写入失败：" + path + "\\产品", "数据全部导入完成"));
    QStringList productFolders;
    for (QDirIterator it(dir->path(), {"产品"}, QDir::AllEntries, QDirIterator::Subdirectories); it.hasNext();)
        productFolders << it.next();
    QCOMPARE(productFolders, QStringList{});
}

void TestLyraThread::xmlText_data()
{
    QTest::addColumn<int>("dataType");
    QTest::addColumn<QJsonArray>("data");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::newRow("staff") << 0 << QJsonArray{QJsonObject{{"id", "12"}, {"name", "张三"}}, QJsonObject{{"id", "15"}, {"name", "李&四"}}}
                           << "VgStaff.xml"
                           << kDeclaration
            + "<nemovg><Staff><id>12</id><name>张三</name></Staff><Staff><id>15</id><name>李&amp;四</name></Staff></nemovg>";
    QTest::newRow("product") << 1 << QJsonArray{QJsonObject{{"id", "7"}, {"name", "相册"}}} << "productList.xml"
                             << kDeclaration
            + "<nemovg><product><ID>7</ID><name>相册</name><width>0</width><height>0</height></product></nemovg>";
    QTest::newRow("numeric id, markup, blanks kept")
        << 0 << QJsonArray{QJsonObject{{"id", 3}, {"name", " <王> 五 "}}} << "VgStaff.xml"
        << kDeclaration + "<nemovg><Staff><id></id><name> &lt;王&gt; 五 </name></Staff></nemovg>";
    QTest::newRow("no data") << 1 << QJsonArray{} << "productList.xml" << kDeclaration + "<nemovg></nemovg>";
    QTest::newRow("characters XML cannot carry left out")
        << 0
        << QJsonArray{QJsonObject{{"id", "1\u0001"}, {"name", "\u0008张\u001b[0m三\u001f\u007f"}},
                      QJsonObject{{"id", "2"}, {"name", "\u0080李\u0085四\u009f\ufffe\uffff"}}}
        << "VgStaff.xml"
        << kDeclaration
            + "<nemovg><Staff><id>1</id><name>张[0m三</name></Staff><Staff><id>2</id><name>李四</name></Staff></nemovg>";
    const QString allowed = "a\tb\nc\rd ~\u00a0\"e\" 'f' \U0001F600\U0001FFFE\ufffd\ufdd0\u00ff";
    QTest::newRow("every other character kept") << 1 << QJsonArray{QJsonObject{{"id", "9"}, {"name", allowed}}}
                                                << "productList.xml"
                                                << kDeclaration + "<nemovg><product><ID>9</ID><name>" + allowed
            + "</name><width>0</width><height>0</height></product></nemovg>";
}

void TestLyraThread::xmlText()
{
    QFETCH(int, dataType);
    QFETCH(QJsonArray, data);
    QFETCH(QString, file);
    QFETCH(QString, text);
    QCOMPARE(kDeclaration.size(), 38);
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = dataType;
    worker.data = data;
    worker.stores = {store("A", lyraFolder("A"))};
    run(worker);

    QCOMPARE(receiver.reports.size(), 2);
    QCOMPARE(receiver.reports.at(0), (QJsonObject{{"type", "数据配置完成"}, {"xmlstr", text}}));
    QCOMPARE(receiver.reports.at(1), report("全部导入成功", "", "数据全部导入完成"));
    // UTF-8 without a byte-order mark, one line without a final line feed.
    QCOMPARE(readFile(productFile("A", file)), text.toUtf8());
    QCOMPARE(xmlError(readFile(productFile("A", file))), QString());
    QCOMPARE(worker.xmlStr, text);
    // A new file is as readable as a plain copy would be, and no temporary remains.
    QFile plain(dir->path() + "/lyra/A/产品/plain");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    QCOMPARE(QFileInfo(productFile("A", file)).permissions(), plain.permissions());
    plain.remove();
    QCOMPARE(QDir(dir->path() + "/lyra/A/产品").entryList(QDir::Files | QDir::Hidden), QStringList{file});
}

void TestLyraThread::reportsEveryStoreInOrder()
{
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = 1;
    worker.data = {QJsonObject{{"id", "7"}, {"name", "相册"}}};
    worker.stores = {store("A", lyraFolder("A")), store("B", lyraFolder("B")), store("C", lyraFolder("C"))};
    run(worker);

    QCOMPARE(receiver.reports.size(), 4);
    QCOMPARE(receiver.reports.at(0).value("type").toString(), QString("数据配置完成"));
    QCOMPARE(receiver.reports.at(1), report("门店数据导入成功", "", "产品数据: A数据导入完成，开始给导入B数据..."));
    QCOMPARE(receiver.reports.at(2), report("门店数据导入成功", "", "产品数据: B数据导入完成，开始给导入C数据..."));
    QCOMPARE(receiver.reports.at(3), report("全部导入成功", "", "数据全部导入完成"));
    for (const char* name : {"A", "B", "C"})
        QCOMPARE(readFile(productFile(name, "productList.xml")), worker.xmlStr.toUtf8());
}

void TestLyraThread::failedStoresAreReportedAndTheOthersWritten()
{
    // A's product folder cannot be made (its Lyra folder is missing), B is
    // written, C's folder is not writable.
    const QString a = lyraFolder("A", false);
    const QString c = lyraFolder("C");
    QDir().mkpath(dir->path() + "/lyra/C/产品");
    env->platform->unwritableFolders << dir->path() + "/lyra/C/产品";
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = 0;
    worker.data = {QJsonObject{{"id", "12"}, {"name", "张三"}}};
    worker.stores = {store("A", a), store("B", lyraFolder("B")), store("C", c)};
    run(worker);

    const QString aEntry = "\nAlyra路径错误，写入失败：" + a + "\\产品";
    const QString cEntry = "\nClyra路径没有写入权限：" + c + "\\产品";
    QCOMPARE(aEntry, "\nAlyra路径错误，写入失败：" + dir->path() + "\\lyra\\A\\产品");
    QCOMPARE(receiver.reports.size(), 4);
    QCOMPARE(receiver.reports.at(1), report("门店数据导入成功", aEntry, "员工数据: A数据导入完成，开始给导入B数据..."));
    QCOMPARE(receiver.reports.at(2), report("门店数据导入成功", "", "员工数据: B数据导入完成，开始给导入C数据..."));
    QCOMPARE(receiver.reports.at(3), report("全部导入成功", aEntry + cEntry, "数据全部导入完成"));
    QVERIFY(!QFileInfo::exists(dir->path() + "/lyra/A"));
    QVERIFY(QFileInfo::exists(productFile("B", "VgStaff.xml")));
    QVERIFY(!QFileInfo::exists(productFile("C", "VgStaff.xml")));
}

void TestLyraThread::folderInPlaceOfTheFileCannotBeOpened()
{
    QDir().mkpath(productFile("A", "VgStaff.xml"));
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = 0;
    worker.stores = {store("A", lyraFolder("A")), store("B", lyraFolder("B"))};
    run(worker);

    QCOMPARE(receiver.reports.size(), 3);
    const QString errors = receiver.reports.at(1).value("errormsg").toString();
    const QString entry = "\nA 文件打开失败，错误原因：";
    QVERIFY2(errors.startsWith(entry) && errors.size() > entry.size(), qPrintable(errors));
    QCOMPARE(receiver.reports.at(2), report("全部导入成功", "", "数据全部导入完成"));
    QVERIFY(QFileInfo(productFile("A", "VgStaff.xml")).isDir());
    QCOMPARE(QDir(dir->path() + "/lyra/A/产品").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"VgStaff.xml"});
}

void TestLyraThread::olderFileIsReplacedWhole()
{
    writeFile(productFile("A", "VgStaff.xml"), QByteArray(4096, 'o'));
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = 0;
    worker.data = {QJsonObject{{"id", "1"}, {"name", "甲"}}};
    worker.stores = {store("A", lyraFolder("A"))};
    run(worker);
    QCOMPARE(readFile(productFile("A", "VgStaff.xml")),
             (kDeclaration + "<nemovg><Staff><id>1</id><name>甲</name></Staff></nemovg>").toUtf8());
    QCOMPARE(QDir(dir->path() + "/lyra/A/产品").entryList(QDir::Files | QDir::Hidden), QStringList{"VgStaff.xml"});
}

void TestLyraThread::failedWriteKeepsTheOlderFile()
{
    writeFile(productFile("A", "VgStaff.xml"), "old list");
    SafeFileWriter::failFlushesForTests(dir->path() + "/lyra/A/");
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = 0;
    worker.data = {QJsonObject{{"id", "1"}, {"name", "甲"}}};
    worker.stores = {store("A", lyraFolder("A")), store("B", lyraFolder("B"))};
    run(worker);
    SafeFileWriter::failFlushesForTests(QString());

    QCOMPARE(receiver.reports.size(), 3);
    const QString errors = receiver.reports.at(1).value("errormsg").toString();
    const QString entry = "\nA 文件写入失败，错误原因：";
    QVERIFY2(errors.startsWith(entry) && errors.size() > entry.size(), qPrintable(errors));
    QCOMPARE(receiver.reports.at(2), report("全部导入成功", "", "数据全部导入完成"));
    QCOMPARE(readFile(productFile("A", "VgStaff.xml")), QByteArray("old list"));
    QCOMPARE(QDir(dir->path() + "/lyra/A/产品").entryList(QDir::Files | QDir::Hidden), QStringList{"VgStaff.xml"});
    QVERIFY(QFileInfo::exists(productFile("B", "VgStaff.xml")));
}

void TestLyraThread::noStoresReportsTheTextOnly()
{
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = 0;
    run(worker);
    QCOMPARE(receiver.reports.size(), 1);
    QCOMPARE(receiver.reports.first().value("type").toString(), QString("数据配置完成"));
}

void TestLyraThread::writeModeWritesTheGivenText()
{
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "write";
    worker.dataType = 1;
    worker.xmlStr = "<given/>";
    worker.stores = {store("A", lyraFolder("A"))};
    run(worker);
    QCOMPARE(receiver.reports, (QList<QJsonObject>{report("全部导入成功", "", "数据全部导入完成")}));
    QCOMPARE(readFile(productFile("A", "productList.xml")), QByteArray("<given/>"));
}

void TestLyraThread::otherModesReportNothing_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("dataType");
    QTest::newRow("empty mode") << "" << 0;
    QTest::newRow("other case") << "XML" << 0;
    QTest::newRow("xml, type 2") << "xml" << 2;
}

void TestLyraThread::otherModesReportNothing()
{
    QFETCH(QString, mode);
    QFETCH(int, dataType);
    Lyrathread worker(&receiver, nullptr);
    worker.mode = mode;
    worker.dataType = dataType;
    worker.stores = {store("A", lyraFolder("A"))};
    run(worker);
    QVERIFY(receiver.reports.isEmpty());
    QVERIFY(receiver.storeResults.isEmpty());
    QVERIFY(!QFileInfo::exists(dir->path() + "/lyra/A/产品"));
}

void TestLyraThread::stopBeforeStartIsForgotten()
{
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = 0;
    worker.stores = {store("A", lyraFolder("A"))};
    worker.stop();
    run(worker);
    QCOMPARE(receiver.reports.size(), 2);
    // A second start with new inputs runs the new job.
    worker.dataType = 1;
    run(worker);
    QCOMPARE(receiver.reports.size(), 4);
    QVERIFY(QFileInfo::exists(productFile("A", "productList.xml")));
}

void TestLyraThread::stopBetweenStoresWritesNoMore()
{
    Lyrathread worker(&receiver, nullptr);
    worker.mode = "xml";
    worker.dataType = 0;
    worker.stores = {store("A", lyraFolder("A")), store("B", lyraFolder("B"))};
    // Hold the worker at A's folder check until the stop arrives.
    QSemaphore held;
    env->platform->beforeFolderCheck = [&](const QString&) {
        held.release();
        while (!worker.stopRequested())
            QThread::yieldCurrentThread();
    };
    worker.start();
    held.acquire();
    worker.stop();
    QVERIFY(worker.wait(60000));
    QCoreApplication::sendPostedEvents(&receiver, QEvent::MetaCall);

    // A's file was under way and is whole; it goes unreported, and B is not written.
    QCOMPARE(receiver.reports.size(), 1);
    QCOMPARE(readFile(productFile("A", "VgStaff.xml")), worker.xmlStr.toUtf8());
    QVERIFY(!QFileInfo::exists(dir->path() + "/lyra/B/产品/VgStaff.xml"));
}

QTEST_MAIN(TestLyraThread)
#include "tst_lyrathread.moc"
