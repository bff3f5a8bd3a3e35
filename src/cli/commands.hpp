// The commands of ravlet-cli over texts already in memory. Texts and names are
// Windows-1251 bytes; every command writes its items to `io.out` in UTF-8, one a line
// ending in "\n", its messages (UTF-8) to `io.err`, and returns its exit status.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "textengine/value_rule.hpp"

namespace ravlet::cli {

enum ExitStatus : int {
    kDone = 0,
    kNotFound = 1,  // not found or not recognised
    kUsage = 2,
    kFileFailure = 3,
};

struct Streams {
    std::ostream& out;
    std::ostream& err;
};

// True when `text` holds a character below 32: a name or value with one would reach
// across the lines of a text.
bool HasControlCharacter(std::string_view text);

// The version names of `base`, in list order.
int VersionsCommand(std::string_view base, Streams io);

// The name of the version `iniText` belongs to. Not recognised: the fallback (last)
// version's name, none when the base lists no version, the message, kNotFound.
int DetectCommand(std::string_view base, std::string_view iniText, Streams io);

// The group headers of `version`. kNotFound for a version the base does not list.
int GroupsCommand(std::string_view base, std::string_view version, Streams io);

// The key names of `group` in `version`: the short list, or the full one with `full`.
// kNotFound for an unlisted version or a group the version does not list.
int ParamsCommand(std::string_view base, std::string_view version, std::string_view group,
                  bool full, Streams io);

// The values `key` offers, the one that would be selected prefixed by "* ", the
// others by two spaces. The current value is read from `iniText`. kNotFound for an
// unlisted version, group or key (the key may be of the full list).
int ValuesCommand(std::string_view base, std::string_view iniText, std::string_view version,
                  std::string_view group, std::string_view key, Streams io);

// The hint of `key` in `group`; an empty line when there is none.
int HintCommand(std::string_view base, std::string_view group, std::string_view key, Streams io);

// The value of `key` in any text, as GetParamVal reads it ("" group or version: no
// restriction). With a version the text is read as a version base (one leading
// character skipped), without one as a settings file (the key starts its line). An empty value
// prints an empty line; a key not found is kNotFound.
int GetCommand(std::string_view text, std::string_view key, std::string_view group,
               std::string_view version, Streams io);

// Writes `value` to `key` of `group` ("" for none) in `iniText`. kNotFound, text
// unchanged, when the key or the group is absent; kUsage, with the reason, when the
// value rule refuses `value`.
int SetCommand(std::string& iniText, std::string_view group, std::string_view key,
               std::string value, Streams io);

// Sets every parameter of the version to its default from `base`, where `iniText`
// has the key. The version is `version` when given (kNotFound when the base does not
// list it), else the one detected from `iniText` (kNotFound, text unchanged, when not
// recognised). Prints nothing on success.
int DefaultsCommand(std::string_view base, std::string& iniText,
                    std::optional<std::string_view> version, Streams io);

// Checks `iniText` against the version (`version`, else detected from `iniText`): one
// line per parameter it lacks ("[G]K: нет в файле") or holds with a value the version
// does not allow ("[G]K=V: нет в списке допустимых (A, B)"), then per header line the
// version does not list ("[X]: группа не знакома версии V") and key line of a listed group
// its full list lacks ("[G]K: параметр не знаком версии V"). kDone when nothing was
// printed, kNotFound when something was, or when there is no version to check against.
int CheckCommand(std::string_view base, std::string_view iniText,
                 std::optional<std::string_view> version, Streams io);

// "[G]K=VALUE" for every parameter `iniText` holds with a value other than its default.
int ChangedCommand(std::string_view base, std::string_view iniText,
                   std::optional<std::string_view> version, Streams io);

// "[G]K: A -> B" for every parameter whose value in `oldText` (A) differs from that in
// `iniText` (B), "(нет)" standing for an absent key; the version is detected from
// `iniText`. kDone when nothing was printed, kNotFound when something was.
int DiffCommand(std::string_view base, std::string_view oldText, std::string_view iniText,
                std::optional<std::string_view> version, Streams io);

// Carries the described values of `oldText` into `iniText` and prints the report
// (heading, then one line per carried key) to `io.out`. A transfer that stops early
// leaves `iniText` unchanged, prints nothing to `io.out` and returns kNotFound.
int TransferCommand(std::string_view base, std::string_view oldText, std::string& iniText,
                    Streams io);

// "FILE:LINE: message" for every finding of the version base checks, `file` (UTF-8)
// naming the base. kDone when nothing was printed, kNotFound when something was.
int CheckBaseCommand(std::string_view file, std::string_view base, Streams io);

// What version `to` changes against `from`: "+[G]", "-[G]", "+[G]K=SPEC", "-[G]K=SPEC",
// "[G]K: SPEC1 -> SPEC2" and "[G]K: + -> -" lines. kDone when the two are the same,
// kNotFound when something was printed or a version is not listed.
int VersionsDiffCommand(std::string_view base, std::string_view from, std::string_view to,
                        Streams io);

}  // namespace ravlet::cli
