#include "core/Globals.h"
#include "lyra/lyrasyncbaseinfodialog.h"
#include "lyra/lyrathread.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QXmlStreamReader>
#include <QtTest>

#include <atomic>

namespace {

const QByteArray kBody = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8&shopid=12&uid=1001";

// The texts of the "name" elements as an XML reader reads them, followed by
// the reader's error, if any.
QStringList namesReadBack(const QByteArray& xml)
{
    QStringList names;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("name"))
            names << reader.readElementText();
    }
    if (reader.hasError())
        names << reader.errorString();
    return names;
}

} // namespace

// The staff and product sync dialog against the stand-in service, writing
// into store folders under a temporary folder.
class TestLyraSyncDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsIdle();
    void syncWritesEveryStore_data();
    void syncWritesEveryStore();
    void failedListRequest_data();
    void failedListRequest();
    void namesStayReadableXml_data();
    void namesStayReadableXml();
    void failedStoresAreShownAndLeftOutOfTheLine_data();
    void failedStoresAreShownAndLeftOutOfTheLine();
    void noStoreWrittenEndsInFailure();
    void cancelWhileRequestingDropsTheReply();
    void cancelWhileWritingWritesNoMore();

private:
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(name); }
    QString line() const { return dialog->findChild<QLabel*>("lb_message")->text(); }
    QProgressBar* progress() const { return dialog->findChild<QProgressBar*>("progressBar"); }
    QString storeFolder(const QString& name) const { return env->workDir.path() + "/lyra/" + name; }
    QString productFile(const QString& name, const QString& file) const
    {
        return storeFolder(name) + "/产品/" + file;
    }
    // Which buttons show, in the order of the button row.
    QStringList visibleButtons() const;
    void clickAndWaitForRequest(const char* buttonName, const QString& route, int count = 1);

    std::unique_ptr<ServiceEnvironment> env;
    std::unique_ptr<LyraSyncBaseInfoDialog> dialog;
};

void TestLyraSyncDialog::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_uid = "1001";
    dialog.reset(new LyraSyncBaseInfoDialog);
    dialog->shopId = "12";
    for (const char* name : {"A", "B", "C"}) {
        QDir().mkpath(storeFolder(name));
        dialog->stores << QJsonObject{{"id", "1"}, {"name", name}, {"lyrapath", env->workDir.path() + "\\lyra\\" + name}};
    }
    dialog->show();
}

void TestLyraSyncDialog::cleanup()
{
    dialog.reset();
    env.reset();
}

QStringList TestLyraSyncDialog::visibleButtons() const
{
    QStringList names;
    for (const char* name : {"pb_syncpeo", "pb_syncpro", "pb_retry", "pb_cancel"}) {
        if (button(name)->isVisible())
            names << name;
    }
    return names;
}

void TestLyraSyncDialog::clickAndWaitForRequest(const char* buttonName, const QString& route, int count)
{
    QTest::mouseClick(button(buttonName), Qt::LeftButton);
    QTRY_COMPARE(env->service->count(route), count);
}

void TestLyraSyncDialog::startsIdle()
{
    QCOMPARE(dialog->windowTitle(), QString("同步员工/产品信息到Lyra系统"));
    QCOMPARE(line(), QString("请点击需要同步的数据类型"));
    QCOMPARE(visibleButtons(), (QStringList{"pb_syncpeo", "pb_syncpro"}));
    QCOMPARE(progress()->value(), 0);
    QCOMPARE(progress()->maximum(), 10);
    // Retry acts only after a failed request.
    QVERIFY(QMetaObject::invokeMethod(dialog.get(), "on_pb_retry_clicked"));
    QTest::qWait(50);
    QVERIFY(env->service->requests().isEmpty());
}

void TestLyraSyncDialog::syncWritesEveryStore_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("listKey");
    QTest::addColumn<QString>("requestingLine");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("finalLine");
    QTest::newRow("staff") << "pb_syncpeo" << "lyra/getpersons" << "persons" << "正在获取员工信息..." << "VgStaff.xml"
                           << "A,B,C 门店的员工数据导入Lyra成功！";
    QTest::newRow("products") << "pb_syncpro" << "lyra/getgoods" << "goods" << "正在获取产品信息..."
                              << "productList.xml" << "A,B,C 门店的产品数据导入Lyra成功！";
}

void TestLyraSyncDialog::syncWritesEveryStore()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, route);
    QFETCH(QString, requestingLine);
    QFETCH(QString, file);
    QFETCH(QString, finalLine);
    QList<int> values;
    connect(progress(), &QProgressBar::valueChanged, this, [&values](int value) { values << value; });

    QTest::mouseClick(button(buttonName.toLatin1().constData()), Qt::LeftButton);
    QCOMPARE(line(), requestingLine);
    QCOMPARE(visibleButtons(), QStringList{"pb_cancel"});
    QCOMPARE(progress()->maximum(), 5);
    QTRY_COMPARE(line(), finalLine);

    QCOMPARE(env->service->count(route), 1);
    const RecordedRequest sent = env->service->last(route);
    QCOMPARE(sent.body, kBody);
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(values, (QList<int>{1, 2, 3, 4, 5}));
    QCOMPARE(visibleButtons(), (QStringList{"pb_syncpeo", "pb_syncpro"}));
    QVERIFY(env->dialogs.boxes.isEmpty());
    // The demo lists hold a name with "&": the files stay readable XML.
    const QByteArray written = readFile(productFile("A", file));
    QVERIFY(written.contains("&amp;"));
    for (const char* name : {"B", "C"})
        QCOMPARE(readFile(productFile(name, file)), written);
}

void TestLyraSyncDialog::failedListRequest_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("failedLine");
    QTest::addColumn<QStringList>("boxTexts");
    QTest::newRow("http 500") << 0 << "网络请求错误！" << QStringList{"网络请求错误\n500"};
    QTest::newRow("not json") << 1 << "数据格式错误100！" << QStringList{};
    QTest::newRow("json array") << 2 << "数据格式错误101！" << QStringList{};
    QTest::newRow("refused") << 3 << "今日已同步" << QStringList{"今日已同步"};
    QTest::newRow("numeric code") << 4 << "" << QStringList{""};
}

void TestLyraSyncDialog::failedListRequest()
{
    QFETCH(int, fault);
    QFETCH(QString, failedLine);
    QFETCH(QStringList, boxTexts);
    const QList<Response> faults = {Response::httpError(500), Response::raw("oops"), Response::raw("[1]"),
                                    Response::failure("今日已同步"), Response::json({{"code", 1}})};
    env->service->script("lyra/getgoods", faults.at(fault));
    clickAndWaitForRequest("pb_syncpro", "lyra/getgoods");
    QTRY_COMPARE(line(), failedLine);
    QTRY_COMPARE(env->dialogs.texts(), boxTexts);
    for (const DialogRecorder::Box& box : env->dialogs.boxes) {
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!box.hadParent);
    }
    QCOMPARE(visibleButtons(), (QStringList{"pb_retry", "pb_cancel"}));
    QVERIFY(!QFileInfo::exists(storeFolder("A") + "/产品"));

    // Retry asks for the same list again and this time writes it.
    env->service->clearScripts();
    clickAndWaitForRequest("pb_retry", "lyra/getgoods", 2);
    QCOMPARE(env->service->last("lyra/getgoods").body, kBody);
    QTRY_COMPARE(line(), QString("A,B,C 门店的产品数据导入Lyra成功！"));
    QCOMPARE(env->service->count("lyra/getpersons"), 0);
    QVERIFY(QFileInfo::exists(productFile("C", "productList.xml")));
}

void TestLyraSyncDialog::namesStayReadableXml_data()
{
    syncWritesEveryStore_data();
}

void TestLyraSyncDialog::namesStayReadableXml()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, route);
    QFETCH(QString, listKey);
    QFETCH(QString, file);
    QFETCH(QString, finalLine);
    const QJsonArray list{QJsonObject{{"id", "1"}, {"name", "张\u0001三"}},
                          QJsonObject{{"id", "2"}, {"name", "李\u001b四\u007f"}},
                          QJsonObject{{"id", "3"}, {"name", "王\ufffe五\uffff"}},
                          QJsonObject{{"id", "4"}, {"name", "赵&<六>"}}};
    env->service->script(route, Response::success({{listKey, list}}));
    clickAndWaitForRequest(buttonName.toLatin1().constData(), route);
    QTRY_COMPARE(line(), finalLine);
    QVERIFY(env->dialogs.boxes.isEmpty());
    for (const char* name : {"A", "B", "C"})
        QCOMPARE(namesReadBack(readFile(productFile(name, file))), (QStringList{"张三", "李四", "王五", "赵&<六>"}));
}

void TestLyraSyncDialog::failedStoresAreShownAndLeftOutOfTheLine_data()
{
    QTest::addColumn<QStringList>("unwritable");
    QTest::addColumn<QString>("finalLine");
    QTest::addColumn<QStringList>("failedInBox");
    // The box shows the errors the last store's report carries: none once
    // the last store was written.
    QTest::newRow("middle store") << QStringList{"B"} << "A,C 门店的员工数据导入Lyra成功！" << QStringList{};
    QTest::newRow("first and last") << QStringList{"A", "C"} << "B 门店的员工数据导入Lyra成功！" << QStringList{"A", "C"};
}

void TestLyraSyncDialog::failedStoresAreShownAndLeftOutOfTheLine()
{
    QFETCH(QStringList, unwritable);
    QFETCH(QString, finalLine);
    QFETCH(QStringList, failedInBox);
    for (const QString& name : unwritable) {
        QDir().mkpath(storeFolder(name) + "/产品");
        env->platform->unwritableFolders << storeFolder(name) + "/产品";
    }
    clickAndWaitForRequest("pb_syncpeo", "lyra/getpersons");
    QTRY_COMPARE(line(), finalLine);
    QString errors;
    for (const QString& name : failedInBox)
        errors += "\n" + name + "lyra路径没有写入权限：" + env->workDir.path() + "\\lyra\\" + name + "\\产品";
    QCOMPARE(env->dialogs.texts(), errors.isEmpty() ? QStringList{} : QStringList{errors});
    for (const DialogRecorder::Box& box : env->dialogs.boxes)
        compareBox(box, QMessageBox::Information, "温馨提示", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(progress()->value(), 5);
    for (const char* name : {"A", "B", "C"})
        QCOMPARE(QFileInfo::exists(productFile(name, "VgStaff.xml")), !unwritable.contains(name));
}

void TestLyraSyncDialog::noStoreWrittenEndsInFailure()
{
    for (const char* name : {"A", "B", "C"})
        QDir(storeFolder(name)).removeRecursively();
    clickAndWaitForRequest("pb_syncpro", "lyra/getgoods");
    QTRY_COMPARE(line(), QString("产品数据导入Lyra失败！"));
    QCOMPARE(env->dialogs.boxes.size(), 1);
    QCOMPARE(env->dialogs.texts().first().count("lyra路径错误，写入失败："), 3);
    QCOMPARE(visibleButtons(), (QStringList{"pb_syncpeo", "pb_syncpro"}));
}

void TestLyraSyncDialog::cancelWhileRequestingDropsTheReply()
{
    env->service->script("lyra/getpersons", Response::success({{"persons", QJsonArray{QJsonObject{{"id", "1"}, {"name", "甲"}}}}}).delayed(300));
    clickAndWaitForRequest("pb_syncpeo", "lyra/getpersons");
    QTest::mouseClick(button("pb_cancel"), Qt::LeftButton);
    QCOMPARE(line(), QString("请点击需要同步的数据类型"));
    QCOMPARE(visibleButtons(), (QStringList{"pb_syncpeo", "pb_syncpro"}));
    QCOMPARE(progress()->value(), 0);

    // The products asked for next are not mistaken for the staff list.
    clickAndWaitForRequest("pb_syncpro", "lyra/getgoods");
    QTRY_COMPARE(line(), QString("A,B,C 门店的产品数据导入Lyra成功！"));
    QTRY_VERIFY(!env->service->hasOpenConnections());
    QTest::qWait(400);
    QCOMPARE(line(), QString("A,B,C 门店的产品数据导入Lyra成功！"));
    QVERIFY(env->dialogs.boxes.isEmpty());
    QVERIFY(!QFileInfo::exists(productFile("A", "VgStaff.xml")));
    QVERIFY(readFile(productFile("A", "productList.xml")).contains("水晶&amp;木质相框"));
}

void TestLyraSyncDialog::cancelWhileWritingWritesNoMore()
{
    // Hold the writer at the first store until the cancel has stopped it.
    std::atomic<bool> held{false};
    env->platform->beforeFolderCheck = [&held](const QString&) {
        auto* worker = qobject_cast<Lyrathread*>(QThread::currentThread());
        held = true;
        while (worker && !worker->stopRequested())
            QThread::yieldCurrentThread();
    };
    clickAndWaitForRequest("pb_syncpeo", "lyra/getpersons");
    QTRY_VERIFY(held);
    QTest::mouseClick(button("pb_cancel"), Qt::LeftButton);
    QCOMPARE(line(), QString("请点击需要同步的数据类型"));
    QCOMPARE(progress()->value(), 0);
    QTest::qWait(50);
    QCOMPARE(line(), QString("请点击需要同步的数据类型"));
    QCOMPARE(progress()->value(), 0);
    QCOMPARE(visibleButtons(), (QStringList{"pb_syncpeo", "pb_syncpro"}));
    QVERIFY(!QFileInfo::exists(productFile("B", "VgStaff.xml")));
    QVERIFY(!QFileInfo::exists(productFile("C", "VgStaff.xml")));
    QVERIFY(env->dialogs.boxes.isEmpty());
}

QTEST_MAIN(TestLyraSyncDialog)
#include "tst_lyrasyncdialog.moc"
