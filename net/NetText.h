// Conversions between the model's comma lists and the registry's forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

// Every occurrence of `search` replaced by `replacement`, searching from the
// start again after each replacement.
std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement);

// One byte per character, "," becoming 0; the empty text gives two zero bytes.
// Written as a multi-string, "a,b" holds the two strings a and b.
std::vector<std::uint8_t> CommaListToBytes(const std::string& text);

}  // namespace vtl
