// The one named temporary file a save has on disk at this moment, so that a process
// ended by a signal can remove it.
#pragma once

#include <string>

namespace ravlet {

// Called by the save around the moment its temporary file has a name. Returns false
// when the name does not fit the fixed buffer (longer than PATH_MAX, so the system
// would refuse it anyway). One save at a time: the window and the CLI save from one
// thread.
bool RegisterPendingTemp(const std::string& name);
void ClearPendingTemp();

// Removes the registered temporary file, if any. Async-signal-safe: for a handler of
// SIGINT, SIGTERM or SIGHUP that then re-raises the signal.
void RemovePendingTempFile() noexcept;

}  // namespace ravlet
