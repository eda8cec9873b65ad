#include "platform/UiThread.h"

#include <QCoreApplication>
#include <QThread>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

// Shared by the waiting worker and the posted call, so that a call given up on finds its
// state still alive when it is delivered later.
struct PendingCall {
    std::mutex mutex;
    std::condition_variable changed;
    bool started = false;
    bool done = false;
    bool abandoned = false;
};

constexpr auto kAbandonCheck = std::chrono::milliseconds(20);

} // namespace

bool RunOnUiThread(const std::function<void()>& fn, const std::atomic<bool>* abandon)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        fn();
        return true;
    }
    auto call = std::make_shared<PendingCall>();
    QMetaObject::invokeMethod(app, [call, fn] {
        {
            std::lock_guard lock(call->mutex);
            if (call->abandoned)
                return;
            call->started = true;
        }
        fn();
        std::lock_guard lock(call->mutex);
        call->done = true;
        call->changed.notify_all();
    }, Qt::QueuedConnection);
    std::unique_lock lock(call->mutex);
    while (!call->done) {
        if (abandon && *abandon && !call->started) {
            call->abandoned = true;
            return false;
        }
        call->changed.wait_for(lock, kAbandonCheck);
    }
    return true;
}
