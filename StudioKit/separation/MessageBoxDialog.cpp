#include "separation/MessageBoxDialog.h"
#include "ui_MessageBoxDialog.h"

#include "core/Dialogs.h"
#include "files/SafeFileWriter.h"
#include "separation/RunSummary.h"

#include <QTextCodec>

MessageBoxDialog::MessageBoxDialog(QWidget* parent) : QDialog(parent), ui(new Ui_MessageBoxDialog)
{
    ui->setupUi(this);
    // Nothing keeps a reference to the window once it is shown.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("提示:   分件成功!"));
    ui->textEdit->setStyleSheet(
        QStringLiteral("QTextEdit{background-color:rgba(255, 255, 255, 0);border-style: solid;border-width: 0px;}"));
}

MessageBoxDialog::~MessageBoxDialog()
{
    delete ui;
}

void MessageBoxDialog::setText(QString text, QString saveName)
{
    if (text.isEmpty()) {
        ui->textEdit->setFixedHeight(120);
        ui->textEdit->setText(QStringLiteral("分件成功!"));
        ui->pushButton_close->setText(QStringLiteral("确认"));
        ui->pushButton_save->hide();
        return;
    }
    m_text = text;
    m_saveName = saveName;
    ui->textEdit->setText(text);
}

MessageBoxDialog* MessageBoxDialog::showRunSummary(const QList<SeparateMessage>& messages, const QString& root,
                                                   const QDate& today)
{
    auto* dialog = new MessageBoxDialog(nullptr);
    dialog->setText(RunSummary::text(messages), RunSummary::saveName(messages, root, today));
    dialog->setWindowTitle(RunSummary::title(messages));
    dialog->setModal(true);
    dialog->show();
    return dialog;
}

void MessageBoxDialog::on_pushButton_close_clicked()
{
    close();
}

void MessageBoxDialog::on_pushButton_save_clicked()
{
    const QString fileName = Dialogs::getSaveFileName(this, tr("另存为"), m_saveName, tr("文本 (*.txt)"));
    if (!fileName.isEmpty()) {
        // The system's 8-bit encoding, as other programs there read text files.
        const QByteArray bytes = QTextCodec::codecForLocale()->fromUnicode(m_text);
        if (!SafeFileWriter::writeFile(fileName, bytes)) {
            Dialogs::warning(this, QStringLiteral("警告"), QStringLiteral("无法保存文件：") + fileName);
            return;
        }
    }
    close();
}
