#include "import/PictureMemoryKeeper.h"

PictureMemoryKeeper::PictureMemoryKeeper(std::chrono::milliseconds idleTime) : m_idleTime(idleTime)
{
}

PictureMemoryKeeper::~PictureMemoryKeeper()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_releaser.joinable())
        m_releaser.join();
}

std::shared_ptr<PictureMemoryKeeper> PictureMemoryKeeper::shared()
{
    static const std::shared_ptr<PictureMemoryKeeper> keeper = std::make_shared<PictureMemoryKeeper>();
    return keeper;
}

std::shared_ptr<PhotoImport::Buffers> PictureMemoryKeeper::lend(qint64 room)
{
    std::shared_ptr<PhotoImport::Buffers> buffers;
    Sets freed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_lent;
        if (!m_kept.empty()) {
            buffers = std::move(m_kept.back());
            m_kept.pop_back();
            m_keptBytes -= buffers->bytes();
        }
        if (m_keptBytes > room)
            takeAllLocked(&freed);
    }
    // The sets freed here go outside the lock.
    return buffers ? buffers : std::make_shared<PhotoImport::Buffers>();
}

void PictureMemoryKeeper::giveBack(std::shared_ptr<PhotoImport::Buffers> buffers)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_lent;
        m_keptBytes += buffers->bytes();
        m_kept.push_back(std::move(buffers));
        m_lastReturn = Clock::now();
        if (!m_releaser.joinable())
            m_releaser = std::thread([this] { releaseWhenIdle(); });
    }
    m_changed.notify_all();
}

void PictureMemoryKeeper::release()
{
    Sets freed;
    std::lock_guard<std::mutex> lock(m_mutex);
    takeAllLocked(&freed);
}

qint64 PictureMemoryKeeper::keptBytes() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_keptBytes;
}

// Hands the kept sets to the caller, who frees them outside the lock.
void PictureMemoryKeeper::takeAllLocked(Sets* into)
{
    into->insert(into->end(), std::make_move_iterator(m_kept.begin()), std::make_move_iterator(m_kept.end()));
    m_kept.clear();
    m_keptBytes = 0;
}

void PictureMemoryKeeper::releaseWhenIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_lent > 0 || m_kept.empty()) {
            m_changed.wait(lock);
            continue;
        }
        const Clock::time_point idleEnd = m_lastReturn + m_idleTime;
        if (Clock::now() < idleEnd) {
            m_changed.wait_until(lock, idleEnd);
            continue;
        }
        Sets freed;
        takeAllLocked(&freed);
        lock.unlock();
        freed.clear();
        lock.lock();
    }
}
