#include "ui/option_lists.h"

#include "ui/dialog_plumbing.h"

namespace zd {

namespace {

const OPTPARAM* Options(const UiContext* ctx, int slotIndex, WORD* count) {
    const OPTITEM* item = SlotItem(ctx, slotIndex);
    *count = 0;
    if (!item || !item->pOptType || !item->pOptType->pOptParam)
        return nullptr;
    *count = item->pOptType->Count;
    return item->pOptType->pOptParam;
}

} // namespace

uint32_t OptionCount(const UiContext* ctx, int slotIndex) {
    WORD count = 0;
    Options(ctx, slotIndex, &count);
    return count;
}

bool FillOptionList(HWND dlg, int listId, const UiContext* ctx, int slotIndex) {
    HWND list = GetDlgItem(dlg, listId);
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    WORD count = 0;
    const OPTPARAM* options = Options(ctx, slotIndex, &count);
    for (WORD i = 0; options && i < count; ++i) {
        const WCHAR* name = options[i].pData;
        if (!name || IS_INTRESOURCE(name))
            name = L"";
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    if (count == 0)
        EnableWindow(list, FALSE);
    return count != 0;
}

void SelectOptionEntry(HWND dlg, int listId, uint32_t selection) {
    // CB_SETCURSEL with an index past the entries (or -1) chooses none.
    const WPARAM entry = selection <= 0xFFFF ? WPARAM(selection) : WPARAM(-1);
    SendDlgItemMessageW(dlg, listId, CB_SETCURSEL, entry, 0);
}

std::optional<uint32_t> ChosenOption(HWND dlg, int listId, const UiContext* ctx, int slotIndex) {
    const LRESULT chosen = SendDlgItemMessageW(dlg, listId, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR || chosen < 0 || uint64_t(chosen) >= OptionCount(ctx, slotIndex))
        return std::nullopt;
    return uint32_t(chosen);
}

bool StoreOption(UiContext* ctx, int slotIndex, uint32_t option) {
    if (!ctx || option >= OptionCount(ctx, slotIndex))
        return false;
    ctx->selections[slotIndex] = option;
    return true;
}

} // namespace zd
