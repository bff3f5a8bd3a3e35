// The transfer walk over the descriptions section, linear in the sizes of the three
// texts: both settings texts are indexed group by group as the walk asks for them,
// the carried values are recorded against the unchanged current text, and the new text
// is built once at the end.
#include "operations/transfer.hpp"

#include "textengine/codepage.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_index.hpp"
#include "textengine/text_search.hpp"
#include "textengine/value_edits.hpp"
#include "textengine/value_rule.hpp"

namespace ravlet {

std::string TransferReportHeading() {
    return *Utf8ToCp1251("Список перенесенных параметров:");
}

TransferResult TransferValues(std::string_view base, std::string_view oldText, std::string& iniText,
                              bool keepOnStop) {
    TransferResult result;
    result.report = TransferReportHeading();

    std::size_t p = FindHeaderLine(base, 1, "[DESCRIPTIONS]", Compare::Text);
    if (p == 0) {
        result.failure = TransferStop{TransferStop::Kind::NoDescriptions, {}};
        return result;
    }
    LookupIndex old(oldText, 0, KeyRule::Settings);
    ValueEdits edits(iniText);
    // What was carried is written however the walk ends.
    const auto finish = [&] {
        if (!edits.empty()) iniText = edits.Apply();
        return result;
    };

    std::size_t e = 0;  // the next "=" at or after the line start, kept while still ahead
    for (;;) {
        const std::size_t r = InStr(p, base, "\n", Compare::Exact);
        if (r == 0) break;
        p = r + 1;
        if (e < p) e = InStr(p, base, "=", Compare::Exact);
        if (p > base.size() || static_cast<unsigned char>(base[p - 1]) < 32 || e == 0) break;
        if (base[p - 1] == ';') continue;

        // The key runs to the next "=", over line breaks if this line has none.
        const std::string_view key = base.substr(p - 1, e - p);
        const std::size_t colon = key.find(':');
        if (colon == std::string_view::npos) {
            std::string_view line = base.substr(p - 1);
            line = line.substr(0, line.find_first_of("\r\n"));
            result.failure = TransferStop{TransferStop::Kind::LineWithoutColon, std::string(line)};
            return keepOnStop ? finish() : result;
        }
        std::string group = "[";
        group += key.substr(0, colon);
        group += ']';
        if (group == "[]") group.clear();
        const std::string name(key.substr(colon + 1));

        // Both are settings texts: a key counts where it starts its line, so a
        // commented-out ";KEY=" is neither carried nor overwritten. A carried value is
        // never empty, so the current value read from the unchanged text is empty
        // exactly when it would be after the edits before it.
        std::string value = old.Get(group, name);
        if (value.empty()) continue;  // the current text need not be searched then
        if (!edits.Get(group, name).empty()) {
            try {
                edits.Put(group, name, value);  // value now holds what is written
            } catch (const InvalidValue&) {
                // An old value with a control character: carried, it would break the rule
                // every other writer keeps.
                result.failure = TransferStop{TransferStop::Kind::ValueRefused, group + name + "=" + value};
                return keepOnStop ? finish() : result;
            }
            result.report += "\r\n" + group + name + "=" + value;
            ++result.carried;
        }
    }
    return finish();
}

}  // namespace ravlet
