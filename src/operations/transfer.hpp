// The transfer walk: carries values of an older settings text into the current one,
// for every key the descriptions section of the version base names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ravlet {

// Why a transfer walk stopped early; the front ends word it (shared_messages.hpp).
struct TransferStop {
    enum class Kind {
        NoDescriptions,    // the base has no [DESCRIPTIONS] section
        LineWithoutColon,  // `line`: the description line whose key has no ':'
        ValueRefused,      // `line`: "group" + "name" + "=" + the old value the value rule refuses
    };
    Kind kind;
    std::string line;  // Windows-1251; "" for NoDescriptions
    friend bool operator==(const TransferStop&, const TransferStop&) = default;
};

// What a transfer did. `report` is in Windows-1251 with CR LF line ends: the heading,
// then "group" + "name" + "=" + value per carried key. `failure` says why the walk
// stopped early; what was carried before stays carried and is in `report`.
struct TransferResult {
    std::string report;
    int carried = 0;
    std::optional<TransferStop> failure;
};

// The heading of the transfer report, in Windows-1251.
std::string TransferReportHeading();

// Walks the descriptions section of `base` line by line and, for each key that both
// `oldText` and `iniText` hold with a non-empty value, writes the old value into
// `iniText`, all in one pass of ValueEdits (what PutParamVal would make of them one by one).
// A walk that stops early leaves what it carried before the stop in `iniText`, or,
// with `keepOnStop` false, leaves `iniText` as it was.
TransferResult TransferValues(std::string_view base, std::string_view oldText, std::string& iniText,
                              bool keepOnStop = true);

}  // namespace ravlet
