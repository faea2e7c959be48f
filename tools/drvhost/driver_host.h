// The emulated PostScript driver: loads zdui.dll as the driver does, builds
// the DEVMODE and the option trees from the printer's PPD and answers the
// plug-in's calls back into the driver.
#pragma once

#include "abi/oemui_abi.h"
#include "tree_plan.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace drvhost {

struct HostOptions {
    std::wstring pluginPath;          // empty: zdui.dll beside the executable
    TreeOptions document;             // omitted built-ins, initial selections
    TreeOptions device;               // installable options (selections by keyword)
    std::vector<uint8_t> storedBlock; // a stored private block to merge; empty: defaults
    bool refuseUpdates = false;       // DrvUpdateUISetting answers FALSE
    DWORD pageFlags = 0;              // OEMUIPSPARAM dwFlags (DM_NOPERMISSION 0x20)
    // The user may not write the printer's data: while the host has the
    // printer open, its PrinterDriverData key denies writes to everyone.
    bool printerDataReadOnly = false;
};

// One DrvUpdateUISetting call, in call order.
struct UpdateCall {
    bool device = false; // the item belongs to the device tree
    int item = -1;       // index in its tree's driver items; -1 for a foreign pointer
    std::string keyword; // the item's feature keyword (or built-in name)
    DWORD previous = 0;
    DWORD mode = 0;
    LONG newSel = 0; // the item's Sel at the time of the call
    BOOL answer = FALSE;
};

struct Timing {
    std::string what;
    double ms = 0;
};

// One option tree as the driver hands it to CommonUIProp. Every record that
// the items point to is owned here and stays at its address.
struct OptionTree {
    std::vector<PlanItem> plan;
    std::vector<OPTITEM> items;
    std::vector<OPTITEM> pluginItems; // at least one record; param.cOEMOptItems are the plug-in's
    OEMCUIPPARAM param = {};
    std::deque<std::u16string> texts;
    std::deque<std::string> keywords;
    std::deque<OPTTYPE> types;
    std::deque<std::vector<OPTPARAM>> params;
    std::deque<USERDATA> userData;
    bool built = false;
};

class DriverHost;

// One job's document events as the driver's DrvDocumentEvent passes them to
// the plug-in: DOCUMENTEVENT_CREATEDCPRE, then DOCUMENTEVENT_CREATEDCPOST.
struct PrintJobResult {
    bool interface2 = false; // the plug-in answers IPrintOemUI2
    HRESULT preHr = S_OK, postHr = S_OK;
    int preResult = 0, postResult = 0;
    bool cancelled = false;                // the pre event failed: no device context
    const DEVMODEW* replacement = nullptr; // what the plug-in put in pvOut (freed by now)
    std::vector<uint8_t> jobBlock;         // the private block the job carries
};

// What the plug-in receives as OEMUIOBJ: the published record first, so
// that the pointer it passes back finds the host.
struct HostUiObject {
    OEMUIOBJ obj;
    DriverHost* host;
};

class DriverHost {
  public:
    explicit DriverHost(HostOptions options = {});
    ~DriverHost();
    DriverHost(const DriverHost&) = delete;
    DriverHost& operator=(const DriverHost&) = delete;

    // LoadLibrary, DllGetClassObject, CreateInstance, IPrintOemUI,
    // PublishDriverInterface.
    bool Load(std::wstring* error);
    // Takes a plug-in object of this process instead (tests): AddRef and
    // PublishDriverInterface as after Load.
    bool Attach(IPrintOemUI* plugin, std::wstring* error);
    // Opens the printer and reads its PPD (the driver's data file).
    bool OpenPrinter(const std::wstring& printerName, std::wstring* error);

    // GetInfo: the plug-in's signature and version (false when refused).
    bool GetInfo(DWORD mode, DWORD* value, HRESULT* hr = nullptr);
    // DevMode: size query, defaults, then the merge of a stored block.
    bool PrepareDevMode(std::wstring* error);
    // CommonUIProp twice: count query, then the item array.
    bool BuildDocumentTree(std::wstring* error);
    bool BuildDeviceTree(std::wstring* error);

    IPrintOemUI* plugin() const { return plugin_; }
    HANDLE printer() const { return printer_; }
    const std::wstring& printerName() const { return printerName_; }
    const std::wstring& ppdPath() const { return ppdPath_; }
    const std::wstring& driverName() const { return driverName_; }
    const PpdFile& ppd() const { return ppd_; }
    HANDLE heap() const { return heap_; }
    HostOptions& options() { return options_; }
    OEMUIOBJ* uiObject() { return &uiObject_.obj; }
    IUnknown* driverObject() const;

    OptionTree& documentTree() { return document_; }
    OptionTree& deviceTree() { return device_; }
    DWORD oemBlockSize() const { return oemSize_; }
    // The private block inside the DEVMODE (oemBlockSize() bytes).
    uint8_t* oemBlock();
    std::vector<uint8_t> OemBlockCopy();
    DEVMODEW* publicDevMode();
    // Brings the public DEVMODE in line with the document items.
    void SyncPublicDevMode();
    // The whole DEVMODE (public part and private block), kept when a sheet
    // opens and put back when it is cancelled: the caller's DEVMODE changes
    // only when the user confirms, as with the real driver.
    std::vector<uint8_t> DevModeBytes() const { return devmode_; }
    void RestoreDevMode(const std::vector<uint8_t>& bytes) {
        // In place: the plug-in holds pointers into the buffer.
        if (bytes.size() == devmode_.size())
            std::copy(bytes.begin(), bytes.end(), devmode_.begin());
    }
    // Plays one job's creation of a device context (or of an information
    // context) with the current DEVMODE, as the driver passes the events on.
    bool PlayCreateDc(PrintJobResult* out, bool informationContext, std::wstring* error);

    // Index of a driver item by keyword / public identifier / item id / name id; -1 if none.
    int FindItem(const OptionTree& tree, std::string_view keyword) const;
    int FindPublicItem(const OptionTree& tree, uint8_t dmPubId) const;

    // The driver services.
    BOOL GetDriverSetting(PCSTR feature, PVOID out, DWORD size, PDWORD needed, PDWORD count);
    BOOL UpdateUISetting(PVOID item, DWORD previous, DWORD mode);
    const std::vector<UpdateCall>& updateCalls() const { return calls_; }
    void ClearUpdateCalls() { calls_.clear(); }

    // Timings of the host's calls into the plug-in.
    const std::vector<Timing>& timings() const { return timings_; }
    void AddTiming(std::string what, std::chrono::steady_clock::time_point start);

  private:
    bool BuildTree(OptionTree& tree, DWORD mode, std::vector<PlanItem> plan, std::wstring* error);

    HostOptions options_;
    HMODULE module_ = nullptr;
    IPrintOemUI* plugin_ = nullptr;
    struct DriverObject;
    std::unique_ptr<DriverObject> driver_;
    HANDLE printer_ = nullptr;
    HANDLE heap_ = nullptr;
    std::wstring printerName_, ppdPath_, driverName_;
    PpdFile ppd_;
    OEMUIPROCS procs_ = {};
    HostUiObject uiObject_ = {};
    std::vector<uint8_t> devmode_; // public DEVMODEW followed by the private block
    DWORD oemSize_ = 0;
    OptionTree document_, device_;
    std::vector<UpdateCall> calls_;
    std::vector<Timing> timings_;
    std::vector<BYTE> printerDataSecurity_; // the key's DACL before it denied writes
};

// Reads a whole file ("" on failure).
std::string ReadWholeFile(const std::wstring& path);
bool WriteWholeFile(const std::wstring& path, const void* data, size_t size);
std::string Narrow(std::u16string_view s); // UTF-8
std::string Narrow(const wchar_t* s);

// comctl32 version 6 for the process (property sheets as the driver shows them).
void EnsureCommonControls6();

} // namespace drvhost
