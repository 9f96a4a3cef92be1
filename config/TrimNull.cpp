#include "config/modAPI.h"

namespace vtl {

std::string TrimNull(const std::string& text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    auto last = text.find_last_not_of(' ');
    std::string trimmed = text.substr(first, last - first + 1);
    trimmed.pop_back();
    return trimmed;
}

}  // namespace vtl
