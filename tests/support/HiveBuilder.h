// Offline Windows NT 4 / 2000 system drives for the tests, made from a sample
// machine image: its registry.reg becomes hive files written with libhivex,
// its drive_c the drive folder.
#pragma once

#include <hivex.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "TestImage.h"
#include "platform/portable/RegFile.h"

namespace vtl::test {

// The control set the built SYSTEM hives select as current.
inline constexpr const char* kBuiltControlSet = "ControlSet002";

// A hive with nothing but its root key (and the root's security cell, which
// new keys inherit): what libhivex needs to start from.
inline std::string emptyHive() {
    std::string f(0x2000, '\0');
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto put16 = [&](std::size_t at, std::uint16_t v) {
        f[at] = static_cast<char>(v & 0xFF);
        f[at + 1] = static_cast<char>(v >> 8);
    };
    f.replace(0, 4, "regf");
    put32(0x04, 1);
    put32(0x08, 1);
    put32(0x14, 1);  // version 1.3: NT 4 and 2000
    put32(0x18, 3);
    put32(0x20, 1);
    put32(0x24, 0x20);  // the root key's cell
    put32(0x28, 0x1000);
    put32(0x2C, 1);
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < 0x1FC; i += 4) {
        sum ^= static_cast<std::uint32_t>(static_cast<unsigned char>(f[i])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(f[i + 1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(f[i + 2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(f[i + 3])) << 24;
    }
    put32(0x1FC, sum);
    const std::size_t bin = 0x1000, nk = bin + 0x20, sk = nk + 0x58, rest = sk + 0x30;
    f.replace(bin, 4, "hbin");
    put32(bin + 0x08, 0x1000);
    put32(nk, static_cast<std::uint32_t>(-0x58));
    f.replace(nk + 4, 2, "nk");
    put16(nk + 6, 0x2C);  // hive entry, not deletable, ASCII name
    for (std::size_t at : {0x20u, 0x24u, 0x2Cu, 0x34u})
        put32(nk + at, 0xFFFFFFFF);  // no subkey lists, values or class
    put32(nk + 0x30, static_cast<std::uint32_t>(sk - bin));
    put16(nk + 0x4C, 4);
    f.replace(nk + 0x50, 4, "ROOT");
    put32(sk, static_cast<std::uint32_t>(-0x30));
    f.replace(sk + 4, 2, "sk");
    put32(sk + 4 + 4, static_cast<std::uint32_t>(sk - bin));
    put32(sk + 4 + 8, static_cast<std::uint32_t>(sk - bin));
    put32(sk + 4 + 0x0C, 1);
    put32(sk + 4 + 0x10, 20);
    f[sk + 4 + 0x14] = 1;  // a self-relative descriptor with nothing in it
    put16(sk + 4 + 0x16, 0x8000);
    put32(rest, static_cast<std::uint32_t>(bin + 0x1000 - rest));
    return f;
}

// Where a key of the image lands: hive name ("SYSTEM", "SOFTWARE", "DEFAULT",
// "NTUSER") and path in it, or nothing for keys a hive does not hold.
struct HivePlace {
    std::string hive;
    std::vector<std::string> path;
};
inline std::optional<HivePlace> placeOf(std::string_view keyPath) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= keyPath.size()) {
        std::size_t end = std::min(keyPath.find('\\', pos), keyPath.size());
        parts.emplace_back(keyPath.substr(pos, end - pos));
        pos = end + 1;
    }
    auto from = [&](std::size_t n, std::vector<std::string> prefix) {
        prefix.insert(prefix.end(), parts.begin() + static_cast<std::ptrdiff_t>(n), parts.end());
        return prefix;
    };
    auto is = [&](std::size_t i, std::string_view name) {
        return parts.size() > i && portable::namesEqual(parts[i], name);
    };
    if (is(0, "HKEY_LOCAL_MACHINE") && is(1, "SYSTEM") && is(2, "CurrentControlSet"))
        return HivePlace{"SYSTEM", from(3, {kBuiltControlSet})};
    if (is(0, "HKEY_LOCAL_MACHINE") && (is(1, "SYSTEM") || is(1, "SOFTWARE")))
        return HivePlace{is(1, "SYSTEM") ? "SYSTEM" : "SOFTWARE", from(2, {})};
    if (is(0, "HKEY_CLASSES_ROOT"))
        return HivePlace{"SOFTWARE", from(1, {"Classes"})};
    if (is(0, "HKEY_CURRENT_USER"))
        return HivePlace{"NTUSER", from(1, {})};
    if (is(0, "HKEY_USERS") && is(1, ".DEFAULT"))
        return HivePlace{"DEFAULT", from(2, {})};
    if (is(0, "HKEY_CURRENT_CONFIG"))
        return HivePlace{"SYSTEM", from(1, {kBuiltControlSet, "Hardware Profiles", "0001"})};
    return std::nullopt;
}

inline std::string utf16(const std::vector<std::uint8_t>& text) {
    std::string out;
    for (std::uint8_t c : text) {
        out += static_cast<char>(c);
        out += '\0';
    }
    return out;
}
inline bool isTextType(std::uint32_t t) {
    return t == 1 || t == 2 || t == 7;
}

// The keys and values of the hives, by hive, key path and value name:
// "type:bytes" with strings in the code page.
using HiveDump = std::map<std::string, std::map<std::string, std::map<std::string, std::string>>>;

// The hives an image's registry.reg makes, as a dump (with SYSTEM\Select).
inline HiveDump expectedHives(const std::filesystem::path& registryReg) {
    struct Sink : portable::RegSink {
        HiveDump dump;
        std::map<std::string, std::string>* current = nullptr;
        void key(std::string_view path) override {
            auto place = placeOf(path);
            current = nullptr;
            if (!place)
                return;
            std::string k;
            auto& hive = dump[place->hive];
            hive[""];
            for (const std::string& part : place->path) {
                k += (k.empty() ? "" : "\\") + part;
                hive[k];
            }
            current = &hive[k];
        }
        void deleteKey(std::string_view) override { current = nullptr; }
        void value(std::string_view name, std::uint32_t type,
                   std::vector<std::uint8_t>&& data) override {
            if (current != nullptr)
                (*current)[std::string(name)] =
                    std::to_string(type) + ":" + std::string(data.begin(), data.end());
        }
        void deleteValue(std::string_view) override {}
    } sink;
    portable::parseReg(readFile(registryReg), registryReg.string(), sink);
    for (const char* hive : {"SYSTEM", "SOFTWARE", "DEFAULT", "NTUSER"})
        sink.dump[hive][""];
    auto& select = sink.dump["SYSTEM"]["select"];
    select["Current"] = std::string("4:\x02\0\0\0", 6);
    select["Default"] = std::string("4:\x02\0\0\0", 6);
    return sink.dump;
}

// Reads a hive file with libhivex into the dump's form.
inline std::map<std::string, std::map<std::string, std::string>> dumpHive(
    const std::filesystem::path& file) {
    std::map<std::string, std::map<std::string, std::string>> out;
    hive_h* h = hivex_open(file.c_str(), 0);
    if (h == nullptr)
        throw std::runtime_error("cannot open " + file.string());
    std::vector<std::pair<hive_node_h, std::string>> todo{{hivex_root(h), ""}};
    while (!todo.empty()) {
        auto [node, path] = todo.back();
        todo.pop_back();
        auto& values = out[path];
        hive_value_h* vs = hivex_node_values(h, node);
        for (hive_value_h* v = vs; *v != 0; ++v) {
            char* name = hivex_value_key(h, *v);
            hive_type t;
            std::size_t len = 0;
            char* raw = hivex_value_value(h, *v, &t, &len);
            std::string data;
            const auto type = static_cast<std::uint32_t>(t);
            for (std::size_t i = 0; i < len; i += isTextType(type) ? 2 : 1)
                data += raw[i];
            values[name] = std::to_string(type) + ":" + data;
            std::free(name);
            std::free(raw);
        }
        std::free(vs);
        hive_node_h* children = hivex_node_children(h, node);
        for (hive_node_h* c = children; *c != 0; ++c) {
            char* name = hivex_node_name(h, *c);
            todo.emplace_back(*c, (path.empty() ? "" : path + "\\") + name);
            std::free(name);
        }
        std::free(children);
    }
    hivex_close(h);
    return out;
}

// A dump with every name in lower case, as names compare.
inline HiveDump lowered(const HiveDump& dump) {
    auto lower = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    HiveDump out;
    for (const auto& [hive, keys] : dump) {
        for (const auto& [key, values] : keys) {
            auto& target = out[hive][lower(key)];
            for (const auto& [name, data] : values)
                target[lower(name)] = data;
        }
    }
    return out;
}

// A system drive made from `sample` ("nt4" or "win2000") in `drive`: the
// sample's drive_c, its registry as hives, its HKEY_CURRENT_USER as the
// NTUSER.DAT of `user`, with further empty profiles `others`.
struct BuiltDrive {
    std::filesystem::path drive, config, ntuser;
    std::filesystem::path hive(const std::string& name) const {
        return name == "NTUSER" ? ntuser : config / name;
    }
};
inline BuiltDrive buildSystemDrive(const std::string& sample, const std::filesystem::path& drive,
                                   const std::string& user,
                                   const std::vector<std::string>& others = {}) {
    namespace fs = std::filesystem;
    fs::copy(samplesDir() / sample / "drive_c", drive, fs::copy_options::recursive);
    BuiltDrive built{drive, drive / "WINNT" / "system32" / "config", {}};
    fs::create_directories(built.config);
    const fs::path profiles =
        sample == "nt4" ? drive / "WINNT" / "Profiles" : drive / "Documents and Settings";
    for (const std::string& name : others) {
        fs::create_directories(profiles / name);
        writeFile(profiles / name / "NTUSER.DAT", emptyHive());
    }
    fs::create_directories(profiles / user);
    built.ntuser = profiles / user / "NTUSER.DAT";

    const HiveDump dump = expectedHives(samplesDir() / sample / "registry.reg");
    for (const auto& [name, keys] : dump) {
        const fs::path file = built.hive(name);
        writeFile(file, emptyHive());
        hive_h* h = hivex_open(file.c_str(), HIVEX_OPEN_WRITE);
        if (h == nullptr)
            throw std::runtime_error("cannot open " + file.string());
        // Keys in path order: parents come first.
        for (const auto& [path, values] : keys) {
            hive_node_h node = hivex_root(h);
            std::size_t pos = 0;
            while (!path.empty() && pos <= path.size()) {
                std::size_t end = std::min(path.find('\\', pos), path.size());
                const std::string part = path.substr(pos, end - pos);
                hive_node_h next = hivex_node_get_child(h, node, part.c_str());
                node = next != 0 ? next : hivex_node_add_child(h, node, part.c_str());
                pos = end + 1;
            }
            for (const auto& [valueName, typed] : values) {
                const std::size_t colon = typed.find(':');
                const auto type = static_cast<std::uint32_t>(std::stoul(typed.substr(0, colon)));
                std::vector<std::uint8_t> bytes(
                    typed.begin() + static_cast<std::ptrdiff_t>(colon) + 1, typed.end());
                std::string raw =
                    isTextType(type) ? utf16(bytes) : std::string(bytes.begin(), bytes.end());
                hive_set_value v{const_cast<char*>(valueName.c_str()), static_cast<hive_type>(type),
                                 raw.size(), raw.data()};
                if (hivex_node_set_value(h, node, &v, 0) != 0)
                    throw std::runtime_error("cannot set " + path + "\\" + valueName);
            }
        }
        if (hivex_commit(h, nullptr, 0) != 0)
            throw std::runtime_error("cannot write " + file.string());
        hivex_close(h);
    }
    return built;
}

}  // namespace vtl::test
