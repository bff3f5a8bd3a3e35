// UTF-8 <-> UTF-16 through the system's converters, refusing what is not valid text.
#include "textengine/wide_text.hpp"

#include <climits>

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

}  // namespace ravlet
