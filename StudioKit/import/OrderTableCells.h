#ifndef ORDERTABLECELLS_H
#define ORDERTABLECELLS_H

#include <QList>
#include <QString>
#include <Qt>

class ImportOrderModel;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// The cells of the import window's order table: one row per order, columns
// 3 to 5 holding the import state, a frame with the select button and its
// label, and a frame with a progress bar and its label.
namespace OrderTableCells {

enum Column { NumberColumn = 0, ShopColumn, NamesColumn, StateColumn, SelectColumn, ProgressColumn };

// A table of these six columns, headers and widths, one row selected at once.
QTableWidget* newOrderTable();

QTableWidgetItem* centredItem(const QString& text);
// "已导入(%1)" with the number of files an order has in the type, or "未导入".
QString importStateText(int importedCount);
// Fills a row for an order in an import type: its number with the check mark
// cleared, shop, names, state, a select button with "未选", and the progress.
// Only an order imported in the type shows its files as chosen and done; a
// choice not yet imported is not shown, and the Lyra type has no counts.
// Returns the new select button, which carries the row as property "row".
QPushButton* fillOrderRow(QTableWidget* table, int row, const ImportOrderModel* order, int type);
// The frame of column 4 around `button` and `label`.
QFrame* selectCell(QPushButton* button, QLabel* label);
// The frame of column 5 around `progressBar` and `label`.
QFrame* progressCell(QProgressBar* progressBar, QLabel* label);

// The label of a row's frame in column 4 or 5, or null.
QLabel* label(const QTableWidget* table, int row, int column);
QProgressBar* progressBar(const QTableWidget* table, int row);
// Shows a value in a row's progress bar (with a new range unless `maximum`
// is negative) and the text in its label.
void showProgress(const QTableWidget* table, int row, int value, int maximum, const QString& text);
// Shows a row as neither imported nor chosen, its progress at "0/0".
void showNotImported(const QTableWidget* table, int row);

void setAllChecks(const QTableWidget* table, Qt::CheckState state);
// Rows with their check mark set, top down.
QList<int> checkedRows(const QTableWidget* table);
// Gives each select button its row again after rows were removed.
void renumberRows(const QTableWidget* table);

} // namespace OrderTableCells

#endif
