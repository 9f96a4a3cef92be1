#include "app/FileDialogs.h"

#include <algorithm>

#include "platform/Platform.h"

namespace vtl {

namespace {

constexpr std::uint32_t kOpenFlags = 4100;  // file must exist, no read-only box
constexpr std::uint32_t kSaveFlags = 8198;  // prompt to create and to overwrite, no read-only box

platform::Platform::OpenFileName dialogFor(std::uintptr_t owner, std::string filter,
                                           const std::string& title,
                                           const std::string& initialDir) {
    if (filter.empty() || filter.back() != '|')
        filter += '|';
    std::replace(filter.begin(), filter.end(), '|', '\0');
    platform::Platform::OpenFileName dialog;
    dialog.owner = owner;
    dialog.filter = filter;
    dialog.file = std::string(254, ' ');
    dialog.maxFile = 255;
    dialog.fileTitle = std::string(254, ' ');
    dialog.maxFileTitle = 255;
    dialog.initialDir = initialDir;
    dialog.title = title;
    return dialog;
}

std::string trimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string ShowOpenDialog(std::uintptr_t owner, const std::string& filter,
                           const std::string& title, const std::string& initialDir) {
    auto dialog = dialogFor(owner, filter, title, initialDir);
    dialog.flags = kOpenFlags;
    return platform::sys().GetOpenFileName(dialog) ? trimBlanks(dialog.file) : "";
}

std::string ShowSaveDialog(std::uintptr_t owner, const std::string& filter,
                           const std::string& title, const std::string& initialDir,
                           const std::string& defaultExt) {
    auto dialog = dialogFor(owner, filter, title, initialDir);
    dialog.flags = kSaveFlags;
    dialog.defExt = defaultExt;
    return platform::sys().GetSaveFileName(dialog) ? trimBlanks(dialog.file) : "";
}

}  // namespace vtl
