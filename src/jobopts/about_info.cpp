#include "jobopts/about_info.h"

#include <algorithm>

namespace zd {

namespace {

constexpr size_t kLineTextUnits = 256;

char16_t Lower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

// Calls `fn(line)` for each line, CR, LF and CR LF all ending a line, until
// it answers true.
template <typename Fn> void ForEachLine(std::string_view text, Fn fn) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        if (fn(text.substr(pos, end - pos)))
            return;
        pos = end;
        if (pos < text.size() && text[pos] == '\r')
            ++pos;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
}

// Bytes widened one to one, up to a NUL (the dialog's text ends there) and
// at most kLineTextUnits.
std::u16string Widen(std::string_view bytes) {
    std::u16string s;
    for (char c : bytes) {
        if (c == 0 || s.size() >= kLineTextUnits)
            break;
        s.push_back(char16_t(static_cast<unsigned char>(c)));
    }
    return s;
}

} // namespace

std::u16string PpdFileVersion(std::string_view ppd) {
    std::u16string version;
    ForEachLine(ppd, [&](std::string_view line) {
        if (line.find("FileVersion") == std::string_view::npos)
            return false;
        size_t open = line.find('"');
        if (open == std::string_view::npos)
            return false;
        std::string_view rest = line.substr(open + 1);
        version = Widen(rest.substr(0, rest.find('"')));
        return true;
    });
    return version;
}

std::u16string PpdCopyright(std::string_view ppd) {
    std::u16string copyright;
    ForEachLine(ppd, [&](std::string_view line) {
        if (line.find("Copyright") == std::string_view::npos)
            return false;
        size_t space = line.find(' ');
        if (space == std::string_view::npos)
            return false;
        copyright = Widen(line.substr(space + 1));
        return true;
    });
    return copyright;
}

std::u16string DriverVersionFromDriverVer(std::u16string_view value) {
    value = value.substr(0, 63); // what the profile read keeps
    size_t comma = value.substr(0, 32).find(u',');
    if (comma == std::u16string_view::npos)
        return {};
    std::u16string_view rest = value.substr(comma + 1);
    rest = rest.substr(0, rest.find(u'"'));
    return std::u16string(rest.substr(0, 32));
}

std::u16string FindVersionFile(const std::vector<std::u16string>& files) {
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        const std::u16string& f = *it;
        if (f.size() >= 4 && f[f.size() - 4] == u'.' && Lower(f[f.size() - 3]) == u'v' &&
            Lower(f[f.size() - 2]) == u'e' && Lower(f[f.size() - 1]) == u'r')
            return f;
    }
    return {};
}

} // namespace zd
