#ifndef CR2DOWNLOADWINDOW_H
#define CR2DOWNLOADWINDOW_H

#include <QString>
#include <QThreadPool>
#include <QWidget>

class Ui_CR2DownLoadWindow;

// The progress of one RAW download (CR2DownloadRunnable); shows its message
// when it ends and closes. Nothing in the program opens it.
class CR2DownLoadWindow : public QWidget
{
    Q_OBJECT
public:
    explicit CR2DownLoadWindow(QWidget* parent);
    ~CR2DownLoadWindow() override;

    void startDownload(QString timeFile, QString rawDir, QString localDir);
    QString readTimeFile(QString path);
    void setProgress(int max, int value);

public slots:
    void onDownloadProcess(int max, int value);
    void onDownloadFinish(bool isSuccess, QString tip);

private:
    Ui_CR2DownLoadWindow* ui;
    // The window's own pool: its download never waits behind other jobs.
    QThreadPool pool;
};

#endif
