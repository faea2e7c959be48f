#include "driver_host.h"

#include <sddl.h>

#include <cstring>

namespace drvhost {

namespace {

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);

bool Fail(std::wstring* error, const std::wstring& what, HRESULT hr = S_OK) {
    if (error) {
        *error = what;
        if (hr != S_OK) {
            wchar_t buf[32];
            swprintf(buf, 32, L" (0x%08lX)", static_cast<unsigned long>(hr));
            *error += buf;
        }
    }
    return false;
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    size_t slash = p.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring(L".") : p.substr(0, slash);
}

HostUiObject* HostOf(PVOID driverObject) {
    auto* o = static_cast<HostUiObject*>(driverObject);
    if (!o || o->obj.cbSize != sizeof(OEMUIOBJ) || !o->host)
        return nullptr;
    return o;
}

BOOL APIENTRY GetDriverSettingProc(PVOID driverObject, PCSTR feature, PVOID out, DWORD size,
                                   PDWORD needed, PDWORD count) {
    HostUiObject* o = HostOf(driverObject);
    if (!o) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return o->host->GetDriverSetting(feature, out, size, needed, count);
}

BOOL APIENTRY UpdateUISettingProc(PVOID driverObject, PVOID item, DWORD previous, DWORD mode) {
    HostUiObject* o = HostOf(driverObject);
    if (!o) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return o->host->UpdateUISetting(item, previous, mode);
}

int LeadingNumber(const std::string& s) {
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9' || v > 100000)
            break;
        v = v * 10 + (c - '0');
    }
    return v;
}

// The spooler keeps a printer's data under this key; Wine's spooler does
// not check the rights of a printer handle, but the registry checks the
// key's access list.
std::wstring PrinterDataKey(const std::wstring& printer) {
    return L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + printer +
           L"\\PrinterDriverData";
}

// Everyone may read the key, no one may set a value or add a subkey.
constexpr wchar_t kReadOnlyDacl[] = L"D:P(D;;0x6;;;WD)(A;;GA;;;WD)";

// Replaces the key's access list; `saved` receives the one it had.
bool SetPrinterDataDacl(const std::wstring& printer, PSECURITY_DESCRIPTOR sd,
                        std::vector<BYTE>* saved) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, PrinterDataKey(printer).c_str(), 0, nullptr, 0,
                        READ_CONTROL | WRITE_DAC, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    if (saved) {
        DWORD size = 0;
        RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, nullptr, &size);
        saved->assign(size ? size : 1, 0);
        ok = RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, saved->data(), &size) ==
             ERROR_SUCCESS;
    }
    ok = ok && RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

} // namespace

// The driver's helper object that the plug-in receives in PublishDriverInterface.
struct DriverHost::DriverObject final : public IPrintOemDriverUI {
    explicit DriverObject(DriverHost* h) : host(h) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPrintOemDriverUI_)) {
            *out = static_cast<IPrintOemDriverUI*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs)); }
    // Owned by the host; the count is kept only so that leaks show.
    STDMETHODIMP_(ULONG) Release() override { return ULONG(InterlockedDecrement(&refs)); }
    STDMETHODIMP DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID out, DWORD size, PDWORD needed,
                                     PDWORD count) override {
        if (!HostOf(pci))
            return E_INVALIDARG;
        return host->GetDriverSetting(feature, out, size, needed, count) ? S_OK : E_FAIL;
    }
    STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
    STDMETHODIMP DrvUpdateUISetting(PVOID pci, PVOID item, DWORD previous, DWORD mode) override {
        if (!HostOf(pci))
            return E_INVALIDARG;
        return host->UpdateUISetting(item, previous, mode) ? S_OK : E_FAIL;
    }
    DriverHost* host;
    volatile LONG refs = 1;
};

DriverHost::DriverHost(HostOptions options)
    : options_(std::move(options)), driver_(std::make_unique<DriverObject>(this)) {
    procs_.DrvGetDriverSetting = GetDriverSettingProc;
    procs_.DrvUpdateUISetting = UpdateUISettingProc;
    uiObject_.obj.cbSize = sizeof(OEMUIOBJ);
    uiObject_.obj.pOemUIProcs = &procs_;
    uiObject_.host = this;
}

DriverHost::~DriverHost() {
    if (plugin_) {
        auto start = std::chrono::steady_clock::now();
        plugin_->Release();
        AddTiming("Release", start);
    }
    // Everything the plug-in took from hOEMHeap goes with the heap.
    if (heap_)
        HeapDestroy(heap_);
    if (printer_)
        ClosePrinter(printer_);
    if (!printerDataSecurity_.empty())
        SetPrinterDataDacl(printerName_, printerDataSecurity_.data(), nullptr);
    // The library stays loaded: a page or a font of it may outlive the object
    // in a test process, and the driver unloads it only at its own exit.
}

IUnknown* DriverHost::driverObject() const {
    return driver_.get();
}

void DriverHost::AddTiming(std::string what, std::chrono::steady_clock::time_point start) {
    std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - start;
    timings_.push_back({std::move(what), d.count()});
}

bool DriverHost::Load(std::wstring* error) {
    std::wstring path =
        options_.pluginPath.empty() ? ExeFolder() + L"\\zdui.dll" : options_.pluginPath;
    auto start = std::chrono::steady_clock::now();
    module_ = LoadLibraryW(path.c_str());
    AddTiming("LoadLibrary", start);
    if (!module_)
        return Fail(error,
                    L"cannot load " + path + L" (error " + std::to_wstring(GetLastError()) + L")");
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    if (!getClassObject)
        return Fail(error, L"DllGetClassObject is not exported by " + path);
    IClassFactory* factory = nullptr;
    start = std::chrono::steady_clock::now();
    HRESULT hr =
        getClassObject(CLSID_OEMUI_, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    AddTiming("DllGetClassObject", start);
    if (FAILED(hr) || !factory)
        return Fail(error, L"DllGetClassObject failed", hr);
    IUnknown* object = nullptr;
    start = std::chrono::steady_clock::now();
    hr = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object));
    AddTiming("CreateInstance", start);
    factory->Release();
    if (FAILED(hr) || !object)
        return Fail(error, L"CreateInstance failed", hr);
    IPrintOemUI* plugin = nullptr;
    hr = object->QueryInterface(IID_IPrintOemUI_, reinterpret_cast<void**>(&plugin));
    object->Release();
    if (FAILED(hr) || !plugin)
        return Fail(error, L"the object does not answer IPrintOemUI", hr);
    bool ok = Attach(plugin, error);
    plugin->Release();
    return ok;
}

bool DriverHost::Attach(IPrintOemUI* plugin, std::wstring* error) {
    if (!plugin || plugin_)
        return Fail(error, L"no plug-in, or one is attached already");
    plugin_ = plugin;
    plugin_->AddRef();
    auto start = std::chrono::steady_clock::now();
    HRESULT hr = plugin_->PublishDriverInterface(driver_.get());
    AddTiming("PublishDriverInterface", start);
    if (FAILED(hr))
        return Fail(error, L"PublishDriverInterface failed", hr);
    return true;
}

bool DriverHost::OpenPrinter(const std::wstring& printerName, std::wstring* error) {
    printerName_ = printerName;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ACCESS_USE};
    if (!::OpenPrinterW(printerName_.data(), &printer_, &defaults)) {
        printer_ = nullptr;
        return Fail(error, L"no printer \"" + printerName + L"\"");
    }
    if (options_.printerDataReadOnly) {
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        bool denied = ConvertStringSecurityDescriptorToSecurityDescriptorW(
                          kReadOnlyDacl, SDDL_REVISION_1, &readOnly, nullptr) &&
                      SetPrinterDataDacl(printerName_, readOnly, &printerDataSecurity_);
        LocalFree(readOnly);
        if (!denied) {
            printerDataSecurity_.clear();
            return Fail(error, L"cannot deny writes to the printer data of " + printerName);
        }
    }
    DWORD needed = 0;
    GetPrinterDriverW(printer_, nullptr, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(printer_, nullptr, 2, info.data(), needed, &needed))
        return Fail(error, L"no driver information for \"" + printerName + L"\"");
    auto* di = reinterpret_cast<DRIVER_INFO_2W*>(info.data());
    driverName_ = di->pName ? di->pName : L"";
    ppdPath_ = di->pDataFile ? di->pDataFile : L"";
    std::string text = ReadWholeFile(ppdPath_);
    if (text.empty())
        return Fail(error, L"cannot read the PPD " + ppdPath_);
    ppd_ = ParsePpd(text);
    document_.plan = BuildDocumentPlan(ppd_, options_.document);
    device_.plan = BuildDevicePlan(ppd_, options_.device);
    heap_ = HeapCreate(0, 0, 0);
    if (!heap_)
        return Fail(error, L"HeapCreate failed");
    return true;
}

bool DriverHost::GetInfo(DWORD mode, DWORD* value, HRESULT* result) {
    DWORD needed = 0, v = 0;
    auto start = std::chrono::steady_clock::now();
    HRESULT hr = plugin_ ? plugin_->GetInfo(mode, &v, sizeof v, &needed) : E_FAIL;
    AddTiming("GetInfo " + std::to_string(mode), start);
    if (result)
        *result = hr;
    if (FAILED(hr))
        return false;
    *value = v;
    return true;
}

bool DriverHost::PrepareDevMode(std::wstring* error) {
    if (!plugin_)
        return Fail(error, L"no plug-in");
    OEMDMPARAM p = {};
    p.cbSize = sizeof p;
    p.pdriverobj = &uiObject_.obj;
    p.hPrinter = printer_;
    p.hModule = module_;
    auto start = std::chrono::steady_clock::now();
    HRESULT hr = plugin_->DevMode(OEMDM_SIZE, &p);
    AddTiming("DevMode size", start);
    if (FAILED(hr))
        return Fail(error, L"DevMode size query failed", hr);
    // A block larger than the DEVMODE's 16-bit extra size is not acceptable.
    if (p.cbBufSize < sizeof(OEM_DMEXTRAHEADER) || p.cbBufSize > 0xFFFF - sizeof(DEVMODEW))
        return Fail(error, L"DevMode size query answered " + std::to_wstring(p.cbBufSize));
    oemSize_ = p.cbBufSize;
    devmode_.assign(sizeof(DEVMODEW) + oemSize_, 0);
    DEVMODEW* pub = publicDevMode();
    pub->dmSize = sizeof(DEVMODEW);
    pub->dmSpecVersion = DM_SPECVERSION;
    pub->dmDriverExtra = WORD(oemSize_);
    wcsncpy(pub->dmDeviceName, printerName_.c_str(), CCHDEVICENAME - 1);
    SyncPublicDevMode();

    p.pPublicDMIn = pub;
    p.pPublicDMOut = pub;
    p.pOEMDMOut = oemBlock();
    p.cbBufSize = oemSize_;
    start = std::chrono::steady_clock::now();
    hr = plugin_->DevMode(OEMDM_DEFAULT, &p);
    AddTiming("DevMode default", start);
    if (FAILED(hr))
        return Fail(error, L"DevMode default failed", hr);
    if (!options_.storedBlock.empty()) {
        std::vector<uint8_t> in = options_.storedBlock;
        p.pOEMDMIn = in.data();
        start = std::chrono::steady_clock::now();
        hr = plugin_->DevMode(OEMDM_MERGE, &p);
        AddTiming("DevMode merge", start);
        if (FAILED(hr))
            return Fail(error, L"DevMode merge failed", hr);
    }
    return true;
}

bool DriverHost::PlayCreateDc(PrintJobResult* out, bool informationContext, std::wstring* error) {
    *out = PrintJobResult();
    if (!plugin_ || devmode_.empty())
        return Fail(error, L"no plug-in or no DEVMODE");
    IPrintOemUI2* plugin2 = nullptr;
    if (FAILED(plugin_->QueryInterface(IID_IPrintOemUI2_, reinterpret_cast<void**>(&plugin2))) ||
        !plugin2) {
        out->jobBlock = OemBlockCopy();
        return true;
    }
    out->interface2 = true;
    DOCEVENT_CREATEDCPRE pre = {};
    pre.pszDriver = const_cast<PWSTR>(driverName_.c_str());
    pre.pszDevice = const_cast<PWSTR>(printerName_.c_str());
    pre.pdm = publicDevMode();
    pre.bIC = informationContext;
    PDEVMODEW replacement = nullptr;
    auto start = std::chrono::steady_clock::now();
    out->preHr = plugin2->DocumentEvent(printer_, nullptr, DOCUMENTEVENT_CREATEDCPRE, sizeof pre,
                                        &pre, sizeof replacement, &replacement, &out->preResult);
    AddTiming("DocumentEvent CREATEDCPRE", start);
    // The driver returns what the plug-in answered; a failure fails CreateDC.
    out->cancelled = SUCCEEDED(out->preHr) && out->preResult == DOCUMENTEVENT_FAILURE;
    out->replacement = replacement;
    const DEVMODEW* used = replacement ? replacement : publicDevMode();
    if (!out->cancelled) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(used);
        if (used->dmSize + size_t(used->dmDriverExtra) >= sizeof(DEVMODEW) + oemSize_)
            out->jobBlock.assign(bytes + sizeof(DEVMODEW), bytes + sizeof(DEVMODEW) + oemSize_);
    }
    // The post event comes either way (with no context after a failure), so
    // that the plug-in can free what it handed over.
    HDC dc = out->cancelled ? nullptr : reinterpret_cast<HDC>(uintptr_t(0x5A5A0));
    start = std::chrono::steady_clock::now();
    out->postHr =
        plugin2->DocumentEvent(printer_, dc, DOCUMENTEVENT_CREATEDCPOST, sizeof replacement,
                               &replacement, 0, nullptr, &out->postResult);
    AddTiming("DocumentEvent CREATEDCPOST", start);
    plugin2->Release();
    return true;
}

uint8_t* DriverHost::oemBlock() {
    return devmode_.empty() ? nullptr : devmode_.data() + sizeof(DEVMODEW);
}

std::vector<uint8_t> DriverHost::OemBlockCopy() {
    uint8_t* b = oemBlock();
    return b ? std::vector<uint8_t>(b, b + oemSize_) : std::vector<uint8_t>();
}

DEVMODEW* DriverHost::publicDevMode() {
    return devmode_.empty() ? nullptr : reinterpret_cast<DEVMODEW*>(devmode_.data());
}

int DriverHost::FindItem(const OptionTree& tree, std::string_view keyword) const {
    for (size_t i = 0; i < tree.plan.size(); ++i)
        if (tree.plan[i].feature == keyword)
            return int(i);
    return -1;
}

int DriverHost::FindPublicItem(const OptionTree& tree, uint8_t dmPubId) const {
    for (size_t i = 0; i < tree.plan.size(); ++i)
        if (tree.plan[i].dmPubId == dmPubId)
            return int(i);
    return -1;
}

static LONG SelOf(const OptionTree& tree, int i) {
    return tree.built ? tree.items[size_t(i)].Sel : tree.plan[size_t(i)].sel;
}

void DriverHost::SyncPublicDevMode() {
    DEVMODEW* dm = publicDevMode();
    if (!dm)
        return;
    const OptionTree& t = document_;
    if (int i = FindPublicItem(t, pub::Orientation); i >= 0) {
        dm->dmOrientation = SelOf(t, i) == 0 ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
        dm->dmFields |= DM_ORIENTATION;
    }
    if (int i = FindPublicItem(t, pub::FormName); i >= 0) {
        const PlanItem& item = t.plan[size_t(i)];
        LONG sel = SelOf(t, i);
        dm->dmPaperSize = PaperNumberForKeyword(SelectedKeyword(item, sel));
        std::memset(dm->dmFormName, 0, sizeof dm->dmFormName);
        if (sel >= 0 && size_t(sel) < item.options.size()) {
            const std::u16string& n = item.options[size_t(sel)].name;
            for (size_t k = 0; k < n.size() && k < CCHFORMNAME - 1; ++k)
                dm->dmFormName[k] = wchar_t(n[k]);
        }
        dm->dmFields |= DM_PAPERSIZE | DM_FORMNAME;
    }
    if (int i = FindPublicItem(t, pub::CopiesCollate); i >= 0) {
        dm->dmCopies = short(std::min<LONG>(SelOf(t, i), 32767));
        dm->dmCollate = DMCOLLATE_TRUE;
        dm->dmFields |= DM_COPIES | DM_COLLATE;
    }
    if (int i = FindPublicItem(t, pub::Scale); i >= 0) {
        dm->dmScale = short(std::min<LONG>(SelOf(t, i), 32767));
        dm->dmFields |= DM_SCALE;
    }
    if (int i = FindPublicItem(t, pub::PrintQuality); i >= 0) {
        dm->dmPrintQuality = short(LeadingNumber(SelectedKeyword(t.plan[size_t(i)], SelOf(t, i))));
        dm->dmFields |= DM_PRINTQUALITY;
    }
    if (int i = FindPublicItem(t, pub::Color); i >= 0) {
        dm->dmColor = SelOf(t, i) == 1 ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
        dm->dmFields |= DM_COLOR;
    }
    if (int i = FindPublicItem(t, pub::Duplex); i >= 0) {
        std::string k = SelectedKeyword(t.plan[size_t(i)], SelOf(t, i));
        dm->dmDuplex = k == "DuplexNoTumble" ? DMDUP_VERTICAL
                       : k == "DuplexTumble" ? DMDUP_HORIZONTAL
                                             : DMDUP_SIMPLEX;
        dm->dmFields |= DM_DUPLEX;
    }
}

bool DriverHost::BuildTree(OptionTree& tree, DWORD mode, std::vector<PlanItem> plan,
                           std::wstring* error) {
    if (!plugin_ || !heap_)
        return Fail(error, L"no plug-in or printer");
    tree.plan = std::move(plan);
    tree.items.assign(tree.plan.size(), OPTITEM{});
    for (size_t i = 0; i < tree.plan.size(); ++i) {
        const PlanItem& p = tree.plan[i];
        OPTITEM& it = tree.items[i];
        it.cbSize = sizeof(OPTITEM);
        it.Level = p.level;
        it.DlgPageIdx = 0;
        if (p.nameId) {
            it.pName = reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(p.nameId));
        } else {
            tree.texts.push_back(p.name);
            it.pName = reinterpret_cast<LPWSTR>(tree.texts.back().data());
        }
        it.Sel = p.sel;
        it.DMPubID = p.dmPubId;
        USERDATA ud = {};
        ud.dwSize = sizeof(USERDATA);
        ud.dwItemID = p.itemId;
        if (!p.keyword.empty()) {
            tree.keywords.push_back(p.keyword);
            ud.pKeyWordName = tree.keywords.back().data();
        }
        tree.userData.push_back(ud);
        it.UserData = reinterpret_cast<ULONG_PTR>(&tree.userData.back());
        if (p.kind == ItemKind::Header)
            continue;
        std::vector<OPTPARAM> params;
        OPTTYPE type = {};
        type.cbSize = sizeof(OPTTYPE);
        if (p.kind == ItemKind::UpDown) {
            // Second OPTPARAM: IconID = lower bound, lParam = upper bound.
            params.assign(2, OPTPARAM{});
            tree.texts.push_back(p.unit);
            params[0].pData = reinterpret_cast<LPWSTR>(tree.texts.back().data());
            params[1].IconID = ULONG_PTR(p.lower);
            params[1].lParam = LPARAM(p.upper);
            type.Type = TVOT_UDARROW;
        } else {
            for (const PlanOption& o : p.options) {
                tree.texts.push_back(o.name);
                OPTPARAM op = {};
                op.pData = reinterpret_cast<LPWSTR>(tree.texts.back().data());
                params.push_back(op);
            }
            type.Type = TVOT_COMBOBOX;
        }
        for (OPTPARAM& op : params)
            op.cbSize = sizeof(OPTPARAM);
        tree.params.push_back(std::move(params));
        type.Count = WORD(tree.params.back().size());
        type.pOptParam = tree.params.back().data();
        tree.types.push_back(type);
        it.pOptType = &tree.types.back();
    }

    OEMCUIPPARAM& param = tree.param;
    param = OEMCUIPPARAM{};
    param.cbSize = sizeof(OEMCUIPPARAM);
    param.poemuiobj = &uiObject_.obj;
    param.hPrinter = printer_;
    param.pPrinterName = printerName_.data();
    param.hModule = module_;
    param.hOEMHeap = heap_;
    param.pPublicDM = publicDevMode();
    param.pOEMDM = oemBlock();
    param.pDrvOptItems = tree.items.data();
    param.cDrvOptItems = DWORD(tree.items.size());
    const char* what = mode == OEMCUIP_DOCPROP ? "CommonUIProp document" : "CommonUIProp printer";
    auto start = std::chrono::steady_clock::now();
    HRESULT hr = plugin_->CommonUIProp(mode, &param);
    AddTiming(std::string(what) + " count", start);
    if (FAILED(hr))
        return Fail(error, L"CommonUIProp count query failed", hr);
    // More items than the common UI can show is a fault of the plug-in.
    if (param.cOEMOptItems > 1000)
        return Fail(error,
                    L"CommonUIProp asked for " + std::to_wstring(param.cOEMOptItems) + L" items");
    // The second call always gets an array, also when the plug-in wants no
    // items: that call is where a plug-in sets up its side of the tree.
    DWORD count = param.cOEMOptItems;
    tree.pluginItems.assign(count ? count : 1, OPTITEM{});
    param.pOEMOptItems = tree.pluginItems.data();
    start = std::chrono::steady_clock::now();
    hr = plugin_->CommonUIProp(mode, &param);
    AddTiming(std::string(what) + " items", start);
    if (FAILED(hr))
        return Fail(error, L"CommonUIProp with the item array failed", hr);
    // The plug-in may not grow its count on the second call.
    if (param.cOEMOptItems > count)
        return Fail(error, L"CommonUIProp raised its item count on the second call");
    tree.built = true;
    return true;
}

bool DriverHost::BuildDocumentTree(std::wstring* error) {
    std::vector<PlanItem> plan = document_.plan;
    return BuildTree(document_, OEMCUIP_DOCPROP, std::move(plan), error);
}

bool DriverHost::BuildDeviceTree(std::wstring* error) {
    std::vector<PlanItem> plan = device_.plan;
    return BuildTree(device_, OEMCUIP_PRNPROP, std::move(plan), error);
}

BOOL DriverHost::GetDriverSetting(PCSTR feature, PVOID out, DWORD size, PDWORD needed,
                                  PDWORD count) {
    // Small values stand for the driver's predefined settings, which this
    // driver does not offer.
    if (!feature || reinterpret_cast<ULONG_PTR>(feature) < 0x10000) {
        SetLastError(feature ? ERROR_NOT_SUPPORTED : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string_view name(feature, strnlen(feature, 256));
    for (OptionTree* tree : {&document_, &device_}) {
        int i = FindItem(*tree, name);
        if (i < 0)
            continue;
        std::string answer = SelectedKeyword(tree->plan[size_t(i)], SelOf(*tree, i));
        DWORD need = DWORD(answer.size() + 1);
        if (needed)
            *needed = need;
        if (count)
            *count = 1;
        if (!out || size < need) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return FALSE;
        }
        std::memcpy(out, answer.c_str(), need);
        return TRUE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

BOOL DriverHost::UpdateUISetting(PVOID item, DWORD previous, DWORD mode) {
    UpdateCall call;
    call.previous = previous;
    call.mode = mode;
    OptionTree* tree = nullptr;
    for (OptionTree* t : {&document_, &device_}) {
        auto* p = static_cast<OPTITEM*>(item);
        if (t->built && !t->items.empty() && p >= t->items.data() &&
            p < t->items.data() + t->items.size()) {
            tree = t;
            call.item = int(p - t->items.data());
            call.device = t == &device_;
        }
    }
    if (tree) {
        const PlanItem& p = tree->plan[size_t(call.item)];
        call.keyword = p.feature.empty() ? Narrow(p.name) : p.feature;
        call.newSel = tree->items[size_t(call.item)].Sel;
    } else if (item) {
        call.newSel = static_cast<OPTITEM*>(item)->Sel;
    }
    BOOL answer = FALSE;
    DWORD expectedMode = tree == &device_ ? OEMCUIP_PRNPROP_MODE : OEMCUIP_DOCPROP_MODE;
    if (!tree || mode != expectedMode) {
        SetLastError(ERROR_INVALID_PARAMETER);
    } else if (options_.refuseUpdates) {
        SetLastError(ERROR_ACCESS_DENIED);
    } else {
        const PlanItem& p = tree->plan[size_t(call.item)];
        bool inRange = p.kind == ItemKind::UpDown
                           ? call.newSel >= p.lower && call.newSel <= p.upper
                           : call.newSel >= 0 && size_t(call.newSel) < p.options.size();
        if (inRange) {
            answer = TRUE;
            if (tree == &document_)
                SyncPublicDevMode();
        } else {
            SetLastError(ERROR_INVALID_PARAMETER);
        }
    }
    call.answer = answer;
    calls_.push_back(call);
    return answer;
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return std::string();
    std::string data;
    LARGE_INTEGER size = {};
    // PPDs and blocks are small; a huge file is refused rather than read.
    if (GetFileSizeEx(f, &size) && size.QuadPart > 0 && size.QuadPart < (64 << 20)) {
        data.resize(size_t(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(f, data.data(), DWORD(data.size()), &read, nullptr))
            read = 0;
        data.resize(read);
    }
    CloseHandle(f);
    return data;
}

bool WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(f, data, DWORD(size), &written, nullptr);
    CloseHandle(f);
    return ok && written == size;
}

std::string Narrow(std::u16string_view s) {
    if (s.empty())
        return std::string();
    const wchar_t* w = reinterpret_cast<const wchar_t*>(s.data());
    int n = WideCharToMultiByte(CP_UTF8, 0, w, int(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, w, int(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string Narrow(const wchar_t* s) {
    return s ? Narrow(std::u16string_view(reinterpret_cast<const char16_t*>(s))) : std::string();
}

void EnsureCommonControls6() {
    static bool done = false;
    if (done)
        return;
    done = true;
    static const char kManifest[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\r\n"
        "<dependency><dependentAssembly><assemblyIdentity type=\"win32\" "
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\" "
        "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
        "</dependentAssembly></dependency></assembly>\r\n";
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + L"drvhost-comctl6-" +
                        std::to_wstring(GetCurrentProcessId()) + L".manifest";
    if (!WriteWholeFile(path, kManifest, sizeof kManifest - 1))
        return;
    ACTCTXW ctx = {};
    ctx.cbSize = sizeof ctx;
    ctx.lpSource = path.c_str();
    HANDLE actCtx = CreateActCtxW(&ctx);
    DeleteFileW(path.c_str());
    ULONG_PTR cookie = 0;
    // Active for the rest of the process: every sheet and page uses version 6.
    if (actCtx != INVALID_HANDLE_VALUE)
        ActivateActCtx(actCtx, &cookie);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

} // namespace drvhost
