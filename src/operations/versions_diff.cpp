// The versions diff: each version is walked once into its groups and parameters, and
// the two are compared through hash maps, linear in the size of the base.
#include "operations/versions_diff.hpp"

#include <unordered_map>

#include "operations/parameter_walk.hpp"

namespace ravlet {
namespace {

struct Parameter {
    std::string key;
    std::string spec;
    bool shortList;  // a "+" line
};

struct Group {
    std::string header;
    std::vector<Parameter> parameters;  // the first line of each key
    std::unordered_map<std::string, std::size_t> byKey;
};

struct Layout {
    std::vector<Group> groups;
    std::unordered_map<std::string, std::size_t> byHeader;
};

Layout LayoutOf(std::string_view base, std::string_view version) {
    Layout layout;
    std::vector<std::string> shortList;
    ParameterVisitor visit;
    visit.group = [&](int, const std::string& header, const std::vector<std::string>&) {
        layout.byHeader.emplace(header, layout.groups.size());
        layout.groups.push_back({header, {}, {}});
    };
    std::size_t nextShort = 0;  // the short list is the full one without its "-" lines
    visit.shortList = [&](int, const std::vector<std::string>& names) {
        shortList = names;
        nextShort = 0;
    };
    visit.parameter = [&](int, const std::string&, const std::string& key,
                          const std::string& spec) {
        const bool listed = nextShort < shortList.size() && shortList[nextShort] == key;
        if (listed) ++nextShort;
        Group& group = layout.groups.back();
        if (group.byKey.emplace(key, group.parameters.size()).second)
            group.parameters.push_back({key, spec, listed});
    };
    WalkParameters(base, version, visit);
    return layout;
}

const char* Sign(bool shortList) { return shortList ? "+" : "-"; }

}  // namespace

std::vector<VersionChange> DiffVersions(std::string_view base, std::string_view from,
                                        std::string_view to) {
    using Kind = VersionChange::Kind;
    const Layout before = LayoutOf(base, from);
    const Layout after = LayoutOf(base, to);
    std::vector<VersionChange> changes;
    for (const Group& g : after.groups) {
        const auto old = before.byHeader.find(g.header);
        if (old == before.byHeader.end()) {
            changes.push_back({Kind::GroupAdded, g.header, {}, {}, {}});
            for (const Parameter& p : g.parameters)
                changes.push_back({Kind::Added, g.header, p.key, {}, p.spec});
            continue;
        }
        const Group& was = before.groups[old->second];
        for (const Parameter& p : g.parameters) {
            const auto it = was.byKey.find(p.key);
            if (it == was.byKey.end()) {
                changes.push_back({Kind::Added, g.header, p.key, {}, p.spec});
                continue;
            }
            const Parameter& q = was.parameters[it->second];
            if (q.spec != p.spec)
                changes.push_back({Kind::SpecChanged, g.header, p.key, q.spec, p.spec});
            if (q.shortList != p.shortList) {
                changes.push_back(
                    {Kind::ListChanged, g.header, p.key, Sign(q.shortList), Sign(p.shortList)});
            }
        }
    }
    for (const Group& g : before.groups) {
        const auto now = after.byHeader.find(g.header);
        if (now == after.byHeader.end()) {
            changes.push_back({Kind::GroupRemoved, g.header, {}, {}, {}});
            for (const Parameter& p : g.parameters)
                changes.push_back({Kind::Removed, g.header, p.key, p.spec, {}});
            continue;
        }
        const Group& is = after.groups[now->second];
        for (const Parameter& p : g.parameters) {
            if (!is.byKey.contains(p.key))
                changes.push_back({Kind::Removed, g.header, p.key, p.spec, {}});
        }
    }
    return changes;
}

}  // namespace ravlet
