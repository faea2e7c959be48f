#pragma once

#include "abi/oemui_abi.h"
#include "core/ui_context.h"

namespace zd {

class OemUiPlugin final : public IPrintOemUI {
  public:
    OemUiPlugin();
    ~OemUiPlugin();

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override;
    STDMETHODIMP DevMode(DWORD mode, POEMDMPARAM param) override;
    STDMETHODIMP PublishDriverInterface(IUnknown* driver) override;
    STDMETHODIMP CommonUIProp(DWORD mode, POEMCUIPPARAM param) override;
    STDMETHODIMP DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override;
    STDMETHODIMP DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override;
    STDMETHODIMP DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) override;
    STDMETHODIMP DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD,
                                    DWORD*) override;
    STDMETHODIMP UpgradePrinter(DWORD, PBYTE) override;
    STDMETHODIMP PrinterEvent(PWSTR printerName, INT event, DWORD flags, LPARAM lParam) override;
    STDMETHODIMP DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override;
    STDMETHODIMP QueryColorProfile(HANDLE printer, POEMUIOBJ obj, PDEVMODEW publicDm, PVOID oemDm,
                                   ULONG queryMode, VOID* data, ULONG* dataSize,
                                   FLONG* dataFlags) override;
    STDMETHODIMP FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override;
    STDMETHODIMP UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override;

    // The working records and call blocks, for the option tree code.
    IPrintOemDriverUI* driverInterface() const { return driver_; }
    HANDLE driverHeap() const { return heap_; }
    void setDriverHeap(HANDLE heap) { heap_ = heap; }
    UiContext* documentContext() const { return document_; }
    void setDocumentContext(UiContext* ctx) { document_ = ctx; }
    DeviceUiContext* deviceContext() const { return device_; }
    void setDeviceContext(DeviceUiContext* ctx) { device_ = ctx; }
    void setDocumentTree(OEMCUIPPARAM* p) { documentTree_ = p; }
    void setDeviceTree(OEMCUIPPARAM* p) { deviceTree_ = p; }
    OEMCUIPPARAM* documentTree() const { return documentTree_; }
    OEMCUIPPARAM* deviceTree() const { return deviceTree_; }

  private:
    LONG DocumentSheetSetUp(PPROPSHEETUI_INFO info);

    volatile LONG refCount_ = 1;
    IPrintOemDriverUI* driver_ = nullptr;
    HANDLE heap_ = nullptr;
    UiContext* document_ = nullptr;
    DeviceUiContext* device_ = nullptr;
    OEMCUIPPARAM* documentTree_ = nullptr;
    OEMCUIPPARAM* deviceTree_ = nullptr;
};

// Fails a method: sets the thread's last error and returns E_FAIL.
inline HRESULT FailWith(DWORD error) {
    SetLastError(error);
    return E_FAIL;
}

} // namespace zd
