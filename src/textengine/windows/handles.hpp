// Windows: what the primitives' opaque handles hold, and the path helpers shared by the
// files of this folder.
#pragma once

#include <string>
#include <utility>

#include <windows.h>

#include "textengine/file_system.hpp"

namespace ravlet::file_system {

// A kernel handle closed when it goes out of scope.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(Handle&& other) noexcept : h_(std::exchange(other.h_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            Reset();
            h_ = std::exchange(other.h_, INVALID_HANDLE_VALUE);
        }
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Reset(); }

    HANDLE Get() const { return h_; }
    // CreateFileW fails with INVALID_HANDLE_VALUE, CreateMutexW with null.
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    void Reset() noexcept {
        if (Valid()) ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_ = INVALID_HANDLE_VALUE;
};

// Windows keeps no folder handle a rename could be made relative to: the folder is
// its path, checked again before a file in it is replaced.
struct Folder {
    std::wstring prefix;  // the folder's path with its separator, for the names in it
    std::wstring path;    // the folder itself, for the check
    std::string full;     // full path, UTF-8, without the separator
    BY_HANDLE_FILE_INFORMATION info{};
};

// An open file, with the lock it holds on every byte (also past the end).
struct File {
    Handle handle;
    std::wstring path;
    bool locked = false;
};

struct Temp {
    File file;
    const Folder* folder = nullptr;
    std::wstring name;  // full path while it has one to remove
};

[[noreturn]] void Fail(const std::string& shown, DWORD err);
[[noreturn]] void FailLast(const std::string& shown);
FileFailure KindOf(DWORD err);

// The path as the system takes it: UTF-16, and past MAX_PATH in the \\?\ form.
std::wstring SystemPath(const std::string& path, const std::string& shown);
std::wstring FullPath(const std::wstring& path, const std::string& shown);
std::string Utf8(const std::wstring& wide);

// What `path` itself is (a link not followed): false when it cannot be opened.
bool InfoOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info);

// Lets the file's lock go; the close alone frees it only eventually.
void Unlock(File& file) noexcept;

}  // namespace ravlet::file_system
