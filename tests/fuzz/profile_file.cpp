// Profile-file reads and writes: every section and key listed can be read; a
// value written reads back as written, and every other value reads as before.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/portable/ProfileFile.h"

namespace {

constexpr std::uint32_t kBig = 1 << 20;
constexpr std::size_t kMost = 16;  // sections, and keys per section, looked at

// The names of a NUL-separated list.
std::vector<std::string> names(const vtl::ProfileString& list) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t nul = list.bytes.find('\0'); nul != std::string::npos && nul > start;
         nul = list.bytes.find('\0', start)) {
        out.push_back(list.bytes.substr(start, nul - start));
        start = nul + 1;
    }
    return out;
}

std::string read(const std::string& section, const std::string& key, const std::string& file,
                 std::uint32_t size = kBig) {
    return vtl::GetPrivateProfileString(section, key, "(none)", size, file).Text();
}

using Values = std::map<std::pair<std::string, std::string>, std::string>;

Values readAll(const std::string& file) {
    Values values;
    std::vector<std::string> sections = names(vtl::GetPrivateProfileString({}, {}, "", kBig, file));
    sections.resize(std::min(sections.size(), kMost));
    for (const std::string& section : sections) {
        std::vector<std::string> keys =
            names(vtl::GetPrivateProfileString(section, {}, "", kBig, file));
        keys.resize(std::min(keys.size(), kMost));
        for (const std::string& key : keys) {
            values.try_emplace({section, key}, read(section, key, file));
            read(section, key, file, 255);  // the program's buffer
        }
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vtl::fuzz::check;
    const std::string file = (vtl::fuzz::scratch() / "fuzz.ini").string();
    vtl::test::writeFile(file, vtl::fuzz::text(data, size));
    const Values before = readAll(file);

    // A written key: the first one listed, else a new one in a new section.
    std::string section = "Vantrel Fuzz", key = "Written";
    if (!before.empty())
        std::tie(section, key) = before.begin()->first;
    const std::string value = "fuzz value";
    if (!vtl::WritePrivateProfileString(section, key, value, file))
        return 0;  // refused (a UTF-16 file): fine
    check(read(section, key, file) == value, "a written value reads back otherwise",
          section + "/" + key);
    for (const auto& [where, old] : before) {
        using vtl::portable::namesEqual;
        if (namesEqual(where.first, section) && namesEqual(where.second, key))
            continue;
        check(read(where.first, where.second, file) == old, "another value changed",
              where.first + "/" + where.second);
    }
    check(vtl::WritePrivateProfileString(section, key, std::nullopt, file), "a delete failed");
    return 0;
}
