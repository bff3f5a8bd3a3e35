// Runs of the real ravlet-cli: arguments as a shell passes them, stdout, stderr and
// the exit status.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <atomic>
#include <thread>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.hpp"
#include "support/cli_runner.hpp"
#include "support/files.hpp"
#include "run_binary.hpp"
#include "support/text.hpp"

namespace {

namespace fs = std::filesystem;
using ravlet::test::CliOutcome;
using ravlet::test::RunBinary;
using ravlet::test::RunCliInProcess;
using ravlet::test::Stdout;
using ravlet::test::TempDir;
using ravlet::test::Text;

const fs::path kExamples = RAVLET_EXAMPLES_DIR;

TEST(CliBinary, ListsAndDetectsExamples) {
    const CliOutcome versions = RunBinary(kExamples, {"versions"});
    EXPECT_EQ(versions.status, 0);
    EXPECT_EQ(versions.out, "0.9\n1.2\n2.0\n");
    EXPECT_EQ(versions.err, "");

    const CliOutcome detect = RunBinary(kExamples, {"detect", "tarven.ini"});
    EXPECT_EQ(detect.status, 0);
    EXPECT_EQ(detect.out, "2.0\n");
    EXPECT_EQ(detect.err, "");
}

// The base checks print "FILE:LINE: message", FILE as --base names it.
TEST(CliBinary, ChecksTheBaseAndDiffsVersions) {
    const CliOutcome clean = RunBinary(kExamples, {"check-base"});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.out + clean.err, "");

    const TempDir dir;
    dir.Write("base.txt", Text(";b⏎[DESCRIPTIONS]⏎⏎TARVEN=1⏎SUPPORT=1⏎[A]⏎+K=!2⏎"));
    const CliOutcome faulty = RunBinary(dir.path(), {"check-base", "--base", "base.txt"});
    EXPECT_EQ(faulty.status, 1);
    EXPECT_EQ(faulty.out.rfind("base.txt:7: у переключателя «K»", 0), 0u) << faulty.out;
    EXPECT_EQ(std::count(faulty.out.begin(), faulty.out.end(), '\n'), 2)
        << faulty.out;  // and no hint for K

    const CliOutcome diff = RunBinary(kExamples, {"versions-diff", "1.2", "2.0"});
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out.substr(0, diff.out.find('\n')), "[Video]Fullscreen: !0 -> !1");
    EXPECT_EQ(diff.err, "");
}

TEST(CliBinary, CyrillicArgumentIsStoredAsWindows1251) {
    const TempDir dir;
    fs::copy(kExamples / "rvbase.txt", dir.path());
    fs::copy(kExamples / "tarven.ini", dir.path());
    std::string expected = dir.Read("tarven.ini");
    const std::string before = "Layout=QWERTY\r\n";
    expected.replace(expected.find(before), before.size(), Text("Layout=ЙЦУКЕН ⏎"));

    const CliOutcome set =
        RunBinary(dir.path(), {"set", "tarven.ini", "[Input]", "Layout", "ЙЦУКЕН"});
    EXPECT_EQ(set.status, 0);
    EXPECT_EQ(set.out + set.err, "");
    EXPECT_EQ(dir.Read("tarven.ini"), expected);

    const CliOutcome values =
        RunBinary(dir.path(), {"values", "2.0", "[Input]", "Layout", "tarven.ini"});
    EXPECT_EQ(values.status, 0);
    EXPECT_EQ(values.out, "  QWERTY\n* ЙЦУКЕН\n");
    EXPECT_EQ(values.err, "");
}

TEST(CliBinary, UnrecognisedVersionPrintsFallbackAndMessage) {
    const TempDir dir;
    fs::copy(kExamples / "rvbase.txt", dir.path());
    dir.Write("tarven.ini", Text(";ini⏎TARVEN=7.7⏎"));
    const CliOutcome got = RunBinary(dir.path(), {"detect", "tarven.ini"});
    EXPECT_EQ(got.status, 1);
    EXPECT_EQ(got.out, "2.0\n");
    EXPECT_EQ(got.err, "Не удалось распознать версию tarven.ini!\n");
}

TEST(CliBinary, UsageErrorExitsTwo) {
    const CliOutcome got = RunBinary(kExamples, {"params", "2.0", "Video"});
    EXPECT_EQ(got.status, 2);
    EXPECT_EQ(got.out, "");
    EXPECT_EQ(got.err, "Группа задаётся заголовком в скобках, например [Video]: \"Video\"\n");
}

// Where there is no base at all: --version and --help read nothing and write nothing.
TEST(CliBinary, VersionAndHelpInAnEmptyFolder) {
    const TempDir dir;
    const CliOutcome version = RunBinary(dir.path(), {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "ravlet-cli " RAVLET_VERSION "\n");
    EXPECT_EQ(version.err, "");
    const CliOutcome help = RunBinary(dir.path(), {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("\n  versions "), std::string::npos) << help.out;
    EXPECT_EQ(help.err, "");
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// A copy of the examples to change.
struct ExampleCopy {
    TempDir dir;
    ExampleCopy() {
        fs::copy(kExamples / "rvbase.txt", dir.path());
        fs::copy(kExamples / "tarven.ini", dir.path());
    }
};

// The settings text of a dry run is the file's own bytes, CR LF and Windows-1251 as
// they are, whatever the system does to text output: the same as the run in-process.
TEST(CliBinary, DryRunPrintsTheFilesOwnBytes) {
    const ExampleCopy copy;
    const std::string base = (copy.dir.path() / "rvbase.txt").string();
    const std::string ini = (copy.dir.path() / "tarven.ini").string();
    const std::vector<std::string> args{"--base", base, "defaults", ini, "--dry-run"};
    const CliOutcome inProcess = RunCliInProcess(args);
    ASSERT_EQ(inProcess.status, 0) << inProcess.err;
    ASSERT_NE(inProcess.out.find("\r\n"), std::string::npos);

    const CliOutcome got = RunBinary(copy.dir.path(), args);
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.err, "");
    EXPECT_EQ(got.out, inProcess.out);
}

// A file named in Cyrillic is read and changed under that name: no second file.
TEST(CliBinary, CyrillicFileNameIsChangedItself) {
    const ExampleCopy copy;
    const std::string name = "настройки.ini";
    copy.dir.Write(name, copy.dir.Read("tarven.ini"));
    const CliOutcome set = RunBinary(copy.dir.path(), {"set", name, "[Video]", "Scale", "4"});
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_NE(copy.dir.Read(name).find("\r\nScale=4 ;"), std::string::npos);
    const CliOutcome get = RunBinary(copy.dir.path(), {"get", name, "Scale"});
    EXPECT_EQ(get.status, 0) << get.err;
    EXPECT_EQ(get.out, "4\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(copy.dir.path()), fs::directory_iterator()), 3);
}

// The settings file as its own older file: the lock on it must not keep its own read
// waiting (the run would hang until the alarm ends it).
TEST(CliBinary, TransferFromTheFileItselfFinishes) {
    const ExampleCopy copy;
    const CliOutcome got = RunBinary(copy.dir.path(), {"transfer", "tarven.ini", "tarven.ini"});
    EXPECT_EQ(got.status, 0) << got.err;
    EXPECT_NE(got.out.find("[Video]Scale=3"), std::string::npos);
}

// A character the settings file cannot hold is refused, never stored as '?'.
TEST(CliBinary, CharacterOutsideWindows1251IsRefused) {
    const ExampleCopy copy;
    const std::string before = copy.dir.Read("tarven.ini");
    const CliOutcome got =
        RunBinary(copy.dir.path(), {"set", "tarven.ini", "[Input]", "Layout", "日本"});
    EXPECT_EQ(got.status, 2);
    EXPECT_NE(got.err.find("Windows-1251"), std::string::npos) << got.err;
    EXPECT_EQ(copy.dir.Read("tarven.ini"), before);
}

// What only POSIX has: /dev/full and a closed descriptor, FIFOs and device nodes,
// fork, owners and mode bits. On Windows the same tests are listed as skipped.
#ifndef _WIN32

// The output is part of the result: a dry run whose text did not all go out is no success.
TEST(CliBinary, FailedOutputExitsThree) {
    const ExampleCopy copy;
    for (const Stdout to : {Stdout::DevFull, Stdout::Closed}) {
        const CliOutcome dryRun =
            RunBinary(copy.dir.path(), {"defaults", "tarven.ini", "--dry-run"}, to);
        EXPECT_EQ(dryRun.status, 3);
        EXPECT_NE(dryRun.err.find("Вывод не записан"), std::string::npos) << dryRun.err;
        const CliOutcome listing = RunBinary(copy.dir.path(), {"versions"}, to);
        EXPECT_EQ(listing.status, 3);
    }
    // Nothing printed, nothing lost: a set prints no output.
    EXPECT_EQ(
        RunBinary(copy.dir.path(), {"set", "tarven.ini", "[Video]", "Scale", "4"}, Stdout::Closed)
            .status,
        0);
    EXPECT_NE(copy.dir.Read("tarven.ini").find("\r\nScale=4 ;"), std::string::npos);
}

// A FIFO is refused without waiting for a writer, a device without reading it, and
// neither is replaced.
TEST(CliBinary, SpecialFilesAreRefused) {
    const ExampleCopy copy;
    const fs::path fifo = copy.dir.path() / "fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    const fs::path device = copy.dir.path() / "null.ini";
    const bool haveDevice = mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    for (const fs::path& special : {fifo, device}) {
        if (special == device && !haveDevice) continue;
        for (const auto& args : std::vector<std::vector<std::string>>{
                 {"defaults", special.string()},
                 {"defaults", special.string(), "--dry-run"},
                 {"set", special.string(), "[Video]", "Scale", "3"},
                 {"get", special.string(), "Scale"}}) {
            const CliOutcome got = RunBinary(copy.dir.path(), args);
            EXPECT_EQ(got.status, 3) << args[0] << ' ' << special;
            EXPECT_NE(got.err.find("не обычный файл"), std::string::npos) << got.err;
        }
        EXPECT_FALSE(fs::is_regular_file(special));
    }
    EXPECT_EQ(RunBinary(copy.dir.path(), {"get", "/dev/zero", "Scale"}).status, 3);
}

// Two writers at once, each setting its own key 25 times: the lock keeps every update.
TEST(CliBinary, ParallelSetsLoseNothing) {
    const ExampleCopy copy;
    const std::vector<std::vector<std::string>> keys{{"[Video]", "Scale"}, {"[Sound]", "Volume"}};
    std::vector<pid_t> writers;
    for (const auto& key : keys) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 1; i <= 25; ++i) {
                const CliOutcome got = RunBinary(
                    copy.dir.path(), {"set", "tarven.ini", key[0], key[1], std::to_string(i)});
                if (got.status != 0) _exit(1);
            }
            _exit(0);
        }
        writers.push_back(pid);
    }
    for (const pid_t pid : writers) {
        int status = -1;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a set failed";
    }
    for (const auto& key : keys) {
        const CliOutcome got =
            RunBinary(copy.dir.path(), {"get", "tarven.ini", key[1], "--group", key[0]});
        EXPECT_EQ(got.out, "25\n") << key[1];
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(copy.dir.path()), fs::directory_iterator()), 2);
}

// Runs `command` in a shell in `dir`; its exit status, or -1 when the shell did not end
// normally.
int Shell(const fs::path& dir, const std::string& command) {
    const int status = std::system(("cd '" + dir.string() + "' && " + command).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveStrace() { return std::system("strace -V > /dev/null 2>&1") == 0; }

// strace traces the program, and LeakSanitizer (in the sanitizer build) aborts under a
// tracer: the leak check is left out of the traced runs.
const std::string kStrace =
    "ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0 strace -f -o /dev/null ";

// A save in place (the file has a second hard link) killed at each step: the file is
// the old text, or a recovery copy is there and `recover` brings the old text back to
// both names.
TEST(CliBinary, KilledInPlaceSaveIsOldOrRecoverable) {
    if (!HaveStrace()) GTEST_SKIP() << "strace is not installed";
    const struct {
        const char* injection;  // the n-th call of a system call that is killed
        bool copyLeft;
    } rows[] = {
        {"pwrite64:when=1", false},  // writing the recovery copy
        {"pwrite64:when=2", true},   // writing the file
        {"ftruncate", true},
        {"fsync:when=3", true},  // the file's own sync: the new text may be whole
        {"unlinkat", true},      // removing the copy
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.injection);
        const ExampleCopy copy;
        const std::string old = copy.dir.Read("tarven.ini");
        fs::create_hard_link(copy.dir.path() / "tarven.ini", copy.dir.path() / "second.ini");
        const std::string syscall =
            std::string(row.injection).substr(0, std::string(row.injection).find(':'));
        const std::string rest = std::string(row.injection).substr(syscall.size());
        Shell(copy.dir.path(), kStrace + "-e inject=" + syscall + ":signal=SIGKILL" + rest + " '" +
                                   RAVLET_CLI_PATH +
                                   "' set tarven.ini '[Video]' Scale 4444444444 > /dev/null 2>&1");
        const CliOutcome get = RunBinary(copy.dir.path(), {"get", "tarven.ini", "Scale"});
        if (row.copyLeft) {
            EXPECT_EQ(get.status, 3);
            EXPECT_NE(get.err.find("ravlet-cli recover tarven.ini"), std::string::npos) << get.err;
            EXPECT_EQ(RunBinary(copy.dir.path(), {"recover", "tarven.ini"}).status, 0);
        }
        EXPECT_EQ(copy.dir.Read("tarven.ini"), old);
        EXPECT_EQ(copy.dir.Read("second.ini"), old);
        // The next save goes through, and removes a temporary file the kill left.
        EXPECT_EQ(RunBinary(copy.dir.path(), {"set", "tarven.ini", "[Video]", "Scale", "5"}).status,
                  0);
        EXPECT_EQ(std::distance(fs::directory_iterator(copy.dir.path()), fs::directory_iterator()),
                  3);
    }
}

// The folder is swapped for a link to another folder while the save writes its
// temporary file: the save refuses, and the other folder gets nothing.
TEST(CliBinary, FolderSwappedDuringTheSaveIsRefused) {
    if (!HaveStrace()) GTEST_SKIP() << "strace is not installed";
    const ExampleCopy copy;
    const TempDir other;
    fs::create_directory(copy.dir.path() / "d");
    fs::copy(copy.dir.path() / "tarven.ini", copy.dir.path() / "d");
    const pid_t swapper = fork();
    if (swapper == 0) {
        usleep(700000);  // inside the delayed sync of the temporary file
        fs::rename(copy.dir.path() / "d", copy.dir.path() / "moved");
        fs::create_directory_symlink(other.path(), copy.dir.path() / "d");
        _exit(0);
    }
    const int status =
        Shell(copy.dir.path(), kStrace + "-e inject=fsync:delay_enter=1500000:when=1 '" +
                                   RAVLET_CLI_PATH + "' defaults d/tarven.ini 2> err");
    waitpid(swapper, nullptr, 0);
    EXPECT_EQ(status, 3);
    EXPECT_EQ(copy.dir.Read("err"),
              "d/tarven.ini: файл заменён другой программой во время сохранения\n");
    EXPECT_TRUE(fs::is_empty(other.path()));
    EXPECT_EQ(copy.dir.Read("moved/tarven.ini"), copy.dir.Read("tarven.ini"));
}

// A file another program keeps locked: a writer and a reader each say once that they
// wait, also over a wait longer than the second before the note, and give up after
// --wait with status 3.
TEST(CliBinary, LockHeldByAnotherProgramIsWaitedForWithinTheLimit) {
    const ExampleCopy copy;
    const int held = open((copy.dir.path() / "tarven.ini").c_str(), O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    const struct {
        std::vector<std::string> args;
        std::string seconds;
    } rows[] = {
        {{"--wait", "1", "set", "tarven.ini", "[Video]", "Scale", "3"}, "1"},
        {{"get", "tarven.ini", "Scale", "--wait=2"}, "2"},
    };
    for (const auto& row : rows) {
        const CliOutcome got = RunBinary(copy.dir.path(), row.args);
        EXPECT_EQ(got.status, 3);
        EXPECT_EQ(got.err,
                  "ravlet-cli: файл tarven.ini занят другой программой, жду (не дольше " +
                      row.seconds +
                      " с)\n"
                      "tarven.ini: файл занят другой программой, ожидание прекращено через " +
                      row.seconds + " с\n");
    }
    close(held);
}

// A root's edit leaves the file to its owner.
TEST(CliBinary, SetKeepsOwnerAndMode) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give the file to another user";
    const ExampleCopy copy;
    const fs::path ini = copy.dir.path() / "tarven.ini";
    ASSERT_EQ(chown(ini.c_str(), 65534, 65534), 0);
    ASSERT_EQ(chmod(ini.c_str(), 0640), 0);
    EXPECT_EQ(RunBinary(copy.dir.path(), {"set", "tarven.ini", "[Video]", "Scale", "3"}).status, 0);
    struct stat st {};
    ASSERT_EQ(stat(ini.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

#else

TEST(CliBinary, FailedOutputExitsThree) { GTEST_SKIP() << "Windows has no /dev/full to write to"; }
TEST(CliBinary, KilledInPlaceSaveIsOldOrRecoverable) {
    GTEST_SKIP() << "strace injects kills on Linux only";
}
TEST(CliBinary, FolderSwappedDuringTheSaveIsRefused) {
    GTEST_SKIP() << "strace injects delays on Linux only";
}
TEST(CliBinary, LockHeldByAnotherProgramIsWaitedForWithinTheLimit) {
    GTEST_SKIP() << "flock is POSIX; LockFileEx waits are bounded by the same code (lock_wait.cpp)";
}
TEST(CliBinary, SpecialFilesAreRefused) {
    GTEST_SKIP() << "Windows has no FIFOs or device nodes in folders; see "
                    "WindowsFiles.DevicesAndFoldersAreRefused";
}
// Two writers at once, each setting its own key 25 times: the writers' lock keeps every
// update, also across the moment a save lets the file go to replace it.
TEST(CliBinary, ParallelSetsLoseNothing) {
    const ExampleCopy copy;
    const std::vector<std::vector<std::string>> keys{{"[Video]", "Scale"}, {"[Sound]", "Volume"}};
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    for (const auto& key : keys) {
        writers.emplace_back([&, key] {
            for (int i = 1; i <= 25; ++i) {
                const CliOutcome got = RunBinary(
                    copy.dir.path(), {"set", "tarven.ini", key[0], key[1], std::to_string(i)});
                if (got.status != 0) ++failures;
            }
        });
    }
    for (std::thread& writer : writers) writer.join();
    EXPECT_EQ(failures, 0) << "a set failed";
    for (const auto& key : keys) {
        const CliOutcome got =
            RunBinary(copy.dir.path(), {"get", "tarven.ini", key[1], "--group", key[0]});
        EXPECT_EQ(got.out, "25\n") << key[1];
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(copy.dir.path()), fs::directory_iterator()), 2);
}
TEST(CliBinary, SetKeepsOwnerAndMode) {
    GTEST_SKIP() << "Windows has no owner and mode bits to keep";
}

#endif

}  // namespace
