#include "core/Globals.h"
#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"
#include "import/searchorderwindow.h"
#include "StudioService.h"
#include "support/TestSupport.h"
#include "widgets/ElidedLabel.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QToolTip>
#include <QtTest>

#include <memory>

namespace {

QJsonObject orderJson(const QString& key, const QString& path = QString())
{
    return {{"order_photo_id", key + "-id"},
            {"orderpayforkey", key},
            {"servicetimes", "1"},
            {"storesname", "澜叶旗舰店"},
            {"phototype", "婚纱照"},
            {"wname", "W" + key},
            {"mname", "M"},
            {"role1", "R1"},
            {"comboname", "套系"},
            {"booktime", "0"},
            {"yindouer", "引"},
            {"orderpath", path},
            {"orderbakpicpath", path.isEmpty() ? QString() : path + "bak/"}};
}

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

const QByteArray kToken = "token=5d1c0a9e7b3f48a2c6e0d9b4a1f7e3c8";

} // namespace

// The import window: types, order table, info panel and per-order selection.
class TestImportDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void freshWindow();
    void typeSwitch_data();
    void typeSwitch();
    void rowTexts();
    void duplicatesAreRefusedWithinOneHandOver();
    void missingDriveRootsAreRefused();
    void removalWithNothingTicked();
    void removalKeepsTableAndListTogether();
    void removingTheShownOrderResetsTheCurrentOrder();
    void infoPanelShowsTheClickedOrder();
    void longPathsDoNotWidenTheWindow();
    void folderSuffixIsCleanedAndShared();
    void imageSuffixRenamesTheChosenFiles();
    void originalsAskNoQuestion();
    void videosAndLyraFolders();
    void nothingChosen_data();
    void nothingChosen();
    void refusedSelections_data();
    void refusedSelections();
    void finishedImagesAskTheService();
    void finishedSelectionIsAnsweredNo();
    void finishedSelectionFailures_data();
    void finishedSelectionFailures();
    void quickClicksServeTheirOwnOrders();
    void answerForARemovedOrderIsDropped();
    void openButtonsAndTableMenu();
    void pickerHandsDemoOrdersOver();
    void windowOwnsItsOrdersAndPickers();

private:
    ImportOrderModel* model(const QString& key, const QString& path = QString());
    void add(const QList<ImportOrderModel*>& models);
    QTableWidget* table() const { return dialog->findChild<QTableWidget*>("ordersTableWgt"); }
    QPushButton* button(const QString& text) const;
    QRadioButton* radio(const QString& text) const;
    QPushButton* selectButton(int row) const;
    QLabel* selectLabel(int row) const;
    QLabel* progressLabel(int row) const;
    QProgressBar* progressBar(int row) const;
    QString value(const char* name) const { return dialog->findChild<QLabel*>(name)->text(); }
    QLineEdit* edit(const char* name) const { return dialog->findChild<QLineEdit*>(name); }
    void clickRow(int row);
    void tick(int row);

    std::unique_ptr<RecordedEnvironment> env;
    std::unique_ptr<StudioService> service;
    QPointer<importOrdersPhotoDlg> dialog;
    std::unique_ptr<QObject> pool; // models the window did not adopt
    QTemporaryDir demo;
};

void TestImportDialog::init()
{
    env.reset(new RecordedEnvironment);
    service.reset(new StudioService(demo.path()));
    QVERIFY(service->listen());
    g_shopId = "12";
    g_superId = "3";
    g_uid = "1001";
    g_eid = "501";
    pool.reset(new QObject);
    dialog = new importOrdersPhotoDlg;
    dialog->resize(1600, 900);
    dialog->show();
}

void TestImportDialog::cleanup()
{
    delete dialog;
    pool.reset();
    service.reset();
    env.reset();
}

ImportOrderModel* TestImportDialog::model(const QString& key, const QString& path)
{
    return new ImportOrderModel(orderJson(key, path), pool.get());
}

void TestImportDialog::add(const QList<ImportOrderModel*>& models)
{
    dialog->getNewOrderSlot(models);
}

QPushButton* TestImportDialog::button(const QString& text) const
{
    for (QPushButton* candidate : dialog->findChildren<QPushButton*>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

QRadioButton* TestImportDialog::radio(const QString& text) const
{
    for (QRadioButton* candidate : dialog->findChildren<QRadioButton*>()) {
        if (candidate->text() == text)
            return candidate;
    }
    return nullptr;
}

QPushButton* TestImportDialog::selectButton(int row) const
{
    return table()->cellWidget(row, 4)->findChild<QPushButton*>();
}

QLabel* TestImportDialog::selectLabel(int row) const
{
    return table()->cellWidget(row, 4)->findChild<QLabel*>();
}

QLabel* TestImportDialog::progressLabel(int row) const
{
    return table()->cellWidget(row, 5)->findChild<QLabel*>();
}

QProgressBar* TestImportDialog::progressBar(int row) const
{
    return table()->cellWidget(row, 5)->findChild<QProgressBar*>();
}

void TestImportDialog::clickRow(int row)
{
    const QRect cell = table()->visualItemRect(table()->item(row, 1));
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cell.center());
}

void TestImportDialog::tick(int row)
{
    table()->item(row, 0)->setCheckState(Qt::Checked);
}

void TestImportDialog::freshWindow()
{
    QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(radio("导入成品/精修")->isChecked());
    QCOMPARE(dialog->findChild<QLabel*>("rightTitle")->text(), QString("导片模式：成品"));
    QVERIFY(!edit("imageSuffixEdit")->isEnabled());
    QVERIFY(edit("folderSuffixEdit")->isEnabled());
    QVERIFY(!button("重新导片")->isEnabled());
    QVERIFY(!button("更新视频到选片系统")->isVisible());
    QVERIFY(button("批量导片")->isVisible());
    QVERIFY(!edit("orderPrefixEdit")->isVisible());
    QCOMPARE(table()->rowCount(), 0);
    QStringList headers;
    for (int column = 0; column < table()->columnCount(); ++column)
        headers << table()->horizontalHeaderItem(column)->text();
    QCOMPARE(headers, (QStringList{"订单号", "所属门店", "客户姓名", "导片状态", "操作区", "导片进度"}));
    QCOMPARE(dialog->styleSheet().size(), 156);
    QStringList types;
    for (QAbstractButton* radioButton : dialog->findChild<QButtonGroup*>()->buttons())
        types << QString::number(dialog->findChild<QButtonGroup*>()->id(radioButton)) + radioButton->text();
    QCOMPARE(types, (QStringList{"0导入原片", "1导入成品/精修", "2导入设计", "3试拍视频", "4精修视频", "5导入Lyra"}));
}

void TestImportDialog::typeSwitch_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("selectText");
    QTest::addColumn<QString>("videoText");
    QTest::addColumn<bool>("imageSuffix");
    QTest::newRow("originals") << "导入原片" << "导片模式：原片" << "选择照片" << "" << true;
    QTest::newRow("finished") << "导入成品/精修" << "导片模式：成品" << "选择照片" << "" << false;
    QTest::newRow("design") << "导入设计" << "导片模式：设计" << "选择照片" << "" << false;
    QTest::newRow("trial videos") << "试拍视频" << "导片模式：试拍视频" << "选择视频" << "更新试拍视频到选片系统" << false;
    QTest::newRow("retouched videos") << "精修视频" << "导片模式：精修视频" << "选择视频" << "更新精修视频到选片系统"
                                      << false;
    QTest::newRow("lyra") << "导入Lyra" << "导片模式：Lyra" << "选择Lyra路径" << "" << false;
}

void TestImportDialog::typeSwitch()
{
    QFETCH(QString, type);
    QFETCH(QString, title);
    QFETCH(QString, selectText);
    QFETCH(QString, videoText);
    QFETCH(bool, imageSuffix);
    add({model("A"), model("B")});
    radio("试拍视频")->click();
    radio(type)->click();
    QCOMPARE(dialog->findChild<QLabel*>("rightTitle")->text(), title);
    QCOMPARE(edit("imageSuffixEdit")->isEnabled(), imageSuffix);
    QCOMPARE(selectButton(0)->text(), selectText);
    QCOMPARE(selectButton(1)->text(), selectText);
    QCOMPARE(selectButton(1)->property("row").toInt(), 1);
    QPushButton* video = nullptr;
    for (QPushButton* candidate : dialog->findChildren<QPushButton*>()) {
        if (candidate->text().startsWith("更新"))
            video = candidate;
    }
    QCOMPARE(video->isVisible(), !videoText.isEmpty());
    if (!videoText.isEmpty())
        QCOMPARE(video->text(), videoText);
}

void TestImportDialog::rowTexts()
{
    QTemporaryDir server;
    const QString path = server.path() + "/LY1-1-W/";
    for (const char* name : {"a.jpg", "b.JPG", "c.png", "d.txt"})
        touch(path + "成品/" + name);
    QDir().mkpath(path + "成品缩略图");
    touch(path + "照片/x.jpg"); // no "thumbnail" folder: not counted
    ImportOrderModel* imported = model("LY1", path);
    ImportOrderModel* fresh = model("LY2");
    fresh->setIsImported(1, true);
    fresh->setFinishedCount(1, 4);
    add({imported, fresh});

    QCOMPARE(table()->rowCount(), 2);
    QCOMPARE(table()->item(0, 0)->text(), QString("LY1-1"));
    QCOMPARE(table()->item(0, 0)->checkState(), Qt::Unchecked);
    QCOMPARE(table()->item(0, 1)->text(), QString("澜叶旗舰店"));
    QCOMPARE(table()->item(0, 2)->text(), QString("WLY1-M"));
    QCOMPARE(table()->item(0, 2)->textAlignment(), int(Qt::AlignCenter));
    QCOMPARE(table()->item(0, 3)->text(), QString("已导入(3)"));
    QCOMPARE(imported->importedCount(1), quint16(3));
    QCOMPARE(selectLabel(0)->text(), QString("未选"));
    QCOMPARE(progressLabel(0)->text(), QString("0/0"));
    QCOMPARE(progressBar(0)->width(), 110);
    QCOMPARE(table()->cellWidget(0, 4)->objectName(), QString("tableFrame"));

    QCOMPARE(table()->item(1, 3)->text(), QString("未导入"));
    QCOMPARE(selectLabel(1)->text(), QString("已选(4)"));
    QCOMPARE(progressLabel(1)->text(), QString("4/4"));
    QCOMPARE(progressBar(1)->maximum(), 4);
    QCOMPARE(progressBar(1)->value(), 4);

    radio("导入原片")->click();
    QCOMPARE(table()->item(0, 3)->text(), QString("未导入"));
    QDir().mkpath(path + "thumbnail");
    radio("导入原片")->click();
    QCOMPARE(table()->item(0, 3)->text(), QString("已导入(1)"));

    radio("导入Lyra")->click();
    QCOMPARE(table()->item(0, 3)->text(), QString("未导入"));
    QCOMPARE(progressLabel(0)->text(), QString());

    touch(path + "试拍视频/a.mp4");
    touch(path + "试拍视频/b.wmv");
    touch(path + "试拍视频/c.mov");
    radio("试拍视频")->click();
    QCOMPARE(table()->item(0, 3)->text(), QString("已导入(2)"));
}

void TestImportDialog::duplicatesAreRefusedWithinOneHandOver()
{
    add({model("A")});
    env->dialogs.clear();
    ImportOrderModel* b1 = model("B");
    ImportOrderModel* b2 = model("B");
    add({model("A"), b1, model("C"), b2});
    QCOMPARE(table()->rowCount(), 3);
    QStringList rows;
    for (int row = 0; row < 3; ++row)
        rows << table()->item(row, 0)->text();
    QCOMPARE(rows, (QStringList{"A-1", "B-1", "C-1"}));
    QCOMPARE(env->dialogs.texts(), QStringList{"已经添加过订单：\nA-1,B-1"});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "订单已存在", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), dialog.data());
    QCOMPARE(b1->parent(), dialog.data());
    QCOMPARE(b2->parent(), pool.get());

    // Removing the first B leaves nothing of it behind.
    tick(1);
    button("删除选中")->click();
    QCOMPARE(table()->rowCount(), 2);
    QCOMPARE(table()->item(1, 0)->text(), QString("C-1"));
}

void TestImportDialog::missingDriveRootsAreRefused()
{
    add({model("D", "D:/photos/2024-06/01/D-1/"), model("E", "E:/photos/E-1/"), model("N"), model("P", "/srv/photos/P-1/"),
         model("Q", "Q:\\photos\\Q-1\\")});
    QStringList rows;
    for (int row = 0; row < table()->rowCount(); ++row)
        rows << table()->item(row, 0)->text();
    QCOMPARE(rows, (QStringList{"N-1", "P-1", "Q-1"}));
    QCOMPARE(env->dialogs.texts(), QStringList{"以下订单导片根目录不存在：\nD-1:D:/,E-1:E:/"});
    compareBox(env->dialogs.boxes.first(), QMessageBox::Information, "订单导片路径不存在", QMessageBox::Ok, QMessageBox::NoButton);

    env->dialogs.clear();
    env->platform->existingDriveRoots << "D:/";
    add({model("D", "D:/photos/2024-06/01/D-1/"), model("N")});
    QCOMPARE(table()->rowCount(), 4);
    QCOMPARE(table()->item(3, 0)->text(), QString("D-1"));
    QCOMPARE(env->dialogs.texts(), QStringList{"已经添加过订单：\nN-1"});
}

void TestImportDialog::removalWithNothingTicked()
{
    add({model("A")});
    button("删除选中")->click();
    QCOMPARE(env->dialogs.texts(), QStringList{"您还没有选择订单"});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Warning, "警告", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), dialog.data());
    QCOMPARE(table()->rowCount(), 1);

    button("全选")->click();
    QCOMPARE(table()->item(0, 0)->checkState(), Qt::Checked);
    button("取消选中")->click();
    QCOMPARE(table()->item(0, 0)->checkState(), Qt::Unchecked);
}

void TestImportDialog::removalKeepsTableAndListTogether()
{
    ImportOrderModel* a = model("A");
    ImportOrderModel* b = model("B");
    ImportOrderModel* c = model("C");
    add({a, b, c});
    radio("导入原片")->click();
    tick(0);
    button("删除选中")->click();
    QCOMPARE(table()->rowCount(), 2);
    QCOMPARE(selectButton(0)->property("row").toInt(), 0);
    QCOMPARE(selectButton(1)->property("row").toInt(), 1);

    env->dialogs.fileAnswers << QStringList{"/shots/c.jpg"} << QStringList{"/shots/b.jpg"};
    selectButton(1)->click();
    selectButton(0)->click();
    QCOMPARE(c->selectedFiles(0), QStringList{"/shots/c.jpg"});
    QCOMPARE(b->selectedFiles(0), QStringList{"/shots/b.jpg"});
    QVERIFY(a->selectedFiles(0).isEmpty());
    QCOMPARE(selectLabel(1)->text(), QString("已选(1)"));
    QCOMPARE(table()->item(1, 0)->text(), QString("C-1"));
}

void TestImportDialog::removingTheShownOrderResetsTheCurrentOrder()
{
    ImportOrderModel* a = model("A");
    ImportOrderModel* b = model("B");
    add({a, b});
    radio("导入原片")->click();
    clickRow(1);
    QCOMPARE(value("orderNumberValue"), QString("B"));
    table()->setCurrentItem(nullptr);
    tick(1);
    button("删除选中")->click();
    // The right half no longer shows the removed order and edits reach nobody.
    QCOMPARE(value("orderNumberValue"), QString());
    QCOMPARE(edit("folderSuffixEdit")->text(), QString());
    QVERIFY(edit("imageSuffixEdit")->isEnabled());
    edit("folderSuffixEdit")->setText("新的");
    QCOMPARE(b->folderSuffix(0), QString("WB-M-R1"));
    QCOMPARE(a->folderSuffix(0), QString("WA-M-R1"));

    // Its own select button now serves the order that moved up.
    env->dialogs.fileAnswers << QStringList{"/shots/a.jpg"};
    selectButton(0)->click();
    QCOMPARE(a->selectedFiles(0), QStringList{"/shots/a.jpg"});
    QCOMPARE(value("orderNumberValue"), QString("A"));

    // Removing the last order empties the right half but the Lyra path.
    ImportOrderModel* lyra = new ImportOrderModel(
        QJsonObject{{"orderpayforkey", "L"}, {"servicetimes", "1"}, {"wname", "L"}, {"lyrapath", "/lyra/L"},
                    {"orderpath", "/srv/L/"}},
        pool.get());
    add({lyra});
    clickRow(1);
    QCOMPARE(value("orderLyraPathValue"), QString("/lyra/L"));
    QVERIFY(button("重新导片")->isEnabled());
    button("全选")->click();
    button("删除选中")->click();
    QCOMPARE(table()->rowCount(), 0);
    for (const char* name : {"orderNumberValue", "photoTypeValue", "dealDateValue", "orderPathValue",
                             "orderBakPathValue", "yindouerValue"})
        QCOMPARE(value(name), QString());
    QCOMPARE(value("orderLyraPathValue"), QString("/lyra/L"));
    QVERIFY(!button("重新导片")->isEnabled());
    QVERIFY(edit("folderSuffixEdit")->isEnabled());
    QVERIFY(!edit("imageSuffixEdit")->isEnabled());
    QCOMPARE(dialog->findChild<QTableWidget*>("selectedTable")->rowCount(), 0);
    QCOMPARE(lyra->folderSuffix(1), QString("L"));
}

void TestImportDialog::infoPanelShowsTheClickedOrder()
{
    QJsonObject baby = orderJson("BB", "/srv/photos/BB-1/");
    baby["phototype"] = "宝宝照";
    baby["bname"] = "宝宝";
    baby["servicetimes"] = "3";
    baby["role2"] = "R2";
    baby["booktime"] = "1717200000";
    baby["lyrapath"] = "/lyra/BB";
    ImportOrderModel* babyOrder = new ImportOrderModel(baby, pool.get());
    babyOrder->setSelectedFiles(1, {"/shots/IMG_1.JPG", "/shots/IMG_2.JPG"});
    add({babyOrder, model("W")});

    clickRow(0);
    QCOMPARE(value("orderNumberValue"), QString("BB"));
    QCOMPARE(value("photoTypeValue"), QString("宝宝照"));
    QCOMPARE(value("serviceTimesValue"), QString("3"));
    QCOMPARE(value("babyNameValue"), QString("宝宝"));
    QCOMPARE(value("womanNameValue"), QString("WBB"));
    QCOMPARE(value("manNameValue"), QString("M"));
    QCOMPARE(value("comboNameValue"), QString("套系"));
    QCOMPARE(value("bookShopValue"), QString("BB"));
    QCOMPARE(value("dealDateValue"), babyOrder->booktime());
    QCOMPARE(value("photographerValue"), QString("R1"));
    QCOMPARE(value("makeupValue"), QString("R2"));
    QCOMPARE(value("yindouerValue"), QString("引"));
    QCOMPARE(value("orderPathValue"), QString("/srv/photos/BB-1/"));
    QCOMPARE(value("orderBakPathValue"), QString("/srv/photos/BB-1/bak/"));
    QCOMPARE(value("orderLyraPathValue"), QString("/lyra/BB"));
    QVERIFY(dialog->findChild<QLabel*>("babyNameTitle")->isVisible());
    QVERIFY(dialog->findChild<QLabel*>("babyNameValue")->isVisible());
    QCOMPARE(edit("folderSuffixEdit")->text(), QString("宝宝-WBB-M-R1-R2"));
    QVERIFY(!edit("folderSuffixEdit")->isEnabled());
    QVERIFY(button("重新导片")->isEnabled());
    QCOMPARE(edit("orderPrefixEdit")->text(), QString("BB-3"));
    auto* selected = dialog->findChild<QTableWidget*>("selectedTable");
    QCOMPARE(selected->rowCount(), 2);
    QCOMPARE(selected->item(1, 0)->text(), QString("IMG_2.JPG"));

    clickRow(1);
    QVERIFY(!dialog->findChild<QLabel*>("babyNameTitle")->isVisible());
    QVERIFY(!dialog->findChild<QLabel*>("babyNameValue")->isVisible());
    QVERIFY(edit("folderSuffixEdit")->isEnabled());
    QVERIFY(!button("重新导片")->isEnabled());
    QCOMPARE(selected->rowCount(), 0);

    // Video types keep the edits as they are and list no files.
    radio("试拍视频")->click();
    clickRow(0);
    QCOMPARE(edit("folderSuffixEdit")->text(), QString("WW-M-R1"));
    QCOMPARE(selected->rowCount(), 0);
}

// Long folders are shown elided in the middle, whole in their tooltip, and
// leave the window as narrow as its layout needs without them.
void TestImportDialog::longPathsDoNotWidenTheWindow()
{
    QString longFolder = "/srv/photos";
    while (longFolder.size() < 300)
        longFolder += "/很长的文件夹名字abcdefghij";
    longFolder += "/";
    QJsonObject longJson = orderJson("B", longFolder);
    longJson["lyrapath"] = longFolder + "lyra\\选版服务器\\B-1";
    ImportOrderModel* longOrder = new ImportOrderModel(longJson, pool.get());
    add({model("A", "/srv/photos/A-1/"), longOrder});

    clickRow(0);
    QApplication::sendPostedEvents();
    const int narrow = dialog->minimumSizeHint().width();
    clickRow(1);
    QApplication::sendPostedEvents();
    QCOMPARE(dialog->minimumSizeHint().width(), narrow);

    auto* pathValue = dialog->findChild<ElidedLabel*>("orderPathValue");
    QCOMPARE(pathValue->text(), longFolder);
    const QString shown = pathValue->shownText();
    QVERIFY(shown.size() < longFolder.size());
    QVERIFY(shown.startsWith("/srv/photos/"));
    QVERIFY(shown.endsWith("abcdefghij/"));
    QVERIFY(shown.contains(QChar(0x2026)));
    QHelpEvent help(QEvent::ToolTip, pathValue->rect().center(), pathValue->mapToGlobal(pathValue->rect().center()));
    QApplication::sendEvent(pathValue, &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), longFolder);
    QToolTip::hideText();

    // Shown with one kind of separator; the order keeps what the service sent.
    QCOMPARE(value("orderLyraPathValue"), longFolder + "lyra/选版服务器/B-1");
    QCOMPARE(longOrder->lyrapath(), longFolder + "lyra\\选版服务器\\B-1");

    // The chosen Lyra folder, in the order table, leaves the window as it is too.
    radio("导入Lyra")->click();
    env->dialogs.fileAnswers << QStringList{longFolder + "Lyra"};
    selectButton(1)->click();
    QApplication::sendPostedEvents();
    QCOMPARE(selectLabel(1)->text(), "已选(" + longFolder + "Lyra)");
    QCOMPARE(dialog->minimumSizeHint().width(), narrow);
}

void TestImportDialog::folderSuffixIsCleanedAndShared()
{
    ImportOrderModel* order = model("A");
    add({order, model("P", "/srv/P/")});
    clickRow(0);
    QLineEdit* suffix = edit("folderSuffixEdit");
    suffix->clear();
    QTest::keyClicks(suffix, "a:b*c ");
    QCOMPARE(suffix->text(), QString("abc"));
    for (int type = 0; type < 3; ++type)
        QCOMPARE(order->folderSuffix(type), QString("abc"));
    radio("导入设计")->click();
    clickRow(0);
    QCOMPARE(suffix->text(), QString("abc"));
    // Once the order has a folder its name is fixed.
    clickRow(1);
    QVERIFY(!suffix->isEnabled());
}

void TestImportDialog::imageSuffixRenamesTheChosenFiles()
{
    ImportOrderModel* order = model("A");
    add({order});
    radio("导入原片")->click();
    clickRow(0);
    QLineEdit* suffix = edit("imageSuffixEdit");
    QVERIFY(suffix->isEnabled());
    QTest::keyClicks(suffix, "x?");
    QCOMPARE(suffix->text(), QString("x"));
    QCOMPARE(order->imageSuffix(0), QString("x"));
    QVERIFY(order->imageSuffix(1).isEmpty());
    env->dialogs.fileAnswers << QStringList{"/shots/B/IMG_1.JPG"};
    selectButton(0)->click();
    auto* selected = dialog->findChild<QTableWidget*>("selectedTable");
    QCOMPARE(selected->item(0, 0)->text(), QString("IMG_1-x.JPG"));
}

void TestImportDialog::originalsAskNoQuestion()
{
    ImportOrderModel* order = model("A");
    add({model("Z"), order});
    radio("导入原片")->click();
    order->setIsImported(0, true);
    env->dialogs.fileAnswers << QStringList{"/shots/A/B/1.jpg", "/shots/A/B/2.jpg", "/shots/A/B/3.jpg"}
                             << QStringList{"/other/4.jpg"};
    selectButton(1)->click();
    QCOMPARE(service->count("OrderPhoto/order_isrole12finish"), 0);
    QCOMPARE(env->dialogs.fileDialogs.size(), 1);
    const DialogRecorder::FileDialog first = env->dialogs.fileDialogs.first();
    QCOMPARE(first.kind, DialogRecorder::FileDialogKind::OpenFileNames);
    QCOMPARE(first.caption, QString("选择照片"));
    QCOMPARE(first.filter, QString("Image File(*.jpg *.jpeg *.png)"));
    QCOMPARE(first.dir, QDir(".").absolutePath());
    QCOMPARE(order->selectedFiles(0).size(), 3);
    QVERIFY(!order->isImported(0));
    QCOMPARE(selectLabel(1)->text(), QString("已选(3)"));
    QCOMPARE(progressLabel(1)->text(), QString("0/3"));
    QCOMPARE(progressBar(1)->maximum(), 3);
    QCOMPARE(progressBar(1)->value(), 0);
    QCOMPARE(value("orderNumberValue"), QString("A"));
    QCOMPARE(selectLabel(0)->text(), QString("未选"));

    selectButton(0)->click();
    QCOMPARE(env->dialogs.fileDialogs.at(1).dir, QString("/shots/A"));
}

void TestImportDialog::videosAndLyraFolders()
{
    ImportOrderModel* order = model("A");
    add({order});
    radio("精修视频")->click();
    env->dialogs.fileAnswers << QStringList{"/shots/A/B/1.mp4", "/shots/A/B/2.avi"} << QStringList{"/shots/A/B/Lyra"}
                             << QStringList{"/x.mp4"};
    selectButton(0)->click();
    QCOMPARE(env->dialogs.fileDialogs.first().caption, QString("选择视频"));
    QCOMPARE(env->dialogs.fileDialogs.first().filter, QString("Video File(*.mp4 *.avi)"));
    QCOMPARE(order->selectedFiles(4), (QStringList{"/shots/A/B/1.mp4", "/shots/A/B/2.avi"}));
    QCOMPARE(selectLabel(0)->text(), QString("已选(2)"));

    radio("导入Lyra")->click();
    order->setIsImported(5, true);
    selectButton(0)->click();
    const DialogRecorder::FileDialog folderDialog = env->dialogs.fileDialogs.at(1);
    QCOMPARE(folderDialog.kind, DialogRecorder::FileDialogKind::ExistingDirectory);
    QCOMPARE(folderDialog.caption, QString("请选择文件路径..."));
    QCOMPARE(folderDialog.dir, QString("/shots/A/B"));
    QCOMPARE(order->lyraSourceDir(), QString("/shots/A/B/Lyra"));
    QCOMPARE(order->lyraSourceParent(), QString("/shots/A/B"));
    QVERIFY(!order->isImported(5));
    QCOMPARE(selectLabel(0)->text(), QString("已选(/shots/A/B/Lyra)"));
    QCOMPARE(progressLabel(0)->text(), QString("0/0"));

    radio("试拍视频")->click();
    selectButton(0)->click();
    QCOMPARE(env->dialogs.fileDialogs.at(2).dir, QString("/shots/A/B"));
}

void TestImportDialog::nothingChosen_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("text");
    QTest::newRow("photos") << "导入设计" << "没有选择任何照片";
    QTest::newRow("videos") << "试拍视频" << "没有选择任何照片";
    QTest::newRow("lyra") << "导入Lyra" << "请重新选择路径";
}

void TestImportDialog::nothingChosen()
{
    QFETCH(QString, type);
    QFETCH(QString, text);
    ImportOrderModel* order = model("A");
    order->setSelectedFiles(2, {"/old.jpg"});
    order->setSelectedFiles(3, {"/old.mp4"});
    order->setLyraSourceDir("/old");
    add({order});
    radio(type)->click();
    selectButton(0)->click();
    QCOMPARE(env->dialogs.texts(), QStringList{text});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "提示", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), dialog.data());
    QCOMPARE(order->selectedFiles(2), QStringList{"/old.jpg"});
    QCOMPARE(order->selectedFiles(3), QStringList{"/old.mp4"});
    QCOMPARE(order->lyraSourceDir(), QString("/old"));
    QCOMPARE(selectLabel(0)->text(), QString("未选"));
}

void TestImportDialog::refusedSelections_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("text");
    QStringList many;
    for (int i = 0; i < 65536; ++i)
        many << QStringLiteral("/shots/%1.jpg").arg(i);
    QTest::newRow("more than 65535 photos") << "导入设计" << many << "所选文件超过65535个，请分批选择导入";
    QTest::newRow("\"|\" in a video name") << "精修视频" << QStringList{"/shots/a|b.mp4", "/shots/c.mp4"}
                                          << "视频文件名不能包含“|”，请改名后重新选择：a|b.mp4";
}

// Selections the import could not count or report are refused as they are
// chosen; the order keeps what it had.
void TestImportDialog::refusedSelections()
{
    QFETCH(QString, type);
    QFETCH(QStringList, files);
    QFETCH(QString, text);
    ImportOrderModel* order = model("A");
    order->setSelectedFiles(2, {"/old.jpg"});
    order->setSelectedFiles(4, {"/old.mp4"});
    add({order});
    radio(type)->click();
    env->dialogs.fileAnswers << files;
    selectButton(0)->click();
    QCOMPARE(env->dialogs.texts(), QStringList{text});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Warning, "警告", QMessageBox::Ok, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), dialog.data());
    QCOMPARE(order->selectedFiles(2), QStringList{"/old.jpg"});
    QCOMPARE(order->selectedFiles(4), QStringList{"/old.mp4"});
    QCOMPARE(selectLabel(0)->text(), QString("未选"));
}

void TestImportDialog::finishedImagesAskTheService()
{
    service->script("OrderPhoto/order_isrole12finish", Response::success({{"isrole12finish", 1}}));
    ImportOrderModel* order = model("A");
    add({order});
    env->dialogs.boxAnswers << QMessageBox::Yes;
    env->dialogs.fileAnswers << QStringList{"/shots/a.jpg"};
    selectButton(0)->click();
    QVERIFY(env->dialogs.fileDialogs.isEmpty());
    QTRY_COMPARE(env->dialogs.fileDialogs.size(), 1);

    const RecordedRequest sent = service->last("OrderPhoto/order_isrole12finish");
    const QByteArray body = kToken + "&shopid=12&superid=3&order_photo_id=A-id&eid=501&personid=501&uid=1001";
    QCOMPARE(sent.body, body);
    QCOMPARE(sent.header("Content-Length"), QByteArray::number(body.size()));
    QCOMPARE(env->dialogs.texts(), QStringList{"该订单已选片完成，继续导片会覆盖之前的选片结果，确定要继续导片吗？"});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "温馨提示", QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton);
    QCOMPARE(box.parent.data(), dialog.data());
    QCOMPARE(order->selectedFiles(1), QStringList{"/shots/a.jpg"});
    QCOMPARE(selectLabel(0)->text(), QString("已选(1)"));

    // An unfinished selection opens the file dialog without a question.
    service->script("OrderPhoto/order_isrole12finish", Response::success({{"isrole12finish", "1"}}));
    env->dialogs.clear();
    selectButton(0)->click();
    QTRY_COMPARE(env->dialogs.fileDialogs.size(), 1);
    QVERIFY(env->dialogs.boxes.size() == 1 && env->dialogs.boxes.first().text == "没有选择任何照片");
}

void TestImportDialog::finishedSelectionIsAnsweredNo()
{
    service->script("OrderPhoto/order_isrole12finish", Response::success({{"isrole12finish", 1}}));
    ImportOrderModel* order = model("A");
    order->setSelectedFiles(1, {"/kept.jpg"});
    add({order});
    env->dialogs.boxAnswers << QMessageBox::No;
    selectButton(0)->click();
    QTRY_COMPARE(env->dialogs.boxes.size(), 1);
    QTest::qWait(50);
    QVERIFY(env->dialogs.fileDialogs.isEmpty());
    QCOMPARE(order->selectedFiles(1), QStringList{"/kept.jpg"});
    QCOMPARE(selectLabel(0)->text(), QString("未选"));
    QCOMPARE(progressLabel(0)->text(), QString("0/0"));
}

void TestImportDialog::finishedSelectionFailures_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("text");
    QTest::newRow("http 500") << 0 << "网络请求错误\n500";
    QTest::newRow("not json") << 1 << "请求失败";
    QTest::newRow("json array") << 2 << "请求失败";
    QTest::newRow("code 0") << 3 << "请求失败：0";
    QTest::newRow("numeric code") << 4 << "请求失败：";
}

void TestImportDialog::finishedSelectionFailures()
{
    QFETCH(int, fault);
    QFETCH(QString, text);
    const QList<Response> faults = {Response::httpError(500), Response::raw("oops"),
                                    Response::raw("[]", "application/json"), Response::failure("不行"),
                                    Response::json({{"code", 1}, {"isrole12finish", 0}})};
    service->script("OrderPhoto/order_isrole12finish", faults.at(fault));
    add({model("A")});
    selectButton(0)->click();
    QTRY_COMPARE(env->dialogs.texts(), QStringList{text});
    const DialogRecorder::Box box = env->dialogs.boxes.first();
    compareBox(box, QMessageBox::Information, "警告", QMessageBox::Yes, QMessageBox::Yes);
    QVERIFY(!box.hadParent);
    QVERIFY(env->dialogs.fileDialogs.isEmpty());
}

void TestImportDialog::quickClicksServeTheirOwnOrders()
{
    // The first order's answer comes last.
    service->setHandler("OrderPhoto/order_isrole12finish", [](const RecordedRequest& request) {
        const bool first = request.value("order_photo_id") == "A-id";
        return Response::success({{"isrole12finish", 0}}).delayed(first ? 400 : 50);
    });
    ImportOrderModel* a = model("A");
    ImportOrderModel* b = model("B");
    add({a, b});
    env->dialogs.fileAnswers << QStringList{"/shots/b.jpg"} << QStringList{"/shots/a1.jpg", "/shots/a2.jpg"};
    selectButton(0)->click();
    selectButton(1)->click();
    QTRY_COMPARE(env->dialogs.fileDialogs.size(), 2);
    QCOMPARE(b->selectedFiles(1), QStringList{"/shots/b.jpg"});
    QCOMPARE(a->selectedFiles(1), (QStringList{"/shots/a1.jpg", "/shots/a2.jpg"}));
    QCOMPARE(selectLabel(0)->text(), QString("已选(2)"));
    QCOMPARE(selectLabel(1)->text(), QString("已选(1)"));
}

void TestImportDialog::answerForARemovedOrderIsDropped()
{
    service->script("OrderPhoto/order_isrole12finish", Response::success({{"isrole12finish", 0}}).delayed(200));
    ImportOrderModel* a = model("A");
    add({a, model("B")});
    selectButton(0)->click();
    tick(0);
    button("删除选中")->click();
    QTRY_COMPARE(service->count("OrderPhoto/order_isrole12finish"), 1);
    QTest::qWait(400);
    QVERIFY(env->dialogs.fileDialogs.isEmpty());
    QCOMPARE(selectLabel(0)->text(), QString("未选"));
}

void TestImportDialog::openButtonsAndTableMenu()
{
    add({model("A", "/srv/photos/A-1/"), model("N")});
    auto* menu = dialog->findChild<QMenu*>();
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->text(), QString("查看照片"));

    clickRow(1);
    button("打开路径")->click();
    button("打开原始档路径")->click();
    emit table()->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!menu->isEnabled());
    menu->hide();
    QVERIFY(env->platform->openedUrls.isEmpty());

    clickRow(0);
    emit table()->customContextMenuRequested(QPoint(5, 5));
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(menu->isEnabled());
    menu->actions().first()->trigger();
    menu->hide();
    button("打开路径")->click();
    button("打开原始档路径")->click();
    QCOMPARE(env->platform->openedUrls, (QList<QUrl>{QUrl::fromLocalFile("/srv/photos/A-1/成品"),
                                                     QUrl::fromLocalFile("/srv/photos/A-1/"),
                                                     QUrl::fromLocalFile("/srv/photos/A-1/照片/新建文件夹")}));
}

void TestImportDialog::pickerHandsDemoOrdersOver()
{
    button("添加订单")->click();
    SearchOrderWindow* picker = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<SearchOrderWindow*>(window))
            picker = candidate;
    }
    QVERIFY(picker);
    QVERIFY(picker->isVisible());
    QVERIFY(picker->testAttribute(Qt::WA_DeleteOnClose));
    picker->findChild<QComboBox*>("comboBox")->setCurrentIndex(7);
    picker->findChild<QLineEdit*>("orderNumber")->setText("Anna");
    picker->findChild<QPushButton*>("searchButton")->click();
    auto* view = picker->findChild<QTableView*>("tableView");
    QTRY_COMPARE(view->model()->rowCount(), 2);
    const QRect cell = view->visualRect(view->model()->index(1, 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(table()->rowCount(), 1);
    QCOMPARE(table()->item(0, 0)->text(), QString("LY20240602-1"));
    clickRow(0);
    QCOMPARE(edit("folderSuffixEdit")->text(), QString("AnnaLee-Tom-吴摄影"));
    picker->close();
}

void TestImportDialog::windowOwnsItsOrdersAndPickers()
{
    QPointer<ImportOrderModel> adopted = model("A");
    QPointer<ImportOrderModel> refused = model("A");
    add({adopted, refused});
    button("添加订单")->click();
    button("添加订单")->click();
    QList<QPointer<SearchOrderWindow>> pickers;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* picker = qobject_cast<SearchOrderWindow*>(window))
            pickers << picker;
    }
    QCOMPARE(pickers.size(), 2);
    pickers.first()->close();
    QTRY_VERIFY(!pickers.first());

    dialog->close();
    QTRY_VERIFY(!dialog);
    QVERIFY(!adopted);
    QVERIFY(refused);
    QVERIFY(!pickers.last());
}

QTEST_MAIN(TestImportDialog)
#include "tst_importdialog.moc"
