// Add-ins as COM objects: created from their registered class names (ProgIDs)
// and called late-bound through IDispatch.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vtl::win32 {

// A new object of the registered class; null when no such class is registered.
// Throws VtlError when the class is registered but no object can be made.
std::shared_ptr<AddInObject> CreateComAddIn(const std::string& className);

// The add-ins that ship in `appPath` (the program's folder): each is
// registered with COM on first use, and described for the settings store.
std::vector<platform::Platform::AddInClassInfo> ShippedComAddIns(const std::string& appPath);

}  // namespace vtl::win32
