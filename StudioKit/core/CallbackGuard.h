#ifndef CALLBACKGUARD_H
#define CALLBACKGUARD_H

#include <QMetaObject>
#include <QMetaType>
#include <QMutex>
#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>

// How a pool job calls a window back by slot name without outliving it. One
// guard per receiver, shared by the window and its jobs; it closes when the
// window calls close() (on closing) or when the receiver is destroyed, and
// from then on every call is dropped.
class CallbackGuard
{
public:
    // The receiver's guard, made on first use. Call on the receiver's thread.
    // Without a receiver the guard drops every call.
    static std::shared_ptr<CallbackGuard> of(QObject* receiver);

    void close();
    bool isOpen() const;

    // Queues the slot on the receiver's thread; false when the window is gone
    // or the receiver has no such slot. Argument types must be registered
    // meta types (int, QString, QJsonArray, ...).
    template <typename... Args>
    bool invoke(const char* slot, const Args&... args)
    {
        return post([&](QObject* receiver) {
            return QMetaObject::invokeMethod(receiver, slot, Qt::QueuedConnection,
                                             QArgument<Args>(QMetaType::typeName(qMetaTypeId<Args>()), args)...);
        });
    }

private:
    explicit CallbackGuard(QObject* receiver);

    bool post(const std::function<bool(QObject*)>& call);

    std::atomic<bool> m_open{true};
    QPointer<QObject> m_receiver;
    // Held while a call is queued, so close() returns only when no job is
    // between its check and its call.
    QMutex m_mutex;
};

#endif
