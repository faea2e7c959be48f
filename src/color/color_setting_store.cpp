#include "color/color_setting_store.h"

#include "color/hex_bytes.h"
#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "core/text_fields.h"

namespace zd {

namespace {

constexpr DWORD kNameUnits = 64;
// Longer than any block's digits, so that an over-long text is seen and cut
// by the decoder rather than by the read.
constexpr DWORD kDataUnits = 1024;

std::wstring ReadString(const wchar_t* section, const std::wstring& key, DWORD units,
                        const WCHAR* path) {
    std::wstring v(units, L'\0');
    DWORD n = GetPrivateProfileStringW(section, key.c_str(), L"", v.data(), units, path);
    v.resize(n < units ? n : 0);
    return v;
}

void AddSection(std::vector<ColorSettingEntry>& out, const wchar_t* section, uint16_t base,
                const WCHAR* path) {
    int num = int(GetPrivateProfileIntW(section, L"SettingNum", 0, path));
    if (num > kMaxColorSettingPositions)
        num = kMaxColorSettingPositions;
    for (int n = 0; n < num; ++n) {
        uint32_t id = GetPrivateProfileIntW(section, Numbered(L"SettingID", n).c_str(), 0, path);
        id &= 0xFF;
        std::wstring name = ReadString(section, Numbered(L"SettingName", id), kNameUnits, path);
        if (!name.empty())
            out.push_back({name, uint16_t(base + id)});
    }
}

// Decodes one data key into a block and writes its count (low byte, high 0).
void LoadBlock(ByteView d, const wchar_t* section, const std::wstring& key, const WCHAR* path,
               size_t countOffset, size_t blockOffset, size_t blockSize) {
    std::wstring text = path && path[0] ? ReadString(section, key, kDataUnits, path) : L"";
    uint8_t block[256] = {};
    HexDecodeResult r = DecodeHexBytes(U16(text), block, blockSize);
    for (size_t i = 0; i < r.written; ++i)
        d.set_u8(blockOffset + i, block[i]);
    d.set_u8(countOffset, uint8_t(r.count % 256));
    d.set_u8(countOffset + 1, 0);
}

} // namespace

bool GetColorSettingFilePath(const OEMUIPSPARAM* documentParams, WCHAR* path, DWORD sizeBytes) {
    if (!documentParams || !path)
        return false;
    std::wstring section = FindModelSection(documentParams->hPrinter, 128);
    if (section.empty())
        return false;
    WCHAR name[520] = {};
    GetPrivateProfileStringW(section.c_str(), L"CCMInfoFile", L"", name, 520,
                             Process().capabilityFilePath);
    if (!name[0])
        return false;
    // Built aside so that a path that does not fit leaves `path` untouched.
    WCHAR built[kColorSettingPathUnits] = {};
    DWORD size = sizeof built < sizeBytes ? DWORD(sizeof built) : sizeBytes;
    if (!BuildDriverFilePath(built, &size, name))
        return false;
    CopyText(path, sizeBytes / sizeof(WCHAR), built);
    return true;
}

std::vector<ColorSettingEntry> ListColorSettings(const WCHAR* path) {
    std::vector<ColorSettingEntry> out;
    if (!path || !path[0])
        return out;
    AddSection(out, L"Color", 0, path);
    AddSection(out, L"Gamma", uint16_t(kColorSettingGamma), path);
    return out;
}

void CommitColorSetting(UiContext& ctx) {
    if (!ctx.pageParam || !ctx.pageParam->pOEMDM)
        return;
    ByteView d(static_cast<uint8_t*>(ctx.pageParam->pOEMDM), kOemDevModeSize);
    d.set_u16(dm::kColorWord, 0);
    const uint32_t word = ctx.selections[slot::ColorSettingWord];
    d.set_u32(dm::kColorSetting, word);

    WCHAR path[kColorSettingPathUnits] = {};
    // Only a path that was built names the store; without one no data loads.
    const WCHAR* store = GetColorSettingFilePath(ctx.pageParam, path, sizeof path) ? path : nullptr;
    if ((word >> 16) == 0)
        return;
    const wchar_t* section = (word & kColorSettingGamma) ? L"Gamma" : L"Color";
    const uint32_t id = word & 0xFF;
    LoadBlock(d, section, Numbered(L"CCMNT", id), store, dm::kColorData1Count, dm::kColorData1,
              dm::kColorData1Size);
    LoadBlock(d, section, Numbered(L"CCMNV", id), store, dm::kColorData2Count, dm::kColorData2,
              dm::kColorData2Size);
}

std::wstring DescribeColorSettings(const WCHAR* path) {
    std::wstring out;
    for (const ColorSettingEntry& e : ListColorSettings(path)) {
        const wchar_t* section = (e.itemValue & kColorSettingGamma) ? L"Gamma" : L"Color";
        out += std::wstring(section) + L" " + W(FormatDecimal(e.itemValue & 0xFF)) + L": " +
               e.name + L"\n";
    }
    return out;
}

} // namespace zd
