#ifndef ORDERINFOPANEL_H
#define ORDERINFOPANEL_H

class ImportOrderModel;
class QGridLayout;
class QLabel;
class QPushButton;

// The details of the order last clicked in the import window: twelve values
// in three label pairs a row, the order's folder with "重新导片", its backup
// and Lyra folders, and the buttons that open the folder. Built into the
// window's grid, whose widgets own the labels; the window connects the
// buttons and reads the folder shown.
//
//     OrderInfoPanel info;
//     info.initInfoPanel(grid);
//     info.showOrder(*order);
class OrderInfoPanel
{
public:
    void initInfoPanel(QGridLayout* grid);
    // The order's details and folders; the baby's name only for baby photos.
    void showOrder(const ImportOrderModel& order);
    // Empties the twelve values and the two order folders (the Lyra folder
    // keeps its text); with no order shown there is nothing to re-import.
    void clear();

    QLabel* orderPathValue = nullptr;
    QLabel* orderBakPathValue = nullptr;
    QLabel* orderLyraPathValue = nullptr;
    QPushButton* reImportBtn = nullptr;
    QPushButton* openPathBtn = nullptr;
    QPushButton* openOriginPathBtn = nullptr;

private:
    QLabel* orderNumberValue = nullptr;
    QLabel* photoTypeValue = nullptr;
    QLabel* serviceTimesValue = nullptr;
    QLabel* womanNameValue = nullptr;
    QLabel* manNameValue = nullptr;
    QLabel* babyNameTitle = nullptr;
    QLabel* babyNameValue = nullptr;
    QLabel* comboNameValue = nullptr;
    QLabel* bookShopValue = nullptr;
    QLabel* dealDateValue = nullptr;
    QLabel* photographerValue = nullptr;
    QLabel* makeupValue = nullptr;
    QLabel* yindouerValue = nullptr;
};

#endif
