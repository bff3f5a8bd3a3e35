// Windows locks: LockFileEx on every byte (shared for readers, exclusive for writers),
// and Ravlet's writer mutex, named after the file's full path and taken before the file
// is opened: Windows replaces no file that is open, so a writer lets its file go just
// before the replacement, and the mutex keeps the next writer from opening (and
// reading) the old file in that moment.
#include <cstdint>
#include <cwchar>
#include <iterator>

#include "textengine/lock_wait.hpp"
#include "textengine/wide_text.hpp"
#include "textengine/windows/handles.hpp"

namespace ravlet::file_system {
namespace {

// The mutex's name: the full path in upper case (names ignore case), hashed.
std::wstring MutexName(const std::wstring& path, const std::string& shown) {
    std::wstring full = FullPath(path, shown);
    ::CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const wchar_t c : full) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    std::swprintf(name, std::size(name), L"Local\\ravlet-save-%016llx",
                  static_cast<unsigned long long>(hash));
    return name;
}

// One attempt at LockFileEx with `flags`; true also where the file system has no locks.
bool TryFileLock(File& file, DWORD flags) {
    OVERLAPPED whole{};
    if (::LockFileEx(file.handle.Get(), flags | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD,
                     &whole)) {
        file.locked = true;
        return true;
    }
    const DWORD err = ::GetLastError();
    return err != ERROR_LOCK_VIOLATION && err != ERROR_IO_PENDING;
}

}  // namespace

// The writer mutex, owned by this thread until the turn ends.
struct Turn {
    Handle mutex;
};

void Closer::operator()(Turn* turn) const noexcept {
    ::ReleaseMutex(turn->mutex.Get());
    delete turn;
}

TurnPtr TakeWriterTurn(const Folder& folder, const std::string& leaf, const std::string& shown) {
    const std::wstring path = folder.prefix + Utf8ToWide(leaf).value_or(std::wstring());
    Handle mutex(::CreateMutexW(nullptr, FALSE, MutexName(path, shown).c_str()));
    if (!mutex.Valid()) FailLast(shown);
    WaitForLock(
        shown,
        [&] {
            const DWORD waited = ::WaitForSingleObject(mutex.Get(), 0);
            // Abandoned: its last owner ended without a release; it is ours all the same.
            if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return true;
            if (waited == WAIT_TIMEOUT) return false;
            FailLast(shown);
        },
        [] { return true; });
    return TurnPtr(new Turn{std::move(mutex)});
}

bool TryWriterLock(File& file, const std::string&) {
    return TryFileLock(file, LOCKFILE_EXCLUSIVE_LOCK);
}

bool TryReaderLock(File& file, const std::string&) { return TryFileLock(file, 0); }

// A writer's exclusive lock already bars every reader.
void MarkRavletWriter(File&) {}

bool RavletHolds(const File& file) {
    const Handle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, MutexName(file.path, "").c_str()));
    if (!mutex.Valid()) return false;
    const DWORD waited = ::WaitForSingleObject(mutex.Get(), 0);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) {
        ::ReleaseMutex(mutex.Get());
        return false;
    }
    return waited == WAIT_TIMEOUT;
}

bool TryRewriteLock(File&, const std::string&) { return true; }
void EndRewriteLock(File&) {}

bool ReleaseBeforeReplace(File& file) {
    Unlock(file);
    file.handle.Reset();
    return false;
}

}  // namespace ravlet::file_system
