#ifndef SELECTTOOL_H
#define SELECTTOOL_H

#include "core/ShopInfo.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QNetworkAccessManager;
class QNetworkReply;
namespace Ui { class SelectTool; }

// The launcher: picks the shop, switches the service to it and opens a tool.
class SelectTool : public QWidget
{
    Q_OBJECT
public:
    SelectTool(QList<ShopInfo> shops, QWidget* parent = nullptr);
    ~SelectTool() override;

    void setData();

    // Fills the shop-setting globals from a successful switch reply.
    static void applyShopSettings(QJsonObject reply);
    // Whether the drive of the shop's first root that names one exists.
    bool checkRootPaths();

public slots:
    void closeSearch();
    // Result of the Lyra folder check: the usable stores and the names of
    // the others, joined by ",".
    void slt_lyrastores(QJsonArray storeables, QString msg);

private slots:
    void on_pushButton_clicked();
    void queryCallBack(QNetworkReply* reply);
    void on_pb_synctolyra_clicked();
    void query_storeslyrapaths(QNetworkReply* reply);

private:
    void openChosenTool();
    void showToolWindow(QWidget* window);
    // The id of the shop chosen in the combo box; false (with a box) when
    // the list is empty.
    bool chosenShopId(QString* id);
    void req_syncToLyraPath();

    QNetworkAccessManager* manager = nullptr;
    QList<ShopInfo> shops;
    QStringList shopNames;
    QStringList shopIds;
    Ui::SelectTool* ui;
    QButtonGroup* buttonGroup;
    bool syncBusy = false;
    // The shop whose stores the running Lyra check tests.
    QString lyraShopId;
};

#endif
