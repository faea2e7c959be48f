#include "overlay/overlay_store.h"

#include "core/devmode_record.h"
#include "core/win_util.h"
#include "core/text_fields.h"

namespace zd {

namespace {

struct Family {
    std::wstring list;
    std::wstring definitionPrefix;
};

Family ChooseFamily(UiContext& ctx) {
    if (OverlayStoreStateOf(ctx) == Working)
        return {L"OverlaySetting_Sv", L"Overlay_Info_Sv "};
    return {L"OverlaySetting", L"Overlay_Info "};
}

std::wstring Numbered(const std::wstring& prefix, int n) {
    return prefix + W(FormatDecimal(n));
}

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

void WriteText(const std::wstring& section, const std::wstring& key, std::u16string_view value,
               const WCHAR* path) {
    WritePrivateProfileStringW(section.c_str(), key.c_str(), W(value).c_str(), path);
}

void WriteInt(const std::wstring& section, const wchar_t* key, int value, const WCHAR* path) {
    WritePrivateProfileStringW(section.c_str(), key, W(FormatDecimal(value)).c_str(), path);
}

template <typename T> T* NewZeroed() {
    return static_cast<T*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(T)));
}

template <typename T> void Release(T*& p) {
    if (p)
        HeapFree(GetProcessHeap(), 0, p);
    p = nullptr;
}

} // namespace

bool LoadOverlayStore(UiContext& ctx) {
    FreeOverlayStore(ctx);
    const WCHAR* path = ctx.configFilePath ? ctx.configFilePath : L"";
    const Family family = ChooseFamily(ctx);
    const bool committedFamily = OverlayStoreStateOf(ctx) != Working;

    OverlayList* list = NewZeroed<OverlayList>();
    if (!list)
        return false;
    ctx.overlayList = list;
    ctx.overlayStoreReleased = 0;
    list->DefinedCount = ReadCount(family.list, L"Overlay_Num", kMaxDefinedOverlays, path);
    list->HistoryCount = ReadCount(family.list, L"History_Num", kMaxOverlayHistory, path);
    for (int i = 0; i < list->HistoryCount; ++i)
        ReadText(family.list, Numbered(L"History ", i), list->History[i], kOverlayTextUnits, path);

    bool ok = true;
    for (int n = 0; n < list->DefinedCount; ++n) {
        OverlayDefinition* d = NewZeroed<OverlayDefinition>();
        if (!d) {
            // Only the definitions that exist are counted.
            list->DefinedCount = uint16_t(n);
            ok = false;
            break;
        }
        ctx.overlayDefinitions[n] = d;
        const std::wstring section = Numbered(family.definitionPrefix, n);
        d->FormCount = ReadCount(section, L"Form_Num", kMaxOverlayForms, path);
        d->PageMode = uint16_t(GetPrivateProfileIntW(section.c_str(), L"PageMode", 0, path));
        ReadText(section, L"Overlay_Name", d->OverlayName, kOverlayTextUnits, path);
        ReadText(section, L"CustomPage", d->CustomPage, kOverlayCustomPageUnits, path);
        for (int f = 0; f < d->FormCount; ++f)
            ReadText(section, Numbered(L"Form_Name ", f), d->FormName[f], kOverlayTextUnits, path);
        if (committedFamily)
            OverlayStoreStateOf(ctx) = Working;
    }

    uint16_t indexes[4] = {255, 255, 255, 255};
    if (ctx.pageParam && ctx.pageParam->pOEMDM) {
        ByteView d(static_cast<uint8_t*>(ctx.pageParam->pOEMDM), kOemDevModeSize);
        for (size_t i = 0; i < dm::kOverlayCount; ++i)
            indexes[i] = d.u16(dm::kOverlays + 2 * i);
    }
    TakeCurrentOverlays(*list, indexes);
    return ok;
}

int SaveOverlayStore(UiContext& ctx) {
    OverlayList* list = ctx.overlayList;
    const WCHAR* path = ctx.configFilePath;
    if (!list || !path || !path[0])
        return 1;
    const Family family = ChooseFamily(ctx);
    uint16_t defined =
        list->DefinedCount < kMaxDefinedOverlays ? list->DefinedCount : kMaxDefinedOverlays;
    uint16_t history =
        list->HistoryCount < kMaxOverlayHistory ? list->HistoryCount : kMaxOverlayHistory;
    WriteInt(family.list, L"Overlay_Num", defined, path);
    WriteInt(family.list, L"History_Num", history, path);
    for (int i = 0; i < history; ++i)
        WriteText(family.list, Numbered(L"History ", i),
                  FieldText(list->History[i], kOverlayTextUnits), path);

    for (int n = 0; n < defined; ++n) {
        const OverlayDefinition* d = ctx.overlayDefinitions[n];
        if (!d)
            continue;
        const std::wstring section = Numbered(family.definitionPrefix, n);
        uint16_t forms = d->FormCount < kMaxOverlayForms ? d->FormCount : kMaxOverlayForms;
        WriteText(section, L"Overlay_Name", FieldText(d->OverlayName, kOverlayTextUnits), path);
        WriteInt(section, L"PageMode", d->PageMode, path);
        WriteText(section, L"CustomPage", FieldText(d->CustomPage, kOverlayCustomPageUnits), path);
        WriteInt(section, L"Form_Num", forms, path);
        for (int f = 0; f < forms; ++f)
            WriteText(section, Numbered(L"Form_Name ", f),
                      FieldText(d->FormName[f], kOverlayTextUnits), path);
    }
    return 1;
}

void FreeOverlayStore(UiContext& ctx) {
    bool any = ctx.overlayList != nullptr;
    for (OverlayDefinition*& d : ctx.overlayDefinitions) {
        any = any || d != nullptr;
        Release(d);
    }
    Release(ctx.overlayList);
    if (any)
        ctx.overlayStoreReleased = 1;
}

void RememberFormName(UiContext& ctx, const WCHAR* name) {
    if (ctx.overlayList && name)
        RememberFormName(*ctx.overlayList, U16(name));
}

std::wstring DescribeOverlayStore(const WCHAR* configPath) {
    UiContext ctx{};
    ctx.configFilePath = const_cast<WCHAR*>(configPath);
    LoadOverlayStore(ctx);
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
