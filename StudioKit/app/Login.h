#ifndef LOGIN_H
#define LOGIN_H

#include "core/ShopInfo.h"
#include "widgets/WindowDrag.h"

#include <QDialog>
#include <QJsonObject>
#include <QList>

class QNetworkAccessManager;
class QNetworkReply;
namespace Ui { class Login; }

// The frameless sign-in window the program starts with.
class Login : public QDialog
{
    Q_OBJECT
public:
    explicit Login(QWidget* parent = nullptr);
    ~Login() override;

    void loadUserInfo();
    void loginPost();
    void startVersionCheck();

    // The product label, with the test-machine mark when the index URL is a test one.
    static QString versionLabel(const QString& indexUrl);
    static QString credentialFilePath();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private slots:
    void clickLogin();
    void finishedSlot(QNetworkReply* reply);
    void on_pushButton_clicked();
    void httpVersionProbeJson(QJsonObject jsonInfo);

private:
    void backToIdle();
    void saveUserInfo();

    Ui::Login* ui;
    QNetworkAccessManager* m_manager;
    WindowDrag m_drag;
    QList<ShopInfo> m_shops;
};

#endif
