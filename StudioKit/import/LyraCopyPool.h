#ifndef LYRACOPYPOOL_H
#define LYRACOPYPOOL_H

class QRunnable;
class QThreadPool;

// The Lyra copy jobs of one import window, on a pool of the window's own so
// that they never wait behind (or get cleared with) another window's jobs.
//
// Closing the window drops none of them: a copy that is missing leaves the
// order's Lyra folder on the server incomplete without anyone being told.
// When the pool still has work as it goes, it is handed to the application
// instead of being waited for, so the window closes at once; the application
// frees it after its last copy, at the latest when the program ends (which
// then waits for the copies). The jobs call back through the window's guard,
// so their reports go nowhere once the window is gone.
class LyraCopyPool
{
public:
    LyraCopyPool();
    ~LyraCopyPool();
    LyraCopyPool(const LyraCopyPool&) = delete;
    LyraCopyPool& operator=(const LyraCopyPool&) = delete;

    // Queues a job, which the pool deletes after its run.
    void start(QRunnable* job);

private:
    QThreadPool* m_pool;
};

#endif
