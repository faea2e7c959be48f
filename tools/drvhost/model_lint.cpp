#include "model_lint.h"

#include "color/color_setting_store.h"
#include "color/hex_bytes.h"
#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/driver_paths.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "driver_host.h"
#include "ini_lines.h"
#include "jobopts/job_storage_rules.h"
#include "overlay/overlay_record.h"
#include "overlay/overlay_store.h"
#include "overlay/page_filters.h"
#include "ppd_reader.h"
#include "watermark/watermark_record.h"
#include "watermark/watermark_store.h"

#include <winspool.h>

#include <algorithm>
#include <cwctype>
#include <memory>

namespace drvhost {

namespace {

// The plug-in's buffers: a text that fills one is read cut.
constexpr DWORD kModelTextUnits = 522;
constexpr size_t kExtensionPageUnits = 264; // AskZedURL and AskZedRES in the sheet set-up
constexpr DWORD kSectionNameUnits = 128;    // [Capability] value
constexpr DWORD kDependentNameUnits = 520;  // [DependentFiles] values
constexpr size_t kWatermarkValueUnits = 1024;
constexpr size_t kCustomColorValueUnits = 64;
constexpr size_t kColorNameUnits = 64;
constexpr size_t kColorDataUnits = 1024;
constexpr int kMaxFontEntries = 1000;
// Longer than any of them, to see what a reader cuts.
constexpr DWORD kProbeUnits = 8192;

const wchar_t* const kModelKeys[] = {
    L"Compression", L"PSOutputOpt", L"NetExtDLL",     L"USBExtDLL",   L"USBExtDAT",  L"AskZedURL",
    L"AskZedRES",   L"CCMInfoFile", L"SwatchRegPath", L"TabLinkName", L"PinJobTypes"};

const wchar_t* const kWatermarkFieldNames[zd::kWatermarkFieldCount] = {
    L"size",          L"font number", L"angle", L"x",          L"y",
    L"colour",        L"text",        L"face",  L"weight",     L"italic",
    L"character set", L"position",    L"frame", L"background", L"first page only",
    L"style"};
constexpr size_t kFirstByteField = 9; // italic .. style are kept in 8 bits

// What a user sees of each private feature of the PPD; a control whose
// feature is absent is removed from its page.
struct FeatureUse {
    const char* keyword;
    const wchar_t* where;
};
const FeatureUse kFeatureUses[] = {
    {"ZDOutputMode", L"Job Options page"},
    {"ZDJob_Type", L"Job Options page"},
    {"ZDResolution", L"Job Options page"},
    {"ZDCollate", L"Finishing page"},
    {"OutputBin", L"Finishing page"},
    {"ZDStaple", L"Finishing page"},
    {"ZDPunch", L"Finishing page"},
    {"ZDBindPosition", L"Finishing page"},
    {"ZDImageSmoothing", L"Finishing page"},
    {"ZDTrapping", L"Finishing page"},
    {"ZDOverlay", L"Overlay dialog"},
    {"ZDHDDSpool", L"Advanced dialog"},
    {"ZDDrumClean", L"Advanced dialog"},
    {"ZDControl", L"Color page"},
    {"ZDSeparationorder", L"Color page"},
    {"ZDOverPrint", L"Color page"},
    {"ZDProcessMode", L"Color page"},
    {"ZDBlackSubstitution", L"Color page"},
    {"ZDHalftoneMode", L"Color page"},
    {"ZDAlwaysPrnHT", L"Color page"},
    {"ZDColorRenderStyle", L"Color page"},
    {"ZDColorRenderDict", L"Color page"},
    {"ZDTargetColor", L"Color page"},
    {"ZDHairLine", L"Color page"},
    {"ZDBlackSubGra", L"Color page"},
    {"ZDColorICMS", L"Color page"},
    {"ZDCMYKProfile", L"Color page"},
    {"ZDRGBProfile", L"Color page"},
    {"ZDCMYKInputProfile", L"Color page"},
    {"ZDCMYKLinkProfile", L"Color page"},
    {"ZDOutProfile", L"Color page"},
    {"ZDSimProfile", L"Color page"},
    {"ZDPureBlack", L"Color page"},
    {"ZDPreserveBlack", L"Color page"},
    {"ZDColorMatch", L"Color page"},
    {"ZDScreenObo", L"Color page"},
    {"ZDMediaType", L"driver tree, with help"},
    {"ZDManualFeed", L"driver tree, with help"},
    {"TraySwitch", L"driver tree, with help"},
    {"ZDPageSizeCheck", L"driver tree, with help"},
    {"ZDEnvRotate", L"driver tree, with help"},
    {"ZDTone", L"driver tree, with help"},
    {"ZDHDD", L"device settings (auto-detect)"},
    {"ZDOptionDuplex", L"device settings (auto-detect)"},
    {"ZDOptionTray", L"device settings (auto-detect)"},
    {"InstalledMemory", L"device settings (auto-detect)"},
    {"ZDFinisher", L"device settings (auto-detect)"},
    {"ZDOptionMPF", L"device settings (auto-detect)"},
    {"ZDPunchUnit", L"device settings (auto-detect)"},
};

// Line of a feature's *OpenUI in a PPD's text; 0 when it has none.
int OpenUiLine(const std::string& text, const std::string& keyword) {
    std::string open = "*OpenUI *" + keyword;
    size_t at = text.find(open + "/");
    if (at == std::string::npos)
        at = text.find(open + ":");
    return at == std::string::npos
               ? 0
               : 1 + int(std::count(text.begin(), text.begin() + long(at), '\n'));
}

std::wstring Num(int64_t v) {
    return std::to_wstring(v);
}

std::wstring Wide(std::string_view s) {
    return std::wstring(s.begin(), s.end());
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return SameIniName(zd::U16(a), zd::U16(b));
}

bool StartsWithNoCase(const std::wstring& s, const wchar_t* prefix) {
    std::wstring p = prefix;
    return s.size() >= p.size() && SameName(s.substr(0, p.size()), p);
}

bool EndsWithNoCase(const std::wstring& s, const wchar_t* suffix) {
    std::wstring x = suffix;
    return s.size() >= x.size() && SameName(s.substr(s.size() - x.size()), x);
}

bool IsBareName(const std::wstring& name) {
    return name.find_first_of(L"\\/:") == std::wstring::npos;
}

// Optional "-", then decimal digits only.
bool IsDecimal(const std::wstring& s) {
    size_t i = !s.empty() && s[0] == L'-' ? 1 : 0;
    if (i == s.size())
        return false;
    for (; i < s.size(); ++i)
        if (s[i] < L'0' || s[i] > L'9')
            return false;
    return true;
}

// A decimal number or "0x" and hexadecimal digits.
bool IsNumberField(const std::wstring& s) {
    if (s.size() > 2 && s[0] == L'0' && (s[1] == L'x' || s[1] == L'X')) {
        for (size_t i = 2; i < s.size(); ++i)
            if (!std::iswxdigit(s[i]))
                return false;
        return true;
    }
    return IsDecimal(s);
}

bool FileExists(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring DirectoryOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// A value read whole (as far as any plug-in buffer goes).
std::wstring Raw(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    std::wstring v(kProbeUnits, L'\0');
    DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", v.data(), kProbeUnits,
                                       file.c_str());
    v.resize(n < kProbeUnits ? n : 0);
    return v;
}

class Linter {
  public:
    explicit Linter(const ModelFileSet& files) : f_(files) {}

    std::vector<LintFinding> Run() {
        CheckCapability();
        CheckConfig();
        CheckPpd();
        return std::move(out_);
    }

  private:
    struct File {
        std::wstring path;
        std::unique_ptr<IniLines> lines;
        int Section(const std::wstring& s) const { return lines ? lines->Section(zd::U16(s)) : 0; }
        int Key(const std::wstring& s, const std::wstring& k) const {
            return lines ? lines->Key(zd::U16(s), zd::U16(k)) : 0;
        }
        std::vector<std::wstring> Keys(const std::wstring& s) const {
            std::vector<std::wstring> out;
            if (lines)
                for (const std::u16string& k : lines->Keys(zd::U16(s)))
                    out.push_back(zd::W(k));
            return out;
        }
    };

    void Add(LintLevel level, const std::wstring& file, int line, std::wstring message) {
        out_.push_back({level, file, line, std::move(message)});
    }

    // A file that cannot be read is a finding of `level`.
    bool Open(File& file, const std::wstring& path, const wchar_t* what, LintLevel level) {
        file.path = path;
        if (path.empty()) {
            Add(level, L"", 0, std::wstring(L"no ") + what);
            return false;
        }
        if (!FileExists(path)) {
            Add(level, path, 0, std::wstring(what) + L" cannot be read");
            return false;
        }
        file.lines = std::make_unique<IniLines>(ReadWholeFile(path));
        return true;
    }

    // The profile functions read a file without the UTF-16 byte-order mark
    // as 8-bit text of the system code page: a UTF-8 text turns into other
    // characters, and what the plug-in writes back is garbled too.
    void CheckEncoding(const std::wstring& path, const wchar_t* what) {
        const std::string bytes = ReadWholeFile(path);
        if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE)
            return;
        auto high =
            std::find_if(bytes.begin(), bytes.end(), [](char c) { return uint8_t(c) >= 0x80; });
        if (high == bytes.end())
            return;
        Add(LintLevel::Warning, path, 1 + int(std::count(bytes.begin(), high, '\n')),
            std::wstring(what) +
                L" is not UTF-16 but holds non-ASCII bytes: the plug-in reads them as text of "
                L"the system code page (UTF-8 turns into other characters); save it as UTF-16 "
                L"with its byte-order mark");
    }

    // ---- capability file -------------------------------------------------

    void CheckCapability() {
        if (!Open(cap_, f_.cap, L"capability file (.cap)", LintLevel::Error)) {
            Add(LintLevel::Error, L"", 0,
                L"without a capability file every model key reads its default");
            return;
        }
        const std::wstring& cap = cap_.path;
        if (!cap_.Section(L"Capability")) {
            Add(LintLevel::Error, cap, 0,
                L"no [Capability] section: no driver finds its model section");
            return;
        }
        std::vector<std::wstring> drivers = f_.driverName.empty()
                                                ? cap_.Keys(L"Capability")
                                                : std::vector<std::wstring>{f_.driverName};
        if (drivers.empty())
            Add(LintLevel::Error, cap, cap_.Section(L"Capability"), L"[Capability] is empty");
        for (const std::wstring& driver : drivers) {
            int line = cap_.Key(L"Capability", driver);
            std::wstring section = Raw(cap, L"Capability", driver);
            if (section.empty()) {
                Add(LintLevel::Error, cap, cap_.Section(L"Capability"),
                    L"[Capability] has no entry for the driver \"" + driver +
                        L"\": every model key reads its default");
                continue;
            }
            if (section.size() >= kSectionNameUnits) {
                Add(LintLevel::Error, cap, line,
                    L"model section name of " + Num(int64_t(section.size())) +
                        L" units: the plug-in reads at most 127");
                continue;
            }
            if (!cap_.Section(section)) {
                Add(LintLevel::Error, cap, line,
                    L"driver \"" + driver + L"\" names model section [" + section +
                        L"], which the file does not have");
                continue;
            }
            CheckModelSection(section);
        }
    }

    void CheckModelSection(const std::wstring& section) {
        const std::wstring& cap = cap_.path;
        for (const std::wstring& key : cap_.Keys(section)) {
            bool known = false;
            for (const wchar_t* k : kModelKeys)
                known = known || SameName(key, k);
            if (!known)
                Add(LintLevel::Warning, cap, cap_.Key(section, key),
                    L"[" + section + L"] " + key + L" is not a key the plug-in reads");
        }
        auto text = [&](const wchar_t* key) {
            std::wstring v = Raw(cap, section, key);
            if (v.size() >= kModelTextUnits)
                Add(LintLevel::Error, cap, cap_.Key(section, key),
                    std::wstring(key) + L" is " + Num(int64_t(v.size())) +
                        L" units long: the plug-in reads 521 of them");
            return v;
        };
        auto line = [&](const wchar_t* key) { return cap_.Key(section, key); };

        std::wstring compression = text(L"Compression");
        int value = zd::ReadSectionInt(cap.c_str(), section, L"Compression", 0);
        if (!compression.empty() && !IsDecimal(compression))
            Add(LintLevel::Warning, cap, line(L"Compression"),
                L"Compression=" + compression + L" is not a decimal integer: read as " +
                    Num(value));
        if (uint32_t(value) & ~0x0F01u)
            Add(LintLevel::Warning, cap, line(L"Compression"),
                L"Compression=" + Num(value) +
                    L" sets bits other than 0 (offered) and 8-11 (default level digit)");
        int digit = (value >> 8) & 0xF;
        if (digit > 9)
            Add(LintLevel::Warning, cap, line(L"Compression"),
                L"Compression's default level digit is " + Num(digit) +
                    L" (0-9 expected): read as level " +
                    Num(zd::CompressionLevelFromModelValue(value)));

        std::wstring output = text(L"PSOutputOpt");
        int opt = zd::ReadSectionInt(cap.c_str(), section, L"PSOutputOpt", -1);
        if (!output.empty() && !IsDecimal(output))
            Add(LintLevel::Warning, cap, line(L"PSOutputOpt"),
                L"PSOutputOpt=" + output + L" is not a decimal integer: read as " + Num(opt));
        else if (!output.empty() && opt != -1 && (opt < 0 || opt > 3))
            Add(LintLevel::Warning, cap, line(L"PSOutputOpt"),
                L"PSOutputOpt=" + Num(opt) +
                    L": only 0-3 are written into the default DEVMODE; nothing is written");

        std::wstring net = text(L"NetExtDLL");
        if (!net.empty() && !EndsWithNoCase(net, L".dll"))
            Add(LintLevel::Warning, cap, line(L"NetExtDLL"),
                L"NetExtDLL=" + net + L" does not name a .dll");
        if (!net.empty() && !IsBareName(net) && !FileExists(net))
            Add(LintLevel::Warning, cap, line(L"NetExtDLL"),
                L"NetExtDLL=" + net + L" is not there: the auto-detect button is hidden");

        std::wstring usbDll = text(L"USBExtDLL"), usbDat = text(L"USBExtDAT");
        if (!usbDll.empty() && !IsBareName(usbDll))
            Add(LintLevel::Error, cap, line(L"USBExtDLL"),
                L"USBExtDLL=" + usbDll +
                    L" must be a bare file name: it is loaded from the system directory");
        if (!usbDat.empty() && !IsBareName(usbDat))
            Add(LintLevel::Error, cap, line(L"USBExtDAT"),
                L"USBExtDAT=" + usbDat +
                    L" must be a bare file name in the user's application-data folder");
        if (usbDll.empty() != usbDat.empty())
            Add(LintLevel::Warning, cap, line(usbDll.empty() ? L"USBExtDAT" : L"USBExtDLL"),
                L"USB detection needs both USBExtDLL and USBExtDAT");

        std::wstring url = text(L"AskZedURL"), res = text(L"AskZedRES");
        if (url.empty() != res.empty())
            Add(LintLevel::Warning, cap, line(url.empty() ? L"AskZedRES" : L"AskZedURL"),
                L"the extension page needs both AskZedURL and AskZedRES: it is not added");
        for (const auto& [key, v] : {std::pair{L"AskZedURL", url}, std::pair{L"AskZedRES", res}})
            if (v.size() >= kExtensionPageUnits)
                Add(LintLevel::Warning, cap, line(key),
                    std::wstring(key) + L" is longer than 263 units: the extension page is "
                                        L"not added");
        if (!res.empty() && !IsBareName(res))
            Add(LintLevel::Error, cap, line(L"AskZedRES"),
                L"AskZedRES=" + res + L" must be a bare file name beside the configuration file");
        else if (!res.empty() && !f_.ini.empty() && !FileExists(DirectoryOf(f_.ini) + res))
            Add(LintLevel::Warning, cap, line(L"AskZedRES"),
                L"AskZedRES=" + res + L" is not beside the configuration file");

        std::wstring ccm = text(L"CCMInfoFile");
        if (!ccm.empty() && !IsBareName(ccm))
            Add(LintLevel::Error, cap, line(L"CCMInfoFile"),
                L"CCMInfoFile=" + ccm + L" must be a bare file name in the driver folder");
        else if (!ccm.empty())
            CheckColorSettings(ccm, line(L"CCMInfoFile"));

        std::wstring swatch = text(L"SwatchRegPath");
        if (!swatch.empty() && (swatch[0] == L'\\' || StartsWithNoCase(swatch, L"HKEY_") ||
                                StartsWithNoCase(swatch, L"HKLM")))
            Add(LintLevel::Warning, cap, line(L"SwatchRegPath"),
                L"SwatchRegPath=" + swatch +
                    L" must be a key path under HKEY_LOCAL_MACHINE, without the root");
        if (swatch.find(L'/') != std::wstring::npos)
            Add(LintLevel::Warning, cap, line(L"SwatchRegPath"),
                L"SwatchRegPath=" + swatch + L" uses \"/\": registry paths use \"\\\"");

        CheckPinJobTypes(text(L"PinJobTypes"), line(L"PinJobTypes"));

        std::wstring link = text(L"TabLinkName");
        if (link.find_first_of(L" \t") != std::wstring::npos)
            Add(LintLevel::Warning, cap, line(L"TabLinkName"),
                L"TabLinkName=" + link +
                    L" has blanks: the shell opens this text as the link's target");
    }

    // Every PinJobTypes entry must be an option keyword of the PPD's
    // *ZDJob_Type: another names no job type, and that type asks no PIN.
    void CheckPinJobTypes(const std::wstring& value, int line) {
        if (!line || f_.ppd.empty() || !FileExists(f_.ppd))
            return;
        std::string ascii;
        for (wchar_t c : value)
            ascii.push_back(c > 0 && c < 128 ? char(c) : '?');
        const PpdFile ppd = ParsePpd(ReadWholeFile(f_.ppd));
        const PpdFeature* jobType = ppd.Find("ZDJob_Type");
        for (const std::string& entry : zd::ParsePinJobTypes(ascii)) {
            if (!jobType || jobType->Find(entry) < 0)
                Add(LintLevel::Warning, cap_.path, line,
                    L"PinJobTypes names \"" + Wide(entry) +
                        L"\", which is no *ZDJob_Type option of the PPD: it asks no PIN");
        }
    }

    // ---- colour setting file ---------------------------------------------

    void CheckColorSettings(const std::wstring& name, int capLine) {
        File ccm;
        std::wstring path = f_.filesDir + name;
        if (!FileExists(path)) {
            Add(LintLevel::Warning, cap_.path, capLine,
                L"colour setting file " + name + L" is not in " + f_.filesDir +
                    L": no colour settings are offered");
            return;
        }
        if (Open(ccm, path, L"colour setting file", LintLevel::Warning))
            CheckEncoding(path, L"the colour setting file");
        for (const wchar_t* section : {L"Color", L"Gamma"}) {
            if (!ccm.Section(section))
                continue;
            std::wstring rawNum = Raw(path, section, L"SettingNum");
            int num = int(GetPrivateProfileIntW(section, L"SettingNum", 0, path.c_str()));
            if (!rawNum.empty() && !IsDecimal(rawNum))
                Add(LintLevel::Warning, path, ccm.Key(section, L"SettingNum"),
                    L"SettingNum=" + rawNum + L" is not a decimal integer: read as " + Num(num));
            if (num > zd::kMaxColorSettingPositions)
                Add(LintLevel::Warning, path, ccm.Key(section, L"SettingNum"),
                    L"SettingNum=" + Num(num) + L": only the first " +
                        Num(zd::kMaxColorSettingPositions) + L" positions are read");
            for (int n = 0; n < num && n < zd::kMaxColorSettingPositions; ++n) {
                std::wstring idKey = L"SettingID" + Num(n);
                int idLine = ccm.Key(section, idKey);
                if (!idLine)
                    Add(LintLevel::Warning, path, ccm.Key(section, L"SettingNum"),
                        L"[" + std::wstring(section) + L"] has no " + idKey + L": read as 0");
                uint32_t v = GetPrivateProfileIntW(section, idKey.c_str(), 0, path.c_str());
                uint32_t id = v & 0xFF;
                if (v > 0xFF)
                    Add(LintLevel::Warning, path, idLine,
                        idKey + L"=" + Num(v) + L": only its low 8 bits are used (" + Num(id) +
                            L")");
                CheckColorSetting(ccm, section, id, idLine);
            }
        }
        std::wstring offered;
        for (const zd::ColorSettingEntry& e : zd::ListColorSettings(path.c_str()))
            offered += (offered.empty() ? L"" : L", ") + e.name;
        Add(LintLevel::Note, path, 0,
            L"colour settings offered: " + (offered.empty() ? L"none" : offered));
    }

    void CheckColorSetting(const File& ccm, const wchar_t* section, uint32_t id, int idLine) {
        const std::wstring& path = ccm.path;
        std::wstring nameKey = L"SettingName" + Num(id);
        std::wstring name = Raw(path, section, nameKey);
        if (name.empty())
            Add(LintLevel::Warning, path, idLine,
                L"[" + std::wstring(section) + L"] has no " + nameKey +
                    L": the setting is not offered");
        else if (name.size() >= kColorNameUnits)
            Add(LintLevel::Warning, path, ccm.Key(section, nameKey),
                nameKey + L" is longer than 63 units: it is cut");
        const std::pair<const wchar_t*, size_t> blocks[] = {{L"CCMNT", zd::dm::kColorData1Size},
                                                            {L"CCMNV", zd::dm::kColorData2Size}};
        for (const auto& [prefix, capacity] : blocks) {
            std::wstring key = prefix + Num(id);
            std::wstring data = Raw(path, section, key);
            int line = ccm.Key(section, key);
            if (data.empty()) {
                Add(LintLevel::Warning, path, line ? line : idLine,
                    L"[" + std::wstring(section) + L"] " + key + L" is missing or empty");
                continue;
            }
            if (data.size() >= kColorDataUnits)
                Add(LintLevel::Error, path, line,
                    key + L" is " + Num(int64_t(data.size())) +
                        L" units long: the plug-in reads 1023 of them");
            uint8_t block[256] = {};
            zd::HexDecodeResult r = zd::DecodeHexBytes(zd::U16(data), block, capacity);
            if (r.error)
                Add(LintLevel::Warning, path, line,
                    key + L" holds characters that are not hexadecimal digits");
            if (r.cut)
                Add(LintLevel::Warning, path, line,
                    key + L" holds more than " + Num(int64_t(capacity)) +
                        L" bytes: the rest is dropped");
            else if (data.size() % 2)
                Add(LintLevel::Warning, path, line,
                    key + L" has an odd number of digits: its last half byte is not counted");
        }
    }

    // ---- configuration file ----------------------------------------------

    void CheckConfig() {
        if (!Open(ini_, f_.ini, L"configuration file (.ini)", LintLevel::Error))
            return;
        const std::wstring& ini = ini_.path;
        CheckEncoding(ini, L"the configuration file");
        if (Raw(ini, L"OEMFiles", L"OEMConfigFile1").empty())
            Add(LintLevel::Error, ini, ini_.Section(L"OEMFiles"),
                L"[OEMFiles] OEMConfigFile1 is missing or empty: the plug-in does not take "
                L"this file as its configuration file (no help, no stores)");
        for (const wchar_t* key : {L"HELP", L"WMFONT"}) {
            std::wstring name = Raw(ini, L"DependentFiles", key);
            int line = ini_.Key(L"DependentFiles", key);
            if (name.empty()) {
                // A model may ship no help file; one without fonts is a fault.
                Add(SameName(key, L"HELP") ? LintLevel::Note : LintLevel::Warning, ini,
                    ini_.Section(L"DependentFiles"),
                    std::wstring(L"[DependentFiles] has no ") + key +
                        (SameName(key, L"HELP") ? L": context help shows nothing"
                                                : L": the font dialog lists no fonts"));
            } else if (name.size() >= kDependentNameUnits || !IsBareName(name)) {
                Add(LintLevel::Error, ini, line,
                    std::wstring(key) + L"=" + name +
                        L" must be a bare file name (under 520 units) in the driver folder");
            } else if (!FileExists(f_.filesDir + name)) {
                Add(LintLevel::Warning, ini, line,
                    std::wstring(key) + L"=" + name + L" is not in " + f_.filesDir +
                        L": list it among the driver's dependent files");
            } else if (SameName(key, L"WMFONT")) {
                CheckFontList(f_.filesDir + name);
            }
        }
        CheckWatermarks();
        CheckCustomColors();
        CheckOverlays(L"OverlaySetting", L"Overlay_Info ", zd::Initial);
        CheckOverlays(L"OverlaySetting_Sv", L"Overlay_Info_Sv ", zd::Working);
    }

    void CheckFontList(const std::wstring& path) {
        File fonts;
        if (!Open(fonts, path, L"watermark font list", LintLevel::Warning))
            return;
        // The plug-in's own reader of entries, pointed at this file (in the
        // driver folder it is where the plug-in looks).
        if (path.size() >= zd::kFontPathUnits) {
            Add(LintLevel::Error, path, 0, L"font list path longer than 260 units");
            return;
        }
        zd::CopyText(zd::WatermarkFontFilePath(), zd::kFontPathUnits, path);
        fontCount_ = 0;
        while (fontCount_ < kMaxFontEntries && !zd::ReadFontEntry(fontCount_).empty()) {
            std::vector<std::u16string> fields =
                zd::SplitFontEntry(zd::U16(zd::ReadFontEntry(fontCount_)));
            size_t needed = zd::IsJapaneseFontEntry(fields) ? 4 : 5;
            ++fontCount_;
            if (fields.size() < needed)
                Add(LintLevel::Warning, path, fonts.Key(L"PrinterFont", Num(fontCount_)),
                    L"font entry " + Num(fontCount_) + L" has " + Num(int64_t(fields.size())) +
                        L" fields; " + Num(int64_t(needed)) + L" expected");
        }
        if (fontCount_ == 0)
            Add(LintLevel::Warning, path, fonts.Section(L"PrinterFont"),
                L"[PrinterFont] has no entry 1=: the font dialog lists no fonts");
        for (const std::wstring& key : fonts.Keys(L"PrinterFont")) {
            if (SameName(key, L"DefaultNo"))
                continue;
            int n = IsDecimal(key) && key.size() < 6 ? std::stoi(key) : 0;
            if (n < 1 || n > fontCount_)
                Add(LintLevel::Warning, path, fonts.Key(L"PrinterFont", key),
                    L"[PrinterFont] " + key + L" is not read: entries are 1, 2, ... without gaps");
        }
        int defaultNo = int(GetPrivateProfileIntW(L"PrinterFont", L"DefaultNo", 0, path.c_str()));
        if (defaultNo < 0 || defaultNo > fontCount_)
            Add(LintLevel::Warning, path, fonts.Key(L"PrinterFont", L"DefaultNo"),
                L"DefaultNo=" + Num(defaultNo) + L" names no font entry (1-" + Num(fontCount_) +
                    L")");
    }

    void CheckWatermarks() {
        const std::wstring& ini = ini_.path;
        const std::wstring section = zd::WatermarkSectionName();
        std::vector<zd::StoredValue> stored = zd::ReadStoredWatermarks(ini.c_str());
        std::vector<std::wstring> keys = ini_.Keys(section);
        for (size_t i = stored.size(); i < keys.size(); ++i) {
            std::wstring why =
                stored.size() >= zd::kMaxStoredWatermarks ? L"beyond the 16 stored watermarks"
                : keys[stored.size()][0] != L'W'
                    ? L"key " + keys[stored.size()] + L" does not begin with W and ends the list"
                    : L"after the end of the list";
            Add(LintLevel::Warning, ini, ini_.Key(section, keys[i]),
                L"[" + section + L"] " + keys[i] + L" is not read: " + why);
        }
        for (const zd::StoredValue& s : stored)
            CheckWatermark(section, s);
    }

    void CheckWatermark(const std::wstring& section, const zd::StoredValue& s) {
        const std::wstring& ini = ini_.path;
        const int line = ini_.Key(section, s.key);
        const std::wstring what = L"watermark " + s.key;
        if (s.value.size() + 1 >= kWatermarkValueUnits)
            Add(LintLevel::Error, ini, line, what + L" is longer than 1023 units: read cut");
        std::vector<std::u16string> fields = zd::SplitWatermarkFields(zd::U16(s.value));
        if (fields.size() != zd::kWatermarkFieldCount)
            Add(LintLevel::Warning, ini, line,
                what + L" has " + Num(int64_t(fields.size())) +
                    L" fields; the plug-in reads 16 (missing ones as 0 or empty)");
        for (size_t i = 0; i < fields.size() && i < zd::kWatermarkFieldCount; ++i) {
            if (i == zd::kWatermarkTextField || i == zd::kWatermarkFaceField)
                continue;
            std::wstring field = zd::W(fields[i]);
            int32_t v = zd::ParseLooseNumber(fields[i]);
            if (!IsNumberField(field))
                Add(LintLevel::Warning, ini, line,
                    what + L": " + kWatermarkFieldNames[i] + L" \"" + field +
                        L"\" is not a number: read as " + Num(v));
            else if (i >= kFirstByteField && (v < 0 || v > 0xFF))
                Add(LintLevel::Warning, ini, line,
                    what + L": " + kWatermarkFieldNames[i] + L" " + Num(v) +
                        L" is kept in 8 bits: read as " + Num(v & 0xFF));
            else if (i == 2 && (v < INT16_MIN || v > INT16_MAX))
                Add(LintLevel::Warning, ini, line,
                    what + L": angle " + Num(v) + L" is kept in 16 bits");
            else if (i == 1 && fontCount_ >= 0 && (v < 0 || v >= fontCount_))
                Add(LintLevel::Warning, ini, line,
                    what + L": font number " + Num(v) + L" names no entry of the font list");
        }
        if (fields.size() > zd::kWatermarkTextField &&
            fields[zd::kWatermarkTextField].size() >= zd::kWatermarkTextUnits)
            Add(LintLevel::Warning, ini, line,
                what + L": text of " + Num(int64_t(fields[zd::kWatermarkTextField].size())) +
                    L" characters is cut to 128");
        if (fields.size() > zd::kWatermarkFaceField &&
            fields[zd::kWatermarkFaceField].size() >= zd::kWatermarkFaceUnits)
            Add(LintLevel::Warning, ini, line,
                what + L": face name of " + Num(int64_t(fields[zd::kWatermarkFaceField].size())) +
                    L" characters is cut to 32");
    }

    void CheckCustomColors() {
        const std::wstring& ini = ini_.path;
        const std::wstring section = zd::CustomColorSectionName();
        std::vector<zd::StoredValue> stored = zd::ReadStoredCustomColors(ini.c_str());
        std::vector<std::wstring> keys = ini_.Keys(section);
        for (size_t i = stored.size(); i < keys.size(); ++i)
            Add(LintLevel::Warning, ini, ini_.Key(section, keys[i]),
                L"custom colour " + keys[i] + L" is not read: the picker holds 16");
        for (const zd::StoredValue& s : stored) {
            std::wstring read =
                zd::W(zd::FormatCustomColorValue(zd::ParseCustomColorValue(zd::U16(s.value))));
            std::wstring given;
            for (wchar_t c : Raw(ini, section, s.key))
                if (c != L' ')
                    given.push_back(c);
            if (given != read)
                Add(LintLevel::Warning, ini, ini_.Key(section, s.key),
                    L"custom colour " + s.key + L"=" + given + L" reads as " + read +
                        L" (three decimal parts 0-255)");
        }
    }

    void CheckOverlays(const wchar_t* listSection, const wchar_t* prefix, uint32_t state) {
        const std::wstring& ini = ini_.path;
        if (!ini_.Section(listSection))
            return;
        zd::UiContext ctx{};
        ctx.configFilePath = const_cast<WCHAR*>(ini.c_str());
        zd::OverlayStoreStateOf(ctx) = state;
        zd::LoadOverlayStore(ctx);
        if (!ctx.overlayList)
            return;
        const zd::OverlayList& list = *ctx.overlayList;
        auto count = [&](const wchar_t* key, int limit, const std::wstring& section) {
            std::wstring raw = Raw(ini, section, key);
            int v = int(GetPrivateProfileIntW(section.c_str(), key, 0, ini.c_str()));
            int line = ini_.Key(section, key);
            if (!raw.empty() && !IsDecimal(raw))
                Add(LintLevel::Warning, ini, line,
                    L"[" + section + L"] " + key + L"=" + raw +
                        L" is not a decimal integer: read as " + Num(v));
            else if (v < 0 || v > limit)
                Add(LintLevel::Warning, ini, line,
                    L"[" + section + L"] " + key + L"=" + Num(v) + L": the plug-in reads 0-" +
                        Num(limit));
        };
        count(L"Overlay_Num", zd::kMaxDefinedOverlays, listSection);
        count(L"History_Num", zd::kMaxOverlayHistory, listSection);
        for (int n = 0; n < list.DefinedCount; ++n) {
            std::wstring section = prefix + Num(n);
            if (!ini_.Section(section)) {
                Add(LintLevel::Error, ini, ini_.Key(listSection, L"Overlay_Num"),
                    L"Overlay_Num=" + Num(list.DefinedCount) + L" but there is no [" + section +
                        L"]: it reads as an empty overlay");
                continue;
            }
            CheckOverlay(section, ctx.overlayDefinitions[n]);
        }
        for (const std::u16string& s : ini_.lines->Sections()) {
            std::wstring name = zd::W(s);
            std::wstring number = name.substr(std::min(name.size(), wcslen(prefix)));
            if (StartsWithNoCase(name, prefix) && IsDecimal(number) && number.size() < 6 &&
                std::stoi(number) >= list.DefinedCount)
                Add(LintLevel::Warning, ini, ini_.Section(name),
                    L"[" + name + L"] is not read: Overlay_Num is " + Num(list.DefinedCount));
        }
        zd::FreeOverlayStore(ctx);
    }

    void CheckOverlay(const std::wstring& section, const zd::OverlayDefinition* d) {
        const std::wstring& ini = ini_.path;
        auto line = [&](const std::wstring& key) { return ini_.Key(section, key); };
        std::wstring name = Raw(ini, section, L"Overlay_Name");
        if (name.empty())
            Add(LintLevel::Warning, ini, ini_.Section(section),
                L"[" + section + L"] has no Overlay_Name");
        else if (name.size() >= zd::kOverlayTextUnits)
            Add(LintLevel::Warning, ini, line(L"Overlay_Name"),
                L"Overlay_Name is longer than 63 units: it is cut");
        int mode = int(GetPrivateProfileIntW(section.c_str(), L"PageMode", 0, ini.c_str()));
        if (mode < 0 || mode > int(zd::PageMode::CustomPages))
            Add(LintLevel::Warning, ini, line(L"PageMode"),
                L"PageMode=" + Num(mode) +
                    L" is none of 0-4 (all, first, odd, even, custom pages)");
        std::wstring pages = Raw(ini, section, L"CustomPage");
        if (pages.size() >= zd::kOverlayCustomPageUnits)
            Add(LintLevel::Warning, ini, line(L"CustomPage"),
                L"CustomPage is longer than 254 units: it is cut");
        zd::FilterResult filtered = zd::FilterPageList(zd::U16(pages));
        if (filtered.removed || zd::W(filtered.text) != pages)
            Add(LintLevel::Warning, ini, line(L"CustomPage"),
                L"CustomPage=" + pages + L": the page list filter makes it \"" +
                    zd::W(filtered.text) + L"\"");
        if (mode == int(zd::PageMode::CustomPages) && pages.empty())
            Add(LintLevel::Warning, ini, line(L"PageMode"),
                L"custom pages (PageMode=4) with an empty CustomPage");
        int forms = int(GetPrivateProfileIntW(section.c_str(), L"Form_Num", 0, ini.c_str()));
        if (forms < 1 || forms > zd::kMaxOverlayForms)
            Add(LintLevel::Warning, ini, line(L"Form_Num"),
                L"Form_Num=" + Num(forms) + L": an overlay has 1-3 forms");
        for (int f = 0; d && f < d->FormCount; ++f) {
            std::wstring key = L"Form_Name " + Num(f);
            std::wstring form = Raw(ini, section, key);
            if (form.empty())
                Add(LintLevel::Warning, ini, ini_.Section(section),
                    L"[" + section + L"] has no " + key);
            else if (zd::FilterFormName(zd::U16(form)).removed)
                Add(LintLevel::Warning, ini, line(key),
                    key + L"=" + form + L" has characters a PostScript name cannot hold");
            else if (form.size() >= zd::kOverlayTextUnits)
                Add(LintLevel::Warning, ini, line(key), key + L" is longer than 63 units: cut");
        }
    }

    // ---- PPD -----------------------------------------------------------------

    // Auto-detect selects an option by its place, not by its keyword: for
    // each installable feature, the place it takes for "installed" and for
    // "not installed", and the keyword a PPD is expected to have there
    // (empty: any keyword but the other one).
    struct DetectedPlace {
        const char* keyword;
        const wchar_t* what;
        int installedAt;
        const char* installed;
        int absentAt;
        const char* absent;
    };
    static constexpr DetectedPlace kDetectedPlaces[] = {
        {"ZDHDD", L"a hard disk", 0, "True", 1, "False"},
        {"ZDOptionDuplex", L"a duplex unit", 0, "True", 1, "False"},
        {"ZDFinisher", L"a finisher", 1, "True", 0, "False"},
        {"ZDOptionMPF", L"a multi-purpose feeder", 1, "True", 0, "False"},
        {"ZDPunchUnit", L"a punch unit", 1, "", 0, "None"},
    };

    // Findings for installable features whose options stand where auto-detect
    // does not expect them: the detected printer would show the wrong choice.
    void CheckDetectedPlaces(const PpdFile& ppd, const std::string& text) {
        for (const DetectedPlace& d : kDetectedPlaces) {
            const PpdFeature* f = ppd.Find(d.keyword);
            if (!f)
                continue;
            auto keywordAt = [&](int i) {
                return i < int(f->options.size()) ? f->options[size_t(i)].keyword : std::string();
            };
            std::string installed = keywordAt(d.installedAt), absent = keywordAt(d.absentAt);
            bool installedOk = d.installed[0] ? installed == d.installed
                                              : !installed.empty() && installed != d.absent;
            if (installedOk && absent == d.absent)
                continue;
            Add(LintLevel::Warning, f_.ppd, OpenUiLine(text, d.keyword),
                L"*" + Wide(d.keyword) + L": auto-detect selects option " + Num(d.installedAt) +
                    L" for " + d.what + L" and option " + Num(d.absentAt) +
                    L" without one, but they are \"" + Wide(installed) + L"\" and \"" +
                    Wide(absent) + L"\"");
        }
    }

    void CheckPpd() {
        if (f_.ppd.empty())
            return;
        if (!FileExists(f_.ppd)) {
            Add(LintLevel::Error, f_.ppd, 0, L"PPD file cannot be read");
            return;
        }
        const std::string text = ReadWholeFile(f_.ppd);
        PpdFile ppd = ParsePpd(text);
        for (const std::string& w : ppd.warnings)
            Add(LintLevel::Warning, f_.ppd, 0, Wide(w));
        auto lineOf = [&](const std::string& keyword) { return OpenUiLine(text, keyword); };
        Add(LintLevel::Note, f_.ppd, 0,
            ppd.Attribute("ColorDevice") == "True"
                ? L"ColorDevice True: the driver shows its colour item, the Color page is added"
                : L"ColorDevice is not True: the Color page is not added");
        std::wstring group, shown, removed;
        auto flush = [&]() {
            if (!group.empty())
                Add(LintLevel::Note, f_.ppd, 0,
                    group + L": shows " + (shown.empty() ? L"nothing" : shown) +
                        (removed.empty() ? L"" : L"; removes (not in the PPD) " + removed));
            shown.clear();
            removed.clear();
        };
        for (const FeatureUse& use : kFeatureUses) {
            if (group != use.where) {
                flush();
                group = use.where;
            }
            std::wstring& to = ppd.Find(use.keyword) ? shown : removed;
            to += (to.empty() ? L"" : L", ") + Wide(use.keyword);
        }
        flush();
        CheckDetectedPlaces(ppd, text);
        for (const PpdFeature& f : ppd.features) {
            if (f.keyword.rfind("ZD", 0) != 0)
                continue;
            bool known = false;
            for (const FeatureUse& use : kFeatureUses)
                known = known || f.keyword == use.keyword;
            if (!known)
                Add(LintLevel::Warning, f_.ppd, lineOf(f.keyword),
                    L"*" + Wide(f.keyword) +
                        L" is not one of the plug-in's features: the driver shows it as is");
        }
    }

    const ModelFileSet& f_;
    File cap_, ini_;
    int fontCount_ = -1; // -1: the font list was not read
    std::vector<LintFinding> out_;
};

} // namespace

bool ModelFilesOfPrinter(const std::wstring& printer, ModelFileSet* out, std::wstring* error) {
    zd::PrinterHandle handle(printer.c_str());
    if (!handle) {
        *error = L"cannot open printer " + printer;
        return false;
    }
    WCHAR config[zd::kOemConfigPathUnits] = {};
    zd::FindDriverFiles(handle.get(), config);
    out->cap = zd::Process().capabilityFilePath;
    out->ini = config;
    out->driverName = zd::PrinterDriverName(handle.get());
    DWORD needed = 0;
    GetPrinterDriverW(handle.get(), nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buf(needed ? needed : 1);
    if (needed && GetPrinterDriverW(handle.get(), nullptr, 3, buf.data(), needed, &needed)) {
        auto* di = reinterpret_cast<DRIVER_INFO_3W*>(buf.data());
        out->ppd = di->pDataFile ? di->pDataFile : L"";
        // An .ini the plug-in did not take still gets checked, to say why.
        for (const wchar_t* f = di->pDependentFiles; out->ini.empty() && f && *f;
             f += wcslen(f) + 1)
            if (EndsWithNoCase(f, L".ini"))
                out->ini = f;
    }
    // The folder the plug-in joins the model's bare file names to.
    WCHAR probe[MAX_PATH] = {};
    DWORD size = sizeof probe;
    zd::BuildDriverFilePath(probe, &size, L"x");
    out->filesDir = zd::W(zd::FolderOfPath(zd::U16(probe)));
    if (!out->filesDir.empty() && out->filesDir.back() != L'\\')
        out->filesDir += L'\\';
    return true;
}

std::vector<LintFinding> LintModel(const ModelFileSet& files, HMODULE resources) {
    if (resources)
        zd::Process().moduleInstance = resources;
    return Linter(files).Run();
}

int LintExitStatus(const std::vector<LintFinding>& findings) {
    int status = 0;
    for (const LintFinding& f : findings)
        status = std::max(status, f.level == LintLevel::Error     ? 2
                                  : f.level == LintLevel::Warning ? 1
                                                                  : 0);
    return status;
}

std::wstring FormatFinding(const LintFinding& f) {
    std::wstring s = f.file.empty() ? L"model" : f.file;
    if (f.line > 0)
        s += L":" + Num(f.line);
    s += f.level == LintLevel::Error     ? L": error: "
         : f.level == LintLevel::Warning ? L": warning: "
                                         : L": note: ";
    return s + f.message;
}

} // namespace drvhost
