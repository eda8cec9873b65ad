#include "platform/linux/VolumeStat.h"

#include "platform/FileName.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace {

struct Settings {
    std::mutex mutex;
    VolumeStatFunction function;
    std::chrono::milliseconds timeout{2000};
    std::set<QByteArray> unanswered; // paths whose helper thread is still blocked
};

Settings& settings()
{
    static Settings s;
    return s;
}

VolumeStatFunction currentFunction()
{
    std::lock_guard lock(settings().mutex);
    if (settings().function)
        return settings().function;
    return [](const QByteArray& path, struct statvfs* out) { return ::statvfs(path.constData(), out) == 0; };
}

struct Answer {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool ok = false;
    struct statvfs result {};
};

} // namespace

void setVolumeStatFunction(VolumeStatFunction function)
{
    std::lock_guard lock(settings().mutex);
    settings().function = std::move(function);
}

void setVolumeStatTimeout(std::chrono::milliseconds timeout)
{
    std::lock_guard lock(settings().mutex);
    settings().timeout = timeout;
}

std::optional<struct statvfs> VolumeStat::query(const QString& path, bool timed)
{
    const QByteArray native = FileName::encode(path);
    const VolumeStatFunction function = currentFunction();
    if (!timed) {
        struct statvfs result {};
        if (function(native, &result))
            return result;
        return std::nullopt;
    }
    std::chrono::milliseconds timeout;
    {
        std::lock_guard lock(settings().mutex);
        if (settings().unanswered.count(native))
            return std::nullopt;
        settings().unanswered.insert(native);
        timeout = settings().timeout;
    }
    auto answer = std::make_shared<Answer>();
    // Detached on purpose: a thread blocked in the kernel on a dead server cannot be stopped;
    // it ends whenever the kernel gives up, and only then frees the mount for new questions.
    std::thread([answer, function, native] {
        struct statvfs result {};
        const bool ok = function(native, &result);
        {
            std::lock_guard lock(settings().mutex);
            settings().unanswered.erase(native);
        }
        {
            std::lock_guard lock(answer->mutex);
            answer->ok = ok;
            answer->result = result;
            answer->finished = true;
        }
        answer->done.notify_all();
    }).detach();
    std::unique_lock lock(answer->mutex);
    if (!answer->done.wait_for(lock, timeout, [&] { return answer->finished; }) || !answer->ok)
        return std::nullopt;
    return answer->result;
}
