// Waiting for another program's lock on a file: bounded, and said once it lasts, the
// same on every system (the attempt itself is the system's).
#pragma once

#include <functional>
#include <string>

namespace ravlet {

// Calls `attempt` (true: the lock is taken) until it succeeds, pausing in between.
// After about a second of waiting it calls the process's LockWait::waiting once, told
// whether `ravletHolds` (when given) says the holder is Ravlet itself; past
// LockWait::limit it throws FileError(shown, FileFailure::Busy), or BusySaving when
// the holder is Ravlet. `attempt` throws for any other failure.
void WaitForLock(const std::string& shown, const std::function<bool()>& attempt,
                 const std::function<bool()>& ravletHolds = {});

}  // namespace ravlet
