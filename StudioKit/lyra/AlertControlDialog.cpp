#include "lyra/AlertControlDialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpacerItem>
#include <QTextEdit>

AlertControlDialog::AlertControlDialog(QWidget* parent)
    : QDialog(parent)
    , ui(new Form)
{
    if (objectName().isEmpty())
        setObjectName(QStringLiteral("AlertControlDialog"));
    resize(400, 300);
    ui->gridLayout = new QGridLayout(this);
    ui->gridLayout->setObjectName(QStringLiteral("gridLayout"));
    ui->textEdit = new QTextEdit(this);
    ui->textEdit->setObjectName(QStringLiteral("textEdit"));
    ui->gridLayout->addWidget(ui->textEdit, 0, 0);
    ui->horizontalLayout = new QHBoxLayout();
    ui->horizontalLayout->setObjectName(QStringLiteral("horizontalLayout"));
    ui->horizontalSpacer = new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
    ui->horizontalLayout->addItem(ui->horizontalSpacer);
    ui->pushButton = new QPushButton(this);
    ui->pushButton->setObjectName(QStringLiteral("pushButton"));
    ui->horizontalLayout->addWidget(ui->pushButton);
    ui->gridLayout->addLayout(ui->horizontalLayout, 1, 0);

    setWindowTitle(QCoreApplication::translate("AlertControlDialog", "Dialog"));
    ui->textEdit->setHtml(QCoreApplication::translate(
        "AlertControlDialog",
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\" \"http://www.w3.org/TR/REC-html40/strict.dtd\">\n"
        "<html><head><meta name=\"qrichtext\" content=\"1\" /></head>"
        "<body style=\" font-family:'SimSun'; font-size:9pt; font-weight:400; font-style:normal;\">\n"
        "<p style=\"-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; "
        "-qt-block-indent:0; text-indent:0px;\"><br /></p></body></html>"));
    ui->pushButton->setText(QCoreApplication::translate("AlertControlDialog", "清空"));
    QMetaObject::connectSlotsByName(this);
}

AlertControlDialog::~AlertControlDialog()
{
    delete ui;
}

void AlertControlDialog::appendText(QString str)
{
    ui->textEdit->append(QStringLiteral("\n"));
    ui->textEdit->append(str);
}

void AlertControlDialog::slt_apptxt(QString str)
{
    appendText(str);
}

void AlertControlDialog::slt_apptxt2(QString str)
{
    appendText(str);
}

void AlertControlDialog::on_pushButton_clicked()
{
    ui->textEdit->setText(QString());
}
