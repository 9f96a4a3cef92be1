// The two operations through which configuration files are read and written.
// `file` is the path as the program holds it; it is resolved on the platform.
#pragma once

#include <string>

namespace vtl {

// Longest value a read returns: the buffer holds 255 characters, one of them the NUL.
inline constexpr std::size_t kConfigValueMax = 254;

// A missing file, section or key reads as "".
std::string ReadConfigValue(const std::string& section, const std::string& key,
                            const std::string& file);
// Returns false when the file could not be written.
bool WriteConfigValue(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& file);

}  // namespace vtl
