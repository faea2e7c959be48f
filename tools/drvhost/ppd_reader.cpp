#include "ppd_reader.h"

namespace drvhost {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (IsSpace(s.front()) || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (IsSpace(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One logical entry: "*Main Option/Translation: Value".
struct Entry {
    std::string_view main;
    std::string_view option;
    std::string_view translation;
    std::string value;
    bool hasColon = false;
};

// Splits "Keyword/Translation".
void SplitTranslation(std::string_view s, std::string_view& key, std::string_view& trans) {
    size_t slash = s.find('/');
    key = Trim(s.substr(0, slash));
    trans = slash == std::string_view::npos ? std::string_view() : Trim(s.substr(slash + 1));
}

std::string Unquote(std::string_view v) {
    v = Trim(v);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    else if (!v.empty() && v.front() == '"')
        v.remove_prefix(1);
    return std::string(v);
}

} // namespace

std::u16string DecodePpdTranslation(std::string_view s) {
    std::u16string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '<') {
            size_t end = s.find('>', i + 1);
            if (end != std::string_view::npos) {
                int hi = -1;
                bool ok = true;
                std::u16string bytes;
                for (size_t j = i + 1; j < end; ++j) {
                    if (IsSpace(s[j]))
                        continue;
                    int d = HexDigit(s[j]);
                    if (d < 0) {
                        ok = false;
                        break;
                    }
                    if (hi < 0) {
                        hi = d;
                    } else {
                        bytes.push_back(char16_t(hi * 16 + d));
                        hi = -1;
                    }
                }
                if (ok && hi < 0) {
                    out += bytes;
                    i = end;
                    continue;
                }
            }
        }
        out.push_back(char16_t(static_cast<unsigned char>(s[i])));
    }
    return out;
}

int PpdFeature::Find(std::string_view option) const {
    for (size_t i = 0; i < options.size(); ++i)
        if (options[i].keyword == option)
            return int(i);
    return -1;
}

int PpdFeature::DefaultIndex() const {
    int i = Find(defaultOption);
    return i < 0 ? 0 : i;
}

const PpdFeature* PpdFile::Find(std::string_view keyword) const {
    for (const PpdFeature& f : features)
        if (f.keyword == keyword)
            return &f;
    return nullptr;
}

std::string PpdFile::Attribute(std::string_view keyword) const {
    for (const PpdAttribute& a : attributes)
        if (a.keyword == keyword)
            return a.value;
    return std::string();
}

PpdFile ParsePpd(std::string_view text) {
    PpdFile ppd;
    std::vector<std::string_view> lines;
    for (size_t pos = 0; pos < text.size();) {
        size_t nl = text.find('\n', pos);
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }

    std::string group;
    bool inInstallable = false;
    PpdFeature* open = nullptr; // feature between *OpenUI and *CloseUI
    std::vector<std::pair<std::string, std::string>> defaults;

    for (size_t li = 0; li < lines.size(); ++li) {
        std::string_view line = lines[li];
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() < 2 || line[0] != '*' || line[1] == '%')
            continue;

        Entry e;
        size_t colon = line.find(':');
        std::string_view head =
            line.substr(1, colon == std::string_view::npos ? line.npos : colon - 1);
        size_t sp = 0;
        while (sp < head.size() && !IsSpace(head[sp]))
            ++sp;
        e.main = head.substr(0, sp);
        std::string_view rest = Trim(head.substr(sp));
        if (colon == std::string_view::npos) {
            // A main keyword followed by free text (no colon): keep the text.
            e.value = std::string(rest);
        } else {
            e.hasColon = true;
            SplitTranslation(rest, e.option, e.translation);
            std::string_view v = Trim(line.substr(colon + 1));
            // A quoted value may run over several lines.
            if (!v.empty() && v.front() == '"' && v.find('"', 1) == std::string_view::npos) {
                std::string joined(v);
                while (++li < lines.size()) {
                    std::string_view more = lines[li];
                    if (!more.empty() && more.back() == '\r')
                        more.remove_suffix(1);
                    joined += '\n';
                    joined += more;
                    if (more.find('"') != std::string_view::npos)
                        break;
                }
                e.value = Unquote(joined);
            } else {
                e.value = Unquote(v);
            }
        }

        if (e.main == "OpenGroup") {
            std::string_view g, t;
            SplitTranslation(e.value, g, t);
            group = std::string(g);
            inInstallable = g == "InstallableOptions";
        } else if (e.main == "CloseGroup") {
            group.clear();
            inInstallable = false;
        } else if (e.main == "OpenUI" || e.main == "JCLOpenUI") {
            std::string_view key = e.option, trans = e.translation;
            if (!key.empty() && key.front() == '*')
                key.remove_prefix(1);
            if (key.empty() || ppd.features.size() >= kMaxPpdFeatures || ppd.Find(key) != nullptr) {
                ppd.warnings.push_back(std::string(line));
                open = nullptr;
                continue;
            }
            PpdFeature f;
            f.keyword = std::string(key);
            f.text = trans.empty() ? DecodePpdTranslation(key) : DecodePpdTranslation(trans);
            f.uiType = std::string(Trim(e.value));
            f.group = group;
            f.installable = inInstallable;
            ppd.features.push_back(std::move(f));
            open = &ppd.features.back();
        } else if (e.main == "CloseUI" || e.main == "JCLCloseUI") {
            open = nullptr;
        } else if (e.main.size() > 7 && e.main.substr(0, 7) == "Default" && e.option.empty()) {
            defaults.emplace_back(std::string(e.main.substr(7)), std::string(Trim(e.value)));
            // Also kept as a value of its own (*DefaultColorSpace and the like).
            ppd.attributes.push_back({std::string(e.main), std::string(), e.value});
        } else if (open && e.main == open->keyword && e.hasColon && !e.option.empty()) {
            if (open->options.size() >= kMaxPpdOptions || open->Find(e.option) >= 0) {
                ppd.warnings.push_back(std::string(line));
                continue;
            }
            PpdOption o;
            o.keyword = std::string(e.option);
            o.text = DecodePpdTranslation(e.translation.empty() ? e.option : e.translation);
            open->options.push_back(std::move(o));
        } else {
            PpdAttribute a;
            a.keyword = std::string(e.main);
            a.option = std::string(e.option);
            a.value = e.value;
            ppd.attributes.push_back(std::move(a));
        }
    }
    for (const auto& [key, value] : defaults)
        for (PpdFeature& f : ppd.features)
            if (f.keyword == key)
                f.defaultOption = value;
    return ppd;
}

} // namespace drvhost
