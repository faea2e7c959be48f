// What the plug-in hands the driver's sheet service when the document and
// printer property sheets are set up, through the real zdui.dll.
#include "abi/oemui_abi.h"
#include "core/ui_context.h"
#include "core/win_util.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

struct AddedPage {
    DWORD size;
    DWORD flags;
    HINSTANCE instance;
    ULONG_PTR templateId;
    HICON icon;
    DLGPROC proc;
    LPARAM lParam;
};

std::vector<AddedPage> g_pages;
std::vector<std::pair<LPARAM, LPARAM>> g_otherCalls;
const HANDLE kSheet = reinterpret_cast<HANDLE>(0x5EE7);

LONG_PTR CALLBACK SheetService(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
    if (sheet != kSheet)
        return 0;
    if (function == CPSFUNC_ADD_PROPSHEETPAGEW) {
        auto* p = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
        g_pages.push_back({p->dwSize, p->dwFlags, p->hInstance,
                           reinterpret_cast<ULONG_PTR>(p->pszTemplate), p->hIcon, p->pfnDlgProc,
                           p->lParam});
        return LONG_PTR(0x1000 + g_pages.size());
    }
    g_otherCalls.push_back({lParam1, lParam2});
    return 0;
}

const wchar_t kPrinter[] = L"zd sheet test";

class SheetSetUp : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        std::wstring error;
        ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(kPrinter), &error));
        module_ = LoadLibraryW((zdtest::ExeDir() + L"\\zdui.dll").c_str());
        ASSERT_NE(module_, nullptr);
    }

    void SetUp() override {
        g_pages.clear();
        g_otherCalls.clear();
        ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter), &printer_, nullptr));
        heap_ = HeapCreate(0, 0, 0);
        auto get = zd::ProcAddress<GetClassObjectFn>(module_, "DllGetClassObject");
        IClassFactory* factory = nullptr;
        ASSERT_EQ(get(CLSID_OEMUI_, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        ASSERT_EQ(
            factory->CreateInstance(nullptr, IID_IPrintOemUI_, reinterpret_cast<void**>(&plugin_)),
            S_OK);
        factory->Release();
    }

    void TearDown() override {
        if (plugin_)
            plugin_->Release();
        HeapDestroy(heap_);
        ClosePrinter(printer_);
    }

    // The driver's two CommonUIProp calls over a tree with a colour item or not.
    void BuildDocumentTree(bool withColor) {
        items_.assign(2, OPTITEM{});
        for (OPTITEM& item : items_)
            item.cbSize = sizeof(OPTITEM);
        items_[0].DMPubID = 1; // orientation
        items_[1].DMPubID = withColor ? 6 : 4;
        cuip_ = {};
        cuip_.cbSize = sizeof(cuip_);
        cuip_.hPrinter = printer_;
        cuip_.pPrinterName = const_cast<LPWSTR>(kPrinter);
        cuip_.hOEMHeap = heap_;
        cuip_.pOEMDM = devmode_;
        cuip_.pDrvOptItems = items_.data();
        cuip_.cDrvOptItems = DWORD(items_.size());
        ASSERT_EQ(plugin_->CommonUIProp(1, &cuip_), S_OK);
        ASSERT_EQ(cuip_.cOEMOptItems, 0u);
        cuip_.pOEMOptItems = &ownItem_;
        ASSERT_EQ(plugin_->CommonUIProp(1, &cuip_), S_OK);
    }

    HRESULT InitSheet(PROPSHEETUI_INFO* info) {
        *info = {};
        info->cbSize = sizeof(*info);
        info->Version = PROPSHEETUI_INFO_VERSION;
        info->Reason = PROPSHEETUI_REASON_INIT;
        info->hComPropSheet = kSheet;
        info->pfnComPropSheet = SheetService;
        psp_ = {};
        psp_.cbSize = sizeof(psp_);
        psp_.hPrinter = printer_;
        psp_.pPrinterName = const_cast<LPWSTR>(kPrinter);
        psp_.pOEMDM = devmode_;
        info->lParamInit = reinterpret_cast<LPARAM>(&psp_);
        return plugin_->DocumentPropertySheets(info, 0);
    }

    static HMODULE module_;
    HANDLE printer_ = nullptr;
    HANDLE heap_ = nullptr;
    IPrintOemUI* plugin_ = nullptr;
    std::vector<OPTITEM> items_;
    OPTITEM ownItem_ = {};
    OEMCUIPPARAM cuip_ = {};
    OEMUIPSPARAM psp_ = {};
    BYTE devmode_[3604] = {};
};

HMODULE SheetSetUp::module_ = nullptr;

TEST_F(SheetSetUp, AddsJobOptionsColorAndExtensionPages) {
    BuildDocumentTree(true);
    PROPSHEETUI_INFO info;
    EXPECT_EQ(InitSheet(&info), HRESULT(1));
    EXPECT_EQ(info.Result, 1u);
    ASSERT_EQ(g_pages.size(), 3u);

    for (const AddedPage& p : g_pages) {
        EXPECT_EQ(p.size, 96u);
        EXPECT_NE(p.proc, nullptr);
        EXPECT_EQ(p.lParam, g_pages[0].lParam); // every page gets the same working record
    }
    EXPECT_NE(g_pages[0].lParam, 0);
    EXPECT_EQ(g_pages[0].templateId, 113u);
    EXPECT_EQ(g_pages[0].flags, 0u);
    EXPECT_EQ(g_pages[0].instance, module_);
    EXPECT_EQ(g_pages[1].templateId, 111u);
    EXPECT_EQ(g_pages[1].instance, module_);
    EXPECT_NE(g_pages[0].proc, g_pages[1].proc);

    HMODULE extension = GetModuleHandleW(L"zdaskres.dll");
    ASSERT_NE(extension, nullptr);
    EXPECT_EQ(g_pages[2].templateId, 800u);
    EXPECT_EQ(g_pages[2].flags, DWORD(PSP_USEHICON));
    EXPECT_EQ(g_pages[2].instance, extension);
    EXPECT_NE(g_pages[2].icon, nullptr);
    WCHAR path[MAX_PATH] = {};
    GetModuleFileNameW(extension, path, MAX_PATH);
    EXPECT_STREQ(path, (zdtest::DriverFilesDir() + L"\\zdaskres.dll").c_str());
}

TEST_F(SheetSetUp, NoColorPageWithoutTheDriversColorItem) {
    BuildDocumentTree(false);
    PROPSHEETUI_INFO info;
    EXPECT_EQ(InitSheet(&info), HRESULT(1));
    ASSERT_EQ(g_pages.size(), 2u);
    EXPECT_EQ(g_pages[0].templateId, 113u);
    EXPECT_EQ(g_pages[1].templateId, 800u);
}

TEST_F(SheetSetUp, SecondSheetReusesTheLoadedExtensionLibrary) {
    BuildDocumentTree(true);
    PROPSHEETUI_INFO info;
    InitSheet(&info);
    ASSERT_EQ(g_pages.size(), 3u);
    HINSTANCE first = g_pages[2].instance;
    // With the file gone, only the library already loaded can serve the page.
    std::wstring installed = zdtest::DriverFilesDir() + L"\\zdaskres.dll";
    std::wstring moved = installed + L".away";
    ASSERT_TRUE(MoveFileW(installed.c_str(), moved.c_str()));
    g_pages.clear();
    InitSheet(&info);
    MoveFileW(moved.c_str(), installed.c_str());
    ASSERT_EQ(g_pages.size(), 3u);
    EXPECT_EQ(g_pages[2].instance, first);
}

TEST_F(SheetSetUp, ResultReasonsAndArgumentFaults) {
    BuildDocumentTree(true);
    PROPSHEETUI_INFO info;
    InitSheet(&info);
    info.Reason = PROPSHEETUI_REASON_SET_RESULT;
    SETRESULT_INFO result = {};
    result.cbSize = sizeof(result);
    result.Result = -7;
    EXPECT_EQ(plugin_->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&result)),
              HRESULT(-7));
    EXPECT_EQ(LONG(info.Result), -7);
    info.Reason = PROPSHEETUI_REASON_DESTROY;
    EXPECT_EQ(plugin_->DocumentPropertySheets(&info, 0), HRESULT(1));

    info.Version = 0x0200;
    SetLastError(0);
    EXPECT_EQ(plugin_->DocumentPropertySheets(&info, 0), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(plugin_->DocumentPropertySheets(nullptr, 0), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(SheetSetUp, SheetWithoutTreeRecordIsRefused) {
    // DocumentPropertySheets before CommonUIProp made the working record.
    PROPSHEETUI_INFO info;
    SetLastError(0);
    EXPECT_EQ(InitSheet(&info), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(g_pages.empty());
}

TEST_F(SheetSetUp, NoSheetRunsOnTheOldRecordWhenANewOneCannotBeHad) {
    BuildDocumentTree(true);
    // A driver heap of a fixed size, filled until the path buffer of the
    // help set-up still fits but a working record does not.
    HANDLE full = HeapCreate(0, 0, 64 * 1024);
    ASSERT_NE(full, nullptr);
    for (;;) {
        void* probe = HeapAlloc(full, 0, sizeof(zd::UiContext));
        if (!probe)
            break;
        HeapFree(full, 0, probe);
        ASSERT_NE(HeapAlloc(full, 0, 256), nullptr);
    }
    OEMCUIPPARAM second = cuip_;
    second.hOEMHeap = full;
    EXPECT_EQ(plugin_->CommonUIProp(1, &second), E_FAIL);
    PROPSHEETUI_INFO info;
    EXPECT_EQ(InitSheet(&info), E_FAIL);
    EXPECT_TRUE(g_pages.empty());
    plugin_->Release();
    plugin_ = nullptr;
    HeapDestroy(full);
}

TEST_F(SheetSetUp, UnloadingTheLibraryFreesTheExtensionLibrary) {
    BuildDocumentTree(true);
    PROPSHEETUI_INFO info;
    InitSheet(&info);
    ASSERT_NE(GetModuleHandleW(L"zdaskres.dll"), nullptr);
    plugin_->Release();
    plugin_ = nullptr;
    ASSERT_TRUE(FreeLibrary(module_));
    EXPECT_EQ(GetModuleHandleW(L"zdaskres.dll"), nullptr);
    module_ = LoadLibraryW((zdtest::ExeDir() + L"\\zdui.dll").c_str());
    ASSERT_NE(module_, nullptr);
}

TEST_F(SheetSetUp, PrinterSheetAddsNoPageAndNamesItsHeader) {
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof(info);
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = PROPSHEETUI_REASON_INIT;
    info.hComPropSheet = kSheet;
    info.pfnComPropSheet = SheetService;
    EXPECT_EQ(plugin_->DevicePropertySheets(&info, 0), S_OK);
    EXPECT_TRUE(g_pages.empty());

    PROPSHEETUI_INFO_HEADER header = {};
    header.cbSize = sizeof(header);
    info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
    EXPECT_EQ(plugin_->DevicePropertySheets(&info, reinterpret_cast<LPARAM>(&header)), S_OK);
    EXPECT_STREQ(header.pTitle, L"OEM UI Page");
    EXPECT_EQ(info.Result, 1u);
    info.Reason = PROPSHEETUI_REASON_GET_ICON;
    info.Result = 99;
    EXPECT_EQ(plugin_->DevicePropertySheets(&info, 0), S_OK);
    EXPECT_EQ(info.Result, 0u);
    SETRESULT_INFO result = {};
    result.Result = 5;
    info.Reason = PROPSHEETUI_REASON_SET_RESULT;
    EXPECT_EQ(plugin_->DevicePropertySheets(&info, reinterpret_cast<LPARAM>(&result)), S_OK);
    EXPECT_EQ(info.Result, 5u);
    info.Version = 0;
    SetLastError(0);
    EXPECT_EQ(plugin_->DevicePropertySheets(&info, 0), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

} // namespace
