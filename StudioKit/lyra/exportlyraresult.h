#ifndef EXPORTLYRARESULT_H
#define EXPORTLYRARESULT_H

#include "core/OrderItemInfo.h"
#include "separation/OrderSearchType.h"
#include "separation/StoreSelection.h"

#include <QByteArray>
#include <QDialog>
#include <QJsonObject>
#include <QList>
#include <QModelIndex>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <memory>

class CallbackGuard;
class Lyrathread;
class OrderSearchForm;
class OrderTable;
class QAction;
class QMenu;
class QNetworkAccessManager;
class QNetworkReply;
class QStandardItemModel;

// The Lyra separation tool "Lyra分件": searches orders as the after-sample
// tool does and exports the finished Lyra selections of the ticked orders
// into a dated tree under the chosen root, through its Lyrathread, ending
// with a coloured report. Opened by the launcher, which shows it maximised
// and then calls setToolName.
class ExportLyraResult : public QDialog
{
    Q_OBJECT
    // The name the launcher gave the tool, for those who check it.
    Q_PROPERTY(QString toolName MEMBER toolName)
public:
    explicit ExportLyraResult(QWidget* parent = nullptr);
    ~ExportLyraResult() override;

    // The ten search types of the combo, in combo order: the after-sample
    // rows without the design-assignment date.
    static const QList<OrderSearchType>& lyraSearchTypes();

    void setToolName(QString name);
    bool hasCheckedOrder();
    void fillOrderTable();
    void loadSeparatePath();

public slots:
    // Called by the export by name, queued.
    void slt_exportLyraResult(QJsonObject msgObjc);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void clickCancel();
    void clickSearch();
    void queryCallBack(QNetworkReply* reply);
    void openOrderDir();
    void showMouseRightButton(QPoint pos);
    void on_selectPathButton_clicked();
    void on_tableView_clicked(QModelIndex index);
    void on_pushButton_selectAll_clicked();
    void on_pushButton_selectOpposite_clicked();
    void on_pushButton_separate_clicked();

private:
    void postDataFunc(QByteArray& body);

    QStringList searchTypes;
    // Open until the window closes: an export that outlives it reports to no one.
    std::shared_ptr<CallbackGuard> isWindowShow;
    QAction* openDirAction = nullptr;
    QMenu* contextMenu = nullptr;
    QList<OrderItemInfo> m_orderList;
    OrderSearchForm* ui;
    QStandardItemModel* model = nullptr;
    QNetworkAccessManager* manager = nullptr;
    QString toolName;
    bool isSeparating = false;
    Lyrathread* lyraThread;

    StoreSelection m_stores;
    std::unique_ptr<OrderTable> m_table;
};

#endif
