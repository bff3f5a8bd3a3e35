// The transfer walk over the descriptions section, linear in the sizes of the three
// texts: both settings texts are indexed group by group as the walk asks for them,
// the carried values are recorded against the unchanged current text, and the new text
// is built once at the end.
#include "operations/transfer.hpp"

#include "textengine/codepage.hpp"
#include "textengine/text_index.hpp"
#include "textengine/value_edits.hpp"
#include "textengine/value_rule.hpp"
#include "versionbase/description_walk.hpp"

namespace ravlet {

std::string TransferReportHeading() { return *Utf8ToCp1251("Список перенесенных параметров:"); }

TransferResult TransferValues(std::string_view base, std::string_view oldText, std::string& iniText,
                              bool keepOnStop) {
    TransferResult result;
    result.report = TransferReportHeading();

    const std::size_t header = DescriptionsHeader(base);
    if (header == 0) {
        result.failure = TransferStop{TransferStop::Kind::NoDescriptions, {}};
        return result;
    }
    LookupIndex old(oldText, 0, KeyRule::Settings);
    ValueEdits edits(iniText);
    // What was carried is written however the walk ends.
    const auto finish = [&] {
        if (!edits.Empty()) iniText = edits.Apply();
        return result;
    };

    WalkDescriptions(base, header, [&](const DescriptionLine& line) {
        const std::size_t colon = line.key.find(':');
        if (colon == std::string_view::npos) {
            std::string_view text = base.substr(line.pos - 1);
            text = text.substr(0, text.find_first_of("\r\n"));
            result.failure = TransferStop{TransferStop::Kind::LineWithoutColon, std::string(text)};
            return false;
        }
        std::string group = "[";
        group += line.key.substr(0, colon);
        group += ']';
        if (group == "[]") group.clear();
        const std::string name(line.key.substr(colon + 1));

        // Both are settings texts: a key counts where it starts its line, so a
        // commented-out ";KEY=" is neither carried nor overwritten. A carried value is
        // never empty, so the current value read from the unchanged text is empty
        // exactly when it would be after the edits before it.
        std::string value = old.Get(group, name);
        if (value.empty()) return true;  // the current text need not be searched then
        if (!edits.Get(group, name).empty()) {
            try {
                edits.Put(group, name, value);  // value now holds what is written
            } catch (const InvalidValue&) {
                // An old value with a control character: carried, it would break the rule
                // every other writer keeps.
                result.failure =
                    TransferStop{TransferStop::Kind::ValueRefused, group + name + "=" + value};
                return false;
            }
            result.report += "\r\n" + group + name + "=" + value;
            ++result.carried;
        }
        return true;
    });
    if (result.failure && !keepOnStop) return result;
    return finish();
}

}  // namespace ravlet
