// Helpers of the Windows platform tests that need the Windows API directly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vtl::win32::test {

// A new empty folder under the system's temporary folder, removed with its files.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

void makeFolder(const std::string& path);
void setReadOnly(const std::string& path, bool readOnly);

// Sets (or with an empty value, removes) an environment variable for the scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::string previous_;
    bool hadPrevious_;
};

// What `action` writes to standard error.
std::string captureStderr(const std::function<void()>& action);

// A visible top-level window with `caption`; 0 when the system cannot show one.
std::uintptr_t createWindow(const std::string& caption);
void destroyWindow(std::uintptr_t window);

}  // namespace vtl::win32::test
