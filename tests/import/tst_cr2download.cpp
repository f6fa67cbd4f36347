#include "import/cr2downloadrunnable.h"
#include "import/cr2downloadwindow.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

// Stands in for the download window.
class DownloadReceiver : public QObject
{
    Q_OBJECT
public:
    QList<QPair<int, int>> progress;
    QList<QPair<bool, QString>> finished;

public slots:
    void onDownloadProcess(int max, int value) { progress << qMakePair(max, value); }
    void onDownloadFinish(bool ok, QString tip) { finished << qMakePair(ok, tip); }
};

namespace {

// A RAW-like file whose bytes carry an Exif date.
QByteArray rawWithTime(const QString& time)
{
    return QByteArray("II*\0RAW ", 8) + ("20" + time).toLatin1() + QByteArray(1, '\0') + QByteArray(64, 'r');
}

} // namespace

class TstCR2Download : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString path(const QString& name) const { return dir->filePath(name); }

    void runJob(const QString& imageTimes, DownloadReceiver* receiver)
    {
        CR2DownloadRunnable job(receiver, path("raw"), path("local"), imageTimes);
        job.run();
        QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
        dir.reset(new QTemporaryDir);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("two entries") << "A-001>17:05:04 10:21:33|A-002>17:05:04 10:21:40|" << QStringList{"A-001", "A-002"};
        QTest::newRow("two > or none") << "A>B>C|D|E>F|" << QStringList{"E"};
        QTest::newRow("climbing name") << "../x>17:05:04 10:21:33|a/b>t|ok>t|" << QStringList{"ok"};
    }

    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        CR2DownloadRunnable job(nullptr, QString(), QString(), text);
        QStringList found;
        for (const ImageTime& entry : job.entries())
            found << entry.fileName;
        QCOMPARE(found, names);
    }

    void flatFolderIsCopiedAsItIs()
    {
        writeFile(path("raw/IMG_1.CR2"), rawWithTime("17:05:04 10:21:33"));
        writeFile(path("raw/IMG_2.CR2"), rawWithTime("17:05:04 10:21:40"));
        DownloadReceiver receiver;

        runJob("A-001>17:05:04 10:21:33|", &receiver);

        QCOMPARE(QDir(path("local")).entryList(QDir::Files), (QStringList{"IMG_1.CR2", "IMG_2.CR2"}));
        QVERIFY(QFileInfo::exists(path("raw/IMG_1.CR2")));
        QCOMPARE(receiver.progress, (QList<QPair<int, int>>{{4, 3}, {4, 4}}));
        QCOMPARE(receiver.finished, (QList<QPair<bool, QString>>{{true, QString("下载完毕！\n\n")}}));
    }

    // The sub-folder's RAW files take the names of the photos shot in the
    // same second; two of one second stay apart; the folder goes once empty.
    void subFolderFilesTakePhotoNames()
    {
        writeFile(path("raw/DCIM/IMG_1.Cr2"), rawWithTime("17:05:04 10:21:33"));
        writeFile(path("raw/DCIM/IMG_2.CR2"), rawWithTime("17:05:04 10:21:33"));
        writeFile(path("raw/DCIM/IMG_3.CR2"), rawWithTime("17:05:04 10:21:34"));
        writeFile(path("raw/DCIM/IMG_4.CR2"), "no time at all");
        DownloadReceiver receiver;

        runJob("A-001>17:05:04 10:21:33|A-002>17:05:04 10:21:34|../x>17:05:04 10:21:34|", &receiver);

        QCOMPARE(QDir(path("local")).entryList(QDir::Files),
                 (QStringList{"A-001.Cr2", "A-002.CR2", "IMG_2.CR2", "IMG_4.CR2"}));
        QVERIFY(!QFileInfo::exists(path("raw/DCIM")));
        QCOMPARE(receiver.finished.size(), 1);
        QCOMPARE(receiver.finished.first().second, QString("下载完毕！\n\n"));
    }

    void failedCopyKeepsTheFolder()
    {
        writeFile(path("raw/DCIM/IMG_1.CR2"), rawWithTime("17:05:04 10:21:33"));
        writeFile(path("raw/DCIM/IMG_2.CR2"), rawWithTime("17:05:04 10:21:40"));
        QDir().mkpath(path("local/B-002.CR2")); // a folder where a copy should go
        DownloadReceiver receiver;

        runJob("B-001>17:05:04 10:21:33|B-002>17:05:04 10:21:40|", &receiver);

        QVERIFY(QFileInfo::exists(path("local/B-001.CR2")));
        QVERIFY(!QFileInfo::exists(path("raw/DCIM/IMG_1.CR2")));
        QVERIFY(QFileInfo::exists(path("raw/DCIM/IMG_2.CR2")));
        const QString message = receiver.finished.first().second;
        QVERIFY(message.contains("拷贝原图照片未成功，照片名："));
        QVERIFY(message.contains("原图目录未删除，请检查后手动处理。路径为："));
    }

    void emptyRawFolder()
    {
        QDir().mkpath(path("raw"));
        DownloadReceiver receiver;
        runJob(QString(), &receiver);
        QCOMPARE(receiver.finished, (QList<QPair<bool, QString>>{{false, QString("毛底目录为空")}}));
    }

    // A window closed while the job waits is not called; the copy is made.
    void deletedReceiverGetsNothing()
    {
        writeFile(path("raw/IMG_1.CR2"), rawWithTime("17:05:04 10:21:33"));
        auto* receiver = new DownloadReceiver;
        CR2DownloadRunnable job(receiver, path("raw"), path("local"), QString());
        delete receiver;
        job.run();
        QCoreApplication::processEvents();
        QVERIFY(QFileInfo::exists(path("local/IMG_1.CR2")));
    }

    void windowShowsTheEnd()
    {
        RecordedEnvironment recorded;
        writeFile(path("raw/IMG_1.CR2"), rawWithTime("17:05:04 10:21:33"));
        writeFile(path("order/ImageTime.txt"), "A-001>17:05:04 10:21:33|");
        auto* window = new CR2DownLoadWindow(nullptr);
        window->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<CR2DownLoadWindow> alive(window);
        QCOMPARE(window->windowTitle(), QString("正在下载照片..."));
        QCOMPARE(window->findChild<QProgressBar*>("progressBar")->maximum(), 0);
        window->show();
        window->startDownload(path("order/ImageTime.txt"), path("raw"), path("local"));
        QTRY_VERIFY(!alive);
        QCOMPARE(recorded.dialogs.texts(), QStringList{"下载完毕！\n\n"});
        QVERIFY(QFileInfo::exists(path("local/IMG_1.CR2")));
    }
};

QTEST_MAIN(TstCR2Download)
#include "tst_cr2download.moc"
