// The Color page: five colour modes with their pictures, the office colour
// and advanced photo details, the Others dialog, toner save, the custom
// calibration, the maker's colour swatch tool and the maker link. Its
// choices live in the sheet's working record; they reach the driver, and
// the colour setting word the private DEVMODE, when the page is left.
#include "color/color_page.h"

#include "color/advanced_photo_dialog.h"
#include "color/color_mode.h"
#include "color/color_setting_store.h"
#include "color/office_color_dialog.h"
#include "ui/option_lists.h"
#include "color/others_dialog.h"
#include "color/swatch_tool_path.h"
#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/late_libraries.h"
#include "core/option_tree.h"
#include "core/process_state.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "ui/dialog_helpers.h"
#include "ui/dialog_plumbing.h"
#include "ui/maker_link.h"
#include "resources/resource.h"
#include "ui/bitmap_helpers.h"

#include <prsht.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace zd {

namespace {

constexpr DWORD kModelTextUnits = 522;
constexpr const wchar_t* kSwatchValueName = L"install";

// The picture of each mode, in mode order: after the first they run
// downwards through the resource numbers.
constexpr WORD kModePictures[kColorModeCount] = {IDB_COLOR_AUTO, IDB_COLOR_OFFICE, IDB_COLOR_PHOTO,
                                                 IDB_COLOR_NO_MATCHING, IDB_COLOR_GRAYSCALE};

struct RegistryKeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

uint32_t ModeOf(const UiContext* ctx) {
    return ctx->selections[slot::ColorControl];
}

void DrawModePictures(HWND page) {
    for (uint32_t mode = 0; mode < kColorModeCount; ++mode)
        DrawTransparentBitmap(page, Process().moduleInstance, WORD(IDC_COLOR_PICTURE_AUTO + mode),
                              kModePictures[mode]);
}

// Everything but the link logo, when the user may not change settings.
void LimitWithoutPermission(HWND page, const UiContext* ctx) {
    if (!NoPermission(ctx))
        return;
    LimitControlRange(page, IDC_COLOR_PICTURE_AUTO, IDC_COLOR_MODE_GROUP, FALSE);
    LimitControlRange(page, IDC_COLOR_LIMIT_FIRST, IDC_COLOR_ADVANCED, FALSE);
    LimitControlRange(page, IDC_COLOR_TONER_SAVE, IDC_COLOR_TONER_SAVE, FALSE);
    LimitControlRange(page, IDC_DEFAULTS, IDC_DEFAULTS, FALSE);
}

void ShowColorMode(HWND page, const UiContext* ctx) {
    DrawModePictures(page);
    const uint32_t mode = ModeOf(ctx);
    // A mode past the five checks none.
    CheckRadioOrNone(page, IDC_COLOR_MODE_AUTO, IDC_COLOR_MODE_GRAYSCALE, mode);
    EnableWindow(GetDlgItem(page, IDC_COLOR_OFFICE_DETAILS),
                 IsColorMode(mode, ColorMode::OfficeColor));
    EnableWindow(GetDlgItem(page, IDC_COLOR_PHOTO_DETAILS),
                 IsColorMode(mode, ColorMode::AdvancedPhoto));
    // The box is the Job Options page's toner save: the same selection, so
    // that the two pages always agree.
    const bool tonerSave = HasSlotItem(ctx, slot::OutputMode);
    EnableWindow(GetDlgItem(page, IDC_COLOR_TONER_SAVE),
                 tonerSave && !IsColorMode(mode, ColorMode::Grayscale));
    SetBoxChecked(page, IDC_COLOR_TONER_SAVE, tonerSave && ctx->selections[slot::OutputMode] == 1);
    LimitWithoutPermission(page, ctx);
}

void RefreshColorPage(HWND page, const UiContext* ctx) {
    ShowColorMode(page, ctx);
    if (HasSlotItem(ctx, slot::CustomCalibration))
        SelectOptionEntry(page, IDC_COLOR_CALIBRATION, ctx->selections[slot::CustomCalibration]);
    LoadLinkCursor();
    EnsureLinkFont(page);
    ShowControlRange(page, IDC_LINK_LOGO, IDC_LINK_LOGO, TRUE);
}

std::wstring SwatchRegistryPath(const UiContext* ctx) {
    HANDLE printer = PrinterOf(ctx);
    return printer ? ReadModelText(printer, L"SwatchRegPath", kModelTextUnits) : std::wstring();
}

// The tool's program: the folder in the string value "install" of the key
// under HKEY_LOCAL_MACHINE, with "\swatch.exe". Nothing when the key or the
// value is missing, the value is not a string or the path does not fit.
std::optional<std::wstring> FindSwatchTool(const std::wstring& keyPath) {
    HKEY opened = nullptr;
    if (keyPath.empty() || RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE,
                                         &opened) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryKey key(opened);
    char16_t value[kSwatchPathUnits] = {};
    DWORD type = REG_NONE, size = sizeof value;
    if (RegQueryValueExW(key.get(), kSwatchValueName, nullptr, &type,
                         reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::u16string_view folder = TerminatedText(value, size / sizeof(char16_t));
    WCHAR expanded[kSwatchPathUnits] = {};
    if (type == REG_EXPAND_SZ) {
        const std::wstring raw = W(folder);
        DWORD units = ExpandEnvironmentStringsW(raw.c_str(), expanded, DWORD(kSwatchPathUnits));
        if (units == 0 || units > kSwatchPathUnits)
            return std::nullopt;
        folder = U16(expanded);
    }
    std::optional<std::u16string> path = SwatchToolPath(folder);
    if (!path)
        return std::nullopt;
    return W(*path);
}

void LaunchSwatchTool(HWND page, const UiContext* ctx) {
    std::optional<std::wstring> tool = FindSwatchTool(SwatchRegistryPath(ctx));
    if (!tool) {
        ShowStringMessage(page, IDS_SWATCH_TOOL_MISSING, IDS_CAPTION_ERROR,
                          MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ShellOpen(page, tool->c_str());
}

BOOL OnInitDialog(HWND page, LPARAM lParam) {
    UiContext* ctx = AttachPageState(page, lParam);
    if (!ctx)
        return FALSE; // no working record: the page stays as its template
    if (SwatchRegistryPath(ctx).empty())
        DestroyControlRange(page, IDC_COLOR_SWATCH, IDC_COLOR_SWATCH);
    if (HasSlotItem(ctx, slot::CustomCalibration))
        FillOptionList(page, IDC_COLOR_CALIBRATION, ctx, slot::CustomCalibration);
    else
        DestroyControlRange(page, IDC_COLOR_CALIBRATION_LABEL, IDC_COLOR_CALIBRATION);
    if (ByteView block = PrivateDevMode(ctx); block.size())
        ctx->selections[slot::ColorSettingWord] = block.u32(dm::kColorSetting);
    RefreshColorPage(page, ctx);
    Process().sheetFlags |= kSheetPageInitialised;
    return FALSE;
}

// A mode the driver's item does not offer is not taken.
void ChooseMode(HWND page, UiContext* ctx, uint32_t mode) {
    StoreOption(ctx, slot::ColorControl, mode);
    ShowColorMode(page, ctx);
    NotifyPageChanged(page);
}

void OnDefaults(HWND page, UiContext* ctx) {
    // Only the mode and the calibration: the details keep their settings.
    ctx->selections[slot::ColorControl] = uint32_t(ColorMode::Auto);
    ctx->selections[slot::CustomCalibration] = 0;
    RefreshColorPage(page, ctx);
    NotifyPageChanged(page);
}

void AfterDialog(HWND page, INT_PTR result) {
    if (DialogConfirmed(result))
        NotifyPageChanged(page);
}

BOOL OnCommand(HWND page, WORD id, WORD code) {
    UiContext* ctx = DialogState<UiContext>(page);
    if (!ctx)
        return FALSE;
    if (id == IDC_COLOR_CALIBRATION) {
        if (code == CBN_SELCHANGE) {
            if (auto chosen = ChosenOption(page, id, ctx, slot::CustomCalibration)) {
                ctx->selections[slot::CustomCalibration] = *chosen;
                NotifyPageChanged(page);
            }
        }
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    if (id >= IDC_COLOR_PICTURE_AUTO && id <= IDC_COLOR_PICTURE_GRAYSCALE) {
        ChooseMode(page, ctx, uint32_t(id - IDC_COLOR_PICTURE_AUTO));
        return TRUE;
    }
    if (id >= IDC_COLOR_MODE_AUTO && id <= IDC_COLOR_MODE_GRAYSCALE) {
        ChooseMode(page, ctx, uint32_t(id - IDC_COLOR_MODE_AUTO));
        return TRUE;
    }
    switch (id) {
    case IDC_COLOR_OFFICE_DETAILS:
        AfterDialog(page, RunOfficeColorDialog(page, ctx));
        return TRUE;
    case IDC_COLOR_PHOTO_DETAILS:
        AfterDialog(page, RunAdvancedPhotoDialog(page, ctx));
        return TRUE;
    case IDC_COLOR_ADVANCED:
        AfterDialog(page, RunOthersDialog(page, ctx));
        return TRUE;
    case IDC_COLOR_TONER_SAVE:
        ctx->selections[slot::OutputMode] = IsBoxChecked(page, IDC_COLOR_TONER_SAVE) ? 1 : 0;
        NotifyPageChanged(page);
        return TRUE;
    case IDC_COLOR_SWATCH:
        LaunchSwatchTool(page, ctx);
        return TRUE;
    case IDC_DEFAULTS:
        OnDefaults(page, ctx);
        return TRUE;
    case IDC_LINK_LOGO:
        OpenMakerLink(page, ctx);
        return TRUE;
    default:
        return FALSE;
    }
}

// The page never refuses to be left.
BOOL OnKillActive(HWND page, UiContext* ctx) {
    ApplyWorkingSelections(ctx);
    CommitColorSetting(*ctx);
    ForceTreeVisit(page);
    DeleteLinkFont();
    SetWindowLongPtrW(page, DWLP_MSGRESULT, FALSE);
    return TRUE;
}

BOOL OnNotify(HWND page, const NMHDR* header) {
    UiContext* ctx = DialogState<UiContext>(page);
    if (!ctx || !header)
        return FALSE;
    switch (header->code) {
    case PSN_SETACTIVE:
        RefreshColorPage(page, ctx);
        return FALSE;
    case PSN_KILLACTIVE:
        return OnKillActive(page, ctx);
    case PSN_APPLY:
        ReportPageResult(ctx, ctx->colorPage);
        DeleteLinkFont();
        SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    case PSN_RESET:
        DeleteLinkFont();
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL OnDrawItem(HWND page, const DRAWITEMSTRUCT* item) {
    if (!DialogState<UiContext>(page) || !item)
        return FALSE;
    if (item->CtlID >= IDC_COLOR_PICTURE_AUTO && item->CtlID <= IDC_COLOR_PICTURE_GRAYSCALE) {
        DrawModePictures(page);
        return TRUE;
    }
    if (item->CtlID == IDC_LINK_LOGO) {
        DrawTransparentBitmap(page, Process().moduleInstance, IDC_LINK_LOGO, IDB_LINK_LOGO);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK ColorPageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(page, lParam);
    case WM_COMMAND:
        return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_DRAWITEM:
        return OnDrawItem(page, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ACTIVATE:
        if (const UiContext* ctx = DialogState<UiContext>(page))
            ShowColorMode(page, ctx);
        return FALSE;
    case WM_SETCURSOR:
        return AnswerLinkCursor(page, DialogState<UiContext>(page), reinterpret_cast<HWND>(wParam));
    case WM_HELP:
    case WM_CONTEXTMENU:
        return HandleContextHelp(msg, wParam, lParam);
    default:
        return FALSE;
    }
}

} // namespace zd
