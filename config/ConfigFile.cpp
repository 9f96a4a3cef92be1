#include "config/ConfigFile.h"

#include "config/ProfileFile.h"
#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl {

namespace {
constexpr std::uint32_t kBufferSize = 255;
}

std::string ReadConfigValue(const std::string& section, const std::string& key,
                            const std::string& file) {
    const ProfileString read =
        GetPrivateProfileString(section, key, "", kBufferSize, platform::sys().HostPath(file));
    // A blank-filled buffer as the call leaves it: the value, its NUL, blanks.
    std::string buffer(kBufferSize, ' ');
    buffer.replace(0, read.bytes.size(), read.bytes);
    buffer[read.bytes.size()] = '\0';
    return TrimNull(buffer);
}

bool WriteConfigValue(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& file) {
    return WritePrivateProfileString(section, key, value, platform::sys().HostPath(file));
}

}  // namespace vtl
