#include "textengine/text_file.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <tuple>
#else
#include <windows.h>
#endif

#include "textengine/file_reason.hpp"
#include "textengine/locked_text_file.hpp"
#include "textengine/recovery_copy.hpp"

#include "support/files.hpp"
#include "support/text.hpp"

namespace {

namespace fs = std::filesystem;
using ravlet::FileError;
using ravlet::LoadTextFile;
using ravlet::LockedTextFile;
using ravlet::SaveTextFile;
using ravlet::test::Filler;
using ravlet::test::Text;

class TextFile : public ::testing::Test {
protected:
    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static void WriteRaw(const std::string& path, const std::string& bytes) {
        ravlet::test::WriteBytes(ravlet::test::Utf8Path(path), bytes);
    }
    static std::string ReadRaw(const std::string& path) {
        return ravlet::test::ReadBytes(ravlet::test::Utf8Path(path));
    }

    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    ravlet::test::TempDir temp_{"ravlet-textfile-"};
    const fs::path dir_ = temp_.path();
};

std::string AllBytesText() {
    std::string text = Text("; Настройки⏎[A]⏎KEY=1⏎") + "lf\nonly\n";
    for (int b = 0; b < 256; ++b) text += static_cast<char>(b);
    return text + "last line without end";
}

TEST_F(TextFile, UntouchedTextComesBackByteForByte) {
    const std::string path = PathOf("tarven.ini");
    const std::string text = AllBytesText();
    WriteRaw(path, text);
    const std::string loaded = LoadTextFile(path);
    EXPECT_EQ(loaded, text);
    SaveTextFile(path, loaded);
    EXPECT_EQ(ReadRaw(path), text);
}

TEST_F(TextFile, LoadKeepsLfOnlyLineEnds) {
    const std::string path = PathOf("lf.ini");
    WriteRaw(path, "a=1\nb=2\n");
    EXPECT_EQ(LoadTextFile(path), "a=1\nb=2\n");
}

TEST_F(TextFile, LoadKeepsMissingFinalLineEnd) {
    const std::string path = PathOf("end.ini");
    WriteRaw(path, Text("a=1⏎b=2"));
    EXPECT_EQ(LoadTextFile(path), Text("a=1⏎b=2"));
}

TEST_F(TextFile, LoadEmptyFileGivesEmptyText) {
    const std::string path = PathOf("empty.ini");
    WriteRaw(path, "");
    EXPECT_EQ(LoadTextFile(path), "");
}

TEST_F(TextFile, LoadReadsLargeFileWhole) {
    const std::string path = PathOf("big.txt");
    const std::string text = Filler(300000) + Text("KEY=1⏎");
    WriteRaw(path, text);
    EXPECT_EQ(LoadTextFile(path), text);
}

TEST_F(TextFile, LoadMissingFileThrowsNamingPath) {
    const std::string path = PathOf("missing.ini");
    try {
        LoadTextFile(path);
        FAIL() << "no FileError for a missing file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Path(), path);
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

TEST_F(TextFile, LoadFolderThrowsNamingPath) {
    const std::string path = PathOf("folder");
    fs::create_directory(path);
    try {
        LoadTextFile(path);
        FAIL() << "no FileError for a folder";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Path(), path);
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
}

TEST_F(TextFile, LoadWorksAfterFailedLoad) {
    const std::string path = PathOf("ok.ini");
    WriteRaw(path, Text("KEY=1⏎"));
    EXPECT_THROW(LoadTextFile(PathOf("missing.ini")), FileError);
    EXPECT_THROW(LoadTextFile(PathOf("no-folder/x.ini")), FileError);
    EXPECT_EQ(LoadTextFile(path), Text("KEY=1⏎"));
}

TEST_F(TextFile, SaveWritesExactlyNothingAppended) {
    const std::string path = PathOf("new.ini");
    SaveTextFile(path, Text("[A]⏎KEY=7 "));
    EXPECT_EQ(ReadRaw(path), Text("[A]⏎KEY=7 "));
    EXPECT_EQ(Entries(), std::set<std::string>{"new.ini"});
}

TEST_F(TextFile, SaveReplacesLongerContent) {
    const std::string path = PathOf("tarven.ini");
    WriteRaw(path, Filler(5000));
    SaveTextFile(path, "x");
    EXPECT_EQ(ReadRaw(path), "x");
    SaveTextFile(path, "");
    EXPECT_EQ(ReadRaw(path), "");
    EXPECT_EQ(Entries(), std::set<std::string>{"tarven.ini"});
}

TEST_F(TextFile, SaveFollowsSymbolicLink) {
    if (ravlet::test::kWindows) GTEST_SKIP() << "symbolic links need a privilege on Windows";
    const std::string target = PathOf("real.ini");
    const std::string link = PathOf("link.ini");
    WriteRaw(target, "old");
    fs::create_symlink(target, link);
    SaveTextFile(link, "new");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), fs::path(target));
    EXPECT_EQ(ReadRaw(target), "new");
    EXPECT_EQ(Entries(), (std::set<std::string>{"link.ini", "real.ini"}));
}

TEST_F(TextFile, SaveKeepsPermissions) {
    if (ravlet::test::kWindows)
        GTEST_SKIP() << "Windows has no mode bits; the read-only attribute is tested on its own";
    const std::string path = PathOf("tarven.ini");
    WriteRaw(path, "old");
    const auto wanted = fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read;
    fs::permissions(path, wanted, fs::perm_options::replace);
    SaveTextFile(path, "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, wanted);
    EXPECT_EQ(ReadRaw(path), "new");
}

TEST_F(TextFile, SaveIntoMissingFolderThrowsNamingPath) {
    const std::string path = PathOf("no-folder/tarven.ini");
    try {
        SaveTextFile(path, "x");
        FAIL() << "no FileError for a missing folder";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Path(), path);
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_EQ(Entries(), std::set<std::string>{});
}

TEST_F(TextFile, SaveOverFolderFailsAndLeavesIt) {
    const std::string path = PathOf("tarven.ini");
    fs::create_directory(path);
    WriteRaw(PathOf("tarven.ini/inside"), "kept");
    EXPECT_THROW(SaveTextFile(path, "x"), FileError);
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(ReadRaw(PathOf("tarven.ini/inside")), "kept");
    EXPECT_EQ(Entries(), std::set<std::string>{"tarven.ini"});
}

TEST_F(TextFile, SaveToReadOnlyFileFailsAndLeavesIt) {
    const std::string path = PathOf("tarven.ini");
    WriteRaw(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read, fs::perm_options::replace);
    EXPECT_THROW(SaveTextFile(path, "new"), FileError);
    EXPECT_EQ(ReadRaw(path), "old");
    EXPECT_EQ(Entries(), std::set<std::string>{"tarven.ini"});
}

// Rule: any legal name saves; the temporary name does not grow with the target's.
TEST_F(TextFile, SaveTakesLongestLegalName) {
    for (const std::size_t length : {250u, 255u}) {
        const std::string path = PathOf(std::string(length, 'n'));
        SaveTextFile(path, "created");
        EXPECT_EQ(ReadRaw(path), "created") << length;
        SaveTextFile(path, "replaced");
        EXPECT_EQ(ReadRaw(path), "replaced") << length;
        fs::remove(path);
    }
}

// A writer that waited for the lock goes on with what the previous writer saved, not
// with what the path named when it started waiting (that file was renamed over).
TEST_F(TextFile, LockedWriterWaitsAndReadsTheSavedText) {
    const std::string path = PathOf("tarven.ini");
    WriteRaw(path, "a");
    auto first = std::make_unique<LockedTextFile>(path);
    std::string secondRead;
    std::thread second([&] {
        LockedTextFile file(path);
        secondRead = file.Text();
        file.Save(file.Text() + "c");
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    first->Save(first->Text() + "b");
    first.reset();
    second.join();
    EXPECT_EQ(secondRead, "ab");
    EXPECT_EQ(ReadRaw(path), "abc");
    EXPECT_EQ(Entries(), std::set<std::string>{"tarven.ini"});
}

// A reader does not wait for a writer that only holds the file (its rewrite takes one
// step, or holds off readers while it writes in place): it reads the old text whole.
TEST_F(TextFile, ReaderDoesNotWaitForAHoldingWriter) {
    if (ravlet::test::kWindows) {
        GTEST_SKIP() << "a Windows writer's lock bars reads of the whole file; readers wait for it "
                        "within LockWait";
    }
    const std::string path = PathOf("tarven.ini");
    WriteRaw(path, "old");
    fs::create_hard_link(path, PathOf("second.ini"));
    LockedTextFile writer(path);
    std::string read;
    std::thread reader([&] { read = LoadTextFile(path); });
    reader.join();
    EXPECT_EQ(read, "old");
    writer.Save("new text");
    EXPECT_EQ(LoadTextFile(PathOf("second.ini")), "new text");
}

// A file at the copy's name that no save of this file made (planted, empty, a FIFO, a
// copy of another file) blocks nothing and is never put back: `recover` refuses it
// with its path, without waiting, and the file and the planted one stay as they were.
TEST_F(TextFile, PlantedCopyIsNeitherObeyedNorRestored) {
    const std::string path = PathOf("tarven.ini");
    const std::string copy = PathOf(".tarven.ini.ravlet-recovery");
    const std::function<void()> plants[] = {
        [&] { WriteRaw(copy, "someone else's text"); },
        [&] { WriteRaw(copy, ""); },
#ifndef _WIN32
        [&] { ASSERT_EQ(mkfifo(copy.c_str(), 0644), 0); },
#endif
    };
    for (const auto& plant : plants) {
        WriteRaw(path, "mine");
        plant();
        EXPECT_EQ(LoadTextFile(path), "mine");
        try {
            ravlet::RecoverTextFile(path);
            ADD_FAILURE() << "a planted copy was put back";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Kind(), ravlet::FileFailure::CopyNotOwn);
            EXPECT_EQ(e.Detail(), copy);
        }
        EXPECT_EQ(ReadRaw(path), "mine");
        // An in-place save keeps its own copy elsewhere and leaves the planted one.
        fs::create_hard_link(path, PathOf("second.ini"));
        SaveTextFile(path, "saved");
        EXPECT_EQ(ReadRaw(PathOf("second.ini")), "saved");
        EXPECT_TRUE(fs::exists(fs::symlink_status(copy)));
        fs::remove(copy);
        fs::remove(PathOf("second.ini"));
        EXPECT_EQ(Entries(), std::set<std::string>{"tarven.ini"});
    }
}

// The cache folder's name of a copy leads back to its file, and stays a legal name.
TEST(RecoveryCopy, CacheNameEscapesThePathAndStaysShort) {
    EXPECT_EQ(ravlet::RecoveryLeafInCache("/srv/a%b/tarven.ini"),
              "%2Fsrv%2Fa%25b%2Ftarven.ini.ravlet-recovery");
    const std::string longer =
        ravlet::RecoveryLeafInCache("/" + std::string(300, 'd') + "/tarven.ini");
    EXPECT_EQ(longer.size(), 200u);
    EXPECT_TRUE(longer.ends_with("d%2Ftarven.ini.ravlet-recovery")) << longer;
    EXPECT_NE(longer, ravlet::RecoveryLeafInCache("/" + std::string(301, 'd') + "/tarven.ini"));
}

// A save removes the temporary files a killed save left (nobody holds them), not one
// another writer is writing, whether it replaces a file or makes a new one.
TEST_F(TextFile, SaveRemovesStaleTemporaryFiles) {
    for (const bool existing : {true, false}) {
        SCOPED_TRACE(existing ? "over a file" : "a new file");
        const std::string path = PathOf("tarven.ini");
        if (existing) WriteRaw(path, "old");
        WriteRaw(PathOf(".ravlet-stale00000.tmp"), "left by a kill");
        WriteRaw(PathOf(".ravlet-writing000.tmp"), "being written");
#ifdef _WIN32
        // Held as its writer holds it: open for writing, shared for deletion.
        const HANDLE held =
            ::CreateFileW(ravlet::test::Utf8Path(PathOf(".ravlet-writing000.tmp")).c_str(),
                          GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        SaveTextFile(path, "new");
        ::CloseHandle(held);
#else
        const int held = open(PathOf(".ravlet-writing000.tmp").c_str(), O_RDONLY);
        ASSERT_EQ(flock(held, LOCK_EX), 0);
        SaveTextFile(path, "new");
        close(held);
#endif
        EXPECT_EQ(Entries(), (std::set<std::string>{".ravlet-writing000.tmp", "tarven.ini"}));
        EXPECT_EQ(ReadRaw(path), "new");
        fs::remove(path);
    }
}

// What only POSIX systems have: folder write permission binding other users, FIFOs,
// device nodes and sockets, extended attributes and ACLs, owners, file size limits,
// errno. On Windows the same tests are listed as skipped with the reason.
#ifndef _WIN32

// The outcome of a save run in a child process: the FileError's reason, "" when saved.
struct ChildOutcome {
    bool ran = false;
    std::string reason;
};

// Runs `body` in a child process, so a limit or a failure cannot touch the test
// process; with `asNobody`, as uid/gid 65534 when the tests run as root (folder
// permissions do not bind root).
ChildOutcome InChild(const std::function<void()>& body, bool asNobody = true) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        if (asNobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        try {
            body();
        } catch (const FileError& e) {
            const std::string reason = e.Reason().empty() ? "?" : e.Reason();
            if (write(fds[1], reason.data(), reason.size()) < 0) _exit(3);
        } catch (...) {
            _exit(4);
        }
        _exit(0);
    }
    close(fds[1]);
    ChildOutcome outcome;
    char buffer[512];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        outcome.reason.append(buffer, n);
    close(fds[0]);
    int status = 0;
    outcome.ran =
        pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return outcome;
}

// A writable file in a folder that is not: written in place. A new file there cannot be.
TEST_F(TextFile, SaveInReadOnlyFolderWritesInPlaceButCreatesNothing) {
    const std::string path = PathOf("tarven.ini");
    WriteRaw(path, "old");
    if (geteuid() == 0) {
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    }
    fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::replace);
    if (geteuid() != 0) fs::permissions(dir_, fs::perms::owner_write, fs::perm_options::remove);
    // The recovery copy of the in-place save goes to the cache folder, and is gone after.
    const fs::path cache = ravlet::test::MakeTempDir("ravlet-cache-");
    fs::permissions(cache, fs::perms::all, fs::perm_options::replace);
    // A temporary file a killed copy left in the cache goes with the next copy made there.
    fs::create_directory(cache / "ravlet");
    WriteRaw((cache / "ravlet" / ".ravlet-stale00000.tmp").string(), "left by a kill");
    if (geteuid() == 0) {
        ASSERT_EQ(chown((cache / "ravlet").c_str(), 65534, 65534), 0);
        ASSERT_EQ(chown((cache / "ravlet" / ".ravlet-stale00000.tmp").c_str(), 65534, 65534), 0);
    }
    const ChildOutcome saved = InChild([&] {
        setenv("XDG_CACHE_HOME", cache.c_str(), 1);
        SaveTextFile(path, "new, longer");
    });
    EXPECT_TRUE(fs::is_empty(cache / "ravlet"));
    fs::remove_all(cache);
    const ChildOutcome created = InChild([&] { SaveTextFile(PathOf("new.ini"), "x"); });
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::replace);
    ASSERT_TRUE(saved.ran && created.ran);
    EXPECT_EQ(saved.reason, "");
    EXPECT_EQ(ReadRaw(path), "new, longer");
    EXPECT_EQ(created.reason, ravlet::Wording(ravlet::FileFailure::FolderNotWritable));
    EXPECT_EQ(Entries(), std::set<std::string>{"tarven.ini"});
}

// Rule: anything but a regular file is refused by a load, a save and a lock, is never
// waited on, and stays what it was.
TEST_F(TextFile, OnlyRegularFilesAreReadOrWritten) {
    struct Case {
        const char* name;
        std::function<bool(const std::string&)> make;  // false: cannot be made here
        const char* reason;
        fs::file_type type;
    };
    const Case cases[] = {
        {"folder", [](const std::string& p) { return fs::create_directory(p); }, "папка",
         fs::file_type::directory},
        {"FIFO", [](const std::string& p) { return mkfifo(p.c_str(), 0666) == 0; }, "канал",
         fs::file_type::fifo},
        {"null device",
         [](const std::string& p) { return mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; },
         "устройство", fs::file_type::character},
        {"zero device",
         [](const std::string& p) { return mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 5)) == 0; },
         "устройство", fs::file_type::character},
        {"socket",
         [](const std::string& p) {
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             if (p.size() >= sizeof address.sun_path) return false;
             std::strcpy(address.sun_path, p.c_str());
             const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
             const bool bound =
                 bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
             close(fd);
             return bound;
         },
         "сокет", fs::file_type::socket},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = PathOf(std::string("special-") + c.name);
        if (!c.make(path)) {
            if (errno != EPERM)
                ADD_FAILURE() << "cannot make a " << c.name << ": " << std::strerror(errno);
            std::cout << "[  SKIPPED ] " << c.name << ": may not be made here\n";
            continue;
        }
        const std::string link = PathOf(std::string("link-") + c.name);
        fs::create_symlink(path, link);
        for (const std::string& named : {path, link}) {
            try {
                LoadTextFile(named);
                ADD_FAILURE() << "loaded";
            } catch (const FileError& e) {
                EXPECT_NE(e.Reason().find(c.reason), std::string::npos) << e.Reason();
            }
            EXPECT_THROW(SaveTextFile(named, "text"), FileError);
            EXPECT_THROW(LockedTextFile{named}, FileError);
        }
        EXPECT_EQ(fs::symlink_status(path).type(), c.type);
    }
}

// An endless device would fill the memory; only read, so safe on the system's own.
TEST_F(TextFile, EndlessDeviceIsNotRead) { EXPECT_THROW(LoadTextFile("/dev/zero"), FileError); }

// Reads an extended attribute; "" when absent.
std::string Attribute(const std::string& path, const char* name) {
    char value[256];
    const ssize_t n = getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? std::string() : std::string(value, static_cast<std::size_t>(n));
}

// A POSIX ACL as the kernel stores it in system.posix_acl_access: owner rw, user 1000
// r, group r, mask r, others nothing.
std::string AclGivingUser1000Read() {
    std::string acl;
    auto put = [&acl](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) acl += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put(2, 4);
    for (const auto& [tag, perm, id] : {std::tuple{1u, 6u, ~0u},
                                        {2u, 4u, 1000u},
                                        {4u, 4u, ~0u},
                                        {0x10u, 4u, ~0u},
                                        {0x20u, 0u, ~0u}}) {
        put(tag, 2);
        put(perm, 2);
        put(id, 4);
    }
    return acl;
}

// Rule: a save keeps what the file is. Each row changes one property of "old" and
// checks it after saving "new".
TEST_F(TextFile, SaveKeepsWhatTheFileIs) {
    struct Case {
        const char* name;
        bool needsRoot;
        std::function<int(const std::string&)> prepare;  // 0 or the errno that prevents it
        std::function<void(const std::string&)> check;
    };
    const std::string acl = AclGivingUser1000Read();
    const Case cases[] = {
        {"owner, group and mode of another user", true,
         [](const std::string& p) {
             return chown(p.c_str(), 65534, 65534) == 0 && chmod(p.c_str(), 0640) == 0 ? 0 : errno;
         },
         [](const std::string& p) {
             struct stat st {};
             ASSERT_EQ(stat(p.c_str(), &st), 0);
             EXPECT_EQ(st.st_uid, 65534u);
             EXPECT_EQ(st.st_gid, 65534u);
             EXPECT_EQ(st.st_mode & 07777, 0640u);
         }},
        {"set-group-ID bit", false,
         [](const std::string& p) { return chmod(p.c_str(), 02660) == 0 ? 0 : errno; },
         [](const std::string& p) {
             struct stat st {};
             ASSERT_EQ(stat(p.c_str(), &st), 0);
             EXPECT_EQ(st.st_mode & 07777, 02660u);
         }},
        {"user extended attribute", false,
         [](const std::string& p) {
             return setxattr(p.c_str(), "user.ravlet", "kept", 4, 0) == 0 ? 0 : errno;
         },
         [](const std::string& p) { EXPECT_EQ(Attribute(p, "user.ravlet"), "kept"); }},
        {"access control list", false,
         [&acl](const std::string& p) {
             return setxattr(p.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0
                        ? 0
                        : errno;
         },
         [&acl](const std::string& p) { EXPECT_EQ(Attribute(p, "system.posix_acl_access"), acl); }},
        {"other hard link", false,
         [this](const std::string& p) {
             return link(p.c_str(), PathOf("other").c_str()) == 0 ? 0 : errno;
         },
         [this](const std::string&) { EXPECT_EQ(ReadRaw(PathOf("other")), "new"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && geteuid() != 0) {
            std::cout << "[  SKIPPED ] " << c.name << ": needs root\n";
            continue;
        }
        fs::remove_all(dir_);
        fs::create_directory(dir_);
        const std::string path = PathOf("tarven.ini");
        WriteRaw(path, "old");
        if (const int err = c.prepare(path); err != 0) {
            if (err == ENOTSUP) {
                std::cout << "[  SKIPPED ] " << c.name << ": not supported by this file system\n";
                continue;
            }
            FAIL() << std::strerror(err);
        }
        const std::set<std::string> before = Entries();
        SaveTextFile(path, "new");
        EXPECT_EQ(ReadRaw(path), "new");
        c.check(path);
        EXPECT_EQ(Entries(), before);
    }
}

// A save over a file size limit fails with its reason and leaves the old file whole,
// through a temporary file and in place alike.
TEST_F(TextFile, FailedSaveLeavesOldFileWhole) {
    const std::string old = Filler(100);
    const struct {
        const char* name;
        bool hardLinked;
        rlim_t limit;
        std::string reason;
    } rows[] = {
        {"temporary file", false, old.size() + 200, ravlet::ReasonOf(EFBIG)},
        {"in place", true, old.size() + 200, ravlet::ReasonOf(EFBIG)},
        // Not even the recovery copy fits: nothing was touched, and the message says so.
        {"in place, limit below the old size", true, old.size() - 10,
         ravlet::Wording(ravlet::FileFailure::CopyFailed, ravlet::ReasonOf(EFBIG))},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const bool hardLinked = row.hardLinked;
        const std::string path = PathOf("tarven.ini");
        WriteRaw(path, old);
        if (hardLinked) fs::create_hard_link(path, PathOf("other"));
        const ChildOutcome outcome = InChild(
            [&] {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit{row.limit, row.limit};
                setrlimit(RLIMIT_FSIZE, &limit);
                SaveTextFile(path, Filler(5000));
            },
            false);
        EXPECT_TRUE(outcome.ran);
        EXPECT_EQ(outcome.reason, row.reason);
        EXPECT_EQ(ReadRaw(path), old);
        fs::remove(PathOf("other"));
        EXPECT_EQ(Entries(), std::set<std::string>{"tarven.ini"});
    }
}

// Rule: every errno a load or save can meet has its own Russian reason; the rest are
// named by number. No system (English) text ever shows.
TEST(FileReason, EveryErrnoIsExplainedInRussian) {
    const std::pair<int, const char*> cases[] = {
        {ENOENT, "не найден"},
        {ENOTDIR, "не папка"},
        {EACCES, "нет прав"},
        {EPERM, "нет прав"},
        {EISDIR, "папка"},
        {ENOSPC, "диск заполнен"},
        {EDQUOT, "квот"},
        {EROFS, "только для чтения"},
        {EFBIG, "размер"},
        {ENAMETOOLONG, "длинное имя"},
        {ELOOP, "ссыл"},
        {EIO, "ввода-вывода"},
        {ETXTBSY, "програм"},
        {EBUSY, "занят"},
        {EMFILE, "слишком много файлов"},
        {ENFILE, "слишком много файлов"},
        {ENOMEM, "памяти"},
        {EXDEV, "разных файловых"},
        {EAGAIN, "заблокирован"},
        {EWOULDBLOCK, "заблокирован"},
        {ENXIO, "устройство"},
        {EOVERFLOW, "велик"},
        {EINVAL, "недопустим"},
        {ESTALE, "сетев"},
    };
    for (const auto& [err, fragment] : cases) {
        EXPECT_NE(ravlet::ReasonOf(err).find(fragment), std::string::npos)
            << err << ' ' << ravlet::ReasonOf(err);
    }
    EXPECT_EQ(ravlet::ReasonOf(EHWPOISON), "системная ошибка номер " + std::to_string(EHWPOISON));
    for (int err = 1; err < 140; ++err) {
        const std::string reason = ravlet::ReasonOf(err);
        EXPECT_EQ(reason.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"),
                  std::string::npos)
            << err << ' ' << reason;
    }
}

#else

TEST_F(TextFile, SaveInReadOnlyFolderWritesInPlaceButCreatesNothing) {
    GTEST_SKIP() << "Windows has no folder permission bits binding another user (and no fork)";
}
TEST_F(TextFile, OnlyRegularFilesAreReadOrWritten) {
    GTEST_SKIP() << "Windows has no FIFOs, device nodes or Unix sockets in folders; see "
                    "WindowsFiles.DevicesAndFoldersAreRefused";
}
TEST_F(TextFile, EndlessDeviceIsNotRead) { GTEST_SKIP() << "Windows has no /dev/zero"; }
TEST_F(TextFile, SaveKeepsWhatTheFileIs) {
    GTEST_SKIP() << "owners, mode bits and POSIX ACLs are not Windows'; see WindowsFiles for "
                    "attributes and hard links";
}
TEST_F(TextFile, FailedSaveLeavesOldFileWhole) {
    GTEST_SKIP() << "Windows has no file size limit per process";
}
TEST(FileReason, EveryErrnoIsExplainedInRussian) {
    GTEST_SKIP() << "on Windows the reasons are of GetLastError codes; see "
                    "WindowsFiles.EveryErrorCodeIsExplainedInRussian";
}

#endif

}  // namespace
