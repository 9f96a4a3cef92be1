// What the fuzz targets share: a failed invariant, a scratch folder, a registry dump.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/portable/PortableRegistry.h"
#include "support/TestImage.h"

namespace vtl::fuzz {

// A broken invariant is a finding: libFuzzer saves the input that caused it.
inline void check(bool ok, const char* what, const std::string& detail = {}) {
    if (ok)
        return;
    std::fprintf(stderr, "invariant broken: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// One empty folder for the whole run, removed at exit.
inline const std::filesystem::path& scratch() {
    static test::TempDir dir;
    return dir.path();
}

// A Windows 2000 machine image with its platform installed, for the whole run;
// message boxes are answered with their default button.
inline test::TestImage& image() {
    static const std::unique_ptr<test::TestImage> machine = test::TestImage::fromRegistry(
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"CurrentVersion\"=\"5.0\"\r\n\"SystemRoot\"=\"C:\\\\WINNT\"\r\n\r\n");
    machine->clearMessages();
    return *machine;
}

// The input as text; "" for no bytes.
inline std::string text(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
}

// Every key and value reachable through the registry calls, in enumeration
// order, one line each; at most `limit` keys (a deep tree is walked without recursion).
inline std::string dumpRegistry(portable::PortableRegistry& reg, std::size_t limit = 4096) {
    constexpr std::uint32_t kRead = 0x20019;
    std::string out;
    std::vector<std::pair<platform::HKEY, std::string>> open;
    for (std::size_t i = 0; i < portable::kRootNames.size(); ++i)
        open.emplace_back(static_cast<platform::HKEY>(0x80000000u + i + (i >= 4 ? 1 : 0)),
                          std::string(portable::kRootNames[i]));
    std::reverse(open.begin(), open.end());
    std::size_t keys = 0;
    while (!open.empty() && keys++ < limit) {
        auto [key, path] = std::move(open.back());
        open.pop_back();
        out += "[" + path + "]\n";
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        for (std::uint32_t i = 0; reg.RegEnumValue(key, i, name, type, data) == 0; ++i) {
            out += " " + name + "=" + std::to_string(type) + ":";
            out.append(data.begin(), data.end());
            out += "\n";
        }
        std::vector<std::pair<platform::HKEY, std::string>> children;
        for (std::uint32_t i = 0; reg.RegEnumKeyEx(key, i, name) == 0; ++i) {
            platform::HKEY child = 0;
            if (reg.RegOpenKeyEx(key, &name, kRead, child) == 0)
                children.emplace_back(child, path + "\\" + name);
            else
                out += " cannot open " + name + "\n";
        }
        if (key < 0x80000000u)
            reg.RegCloseKey(key);
        open.insert(open.end(), std::make_move_iterator(children.rbegin()),
                    std::make_move_iterator(children.rend()));
    }
    for (auto& [key, path] : open) {
        if (key < 0x80000000u)
            reg.RegCloseKey(key);
    }
    return out;
}

}  // namespace vtl::fuzz
