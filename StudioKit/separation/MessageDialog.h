#ifndef MESSAGEDIALOG_H
#define MESSAGEDIALOG_H

#include <QDialog>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;
class Ui_MessageDialog;

// "手机号验证": the staff member proves with a code sent to the phone on
// record that a deletion of order photos may go ahead. Callers create it
// without a parent, show it and connect deleteorderfile() to their startDel();
// it frees itself once closed.
class MessageDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MessageDialog(QWidget* parent = nullptr);
    ~MessageDialog() override;

    bool isAllDigits(QString text);

signals:
    void deleteorderfile();

private slots:
    void on_pushButton_code_clicked();
    void on_pushButton_ok_clicked();
    void on_pushButton_cancel_clicked();
    void timeoutslot();
    void getMessageCodeSlot(QNetworkReply* reply);
    void sumbitCodeSlot(QNetworkReply* reply);

private:
    void post(const QString& url, const QByteArray& body, void (MessageDialog::*replySlot)(QNetworkReply*));
    void showCountdown();

    Ui_MessageDialog* ui;
    QNetworkAccessManager* manager = nullptr;
    int countdown;
    QTimer* timer;
    // A request on its way: further presses of its button are ignored.
    bool codeRequestPending = false;
    bool codeCheckPending = false;
};

#endif
