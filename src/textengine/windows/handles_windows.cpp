// Windows handles and the folder: UTF-16 paths, regular files only (a file another
// program keeps open without sharing is waited for as a busy one), reads and writes at
// offsets, flushes.
#include <algorithm>
#include <optional>

#include "textengine/file_reason.hpp"
#include "textengine/lock_wait.hpp"
#include "textengine/wide_text.hpp"
#include "textengine/windows/handles.hpp"

namespace ravlet::file_system {
namespace {

FileFailure NotRegular(DWORD type) {
    if (type == FILE_TYPE_CHAR) return FileFailure::IsDevice;
    if (type == FILE_TYPE_PIPE) return FileFailure::IsFifo;
    return FileFailure::NotRegular;
}

// The folder part of `target`, separator included.
std::wstring FolderPrefix(const std::wstring& target) {
    const std::size_t slash = target.find_last_of(L"\\/");
    if (slash != std::wstring::npos) return target.substr(0, slash + 1);
    if (target.size() >= 2 && target[1] == L':') return target.substr(0, 2);
    return {};
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

DWORD DesiredAccess(Access access) {
    return access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
}

// Opens `path` if it is a regular file, waiting as LockWait allows while another
// program keeps it open without sharing. Null with `failed` set when the open fails.
FilePtr OpenChecked(const std::wstring& path, Access access, const std::string& shown,
                    FileFailure& failed) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw FileError(shown, FileFailure::IsFolder);
    Handle handle;
    DWORD err = 0;
    WaitForLock(shown, [&] {
        handle = Handle(::CreateFileW(path.c_str(), DesiredAccess(access), kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        err = handle.Valid() ? 0 : ::GetLastError();
        return err != ERROR_SHARING_VIOLATION && err != ERROR_LOCK_VIOLATION;
    });
    if (!handle.Valid()) {
        failed = KindOf(err);
        return nullptr;
    }
    // The handle decides: the path may name something else since the look above.
    const DWORD type = ::GetFileType(handle.Get());
    if (type != FILE_TYPE_DISK) throw FileError(shown, NotRegular(type));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle.Get(), &info)) FailLast(shown);
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw FileError(shown, FileFailure::IsFolder);
    return FilePtr(new File{std::move(handle), path, false});
}

}  // namespace

FileFailure KindOf(DWORD err) { return KindOfSystemError(static_cast<int>(err)); }

void Fail(const std::string& shown, DWORD err) {
    const FileFailure kind = KindOf(err);
    throw FileError(shown, kind,
                    kind == FileFailure::SystemError ? std::to_string(err) : std::string());
}

void FailLast(const std::string& shown) { Fail(shown, ::GetLastError()); }

std::string Utf8(const std::wstring& wide) { return WideToUtf8(wide).value_or("?"); }

std::wstring FullPath(const std::wstring& path, const std::string& shown) {
    const DWORD needed = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) FailLast(shown);
    std::wstring full(needed, L'\0');
    const DWORD got = ::GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (got == 0 || got >= needed) FailLast(shown);
    full.resize(got);
    return full;
}

std::wstring SystemPath(const std::string& path, const std::string& shown) {
    std::optional<std::wstring> wide = Utf8ToWide(path);
    if (!wide || wide->find(L'\0') != std::wstring::npos) Fail(shown, ERROR_INVALID_NAME);
    // Room is left for the temporary file's name.
    if (wide->size() < MAX_PATH - 30 || wide->starts_with(L"\\\\?\\")) return *std::move(wide);
    const std::wstring full = FullPath(*wide, shown);
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

bool InfoOf(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
    const Handle h(
        ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    return h.Valid() && ::GetFileInformationByHandle(h.Get(), &info);
}

void Unlock(File& file) noexcept {
    if (file.locked) {
        OVERLAPPED whole{};
        ::UnlockFileEx(file.handle.Get(), 0, MAXDWORD, MAXDWORD, &whole);
        file.locked = false;
    }
}

void Closer::operator()(Folder* folder) const noexcept { delete folder; }

void Closer::operator()(File* file) const noexcept {
    Unlock(*file);
    file->handle.Reset();
    delete file;
}

std::string ResolveLinks(const std::string& path, const std::string& shown) {
    const std::wstring wide = SystemPath(path, shown);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    const Handle file(::CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) return path;  // a dangling link: the open that follows names the error
    const DWORD flags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;
    const DWORD needed = ::GetFinalPathNameByHandleW(file.Get(), nullptr, 0, flags);
    if (needed == 0) return path;
    std::wstring target(needed, L'\0');
    const DWORD got = ::GetFinalPathNameByHandleW(file.Get(), target.data(), needed, flags);
    if (got == 0 || got >= needed) return path;
    target.resize(got);
    return Utf8(target);
}

FolderPtr OpenFolderOf(const std::string& target, const std::string& shown, std::string& leaf) {
    const std::wstring wide = SystemPath(target, shown);
    FolderPtr folder(new Folder{});
    folder->prefix = FolderPrefix(wide);
    leaf = Utf8(wide.substr(folder->prefix.size()));
    if (leaf.empty()) throw FileError(shown, FileFailure::IsFolder);
    folder->path = folder->prefix.empty() ? L"." : folder->prefix;
    if (!InfoOf(folder->path, folder->info)) FailLast(shown);
    std::wstring full = FullPath(folder->path, shown);
    while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/')) full.pop_back();
    folder->full = Utf8(full);
    return folder;
}

bool FolderUnchanged(const Folder& folder) {
    BY_HANDLE_FILE_INFORMATION now{};
    return InfoOf(folder.path, now) &&
           now.dwVolumeSerialNumber == folder.info.dwVolumeSerialNumber &&
           now.nFileIndexHigh == folder.info.nFileIndexHigh &&
           now.nFileIndexLow == folder.info.nFileIndexLow &&
           ((now.dwFileAttributes ^ folder.info.dwFileAttributes) & FILE_ATTRIBUTE_REPARSE_POINT) ==
               0;
}

std::string FullPathIn(const Folder& folder, const std::string& leaf) {
    if (!folder.full.empty() && (folder.full.back() == '\\' || folder.full.back() == '/'))
        return folder.full + leaf;
    return folder.full + "\\" + leaf;
}

FilePtr OpenRegular(const std::string& path, Access access, const std::string& shown) {
    FileFailure failed = FileFailure::Other;
    FilePtr file = OpenChecked(SystemPath(path, shown), access, shown, failed);
    if (!file) throw FileError(shown, failed);
    return file;
}

FilePtr OpenIn(const Folder& folder, const std::string& leaf, Access access,
               const std::string& shown, FileFailure& failed) {
    const std::wstring path = folder.prefix + Utf8ToWide(leaf).value_or(std::wstring());
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        throw FileError(shown, FileFailure::NotRegular);
    return OpenChecked(path, access, shown, failed);
}

namespace {

FileState StateFrom(const BY_HANDLE_FILE_INFORMATION& info) {
    FileState state;
    state.volume = info.dwVolumeSerialNumber;
    state.index = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    state.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    state.modified =
        static_cast<std::int64_t>((std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) |
                                  info.ftLastWriteTime.dwLowDateTime);
    state.links = info.nNumberOfLinks;
    state.readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return state;
}

}  // namespace

FileState StateOf(const File& file, const std::string& shown) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.handle.Get(), &info)) FailLast(shown);
    return StateFrom(info);
}

std::optional<FileState> StateAt(const Folder& folder, const std::string& leaf,
                                 const std::string& shown) {
    const std::wstring path = folder.prefix + Utf8ToWide(leaf).value_or(std::wstring());
    BY_HANDLE_FILE_INFORMATION info{};
    if (InfoOf(path, info)) return StateFrom(info);
    const DWORD err = ::GetLastError();
    if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) return std::nullopt;
    Fail(shown, err);
}

std::size_t ReadAt(const File& file, char* buffer, std::size_t size, std::uint64_t offset,
                   const std::string& shown) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!::ReadFile(file.handle.Get(), buffer, chunk, &got, &at)) {
        if (::GetLastError() == ERROR_HANDLE_EOF) return 0;
        FailLast(shown);
    }
    return got;
}

FileFailure WriteAt(const File& file, std::string_view bytes, std::uint64_t offset,
                    std::size_t& written) {
    written = 0;
    while (written < bytes.size()) {
        const std::uint64_t where = offset + written;
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(where);
        at.OffsetHigh = static_cast<DWORD>(where >> 32);
        const auto chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        DWORD done = 0;
        if (!::WriteFile(file.handle.Get(), bytes.data() + written, chunk, &done, &at))
            return KindOf(::GetLastError());
        if (done == 0) return FileFailure::IoError;
        written += done;
    }
    return FileFailure::Other;
}

FileFailure Reserve(const File& file, std::uint64_t size) {
    FILE_ALLOCATION_INFO reserve{};
    reserve.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(file.handle.Get(), FileAllocationInfo, &reserve,
                                      sizeof reserve)) {
        const DWORD err = ::GetLastError();
        if (err == ERROR_DISK_FULL || err == ERROR_HANDLE_DISK_FULL) return KindOf(err);
    }
    return FileFailure::Other;
}

FileFailure SetSize(const File& file, std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(file.handle.Get(), FileEndOfFileInfo, &end, sizeof end))
        return KindOf(::GetLastError());
    return FileFailure::Other;
}

FileFailure Sync(const File& file) {
    return ::FlushFileBuffers(file.handle.Get()) ? FileFailure::Other : KindOf(::GetLastError());
}

// Moves are made with MOVEFILE_WRITE_THROUGH: durable when they return.
void SyncFolder(const Folder&) {}

bool Remove(const Folder& folder, const std::string& leaf) {
    const std::wstring path = folder.prefix + Utf8ToWide(leaf).value_or(std::wstring());
    return ::DeleteFileW(path.c_str()) != 0;
}

// The console's Ctrl-C handler waits until the overwrite is done.
struct Deferral {
    InterruptionDeferred deferred;
};

void Closer::operator()(Deferral* deferral) const noexcept { delete deferral; }

DeferralPtr DeferInterruptions() { return DeferralPtr(new Deferral{}); }

}  // namespace ravlet::file_system
