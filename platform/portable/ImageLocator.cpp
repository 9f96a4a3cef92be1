#include "platform/portable/ImageLocator.h"

#include <cstdlib>
#include <system_error>

#include "platform/portable/RegFile.h"

namespace vtl::portable {

namespace fs = std::filesystem;

namespace {

fs::path userDataHome() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg != '\0') {
        return xdg;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return fs::path(home) / ".local" / "share";
    }
    throw ImageError("No machine image given: use --machine DIR or set VANTREL_MACHINE.");
}

}  // namespace

fs::path locateImage(const std::optional<std::string>& option, const fs::path& defaultSample,
                     std::ostream& notice) {
    if (option)
        return fs::path(*option);
    if (const char* env = std::getenv("VANTREL_MACHINE"); env != nullptr && *env != '\0') {
        return fs::path(env);
    }
    const fs::path image = userDataHome() / "vantrel" / "machine";
    std::error_code ec;
    if (fs::exists(image, ec))
        return image;
    if (!fs::is_directory(defaultSample, ec)) {
        throw ImageError("The sample machine " + defaultSample.string() +
                         " to copy as the default image is missing.");
    }
    // Copy beside the target and rename, so a failed copy never leaves half an image.
    const fs::path partial = image.string() + ".partial";
    fs::remove_all(partial, ec);
    fs::create_directories(image.parent_path(), ec);
    fs::copy(defaultSample, partial, fs::copy_options::recursive, ec);
    if (!ec)
        fs::rename(partial, image, ec);
    if (ec) {
        fs::remove_all(partial);
        throw ImageError("Cannot make the machine image " + image.string() + ": " + ec.message());
    }
    notice << "Vantrel: made the machine image " << image.string() << " as a copy of "
           << defaultSample.string() << "\n";
    return image;
}

}  // namespace vtl::portable
