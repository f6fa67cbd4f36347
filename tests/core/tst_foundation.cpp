#include "core/FormBody.h"
#include "core/Globals.h"

#include <QtTest>

// Program constants, the file-name sanitiser and the form-body builder.
class TestFoundation : public QObject
{
    Q_OBJECT
private slots:
    void endpointsAreBuiltFromTheBaseUrl();
    void sanitizeFileName_data();
    void sanitizeFileName();
    void formBodyKeepsOrdinaryValues();
    void formBodyEscapesOnlyWhatSplitsPairs();
    void maskedHidesSecrets();
};

void TestFoundation::endpointsAreBuiltFromTheBaseUrl()
{
    QCOMPARE(BASE_URL, QStringLiteral(STUDIO_BASE_URL));
    QCOMPARE(URL_PUBLIC_SWITCH_SHOP, BASE_URL + "/index.php?g=QbtplusIma&m=public&a=switch_shop");
    QCOMPARE(URL_PUBLIC_DOLOGIN, BASE_URL + "/index.php?g=QbtplusIma&m=public&a=dologin");
    QCOMPARE(URL_ORDERPHOTO_ORDER_ISROLE12FINISH, BASE_URL + "/index.php?g=QbtplusIma&m=OrderPhoto&a=order_isrole12finish");
    QCOMPARE(URL_ORDER_UPDATEPHOTODATE, BASE_URL + "/index.php?g=QbtplusIma&m=order&a=updatephotodate");
    QCOMPARE(URL_VERSION_CHECK, BASE_URL + "/index.php?g=Publicapi&m=Version&a=check_update");
    QCOMPARE(ACCESS_TOKEN, QStringLiteral("5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8"));
    QCOMPARE(APP_VERSION, QStringLiteral("1.7.0"));
}

void TestFoundation::sanitizeFileName_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("forbidden characters") << "a<b>c:d\"e/f\\g|h?i*j" << "abcdefghij";
    QTest::newRow("control characters") << QString("a\tb\nc") + QChar(0x01) + QChar(0x1F) + "d" << "abcd";
    QTest::newRow("nul") << QString("x") + QChar(0) + "y" << "xy";
    QTest::newRow("kept characters") << QString("张三 #1 & 李四") + QChar(0x7F) << QString("张三 #1 & 李四") + QChar(0x7F);
    QTest::newRow("blanks and trailing dots") << "  a..  " << "a";
    QTest::newRow("blank uncovered by a dot") << "a ." << "a";
    QTest::newRow("dots and blanks alternate") << "b . . " << "b";
    QTest::newRow("only dots") << "..." << "";
    QTest::newRow("inner dots stay") << "a.b" << "a.b";
    QTest::newRow("customer name with colon") << "王五:?*" << "王五";
}

void TestFoundation::sanitizeFileName()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(::sanitizeFileName(input), expected);
}

void TestFoundation::formBodyKeepsOrdinaryValues()
{
    const QByteArray body = FormBody()
                                .add("username", "张三 zhang")
                                .add("password", "pass_word-1.@!")
                                .add("empty", "")
                                .add("path", "D:/照片/2026-12/")
                                .bytes();
    QCOMPARE(body, QString("username=张三 zhang&password=pass_word-1.@!&empty=&path=D:/照片/2026-12/").toUtf8());
}

void TestFoundation::formBodyEscapesOnlyWhatSplitsPairs()
{
    QCOMPARE(FormBody().add("a", "x&y=z+1#2%3").bytes(), QByteArray("a=x%26y%3Dz%2B1%232%253"));
    QCOMPARE(FormBody().add("a", QString("line\nnext\t")).bytes(), QByteArray("a=line%0Anext%09"));
    QCOMPARE(FormBody().add("a", "1").addEncoded("p", "D%3A%2F").bytes(), QByteArray("a=1&p=D%3A%2F"));
}

void TestFoundation::maskedHidesSecrets()
{
    QCOMPARE(FormBody::masked("username=a&password=secret&token=abc&version=1"),
             QByteArray("username=a&password=***&token=***&version=1"));
}

QTEST_GUILESS_MAIN(TestFoundation)
#include "tst_foundation.moc"
