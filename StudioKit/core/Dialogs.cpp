#include "core/Dialogs.h"

#include "core/DialogRecorder.h"

#include <QAbstractButton>

namespace {
DialogRecorder* g_dialogRecorder = nullptr;
}

void Dialogs::setRecorder(DialogRecorder* recorder)
{
    g_dialogRecorder = recorder;
}

QMessageBox::StandardButton Dialogs::box(QMessageBox::Icon icon, QWidget* parent, const QString& title,
                                         const QString& text, QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton)
{
    if (g_dialogRecorder)
        return g_dialogRecorder->answerBox({icon, parent, parent != nullptr, title, text, buttons, defaultButton});
    switch (icon) {
    case QMessageBox::Warning:
        return QMessageBox::warning(parent, title, text, buttons, defaultButton);
    case QMessageBox::Question:
        return QMessageBox::question(parent, title, text, buttons, defaultButton);
    case QMessageBox::Critical:
        return QMessageBox::critical(parent, title, text, buttons, defaultButton);
    default:
        return QMessageBox::information(parent, title, text, buttons, defaultButton);
    }
}

QMessageBox::StandardButton Dialogs::information(QWidget* parent, const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return box(QMessageBox::Information, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton Dialogs::warning(QWidget* parent, const QString& title, const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton defaultButton)
{
    return box(QMessageBox::Warning, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton Dialogs::question(QWidget* parent, const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    return box(QMessageBox::Question, parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton Dialogs::critical(QWidget* parent, const QString& title, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton)
{
    return box(QMessageBox::Critical, parent, title, text, buttons, defaultButton);
}

QString Dialogs::choose(QWidget* parent, const QString& title, const QString& text, const QList<TextButton>& buttons)
{
    QStringList texts;
    for (const TextButton& button : buttons)
        texts << button.first;
    if (g_dialogRecorder) {
        DialogRecorder::Box box{QMessageBox::NoIcon, parent, parent != nullptr, title, text,
                                QMessageBox::NoButton, QMessageBox::NoButton};
        box.buttonTexts = texts;
        return g_dialogRecorder->answerChoice(box);
    }
    QMessageBox messageBox(parent);
    messageBox.setWindowTitle(title);
    messageBox.setText(text);
    for (const TextButton& button : buttons)
        messageBox.addButton(button.first, button.second);
    messageBox.exec();
    const QAbstractButton* clicked = messageBox.clickedButton();
    return clicked ? clicked->text() : QString();
}

QString Dialogs::getExistingDirectory(QWidget* parent, const QString& caption, const QString& dir,
                                      QFileDialog::Options options)
{
    if (g_dialogRecorder) {
        const QStringList answer = g_dialogRecorder->answerFileDialog(
            {DialogRecorder::FileDialogKind::ExistingDirectory, caption, dir, QString()});
        return answer.value(0);
    }
    return QFileDialog::getExistingDirectory(parent, caption, dir, options);
}

QString Dialogs::getOpenFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    if (g_dialogRecorder) {
        const QStringList answer = g_dialogRecorder->answerFileDialog(
            {DialogRecorder::FileDialogKind::OpenFileName, caption, dir, filter});
        return answer.value(0);
    }
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QStringList Dialogs::getOpenFileNames(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filter)
{
    if (g_dialogRecorder)
        return g_dialogRecorder->answerFileDialog({DialogRecorder::FileDialogKind::OpenFileNames, caption, dir, filter});
    return QFileDialog::getOpenFileNames(parent, caption, dir, filter);
}

QString Dialogs::getSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    if (g_dialogRecorder) {
        const QStringList answer = g_dialogRecorder->answerFileDialog(
            {DialogRecorder::FileDialogKind::SaveFileName, caption, dir, filter});
        return answer.value(0);
    }
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}
