#include "support/SeparationRunFixture.h"

#include <QLabel>
#include <QProcess>
#include <QTextEdit>

namespace {

// The service's own production sheet of an order, as the stand-in gives it here.
QString sheetHtml(const QString& id)
{
    return "<html><body><h2>明细制作单 " + id + "</h2><p>调修要求：瘦脸</p></body></html>";
}

QString pdfText(const QString& path)
{
    QProcess process;
    process.start("pdftotext", {"-enc", "UTF-8", path, "-"});
    if (!process.waitForFinished(20000))
        return QString();
    // The PDF's fonts may map some characters to their radical forms.
    return QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

} // namespace

// The end of each order of a design separation run (courier PDF, production
// sheet, next order) and the end of the run with its summary window.
class TestOrderCompletion : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void twoOrdersWriteSheetsAndEndInSummary();
    void failuresReachTheSummary_data();
    void failuresReachTheSummary();

private:
    QDialog* summary() const;

    std::unique_ptr<SeparationRunFixture> f;
};

void TestOrderCompletion::init()
{
    f.reset(new SeparationRunFixture);
    QVERIFY(f->env->listening);
    f->env->service->setHandler("order/getorderpic", [](const RecordedRequest& request) {
        return Response::success({{"html", sheetHtml(request.value("order_photo_id"))},
                                  {"orderpicdescr", QJsonArray()}});
    });
}

void TestOrderCompletion::cleanup()
{
    f.reset();
    QVERIFY(!SeparationBusy::isBusy());
}

QDialog* TestOrderCompletion::summary() const
{
    const QList<QDialog*> open = SeparationRunFixture::summaries();
    return open.size() == 1 ? open.first() : nullptr;
}

void TestOrderCompletion::twoOrdersWriteSheetsAndEndInSummary()
{
    auto* counter = f->driver->widget<QLabel>("label_finishOrdersNum");
    QStringList progress;
    connect(f->env->service.get(), &StudioService::requestReceived, this, [&](const QString& route) {
        if (route == "order/ordergoods20230521")
            progress << counter->text();
    });
    QVERIFY(f->tickOrders({"LY20240518", "LY20231202"}));
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(progress.size(), 2);
    QCOMPARE(progress.last(), QString("已完成订单个数：1/2"));
    QCOMPARE(counter->text(), QString("已完成订单个数：2/2"));
    QVERIFY(!counter->isVisible());

    const QStringList works{f->workFolder(), f->workFolder("LY20231202-服务1 黄丽-郑凯 部分")};
    const QStringList ids{"90002", "90006"};
    for (int i = 0; i < 2; ++i) {
        // The service's page byte for byte: UTF-8, no byte-order mark.
        QCOMPARE(readFile(works.at(i) + "明细制作单.html"), sheetHtml(ids.at(i)).toUtf8());
        const QString pdf = works.at(i) + "快递产品信息.pdf";
        QVERIFY(readFile(pdf).startsWith("%PDF"));
        const QString text = pdfText(pdf);
        QVERIFY2(text.contains("快递产品信息"), qPrintable(text));
        const QString customer = i == 0 ? "LY20240518-2 张敏 刘洋" : "LY20231202-1 郑凯";
        for (const QString& part : customer.split(' '))
            QVERIFY2(text.contains(part), qPrintable(text));
    }

    // One modal summary, shown without waiting, for the four records.
    QDialog* window = summary();
    QVERIFY(window);
    QVERIFY(window->isModal());
    QCOMPARE(window->windowTitle(), QString("提示:   分件成功!"));
    const QString text = window->findChild<QTextEdit*>("textEdit")->toPlainText();
    QVERIFY2(text.startsWith("订单LY20240518:\n不存在的照片:精修相册:X.jpg\n空产品:摆台、豪华套装\n"), qPrintable(text));
    QVERIFY2(text.contains("订单LY20231202:\n"), qPrintable(text));
    QTest::mouseClick(window->findChild<QPushButton*>("pushButton_save"), Qt::LeftButton);
    QCOMPARE(f->env->dialogs.fileDialogs.size(), 1);
    QCOMPARE(f->env->dialogs.fileDialogs.first().dir,
             f->dateFolder() + "/LY20240518、LY20240518、LY20231202、LY20231202分件结果.txt");
    QVERIFY(f->env->dialogs.boxes.isEmpty());
    f->closeSummaries();

    // The rows are free again: the same ticks separate both orders once more.
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->service->count("order/ordergoods20230521"), 4);
    QVERIFY(summary());
}

void TestOrderCompletion::failuresReachTheSummary_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("listed");
    QTest::newRow("production sheet") << "明细制作单.html" << QStringList{"failed to create HTML file"}
                                      << "未能写入的文件:{work}/明细制作单.html\n";
    QTest::newRow("courier sheet") << "快递产品信息.pdf" << QStringList{} << "未能写入的文件:{work}/快递产品信息.pdf\n";
    QTest::newRow("marked picture") << "制作单缩略图/marks" << QStringList{} << "复制失败的照片:{order}marks/A.jpg\n";
    QTest::newRow("sheet thumbnails") << "制作单缩略图" << QStringList{}
                                      << "复制失败的照片:{order}marks/A.jpg\n未能写入的文件:{work}制作单缩略图/A.jpg、"
                                         "{work}制作单缩略图/B.jpg、{work}制作单缩略图/C.jpg\n";
}

void TestOrderCompletion::failuresReachTheSummary()
{
    QFETCH(QString, blocked);
    QFETCH(QStringList, boxes);
    QFETCH(QString, listed);
    f->env->service->setHandler("order/getorderpic", [](const RecordedRequest&) {
        return Response::success({{"html", sheetHtml("90002")}});
    });
    // A folder where the file goes cannot be replaced; a file where a
    // folder of pictures goes takes no pictures.
    const QString work = f->workFolder();
    if (blocked.startsWith("制作单缩略图"))
        writeFile(work + blocked, "not a folder");
    else
        QVERIFY(QDir().mkpath(work + blocked + "/kept"));
    QVERIFY(f->findOrders("LY20240518", 1));
    f->start();
    QVERIFY(f->waitForIdle());
    QCOMPARE(f->env->dialogs.texts(), boxes);
    for (const DialogRecorder::Box& box : f->env->dialogs.boxes)
        compareBox(box, QMessageBox::Information, "提示", QMessageBox::Ok, QMessageBox::NoButton);
    // The run went to its end, and says that not everything was written.
    QDialog* window = summary();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QString("提示:   分件未全部完成"));
    const QString text = window->findChild<QTextEdit*>("textEdit")->toPlainText();
    const QString line = QString(listed).replace("{work}", work).replace("{order}", f->orderPath("90002"));
    QVERIFY2(text.contains(line), qPrintable(text));
    QVERIFY(QFileInfo(work + blocked).exists());
}

QTEST_MAIN(TestOrderCompletion)
#include "tst_ordercompletion.moc"
