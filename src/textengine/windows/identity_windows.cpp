// Windows identity and attributes: the attributes a new file takes over, the read-only
// attribute, and the user's cache folder. Windows keeps no mark on the file here (an
// alternate data stream is not had under every file system Ravlet meets): the copy
// beside the file, or in the cache folder, stands for it.
#include <cstdlib>
#include <optional>

#include "textengine/wide_text.hpp"
#include "textengine/windows/handles.hpp"

namespace ravlet::file_system {
namespace {

// The attributes a new file takes over from the one it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

}  // namespace

bool GiveIdentity(Temp& temp, const File& from, const FileState&, const std::string& shown) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(from.handle.Get(), &info)) FailLast(shown);
    if ((info.dwFileAttributes & kKeptAttributes) != 0) {
        FILE_BASIC_INFO basic{};  // zero times: left as they are
        basic.FileAttributes = info.dwFileAttributes & kKeptAttributes;
        if (!::SetFileInformationByHandle(temp.file.handle.Get(), FileBasicInfo, &basic,
                                          sizeof basic))
            FailLast(shown);
    }
    return true;
}

// The read-only attribute means "keep this file as it is".
std::optional<FileFailure> WriteRefusal(const Folder&, const std::string&, const File& file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(file.handle.Get(), &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0)
        return FileFailure::ReadOnlyFile;
    return std::nullopt;
}

Mark ReadMark(const File&, std::string&) { return Mark::Unsupported; }
bool SetMark(const File&, const std::string&) { return false; }
void ClearMark(const File&) {}

// Owners are not compared on Windows: every file reads as the user's own.
std::uint32_t CurrentUser() { return 0; }
bool IsAdministrator(std::uint32_t) { return false; }

std::string CacheFolderPath() {
    const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
    if (local == nullptr || *local == L'\0') return {};
    const std::optional<std::string> folder = WideToUtf8(local);
    return folder ? *folder + "\\Ravlet" : std::string();
}

FolderPtr OpenCacheFolder(bool create) {
    const std::string path = CacheFolderPath();
    if (path.empty()) return nullptr;
    const std::optional<std::wstring> wide = Utf8ToWide(path);
    if (!wide) return nullptr;
    if (create) ::CreateDirectoryW(wide->c_str(), nullptr);
    FolderPtr folder(new Folder{});
    folder->path = *wide;
    folder->prefix = *wide + L"\\";
    folder->full = path;
    // A link in its place is not followed: copies go nowhere the user did not make.
    if (!InfoOf(folder->path, folder->info) ||
        (folder->info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (folder->info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return nullptr;
    return folder;
}

}  // namespace ravlet::file_system
