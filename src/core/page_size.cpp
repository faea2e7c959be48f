#include "core/page_size.h"

#include <cstdint>
#include <utility>

namespace zd {

namespace {

// A character test of a form-name row: unit `index` equals `unit`.
struct CharTest {
    uint8_t index;
    char16_t unit;
};

struct FormRow {
    CharTest tests[3];
    int count;
    int width;
    int height;
};

// Rows are tried in order; the first whose tests all hold gives the size.
const FormRow kFormRows[] = {
    {{{0, u'A'}, {1, u'4'}}, 2, 2100, 2970},
    {{{0, u'A'}, {1, u'5'}}, 2, 1480, 2100},
    {{{0, u'A'}, {1, u'6'}}, 2, 1050, 1480},
    {{{0, u'B'}, {1, u'5'}}, 2, 1820, 2570},
    {{{0, u'C'}, {1, u'5'}}, 2, 1620, 2290},
    {{{0, u'C'}, {1, u'o'}, {4, u'1'}}, 3, 1050, 2410},
    {{{0, u'C'}, {1, u'o'}, {4, u'9'}}, 3, 980, 2250},
    {{{0, u'D'}, {1, u'L'}}, 2, 970, 2200},
    {{{0, u'E'}, {1, u'x'}}, 2, 1840, 2660},
    {{{0, u'M'}, {1, u'o'}}, 2, 856, 1905},
    {{{0, u'L'}, {2, u't'}}, 2, 1620, 2290},
    {{{0, u'L'}, {2, u'g'}, {6, u'3'}}, 3, 2030, 3300},
    {{{0, u'L'}, {2, u'g'}, {6, u'4'}}, 3, 2030, 3550},
    {{{0, u'P'}, {1, u'o'}}, 2, 2100, 2970},
    {{{0, u'\u306F'}, {1, u'\u304C'}}, 2, 1000, 1480},
    {{{0, u'\uFF74'}, {1, u'\uFF78'}}, 2, 1840, 2660},
    {{{0, u'\uFF98'}, {7, u'3'}}, 2, 2030, 3300},
    {{{0, u'\uFF98'}, {7, u'4'}}, 2, 2030, 3550},
    {{{0, u'\u30EC'}, {1, u'\u30BF'}}, 2, 2150, 2790},
    {{{0, u'\u5F80'}, {1, u'\u5FA9'}}, 2, 2000, 1480},
    {{{0, u'\u5C01'}, {2, u'\uFF11'}}, 2, 2349, 1199},
    {{{0, u'\u5C01'}, {2, u'\uFF12'}}, 2, 2049, 899},
    {{{0, u'\u5C01'}, {2, u'\uFF13'}}, 2, 2349, 1051},
    {{{0, u'\u5C01'}, {2, u'\uFF14'}}, 2, 2970, 2159},
};

} // namespace

PageSize PageSizeFromFormName(std::u16string_view formName, int orientation) {
    PageSize size{2100, 2970};
    for (const FormRow& row : kFormRows) {
        bool all = true;
        for (int i = 0; i < row.count && all; ++i) {
            size_t at = row.tests[i].index;
            all = at < formName.size() && formName[at] == row.tests[i].unit;
        }
        if (all) {
            size = PageSize{row.width, row.height};
            break;
        }
    }
    if (orientation != 1)
        std::swap(size.width, size.height);
    return size;
}

} // namespace zd
