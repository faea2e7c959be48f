#include "watermark/watermark_store.h"

#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "ui/dialog_helpers.h"

#include <new>
#include <vector>

namespace zd {

namespace {

// Delete and Edit buttons of the watermark list dialog.
constexpr int kIdDeleteWatermark = 1402;
constexpr int kIdEditWatermark = 1404;

constexpr DWORD kKeyListUnits = 1024;
constexpr DWORD kValueUnits = 1024;
constexpr DWORD kColorKeyListUnits = 1024;
constexpr DWORD kColorValueUnits = 64;

COLORREF g_customColors[kCustomColorCount] = {
    kDefaultWatermarkColor, kDefaultWatermarkColor, kDefaultWatermarkColor, kDefaultWatermarkColor,
    kDefaultWatermarkColor, kDefaultWatermarkColor, kDefaultWatermarkColor, kDefaultWatermarkColor,
    kDefaultWatermarkColor, kDefaultWatermarkColor, kDefaultWatermarkColor, kDefaultWatermarkColor,
    kDefaultWatermarkColor, kDefaultWatermarkColor, kDefaultWatermarkColor, kDefaultWatermarkColor};
WCHAR g_fontFilePath[kFontPathUnits];

WatermarkRecord* NewRecord() {
    return static_cast<WatermarkRecord*>(
        HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(WatermarkRecord)));
}

void FreeRecord(WatermarkRecord*& r) {
    if (r)
        HeapFree(GetProcessHeap(), 0, r);
    r = nullptr;
}

// Names of a section's keys in file order.
std::vector<std::wstring> KeyNames(const std::wstring& section, const WCHAR* path, DWORD units) {
    std::vector<std::wstring> names;
    if (!path || !path[0])
        return names;
    std::vector<WCHAR> buf(units + 2, 0);
    DWORD n = GetPrivateProfileStringW(section.c_str(), nullptr, L"", buf.data(), units, path);
    if (n >= units)
        n = units - 1;
    for (DWORD i = 0; i < n;) {
        size_t len = wcsnlen(buf.data() + i, n - i);
        if (len == 0)
            break; // the empty name ends the list
        names.emplace_back(buf.data() + i, len);
        i += DWORD(len) + 1;
    }
    return names;
}

std::wstring ReadValue(const std::wstring& section, const std::wstring& key, const WCHAR* path,
                       DWORD units) {
    std::wstring value(units, L'\0');
    DWORD n =
        GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", value.data(), units, path);
    value.resize(n < units ? n : 0);
    return value;
}

std::vector<std::u16string> NormalisedValues(const std::vector<StoredValue>& stored) {
    std::vector<std::u16string> values;
    for (const StoredValue& v : stored)
        values.push_back(NormalisedWatermarkValue(U16(v.value)));
    return values;
}

// Entries 1..count as they are written, normalised.
std::vector<std::u16string> ListedValues(UiContext& ctx) {
    WatermarkList list(ctx);
    uint32_t count = list.storedCount();
    std::vector<std::u16string> values;
    for (uint32_t n = 1; n <= count; ++n)
        if (list.entry(n))
            values.push_back(NormalisedWatermarkValue(FormatWatermarkValue(*list.entry(n))));
    return values;
}

// Appends the watermarks another sheet saved since this sheet read the
// section; what is in the file then counts as read.
void TakeWatermarksAddedElsewhere(UiContext& ctx) {
    WatermarkList list(ctx);
    if (!ctx.watermarksAsRead)
        return;
    std::vector<std::u16string> now = NormalisedValues(ReadStoredWatermarks(list.path()));
    std::vector<std::u16string>& read = ctx.watermarksAsRead->values;
    if (now == read)
        return;
    uint32_t count = list.storedCount();
    const std::vector<std::u16string> ours = ListedValues(ctx);
    for (const std::u16string& value :
         WatermarksAddedElsewhere(read, now, ours, kMaxStoredWatermarks - count)) {
        WatermarkRecord*& r = list.entry(count + 1);
        if (!r)
            r = NewRecord();
        if (!r)
            break;
        *r = WatermarkRecord{};
        ParseWatermarkValue(value, *r);
        list.count() = ++count;
    }
    read = std::move(now);
}

} // namespace

std::wstring WatermarkSectionName() {
    return LibraryString(kIdsWatermarkSection, L"Watermark");
}

std::wstring CustomColorSectionName() {
    return LibraryString(kIdsCustomColorSection, L"\u81EA\u5B9A\u4E49\u989C\u8272");
}

std::vector<StoredValue> ReadStoredWatermarks(const WCHAR* configPath) {
    std::vector<StoredValue> out;
    const std::wstring section = WatermarkSectionName();
    for (const std::wstring& key : KeyNames(section, configPath, kKeyListUnits)) {
        // A key of another kind ends the list.
        if (key[0] != L'W' || out.size() >= kMaxStoredWatermarks)
            break;
        out.push_back({key, ReadValue(section, key, configPath, kValueUnits)});
    }
    return out;
}

std::vector<StoredValue> ReadStoredCustomColors(const WCHAR* configPath) {
    std::vector<StoredValue> out;
    const std::wstring section = CustomColorSectionName();
    for (const std::wstring& key : KeyNames(section, configPath, kColorKeyListUnits)) {
        if (out.size() >= size_t(kCustomColorCount))
            break;
        out.push_back({key, ReadValue(section, key, configPath, kColorValueUnits)});
    }
    return out;
}

COLORREF* CustomColors() {
    return g_customColors;
}

WCHAR* WatermarkFontFilePath() {
    return g_fontFilePath;
}

void BuildWatermarkFontFilePath(const WCHAR* configPath) {
    WCHAR name[520] = {};
    if (configPath && configPath[0])
        GetPrivateProfileStringW(L"DependentFiles", L"WMFONT", L"", name, 520, configPath);
    DWORD size = DWORD(sizeof g_fontFilePath);
    g_fontFilePath[0] = 0;
    WCHAR built[kFontPathUnits] = {};
    // Only a path that fits whole is taken: a cut one would name another file.
    if (BuildDriverFilePath(built, &size, name))
        CopyText(g_fontFilePath, kFontPathUnits, built);
}

void InitNoneEntry(UiContext& ctx) {
    WatermarkList list(ctx);
    if (!list.entry(0))
        return;
    int defaultNo = 0;
    if (g_fontFilePath[0])
        defaultNo = int(GetPrivateProfileIntW(L"PrinterFont", L"DefaultNo", 0, g_fontFilePath));
    std::wstring none = LibraryString(kIdsWatermarkNone, L"\u65E0");
    std::wstring face = LibraryString(kIdsDefaultWatermarkFace, L"HeiseiMin-W3-90ms-RKSJ-H");
    FillNoneDefaults(*list.entry(0), defaultNo, U16(none), U16(face));
}

void LoadWatermarkList(HWND dialog, UiContext& ctx, ByteView oemDevMode) {
    WatermarkList list(ctx);
    if (!list.loaded()) {
        if (!list.entry(0))
            list.entry(0) = NewRecord();
        if (!list.working())
            list.working() = NewRecord();
        InitNoneEntry(ctx);

        uint32_t count = 0;
        const std::vector<StoredValue> stored = ReadStoredWatermarks(list.path());
        for (const StoredValue& value : stored) {
            WatermarkRecord* r = list.entry(count + 1);
            if (!r)
                r = NewRecord();
            if (!r)
                break;
            *r = WatermarkRecord{};
            ParseWatermarkValue(U16(value.value), *r);
            list.entry(++count) = r;
        }
        delete ctx.watermarksAsRead;
        ctx.watermarksAsRead = new (std::nothrow) WatermarksAsRead{NormalisedValues(stored)};
        list.loaded() = 1;
        list.selected() = oemDevMode.u32(dm::kWatermarkIndex);
        list.count() = count;
    }

    uint32_t count = list.storedCount();
    for (uint32_t i = 1; i <= count; ++i) {
        if (!list.entry(i))
            continue;
        if (!list.snapshot(i))
            list.snapshot(i) = NewRecord();
        if (list.snapshot(i))
            CopyWatermark(*list.snapshot(i), *list.entry(i));
    }
    if (list.count() < list.selected())
        list.selected() = 0;
    list.snapshotCount() = list.count();
    list.snapshotSelected() = list.selected();

    WatermarkRecord* chosen = list.entry(list.selected());
    if (list.working() && chosen)
        CopyWatermark(*list.working(), *chosen);
    ClearWorkingTextIfNone(ctx);

    if (list.selected() != 0 && dialog) {
        EnableWindow(GetDlgItem(dialog, kIdDeleteWatermark), TRUE);
        EnableWindow(GetDlgItem(dialog, kIdEditWatermark), TRUE);
    }
}

bool SaveWatermarkList(UiContext& ctx) {
    WatermarkList list(ctx);
    if (!list.path() || !list.path()[0])
        return true; // no configuration file: there is no store to write
    TakeWatermarksAddedElsewhere(ctx);
    const std::wstring section = WatermarkSectionName();
    bool written =
        WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, list.path()) != FALSE;
    uint32_t count = list.storedCount();
    for (uint32_t n = 1; n <= count && written; ++n) {
        if (!list.entry(n))
            continue;
        std::wstring key = W(WatermarkKeyName(n));
        std::wstring value = W(FormatWatermarkValue(*list.entry(n)));
        written = WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(),
                                             list.path()) != FALSE;
    }
    // What this sheet wrote is what it now knows to be in the file.
    if (written && ctx.watermarksAsRead)
        ctx.watermarksAsRead->values = ListedValues(ctx);
    return written;
}

void FreeWatermarkList(UiContext& ctx) {
    WatermarkList list(ctx);
    for (uint32_t i = 0; i < uint32_t(kMaxWatermarkEntries); ++i)
        FreeRecord(list.entry(i));
    FreeRecord(list.working());
    delete ctx.watermarksAsRead;
    ctx.watermarksAsRead = nullptr;
}

void FreeWatermarkSnapshot(UiContext& ctx) {
    WatermarkList list(ctx);
    for (uint32_t i = 0; i < uint32_t(kMaxWatermarkEntries); ++i)
        FreeRecord(list.snapshot(i));
}

void RestoreWatermarkSnapshot(UiContext& ctx) {
    WatermarkList list(ctx);
    for (uint32_t i = 1; i < uint32_t(kMaxWatermarkEntries); ++i)
        FreeRecord(list.entry(i));
    const uint32_t count = list.storedSnapshotCount();
    uint32_t restored = 0;
    for (uint32_t i = 1; i <= count; ++i) {
        list.entry(i) = list.snapshot(i);
        list.snapshot(i) = nullptr;
        if (list.entry(i))
            restored = i;
    }
    // Snapshot slots beyond the count hold nothing any entry may reuse.
    FreeWatermarkSnapshot(ctx);
    list.count() = restored;
    list.selected() = list.snapshotSelected() <= restored ? list.snapshotSelected() : 0;
    if (WatermarkRecord* none = list.entry(0)) {
        none->background = uint16_t(list.committedBackground());
        none->firstPageOnly = uint8_t(list.committedFirstPage());
    }
}

bool DeleteWatermarkEntry(UiContext& ctx, uint32_t index) {
    WatermarkList list(ctx);
    const uint32_t count = list.storedCount();
    if (index < 1 || index > count)
        return false;
    FreeRecord(list.entry(index));
    for (uint32_t i = index; i < count; ++i)
        list.entry(i) = list.entry(i + 1);
    list.entry(count) = nullptr;
    list.count() = count - 1;
    return true;
}

bool AppendWatermarkEntry(UiContext& ctx) {
    WatermarkList list(ctx);
    if (list.count() >= kMaxStoredWatermarks || !list.working())
        return false;
    const uint32_t n = list.count() + 1;
    if (!list.entry(n))
        list.entry(n) = NewRecord();
    if (!list.entry(n))
        return false;
    CopyWatermark(*list.entry(n), *list.working());
    list.count() = n;
    return true;
}

void ClearWorkingTextIfNone(UiContext& ctx) {
    WatermarkList list(ctx);
    if (list.selected() == 0 && list.working())
        list.working()->text[0] = 0;
}

void CommitSelectionToDevMode(UiContext& ctx, ByteView oemDevMode) {
    WatermarkList list(ctx);
    uint32_t selected = list.selected();
    const WatermarkRecord* r =
        selected < uint32_t(kMaxWatermarkEntries) ? list.entry(selected) : nullptr;
    if (r)
        WriteWatermarkBlock(oemDevMode, selected, *r);
    else
        oemDevMode.set_u32(dm::kWatermarkIndex, selected);
}

void LoadCustomColors(UiContext& ctx) {
    int slotIndex = 0;
    for (const StoredValue& stored : ReadStoredCustomColors(ctx.configFilePath))
        g_customColors[slotIndex++] = ParseCustomColorValue(U16(stored.value));
}

void SaveCustomColors(UiContext& ctx) {
    const WCHAR* path = ctx.configFilePath;
    if (!path || !path[0])
        return;
    const std::wstring section = CustomColorSectionName();
    WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, path);
    for (int i = 0; i < kCustomColorCount; ++i) {
        std::wstring key = L"Color" + W(FormatDecimal(i));
        std::wstring value = W(FormatCustomColorValue(g_customColors[i]));
        WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path);
    }
}

std::wstring ReadFontEntry(int fontNumber) {
    if (!g_fontFilePath[0])
        return std::wstring();
    std::wstring key = W(FormatDecimal(int64_t(fontNumber) + 1));
    return ReadValue(L"PrinterFont", key, g_fontFilePath, 1024);
}

std::wstring DescribeWatermarkStore(const WCHAR* configPath) {
    std::wstring out;
    for (const StoredValue& stored : ReadStoredWatermarks(configPath)) {
        WatermarkRecord r{};
        ParseWatermarkValue(U16(stored.value), r);
        out += stored.key + L": \"" + W(FieldText(r.text, kWatermarkTextUnits)) + L"\" " +
               W(FieldText(r.face, kWatermarkFaceUnits)) + L" " + W(FormatDecimal(r.size)) +
               L"pt " + W(FormatDecimal(r.angle)) + L"\u00B0\n";
    }
    return out;
}

} // namespace zd
