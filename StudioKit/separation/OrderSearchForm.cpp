#include "separation/OrderSearchForm.h"

#include "core/Dialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>

void OrderSearchForm::setupUi(QDialog* window, const QString& objectName, const QSize& size)
{
    // The generated setupUi names the window only when it has no name yet.
    window->setObjectName(objectName);
    Ui::SearchOrder::setupUi(window);
    window->resize(size);
}

void OrderSearchForm::chooseSeparationRoot(QDialog* window)
{
    const QString folder = Dialogs::getExistingDirectory(
        window, QCoreApplication::translate("OrderSearchForm", "选择分件保存路径"), QString(),
        QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        pathLineEdit->setText(folder);
}
