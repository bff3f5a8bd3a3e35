// The bounded, announced wait for a file lock, and the process's wait settings.
#include "textengine/lock_wait.hpp"

#include <chrono>
#include <thread>
#include <utility>

#include "textengine/text_file.hpp"

namespace ravlet {
namespace {

LockWait& Current() {
    static LockWait wait;
    return wait;
}

}  // namespace

LockWait ExchangeLockWait(LockWait wait) { return std::exchange(Current(), std::move(wait)); }

void WaitForLock(const std::string& shown, const std::function<bool()>& attempt,
                 const std::function<bool()>& ravletHolds) {
    using Clock = std::chrono::steady_clock;
    if (attempt()) return;
    const LockWait& wait = Current();
    const Clock::time_point start = Clock::now();
    bool said = false;
    auto pause = std::chrono::milliseconds(5);
    for (;;) {
        const auto waited = Clock::now() - start;
        if (!said && waited >= std::chrono::seconds(1)) {
            said = true;
            if (wait.waiting) wait.waiting(shown, ravletHolds && ravletHolds());
        }
        if (waited >= wait.limit) {
            const auto seconds =
                std::chrono::duration_cast<std::chrono::seconds>(wait.limit).count();
            const bool byRavlet = ravletHolds && ravletHolds();
            throw FileError(shown, byRavlet ? FileFailure::BusySaving : FileFailure::Busy,
                            std::to_string(seconds));
        }
        // Short pauses first: most holders are another save that ends in a moment.
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, wait.limit - waited));
        pause = std::min(pause * 2, std::chrono::milliseconds(100));
        if (attempt()) return;
    }
}

}  // namespace ravlet
