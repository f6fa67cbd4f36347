#include "app/SelectTool.h"
#include "app/WebLogin.h"
#include "core/Globals.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextCodec>
#include <QWebElement>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

namespace {

const char* const kPageRoute = "GET /user/public/yingwu_weixin_loginform/";
const char* const kPostRoute = "POST /user/public/yingwu_weixin_loginform/";

Response pageTitled(const QString& title)
{
    return Response::raw("<html><head><meta charset=\"utf-8\"><title>" + title.toHtmlEscaped().toUtf8()
                             + "</title></head><body></body></html>",
                         "text/html; charset=utf-8");
}

QString json(const QJsonObject& object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
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

QStringList shopNames(SelectTool* launcher)
{
    QStringList names;
    auto* combo = launcher->findChild<QComboBox*>("comboBox");
    for (int i = 0; i < combo->count(); ++i)
        names << combo->itemText(i);
    return names;
}

QWebView* webView(WebLogin& window)
{
    return window.findChild<QWebView*>("webView");
}

} // namespace

// The web login window against the stand-in's login page, over loopback.
class TestWebLogin : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showsTheLoginPage();
    void sendsItsOwnVersionCheck();
    void demoAccountSignsIn();
    void refusedLoginGoesBackAndTells();
    void titles_data();
    void titles();
    void repeatedResultListsTheShopsOnce();
    void newVersionStartsTheUpdaterWithoutAsking();
    void labelAppearsAfterTenPercent();
    void rightClickRefreshesThePage();
    void leftDragMovesTheWindow();
    void closeButtonClosesWhileThePageLoads();

private:
    void submit(WebLogin& window, const QString& user, const QString& password);

    std::unique_ptr<ServiceEnvironment> env;
    QTextCodec* localCodec = nullptr;
};

void TestWebLogin::init()
{
    localCodec = QTextCodec::codecForLocale();
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_userName = "旧用户";
    g_uid = "9";
    g_shopId = "12";
    g_shopName = "旧店";
    g_superId = "3";
    g_eid = "501";
}

void TestWebLogin::cleanup()
{
    for (SelectTool* launcher : launchers())
        delete launcher;
    env.reset();
    QTextCodec::setCodecForLocale(localCodec);
}

// The page takes no clicks (a label covers it), so the form is filled and sent by script.
void TestWebLogin::submit(WebLogin& window, const QString& user, const QString& password)
{
    QWebFrame* frame = webView(window)->page()->mainFrame();
    QTRY_VERIFY(!frame->findFirstElement("form").isNull());
    frame->findFirstElement("input[name=username]").setAttribute("value", user);
    frame->findFirstElement("input[name=password]").setAttribute("value", password);
    frame->evaluateJavaScript("document.forms[0].submit();");
}

void TestWebLogin::showsTheLoginPage()
{
    WebLogin window;
    window.show();
    QCOMPARE(window.windowTitle(), QString("Form"));
    QCOMPARE(window.windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    QCOMPARE(window.size(), QSize(1200, 680));
    auto* label = window.findChild<QLabel*>("label");
    QCOMPARE(label->text(), QString("当前版本：2.0.0"));
    QVERIFY(label->font().bold());

    QTRY_COMPARE(webView(window)->title(), QString("影务通登录"));
    QCOMPARE(webView(window)->url(), QUrl(BASE_URL + "/user/public/yingwu_weixin_loginform/"));
    QCOMPARE(env->service->count(kPageRoute), 1);
    QVERIFY(!label->isHidden());
    // An ordinary page title is no login result.
    QTest::qWait(50);
    QVERIFY(env->dialogs.boxes.isEmpty());
    QVERIFY(launchers().isEmpty());
    QVERIFY(window.isVisible());
}

void TestWebLogin::sendsItsOwnVersionCheck()
{
    WebLogin window;
    QTRY_COMPARE(env->service->count("Version/check_update"), 1);
    const RecordedRequest sent = env->service->last("Version/check_update");
    QCOMPARE(sent.target, QByteArray("/index.php?g=Publicapi&m=Version&a=check_update"));
    QCOMPARE(sent.body, QByteArray("type=qbtNewStudioAide&number=1.7.0&token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8"));
    QCOMPARE(sent.header("Content-Type"), QByteArray("application/x-www-form-urlencoded"));
    // The stand-in announces no new version.
    QTest::qWait(100);
    QVERIFY(env->platform->starts.isEmpty());
    QVERIFY(env->platform->exitStatuses.isEmpty());
}

void TestWebLogin::demoAccountSignsIn()
{
    WebLogin window;
    window.show();
    submit(window, "demo", "demo123");
    QTRY_VERIFY(!window.isVisible());

    const RecordedRequest sent = env->service->last(kPostRoute);
    QCOMPARE(sent.value("username"), QString("demo"));
    QCOMPARE(sent.value("password"), QString("demo123"));
    QCOMPARE(g_userName, QString("演示员工"));
    QCOMPARE(g_uid, QString("1001"));
    // The launcher's switch fills the rest.
    QCOMPARE(g_shopName, QString("旧店"));
    QCOMPARE(g_eid, QString("501"));

    const QList<SelectTool*> opened = launchers();
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened.first()->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(shopNames(opened.first()), (QStringList{"澜叶旗舰店", "沐禾店", "城南店"}));
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestWebLogin::refusedLoginGoesBackAndTells()
{
    WebLogin window;
    window.show();
    submit(window, "demo", "wrong");
    QTRY_COMPARE(env->dialogs.boxes.size(), 1);
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.title, QString("警告"));
    QCOMPARE(box.text, QString("用户名或密码错误"));
    QCOMPARE(box.parent.data(), &window);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Yes));

    QTRY_COMPARE(webView(window)->title(), QString("影务通登录"));
    QCOMPARE(webView(window)->url(), QUrl(BASE_URL + "/user/public/yingwu_weixin_loginform/"));
    QTest::qWait(50);
    QCOMPARE(env->dialogs.boxes.size(), 1);
    QVERIFY(window.isVisible());
    QVERIFY(launchers().isEmpty());
    QCOMPARE(g_userName, QString("旧用户"));
}

void TestWebLogin::titles_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("boxTexts");
    QTest::addColumn<QStringList>("shops"); // empty: no launcher
    QTest::addColumn<bool>("launched");

    QTest::newRow("ordinary title") << "微信扫码登录" << QStringList() << QStringList() << false;
    QTest::newRow("json array") << "[1,2]" << QStringList() << QStringList() << false;
    QTest::newRow("object without code") << json({{"message", "请扫码"}}) << QStringList() << QStringList() << false;
    QTest::newRow("refused") << json({{"code", "0"}, {"message", "账号已停用"}}) << QStringList{"账号已停用"}
                             << QStringList() << false;
    QTest::newRow("numeric code") << json({{"code", 1}, {"uid", "7"}}) << QStringList{""} << QStringList() << false;
    QTest::newRow("success") << json({{"code", "1"}, {"USERNAME", "张三"}, {"uid", "1001"},
                                      {"shop_data", QJsonArray{QJsonObject{{"id", "12"}, {"name", "澜叶旗舰店"}},
                                                               QJsonObject{{"id", 77}, {"name", "沐禾店"}}}}})
                             << QStringList() << QStringList{"澜叶旗舰店", "沐禾店"} << true;
    QTest::newRow("success without shops") << json({{"code", "1"}, {"USERNAME", "张三"}, {"uid", "1001"}})
                                           << QStringList() << QStringList() << true;
}

void TestWebLogin::titles()
{
    QFETCH(QString, title);
    QFETCH(QStringList, boxTexts);
    QFETCH(QStringList, shops);
    QFETCH(bool, launched);
    // A local 8-bit encoding that cannot hold Chinese shows whether the title is read as UTF-8.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
    env->service->script(kPageRoute, pageTitled(title));
    WebLogin window;
    window.show();
    QSignalSpy titles(webView(window), &QWebView::titleChanged);
    QTRY_VERIFY(titles.contains(QVariantList{title}));
    QTest::qWait(50);

    QCOMPARE(env->dialogs.texts(), boxTexts);
    QCOMPARE(window.isVisible(), !launched);
    const QList<SelectTool*> opened = launchers();
    QCOMPARE(opened.size(), launched ? 1 : 0);
    if (!launched) {
        QCOMPARE(g_userName, QString("旧用户"));
        return;
    }
    QCOMPARE(shopNames(opened.first()), shops);
    QCOMPARE(g_userName, QString("张三"));
    QCOMPARE(g_uid, QString("1001"));
}

void TestWebLogin::repeatedResultListsTheShopsOnce()
{
    const QString result = json({{"code", "1"}, {"USERNAME", "张三"}, {"uid", "1001"},
                                 {"shop_data", QJsonArray{QJsonObject{{"id", "12"}, {"name", "澜叶旗舰店"}},
                                                          QJsonObject{{"id", "20"}, {"name", "城南店"}}}}});
    env->service->script(kPageRoute, pageTitled(result));
    WebLogin window;
    window.show();
    QTRY_COMPARE(launchers().size(), 1);
    QCOMPARE(shopNames(launchers().first()), (QStringList{"澜叶旗舰店", "城南店"}));

    // The page announces the same result again after a detour.
    QWebFrame* frame = webView(window)->page()->mainFrame();
    frame->evaluateJavaScript("document.title = '影务通登录';");
    frame->evaluateJavaScript("document.title = '" + result + "';");
    QTRY_COMPARE(launchers().size(), 2);
    for (SelectTool* launcher : launchers())
        QCOMPARE(shopNames(launcher), (QStringList{"澜叶旗舰店", "城南店"}));
    QVERIFY(env->dialogs.boxes.isEmpty());
}

void TestWebLogin::newVersionStartsTheUpdaterWithoutAsking()
{
    const QJsonObject data{{"application_name", "影务通"}, {"number", "2.0.1"}, {"time", "2026-12-01 10:00:00"},
                           {"file_name", "影务通 2.0.1.exe"}, {"path", env->service->baseUrl() + "/download?file=x"},
                           {"file_size", "1048576"}};
    env->service->script("Version/check_update", Response::success({{"data", data}}));
    WebLogin window;
    window.show();
    QTRY_COMPARE(env->platform->exitStatuses, QList<int>{0});
    QVERIFY(env->dialogs.boxes.isEmpty());
    QCOMPARE(env->platform->starts.size(), 1);
    QCOMPARE(env->platform->starts.first().program, QCoreApplication::applicationDirPath() + "/VersionProbe");
    const QStringList expected{"影务通", "2.0.1", "2026-12-01 10:00:00", "影务通 2.0.1.exe",
                               data.value("path").toString(), QDir::currentPath() + "/影务通 2.0.1.exe", "1048576"};
    QCOMPARE(env->platform->starts.first().arguments, expected);
}

void TestWebLogin::labelAppearsAfterTenPercent()
{
    env->service->script(kPageRoute, pageTitled("影务通登录").delayed(300));
    WebLogin window;
    window.show();
    auto* label = window.findChild<QLabel*>("label");
    QWebView* view = webView(window);
    QTRY_COMPARE(env->service->count(kPageRoute), 1);
    QVERIFY(label->isHidden());
    emit view->loadProgress(10);
    QVERIFY(label->isHidden());
    emit view->loadProgress(11);
    QVERIFY(!label->isHidden());
}

void TestWebLogin::rightClickRefreshesThePage()
{
    WebLogin window;
    window.show();
    QTRY_COMPARE(webView(window)->title(), QString("影务通登录"));
    QStringList menuTexts;
    QTimer::singleShot(50, [&menuTexts] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            menuTexts << action->text();
        menu->setActiveAction(menu->actions().first());
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(window.findChild<QLabel*>("label_2"), Qt::RightButton, Qt::NoModifier, QPoint(600, 300));
    QCOMPARE(menuTexts, QStringList{"刷新"});
    QTRY_COMPARE(env->service->count(kPageRoute), 2);
    QVERIFY(window.isVisible());
}

void TestWebLogin::leftDragMovesTheWindow()
{
    WebLogin window;
    window.move(100, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();
    QWidget* cover = window.findChild<QLabel*>("label_2");
    const QPoint grip(600, 300);
    leftDrag(cover, grip, {30, 20});
    QTRY_COMPARE(window.pos(), start + QPoint(30, 20));
    sendMouse(cover, grip, QEvent::MouseMove, {80, 80}, Qt::NoButton, Qt::NoButton);
    QTest::qWait(20);
    QCOMPARE(window.pos(), start + QPoint(30, 20));
}

void TestWebLogin::closeButtonClosesWhileThePageLoads()
{
    env->service->script(kPageRoute, pageTitled("影务通登录").delayed(300));
    {
        WebLogin window;
        window.show();
        QTRY_COMPARE(env->service->count(kPageRoute), 1);
        QTest::mouseClick(window.findChild<QPushButton*>("pushButton"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }
    // The page still loading when the window went must not reach it.
    QTest::qWait(400);
    QVERIFY(launchers().isEmpty());
    QVERIFY(env->dialogs.boxes.isEmpty());
}

QTEST_MAIN(TestWebLogin)
#include "tst_weblogin.moc"
