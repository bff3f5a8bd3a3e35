// Windows temporary files: created beside their target, held open until they are
// moved over it in one step, and the stale ones of a killed save removed.
#include <random>
#include <string_view>

#include "textengine/lock_wait.hpp"
#include "textengine/pending_temp.hpp"
#include "textengine/wide_text.hpp"
#include "textengine/windows/handles.hpp"

namespace ravlet::file_system {
namespace {

// A leaf name of fixed length whatever the target's name, so any legal name saves.
std::wstring RandomLeaf() {
    static std::mt19937_64 engine{std::random_device{}()};
    static constexpr wchar_t kDigits[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring leaf = L".ravlet-";
    for (int i = 0; i < 10; ++i) leaf += kDigits[engine() % (std::size(kDigits) - 1)];
    return leaf + L".tmp";
}

}  // namespace

void Closer::operator()(Temp* temp) const noexcept {
    temp->file.handle.Reset();
    if (!temp->name.empty()) {
        ::DeleteFileW(temp->name.c_str());
        ClearPendingTemp();
    }
    delete temp;
}

File& FileOf(Temp& temp) { return temp.file; }

TempPtr CreateTemp(const Folder& folder, bool, FileFailure& failed) {
    TempPtr temp(new Temp{});
    temp->folder = &folder;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring name = folder.prefix + RandomLeaf();
        // Registered before the file exists, so a Ctrl-C in between cannot leave it.
        if (!RegisterPendingTemp(Utf8(name))) {
            failed = FileFailure::InvalidName;
            return nullptr;
        }
        // Shared for deletion: the Ctrl-C handler may remove it, and the move renames
        // it, while it is open. Shared for reading and writing too, since once moved it
        // is the file others open, until this handle is closed.
        Handle file(::CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid()) {
            temp->file.handle = std::move(file);
            temp->file.path = name;
            temp->name = name;
            return temp;
        }
        const DWORD err = ::GetLastError();
        ClearPendingTemp();
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) {
            failed = KindOf(err);
            return nullptr;
        }
    }
    failed = FileFailure::AlreadyExists;
    return nullptr;
}

// Named from the start.
void NameTemp(Temp&, const std::string&) {}

Placed RenameOver(Temp& temp, const std::string& leaf, const std::string& shown) {
    const std::wstring target = temp.folder->prefix + Utf8ToWide(leaf).value_or(std::wstring());
    // Windows replaces no file that is open: a reader holding the old one for a moment,
    // or another program keeping it open, is waited for as LockWait allows.
    DWORD err = 0;
    WaitForLock(shown, [&] {
        if (::MoveFileExW(temp.name.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            err = 0;
            return true;
        }
        err = ::GetLastError();
        return err != ERROR_ACCESS_DENIED && err != ERROR_SHARING_VIOLATION &&
               err != ERROR_LOCK_VIOLATION;
    });
    if (err != 0) Fail(shown, err);
    temp.file.handle.Reset();
    temp.name.clear();
    ClearPendingTemp();
    return Placed::Done;
}

void RemoveStaleTemps(const Folder& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder.prefix + L".ravlet-*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring_view leaf = found.cFileName;
        const DWORD skipped = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        // The pattern may also match by a short name; the long one decides.
        if ((found.dwFileAttributes & skipped) != 0 || !leaf.starts_with(L".ravlet-") ||
            !leaf.ends_with(L".tmp")) {
            continue;
        }
        // One being written is open, so this exclusive open fails and it stays; the
        // others are removed by the close that ends the handle's scope.
        const Handle stale(::CreateFileW(
            (folder.prefix + found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace ravlet::file_system
