// The device-mode and device-names blocks that PrintDlgA takes and gives back,
// as the program reads and writes them (layouts in Platform.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtl::platform {

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

}  // namespace vtl::platform
