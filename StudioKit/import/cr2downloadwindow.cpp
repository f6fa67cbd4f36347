#include "import/cr2downloadwindow.h"

#include "core/Dialogs.h"
#include "import/ImageTimeFile.h"
#include "import/cr2downloadrunnable.h"
#include "ui_cr2downloadwindow.h"

CR2DownLoadWindow::CR2DownLoadWindow(QWidget* parent) : QWidget(parent), ui(new Ui_CR2DownLoadWindow)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("正在下载照片..."));
    setWindowFlags((windowFlags() & ~Qt::WindowCloseButtonHint & ~Qt::WindowContextHelpButtonHint)
                   | Qt::MSWindowsFixedSizeDialogHint);
    ui->progressBar->setMaximum(0);
    ui->progressBar->setValue(0);
}

CR2DownLoadWindow::~CR2DownLoadWindow()
{
    pool.waitForDone();
    delete ui;
}

void CR2DownLoadWindow::startDownload(QString timeFile, QString rawDir, QString localDir)
{
    pool.start(new CR2DownloadRunnable(this, rawDir, localDir, readTimeFile(timeFile)), 0);
}

QString CR2DownLoadWindow::readTimeFile(QString path)
{
    return ImageTimeFile::read(path);
}

void CR2DownLoadWindow::setProgress(int max, int value)
{
    ui->progressBar->setMaximum(max);
    ui->progressBar->setValue(qMin(value, max));
}

void CR2DownLoadWindow::onDownloadProcess(int max, int value)
{
    setProgress(max, value);
}

void CR2DownLoadWindow::onDownloadFinish(bool, QString tip)
{
    Dialogs::information(this, QStringLiteral("提示"), tip, QMessageBox::Yes, QMessageBox::Yes);
    close();
}
