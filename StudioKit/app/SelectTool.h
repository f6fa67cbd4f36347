#ifndef SELECTTOOL_H
#define SELECTTOOL_H

#include "core/ShopInfo.h"

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

private slots:
    void on_pushButton_clicked();
    void queryCallBack(QNetworkReply* reply);

private:
    void openChosenTool();
    void showToolWindow(QWidget* window);

    QNetworkAccessManager* manager = nullptr;
    QList<ShopInfo> shops;
    QStringList shopNames;
    QStringList shopIds;
    Ui::SelectTool* ui;
    QButtonGroup* buttonGroup;
    bool syncBusy = false;
};

#endif
