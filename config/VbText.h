// Text conversions with the semantics the stored formats were written with.
#pragma once

#include <string>

namespace vtl {

// The leading decimal number of a text, 0 when there is none. Blanks and tabs
// anywhere are skipped, as a Basic Val does ("4.08 (en)" gives 4.08).
double Val(const std::string& text);

}  // namespace vtl
