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
