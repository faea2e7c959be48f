// The model-file checker's line index over random files: it never reads out
// of bounds, and every section and key it lists is found again on a line of
// the file.
#include "fuzz_input.h"
#include "ini_lines.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    const std::string_view bytes = f.restBytes();
    const drvhost::IniLines lines(bytes);
    const std::u16string text = drvhost::DecodeIniText(bytes);
    const int lineCount = int(std::count(text.begin(), text.end(), u'\n')) + 1;

    const std::vector<std::u16string> sections = lines.Sections();
    for (size_t i = 0; i < sections.size() && i < 64; ++i) {
        const int at = lines.Section(sections[i]);
        ZD_FUZZ_CHECK(at >= 1 && at <= lineCount);
        for (const std::u16string& key : lines.Keys(sections[i])) {
            const int k = lines.Key(sections[i], key);
            ZD_FUZZ_CHECK(k > at && k <= lineCount);
        }
    }
    ZD_FUZZ_CHECK(lines.Section(u"\uFFFF no such section") == 0);
    return 0;
}
