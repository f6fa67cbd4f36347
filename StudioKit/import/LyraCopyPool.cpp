#include "import/LyraCopyPool.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace {

const char* const kHandedOverName = "handedOverLyraCopies";

// Pools handed over earlier whose copies have all ended.
void freeFinishedPools(QObject* owner)
{
    for (QThreadPool* pool : owner->findChildren<QThreadPool*>(QLatin1String(kHandedOverName),
                                                               Qt::FindDirectChildrenOnly)) {
        if (pool->waitForDone(0))
            delete pool;
    }
}

} // namespace

LyraCopyPool::LyraCopyPool()
    : m_pool(new QThreadPool)
{
}

LyraCopyPool::~LyraCopyPool()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (m_pool->waitForDone(0) || !application) {
        // Nothing left, or nobody to hand it to: its destructor waits.
        delete m_pool;
        return;
    }
    freeFinishedPools(application);
    m_pool->setObjectName(QLatin1String(kHandedOverName));
    m_pool->setParent(application);
}

void LyraCopyPool::start(QRunnable* job)
{
    m_pool->start(job, 0);
}
