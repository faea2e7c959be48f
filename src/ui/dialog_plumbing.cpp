#include "ui/dialog_plumbing.h"

#include "core/devmode_record.h"
#include "core/process_state.h"
#include "core/text_fields.h"
#include "core/win_util.h"

#include <cstring>

namespace zd {

namespace {

// DrvGetDriverSetting's answer buffer: an option keyword of the PPD.
constexpr DWORD kSettingBytes = 64;

} // namespace

bool HasSlotItem(const UiContext* ctx, int slotIndex) {
    return ctx && slotIndex >= 0 && slotIndex < kSlotCount && ctx->slots[slotIndex] != kNoSlot;
}

OPTITEM* SlotItem(const UiContext* ctx, int slotIndex) {
    if (!HasSlotItem(ctx, slotIndex) || !ctx->treeParam || !ctx->treeParam->pDrvOptItems)
        return nullptr;
    uint32_t index = ctx->slots[slotIndex];
    if (index >= ctx->treeParam->cDrvOptItems)
        return nullptr;
    return &ctx->treeParam->pDrvOptItems[index];
}

uint32_t SlotItemSelection(const UiContext* ctx, int slotIndex) {
    const OPTITEM* item = SlotItem(ctx, slotIndex);
    return item ? uint32_t(item->Sel) : 0;
}

OEMUIOBJ* DriverObject(const UiContext* ctx) {
    if (ctx && ctx->pageParam && ctx->pageParam->poemuiobj)
        return ctx->pageParam->poemuiobj;
    return ctx && ctx->treeParam ? ctx->treeParam->poemuiobj : nullptr;
}

HANDLE PrinterOf(const UiContext* ctx) {
    if (ctx && ctx->pageParam && ctx->pageParam->hPrinter)
        return ctx->pageParam->hPrinter;
    return ctx && ctx->treeParam ? ctx->treeParam->hPrinter : nullptr;
}

DEVMODEW* PublicDevModeOf(const UiContext* ctx) {
    if (ctx && ctx->pageParam && ctx->pageParam->pPublicDM)
        return ctx->pageParam->pPublicDM;
    return ctx && ctx->treeParam ? ctx->treeParam->pPublicDM : nullptr;
}

ByteView PrivateDevMode(const UiContext* ctx) {
    void* block = nullptr;
    if (ctx && ctx->pageParam && ctx->pageParam->pOEMDM)
        block = ctx->pageParam->pOEMDM;
    else if (ctx && ctx->treeParam)
        block = ctx->treeParam->pOEMDM;
    ByteView view(static_cast<uint8_t*>(block), block ? kOemDevModeSize : 0);
    if (view.size() < kOemDevModeSize || view.u32(dm::kSize) < kOemDevModeSize)
        return ByteView(nullptr, 0);
    return view;
}

bool NoPermission(const UiContext* ctx) {
    return ctx && ctx->pageParam && (ctx->pageParam->dwFlags & DM_NOPERMISSION);
}

void ReportPageResult(const UiContext* ctx, HANDLE pageHandle) {
    if (ctx && ctx->sheetService && pageHandle)
        ctx->sheetService(ctx->sheet, CPSFUNC_SET_RESULT, reinterpret_cast<LPARAM>(pageHandle),
                          CPSUI_OK);
}

std::string DriverSetting(const UiContext* ctx, const char* feature) {
    OEMUIOBJ* obj = DriverObject(ctx);
    if (!feature || !obj || !obj->pOemUIProcs || !obj->pOemUIProcs->DrvGetDriverSetting)
        return {};
    char answer[kSettingBytes] = {};
    DWORD needed = 0, count = 0;
    if (!obj->pOemUIProcs->DrvGetDriverSetting(obj, feature, answer, kSettingBytes, &needed,
                                               &count))
        return {};
    // A full buffer without its NUL is not a keyword the plug-in knows.
    const void* end = std::memchr(answer, 0, kSettingBytes);
    return end ? std::string(answer) : std::string();
}

bool DriverSettingIsTrue(const UiContext* ctx, const char* feature) {
    return DriverSetting(ctx, feature) == "True";
}

bool IsBoxChecked(HWND dlg, int id) {
    return IsDlgButtonChecked(dlg, id) == BST_CHECKED;
}

void SetBoxChecked(HWND dlg, int id, bool checked) {
    CheckDlgButton(dlg, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CheckRadioOrNone(HWND dlg, int first, int last, uint32_t value) {
    CheckRadioButton(dlg, first, last,
                     last >= first && value <= uint32_t(last - first) ? int(first + value) : 0);
}

void SetDecimalText(HWND dlg, int id, int64_t value) {
    SetDlgItemTextW(dlg, id, W(FormatDecimal(value)).c_str());
}

INT_PTR RunModalDialog(HWND owner, WORD templateId, DLGPROC proc, void* state) {
    return DialogBoxParamW(Process().moduleInstance, MAKEINTRESOURCEW(templateId), owner, proc,
                           reinterpret_cast<LPARAM>(state));
}

} // namespace zd
