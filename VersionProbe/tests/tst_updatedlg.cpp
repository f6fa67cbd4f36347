#include "Routes.h"
#include "StudioService.h"
#include "support/TestSupport.h"
#include "updatedlg.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QByteArray sampleBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xff);
    return bytes;
}

QWidget* cell(updateDlg& dialog, int row, int column)
{
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    QLayoutItem* item = grid ? grid->itemAtPosition(row, column) : nullptr;
    return item ? item->widget() : nullptr;
}

QString labelText(updateDlg& dialog, int row, int column)
{
    auto* label = qobject_cast<QLabel*>(cell(dialog, row, column));
    return label ? label->text() : QStringLiteral("<no label>");
}

QPushButton* button(updateDlg& dialog)
{
    return qobject_cast<QPushButton*>(cell(dialog, 5, 0));
}

QProgressBar* bar(updateDlg& dialog)
{
    return qobject_cast<QProgressBar*>(cell(dialog, 5, 1));
}

const QString kProgram = QStringLiteral("VersionProbe");

} // namespace

class UpdateDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showsArguments_data();
    void showsArguments();
    void downloadReplacesAndStarts();
    void clicksDuringDownloadAreIgnored();
    void failedDownloadKeepsOldFile_data();
    void failedDownloadKeepsOldFile();
    void unwritableSavePathIsReported();
    void failedStartIsReported();
    void startsDownloadedProgram();

private:
    // Asks the stand-in for the announced version and builds the updater's
    // command line from it as the main program does.
    QStringList announcedArguments(const QString& savePath);
    void announce(const QString& fileName, qint64 size);
    QString downloadPath(const QString& fileName) const;

    QTemporaryDir m_demoRoot;
    std::unique_ptr<StudioService> m_service;
    std::unique_ptr<RecordedEnvironment> m_env;
    std::unique_ptr<QTemporaryDir> m_saveDir;
};

void UpdateDlgTest::initTestCase()
{
    QVERIFY(m_demoRoot.isValid());
    QVERIFY(QDir(m_demoRoot.path()).mkpath(QStringLiteral("downloads")));
    m_service.reset(new StudioService(m_demoRoot.path()));
    QVERIFY(m_service->listen());
}

void UpdateDlgTest::init()
{
    m_env.reset(new RecordedEnvironment);
    m_service->clearScripts();
    m_service->clearRequests();
    m_service->demo().remove(QStringLiteral("update"));
    m_saveDir.reset(new QTemporaryDir);
    QVERIFY(m_saveDir->isValid());
}

void UpdateDlgTest::cleanup()
{
    m_env.reset();
    m_saveDir.reset();
}

QString UpdateDlgTest::downloadPath(const QString& fileName) const
{
    return m_demoRoot.filePath(QStringLiteral("downloads/") + fileName);
}

void UpdateDlgTest::announce(const QString& fileName, qint64 size)
{
    m_service->demo().insert(QStringLiteral("update"),
                             QJsonObject{{QStringLiteral("application_name"), QStringLiteral("澜叶软件-影务通")},
                                         {QStringLiteral("number"), QStringLiteral("1.8.0")},
                                         {QStringLiteral("time"), QStringLiteral("2024-05-01")},
                                         {QStringLiteral("file_name"), fileName},
                                         {QStringLiteral("path"), downloadUrl(*m_service, fileName)},
                                         {QStringLiteral("file_size"), QString::number(size)}});
}

QStringList UpdateDlgTest::announcedArguments(const QString& savePath)
{
    QNetworkAccessManager manager;
    QNetworkRequest request(QUrl(m_service->baseUrl() + QStringLiteral("/index.php?g=Publicapi&m=Version&a=check_update")));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply* reply = manager.post(request, QByteArray("type=qbtOrbitStudioAide"));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!finished.wait(5000))
        return {};
    const QJsonObject data = QJsonDocument::fromJson(reply->readAll()).object().value(QStringLiteral("data")).toObject();
    delete reply;
    QStringList arguments{kProgram};
    for (const char* key : {"application_name", "number", "time", "file_name", "path"})
        arguments << data.value(QLatin1String(key)).toString();
    arguments << savePath << data.value(QStringLiteral("file_size")).toString();
    return arguments;
}

void UpdateDlgTest::showsArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<int>("maximum");

    const QStringList seven{QStringLiteral(" 影务通 专业版 "), QStringLiteral("1.8.0"), QStringLiteral("2024-05-01 10:00"),
                            QStringLiteral("新 版.exe"), QStringLiteral("http://127.0.0.1:1/x"),
                            QStringLiteral("/tmp/新 版.exe"), QStringLiteral("1234")};
    const QStringList sample{QStringLiteral("晴果-分单系统"), QStringLiteral("v1.0"), QStringLiteral("2017-12-25"),
                             QStringLiteral("5.6MB")};
    QStringList notNumber = seven;
    notNumber[6] = QStringLiteral("12ab");
    QStringList tooLarge = seven;
    tooLarge[6] = QStringLiteral("3000000000");

    QTest::newRow("seven") << (QStringList{kProgram} + seven)
                           << QStringList{seven.at(0), seven.at(1), seven.at(2), QStringLiteral("1234")} << 1234;
    QTest::newRow("six") << (QStringList{kProgram} + seven.mid(0, 6)) << sample << 5630828;
    QTest::newRow("eight") << (QStringList{kProgram} + seven + QStringList{QStringLiteral("x")}) << sample << 5630828;
    QTest::newRow("none") << QStringList{kProgram} << sample << 5630828;
    QTest::newRow("size not a number") << (QStringList{kProgram} + notNumber)
                                       << QStringList{seven.at(0), seven.at(1), seven.at(2), QStringLiteral("0")} << 0;
    QTest::newRow("size beyond 32 bits") << (QStringList{kProgram} + tooLarge)
                                         << QStringList{seven.at(0), seven.at(1), seven.at(2), QStringLiteral("0")} << 0;
}

void UpdateDlgTest::showsArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, shown);
    QFETCH(int, maximum);

    updateDlg dialog(nullptr, arguments);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("updateDlg"));
    QCOMPARE(labelText(dialog, 0, 0), QStringLiteral("检测到新版本"));
    const QStringList captions{QStringLiteral("应用名："), QStringLiteral("版本号："), QStringLiteral("更新时间："),
                               QStringLiteral("下载包大小：")};
    for (int row = 1; row <= 4; ++row) {
        QCOMPARE(labelText(dialog, row, 0), captions.at(row - 1));
        QCOMPARE(labelText(dialog, row, 1), shown.at(row - 1));
    }
    QVERIFY(button(dialog));
    QCOMPARE(button(dialog)->text(), QStringLiteral("开始更新"));
    QVERIFY(bar(dialog));
    QCOMPARE(bar(dialog)->minimum(), 0);
    QCOMPARE(bar(dialog)->maximum(), maximum);
}

void UpdateDlgTest::downloadReplacesAndStarts()
{
    const QString name = QStringLiteral("影务通 1.8.0.exe");
    const QByteArray bytes = sampleBytes(600000);
    writeFile(downloadPath(name), bytes);
    announce(name, bytes.size());
    const QString savePath = m_saveDir->filePath(name);
    writeFile(savePath, "old version");

    updateDlg dialog(nullptr, announcedArguments(savePath));
    dialog.show();
    QCOMPARE(labelText(dialog, 4, 1), QString::number(bytes.size()));
    QSignalSpy progress(bar(dialog), &QProgressBar::valueChanged);

    QTest::mouseClick(button(dialog), Qt::LeftButton);
    QCOMPARE(button(dialog)->text(), QStringLiteral("正在下载..."));
    QTRY_COMPARE(button(dialog)->text(), QStringLiteral("更新完毕"));

    const RecordedRequest request = m_service->last(QStringLiteral("GET /download"));
    QCOMPARE(m_service->count(QStringLiteral("GET /download")), 1);
    QCOMPARE(request.queryValue(QStringLiteral("file")), name);
    QCOMPARE(request.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QVERIFY(request.body.isEmpty());

    QVERIFY(readFile(savePath) == bytes);
    QVERIFY(QFileInfo(savePath).permissions().testFlag(QFileDevice::ExeOwner));
    QCOMPARE(QDir(m_saveDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});

    QVERIFY(progress.size() >= 1);
    int previous = 0;
    for (const QList<QVariant>& change : progress) {
        QVERIFY(change.at(0).toInt() >= previous);
        previous = change.at(0).toInt();
    }
    QCOMPARE(bar(dialog)->value(), bytes.size());

    QCOMPARE(m_env->platform->starts.size(), 1);
    QCOMPARE(m_env->platform->starts.at(0).program, savePath);
    QVERIFY(m_env->platform->starts.at(0).arguments.isEmpty());
    QVERIFY(m_env->dialogs.boxes.isEmpty());
}

void UpdateDlgTest::clicksDuringDownloadAreIgnored()
{
    const QByteArray bytes = sampleBytes(5000);
    m_service->script(QStringLiteral("GET /download"), Response::raw(bytes, "application/octet-stream").delayed(300));
    const QString savePath = m_saveDir->filePath(QStringLiteral("Allotter.exe"));
    updateDlg dialog(nullptr, {kProgram, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                               QStringLiteral("Allotter.exe"), downloadUrl(*m_service, QStringLiteral("Allotter.exe")),
                               savePath, QString::number(bytes.size())});
    dialog.show();

    QTest::mouseClick(button(dialog), Qt::LeftButton);
    QTest::mouseClick(button(dialog), Qt::LeftButton);
    QTRY_COMPARE(m_service->count(QStringLiteral("GET /download")), 1);
    QTest::mouseClick(button(dialog), Qt::LeftButton);
    QTRY_COMPARE(button(dialog)->text(), QStringLiteral("更新完毕"));
    QTest::qWait(100);

    QCOMPARE(m_service->count(QStringLiteral("GET /download")), 1);
    QCOMPARE(m_env->platform->starts.size(), 1);
    QVERIFY(readFile(savePath) == bytes);
}

void UpdateDlgTest::failedDownloadKeepsOldFile_data()
{
    QTest::addColumn<QString>("served");     // file name in the demo downloads, empty: none
    QTest::addColumn<QString>("fault");      // scripted answer, empty: the real route
    QTest::addColumn<QString>("expected");

    const QByteArray bytes = sampleBytes(4000);
    QTest::newRow("missing file") << QString() << QString() << QStringLiteral("网络请求错误\n404");
    QTest::newRow("server error") << QStringLiteral("new.exe") << QStringLiteral("500") << QStringLiteral("网络请求错误\n500");
    QTest::newRow("connection reset") << QStringLiteral("new.exe") << QStringLiteral("reset")
                                      << QStringLiteral("网络请求错误\n");
    QTest::newRow("truncated body") << QStringLiteral("new.exe") << QStringLiteral("truncated")
                                    << QStringLiteral("更新包下载不完整，已收到 1000 字节");
    QTest::newRow("shorter than announced") << QStringLiteral("new.exe") << QStringLiteral("short")
                                            << QStringLiteral("更新包大小不符：收到 1000 字节，应为 4000 字节");
}

void UpdateDlgTest::failedDownloadKeepsOldFile()
{
    QFETCH(QString, served);
    QFETCH(QString, fault);
    QFETCH(QString, expected);

    const QByteArray bytes = sampleBytes(4000);
    const QString route = QStringLiteral("GET /download");
    if (!served.isEmpty())
        writeFile(downloadPath(served), bytes);
    if (fault == QLatin1String("500"))
        m_service->script(route, Response::httpError(500));
    else if (fault == QLatin1String("reset"))
        m_service->script(route, Response::closeWithoutReply());
    else if (fault == QLatin1String("truncated"))
        m_service->script(route, Response::truncated(bytes.left(1000), bytes.size()));
    else if (fault == QLatin1String("short"))
        m_service->script(route, Response::raw(bytes.left(1000), "application/octet-stream"));

    const QString name = QStringLiteral("new.exe");
    const QString savePath = m_saveDir->filePath(name);
    writeFile(savePath, "old version");
    updateDlg dialog(nullptr, {kProgram, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), name,
                               downloadUrl(*m_service, served.isEmpty() ? QStringLiteral("absent.exe") : served),
                               savePath, QString::number(bytes.size())});
    dialog.show();

    QTest::mouseClick(button(dialog), Qt::LeftButton);
    QTRY_COMPARE(m_env->dialogs.boxes.size(), 1);

    const DialogRecorder::Box box = m_env->dialogs.boxes.at(0);
    compareBox(box, QMessageBox::Warning, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(box.parent.data(), &dialog);
    QCOMPARE(box.text, expected);

    QCOMPARE(readFile(savePath), QByteArray("old version"));
    QCOMPARE(QDir(m_saveDir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
    QVERIFY(m_env->platform->starts.isEmpty());
    QCOMPARE(button(dialog)->text(), QStringLiteral("开始更新"));
    QCOMPARE(bar(dialog)->value(), 0);
    if (!served.isEmpty())
        QFile::remove(downloadPath(served));
}

void UpdateDlgTest::unwritableSavePathIsReported()
{
    const QByteArray bytes = sampleBytes(2000);
    writeFile(downloadPath(QStringLiteral("tool.exe")), bytes);
    const QString savePath = m_saveDir->filePath(QStringLiteral("no such folder/tool.exe"));
    updateDlg dialog(nullptr, {kProgram, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                               QStringLiteral("tool.exe"), downloadUrl(*m_service, QStringLiteral("tool.exe")), savePath,
                               QString::number(bytes.size())});
    dialog.show();

    QTest::mouseClick(button(dialog), Qt::LeftButton);
    QTRY_COMPARE(m_env->dialogs.boxes.size(), 1);
    QCOMPARE(m_env->dialogs.boxes.at(0).text, QStringLiteral("无法写入文件：") + savePath);
    QVERIFY(m_env->platform->starts.isEmpty());
    QCOMPARE(button(dialog)->text(), QStringLiteral("开始更新"));
}

void UpdateDlgTest::failedStartIsReported()
{
    const QByteArray bytes = sampleBytes(2000);
    writeFile(downloadPath(QStringLiteral("tool.exe")), bytes);
    m_env->platform->startSucceeds = false;
    const QString savePath = m_saveDir->filePath(QStringLiteral("tool.exe"));
    updateDlg dialog(nullptr, {kProgram, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
                               QStringLiteral("tool.exe"), downloadUrl(*m_service, QStringLiteral("tool.exe")), savePath,
                               QStringLiteral("not a number")});
    dialog.show();

    QTest::mouseClick(button(dialog), Qt::LeftButton);
    QTRY_COMPARE(m_env->dialogs.boxes.size(), 1);
    QCOMPARE(m_env->dialogs.boxes.at(0).text, QStringLiteral("无法启动更新程序：") + savePath);
    QVERIFY(readFile(savePath) == bytes);
    QCOMPARE(m_env->platform->starts.size(), 1);
    QCOMPARE(button(dialog)->text(), QStringLiteral("开始更新"));
}

void UpdateDlgTest::startsDownloadedProgram()
{
#ifdef Q_OS_WIN
    QSKIP("runs a shell script");
#endif
    Platform::install(nullptr);
    const QString marker = m_saveDir->filePath(QStringLiteral("started"));
    const QByteArray script = "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n";
    const QString name = QStringLiteral("更新 程序.sh");
    writeFile(downloadPath(name), script);
    announce(name, script.size());

    updateDlg dialog(nullptr, announcedArguments(m_saveDir->filePath(name)));
    dialog.show();
    QTest::mouseClick(button(dialog), Qt::LeftButton);
    QTRY_COMPARE(button(dialog)->text(), QStringLiteral("更新完毕"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    QVERIFY(m_env->dialogs.boxes.isEmpty());
}

QTEST_MAIN(UpdateDlgTest)
#include "tst_updatedlg.moc"
