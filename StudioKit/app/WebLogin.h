#ifndef WEBLOGIN_H
#define WEBLOGIN_H

#include "core/ShopInfo.h"
#include "widgets/WindowDrag.h"

#include <QJsonObject>
#include <QList>
#include <QUrl>
#include <QWidget>

namespace Ui { class WebLogin; }

// Sign-in through the service's web login page: the page reports the login
// result as a JSON object in its title.
class WebLogin : public QWidget
{
    Q_OBJECT
public:
    explicit WebLogin(QWidget* parent = nullptr);
    ~WebLogin() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private slots:
    void getUrl(QUrl url);
    void getTile(QString title);
    void webloadProgress(int progress);
    void on_pushButton_clicked();
    void httpVersionProbeJson(QJsonObject jsonInfo);
    void refreshWeb();

private:
    static QString loginPageUrl();

    QList<ShopInfo> shops;
    Ui::WebLogin* ui;
    WindowDrag m_drag;
};

#endif
