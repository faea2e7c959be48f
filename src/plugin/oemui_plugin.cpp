// The plug-in object: IPrintOemUI2 in the driver's slot order.
#include "plugin/oemui_plugin.h"

#include "color/color_page.h"
#include "core/devmode_record.h"
#include "core/driver_files.h"
#include "core/driver_lookup.h"
#include "core/driver_paths.h"
#include "core/library_loading.h"
#include "core/option_tree.h"
#include "core/printer_event.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "finishing/finishing_page.h"
#include "jobopts/extension_page.h"
#include "jobopts/job_options_page.h"
#include "jobopts/job_storage_dialog.h"
#include "overlay/overlay_store.h"
#include "resources/resource.h"
#include "watermark/watermark_store.h"

#include <algorithm>

namespace zd {

OemUiPlugin::OemUiPlugin() {
    InterlockedIncrement(&Process().objectCount);
}

OemUiPlugin::~OemUiPlugin() {
    InterlockedDecrement(&Process().objectCount);
}

STDMETHODIMP OemUiPlugin::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPrintOemUI_) ||
        IsEqualIID(iid, IID_IPrintOemUI2_)) {
        *out = static_cast<IPrintOemUI2*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) OemUiPlugin::AddRef() {
    return InterlockedIncrement(&refCount_);
}

STDMETHODIMP_(ULONG) OemUiPlugin::Release() {
    LONG n = InterlockedDecrement(&refCount_);
    if (n != 0)
        return ULONG(n);
    ForgetPrinter(this);
    // A driver that never sent the post event leaves its copies here.
    for (DEVMODEW* copy : copies_)
        FreePromptCopy(copy);
    copies_.clear();
    if (driver_) {
        driver_->Release();
        driver_ = nullptr;
    }
    if (heap_) {
        // Only blocks that really belong to the recorded heap are freed.
        if (document_ && HeapValidate(heap_, 0, document_)) {
            // A sheet closed without apply or cancel still holds overlay
            // and watermark records, which live outside the driver's heap.
            FreeOverlayStore(*document_);
            FreeWatermarkSnapshot(*document_);
            FreeWatermarkList(*document_);
            HeapFree(heap_, 0, document_);
        }
        if (device_ && HeapValidate(heap_, 0, device_))
            HeapFree(heap_, 0, device_);
        document_ = nullptr;
        device_ = nullptr;
        heap_ = nullptr;
    }
    delete this;
    return 0;
}

STDMETHODIMP OemUiPlugin::GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    if (!needed)
        return FailWith(ERROR_INVALID_PARAMETER);
    switch (mode) {
    case OEMGI_GETSIGNATURE:
    case OEMGI_GETVERSION:
    case OEMGI_GETPUBLISHERINFO:
        *needed = sizeof(DWORD);
        if (!buffer || size < sizeof(DWORD))
            return FailWith(ERROR_INSUFFICIENT_BUFFER);
        if (mode == OEMGI_GETSIGNATURE) {
            *static_cast<DWORD*>(buffer) = kOemSignature;
            return S_OK;
        }
        if (mode == OEMGI_GETVERSION) {
            *static_cast<DWORD*>(buffer) = kOemDevModeVersion;
            return S_OK;
        }
        *needed = 0;
        return FailWith(ERROR_NOT_SUPPORTED);
    default:
        return FailWith(ERROR_INVALID_PARAMETER);
    }
}

STDMETHODIMP OemUiPlugin::DevMode(DWORD mode, POEMDMPARAM param) {
    EnsureEnvironmentChecked();
    if (!param || mode < OEMDM_SIZE || mode > OEMDM_MERGE)
        return FailWith(ERROR_INVALID_PARAMETER);
    if (mode == OEMDM_SIZE) {
        param->cbBufSize = kOemDevModeSize;
        return S_OK;
    }
    auto* out = static_cast<uint8_t*>(param->pOEMDMOut);
    auto* in = static_cast<uint8_t*>(param->pOEMDMIn);
    if (mode != OEMDM_DEFAULT && (!in || !out))
        return S_OK;
    // The host states the size of pOut; a short buffer is never written.
    if (out && param->cbBufSize < kOemDevModeSize)
        return FailWith(ERROR_INSUFFICIENT_BUFFER);
    if (!out)
        return S_OK;
    ByteView outView(out, kOemDevModeSize);
    if (mode == OEMDM_DEFAULT) {
        BindPrinter(this, param->hPrinter);
        int level = CompressionLevelFromModelValue(ReadModelInt(param->hPrinter, L"Compression"));
        DefaultDevMode(outView, U16(Process().capabilityFilePath), level);
        return S_OK;
    }
    // The incoming block is as large as its header says, up to the record size.
    uint32_t declared = ByteView(in, 12).u32(dm::kSize);
    ByteView inView(in, std::max<size_t>(12, std::min<uint32_t>(declared, kOemDevModeSize)));
    if (mode == OEMDM_CONVERT)
        ConvertDevMode(inView, outView);
    else
        MergeDevMode(inView, outView);
    return S_OK;
}

STDMETHODIMP OemUiPlugin::PublishDriverInterface(IUnknown* driver) {
    if (driver_)
        return S_OK;
    if (!driver)
        return FailWith(ERROR_INVALID_PARAMETER);
    void* p = nullptr;
    if (FAILED(driver->QueryInterface(IID_IPrintOemDriverUI_, &p)) || !p) {
        driver_ = nullptr;
        return E_FAIL;
    }
    driver_ = static_cast<IPrintOemDriverUI*>(p);
    return S_OK;
}

STDMETHODIMP OemUiPlugin::CommonUIProp(DWORD mode, POEMCUIPPARAM param) {
    if (param)
        BindPrinter(this, param->hPrinter);
    return RunCommonUIProp(*this, mode, param);
}

// The Finishing page shows only the items the printer has: without any of
// them there is no page.
static bool HasFinishingItems(const UiContext& ctx) {
    for (int s : {slot::Collate, slot::OutputBin, slot::Staple, slot::Punch, slot::BindPosition,
                  slot::ImageSmoothing, slot::Trapping})
        if (ctx.slots[s] != kNoSlot)
            return true;
    return false;
}

static HANDLE AddPage(PFNCOMPROPSHEET service, HANDLE sheet, OEM_PAGE_DESCRIPTION& page) {
    return reinterpret_cast<HANDLE>(
        service(sheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&page), 0));
}

LONG OemUiPlugin::DocumentSheetSetUp(PPROPSHEETUI_INFO info) {
    UiContext* ctx = document_;
    ctx->sheet = info->hComPropSheet;
    ctx->sheetService = info->pfnComPropSheet;
    ctx->pageParam = reinterpret_cast<OEMUIPSPARAM*>(info->lParamInit);
    if (!ctx->sheetService)
        return 1;

    OEM_PAGE_DESCRIPTION page = {};
    page.dwSize = sizeof(OEM_PAGE_DESCRIPTION);
    page.hInstance = Process().moduleInstance;
    page.pszTemplate = MAKEINTRESOURCEW(IDD_JOB_OPTIONS);
    page.pfnDlgProc = JobOptionsPageProc;
    page.lParam = reinterpret_cast<LPARAM>(ctx);
    ctx->jobOptionsPage = AddPage(ctx->sheetService, ctx->sheet, page);

    if (HasFinishingItems(*ctx)) {
        page.pszTemplate = MAKEINTRESOURCEW(IDD_FINISHING);
        page.pfnDlgProc = FinishingPageProc;
        ctx->finishingPage = AddPage(ctx->sheetService, ctx->sheet, page);
    }

    if (ctx->slots[slot::Color] != kNoSlot) {
        page.pszTemplate = MAKEINTRESOURCEW(IDD_COLOR);
        page.pfnDlgProc = ColorPageProc;
        ctx->colorPage = AddPage(ctx->sheetService, ctx->sheet, page);
    }

    // The sheet's printer is the one the tree was built for; its handle is
    // the one this object is bound to. Without a tree the printer is opened
    // by the name the sheet gives.
    HANDLE printer = ctx->treeParam ? ctx->treeParam->hPrinter : nullptr;
    PrinterHandle opened(printer || !ctx->pageParam ? nullptr : ctx->pageParam->pPrinterName);
    if (!printer)
        printer = opened.get();
    std::wstring url, res;
    WCHAR config[kOemConfigPathUnits] = {};
    if (printer) {
        std::wstring section = FindModelSection(printer, 1024);
        const WCHAR* cap = Process().capabilityFilePath;
        url = ReadSectionText(cap, section, L"AskZedURL", 522);
        res = ReadSectionText(cap, section, L"AskZedRES", 522);
        FindDriverFiles(printer, config);
    }
    // The library lies in the configuration file's folder. Values longer
    // than the 264-unit buffers of the set-up are refused, and without an
    // OemConfigFile there is no folder to load the library from.
    std::wstring library = W(ExtensionLibraryPath(U16(config), U16(res), kPathUnits));
    if (!url.empty() && url.size() < kPathUnits && !library.empty()) {
        if (!Process().extensionModule)
            Process().extensionModule = LoadLibraryOutsideCurrentDir(library.c_str());
        if (HMODULE ext = Process().extensionModule) {
            OEM_PAGE_DESCRIPTION extPage = {};
            extPage.dwSize = sizeof(OEM_PAGE_DESCRIPTION);
            extPage.dwFlags = PSP_USEHICON;
            extPage.hInstance = ext;
            extPage.pszTemplate = MAKEINTRESOURCEW(IDD_EXTENSION_PAGE);
            extPage.hIcon = LoadIconW(ext, MAKEINTRESOURCEW(IDI_EXTENSION_PAGE));
            extPage.pfnDlgProc = ExtensionPageProc;
            extPage.lParam = reinterpret_cast<LPARAM>(ctx);
            ctx->extensionPage = AddPage(ctx->sheetService, ctx->sheet, extPage);
        }
    }
    return 1;
}

STDMETHODIMP OemUiPlugin::DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    EnsureEnvironmentChecked();
    if (!info || info->Version != PROPSHEETUI_INFO_VERSION)
        return FailWith(ERROR_INVALID_PARAMETER);
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        // Without the working record of CommonUIProp there is nothing to show.
        if (!document_)
            return FailWith(ERROR_INVALID_PARAMETER);
        info->Result = ULONG_PTR(DocumentSheetSetUp(info));
        break;
    case PROPSHEETUI_REASON_DESTROY:
        info->Result = 1;
        break;
    case PROPSHEETUI_REASON_SET_RESULT:
        if (!lParam)
            return FailWith(ERROR_INVALID_PARAMETER);
        info->Result = ULONG_PTR(LONG_PTR(LONG(reinterpret_cast<SETRESULT_INFO*>(lParam)->Result)));
        break;
    default:
        return S_OK;
    }
    return HRESULT(LONG(info->Result));
}

STDMETHODIMP OemUiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    EnsureEnvironmentChecked();
    if (!info || info->Version != PROPSHEETUI_INFO_VERSION)
        return FailWith(ERROR_INVALID_PARAMETER);
    static WCHAR title[] = L"OEM UI Page";
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        if (device_) {
            device_->sheet = info->hComPropSheet;
            device_->sheetService = info->pfnComPropSheet;
            device_->lParamInit = info->lParamInit;
        }
        break;
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        if (lParam)
            reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam)->pTitle = title;
        info->Result = 1;
        break;
    case PROPSHEETUI_REASON_DESTROY:
        info->Result = 1;
        break;
    case PROPSHEETUI_REASON_SET_RESULT:
        if (lParam)
            info->Result =
                ULONG_PTR(LONG_PTR(LONG(reinterpret_cast<SETRESULT_INFO*>(lParam)->Result)));
        break;
    case PROPSHEETUI_REASON_GET_ICON:
        info->Result = 0;
        break;
    default:
        break;
    }
    return S_OK;
}

STDMETHODIMP OemUiPlugin::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUiPlugin::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW,
                                             PVOID, DWORD, DWORD*) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUiPlugin::UpgradePrinter(DWORD, PBYTE) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUiPlugin::PrinterEvent(PWSTR printerName, INT event, DWORD flags, LPARAM lParam) {
    if (event != PRINTER_EVENT_INITIALIZE)
        return S_OK;
    return InitializePrinter(printerName) ? S_OK : E_FAIL;
}

STDMETHODIMP OemUiPlugin::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUiPlugin::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG queryMode,
                                            VOID* data, ULONG* dataSize, FLONG* dataFlags) {
    static const WCHAR kProfile[] = L"OEMPROFILE.icm";
    constexpr ULONG kProfileBytes = 32;
    if (queryMode != 0)
        return E_FAIL;
    if (!dataSize)
        return FailWith(ERROR_INVALID_PARAMETER);
    if (data && *dataSize >= kProfileBytes) {
        memcpy(data, kProfile, sizeof(kProfile));
        *dataSize = kProfileBytes;
        if (dataFlags)
            *dataFlags = 2; // the profile is a file name on disk
        return S_OK;
    }
    *dataSize = kProfileBytes;
    return FailWith(ERROR_INSUFFICIENT_BUFFER);
}

STDMETHODIMP OemUiPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUiPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUiPlugin::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) {
    return E_NOTIMPL;
}

STDMETHODIMP OemUiPlugin::HideStandardUI(DWORD) {
    return E_NOTIMPL;
}

// Held jobs asked for at every print: before the device context is made,
// the user names the job (and gives the PIN); the driver then makes it with
// a copy of the DEVMODE that carries them. Cancel fails the event, and with
// it the creation of the context, so nothing is printed. The copy is freed
// at the post event. Every other event is left to the driver.
STDMETHODIMP OemUiPlugin::DocumentEvent(HANDLE, HDC, INT event, ULONG inSize, PVOID in,
                                        ULONG outSize, PVOID out, PINT result) {
    if (!result)
        return FailWith(ERROR_INVALID_PARAMETER);
    switch (event) {
    case DOCUMENTEVENT_CREATEDCPRE: {
        *result = DOCUMENTEVENT_SUCCESS;
        const auto* pre = static_cast<const DOCEVENT_CREATEDCPRE*>(in);
        // An information context prints nothing; without the out pointer
        // the driver could not take the answers.
        if (!pre || inSize < sizeof(DOCEVENT_CREATEDCPRE) || pre->bIC || !out ||
            outSize < sizeof(PDEVMODEW))
            return S_OK;
        DEVMODEW* copy = nullptr;
        switch (PromptAtPrint(pre->pdm, &copy)) {
        case PrintPrompt::NotDue:
            return S_OK;
        case PrintPrompt::Cancelled:
            *result = DOCUMENTEVENT_FAILURE;
            return S_OK;
        case PrintPrompt::Filled:
            break;
        }
        {
            SrwLockHold hold(copiesLock_, true);
            copies_.push_back(copy);
        }
        *static_cast<PDEVMODEW*>(out) = copy;
        return S_OK;
    }
    case DOCUMENTEVENT_CREATEDCPOST: {
        *result = DOCUMENTEVENT_SUCCESS;
        if (!in || inSize < sizeof(PDEVMODEW))
            return S_OK;
        DEVMODEW* copy = *static_cast<PDEVMODEW*>(in);
        SrwLockHold hold(copiesLock_, true);
        // Only a copy this object handed out is freed, and only once.
        for (auto it = copies_.begin(); it != copies_.end(); ++it) {
            if (*it == copy) {
                FreePromptCopy(copy);
                copies_.erase(it);
                break;
            }
        }
        return S_OK;
    }
    default:
        *result = DOCUMENTEVENT_UNSUPPORTED;
        return S_OK;
    }
}

size_t OemUiPlugin::heldDevModeCopies() {
    SrwLockHold hold(copiesLock_, false);
    return copies_.size();
}

} // namespace zd
