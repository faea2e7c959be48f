#include "core/option_tree.h"

#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/plugin_session.h"
#include "core/paper_names.h"
#include "core/process_state.h"
#include "core/profile_memo.h"
#include "core/win_util.h"
#include "resources/resource.h"

#include <cstring>

namespace zd {

namespace {

// Public item identifiers of the driver's built-in items.
enum : BYTE {
    kPubOrientation = 1,
    kPubScale = 2,
    kPubCopiesCollate = 3,
    kPubPrintQuality = 5,
    kPubColor = 6,
    kPubDuplex = 7,
    kPubFormName = 9,
    kPubPagesPerSheet = 16,
};

constexpr int kNone = -1;

struct DocumentFeature {
    const char* keyword;
    DWORD help; // 0: no help context
    bool hide;
    int slot; // kNone: no slot
    BYTE userItemId;
};

const DocumentFeature kDocumentFeatures[] = {
    {"ZDOutputMode", 802, true, slot::OutputMode, 0},
    {"ZDCollate", 807, true, slot::Collate, 0},
    {"OutputBin", 808, true, slot::OutputBin, 0},
    {"ZDStaple", 822, true, slot::Staple, 200},
    {"ZDMediaType", 414, false, kNone, 0},
    {"ZDManualFeed", 603, false, kNone, 0},
    {"TraySwitch", 601, false, kNone, 0},
    {"ZDPageSizeCheck", 604, false, kNone, 0},
    {"ZDEnvRotate", 2201, false, kNone, 0},
    {"ZDHDDSpool", 1204, true, slot::HddSpool, 0},
    {"ZDDrumClean", 1203, true, slot::DrumClean, 0},
    {"ZDJob_Type", 0, true, slot::JobType, 0},
    {"ZDOverlay", 0, true, slot::Overlay, 0},
    {"ZDControl", 0, true, slot::ColorControl, 0},
    {"ZDSeparationorder", 0, true, slot::SeparationOrder, 0},
    {"ZDOverPrint", 0, true, slot::OverPrint, 0},
    {"ZDProcessMode", 0, true, slot::ProcessMode, 0},
    {"ZDBlackSubstitution", 0, true, slot::BlackSubstitution, 0},
    {"ZDHalftoneMode", 0, true, slot::HalftoneMode, 0},
    {"ZDAlwaysPrnHT", 0, true, slot::AlwaysPrintHalftone, 0},
    {"ZDColorRenderStyle", 0, true, slot::RenderStyle, 0},
    {"ZDColorRenderDict", 0, true, slot::RenderDict, 0},
    {"ZDTargetColor", 0, true, slot::TargetColor, 0},
    {"ZDTone", 1302, false, kNone, 0},
    {"ZDHairLine", 0, true, slot::HairLine, 0},
    {"ZDPunch", 823, true, slot::Punch, 0},
    {"ZDBindPosition", 824, true, slot::BindPosition, 0},
    {"ZDBlackSubGra", 0, true, slot::BlackSubGray, 0},
    {"ZDColorICMS", 0, true, slot::ColorIcms, 0},
    {"ZDCMYKProfile", 0, true, slot::CmykProfile, 0},
    {"ZDRGBProfile", 0, true, slot::RgbProfile, 0},
    {"ZDCMYKInputProfile", 0, true, slot::CmykInputProfile, 0},
    {"ZDCMYKLinkProfile", 0, true, slot::CmykLinkProfile, 0},
    {"ZDOutProfile", 0, true, slot::OutProfile, 0},
    {"ZDSimProfile", 0, true, slot::SimProfile, 0},
    {"ZDPureBlack", 0, true, slot::PureBlack, 0},
    {"ZDPreserveBlack", 0, true, slot::PreserveBlack, 0},
    {"ZDColorMatch", 0, true, slot::ColorMatch, 0},
    {"ZDResolution", 0, true, slot::Resolution, 0},
    {"ZDImageSmoothing", 0, true, slot::ImageSmoothing, 0},
    {"ZDTrapping", 0, true, slot::Trapping, 0},
    {"ZDScreenObo", 0, true, slot::ScreenObo, 0},
};

struct DeviceFeature {
    const char* keyword;
    DWORD help;
    BYTE userItemId;
};

const DeviceFeature kDeviceFeatures[] = {
    {"ZDHDD", 2205, 3},           {"ZDOptionDuplex", 2204, 5}, {"ZDOptionTray", 2208, 6},
    {"InstalledMemory", 2207, 7}, {"ZDFinisher", 2206, 8},     {"ZDOptionMPF", 2209, 9},
    {"ZDPunchUnit", 2211, 10},
};

const char* ItemKeyword(const OPTITEM& item) {
    auto* ud = reinterpret_cast<const USERDATA*>(item.UserData);
    return ud ? ud->pKeyWordName : nullptr;
}

// pName holds a string identifier (not a pointer) for the driver's own items.
bool NameIsId(const OPTITEM& item, ULONG_PTR id) {
    return reinterpret_cast<ULONG_PTR>(item.pName) == id;
}

OIEXT* NewHelpExtension(HANDLE heap) {
    auto* ext = static_cast<OIEXT*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(OIEXT)));
    if (ext) {
        ext->cbSize = sizeof(OIEXT);
        ext->pHelpFile = Process().helpFilePath;
    }
    return ext;
}

void AttachHelp(OPTITEM& item, DWORD help, OIEXT* ext) {
    item.HelpIndex = help;
    item.pOIExt = ext;
    if (ext)
        item.Flags |= OPTIF_HAS_POIEXT;
}

void ClearPluginItems(OEMCUIPPARAM* param) {
    for (DWORD i = 0; i < param->cOEMOptItems; ++i) {
        param->pOEMOptItems[i] = OPTITEM{};
        param->pOEMOptItems[i].cbSize = sizeof(OPTITEM);
        param->pOEMOptItems[i].DMPubID = 0;
    }
}

void StoreSlot(UiContext* ctx, int slotIndex, DWORD itemIndex, const OPTITEM& item,
               bool withSelection) {
    ctx->slots[slotIndex] = itemIndex;
    if (withSelection)
        ctx->selections[slotIndex] = uint32_t(item.Sel);
}

void HidePaperNames(OPTITEM& item) {
    const WCHAR* config = Process().oemConfigFilePath;
    if (!config || !config[0] || !item.pOptType || !item.pOptType->pOptParam)
        return;
    std::wstring list = KeptProfileText(config, L"Plg_Feature", L"HidePaperName", 264);
    std::vector<std::u16string> names = SplitHiddenPaperNames(U16(list));
    if (names.empty())
        return;
    OPTTYPE* type = item.pOptType;
    for (WORD j = 0; j < type->Count; ++j) {
        OPTPARAM& option = type->pOptParam[j];
        if (IS_INTRESOURCE(option.pData))
            continue; // a string identifier, not a display name
        std::u16string_view display = U16(option.pData);
        for (const std::u16string& name : names)
            if (display == name)
                option.Flags |= OPTPF_HIDE;
    }
}

void IndexDocumentFeature(UiContext* ctx, OPTITEM& item, DWORD index, OIEXT* ext) {
    const char* keyword = ItemKeyword(item);
    if (!keyword)
        return;
    for (const DocumentFeature& f : kDocumentFeatures) {
        if (strcmp(keyword, f.keyword) != 0)
            continue;
        if (f.help)
            AttachHelp(item, f.help, ext);
        if (f.hide)
            item.Flags |= OPTIF_HIDE;
        if (f.slot != kNone)
            StoreSlot(ctx, f.slot, index, item, true);
        if (f.userItemId)
            item.UserItemID = f.userItemId;
        return;
    }
}

// Items without a public identifier of their own: the PostScript output
// option by item id, the mirror and negative items by name id, the rest by
// their PPD keyword.
void IndexOtherDocumentItem(UiContext* ctx, OPTITEM& item, DWORD i, OIEXT* ext) {
    auto* ud = reinterpret_cast<const USERDATA*>(item.UserData);
    if (ud && ud->dwItemID == kPsOutputOptionItemId) {
        StoreSlot(ctx, slot::PsOutputOption, i, item, false);
        item.UserItemID = BYTE(i & 0xFF);
    } else if (NameIsId(item, kMirrorItemName)) {
        StoreSlot(ctx, slot::Mirror, i, item, true);
        item.Flags |= OPTIF_HIDE;
    } else if (NameIsId(item, kNegativeItemName)) {
        StoreSlot(ctx, slot::Negative, i, item, true);
        item.Flags |= OPTIF_HIDE;
    } else {
        IndexDocumentFeature(ctx, item, i, ext);
    }
}

void IndexDocumentItems(UiContext* ctx, OEMCUIPPARAM* param) {
    OIEXT* ext = NewHelpExtension(param->hOEMHeap);
    if (ReadModelInt(param->hPrinter, L"Compression") & 1)
        ctx->slots[slot::Compression] = 0;
    for (DWORD i = 0; i < param->cDrvOptItems && param->pDrvOptItems; ++i) {
        OPTITEM& item = param->pDrvOptItems[i];
        switch (item.DMPubID) {
        case kPubOrientation:
            StoreSlot(ctx, slot::Orientation, i, item, false);
            break;
        case kPubScale:
            StoreSlot(ctx, slot::Scale, i, item, true);
            item.Flags |= OPTIF_HIDE;
            break;
        case kPubCopiesCollate:
            StoreSlot(ctx, slot::Copies, i, item, true);
            item.Flags |= OPTIF_HIDE;
            break;
        case kPubPrintQuality:
            StoreSlot(ctx, slot::Resolution, i, item, true);
            item.Flags |= OPTIF_HIDE;
            break;
        case kPubColor:
            StoreSlot(ctx, slot::Color, i, item, false);
            break;
        case kPubDuplex:
            StoreSlot(ctx, slot::Duplex, i, item, false);
            break;
        case kPubFormName:
            HidePaperNames(item);
            break;
        case kPubPagesPerSheet:
            StoreSlot(ctx, slot::PagesPerSheet, i, item, false);
            break;
        case 4:
        case 8:
        case 10:
        case 11:
        case 12:
        case 13:
        case 17:
            break; // public items the pages leave to the driver
        default:   // 0, 14, 15 and 18 on: the driver's other items
            IndexOtherDocumentItem(ctx, item, i, ext);
            break;
        }
    }
}

HRESULT DocumentMode(PluginSession& plugin, OEMCUIPPARAM* param) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 0;
        return S_OK;
    }
    param->pOEMUserData = &plugin;
    param->OEMCUIPCallback = DocumentItemCallback;
    ClearPluginItems(param);

    DWORD tick = GetTickCount();
    Process().printerDataWritable =
        SetPrinterDataW(param->hPrinter, const_cast<LPWSTR>(L"W_TEST"), REG_DWORD,
                        reinterpret_cast<BYTE*>(&tick), sizeof(tick)) == ERROR_SUCCESS;

    plugin.setDriverHeap(param->hOEMHeap);
    // The old record's call block belongs to an earlier tree: no sheet may
    // run on it, whether or not a new record can be had.
    plugin.setDocumentContext(nullptr);
    auto* ctx =
        static_cast<UiContext*>(HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(UiContext)));
    if (!ctx)
        return FailWith(ERROR_NOT_ENOUGH_MEMORY);
    plugin.setDocumentContext(ctx);
    ctx->treeParam = param;
    for (uint32_t& s : ctx->slots)
        s = kNoSlot;
    ctx->configFilePath = Process().oemConfigFilePath;
    IndexDocumentItems(ctx, param);
    return S_OK;
}

void FillAutoDetectItem(OPTITEM& item, HANDLE heap, OIEXT* ext) {
    item.cbSize = sizeof(OPTITEM);
    item.Level = 2;
    item.DlgPageIdx = 0;
    item.Flags = OPTIF_CALLBACK | OPTIF_HAS_POIEXT;
    WCHAR caption[128] = {};
    int n = LoadStringW(Process().moduleInstance, IDS_AUTO_DETECT_OPTIONS, caption, 128);
    if (n > 0) {
        auto* name =
            static_cast<WCHAR*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, (n + 1) * sizeof(WCHAR)));
        if (name) {
            memcpy(name, caption, n * sizeof(WCHAR));
            item.pName = name;
        }
    }
    item.HelpIndex = 2210;
    item.pOIExt = ext;
    item.UserItemID = kAutoDetectItemId;
    auto* type = static_cast<OPTTYPE*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(OPTTYPE)));
    auto* params = static_cast<OPTPARAM*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(OPTPARAM)));
    if (type && params) {
        type->cbSize = sizeof(OPTTYPE);
        type->Type = TVOT_PUSHBUTTON;
        type->Count = 1;
        type->Style = 0xE0; // setup title, no trailing dots, always enabled
        type->BegCtrlID = 1;
        params->cbSize = sizeof(OPTPARAM);
        type->pOptParam = params;
        item.pOptType = type;
    }
    item.Sel = 0;
}

HRESULT PrinterMode(PluginSession& plugin, OEMCUIPPARAM* param) {
    if (!param->pOEMOptItems) {
        param->cOEMOptItems = 1;
        return S_OK;
    }
    param->pOEMUserData = &plugin;
    param->OEMCUIPCallback = DeviceItemCallback;
    ClearPluginItems(param);
    plugin.setDriverHeap(param->hOEMHeap);
    plugin.setDeviceContext(nullptr);
    auto* ctx = static_cast<DeviceUiContext*>(
        HeapAlloc(param->hOEMHeap, HEAP_ZERO_MEMORY, sizeof(DeviceUiContext)));
    if (!ctx)
        return FailWith(ERROR_NOT_ENOUGH_MEMORY);
    plugin.setDeviceContext(ctx);
    ctx->treeParam = param;

    OIEXT* ext = NewHelpExtension(param->hOEMHeap);
    for (DWORD i = 0; i < param->cDrvOptItems && param->pDrvOptItems; ++i) {
        OPTITEM& item = param->pDrvOptItems[i];
        if (NameIsId(item, kCollapsedDeviceItemName))
            item.Flags |= OPTIF_COLLAPSE;
        const char* keyword = ItemKeyword(item);
        if (!keyword)
            continue;
        for (const DeviceFeature& f : kDeviceFeatures) {
            if (strcmp(keyword, f.keyword) == 0) {
                AttachHelp(item, f.help, ext);
                item.UserItemID = f.userItemId;
                break;
            }
        }
    }
    if (param->cOEMOptItems >= 1) {
        OPTITEM& autoDetect = param->pOEMOptItems[0];
        FillAutoDetectItem(autoDetect, param->hOEMHeap, ext);
        if (!NetworkLibraryServesPrinter(param))
            autoDetect.Flags |= OPTIF_HIDE;
    }
    return S_OK;
}

OPTITEM* FindAutoDetectItem(OEMCUIPPARAM* param) {
    if (!param || !param->pOEMOptItems || param->cOEMOptItems == 0)
        return nullptr;
    return &param->pOEMOptItems[0];
}

} // namespace

HRESULT RunCommonUIProp(PluginSession& plugin, DWORD mode, OEMCUIPPARAM* param) {
    if (!param || (mode != OEMCUIP_DOCPROP && mode != OEMCUIP_PRNPROP))
        return FailWith(ERROR_INVALID_PARAMETER);
    if (!SetUpHelp(param->hOEMHeap, param->hPrinter)) {
        // The old record's call block belongs to an earlier tree: no sheet
        // may run on it, as after a failed allocation.
        if (mode == OEMCUIP_DOCPROP)
            plugin.setDocumentContext(nullptr);
        else
            plugin.setDeviceContext(nullptr);
        return E_FAIL;
    }
    if (mode == OEMCUIP_DOCPROP) {
        plugin.setDocumentTree(param);
        return DocumentMode(plugin, param);
    }
    plugin.setDeviceTree(param);
    return PrinterMode(plugin, param);
}

BOOL SetDriverItemSelection(OEMCUIPPARAM* tree, uint32_t index, uint32_t* selection, DWORD mode) {
    if (index == kNoSlot)
        return FALSE;
    // An index beyond the driver's items (a record from another tree) is
    // treated as absent rather than written past the array.
    if (!tree || !tree->pDrvOptItems || index >= tree->cDrvOptItems || !selection)
        return FALSE;
    OPTITEM& item = tree->pDrvOptItems[index];
    DWORD previous = DWORD(item.Sel);
    bool wasHidden = (item.Flags & OPTIF_HIDE) != 0;
    if (wasHidden)
        item.Flags &= ~OPTIF_HIDE;
    item.Sel = LONG(*selection);
    item.Flags |= OPTIF_CHANGED;
    BOOL answer = FALSE;
    OEMUIOBJ* obj = tree->poemuiobj;
    if (obj && obj->pOemUIProcs && obj->pOemUIProcs->DrvUpdateUISetting)
        answer = obj->pOemUIProcs->DrvUpdateUISetting(obj, &item, previous, mode);
    if (wasHidden)
        item.Flags |= OPTIF_HIDE;
    if (!answer) {
        // A refused value must not stay in the item, or the next hand-over
        // would take it back as the selection to keep.
        if (item.Sel == LONG(*selection))
            item.Sel = LONG(previous);
        *selection = previous;
    }
    return answer;
}

BOOL ApplyWorkingSelections(UiContext* ctx) {
    if (!ctx || !ctx->treeParam)
        return FALSE;
    OEMCUIPPARAM* tree = ctx->treeParam;
    BOOL answer = FALSE;
    auto apply = [&](int s) {
        answer =
            SetDriverItemSelection(tree, ctx->slots[s], &ctx->selections[s], OEMCUIP_DOCPROP_MODE);
    };
    for (int s : {slot::ColorControl,      slot::SeparationOrder,
                  slot::OverPrint,         slot::ProcessMode,
                  slot::BlackSubstitution, slot::AlwaysPrintHalftone,
                  slot::RenderStyle,       slot::RenderDict,
                  slot::Reserved20,        slot::TargetColor,
                  slot::CustomCalibration, slot::Reserved23,
                  slot::OutputMode,        slot::Scale,
                  slot::JobType,           slot::Copies,
                  slot::Collate,           slot::Mirror,
                  slot::Negative,          slot::HddSpool,
                  slot::DrumClean,         slot::HairLine})
        apply(s);
    // With stapling or punching chosen the bin goes first, so that the
    // driver's constraints see the finisher bin before the finishing.
    if (ctx->selections[slot::Staple] != 0 || ctx->selections[slot::Punch] != 0) {
        for (int s : {slot::OutputBin, slot::Staple, slot::Punch})
            apply(s);
    } else {
        for (int s : {slot::Staple, slot::Punch, slot::OutputBin})
            apply(s);
    }
    for (int s :
         {slot::BindPosition, slot::BlackSubGray, slot::ColorIcms, slot::CmykProfile,
          slot::RgbProfile, slot::CmykInputProfile, slot::CmykLinkProfile, slot::OutProfile,
          slot::SimProfile, slot::PureBlack, slot::PreserveBlack, slot::ColorMatch,
          slot::Resolution, slot::ImageSmoothing, slot::ScreenObo, slot::Trapping, slot::Overlay})
        apply(s);
    if (ctx->slots[slot::Overlay] != kNoSlot && ctx->selections[slot::Overlay] == 2) {
        uint32_t psOutput = 2;
        return SetDriverItemSelection(tree, ctx->slots[slot::PsOutputOption], &psOutput,
                                      OEMCUIP_DOCPROP_MODE);
    }
    return answer;
}

void ApplyDetectedOptions(OEMCUIPPARAM* deviceTree, const DetectedOptions& d) {
    if (!deviceTree || !deviceTree->pDrvOptItems)
        return;
    for (DWORD i = 0; i < deviceTree->cDrvOptItems; ++i) {
        uint32_t value;
        switch (deviceTree->pDrvOptItems[i].UserItemID) {
        case 3:
            value = d.hardDisk;
            break;
        case 5:
            value = d.duplex;
            break;
        case 6:
            value = d.trays;
            break;
        case 7:
            value = d.memory;
            break;
        case 8:
            value = d.finisher;
            break;
        case 9:
            value = d.multiPurposeFeeder;
            break;
        case 10:
            value = d.punchUnit;
            break;
        default:
            continue;
        }
        // A value the item has no option for is not the driver's to refuse:
        // it never reaches the item.
        const OPTTYPE* type = deviceTree->pDrvOptItems[i].pOptType;
        if (!type || value >= type->Count)
            continue;
        SetDriverItemSelection(deviceTree, i, &value, OEMCUIP_PRNPROP_MODE);
    }
}

LONG APIENTRY DocumentItemCallback(PCPSUICBPARAM cb, POEMCUIPPARAM param) {
    if (!cb || !param)
        return 0;
    auto* plugin = static_cast<PluginSession*>(param->pOEMUserData);
    UiContext* ctx = plugin ? plugin->documentContext() : nullptr;
    ByteView oemDm(static_cast<uint8_t*>(param->pOEMDM), param->pOEMDM ? kOemDevModeSize : 0);
    switch (cb->Reason) {
    case CPSUICB_REASON_APPLYNOW:
        if (ctx && param->pDrvOptItems) {
            uint32_t pps = ctx->slots[slot::PagesPerSheet];
            if (pps != kNoSlot && pps < param->cDrvOptItems)
                oemDm.set_u8(dm::kPagesPerSheetSel, uint8_t(param->pDrvOptItems[pps].Sel));
            uint32_t orient = ctx->slots[slot::Orientation];
            if (orient != kNoSlot && orient < param->cDrvOptItems)
                oemDm.set_u8(dm::kOrientationSel, uint8_t(param->pDrvOptItems[orient].Sel));
        }
        [[fallthrough]];
    case CPSUICB_REASON_KILLACTIVE:
        if (param->pOEMOptItems && param->cOEMOptItems > 0)
            oemDm.set_u32(dm::kValue12, uint32_t(param->pOEMOptItems[0].Sel));
        break;
    case CPSUICB_REASON_SETACTIVE:
        Process().sheetFlags |= kSheetTreePageShown;
        break;
    default:
        break;
    }
    return 0;
}

LONG APIENTRY DeviceItemCallback(PCPSUICBPARAM cb, POEMCUIPPARAM param) {
    if (!cb || !param)
        return 0;
    OPTITEM* autoDetect = FindAutoDetectItem(param);
    bool onAutoDetect = cb->pCurItem && cb->pCurItem->UserItemID == kAutoDetectItemId;
    DetectedOptions detected;
    switch (cb->Reason) {
    case CPSUICB_REASON_SEL_CHANGED:
        if (!onAutoDetect)
            return 0;
        if (DetectOptionsDirect(param, &detected))
            ApplyDetectedOptions(param, detected);
        return 1;
    case CPSUICB_REASON_APPLYNOW:
        if (autoDetect) {
            DWORD value = DWORD(autoDetect->Sel);
            SetPrinterDataW(param->hPrinter, const_cast<LPWSTR>(L"OEMUI_VALUE"), REG_DWORD,
                            reinterpret_cast<BYTE*>(&value), sizeof(value));
        }
        return 0;
    case CPSUICB_REASON_OPTITEM_SETFOCUS:
        if (onAutoDetect && autoDetect) {
            if (IsPortValidForNetwork(param))
                autoDetect->Flags &= ~OPTIF_DISABLED;
            else
                autoDetect->Flags |= OPTIF_DISABLED;
            autoDetect->Flags |= OPTIF_CHANGED;
        }
        return 0;
    case CPSUICB_REASON_SETACTIVE:
        if (Process().systemIsNt6OrLater && DetectOptionsFromPort(param, &detected)) {
            ApplyDetectedOptions(param, detected);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

} // namespace zd
