#include "overlay/page_filters.h"

namespace zd {

FilterResult FilterPageList(std::u16string_view text) {
    FilterResult r;
    r.text.reserve(text.size());
    bool numberOpen = false;
    bool inRange = false;
    int digits = 0;
    for (char16_t c : text) {
        bool keep = false;
        if (c >= u'1' && c <= u'9') {
            keep = digits < 4;
        } else if (c == u'0') {
            keep = digits >= 1 && digits <= 3;
        } else if (c == u'-') {
            if (numberOpen && !inRange) {
                keep = true;
                inRange = true;
                numberOpen = false;
                digits = 0;
            }
        } else if (c == u',') {
            if (numberOpen) {
                keep = true;
                inRange = false;
                numberOpen = false;
                digits = 0;
            }
        }
        if (keep && c >= u'0' && c <= u'9') {
            ++digits;
            numberOpen = true;
        }
        if (keep)
            r.text.push_back(c);
        else
            ++r.removed;
    }
    return r;
}

bool IsFormNameChar(char16_t c) {
    if (c <= u' ' || c > 0x7E)
        return false;
    switch (c) {
    case u'%':
    case u'(':
    case u')':
    case u'/':
    case u'<':
    case u'>':
    case u'[':
    case u'\\':
    case u']':
    case u'{':
    case u'}':
        return false;
    default:
        return true;
    }
}

FilterResult FilterFormName(std::u16string_view text) {
    FilterResult r;
    r.text.reserve(text.size());
    for (char16_t c : text) {
        if (IsFormNameChar(c))
            r.text.push_back(c);
        else
            ++r.removed;
    }
    return r;
}

size_t CaretAfterFilter(size_t oldCaret, size_t removed) {
    return oldCaret > removed ? oldCaret - removed : 0;
}

} // namespace zd
