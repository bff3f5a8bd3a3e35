// The question asked while a file operation of the window waits for a lock.
#include "editor/lock_wait_question.hpp"

#include <chrono>
#include <utility>

#include "editor/messages.hpp"

namespace ravlet {
namespace {

LockWait Asking(Platform& platform, std::chrono::milliseconds limit) {
    LockWait wait;
    wait.limit = limit;
    const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(limit).count();
    wait.waiting = [&platform, seconds](const std::string& path, bool byRavlet) {
        // The busy pointer alone looks like a window that hangs; the question says why
        // and offers the way out.
        platform.SetBusy(false);
        const bool waitOn = platform.AskYesNo(messages::FileHeld(path, seconds, byRavlet));
        platform.SetBusy(true);
        if (!waitOn) throw LockWaitStopped(path);
    };
    return wait;
}

}  // namespace

LockWaitQuestion::LockWaitQuestion(Platform& platform) : previous_(ExchangeLockWait({})) {
    ExchangeLockWait(Asking(platform, previous_.limit));
}

LockWaitQuestion::~LockWaitQuestion() { ExchangeLockWait(std::move(previous_)); }

}  // namespace ravlet
