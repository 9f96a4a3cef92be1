// The recent-file list: full paths of the configuration files last opened or
// saved, most recent first, kept in the settings store under "Recent".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vtl {

class clsMRUList {
  public:
    // Loads the list from the settings store: "MaxFile" (default "3", at most
    // 5) entries "File1", "File2", ... up to the first empty one.
    void getRecentList();
    // Replaces the stored entries "File1" to "File5" with the list.
    void setRecentList();
    // Removes the path (compared in lower case) from the list, and every
    // stored entry equal to it.
    void removeRecentFile(const std::string& path);
    // Puts the path at the head of the list; the list keeps at most "MaxFile" entries.
    void setRecentFile(const std::string& path);
    // The text after the last "\" (or "/" of a host path); the whole path when it has none.
    static std::string GetFileName(const std::string& path);
    const std::vector<std::string>& fileList() const { return files_; }
    std::int16_t maximum() const { return maximum_; }

  private:
    std::vector<std::string> files_;
    std::int16_t maximum_ = 3;
};

}  // namespace vtl
