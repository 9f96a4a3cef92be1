// What an add-in DLL in the program's addins\ folder exports besides the COM
// server entries (DllGetClassObject, DllCanUnloadNow, DllRegisterServer,
// DllUnregisterServer): a table describing the classes it serves, so that the
// program can register them with COM and in its settings store.
#pragma once

extern "C" {

struct VantrelComAddInClass {
    const char* progId;   // the class name, e.g. "NetworkDrives.clsNetworkDrives"
    const char* name;     // the add-in's name in the settings store
    const char* os;       // "9x", "NT", "2K" or "*"
    const char* version;  // version text
};

// Returns the table and stores its length in `count`.
using VantrelComAddInClassesFn = const VantrelComAddInClass* (*)(unsigned* count);

}  // extern "C"

namespace vtl {
// The name under which the DLL exports its VantrelComAddInClassesFn.
inline constexpr const char* kComAddInEntry = "VantrelAddInClasses";
}  // namespace vtl
