#include "app/Login.h"
#include "QtChineseTexts.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QApplication app(argc, argv);
    QtChineseTexts::install();
    QApplication::setApplicationName(QStringLiteral("澜叶软件-影务通"));
    QApplication::setOrganizationDomain(QStringLiteral("com.lanye.yingwutong"));
    Login login(nullptr);
    login.show();
    return app.exec();
}
