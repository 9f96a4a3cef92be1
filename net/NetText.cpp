#include "net/NetText.h"

namespace vtl {

std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement) {
    if (search.empty())
        return text;
    std::string result = text;
    // A new match can only start up to search.size()-1 characters before the
    // last replacement, so searching from there finds what a search from the
    // start would. A replacement holding the search text would never end that
    // way; it continues after itself instead.
    const bool restart = replacement.find(search) == std::string::npos;
    std::size_t from = 0;
    for (;;) {
        auto at = result.find(search, from);
        if (at == std::string::npos)
            break;
        result.replace(at, search.size(), replacement);
        if (!restart) {
            from = at + replacement.size();
        } else {
            from = at >= search.size() - 1 ? at - (search.size() - 1) : 0;
        }
    }
    return result;
}

std::vector<std::uint8_t> CommaListToBytes(const std::string& text) {
    if (text.empty())
        return {0, 0};
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size());
    for (char c : text)
        bytes.push_back(c == ',' ? 0 : static_cast<std::uint8_t>(c));
    return bytes;
}

}  // namespace vtl
