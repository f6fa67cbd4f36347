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

void SelectTool::on_pushButton_clicked()
{
    const int row = ui->comboBox->currentIndex();
    if (row < 0 || row >= shopIds.size()) {
        Dialogs::information(this, QStringLiteral("警告"), QStringLiteral("没有可切换的店铺，请联系管理员"),
                             QMessageBox::Yes, QMessageBox::Yes);
        return;
    }
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &SelectTool::queryCallBack);
    const QByteArray body = FormBody()
                                .add(QStringLiteral("token"), ACCESS_TOKEN)
                                .add(QStringLiteral("shopid"), shopIds.at(row))
                                .add(QStringLiteral("uid"), g_uid)
                                .bytes();
    ServiceCall::postForm(manager, URL_PUBLIC_SWITCH_SHOP, body);
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
    case LyraTool:
        break;
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
