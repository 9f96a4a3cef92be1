#include "net/clsNICNT.h"

#include <cstdint>

namespace vtl {

namespace {

constexpr const char* kCurrentVersion =
    "\\HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";

}  // namespace

clsNICNT::clsNICNT() {
    reg_.SetSuppressErrors(true);
}

void clsNICNT::EnumAdapters(Collection<std::string>& cDesc, Collection<std::string>& cKey) {
    enumerateBranch("NetworkCards", cDesc, cKey);
}

void clsNICNT::enumerateBranch(const std::string& branch, Collection<std::string>& cDesc,
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
        RegValueType type = STRING;
        const double hidden = reg_.ValueOf("Hidden", type).number;
        if (reg_.lastError() == 0 &&
            static_cast<std::int32_t>(static_cast<std::uint32_t>(hidden)) != 0) {
            continue;
        }
        const std::string serviceName = reg_.ValueText("ServiceName");
        if (reg_.lastError() != 0)
            continue;
        const std::string title = reg_.ValueText("Title");
        if (reg_.lastError() != 0)
            continue;
        const std::string key = "Device " + std::to_string(cDesc.Count());
        cDesc.Add(title, key);
        cKey.Add(serviceName, key);
    }
}

}  // namespace vtl
