#include "net/clsNetConfigBase.h"

#include <algorithm>
#include <limits>

#include "config/ConfigFile.h"
#include "config/VbText.h"

namespace vtl {

namespace {

constexpr const char* kNetwork = "Network";
constexpr const char* kPrinter = "Printer";
constexpr const char* kNoChange = "*NC*";
constexpr const char* kNoAdapters = "No Adapters Installed";
constexpr const char* kNoAddress = "0.0.0.0";

// Leading and trailing blanks removed.

}  // namespace

// One key of the file sections. Exactly one of `text` and `flag` names the
// field, except for "Adapter", which has neither.
struct clsNetConfigBase::FileKey {
    enum class Kind {
        Adapter,       // the current adapter's description
        Text,          // written and read as held
        Address,       // written as "0.0.0.0" when empty
        ReadOnly,      // read, never written
        Bool,          // "1" or "0"
        EnablePrinter  // "1" or "0"; an empty value reads as True
    };
    const char* section;
    const char* key;
    Kind kind;
    std::string clsNetConfigBase::*text = nullptr;
    bool clsNetConfigBase::*flag = nullptr;
    bool only9x = false;
    // Printer items live in printer_.
    std::string PrinterItems::*printerText = nullptr;
    bool PrinterItems::*printerFlag = nullptr;
};

const std::vector<clsNetConfigBase::FileKey>& clsNetConfigBase::fileKeys() {
    using K = FileKey::Kind;
    using B = clsNetConfigBase;
    static const std::vector<FileKey> keys = {
        {kNetwork, "Adapter", K::Adapter},
        {kNetwork, "IPAddress", K::Address, &B::ipAddress_},
        {kNetwork, "IPMask", K::Address, &B::ipMask_},
        {kNetwork, "DefaultGateway", K::Text, &B::defaultGateway_},
        {kNetwork, "NameServer", K::Text, &B::dnsServers_},
        {kNetwork, "HostName", K::Text, &B::host_},
        {kNetwork, "Domain", K::Text, &B::domainName_},
        {kNetwork, "SearchList", K::Text, &B::searchList_},
        {kNetwork, "LMHostFile", K::ReadOnly, &B::lmHostFile_},
        {kNetwork, "NameServer1", K::Text, &B::winsServer1_},
        {kNetwork, "NameServer2", K::Text, &B::winsServer2_},
        {kNetwork, "ScopeID", K::Text, &B::scopeID_},
        {kNetwork, "EnableDNS", K::Bool, nullptr, &B::dnsEnabled_},
        {kNetwork, "ComputerName", K::Text, &B::computerName_},
        {kNetwork, "Workgroup", K::Text, &B::workgroup_},
        {kNetwork, "NTLogon", K::Bool, nullptr, &B::ntLogonEnabled_},
        {kNetwork, "NTDomain", K::Text, &B::ntDomain_},
        {kNetwork, "DHCP", K::Bool, nullptr, &B::dhcpEnabled_},
        {kNetwork, "WINS", K::Bool, nullptr, &B::winsEnabled_},
        {kNetwork, "DisablePWDCache", K::Bool, nullptr, &B::disablePWDCache_, true},
        {kNetwork, "QuickLogon", K::Bool, nullptr, &B::quickLogon_, true},
        {kPrinter, "DefaultPrinter", K::Text, nullptr, nullptr, false,
         &PrinterItems::DefaultPrinter},
        {kPrinter, "AdvancedSettingsEnabled", K::Bool, nullptr, nullptr, false, nullptr,
         &PrinterItems::EnableAdvPrinterSettings},
        {kPrinter, "PrinterPort", K::Text, nullptr, nullptr, false, &PrinterItems::PrinterPort},
        {kPrinter, "PrinterCaptureDevice", K::Text, nullptr, nullptr, false,
         &PrinterItems::PrinterCaptureDev},
        {kPrinter, "PrinterCapturePath", K::Text, nullptr, nullptr, false,
         &PrinterItems::PrinterCapturePath},
        {kPrinter, "ReConnectAtLogon", K::Bool, nullptr, nullptr, false, nullptr,
         &PrinterItems::PrinterCaptureReconnect},
        {kPrinter, "EnableDefaultPrinter", K::EnablePrinter, nullptr, nullptr, false, nullptr,
         &PrinterItems::EnableDefaultPrinter},
    };
    return keys;
}

clsNetConfigBase::clsNetConfigBase(Family family) : family_(family) {
    reg_.SetSuppressErrors(true);
    printer_.EnableDefaultPrinter = true;
}

// --- The object's jobs ---

void clsNetConfigBase::loadConfiguration() {
    const bool is9x = family_ == Family::Win9x;
    getAdapterList();
    getComputerName();
    getworkgroup();
    getDomain();
    getHost();
    getIPAddress();
    getIPMask();
    getLMHostFile();
    getDNSServers();
    if (is9x)
        getWINSEnabled();
    getWINSServer1();
    getWINSServer2();
    // NT 4 and 2000 derive WINSEnabled from the two servers just read.
    if (!is9x)
        getWINSEnabled();
    getScopeID();
    getSearchList();
    getDNSEnabled();
    getDHCPEnabled();
    getNTLogon();
    getNTDomain();
    getPrinterList();
    getDefaultPrinter();
    getDefaultGateway();
    if (is9x) {
        getDisablePWDCache();
        getQuickLogon();
    }
    getAdvPrinterSettings();
    resetFlags();
}

void clsNetConfigBase::ApplyConfiguration() {
    struct Step {
        NetFlag flag;
        void (clsNetConfig::*set)();
        bool only9x;
    };
    static constexpr Step kSteps[] = {
        {NetFlag::ComputerName, &clsNetConfig::setComputerName, false},
        {NetFlag::Workgroup, &clsNetConfig::setworkgroup, true},
        {NetFlag::Domain, &clsNetConfig::setDomain, false},
        {NetFlag::Host, &clsNetConfig::setHost, false},
        {NetFlag::IPAddress, &clsNetConfig::setIPAddress, false},
        {NetFlag::IPMask, &clsNetConfig::setIPMask, false},
        {NetFlag::LMHostFile, &clsNetConfig::setLMHostFile, false},
        {NetFlag::DNSServers, &clsNetConfig::setDNSServers, false},
        {NetFlag::WINSEnabled, &clsNetConfig::setWINSEnabled, false},
        {NetFlag::WINSServer1, &clsNetConfig::setWINSServer1, false},
        {NetFlag::WINSServer2, &clsNetConfig::setWINSServer2, false},
        {NetFlag::ScopeID, &clsNetConfig::setScopeID, false},
        {NetFlag::SearchList, &clsNetConfig::setSearchList, false},
        {NetFlag::DNSEnabled, &clsNetConfig::setDNSEnabled, false},
        {NetFlag::DHCPEnabled, &clsNetConfig::setDHCPEnabled, false},
        {NetFlag::NTLogon, &clsNetConfig::setNTLogon, true},
        {NetFlag::NTDomain, &clsNetConfig::setNTDomain, true},
        {NetFlag::DefaultPrinter, &clsNetConfig::setDefaultPrinter, false},
        {NetFlag::DefaultGateway, &clsNetConfig::setDefaultGateway, false},
        {NetFlag::DisablePWDCache, &clsNetConfig::setDisablePWDCache, true},
        {NetFlag::QuickLogon, &clsNetConfig::setQuickLogon, true},
    };
    const bool is9x = family_ == Family::Win9x;
    for (const Step& step : kSteps) {
        if (step.only9x && !is9x)
            continue;
        if (!Changed(step.flag))
            continue;
        if (step.flag == NetFlag::DefaultPrinter && !printer_.EnableDefaultPrinter)
            continue;
        (this->*step.set)();
    }
    setAdvPrinterSettings();
    resetFlags();
}

void clsNetConfigBase::SaveConfigurationFile(const std::string& sFilename) {
    const bool is9x = family_ == Family::Win9x;
    for (const FileKey& k : fileKeys()) {
        if (k.only9x && !is9x)
            continue;
        std::string value;
        switch (k.kind) {
            case FileKey::Kind::ReadOnly:
                continue;
            case FileKey::Kind::Adapter:
                value = hasAdapter() ? (*adapterList_)[static_cast<std::size_t>(currentAdapter_)]
                                     : std::string(kNoAdapters);
                break;
            case FileKey::Kind::Address:
                value = this->*k.text;
                if (value.empty())
                    value = kNoAddress;
                break;
            case FileKey::Kind::Text:
                value = k.text ? this->*k.text : printer_.*k.printerText;
                break;
            case FileKey::Kind::Bool:
            case FileKey::Kind::EnablePrinter:
                value = (k.flag ? this->*k.flag : printer_.*k.printerFlag) ? "1" : "0";
                break;
        }
        WriteConfigValue(k.section, k.key, value, sFilename);
    }
}

void clsNetConfigBase::LoadConfigurationFile(const std::string& sFilename) {
    const bool is9x = family_ == Family::Win9x;
    for (const FileKey& k : fileKeys()) {
        if (k.only9x && !is9x)
            continue;
        const std::string value = ReadConfigValue(k.section, k.key, sFilename);
        if (k.kind == FileKey::Kind::Adapter) {
            // The last adapter whose description matches exactly; else the first.
            if (currentAdapter_ == -1 || !adapterList_)
                continue;
            currentAdapter_ = 0;
            for (std::size_t i = 0; i < adapterList_->size(); ++i) {
                if ((*adapterList_)[i] == value)
                    currentAdapter_ = static_cast<std::int16_t>(i);
            }
            continue;
        }
        if (value == kNoChange)
            continue;
        switch (k.kind) {
            case FileKey::Kind::Text:
            case FileKey::Kind::Address:
            case FileKey::Kind::ReadOnly:
                (k.text ? this->*k.text : printer_.*k.printerText) = value;
                break;
            case FileKey::Kind::Bool:
                (k.flag ? this->*k.flag : printer_.*k.printerFlag) = value == "1";
                break;
            case FileKey::Kind::EnablePrinter:
                printer_.*k.printerFlag = value == "1" || value.empty();
                break;
            case FileKey::Kind::Adapter:
                break;
        }
    }
}

void clsNetConfigBase::resetFlags() {
    flags_.fill(false);
}

// --- Printer members shared by all systems ---

void clsNetConfigBase::getDefaultPrinter() {
    printers::getDefaultPrinter(printer_);
}

void clsNetConfigBase::getAdvPrinterSettings() {
    printers::getAdvPrinterSettings(printer_);
}

// --- Properties ---

void clsNetConfigBase::DefaultGateway(const std::string& sDefGateway) {
    defaultGateway_ = Trim(sDefGateway);
    raise(NetFlag::DefaultGateway);
}

void clsNetConfigBase::DefaultPrinter(const std::string& sDefPrinter) {
    printer_.DefaultPrinter = sDefPrinter;
    if (printers::selectOutputPrinter(sDefPrinter))
        raise(NetFlag::DefaultPrinter);
}

void clsNetConfigBase::NTLogonEnabled(bool bNTLogon) {
    ntLogonEnabled_ = bNTLogon;
    raise(NetFlag::NTLogon);
}

void clsNetConfigBase::NTDomain(const std::string& sDomain) {
    ntDomain_ = Trim(sDomain);
    raise(NetFlag::NTDomain);
}

void clsNetConfigBase::DomainName(const std::string& sDomain) {
    domainName_ = Trim(sDomain);
    raise(NetFlag::Domain);
}

void clsNetConfigBase::Host(const std::string& sHost) {
    host_ = Trim(sHost);
    raise(NetFlag::Host);
}

void clsNetConfigBase::LMHostFile(const std::string& sLMHost) {
    lmHostFile_ = Trim(sLMHost);
    raise(NetFlag::LMHostFile);
}

void clsNetConfigBase::DNSServers(const std::string& sDNSServerList) {
    dnsServers_ = Trim(sDNSServerList);
    raise(NetFlag::DNSServers);
}

void clsNetConfigBase::WINSServer1(const std::string& sWINSServer) {
    winsServer1_ = Trim(sWINSServer);
    raise(NetFlag::WINSServer1);
}

void clsNetConfigBase::WINSServer2(const std::string& sWINSServer) {
    winsServer2_ = Trim(sWINSServer);
    raise(NetFlag::WINSServer2);
}

void clsNetConfigBase::ScopeID(const std::string& sScope) {
    scopeID_ = Trim(sScope);
    raise(NetFlag::ScopeID);
}

void clsNetConfigBase::SearchList(const std::string& sList) {
    searchList_ = Trim(sList);
    raise(NetFlag::SearchList);
}

void clsNetConfigBase::DNSEnabled(bool bDNS) {
    dnsEnabled_ = bDNS;
    raise(NetFlag::DNSEnabled);
}

void clsNetConfigBase::DHCPEnabled(bool bDHCP) {
    dhcpEnabled_ = bDHCP;
    raise(NetFlag::DHCPEnabled);
}

void clsNetConfigBase::ComputerName(const std::string& sName) {
    computerName_ = Trim(sName);
    raise(NetFlag::ComputerName);
}

void clsNetConfigBase::Workgroup(const std::string& sGroup) {
    workgroup_ = Trim(sGroup);
    raise(NetFlag::Workgroup);
}

void clsNetConfigBase::WINSEnabled(bool bEnabled) {
    winsEnabled_ = bEnabled;
    // Switching WINS rewrites the scope and both servers too.
    raise(NetFlag::WINSEnabled);
    raise(NetFlag::ScopeID);
    raise(NetFlag::WINSServer1);
    raise(NetFlag::WINSServer2);
}

void clsNetConfigBase::IPAddress(const std::string& sIP) {
    ipAddress_ = Trim(sIP);
    raise(NetFlag::IPAddress);
}

void clsNetConfigBase::IPMask(const std::string& sMask) {
    ipMask_ = Trim(sMask);
    raise(NetFlag::IPMask);
}

// --- Adapters ---

bool clsNetConfigBase::selectAdapter(std::int16_t iIndex) {
    if (currentAdapter_ == -1 || !adapterList_)
        return false;
    if (iIndex < 0 || static_cast<std::size_t>(iIndex) >= adapterList_->size())
        return false;
    currentAdapter_ = iIndex;
    return true;
}

void clsNetConfigBase::CurrentAdapter(std::int16_t iIndex) {
    if (!selectAdapter(iIndex))
        return;
    getIPAddress();
    getIPMask();
    getDefaultGateway();
    getDHCPEnabled();
    if (family_ == Family::Win9x) {
        getWINSEnabled();
        getWINSServer1();
        getWINSServer2();
    } else {
        getWINSServer1();
        getWINSServer2();
        getWINSEnabled();
    }
}

void clsNetConfigBase::CurrentAdapterNoRefresh(std::int16_t iIndex) {
    selectAdapter(iIndex);
}

void clsNetConfigBase::takeAdapters(const Collection<std::string>& cDesc,
                                    const Collection<std::string>& cKey) {
    const std::size_t count =
        std::min<std::size_t>(cDesc.Count(), std::numeric_limits<std::int16_t>::max());
    if (count == 0) {
        currentAdapter_ = -1;
        return;
    }
    std::vector<std::string> descriptions(count);
    std::vector<std::string> keys(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string name = "Device " + std::to_string(i);
        if (const std::string* desc = cDesc.Item(name))
            descriptions[i] = *desc;
        if (const std::string* key = cKey.Item(name))
            keys[i] = *key;
    }
    adapterList_ = std::move(descriptions);
    adapterKeys_ = std::move(keys);
    currentAdapter_ = 0;
}

bool clsNetConfigBase::hasAdapter() const {
    return currentAdapter_ >= 0 && adapterList_ &&
           static_cast<std::size_t>(currentAdapter_) < adapterList_->size() &&
           static_cast<std::size_t>(currentAdapter_) < adapterKeys_.size();
}

const std::string& clsNetConfigBase::adapterKey() const {
    return adapterKeys_[static_cast<std::size_t>(currentAdapter_)];
}

// --- Registry helpers ---

bool clsNetConfigBase::readValue(const std::string& path, const std::string& name, ValueRead& out) {
    reg_.Cd(path);
    if (reg_.lastError() != 0)
        return false;
    RegValueType type = STRING;
    ValueRead read = reg_.ValueOf(name, type);
    if (reg_.lastError() != 0)
        return false;
    out = std::move(read);
    return true;
}

bool clsNetConfigBase::readText(const std::string& path, const std::string& name,
                                std::string& out) {
    ValueRead read;
    if (!readValue(path, name, read))
        return false;
    out = std::move(read.text);
    return true;
}

void clsNetConfigBase::writeValue(const std::string& path, const std::string& name,
                                  RegValueType type, const Variant& value) {
    reg_.Cd(path);
    reg_.SetValueOf(name, type, value);
}

}  // namespace vtl
