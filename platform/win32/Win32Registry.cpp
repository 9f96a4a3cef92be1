// The registry (advapi32). The program's 32-bit key numbers are the
// predefined roots, which map to themselves, or entries of a handle table.
#include "platform/win32/Win32Api.h"

namespace vtl::win32 {

namespace {

constexpr platform::HKEY kFirstRoot = 0x80000000u;
constexpr platform::HKEY kLastRoot = 0x80000006u;
constexpr DWORD kNameBuffer = 1024;

bool isRoot(platform::HKEY key) {
    return key >= kFirstRoot && key <= kLastRoot;
}

::HKEY rootKey(platform::HKEY key) {
    // As the Windows headers define the roots: sign-extended on 64-bit.
    return reinterpret_cast<::HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(key)));
}

}  // namespace

void* Win32Platform::realKey(platform::HKEY key) const {
    if (isRoot(key))
        return rootKey(key);
    auto it = keys_.find(key);
    return it == keys_.end() ? nullptr : it->second;
}

platform::HKEY Win32Platform::addKey(void* key) {
    while (nextKey_ == 0 || isRoot(nextKey_) || keys_.count(nextKey_) != 0)
        ++nextKey_;
    keys_[nextKey_] = key;
    return nextKey_++;
}

long Win32Platform::RegOpenKeyEx(platform::HKEY parent, const std::string* subKey,
                                 std::uint32_t access, platform::HKEY& result) {
    result = 0;
    auto* real = static_cast<::HKEY>(realKey(parent));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    ::HKEY opened = nullptr;
    const LONG rc = ::RegOpenKeyExA(real, subKey ? subKey->c_str() : nullptr, 0, access, &opened);
    if (rc == ERROR_SUCCESS)
        result = addKey(opened);
    return rc;
}

long Win32Platform::RegCreateKeyEx(platform::HKEY parent, const std::string& subKey,
                                   std::uint32_t access, platform::HKEY& result,
                                   std::uint32_t& disposition) {
    result = 0;
    disposition = 0;
    auto* real = static_cast<::HKEY>(realKey(parent));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    ::HKEY created = nullptr;
    DWORD how = 0;
    char noClass[1] = {'\0'};
    const LONG rc = ::RegCreateKeyExA(real, subKey.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE,
                                      access, nullptr, &created, &how);
    if (rc == ERROR_SUCCESS) {
        result = addKey(created);
        disposition = how;
    }
    return rc;
}

long Win32Platform::RegCloseKey(platform::HKEY key) {
    if (isRoot(key))
        return ::RegCloseKey(rootKey(key));
    auto it = keys_.find(key);
    if (it == keys_.end())
        return ERROR_INVALID_HANDLE;
    const LONG rc = ::RegCloseKey(static_cast<::HKEY>(it->second));
    keys_.erase(it);
    return rc;
}

long Win32Platform::RegDeleteKey(platform::HKEY parent, const std::string& subKey) {
    auto* real = static_cast<::HKEY>(realKey(parent));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    return ::RegDeleteKeyA(real, subKey.c_str());
}

long Win32Platform::RegDeleteValue(platform::HKEY key, const std::string& name) {
    auto* real = static_cast<::HKEY>(realKey(key));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    return ::RegDeleteValueA(real, name.c_str());
}

long Win32Platform::RegQueryValueEx(platform::HKEY key, const std::string& name,
                                    std::uint32_t& type, std::vector<std::uint8_t>* data,
                                    std::uint32_t& size) {
    auto* real = static_cast<::HKEY>(realKey(key));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    DWORD rawType = 0;
    DWORD length = 0;
    LONG rc = ::RegQueryValueExA(real, name.c_str(), nullptr, &rawType, nullptr, &length);
    // The value may grow between the two calls: ask again with the new size.
    while (rc == ERROR_SUCCESS && data != nullptr) {
        data->assign(length, 0);
        DWORD got = length;
        rc = ::RegQueryValueExA(real, name.c_str(), nullptr, &rawType,
                                data->empty() ? nullptr : data->data(), &got);
        if (rc == ERROR_MORE_DATA) {
            length = got > length ? got : length * 2 + 16;
            rc = ERROR_SUCCESS;
            continue;
        }
        if (rc == ERROR_SUCCESS) {
            data->resize(got);
            length = got;
        }
        break;
    }
    if (rc == ERROR_SUCCESS) {
        type = rawType;
        size = length;
    }
    return rc;
}

long Win32Platform::RegSetValueEx(platform::HKEY key, const std::string& name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
    auto* real = static_cast<::HKEY>(realKey(key));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    if (data == nullptr && size > 0)
        return ERROR_INVALID_PARAMETER;
    static const BYTE kNothing = 0;
    return ::RegSetValueExA(real, name.c_str(), 0, type, data ? data : &kNothing, size);
}

long Win32Platform::RegQueryInfoKey(platform::HKEY key, std::uint32_t& subKeys,
                                    std::uint32_t& values) {
    auto* real = static_cast<::HKEY>(realKey(key));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    // Windows 95 wants a class buffer.
    char keyClass[kNameBuffer];
    DWORD classLength = kNameBuffer;
    DWORD keys = 0;
    DWORD count = 0;
    const LONG rc = ::RegQueryInfoKeyA(real, keyClass, &classLength, nullptr, &keys, nullptr,
                                       nullptr, &count, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_SUCCESS) {
        subKeys = keys;
        values = count;
    }
    return rc;
}

long Win32Platform::RegEnumKeyEx(platform::HKEY key, std::uint32_t index, std::string& name) {
    auto* real = static_cast<::HKEY>(realKey(key));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    char buffer[kNameBuffer];
    DWORD length = kNameBuffer;
    FILETIME written{};
    const LONG rc =
        ::RegEnumKeyExA(real, index, buffer, &length, nullptr, nullptr, nullptr, &written);
    if (rc == ERROR_SUCCESS)
        name.assign(buffer, length);
    return rc;
}

long Win32Platform::RegEnumValue(platform::HKEY key, std::uint32_t index, std::string& name,
                                 std::uint32_t& type, std::vector<std::uint8_t>& data) {
    auto* real = static_cast<::HKEY>(realKey(key));
    if (real == nullptr)
        return ERROR_INVALID_HANDLE;
    DWORD nameSize = kNameBuffer;
    DWORD dataSize = 4096;
    for (;;) {
        std::string nameBuffer(nameSize, '\0');
        std::vector<std::uint8_t> dataBuffer(dataSize);
        DWORD nameLength = nameSize;
        DWORD dataLength = dataSize;
        DWORD rawType = 0;
        const LONG rc = ::RegEnumValueA(real, index, nameBuffer.data(), &nameLength, nullptr,
                                        &rawType, dataBuffer.data(), &dataLength);
        if (rc == ERROR_MORE_DATA && nameSize < 65536 * 4) {
            // Which buffer was short is not reported: grow both.
            nameSize *= 2;
            dataSize = dataLength > dataSize ? dataLength : dataSize * 4;
            continue;
        }
        if (rc == ERROR_SUCCESS) {
            name.assign(nameBuffer.data(), nameLength);
            type = rawType;
            dataBuffer.resize(dataLength);
            data = std::move(dataBuffer);
        }
        return rc;
    }
}

}  // namespace vtl::win32
