// The descriptions walk, linear in the size of the base: the next "=" is searched for
// only once the walk has passed the one found before.
#include "versionbase/description_walk.hpp"

#include "textengine/key_search.hpp"
#include "textengine/text_search.hpp"

namespace ravlet {

std::size_t DescriptionsHeader(std::string_view base) {
    return FindHeaderLine(base, 1, "[DESCRIPTIONS]", Compare::Text);
}

std::size_t WalkDescriptions(std::string_view base, std::size_t header,
                             const std::function<bool(const DescriptionLine&)>& visit) {
    std::size_t p = header;
    std::size_t e = 0;  // the next "=" at or after the line start, kept while still ahead
    for (;;) {
        const std::size_t r = InStr(p, base, "\n", Compare::Exact);
        if (r == 0) return 0;
        p = r + 1;
        if (e < p) e = InStr(p, base, "=", Compare::Exact);
        if (p > base.size() || e == 0) return 0;
        if (static_cast<unsigned char>(base[p - 1]) < 32) return p;
        if (base[p - 1] == ';') continue;
        if (!visit({p, base.substr(p - 1, e - p)})) return 0;
    }
}

}  // namespace ravlet
