#include "core/CallbackGuard.h"

#include <QMutexLocker>

namespace {

// Child of the receiver that keeps its guard and closes it when the receiver
// is destroyed (children go before the receiver's memory does).
class GuardHolder : public QObject
{
public:
    GuardHolder(QObject* receiver, std::shared_ptr<CallbackGuard> guard)
        : QObject(receiver), guard(std::move(guard))
    {
    }
    ~GuardHolder() override { guard->close(); }

    const std::shared_ptr<CallbackGuard> guard;
};

} // namespace

std::shared_ptr<CallbackGuard> CallbackGuard::of(QObject* receiver)
{
    if (!receiver)
        return std::shared_ptr<CallbackGuard>(new CallbackGuard(nullptr));
    for (QObject* child : receiver->children()) {
        if (auto* holder = dynamic_cast<GuardHolder*>(child))
            return holder->guard;
    }
    std::shared_ptr<CallbackGuard> guard(new CallbackGuard(receiver));
    new GuardHolder(receiver, guard);
    return guard;
}

CallbackGuard::CallbackGuard(QObject* receiver)
    : m_receiver(receiver)
{
}

void CallbackGuard::close()
{
    QMutexLocker lock(&m_mutex);
    m_open = false;
}

bool CallbackGuard::isOpen() const
{
    return m_open;
}

bool CallbackGuard::post(const std::function<bool(QObject*)>& call)
{
    QMutexLocker lock(&m_mutex);
    if (!m_open || !m_receiver)
        return false;
    return call(m_receiver.data());
}
