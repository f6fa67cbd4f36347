#include "app/WebLogin.h"
#include "ui_WebLogin.h"

#include "app/SelectTool.h"
#include "app/VersionHandOver.h"
#include "core/Dialogs.h"
#include "core/Globals.h"
#include "core/httprequest.h"
#include "core/ServiceCall.h"

#include <QCursor>
#include <QDebug>
#include <QJsonArray>
#include <QMenu>
#include <QMouseEvent>
#include <QWebSettings>

// Resources of a static library are registered by hand.
static void initLoginResources()
{
    Q_INIT_RESOURCE(login);
}

WebLogin::WebLogin(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WebLogin)
{
    static const bool resourcesReady = (initLoginResources(), true);
    Q_UNUSED(resourcesReady);
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    ui->label->hide();

    ui->webView->load(QUrl(loginPageUrl()));
    ui->webView->showMaximized();
    connect(ui->webView, &QWebView::urlChanged, this, &WebLogin::getUrl);
    connect(ui->webView, &QWebView::titleChanged, this, &WebLogin::getTile);
    connect(ui->webView, &QWebView::loadProgress, this, &WebLogin::webloadProgress);

    const QByteArray body = VersionHandOver::checkBody(QStringLiteral("qbtNewStudioAide"),
                                                       INDEX_URL == VersionHandOver::TEST_INDEX_URL_HTTPS);
    HttpRequest* request = HttpRequest::startNetRequest(URL_VERSION_CHECK, body, true);
    connect(request, &HttpRequest::netSuccessInfo, this, &WebLogin::httpVersionProbeJson);
}

WebLogin::~WebLogin()
{
    // The page reports its cancelled load while the children are torn down,
    // when this window is already gone.
    disconnect(ui->webView, nullptr, this, nullptr);
    delete ui;
}

QString WebLogin::loginPageUrl()
{
    return BASE_URL + QStringLiteral("/user/public/yingwu_weixin_loginform/");
}

void WebLogin::getUrl(QUrl url)
{
    qDebug() << "url=" << url;
}

void WebLogin::getTile(QString title)
{
    if (title.isEmpty())
        return;
    qDebug() << "title=" << title;
    // Only a login result is a JSON object with "code"; every other page
    // title (the form itself, an error page) is left alone.
    QJsonObject result;
    if (!ServiceCall::parseObject(title.toUtf8(), &result) || !result.contains(QStringLiteral("code")))
        return;
    const QString code = result.take(QStringLiteral("code")).toString();
    const QString message = result.take(QStringLiteral("message")).toString();
    qDebug() << "code=" << code;
    if (code != QLatin1String("1")) {
        ui->webView->back();
        Dialogs::information(this, QStringLiteral("警告"), message, QMessageBox::Yes);
        return;
    }

    g_userName = result.value(QStringLiteral("USERNAME")).toString();
    g_uid = result.value(QStringLiteral("uid")).toString();
    // Each result carries the whole list; a repeated result must not add it twice.
    shops.clear();
    const QJsonArray shopData = result.take(QStringLiteral("shop_data")).toArray();
    for (const QJsonValue& value : shopData) {
        QJsonObject shop = value.toObject();
        const QString id = shop.take(QStringLiteral("id")).toString();
        shops.append({shop.take(QStringLiteral("name")).toString(), id});
    }

    close();
    auto* launcher = new SelectTool(shops, nullptr);
    launcher->setAttribute(Qt::WA_DeleteOnClose);
    launcher->show();
}

void WebLogin::webloadProgress(int progress)
{
    if (progress > 10)
        ui->label->show();
}

void WebLogin::on_pushButton_clicked()
{
    close();
}

void WebLogin::refreshWeb()
{
    QWebSettings::clearMemoryCaches();
    ui->webView->load(QUrl(loginPageUrl()));
    ui->webView->showMaximized();
}

void WebLogin::httpVersionProbeJson(QJsonObject jsonInfo)
{
    if (jsonInfo.value(QStringLiteral("code")).toString() != QLatin1String("1"))
        return;
    VersionHandOver::startUpdaterAndExit(this, jsonInfo.value(QStringLiteral("data")).toObject());
}

void WebLogin::mousePressEvent(QMouseEvent* event)
{
    if (m_drag.press(event))
        return;
    if (event->button() == Qt::RightButton) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("刷新"), this, &WebLogin::refreshWeb);
        menu.exec(QCursor::pos());
    }
}

void WebLogin::mouseMoveEvent(QMouseEvent* event)
{
    m_drag.move(this, event);
}

void WebLogin::mouseReleaseEvent(QMouseEvent* event)
{
    m_drag.release(event);
}
