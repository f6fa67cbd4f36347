#include "app/Login.h"
#include "app/SelectTool.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtEndian>
#include <QtTest>

namespace {

// A string as QDataStream version 10 writes it: byte count, then UTF-16 big-endian.
QByteArray streamed(const QString& text)
{
    QByteArray bytes(4, '\0');
    qToBigEndian<quint32>(quint32(text.size() * 2), bytes.data());
    for (const QChar c : text) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return bytes;
}

// Key clicks for plain ASCII; other text arrives as an input method would commit it.
void typeText(QLineEdit* edit, const QString& text)
{
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text);
}

QList<SelectTool*> launchers()
{
    QList<SelectTool*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* launcher = qobject_cast<SelectTool*>(widget); launcher && launcher->isVisible())
            found << launcher;
    }
    return found;
}

} // namespace

// The sign-in window against the stand-in service, driven through its widgets.
class TestLogin : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshStartShowsEmptyForm();
    void versionLabelMarksTestServers();
    void emptyFieldsSendNothing();
    void postsTheExactBody();
    void successFillsGlobalsSavesAndOpensLauncher();
    void rememberedCredentialsComeBack_data();
    void rememberedCredentialsComeBack();
    void refusedLoginClearsThePassword();
    void networkFailures_data();
    void networkFailures();
    void leftDragMovesTheFramelessWindow();

private:
    void typeAndLogin(Login& login, const QString& user, const QString& password, bool remember);

    std::unique_ptr<ServiceEnvironment> env;
};

void TestLogin::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
}

void TestLogin::cleanup()
{
    ServiceCall::setTransferTimeoutForTests(0);
    for (SelectTool* launcher : launchers())
        delete launcher;
    env.reset();
}

void TestLogin::typeAndLogin(Login& login, const QString& user, const QString& password, bool remember)
{
    auto* userEdit = login.findChild<QLineEdit*>("username");
    auto* passwordEdit = login.findChild<QLineEdit*>("password");
    userEdit->clear();
    passwordEdit->clear();
    typeText(userEdit, user);
    typeText(passwordEdit, password);
    login.findChild<QCheckBox*>("checkBox")->setChecked(remember);
    QTest::mouseClick(login.findChild<QPushButton*>("okButton"), Qt::LeftButton);
}

void TestLogin::freshStartShowsEmptyForm()
{
    Login login;
    login.show();
    QCOMPARE(login.findChild<QLineEdit*>("username")->text(), QString());
    QCOMPARE(login.findChild<QLineEdit*>("password")->text(), QString());
    QVERIFY(!login.findChild<QCheckBox*>("checkBox")->isChecked());
    QCOMPARE(login.findChild<QLabel*>("lb_version")->text(), QString("澜叶软件Orbit-影务通1.7.0"));
    QCOMPARE(login.windowTitle(), QString("登录"));
    QCOMPARE(login.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    QVERIFY(!login.findChild<QLabel*>("label_pic")->pixmap(Qt::ReturnByValue).isNull());
    QTRY_COMPARE(env->service->count("Version/check_update"), 1);
}

void TestLogin::versionLabelMarksTestServers()
{
    QCOMPARE(Login::versionLabel("http://test.example/index.php?"), QString("澜叶软件Orbit-影务通 测试机1.7.0"));
    QCOMPARE(Login::versionLabel("http://TEST.example/index.php?"), QString("澜叶软件Orbit-影务通1.7.0"));
    QCOMPARE(Login::versionLabel("http://studio.example/index.php?"), QString("澜叶软件Orbit-影务通1.7.0"));
}

void TestLogin::emptyFieldsSendNothing()
{
    Login login;
    login.show();
    typeAndLogin(login, "", "x", false);
    typeAndLogin(login, "demo", "", false);
    QCOMPARE(env->dialogs.boxes.size(), 2);
    for (const DialogRecorder::Box& box : env->dialogs.boxes) {
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
        QCOMPARE(box.parent.data(), &login);
    }
    QCOMPARE(env->dialogs.texts(), (QStringList{"未输入用户名", "未输入密码"}));
    QTest::qWait(50);
    QCOMPARE(env->service->count("public/dologin"), 0);
}

void TestLogin::postsTheExactBody()
{
    Login login;
    login.show();
    typeAndLogin(login, "  ", "a&b=c", false);
    QCOMPARE(login.windowTitle(), QString("正在登录..."));
    QVERIFY(!login.findChild<QPushButton*>("okButton")->isEnabled());
    QTRY_COMPARE(env->service->count("public/dologin"), 1);

    const RecordedRequest sent = env->service->last("public/dologin");
    const QByteArray expected = "username=  &password=a%26b%3Dc&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8&version=1.7.0";
    QCOMPARE(sent.target, QByteArray("/index.php?g=QbtplusIma&m=public&a=dologin"));
    QCOMPARE(sent.body, expected);
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(expected.size()));
    QCOMPARE(sent.value("username"), QString("  "));
    QCOMPARE(sent.value("password"), QString("a&b=c"));
}

void TestLogin::successFillsGlobalsSavesAndOpensLauncher()
{
    g_shopName = "旧店";
    env->service->script("public/dologin",
                    Response::success({{"SUPERID", "3"}, {"EID", "501"}, {"USERNAME", "演示员工"}, {"SHOPID", "12"},
                                       {"UID", 1001},
                                       {"shop_data", QJsonArray{QJsonObject{{"id", "12"}, {"name", "澜叶旗舰店"}},
                                                                QJsonObject{{"id", 77}, {"name", "沐禾店"}}}}}));
    Login login;
    login.show();
    typeAndLogin(login, "demo", "demo123", true);
    QTRY_VERIFY(!login.isVisible());

    QCOMPARE(g_superId, QString("3"));
    QCOMPARE(g_eid, QString("501"));
    QCOMPARE(g_userName, QString("演示员工"));
    QCOMPARE(g_shopId, QString("12"));
    QCOMPARE(g_shopName, QString());
    QCOMPARE(g_uid, QString());

    QFile credentials(env->workDir.path() + "/user_qbt.dat");
    QVERIFY(credentials.open(QIODevice::ReadOnly));
    QCOMPARE(credentials.readAll(), streamed("demo") + streamed("ZGVtbzEyMw=="));

    const QList<SelectTool*> opened = launchers();
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened.first()->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(opened.first()->windowTitle(), QString("选择工具"));
    auto* shops = opened.first()->findChild<QComboBox*>("comboBox");
    QCOMPARE(shops->count(), 2);
    QCOMPARE(shops->itemText(0), QString("澜叶旗舰店"));
    QCOMPARE(shops->itemText(1), QString("沐禾店"));

    // A numeric id (and uid) reads as empty: the switch sends it so.
    shops->setCurrentIndex(1);
    QTest::mouseClick(opened.first()->findChild<QPushButton*>("pushButton"), Qt::LeftButton);
    QTRY_COMPARE(env->service->count("public/switch_shop"), 1);
    QCOMPARE(env->service->last("public/switch_shop").body,
             QByteArray("token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8&shopid=&uid="));
}

void TestLogin::rememberedCredentialsComeBack_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("remember");
    QTest::newRow("ascii, remembered") << "demo123" << true;
    QTest::newRow("non-ascii, remembered") << "密码pässwörd" << true;
    QTest::newRow("not remembered") << "demo123" << false;
}

void TestLogin::rememberedCredentialsComeBack()
{
    QFETCH(QString, password);
    QFETCH(bool, remember);
    env->service->script("public/dologin", Response::success({{"UID", "1"}}));
    {
        Login first;
        first.show();
        typeAndLogin(first, "张三", password, remember);
        QTRY_VERIFY(!first.isVisible());
    }
    QFile credentials(env->workDir.path() + "/user_qbt.dat");
    QVERIFY(credentials.open(QIODevice::ReadOnly));
    const QByteArray expected = streamed("张三")
        + (remember ? streamed(QString::fromLatin1(password.toUtf8().toBase64())) : QByteArray());
    QCOMPARE(credentials.readAll(), expected);

    Login next;
    QCOMPARE(next.findChild<QLineEdit*>("username")->text(), QString("张三"));
    QCOMPARE(next.findChild<QLineEdit*>("password")->text(), remember ? password : QString());
    QCOMPARE(next.findChild<QCheckBox*>("checkBox")->isChecked(), remember);
}

void TestLogin::refusedLoginClearsThePassword()
{
    Login login;
    login.show();
    typeAndLogin(login, "demo", "wrong", true);
    QTRY_COMPARE(env->dialogs.boxes.size(), 1);
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QCOMPARE(box.text, QString("用户名或密码错误"));
    QCOMPARE(box.parent.data(), &login);
    QCOMPARE(login.findChild<QLineEdit*>("password")->text(), QString());
    QCOMPARE(login.findChild<QLineEdit*>("username")->text(), QString("demo"));
    QVERIFY(login.findChild<QPushButton*>("okButton")->isEnabled());
    QCOMPARE(login.windowTitle(), QString("登录"));
    QVERIFY(login.isVisible());
    QVERIFY(!QFile::exists(env->workDir.path() + "/user_qbt.dat"));
}

void TestLogin::networkFailures_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("http 500") << 0 << QStringList{"网络请求错误\n500"};
    QTest::newRow("connection closed") << 1 << QStringList{"网络请求错误\n"};
    QTest::newRow("not json") << 2 << QStringList{};
    QTest::newRow("json array") << 3 << QStringList{};
    QTest::newRow("connection refused") << 4 << QStringList{"网络请求错误\n"};
    QTest::newRow("reply that never comes") << 5 << QStringList{"网络请求错误\n"};
}

void TestLogin::networkFailures()
{
    QFETCH(int, fault);
    QFETCH(QStringList, texts);
    const QList<Response> faults = {Response::httpError(500), Response::closeWithoutReply(), Response::raw("<html/>"),
                                    Response::raw("[]")};
    Login login;
    login.show();
    QTRY_COMPARE(env->service->count("Version/check_update"), 1);
    QTest::qWait(30);
    if (fault == 5) {
        ServiceCall::setTransferTimeoutForTests(200);
        env->service->script("public/dologin", Response::failure("用户名或密码错误").delayed(3000));
    } else if (fault < faults.size()) {
        env->service->script("public/dologin", faults.at(fault));
    } else {
        env->service.reset();
    }
    typeAndLogin(login, "demo", "demo123", false);
    QTRY_VERIFY(login.findChild<QPushButton*>("okButton")->isEnabled());
    QTRY_COMPARE(env->dialogs.texts(), texts);
    for (const DialogRecorder::Box& box : env->dialogs.boxes) {
        compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
        QVERIFY(!box.hadParent);
    }
    QCOMPARE(login.windowTitle(), QString("登录"));
    QCOMPARE(login.findChild<QLineEdit*>("password")->text(), QString("demo123"));
    QVERIFY(launchers().isEmpty());
}

void TestLogin::leftDragMovesTheFramelessWindow()
{
    Login login;
    login.move(100, 100);
    login.show();
    QVERIFY(QTest::qWaitForWindowExposed(&login));
    const QPoint start = login.pos();
    QWidget* banner = login.findChild<QLabel*>("label_pic");
    const QPoint grip(150, 60);
    const auto send = [banner, grip](QEvent::Type type, QPoint offset, Qt::MouseButton button, Qt::MouseButtons held) {
        sendMouse(banner, grip, type, offset, button, held);
    };
    send(QEvent::MouseButtonPress, {}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseMove, {15, 15}, Qt::NoButton, Qt::RightButton);
    QCOMPARE(login.pos(), start);
    leftDrag(banner, grip, {30, 20});
    QTRY_COMPARE(login.pos(), start + QPoint(30, 20));
    send(QEvent::MouseMove, {80, 80}, Qt::NoButton, Qt::NoButton);
    QTest::qWait(20);
    QCOMPARE(login.pos(), start + QPoint(30, 20));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
