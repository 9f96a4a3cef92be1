// Raw registry access for tests: values with their exact type and bytes,
// read and written below the program's registry class.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vtl::test {

struct RawValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const RawValue&) const = default;
};

inline RawValue sz(const std::string& text) {
    return {platform::REG_SZ, {text.c_str(), text.c_str() + text.size() + 1}};
}
inline RawValue multiSz(const std::string& bytes) {
    return {platform::REG_MULTI_SZ, {bytes.begin(), bytes.end()}};
}
inline RawValue dword(std::uint32_t n) {
    return {platform::REG_DWORD,
            {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
             static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)}};
}
inline RawValue binary(std::vector<std::uint8_t> data) {
    return {platform::REG_BINARY, std::move(data)};
}

// `key` is "HKEY_LOCAL_MACHINE\..." (a leading backslash is allowed).
class RegProbe {
  public:
    static std::optional<RawValue> get(const std::string& key, const std::string& name) {
        auto handle = open(key, false);
        if (!handle)
            return std::nullopt;
        RawValue value;
        std::uint32_t size = 0;
        std::vector<std::uint8_t> data;
        long rc = platform::sys().RegQueryValueEx(*handle, name, value.type, nullptr, size);
        if (rc == 0) {
            data.resize(size);
            rc = platform::sys().RegQueryValueEx(*handle, name, value.type, &data, size);
        }
        platform::sys().RegCloseKey(*handle);
        if (rc != 0)
            return std::nullopt;
        data.resize(size);
        value.data = std::move(data);
        return value;
    }

    static bool keyExists(const std::string& key) {
        auto handle = open(key, false);
        if (handle)
            platform::sys().RegCloseKey(*handle);
        return handle.has_value();
    }

    // Creates the key when missing.
    static void set(const std::string& key, const std::string& name, const RawValue& value) {
        auto handle = open(key, true);
        if (!handle)
            throw std::runtime_error("cannot create " + key);
        platform::sys().RegSetValueEx(*handle, name, value.type, value.data.data(),
                                      static_cast<std::uint32_t>(value.data.size()));
        platform::sys().RegCloseKey(*handle);
    }

    static void remove(const std::string& key, const std::string& name) {
        auto handle = open(key, false);
        if (!handle)
            return;
        platform::sys().RegDeleteValue(*handle, name);
        platform::sys().RegCloseKey(*handle);
    }

    // Deletes a key and everything below it.
    static void removeKey(const std::string& key) {
        auto handle = open(key, false);
        if (!handle)
            return;
        for (;;) {
            std::uint32_t subKeys = 0, values = 0;
            platform::sys().RegQueryInfoKey(*handle, subKeys, values);
            if (subKeys == 0)
                break;
            std::string child;
            platform::sys().RegEnumKeyEx(*handle, 0, child);
            removeKey(trimmed(key) + "\\" + child);
        }
        platform::sys().RegCloseKey(*handle);
        auto cut = trimmed(key).rfind('\\');
        auto parent = open(trimmed(key).substr(0, cut), false);
        if (!parent)
            return;
        platform::sys().RegDeleteKey(*parent, trimmed(key).substr(cut + 1));
        platform::sys().RegCloseKey(*parent);
    }

  private:
    static std::string trimmed(const std::string& key) {
        return !key.empty() && key[0] == '\\' ? key.substr(1) : key;
    }

    static std::optional<platform::HKEY> open(const std::string& key, bool create) {
        const std::string path = trimmed(key);
        const auto cut = path.find('\\');
        const std::string root = path.substr(0, cut);
        const std::string rest = cut == std::string::npos ? std::string() : path.substr(cut + 1);
        platform::HKEY rootKey = root == "HKEY_LOCAL_MACHINE"  ? platform::HKEY_LOCAL_MACHINE
                                 : root == "HKEY_CURRENT_USER" ? platform::HKEY_CURRENT_USER
                                 : root == "HKEY_USERS"        ? platform::HKEY_USERS
                                                               : platform::HKEY_CLASSES_ROOT;
        platform::HKEY handle = 0;
        long rc = 0;
        if (create) {
            std::uint32_t disposition = 0;
            rc = platform::sys().RegCreateKeyEx(rootKey, rest, 0xF003F, handle, disposition);
        } else {
            rc = platform::sys().RegOpenKeyEx(rootKey, rest.empty() ? nullptr : &rest, 0xF003F,
                                              handle);
        }
        if (rc != 0)
            return std::nullopt;
        return handle;
    }
};

}  // namespace vtl::test
