#ifndef CALENDARPICKER_H
#define CALENDARPICKER_H

#include <QWidget>

class QShortcut;

// Small date pop-up: reports the chosen date as "yyyy-MM-dd", or an empty text
// when the user clears it, and closes.
class CalendarPicker : public QWidget
{
    Q_OBJECT
public:
    explicit CalendarPicker(QWidget* parent = nullptr);
    ~CalendarPicker() override;

signals:
    void urgentDate(QString date);

private slots:
    void on_pushButton_clicked();
    void on_pushButton_2_clicked();

private:
    struct Form;
    Form* ui;
    QShortcut* m_returnShortcut;
};

#endif
