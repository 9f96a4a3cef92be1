#include "app/clsMRUList.h"

#include <algorithm>
#include <cctype>

#include "config/VbText.h"
#include "config/modAPI.h"

namespace vtl {

namespace {

constexpr const char* kSection = "Recent";
constexpr std::int16_t kMostFiles = 5;

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string fileKey(int i) {
    return "File" + std::to_string(i);
}

}  // namespace

void clsMRUList::getRecentList() {
    files_.clear();
    const double value = Val(GetRegSetting(kAppName, kSection, "MaxFile", "3"));
    maximum_ = static_cast<std::int16_t>(std::clamp(value, 0.0, double{kMostFiles}));
    for (int i = 1; i <= maximum_; ++i) {
        std::string path = GetRegSetting(kAppName, kSection, fileKey(i), "");
        if (path.empty())
            break;
        files_.push_back(std::move(path));
    }
}

void clsMRUList::setRecentList() {
    for (int i = 1; i <= kMostFiles; ++i)
        DeleteRegSetting(kAppName, kSection, fileKey(i));
    for (std::size_t i = 0; i < files_.size(); ++i)
        SaveRegSetting(kAppName, kSection, fileKey(static_cast<int>(i) + 1), files_[i]);
}

void clsMRUList::removeRecentFile(const std::string& path) {
    const std::string key = lower(path);
    const auto it = std::find_if(files_.begin(), files_.end(),
                                 [&](const std::string& file) { return lower(file) == key; });
    if (it != files_.end())
        files_.erase(it);
    for (int i = 1; i <= maximum_; ++i) {
        if (lower(GetRegSetting(kAppName, kSection, fileKey(i), "")) == key)
            DeleteRegSetting(kAppName, kSection, fileKey(i));
    }
}

void clsMRUList::setRecentFile(const std::string& path) {
    const std::string key = lower(path);
    const auto it = std::find_if(files_.begin(), files_.end(),
                                 [&](const std::string& file) { return lower(file) == key; });
    if (it != files_.end())
        files_.erase(it);
    files_.insert(files_.begin(), path);
    if (files_.size() > static_cast<std::size_t>(std::max<std::int16_t>(maximum_, 0)))
        files_.pop_back();
}

std::string clsMRUList::GetFileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace vtl
