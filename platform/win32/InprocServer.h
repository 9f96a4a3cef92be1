// A COM in-process server for one add-in class: its class factory, an
// IDispatch object that calls an AddInObject by member name, registration
// under HKEY_CLASSES_ROOT, and the counts behind DllCanUnloadNow. An add-in
// DLL's exported entries forward here.
#pragma once

#include <windows.h>
// windows.h first.
#include <oleauto.h>

#include <memory>

#include "addins/AddInObject.h"

namespace vtl::win32 {

struct InprocClass {
    CLSID clsid;
    const char* progId;
    const char* description;     // default value of the class's keys
    const char* const* members;  // matched without regard to case; DISPIDs 1, 2, ...
    unsigned memberCount;
    std::unique_ptr<AddInObject> (*create)();
};

HRESULT InprocGetClassObject(const InprocClass& cls, REFCLSID clsid, REFIID iid, void** out);
HRESULT InprocCanUnloadNow();
// Writes <ProgID>\CLSID and CLSID\{clsid} with InprocServer32 (the DLL's path,
// ThreadingModel "Apartment") and ProgID.
HRESULT InprocRegister(const InprocClass& cls, HMODULE module);
// Removes what InprocRegister wrote.
HRESULT InprocUnregister(const InprocClass& cls);

}  // namespace vtl::win32

// The exports of an add-in DLL with one class: `cls` (an InprocClass), `classes`
// (its one VantrelComAddInClass) and `module`, the HMODULE variable DllMain sets.
#define VANTREL_INPROC_SERVER(cls, classes, module)                    \
    extern "C" {                                                       \
    BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {    \
        if (reason == DLL_PROCESS_ATTACH) {                            \
            module = instance;                                         \
            DisableThreadLibraryCalls(instance);                       \
        }                                                              \
        return TRUE;                                                   \
    }                                                                  \
    STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) { \
        return vtl::win32::InprocGetClassObject(cls, clsid, iid, out); \
    }                                                                  \
    STDAPI DllCanUnloadNow() {                                         \
        return vtl::win32::InprocCanUnloadNow();                       \
    }                                                                  \
    STDAPI DllRegisterServer() {                                       \
        return vtl::win32::InprocRegister(cls, module);                \
    }                                                                  \
    STDAPI DllUnregisterServer() {                                     \
        return vtl::win32::InprocUnregister(cls);                      \
    }                                                                  \
    const VantrelComAddInClass* VantrelAddInClasses(unsigned* count) { \
        *count = 1;                                                    \
        return classes;                                                \
    }                                                                  \
    }
