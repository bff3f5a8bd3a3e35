// The version base checks: the walks over the base are made once (the TARVEN key lines,
// the records, every group's "+"/"-" lines, the descriptions walk), and each rule is one
// function over them, so the whole check stays linear in the size of the base.
#include "versionbase/base_checks.hpp"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "textengine/codepage.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_index.hpp"
#include "versionbase/catalogue.hpp"
#include "versionbase/description_walk.hpp"
#include "versionbase/value_choices.hpp"
#include "versionbase/version_list.hpp"

namespace ravlet {
namespace {

using Kind = BaseFinding::Kind;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text of the line at the 1-based `pos`, from there to its CR or LF.
std::string_view LineAt(std::string_view base, std::size_t pos) {
    const std::string_view rest = base.substr(pos - 1);
    return rest.substr(0, rest.find_first_of("\r\n"));
}

// A version record: a listed version and its marker line.
struct Record {
    std::string_view name;
    std::size_t pos;
};

// A line beginning with "[" and the "+"/"-" lines after it up to the next such line.
struct Block {
    std::size_t pos;
    std::string_view header;  // up to its "]"; empty when the line has none
    std::vector<ParameterLine> lines;
};

class Checker {
public:
    explicit Checker(std::string_view base) : base_(base) {
        for (std::size_t i = 0; i < base.size(); ++i) {
            if (base[i] == '\n') lineFeeds_.push_back(i);
        }
        WalkMarkers(base, [&](const MarkerLine& m) {
            if (m.kind == MarkerLine::Kind::Listed) listed_.push_back(markers_.size());
            markers_.push_back(m);
            return true;
        });
        // A general description line for TARVEN is listed too, but it is no record: what
        // it does is its own finding.
        for (const MarkerLine& m : markers_) {
            if (m.kind == MarkerLine::Kind::Empty) break;
            if (m.kind == MarkerLine::Kind::Listed && !GeneralLine(m))
                records_.push_back({m.name, m.hit.keyPos});
        }
        for (auto hit = FindKeyAfter(base, 0, "", "SUPPORT"); hit;
             hit = FindKeyAfter(base, hit->keyPos, "", "SUPPORT")) {
            supports_.push_back(*hit);
        }
        // Line 1 is no header for the listing (it looks for a line break before "["), and
        // the lines before the first header belong to no group.
        if (base.starts_with('+') || base.starts_with('-'))
            beforeFirstHeader_.push_back({1, EqualsOnLine(1)});
        std::size_t next = WalkParameterLines(
            base, 1, [&](const ParameterLine& l) { beforeFirstHeader_.push_back(l); });
        while (next != 0) {
            Block block{next, {}, {}};
            const std::string_view line = LineAt(base, next);
            if (const std::size_t close = line.find(']'); close != std::string_view::npos) {
                block.header = line.substr(0, close + 1);
            }
            next = WalkParameterLines(base, next,
                                      [&](const ParameterLine& l) { block.lines.push_back(l); });
            blockAt_.emplace(block.pos, blocks_.size());
            blocks_.push_back(std::move(block));
        }
    }

    std::vector<BaseFinding> Run() {
        KeyAtStart();
        DescriptionsPlace();
        DescriptionLines();
        GeneralTarvenLine();
        MarkerForm();
        EmptyName();
        RepeatedMarker();
        CutName();
        ShadowedName();
        LeadingNewGroups();
        BorrowedSupport();
        SupportOverlap();
        UnclosedHeader();
        SignLineBeforeHeader();
        ParameterLineShape();
        RepeatedKey();
        ValueSpec();
        MissingHint();
        MixedLineEnds();
        std::stable_sort(
            findings_.begin(), findings_.end(),
            [](const BaseFinding& a, const BaseFinding& b) { return a.line < b.line; });
        return std::move(findings_);
    }

private:
    std::size_t LineOf(std::size_t pos) const {
        return static_cast<std::size_t>(
                   std::lower_bound(lineFeeds_.begin(), lineFeeds_.end(), pos - 1) -
                   lineFeeds_.begin()) +
               1;
    }
    void Add(std::size_t pos, Kind kind, std::vector<std::string> names = {},
             std::size_t otherPos = 0) {
        findings_.push_back(
            {kind, LineOf(pos), std::move(names), otherPos == 0 ? 0 : LineOf(otherPos)});
    }

    std::size_t EqualsOnLine(std::size_t pos) const {
        const std::size_t eq = LineAt(base_, pos).find('=');
        return eq == std::string_view::npos ? 0 : pos + eq;
    }
    // ":TARVEN=" at a line start.
    bool GeneralLine(const MarkerLine& m) const {
        const std::size_t k = m.hit.keyPos;
        return k >= 2 && base_[k - 2] == ':' && StartsLine(base_, k - 1);
    }
    std::string_view KeyName(const ParameterLine& l) const {
        return base_.substr(l.pos, l.equals - l.pos - 1);
    }

    // The record whose marker stands last before `pos`.
    const Record* RecordBefore(std::size_t pos) const {
        const auto it = std::partition_point(records_.begin(), records_.end(),
                                             [&](const Record& r) { return r.pos < pos; });
        return it == records_.begin() ? nullptr : &*(it - 1);
    }
    std::size_t RecordEnd(std::size_t i) const {
        return i + 1 < records_.size() ? records_[i + 1].pos : 0;
    }

    // The key lookups find a key at the very start of the text, which the format keeps
    // for another line.
    void KeyAtStart() {
        for (const std::string_view key : {"TARVEN", "SUPPORT"}) {
            const auto hit = FindKeyAfter(base_, 0, "", key);
            if (hit && hit->keyPos <= 2) {
                Add(1, Kind::KeyAtStart, {std::string(key)});
                return;
            }
        }
    }

    void DescriptionsPlace() {
        const std::size_t header = DescriptionsHeader(base_);
        if (header == 0) {
            Add(1, Kind::NoDescriptions);
        } else if (const Record* owner = RecordBefore(header)) {
            Add(header, Kind::DescriptionsAfterMarker, {std::string(owner->name)});
        }
    }

    // The lines the transfer walks, then the description lines it never reaches. A line
    // that stops the transfer is taken as mended and the walk goes on, so that the author
    // meets every finding in one run.
    void DescriptionLines() {
        const std::size_t header = DescriptionsHeader(base_);
        if (header == 0) return;
        std::size_t stop = 0;
        for (std::size_t from = header; from != 0;) {
            std::size_t stopped = 0;
            stop = WalkDescriptions(base_, from, [&](const DescriptionLine& d) {
                const std::string_view line = LineAt(base_, d.pos);
                const std::size_t colon = d.key.find(':');
                if (colon == std::string_view::npos) {
                    Add(d.pos, Kind::DescriptionWithoutColon);
                    stopped = d.pos;
                    return false;
                }
                const std::size_t eq = line.find('=');
                if (eq == std::string_view::npos) {
                    Add(d.pos, Kind::DescriptionWithoutEquals);
                    return true;
                }
                if ((colon > 0 && IsBlank(d.key[colon - 1])) ||
                    (colon + 1 < d.key.size() && IsBlank(d.key[colon + 1]))) {
                    Add(d.pos, Kind::BlankBesideColon);
                }
                if (line.find(';', eq) != std::string_view::npos) Add(d.pos, Kind::SemicolonInHint);
                return true;
            });
            from = stopped;
        }
        if (stop == 0) return;
        const std::size_t end = markers_.empty() ? base_.size() + 1 : markers_.front().hit.keyPos;
        for (std::size_t p = stop; p < end;) {
            const std::string_view line = LineAt(base_, p);
            const std::size_t eq = line.find('=');
            if (!line.empty() && line.front() != ';' && line.front() != '[' &&
                eq != std::string_view::npos &&
                line.substr(0, eq).find(':') != std::string_view::npos) {
                Add(p, Kind::DescriptionAfterEnd, {}, stop);
            }
            const std::size_t lf = base_.find('\n', p - 1);
            if (lf == std::string_view::npos) break;
            p = lf + 2;
        }
    }

    void GeneralTarvenLine() {
        for (const MarkerLine& m : markers_) {
            if (!GeneralLine(m)) continue;
            std::vector<std::string> names;
            if (m.kind == MarkerLine::Kind::Listed) names.emplace_back(m.name);
            Add(m.hit.keyPos, Kind::GeneralTarvenLine, std::move(names));
        }
    }

    void MarkerForm() {
        for (const MarkerLine& m : markers_) {
            const std::size_t k = m.hit.keyPos;
            if (GeneralLine(m)) continue;
            if (m.kind == MarkerLine::Kind::NotExact) {
                Add(k, Kind::MarkerNotExact, {std::string(LineAt(base_, k))});
            } else if (!StartsLine(base_, k) && m.kind != MarkerLine::Kind::Empty) {
                Add(k, Kind::MarkerNotAtLineStart);
            }
        }
    }

    void EmptyName() {
        const auto empty = std::find_if(markers_.begin(), markers_.end(), [](const MarkerLine& m) {
            return m.kind == MarkerLine::Kind::Empty;
        });
        if (empty == markers_.end()) return;
        std::vector<std::string> hidden;
        for (auto m = empty + 1; m != markers_.end(); ++m) {
            if (m->kind == MarkerLine::Kind::Listed) hidden.emplace_back(m->name);
        }
        Add(empty->hit.keyPos, Kind::EmptyVersionName, std::move(hidden));
    }

    // The marker line of the listing's version `index` (the walk's `earlier`).
    const MarkerLine& Listed(int index) const {
        return markers_[listed_[static_cast<std::size_t>(index)]];
    }

    void RepeatedMarker() {
        for (const MarkerLine& m : markers_) {
            if (m.kind != MarkerLine::Kind::Repeated) continue;
            Add(m.hit.keyPos, Kind::RepeatedMarker, {std::string(m.name)},
                Listed(m.earlier).hit.keyPos);
        }
    }

    void CutName() {
        for (const MarkerLine& m : markers_) {
            if (m.kind != MarkerLine::Kind::Cut) continue;
            const MarkerLine& earlier = Listed(m.earlier);
            Add(m.hit.keyPos, Kind::NameBeginsWithEarlier,
                {std::string(m.name), std::string(earlier.name)}, earlier.hit.keyPos);
        }
    }

    // A lookup by version finds the first exact "TARVEN=" + name anywhere.
    void ShadowedName() {
        std::vector<std::string> names;
        for (const Record& r : records_) names.emplace_back(r.name);
        const std::vector<std::size_t> found = MarkerPositions(base_, names);
        for (std::size_t i = 0; i < records_.size(); ++i) {
            if (found[i] == records_[i].pos) continue;
            Add(records_[i].pos, Kind::ShadowedMarker,
                {std::string(records_[i].name), std::string(LineAt(base_, found[i]))}, found[i]);
        }
    }

    // The group listing of a record runs on into the next one up to the first repeat.
    void LeadingNewGroups() {
        for (std::size_t i = 1; i < records_.size(); ++i) {
            std::vector<std::string> names{std::string(records_[i].name),
                                           std::string(records_[i - 1].name)};
            std::size_t first = 0;
            for (const ListedHeader& h :
                 ListHeadersFrom(base_, records_[i - 1].pos, RecordEnd(i))) {
                if (h.pos < records_[i].pos) continue;
                if (first == 0) first = h.pos;
                names.emplace_back(h.header);
            }
            if (first == 0) continue;
            Add(first, Kind::RecordBeginsWithNewGroup, std::move(names));
        }
    }

    // The first SUPPORT key line after each record's marker (nullopt: none).
    std::optional<KeyHit> SupportAfter(std::size_t pos) const {
        const auto it = std::partition_point(supports_.begin(), supports_.end(),
                                             [&](const KeyHit& h) { return h.keyPos <= pos; });
        if (it == supports_.end()) return std::nullopt;
        return *it;
    }
    bool OwnSupport(std::size_t i, const KeyHit& hit) const {
        return RecordEnd(i) == 0 || hit.keyPos < RecordEnd(i);
    }

    void BorrowedSupport() {
        for (std::size_t i = 0; i < records_.size(); ++i) {
            const auto hit = SupportAfter(records_[i].pos);
            if (!hit) {
                Add(records_[i].pos, Kind::NoSupport, {std::string(records_[i].name)});
            } else if (!OwnSupport(i, *hit)) {
                const Record* owner = RecordBefore(hit->keyPos);
                Add(records_[i].pos, Kind::BorrowedSupport,
                    {std::string(records_[i].name), std::string(owner->name)}, hit->keyPos);
            }
        }
    }

    // A settings file is given the first version whose list contains its build as a
    // substring; each list's substrings of the items' lengths are looked up among the items.
    void SupportOverlap() {
        struct Own {
            std::size_t record;
            KeyHit hit;
            std::vector<std::string_view> items;
        };
        std::vector<Own> own;
        std::unordered_set<std::size_t> lengths;
        for (std::size_t i = 0; i < records_.size(); ++i) {
            const auto hit = SupportAfter(records_[i].pos);
            if (!hit || !OwnSupport(i, *hit)) continue;
            Own o{i, *hit, {}};
            std::string_view rest = ValueAt(base_, *hit);
            for (;;) {
                const std::size_t comma = rest.find(',');
                const std::string_view item = TrimSpaces(rest.substr(0, comma));
                if (!item.empty()) {
                    o.items.push_back(item);
                    lengths.insert(item.size());
                }
                if (comma == std::string_view::npos) break;
                rest.remove_prefix(comma + 1);
            }
            own.push_back(std::move(o));
        }
        // Each item and the first list (index into `own`) that holds it, its own at the latest.
        constexpr std::size_t kNone = static_cast<std::size_t>(-1);
        std::unordered_map<std::string_view, std::size_t> firstList;
        for (const Own& o : own) {
            for (const std::string_view item : o.items) firstList.emplace(item, kNone);
        }
        for (std::size_t n = 0; n < own.size(); ++n) {
            const std::string_view list = ValueAt(base_, own[n].hit);
            for (const std::size_t k : lengths) {
                for (std::size_t at = 0; at + k <= list.size(); ++at) {
                    const auto it = firstList.find(list.substr(at, k));
                    if (it != firstList.end() && it->second == kNone) it->second = n;
                }
            }
        }
        for (std::size_t n = 0; n < own.size(); ++n) {
            for (const std::string_view item : own[n].items) {
                const std::size_t first = firstList[item];
                if (first == n) continue;
                const Own& earlier = own[first];
                Add(own[n].hit.keyPos, Kind::SupportInEarlierList,
                    {std::string(item), std::string(records_[earlier.record].name)},
                    earlier.hit.keyPos);
            }
        }
    }

    void UnclosedHeader() {
        for (const Block& b : blocks_) {
            if (!b.header.empty()) continue;
            Add(b.pos, Kind::UnclosedHeader);
        }
    }

    void SignLineBeforeHeader() {
        for (const ParameterLine& l : beforeFirstHeader_) Add(l.pos, Kind::SignLineBeforeHeader);
    }

    void ParameterLineShape() {
        for (const Block& b : blocks_) {
            for (const ParameterLine& l : b.lines) {
                if (l.equals == 0) {
                    Add(l.pos, Kind::ParameterWithoutEquals);
                    continue;
                }
                const std::string_view name = KeyName(l);
                if (!name.empty() && (IsBlank(name.front()) || IsBlank(name.back()))) {
                    Add(l.pos, Kind::BlanksAroundKeyName, {std::string(name)});
                }
            }
        }
    }

    // Names compare as the lookups compare them: in any letter case.
    void RepeatedKey() {
        for (const Block& b : blocks_) {
            std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> first;
            for (const ParameterLine& l : b.lines) {
                if (l.equals == 0) continue;
                const auto [it, added] = first.emplace(KeyName(l), l.pos);
                if (added) continue;
                Add(l.pos, Kind::RepeatedKey, {std::string(KeyName(l))}, it->second);
            }
        }
    }

    void ValueSpec() {
        for (const Block& b : blocks_) {
            for (const ParameterLine& l : b.lines) {
                if (l.equals == 0) continue;
                const std::string_view spec =
                    ValueAt(base_, {l.pos + 1, l.equals + 1, ValueEnd(base_, l.equals + 1)});
                const std::string key(KeyName(l));
                if (spec.empty()) {
                    Add(l.pos, Kind::EmptyValueSpec, {key});
                } else if (spec.front() == '!') {
                    if (spec != "!0" && spec != "!1")
                        Add(l.pos, Kind::SwitchDefault, {key, std::string(spec.substr(1))});
                } else {
                    if (std::count(spec.begin(), spec.end(), '@') > 1)
                        Add(l.pos, Kind::TwoDefaultMarks, {key});
                    for (std::size_t c = spec.find(','); c != std::string_view::npos;
                         c = spec.find(',', c + 1)) {
                        if ((c > 0 && IsBlank(spec[c - 1])) ||
                            (c + 1 < spec.size() && IsBlank(spec[c + 1]))) {
                            Add(l.pos, Kind::BlanksAroundComma, {key});
                            break;
                        }
                    }
                }
            }
        }
    }

    // Every parameter a version lists, with the hint lookup made through one index of
    // the descriptions section.
    void MissingHint() {
        LookupIndex hints(base_, 0, KeyRule::Base);
        // Views into the base: the keys already asked for, by group.
        using Names = std::unordered_set<std::string_view, FoldedHash, FoldedEqual>;
        std::unordered_map<std::string_view, Names, FoldedHash, FoldedEqual> asked;
        for (std::size_t i = 0; i < records_.size(); ++i) {
            for (const ListedHeader& h : ListHeadersFrom(base_, records_[i].pos, RecordEnd(i))) {
                const auto block = blockAt_.find(h.pos);
                if (block == blockAt_.end()) continue;
                Names& names = asked[h.header];
                for (const ParameterLine& l : blocks_[block->second].lines) {
                    if (l.equals == 0) continue;
                    const std::string_view name = KeyName(l);
                    if (!names.insert(name).second) continue;
                    const auto [own, general] = HintKeys(h.header, name);
                    if (!hints.Get("[DESCRIPTIONS]", own).empty() ||
                        !hints.Get("[DESCRIPTIONS]", general).empty()) {
                        continue;
                    }
                    Add(l.pos, Kind::MissingHint,
                        {std::string(name), std::string(h.header), own + "=", general + "="});
                }
            }
        }
    }

    void MixedLineEnds() {
        if (lineFeeds_.empty()) return;
        const auto crlf = [&](std::size_t lf) { return lf > 0 && base_[lf - 1] == '\r'; };
        const bool first = crlf(lineFeeds_.front());
        for (std::size_t n = 1; n < lineFeeds_.size(); ++n) {
            if (crlf(lineFeeds_[n]) == first) continue;
            Add(lineFeeds_[n] + 1, Kind::MixedLineEnds,
                {first ? "LF" : "CR LF", first ? "CR LF" : "LF"});
            return;
        }
    }

    std::string_view base_;
    std::vector<std::size_t> lineFeeds_;  // 0-based
    std::vector<MarkerLine> markers_;
    std::vector<std::size_t> listed_;  // indexes into markers_ of the Listed lines
    std::vector<Record> records_;      // the listed versions, up to an empty name
    std::vector<KeyHit> supports_;
    std::vector<ParameterLine> beforeFirstHeader_;
    std::vector<Block> blocks_;
    std::unordered_map<std::size_t, std::size_t> blockAt_;  // "[" position -> index into blocks_
    std::vector<BaseFinding> findings_;
};

// A name from the base, quoted for a message.
std::string Q(std::string_view cp1251) { return "«" + Cp1251ToUtf8(cp1251) + "»"; }

std::string LineNo(std::size_t line) { return "строка " + std::to_string(line); }

// names[from...], each quoted or not, joined by ", ".
std::string Joined(const std::vector<std::string>& names, std::size_t from, bool quoted) {
    std::string joined;
    for (std::size_t i = from; i < names.size(); ++i)
        joined += (joined.empty() ? "" : ", ") + (quoted ? Q(names[i]) : Cp1251ToUtf8(names[i]));
    return joined;
}

}  // namespace

std::vector<BaseFinding> CheckBase(std::string_view base) { return Checker(base).Run(); }

std::string BaseFindingMessage(const BaseFinding& f) {
    const auto name = [&](std::size_t i) { return Q(f.names.at(i)); };
    switch (f.kind) {
        case Kind::KeyAtStart:
            return "файл начинается со строки ключа " + Cp1251ToUtf8(f.names.at(0)) +
                   ": перед первой строкой, которую ищет программа, должна стоять другая; "
                   "добавьте в начало строку комментария «;»";
        case Kind::NoDescriptions:
            return "нет раздела [DESCRIPTIONS]: окно не показывает подсказок, а перенос значений "
                   "(Auto, transfer) ничего не переносит; добавьте раздел до первой метки версии";
        case Kind::DescriptionsAfterMarker:
            return "раздел [DESCRIPTIONS] стоит после метки версии " + name(0) +
                   ": окно показывает его как группу этой версии; перенесите раздел до первой "
                   "метки версии";
        case Kind::DescriptionWithoutColon:
            return "в строке описания нет «:» перед «=»: перенос значений (Auto, transfer) на ней "
                   "останавливается; пишите «Группа:Ключ=подсказка» или «:Ключ=подсказка», а "
                   "раздел заканчивайте пустой строкой";
        case Kind::DescriptionWithoutEquals:
            return "в строке описания нет «=»: перенос значений читает её ключ вместе со следующей "
                   "строкой; допишите «=подсказка»";
        case Kind::BlankBesideColon:
            return "пробел рядом с «:»: он входит в имя группы или ключа, и подсказка не "
                   "находится; уберите его";
        case Kind::SemicolonInHint:
            return "подсказка содержит «;»: окно показывает её только до «;»; замените этот знак";
        case Kind::DescriptionAfterEnd:
            return "строка описания стоит после строки " + std::to_string(f.other) +
                   ", пустой или начатой управляющим символом: перенос значений (Auto, transfer) "
                   "кончается на ней и эту строку не читает; уберите ту строку";
        case Kind::GeneralTarvenLine:
            return "строка «:TARVEN=» читается не как подсказка, а как метка версии" +
                   (f.names.empty() ? std::string()
                                    : " (в списке версий появляется " + name(0) + ")") +
                   "; уберите её";
        case Kind::MarkerNotExact:
            return "метка версии " + name(0) +
                   " записана не как «TARVEN=имя»: список версий её пропускает, и записи не "
                   "видно; пишите «TARVEN=» большими буквами и имя сразу после «=»";
        case Kind::MarkerNotAtLineStart:
            return "метка версии не в начале строки: строка читается и как метка, и как строка "
                   "другого вида; начните строку с «TARVEN=»";
        case Kind::EmptyVersionName:
            return "пустое имя версии: список версий кончается на нём" +
                   (f.names.empty() ? std::string()
                                    : ", и не видно версий " + Joined(f.names, 0, true)) +
                   "; впишите имя или уберите строку";
        case Kind::RepeatedMarker:
            return "метка версии " + name(0) + " повторяется (первая — " + LineNo(f.other) +
                   "): поиск этой версии всегда находит первую, а эту запись не читает; "
                   "переименуйте версию или уберите запись";
        case Kind::NameBeginsWithEarlier:
            return "имя версии " + name(0) + " начинается с имени версии " + name(1) + " (" +
                   LineNo(f.other) +
                   "): в список версий оно не попадает; переименуйте одну из версий";
        case Kind::ShadowedMarker:
            return "поиск версии " + name(0) + " находит раньше " + name(1) + " (" +
                   LineNo(f.other) +
                   "): группы, параметры и SUPPORT этой версии читаются оттуда; поставьте эту "
                   "запись раньше или переименуйте версию";
        case Kind::RecordBeginsWithNewGroup:
            return "запись версии " + name(0) + " начинается с группы, которой нет в записи " +
                   name(1) + ": группы " + Joined(f.names, 2, false) +
                   " окно показывает и в версии " + name(1) +
                   "; начните запись с группы, которая есть в предыдущей";
        case Kind::NoSupport:
            return "у записи версии " + name(0) +
                   " нет строки SUPPORT, и после неё тоже: файлы этой версии не распознаются; "
                   "добавьте строку «SUPPORT=сборки»";
        case Kind::BorrowedSupport:
            return "у записи версии " + name(0) +
                   " нет своей строки SUPPORT: она берёт список версии " + name(1) + " (" +
                   LineNo(f.other) + "), и файлы тех сборок узнаются как " + name(0) +
                   "; добавьте записи свою строку SUPPORT";
        case Kind::SupportInEarlierList:
            return "сборка " + name(0) + " есть и в списке SUPPORT версии " + name(1) + " (" +
                   LineNo(f.other) + "): файл этой сборки узнаётся как " + name(1) +
                   "; уточните сборку";
        case Kind::UnclosedHeader:
            return "в заголовке группы нет «]» в той же строке: список групп его пропускает; "
                   "допишите «]»";
        case Kind::SignLineBeforeHeader:
            return "строка «+»/«-» до первого заголовка группы не относится ни к одной группе; "
                   "перенесите её в группу или уберите знак";
        case Kind::ParameterWithoutEquals:
            return "в строке параметра нет «=»: список параметров её пропускает; допишите «=» и "
                   "описание значения";
        case Kind::BlanksAroundKeyName:
            return "вокруг имени параметра " + name(0) +
                   " пробелы: они входят в имя, и ключ файла настроек с ним не совпадает; уберите "
                   "их";
        case Kind::RepeatedKey:
            return "параметр " + name(0) + " уже есть в этой группе (" + LineNo(f.other) +
                   "): значение обоих читается из первой строки; уберите одну";
        case Kind::EmptyValueSpec:
            return "пустое описание значения параметра " + name(0) +
                   ": окно предлагает одно пустое значение; перечислите значения через запятую "
                   "или напишите !0 или !1";
        case Kind::SwitchDefault:
            return "у переключателя " + name(0) + " значение по умолчанию " + name(1) +
                   ", а не 0 или 1: заполнение значениями из базы запишет его как есть; напишите "
                   "!0 или !1";
        case Kind::TwoDefaultMarks:
            return "в списке значений " + name(0) +
                   " больше одной «@»: по умолчанию берётся первое отмеченное; оставьте одну «@»";
        case Kind::BlanksAroundComma:
            return "в списке значений " + name(0) +
                   " пробелы у запятых: они входят в значения, и значения файла настроек с ними "
                   "не совпадают; уберите пробелы";
        case Kind::MissingHint:
            return "у параметра " + name(0) + " группы " + Cp1251ToUtf8(f.names.at(1)) +
                   " нет подсказки: в [DESCRIPTIONS] нет ни строки " + name(2) + ", ни " + name(3) +
                   "; окно показывает пустую подсказку";
        case Kind::MixedLineEnds:
            return "эта строка кончается на " + f.names.at(0) + ", а строки до неё — на " +
                   f.names.at(1) +
                   ": в базе смешаны концы строк; сохраните её с одним видом концов строк";
    }
    return {};
}

}  // namespace ravlet
