#include "app/Login.h"
#include "ui_Login.h"

#include "app/SelectTool.h"
#include "app/VersionHandOver.h"
#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/httprequest.h"
#include "core/ServiceCall.h"
#include "files/SafeFileWriter.h"
#include "Platform.h"

#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkReply>

// Resources of a static library are registered by hand.
static void initLoginResources()
{
    Q_INIT_RESOURCE(login);
}

namespace {
const char* const kProductName = "澜叶软件Orbit-影务通";
const int kCredentialStreamVersion = QDataStream::Qt_4_4;
} // namespace

Login::Login(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::Login)
    , m_manager(nullptr)
{
    static const bool resourcesReady = (initLoginResources(), true);
    Q_UNUSED(resourcesReady);
    ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    ui->okButton->setDefault(true);
    connect(ui->okButton, &QPushButton::clicked, this, &Login::clickLogin);

    m_manager = new QNetworkAccessManager(this);
    connect(m_manager, &QNetworkAccessManager::finished, this, &Login::finishedSlot);

    ui->password->setPlaceholderText(QStringLiteral("密码"));
    ui->lb_version->setText(QString::fromUtf8(kProductName) + APP_VERSION);
    ui->lb_version->setStyleSheet(QStringLiteral("color: white"));
    ui->label_pic->setPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/login/Image/Login/login_bg.png"))));
    ui->label_name->setPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/login/Image/Login/user_icon.png"))));
    ui->label_pw->setPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/login/Image/Login/pass_icon.png"))));
    ui->username->setFocus();

    loadUserInfo();
    ui->lb_version->setText(versionLabel(INDEX_URL));
    startVersionCheck();
}

Login::~Login()
{
    delete ui;
}

QString Login::versionLabel(const QString& indexUrl)
{
    if (indexUrl.contains(QLatin1String("test")))
        return QString::fromUtf8(kProductName) + QStringLiteral(" 测试机") + APP_VERSION;
    return QString::fromUtf8(kProductName) + APP_VERSION;
}

QString Login::credentialFilePath()
{
    return QDir::currentPath() + QStringLiteral("/user_qbt.dat");
}

void Login::loadUserInfo()
{
    QFile file(credentialFilePath());
    if (file.size() == 0 || !file.open(QIODevice::ReadOnly))
        return;
    QDataStream in(&file);
    in.setVersion(kCredentialStreamVersion);
    QString userName;
    QString encodedPassword;
    in >> userName >> encodedPassword;

    ui->checkBox->setChecked(!userName.isEmpty() && !encodedPassword.isEmpty());
    ui->username->setText(userName);
    const QByteArray password = QByteArray::fromBase64(encodedPassword.toLatin1());
    if (!password.isEmpty())
        ui->password->setText(QString::fromUtf8(password.constData()));
}

void Login::saveUserInfo()
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(kCredentialStreamVersion);
    out << ui->username->text();
    // UTF-8 keeps every password intact; ASCII ones give the same bytes as Latin-1.
    if (ui->checkBox->isChecked())
        out << QString::fromLatin1(ui->password->text().toUtf8().toBase64());
    // A failed write keeps the old file rather than leaving half of one.
    SafeFileWriter::writeFile(credentialFilePath(), bytes);
}

void Login::clickLogin()
{
    if (ui->username->text().isEmpty()) {
        Dialogs::information(this, QStringLiteral("警告"), QStringLiteral("未输入用户名"), QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    if (ui->password->text().isEmpty()) {
        Dialogs::information(this, QStringLiteral("警告"), QStringLiteral("未输入密码"), QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    loginPost();
}

void Login::loginPost()
{
    ui->okButton->setEnabled(false);
    setWindowTitle(QStringLiteral("正在登录..."));
    const QByteArray body = FormBody()
                                .add(QStringLiteral("username"), ui->username->text())
                                .add(QStringLiteral("password"), ui->password->text())
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("version"), APP_VERSION)
                                .bytes();
    ServiceCall::postForm(m_manager, URL_PUBLIC_DOLOGIN, body);
}

void Login::backToIdle()
{
    ui->okButton->setEnabled(true);
    setWindowTitle(QStringLiteral("登录"));
}

void Login::finishedSlot(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object)) {
        backToIdle();
        return;
    }
    const QString code = object.take(QStringLiteral("code")).toString();
    const QString message = object.take(QStringLiteral("message")).toString();
    if (code != QLatin1String("1")) {
        Dialogs::information(this, QStringLiteral("警告"), message, QMessageBox::Yes, QMessageBox::Yes);
        ui->password->clear();
        backToIdle();
        return;
    }

    qDebug() << "登录数据" << object;
    qDebug() << "登录数据shopid:" << object.value(QStringLiteral("SHOPID")).toString();
    g_superId = object.value(QStringLiteral("SUPERID")).toString();
    g_eid = object.value(QStringLiteral("EID")).toString();
    g_userName = object.value(QStringLiteral("USERNAME")).toString();
    g_shopId = object.value(QStringLiteral("SHOPID")).toString();
    g_shopName = object.value(QStringLiteral("SHOPNAME")).toString();
    g_uid = object.value(QStringLiteral("UID")).toString();

    const QJsonArray shopData = object.take(QStringLiteral("shop_data")).toArray();
    for (const QJsonValue& value : shopData) {
        const QJsonObject shop = value.toObject();
        const QString id = shop.value(QStringLiteral("id")).toString();
        m_shops.append({shop.value(QStringLiteral("name")).toString(), id});
    }

    saveUserInfo();
    close();
    auto* launcher = new SelectTool(m_shops, nullptr);
    launcher->setAttribute(Qt::WA_DeleteOnClose);
    launcher->show();
}

void Login::on_pushButton_clicked()
{
    close();
}

void Login::startVersionCheck()
{
    const QByteArray body = VersionHandOver::checkBody(QStringLiteral("qbtOrbitStudioAide"),
                                                       INDEX_URL == VersionHandOver::TEST_INDEX_URL_HTTP);
    HttpRequest* request = HttpRequest::startNetRequest(URL_VERSION_CHECK, body, true);
    connect(request, &HttpRequest::netSuccessInfo, this, &Login::httpVersionProbeJson);
}

void Login::httpVersionProbeJson(QJsonObject jsonInfo)
{
    const QString code = jsonInfo.value(QStringLiteral("code")).toString();
    qDebug() << jsonInfo;
    if (code != QLatin1String("1"))
        return;
    const QJsonObject data = jsonInfo.value(QStringLiteral("data")).toObject();
    const auto answer = Dialogs::information(this, QStringLiteral("影务通温馨提示"), QStringLiteral("升级需要关闭程序"),
                         QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel);
    // Either answer ends the program: the announced version replaces this one.
    if (answer == QMessageBox::Yes)
        VersionHandOver::startUpdaterAndExit(this, data);
    else
        Platform::instance().exitProcess(0);
}

void Login::mousePressEvent(QMouseEvent* event)
{
    m_drag.press(event);
}

void Login::mouseMoveEvent(QMouseEvent* event)
{
    m_drag.move(this, event);
}

void Login::mouseReleaseEvent(QMouseEvent* event)
{
    m_drag.release(event);
}
