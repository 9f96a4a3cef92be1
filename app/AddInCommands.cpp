// The main window's add-ins: the collection, the Add-Ins menu and the manager.
#include <cctype>
#include <exception>

#include "addins/AddInRegistry.h"
#include "addins/frmAddIns.h"
#include "app/frmMain.h"
#include "config/VbText.h"
#include "config/VtlError.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl {

namespace {

constexpr const char* kMenuSuffix = "...";

}  // namespace

void frmMain::wireAddIns() {
    for (int i = 0; i < kAddInMenuSize; ++i) {
        auto entry = std::make_unique<ui::MenuItem>("mnuAddIns(" + std::to_string(i) + ")");
        entry->setVisible(false);
        entry->onClick = [this, i] { mnuAddIns_Click(i); };
        mnuAddIns_.push_back(std::move(entry));
    }
    mnuAddInsSep1.setVisible(false);
    mnuToolsAddInManager.setCaption("&Add-In Manager...");
    mnuToolsAddInManager.onClick = [this] { mnuToolsAddInManager_Click(); };
    loadAddIns = [this] { reloadAddIns(); };
}

ui::MenuItem& frmMain::mnuAddInsEntry(int index) {
    if (index < 0 || index >= static_cast<int>(mnuAddIns_.size()))
        throw VtlError(9, "frmMain", "Subscript out of range");
    return *mnuAddIns_[static_cast<std::size_t>(index)];
}

void frmMain::reloadAddIns() {
    addIns.clear();
    addInNames.clear();
    for (const auto& entry : mnuAddIns_)
        entry->setVisible(false);

    addins::RegisterShippedAddIns();
    const std::string os = GetOSVersion();
    const auto values = GetAllRegSettings(kAppName, addins::kSection);
    int next = 0;
    std::string className;
    ui::MenuItem* entry = nullptr;  // shown for the add-in being created
    try {
        for (const RegSettingValue& value : values ? *values : std::vector<RegSettingValue>{}) {
            const std::string& name = value.name;
            const std::string section = addins::addInSection(name);
            className = GetRegSetting(kAppName, section, "Class");
            std::string addInOS = GetRegSetting(kAppName, section, "OS");
            if (addInOS == "*")
                addInOS = os;
            const bool load = GetRegSetting(kAppName, section, "Active", "0") == "1" &&
                              !className.empty() && addInOS == os;
            if (!load) {
                // Created only to learn whether the class is still available.
                if (!platform::sys().CreateObject(className))
                    DeleteRegSetting(kAppName, addins::kSection, name);
                continue;
            }
            entry = &mnuAddInsEntry(next);
            entry->setCaption(name + kMenuSuffix);
            entry->setVisible(true);
            std::shared_ptr<AddInObject> addIn = platform::sys().CreateObject(className);
            if (!addIn) {
                entry->setVisible(false);
                DeleteRegSetting(kAppName, addins::kSection, name);
                continue;
            }
            for (const std::string& known : addInNames) {
                if (SameText(known, name))
                    throw VtlError(457, "frmMain",
                                   "This key is already associated with an element");
            }
            addIns.push_back(std::move(addIn));
            addInNames.push_back(name);
            entry = nullptr;
            ++next;
        }
    } catch (const std::exception&) {
        // An entry without an add-in behind it is not offered.
        if (entry)
            entry->setVisible(false);
        dialogs_.MsgBox("Error initializing Add-Ins [" + className + "]." + addins::kCheckAddIns,
                        platform::mb::OK | platform::mb::IconExclamation, kAppName);
    }
    mnuAddInsSep1.setVisible(next > 0);
}

void frmMain::mnuAddIns_Click(int index) {
    try {
        std::string name = mnuAddInsEntry(index).caption();
        name.resize(name.size() >= 3 ? name.size() - 3 : 0);
        std::shared_ptr<AddInObject> addIn;
        for (std::size_t i = 0; i < addInNames.size() && i < addIns.size(); ++i) {
            if (SameText(addInNames[i], name))
                addIn = addIns[i];
        }
        if (!addIn)
            throw VtlError(5, "frmMain", "Invalid procedure call or argument");
        addIn->Invoke("Show", {Variant(document ? document->ConfFile() : std::string())});
        if (addIn->Invoke("Changed", {}).truth())
            UpdateStatus(1);
        if (addIn->Invoke("restart", {}).truth())
            UpdateStatus(3);
    } catch (const std::exception&) {
        dialogs_.MsgBox(std::string("An error occurred while attempting to access an Add-In.") +
                            addins::kCheckAddIns,
                        platform::mb::OK | platform::mb::IconExclamation, kAppName);
    }
}

void frmMain::mnuToolsAddInManager_Click() {
    {
        frmAddIns manager(dialogs_);
        dialogs_.ShowModal(manager);
    }
    if (loadAddIns)
        loadAddIns();
}

}  // namespace vtl
