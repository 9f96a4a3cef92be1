// The print dialog as the program uses it: the device-mode and device-names
// blocks it is given and gives back, and the shared procedure that shows it
// for the program's current printer (File > Print Setup).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DeviceBlocks.h"

namespace vtl::ui {

// The blocks' codecs, as the print dialog's users know them.
using platform::DevMode;
using platform::DevNames;
using platform::makeDevMode;
using platform::makeDevNames;
using platform::readDevMode;
using platform::readDevNames;

// Shows the print dialog for the program's current printer with `flags`
// (PD_PRINTSETUP: the print-setup mode). On OK makes the chosen printer the
// current one and gives it the chosen copies, duplex and orientation (values
// the printer rejects are ignored) and returns true; false when cancelled.
bool showPrinterDialog(std::uintptr_t hwndOwner, std::uint32_t flags);

}  // namespace vtl::ui
