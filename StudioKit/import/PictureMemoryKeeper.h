#ifndef PICTUREMEMORYKEEPER_H
#define PICTUREMEMORYKEEPER_H

#include "import/PhotoImport.h"

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The picture buffers of the program's import jobs, kept from one order (or
// one run of the single-order window) to the next: a batch of small orders
// would otherwise fill fresh memory, about 110 MB per job, for every order.
// Pools borrow a set for each job and give it back when the job ends. What
// is kept goes back to the system once nothing has been borrowed for the
// idle time, or at once on release() (an import window closes), so an idle
// program holds no picture memory. Safe to use from any thread.
//
//     std::shared_ptr<PhotoImport::Buffers> buffers = keeper->lend(room);
//     ... the job draws in them ...
//     keeper->giveBack(std::move(buffers));
class PictureMemoryKeeper
{
public:
    static constexpr std::chrono::milliseconds kIdleTime{60000};

    explicit PictureMemoryKeeper(std::chrono::milliseconds idleTime = kIdleTime);
    ~PictureMemoryKeeper();
    PictureMemoryKeeper(const PictureMemoryKeeper&) = delete;
    PictureMemoryKeeper& operator=(const PictureMemoryKeeper&) = delete;

    // The keeper of the program's import work. Pools hold it, so it outlives
    // jobs that end after the program's statics.
    static std::shared_ptr<PictureMemoryKeeper> shared();

    // A kept set, or a new empty one. The sets still kept after it are freed
    // when they take more than `room` bytes: the borrower's memory budget
    // minus what its jobs hold in work.
    std::shared_ptr<PhotoImport::Buffers> lend(qint64 room);
    void giveBack(std::shared_ptr<PhotoImport::Buffers> buffers);
    // Frees what is kept now; sets still lent are kept when they come back.
    void release();
    qint64 keptBytes() const;

private:
    using Clock = std::chrono::steady_clock;
    using Sets = std::vector<std::shared_ptr<PhotoImport::Buffers>>;

    void takeAllLocked(Sets* into);
    void releaseWhenIdle();

    const std::chrono::milliseconds m_idleTime;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    Sets m_kept;
    qint64 m_keptBytes = 0;
    int m_lent = 0;
    Clock::time_point m_lastReturn;
    bool m_stopping = false;
    // Started with the first set given back; waits out the idle time.
    std::thread m_releaser;
};

#endif
