#include "QtChineseTexts.h"
#include "updatedlg.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtChineseTexts::install();
    updateDlg dialog;
    dialog.show();
    return app.exec();
}
