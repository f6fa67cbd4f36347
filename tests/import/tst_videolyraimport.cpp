#include "core/CallbackGuard.h"
#include "core/Globals.h"
#include "DemoPhotos.h"
#include "files/FileOperation.h"
#include "import/LyraFileInfo.h"
#include "import/lyraimportthread.h"
#include "support/ImportWorkerFixture.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

#include <memory>

// Stands in for the import dialog: the slots the Lyra copy jobs call by name.
class LyraReceiver : public QObject
{
    Q_OBJECT

public:
    struct Progress {
        int row;
        int currentCount;
        int totalCount;
        QString toDir;
    };
    struct Failure {
        int row;
        QString sourcePath;
        QString reason;
    };

    QList<Progress> progress;
    QList<Failure> failures;
    QStringList messages;
    QList<QThread*> threads;
    // The order of all calls: "p" progress, "f" failure, "m" message.
    QString sequence;

public slots:
    void importCopyLyraProgressSlot(int row, int currentCount, int totalCount, QString toDir)
    {
        progress << Progress{row, currentCount, totalCount, toDir};
        threads << QThread::currentThread();
        sequence += QLatin1Char('p');
    }
    void slt_lyrathreadmsg(QString str)
    {
        messages << str;
        threads << QThread::currentThread();
        sequence += QLatin1Char('m');
    }
    void importCopyLyraFailedSlot(int row, QString sourcePath, QString reason)
    {
        failures << Failure{row, sourcePath, reason};
        threads << QThread::currentThread();
        sequence += QLatin1Char('f');
    }
};

namespace {

const QString kRow = QStringLiteral("row");

QByteArray samplePhoto(int seed)
{
    return DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(40, 30, seed), 1);
}

QStringList sourcesOf(const QList<LyraFileInfo>& list)
{
    QStringList paths;
    for (const LyraFileInfo& info : list)
        paths << info.sourcePath();
    return paths;
}

QStringList targetsOf(const QList<LyraFileInfo>& list)
{
    QStringList paths;
    for (const LyraFileInfo& info : list)
        paths << info.targetPath();
    return paths;
}

} // namespace

class TstVideoLyraImport : public QObject, protected ImportWorkerFixture
{
    Q_OBJECT

private:
    // The Lyra root as the store settings give it: written with backslashes.
    QString lyraRoot() const { return path(QStringLiteral("lyra\\store\\选版服务器")); }

    QString video(const QString& name, const QByteArray& content)
    {
        const QString file = path(QStringLiteral("camera/") + name);
        writeFile(file, content);
        return file;
    }

    // The Lyra order as the dialog starts it: the root made on this thread,
    // then the run.
    std::unique_ptr<ImportOrderThread> prepareLyra(ImportOrderModel* model, const QString& chosen,
                                                   const QString& parent)
    {
        g_lyraPicPath = lyraRoot();
        model->setLyraSourceDir(chosen);
        model->setLyraSourceParent(parent);
        auto worker = std::make_unique<ImportOrderThread>(model, importOrdersPhotoDlg::TypeLyra, nullptr);
        worker->setProperty("row", 2);
        worker->createLyraDir(g_lyraPicPath);
        return worker;
    }

    // Collects the folder on the worker thread and copies the list with one job
    // per file on a pool, the way the import dialog does; returns the list.
    QList<LyraFileInfo> importLyra(ImportOrderThread* worker, LyraReceiver* receiver)
    {
        QList<LyraFileInfo> received;
        QString receivedDir;
        bool arrived = false;
        QThreadPool pool;
        connect(worker, &ImportOrderThread::startImportDirLyraThreadSigl, receiver,
                [&](QList<LyraFileInfo> list, QString toDir) {
                    arrived = true;
                    received = list;
                    receivedDir = toDir;
                    const int row = worker->property("row").toInt();
                    for (int i = 0; i < list.size(); ++i)
                        pool.start(new LyraImportThread(row, i + 1, list.size(), toDir, list.at(i), receiver));
                });
        runToEnd(worker);
        [&] { QVERIFY(arrived); }();
        const int before = receiver->progress.size();
        [&] { QTRY_COMPARE(receiver->progress.size() - before, received.size()); }();
        pool.waitForDone();
        QCoreApplication::processEvents();
        return received;
    }

private slots:
    void init()
    {
        QVERIFY(setUpFolders());
        g_lyraPicPath.clear();
    }

    void cleanup()
    {
        tearDownFolders();
        g_lyraPicPath.clear();
    }

    // --- videos ---

    void videosGoToTheTypeFolder_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("folder");
        QTest::newRow("trial-shoot videos") << int(importOrdersPhotoDlg::TypeTrialVideo) << "试拍视频/";
        QTest::newRow("retouched videos") << int(importOrdersPhotoDlg::TypeRetouchedVideo) << "精修视频/";
    }

    void videosGoToTheTypeFolder()
    {
        QFETCH(int, type);
        QFETCH(QString, folder);
        const QStringList files = {video(QStringLiteral("片头 1.mp4"), "first"), video(QStringLiteral("B.avi"), "second"),
                                   video(QStringLiteral("c.mp4"), "third")};
        auto model = makeModel();
        model->setImageSuffix(2, QStringLiteral("x"));
        auto worker = prepare(model.get(), Type(type), files);
        QSignalSpy progress(worker.get(), &ImportOrderThread::hasImportedImgCount);
        QSignalSpy finished(worker.get(), &ImportOrderThread::hasFinishedImportSigl);
        QSignalSpy imageError(worker.get(), &ImportOrderThread::importImageThreadError);
        QSignalSpy errorMsg(worker.get(), &ImportOrderThread::importErrorMsg);

        runToEnd(worker.get());

        QList<QPair<int, int>> pairs;
        for (const QList<QVariant>& args : progress)
            pairs << qMakePair(args.at(0).toInt(), args.at(1).toInt());
        QCOMPARE(pairs, (QList<QPair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), 3);
        QCOMPARE(imageError.count() + errorMsg.count(), 0);
        // Videos keep their names: the lists of the finish report name what is there.
        QStringList names;
        QStringList paths;
        for (const QString& file : files) {
            names << FileOperation::getFileName(file);
            paths << model->importOrderPath() + folder + FileOperation::getFileName(file);
        }
        QCOMPARE(names.join(QLatin1Char('|')), QStringLiteral("片头 1.mp4|B.avi|c.mp4"));
        for (int i = 0; i < files.size(); ++i)
            QCOMPARE(readFile(paths.at(i)), readFile(files.at(i)));
        QCOMPARE(QDir(orderPath() + folder).entryList(QDir::Files, QDir::Name),
                 (QStringList{"B.avi", "c.mp4", "片头 1.mp4"}));
    }

    // A video already in the folder is left as it is and counts as present.
    void sameVideosTwice()
    {
        const QStringList files = {video(QStringLiteral("a.mp4"), "new a"), video(QStringLiteral("b.mp4"), "new b")};
        auto model = makeModel();
        runToEnd(prepare(model.get(), importOrdersPhotoDlg::TypeTrialVideo, files).get());
        writeFile(orderPath() + QStringLiteral("试拍视频/a.mp4"), "kept");

        auto again = prepare(model.get(), importOrdersPhotoDlg::TypeTrialVideo, files);
        QSignalSpy progress(again.get(), &ImportOrderThread::hasImportedImgCount);
        QSignalSpy finished(again.get(), &ImportOrderThread::hasFinishedImportSigl);
        QSignalSpy imageError(again.get(), &ImportOrderThread::importImageThreadError);
        runToEnd(again.get());

        QCOMPARE(progress.count(), 2);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(imageError.count(), 0);
        QCOMPARE(readFile(orderPath() + QStringLiteral("试拍视频/a.mp4")), QByteArray("kept"));
        QCOMPARE(QDir(orderPath() + QStringLiteral("试拍视频")).entryList(QDir::Files, QDir::Name),
                 (QStringList{"a.mp4", "b.mp4"}));
    }

    void videoFailuresStopTheOrder_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<bool>("blockFolder");
        QTest::addColumn<int>("errorCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("source gone") << "{dir}/camera/gone.mp4" << false << int(ImportOrderThread::kWriteFailedError)
                                     << "";
        QTest::newRow("video folder blocked by a file")
            << "{dir}/camera/b.mp4" << true << int(ImportOrderThread::kWriteFailedError) << "";
        QTest::newRow("empty source") << "" << false << 0 << "订单[LY100-1]视频路径或源文件为空，已中断，可重试";
    }

    void videoFailuresStopTheOrder()
    {
        QFETCH(QString, second);
        QFETCH(bool, blockFolder);
        QFETCH(int, errorCode);
        QFETCH(QString, message);
        second.replace(QLatin1String("{dir}"), m_dir->path());
        video(QStringLiteral("b.mp4"), "b");
        const QStringList files = {video(QStringLiteral("a.mp4"), "a"), second, video(QStringLiteral("c.mp4"), "c")};
        auto model = makeModel();
        auto worker = prepare(model.get(), importOrdersPhotoDlg::TypeRetouchedVideo, files);
        if (blockFolder) {
            QVERIFY(QDir(orderPath() + QStringLiteral("精修视频")).removeRecursively());
            writeFile(orderPath() + QStringLiteral("精修视频"), "in the way");
        }
        QSignalSpy progress(worker.get(), &ImportOrderThread::hasImportedImgCount);
        QSignalSpy finished(worker.get(), &ImportOrderThread::hasFinishedImportSigl);
        QSignalSpy imageError(worker.get(), &ImportOrderThread::importImageThreadError);
        QSignalSpy errorMsg(worker.get(), &ImportOrderThread::importErrorMsg);

        runToEnd(worker.get());

        QCOMPARE(finished.count(), 0);
        QCOMPARE(imageError.count(), errorCode ? 1 : 0);
        if (errorCode)
            QCOMPARE(imageError.at(0).at(0).value<uchar>(), uchar(errorCode));
        QCOMPARE(errorMsg.count(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(errorMsg.at(0).at(0).toString(), message);
        // The first video went through; nothing after the failure was tried.
        QCOMPARE(progress.count(), blockFolder ? 0 : 1);
        QVERIFY(!QFileInfo::exists(orderPath() + QStringLiteral("精修视频/c.mp4")));
    }

    // --- Lyra folders: collecting ---

    void lyraTreeIsCopied()
    {
        const QString chosen = path(QStringLiteral("shots/Lyra"));
        writeFile(chosen + QStringLiteral("/b.jpg"), samplePhoto(1));
        writeFile(chosen + QStringLiteral("/A.jpg"), samplePhoto(2));
        writeFile(chosen + QStringLiteral("/.thumbs.db"), "hidden by name");
        writeFile(chosen + QStringLiteral("/listed.jpg"), "hidden by the list");
        writeFile(chosen + QStringLiteral("/.hidden"), "listed.jpg\n");
        writeFile(chosen + QStringLiteral("/.cache/x.jpg"), "inside a hidden folder");
        writeFile(chosen + QStringLiteral("/sub/c.jpg"), samplePhoto(3));
        writeFile(chosen + QStringLiteral("/sub/deeper/d.jpg"), samplePhoto(4));
        QVERIFY(QDir().mkpath(chosen + QStringLiteral("/empty/inner")));
        writeFile(chosen + QStringLiteral("/Z.jpg"), samplePhoto(5));
        auto model = makeModel();
        auto worker = prepareLyra(model.get(), chosen, path(QStringLiteral("shots")));
        QSignalSpy lyraError(worker.get(), &ImportOrderThread::importDirLyraThreadError);
        QSignalSpy errorMsg(worker.get(), &ImportOrderThread::importErrorMsg);
        QSignalSpy listSignal(worker.get(), &ImportOrderThread::startImportDirLyraThreadSigl);
        LyraReceiver receiver;

        const QList<LyraFileInfo> list = importLyra(worker.get(), &receiver);

        QCOMPARE(lyraError.count() + errorMsg.count(), 0);
        const QString toDir = lyraRoot() + QStringLiteral("\\Lyra");
        QCOMPARE(listSignal.at(0).at(1).toString(), toDir);
        // Depth first, each folder's entries by name whatever their case.
        const QStringList names = {"/A.jpg", "/b.jpg", "/sub/c.jpg", "/sub/deeper/d.jpg", "/Z.jpg"};
        QStringList sources;
        QStringList targets;
        for (const QString& name : names) {
            sources << chosen + name;
            targets << lyraRoot() + QStringLiteral("/Lyra") + name;
        }
        QCOMPARE(sourcesOf(list), sources);
        QCOMPARE(targetsOf(list), targets);

        const QString target = path(QStringLiteral("lyra/store/选版服务器/Lyra"));
        QCOMPARE(entries(target), (QStringList{"A.jpg", "Z.jpg", "b.jpg", "empty/", "empty/inner/", "sub/",
                                               "sub/c.jpg", "sub/deeper/", "sub/deeper/d.jpg"}));
        for (const QString& name : names)
            QCOMPARE(readFile(target + name), readFile(chosen + name));

        // Every job called back on the receiver's thread: its message, then its
        // progress; each position in the list once.
        QCOMPARE(receiver.failures.size(), 0);
        QCOMPARE(receiver.messages.size(), 5);
        QList<int> positions;
        for (const LyraReceiver::Progress& p : receiver.progress) {
            QCOMPARE(p.row, 2);
            QCOMPARE(p.totalCount, 5);
            QCOMPARE(p.toDir, toDir);
            positions << p.currentCount;
        }
        std::sort(positions.begin(), positions.end());
        QCOMPARE(positions, (QList<int>{1, 2, 3, 4, 5}));
        for (QThread* thread : receiver.threads)
            QCOMPARE(thread, QThread::currentThread());
    }

    void linkedFoldersAreWalkedWithoutCycles()
    {
        const QString chosen = path(QStringLiteral("shots/Lyra"));
        writeFile(chosen + QStringLiteral("/a.jpg"), samplePhoto(1));
        writeFile(path(QStringLiteral("elsewhere/x.jpg")), samplePhoto(2));
        QVERIFY(QFile::link(path(QStringLiteral("elsewhere")), chosen + QStringLiteral("/链接")));
        QVERIFY(QFile::link(chosen, chosen + QStringLiteral("/回环")));
        auto model = makeModel();
        auto worker = prepareLyra(model.get(), chosen, path(QStringLiteral("shots")));
        LyraReceiver receiver;

        const QList<LyraFileInfo> list = importLyra(worker.get(), &receiver);

        QCOMPARE(sourcesOf(list), (QStringList{chosen + "/a.jpg", chosen + "/链接/x.jpg"}));
        QCOMPARE(receiver.failures.size(), 0);
        const QString target = path(QStringLiteral("lyra/store/选版服务器/Lyra"));
        QCOMPARE(entries(target), (QStringList{"a.jpg", "链接/", "链接/x.jpg"}));
        QCOMPARE(readFile(target + "/链接/x.jpg"), readFile(path(QStringLiteral("elsewhere/x.jpg"))));
    }

    void lyraTargetsSwapOnlyTheLeadingParent_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QString>("relativeTo");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("toDir");
        QTest::addColumn<QString>("target");
        // A parent that comes again deeper down: only the first is swapped.
        QTest::newRow("parent name repeated below") << "shots/Lyra" << "shots" << "{dir}"
                                                    << "shots/Lyra/shots/x.jpg" << "{root}\\Lyra"
                                                    << "{root}/Lyra/shots/x.jpg";
        // A parent that still ends in its separator, as a drive or the file
        // system root does before it is trimmed.
        QTest::newRow("parent ending in a separator") << "{dir}/shots/Lyra" << "{dir}/shots/" << ""
                                                      << "{dir}/shots/Lyra/x.jpg" << "{root}\\Lyra"
                                                      << "{root}/Lyra/x.jpg";
        // The chosen folder's last part is empty: its files go right into the root.
        QTest::newRow("chosen folder ending in a slash") << "{dir}/shots/Lyra/" << "{dir}/shots/Lyra" << ""
                                                         << "{dir}/shots/Lyra/x.jpg" << "{root}\\"
                                                         << "{root}/x.jpg";
    }

    void lyraTargetsSwapOnlyTheLeadingParent()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, parent);
        QFETCH(QString, relativeTo);
        QFETCH(QString, file);
        QFETCH(QString, toDir);
        QFETCH(QString, target);
        for (QString* text : {&chosen, &parent, &relativeTo, &file, &toDir, &target}) {
            text->replace(QLatin1String("{dir}"), m_dir->path());
            text->replace(QLatin1String("{root}"), lyraRoot());
        }
        if (!relativeTo.isEmpty())
            QDir::setCurrent(relativeTo);
        writeFile(file, "x");
        auto model = makeModel();
        auto worker = prepareLyra(model.get(), chosen, parent);
        QSignalSpy listSignal(worker.get(), &ImportOrderThread::startImportDirLyraThreadSigl);

        runToEnd(worker.get());

        QCOMPARE(listSignal.count(), 1);
        const auto list = listSignal.at(0).at(0).value<QList<LyraFileInfo>>();
        QCOMPARE(sourcesOf(list), QStringList{file});
        QCOMPARE(targetsOf(list), QStringList{target});
        QCOMPARE(listSignal.at(0).at(1).toString(), toDir);
    }

    // Nothing to copy still completes the order, as 0 of 0.
    void lyraFolderWithoutFiles()
    {
        const QString chosen = path(QStringLiteral("shots/Lyra"));
        QVERIFY(QDir().mkpath(chosen + QStringLiteral("/empty")));
        writeFile(chosen + QStringLiteral("/.DS_Store"), "hidden");
        auto model = makeModel();
        auto worker = prepareLyra(model.get(), chosen, path(QStringLiteral("shots")));
        QSignalSpy listSignal(worker.get(), &ImportOrderThread::startImportDirLyraThreadSigl);
        QSignalSpy lyraError(worker.get(), &ImportOrderThread::importDirLyraThreadError);
        LyraReceiver receiver;

        QVERIFY(importLyra(worker.get(), &receiver).isEmpty());

        QCOMPARE(listSignal.count(), 1);
        QCOMPARE(listSignal.at(0).at(1).toString(), lyraRoot() + QStringLiteral("\\Lyra"));
        QCOMPARE(lyraError.count(), 0);
        QCOMPARE(entries(path(QStringLiteral("lyra/store/选版服务器"))), (QStringList{"Lyra/", "Lyra/empty/"}));
    }

    void lyraOrderThatCannotStart_data()
    {
        QTest::addColumn<bool>("rootBlocked");
        QTest::addColumn<bool>("sourceThere");
        QTest::addColumn<int>("lyraErrors");
        QTest::addColumn<QString>("message");
        QTest::newRow("target folder cannot be made") << true << true << 1 << "";
        QTest::newRow("chosen folder gone") << false << false << 0 << "订单[LY100-1]Lyra源文件夹不存在，已中断，可重试";
    }

    void lyraOrderThatCannotStart()
    {
        QFETCH(bool, rootBlocked);
        QFETCH(bool, sourceThere);
        QFETCH(int, lyraErrors);
        QFETCH(QString, message);
        const QString chosen = path(QStringLiteral("shots/Lyra"));
        if (sourceThere)
            writeFile(chosen + QStringLiteral("/a.jpg"), "a");
        auto model = makeModel();
        auto worker = prepareLyra(model.get(), chosen, path(QStringLiteral("shots")));
        // The root goes away after the dialog made it; a file takes its place.
        if (rootBlocked) {
            QVERIFY(QDir(path(QStringLiteral("lyra/store/选版服务器"))).removeRecursively());
            writeFile(path(QStringLiteral("lyra/store/选版服务器")), "in the way");
        }
        QSignalSpy listSignal(worker.get(), &ImportOrderThread::startImportDirLyraThreadSigl);
        QSignalSpy lyraError(worker.get(), &ImportOrderThread::importDirLyraThreadError);
        QSignalSpy errorMsg(worker.get(), &ImportOrderThread::importErrorMsg);

        runToEnd(worker.get());

        QCOMPARE(listSignal.count(), 0);
        QCOMPARE(lyraError.count(), lyraErrors);
        QCOMPARE(errorMsg.count(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QCOMPARE(errorMsg.at(0).at(0).toString(), message);
        if (!rootBlocked)
            QCOMPARE(entries(path(QStringLiteral("lyra/store/选版服务器"))), QStringList{});
    }

    void sameLyraFolderTwice()
    {
        const QString chosen = path(QStringLiteral("shots/Lyra"));
        writeFile(chosen + QStringLiteral("/a.jpg"), "a");
        writeFile(chosen + QStringLiteral("/sub/b.jpg"), "b");
        auto model = makeModel();
        LyraReceiver receiver;
        importLyra(prepareLyra(model.get(), chosen, path(QStringLiteral("shots"))).get(), &receiver);
        const QString kept = path(QStringLiteral("lyra/store/选版服务器/Lyra/sub/b.jpg"));
        writeFile(kept, "kept");
        receiver.progress.clear();

        importLyra(prepareLyra(model.get(), chosen, path(QStringLiteral("shots"))).get(), &receiver);

        QCOMPARE(receiver.progress.size(), 2);
        QCOMPARE(receiver.failures.size(), 0);
        QCOMPARE(readFile(kept), QByteArray("kept"));
    }

    // --- Lyra folders: the copy jobs ---

    void copyJob_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("arrived");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("reason");
        QTest::newRow("slashes become backslashes, folders are made")
            << "{dir}/in/a.jpg" << "{dir}/out/x/y/a.jpg" << "out/x/y/a.jpg"
            << "复制文件需要创建目录 原目录：{bs}\\out\\x\\y\\a.jpg 配置的目录：{bs}\\out\\x\\y" << "";
        QTest::newRow("folder already there") << "{dir}/in/a.jpg" << "{dir}\\in\\copy.jpg" << "in/copy.jpg"
                                              << "不用创建目录{bs}\\in" << "";
        QTest::newRow("source gone") << "{dir}/in/gone.jpg" << "{dir}/out/gone.jpg" << "" << ""
                                     << "源文件不存在";
        QTest::newRow("folder blocked by a file")
            << "{dir}/in/a.jpg" << "{dir}/blocked/a.jpg" << ""
            << "复制文件需要创建目录 原目录：{bs}\\blocked\\a.jpg 配置的目录：{bs}\\blocked" << "复制文件失败";
    }

    void copyJob()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(QString, arrived);
        QFETCH(QString, message);
        QFETCH(QString, reason);
        QString backslashed = m_dir->path();
        backslashed.replace(QLatin1Char('/'), QLatin1Char('\\'));
        for (QString* text : {&source, &target, &message}) {
            text->replace(QLatin1String("{dir}"), m_dir->path());
            text->replace(QLatin1String("{bs}"), backslashed);
        }
        writeFile(path(QStringLiteral("in/a.jpg")), samplePhoto(7));
        writeFile(path(QStringLiteral("blocked")), "a file");
        LyraFileInfo info;
        info.setSourcePath(source);
        info.setTargetPath(target);
        LyraReceiver receiver;
        QThreadPool pool;

        pool.start(new LyraImportThread(4, 3, 9, QStringLiteral("D:\\Lyra\\x"), info, &receiver));
        QVERIFY(pool.waitForDone(30000));
        QTRY_COMPARE(receiver.progress.size(), 1);

        QCOMPARE(receiver.progress.at(0).row, 4);
        QCOMPARE(receiver.progress.at(0).currentCount, 3);
        QCOMPARE(receiver.progress.at(0).totalCount, 9);
        QCOMPARE(receiver.progress.at(0).toDir, QStringLiteral("D:\\Lyra\\x"));
        QCOMPARE(receiver.messages, message.isEmpty() ? QStringList{} : QStringList{message});
        if (!arrived.isEmpty())
            QCOMPARE(readFile(path(arrived)), readFile(path(QStringLiteral("in/a.jpg"))));
        if (reason.isEmpty()) {
            QCOMPARE(receiver.failures.size(), 0);
        } else {
            QCOMPARE(receiver.failures.size(), 1);
            QCOMPARE(receiver.failures.at(0).row, 4);
            QCOMPARE(receiver.failures.at(0).sourcePath, source);
            QCOMPARE(receiver.failures.at(0).reason, reason);
            // The dialog knows of the failure when the progress completes the order.
            QVERIFY(receiver.sequence.endsWith(QLatin1String("fp")));
        }
    }

    void closedOrDeletedWindowIsNotCalled()
    {
        writeFile(path(QStringLiteral("in/a.jpg")), "a");
        LyraFileInfo info;
        info.setSourcePath(path(QStringLiteral("in/a.jpg")));
        info.setTargetPath(path(QStringLiteral("out/a.jpg")));
        QThreadPool pool;

        LyraReceiver closed;
        CallbackGuard::of(&closed)->close();
        pool.start(new LyraImportThread(0, 1, 1, QString(), info, &closed));
        auto* deleted = new LyraReceiver;
        auto* job = new LyraImportThread(0, 1, 1, QString(), info, deleted);
        delete deleted;
        pool.start(job);
        QVERIFY(pool.waitForDone(30000));
        QCoreApplication::processEvents();

        QVERIFY(closed.sequence.isEmpty());
        QCOMPARE(readFile(path(QStringLiteral("out/a.jpg"))), QByteArray("a"));
    }
};

QTEST_MAIN(TstVideoLyraImport)
#include "tst_videolyraimport.moc"
