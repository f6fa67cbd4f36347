#ifndef SEPARATETHREAD_H
#define SEPARATETHREAD_H

#include <QJsonArray>
#include <QRunnable>
#include <QString>

#include <memory>

class CallbackGuard;
class QObject;

// The task numbers of SeparateThread; the slot each reports to on the window
// that started it.
enum SeparateTaskType {
    SeparateTaskNone = 0,
    SeparateTaskFinalPhotoCopy = 1,   // "fenjian_finalPhotoSlot_2()"
    SeparateTaskPhotoIsFile = 2,      // "fenjian_photoIsFileSlot_1(int)"
    SeparateTaskDelPhotoCopy = 3,     // "fenjian_delPhotoSlot_3()"
    SeparateTaskMarkPhotoCopy = 4,    // "fenjian_markPhoto_3_1()"
    SeparateTaskProductPhotoCopy = 5, // "fenjian_productPhotoSlot_4(QString)"
    SeparateTaskAnalysisPhotoInfo = 6, // "fenjian_analysisPhotoInfo()"
    SeparateTaskShejiImgCopy = 7,     // "fenjian_shejiPhotoSlot_3_2()"
};

// One file job of a separation run, on the window's own pool. It reports
// through the window's CallbackGuard, so a closed window gets nothing and a
// destroyed one is never touched. What it needs of the run (RAW flag, work
// folder, product name, order folder) is copied when it is made, on the GUI
// thread. A copy that fails is first reported to "fenjian_copyFailedSlot(QString)"
// with the source path, then to the task's own slot, which counts it as usual.
class SeparateThread : public QRunnable
{
public:
    SeparateThread(const QString& path, int taskType, QObject* receiver);
    SeparateThread(const QString& fromPath, const QString& toPath, bool isOverwrite, int taskType,
                   QObject* receiver);
    SeparateThread(const QString& fromPath, const QString& toPath, int productIndex, bool isOverwrite,
                   int taskType, QObject* receiver);
    SeparateThread(const QJsonArray& picInfo, int taskType, QObject* receiver);
    ~SeparateThread() override;

    void run() override;

    // A photo name from the service that would leave its folder.
    static bool isUnsafeName(const QString& name);

private:
    SeparateThread(int taskType, QObject* receiver);

    void finalPhotoCopy();
    void photoisFile();
    void plainCopy(const char* slot);
    void productPhotoCopy();
    void analysisPhotoInfo();
    // Copies unless the source is a folder entry; reports a real failure.
    void copy(const QString& from, const QString& to);

    std::shared_ptr<CallbackGuard> receiver;
    int taskType;
    int productIndex = -1;
    QString fromPath;
    QString toPath;
    bool isOverwrite = false;
    QJsonArray picInfo;

    // Copied from the run when the job is made.
    bool withRawFiles = false;
    QString productPhotoFolder;
    QString productName;
    QString orderPath;
};

#endif
