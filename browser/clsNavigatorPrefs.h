// Line-based editor of a Navigator preference file (prefs.js). Lines of the
// form user_pref("key", value); are found by key, read, replaced, added and
// deleted; every other line stays as it is and where it is. The file is read
// whole by openPrefsFile and, in write mode, written back by closePrefsFile
// (or at destruction). Failures are shown in a message box and end the call.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vtl {

class clsNavigatorPrefs {
  public:
    clsNavigatorPrefs() = default;
    ~clsNavigatorPrefs();
    clsNavigatorPrefs(const clsNavigatorPrefs&) = delete;
    clsNavigatorPrefs& operator=(const clsNavigatorPrefs&) = delete;

    // `fileName` is a Windows path on the machine's drives or a host path.
    void openPrefsFile(const std::string& fileName, bool writeMode);
    void closePrefsFile();
    // Closes the file without writing it back: the file stays as it was.
    void abandonPrefsFile();
    // The value, unquoted; empty when the key is absent.
    std::string getSetting(const std::string& key);
    void saveSettingStr(const std::string& key, const std::string& value);
    void saveSettingInt(const std::string& key, std::int16_t value);
    void saveSettingBln(const std::string& key, bool value);
    void deleteSetting(const std::string& key);

    bool isOpen() const { return lines_.has_value(); }
    const std::string& fileName() const { return fileName_; }

  private:
    // 1-based line of the first line starting with `pattern`, 0 when none.
    std::int16_t getIndex(const std::string& pattern);
    std::int16_t indexOfKey(const std::string& key);
    void saveLine(const std::string& key, const std::string& valueText);
    std::vector<std::string>& openLines();

    std::optional<std::vector<std::string>> lines_;
    std::string fileName_;
    bool writeMode_ = false;
};

}  // namespace vtl
