// What saving means on Windows: a replace that works over an existing file and leaves
// no temporary file, bytes untouched, UTF-8 names reaching the UTF-16 file system, the
// read-only attribute, hard links, devices, and the Russian reasons of error codes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "textengine/file_reason.hpp"
#include "textengine/locked_text_file.hpp"
#include "textengine/text_file.hpp"
#include "textengine/wide_text.hpp"

#include "support/files.hpp"
#include "support/text.hpp"

namespace {

namespace fs = std::filesystem;
using ravlet::FileError;
using ravlet::LoadTextFile;
using ravlet::SaveTextFile;
using ravlet::test::Text;
using ravlet::test::Utf8Path;

class WindowsFiles : public ::testing::Test {
protected:
    // The UTF-8 path the program holds for `utf8Name` in the folder.
    std::string PathOf(const std::string& utf8Name) const {
        const std::u8string path = (dir_ / Utf8Path(utf8Name)).u8string();
        return {path.begin(), path.end()};
    }

    void WriteRaw(const std::string& name, const std::string& bytes) const {
        ravlet::test::WriteBytes(dir_ / Utf8Path(name), bytes);
    }
    std::string ReadRaw(const std::string& name) const {
        return ravlet::test::ReadBytes(dir_ / Utf8Path(name));
    }

    // The folder's entries as the file system names them (UTF-16).
    std::vector<std::wstring> Entries() const {
        std::vector<std::wstring> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().wstring());
        return names;
    }

    BY_HANDLE_FILE_INFORMATION Info(const std::string& name) const {
        BY_HANDLE_FILE_INFORMATION info{};
        const HANDLE file = ::CreateFileW((dir_ / Utf8Path(name)).c_str(), 0,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << name;
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(::GetFileInformationByHandle(file, &info));
            ::CloseHandle(file);
        }
        return info;
    }

    ravlet::test::TempDir temp_{"ravlet-windows-"};
    const fs::path dir_ = temp_.path();
};

std::pair<DWORD, DWORD> FileIndex(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.nFileIndexHigh, info.nFileIndexLow};
}

// A save over an existing file replaces it (a new file takes the name: no rename was
// refused) and leaves nothing else in the folder, through the plain save and the
// locked one alike.
TEST_F(WindowsFiles, SaveReplacesAnExistingFileAndLeavesNoTemporaryFile) {
    WriteRaw("tarven.ini", "old");
    const auto before = FileIndex(Info("tarven.ini"));
    SaveTextFile(PathOf("tarven.ini"), "new");
    EXPECT_EQ(ReadRaw("tarven.ini"), "new");
    EXPECT_NE(FileIndex(Info("tarven.ini")), before);
    {
        ravlet::LockedTextFile file(PathOf("tarven.ini"));
        EXPECT_EQ(file.Text(), "new");
        file.Save("newer");
    }
    EXPECT_EQ(ReadRaw("tarven.ini"), "newer");
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"tarven.ini"});
}

// Bytes written are the bytes given: no CR is added before an LF, none is taken away.
TEST_F(WindowsFiles, LineEndsAndEveryByteAreWrittenAsGiven) {
    std::string text =
        "crlf\r\nlf\ncr\rcrcrlf\r\r\n\x1a"
        "after ctrl-z";
    for (int b = 0; b < 256; ++b) text += static_cast<char>(b);
    for (const std::string name : {"new.ini", "new.ini"}) {  // created, then replaced
        SaveTextFile(PathOf(name), text);
        EXPECT_EQ(ReadRaw(name), text);
        EXPECT_EQ(LoadTextFile(PathOf(name)), text);
    }
}

// A Cyrillic name is one file: read, saved and changed under the same UTF-16 name.
TEST_F(WindowsFiles, CyrillicFileNameIsReadAndSavedAsTheSameFile) {
    const std::string name = "настройки Ёё.ini";
    WriteRaw(name, Text("[Раздел]⏎Ключ=1⏎"));
    EXPECT_EQ(LoadTextFile(PathOf(name)), Text("[Раздел]⏎Ключ=1⏎"));
    SaveTextFile(PathOf(name), Text("[Раздел]⏎Ключ=2⏎"));
    {
        ravlet::LockedTextFile file(PathOf(name));
        file.Save(file.Text() + "x");
    }
    EXPECT_EQ(ReadRaw(name), Text("[Раздел]⏎Ключ=2⏎") + "x");
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"настройки Ёё.ini"});
    // A new file gets the name too.
    SaveTextFile(PathOf("новый.ini"), "n");
    EXPECT_EQ(ReadRaw("новый.ini"), "n");
}

// The read-only attribute means "keep this file": refused by either save, the file left.
TEST_F(WindowsFiles, ReadOnlyAttributeIsRefused) {
    WriteRaw("tarven.ini", "old");
    ASSERT_TRUE(::SetFileAttributesW((dir_ / "tarven.ini").c_str(), FILE_ATTRIBUTE_READONLY));
    try {
        SaveTextFile(PathOf("tarven.ini"), "new");
        ADD_FAILURE() << "saved over a read-only file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), ravlet::FileFailure::ReadOnlyFile);
    }
    ravlet::LockedTextFile file(PathOf("tarven.ini"));
    EXPECT_EQ(file.Text(), "old");
    EXPECT_THROW(file.Save("new"), FileError);
    EXPECT_EQ(ReadRaw("tarven.ini"), "old");
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"tarven.ini"});
}

// Hidden and archive attributes go over to the file that replaces the old one.
TEST_F(WindowsFiles, SaveKeepsHiddenAttribute) {
    WriteRaw("tarven.ini", "old");
    ASSERT_TRUE(::SetFileAttributesW((dir_ / "tarven.ini").c_str(),
                                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    SaveTextFile(PathOf("tarven.ini"), "new");
    EXPECT_EQ(ReadRaw("tarven.ini"), "new");
    EXPECT_NE(Info("tarven.ini").dwFileAttributes & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// A file with another hard link is written in place, so both names see the new text.
TEST_F(WindowsFiles, HardLinkedFileIsWrittenInPlace) {
    WriteRaw("tarven.ini", "old");
    ASSERT_TRUE(
        ::CreateHardLinkW((dir_ / "other.ini").c_str(), (dir_ / "tarven.ini").c_str(), nullptr));
    const auto before = FileIndex(Info("tarven.ini"));
    SaveTextFile(PathOf("tarven.ini"), "new, longer than before");
    EXPECT_EQ(ReadRaw("other.ini"), "new, longer than before");
    EXPECT_EQ(FileIndex(Info("tarven.ini")), before);
    SaveTextFile(PathOf("tarven.ini"), "short");
    EXPECT_EQ(ReadRaw("other.ini"), "short");
}

// Only regular files: a folder and a device are refused by a load and both saves,
// naming what they are.
TEST_F(WindowsFiles, DevicesAndFoldersAreRefused) {
    fs::create_directory(dir_ / "folder.ini");
    const std::pair<std::string, const char*> cases[] = {
        {PathOf("folder.ini"), "папка"},
        {"NUL", "устройство"},
    };
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        try {
            LoadTextFile(path);
            ADD_FAILURE() << "loaded";
        } catch (const FileError& e) {
            EXPECT_NE(e.Reason().find(reason), std::string::npos) << e.Reason();
        }
        EXPECT_THROW(SaveTextFile(path, "text"), FileError);
        EXPECT_THROW(ravlet::LockedTextFile{path}, FileError);
    }
    EXPECT_TRUE(fs::is_directory(dir_ / "folder.ini"));
    EXPECT_EQ(Entries(), std::vector<std::wstring>{L"folder.ini"});
}

// A file another program keeps open without sharing it is busy, not forbidden: waited
// for within the wait, and said so.
TEST_F(WindowsFiles, FileKeptOpenByAnotherProgramIsBusy) {
    WriteRaw("tarven.ini", "old");
    const HANDLE held = ::CreateFileW((dir_ / "tarven.ini").c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    int said = 0;
    const ravlet::LockWait previous = ravlet::ExchangeLockWait(
        {std::chrono::seconds(1), [&](const std::string&, bool) { ++said; }});
    const std::function<void()> uses[] = {
        [&] { LoadTextFile(PathOf("tarven.ini")); },
        [&] { SaveTextFile(PathOf("tarven.ini"), "new"); },
    };
    for (const auto& use : uses) {
        try {
            use();
            ADD_FAILURE() << "not refused";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Kind(), ravlet::FileFailure::Busy) << e.what();
        }
    }
    ravlet::ExchangeLockWait(previous);
    ::CloseHandle(held);
    EXPECT_EQ(said, 2);
    EXPECT_EQ(ReadRaw("tarven.ini"), "old");
}

// A name that is not UTF-8 names no file: refused, never guessed at.
TEST_F(WindowsFiles, InvalidUtf8NameIsRefused) {
    const std::string folder = PathOf("");
    for (const std::string& name : {folder + "bad\xff.ini", folder + "half\xd0.ini"}) {
        EXPECT_THROW(SaveTextFile(name, "x"), FileError);
        EXPECT_THROW(LoadTextFile(name), FileError);
    }
    EXPECT_TRUE(Entries().empty());
}

// The program's UTF-8 and the system's UTF-16 turn into each other exactly, and what
// is not valid text in one cannot be made into the other.
TEST(WideText, ConvertsExactlyOrRefuses) {
    const struct {
        std::string utf8;
        std::wstring wide;
    } same[] = {
        {"", L""},
        {"tarven.ini", L"tarven.ini"},
        {"настройки Ёё.ini", L"настройки Ёё.ini"},
        {"\xF0\x9F\x98\x80", L"\xD83D\xDE00"},  // beyond the BMP: a surrogate pair
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : same) {
        EXPECT_EQ(ravlet::Utf8ToWide(c.utf8), c.wide) << c.utf8;
        EXPECT_EQ(ravlet::WideToUtf8(c.wide), c.utf8) << c.utf8;
    }
    for (const std::string bad : {"\xFF", "\xD0", "\xC0\xAF", "\xED\xA0\x80"}) {
        EXPECT_EQ(ravlet::Utf8ToWide(bad), std::nullopt);
    }
    for (const std::wstring bad : {L"\xD800", L"x\xDC00y"})
        EXPECT_EQ(ravlet::WideToUtf8(bad), std::nullopt);
}

// Rule: the common error codes of a load or save have their own Russian reason, others
// are named by number. No system text ever shows.
TEST(WindowsFileReason, EveryErrorCodeIsExplainedInRussian) {
    const std::pair<DWORD, const char*> cases[] = {
        {ERROR_FILE_NOT_FOUND, "не найден"},
        {ERROR_PATH_NOT_FOUND, "не найден"},
        {ERROR_ACCESS_DENIED, "нет прав"},
        {ERROR_SHARING_VIOLATION, "занят"},
        {ERROR_LOCK_VIOLATION, "заблокирован"},
        {ERROR_DISK_FULL, "диск заполнен"},
        {ERROR_HANDLE_DISK_FULL, "диск заполнен"},
        {1295, "квот"},
        {ERROR_WRITE_PROTECT, "защищён от записи"},
        {ERROR_FILENAME_EXCED_RANGE, "длинное имя"},
        {ERROR_INVALID_NAME, "недопустимое имя"},
        {ERROR_NOT_ENOUGH_MEMORY, "памяти"},
        {ERROR_OUTOFMEMORY, "памяти"},
        {ERROR_TOO_MANY_OPEN_FILES, "слишком много файлов"},
        {ERROR_NOT_READY, "не готово"},
        {ERROR_CRC, "ввода-вывода"},
        {ERROR_NOT_SAME_DEVICE, "разных дисках"},
        {ERROR_BAD_NETPATH, "сетев"},
        {ERROR_FILE_TOO_LARGE, "размер"},
        {ERROR_NOT_SUPPORTED, "не поддерживается"},
        {ERROR_USER_MAPPED_FILE, "отображён"},
        {336, "папка"},
    };
    for (const auto& [code, fragment] : cases) {
        const std::string reason = ravlet::ReasonOf(static_cast<int>(code));
        EXPECT_NE(reason.find(fragment), std::string::npos) << code << ' ' << reason;
    }
    EXPECT_EQ(ravlet::ReasonOf(ERROR_INVALID_DATA), "системная ошибка номер 13");
    for (int code = 0; code < 2000; ++code) {
        const std::string reason = ravlet::ReasonOf(code);
        EXPECT_EQ(reason.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
                  std::string::npos)
            << code << ' ' << reason;
    }
}

}  // namespace
