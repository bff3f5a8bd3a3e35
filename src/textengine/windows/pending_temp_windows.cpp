// Windows: the pending temporary file's name, kept in UTF-16 so that the console's
// Ctrl-C handler (a thread of its own, not a signal) can remove it. One lock orders the
// handler after a registration and after an in-place overwrite.
#include "textengine/pending_temp.hpp"

#include <mutex>

#include <windows.h>

#include "textengine/wide_text.hpp"

namespace ravlet {
namespace {

std::mutex& Guard() {
    static std::mutex guard;
    return guard;
}

std::wstring pendingName;
bool pending = false;

}  // namespace

bool RegisterPendingTemp(const std::string& name) {
    std::optional<std::wstring> wide = Utf8ToWide(name);
    const std::lock_guard lock(Guard());
    pending = wide.has_value();
    if (pending) pendingName = *std::move(wide);
    return pending;
}

void ClearPendingTemp() {
    const std::lock_guard lock(Guard());
    pending = false;
}

void RemovePendingTempFile() noexcept {
    const std::lock_guard lock(Guard());
    // The file is opened with FILE_SHARE_DELETE, so it goes even while the save has it open.
    if (pending) ::DeleteFileW(pendingName.c_str());
    pending = false;
}

InterruptionDeferred::InterruptionDeferred() { Guard().lock(); }
InterruptionDeferred::~InterruptionDeferred() { Guard().unlock(); }

}  // namespace ravlet
