// The transfer walk over the descriptions section.
#include "operations/transfer.hpp"

#include "textengine/codepage.hpp"
#include "textengine/key_lookup.hpp"
#include "textengine/key_search.hpp"
#include "textengine/text_search.hpp"
#include "textengine/value_replacement.hpp"

namespace ravlet {

std::string TransferReportHeading() {
    return *Utf8ToCp1251("Список перенесенных параметров:");
}

TransferResult TransferValues(std::string_view base, std::string_view oldText, std::string& iniText) {
    TransferResult result;
    result.report = TransferReportHeading();

    std::size_t p = FindHeaderLine(base, 1, "[DESCRIPTIONS]", Compare::Text);
    if (p == 0) {
        result.failure = "В базе версий нет раздела [DESCRIPTIONS]: переносить нечего.";
        return result;
    }
    for (;;) {
        const std::size_t r = InStr(p, base, "\n", Compare::Exact);
        if (r == 0) break;
        p = r + 1;
        const std::size_t e = InStr(p, base, "=", Compare::Exact);
        if (p > base.size() || static_cast<unsigned char>(base[p - 1]) < 32 || e == 0) break;
        if (base[p - 1] == ';') continue;

        // The key runs to the next "=", over line breaks if this line has none.
        const std::string_view key = base.substr(p - 1, e - p);
        const std::size_t colon = key.find(':');
        if (colon == std::string_view::npos) {
            std::string_view line = base.substr(p - 1);
            line = line.substr(0, line.find_first_of("\r\n"));
            std::string failure = "Перенос остановлен: в строке описаний нет \":\":\n";
            failure += Cp1251ToUtf8(line);
            result.failure = std::move(failure);
            return result;
        }
        std::string group = "[";
        group += key.substr(0, colon);
        group += ']';
        if (group == "[]") group.clear();
        const std::string name(key.substr(colon + 1));

        // Both are settings texts: a key counts where it starts its line, so a
        // commented-out ";KEY=" is neither carried nor overwritten.
        std::string old = GetParamVal(oldText, "", group, name, KeyRule::Settings);
        if (old.empty()) continue;  // the current text need not be searched then
        if (!GetParamVal(iniText, "", group, name, KeyRule::Settings).empty()) {
            PutParamVal(iniText, group, name, old);  // old now holds what was written
            result.report += "\r\n" + group + name + "=" + old;
            ++result.carried;
        }
    }
    return result;
}

}  // namespace ravlet
