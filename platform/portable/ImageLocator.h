// Which machine image a run uses.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace vtl::portable {

// The image named by `option` (--machine), else by the environment variable
// VANTREL_MACHINE, else the user's default image ($XDG_DATA_HOME/vantrel/machine,
// or ~/.local/share/vantrel/machine), which is made on first use as a copy of
// `defaultSample` and announced on `notice`. Throws ImageError when no image
// can be had; an existing image is never overwritten.
std::filesystem::path locateImage(const std::optional<std::string>& option,
                                  const std::filesystem::path& defaultSample, std::ostream& notice);

}  // namespace vtl::portable
