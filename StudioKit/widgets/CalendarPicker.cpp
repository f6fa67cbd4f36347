#include "widgets/CalendarPicker.h"

#include <QCalendarWidget>
#include <QDate>
#include <QPushButton>
#include <QShortcut>

struct CalendarPicker::Form
{
    QCalendarWidget* calendarWidget;
    QPushButton* pushButton;
    QPushButton* pushButton_2;
};

static QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return button;
}

CalendarPicker::CalendarPicker(QWidget* parent)
    : QWidget(parent)
    , ui(new Form)
{
    setObjectName(QStringLiteral("CalendarPicker"));
    setFixedSize(375, 243);

    ui->calendarWidget = new QCalendarWidget(this);
    ui->calendarWidget->setObjectName(QStringLiteral("calendarWidget"));
    ui->calendarWidget->setGeometry(0, 0, 375, 201);
    ui->pushButton = makeButton(this, QStringLiteral("pushButton"), QStringLiteral("确认"), QRect(83, 210, 91, 32));
    ui->pushButton_2 = makeButton(this, QStringLiteral("pushButton_2"), QStringLiteral("清除"), QRect(210, 210, 91, 32));
    QMetaObject::connectSlotsByName(this);

    setWindowTitle(QStringLiteral("日历"));

    m_returnShortcut = new QShortcut(QKeySequence(Qt::Key_Return), this, nullptr, nullptr, Qt::WindowShortcut);
    connect(m_returnShortcut, &QShortcut::activated, this, &CalendarPicker::on_pushButton_clicked);
}

CalendarPicker::~CalendarPicker()
{
    delete ui;
    delete m_returnShortcut;
}

void CalendarPicker::on_pushButton_clicked()
{
    emit urgentDate(ui->calendarWidget->selectedDate().toString(QStringLiteral("yyyy-MM-dd")));
    close();
}

void CalendarPicker::on_pushButton_2_clicked()
{
    emit urgentDate(QStringLiteral(""));
    close();
}
