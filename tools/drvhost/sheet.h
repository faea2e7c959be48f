// The driver's property sheet: three pages of the driver's own (layout,
// paper/quality and the option tree) or its device-settings page, the pages
// the plug-in adds through the common sheet service, shown in a real
// modeless PropertySheetW.
#pragma once

#include "driver_host.h"

#include <string>
#include <vector>

namespace drvhost {

// Control ids of the driver's own pages.
namespace hostctl {
constexpr int ItemList = 101;
constexpr int ItemLabel = 102;
constexpr int OptionCombo = 103;
constexpr int ValueEdit = 104;
constexpr int SetValue = 105;
constexpr int PushItem = 106; // the plug-in's push-button item (device page)
} // namespace hostctl

// Index of the driver's option tree page in the document sheet.
constexpr int kTreePageIndex = 2;

struct SetResultCall {
    int page = -1; // index of the page whose handle was passed; -1 unknown
    LONG_PTR result = 0;
};

struct CallbackCall {
    WORD reason = 0;
    bool device = false;
    int item = -1; // driver item index, or -(1 + plug-in item index)
    LONG result = 0;
};

struct SheetPage {
    std::wstring title;
    bool fromPlugin = false;
    HPROPSHEETPAGE page = nullptr;
    HANDLE handle = nullptr; // what the sheet service gave the plug-in
};

class Sheet {
  public:
    Sheet(DriverHost& host, bool document);
    ~Sheet();
    Sheet(const Sheet&) = delete;
    Sheet& operator=(const Sheet&) = delete;

    // Runs the plug-in's sheet initialisation and creates the modeless sheet.
    // The option tree of the mode must be built.
    bool Open(std::wstring* error);
    HWND hwnd() const { return hwnd_; }
    bool isDocument() const { return document_; }
    // True until the sheet closed (OK or Cancel); finishing happens in Pump.
    bool isOpen() const { return hwnd_ != nullptr; }
    void Pump();
    // Runs the sheet until the user closes it (interactive use).
    void RunUntilClosed();
    // Closes the sheet as if cancelled, when it is still open.
    void Close();

    int pageCount() const { return int(pages_.size()); }
    const std::vector<SheetPage>& pages() const { return pages_; }
    int currentPage() const;
    HWND pageWindow(int index) const;
    bool SelectPage(int index);

    // What the plug-in did through the sheet service and its callbacks.
    const std::vector<SetResultCall>& setResults() const { return setResults_; }
    const std::vector<CallbackCall>& callbacks() const { return callbacks_; }
    const std::vector<std::wstring>& problems() const { return problems_; }
    // CPSUI_OK or CPSUI_CANCEL once the sheet has closed; -1 while open.
    LONG_PTR result() const { return result_; }
    LONG_PTR initResult() const { return initResult_; }
    std::wstring headerTitle() const { return headerTitle_; }

    // Internal: the host pages and the sheet service.
    DriverHost& host() { return host_; }
    OptionTree& tree() { return document_ ? host_.documentTree() : host_.deviceTree(); }
    LONG CallPlugin(WORD reason, HWND dlg, OPTITEM* item, LONG oldSel);
    LONG_PTR Service(UINT function, LPARAM l1, LPARAM l2);
    void NoteApplied() { applied_ = true; }

  private:
    void AddHostPage(const wchar_t* title, int kind);
    void Finish();

    DriverHost& host_;
    bool document_;
    HWND hwnd_ = nullptr;
    OEMUIPSPARAM psParam_ = {};
    PROPSHEETUI_INFO info_ = {};
    std::vector<SheetPage> pages_;
    std::vector<std::vector<WORD>> templates_;
    std::vector<std::unique_ptr<struct HostPage>> hostPages_;
    std::vector<SetResultCall> setResults_;
    std::vector<CallbackCall> callbacks_;
    std::vector<std::wstring> problems_;
    std::wstring caption_, headerTitle_;
    std::vector<uint8_t> devModeAtOpen_;
    LONG_PTR result_ = -1;
    LONG_PTR initResult_ = 0;
    bool applied_ = false;
    bool initialised_ = false;
};

} // namespace drvhost
