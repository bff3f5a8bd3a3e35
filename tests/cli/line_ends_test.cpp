// LF-only files read and edit exactly as their CR LF originals: every command over the
// bundled examples, once as they are and once with CR LF turned into LF.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.hpp"
#include "support/files.hpp"
#include "support/text.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/version_list.hpp"

namespace {

using namespace ravlet::cli;
using ravlet::test::ReadExample;
using ravlet::test::ToLf;

// Everything the commands print and write for one set of files, in one transcript.
std::string Transcript(const std::string& base, const std::string& ini, const std::string& old) {
    std::ostringstream out;
    Streams io{out, out};
    auto text = [&](std::string t) { out << "--text\n" << t << "\n--\n"; };
    VersionsCommand(base, io);
    DetectCommand(base, ini, io);
    for (const std::string& version : ravlet::ListVersions(base)) {
        GroupsCommand(base, version, io);
        for (const std::string& group : ravlet::ListGroups(base, version)) {
            ParamsCommand(base, version, group, false, io);
            for (const std::string& key : ravlet::ListParameters(base, version, group, true)) {
                ValuesCommand(base, ini, version, group, key, io);
                HintCommand(base, group, key, io);
                GetCommand(ini, key, group, "", io);
                GetCommand(base, key, group, version, io);
            }
        }
        std::string filled = ini;
        out << DefaultsCommand(base, filled, version, io);
        text(filled);
    }
    std::string carried = ini;
    out << TransferCommand(base, old, carried, io);
    text(carried);
    return out.str();
}

TEST(LineEnds, LfFilesGiveTheCrLfResults) {
    const std::string base = ReadExample("rvbase.txt");
    const std::string ini = ReadExample("tarven.ini");
    const std::string old = ReadExample("old/tarven.ini");
    ASSERT_NE(base.find("\r\n"), std::string::npos);
    ASSERT_NE(ini.find("\r\n"), std::string::npos);

    const std::string crlf = Transcript(base, ini, old);
    // The transcript must be rich enough to notice a wiped value or a lost group.
    ASSERT_NE(crlf.find("Fullscreen"), std::string::npos);
    EXPECT_EQ(Transcript(ToLf(base), ToLf(ini), ToLf(old)), ToLf(crlf));
    // Mixed: each file keeps its own line ends, the results do not depend on them.
    EXPECT_EQ(ToLf(Transcript(ToLf(base), ini, old)), ToLf(crlf));
    EXPECT_EQ(ToLf(Transcript(base, ToLf(ini), ToLf(old))), ToLf(crlf));
}

}  // namespace
