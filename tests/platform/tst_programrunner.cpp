#include "ProgramRunner.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TstProgramRunner : public QObject
{
    Q_OBJECT

private:
    QString script(const QByteArray& body, bool executable = true)
    {
        const QString program = m_dir.filePath(QStringLiteral("helper%1").arg(++m_scripts));
        writeFile(program, "#!/bin/sh\n" + body);
        if (executable)
            QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        return program;
    }

    QTemporaryDir m_dir;
    int m_scripts = 0;

private slots:
    void outcomes_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("exited");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("standardError");
        QTest::newRow("success") << QByteArray("exit 0\n") << QStringList() << true << 0 << QByteArray();
        QTest::newRow("exit code and message")
            << QByteArray("echo 'transformation is not perfect' >&2\nexit 1\n") << QStringList() << true << 1
            << QByteArray("transformation is not perfect\n");
        QTest::newRow("arguments as given")
            << QByteArray("for a in \"$@\"; do echo \"[$a]\" >&2; done\n")
            << QStringList{"-rotate", "90", "/照片/A 1.jpg", ""} << true << 0
            << "[-rotate]\n[90]\n[" + QFile::encodeName(QStringLiteral("/照片/A 1.jpg")) + "]\n[]\n";
        QTest::newRow("no standard input") << QByteArray("cat\n") << QStringList() << true << 0 << QByteArray();
        QTest::newRow("standard output dropped")
            << QByteArray("echo out\necho err >&2\n") << QStringList() << true << 0 << QByteArray("err\n");
        QTest::newRow("more than a pipe holds")
            << QByteArray("head -c 200000 /dev/zero | tr '\\000' x >&2\n") << QStringList() << true << 0
            << QByteArray(200000, 'x');
        QTest::newRow("killed") << QByteArray("kill -9 $$\n") << QStringList() << false << -1 << QByteArray();
    }

    void outcomes()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, arguments);
        QFETCH(bool, exited);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, standardError);
        const ProgramRunner::Result result = ProgramRunner::run(script(body), arguments, 5000, 60000);
        QVERIFY(result.started);
        QCOMPARE(result.exited, exited);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.standardError, standardError);
    }

    void cannotStart_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << false;
        QTest::newRow("not executable") << true;
    }

    void cannotStart()
    {
        QFETCH(bool, exists);
        const QString program = exists ? script("exit 0\n", false) : m_dir.filePath(QStringLiteral("none"));
        QVERIFY(!ProgramRunner::run(program, {}, 5000, 60000).started);
    }

    // A program that does not end in its time is ended; what it wrote so far
    // is kept.
    void overrunIsKilled()
    {
        const ProgramRunner::Result result =
            ProgramRunner::run(script("echo started >&2\nexec sleep 30\n"), {}, 5000, 300);
        QVERIFY(result.started);
        QVERIFY(!result.exited);
        QCOMPARE(result.standardError, QByteArray("started\n"));
    }
};

QTEST_GUILESS_MAIN(TstProgramRunner)
#include "tst_programrunner.moc"
