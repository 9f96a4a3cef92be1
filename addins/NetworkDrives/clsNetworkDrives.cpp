#include "addins/NetworkDrives/clsNetworkDrives.h"

#include <cctype>

#include "addins/AddInForms.h"
#include "addins/NetworkDrives/frmNetworkDrives.h"
#include "config/ConfigFile.h"
#include "config/VbText.h"
#include "config/VtlError.h"
#include "platform/Platform.h"
#include "ui/DialogService.h"

namespace vtl::netdrives {

namespace {

constexpr int kMaxDrives = 26;

int count(const std::string& text) {
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
        if (n > kMaxDrives)
            return kMaxDrives;
    }
    return n;
}

void write(const std::string& key, const std::string& value, const std::string& file) {
    if (!WriteConfigValue(kSection, key, value, file)) {
        throw VtlError(kErrorBase + 0x310, kClassName,
                       "Could not write the network drives into '" + file + "'.");
    }
}

}  // namespace

bool isNetworkPath(const std::string& path) {
    if (path.size() < 5 || path[0] != '\\' || path[1] != '\\')
        return false;
    const auto slash = path.find('\\', 2);
    return slash != std::string::npos && slash > 2 && slash + 1 < path.size() &&
           path[slash + 1] != '\\';
}

Variant clsNetworkDrives::Invoke(const std::string& member, const std::vector<Variant>& args) {
    const std::string name = UCase(member);
    const auto arguments = [&](std::size_t n) {
        if (args.size() != n) {
            throw VtlError(450, kClassName,
                           "Wrong number of arguments or invalid property assignment");
        }
    };
    if (name == "LOADSETTINGS") {
        arguments(1);
        LoadSettings(args[0].text());
    } else if (name == "SAVESETTINGS") {
        arguments(1);
        saveSettings(args[0].text());
    } else if (name == "INITIALIZE") {
        arguments(1);
        Initialize(args[0].text());
    } else if (name == "APPLYSETTINGS") {
        arguments(0);
        ApplySettings();
    } else if (name == "RESTART") {
        arguments(0);
        return Variant(restart());
    } else if (name == "SHOW") {
        arguments(1);
        Show(args[0].text());
    } else if (name == "CHANGED") {
        arguments(0);
        return Variant(Changed());
    } else if (name == "ABOUT") {
        arguments(0);
        about();
    } else {
        throw VtlError(438, kClassName, "Object doesn't support this property or method");
    }
    return {};
}

void clsNetworkDrives::LoadSettings(const std::string& file) {
    drives_.clear();
    restart_ = false;
    changed_ = false;
    const std::string countText = ReadConfigValue(kSection, "Count", file);
    if (countText.empty()) {
        reconnect_ = true;
        return;
    }
    reconnect_ = ReadConfigValue(kSection, "Reconnect", file) == "1";
    const int n = count(countText);
    for (int i = 1; i <= n; ++i) {
        NetworkDrive drive{UCase(ReadConfigValue(kSection, "Drive" + std::to_string(i), file)),
                           ReadConfigValue(kSection, "Path" + std::to_string(i), file)};
        if (!drive.letter.empty() || !drive.path.empty())
            drives_.push_back(std::move(drive));
    }
}

void clsNetworkDrives::saveSettings(const std::string& file) {
    write("Reconnect", reconnect_ ? "1" : "0", file);
    write("Count", std::to_string(drives_.size()), file);
    for (std::size_t i = 0; i < drives_.size(); ++i) {
        write("Drive" + std::to_string(i + 1), drives_[i].letter, file);
        write("Path" + std::to_string(i + 1), drives_[i].path, file);
    }
}

void clsNetworkDrives::Initialize(const std::string& options) {
    restart_ = false;
    ignoreMapErrors_ = UCase(options) == "IGNOREMAPERRORS";
}

void clsNetworkDrives::ApplySettings() {
    platform::Platform& os = platform::sys();
    for (const NetworkDrive& drive : drives_) {
        os.WNetCancelConnection2(drive.letter, platform::CONNECT_UPDATE_PROFILE, true);
        platform::NetResource resource;
        resource.scope = platform::RESOURCE_GLOBALNET;
        resource.type = platform::RESOURCETYPE_DISK;
        resource.localName = drive.letter;
        resource.remoteName = drive.path;
        const long rc = os.WNetAddConnection2(resource, nullptr, nullptr,
                                              reconnect_ ? platform::CONNECT_UPDATE_PROFILE : 0);
        if (rc == 0)
            continue;
        restart_ = true;
        if (!ignoreMapErrors_) {
            os.MessageBox(
                "Could not connect network drive [" + drive.letter + " - " + drive.path + "]",
                platform::mb::OK | platform::mb::IconExclamation, kAddInName);
        }
    }
}

void clsNetworkDrives::Show(const std::string& file) {
    changed_ = false;
    frmNetworkDrives dialog;
    dialog.setSettings(drives_, reconnect_, file);
    if (ui::DialogService* forms = addInForms())
        forms->ShowModal(dialog);
    if (dialog.Changed()) {
        drives_ = dialog.drives();
        reconnect_ = dialog.reconnect();
        changed_ = true;
    }
}

void clsNetworkDrives::about() {
    platform::sys().MessageBox(std::string(kAddInName) + " " + kVersion +
                                   "\r\n\r\nConnects the network drives of a configuration "
                                   "when it is applied.",
                               platform::mb::OK | platform::mb::IconInformation,
                               std::string("About ") + kAddInName);
}

}  // namespace vtl::netdrives
