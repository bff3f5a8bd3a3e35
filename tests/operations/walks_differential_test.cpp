// The one-pass walks against their straightforward form, on generated texts full of
// the quirks real files have: versions named as prefixes of others, repeated and
// other-case headers and markers, keys missing from groups or commented out, lines
// without "=", tabs, Cyrillic letters in both cases, CR LF and LF line ends.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "operations/fill_defaults.hpp"
#include "operations/transfer.hpp"
#include "reference_walks.hpp"
#include "support/text.hpp"
#include "versionbase/version_list.hpp"

namespace {

using ravlet::test::Text;

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    std::size_t Below(std::size_t n) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::size_t>(state_ >> 33) % n;
    }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[Below(items.size())];
    }

private:
    std::uint64_t state_;
};

const std::vector<std::string> kGroups = {"[A]",           "[a]",           "[B]",
                                          Text("[Экран]"), Text("[ЭКРАН]"), "[C D]"};
const std::vector<std::string> kKeys = {"X",          "x",          "XY", "Y",
                                        Text("Ключ"), Text("КЛЮЧ"), "Z",  "B:C"};
const std::vector<std::string> kVersions = {"1", "1.1", "11", "2", "2.0", "V"};
const std::vector<std::string> kValues = {"1", "0",   "ON",       "OFF", "a",
                                          "",  " b ", Text("да"), "a=b", "2 ;c"};
const std::vector<std::string> kSpecs = {"!0", "!1",    "1,@2,3", "@a,b",         "x,y",
                                         "",   "a@b,c", "1,@",    Text("да,@нет")};

// One line of a version base.
std::string BaseLine(Rng& rng) {
    switch (rng.Below(15)) {
        case 13:
            return rng.Pick(kKeys) + "=" + rng.Pick(kSpecs);
        case 0:
            return "TARVEN=" + rng.Pick(kVersions);
        case 1:
            return "SUPPORT=" + rng.Pick(kVersions) + "," + rng.Pick(kVersions) + ".5";
        case 2:
        case 3:
            return rng.Pick(kGroups);
        case 4:
            return ";" + rng.Pick(kKeys) + "=" + rng.Pick(kSpecs);
        case 5:
            return "-" + rng.Pick(kKeys) + "=" + rng.Pick(kSpecs);
        case 6:
            return "+" + rng.Pick(kKeys) + " no equals";
        case 7:
            return "\t+" + rng.Pick(kKeys) + "=" + rng.Pick(kSpecs);
        case 8:
            return "tarven=" + rng.Pick(kVersions);
        case 9:
            return "";
        default:
            return "+" + rng.Pick(kKeys) + "=" + rng.Pick(kSpecs);
    }
}

// One line of a settings text.
std::string IniLine(Rng& rng) {
    switch (rng.Below(10)) {
        case 0:
            return "TARVEN=" + rng.Pick(kVersions) + ".5";
        case 1:
        case 2:
            return rng.Pick(kGroups);
        case 3:
            return ";" + rng.Pick(kKeys) + "=" + rng.Pick(kValues);
        case 4:
            return "; see " + rng.Pick(kGroups);
        case 5:
            return rng.Pick(kKeys) + " =" + rng.Pick(kValues);
        default:
            return rng.Pick(kKeys) + "=" + rng.Pick(kValues);
    }
}

std::string Join(const std::vector<std::string>& lines, Rng& rng) {
    const std::string end = rng.Below(3) == 0 ? "\n" : "\r\n";
    std::string text;
    for (const auto& line : lines) text += line + end;
    return text;
}

std::string MakeBase(Rng& rng) {
    std::vector<std::string> lines = {";base", "[DESCRIPTIONS]"};
    for (std::size_t n = rng.Below(8); n > 0; --n) {
        const std::string group = rng.Pick(kGroups);
        lines.push_back(rng.Below(5) == 0
                            ? ":" + rng.Pick(kKeys) + "=hint"
                            : group.substr(1, group.size() - 2) + ":" + rng.Pick(kKeys) + "=hint");
    }
    if (rng.Below(8) != 0) lines.emplace_back("");
    for (std::size_t n = 3 + rng.Below(40); n > 0; --n) lines.push_back(BaseLine(rng));
    return Join(lines, rng);
}

std::string MakeIni(Rng& rng) {
    std::vector<std::string> lines = {";ini"};
    for (std::size_t n = rng.Below(30); n > 0; --n) lines.push_back(IniLine(rng));
    return Join(lines, rng);
}

TEST(Walks, OnePassWalksGiveTheStraightforwardResults) {
    for (std::uint64_t seed = 1; seed <= 3000; ++seed) {
        Rng rng(seed);
        const std::string base = MakeBase(rng);
        const std::string ini = MakeIni(rng);
        const std::string old = MakeIni(rng);
        SCOPED_TRACE("seed " + std::to_string(seed) + "\nbase:\n" + base + "\nini:\n" + ini +
                     "\nold:\n" + old);

        const std::vector<std::string> versions = ravlet::ListVersions(base);
        ASSERT_EQ(versions, ravlet::reference::ListVersions(base));

        const ravlet::Detection fast = ravlet::DetectVersion(ini, base, versions);
        const ravlet::Detection slow = ravlet::reference::DetectVersion(ini, base, versions);
        ASSERT_EQ(fast.index, slow.index);
        ASSERT_EQ(fast.recognised, slow.recognised);

        std::vector<std::string> tried = versions;
        tried.insert(tried.end(), {"", "9", "1.1"});
        for (const std::string& v : tried) {
            ASSERT_EQ(ravlet::FillFromDefaults(base, v, ini),
                      ravlet::reference::FillFromDefaults(base, v, ini))
                << "version " << v;
        }

        std::string fastIni = ini;
        std::string slowIni = ini;
        const ravlet::TransferResult got = ravlet::TransferValues(base, old, fastIni);
        const ravlet::TransferResult want = ravlet::reference::TransferValues(base, old, slowIni);
        ASSERT_EQ(fastIni, slowIni);
        ASSERT_EQ(got.report, want.report);
        ASSERT_EQ(got.carried, want.carried);
        ASSERT_EQ(got.failure.has_value(), want.failure.has_value());
    }
}

}  // namespace
