// What the plug-in object keeps for the driver's option tree: the driver's
// interface and heap, the working records of the document and printer
// sheets, and their call blocks. The object derives from it (one chain of
// single inheritance, so the call block's user pointer is the object itself)
// and the tree code reaches the session without knowing the object above it.
#pragma once

#include "abi/oemui_abi.h"
#include "core/ui_context.h"

namespace zd {

class PluginSession : public IPrintOemUI2 {
  public:
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

  protected:
    PluginSession() = default;
    ~PluginSession() = default;

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
