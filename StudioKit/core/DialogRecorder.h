#ifndef DIALOGRECORDER_H
#define DIALOGRECORDER_H

#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

// Stands in for the dialogs while tests run: keeps what each box or file
// dialog would have shown and answers from a script, never blocking.
class DialogRecorder
{
public:
    struct Box {
        QMessageBox::Icon icon;
        QPointer<QWidget> parent;
        bool hadParent;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        // The buttons of a box with own texts (Dialogs::choose), in order.
        QStringList buttonTexts;
    };
    enum class FileDialogKind { ExistingDirectory, OpenFileName, OpenFileNames, SaveFileName };
    struct FileDialog {
        FileDialogKind kind;
        QString caption;
        QString dir;
        QString filter;
    };

    QList<Box> boxes;
    QList<FileDialog> fileDialogs;

    // Answers used in order; an empty queue answers a box with its default
    // button (or, without one, its first button) and a file dialog with nothing.
    QList<QMessageBox::StandardButton> boxAnswers;
    QList<QStringList> fileAnswers;
    // Answers of boxes with own button texts: the text of the button to
    // click; an empty queue clicks the first button.
    QStringList choiceAnswers;

    QMessageBox::StandardButton answerBox(const Box& box);
    QString answerChoice(const Box& box);
    QStringList answerFileDialog(const FileDialog& dialog);

    QStringList texts() const;
    void clear();
};

#endif
