#include "platform/Platform.h"

#include <stdexcept>

namespace vtl::platform {

namespace {
Platform* g_platform = nullptr;
}

Answer defaultAnswer(std::uint32_t style) {
    static constexpr Answer kButtons[][3] = {
        {Answer::OK, Answer::OK, Answer::OK},
        {Answer::OK, Answer::Cancel, Answer::Cancel},
        {Answer::Abort, Answer::Retry, Answer::Ignore},
        {Answer::Yes, Answer::No, Answer::Cancel},
        {Answer::Yes, Answer::No, Answer::No},
        {Answer::Retry, Answer::Cancel, Answer::Cancel},
    };
    std::uint32_t buttons = style & mb::ButtonMask;
    if (buttons > 5)
        buttons = 0;
    std::uint32_t which = (style & mb::DefaultMask) >> 8;
    if (which > 2)
        which = 0;
    return kButtons[buttons][which];
}

Platform& sys() {
    if (g_platform == nullptr)
        throw std::logic_error("no platform installed");
    return *g_platform;
}

void setPlatform(Platform* platform) {
    g_platform = platform;
}

PlatformScope::PlatformScope(Platform& platform) : previous_(g_platform) {
    g_platform = &platform;
}

PlatformScope::~PlatformScope() {
    g_platform = previous_;
}

}  // namespace vtl::platform
