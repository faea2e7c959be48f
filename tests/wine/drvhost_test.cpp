// The emulated driver's own logic: trees handed to CommonUIProp, the driver
// services, the sheet with its pages, callbacks and sheet service, the test
// API and screenshots. A recording plug-in of this file stands in where the
// host's behaviour must be seen call by call; the real zdui.dll where the
// whole chain runs.
#include "drvhost_api.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace drvhost;

namespace {

constexpr const wchar_t* kPrinter = L"DrvHost Test Printer";
constexpr const wchar_t* kDriver = L"Zed DrvHost Test";

// The demo PPD and small configuration files under names of their own (all
// drivers' files share one folder).
void InstallTestPrinter() {
    static bool done = false;
    if (done)
        return;
    std::wstring dir = zdtest::MakeTempDir(L"drvhost");
    std::wstring samples = zdtest::SamplesDir();
    ASSERT_TRUE(
        CopyFileW((samples + L"\\zdcp95.ppd").c_str(), (dir + L"\\dhtest.ppd").c_str(), FALSE));
    ASSERT_TRUE(zdtest::WriteTextFile(dir + L"\\dhtest.ini",
                                      L"[OEMFiles]\r\nOEMConfigFile1=zdui.dll\r\n"
                                      L"[DependentFiles]\r\nHELP=dhtest.hlp\r\n"));
    ASSERT_TRUE(zdtest::WriteTextFile(dir + L"\\dhtest.cap",
                                      L"[Capability]\r\nZed DrvHost Test=DHTEST\r\n"
                                      L"[DHTEST]\r\nCompression=1281\r\n"));
    zdtest::PrinterSpec spec;
    spec.printerName = kPrinter;
    spec.driverName = kDriver;
    spec.dataFile = dir + L"\\dhtest.ppd";
    spec.dependentFiles = {dir + L"\\dhtest.ini", dir + L"\\dhtest.cap"};
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(spec, &error)) << std::string(error.begin(), error.end());
    done = true;
}

// A dialog template in memory for the recording plug-in's page: a push
// button 500 and an edit 501.
std::vector<WORD> FakePageTemplate() {
    std::vector<WORD> w;
    auto dword = [&](DWORD d) {
        w.push_back(LOWORD(d));
        w.push_back(HIWORD(d));
    };
    auto text = [&](const wchar_t* s) {
        for (; *s; ++s)
            w.push_back(WORD(*s));
        w.push_back(0);
    };
    auto item = [&](DWORD style, WORD id, WORD atom, const wchar_t* t) {
        while (w.size() % 2)
            w.push_back(0);
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        for (WORD v : {WORD(10), WORD(WORD(id - 490) * 20), WORD(80), WORD(14), id})
            w.push_back(v);
        w.push_back(0xFFFF);
        w.push_back(atom);
        text(t);
        w.push_back(0);
    };
    dword(WS_CHILD | WS_CAPTION | DS_SETFONT);
    dword(0);
    for (WORD v : {WORD(2), WORD(0), WORD(0), WORD(200), WORD(120), WORD(0), WORD(0)})
        w.push_back(v);
    text(L"Recorder");
    w.push_back(8);
    text(L"MS Shell Dlg");
    item(BS_PUSHBUTTON | WS_TABSTOP, 500, 0x80, L"Ask");
    item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 501, 0x81, L"");
    return w;
}

// A plug-in that records what the host does and uses the host's services
// the way a real one does.
class RecordingPlugin : public IPrintOemUI {
  public:
    std::vector<std::string> calls;
    std::vector<WORD> callbackReasons;
    std::vector<std::vector<uint8_t>> mergedBlocks;
    HANDLE pageHandle = nullptr;
    HANDLE missingPageHandle = reinterpret_cast<HANDLE>(1);
    LONG_PTR lastSetResult = -1;
    int editChanges = 0;
    int messageBoxAnswer = 0;
    bool changeOnKillActive = false;
    OEMCUIPPARAM* docTree = nullptr;
    OEMCUIPPARAM* devTree = nullptr;
    PROPSHEETUI_INFO* sheetInfo = nullptr;
    OPTTYPE pushType = {};
    OPTPARAM pushParam = {};
    wchar_t pushName[16] = L"Detect";
    std::vector<WORD> pageTemplate = FakePageTemplate();
    LONG refs = 1;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPrintOemUI_)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++refs); }
    STDMETHODIMP_(ULONG) Release() override {
        calls.push_back("Release");
        return ULONG(--refs);
    }
    STDMETHODIMP GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override {
        *needed = 4;
        if (mode != OEMGI_GETSIGNATURE || size < 4)
            return E_FAIL;
        *static_cast<DWORD*>(buffer) = 0x41424344;
        return S_OK;
    }
    STDMETHODIMP DevMode(DWORD mode, POEMDMPARAM p) override {
        calls.push_back("DevMode " + std::to_string(mode));
        if (mode == OEMDM_SIZE) {
            p->cbBufSize = 64;
        } else if (mode == OEMDM_DEFAULT) {
            std::memset(p->pOEMDMOut, 0x11, p->cbBufSize);
        } else if (mode == OEMDM_MERGE) {
            auto* in = static_cast<uint8_t*>(p->pOEMDMIn);
            mergedBlocks.emplace_back(in, in + 4);
            std::memcpy(p->pOEMDMOut, in, 4);
        }
        return S_OK;
    }
    STDMETHODIMP PublishDriverInterface(IUnknown* driver) override {
        IPrintOemDriverUI* ui = nullptr;
        HRESULT hr = driver->QueryInterface(IID_IPrintOemDriverUI_, reinterpret_cast<void**>(&ui));
        calls.push_back(SUCCEEDED(hr) && ui ? "Publish ok" : "Publish refused");
        if (ui)
            ui->Release();
        return hr;
    }
    static LONG APIENTRY Callback(PCPSUICBPARAM cb, OEMCUIPPARAM* p) {
        auto* self = static_cast<RecordingPlugin*>(p->pOEMUserData);
        self->callbackReasons.push_back(cb->Reason);
        return CPSUICB_ACTION_NONE;
    }
    STDMETHODIMP CommonUIProp(DWORD mode, POEMCUIPPARAM p) override {
        calls.push_back("CommonUIProp " + std::to_string(mode) +
                        (p->pOEMOptItems ? " items" : " count"));
        if (!p->pOEMOptItems) {
            p->cOEMOptItems = mode == OEMCUIP_PRNPROP ? 1 : 0;
            return S_OK;
        }
        p->pOEMUserData = this;
        p->OEMCUIPCallback = Callback;
        if (mode == OEMCUIP_DOCPROP) {
            docTree = p;
            return S_OK;
        }
        devTree = p;
        OPTITEM& push = p->pOEMOptItems[0];
        push = OPTITEM{};
        push.cbSize = sizeof(OPTITEM);
        push.Flags = OPTIF_CALLBACK;
        push.pName = pushName;
        pushParam.cbSize = sizeof(OPTPARAM);
        pushType.cbSize = sizeof(OPTTYPE);
        pushType.Type = TVOT_PUSHBUTTON;
        pushType.Count = 1;
        pushType.pOptParam = &pushParam;
        push.pOptType = &pushType;
        return S_OK;
    }
    static INT_PTR CALLBACK PageProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<RecordingPlugin*>(GetWindowLongPtrW(dlg, DWLP_USER));
        if (msg == WM_INITDIALOG) {
            SetWindowLongPtrW(dlg, DWLP_USER, reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
            return TRUE;
        }
        if (!self)
            return FALSE;
        if (msg == WM_COMMAND && LOWORD(wParam) == 500 && HIWORD(wParam) == BN_CLICKED) {
            self->messageBoxAnswer = MessageBoxW(dlg, L"Proceed?", L"Recorder", MB_YESNO);
            return TRUE;
        }
        if (msg == WM_COMMAND && LOWORD(wParam) == 501 && HIWORD(wParam) == EN_CHANGE) {
            ++self->editChanges;
            return TRUE;
        }
        if (msg == WM_NOTIFY) {
            auto* nm = reinterpret_cast<NMHDR*>(lParam);
            PROPSHEETUI_INFO* info = self->sheetInfo;
            if (nm->code == PSN_APPLY) {
                self->lastSetResult = info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_SET_RESULT,
                                                            LPARAM(self->pageHandle), CPSUI_OK);
            } else if (nm->code == PSN_KILLACTIVE && self->changeOnKillActive && self->docTree) {
                // The way a page hands a selection to the driver.
                OEMCUIPPARAM* t = self->docTree;
                OPTITEM* item = &t->pDrvOptItems[0];
                DWORD previous = DWORD(item->Sel);
                item->Sel = 1;
                t->poemuiobj->pOemUIProcs->DrvUpdateUISetting(t->poemuiobj, item, previous,
                                                              OEMCUIP_DOCPROP_MODE);
            }
            SetWindowLongPtrW(dlg, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        return FALSE;
    }
    STDMETHODIMP DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override {
        calls.push_back(
            "DocumentPropertySheets " + std::to_string(info->Reason) +
            (info->Reason == PROPSHEETUI_REASON_SET_RESULT
                 ? " " + std::to_string(reinterpret_cast<SETRESULT_INFO*>(lParam)->Result)
                 : std::string()));
        if (info->Reason != PROPSHEETUI_REASON_INIT)
            return S_OK;
        sheetInfo = info;
        PROPSHEETPAGEW page = {};
        page.dwSize = sizeof(OEM_PAGE_DESCRIPTION);
        page.dwFlags = PSP_DLGINDIRECT;
        page.pResource = reinterpret_cast<LPCDLGTEMPLATEW>(pageTemplate.data());
        page.pfnDlgProc = PageProc;
        page.lParam = LPARAM(this);
        pageHandle = reinterpret_cast<HANDLE>(info->pfnComPropSheet(
            info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, LPARAM(&page), 0));
        // A template the module does not have: the host leaves the page out.
        PROPSHEETPAGEW missing = {};
        missing.dwSize = sizeof(OEM_PAGE_DESCRIPTION);
        missing.hInstance = GetModuleHandleW(nullptr);
        missing.pszTemplate = MAKEINTRESOURCEW(4711);
        missing.pfnDlgProc = PageProc;
        missingPageHandle = reinterpret_cast<HANDLE>(info->pfnComPropSheet(
            info->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, LPARAM(&missing), 0));
        info->Result = 1;
        return S_OK;
    }
    STDMETHODIMP DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM) override {
        calls.push_back("DevicePropertySheets " + std::to_string(info->Reason));
        return S_OK;
    }
    STDMETHODIMP DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD,
                                    DWORD*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP UpgradePrinter(DWORD, PBYTE) override { return E_NOTIMPL; }
    STDMETHODIMP PrinterEvent(PWSTR, INT, DWORD, LPARAM) override { return E_NOTIMPL; }
    STDMETHODIMP DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override { return E_NOTIMPL; }
    STDMETHODIMP QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*,
                                   FLONG*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override { return E_NOTIMPL; }
    STDMETHODIMP UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override { return E_NOTIMPL; }
};

std::string Str(const std::wstring& w) {
    return Narrow(w.c_str());
}

class DrvHostTest : public testing::Test {
  protected:
    void SetUp() override { InstallTestPrinter(); }
};

const OPTITEM* FindPub(const OptionTree& t, BYTE id) {
    for (const OPTITEM& it : t.items)
        if (it.DMPubID == id)
            return &it;
    return nullptr;
}

const USERDATA* Data(const OPTITEM& it) {
    return reinterpret_cast<const USERDATA*>(it.UserData);
}

} // namespace

// The records of the document tree as the plug-in reads them.
TEST_F(DrvHostTest, DocumentTreeRecords) {
    RecordingPlugin plugin;
    DriverHost host;
    std::wstring error;
    ASSERT_TRUE(host.Attach(&plugin, &error));
    ASSERT_TRUE(host.OpenPrinter(kPrinter, &error)) << Str(error);
    ASSERT_TRUE(host.PrepareDevMode(&error)) << Str(error);
    ASSERT_TRUE(host.BuildDocumentTree(&error)) << Str(error);
    const OptionTree& t = host.documentTree();

    // Count query first, then the array (also when the plug-in wants none).
    std::vector<std::string> expected = {"Publish ok", "DevMode 1", "DevMode 2",
                                         "CommonUIProp 1 count", "CommonUIProp 1 items"};
    EXPECT_EQ(plugin.calls, expected);
    ASSERT_NE(plugin.docTree, nullptr);
    EXPECT_EQ(plugin.docTree->cDrvOptItems, t.items.size());
    EXPECT_EQ(plugin.docTree->hOEMHeap, host.heap());
    EXPECT_EQ(plugin.docTree->pOEMDM, host.oemBlock());

    for (const OPTITEM& it : t.items) {
        EXPECT_EQ(it.cbSize, sizeof(OPTITEM));
        ASSERT_NE(Data(it), nullptr);
        EXPECT_EQ(Data(it)->dwSize, sizeof(USERDATA));
    }
    // Up-down items: second OPTPARAM holds the bounds.
    for (BYTE id : {BYTE(2), BYTE(3)}) {
        const OPTITEM* it = FindPub(t, id);
        ASSERT_NE(it, nullptr) << int(id);
        ASSERT_EQ(it->pOptType->Type, TVOT_UDARROW);
        ASSERT_EQ(it->pOptType->Count, 2);
        EXPECT_EQ(it->pOptType->pOptParam[1].IconID, 1u);
        EXPECT_GE(it->pOptType->pOptParam[1].lParam, 999);
        EXPECT_GE(it->Sel, LONG(it->pOptType->pOptParam[1].IconID));
    }
    // The form item offers the PPD's page sizes with their translations.
    const OPTITEM* form = FindPub(t, 9);
    ASSERT_NE(form, nullptr);
    const PpdFeature* sizes = host.ppd().Find("PageSize");
    ASSERT_NE(sizes, nullptr);
    ASSERT_EQ(form->pOptType->Count, sizes->options.size());
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(form->pOptType->pOptParam[9].pData)),
              sizes->options[9].text);
    EXPECT_EQ(form->Sel, sizes->DefaultIndex());

    // Keyword items carry the PPD keyword; 423 and 424 are string ids; 25 is the item id.
    int keywords = 0, ids423 = 0, ids424 = 0, item25 = 0;
    for (const OPTITEM& it : t.items) {
        ULONG_PTR name = reinterpret_cast<ULONG_PTR>(it.pName);
        ids423 += name == 423;
        ids424 += name == 424;
        item25 += Data(it)->dwItemID == 25;
        if (Data(it)->pKeyWordName) {
            ++keywords;
            const PpdFeature* f = host.ppd().Find(Data(it)->pKeyWordName);
            ASSERT_NE(f, nullptr) << Data(it)->pKeyWordName;
            EXPECT_FALSE(f->installable);
            EXPECT_EQ(it.pOptType->Count, f->options.size());
        }
    }
    EXPECT_EQ(ids423, 1);
    EXPECT_EQ(ids424, 1);
    EXPECT_EQ(item25, 1);
    EXPECT_GT(keywords, 40);
}

TEST_F(DrvHostTest, StoredBlockIsMergedAndPublicDevModeFollowsTheItems) {
    RecordingPlugin plugin;
    HostOptions o;
    o.storedBlock = {'W', 'X', 'Y', 'Z', 0, 0};
    o.document.selections["PageSize"] = "Letter";
    o.document.omit = kColor;
    DriverHost host(o);
    std::wstring error;
    ASSERT_TRUE(host.Attach(&plugin, &error));
    ASSERT_TRUE(host.OpenPrinter(kPrinter, &error)) << Str(error);
    ASSERT_TRUE(host.PrepareDevMode(&error)) << Str(error);
    std::vector<std::string> expected = {"Publish ok", "DevMode 1", "DevMode 2", "DevMode 4"};
    EXPECT_EQ(plugin.calls, expected);
    ASSERT_EQ(plugin.mergedBlocks.size(), 1u);
    EXPECT_EQ(plugin.mergedBlocks[0], (std::vector<uint8_t>{'W', 'X', 'Y', 'Z'}));
    ASSERT_EQ(host.oemBlockSize(), 64u);
    EXPECT_EQ(host.oemBlock()[0], 'W');
    EXPECT_EQ(host.oemBlock()[4], 0x11);
    EXPECT_EQ(host.publicDevMode()->dmDriverExtra, 64);
    EXPECT_EQ(host.publicDevMode()->dmPaperSize, DMPAPER_LETTER);

    ASSERT_TRUE(host.BuildDocumentTree(&error));
    EXPECT_EQ(FindPub(host.documentTree(), 6), nullptr); // left out on request
    OPTITEM* form = const_cast<OPTITEM*>(FindPub(host.documentTree(), 9));
    ASSERT_NE(form, nullptr);
    int a4 = host.ppd().Find("PageSize")->Find("A4");
    form->Sel = a4;
    EXPECT_TRUE(host.UpdateUISetting(form, 1, OEMCUIP_DOCPROP_MODE));
    EXPECT_EQ(host.publicDevMode()->dmPaperSize, DMPAPER_A4);
    EXPECT_STREQ(host.publicDevMode()->dmFormName, L"A4");
}

// DrvGetDriverSetting answers the current option keyword of any feature.
TEST_F(DrvHostTest, GetDriverSettingAnswersCurrentKeywords) {
    RecordingPlugin plugin;
    HostOptions o;
    o.device.selections["ZDHDD"] = "True";
    DriverHost host(o);
    std::wstring error;
    ASSERT_TRUE(host.Attach(&plugin, &error));
    ASSERT_TRUE(host.OpenPrinter(kPrinter, &error)) << Str(error);
    ASSERT_TRUE(host.PrepareDevMode(&error));
    ASSERT_TRUE(host.BuildDocumentTree(&error));
    PFN_DrvGetDriverSetting get = host.uiObject()->pOemUIProcs->DrvGetDriverSetting;
    char out[64];
    DWORD needed = 0, count = 0;

    // Installable option of the device tree, not built in this sheet.
    ASSERT_TRUE(get(host.uiObject(), "ZDHDD", out, sizeof out, &needed, &count));
    EXPECT_STREQ(out, "True");
    EXPECT_EQ(needed, 5u);
    EXPECT_EQ(count, 1u);
    // A built-in item answers for its feature, and follows a changed Sel.
    ASSERT_TRUE(get(host.uiObject(), "PageSize", out, sizeof out, &needed, &count));
    EXPECT_STREQ(out, "A4");
    OPTITEM* form = const_cast<OPTITEM*>(FindPub(host.documentTree(), 9));
    form->Sel = host.ppd().Find("PageSize")->Find("B5");
    ASSERT_TRUE(get(host.uiObject(), "PageSize", out, sizeof out, &needed, &count));
    EXPECT_STREQ(out, "B5");
    ASSERT_TRUE(get(host.uiObject(), "ZDControl", out, sizeof out, &needed, &count));
    EXPECT_STREQ(out, "Auto");

    // Short buffer: refused, needed size reported, nothing written past it.
    char small[4] = {'x', 'x', 'x', 'x'};
    SetLastError(0);
    EXPECT_FALSE(get(host.uiObject(), "ZDHDD", small, 3, &needed, &count));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(needed, 5u);
    EXPECT_EQ(small[3], 'x');
    EXPECT_FALSE(get(host.uiObject(), "NoSuchFeature", out, sizeof out, &needed, &count));
    EXPECT_FALSE(get(nullptr, "ZDHDD", out, sizeof out, &needed, &count));

    // The COM form answers the same.
    IPrintOemDriverUI* ui = nullptr;
    ASSERT_EQ(
        host.driverObject()->QueryInterface(IID_IPrintOemDriverUI_, reinterpret_cast<void**>(&ui)),
        S_OK);
    EXPECT_EQ(ui->DrvGetDriverSetting(host.uiObject(), "ZDHDD", out, sizeof out, &needed, &count),
              S_OK);
    EXPECT_STREQ(out, "True");
    ui->Release();
}

// DrvUpdateUISetting records every call in order and can be told to refuse.
TEST_F(DrvHostTest, UpdateUISettingRecordsAndRefuses) {
    RecordingPlugin plugin;
    DriverHost host;
    std::wstring error;
    ASSERT_TRUE(host.Attach(&plugin, &error));
    ASSERT_TRUE(host.OpenPrinter(kPrinter, &error));
    ASSERT_TRUE(host.PrepareDevMode(&error));
    ASSERT_TRUE(host.BuildDocumentTree(&error));
    ASSERT_TRUE(host.BuildDeviceTree(&error));
    PFN_DrvUpdateUISetting update = host.uiObject()->pOemUIProcs->DrvUpdateUISetting;
    OptionTree& doc = host.documentTree();
    OptionTree& dev = host.deviceTree();
    int staple = host.FindItem(doc, "ZDStaple");
    int hdd = host.FindItem(dev, "ZDHDD");
    int scale = host.FindPublicItem(doc, 2);
    ASSERT_GE(staple, 0);
    ASSERT_GE(hdd, 0);
    ASSERT_GE(scale, 0);

    doc.items[size_t(staple)].Sel = 2;
    EXPECT_TRUE(update(host.uiObject(), &doc.items[size_t(staple)], 0, OEMCUIP_DOCPROP_MODE));
    dev.items[size_t(hdd)].Sel = 1;
    EXPECT_TRUE(update(host.uiObject(), &dev.items[size_t(hdd)], 0, OEMCUIP_PRNPROP_MODE));
    // Out of the option range, or the wrong mode for the item: refused.
    doc.items[size_t(staple)].Sel = 9;
    EXPECT_FALSE(update(host.uiObject(), &doc.items[size_t(staple)], 2, OEMCUIP_DOCPROP_MODE));
    doc.items[size_t(scale)].Sel = 1001;
    EXPECT_FALSE(update(host.uiObject(), &doc.items[size_t(scale)], 100, OEMCUIP_DOCPROP_MODE));
    doc.items[size_t(scale)].Sel = 1000;
    EXPECT_TRUE(update(host.uiObject(), &doc.items[size_t(scale)], 100, OEMCUIP_DOCPROP_MODE));
    EXPECT_FALSE(update(host.uiObject(), &dev.items[size_t(hdd)], 1, OEMCUIP_DOCPROP_MODE));
    OPTITEM foreign = {};
    EXPECT_FALSE(update(host.uiObject(), &foreign, 0, OEMCUIP_DOCPROP_MODE));

    const std::vector<UpdateCall>& calls = host.updateCalls();
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[0].keyword, "ZDStaple");
    EXPECT_EQ(calls[0].item, staple);
    EXPECT_EQ(calls[0].newSel, 2);
    EXPECT_EQ(calls[0].mode, DWORD(OEMCUIP_DOCPROP_MODE));
    EXPECT_TRUE(calls[0].answer);
    EXPECT_TRUE(calls[1].device);
    EXPECT_EQ(calls[1].keyword, "ZDHDD");
    EXPECT_EQ(calls[2].previous, 2u);
    EXPECT_FALSE(calls[2].answer);
    EXPECT_FALSE(calls[3].answer);
    EXPECT_TRUE(calls[4].answer);
    EXPECT_FALSE(calls[5].answer);
    EXPECT_EQ(calls[6].item, -1);
    EXPECT_EQ(host.publicDevMode()->dmScale, 1000);

    host.options().refuseUpdates = true;
    doc.items[size_t(staple)].Sel = 1;
    EXPECT_FALSE(update(host.uiObject(), &doc.items[size_t(staple)], 2, OEMCUIP_DOCPROP_MODE));
    EXPECT_FALSE(host.updateCalls().back().answer);
    EXPECT_EQ(host.updateCalls().back().newSel, 1);
}

// The driver's three pages come first; the tree page's activation, leaving
// and apply reach the plug-in's callback; the sheet service records results.
TEST_F(DrvHostTest, DocumentSheetPagesCallbacksAndResult) {
    RecordingPlugin plugin;
    plugin.changeOnKillActive = true;
    HostSession s;
    std::wstring error;
    ASSERT_TRUE(s.host().Attach(&plugin, &error));
    ASSERT_TRUE(s.OpenDocumentSheet(kPrinter, &error)) << Str(error);
    Sheet& sheet = *s.sheet();

    ASSERT_EQ(sheet.pageCount(), 4);
    EXPECT_EQ(sheet.pages()[0].title, L"Layout");
    EXPECT_EQ(sheet.pages()[2].title, L"Advanced");
    EXPECT_TRUE(sheet.pages()[3].fromPlugin);
    EXPECT_EQ(sheet.pages()[3].title, L"Recorder");
    EXPECT_EQ(plugin.missingPageHandle, nullptr);
    ASSERT_EQ(sheet.problems().size(), 1u);
    EXPECT_NE(sheet.problems()[0].find(L"4711"), std::wstring::npos);
    EXPECT_EQ(sheet.initResult(), 1);
    EXPECT_EQ(s.CurrentPage(), 0);

    ASSERT_TRUE(s.GoToPage(3));
    EXPECT_TRUE(plugin.callbackReasons.empty()); // the tree page was never active
    ASSERT_TRUE(s.GoToPage(2));
    // The plug-in page's kill-active changed item 0 through the driver.
    ASSERT_EQ(s.UpdateCalls().size(), 1u);
    EXPECT_EQ(s.UpdateCalls()[0].item, 0);
    ASSERT_EQ(plugin.callbackReasons.size(), 1u);
    EXPECT_EQ(plugin.callbackReasons[0], CPSUICB_REASON_SETACTIVE);
    // The tree page lists the visible items; a selection there changes the item.
    std::wstring first = ControlText(s.page(), hostctl::ItemLabel);
    EXPECT_FALSE(first.empty());
    ASSERT_TRUE(s.SelectList(hostctl::ItemList, 0));
    LONG before = s.host().documentTree().items[0].Sel;
    ASSERT_TRUE(s.SelectCombo(hostctl::OptionCombo, before == 0 ? 2 : 0));
    EXPECT_NE(s.host().documentTree().items[0].Sel, before);
    EXPECT_TRUE(s.host().documentTree().items[0].Flags & OPTIF_CHANGED);

    ASSERT_TRUE(s.GoToPage(0));
    ASSERT_EQ(plugin.callbackReasons.size(), 2u);
    EXPECT_EQ(plugin.callbackReasons[1], CPSUICB_REASON_KILLACTIVE);

    ASSERT_TRUE(s.PressApply());
    EXPECT_EQ(plugin.callbackReasons.back(), CPSUICB_REASON_APPLYNOW);
    ASSERT_EQ(sheet.setResults().size(), 1u);
    EXPECT_EQ(sheet.setResults()[0].page, 3);
    EXPECT_EQ(sheet.setResults()[0].result, CPSUI_OK);
    EXPECT_EQ(plugin.lastSetResult, 1);
    EXPECT_TRUE(sheet.isOpen());

    ASSERT_TRUE(s.PressOk());
    EXPECT_FALSE(sheet.isOpen());
    EXPECT_EQ(sheet.result(), CPSUI_OK);
    ASSERT_GE(plugin.calls.size(), 2u);
    EXPECT_EQ(plugin.calls[plugin.calls.size() - 2], "DocumentPropertySheets 3 1");
    EXPECT_EQ(plugin.calls.back(), "DocumentPropertySheets 2");
}

TEST_F(DrvHostTest, CancelledSheetReportsCancel) {
    RecordingPlugin plugin;
    HostSession s;
    std::wstring error;
    ASSERT_TRUE(s.host().Attach(&plugin, &error));
    ASSERT_TRUE(s.OpenDocumentSheet(kPrinter, &error)) << Str(error);
    ASSERT_TRUE(s.PressCancel());
    EXPECT_FALSE(s.sheet()->isOpen());
    EXPECT_EQ(s.sheet()->result(), CPSUI_CANCEL);
    EXPECT_EQ(plugin.calls[plugin.calls.size() - 2], "DocumentPropertySheets 3 0");
    EXPECT_TRUE(s.sheet()->setResults().empty());
}

// Keystrokes reach the edit's own notifications; the next modal dialog is answered.
TEST_F(DrvHostTest, TypingAndAnsweringDialogs) {
    RecordingPlugin plugin;
    HostSession s;
    std::wstring error;
    ASSERT_TRUE(s.host().Attach(&plugin, &error));
    ASSERT_TRUE(s.OpenDocumentSheet(kPrinter, &error)) << Str(error);
    ASSERT_TRUE(s.GoToPage(3));
    ASSERT_TRUE(s.Type(501, L"12a"));
    EXPECT_EQ(s.Text(501), L"12a");
    EXPECT_EQ(plugin.editChanges, 3); // nothing to clear, three characters
    ASSERT_TRUE(s.Type(501, L"7"));
    EXPECT_EQ(s.Text(501), L"7");
    EXPECT_EQ(plugin.editChanges, 5); // the old text removed, one character
    ASSERT_TRUE(s.Type(501, L"8", false));
    EXPECT_EQ(s.Text(501), L"78");

    std::wstring seen;
    AnswerNextDialog([&](HWND box) {
        seen = MessageBoxText(box);
        ClickControl(box, IDNO);
    });
    ASSERT_TRUE(s.Click(500));
    EXPECT_EQ(seen, L"Proceed?");
    EXPECT_EQ(plugin.messageBoxAnswer, IDNO);
    EXPECT_EQ(PendingDialogAnswers(), 0);
    // Disabled or hidden controls cannot be clicked.
    EnableWindow(GetDlgItem(s.page(), 500), FALSE);
    EXPECT_FALSE(s.Click(500));
    EXPECT_FALSE(s.Click(9999));
}

// The device page: the plug-in's push button calls the device callback.
TEST_F(DrvHostTest, DevicePagePushButton) {
    RecordingPlugin plugin;
    HostSession s;
    std::wstring error;
    ASSERT_TRUE(s.host().Attach(&plugin, &error));
    ASSERT_TRUE(s.OpenPrinterSheet(kPrinter, &error)) << Str(error);
    ASSERT_EQ(s.sheet()->pageCount(), 1);
    ASSERT_FALSE(plugin.callbackReasons.empty());
    EXPECT_EQ(plugin.callbackReasons[0], CPSUICB_REASON_SETACTIVE);
    EXPECT_EQ(s.Text(hostctl::PushItem), L"Detect");
    ASSERT_TRUE(s.Visible(hostctl::PushItem));
    plugin.callbackReasons.clear();
    SetFocus(GetDlgItem(s.page(), hostctl::PushItem));
    s.Pump();
    ASSERT_TRUE(s.Click(hostctl::PushItem));
    std::vector<WORD> expected = {CPSUICB_REASON_OPTITEM_SETFOCUS, CPSUICB_REASON_SEL_CHANGED};
    EXPECT_EQ(plugin.callbackReasons, expected);
    EXPECT_EQ(s.sheet()->callbacks().back().item, -1); // the plug-in's item 0

    // Apply is offered only after a change; a change of an installable option
    // refreshes the page, where a hidden push-button item is not offered.
    EXPECT_FALSE(s.PressApply());
    plugin.devTree->pOEMOptItems[0].Flags |= OPTIF_HIDE;
    int hdd = s.host().FindItem(s.host().deviceTree(), "ZDHDD");
    ASSERT_GE(hdd, 1);
    ASSERT_TRUE(s.SelectList(hostctl::ItemList, hdd - 1)); // the root item is not listed
    EXPECT_EQ(s.Text(hostctl::ItemLabel), L"Hard Disk");
    int other = s.host().deviceTree().items[size_t(hdd)].Sel == 0 ? 1 : 0;
    ASSERT_TRUE(s.SelectCombo(hostctl::OptionCombo, other));
    EXPECT_EQ(s.host().deviceTree().items[size_t(hdd)].Sel, other);
    EXPECT_FALSE(s.Visible(hostctl::PushItem));
    plugin.callbackReasons.clear();
    ASSERT_TRUE(s.PressApply());
    // The sheet leaves the page before it applies (and may activate it again).
    std::vector<WORD> firstTwo(plugin.callbackReasons.begin(),
                               plugin.callbackReasons.begin() +
                                   std::min<size_t>(2, plugin.callbackReasons.size()));
    EXPECT_EQ(firstTwo, (std::vector<WORD>{CPSUICB_REASON_KILLACTIVE, CPSUICB_REASON_APPLYNOW}));
    ASSERT_TRUE(s.PressOk());
    EXPECT_EQ(s.sheet()->result(), CPSUI_OK);
}

// Screenshot of a real sheet: a PNG of the window's size.
TEST_F(DrvHostTest, ScreenshotIsAPngOfTheWindow) {
    RecordingPlugin plugin;
    HostSession s;
    std::wstring error;
    ASSERT_TRUE(s.host().Attach(&plugin, &error));
    ASSERT_TRUE(s.OpenDocumentSheet(kPrinter, &error)) << Str(error);
    std::wstring path = zdtest::MakeTempDir(L"drvhost-shot") + L"\\sheet.png";
    ASSERT_TRUE(s.Screenshot(path, &error)) << Str(error);
    std::string png = ReadWholeFile(path);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    auto be32 = [&](size_t at) {
        return uint32_t(uint8_t(png[at])) << 24 | uint32_t(uint8_t(png[at + 1])) << 16 |
               uint32_t(uint8_t(png[at + 2])) << 8 | uint32_t(uint8_t(png[at + 3]));
    };
    RECT r;
    GetWindowRect(s.sheetWindow(), &r);
    EXPECT_EQ(be32(16), uint32_t(r.right - r.left));
    EXPECT_EQ(be32(20), uint32_t(r.bottom - r.top));
    EXPECT_FALSE(SaveWindowPng(nullptr, path, &error));
}

// The whole chain with the real plug-in: it loads, answers, builds its side
// of both trees and adds its pages after the driver's three.
TEST_F(DrvHostTest, RealPluginEndToEnd) {
    HostSession s;
    std::wstring error;
    ASSERT_TRUE(s.OpenDocumentSheet(kPrinter, &error)) << Str(error);
    DWORD signature = 0;
    ASSERT_TRUE(s.host().GetInfo(OEMGI_GETSIGNATURE, &signature));
    EXPECT_EQ(signature, 0x32303030u);
    EXPECT_EQ(s.host().oemBlockSize(), 3604u);
    EXPECT_NE(s.host().documentTree().param.OEMCUIPCallback, nullptr);
    ASSERT_GE(s.sheet()->pageCount(), 4);
    for (int i = 3; i < s.sheet()->pageCount(); ++i)
        EXPECT_TRUE(s.sheet()->pages()[size_t(i)].fromPlugin);
    ASSERT_TRUE(s.GoToPage(2));
    EXPECT_EQ(s.sheet()->callbacks().front().reason, CPSUICB_REASON_SETACTIVE);
    ASSERT_TRUE(s.PressCancel());
    EXPECT_EQ(s.sheet()->result(), CPSUI_CANCEL);
}
