#include "config/ConfigFile.h"

#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl {

namespace {
constexpr std::uint32_t kBufferSize = 255;
}

std::string ReadConfigValue(const std::string& section, const std::string& key,
                            const std::string& file) {
    const std::string value = platform::sys()
                                  .GetPrivateProfileString(section, key, "", kBufferSize, file)
                                  .substr(0, kBufferSize - 1);
    // A blank-filled buffer as the call leaves it: the value, its NUL, blanks.
    std::string buffer(kBufferSize, ' ');
    buffer.replace(0, value.size(), value);
    buffer[value.size()] = '\0';
    return TrimNull(buffer);
}

bool WriteConfigValue(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& file) {
    return platform::sys().WritePrivateProfileString(section, key, value, file);
}

}  // namespace vtl
