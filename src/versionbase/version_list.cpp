// Version listing and version detection.
#include "versionbase/version_list.hpp"

#include <string>

#include "textengine/key_lookup.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_search.hpp"

namespace ravlet {
namespace {

// Removes every exact occurrence of `what` from `text`, in place and in one pass.
void RemoveAll(std::string& text, std::string_view what) {
    std::size_t at = text.find(what);
    if (at == std::string::npos) return;
    std::size_t write = at;
    std::size_t read = at + what.size();
    for (;;) {
        const std::size_t next = text.find(what, read);
        const std::size_t stop = next == std::string::npos ? text.size() : next;
        std::char_traits<char>::move(text.data() + write, text.data() + read, stop - read);
        write += stop - read;
        if (next == std::string::npos) break;
        read = next + what.size();
    }
    text.resize(write);
}

}  // namespace

std::vector<std::string> ListVersions(std::string_view base) {
    std::vector<std::string> names;
    std::string work(base);
    for (;;) {
        const auto hit = FindKey(work, "", "", "TARVEN");
        if (!hit) break;
        const std::string name(
            TrimSpaces(std::string_view(work).substr(hit->valueStart - 1, hit->valueEnd - hit->valueStart)));
        if (name.empty()) break;
        const std::string marker = "TARVEN=" + name;
        if (work.compare(hit->keyPos - 1, marker.size(), marker) != 0) {
            // Not an exact marker (other letter case, blanks after "="): removing the
            // marker text would not remove this line, so it is passed over by
            // spoiling its "=" in the working copy.
            work[hit->keyPos - 1 + 6] = '\x01';
            continue;
        }
        // A marker formed only by earlier removals could never be selected.
        if (InStr(1, base, marker, Compare::Exact) != 0) names.push_back(name);
        RemoveAll(work, marker);
    }
    return names;
}

Detection DetectVersion(std::string_view iniText, std::string_view base,
                        const std::vector<std::string>& versions) {
    const std::string own = GetParamVal(iniText, "", "", "TARVEN", KeyRule::Settings);
    // An empty name would be found in every support list: a file that does not say
    // its version must not be given the first one.
    if (own.empty()) return {static_cast<int>(versions.size()) - 1, false};
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const std::string support = GetParamVal(base, versions[i], "", "SUPPORT");
        if (InStr(1, support, own, Compare::Exact) != 0) return {static_cast<int>(i), true};
    }
    return {static_cast<int>(versions.size()) - 1, false};
}

}  // namespace ravlet
