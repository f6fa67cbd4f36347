#ifndef PHOTOPOOL_H
#define PHOTOPOOL_H

#include "import/PhotoImport.h"
#include "import/PictureMemoryKeeper.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QThreadPool>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class QRunnable;

// The bounded pool photo imports run on: at most one job per core (or the
// given number), together within a memory budget (a single photo larger than
// the budget still runs, alone), and in list order. Photos whose names can
// meet in the backup numbering ("IMG_1.jpg", "img_1(2).JPG") run one after
// another, so numbers and the last-one-wins copy come out as in a run of one
// photo at a time. Each owner has its own pool, so clearing one never drops
// another's jobs. Each job borrows its picture buffers (PhotoImport::Buffers)
// from the keeper, which outlives the pool: photos of one size reuse the
// memory of ended jobs, of this order or of the ones before. The buffers
// kept are freed when a job would otherwise take the memory past the budget.
class PhotoPool
{
public:
    enum class Starts {
        AsJobsEnd, // a job that ends starts the next ones itself
        OnRequest, // only startWaiting() starts jobs (the owner decides between them)
    };

    // What the photo jobs of one pool, with the buffers kept for them, may
    // hold in memory at once.
    static constexpr qint64 kMemoryBudget = qint64(1) << 30;

    explicit PhotoPool(int maxJobs = 0, Starts starts = Starts::AsJobsEnd,
                       std::shared_ptr<PictureMemoryKeeper> keeper = PictureMemoryKeeper::shared());
    // Drops what has not started and waits for the rest.
    ~PhotoPool();

    int maxJobs() const { return m_maxJobs; }

    // Queues a job for `sourcePath` written under `targetName`; an empty
    // name waits for no other job. Jobs get their index in the order added.
    void add(std::function<void()> job, const QString& sourcePath, const QString& targetName);
    // The same for a runnable, deleted after its run (or when dropped) when
    // it deletes itself.
    void add(QRunnable* job, const QString& sourcePath, const QString& targetName);
    // Called on the job's thread once a job has ended and its place is free.
    void setEndedHandler(std::function<void(int index)> handler);

    // Starts what the bounds allow now; the number started.
    int startWaiting();
    // Drops the jobs that have not started.
    void clear();
    // Waits until every queued job has run; false when the time ran out.
    bool waitForDone(int msecs = -1);

    // Names that can end up at one backup name: "IMG_1.jpg", "img_1(2).JPG"
    // and "IMG_1(1)(1).jpg" all number from "img_1.jpg".
    static QString nameFamily(const QString& targetName);
    // A photo job's peak: the file and its re-encoded copy, the decoded
    // picture and its turned copy. Only the image header is read.
    static qint64 estimatedBytes(const QString& sourcePath);

private:
    struct Entry {
        int index = 0;
        std::function<void()> job;
        QString sourcePath;
        QString family;
        qint64 bytes = -1;
    };

    int startWaitingLocked();
    void ended(const Entry& entry, std::shared_ptr<PhotoImport::Buffers> buffers);

    const int m_maxJobs;
    const Starts m_starts;
    // Declared before the pool, so it outlives its threads.
    const std::shared_ptr<PictureMemoryKeeper> m_keeper;
    std::mutex m_mutex;
    QThreadPool m_pool;
    std::condition_variable m_idle;
    QList<Entry> m_waiting;
    QSet<QString> m_familiesInWork;
    qint64 m_bytesInWork = 0;
    int m_running = 0;
    int m_added = 0;
    std::function<void(int)> m_endedHandler;
};

#endif
