// The Open and Save As dialogs of the file commands.
#pragma once

#include <cstdint>
#include <string>

namespace vtl {

inline constexpr const char* kVtlFilter = "Vantrel Files (*.vtl)|*.vtl|All Files (*.*)|*.*";

// `filter` holds pairs of description and pattern separated by "|". Each
// returns the dialog's file buffer with blanks trimmed from both ends (the
// path followed by its NUL: pass it through TrimNull), or "" when cancelled.
std::string ShowOpenDialog(std::uintptr_t owner, const std::string& filter,
                           const std::string& title, const std::string& initialDir);
std::string ShowSaveDialog(std::uintptr_t owner, const std::string& filter,
                           const std::string& title, const std::string& initialDir,
                           const std::string& defaultExt);

}  // namespace vtl
