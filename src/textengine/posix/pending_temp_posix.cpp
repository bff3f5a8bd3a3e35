// POSIX: a fixed buffer for the pending temporary file's name. It has to be global: a signal
// handler can reach nothing else, and may neither allocate nor take a lock.
#include "textengine/pending_temp.hpp"

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>

#include <unistd.h>

namespace ravlet {
namespace {

char pendingName[PATH_MAX + 1];
volatile std::sig_atomic_t pending = 0;

}  // namespace

bool RegisterPendingTemp(const std::string& name) {
    pending = 0;
    if (name.size() > PATH_MAX) return false;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    std::memcpy(pendingName, name.c_str(), name.size() + 1);
    // The name must be complete before a handler may read it.
    std::atomic_signal_fence(std::memory_order_seq_cst);
    pending = 1;
    return true;
}

void ClearPendingTemp() { pending = 0; }

void RemovePendingTempFile() noexcept {
    if (pending != 0) {
        ::unlink(pendingName);
        pending = 0;
    }
}

}  // namespace ravlet
