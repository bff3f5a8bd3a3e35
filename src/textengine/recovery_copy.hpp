// The recovery copy of an in-place save, where the old bytes wait until the new ones
// are safe on disk: its names, which lead back to its file, its header, and the mark
// its file carries meanwhile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ravlet {

// The copy's name in the file's own folder: ".<leaf>.ravlet-recovery".
std::string RecoveryLeafInFolder(std::string_view leaf);

// The copy's name in the user's cache folder: the file's full path with "%", "/", "\"
// and ":" written as %XX; a path too long for one name keeps its end and gains a hash
// of the whole, so the name still differs per file.
std::string RecoveryLeafInCache(std::string_view fullPath);

// A copy is a header line and the old bytes. The header names the file the copy is of
// (its identity), a token the file's mark repeats, and the size and checksum of the
// bytes, so that a copy is put back only into its own file, whole, and only while the
// file still carries the mark of the save that made it.
inline constexpr std::string_view kMagic = "RAVLET-RECOVERY-1";
// kMagic, five numbers of 16 hex digits, spaces and the line end.
inline constexpr std::size_t kHeaderSize = kMagic.size() + std::size_t{5} * 17 + 1;

struct CopyHeader {
    std::uint64_t volume = 0, index = 0, token = 0, size = 0, checksum = 0;
};

// The header line, kHeaderSize bytes; nullopt for a line that is not one.
std::string HeaderText(const CopyHeader& header);
std::optional<CopyHeader> ParseHeader(std::string_view line);

// FNV-1a, 64 bits: a cut or altered copy is told from a whole one.
struct Checksum {
    std::uint64_t value = 14695981039346656037ull;
    void Add(std::string_view bytes);
};

// The mark's value: the token and the copy's full path; nullopt for a value that is
// not one.
struct MarkFields {
    std::uint64_t token = 0;
    std::string copyPath;
};
std::string MarkValue(std::uint64_t token, const std::string& copyPath);
std::optional<MarkFields> ParseMark(const std::string& value);

}  // namespace ravlet
