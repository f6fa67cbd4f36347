#ifndef ORDERTABLECELLS_H
#define ORDERTABLECELLS_H

#include <QString>

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

} // namespace OrderTableCells

#endif
