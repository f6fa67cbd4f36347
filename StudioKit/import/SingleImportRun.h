#ifndef SINGLEIMPORTRUN_H
#define SINGLEIMPORTRUN_H

#include <QObject>
#include <QString>
#include <QStringList>

class QNetworkAccessManager;
class QNetworkReply;

// Number of "*.jpg" files of a folder (any case of the extension); 0 when
// the folder does not exist.
int countJpgFiles(QString dir);

// One import run of the single-order window, counted as its jobs report,
// and the run's reports to the service: "updatepicpath2" when it starts,
// "updatepicpath" with what it added when it ends (and, emptied, on a
// re-import). The window keeps the widgets; the run keeps the counts.
//
//     run->begin(orderPath, backupPath, mode, files);
//     ... if (run->finishOne(entry)) run->end();
class SingleImportRun : public QObject
{
    Q_OBJECT
public:
    explicit SingleImportRun(QObject* parent);

    // Counts the folders before the run and reports its start.
    void begin(const QString& orderPath, const QString& backupPath, int mode, int fileCount);
    // One job has ended with its shot-time entry; true when it was the last.
    bool finishOne(const QString& imageTime);
    // A job could not write all of a file; the run still counts it.
    void addFailure(const QString& source);
    int finished() const { return m_finished; }
    // Appends the entries to "ImageTime.txt", shows the summary (titled
    // "警告" with the failed sources when a write failed) and reports the
    // true counts.
    void end();
    // Makes the service forget the order's folder: "ImageTime.txt" goes, the
    // report carries an empty path and no files; the folders stay.
    void reimport(const QString& orderPath, const QString& backupPath, int mode);

signals:
    // The service took the paths of a finished run or a re-import.
    void pathsStored();

private:
    void postOrderPath2(const QString& path);
    void postOrderPath(const QString& path, int photoCount, int backupCount);
    void submitPicPath(QNetworkReply* reply);
    void submitPicPath_2(QNetworkReply* reply);

    QString m_orderPath;
    QString m_backupPath;
    int m_mode = 0;
    int m_fileCount = 0;
    int m_finished = 0;
    int m_photosBefore = 0;
    int m_backupsBefore = 0;
    QString m_imageTimes;
    QStringList m_failedSources;
    QNetworkAccessManager* m_manager;
};

#endif
