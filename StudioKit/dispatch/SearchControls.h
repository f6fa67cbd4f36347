#ifndef SEARCHCONTROLS_H
#define SEARCHCONTROLS_H

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

class CalendarPicker;
class QKeyEvent;
class QLineEdit;
class QNetworkAccessManager;
class QObject;
class QPushButton;
class QStandardItemModel;
class QWidget;

// What the upload-registration and dispatch windows share above their
// tables: search buttons, Return in their boxes, the keyword box of date
// types, the Excel question, the order models and one network manager per
// request.
class SearchControls
{
public:
    // "检索中..." and disabled while a search is out, "检索" and enabled after.
    static void setBusy(QPushButton* button, bool busy);

    // Return runs the action of the box that has the keyboard focus; every
    // other key (the keypad's Enter and Escape too) does nothing.
    using ReturnAction = QPair<QWidget*, std::function<void()>>;
    static void routeReturn(QKeyEvent* event, const QList<ReturnAction>& boxes);

    // A new search type empties the keyword box; a date type makes it
    // read-only, for the date pop-up to fill. True for a date type.
    static bool changeKeywordType(QLineEdit* box, bool dateType);
    // The date pop-up: no parent, deleted on close, not modal.
    static CalendarPicker* openCalendar();

    // Asks for an Excel file name in the documents folder; the choice is
    // returned, though nothing writes Excel files yet.
    static QString askExcelFileName(QWidget* parent);

    static void setHeaders(QStandardItemModel* model, const QStringList& headers);
    // Replaces the rows of a model (headers stay) with centred texts.
    static void fillCentred(QStandardItemModel* model, const QList<QStringList>& rows);

    // A manager for one request, a child of the window that goes once its
    // reply has finished, so a busy desk does not pile them up.
    static QNetworkAccessManager* newManager(QObject* window);
    // Drops the window's requests still out, before the window goes, so no
    // reply reaches a window half destroyed.
    static void dropRequests(QObject* window);
};

#endif
