// One-line renderings of a browser object's settings for table-driven tests.
#pragma once

#include <string>
#include <utility>

#include "browser/clsBrowser.h"

namespace vtl::test {

// HTTP, FTP, Gopher, Secure and SOCKS as "address|port", blank-separated.
inline std::string proxyPairs(const clsBrowser& b) {
    return b.HTTPAddress() + "|" + b.HTTPPort() + " " + b.FTPAddress() + "|" + b.FTPPort() + " " +
           b.GopherAddress() + "|" + b.GopherPort() + " " + b.SecureAddress() + "|" +
           b.SecurePort() + " " + b.SocksAddress() + "|" + b.SocksPort();
}

// The names of the Boolean proxy settings that are true, each followed by a blank.
inline std::string proxyFlags(const clsBrowser& b) {
    const std::pair<bool, const char*> all[] = {{b.UseSameProxy(), "same "},
                                                {b.ProxyEnabled(), "proxy "},
                                                {b.ConnectViaLAN(), "lan "},
                                                {b.IgnoreLocalAddresses(), "local "},
                                                {b.DisablePWDCache(), "pwd "}};
    std::string out;
    for (const auto& [on, name] : all)
        out += on ? name : "";
    return out;
}

// CurrentDUN, AutoConfigURL, ProxyExceptions and DefaultHomePage joined by "|".
inline std::string browserTexts(const clsBrowser& b) {
    return b.CurrentDUN() + "|" + b.AutoConfigURL() + "|" + b.ProxyExceptions() + "|" +
           b.DefaultHomePage();
}

}  // namespace vtl::test
