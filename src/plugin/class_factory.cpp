#include "plugin/class_factory.h"

#include "plugin/oemui_plugin.h"
#include "core/process_state.h"

namespace zd {

STDMETHODIMP OemUiClassFactory::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) OemUiClassFactory::AddRef() {
    return InterlockedIncrement(&refCount_);
}

STDMETHODIMP_(ULONG) OemUiClassFactory::Release() {
    LONG n = InterlockedDecrement(&refCount_);
    if (n == 0)
        delete this;
    return ULONG(n);
}

STDMETHODIMP OemUiClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (outer) {
        if (out)
            *out = nullptr;
        return CLASS_E_NOAGGREGATION;
    }
    auto* plugin = new (std::nothrow) OemUiPlugin();
    if (!plugin)
        return E_OUTOFMEMORY;
    HRESULT hr = plugin->QueryInterface(iid, out);
    plugin->Release();
    return hr;
}

STDMETHODIMP OemUiClassFactory::LockServer(BOOL lock) {
    if (lock)
        InterlockedIncrement(&Process().lockCount);
    else
        InterlockedDecrement(&Process().lockCount);
    return S_OK;
}

} // namespace zd
