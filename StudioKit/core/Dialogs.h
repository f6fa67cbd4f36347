#ifndef DIALOGS_H
#define DIALOGS_H

#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QPair>
#include <QString>

class DialogRecorder;

// Every message box and file dialog of the program goes through here with the
// arguments it would give Qt, so tests can record and answer them.
class Dialogs
{
public:
    static QMessageBox::StandardButton information(QWidget* parent, const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton warning(QWidget* parent, const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                               QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton question(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No),
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton critical(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    // A box with buttons of its own texts, added in the given order; returns
    // the text of the button clicked (empty when the box was closed otherwise).
    using TextButton = QPair<QString, QMessageBox::ButtonRole>;
    static QString choose(QWidget* parent, const QString& title, const QString& text,
                          const QList<TextButton>& buttons);

    static QString getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir = QString(),
                                        QFileDialog::Options options = QFileDialog::ShowDirsOnly);
    static QString getOpenFileName(QWidget* parent, const QString& caption, const QString& dir = QString(),
                                   const QString& filter = QString());
    static QStringList getOpenFileNames(QWidget* parent, const QString& caption, const QString& dir = QString(),
                                        const QString& filter = QString());
    static QString getSaveFileName(QWidget* parent, const QString& caption, const QString& dir = QString(),
                                   const QString& filter = QString());

    // Not owned; nullptr shows real dialogs again.
    static void setRecorder(DialogRecorder* recorder);

private:
    static QMessageBox::StandardButton box(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton);
};

#endif
