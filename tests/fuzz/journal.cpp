// The journal replay: a valid registry.reg and a journal of fuzzed records. The
// input is records separated by NUL bytes; each gets its ";end" line with the
// right checksum, or a wrong one when it starts with "!"; what follows the last
// NUL is appended as it is (a torn tail). Whatever the registry replays, it
// must write back into registry.reg and load again as the same tree.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/FuzzSupport.h"

namespace {

using namespace vtl::portable;

constexpr const char* kBase =
    "REGEDIT4\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\Software\\Vantrel]\r\n\"AutoReset\"=\"0\"\r\n\r\n"
    "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Tcpip\\Parameters]\r\n"
    "\"Hostname\"=\"pc1\"\r\n\"NameServer\"=\"10.0.0.1\"\r\n\"Flags\"=dword:00000003\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings]\r\n"
    "\"ProxyServer\"=\"p:80\"\r\n\"ProxyEnable\"=hex:01,00,00,00\r\n\r\n";

std::uint32_t crc32(const std::string& s) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (char ch : s) {
        c ^= static_cast<unsigned char>(ch);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

const std::filesystem::path& regFile() {
    static const std::filesystem::path file = vtl::fuzz::scratch() / "registry.reg";
    return file;
}

// The journal's first line for kBase, as the registry writes it.
const std::string& journalHead() {
    static const std::string head = [] {
        vtl::test::writeFile(regFile(), kBase);
        std::string line;
        {
            PortableRegistry reg(regFile());
            std::uint32_t disposition = 0;
            vtl::platform::HKEY key = 0;
            reg.RegCreateKeyEx(vtl::platform::HKEY_CURRENT_USER, "Fuzz", 0xF003F, key, disposition);
            line = vtl::test::readFile(regFile().string() + ".journal");
        }
        return line.substr(0, line.find('\n') + 1);
    }();
    return head;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vtl::fuzz::check;
    const std::string input = vtl::fuzz::text(data, size);
    std::string journal = journalHead();
    std::size_t start = 0;
    for (std::size_t nul = input.find('\0'); nul != std::string::npos;
         nul = input.find('\0', start)) {
        std::string record = input.substr(start, nul - start);
        std::uint32_t crc = crc32(record);
        if (!record.empty() && record[0] == '!')
            crc = ~crc;
        char end[24];
        std::snprintf(end, sizeof end, ";end %08x\r\n", crc);
        journal += record + end;
        start = nul + 1;
    }
    journal += input.substr(start);
    vtl::test::writeFile(regFile(), kBase);
    vtl::test::writeFile(regFile().string() + ".journal", journal);

    std::string tree;
    try {
        PortableRegistry reg(regFile());
        tree = vtl::fuzz::dumpRegistry(reg);
        const std::string sub = "Software\\Vantrel";
        vtl::platform::HKEY key = 0;
        if (reg.RegOpenKeyEx(vtl::platform::HKEY_LOCAL_MACHINE, &sub, 0x20019, key) == 0) {
            std::uint32_t type = 0, bytes = 0;
            std::vector<std::uint8_t> value;
            reg.RegQueryValueEx(key, "AutoReset", type, &value, bytes);
            reg.RegCloseKey(key);
        }
    } catch (const ImageError&) {
        return 0;  // a record that does not parse: refused with its line
    }
    try {
        PortableRegistry again(regFile());
        check(vtl::fuzz::dumpRegistry(again) == tree, "the folded registry differs", tree);
    } catch (const ImageError& e) {
        check(false, "the folded registry does not load", e.what());
    }
    return 0;
}
