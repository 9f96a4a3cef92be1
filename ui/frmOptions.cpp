#include "ui/frmOptions.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "app/modReset.h"
#include "config/VbText.h"
#include "config/modAPI.h"
#include "registry/clsEasyRegistry.h"

namespace vtl::ui {

namespace {

constexpr const char* kRunValue = "Vantrel";
constexpr const char* kTrayValue = "VtlSysTray";
constexpr const char* kTrayProgram = "\\VtlSysTray.exe";
constexpr const char* kFileClass = "vtl_auto_file";
constexpr const char* kVerb = "Open with Vantrel";
constexpr const char* kRangeMessage = "Please enter a numeric value from 0 to 5.";

// The program's folder without a trailing "\".
std::string programFolder() {
    std::string folder = platform::sys().AppPath();
    while (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    return folder;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A value of a key, or nullopt when the key or the value cannot be read.
std::optional<std::string> readValue(const std::string& key, const std::string& name) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(key);
    if (reg.lastError() != 0)
        return std::nullopt;
    std::string text = reg.ValueText(name);
    if (reg.lastError() != 0)
        return std::nullopt;
    return text;
}

void writeRunValue(const std::string& name, const std::string& value) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_LOCAL_MACHINE");
    reg.MakeKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    reg.Cd(kRunKey);
    if (reg.lastError() == 0)
        reg.SetValue(name, STRING, Variant(value));
}

void deleteRunValue(const std::string& name) {
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(kRunKey);
    if (reg.lastError() == 0)
        reg.DeleteValue(name);
}

// Deletes a key with everything below it (an NT registry refuses to delete a
// key that has subkeys).
void deleteKeyTree(const std::string& key) {
    std::optional<std::vector<std::string>> children;
    {
        clsEasyRegistry reg;
        reg.SetSuppressErrors(true);
        reg.Cd(key);
        if (reg.lastError() != 0)
            return;
        children = reg.DirKey();
    }
    if (children) {
        for (const std::string& child : *children) {
            if (!child.empty())
                deleteKeyTree(key + "\\" + child);
        }
    }
    const auto cut = key.rfind('\\');
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd(key.substr(0, cut));
    if (reg.lastError() == 0)
        reg.DeleteKey(key.substr(cut + 1));
}

// Writes the default value of `key`, creating the key below its parent first.
void setDefaultValue(clsEasyRegistry& reg, const std::string& key, const std::string& value) {
    reg.Cd(key);
    if (reg.lastError() == 0)
        reg.SetValue("", STRING, Variant(value));
}

void writeAssociation(const std::string& folder) {
    deleteKeyTree(kFileTypeKey);
    deleteKeyTree(kFileClassKey);
    clsEasyRegistry reg;
    reg.SetSuppressErrors(true);
    reg.Cd("\\HKEY_CLASSES_ROOT");
    if (reg.lastError() != 0)
        return;
    reg.MakeKey(".vtl");
    reg.MakeKey(kFileClass);
    setDefaultValue(reg, kFileTypeKey, kFileClass);
    reg.Cd(kFileClassKey);
    if (reg.lastError() != 0)
        return;
    reg.MakeKey("shell");
    reg.MakeKey("DefaultIcon");
    reg.MakeKey(std::string("shell\\") + kVerb + "\\command");
    const std::string verbKey = std::string(kFileClassKey) + "\\shell\\" + kVerb;
    setDefaultValue(reg, std::string(kFileClassKey) + "\\DefaultIcon", folder + "\\Vtl.exe,0");
    setDefaultValue(reg, verbKey, "");
    setDefaultValue(reg, verbKey + "\\command", folder + "\\Vtl.exe %1");
}

// An open command of the file class that starts this program.
bool associated() {
    for (const char* verb : {kVerb, "open"}) {
        const auto command =
            readValue(std::string(kFileClassKey) + "\\shell\\" + verb + "\\command", "");
        if (!command || command->size() < 11)
            continue;
        std::string tail = command->substr(command->size() - 11);
        for (char& c : tail)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (tail == "\\VTL.EXE %1")
            return true;
    }
    return false;
}

// A text that reads as one number: blanks around it, a sign, digits with one
// decimal point, an exponent.
bool isNumeric(const std::string& text, double& number) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return false;
    const std::string trimmed = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::size_t i = 0;
    if (trimmed[i] == '+' || trimmed[i] == '-')
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i < trimmed.size() && (trimmed[i] == 'e' || trimmed[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < trimmed.size() && (trimmed[j] == '+' || trimmed[j] == '-'))
            ++j;
        const std::size_t exponent = j;
        while (j < trimmed.size() && std::isdigit(static_cast<unsigned char>(trimmed[j])))
            ++j;
        if (j == exponent)
            return false;
        i = j;
    }
    if (i != trimmed.size())
        return false;
    number = std::strtod(trimmed.c_str(), nullptr);
    return true;
}

std::string numberText(double number) {
    if (number == 0)
        return "0";
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", number);
    return text;
}

}  // namespace

frmOptions::frmOptions(DialogService& dialogs) : Form("frmOptions"), dialogs_(dialogs) {
    setCaption("Vantrel Options");
    fraStartup.setCaption("Startup/Shutdown");
    chkStartup.setCaption("S&tart Vantrel on Startup/Login");
    chkShutdown.setCaption("Start Vantrel on Shutdown/&Logout");
    fraRestart.setCaption("Default Restart Option");
    optManual.setCaption("&Manual - restart your system at a later time.");
    optReboot.setCaption("&Reboot - reboot your system immediately.");
    optShutdown.setCaption("Sh&utdown - shutdown your system immediately.");
    optSuspend.setCaption("&Suspend - suspend your system if supported.");
    fraMisc.setCaption("Miscellaneous");
    chkAssociate.setCaption("Associate .VTL &files with Vantrel");
    lblMaxRecent.setCaption("Maximum &number of recent files to track (0-5)");
    chkAutoApply.setCaption("&Automatically reset on apply");
    chkSystemTray.setCaption("&Place Vantrel icon in system tray");
    cmdOK.setCaption("OK");
    cmdCancel.setCaption("Cancel");
    cmdHelp.setCaption("&Help");

    chkShutdown.setEnabled(false);
    chkSystemTray.onClick = [this] { chkSystemTray_Click(); };
    txtMaxRecent.onChange = [this] { txtMaxRecent_Change(); };
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
    cmdHelp.onClick = [this] { cmdHelp_Click(); };
}

void frmOptions::Form_Load() {
    loadOptions();
}

void frmOptions::loadOptions() {
    const std::string method = GetRegSetting(kAppName, "Options", "Restart", kResetManual);
    OptionButton* const buttons[] = {&optManual, &optReboot, &optShutdown, &optSuspend};
    for (int code = 0; code < 4; ++code) {
        if (method == std::to_string(code))
            buttons[code]->setValue(true);
    }

    chkAutoApply.setValue(GetRegSetting(kAppName, "Options", "AutoReset", "0") == "1" ? 1 : 0);
    chkSystemTray.setValue(readValue(kRunKey, kTrayValue) ? 1 : 0);
    chkSystemTray_Click();
    chkStartup.setValue(readValue(kRunKey, kRunValue) ? 1 : 0);
    chkShutdown.setValue(GetRegSetting(kAppName, "Options", "AutoShutdown", "0") == "1" ? 1 : 0);

    std::string maxFile = GetRegSetting(kAppName, "Recent", "MaxFile", "3");
    if (maxFile.empty())
        maxFile = "0";
    else if (maxFile > "5")
        maxFile = "5";
    txtMaxRecent.setText(maxFile);

    chkAssociate.setValue(associated() ? 1 : 0);
}

void frmOptions::setOptions() {
    const std::string folder = programFolder();

    if (const OptionButton* chosen = restartOptions.selected()) {
        const OptionButton* const buttons[] = {&optManual, &optReboot, &optShutdown, &optSuspend};
        for (int code = 0; code < 4; ++code) {
            if (buttons[code] == chosen)
                SaveRegSetting(kAppName, "Options", "Restart", std::to_string(code));
        }
    }

    if (chkSystemTray.value() == 0) {
        deleteRunValue(kTrayValue);
    } else {
        writeRunValue(kTrayValue, quoted(folder + kTrayProgram));
        if (GetRegSetting(kAppName, "Options", "TrayIconActive", "0") == "0" &&
            dialogs_.MsgBox("Would you like to start the system tray utility now?",
                            platform::mb::YesNo, kAppName) == platform::Answer::Yes) {
            const std::string program = folder + kTrayProgram;
            if (FileExists(program)) {
                platform::sys().ShellExecute("", program, "", folder, platform::SW_SHOWMINIMIZED);
            } else {
                dialogs_.MsgBox("Could not locate: " + program,
                                platform::mb::OK | platform::mb::IconExclamation, kAppName);
                deleteRunValue(kTrayValue);
            }
        }
    }

    if (chkStartup.value() == 0)
        deleteRunValue(kRunValue);
    else
        writeRunValue(kRunValue, quoted(folder + "\\Vtl.exe"));

    SaveRegSetting(kAppName, "Options", "AutoShutdown", std::to_string(chkShutdown.value()));
    SaveRegSetting(kAppName, "Options", "AutoReset", std::to_string(chkAutoApply.value()));
    SaveRegSetting(kAppName, "Recent", "MaxFile", numberText(Val(txtMaxRecent.text())));

    if (chkAssociate.value() == 0) {
        deleteKeyTree(kFileTypeKey);
        deleteKeyTree(kFileClassKey);
    } else {
        writeAssociation(folder);
    }
}

void frmOptions::cmdOK_Click() {
    setOptions();
    setVisible(false);
}

void frmOptions::cmdCancel_Click() {
    setVisible(false);
}

void frmOptions::cmdHelp_Click() {
    platform::sys().ShellExecute("", programFolder() + "\\help\\index.html", "", "c:\\",
                                 platform::SW_SHOWNORMAL);
}

void frmOptions::chkSystemTray_Click() {
    chkShutdown.setEnabled(chkSystemTray.value() == 1);
}

void frmOptions::txtMaxRecent_Change() {
    const std::string text = txtMaxRecent.text();
    if (text.empty())
        return;
    double number = 0;
    const bool numeric = isNumeric(text, number);
    if (numeric && number >= 0 && number <= 5)
        return;
    dialogs_.MsgBox(kRangeMessage, platform::mb::OK | platform::mb::IconInformation, kAppName);
    if (numeric)
        txtMaxRecent.setText("5");
}

}  // namespace vtl::ui
