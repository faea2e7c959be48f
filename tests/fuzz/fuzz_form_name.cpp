// The form-name filter over random UTF-16 texts: only allowed characters
// remain, in order, and the filter is idempotent.
#include "fuzz_input.h"
#include "overlay/page_filters.h"

using namespace zd;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    const std::u16string text = f.rest16();
    const FilterResult r = FilterFormName(text);
    ZD_FUZZ_CHECK(r.text.size() + r.removed == text.size());
    size_t j = 0, allowed = 0;
    for (char16_t c : text) {
        if (IsFormNameChar(c)) {
            ++allowed;
            ZD_FUZZ_CHECK(j < r.text.size() && r.text[j] == c);
            ++j;
        }
        ZD_FUZZ_CHECK(!IsFormNameChar(c) || (c > 0x20 && c < 0x7F));
    }
    ZD_FUZZ_CHECK(j == r.text.size() && allowed == r.text.size());
    const FilterResult again = FilterFormName(r.text);
    ZD_FUZZ_CHECK(again.text == r.text && again.removed == 0);
    return 0;
}
