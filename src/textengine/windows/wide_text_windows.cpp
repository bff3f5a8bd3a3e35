// UTF-8 <-> UTF-16 through the system's converters, refusing what is not valid text.
#include "textengine/wide_text.hpp"

#include <climits>
#include <utility>

#include <windows.h>

namespace ravlet {

std::optional<std::wstring> Utf8ToWide(std::string_view utf8) {
    if (utf8.empty()) return std::wstring();
    if (utf8.size() > INT_MAX) return std::nullopt;
    const int size = static_cast<int>(utf8.size());
    const int needed =
        ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(),
                              needed) != needed) {
        return std::nullopt;
    }
    return wide;
}

std::optional<std::string> WideToUtf8(std::wstring_view wide) {
    if (wide.empty()) return std::string();
    if (wide.size() > INT_MAX / 4) return std::nullopt;
    const int size = static_cast<int>(wide.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size,
                                             nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return std::nullopt;
    std::string utf8(static_cast<std::size_t>(needed), '\0');
    if (::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, utf8.data(), needed,
                              nullptr, nullptr) != needed) {
        return std::nullopt;
    }
    return utf8;
}

std::u32string WideToUtf32(std::wstring_view wide) {
    std::u32string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char32_t unit = wide[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            out.push_back(0x10000 + ((unit - 0xD800) << 10) +
                          (static_cast<char32_t>(wide[++i]) - 0xDC00));
        } else {
            out.push_back(unit);
        }
    }
    return out;
}

Utf8Arguments ArgumentsToUtf8(int argc, const wchar_t* const* argv) {
    Utf8Arguments args;
    for (int i = 0; i < argc; ++i) {
        std::optional<std::string> arg = WideToUtf8(argv[i]);
        if (!arg) {
            // A lone surrogate: no UTF-8 holds it, and a guess would name another file.
            if (args.notUnicode < 0) args.notUnicode = i;
            arg.emplace();
        }
        args.values.push_back(*std::move(arg));
    }
    for (const std::string& value : args.values) args.pointers.push_back(value.c_str());
    args.pointers.push_back(nullptr);
    return args;
}

}  // namespace ravlet
