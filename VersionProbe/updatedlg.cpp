#include "updatedlg.h"
#include "ui_updatedlg.h"

#include "core/Dialogs.h"
#include "core/ServiceCall.h"
#include "files/SafeFileWriter.h"
#include "Platform.h"

#include <QDebug>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

namespace {

const char* const kStartText = "开始更新";
const char* const kDownloadingText = "正在下载...";
const char* const kFinishedText = "更新完毕";

QLabel* captionLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setProperty("secTitle", true);
    return label;
}

} // namespace

updateDlg::updateDlg(QWidget* parent, const QStringList& arguments)
    : QDialog(parent)
    , ui(new Ui::updateDlg)
{
    ui->setupUi(this);
    initView(arguments);
}

updateDlg::~updateDlg()
{
    delete ui;
}

void updateDlg::initView(const QStringList& arguments)
{
    titleLabel = new QLabel(QStringLiteral("检测到新版本"));
    titleLabel->setProperty("title", true);
    QLabel* appNameCaption = captionLabel(QStringLiteral("应用名："));
    QLabel* versionCaption = captionLabel(QStringLiteral("版本号："));
    QLabel* timeCaption = captionLabel(QStringLiteral("更新时间："));
    QLabel* sizeCaption = captionLabel(QStringLiteral("下载包大小："));
    appNameLabel = new QLabel;
    versionLabel = new QLabel;
    timeLabel = new QLabel;
    sizeLabel = new QLabel;

    if (arguments.size() == 8) {
        appName = arguments.at(1);
        version = arguments.at(2);
        updateTime = arguments.at(3);
        fileName = arguments.at(4);
        downloadUrl = arguments.at(5);
        localPath = arguments.at(6);
        fileSize = arguments.at(7).toInt();
        sizeLabel->setText(QString::number(fileSize));
    } else {
        appName = QStringLiteral("晴果-分单系统");
        version = QStringLiteral("v1.0");
        updateTime = QStringLiteral("2017-12-25");
        fileName = QStringLiteral("Allotter.exe");
        downloadUrl = QStringLiteral("http://192.168.1.200/download/Allotter.exe");
        localPath = QStringLiteral("C:/Users/Administrator/Desktop/Allotter.exe");
        fileSize = 5630828;
        sizeLabel->setText(QStringLiteral("5.6MB"));
    }
    appNameLabel->setText(appName);
    versionLabel->setText(version);
    timeLabel->setText(updateTime);

    startButton = new QPushButton(QString::fromUtf8(kStartText));
    connect(startButton, &QPushButton::clicked, this, &updateDlg::loadAppSlot);

    progressBar = new QProgressBar;
    progressBar->setMinimum(0);
    progressBar->setMaximum(static_cast<int>(fileSize));

    auto* layout = new QGridLayout;
    layout->addWidget(titleLabel, 0, 0, 1, 2, Qt::AlignCenter);
    layout->addWidget(appNameCaption, 1, 0, Qt::AlignLeft);
    layout->addWidget(appNameLabel, 1, 1, Qt::AlignLeft);
    layout->addWidget(versionCaption, 2, 0, Qt::AlignLeft);
    layout->addWidget(versionLabel, 2, 1, Qt::AlignLeft);
    layout->addWidget(timeCaption, 3, 0, Qt::AlignLeft);
    layout->addWidget(timeLabel, 3, 1, Qt::AlignLeft);
    layout->addWidget(sizeCaption, 4, 0, Qt::AlignLeft);
    layout->addWidget(sizeLabel, 4, 1, Qt::AlignLeft);
    layout->addWidget(startButton, 5, 0);
    layout->addWidget(progressBar, 5, 1);
    layout->setContentsMargins(30, 5, 30, 10);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(5, 1);
    layout->setSpacing(10);
    setLayout(layout);

    setStyleSheet(QStringLiteral(
        "QLabel[secTitle=\"true\"]{font-size: 13px; color: gray;}"
        "QLabel{font-size: 13px; font-weight: bold;}"
        "QLabel[title=\"true\"]{font-size: 20px; font-weight: bold;}"
        "QPushButton{font-size: 13px; width: 60; height: 20;}"
        "QProgressBar::chunk{background-color: #CD96CD; width: 10px; margin: 0.5px;}"
        "QProgressBar{height: 20; border: 1px solid grey; border-radius: 5px; text-align: center;}"));
}

void updateDlg::loadAppSlot()
{
    // One download at a time: a second one would race the first to the save path.
    if (reply)
        return;
    startButton->setText(QString::fromUtf8(kDownloadingText));

    if (manager)
        manager->deleteLater();
    manager = new QNetworkAccessManager(this);
    connect(manager, &QNetworkAccessManager::finished, this, &updateDlg::replyLoadApp);

    QNetworkRequest request = ServiceCall::request(downloadUrl);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    reply = manager->get(request);
    connect(reply, &QNetworkReply::downloadProgress, this, &updateDlg::updateProgressSlot);
}

void updateDlg::updateProgressSlot(qint64 bytesReceived, qint64 bytesTotal)
{
    qDebug().noquote() << "load progress:" << QStringLiteral("total:%1 -- current:%2").arg(bytesTotal).arg(bytesReceived);
    progressBar->setValue(static_cast<int>(bytesReceived));
}

void updateDlg::replyLoadApp(QNetworkReply* finished)
{
    qDebug() << "Byte total:" << finished->bytesAvailable();
    finished->deleteLater();
    reply = nullptr;

    const QVariant status = finished->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int code = status.toInt();
    if (code < 200 || code > 299) {
        fail(QStringLiteral("网络请求错误\n") + (status.isValid() ? status.toString() : QString()));
        return;
    }
    const QByteArray body = finished->readAll();
    // A connection that closes before the announced length ends in an error.
    if (finished->error() != QNetworkReply::NoError) {
        fail(QStringLiteral("更新包下载不完整，已收到 %1 字节").arg(body.size()));
        return;
    }
    if (fileSize > 0 && body.size() != fileSize) {
        fail(QStringLiteral("更新包大小不符：收到 %1 字节，应为 %2 字节").arg(body.size()).arg(fileSize));
        return;
    }
    if (!saveDownload(body))
        return;

    startButton->setText(QString::fromUtf8(kFinishedText));
    // No arguments, so a name with spaces stays one program.
    if (!Platform::instance().startDetached(Platform::downloadedProgram(localPath, fileName), {}))
        fail(QStringLiteral("无法启动更新程序：") + localPath);
}

bool updateDlg::saveDownload(const QByteArray& body)
{
    // Written beside the old file and renamed over it, so a failed write
    // leaves the old one as it was.
    const QString path = Platform::diskPath(localPath);
    if (SafeFileWriter::writeFile(path, body)) {
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser
                                        | QFileDevice::ExeGroup | QFileDevice::ExeOther);
        return true;
    }
    fail(QStringLiteral("无法写入文件：") + localPath);
    return false;
}

void updateDlg::fail(const QString& text)
{
    startButton->setText(QString::fromUtf8(kStartText));
    progressBar->setValue(0);
    Dialogs::warning(this, QStringLiteral("警告"), text, QMessageBox::Yes, QMessageBox::Yes);
}
