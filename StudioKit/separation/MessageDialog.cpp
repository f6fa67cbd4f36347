#include "separation/MessageDialog.h"
#include "ui_MessageDialog.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"

#include <QDebug>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace {

constexpr int kCountdownMs = 60000;
constexpr int kTickMs = 1000;

void warn(const QString& text)
{
    Dialogs::information(nullptr, QStringLiteral("警告"), text, QMessageBox::Yes, QMessageBox::Yes);
}

// The pairs both requests start with; the phone is the staff member's on
// record, never what the box shows.
FormBody phoneBody()
{
    FormBody body;
    body.add(QStringLiteral("token"), ACCESS_TOKEN)
        .add(QStringLiteral("shopid"), g_shopId)
        .add(QStringLiteral("superid"), g_superId)
        .add(QStringLiteral("phone"), g_staffPhone);
    return body;
}

// Reads a finished reply; false after the usual network box, or silently for
// a body that is no JSON object.
bool readCode(QNetworkReply* reply, QString* code)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return false;
    qDebug() << "postOrder Json:" << QJsonDocument(object).toJson();
    *code = object.value(QStringLiteral("code")).toString();
    return true;
}

} // namespace

MessageDialog::MessageDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui_MessageDialog), countdown(kCountdownMs), timer(new QTimer(this))
{
    ui->setupUi(this);
    setWindowFlags(Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    ui->textEdit_phone->setPlainText(g_staffPhone);
    ui->textEdit_phone->setEnabled(false);
    setWindowTitle(QStringLiteral("手机号验证"));
    timer->setInterval(kTickMs);
    connect(timer, SIGNAL(timeout()), this, SLOT(timeoutslot()));
}

MessageDialog::~MessageDialog()
{
    delete ui;
}

bool MessageDialog::isAllDigits(QString text)
{
    // Characters outside Latin-1 turn into '?', which is no digit.
    for (const char c : text.toLatin1()) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

void MessageDialog::on_pushButton_code_clicked()
{
    const QString phone = ui->textEdit_phone->toPlainText();
    if (phone.isEmpty()) {
        warn(QStringLiteral("请在后台-员工设置输入手机号"));
        return;
    }
    if (phone.size() != 11 || !isAllDigits(phone)) {
        warn(QStringLiteral("请输入正确的手机号"));
        return;
    }
    // One code at a time: none while a request is pending or the countdown runs.
    if (codeRequestPending || countdown != kCountdownMs)
        return;
    codeRequestPending = true;
    post(URL_ORDERPHOTO_SEND_CODE, phoneBody().bytes(), &MessageDialog::getMessageCodeSlot);
}

void MessageDialog::on_pushButton_ok_clicked()
{
    if (ui->textEdit_phone->toPlainText().isEmpty()) {
        warn(QStringLiteral("请在后台-员工设置输入手机号"));
        return;
    }
    const QString code = ui->textEdit_code->toPlainText();
    if (code.isEmpty()) {
        warn(QStringLiteral("请输入验证码"));
        return;
    }
    if (codeCheckPending)
        return;
    codeCheckPending = true;
    post(URL_ORDERPHOTO_SEND_CODE_POST, phoneBody().add(QStringLiteral("code"), code).bytes(),
         &MessageDialog::sumbitCodeSlot);
}

void MessageDialog::on_pushButton_cancel_clicked()
{
    close();
}

void MessageDialog::timeoutslot()
{
    countdown -= kTickMs;
    if (countdown > 0) {
        showCountdown();
        return;
    }
    timer->stop();
    ui->pushButton_code->setText(QStringLiteral("获取验证码"));
    countdown = kCountdownMs;
}

void MessageDialog::getMessageCodeSlot(QNetworkReply* reply)
{
    codeRequestPending = false;
    QString code;
    if (!readCode(reply, &code))
        return;
    if (code != QLatin1String("1")) {
        warn(QStringLiteral("验证码获取错误") + code);
        return;
    }
    timer->start();
    showCountdown();
}

void MessageDialog::sumbitCodeSlot(QNetworkReply* reply)
{
    codeCheckPending = false;
    QString code;
    if (!readCode(reply, &code))
        return;
    if (code != QLatin1String("1")) {
        warn(QStringLiteral("请输入正确验证码") + code);
        return;
    }
    emit deleteorderfile();
    close();
}

void MessageDialog::post(const QString& url, const QByteArray& body, void (MessageDialog::*replySlot)(QNetworkReply*))
{
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, replySlot);
    ServiceCall::postForm(manager, url, body);
}

void MessageDialog::showCountdown()
{
    ui->pushButton_code->setText(QString::number(countdown / 1000) + QLatin1Char('s'));
}
