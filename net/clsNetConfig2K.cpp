#include "net/clsNetConfig2K.h"

#include "net/clsNIC2K.h"

namespace vtl {

namespace {

constexpr const char* kInterfacesKey =
    "\\HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\TCPIP\\Parameters\\Interfaces\\";

}  // namespace

clsNetConfig2K::clsNetConfig2K() : clsNetConfigNT(printers::Win2K) {}

std::string clsNetConfig2K::adapterPath() const {
    return kInterfacesKey + adapterKey();
}

void clsNetConfig2K::getAdapterList() {
    Collection<std::string> cDesc;
    Collection<std::string> cKey;
    clsNIC2K enumerator;
    enumerator.EnumAdapters(cDesc, cKey);
    takeAdapters(cDesc, cKey);
}

void clsNetConfig2K::getDomain() {
    if (!hasAdapter() || !readText(adapterPath(), "Domain", domainName_))
        domainName_.clear();
}

}  // namespace vtl
