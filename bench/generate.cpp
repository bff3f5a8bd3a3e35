// The generated texts. Padding is exact: the text is built once without comment
// padding to learn its bare size, then again with the remaining bytes spread over the
// padding slots, so a benchmark run on "1 MiB" really searches 1,048,576 bytes.
#include "generate.hpp"

#include <array>
#include <stdexcept>
#include <string_view>

#include "textengine/codepage.hpp"

namespace ravlet::bench {

std::string Cp1251(std::string_view utf8) {
    auto bytes = Utf8ToCp1251(utf8);
    if (!bytes) throw std::logic_error("benchmark text outside Windows-1251");
    return *bytes;
}

namespace {

// Russian words of the hints and comments, as Windows-1251 bytes. None holds ";",
// "=", "[" or a control character, so padding never forms a key, a group or a comment end.
const std::vector<std::string>& Words() {
    static const std::vector<std::string> words = [] {
        constexpr std::array kUtf8 = {
            "частота", "звука", "видеорежим", "эмуляции", "процессора", "память", "диска",
            "клавиатура", "джойстик", "экрана", "цвет", "таймер", "прерывания", "порт",
            "принтера", "загрузка", "скорость", "буфер", "кадра", "синхронизация", "значение",
            "по", "умолчанию", "включает", "выключает", "параметр", "задаёт", "для", "при",
            "если", "версии", "эмулятора", "Tarven", "Pimlow", "COM1", "44100", "Гц", "мс",
            "ЁЛКА", "Щит", "объём", "приоритет", "устройства", "сеть", "адрес", "модема"};
        std::vector<std::string> out;
        for (const char* w : kUtf8) out.push_back(Cp1251(w));
        return out;
    }();
    return words;
}

}  // namespace

// Exactly `n` bytes of words separated by spaces.
void AppendFiller(std::string& out, Rng& rng, std::size_t n) {
    const auto& words = Words();
    const std::size_t end = out.size() + n;
    while (out.size() < end) {
        const std::string& w = words[rng.Below(words.size())];
        out.append(w, 0, end - out.size());
        if (out.size() < end) out += ' ';
    }
}

namespace {

// Spreads `rest` padding bytes over `slots` slots; a slot gets 0 or at least 3 bytes
// (";" + CR LF is the shortest comment line).
std::vector<std::size_t> SplitBudget(std::size_t rest, std::size_t slots) {
    std::vector<std::size_t> budgets(slots, 0);
    if (rest == 0) return budgets;
    if (slots == 0 || rest < 3) throw std::invalid_argument("no room for the padding");
    if (rest >= 3 * slots) {
        for (std::size_t i = 0; i < slots; ++i) budgets[i] = rest / slots + (i < rest % slots ? 1 : 0);
    } else {
        for (std::size_t i = 0; i < rest / 3; ++i) budgets[i] = 3;
        budgets[0] += rest % 3;
    }
    return budgets;
}

// Collects the text; each Slot() becomes comment lines of its budget (none while probing).
class PaddedWriter {
public:
    explicit PaddedWriter(const std::vector<std::size_t>* budgets) : budgets_(budgets) {}

    void Add(std::string_view s) { text_ += s; }
    void Slot() {
        std::size_t budget = budgets_ ? (*budgets_)[slots_] : 0;
        ++slots_;
        constexpr std::size_t kLine = 100;
        while (budget > 0) {
            std::size_t len = budget < kLine ? budget : kLine;
            if (budget - len > 0 && budget - len < 3) len = budget - 3;
            text_ += ';';
            AppendFiller(text_, padRng_, len - 3);
            text_ += "\r\n";
            budget -= len;
        }
    }
    std::string& text() { return text_; }
    std::size_t slots() const { return slots_; }

private:
    const std::vector<std::size_t>* budgets_;
    std::size_t slots_ = 0;
    std::string text_;
    Rng padRng_{7};
};

template <typename Build>
std::string Padded(std::size_t bytes, Build build) {
    PaddedWriter probe(nullptr);
    build(probe);
    const std::size_t bare = probe.text().size();
    if (bare > bytes) {
        throw std::invalid_argument("the generated text needs " + std::to_string(bare) +
                                    " bytes, more than " + std::to_string(bytes));
    }
    const auto budgets = SplitBudget(bytes - bare, probe.slots());
    PaddedWriter writer(&budgets);
    build(writer);
    if (writer.text().size() != bytes) throw std::logic_error("padding missed the target size");
    return std::move(writer.text());
}

std::string TwoDigits(int n) { return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }

Param MakeParam(int v, int g, int i) {
    Param p;
    p.key = "Opt" + std::to_string(v + 1) + TwoDigits(g) + TwoDigits(i);
    p.advanced = i % 4 == 2;
    p.generalHint = i % 10 == 9;
    switch (i % 5) {
        case 0:
            p.spec = (g + i) % 2 ? "!1" : "!0";
            p.choices = {"0", "1"};
            break;
        case 1:
            p.spec = Cp1251("@Авто,Ручной,Выкл");
            p.choices = {Cp1251("Авто"), Cp1251("Ручной"), Cp1251("Выкл")};
            break;
        case 2:
            p.spec = "1,2,@4,8";
            p.choices = {"1", "2", "4", "8"};
            break;
        case 3:
            p.spec = "320x200,640x480,@800x600,1024x768";
            p.choices = {"320x200", "640x480", "800x600", "1024x768"};
            break;
        default:
            p.spec = "11025,22050,@44100,48000";
            p.choices = {"11025", "22050", "44100", "48000"};
            break;
    }
    return p;
}

}  // namespace

GeneratedBase GenerateBase(const BaseShape& shape) {
    if (shape.versions < 1 || shape.versions > 9 || shape.groups < 1 || shape.groups > 100 ||
        shape.paramsPerGroup < 1 || shape.paramsPerGroup > 100) {
        throw std::invalid_argument("base shape out of range");
    }
    GeneratedBase base;
    for (int v = 0; v < shape.versions; ++v) {
        base.versions.push_back("0.9" + std::to_string(v + 1));
        base.support.push_back(base.versions.back() + ".2");
    }
    for (int g = 0; g < shape.groups; ++g) base.groups.push_back("[G" + TwoDigits(g) + "]");
    base.params.resize(static_cast<std::size_t>(shape.versions));
    for (int v = 0; v < shape.versions; ++v) {
        auto& groups = base.params[static_cast<std::size_t>(v)];
        groups.resize(static_cast<std::size_t>(shape.groups));
        for (int g = 0; g < shape.groups; ++g) {
            for (int i = 0; i < shape.paramsPerGroup; ++i) groups[static_cast<std::size_t>(g)].push_back(MakeParam(v, g, i));
        }
    }

    base.text = Padded(shape.bytes, [&](PaddedWriter& w) {
        Rng rng(1);
        w.Add(Cp1251(";База версий Ravlet для замеров, сгенерирована\r\n"));
        w.Add("[DESCRIPTIONS]\r\n");
        for (const auto& groups : base.params) {
            for (std::size_t g = 0; g < groups.size(); ++g) {
                const std::string& header = base.groups[g];
                for (const Param& p : groups[g]) {
                    std::string line = p.generalHint ? "" : header.substr(1, header.size() - 2);
                    line += ":" + p.key + "=";
                    AppendFiller(line, rng, 150 + rng.Below(100));  // long hints
                    line += "\r\n";
                    w.Add(line);
                }
            }
        }
        w.Add("\r\n");
        for (std::size_t v = 0; v < base.versions.size(); ++v) {
            const std::string& name = base.versions[v];
            w.Add("TARVEN=" + name + "\r\n");
            w.Add("SUPPORT=" + name + ".0," + name + ".1," + name + ".2\r\n");
            w.Slot();
            for (std::size_t g = 0; g < base.groups.size(); ++g) {
                w.Add(base.groups[g] + "\r\n");
                for (const Param& p : base.params[v][g]) {
                    w.Add((p.advanced ? "-" : "+") + p.key + "=" + p.spec + "\r\n");
                    w.Slot();
                }
            }
        }
    });
    return base;
}

std::string GenerateSettings(const GeneratedBase& base, int version, std::size_t bytes,
                             std::uint32_t seed) {
    const auto& groups = base.params.at(static_cast<std::size_t>(version));
    return Padded(bytes, [&](PaddedWriter& w) {
        Rng rng(seed);
        w.Add(Cp1251(";Файл настроек эмулятора Tarven Pimlow\r\n"));
        w.Add("TARVEN=" + base.support[static_cast<std::size_t>(version)] + "\r\n");
        w.Slot();
        for (std::size_t g = 0; g < groups.size(); ++g) {
            w.Add("\r\n" + base.groups[g] + "\r\n");
            int i = 0;
            for (const Param& p : groups[g]) {
                std::string line = p.key + "=" + p.choices[rng.Below(p.choices.size())];
                if (i++ % 7 == 3) line += Cp1251(" ;примечание");
                w.Add(line + "\r\n");
                w.Slot();
            }
        }
    });
}

}  // namespace ravlet::bench
