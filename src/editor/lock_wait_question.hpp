// The window's side of waiting for another program's lock on a file: once the wait has
// lasted about a second the user is asked whether to wait on, and can stop it. Stopping
// changes nothing: the file on disk and the edits in the window stay as they were.
#pragma once

#include <stdexcept>
#include <string>

#include "editor/platform.hpp"
#include "textengine/text_file.hpp"

namespace ravlet {

// The user chose to stop waiting for the file `what()`; the action ends without a change
// and without a message.
class LockWaitStopped : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// While it lives, a file operation that waits for a lock asks `platform` (AskYesNo,
// the busy pointer off while the question is open) after about a second; No throws
// LockWaitStopped out of the operation. The process's wait limit is kept.
class LockWaitQuestion {
public:
    explicit LockWaitQuestion(Platform& platform);
    ~LockWaitQuestion();
    LockWaitQuestion(const LockWaitQuestion&) = delete;
    LockWaitQuestion& operator=(const LockWaitQuestion&) = delete;

private:
    LockWait previous_;
};

}  // namespace ravlet
