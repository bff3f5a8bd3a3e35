// The transfer walk: carries values of an older settings text into the current one,
// for every key the descriptions section of the version base names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ravlet {

// What a transfer did. `report` is in Windows-1251 with CR LF line ends: the heading,
// then "group" + "name" + "=" + value per carried key. `failure` (UTF-8) names why the
// walk stopped early; what was carried before stays carried and is in `report`.
struct TransferResult {
    std::string report;
    int carried = 0;
    std::optional<std::string> failure;
};

// The heading of the transfer report, in Windows-1251.
std::string TransferReportHeading();

// Walks the descriptions section of `base` line by line and, for each key that both
// `oldText` and `iniText` hold with a non-empty value, writes the old value into
// `iniText`, all in one pass of ValueEdits (what PutParamVal would make of them one by one).
// A walk that stops early leaves what it carried before the stop in `iniText`, or,
// with `keepOnStop` false, leaves `iniText` as it was.
TransferResult TransferValues(std::string_view base, std::string_view oldText,
                              std::string& iniText, bool keepOnStop = true);

}  // namespace ravlet
