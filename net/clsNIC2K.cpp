#include "net/clsNIC2K.h"

namespace vtl {

namespace {

constexpr const char* kCurrentVersion =
    "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
constexpr const char* kNetwork =
    "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Network";
constexpr const char* kEnum = "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\";
constexpr const char* kServices = "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\";

}  // namespace

clsNIC2K::clsNIC2K() {
    reg_.SetSuppressErrors(true);
}

void clsNIC2K::EnumAdapters(Collection<std::string>& cDesc, Collection<std::string>& cKey) {
    enumerateBranch("NetworkCards", cDesc, cKey);
}

void clsNIC2K::enumerateBranch(const std::string& branch, Collection<std::string>& cDesc,
                               Collection<std::string>& cKey) {
    const std::string branchPath = kCurrentVersion + branch;
    reg_.Cd(branchPath);
    if (reg_.lastError() != 0)
        return;
    const auto cards = reg_.DirKey();
    if (!cards)
        return;
    for (const std::string& card : *cards) {
        reg_.Cd(branchPath + "\\" + card);
        if (reg_.lastError() != 0)
            continue;
        const std::string serviceName = reg_.ValueText("ServiceName");
        if (reg_.lastError() != 0)
            continue;

        reg_.Cd(kNetwork);
        if (reg_.lastError() != 0)
            continue;
        const auto classes = reg_.DirKey();
        if (!classes)
            continue;
        // A card is listed once for each network class that holds its connection.
        for (const std::string& networkClass : *classes) {
            reg_.Cd(std::string(kNetwork) + "\\" + networkClass + "\\" + serviceName +
                    "\\Connection");
            if (reg_.lastError() != 0)
                continue;
            const std::string instance = reg_.ValueText("PnpInstanceID");
            if (reg_.lastError() != 0)
                continue;
            reg_.Cd(kEnum + instance);
            if (reg_.lastError() != 0)
                continue;
            const std::string service = reg_.ValueText("Service");
            if (reg_.lastError() != 0)
                continue;
            reg_.Cd(kServices + service);
            if (reg_.lastError() != 0)
                continue;
            const std::string displayName = reg_.ValueText("DisplayName");
            if (reg_.lastError() != 0)
                continue;
            const std::string key = "Device " + std::to_string(cDesc.Count());
            cDesc.Add(displayName, key);
            cKey.Add(serviceName, key);
        }
    }
}

}  // namespace vtl
