// Library entry points: process attach/detach and the two COM exports.
#include "abi/oemui_abi.h"
#include "core/late_libraries.h"
#include "core/process_state.h"
#include "plugin/class_factory.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        zd::Process().extensionModule = nullptr;
        zd::Process().moduleInstance = instance;
        break;
    case DLL_PROCESS_DETACH:
        // A terminating process (reserved set) unloads every library itself,
        // and the extension library may already be gone by now.
        if (zd::Process().extensionModule && !reserved) {
            FreeLibrary(zd::Process().extensionModule);
            zd::Process().extensionModule = nullptr;
        }
        if (!reserved)
            zd::ReleaseLateLibraries();
        break;
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (out)
        *out = nullptr; // a failed call hands out nothing
    if (!IsEqualCLSID(clsid, CLSID_OEMUI_))
        return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) zd::OemUiClassFactory();
    if (!factory)
        return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    if (zd::Process().objectCount != 0 || zd::Process().lockCount != 0)
        return S_FALSE;
    return S_OK;
}
