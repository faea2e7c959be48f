// Texts for test messages: UTF-8 of a wide string, lines joined.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zdtest {

inline std::string Utf8(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
}

inline std::string JoinedLines(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& line : lines)
        s += line + "\n";
    return s;
}

} // namespace zdtest
