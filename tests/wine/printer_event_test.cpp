// Printer initialisation through the real zdui.dll: printer data, the
// configuration file's attributes, the default DEVMODE's PostScript output
// option and the installer's options, against the real spooler.
#include "abi/oemui_abi.h"
#include "core/driver_files.h"
#include "core/file_access.h"
#include "plugin/oemui_plugin.h"
#include "core/option_detection.h"
#include "core/printer_event.h"
#include "core/process_state.h"
#include "core/win_util.h"
#include "test_printer.h"

#include <gtest/gtest.h>

#include <winspool.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

const wchar_t kPrinter[] = L"zd event demo";     // PSOutputOpt=2, colour store
const wchar_t kUnset[] = L"zd event unset";      // no PSOutputOpt
const wchar_t kOutOfRange[] = L"zd event range"; // PSOutputOpt=7
const wchar_t kConfigName[] = L"zdev_demo.ini";

std::wstring g_dir;

std::wstring WriteFile(const std::wstring& name, const std::wstring& text, bool utf16 = true) {
    std::wstring path = g_dir + L"\\" + name;
    EXPECT_TRUE(zdtest::WriteTextFile(path, text, utf16));
    return path;
}

std::wstring DriverDataKey(const wchar_t* printer) {
    return std::wstring(L"System\\CurrentControlSet\\Control\\Print\\Printers\\") + printer +
           L"\\PrinterDriverData";
}

// Printer data removed through the registry (the spooler's delete call is
// not available under this emulator).
void RemovePrinterData(const wchar_t* printer, const wchar_t* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, DriverDataKey(printer).c_str(), 0, KEY_ALL_ACCESS,
                      &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, value);
        RegCloseKey(key);
    }
}

// The printer's stored default DEVMODE is dropped, as on a new printer.
void RemoveDefaultDevMode(const wchar_t* printer) {
    HKEY key = nullptr;
    std::wstring path =
        std::wstring(L"System\\CurrentControlSet\\Control\\Print\\Printers\\") + printer;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, L"Default DevMode");
        RegCloseKey(key);
    }
}

struct Data {
    DWORD rc = 0;
    DWORD type = 0;
    std::vector<BYTE> bytes;
};

Data GetData(const wchar_t* printer, const wchar_t* name) {
    zd::PrinterHandle p(printer);
    Data d;
    BYTE buffer[512] = {};
    DWORD needed = 0;
    d.rc = GetPrinterDataW(p.get(), const_cast<LPWSTR>(name), &d.type, buffer, sizeof(buffer),
                           &needed);
    if (d.rc == ERROR_SUCCESS)
        d.bytes.assign(buffer, buffer + needed);
    return d;
}

void SetData(const wchar_t* printer, const wchar_t* name, DWORD type, const void* data,
             DWORD size) {
    zd::PrinterHandle p(printer, PRINTER_ALL_ACCESS);
    ASSERT_TRUE(p);
    ASSERT_EQ(SetPrinterDataW(p.get(), const_cast<LPWSTR>(name), type,
                              static_cast<BYTE*>(const_cast<void*>(data)), size),
              DWORD(ERROR_SUCCESS));
}

// The printer's global default DEVMODE as stored (empty when none).
std::vector<BYTE> GlobalDevMode(const wchar_t* printer) {
    zd::PrinterHandle p(printer);
    DWORD needed = 0;
    GetPrinterW(p.get(), 8, nullptr, 0, &needed);
    if (needed == 0)
        return {};
    std::vector<BYTE> block(needed);
    if (!GetPrinterW(p.get(), 8, block.data(), needed, &needed))
        return {};
    const DEVMODEW* dm = reinterpret_cast<PRINTER_INFO_8W*>(block.data())->pDevMode;
    if (!dm)
        return {};
    const BYTE* b = reinterpret_cast<const BYTE*>(dm);
    std::vector<BYTE> copy(b, b + dm->dmSize + dm->dmDriverExtra);
    // The spooler here leaves varying bytes after the NUL of the names:
    // they mean nothing and are not compared.
    for (size_t offset : {offsetof(DEVMODEW, dmDeviceName), offsetof(DEVMODEW, dmFormName)}) {
        if (copy.size() < offset + CCHDEVICENAME * sizeof(WCHAR))
            continue;
        auto* name = reinterpret_cast<WCHAR*>(copy.data() + offset);
        size_t length = wcsnlen(name, CCHDEVICENAME);
        std::fill(name + length, name + CCHDEVICENAME, L'\0');
    }
    return copy;
}

// Stores a default DEVMODE with `extra` bytes of driver data, every one 0xEE.
void StoreDevMode(const wchar_t* printer, WORD extra) {
    std::vector<BYTE> block(sizeof(DEVMODEW) + extra, 0xEE);
    auto* dm = reinterpret_cast<DEVMODEW*>(block.data());
    memset(dm, 0, sizeof(DEVMODEW));
    wcsncpy(dm->dmDeviceName, printer, CCHDEVICENAME - 1);
    dm->dmSpecVersion = DM_SPECVERSION;
    dm->dmSize = sizeof(DEVMODEW);
    dm->dmDriverExtra = extra;
    dm->dmFields = DM_ORIENTATION;
    dm->dmOrientation = DMORIENT_PORTRAIT;
    PRINTER_INFO_8W info = {dm};
    zd::PrinterHandle p(printer, PRINTER_ALL_ACCESS);
    ASSERT_TRUE(p);
    ASSERT_TRUE(SetPrinterW(p.get(), 8, reinterpret_cast<BYTE*>(&info), 0));
    std::vector<BYTE> stored = GlobalDevMode(printer);
    ASSERT_EQ(stored.size(), block.size());
}

class PrinterEvent : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        g_dir = zdtest::MakeTempDir(L"event");
        std::wstring samples = zdtest::SamplesDir();
        // The configuration file and the PPD that goes with it by name.
        std::wstring config = g_dir + L"\\" + kConfigName;
        std::wstring ppd = g_dir + L"\\zdev_demo.ppd";
        ASSERT_TRUE(CopyFileW((samples + L"\\zdcp95.ini").c_str(), config.c_str(), FALSE));
        ASSERT_TRUE(CopyFileW((samples + L"\\zdcp95.ppd").c_str(), ppd.c_str(), FALSE));
        std::wstring ccm = WriteFile(L"zdev_ccm.ini", L"[Setting]\r\nCount=0\r\n");
        std::wstring cap = WriteFile(
            L"zdev_models.cap",
            L"[Capability]\r\nZD Event Demo=E\r\nZD Event Unset=U\r\nZD Event Range=R\r\n"
            L"[E]\r\nPSOutputOpt=2\r\nCCMInfoFile=zdev_ccm.ini\r\n"
            L"[U]\r\nCCMInfoFile=..\\3\\zdev_ccm.ini\r\n[R]\r\nPSOutputOpt=7\r\nCCMInfoFile=" +
                std::wstring(230, L'c') + L".ini\r\n");
        for (auto [printer, driver] :
             {std::pair{kPrinter, L"ZD Event Demo"}, std::pair{kUnset, L"ZD Event Unset"},
              std::pair{kOutOfRange, L"ZD Event Range"}}) {
            zdtest::PrinterSpec spec;
            spec.printerName = printer;
            spec.driverName = driver;
            spec.dataFile = ppd;
            spec.dependentFiles = {config, cap, ccm};
            std::wstring error;
            // Tests running at the same time install the same stand-in driver
            // files: a sharing violation passes after a moment.
            bool installed = false;
            for (int attempt = 0; attempt < 20 && !installed; ++attempt) {
                installed = zdtest::InstallPrinter(spec, &error);
                if (!installed)
                    Sleep(250);
            }
            ASSERT_TRUE(installed) << std::string(error.begin(), error.end());
        }
        module_ = LoadLibraryW((zdtest::ExeDir() + L"\\zdui.dll").c_str());
        ASSERT_NE(module_, nullptr);
        zd::Process().moduleInstance = GetModuleHandleW(nullptr);
    }

    void SetUp() override {
        SetFileAttributesW(ConfigPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        for (const wchar_t* p : {kPrinter, kUnset, kOutOfRange}) {
            RemoveDefaultDevMode(p);
            RemovePrinterData(p, L"Protocol");
            RemovePrinterData(p, L"SPLUserModePrinterDriver");
            RemovePrinterData(p, L"FeatureKeyword");
            RemovePrinterData(p, L"FeatureKeywordSize");
        }
    }
    void TearDown() override {
        SetFileAttributesW(ConfigPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        WritePrivateProfileStringW(kPrinter, nullptr, nullptr,
                                   zd::InstallerOptionFilePath().c_str());
    }

    static std::wstring ConfigPath() { return zdtest::DriverFilesDir() + L"\\" + kConfigName; }

    // PrinterEvent of a new plug-in object of the real library.
    HRESULT Event(const wchar_t* printer, INT event = PRINTER_EVENT_INITIALIZE) {
        auto getClassObject = zd::ProcAddress<GetClassObjectFn>(module_, "DllGetClassObject");
        IClassFactory* factory = nullptr;
        EXPECT_EQ(
            getClassObject(CLSID_OEMUI_, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            S_OK);
        IPrintOemUI* plugin = nullptr;
        EXPECT_EQ(
            factory->CreateInstance(nullptr, IID_IPrintOemUI_, reinterpret_cast<void**>(&plugin)),
            S_OK);
        factory->Release();
        HRESULT hr = plugin->PrinterEvent(const_cast<PWSTR>(printer), event, 0, 0);
        plugin->Release();
        return hr;
    }

    static HMODULE module_;
};

HMODULE PrinterEvent::module_ = nullptr;

TEST_F(PrinterEvent, InitialisationWritesPrinterDataAndTheOutputOption) {
    DWORD protocol = 2;
    SetData(kPrinter, L"Protocol", REG_DWORD, &protocol, sizeof(protocol));
    StoreDevMode(kPrinter, 400);
    ASSERT_TRUE(SetFileAttributesW(ConfigPath().c_str(), FILE_ATTRIBUTE_READONLY));
    std::string entries("ZDOptionDuplex\0False\0\n", 22);
    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, DriverDataKey(kPrinter).c_str(), 0, KEY_ALL_ACCESS, &key),
        ERROR_SUCCESS);
    DWORD size = DWORD(entries.size());
    RegSetValueExW(key, L"FeatureKeyword", 0, REG_BINARY,
                   reinterpret_cast<const BYTE*>(entries.data()), size);
    RegSetValueExW(key, L"FeatureKeywordSize", 0, REG_DWORD, reinterpret_cast<BYTE*>(&size),
                   sizeof(size));
    RegCloseKey(key);
    ASSERT_TRUE(WritePrivateProfileStringW(kPrinter, L"Installed", L"32",
                                           zd::InstallerOptionFilePath().c_str()));

    EXPECT_EQ(Event(kPrinter), S_OK);

    Data p = GetData(kPrinter, L"Protocol");
    ASSERT_EQ(p.rc, DWORD(ERROR_SUCCESS));
    EXPECT_EQ(p.type, DWORD(REG_DWORD));
    ASSERT_EQ(p.bytes.size(), 4u);
    EXPECT_EQ(*reinterpret_cast<DWORD*>(p.bytes.data()), 4u);

    Data s = GetData(kPrinter, L"SPLUserModePrinterDriver");
    ASSERT_EQ(s.rc, DWORD(ERROR_SUCCESS));
    EXPECT_EQ(s.type, DWORD(REG_SZ));
    std::wstring expected = L"Zdprn3.dll";
    ASSERT_EQ(s.bytes.size(), 2 * (expected.size() + 1));
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(s.bytes.data())), expected);

    EXPECT_FALSE(GetFileAttributesW(ConfigPath().c_str()) & FILE_ATTRIBUTE_READONLY);

    std::vector<BYTE> dm = GlobalDevMode(kPrinter);
    ASSERT_EQ(dm.size(), sizeof(DEVMODEW) + 400);
    EXPECT_EQ(dm[zd::kPsOutputOptionOffset], 2);
    // Nothing else of the driver's part changed.
    for (size_t i = sizeof(DEVMODEW); i < dm.size(); ++i) {
        if (i != zd::kPsOutputOptionOffset) {
            ASSERT_EQ(dm[i], 0xEE) << i;
        }
    }

    // The installer's duplex unit reached the driver's option keywords.
    Data k = GetData(kPrinter, L"FeatureKeyword");
    ASSERT_EQ(k.rc, DWORD(ERROR_SUCCESS));
    EXPECT_EQ(std::string(k.bytes.begin(), k.bytes.end()),
              std::string("ZDOptionDuplex\0True\0\n", 21));
}

TEST_F(PrinterEvent, ExistingValuesAreLeftAlone) {
    // Stored with another type: a rewrite would make it a 32-bit value.
    DWORD protocol = 4;
    SetData(kPrinter, L"Protocol", REG_BINARY, &protocol, sizeof(protocol));
    const wchar_t custom[] = L"custom.dll";
    SetData(kPrinter, L"SPLUserModePrinterDriver", REG_SZ, custom, sizeof(custom));
    EXPECT_EQ(Event(kPrinter), S_OK);
    EXPECT_EQ(GetData(kPrinter, L"Protocol").type, DWORD(REG_BINARY));
    Data s = GetData(kPrinter, L"SPLUserModePrinterDriver");
    EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(s.bytes.data())), custom);

    // A Protocol other than 4 is overwritten.
    protocol = 2;
    SetData(kPrinter, L"Protocol", REG_BINARY, &protocol, sizeof(protocol));
    EXPECT_EQ(Event(kPrinter), S_OK);
    Data p = GetData(kPrinter, L"Protocol");
    EXPECT_EQ(p.type, DWORD(REG_DWORD));
    EXPECT_EQ(*reinterpret_cast<DWORD*>(p.bytes.data()), 4u);
}

TEST_F(PrinterEvent, OtherEventsAndUnknownPrintersChangeNothing) {
    EXPECT_EQ(Event(kPrinter, PRINTER_EVENT_ADD_CONNECTION), S_OK);
    EXPECT_EQ(GetData(kPrinter, L"Protocol").rc, DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Event(L"zd event no such printer"), S_OK);
    EXPECT_TRUE(zd::InitializePrinter(L"zd event no such printer"));
}

TEST_F(PrinterEvent, OutputOptionNeedsAModelValueAndARoomyDevMode) {
    WCHAR config[zd::kOemConfigPathUnits] = {};
    {
        zd::PrinterHandle p(kPrinter);
        ASSERT_TRUE(zd::FindDriverFiles(p.get(), config));
    }
    // A new printer has only the spooler's bare public DEVMODE, and the
    // stand-in driver UI module cannot give one: nothing to write into, and
    // it says so.
    std::vector<BYTE> bare = GlobalDevMode(kPrinter);
    ASSERT_LE(bare.size(), zd::kPsOutputOptionOffset);
    EXPECT_EQ(zd::SetUpOutputOption(kPrinter), zd::OutputOptionResult::NoDevMode);
    EXPECT_EQ(GlobalDevMode(kPrinter), bare);
    // The event still succeeds: the printer data are written.
    EXPECT_EQ(Event(kPrinter), S_OK);
    EXPECT_EQ(GetData(kPrinter, L"Protocol").rc, DWORD(ERROR_SUCCESS));

    // A DEVMODE that ends before the option's byte is not written past.
    StoreDevMode(kPrinter, 344 - sizeof(DEVMODEW));
    std::vector<BYTE> before = GlobalDevMode(kPrinter);
    EXPECT_EQ(zd::SetUpOutputOption(kPrinter), zd::OutputOptionResult::NoDevMode);
    EXPECT_EQ(GlobalDevMode(kPrinter), before);

    // One byte more holds it.
    StoreDevMode(kPrinter, 345 - sizeof(DEVMODEW));
    EXPECT_EQ(zd::SetUpOutputOption(kPrinter), zd::OutputOptionResult::Written);
    std::vector<BYTE> after = GlobalDevMode(kPrinter);
    ASSERT_EQ(after.size(), 345u);
    EXPECT_EQ(after[344], 2);

    // Without a value in 0..3 the DEVMODE is not touched.
    for (const wchar_t* printer : {kUnset, kOutOfRange}) {
        StoreDevMode(printer, 400);
        std::vector<BYTE> b = GlobalDevMode(printer);
        EXPECT_EQ(zd::SetUpOutputOption(printer), zd::OutputOptionResult::NotConfigured);
        EXPECT_EQ(Event(printer), S_OK);
        EXPECT_EQ(GlobalDevMode(printer), b);
    }
    EXPECT_EQ(zd::SetUpOutputOption(L"zd event no such printer"), zd::OutputOptionResult::Failed);
}

TEST_F(PrinterEvent, ValueThatCannotBeWrittenFailsTheEvent) {
    // A module without the library's strings has no name to write: the
    // value is not written and the event reports the failure.
    HINSTANCE saved = zd::Process().moduleInstance;
    zd::Process().moduleInstance = GetModuleHandleW(L"kernel32.dll");
    EXPECT_FALSE(zd::InitializePrinter(kPrinter));
    auto* plugin = new zd::OemUiPlugin();
    EXPECT_EQ(plugin->PrinterEvent(const_cast<PWSTR>(kPrinter), PRINTER_EVENT_INITIALIZE, 0, 0),
              E_FAIL);
    plugin->Release();
    zd::Process().moduleInstance = saved;
    EXPECT_EQ(GetData(kPrinter, L"SPLUserModePrinterDriver").rc, DWORD(ERROR_FILE_NOT_FOUND));
    // Protocol comes first and was written.
    EXPECT_EQ(GetData(kPrinter, L"Protocol").rc, DWORD(ERROR_SUCCESS));

    // With the strings the same printer initialises.
    EXPECT_TRUE(zd::InitializePrinter(kPrinter));
    EXPECT_EQ(GetData(kPrinter, L"SPLUserModePrinterDriver").rc, DWORD(ERROR_SUCCESS));
}

TEST_F(PrinterEvent, OutputOptionStepEndsWithoutALevel8Answer) {
    // The spooler here always answers level 8, so its empty answer is
    // handed to the step: the per-printer default is not written instead.
    StoreDevMode(kPrinter, 400);
    std::vector<BYTE> before = GlobalDevMode(kPrinter);
    zd::PrinterHandle p(kPrinter, PRINTER_ALL_ACCESS);
    EXPECT_EQ(zd::WriteOutputOption(p.get(), kPrinter, 2, {}), zd::OutputOptionResult::NoDevMode);
    EXPECT_EQ(GlobalDevMode(kPrinter), before);
    EXPECT_EQ(zd::SetUpOutputOption(kPrinter), zd::OutputOptionResult::Written);
    EXPECT_EQ(GlobalDevMode(kPrinter)[zd::kPsOutputOptionOffset], 2);
}

TEST_F(PrinterEvent, OnlyFilesWhosePathWasBuiltAreOpenedUp) {
    std::wstring config = ConfigPath();
    using Files = std::vector<std::wstring>;
    zd::PrinterHandle demo(kPrinter);
    EXPECT_EQ(zd::FilesToOpenUp(demo.get(), config.c_str()),
              (Files{config, zdtest::DriverFilesDir() + L"\\zdev_ccm.ini"}));
    // A store named by a path, or one too long for its buffer, is not built:
    // neither it nor the driver folder left in the buffer is opened up.
    for (const wchar_t* printer : {kUnset, kOutOfRange}) {
        zd::PrinterHandle p(printer);
        EXPECT_EQ(zd::FilesToOpenUp(p.get(), config.c_str()), (Files{config}));
    }
}

// The entries of a DACL as (type, flags, mask, well-known SID).
using AclEntry = std::tuple<int, int, DWORD, WELL_KNOWN_SID_TYPE>;

std::vector<AclEntry> Entries(const ACL* acl) {
    std::vector<AclEntry> entries;
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* ace = nullptr;
        EXPECT_TRUE(GetAce(const_cast<ACL*>(acl), i, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        WELL_KNOWN_SID_TYPE sid = WinNullSid;
        for (WELL_KNOWN_SID_TYPE t :
             {WinBuiltinAdministratorsSid, WinLocalSystemSid, WinBuiltinUsersSid})
            if (IsWellKnownSid(&allowed->SidStart, t))
                sid = t;
        entries.emplace_back(allowed->Header.AceType, allowed->Header.AceFlags, allowed->Mask, sid);
    }
    return entries;
}

void AddEntry(ACL* acl, BYTE flags, DWORD mask, WELL_KNOWN_SID_TYPE type) {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(sid);
    ASSERT_TRUE(CreateWellKnownSid(type, nullptr, sid, &size));
    ASSERT_TRUE(AddAccessAllowedAceEx(acl, ACL_REVISION, flags, mask, sid));
}

TEST(FileAccess, UsersGetOneReadWriteEntryAndEveryOtherEntryStays) {
    // A driver file's usual DACL: Administrators and SYSTEM in full, Users
    // reading and running by inheritance from the folder.
    DWORD storage[256] = {};
    auto* existing = reinterpret_cast<ACL*>(storage);
    ASSERT_TRUE(InitializeAcl(existing, sizeof(storage), ACL_REVISION));
    const DWORD usersInherited = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
    AddEntry(existing, 0, FILE_ALL_ACCESS, WinBuiltinAdministratorsSid);
    AddEntry(existing, 0, FILE_ALL_ACCESS, WinLocalSystemSid);
    AddEntry(existing, INHERITED_ACE, usersInherited, WinBuiltinUsersSid);

    zd::FileAccessDescriptor built;
    ASSERT_TRUE(zd::BuildUsersAccessDescriptor(existing, &built));
    BOOL present = FALSE, defaulted = FALSE;
    ACL* dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(&built.sd, &present, &dacl, &defaulted));
    ASSERT_TRUE(present);
    ASSERT_NE(dacl, nullptr); // never a null DACL: that would open the file to all
    const int allow = ACCESS_ALLOWED_ACE_TYPE;
    const std::vector<AclEntry> expected = {
        {allow, 0, FILE_ALL_ACCESS, WinBuiltinAdministratorsSid},
        {allow, 0, FILE_ALL_ACCESS, WinLocalSystemSid},
        {allow, 0, 0x12019F, WinBuiltinUsersSid}, // read and write of the data
        {allow, INHERITED_ACE, usersInherited, WinBuiltinUsersSid},
    };
    EXPECT_EQ(Entries(dacl), expected);

    // Opening up the same file again adds nothing.
    zd::FileAccessDescriptor again;
    ASSERT_TRUE(zd::BuildUsersAccessDescriptor(dacl, &again));
    ASSERT_TRUE(GetSecurityDescriptorDacl(&again.sd, &present, &dacl, &defaulted));
    EXPECT_EQ(Entries(dacl), expected);
}

// The DACL entries that printer initialisation stores, by file.
std::vector<std::pair<std::wstring, std::vector<AclEntry>>> g_stored;

BOOL WINAPI RecordingWriter(LPCWSTR path, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR sd) {
    BOOL present = FALSE, defaulted = FALSE;
    ACL* dacl = nullptr;
    if ((what & DACL_SECURITY_INFORMATION) &&
        GetSecurityDescriptorDacl(sd, &present, &dacl, &defaulted) && present && dacl)
        g_stored.emplace_back(path, Entries(dacl));
    return SetFileSecurityW(path, what, sd);
}

// Whether the entries let the Users group read and write by an entry of their own.
bool UsersMayWrite(const std::vector<AclEntry>& entries) {
    for (const AclEntry& e : entries)
        if (std::get<0>(e) == ACCESS_ALLOWED_ACE_TYPE && !(std::get<1>(e) & INHERITED_ACE) &&
            std::get<3>(e) == WinBuiltinUsersSid &&
            (std::get<2>(e) & zd::kUsersFileAccess) == zd::kUsersFileAccess)
            return true;
    return false;
}

// The file's DACL entries as read back.
std::vector<AclEntry> ReadEntries(const std::wstring& path) {
    DWORD needed = 0;
    GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<BYTE> sd(needed ? needed : 1);
    BOOL present = FALSE, defaulted = FALSE;
    ACL* dacl = nullptr;
    if (!GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, sd.data(), needed, &needed) ||
        !GetSecurityDescriptorDacl(sd.data(), &present, &dacl, &defaulted) || !present || !dacl)
        return {};
    return Entries(dacl);
}

// The configuration file (watermark and overlay stores) and the colour
// setting store get the Users entry; the PPD, whose PostScript goes into
// every user's jobs, keeps the rights it has.
TEST_F(PrinterEvent, UsersMayWriteTheStoresButNotThePpd) {
    const std::wstring dir = zdtest::DriverFilesDir();
    const std::wstring config = ConfigPath(), ppd = dir + L"\\zdev_demo.ppd",
                       store = dir + L"\\zdev_ccm.ini";
    g_stored.clear();
    zd::PrinterHandle demo(kPrinter, PRINTER_ALL_ACCESS);
    WCHAR found[zd::kOemConfigPathUnits] = {}; // as initialisation finds the model's files
    ASSERT_TRUE(zd::FindDriverFiles(demo.get(), found));
    ASSERT_EQ(found, config);
    zd::OpenUpDriverFiles(demo.get(), found, RecordingWriter);
    ASSERT_EQ(g_stored.size(), 2u);
    EXPECT_EQ(g_stored[0].first, config);
    EXPECT_TRUE(UsersMayWrite(g_stored[0].second));
    EXPECT_EQ(g_stored[1].first, store);
    EXPECT_TRUE(UsersMayWrite(g_stored[1].second));
    EXPECT_FALSE(UsersMayWrite(ReadEntries(ppd)));
    for (const auto& [path, entries] : g_stored)
        for (const AclEntry& e : entries)
            std::printf("%ls: type %d flags %d mask 0x%lX sid %d\n", path.c_str(), std::get<0>(e),
                        std::get<1>(e), static_cast<unsigned long>(std::get<2>(e)),
                        int(std::get<3>(e)));
    for (const AclEntry& e : ReadEntries(ppd))
        std::printf("%ls (read): type %d flags %d mask 0x%lX sid %d\n", ppd.c_str(), std::get<0>(e),
                    std::get<1>(e), static_cast<unsigned long>(std::get<2>(e)),
                    int(std::get<3>(e)));
}

// Whether a privilege of this process's token is enabled.
bool PrivilegeEnabled(const wchar_t* name) {
    HANDLE token = nullptr;
    EXPECT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    LUID luid = {};
    EXPECT_TRUE(LookupPrivilegeValueW(nullptr, name, &luid));
    PRIVILEGE_SET set = {1, PRIVILEGE_SET_ALL_NECESSARY, {{luid, 0}}};
    BOOL enabled = FALSE;
    EXPECT_TRUE(PrivilegeCheck(token, &set, &enabled));
    CloseHandle(token);
    return enabled != FALSE;
}

TEST_F(PrinterEvent, OpeningUpAFileKeepsTheTokensOtherPrivileges) {
    std::wstring file = WriteFile(L"zdev_open.txt", L"x");
    EXPECT_TRUE(zd::OpenUpFileAccess(file.c_str()));

    // A missing file refuses every change, including the owner change that
    // needs the take-ownership privilege.
    bool takeOwnership = PrivilegeEnabled(L"SeTakeOwnershipPrivilege");
    bool changeNotify = PrivilegeEnabled(L"SeChangeNotifyPrivilege");
    EXPECT_TRUE(changeNotify); // on by default
    EXPECT_FALSE(zd::OpenUpFileAccess((g_dir + L"\\zdev_absent.txt").c_str()));
    EXPECT_FALSE(zd::OpenUpFileAccess(L""));
    EXPECT_EQ(PrivilegeEnabled(L"SeTakeOwnershipPrivilege"), takeOwnership);
    EXPECT_EQ(PrivilegeEnabled(L"SeChangeNotifyPrivilege"), changeNotify);

    TOKEN_PRIVILEGES previous = {};
    ASSERT_TRUE(zd::EnableTakeOwnership(&previous));
    EXPECT_TRUE(PrivilegeEnabled(L"SeTakeOwnershipPrivilege"));
    ASSERT_TRUE(zd::RestoreTakeOwnership(previous));
    EXPECT_EQ(PrivilegeEnabled(L"SeTakeOwnershipPrivilege"), takeOwnership);
    EXPECT_TRUE(PrivilegeEnabled(L"SeChangeNotifyPrivilege"));
}

} // namespace
