#include "separation/OrderSearchForm.h"

#include <QDialog>

void OrderSearchForm::setupUi(QDialog* window, const QString& objectName, const QSize& size)
{
    // The generated setupUi names the window only when it has no name yet.
    window->setObjectName(objectName);
    Ui::SearchOrder::setupUi(window);
    window->resize(size);
}
