#include "import/PhotoPool.h"

#include "Platform.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QRunnable>
#include <QThread>

#include <chrono>
#include <memory>

PhotoPool::PhotoPool(int maxJobs, Starts starts, std::shared_ptr<PictureMemoryKeeper> keeper)
    : m_maxJobs(maxJobs > 0 ? maxJobs : QThread::idealThreadCount()), m_starts(starts), m_keeper(std::move(keeper))
{
    m_pool.setMaxThreadCount(m_maxJobs);
}

PhotoPool::~PhotoPool()
{
    clear();
    waitForDone();
}

void PhotoPool::add(std::function<void()> job, const QString& sourcePath, const QString& targetName)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Entry entry;
    entry.index = m_added++;
    entry.job = std::move(job);
    entry.sourcePath = sourcePath;
    entry.family = targetName.isEmpty() ? QString() : nameFamily(targetName);
    m_waiting.append(entry);
    if (m_starts == Starts::AsJobsEnd)
        startWaitingLocked();
}

void PhotoPool::add(QRunnable* job, const QString& sourcePath, const QString& targetName)
{
    // Held by the queued call, so a job dropped before it ran is freed too.
    std::shared_ptr<QRunnable> owned(job, [](QRunnable* runnable) {
        if (runnable->autoDelete())
            delete runnable;
    });
    add([owned] { owned->run(); }, sourcePath, targetName);
}

void PhotoPool::setEndedHandler(std::function<void(int)> handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_endedHandler = std::move(handler);
}

int PhotoPool::startWaiting()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return startWaitingLocked();
}

// Strictly in list order: the first job that may not start yet holds back
// the ones after it.
int PhotoPool::startWaitingLocked()
{
    int started = 0;
    while (!m_waiting.isEmpty() && m_running < m_maxJobs) {
        Entry& next = m_waiting.first();
        if (next.bytes < 0)
            next.bytes = estimatedBytes(next.sourcePath);
        if ((!next.family.isEmpty() && m_familiesInWork.contains(next.family))
            || (m_running > 0 && m_bytesInWork + next.bytes > kMemoryBudget))
            break;
        const Entry entry = m_waiting.takeFirst();
        // The job draws in the buffers of an ended one; the others kept must
        // not take the whole past the budget.
        const std::shared_ptr<PhotoImport::Buffers> buffers = m_keeper->lend(kMemoryBudget - m_bytesInWork - entry.bytes);
        if (!entry.family.isEmpty())
            m_familiesInWork.insert(entry.family);
        m_bytesInWork += entry.bytes;
        ++m_running;
        ++started;
        m_pool.start([this, entry, buffers] {
            {
                PhotoImport::BuffersLent lent(buffers.get());
                entry.job();
            }
            ended(entry, buffers);
        });
    }
    return started;
}

void PhotoPool::ended(const Entry& entry, std::shared_ptr<PhotoImport::Buffers> buffers)
{
    std::function<void(int)> handler;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_familiesInWork.remove(entry.family);
        m_bytesInWork -= entry.bytes;
        --m_running;
        m_keeper->giveBack(std::move(buffers));
        if (m_starts == Starts::AsJobsEnd)
            startWaitingLocked();
        handler = m_endedHandler;
        if (m_running == 0 && m_waiting.isEmpty())
            m_idle.notify_all();
    }
    if (handler)
        handler(entry.index);
}

void PhotoPool::clear()
{
    QList<Entry> dropped;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        dropped.swap(m_waiting);
        if (m_running == 0)
            m_idle.notify_all();
    }
    // The dropped jobs are freed here, outside the lock.
}

bool PhotoPool::waitForDone(int msecs)
{
    QElapsedTimer timer;
    timer.start();
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        const auto idle = [this] { return m_running == 0 && m_waiting.isEmpty(); };
        if (msecs < 0)
            m_idle.wait(lock, idle);
        else if (!m_idle.wait_for(lock, std::chrono::milliseconds(msecs), idle))
            return false;
    }
    // The last jobs may still be leaving ended().
    const qint64 left = msecs < 0 ? -1 : qMax<qint64>(0, msecs - timer.elapsed());
    return m_pool.waitForDone(int(left));
}

QString PhotoPool::nameFamily(const QString& targetName)
{
    static const QRegularExpression numbers(QStringLiteral("(\\([0-9]+\\))+(?=\\.[^.]*$|$)"));
    return targetName.toLower().remove(numbers);
}

qint64 PhotoPool::estimatedBytes(const QString& sourcePath)
{
    const QString local = Platform::diskPath(sourcePath);
    const QSize size = QImageReader(local).size();
    const qint64 pixels = size.isValid() ? qint64(size.width()) * size.height() : 0;
    return 3 * QFileInfo(local).size() + 2 * 4 * pixels;
}
