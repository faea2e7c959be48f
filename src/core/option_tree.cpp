#include "core/option_tree.h"

#include "core/driver_files.h"
#include "core/oemui_plugin.h"
#include "core/process_state.h"

namespace zd {

static void ClearPluginItems(OEMCUIPPARAM* param) {
    for (DWORD i = 0; i < param->cOEMOptItems; ++i) {
        param->pOEMOptItems[i] = OPTITEM{};
        param->pOEMOptItems[i].cbSize = sizeof(OPTITEM);
        param->pOEMOptItems[i].DMPubID = 0;
    }
}

static HRESULT DocumentMode(OemUiPlugin& plugin, OEMCUIPPARAM* param) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 0;
        return S_OK;
    }
    param->pOEMUserData = &plugin;
    ClearPluginItems(param);
    plugin.setDriverHeap(param->hOEMHeap);
    auto* ctx =
        static_cast<UiContext*>(HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(UiContext)));
    if (!ctx)
        return FailWith(ERROR_NOT_ENOUGH_MEMORY);
    plugin.setDocumentContext(ctx);
    ctx->treeParam = param;
    for (uint32_t& s : ctx->slots)
        s = kNoSlot;
    ctx->configFilePath = Process().oemConfigFilePath;
    return S_OK;
}

static HRESULT PrinterMode(OemUiPlugin& plugin, OEMCUIPPARAM* param) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 1;
        return S_OK;
    }
    param->pOEMUserData = &plugin;
    ClearPluginItems(param);
    plugin.setDriverHeap(param->hOEMHeap);
    auto* ctx = static_cast<DeviceUiContext*>(
        HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(DeviceUiContext)));
    if (!ctx)
        return FailWith(ERROR_NOT_ENOUGH_MEMORY);
    plugin.setDeviceContext(ctx);
    ctx->treeParam = param;
    return S_OK;
}

HRESULT RunCommonUIProp(OemUiPlugin& plugin, DWORD mode, OEMCUIPPARAM* param) {
    if (!param || (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP))
        return FailWith(ERROR_INVALID_PARAMETER);
    if (!SetUpHelp(param->hOEMHeap, param->hPrinter))
        return E_FAIL;
    if (mode == OEMCUIP_DOCPROP) {
        plugin.setDocumentTree(param);
        return DocumentMode(plugin, param);
    }
    plugin.setDeviceTree(param);
    return PrinterMode(plugin, param);
}

} // namespace zd
