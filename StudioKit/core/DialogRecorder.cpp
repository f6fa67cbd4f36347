#include "core/DialogRecorder.h"

QMessageBox::StandardButton DialogRecorder::answerBox(const Box& box)
{
    boxes << box;
    if (!boxAnswers.isEmpty())
        return boxAnswers.takeFirst();
    if (box.defaultButton != QMessageBox::NoButton)
        return box.defaultButton;
    for (int bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        if (box.buttons.testFlag(QMessageBox::StandardButton(bit)))
            return QMessageBox::StandardButton(bit);
    }
    return QMessageBox::NoButton;
}

QString DialogRecorder::answerChoice(const Box& box)
{
    boxes << box;
    return choiceAnswers.isEmpty() ? box.buttonTexts.value(0) : choiceAnswers.takeFirst();
}

QStringList DialogRecorder::answerFileDialog(const FileDialog& dialog)
{
    fileDialogs << dialog;
    return fileAnswers.isEmpty() ? QStringList() : fileAnswers.takeFirst();
}

QStringList DialogRecorder::texts() const
{
    QStringList result;
    for (const Box& box : boxes)
        result << box.text;
    return result;
}

void DialogRecorder::clear()
{
    boxes.clear();
    fileDialogs.clear();
    boxAnswers.clear();
    fileAnswers.clear();
    choiceAnswers.clear();
}
