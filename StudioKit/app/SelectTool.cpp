#include "app/SelectTool.h"
#include "ui_SelectTool.h"

#include "core/Dialogs.h"
#include "core/FormBody.h"
#include "core/Globals.h"
#include "core/ServiceCall.h"
#include "dispatch/FaJianDialog.h"
#include "dispatch/shangjiandialog.h"
#include "files/FileOperation.h"
#include "import/importordersphotodlg.h"
#include "lyra/exportlyraresult.h"
#include "lyra/lyrasyncbaseinfodialog.h"
#include "lyra/lyrathread.h"
#include "separation/BatchDeleteOrder.h"
#include "separation/searchorder.h"
#include "separation/splitaftersample.h"
#include "Platform.h"

#include <QButtonGroup>
#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>

namespace {
enum ToolId { SeparatePhotosTool = 1, ShangJianTool = 2, FaJianTool = 3, ImportTool = 4, BatchDeleteTool = 5, AfterSampleTool = 6, LyraTool = 7 };

// The sync button's text doubles as the marker of a running folder check.
const QString kSyncIdleText = QStringLiteral("同步全部员工/产品到Lyra");
const QString kSyncBusyText = QStringLiteral("同步全部员工/产品到Lyra,解析数据中,请稍后...");
}

SelectTool::SelectTool(QList<ShopInfo> shopList, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::SelectTool)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("选择工具"));
    buttonGroup = new QButtonGroup(this);
    buttonGroup->addButton(ui->importPicRadio, ImportTool);
    buttonGroup->addButton(ui->radioButton_separatePhotos, SeparatePhotosTool);
    buttonGroup->addButton(ui->radioButton_yhfj, AfterSampleTool);
    buttonGroup->addButton(ui->rb_plsc, BatchDeleteTool);
    shops = shopList;
    ui->w_lyra->setVisible(true);
    buttonGroup->addButton(ui->rb_lyrafj, LyraTool);
    setData();
}

SelectTool::~SelectTool()
{
    delete ui;
    delete buttonGroup;
}

void SelectTool::setData()
{
    for (const ShopInfo& shop : qAsConst(shops)) {
        qDebug() << "dsfsname==" << shop.name;
        qDebug() << "id==" << shop.id;
        shopNames << shop.name;
        shopIds << shop.id;
    }
    ui->comboBox->addItems(shopNames);
}

void SelectTool::closeSearch()
{
    show();
}

bool SelectTool::chosenShopId(QString* id)
{
    const int row = ui->comboBox->currentIndex();
    if (row < 0 || row >= shopIds.size()) {
        Dialogs::information(this, QStringLiteral("警告"), QStringLiteral("没有可切换的店铺，请联系管理员"),
                             QMessageBox::Yes, QMessageBox::Yes);
        return false;
    }
    *id = shopIds.at(row);
    return true;
}

void SelectTool::on_pushButton_clicked()
{
    QString shopId;
    if (!chosenShopId(&shopId))
        return;
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &SelectTool::queryCallBack);
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("shopid"), shopId)
                                .add(QStringLiteral("uid"), g_uid)
                                .bytes();
    ServiceCall::postForm(manager, URL_PUBLIC_SWITCH_SHOP, body);
}

void SelectTool::on_pb_synctolyra_clicked()
{
    req_syncToLyraPath();
}

void SelectTool::req_syncToLyraPath()
{
    if (ui->pb_synctolyra->text() != kSyncIdleText || syncBusy)
        return;
    QString shopId;
    if (!chosenShopId(&shopId))
        return;
    syncBusy = true;
    lyraShopId = shopId;
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &SelectTool::query_storeslyrapaths);
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("shopid"), shopId)
                                .add(QStringLiteral("uid"), g_uid)
                                .bytes();
    qDebug() << "获取需要导入Lyra的员工和产品 url==" << URL_LYRA_GETLYRASET;
    ServiceCall::postForm(manager, URL_LYRA_GETLYRASET, body);
}

void SelectTool::query_storeslyrapaths(QNetworkReply* reply)
{
    syncBusy = false;
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return;
    qDebug().noquote() << "query order Json:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    const QString code = object.take(QStringLiteral("code")).toString();
    const QString message = object.take(QStringLiteral("message")).toString();
    qDebug() << "lyra的各个分店的数据===" << object;
    if (code != QLatin1String("1")) {
        Dialogs::information(nullptr, QStringLiteral("警告"), message, QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    ui->pb_synctolyra->setText(kSyncBusyText);
    // Folder tests on unreachable shares block: they run on the worker. It
    // deletes itself when done, so closing the launcher never destroys it
    // running; its report then finds no receiver.
    auto* worker = new Lyrathread(this, nullptr);
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->stores = object.value(QStringLiteral("stores")).toArray();
    worker->mode = QStringLiteral("stores");
    worker->start(QThread::InheritPriority);
}

void SelectTool::slt_lyrastores(QJsonArray storeables, QString msg)
{
    ui->pb_synctolyra->setText(kSyncIdleText);
    if (storeables.isEmpty()) {
        Dialogs::information(nullptr, QStringLiteral("温馨提示"),
                             QStringLiteral("没有门店的Lyra服务路径在和本机在同一局域网中,不能同步到Lyra！"),
                             QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    if (!msg.isEmpty()) {
        const QString clicked = Dialogs::choose(
            nullptr, QString(), msg + QStringLiteral(" 的Lyra路径和本机不在同一局域网不能同步到Lyra"),
            {{QStringLiteral("确定同步"), QMessageBox::YesRole}, {QStringLiteral("取消"), QMessageBox::NoRole}});
        if (clicked == QStringLiteral("取消"))
            return;
    }
    auto* dialog = new LyraSyncBaseInfoDialog(nullptr);
    dialog->stores = storeables;
    // The stores came from this shop's request, whatever the combo shows now.
    dialog->shopId = lyraShopId;
    dialog->setModal(true);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void SelectTool::queryCallBack(QNetworkReply* reply)
{
    reply->deleteLater();
    QJsonObject object;
    if (!ServiceCall::readReply(reply, &object))
        return;
    qDebug().noquote() << "query order Json:" << QJsonDocument(object).toJson(QJsonDocument::Indented);
    const QString code = object.take(QStringLiteral("code")).toString();
    const QString message = object.take(QStringLiteral("message")).toString();
    qDebug() << "Data===" << object;
    if (code != QLatin1String("1")) {
        Dialogs::information(nullptr, QStringLiteral("警告"), message, QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    // A JSON number on purpose: any other type means no permission.
    const int mayDeleteAll = object.value(QStringLiteral("is_all_del_photo")).toInt();
    if (buttonGroup->checkedId() == BatchDeleteTool && mayDeleteAll == 0) {
        Dialogs::information(nullptr, QStringLiteral("警告"), QStringLiteral("暂无权限，请联系管理员开通"),
                             QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    applyShopSettings(object);
    openChosenTool();
}

void SelectTool::applyShopSettings(QJsonObject reply)
{
    const auto text = [&reply](const char* key) { return reply.value(QLatin1String(key)).toString(); };
    g_isShowSubproduct = text("isshow_subproduct");
    g_superId = text("SUPERID");
    g_eid = text("EID");
    g_shopId = text("SHOPID");
    const bool muheLayout = g_shopId == QLatin1String("77") || g_shopId == QLatin1String("162");
    g_separateModeName = muheLayout ? QStringLiteral("沐禾分件") : QString();
    g_markDirName = muheLayout ? QStringLiteral("01标注") : QStringLiteral("标注");
    g_productDirName = muheLayout ? QStringLiteral("02底片") : QStringLiteral("成品");
    g_lyraBigImg = text("lyrabigimg");
    g_lyraIsDownloadAll = text("lyraisdownloadall");
    g_shopName = text("SHOPNAME");
    g_yptbcp = text("yptbcp");
    g_xztp = text("xztp");
    g_sjfjxz = text("sjfjxz");
    g_storeNames.clear();
    g_storeIds.clear();
    const QJsonArray stores = reply.take(QStringLiteral("stores")).toArray();
    for (const QJsonValue& value : stores) {
        QJsonObject store = value.toObject();
        g_storeNames << store.take(QStringLiteral("name")).toString();
        g_storeIds << store.take(QStringLiteral("id")).toString();
    }
    g_picPath = text("picpath");
    g_bakPicPath = text("bakpicpath");
    g_homePicPath = text("homepicpath");
}

void SelectTool::openChosenTool()
{
    const int toolId = buttonGroup->checkedId();
    qDebug() << "checkedId:" << toolId;
    switch (toolId) {
    case ImportTool:
        if (checkRootPaths()) {
            auto* importDialog = new importOrdersPhotoDlg(nullptr);
            importDialog->setWindowFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
                                         | Qt::WindowCloseButtonHint);
            importDialog->showMaximized();
        }
        break;
    // No launcher button carries these two ids; a window is made only when chosen.
    case ShangJianTool:
        showToolWindow(new ShangJianDialog(nullptr));
        break;
    case FaJianTool:
        showToolWindow(new FaJianDialog(nullptr));
        break;
    case AfterSampleTool: {
        g_sjfjxz = QStringLiteral("1");
        auto* afterSample = new SplitAfterSample(nullptr);
        showToolWindow(afterSample);
        afterSample->setToolName(QStringLiteral("样后分件管理"));
        break;
    }
    case SeparatePhotosTool: {
        auto* separation = new SearchOrder(nullptr);
        separation->setAttribute(Qt::WA_DeleteOnClose);
        separation->showMaximized();
        separation->setToolName(QStringLiteral("分件管理"));
        break;
    }
    case BatchDeleteTool:
        showToolWindow(new BatchDeleteOrder(nullptr));
        break;
    case LyraTool: {
        auto* lyra = new ExportLyraResult(nullptr);
        showToolWindow(lyra);
        lyra->setToolName(QStringLiteral("Lyra分件"));
        break;
    }
    default:
        Dialogs::information(this, QStringLiteral("警告"), QStringLiteral("请选择一个工具"), QMessageBox::Yes,
                             QMessageBox::Yes);
        break;
    }
}

void SelectTool::showToolWindow(QWidget* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->showMaximized();
}

bool SelectTool::checkRootPaths()
{
    const QList<QPair<QString, QString>> roots = {
        {g_picPath, QStringLiteral("导片路径 \"%1\" 中的根目录 \"%2\" 不存在 \n%3")},
        {g_bakPicPath, QStringLiteral("备份路径 \"%1\" 中的根目录 \"%2\" 不存在 \n%3")},
        {g_homePicPath, QStringLiteral("家居效果路径 \"%1\" 中的根目录 \"%2\" 不存在 \n%3")},
    };
    Platform& platform = Platform::instance();
    for (const auto& root : roots) {
        const QString& path = root.first;
        if (!platform.namesDrive(path))
            continue;
        // Only the first root on a drive is examined.
        const QString driveRoot = FileOperation::getDriveRoot(path);
        if (platform.driveRootExists(driveRoot))
            return true;
        Dialogs::warning(this, QStringLiteral("警告"),
                         root.second.arg(path, driveRoot, QStringLiteral("(请到店铺后台重新设置)")),
                         QMessageBox::Ok, QMessageBox::NoButton);
        return false;
    }
    return true;
}
