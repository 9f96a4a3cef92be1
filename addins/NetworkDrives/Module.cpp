// The module's entry: the classes it provides and their factory.
#include <cctype>
#include <string>

#include "addins/AddInForms.h"
#include "addins/AddInModule.h"
#include "addins/NetworkDrives/clsNetworkDrives.h"
#include "platform/Platform.h"

namespace {

using namespace vtl::netdrives;

bool isClass(const char* name) {
    const std::string expected = kClassName;
    std::string given = name ? name : "";
    if (given.size() != expected.size())
        return false;
    for (std::size_t i = 0; i < given.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(given[i])) !=
            std::tolower(static_cast<unsigned char>(expected[i]))) {
            return false;
        }
    }
    return true;
}

vtl::AddInObject* create(const char* className) {
    return isClass(className) ? new clsNetworkDrives : nullptr;
}

void bindHost(const VantrelAddInHost* host) {
    vtl::platform::setPlatform(host->platform);
    vtl::setAddInForms(host->forms);
}

const VantrelAddInClass kClasses[] = {{kClassName, kAddInName, "*", kVersion}};

const VantrelAddInModule kModule{vtl::kAddInAbi, sizeof(vtl::Variant), kClasses, 1, create,
                                 bindHost};

}  // namespace

extern "C" __attribute__((visibility("default"))) const VantrelAddInModule*
vantrel_addin_classes() {
    return &kModule;
}
