// The About texts over random PPD bytes, "DriverVer" values and paths.
#include "fuzz_input.h"
#include "core/driver_paths.h"
#include "jobopts/about_info.h"

using namespace zd;

namespace {

std::u16string Widen(std::string_view s) {
    std::u16string w;
    for (char c : s)
        w.push_back(char16_t(static_cast<unsigned char>(c)));
    return w;
}

bool NoLineEnd(std::u16string_view s) {
    return s.find(u'\r') == std::u16string_view::npos &&
           s.find(u'\n') == std::u16string_view::npos && s.find(u'\0') == std::u16string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    zdfuzz::Input f(data, size);
    const std::string_view bytes = f.restBytes();
    const std::u16string wide = Widen(bytes);

    const std::u16string version = PpdFileVersion(bytes);
    ZD_FUZZ_CHECK(version.size() <= 256);
    ZD_FUZZ_CHECK(NoLineEnd(version) && version.find(u'"') == std::u16string::npos);
    ZD_FUZZ_CHECK(wide.find(version) != std::u16string::npos);
    if (!version.empty())
        ZD_FUZZ_CHECK(bytes.find("FileVersion") != std::string_view::npos);

    const std::u16string copyright = PpdCopyright(bytes);
    ZD_FUZZ_CHECK(copyright.size() <= 256 && NoLineEnd(copyright));
    ZD_FUZZ_CHECK(wide.find(copyright) != std::u16string::npos);
    if (!copyright.empty())
        ZD_FUZZ_CHECK(bytes.find("Copyright") != std::string_view::npos);

    const std::u16string driverVer = DriverVersionFromDriverVer(wide);
    ZD_FUZZ_CHECK(driverVer.size() <= 32 && driverVer.find(u'"') == std::u16string::npos);
    if (!driverVer.empty()) {
        const size_t comma = wide.find(u',');
        ZD_FUZZ_CHECK(comma < 32);
        ZD_FUZZ_CHECK(wide.compare(comma + 1, driverVer.size(), driverVer) == 0);
    }

    const std::u16string ppd = PpdPathFromConfigPath(wide);
    ZD_FUZZ_CHECK(ppd.size() >= 4 && ppd.compare(ppd.size() - 4, 4, u".PPD") == 0);
    const std::u16string stem = ppd.substr(0, ppd.size() - 4);
    ZD_FUZZ_CHECK(wide.compare(0, stem.size(), stem) == 0);
    const size_t nameStart = stem.find_last_of(u"\\/");
    ZD_FUZZ_CHECK(stem.find(u'.', nameStart == std::u16string::npos ? 0 : nameStart) ==
                  std::u16string::npos);
    ZD_FUZZ_CHECK(PpdPathFromConfigPath(ppd) == ppd); // already a PPD path

    std::vector<std::u16string> files;
    size_t start = 0;
    for (size_t i = 0; i <= wide.size(); ++i)
        if (i == wide.size() || wide[i] == u'|') {
            files.push_back(wide.substr(start, i - start));
            start = i + 1;
        }
    const std::u16string ver = FindVersionFile(files);
    if (!ver.empty())
        ZD_FUZZ_CHECK(ver.size() >= 4 && ver[ver.size() - 4] == u'.');
    return 0;
}
