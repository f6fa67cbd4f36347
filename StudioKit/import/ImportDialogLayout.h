#ifndef IMPORTDIALOGLAYOUT_H
#define IMPORTDIALOGLAYOUT_H

#include "import/ImportedFileList.h"
#include "import/OrderInfoPanel.h"

class QAction;
class QButtonGroup;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;
class QTableWidget;
class QVBoxLayout;

// The widgets of the batch import window, built in code and kept by pointer
// the way a Designer form's Ui class keeps them: the type radios and the
// order table on the left; the mode title, the order's details, the suffix
// edits and the chosen and imported files on the right. The window's
// widgets own them all; the window connects them to its slots. Nothing here
// reacts to the user.
//
//     ImportDialogLayout ui;
//     ui.initUI(dialog);
//     connect(ui.importAllBtn, &QPushButton::clicked, ...);
class ImportDialogLayout
{
public:
    // Lays the widgets out in `dialog`, the type "导入成品/精修" checked.
    void initUI(QDialog* dialog);

    QSplitter* mainSpliter = nullptr;
    QFrame* leftFrame = nullptr;
    QFrame* rightFrame = nullptr;
    // Radio ids are the import types.
    QButtonGroup* typeGroup = nullptr;
    QTableWidget* ordersTableWgt = nullptr;
    QPushButton* videoBtn = nullptr;
    QPushButton* addOrderBtn = nullptr;
    QPushButton* importAllBtn = nullptr;
    QPushButton* selectAllBtn = nullptr;
    QPushButton* cancelAllBtn = nullptr;
    QPushButton* delSelectedBtn = nullptr;
    QMenu* tableMenu = nullptr;
    QAction* openOrderPathAction = nullptr;
    QLabel* rightTitle = nullptr;
    OrderInfoPanel infoPanel;
    QLineEdit* folderSuffixEdit = nullptr;
    QLineEdit* imageSuffixEdit = nullptr;
    // Kept per order but never shown: the folder name uses the order number.
    QLineEdit* orderPrefixEdit = nullptr;
    QTableWidget* selectedTable = nullptr;
    ImportedFileList importedFiles;

private:
    void initOrderTable(QVBoxLayout* box);
    void initSelectedList(QVBoxLayout* box);
};

#endif
