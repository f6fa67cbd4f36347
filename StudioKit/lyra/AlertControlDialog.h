#ifndef ALERTCONTROLDIALOG_H
#define ALERTCONTROLDIALOG_H

#include <QDialog>
#include <QString>

class QGridLayout;
class QHBoxLayout;
class QPushButton;
class QSpacerItem;
class QTextEdit;

// A small log window: messages pile up in a scrolling text area until the
// user clears them. Workers post to it by a queued call of "slt_apptxt".
class AlertControlDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AlertControlDialog(QWidget* parent = nullptr);
    ~AlertControlDialog() override;

    void appendText(QString str);

public slots:
    void slt_apptxt(QString str);
    void slt_apptxt2(QString str);

private slots:
    void on_pushButton_clicked();

private:
    // The widgets, built in code; they are children of the dialog.
    struct Form {
        QGridLayout* gridLayout;
        QHBoxLayout* horizontalLayout;
        QSpacerItem* horizontalSpacer;
        QPushButton* pushButton;
        QTextEdit* textEdit;
    };
    Form* ui;
};

#endif
