// The plug-in as the driver sees it: the real zdui.dll loaded by path, its
// class factory, its IPrintOemUI object and the DEVMODE operations.
#include "abi/oemui_abi.h"
#include "core/win_util.h"
#include "core/devmode_record.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
using CanUnloadFn = HRESULT(STDAPICALLTYPE*)();

const CLSID kOtherClass = {0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};

class PluginTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryW((zdtest::ExeDir() + L"\\zdui.dll").c_str());
        ASSERT_NE(module_, nullptr);
        getClassObject_ = zd::ProcAddress<GetClassObjectFn>(module_, "DllGetClassObject");
        canUnload_ = zd::ProcAddress<CanUnloadFn>(module_, "DllCanUnloadNow");
        ASSERT_NE(getClassObject_, nullptr);
        ASSERT_NE(canUnload_, nullptr);
    }

    IClassFactory* Factory() {
        IClassFactory* f = nullptr;
        EXPECT_EQ(getClassObject_(CLSID_OEMUI_, IID_IClassFactory, reinterpret_cast<void**>(&f)),
                  S_OK);
        return f;
    }

    IPrintOemUI* NewPlugin() {
        IClassFactory* f = Factory();
        IPrintOemUI* p = nullptr;
        EXPECT_EQ(f->CreateInstance(nullptr, IID_IPrintOemUI_, reinterpret_cast<void**>(&p)), S_OK);
        f->Release();
        return p;
    }

    static HMODULE module_;
    static GetClassObjectFn getClassObject_;
    static CanUnloadFn canUnload_;
};

HMODULE PluginTest::module_ = nullptr;
GetClassObjectFn PluginTest::getClassObject_ = nullptr;
CanUnloadFn PluginTest::canUnload_ = nullptr;

// A minimal driver object: answers IPrintOemDriverUI and counts the queries.
class FakeDriver : public IPrintOemDriverUI {
  public:
    LONG queries = 0;
    LONG refs = 1;
    bool refuse = false;
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        ++queries;
        if (!refuse && (IsEqualIID(iid, IID_IPrintOemDriverUI_) || IsEqualIID(iid, IID_IUnknown))) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++refs); }
    STDMETHODIMP_(ULONG) Release() override { return ULONG(--refs); }
    STDMETHODIMP DrvGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
    STDMETHODIMP DrvUpdateUISetting(PVOID, PVOID, DWORD, DWORD) override { return E_NOTIMPL; }
};

TEST_F(PluginTest, UnknownClassIsRefusedAndCreatesNothing) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(kOtherClass, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr); // nothing handed out
    EXPECT_EQ(canUnload_(), S_OK);
}

TEST_F(PluginTest, FactoryAnswersOnlyItsInterfaces) {
    void* out = nullptr;
    EXPECT_EQ(getClassObject_(CLSID_OEMUI_, IID_IUnknown, &out), S_OK);
    ASSERT_NE(out, nullptr);
    static_cast<IUnknown*>(out)->Release();
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject_(CLSID_OEMUI_, IID_IPrintOemUI_, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(PluginTest, AggregationIsRefused) {
    IClassFactory* f = Factory();
    FakeDriver outer;
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(f->CreateInstance(reinterpret_cast<IUnknown*>(&outer), IID_IUnknown, &out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(canUnload_(), S_OK);
    f->Release();
}

TEST_F(PluginTest, ObjectAnswersIUnknownAndIPrintOemUIOnly) {
    IPrintOemUI* p = NewPlugin();
    ASSERT_NE(p, nullptr);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(p->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(p->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<void*>(p));
    EXPECT_EQ(p->AddRef(), 3u);
    EXPECT_EQ(p->Release(), 2u);
    EXPECT_EQ(p->Release(), 1u);
    EXPECT_EQ(p->Release(), 0u);
}

TEST_F(PluginTest, IPrintOemUI2IsTheSameObjectAndLeavesOtherEventsToTheDriver) {
    IPrintOemUI* p = NewPlugin();
    ASSERT_NE(p, nullptr);
    IPrintOemUI2* p2 = nullptr;
    ASSERT_EQ(p->QueryInterface(IID_IPrintOemUI2_, reinterpret_cast<void**>(&p2)), S_OK);
    EXPECT_EQ(static_cast<IPrintOemUI*>(p2), p);
    EXPECT_EQ(p2->QueryJobAttributes(nullptr, nullptr, 1, nullptr), E_NOTIMPL);
    EXPECT_EQ(p2->HideStandardUI(1), E_NOTIMPL);
    int result = 99;
    EXPECT_EQ(p2->DocumentEvent(nullptr, nullptr, DOCUMENTEVENT_STARTDOCPRE, 0, nullptr, 0, nullptr,
                                &result),
              S_OK);
    EXPECT_EQ(result, DOCUMENTEVENT_UNSUPPORTED);
    // A creation without its record (or without a DEVMODE) is no held job.
    result = 99;
    EXPECT_EQ(p2->DocumentEvent(nullptr, nullptr, DOCUMENTEVENT_CREATEDCPRE, 0, nullptr, 0, nullptr,
                                &result),
              S_OK);
    EXPECT_EQ(result, DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(p2->DocumentEvent(nullptr, nullptr, DOCUMENTEVENT_ENDDOCPOST, 0, nullptr, 0, nullptr,
                                nullptr),
              E_FAIL);
    p2->Release();
    EXPECT_EQ(p->Release(), 0u);
}

TEST_F(PluginTest, CanUnloadOnlyWithoutObjectsAndLocks) {
    EXPECT_EQ(canUnload_(), S_OK);
    IPrintOemUI* p = NewPlugin();
    EXPECT_EQ(canUnload_(), S_FALSE);
    p->Release();
    EXPECT_EQ(canUnload_(), S_OK);
    IClassFactory* f = Factory();
    EXPECT_EQ(canUnload_(), S_OK); // a factory alone does not hold the library
    EXPECT_EQ(f->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnload_(), S_FALSE);
    EXPECT_EQ(f->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnload_(), S_OK);
    f->Release();
}

TEST_F(PluginTest, GetInfoModesAndBufferSizes) {
    IPrintOemUI* p = NewPlugin();
    DWORD value = 0, needed = 0;
    EXPECT_EQ(p->GetInfo(1, &value, 4, &needed), S_OK);
    EXPECT_EQ(needed, 4u);
    EXPECT_EQ(value, 0x32303030u);
    EXPECT_EQ(memcmp(&value, "0002", 4), 0);
    EXPECT_EQ(p->GetInfo(3, &value, 4, &needed), S_OK);
    EXPECT_EQ(value, 1u);

    needed = 0;
    SetLastError(0);
    EXPECT_EQ(p->GetInfo(1, &value, 3, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(needed, 4u);
    SetLastError(0);
    EXPECT_EQ(p->GetInfo(3, nullptr, 4, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

    SetLastError(0);
    EXPECT_EQ(p->GetInfo(2, &value, 4, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(p->GetInfo(1, &value, 4, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(p->GetInfo(4, &value, 4, &needed), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(needed, 0u);
    p->Release();
}

TEST_F(PluginTest, QueryColorProfileNeeds32Bytes) {
    IPrintOemUI* p = NewPlugin();
    BYTE data[64];
    memset(data, 0xCC, sizeof(data));
    ULONG size = 31;
    FLONG flags = 0;
    SetLastError(0);
    EXPECT_EQ(p->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, data, &size, &flags),
              E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(size, 32u);
    EXPECT_EQ(data[0], 0xCC);

    size = 32;
    EXPECT_EQ(p->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 0, data, &size, &flags),
              S_OK);
    EXPECT_STREQ(reinterpret_cast<WCHAR*>(data), L"OEMPROFILE.icm");
    EXPECT_EQ(size, 32u);
    EXPECT_EQ(flags, 2u);
    EXPECT_EQ(data[32], 0xCC);

    SetLastError(1234);
    size = 32;
    EXPECT_EQ(p->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, 1, data, &size, &flags),
              E_FAIL);
    EXPECT_EQ(GetLastError(), 1234u); // other query modes leave the last error alone
    p->Release();
}

TEST_F(PluginTest, PublishDriverInterfaceQueriesOnce) {
    IPrintOemUI* p = NewPlugin();
    FakeDriver driver;
    EXPECT_EQ(p->PublishDriverInterface(&driver), S_OK);
    EXPECT_EQ(p->PublishDriverInterface(&driver), S_OK);
    EXPECT_EQ(driver.queries, 1);
    EXPECT_EQ(driver.refs, 2);
    p->Release();
    EXPECT_EQ(driver.refs, 1); // released with the object

    FakeDriver refusing;
    refusing.refuse = true;
    p = NewPlugin();
    EXPECT_EQ(p->PublishDriverInterface(&refusing), E_FAIL);
    EXPECT_EQ(p->PublishDriverInterface(&refusing), E_FAIL); // still usable, asks again
    EXPECT_EQ(refusing.queries, 2);
    p->Release();
}

TEST_F(PluginTest, UnservedMethodsAreNotImplemented) {
    IPrintOemUI* p = NewPlugin();
    EXPECT_EQ(p->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(
        p->DeviceCapabilities(nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, nullptr),
        E_NOTIMPL);
    EXPECT_EQ(p->UpgradePrinter(1, nullptr), E_NOTIMPL);
    EXPECT_EQ(p->DriverEvent(1, 1, nullptr, 0), E_NOTIMPL);
    EXPECT_EQ(p->FontInstallerDlgProc(nullptr, 0, 0, 0), E_NOTIMPL);
    EXPECT_EQ(p->UpdateExternalFonts(nullptr, nullptr, nullptr), E_NOTIMPL);
    // Events other than the printer initialisation succeed without work.
    EXPECT_EQ(p->PrinterEvent(const_cast<PWSTR>(L"x"), 1, 0, 0), S_OK);
    EXPECT_EQ(p->PrinterEvent(const_cast<PWSTR>(L"x"), 5, 0, 0), S_OK);
    p->Release();
}

TEST_F(PluginTest, CommonUIPropRefusesUnknownModes) {
    IPrintOemUI* p = NewPlugin();
    OEMCUIPPARAM param = {};
    param.cbSize = sizeof(param);
    SetLastError(0);
    EXPECT_EQ(p->CommonUIProp(3, &param), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    SetLastError(0);
    EXPECT_EQ(p->CommonUIProp(1, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    p->Release();
}

// ---- DevMode ----

using Block = std::vector<BYTE>;

Block Filled(BYTE v, size_t n = zd::kOemDevModeSize) {
    return Block(n, v);
}

OEMDMPARAM Param(HANDLE printer, void* in, void* out, DWORD size) {
    OEMDMPARAM p = {};
    p.cbSize = sizeof(p);
    p.hPrinter = printer;
    p.pOEMDMIn = in;
    p.pOEMDMOut = out;
    p.cbBufSize = size;
    return p;
}

TEST_F(PluginTest, DevModeSizeAndArgumentFaults) {
    IPrintOemUI* p = NewPlugin();
    OEMDMPARAM param = Param(nullptr, nullptr, nullptr, 0);
    EXPECT_EQ(p->DevMode(1, &param), S_OK);
    EXPECT_EQ(param.cbBufSize, 3604u);
    SetLastError(0);
    EXPECT_EQ(p->DevMode(1, nullptr), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    for (DWORD mode : {0u, 5u, 100u}) {
        SetLastError(0);
        EXPECT_EQ(p->DevMode(mode, &param), E_FAIL) << mode;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    }
    p->Release();
}

TEST_F(PluginTest, DevModeNeverWritesIntoAShortBuffer) {
    IPrintOemUI* p = NewPlugin();
    Block out = Filled(0xA5, 5000);
    OEMDMPARAM param = Param(nullptr, nullptr, out.data(), 3603);
    SetLastError(0);
    EXPECT_EQ(p->DevMode(2, &param), E_FAIL);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    Block in = Filled(0);
    param.pOEMDMIn = in.data();
    EXPECT_EQ(p->DevMode(4, &param), E_FAIL);
    for (BYTE b : out)
        ASSERT_EQ(b, 0xA5);
    p->Release();
}

TEST_F(PluginTest, DevModeDefaultOnFilledBuffer) {
    IPrintOemUI* p = NewPlugin();
    Block out = Filled(0xFF);
    OEMDMPARAM param = Param(nullptr, nullptr, out.data(), 3604);
    ASSERT_EQ(p->DevMode(2, &param), S_OK);
    zd::ByteView v(out.data(), out.size());
    EXPECT_EQ(v.u32(0), 3604u);
    EXPECT_EQ(v.u32(4), zd::kOemSignature);
    EXPECT_EQ(v.u32(8), 1u);
    EXPECT_EQ(v.u16(72), 255);
    EXPECT_EQ(v.u32(604), 1u);
    EXPECT_EQ(v.u16(992), 0);
    for (size_t i = 608; i < 992; ++i)
        ASSERT_EQ(out[i], 0xFF) << i;
    p->Release();
}

TEST_F(PluginTest, DevModeConvertAndMergeThroughTheDll) {
    IPrintOemUI* p = NewPlugin();
    // CONVERT of a 1000-byte block with the right signature.
    Block in = Filled(0x3C, 1000);
    zd::ByteView iv(in.data(), in.size());
    iv.set_u32(0, 1000);
    iv.set_u32(4, zd::kOemSignature);
    Block out = Filled(0);
    OEMDMPARAM param = Param(nullptr, nullptr, out.data(), 3604);
    ASSERT_EQ(p->DevMode(2, &param), S_OK);
    param.pOEMDMIn = in.data();
    ASSERT_EQ(p->DevMode(3, &param), S_OK);
    zd::ByteView ov(out.data(), out.size());
    EXPECT_EQ(ov.u32(0), 3604u);
    EXPECT_EQ(ov.u32(8), 1u);
    EXPECT_EQ(out[999], 0x3C);
    EXPECT_EQ(ov.u8(2560), 0);
    EXPECT_EQ(ov.u16(72), 0x3C3C);

    // MERGE clamps 150 and keeps -5.
    for (int32_t value : {150, -5}) {
        Block full = Filled(0);
        zd::ByteView fv(full.data(), full.size());
        fv.set_u32(0, 3604);
        fv.set_u32(4, zd::kOemSignature);
        fv.set_u32(8, 1);
        fv.set_u32(12, uint32_t(value));
        param.pOEMDMIn = full.data();
        ASSERT_EQ(p->DevMode(4, &param), S_OK);
        EXPECT_EQ(ov.i32(12), value == 150 ? 0 : -5);
    }

    // A foreign block: "0002" written, 84 cleared, texts kept.
    ov.set_text16(992, 522, u"mine");
    ov.set_u32(84, 77);
    Block foreign = Filled(0x99);
    param.pOEMDMIn = foreign.data();
    ASSERT_EQ(p->DevMode(3, &param), S_OK);
    EXPECT_EQ(ov.u32(4), zd::kOemSignature);
    EXPECT_EQ(ov.u32(84), 0u);
    EXPECT_EQ(ov.text16(992, 522), u"mine");

    // Absent blocks: success, nothing written.
    Block before = out;
    param.pOEMDMIn = nullptr;
    EXPECT_EQ(p->DevMode(4, &param), S_OK);
    EXPECT_EQ(out, before);
    p->Release();
}

// The compression level of a fresh block comes from the installed printer's
// capability file, found by CommonUIProp's set-up.
TEST_F(PluginTest, DevModeDefaultTakesCompressionFromTheCapabilityFile) {
    std::wstring error;
    ASSERT_TRUE(zdtest::InstallPrinter(zdtest::DemoPrinterSpec(L"zd plugin test"), &error))
        << std::string(error.begin(), error.end());
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(L"zd plugin test"), &printer, nullptr));
    IPrintOemUI* p = NewPlugin();
    HANDLE heap = HeapCreate(0, 0, 0);
    OEMCUIPPARAM cuip = {};
    cuip.cbSize = sizeof(cuip);
    cuip.hPrinter = printer;
    cuip.pPrinterName = const_cast<LPWSTR>(L"zd plugin test");
    cuip.hOEMHeap = heap;
    ASSERT_EQ(p->CommonUIProp(1, &cuip), S_OK); // the count query
    EXPECT_EQ(cuip.cOEMOptItems, 0u);

    Block out = Filled(0xFF);
    OEMDMPARAM param = Param(printer, nullptr, out.data(), 3604);
    ASSERT_EQ(p->DevMode(2, &param), S_OK);
    zd::ByteView ov(out.data(), out.size());
    EXPECT_EQ(ov.u16(2558), 2); // Compression=0x0501
    std::u16string cap = ov.text16(2036, 261);
    std::wstring expected = zdtest::DriverFilesDir() + L"\\zdcp95.cap";
    EXPECT_EQ(std::wstring(cap.begin(), cap.end()), expected);
    p->Release();
    HeapDestroy(heap);
    ClosePrinter(printer);
}

} // namespace
