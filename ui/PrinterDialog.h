// The print dialog as the program uses it: the device-mode and device-names
// blocks it is given and gives back, and the shared procedure that shows it
// for the program's current printer (File > Print Setup).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtl::ui {

// The fields of a device-mode block the program reads and writes.
struct DevMode {
    std::string deviceName;  // up to the first NUL, at most 32 characters
    std::uint32_t fields = 0;
    std::int16_t orientation = 0;
    std::int16_t copies = 0;
    std::int16_t duplex = 0;  // 0: unset
};
std::vector<std::uint8_t> makeDevMode(const DevMode& mode);
// Fields beyond a short block read as zero.
DevMode readDevMode(const std::vector<std::uint8_t>& block);

// The three names of a device-names block.
struct DevNames {
    std::string driver;
    std::string device;
    std::string port;
};
// Driver at offset 8, each further name right after the previous one's NUL;
// text beyond the block's 100 characters is cut.
std::vector<std::uint8_t> makeDevNames(const DevNames& names);
// A name whose offset lies outside the block reads as empty.
DevNames readDevNames(const std::vector<std::uint8_t>& block);

// Shows the print dialog for the program's current printer with `flags`
// (PD_PRINTSETUP: the print-setup mode). On OK makes the chosen printer the
// current one and gives it the chosen copies, duplex and orientation (values
// the printer rejects are ignored) and returns true; false when cancelled.
bool showPrinterDialog(std::uintptr_t hwndOwner, std::uint32_t flags);

}  // namespace vtl::ui
