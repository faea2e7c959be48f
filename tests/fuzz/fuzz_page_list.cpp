// The page-list filter over random UTF-16 texts: the output follows the
// page-list syntax, is a subsequence of the input and filters to itself.
#include "fuzz_input.h"
#include "overlay/page_filters.h"

using namespace zd;

namespace {

// Numbers of 1 to 4 digits without a leading zero, separated by "," or "-",
// at most one "-" between two commas, possibly ending with a separator.
bool IsPageListSyntax(std::u16string_view s) {
    int digits = 0;
    bool inRange = false;
    for (char16_t c : s) {
        if (c >= u'0' && c <= u'9') {
            if (digits == 0 && c == u'0')
                return false;
            if (++digits > 4)
                return false;
        } else if (c == u',' || c == u'-') {
            if (digits == 0)
                return false;
            if (c == u'-') {
                if (inRange)
                    return false;
                inRange = true;
            } else {
                inRange = false;
            }
            digits = 0;
        } else {
            return false;
        }
    }
    return true;
}

bool IsSubsequence(std::u16string_view sub, std::u16string_view of) {
    size_t j = 0;
    for (size_t i = 0; i < of.size() && j < sub.size(); ++i)
        if (of[i] == sub[j])
            ++j;
    return j == sub.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    const std::u16string text = f.rest16();
    const FilterResult r = FilterPageList(text);
    ZD_FUZZ_CHECK(r.text.size() + r.removed == text.size());
    ZD_FUZZ_CHECK(IsPageListSyntax(r.text));
    ZD_FUZZ_CHECK(IsSubsequence(r.text, text));
    ZD_FUZZ_CHECK(IsPageListSyntax(text) == (r.removed == 0));
    const FilterResult again = FilterPageList(r.text);
    ZD_FUZZ_CHECK(again.text == r.text && again.removed == 0);
    // Typing the text key by key ends in the same place as pasting it.
    std::u16string typed;
    for (char16_t c : text) {
        typed.push_back(c);
        typed = FilterPageList(typed).text;
    }
    ZD_FUZZ_CHECK(typed == r.text);
    return 0;
}
