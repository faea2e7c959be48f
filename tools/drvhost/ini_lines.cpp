#include "ini_lines.h"

#include <cstdint>
#include <map>
#include <set>

namespace drvhost {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

char16_t FoldAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

std::u16string_view Trim(std::u16string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == u' ' || s[b] == u'\t'))
        ++b;
    while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t' || s[e - 1] == u'\r'))
        --e;
    return s.substr(b, e - b);
}

// Length of the UTF-8 sequence a lead byte starts; 0 for a byte that
// cannot start one.
size_t Utf8Length(unsigned char c) {
    if (c < 0x80)
        return 1;
    if ((c >> 5) == 0x6)
        return 2;
    if ((c >> 4) == 0xE)
        return 3;
    if ((c >> 3) == 0x1E)
        return 4;
    return 0;
}

void AppendUtf8(std::u16string& out, std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        const size_t n = Utf8Length(lead);
        if (n == 1) {
            out.push_back(char16_t(lead));
            ++i;
            continue;
        }
        uint32_t cp = n == 2 ? (lead & 0x1Fu) : n == 3 ? (lead & 0x0Fu) : (lead & 0x07u);
        bool ok = n != 0 && i + n <= bytes.size();
        for (size_t k = 1; ok && k < n; ++k) {
            const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
            ok = (t >> 6) == 0x2;
            cp = (cp << 6) | (t & 0x3Fu);
        }
        if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += n;
    }
}

std::u16string Folded(std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out)
        c = FoldAscii(c);
    return out;
}

} // namespace

bool SameIniName(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

std::u16string DecodeIniText(std::string_view bytes) {
    std::u16string out;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        out.reserve(bytes.size() / 2);
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            out.push_back(char16_t(static_cast<unsigned char>(bytes[i]) |
                                   static_cast<unsigned char>(bytes[i + 1]) << 8));
        return out;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    AppendUtf8(out, bytes);
    return out;
}

IniLines::IniLines(std::string_view bytes) {
    const std::u16string text = DecodeIniText(bytes);
    std::u16string_view rest = text;
    size_t current = 0; // section of the last header
    bool inSection = false;
    for (int line = 1; !rest.empty() && size_t(line) <= kMaxIniLines; ++line) {
        size_t end = rest.find(u'\n');
        std::u16string_view raw = rest.substr(0, end);
        rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
        std::u16string_view s = Trim(raw);
        if (s.empty() || s[0] == u';')
            continue;
        if (s[0] == u'[') {
            size_t close = s.find(u']');
            std::u16string_view name =
                Trim(s.substr(1, close == std::u16string_view::npos ? s.size() - 1 : close - 1));
            // A repeated header continues its section, as for the profile functions.
            current = FindSection(name);
            if (current == sections_.size()) {
                sectionIndex_.emplace(Folded(name), current);
                sections_.push_back({std::u16string(name), line});
            }
            inSection = true;
            continue;
        }
        size_t eq = s.find(u'=');
        if (!inSection || eq == std::u16string_view::npos)
            continue;
        keys_.push_back({current, std::u16string(Trim(s.substr(0, eq))), line});
    }
}

size_t IniLines::FindSection(std::u16string_view section) const {
    auto it = sectionIndex_.find(Folded(section));
    return it == sectionIndex_.end() ? sections_.size() : it->second;
}

int IniLines::Section(std::u16string_view section) const {
    size_t i = FindSection(section);
    return i < sections_.size() ? sections_[i].line : 0;
}

int IniLines::Key(std::u16string_view section, std::u16string_view key) const {
    size_t s = FindSection(section);
    for (const Entry& e : keys_)
        if (e.section == s && SameIniName(e.key, key))
            return e.line;
    return 0;
}

std::vector<std::u16string> IniLines::Keys(std::u16string_view section) const {
    std::vector<std::u16string> out;
    std::set<std::u16string> seen;
    size_t s = FindSection(section);
    for (const Entry& e : keys_)
        if (e.section == s && seen.insert(Folded(e.key)).second)
            out.push_back(e.key);
    return out;
}

std::vector<std::u16string> IniLines::Sections() const {
    std::vector<std::u16string> out;
    for (const SectionLine& s : sections_)
        out.push_back(s.name);
    return out;
}

} // namespace drvhost
