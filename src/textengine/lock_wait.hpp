// Waiting for another program's lock on a file: bounded, and said once it lasts, the
// same on every system (the attempt itself is the system's).
#pragma once

#include <functional>
#include <string>

namespace ravlet {

// The reason of a wait that ran out (FileFailure::Busy).
std::string LockWaitExpired(long long seconds);

// Calls `attempt` (true: the lock is taken) until it succeeds, pausing in between.
// After about a second of waiting it calls the process's LockWait::waiting once; past
// LockWait::limit it throws FileError(shown, ..., FileFailure::Busy). `attempt` throws
// for any other failure.
void WaitForLock(const std::string& shown, const std::function<bool()>& attempt);

}  // namespace ravlet
