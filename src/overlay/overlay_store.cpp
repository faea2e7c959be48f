#include "overlay/overlay_store.h"

#include "core/devmode_record.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "core/text_fields.h"
#include "ui/dialog_helpers.h"
#include "overlay/overlay_editing.h"
#include "resources/resource.h"

namespace zd {

namespace {

struct Family {
    const wchar_t* list;
    const wchar_t* definitionPrefix;
};

constexpr Family kCommitted = {L"OverlaySetting", L"Overlay_Info "};
constexpr Family kWorking = {L"OverlaySetting_Sv", L"Overlay_Info_Sv "};

// An integer key cut to 0..limit: the records hold no more.
uint16_t ReadCount(const std::wstring& section, const wchar_t* key, uint16_t limit,
                   const WCHAR* path) {
    int v = int(GetPrivateProfileIntW(section.c_str(), key, 0, path));
    if (v < 0)
        return 0;
    return uint16_t(v > limit ? limit : v);
}

void ReadText(const std::wstring& section, const std::wstring& key, char16_t* out, size_t units,
              const WCHAR* path) {
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", reinterpret_cast<WCHAR*>(out),
                             DWORD(units), path);
    out[units - 1] = 0;
}

bool WriteText(const std::wstring& section, const std::wstring& key, std::u16string_view value,
               const WCHAR* path) {
    return WritePrivateProfileStringW(section.c_str(), key.c_str(), W(value).c_str(), path) !=
           FALSE;
}

bool WriteInt(const std::wstring& section, const wchar_t* key, int value, const WCHAR* path) {
    return WritePrivateProfileStringW(section.c_str(), key, W(FormatDecimal(value)).c_str(),
                                      path) != FALSE;
}

template <typename T> T* NewZeroed() {
    return static_cast<T*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(T)));
}

template <typename T> void Release(T*& p) {
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
    p = nullptr;
}

const WCHAR* ConfigPath(const UiContext& ctx) {
    return ctx.configFilePath ? ctx.configFilePath : L"";
}

// The list and the definitions of one family into fresh records. False
// when memory ran out; the definitions read so far are counted.
bool ReadRecords(UiContext& ctx, const Family& family) {
    const WCHAR* path = ConfigPath(ctx);
    OverlayList* list = NewZeroed<OverlayList>();
    if (!list)
        return false;
    ctx.overlayList = list;
    list->DefinedCount = ReadCount(family.list, L"Overlay_Num", kMaxDefinedOverlays, path);
    list->HistoryCount = ReadCount(family.list, L"History_Num", kMaxOverlayHistory, path);
    for (int i = 0; i < list->HistoryCount; ++i)
        ReadText(family.list, Numbered(L"History ", i), list->History[i], kOverlayTextUnits, path);

    for (int n = 0; n < list->DefinedCount; ++n) {
        OverlayDefinition* d = NewZeroed<OverlayDefinition>();
        if (!d) {
            list->DefinedCount = uint16_t(n);
            return false;
        }
        ctx.overlayDefinitions[n] = d;
        const std::wstring section = Numbered(family.definitionPrefix, n);
        d->FormCount = ReadCount(section, L"Form_Num", kMaxOverlayForms, path);
        d->PageMode =
            PageModeFromFile(int(GetPrivateProfileIntW(section.c_str(), L"PageMode", 0, path)));
        ReadText(section, L"Overlay_Name", d->OverlayName, kOverlayTextUnits, path);
        ReadText(section, L"CustomPage", d->CustomPage, kOverlayCustomPageUnits, path);
        for (int f = 0; f < d->FormCount; ++f)
            ReadText(section, Numbered(L"Form_Name ", f), d->FormName[f], kOverlayTextUnits, path);
    }
    return true;
}

// Every value of the records into one family, in the file's key order.
// Stops at the first value that cannot be written.
bool WriteRecords(const UiContext& ctx, const Family& family) {
    const OverlayList* list = ctx.overlayList;
    if (!list)
        return true;
    const WCHAR* path = ConfigPath(ctx);
    if (!path[0])
        return false;
    uint16_t defined =
        list->DefinedCount < kMaxDefinedOverlays ? list->DefinedCount : kMaxDefinedOverlays;
    uint16_t history =
        list->HistoryCount < kMaxOverlayHistory ? list->HistoryCount : kMaxOverlayHistory;
    if (!WriteInt(family.list, L"Overlay_Num", defined, path) ||
        !WriteInt(family.list, L"History_Num", history, path))
        return false;
    for (int i = 0; i < history; ++i)
        if (!WriteText(family.list, Numbered(L"History ", i),
                       FieldText(list->History[i], kOverlayTextUnits), path))
            return false;

    for (int n = 0; n < defined; ++n) {
        const OverlayDefinition* d = ctx.overlayDefinitions[n];
        if (!d)
            continue;
        const std::wstring section = Numbered(family.definitionPrefix, n);
        uint16_t forms = d->FormCount < kMaxOverlayForms ? d->FormCount : kMaxOverlayForms;
        if (!WriteText(section, L"Overlay_Name", FieldText(d->OverlayName, kOverlayTextUnits),
                       path) ||
            !WriteInt(section, L"PageMode", d->PageMode, path) ||
            !WriteText(section, L"CustomPage", FieldText(d->CustomPage, kOverlayCustomPageUnits),
                       path) ||
            !WriteInt(section, L"Form_Num", forms, path))
            return false;
        for (int f = 0; f < forms; ++f)
            if (!WriteText(section, Numbered(L"Form_Name ", f),
                           FieldText(d->FormName[f], kOverlayTextUnits), path))
                return false;
    }
    return true;
}

// The document's overlay indexes into the list's current ones.
void TakeDocumentOverlays(UiContext& ctx) {
    uint16_t indexes[4] = {255, 255, 255, 255};
    if (ctx.pageParam && ctx.pageParam->pOEMDM) {
        ByteView d(static_cast<uint8_t*>(ctx.pageParam->pOEMDM), kOemDevModeSize);
        for (size_t i = 0; i < dm::kOverlayCount; ++i)
            indexes[i] = d.u16(dm::kOverlays + 2 * i);
    }
    if (ctx.overlayList)
        TakeCurrentOverlays(*ctx.overlayList, indexes);
}

} // namespace

bool LoadOverlayStore(UiContext& ctx) {
    FreeOverlayStore(ctx);
    // Users who may not write printer data never write the store, so the
    // working sections are not theirs: they always read the committed ones.
    const bool writable = Process().printerDataWritable != 0;
    const bool fromWorking = writable && OverlayStoreStateOf(ctx) == Working;
    bool ok = ReadRecords(ctx, fromWorking ? kWorking : kCommitted);
    OverlayList* list = ctx.overlayList;
    if (!list)
        return false;
    // The working sections start as what was just read, never as what
    // another sheet left there. When they cannot be written the records
    // are marked, so that the dialog's OK moves them there instead of
    // committing.
    if (ok && !fromWorking && writable && list->DefinedCount > 0)
        OverlayStoreStateOf(ctx) = WriteRecords(ctx, kWorking) ? Working : Unmoved;
    TakeDocumentOverlays(ctx);
    return ok;
}

bool OpenOverlayStore(UiContext& ctx) {
    if (!ctx.overlayList)
        return LoadOverlayStore(ctx);
    TakeDocumentOverlays(ctx);
    return true;
}

bool SaveOverlayStore(UiContext& ctx) {
    uint32_t& state = OverlayStoreStateOf(ctx);
    if (state == Unmoved) {
        // The committed sections are the sheet's Apply's to write.
        if (!WriteRecords(ctx, kWorking))
            return false;
        state = Working;
        return true;
    }
    return WriteRecords(ctx, state == Working ? kWorking : kCommitted);
}

bool SaveOverlayStoreOrTell(HWND owner, UiContext& ctx) {
    if (SaveOverlayStore(ctx))
        return true;
    ShowStringMessage(owner, IDS_OVERLAY_SAVE_FAILED, IDS_CAPTION_ERROR, MB_OK | MB_ICONSTOP);
    return false;
}

void FreeOverlayStore(UiContext& ctx) {
    for (OverlayDefinition*& d : ctx.overlayDefinitions)
        Release(d);
    Release(ctx.overlayList);
}

bool CopyOverlayRecords(const UiContext& ctx, OverlayRecords& out) {
    if (!ctx.overlayList)
        return false;
    out.list = *ctx.overlayList;
    if (out.list.DefinedCount > kMaxDefinedOverlays)
        out.list.DefinedCount = kMaxDefinedOverlays;
    for (uint16_t n = 0; n < kMaxDefinedOverlays; ++n) {
        const OverlayDefinition* d = ctx.overlayDefinitions[n];
        out.definitions[n] = n < out.list.DefinedCount && d ? *d : OverlayDefinition{};
    }
    return true;
}

bool StoreOverlayRecords(UiContext& ctx, const OverlayRecords& in) {
    const uint16_t count =
        in.list.DefinedCount < kMaxDefinedOverlays ? in.list.DefinedCount : kMaxDefinedOverlays;
    if (!ctx.overlayList && !(ctx.overlayList = NewZeroed<OverlayList>()))
        return false;
    // Every slot first, so that running out of memory changes nothing.
    for (uint16_t n = 0; n < count; ++n)
        if (!ctx.overlayDefinitions[n] &&
            !(ctx.overlayDefinitions[n] = NewZeroed<OverlayDefinition>()))
            return false;
    *ctx.overlayList = in.list;
    ctx.overlayList->DefinedCount = count;
    for (uint16_t n = 0; n < kMaxDefinedOverlays; ++n) {
        if (n < count)
            *ctx.overlayDefinitions[n] = in.definitions[n];
        else
            Release(ctx.overlayDefinitions[n]);
    }
    return true;
}

void RememberFormName(UiContext& ctx, const WCHAR* name) {
    if (ctx.overlayList && name)
        RememberFormName(*ctx.overlayList, U16(name));
}

std::wstring DescribeOverlayStore(const WCHAR* configPath) {
    UiContext ctx{};
    ctx.configFilePath = const_cast<WCHAR*>(configPath);
    ReadRecords(ctx, kCommitted);
    std::wstring out;
    if (!ctx.overlayList)
        return out;
    const OverlayList& list = *ctx.overlayList;
    out += L"overlays " + W(FormatDecimal(list.DefinedCount)) + L", history";
    for (int i = 0; i < list.HistoryCount; ++i)
        out += L" " + W(FieldText(list.History[i], kOverlayTextUnits));
    out += L"\n";
    for (int n = 0; n < list.DefinedCount; ++n) {
        const OverlayDefinition* d = ctx.overlayDefinitions[n];
        if (!d)
            continue;
        out += L"Overlay_Info " + W(FormatDecimal(n)) + L": \"" +
               W(FieldText(d->OverlayName, kOverlayTextUnits)) + L"\" page mode " +
               W(FormatDecimal(d->PageMode));
        if (d->PageMode == uint16_t(PageMode::CustomPages))
            out += L" (" + W(FieldText(d->CustomPage, kOverlayCustomPageUnits)) + L")";
        out += L", forms";
        for (int f = 0; f < d->FormCount; ++f)
            out += L" " + W(FieldText(d->FormName[f], kOverlayTextUnits));
        out += L"\n";
    }
    FreeOverlayStore(ctx);
    return out;
}

} // namespace zd
