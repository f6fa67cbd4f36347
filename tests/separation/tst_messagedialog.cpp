#include "core/Globals.h"
#include "separation/MessageDialog.h"
#include "StudioService.h"
#include "support/TestSupport.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(Response)

namespace {

const QByteArray kHead = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8&shopid=12&superid=3&phone=";
const QString kPhone = QStringLiteral("13800138000"); // the demo staff phone
const QString kCode = QStringLiteral("246810");       // the code the stand-in accepts for it

} // namespace

// The phone-code check before a deletion, against the stand-in service.
class TestMessageDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void form();
    void emptyStaffPhoneSendsNothing();
    void wrongPhoneSendsNothing_data();
    void wrongPhoneSendsNothing();
    void codeRequestCountsDown();
    void refusedCodeRequest_data();
    void refusedCodeRequest();
    void codeCheck();
    void refusedCodeCheck_data();
    void refusedCodeCheck();

private:
    QPushButton* button(const char* name) const { return dialog->findChild<QPushButton*>(name); }
    void typeCode(const QString& code) { dialog->findChild<QTextEdit*>("textEdit_code")->setPlainText(code); }
    void open();

    std::unique_ptr<ServiceEnvironment> env;
    QPointer<MessageDialog> dialog;
};

void TestMessageDialog::init()
{
    env.reset(new ServiceEnvironment);
    QVERIFY(env->listening);
    g_shopId = "12";
    g_superId = "3";
    g_staffPhone = kPhone;
}

void TestMessageDialog::cleanup()
{
    delete dialog;
    g_staffPhone.clear();
    env.reset();
}

void TestMessageDialog::open()
{
    dialog = new MessageDialog(nullptr);
    dialog->show();
}

void TestMessageDialog::form()
{
    g_staffPhone = "13900000000";
    open();
    QCOMPARE(dialog->objectName(), QString("MessageDialog"));
    QCOMPARE(dialog->windowTitle(), QString("手机号验证"));
    QCOMPARE(dialog->size(), QSize(446, 250));
    // Qt adds the title and system-menu hints to the close button alone.
    QDialog reference;
    reference.setWindowFlags(Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint);
    QCOMPARE(dialog->windowFlags(), reference.windowFlags());
    QVERIFY(!(dialog->windowFlags() & Qt::WindowContextHelpButtonHint));
    auto* phone = dialog->findChild<QTextEdit*>("textEdit_phone");
    QCOMPARE(phone->toPlainText(), QString("13900000000"));
    QVERIFY(!phone->isEnabled());
    QCOMPARE(button("pushButton_code")->text(), QString("获取验证码"));
    QCOMPARE(button("pushButton_ok")->text(), QString("确认"));
    QCOMPARE(button("pushButton_cancel")->text(), QString("取消"));
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
}

void TestMessageDialog::emptyStaffPhoneSendsNothing()
{
    g_staffPhone.clear();
    open();
    QSignalSpy accepted(dialog.data(), &MessageDialog::deleteorderfile);
    typeCode(kCode);
    QTest::mouseClick(button("pushButton_code"), Qt::LeftButton);
    QTest::mouseClick(button("pushButton_ok"), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(env->dialogs.texts(), QStringList({"请在后台-员工设置输入手机号", "请在后台-员工设置输入手机号"}));
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!env->dialogs.boxes.first().hadParent);
    QVERIFY(env->service->requests().isEmpty());
    QCOMPARE(accepted.count(), 0);

    QTest::mouseClick(button("pushButton_cancel"), Qt::LeftButton);
    QTRY_VERIFY(!dialog);
}

void TestMessageDialog::wrongPhoneSendsNothing_data()
{
    QTest::addColumn<QString>("phone");
    QTest::newRow("10 digits") << "1380013800";
    QTest::newRow("12 digits") << "138001380001";
    QTest::newRow("a letter") << "1380013800a";
    QTest::newRow("a wide digit") << "1380013800１";
    QTest::newRow("a blank") << "1380013800 ";
}

void TestMessageDialog::wrongPhoneSendsNothing()
{
    QFETCH(QString, phone);
    g_staffPhone = phone;
    open();
    QTest::mouseClick(button("pushButton_code"), Qt::LeftButton);
    QTest::qWait(50);
    QCOMPARE(env->dialogs.texts(), QStringList{"请输入正确的手机号"});
    QVERIFY(env->service->requests().isEmpty());
}

void TestMessageDialog::codeRequestCountsDown()
{
    open();
    auto* code = button("pushButton_code");
    // A second press while the request is on its way asks for no second code.
    QTest::mouseClick(code, Qt::LeftButton);
    QTest::mouseClick(code, Qt::LeftButton);
    QTRY_COMPARE(code->text(), QString("60s"));
    QCOMPARE(env->service->count("OrderPhoto/send_code"), 1);
    QCOMPARE(env->service->last("OrderPhoto/send_code").body, kHead + kPhone.toUtf8());
    QVERIFY(env->dialogs.boxes.isEmpty());

    QStringList shown;
    for (int tick = 1; tick <= 60; ++tick) {
        QMetaObject::invokeMethod(dialog, "timeoutslot");
        shown << code->text();
        if (tick == 30) {
            QTest::mouseClick(code, Qt::LeftButton);
            QTest::qWait(50);
            QCOMPARE(env->service->count("OrderPhoto/send_code"), 1);
        }
    }
    QCOMPARE(shown.first(), QString("59s"));
    QCOMPARE(shown.at(58), QString("1s"));
    QCOMPARE(shown.last(), QString("获取验证码"));

    QTest::mouseClick(code, Qt::LeftButton);
    QTRY_COMPARE(code->text(), QString("60s"));
    QCOMPARE(env->service->count("OrderPhoto/send_code"), 2);
    QMetaObject::invokeMethod(dialog, "timeoutslot");
    QCOMPARE(code->text(), QString("59s"));
}

void TestMessageDialog::refusedCodeRequest_data()
{
    QTest::addColumn<Response>("reply");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("refused") << Response::json({{"code", "0"}, {"message", "发送失败"}})
                             << QStringList{"验证码获取错误0"};
    QTest::newRow("numeric code") << Response::json({{"code", 1}}) << QStringList{"验证码获取错误"};
    QTest::newRow("server error") << Response::httpError(500) << QStringList{"网络请求错误\n500"};
    QTest::newRow("not json") << Response::raw("<html>") << QStringList{};
}

void TestMessageDialog::refusedCodeRequest()
{
    QFETCH(Response, reply);
    QFETCH(QStringList, texts);
    env->service->script("OrderPhoto/send_code", reply);
    open();
    QTest::mouseClick(button("pushButton_code"), Qt::LeftButton);
    QTRY_COMPARE(env->service->count("OrderPhoto/send_code"), 1);
    QTest::qWait(100);
    QCOMPARE(env->dialogs.texts(), texts);
    QCOMPARE(button("pushButton_code")->text(), QString("获取验证码"));

    // Nothing counts down, so the next press asks again.
    env->service->clearScripts();
    QTest::mouseClick(button("pushButton_code"), Qt::LeftButton);
    QTRY_COMPARE(button("pushButton_code")->text(), QString("60s"));
}

void TestMessageDialog::codeCheck()
{
    open();
    QSignalSpy accepted(dialog.data(), &MessageDialog::deleteorderfile);
    QTest::mouseClick(button("pushButton_ok"), Qt::LeftButton);
    QCOMPARE(env->dialogs.texts(), QStringList{"请输入验证码"});

    // The phone sent is the one on record, whatever the box shows; the code
    // goes as typed, without an earlier request.
    dialog->findChild<QTextEdit*>("textEdit_phone")->setPlainText("13900000000");
    typeCode(kCode);
    QTest::mouseClick(button("pushButton_ok"), Qt::LeftButton);
    QTest::mouseClick(button("pushButton_ok"), Qt::LeftButton);
    QTRY_VERIFY(!dialog);
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(env->service->count("OrderPhoto/send_code"), 0);
    QCOMPARE(env->service->count("OrderPhoto/send_code_post"), 1);
    QCOMPARE(env->service->last("OrderPhoto/send_code_post").body, kHead + kPhone.toUtf8() + "&code=" + kCode.toUtf8());
    QCOMPARE(env->dialogs.texts(), QStringList{"请输入验证码"});
}

void TestMessageDialog::refusedCodeCheck_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Response>("reply");
    QTest::addColumn<QByteArray>("sentCode");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("wrong code") << "135791" << Response::json({{"code", "0"}}) << QByteArray("135791")
                                << QStringList{"请输入正确验证码0"};
    QTest::newRow("code that would add a pair") << "246810&phone=1" << Response::json({{"code", "2"}})
                                                << QByteArray("246810%26phone%3D1")
                                                << QStringList{"请输入正确验证码2"};
    QTest::newRow("server error") << kCode << Response::httpError(500) << kCode.toUtf8()
                                  << QStringList{"网络请求错误\n500"};
    QTest::newRow("not json") << kCode << Response::raw("[1]") << kCode.toUtf8() << QStringList{};
}

void TestMessageDialog::refusedCodeCheck()
{
    QFETCH(QString, typed);
    QFETCH(Response, reply);
    QFETCH(QByteArray, sentCode);
    QFETCH(QStringList, texts);
    env->service->script("OrderPhoto/send_code_post", reply);
    open();
    QSignalSpy accepted(dialog.data(), &MessageDialog::deleteorderfile);
    typeCode(typed);
    QTest::mouseClick(button("pushButton_ok"), Qt::LeftButton);
    QTRY_COMPARE(env->service->count("OrderPhoto/send_code_post"), 1);
    QTest::qWait(100);
    QCOMPARE(env->service->last("OrderPhoto/send_code_post").body, kHead + kPhone.toUtf8() + "&code=" + sentCode);
    QCOMPARE(env->dialogs.texts(), texts);
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(accepted.count(), 0);

    // Another try is sent.
    QTest::mouseClick(button("pushButton_ok"), Qt::LeftButton);
    QTRY_COMPARE(env->service->count("OrderPhoto/send_code_post"), 2);
}

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"
