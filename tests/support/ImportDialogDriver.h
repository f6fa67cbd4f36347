#ifndef IMPORTDIALOGDRIVER_H
#define IMPORTDIALOGDRIVER_H

#include "DemoPhotos.h"
#include "import/importordermodel.h"
#include "import/importordersphotodlg.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>

// Drives the import window the way a user does: its buttons by their texts,
// its rows by index. Orders live under one demo root: "server/" photos,
// "backup/" copies and "lyra" for the Lyra store folder.
class ImportDialogDriver
{
public:
    explicit ImportDialogDriver(importOrdersPhotoDlg* dialog)
        : dialog(dialog)
    {
    }

    // An order of the demo root shot on 2024-06-01; its new folder is
    // "2024-06/01/<key>-1-W<key>-R/". Given paths are the service's folders.
    static QJsonObject orderJson(const QString& key, const QString& root, const QString& path = QString(),
                                 const QString& bakPath = QString())
    {
        return {{"order_photo_id", key + "-id"},
                {"orderpayforkey", key},
                {"servicetimes", "1"},
                {"storesname", "澜叶旗舰店"},
                {"wname", "W" + key},
                {"role1", "R"},
                {"booktime", "0"},
                {"shotdate", "2024-06-01"},
                {"orderpath", path},
                {"orderbakpicpath", bakPath},
                {"picpathnew", QJsonObject{{"picpath", root + "/server/"},
                                           {"bakpicpath", root + "/backup/"},
                                           {"homepicpath", root + "/home/"},
                                           {"lyrapath", root + "/lyra"}}}};
    }

    static QString newOrderFolder(const QString& key) { return "2024-06/01/" + key + "-1-W" + key + "-R/"; }

    ImportOrderModel* add(const QJsonObject& json, int type = -1, const QStringList& files = {})
    {
        auto* order = new ImportOrderModel(json, nullptr);
        if (type >= 0)
            order->setSelectedFiles(type, files);
        dialog->getNewOrderSlot({order});
        return order;
    }

    QPushButton* button(const QString& text) const
    {
        for (QPushButton* candidate : dialog->findChildren<QPushButton*>()) {
            if (candidate->text() == text)
                return candidate;
        }
        return nullptr;
    }

    QPushButton* batchButton() const
    {
        QPushButton* found = button("批量导片");
        return found ? found : button("导片中...");
    }

    void chooseType(const QString& text) const
    {
        for (QRadioButton* radio : dialog->findChildren<QRadioButton*>()) {
            if (radio->text() == text)
                radio->click();
        }
    }

    QTableWidget* table() const { return dialog->findChild<QTableWidget*>("ordersTableWgt"); }
    QString state(int row) const { return table()->item(row, 3)->text(); }
    QPushButton* selectButton(int row) const { return table()->cellWidget(row, 4)->findChild<QPushButton*>(); }
    QLabel* selectLabel(int row) const { return table()->cellWidget(row, 4)->findChild<QLabel*>(); }
    QLabel* progressLabel(int row) const { return table()->cellWidget(row, 5)->findChild<QLabel*>(); }
    QProgressBar* progressBar(int row) const { return table()->cellWidget(row, 5)->findChild<QProgressBar*>(); }

    void clickRow(int row) const
    {
        const QRect cell = table()->visualItemRect(table()->item(row, 1));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cell.center());
    }

    importOrdersPhotoDlg* dialog;
};

// A small camera photo, optionally followed by padding that makes the file
// bigger without changing the picture.
inline void writePhoto(const QString& path, int seed, int padding = 0)
{
    writeFile(path, DemoPhotos::jpegWithOrientation(DemoPhotos::samplePicture(160, 120, seed), 1)
                        + QByteArray(padding, '\0'));
}

// A report body with its millisecond timestamp replaced by "T", after
// checking that the stamp lies between `from` and now.
inline QByteArray withoutTimestamp(QByteArray body, qint64 from)
{
    static const QRegularExpression stamp(QStringLiteral("timestamp=([0-9]+)"));
    const QRegularExpressionMatch match = stamp.match(QString::fromUtf8(body));
    if (!match.hasMatch())
        return body;
    const qint64 sent = match.captured(1).toLongLong();
    if (sent < from || sent > QDateTime::currentMSecsSinceEpoch())
        return body;
    return body.replace("timestamp=" + match.captured(1).toUtf8(), "timestamp=T");
}

#endif
