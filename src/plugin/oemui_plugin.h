#pragma once

#include "abi/oemui_abi.h"
#include "core/plugin_session.h"

#include <vector>

namespace zd {

class OemUiPlugin final : public PluginSession {
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

    STDMETHODIMP QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) override;
    STDMETHODIMP HideStandardUI(DWORD) override;
    STDMETHODIMP DocumentEvent(HANDLE printer, HDC dc, INT event, ULONG inSize, PVOID in,
                               ULONG outSize, PVOID out, PINT result) override;

    // DEVMODE copies handed out at DOCUMENTEVENT_CREATEDCPRE and not yet
    // freed at DOCUMENTEVENT_CREATEDCPOST.
    size_t heldDevModeCopies();

  private:
    LONG DocumentSheetSetUp(PPROPSHEETUI_INFO info);

    volatile LONG refCount_ = 1;
    SRWLOCK copiesLock_ = SRWLOCK_INIT;
    std::vector<DEVMODEW*> copies_;
};

} // namespace zd
