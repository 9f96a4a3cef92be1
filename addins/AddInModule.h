// What an add-in module (a shared library in the program folder's addins/
// folder) exports: one C function returning a table of the classes it
// provides and a factory for them. The module is built from this source tree
// with the same compiler, so the objects it makes are AddInObjects.
#pragma once

#include <cstdint>

#include "addins/AddInObject.h"

namespace vtl::platform {
class Platform;
}  // namespace vtl::platform
namespace vtl::ui {
class DialogService;
}  // namespace vtl::ui

namespace vtl {
// Raised whenever the table or the shared types change.
inline constexpr std::uint32_t kAddInAbi = 2;
// The name of the function every module exports.
inline constexpr const char* kAddInEntry = "vantrel_addin_classes";
}  // namespace vtl

extern "C" {

struct VantrelAddInClass {
    const char* className;  // e.g. "NetworkDrives.clsNetworkDrives"
    const char* name;       // the add-in's name in the settings store
    const char* os;         // "9x", "NT", "2K" or "*"
    const char* version;
};

// What the program lends a module: the platform its code calls and the dialog
// service its dialogs are shown with (null: none).
struct VantrelAddInHost {
    vtl::platform::Platform* platform;
    vtl::ui::DialogService* forms;
};

struct VantrelAddInModule {
    std::uint32_t abi;          // vtl::kAddInAbi
    std::uint32_t variantSize;  // sizeof(vtl::Variant) as the module sees it
    const VantrelAddInClass* classes;
    std::uint32_t classCount;
    // A new object of the class (deleted by the caller), or null for a class
    // the module does not provide.
    vtl::AddInObject* (*create)(const char* className);
    // The host the module's code uses; set before every call into it.
    void (*bindHost)(const VantrelAddInHost* host);
};

using VantrelAddInClassesFn = const VantrelAddInModule* (*)();

}  // extern "C"
