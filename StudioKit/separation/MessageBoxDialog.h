#ifndef MESSAGEBOXDIALOG_H
#define MESSAGEBOXDIALOG_H

#include "separation/SeparateMessage.h"

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

class Ui_MessageBoxDialog;

// The summary window at the end of a separation run: shows what went missing
// and lets the user save that text. It frees itself once closed.
class MessageBoxDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MessageBoxDialog(QWidget* parent = nullptr);
    ~MessageBoxDialog() override;

    // An empty text means nothing to report: "分件成功!" and one "确认".
    void setText(QString text, QString saveName);

    // The end of a run of any separation tool: a modal window without parent
    // for `messages`, proposing the date folder of `today` under `root`;
    // shown without waiting for it.
    static MessageBoxDialog* showRunSummary(const QList<SeparateMessage>& messages, const QString& root,
                                            const QDate& today);

private slots:
    void on_pushButton_close_clicked();
    void on_pushButton_save_clicked();

private:
    Ui_MessageBoxDialog* ui;
    QString m_text;
    QString m_saveName;
};

#endif
