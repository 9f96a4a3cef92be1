// The registry members on the real API: result codes, value types, order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/Win32Platform.h"

namespace vtl::win32 {
namespace {

namespace pf = vtl::platform;

constexpr std::uint32_t kAllAccess = 0xF003F;
constexpr std::uint32_t kQueryValue = 0x1;
constexpr std::uint32_t kRead = 0x20019;

std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// A fresh key below HKEY_CURRENT_USER\Software, deleted with its subkeys.
class RegistryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string path =
            "Software\\VantrelTest\\" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        deleteTree(pf::HKEY_CURRENT_USER, path);
        std::uint32_t disposition = 0;
        ASSERT_EQ(sys.RegCreateKeyEx(pf::HKEY_CURRENT_USER, path, kAllAccess, key, disposition),
                  pf::ERROR_SUCCESS);
        path_ = path;
    }
    void TearDown() override {
        sys.RegCloseKey(key);
        deleteTree(pf::HKEY_CURRENT_USER, path_);
    }
    void deleteTree(pf::HKEY parent, const std::string& path) {
        pf::HKEY k = 0;
        if (sys.RegOpenKeyEx(parent, &path, kAllAccess, k) != pf::ERROR_SUCCESS)
            return;
        std::string child;
        while (sys.RegEnumKeyEx(k, 0, child) == pf::ERROR_SUCCESS)
            deleteTree(k, child);
        sys.RegCloseKey(k);
        sys.RegDeleteKey(parent, path);
    }
    pf::HKEY create(const std::string& subKey, std::uint32_t* disposition = nullptr) {
        pf::HKEY k = 0;
        std::uint32_t how = 0;
        EXPECT_EQ(sys.RegCreateKeyEx(key, subKey, kAllAccess, k, how), pf::ERROR_SUCCESS);
        if (disposition)
            *disposition = how;
        return k;
    }

    Win32Platform sys;
    pf::HKEY key = 0;
    std::string path_;
};

TEST_F(RegistryTest, OpenResultCodes) {
    sys.RegCloseKey(create("present"));
    struct Case {
        pf::HKEY parent;
        std::string subKey;
        long code;
    };
    const Case cases[] = {
        {0, "present", pf::ERROR_SUCCESS},
        {0, "missing", pf::ERROR_FILE_NOT_FOUND},
        {pf::HKEY_CURRENT_USER, "Software", pf::ERROR_SUCCESS},
        {0x7777, "present", pf::ERROR_INVALID_HANDLE},
    };
    for (const Case& c : cases) {
        pf::HKEY opened = 0;
        EXPECT_EQ(sys.RegOpenKeyEx(c.parent == 0 ? key : c.parent, &c.subKey, kRead, opened),
                  c.code)
            << c.subKey;
        EXPECT_EQ(opened != 0, c.code == pf::ERROR_SUCCESS) << c.subKey;
        if (opened != 0) {
            EXPECT_EQ(sys.RegCloseKey(opened), pf::ERROR_SUCCESS);
        }
    }
}

TEST_F(RegistryTest, CreateDispositionAndSecondHandle) {
    std::uint32_t disposition = 0;
    sys.RegCloseKey(create("a\\b\\c", &disposition));
    EXPECT_EQ(disposition, 1u);
    sys.RegCloseKey(create("a\\b\\c", &disposition));
    EXPECT_EQ(disposition, 2u);
    sys.RegCloseKey(create("a", &disposition));
    EXPECT_EQ(disposition, 2u);

    // No subkey: a second handle to the same key, alive after the first is closed.
    pf::HKEY first = create("a");
    pf::HKEY second = 0;
    ASSERT_EQ(sys.RegOpenKeyEx(first, nullptr, kAllAccess, second), pf::ERROR_SUCCESS);
    EXPECT_NE(first, second);
    EXPECT_EQ(sys.RegCloseKey(first), pf::ERROR_SUCCESS);
    EXPECT_EQ(sys.RegCloseKey(first), pf::ERROR_INVALID_HANDLE);
    std::uint32_t subKeys = 0, values = 0;
    EXPECT_EQ(sys.RegQueryInfoKey(second, subKeys, values), pf::ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 1u);
    sys.RegCloseKey(second);
}

TEST_F(RegistryTest, ValuesOfEachTypeComeBackWhole) {
    struct Case {
        std::string name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };
    const std::vector<Case> cases = {
        {"Text", pf::REG_SZ, bytes(std::string("office\0", 7))},
        {"", pf::REG_SZ, bytes(std::string("default\0", 8))},
        {"Expand", pf::REG_EXPAND_SZ, bytes(std::string("%windir%\\x\0", 11))},
        {"Bytes", pf::REG_BINARY, {0x00, 0xFF, 0x10, 0x00}},
        {"Number", pf::REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}},
        {"List", pf::REG_MULTI_SZ, bytes(std::string("a\0bc\0\0", 6))},
        {"Empty", pf::REG_BINARY, {}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(sys.RegSetValueEx(key, c.name, c.type, c.data.data(),
                                    static_cast<std::uint32_t>(c.data.size())),
                  pf::ERROR_SUCCESS)
            << c.name;
    }
    for (const Case& c : cases) {
        std::uint32_t type = 99, size = 99;
        EXPECT_EQ(sys.RegQueryValueEx(key, c.name, type, nullptr, size), pf::ERROR_SUCCESS);
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(size, c.data.size()) << c.name;
        std::vector<std::uint8_t> data;
        EXPECT_EQ(sys.RegQueryValueEx(key, c.name, type, &data, size), pf::ERROR_SUCCESS);
        EXPECT_EQ(data, c.data) << c.name;
    }
    // Each value is listed once; the order is the system's (Wine sorts by name,
    // Windows keeps the order of creation).
    std::uint32_t index = 0;
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    std::size_t listed = 0;
    for (; sys.RegEnumValue(key, index, name, type, data) == pf::ERROR_SUCCESS; ++index) {
        for (const Case& c : cases) {
            if (c.name != name)
                continue;
            ++listed;
            EXPECT_EQ(type, c.type) << c.name;
            EXPECT_EQ(data, c.data) << c.name;
        }
    }
    EXPECT_EQ(listed, cases.size());
    EXPECT_EQ(sys.RegEnumValue(key, index, name, type, data), pf::ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryTest, LargeValueAndLongNameAreRead) {
    const std::string name(300, 'n');
    std::vector<std::uint8_t> big(100000);
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<std::uint8_t>(i * 7);
    ASSERT_EQ(sys.RegSetValueEx(key, name, pf::REG_BINARY, big.data(),
                                static_cast<std::uint32_t>(big.size())),
              pf::ERROR_SUCCESS);
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    std::string enumeratedName;
    EXPECT_EQ(sys.RegEnumValue(key, 0, enumeratedName, type, data), pf::ERROR_SUCCESS);
    EXPECT_EQ(enumeratedName, name);
    EXPECT_EQ(data, big);
}

TEST_F(RegistryTest, DeleteResultCodes) {
    for (const char* name : {"tree\\child", "leaf"})
        sys.RegCloseKey(create(name));
    // Subkeys are listed by name, whatever the order of creation.
    std::string first;
    EXPECT_EQ(sys.RegEnumKeyEx(key, 0, first), pf::ERROR_SUCCESS);
    EXPECT_EQ(first, "leaf");
    const std::uint8_t one[4] = {1, 0, 0, 0};
    sys.RegSetValueEx(key, "Value", pf::REG_DWORD, one, 4);
    struct Case {
        bool value;  // else a key
        std::string name;
        long code;
    };
    const Case cases[] = {
        {true, "Value", pf::ERROR_SUCCESS},        {true, "Value", pf::ERROR_FILE_NOT_FOUND},
        {false, "leaf", pf::ERROR_SUCCESS},        {false, "leaf", pf::ERROR_FILE_NOT_FOUND},
        {false, "tree\\child", pf::ERROR_SUCCESS}, {false, "tree", pf::ERROR_SUCCESS},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value ? sys.RegDeleteValue(key, c.name) : sys.RegDeleteKey(key, c.name), c.code)
            << c.name;
    }
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(sys.RegQueryValueEx(key, "Value", type, nullptr, size), pf::ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, HandleAccessIsEnforcedOnNt) {
    pf::OsVersionInfo version;
    ASSERT_TRUE(sys.GetVersionEx(version));
    const bool nt = version.platformId == pf::VER_PLATFORM_WIN32_NT;
    sys.RegCloseKey(create("child"));
    pf::HKEY queryOnly = 0;
    ASSERT_EQ(sys.RegOpenKeyEx(key, nullptr, kQueryValue, queryOnly), pf::ERROR_SUCCESS);
    // Windows 95/98 keys have no access rights.
    const long refused = nt ? pf::ERROR_ACCESS_DENIED : pf::ERROR_SUCCESS;
    const std::uint8_t one[4] = {1, 0, 0, 0};
    EXPECT_EQ(sys.RegSetValueEx(queryOnly, "Refused", pf::REG_DWORD, one, 4), refused);
    std::string name;
    EXPECT_EQ(sys.RegEnumKeyEx(queryOnly, 0, name), refused);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(sys.RegQueryValueEx(key, "Refused", type, nullptr, size),
              nt ? pf::ERROR_FILE_NOT_FOUND : pf::ERROR_SUCCESS);
    sys.RegCloseKey(queryOnly);
}

}  // namespace
}  // namespace vtl::win32
