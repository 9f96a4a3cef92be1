#include "ui/clsSettings.h"

#include <array>
#include <ctime>
#include <string_view>

#include "browser/clsBrowser.h"
#include "browser/clsExplorer.h"
#include "config/VbText.h"
#include "config/VtlError.h"
#include "config/clsVtlConfig.h"
#include "config/modAPI.h"
#include "net/clsNetConfig.h"
#include "platform/Platform.h"

namespace vtl::ui {

namespace {

constexpr int kWidth = 44;
constexpr const char* kBreak = "\r\n";
constexpr const char* kRule = "--------------------------------------------";
constexpr const char* kStars = "********************************************";
constexpr const char* kRightsLine1 = "Copyright (C) 2026 the Vantrel developers.";
constexpr const char* kRightsLine2 = "All rights reserved.";
constexpr const char* kPrintFont = "Courier New";
constexpr int kPrintFontSize = 10;
constexpr std::int32_t kFileError = kErrorBase + 75;
constexpr std::int32_t kPrintError = kErrorBase + 482;

// The report as it grows: one line at a time, each ended by a line break.
class Lines {
  public:
    void add(std::string_view line) {
        text_.append(line);
        text_ += kBreak;
    }
    // A label of 28 columns and its value.
    void add(std::string_view label, std::string_view value) {
        text_.append(label);
        text_.append(value);
        text_ += kBreak;
    }
    void banner(std::string_view title) {
        add(kStars);
        add(title);
        add(kStars);
    }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
};

const char* yesNo(bool value) {
    return value ? "Yes" : "No";
}

// An address with ":" and the port only when the port is not empty.
std::string withPort(const std::string& address, const std::string& port) {
    return port.empty() ? address : address + ":" + port;
}

std::string localTimeText() {
    std::time_t now = std::time(nullptr);
    std::array<char, 32> buffer{};
    const std::tm* local = std::localtime(&now);
    if (local == nullptr ||
        std::strftime(buffer.data(), buffer.size(), "%m/%d/%Y  %H:%M:%S", local) == 0) {
        return {};
    }
    return buffer.data();
}

[[noreturn]] void fileError(const std::string& file) {
    throw VtlError(kFileError, "clsSettings", "Error accessing file '" + file + "'.");
}

// Replaces the target whole, so a failure leaves what was there.
void replaceFile(const std::string& name, const std::string& text) {
    platform::Platform& sys = platform::sys();
    const std::uint32_t attributes = sys.GetFileAttributes(name);
    if (attributes != platform::INVALID_FILE_ATTRIBUTES &&
        (attributes & (platform::FILE_ATTRIBUTE_DIRECTORY | platform::FILE_ATTRIBUTE_READONLY)) !=
            0) {
        fileError(name);
    }
    if (sys.WriteFile(name, text) != platform::ERROR_SUCCESS)
        fileError(name);
}

}  // namespace

std::string clsSettings::CenterText(const std::string& text, int width) {
    const auto length = static_cast<long>(text.size());
    if (length >= width)
        return text;
    const long spare = width - length;
    long lead = spare / 2;
    if (spare % 2 != 0 && lead % 2 != 0)  // a half rounds to the even count
        ++lead;
    return std::string(static_cast<std::size_t>(lead), ' ') + text;
}

std::string clsSettings::GetHeaderText(const clsVtlConfig& objVtlConfig) const {
    Lines lines;
    lines.add(kRule);
    lines.add(CenterText(std::string(kAppName) + " v" + ProgramVersion(), kWidth));
    lines.add(CenterText(kRightsLine1, kWidth));
    lines.add(CenterText(kRightsLine2, kWidth));
    lines.add("");
    lines.add(CenterText(localTimeText(), kWidth));
    lines.add(kRule);
    lines.add("");
    lines.add("Configuration File..........",
              configFile_.empty() ? "[Current Configuration]" : configFile_);
    lines.add("Comments....................", objVtlConfig.Comments());
    lines.add("");
    return lines.take();
}

std::string clsSettings::GetNetworkText(const clsNetConfig& net) {
    Lines lines;
    lines.banner("*             Network Settings             *");
    const std::int16_t adapter = net.CurrentAdapter();
    if (adapter < 0) {
        lines.add("No Adapters Installed");
        return lines.take();
    }
    const NameList adapters = net.AdapterList();
    const auto index = static_cast<std::size_t>(adapter);
    lines.add("NIC.........................",
              adapters && index < adapters->size() ? (*adapters)[index] : std::string());
    lines.add("Host........................", net.Host());
    lines.add("Domain......................", net.DomainName());
    lines.add("IP Address..................", net.IPAddress());
    lines.add("IP Mask.....................", net.IPMask());
    lines.add("Default Gateway.............", net.DefaultGateway());
    lines.add("DNS Servers.................", net.DNSServers());
    lines.add("DNS Order...................", net.SearchList());
    lines.add("WINS Server 1...............", net.WINSServer1());
    lines.add("WINS Server 2...............", net.WINSServer2());
    lines.add("WINS Scope ID...............", net.ScopeID());
    lines.add("Logon to NT Domain..........", yesNo(net.NTLogonEnabled()));
    lines.add("NT Domain...................", net.NTDomain());
    lines.add("DNS Enabled.................", yesNo(net.DNSEnabled()));
    lines.add("WINS Enabled................", yesNo(net.WINSEnabled()));
    lines.add("DHCP Enabled................", yesNo(net.DHCPEnabled()));
    lines.add("Computer Name...............", net.ComputerName());
    lines.add("Workgroup...................", net.Workgroup());
    if (net.printerList())
        lines.add("Default Printer.............", net.DefaultPrinter());
    else
        lines.add("Default Printer.............No Printers Installed");
    return lines.take();
}

std::string clsSettings::GetBrowserText(const clsBrowser& b) {
    const bool ie = dynamic_cast<const clsExplorer*>(&b) != nullptr;
    Lines lines;
    lines.banner(ie ? "*             Internet Explorer            *"
                    : "*            Netscape Navigator            *");
    if (ie) {
        lines.add("Use Proxy Server............", yesNo(b.ProxyEnabled()));
    } else {
        lines.add("Profile.....................", b.CurrentProfile());
        lines.add("Connection Type.............",
                  b.ConnectViaLAN()  ? "Direct connection to the Internet"
                  : b.ProxyEnabled() ? "Manual proxy configuration"
                                     : "Automatic proxy configuration");
        lines.add("Configuration Location......", b.AutoConfigURL());
    }
    lines.add("HTTP Proxy Server...........", withPort(b.HTTPAddress(), b.HTTPPort()));
    lines.add("Secure Proxy Server.........", withPort(b.SecureAddress(), b.SecurePort()));
    lines.add("FTP Proxy Server............", withPort(b.FTPAddress(), b.FTPPort()));
    lines.add("Gopher Proxy Server.........", withPort(b.GopherAddress(), b.GopherPort()));
    lines.add("Socks Proxy Server..........", withPort(b.SocksAddress(), b.SocksPort()));
    if (!ie)
        lines.add("WAIS Proxy Server...........", withPort(b.WAISAddress(), b.WAISPort()));
    lines.add("Proxy Exceptions............", b.ProxyExceptions());
    if (ie) {
        lines.add("Use Same Proxy..............", yesNo(b.UseSameProxy()));
        lines.add("Bypass Proxy for Intranet...", yesNo(b.IgnoreLocalAddresses()));
        lines.add("Automatic Configuration URL.", b.AutoConfigURL());
        lines.add("Connection Type.............",
                  b.ConnectViaLAN() ? "Connect to the Internet using a local area network"
                                    : "Connect to the Internet using a MODEM");
        lines.add("Dial-Up Account.............", b.CurrentDUN());
    }
    lines.add("Default Home Page...........", b.DefaultHomePage());
    if (ie)
        return lines.take();

    lines.add("");
    lines.banner("*             Netscape E-Mail              *");
    lines.add("Full Name...................", b.EMailFullName());
    lines.add("E-Mail Address..............", b.EMailAddr());
    lines.add("Replay-To Address...........", b.EMailReplyToAddr());
    lines.add("POP3 Server.................", b.EMailPOP3Server());
    lines.add("POP3 Login Name.............", b.EMailPOP3Login());
    lines.add("SMTP Server.................", b.EMailSMTPServer());
    lines.add("SMTP Login Name.............", b.EMailSMTPLogin());
    lines.add("Organization................", b.EMailOrganization());
    lines.add("Leave Mail on Server........", yesNo(b.EMailLeaveMailOnServer()));
    return lines.take();
}

std::string clsSettings::AllSettings(const clsVtlConfig& objVtlConfig,
                                     const std::shared_ptr<clsNetConfig>& objNetConfig,
                                     const std::shared_ptr<clsBrowser>& objIEConfig,
                                     const std::shared_ptr<clsBrowser>& objNNConfig) const {
    std::string text = GetHeaderText(objVtlConfig);
    if (objVtlConfig.ApplyGeneral() && objNetConfig) {
        text += GetNetworkText(*objNetConfig);
        text += kBreak;
    }
    if (objVtlConfig.IEInstalled() && objVtlConfig.ApplyIE() && objIEConfig) {
        text += GetBrowserText(*objIEConfig);
        text += kBreak;
    }
    if (objVtlConfig.NNInstalled() && objVtlConfig.ApplyNN() && objNNConfig)
        text += GetBrowserText(*objNNConfig);
    return text;
}

void clsSettings::PrintAllSettings(const clsVtlConfig& objVtlConfig,
                                   const std::shared_ptr<clsNetConfig>& objNetConfig,
                                   const std::shared_ptr<clsBrowser>& objIEConfig,
                                   const std::shared_ptr<clsBrowser>& objNNConfig) {
    const std::string text = AllSettings(objVtlConfig, objNetConfig, objIEConfig, objNNConfig);
    const long error = platform::sys().PrintText(text, kPrintFont, kPrintFontSize);
    if (error != 0) {
        throw VtlError(kPrintError, "clsSettings",
                       "Printer error " + std::to_string(error) + " on '" +
                           platform::sys().GetOutputPrinter() + "'.");
    }
}

void clsSettings::ExportAllSettings(const clsVtlConfig& objVtlConfig,
                                    const std::shared_ptr<clsNetConfig>& objNetConfig,
                                    const std::shared_ptr<clsBrowser>& objIEConfig,
                                    const std::shared_ptr<clsBrowser>& objNNConfig,
                                    const std::string& astrFilename) {
    const std::string name = Trim(astrFilename);
    if (name.empty()) {
        platform::sys().MessageBox("Missing export filename.",
                                   platform::mb::OK | platform::mb::IconCritical, kAppName);
        return;
    }
    replaceFile(name, AllSettings(objVtlConfig, objNetConfig, objIEConfig, objNNConfig) + kBreak);
}

}  // namespace vtl::ui
