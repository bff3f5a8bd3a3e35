// The generated texts. Sizes are steered, not padded with filler lines: the hints of the
// descriptions section take what the base lacks of S MiB, the comment lines above the
// keys what a settings file lacks of S * 256 KiB, so the line structure stays that of a
// real file at every scale.
#include "generate.hpp"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "operations/default_rule.hpp"
#include "textengine/codepage.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet::bench {
namespace {

constexpr int kVersions = 5;
constexpr int kGroupsPerScale = 70;
constexpr int kFirstGroupSize = 44;  // record v has 44 + v parameters per group

// A fixed linear congruential generator: the same texts on every machine and library.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed * 2654435761u + 1) {}
    std::size_t Below(std::size_t n) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::size_t>(state_ >> 33) % n;
    }

private:
    std::uint64_t state_;
};

std::string Cp1251(std::string_view utf8) {
    auto bytes = Utf8ToCp1251(utf8);
    if (!bytes) throw std::logic_error("benchmark text outside Windows-1251");
    return *bytes;
}

// Appends exactly `n` bytes of Russian words separated by spaces. No word holds ";",
// "=", "[" or a control character, so a hint or comment never forms a key or a group.
void AppendFiller(std::string& out, Rng& rng, std::size_t n) {
    static const std::vector<std::string> words = [] {
        constexpr std::array kUtf8 = {
            "частота",  "звука",     "видеорежим", "эмуляции", "процессора",
            "память",   "диска",     "клавиатура", "джойстик", "экрана",
            "цвет",     "таймер",    "прерывания", "порт",     "принтера",
            "загрузка", "скорость",  "буфер",      "кадра",    "синхронизация",
            "значение", "по",        "умолчанию",  "включает", "выключает",
            "параметр", "задаёт",    "для",        "при",      "если",
            "версии",   "эмулятора", "Tarven",     "Pimlow",   "COM1",
            "44100",    "Гц",        "мс",         "ЁЛКА",     "Щит",
            "объём",    "приоритет", "устройства", "сеть",     "адрес",
            "модема"};
        std::vector<std::string> out;
        for (const char* w : kUtf8) out.push_back(Cp1251(w));
        return out;
    }();
    const std::size_t end = out.size() + n;
    while (out.size() < end) {
        out.append(words[rng.Below(words.size())], 0, end - out.size());
        if (out.size() < end) out += ' ';
    }
}

// No word is another's ending, so no key or group name is found inside a longer one.
constexpr std::array kGroupWords = {"Video",   "Sound",   "Input",    "System",  "Network",
                                    "Printer", "Disk",    "Memory",   "Timer",   "Serial",
                                    "Debug",   "Display", "Keyboard", "Joystick"};
constexpr std::array kKeyWords = {"Scale",  "Rate",   "Volume", "Mode",  "Layout", "Speed",
                                  "Port",   "Buffer", "Delay",  "Level", "Filter", "Palette",
                                  "Border", "Cursor", "Turbo",  "Model"};

template <std::size_t N>
std::string Numbered(const std::array<const char*, N>& words, int i) {
    return std::string(words[static_cast<std::size_t>(i) % N]) +
           std::to_string(i / static_cast<int>(N) + 1);
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> out(1);
    for (char c : list) {
        if (c == ',') {
            out.emplace_back();
        } else if (c != '@') {
            out.back() += c;
        }
    }
    return out;
}

// The kinds of value specs a real base mixes: switches, lists with and without "@",
// numeric and Cyrillic. A newer record may move a default.
Param MakeParam(int v, int g, int i) {
    Param p;
    p.key = Numbered(kKeyWords, i);
    p.advanced = (i + g) % 5 == 3;
    std::string list;
    switch ((g * 7 + i) % 6) {
        case 0:
            p.spec = (g + i + v) % 3 == 0 ? "!1" : "!0";
            p.choices = {"0", "1"};
            p.fallback = p.spec.substr(1);
            return p;
        case 1:
            list = v >= 3 ? "Авто,@Ручной,Выкл" : "@Авто,Ручной,Выкл";
            break;
        case 2:
            list = "1,2,4,8";
            break;
        case 3:
            list = "320x200,640x480,@800x600,1024x768";
            break;
        case 4:
            list = v >= 4 ? "11025,22050,44100,@48000" : "11025,22050,@44100,48000";
            break;
        default:
            list = "Нет,Да,Всегда";
            break;
    }
    p.spec = Cp1251(list);
    p.choices = Split(p.spec);
    const std::size_t at = p.spec.find('@');
    p.fallback = at == std::string::npos ? p.choices.front()
                                         : p.spec.substr(at + 1, p.spec.find(',', at) - at - 1);
    return p;
}

// Lengths of `count` pieces that add up to `total`, each within +-40 % of the mean
// (the last one takes the remainder). Throws when `total` is too small.
std::vector<std::size_t> Lengths(std::size_t total, std::size_t count, Rng& rng) {
    if (count == 0 || total < count * 8)
        throw std::invalid_argument("no room for the texts at this scale");
    const std::size_t mean = total / count;
    const std::size_t spread = mean * 4 / 10;
    std::vector<std::size_t> out;
    std::size_t used = 0;
    for (std::size_t k = 0; k + 1 < count; ++k) {
        std::size_t len = mean - spread + rng.Below(2 * spread + 1);
        // Keep room for the rest at their smallest.
        const std::size_t left = total - used;
        const std::size_t minRest = (count - k - 1) * (mean - spread);
        if (left < minRest + len) len = left > minRest ? left - minRest : 1;
        out.push_back(len);
        used += len;
    }
    if (total - used < 3) throw std::logic_error("piece lengths do not add up");
    out.push_back(total - used);
    return out;
}

// A settings file of record `v`: a comment line, the TARVEN line, each group with a
// comment line over every key, values from the choices, some trailing comments and
// trailing spaces. `bytes` is met exactly through the comment lines.
std::string Settings(const Texts& d, int v, std::size_t bytes, std::uint32_t seed) {
    auto build = [&](const std::vector<std::size_t>* comments) {
        Rng rng(seed);
        Rng fill(seed + 1);
        std::string text =
            Cp1251(";Файл настроек эмулятора Tarven Pimlow, не править во время работы\r\n");
        text += "TARVEN=" + d.builds[static_cast<std::size_t>(v)] + "\r\n";
        std::size_t slot = 0;
        const auto& groups = d.params[static_cast<std::size_t>(v)];
        for (std::size_t g = 0; g < groups.size(); ++g) {
            text += "\r\n" + d.groups[g] + "\r\n";
            int i = 0;
            for (const Param& p : groups[g]) {
                if (comments) {
                    text += ';';
                    AppendFiller(text, fill, (*comments)[slot] - 3);
                    text += "\r\n";
                }
                ++slot;
                text += p.key + "=" + p.choices[rng.Below(p.choices.size())];
                if (i % 7 == 3) text += Cp1251(" ;изменено вручную");
                if (i % 11 == 5) text += "   ";
                text += "\r\n";
                ++i;
            }
        }
        return std::make_pair(std::move(text), slot);
    };
    const auto [bare, slots] = build(nullptr);
    if (bare.size() + slots * 8 > bytes)
        throw std::invalid_argument("settings keys exceed the size");
    Rng lengths(seed + 2);
    const auto comments = Lengths(bytes - bare.size(), slots, lengths);
    std::string text = build(&comments).first;
    if (text.size() != bytes) throw std::logic_error("settings size missed");
    return text;
}

// The texts must be what the figures claim: every record lists all groups (its first
// header repeats the record before it), both files are detected as the versions they
// were written for, the defaults the fill will write are those the generator expects.
void Check(const Texts& d) {
    auto expect = [](bool ok, const std::string& what) {
        if (!ok) throw std::runtime_error("generated data: " + what);
    };
    expect(ListVersions(d.base) == d.versions, "ListVersions gives the generated versions");
    for (const std::string& v : d.versions)
        expect(ListGroups(d.base, v) == d.groups, "every group listed in " + v);
    const Detection ini = DetectVersion(d.ini, d.base, d.versions);
    const Detection old = DetectVersion(d.oldIni, d.base, d.versions);
    expect(ini.recognised && ini.index == d.iniVersion, "tarven.ini detected as the last version");
    expect(old.recognised && old.index == d.oldVersion, "old.ini detected as the fourth version");
    const auto listed = ListParameters(d.base, d.versions.back(), d.groups.back(), true);
    expect(listed.size() == d.params.back().back().size() && listed.back() == d.LastParam().key,
           "full list of the last group");
    for (const auto& group : d.params.back()) {
        for (const Param& p : group) expect(DefaultOf(p.spec) == p.fallback, "default of " + p.key);
    }
}

}  // namespace

Texts Generate(int scale) {
    if (scale < 1 || scale > 64) throw std::invalid_argument("scale out of range 1..64");
    Texts d;
    d.scale = scale;
    const int groups = kGroupsPerScale * scale;
    for (int v = 0; v < kVersions; ++v) {
        d.versions.push_back("3." + std::to_string(v + 1));
        d.builds.push_back(d.versions.back() + "." + std::to_string(v % 3));
    }
    for (int g = 0; g < groups; ++g) d.groups.push_back("[" + Numbered(kGroupWords, g) + "]");
    d.params.resize(kVersions);
    for (int v = 0; v < kVersions; ++v) {
        auto& record = d.params[static_cast<std::size_t>(v)];
        record.resize(static_cast<std::size_t>(groups));
        for (int g = 0; g < groups; ++g) {
            for (int i = 0; i < kFirstGroupSize + v; ++i)
                record[static_cast<std::size_t>(g)].push_back(MakeParam(v, g, i));
        }
    }

    std::string records;
    for (int v = 0; v < kVersions; ++v) {
        const std::string& name = d.versions[static_cast<std::size_t>(v)];
        records += "\r\nTARVEN=" + name + "\r\n";
        records += "SUPPORT=" + name + ".0," + name + ".1," + name + ".2\r\n";
        for (int g = 0; g < groups; ++g) {
            records += d.groups[static_cast<std::size_t>(g)] + "\r\n";
            for (const Param& p :
                 d.params[static_cast<std::size_t>(v)][static_cast<std::size_t>(g)]) {
                records += (p.advanced ? "-" : "+") + p.key + "=" + p.spec + "\r\n";
            }
        }
    }

    // The descriptions: one line per key of the last record; the hints fill the base to
    // S MiB exactly.
    const std::string head =
        Cp1251(";База версий эмулятора Tarven Pimlow\r\n") + "[DESCRIPTIONS]\r\n";
    std::vector<std::string> prefixes;
    std::size_t prefixBytes = 0;
    for (int g = 0; g < groups; ++g) {
        for (const Param& p : d.params.back()[static_cast<std::size_t>(g)]) {
            prefixes.push_back(Numbered(kGroupWords, g) + ":" + p.key + "=");
            prefixBytes += prefixes.back().size() + 2;
        }
    }
    const std::size_t target = static_cast<std::size_t>(scale) << 20;
    const std::size_t fixed = head.size() + prefixBytes + records.size();
    if (fixed + prefixes.size() * 8 > target)
        throw std::logic_error("base records exceed the size");
    Rng rng(static_cast<std::uint64_t>(scale) * 1000 + 1);
    const auto hints = Lengths(target - fixed, prefixes.size(), rng);
    d.base.reserve(target);
    d.base = head;
    for (std::size_t k = 0; k < prefixes.size(); ++k) {
        d.base += prefixes[k];
        AppendFiller(d.base, rng, hints[k]);
        d.base += "\r\n";
    }
    d.base += records;  // begins with the empty line that ends the descriptions
    if (d.base.size() != target) throw std::logic_error("base size missed");

    const std::size_t iniBytes = static_cast<std::size_t>(scale) << 18;
    d.ini = Settings(d, d.iniVersion, iniBytes, 11);
    d.oldIni = Settings(d, d.oldVersion, iniBytes, 23);
    // Described keys are the last record's; the older file has all but the newest one
    // of each group, and every value is non-empty in both.
    d.carried = groups * (kFirstGroupSize + d.oldVersion);
    Check(d);
    return d;
}

}  // namespace ravlet::bench
