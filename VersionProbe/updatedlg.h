#ifndef UPDATEDLG_H
#define UPDATEDLG_H

#include <QCoreApplication>
#include <QDialog>
#include <QStringList>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QProgressBar;
class QPushButton;

namespace Ui {
class updateDlg;
}

// Shows the announced version, downloads it on request and starts it.
// Started by the main program with seven arguments: application name,
// version, update time, file name, download URL, save path and size in bytes.
class updateDlg : public QDialog
{
    Q_OBJECT

public:
    explicit updateDlg(QWidget* parent = nullptr, const QStringList& arguments = QCoreApplication::arguments());
    ~updateDlg() override;

private slots:
    void loadAppSlot();
    void replyLoadApp(QNetworkReply* finished);
    void updateProgressSlot(qint64 bytesReceived, qint64 bytesTotal);

private:
    void initView(const QStringList& arguments);
    // Writes a complete download over the save path; false after telling the user why not.
    bool saveDownload(const QByteArray& body);
    void fail(const QString& text);

    Ui::updateDlg* ui;
    QLabel* titleLabel;
    QLabel* appNameLabel;
    QLabel* versionLabel;
    QLabel* timeLabel;
    QLabel* sizeLabel;
    QPushButton* startButton;
    QString appName;
    QString version;
    QString updateTime;
    QString fileName;
    QString downloadUrl;
    QString localPath;
    qint64 fileSize = 0;
    QNetworkAccessManager* manager = nullptr;
    QNetworkReply* reply = nullptr;
    QProgressBar* progressBar;
};

#endif
