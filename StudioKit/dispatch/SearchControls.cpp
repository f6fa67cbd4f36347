#include "dispatch/SearchControls.h"

#include "core/Dialogs.h"
#include "widgets/CalendarPicker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStandardPaths>

void SearchControls::setBusy(QPushButton* button, bool busy)
{
    button->setText(busy ? QStringLiteral("检索中...") : QStringLiteral("检索"));
    button->setEnabled(!busy);
}

void SearchControls::routeReturn(QKeyEvent* event, const QList<ReturnAction>& boxes)
{
    if (event->key() != Qt::Key_Return)
        return;
    for (const ReturnAction& box : boxes) {
        if (box.first->hasFocus()) {
            box.second();
            return;
        }
    }
}

bool SearchControls::changeKeywordType(QLineEdit* box, bool dateType)
{
    box->clear();
    box->setReadOnly(dateType);
    return dateType;
}

CalendarPicker* SearchControls::openCalendar()
{
    auto* picker = new CalendarPicker(nullptr);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    picker->show();
    return picker;
}

QString SearchControls::askExcelFileName(QWidget* parent)
{
    return Dialogs::getSaveFileName(parent, QStringLiteral("保存"),
                                    QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                    QStringLiteral("Excel 文件(*.xls *.xlsx)"));
}

void SearchControls::setHeaders(QStandardItemModel* model, const QStringList& headers)
{
    for (int column = 0; column < headers.size(); ++column)
        model->setHorizontalHeaderItem(column, new QStandardItem(headers.at(column)));
}

void SearchControls::fillCentred(QStandardItemModel* model, const QList<QStringList>& rows)
{
    model->removeRows(0, model->rowCount());
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList& texts = rows.at(row);
        for (int column = 0; column < texts.size(); ++column) {
            auto* item = new QStandardItem(texts.at(column));
            item->setTextAlignment(Qt::AlignCenter);
            model->setItem(row, column, item);
        }
    }
}

QNetworkAccessManager* SearchControls::newManager(QObject* window)
{
    auto* manager = new QNetworkAccessManager(window);
    QObject::connect(manager, &QNetworkAccessManager::finished, manager, &QObject::deleteLater);
    return manager;
}

void SearchControls::dropRequests(QObject* window)
{
    const auto managers = window->findChildren<QNetworkAccessManager*>(QString(), Qt::FindDirectChildrenOnly);
    for (QNetworkAccessManager* manager : managers) {
        manager->disconnect(window);
        delete manager;
    }
}
