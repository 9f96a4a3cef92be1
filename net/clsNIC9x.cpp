#include "net/clsNIC9x.h"

#include <cctype>

namespace vtl {

namespace {

constexpr const char* kEnum = "\\HKEY_LOCAL_MACHINE\\Enum\\";

bool isTcpBinding(const std::string& name) {
    if (name.size() < 5)
        return false;
    std::string head = name.substr(0, 5);
    for (char& c : head)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return head == "MSTCP";
}

}  // namespace

clsNIC9x::clsNIC9x() {
    reg_.SetSuppressErrors(true);
}

void clsNIC9x::EnumAdapters(Collection<std::string>& cDesc, Collection<std::string>& cKey) {
    for (const char* bus : {"Root", "MF", "PCI", "ISAPNP", "PCMCIA"}) {
        enumerateBranch(bus, cDesc, cKey);
    }
}

void clsNIC9x::enumerateBranch(const std::string& branch, Collection<std::string>& cDesc,
                               Collection<std::string>& cKey) {
    const std::string busPath = kEnum + branch;
    reg_.Cd(busPath);
    if (reg_.lastError() != 0)
        return;
    const auto devices = reg_.DirKey();
    if (!devices)
        return;
    for (const std::string& device : *devices) {
        const std::string devicePath = busPath + "\\" + device;
        reg_.Cd(devicePath);
        if (reg_.lastError() != 0)
            continue;
        const auto instances = reg_.DirKey();
        if (!instances)
            continue;
        for (const std::string& instance : *instances) {
            const std::string instancePath = devicePath + "\\" + instance;
            reg_.Cd(instancePath);
            const std::string deviceClass = reg_.ValueText("Class");
            if (reg_.lastError() != 0 || deviceClass != "Net")
                continue;
            std::string description = reg_.ValueText("DeviceDesc");
            if (reg_.lastError() != 0)
                description.clear();

            reg_.Cd(instancePath + "\\Bindings");
            const DirValueResult bindings = reg_.DirValue();
            if (reg_.lastError() != 0 || bindings.kind != DirValueResult::Kind::Array)
                continue;
            const std::string* binding = nullptr;
            for (const DirValueColumn& column : bindings.columns) {
                if (isTcpBinding(column[0])) {
                    binding = &column[0];
                    break;
                }
            }
            if (binding == nullptr)
                continue;

            reg_.Cd(kEnum + std::string("Network\\") + *binding);
            const std::string driver = reg_.ValueText("Driver");
            if (reg_.lastError() != 0)
                continue;
            const std::string key = "Device " + std::to_string(cDesc.Count());
            cDesc.Add(description, key);
            cKey.Add(driver, key);
        }
    }
}

}  // namespace vtl
