#include "addins/NetworkDrives/frmNetworkDrives.h"

#include <algorithm>

#include "config/VbText.h"
#include "platform/Platform.h"

namespace vtl::netdrives {

namespace {

std::string fileName(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

frmNetworkDrives::frmNetworkDrives() : ui::Form("frmNetworkDrives") {
    setCaption(kAddInName);
    lstDrives.setToolTip("Network drives connected when the configuration is applied");
    lblDrive.setCaption("&Drive:");
    for (char letter = 'D'; letter <= 'Z'; ++letter)
        cboDrive.addItem(std::string(1, letter) + ":");
    lblPath.setCaption("&Path:");
    chkReconnect.setCaption("&Reconnect at logon");
    cmdAdd.setCaption("&Add");
    cmdAdd.setToolTip("Add the drive, or replace the path of its letter");
    cmdRemove.setCaption("Re&move");
    cmdRemove.setToolTip("Remove the selected drive");
    cmdOK.setCaption("OK");
    cmdCancel.setCaption("Cancel");

    lstDrives.onClick = [this] { lstDrives_Click(); };
    chkReconnect.onClick = [this] {
        if (!filling_)
            changed_ = true;
    };
    cmdAdd.onClick = [this] { cmdAdd_Click(); };
    cmdRemove.onClick = [this] { cmdRemove_Click(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void frmNetworkDrives::setSettings(const std::vector<NetworkDrive>& drives, bool reconnect,
                                   const std::string& file) {
    drives_ = drives;
    reconnect_ = reconnect;
    setCaption(std::string(kAddInName) + " - " +
               (file.empty() ? std::string("[Current Configuration]") : fileName(file)));
}

void frmNetworkDrives::load() {
    filling_ = true;
    chkReconnect.setValue(reconnect_ ? 1 : 0);
    fillList(drives_.empty() ? -1 : 0);
    filling_ = false;
    changed_ = false;
    confirmed_ = false;
}

void frmNetworkDrives::fillList(int select) {
    lstDrives.clear();
    for (const NetworkDrive& drive : drives_)
        lstDrives.addItem(drive.letter + "  " + drive.path);
    cmdRemove.setEnabled(false);
    if (select >= 0)
        lstDrives.setListIndex(select);
}

void frmNetworkDrives::lstDrives_Click() {
    const int index = lstDrives.listIndex();
    cmdRemove.setEnabled(index >= 0);
    if (index < 0)
        return;
    const NetworkDrive& drive = drives_[static_cast<std::size_t>(index)];
    cboDrive.setText(drive.letter);
    txtPath.setText(drive.path);
}

void frmNetworkDrives::warn(const std::string& text) {
    platform::sys().MessageBox(text, platform::mb::OK | platform::mb::IconExclamation, kAddInName);
}

void frmNetworkDrives::cmdAdd_Click() {
    const std::string letter = cboDrive.listIndex() < 0 ? std::string() : cboDrive.text();
    const std::string path = Trim(txtPath.text());
    if (letter.empty()) {
        warn("Choose a drive letter.");
        return;
    }
    if (!isNetworkPath(path)) {
        warn("Enter the network path in the form \\\\server\\share.");
        return;
    }
    auto it = std::find_if(drives_.begin(), drives_.end(),
                           [&](const NetworkDrive& d) { return d.letter == letter; });
    if (it != drives_.end()) {
        it->path = path;
    } else {
        it = drives_.insert(std::upper_bound(drives_.begin(), drives_.end(), letter,
                                             [](const std::string& l, const NetworkDrive& d) {
                                                 return l < d.letter;
                                             }),
                            NetworkDrive{letter, path});
    }
    changed_ = true;
    fillList(static_cast<int>(it - drives_.begin()));
}

void frmNetworkDrives::cmdRemove_Click() {
    const int index = lstDrives.listIndex();
    if (index < 0)
        return;
    drives_.erase(drives_.begin() + index);
    changed_ = true;
    fillList(-1);
}

void frmNetworkDrives::cmdOK_Click() {
    reconnect_ = chkReconnect.value() == 1;
    confirmed_ = true;
    setVisible(false);
}

void frmNetworkDrives::cmdCancel_Click() {
    changed_ = false;
    confirmed_ = false;
    setVisible(false);
}

}  // namespace vtl::netdrives
