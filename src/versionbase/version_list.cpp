// Version listing and version detection.
#include "versionbase/version_list.hpp"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>

#include "textengine/key_lookup.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_search.hpp"

namespace ravlet {
namespace {

constexpr std::string_view kMarker = "TARVEN=";

// Names held as views into the base, with the lengths they come in, so that "does a
// name begin this text" costs one hash lookup per distinct length.
class NameSet {
public:
    void Add(std::string_view name, int index) {
        indexes_[name].push_back(index);
        lengths_.insert(name.size());
    }
    // Calls f(index) for every name that `text` begins with.
    template <typename F>
    void ForEachPrefixOf(std::string_view text, F f) const {
        for (const std::size_t n : lengths_) {
            if (n > text.size()) continue;
            const auto it = indexes_.find(text.substr(0, n));
            if (it == indexes_.end()) continue;
            for (const int i : it->second) f(i);
        }
    }

private:
    std::unordered_map<std::string_view, std::vector<int>> indexes_;
    std::set<std::size_t> lengths_;
};

}  // namespace

// One forward walk over the TARVEN key lines. The listing reads as "take the first
// TARVEN line, then cut every exact "TARVEN=" + name out of the text and start again";
// cutting only ever removes a line's own marker text, so walking on from each line and
// treating a line whose text begins with an earlier name's marker as cut gives the
// same names, as long as each marker stands on a line of its own.
void WalkMarkers(std::string_view base, const std::function<bool(const MarkerLine&)>& visit) {
    std::vector<std::string_view> names;
    NameSet listed;
    std::size_t from = 0;
    for (;;) {
        const auto hit = FindKeyAfter(base, from, "", "TARVEN");
        if (!hit) return;
        from = hit->keyPos;
        const std::string_view at = base.substr(hit->keyPos - 1);
        MarkerLine line{MarkerLine::Kind::Listed, *hit, ValueAt(base, *hit)};
        if (at.starts_with(kMarker)) {
            listed.ForEachPrefixOf(at.substr(kMarker.size()), [&](int i) {
                const bool same = names[static_cast<std::size_t>(i)] == line.name;
                if (line.earlier < 0 || same) line.earlier = i;
                if (same)
                    line.kind = MarkerLine::Kind::Repeated;
                else if (line.kind != MarkerLine::Kind::Repeated)
                    line.kind = MarkerLine::Kind::Cut;
            });
        }
        if (line.earlier < 0) {
            if (line.name.empty()) {
                line.kind = MarkerLine::Kind::Empty;
            } else if (!at.starts_with(kMarker) ||
                       !at.substr(kMarker.size()).starts_with(line.name)) {
                // No marker text to cut, and no record a lookup by version could find.
                line.kind = MarkerLine::Kind::NotExact;
            } else {
                listed.Add(line.name, static_cast<int>(names.size()));
                names.push_back(line.name);
            }
        }
        if (!visit(line)) return;
    }
}

std::vector<std::string> ListVersions(std::string_view base) {
    std::vector<std::string> names;
    WalkMarkers(base, [&](const MarkerLine& line) {
        if (line.kind == MarkerLine::Kind::Empty) return false;
        if (line.kind == MarkerLine::Kind::Listed) names.emplace_back(line.name);
        return true;
    });
    return names;
}

std::vector<std::size_t> MarkerPositions(std::string_view base,
                                         const std::vector<std::string>& versions) {
    NameSet wanted;
    for (std::size_t i = 0; i < versions.size(); ++i) {
        if (!versions[i].empty()) wanted.Add(versions[i], static_cast<int>(i));
    }
    std::vector<std::size_t> markers(versions.size(), 0);
    for (std::size_t at = InStr(1, base, kMarker); at != 0; at = InStr(at + 1, base, kMarker)) {
        wanted.ForEachPrefixOf(base.substr(at - 1 + kMarker.size()), [&](int i) {
            if (markers[static_cast<std::size_t>(i)] == 0)
                markers[static_cast<std::size_t>(i)] = at;
        });
    }
    return markers;
}

Detection DetectVersion(std::string_view iniText, std::string_view base,
                        const std::vector<std::string>& versions) {
    const int fallback = static_cast<int>(versions.size()) - 1;
    const std::string own = GetParamVal(iniText, "", "", "TARVEN", KeyRule::Settings);
    // An empty name would be found in every support list: a file that does not say
    // its version must not be given the first one.
    if (own.empty()) return {fallback, false};

    // Each version's marker (0: absent, and the support lookup then searches from the start).
    const std::vector<std::size_t> markers = MarkerPositions(base, versions);
    // Every SUPPORT key line, in text order: a version's support list is the first one
    // after its marker.
    std::vector<KeyHit> supports;
    for (auto hit = FindKeyAfter(base, 0, "", "SUPPORT"); hit;
         hit = FindKeyAfter(base, hit->keyPos, "", "SUPPORT")) {
        supports.push_back(*hit);
    }
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const auto next =
            std::partition_point(supports.begin(), supports.end(),
                                 [&](const KeyHit& h) { return h.keyPos <= markers[i]; });
        if (next == supports.end()) continue;
        const std::string_view support = ValueAt(base, *next);
        if (InStr(1, support, own, Compare::Exact) != 0) return {static_cast<int>(i), true};
    }
    return {fallback, false};
}

}  // namespace ravlet
