#include "textengine/text_file.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "test_text.hpp"

namespace {

namespace fs = std::filesystem;
using ravlet::FileError;
using ravlet::LoadTextFile;
using ravlet::SaveTextFile;
using ravlet::test::Filler;
using ravlet::test::Text;

class TextFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ravlet-textfile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }

    static void WriteRaw(const std::string& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    static std::string ReadRaw(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir_;
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
        EXPECT_EQ(e.path(), path);
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
        EXPECT_EQ(e.path(), path);
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
        EXPECT_EQ(e.path(), path);
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

TEST_F(TextFile, SaveInReadOnlyFolderFailsAndLeavesOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind root";
    const std::string path = PathOf("tarven.ini");
    WriteRaw(path, "old");
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec, fs::perm_options::replace);
    EXPECT_THROW(SaveTextFile(path, "new"), FileError);
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::replace);
    EXPECT_EQ(ReadRaw(path), "old");
    EXPECT_EQ(Entries(), std::set<std::string>{"tarven.ini"});
}

}  // namespace
