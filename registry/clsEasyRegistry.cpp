#include "registry/clsEasyRegistry.h"

#include <cmath>
#include <cstdio>

#include "config/VbText.h"
#include "config/VtlError.h"

namespace vtl {

namespace {

using platform::HKEY;
using platform::sys;

constexpr std::uint32_t kQueryValue = 1;
constexpr std::uint32_t kSetValue = 2;
constexpr std::uint32_t kCreateSubKey = 4;
constexpr std::uint32_t kEnumerate = 9;
constexpr std::uint32_t kAllAccess = 0xF003F;
constexpr std::int32_t kApiErrorNumber = static_cast<std::int32_t>(0x80040100u);
constexpr const char* kApiSource = "EasyRegistry[API Call]";

struct Root {
    const char* name;
    HKEY handle;
};
constexpr Root kRoots[] = {
    {"HKEY_CLASSES_ROOT", platform::HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_USER", platform::HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", platform::HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", platform::HKEY_USERS},
    {"HKEY_DYN_DATA", platform::HKEY_DYN_DATA},
    {"HKEY_CURRENT_CONFIG", platform::HKEY_CURRENT_CONFIG},
};

std::string apiDescription(long code) {
    switch (code) {
        case 2:
            return "Key/Value does not exist.";
        case 5:
            return "Access to Registry Denied.";
        case 14:
            return "Out of memory.";
        case 87:
            return "Invalid Parameter.";
        case 1009:
            return "Corrupt Registry Database!";
        case 1010:
            return "Key name is bad.";
        case 1011:
            return "Cannot Open Key.";
        case 1012:
            return "Cannot Read Key.";
        case 1013:
            return "Cannot Write Key.";
        default:
            return "Undefined key error code!";
    }
}

std::string GetRootName(const std::string& path) {
    auto next = path.find('\\', 1);
    return next == std::string::npos ? path.substr(1) : path.substr(1, next - 1);
}

std::string GetSubKeyPath(const std::string& path) {
    auto next = path.find('\\', 1);
    return next == std::string::npos ? std::string() : path.substr(next + 1);
}

// Words of a DWORD, high word first, four hex digits each. A byte that an odd
// size leaves out counts as zero.
std::string dwordText(const std::vector<std::uint8_t>& data) {
    std::string text;
    const long size = static_cast<long>(data.size());
    auto byteAt = [&](long k) -> unsigned { return k >= 0 && k < size ? data[k] : 0u; };
    for (long i = 0; i <= size - 1; i += 2) {
        unsigned word = byteAt(size - i - 1) * 256u + byteAt(size - i - 2);
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", word);
        text += buf;
    }
    return text;
}

double dwordNumber(const std::vector<std::uint8_t>& data) {
    double number = 0;
    double scale = 1;
    for (std::uint8_t b : data) {
        number += b * scale;
        scale *= 256;
    }
    return number;
}

std::string binaryText(const std::vector<std::uint8_t>& data) {
    std::string text;
    for (std::uint8_t b : data) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(b));
        text += buf;
        text += ' ';
    }
    return Trim(text);
}

std::string stringText(const std::vector<std::uint8_t>& data) {
    std::string text(data.begin(), data.end());
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

// The number with the pattern "0,000,000,000".
std::string groupedNumber(double number) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%010.0f", number);
    std::string plain(digits);
    std::string grouped;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (i > 0 && (plain.size() - i) % 3 == 0)
            grouped += ',';
        grouped += plain[i];
    }
    return grouped;
}

}  // namespace

clsEasyRegistry::~clsEasyRegistry() {
    if (!currentPath_.empty()) {
        lastError_ = static_cast<std::int32_t>(sys().RegCloseKey(currentHandle_));
    }
}

void clsEasyRegistry::CheckApiResult(long code) {
    lastError_ = static_cast<std::int32_t>(code);
    if (code != 0 && !suppressErrors_) {
        throw VtlError(kApiErrorNumber, kApiSource, apiDescription(code));
    }
}

void clsEasyRegistry::RaiseClassError(int code) {
    static const char* const kDescriptions[] = {
        "",
        "No current Key.",
        "Invalid Key root.",
        "Type passed doesn't match Value passed.",
        "Type passed doesn't exist. Use STRING, DWORD or BINARY.",
    };
    std::string source = code >= 3 ? "EasyRegistry [Let ValueOf]" : "EasyRegistry";
    throw VtlError(kErrorBase + code, source, kDescriptions[code]);
}

void clsEasyRegistry::closeCurrent() {
    if (!currentPath_.empty())
        CheckApiResult(sys().RegCloseKey(currentHandle_));
}

void clsEasyRegistry::OpenKeyPath(std::string path, std::uint32_t access) {
    path = UCase(Trim(path));

    if (path == "\\") {
        closeCurrent();
        currentPath_.clear();
        currentHandle_ = 0;
        return;
    }
    if (path == "..") {
        if (currentPath_.empty())
            RaiseClassError(1);
        OpenKeyPath(currentPath_.substr(0, currentPath_.rfind('\\') + 1), access);
        return;
    }
    if (path == ".") {
        HKEY handle = 0;
        CheckApiResult(sys().RegOpenKeyEx(currentHandle_, nullptr, access, handle));
        if (!currentPath_.empty())
            CheckApiResult(sys().RegCloseKey(currentHandle_));
        currentHandle_ = handle;
        return;
    }

    if (path.size() >= 2 && path.back() == '\\')
        path.pop_back();
    if (path.front() != '\\' && currentPath_.empty())
        path.insert(path.begin(), '\\');

    if (path.front() != '\\') {
        currentPath_ += "\\" + path;
        HKEY handle = 0;
        long rc = sys().RegOpenKeyEx(currentHandle_, &path, access, handle);
        sys().RegCloseKey(currentHandle_);
        currentHandle_ = handle;
        CheckApiResult(rc);
        return;
    }

    closeCurrent();
    const std::string root = GetRootName(path);
    const Root* found = nullptr;
    for (const Root& r : kRoots) {
        if (root == r.name)
            found = &r;
    }
    if (found == nullptr) {
        // The old key is closed already: leave no current key rather than a dead handle.
        currentPath_.clear();
        currentHandle_ = 0;
        RaiseClassError(2);
    }
    currentPath_ = path;
    const std::string rest = GetSubKeyPath(path);
    HKEY handle = 0;
    long rc = sys().RegOpenKeyEx(found->handle, rest.empty() ? nullptr : &rest, access, handle);
    currentHandle_ = handle;
    CheckApiResult(rc);
}

void clsEasyRegistry::Cd(const std::string& path) {
    OpenKeyPath(path, kQueryValue);
}

std::optional<std::vector<std::string>> clsEasyRegistry::DirKey() {
    if (currentPath_.empty()) {
        std::vector<std::string> names;
        for (const Root& r : kRoots)
            names.emplace_back(r.name);
        return names;
    }
    OpenKeyPath(".", kEnumerate);
    std::uint32_t subKeys = 0;
    std::uint32_t values = 0;
    CheckApiResult(sys().RegQueryInfoKey(currentHandle_, subKeys, values));
    if (subKeys < 1)
        return std::nullopt;
    std::vector<std::string> names(subKeys);
    for (std::uint32_t i = 0; i < subKeys; ++i) {
        CheckApiResult(sys().RegEnumKeyEx(currentHandle_, i, names[i]));
    }
    return names;
}

DirValueResult clsEasyRegistry::DirValue() {
    DirValueResult result;
    if (currentPath_.empty())
        return result;
    OpenKeyPath(".", kQueryValue);
    std::uint32_t subKeys = 0;
    std::uint32_t values = 0;
    CheckApiResult(sys().RegQueryInfoKey(currentHandle_, subKeys, values));
    if (values == 0) {
        result.kind = DirValueResult::Kind::Null;
        return result;
    }
    result.kind = DirValueResult::Kind::Array;
    for (std::uint32_t i = 0; i < values; ++i) {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
        CheckApiResult(sys().RegEnumValue(currentHandle_, i, name, type, data));
        DirValueColumn column;
        column[0] = name;
        if (type == platform::REG_DWORD) {
            column[1] = dwordText(data) + " (" + groupedNumber(dwordNumber(data)) + ")";
            column[2] = "2";
        } else if (type == platform::REG_BINARY) {
            column[1] = binaryText(data);
            column[2] = "1";
        } else {
            column[1] = stringText(data);
            column[2] = "0";
        }
        result.columns.push_back(std::move(column));
    }
    return result;
}

ValueRead clsEasyRegistry::ValueOf(const std::string& name, RegValueType& type) {
    if (!currentPath_.empty())
        OpenKeyPath(".", kQueryValue);
    std::uint32_t regType = 0;
    std::uint32_t size = 0;
    CheckApiResult(sys().RegQueryValueEx(currentHandle_, name, regType, nullptr, size));
    std::vector<std::uint8_t> data(size);
    CheckApiResult(sys().RegQueryValueEx(currentHandle_, name, regType, &data, size));
    if (data.size() > size)
        data.resize(size);

    type = regType == platform::REG_BINARY  ? BINARY
           : regType == platform::REG_DWORD ? DWORD
                                            : STRING;
    ValueRead read;
    if (size < 1 || data.empty())
        return read;
    read.bytes = data;
    if (regType == platform::REG_DWORD) {
        read.number = dwordNumber(data);
        read.text = dwordText(data);
    } else if (regType == platform::REG_BINARY) {
        read.text = binaryText(data);
    } else {
        read.text = stringText(data);
    }
    return read;
}

void clsEasyRegistry::SetValueOf(const std::string& name, RegValueType& type,
                                 const Variant& value) {
    std::vector<std::uint8_t> data;
    std::uint32_t regType = 0;
    switch (type) {
        case STRING:
            if (value.kind() != Variant::Kind::String)
                RaiseClassError(3);
            data.assign(value.text().begin(), value.text().end());
            data.push_back(0);
            regType = platform::REG_SZ;
            break;
        case BINARY:
        case MULTI_STRING:
            if (value.kind() != Variant::Kind::Bytes || value.dimensions() != 1) {
                RaiseClassError(3);
            }
            data = value.bytes();
            regType = type == BINARY ? platform::REG_BINARY : platform::REG_MULTI_SZ;
            break;
        case DWORD: {
            if (value.kind() != Variant::Kind::Double)
                RaiseClassError(3);
            double number = value.number();
            if (!std::isfinite(number) || number != std::trunc(number) || number < 0 ||
                number > 4294967295.0) {
                RaiseClassError(3);
            }
            auto whole = static_cast<std::uint32_t>(number);
            for (int i = 0; i < 4; ++i)
                data.push_back(static_cast<std::uint8_t>(whole >> (8 * i)));
            regType = platform::REG_DWORD;
            break;
        }
        default:
            RaiseClassError(4);
    }
    OpenKeyPath(".", kSetValue);
    CheckApiResult(sys().RegSetValueEx(currentHandle_, name, regType, data.data(),
                                       static_cast<std::uint32_t>(data.size())));
}

void clsEasyRegistry::MakeKey(const std::string& subKeyPath) {
    OpenKeyPath(".", kCreateSubKey);
    HKEY handle = 0;
    std::uint32_t disposition = 0;
    CheckApiResult(
        sys().RegCreateKeyEx(currentHandle_, subKeyPath, kAllAccess, handle, disposition));
    if (handle != 0)
        sys().RegCloseKey(handle);
}

void clsEasyRegistry::DeleteKey(const std::string& subKeyName) {
    OpenKeyPath(".", kSetValue);
    CheckApiResult(sys().RegDeleteKey(currentHandle_, subKeyName));
}

void clsEasyRegistry::DeleteValue(const std::string& valueName) {
    OpenKeyPath(".", kSetValue);
    CheckApiResult(sys().RegDeleteValue(currentHandle_, valueName));
}

bool clsEasyRegistry::IsWindowsNT() {
    platform::OsVersionInfo info;
    return sys().GetVersionEx(info) && info.platformId == platform::VER_PLATFORM_WIN32_NT;
}

}  // namespace vtl
