// File dialogs and top-level windows on a machine image. Each interactive
// instance of the program keeps a record of its main window in the image's
// "instances" folder; the records of live processes of the same user are the
// session's windows.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/portable/PortablePlatform.h"

namespace fs = std::filesystem;

namespace vtl::portable {

namespace {

std::string userPrefix() {
    return std::to_string(::getuid()) + ".";
}

bool processAlive(std::uintptr_t pid) {
    if (pid == 0 || pid > static_cast<std::uintptr_t>(INT32_MAX))
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::uintptr_t ownWindow() {
    return static_cast<std::uintptr_t>(::getpid());
}

// Writes `content` to `file` through a temporary file renamed over it.
bool replaceFile(const fs::path& file, const std::string& content) {
    const fs::path temporary = file.string() + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!(out << content) || !out.flush())
            return false;
    }
    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec)
        fs::remove(temporary, ec);
    return !ec;
}

}  // namespace

bool PortablePlatform::choose(bool save, OpenFileName& dialog) {
    std::optional<std::string> chosen = fileDialogHandler_(save, dialog);
    if (!chosen)
        return false;
    // As the Windows dialog does: the path and its NUL over the blank-filled buffer.
    std::string buffer = *chosen + '\0';
    if (buffer.size() < dialog.file.size())
        buffer += dialog.file.substr(buffer.size());
    dialog.file = buffer;
    return true;
}

bool PortablePlatform::GetOpenFileName(OpenFileName& dialog) {
    if (!fileDialogHandler_)
        return false;
    return choose(false, dialog);
}

bool PortablePlatform::GetSaveFileName(OpenFileName& dialog) {
    if (!fileDialogHandler_)
        return false;
    return choose(true, dialog);
}

fs::path PortablePlatform::instanceRecord(std::uintptr_t window) const {
    return imageDir_ / "instances" / (userPrefix() + std::to_string(window));
}

void PortablePlatform::publishMainWindow(const std::string& caption, bool shown, bool iconic) {
    std::error_code ec;
    fs::create_directories(imageDir_ / "instances", ec);
    std::string record = caption;
    for (char& c : record) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    record += std::string("\n") + (shown ? "shown" : "hidden") + "\n" +
              (iconic ? "minimised" : "normal") + "\n";
    published_ = replaceFile(instanceRecord(ownWindow()), record) || published_;
}

void PortablePlatform::closeMainWindow() {
    if (!published_)
        return;
    std::error_code ec;
    fs::remove(instanceRecord(ownWindow()), ec);
    fs::remove(instanceRecord(ownWindow()).string() + ".requests", ec);
    published_ = false;
}

std::vector<std::string> PortablePlatform::takeWindowRequests() {
    const fs::path file = instanceRecord(ownWindow()).string() + ".requests";
    const fs::path taken = file.string() + ".taken";
    std::error_code ec;
    fs::rename(file, taken, ec);
    std::vector<std::string> requests;
    if (ec)
        return requests;
    std::ifstream in(taken);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty())
            requests.push_back(line);
    }
    fs::remove(taken, ec);
    return requests;
}

std::optional<PortablePlatform::WindowRecord> PortablePlatform::readWindow(std::uintptr_t window) {
    if (window != ownWindow() && !processAlive(window))
        return std::nullopt;
    std::ifstream in(instanceRecord(window));
    if (!in)
        return std::nullopt;
    WindowRecord record;
    std::string shown, iconic;
    std::getline(in, record.caption);
    std::getline(in, shown);
    std::getline(in, iconic);
    record.shown = shown == "shown";
    record.iconic = iconic == "minimised";
    return record;
}

void PortablePlatform::EnumWindows(const std::function<bool(std::uintptr_t window)>& callback) {
    std::error_code ec;
    std::vector<std::uintptr_t> windows;
    const std::string prefix = userPrefix();
    for (fs::directory_iterator it(imageDir_ / "instances", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(prefix, 0) != 0)
            continue;
        const std::string id = name.substr(prefix.size());
        if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos || id.size() > 10)
            continue;
        const auto window = static_cast<std::uintptr_t>(std::stoull(id));
        if (window != ownWindow() && !processAlive(window)) {
            // The record of an instance that ended without withdrawing it.
            std::error_code ignored;
            fs::remove(it->path(), ignored);
            fs::remove(it->path().string() + ".requests", ignored);
            continue;
        }
        windows.push_back(window);
    }
    for (std::uintptr_t window : windows) {
        if (!callback(window))
            return;
    }
}

bool PortablePlatform::PrevInstance() {
    bool found = false;
    EnumWindows([&](std::uintptr_t window) {
        found = window != ownWindow();
        return !found;
    });
    return found;
}

bool PortablePlatform::IsWindowVisible(std::uintptr_t window) {
    const auto record = readWindow(window);
    return record && record->shown;
}

std::string PortablePlatform::GetWindowText(std::uintptr_t window) {
    const auto record = readWindow(window);
    return record ? record->caption : "";
}

bool PortablePlatform::IsIconic(std::uintptr_t window) {
    const auto record = readWindow(window);
    return record && record->iconic;
}

bool PortablePlatform::requestWindow(std::uintptr_t window, const std::string& request) {
    if (!readWindow(window))
        return false;
    std::ofstream out(instanceRecord(window).string() + ".requests", std::ios::app);
    out << request << '\n';
    return static_cast<bool>(out.flush());
}

bool PortablePlatform::ShowWindow(std::uintptr_t window, int showCmd) {
    switch (showCmd) {
        case platform::SW_RESTORE:
        case platform::SW_SHOWNORMAL:
            return requestWindow(window, "restore");
        default:
            return false;
    }
}

bool PortablePlatform::SetForegroundWindow(std::uintptr_t window) {
    return requestWindow(window, "front");
}

}  // namespace vtl::portable
