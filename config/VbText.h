// Text conversions with the semantics the stored formats were written with.
#pragma once

#include <string>

namespace vtl {

// The leading decimal number of a text, 0 when there is none. Blanks and tabs
// anywhere are skipped, as a Basic Val does ("4.08 (en)" gives 4.08).
double Val(const std::string& text);

// ASCII case, as the system's names compare.
std::string UCase(std::string text);
std::string LCase(std::string text);
bool SameText(const std::string& a, const std::string& b);
// Without surrounding blanks (spaces only).
std::string Trim(const std::string& text);

}  // namespace vtl
