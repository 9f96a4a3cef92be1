#include "browser/clsNavigatorPrefs.h"

#include <limits>
#include <stdexcept>

#include "config/VbText.h"
#include "config/modAPI.h"
#include "platform/Platform.h"

namespace vtl {

namespace {

using platform::sys;

// A failure of one operation; its text follows the operation's message prefix.
class PrefsFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A failure getIndex has already shown; the calling operation just ends.
struct AlreadyReported {};

constexpr const char* kNoFile = "No preference file is open";
constexpr const char* kBadCall = "Invalid procedure call or argument";

void warn(const std::string& text) {
    sys().MessageBox(text, platform::mb::OK | platform::mb::IconExclamation, kAppName);
}

void report(const char* procedure, const std::string& description) {
    warn(std::string("Error in clsNavigatorPrefs:") + procedure + description);
}

// Lines end with CR LF, CR or LF; a last line without one is still a line.
std::vector<std::string> splitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r' && content[i] != '\n')
            continue;
        lines.push_back(content.substr(start, i - start));
        if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < content.size())
        lines.push_back(content.substr(start));
    return lines;
}

bool isFolder(const std::string& path) {
    const std::uint32_t attributes = sys().GetFileAttributes(path);
    return attributes != platform::INVALID_FILE_ATTRIBUTES &&
           (attributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> readLines(const std::string& fileName) {
    if (isFolder(fileName))
        throw PrefsFailure("Path/File access error");
    std::string content;
    switch (sys().ReadFile(fileName, content)) {
        case platform::ERROR_SUCCESS:
            return splitLines(content);
        case platform::ERROR_FILE_NOT_FOUND:
            throw PrefsFailure("File not found");
        case platform::ERROR_PATH_NOT_FOUND:
            throw PrefsFailure("Path not found");
        case platform::ERROR_ACCESS_DENIED:
            throw PrefsFailure("Permission denied");
        default:
            throw PrefsFailure("Device I/O error");
    }
}

// Replaces the file whole, so that it is never left cut short.
void writeLines(const std::string& fileName, const std::vector<std::string>& lines) {
    if (isFolder(fileName))
        throw PrefsFailure("Path/File access error");
    std::string content;
    for (const std::string& line : lines) {
        content += line;
        content += "\r\n";
    }
    switch (sys().WriteFile(fileName, content)) {
        case platform::ERROR_SUCCESS:
            return;
        case platform::ERROR_PATH_NOT_FOUND:
            throw PrefsFailure("Path not found");
        case platform::ERROR_ACCESS_DENIED:
            throw PrefsFailure("Permission denied");
        case platform::ERROR_WRITE_FAULT:
        case platform::ERROR_DISK_FULL:
            throw PrefsFailure("Device I/O error");
        default:
            throw PrefsFailure("Path/File access error");
    }
}

std::string quoteKeyPattern(const std::string& key) {
    return "user_pref(\"" + LCase(key) + "\"";
}

}  // namespace

clsNavigatorPrefs::~clsNavigatorPrefs() {
    if (fileName_.empty())
        return;
    try {
        closePrefsFile();
    } catch (...) {
        // A destructor does not throw; closePrefsFile has shown what failed.
    }
}

std::vector<std::string>& clsNavigatorPrefs::openLines() {
    if (!lines_)
        throw PrefsFailure(kNoFile);
    return *lines_;
}

void clsNavigatorPrefs::openPrefsFile(const std::string& fileName, bool writeMode) {
    if (fileName.empty()) {
        warn("Could not locate Navigator preference file.");
        return;
    }
    try {
        // Read first, so that a file that cannot be read leaves nothing open
        // that a later close could write back over it.
        lines_.reset();
        fileName_.clear();
        std::vector<std::string> lines = readLines(fileName);
        fileName_ = fileName;
        writeMode_ = writeMode;
        lines_ = std::move(lines);
    } catch (const std::exception& e) {
        report("openPrefsFile:", e.what());
    }
}

void clsNavigatorPrefs::closePrefsFile() {
    try {
        if (!lines_)
            throw PrefsFailure(kNoFile);
        if (writeMode_)
            writeLines(fileName_, *lines_);
    } catch (const std::exception& e) {
        report("closePrefsFile:", e.what());
    }
    lines_.reset();
    fileName_.clear();
}

void clsNavigatorPrefs::abandonPrefsFile() {
    lines_.reset();
    fileName_.clear();
}

std::int16_t clsNavigatorPrefs::getIndex(const std::string& pattern) {
    try {
        const auto& lines = openLines();
        std::int32_t number = 0;
        for (const std::string& line : lines) {
            if (++number > std::numeric_limits<std::int16_t>::max())
                throw PrefsFailure("Overflow");
            std::string head = Trim(line).substr(0, pattern.size());
            if (LCase(head) == pattern)
                return static_cast<std::int16_t>(number);
        }
        return 0;
    } catch (const std::exception& e) {
        report("getIndex:", e.what());
        throw AlreadyReported{};
    }
}

std::int16_t clsNavigatorPrefs::indexOfKey(const std::string& key) {
    openLines();
    return getIndex(quoteKeyPattern(key));
}

std::string clsNavigatorPrefs::getSetting(const std::string& key) {
    try {
        const std::int16_t i = indexOfKey(key);
        if (i == 0)
            return {};
        const std::string& line = (*lines_)[static_cast<std::size_t>(i - 1)];
        // Cut by position: from two past the first "," up to the first ")".
        const auto close = line.find(')');
        const auto comma = line.find(',');
        const long long p = close == std::string::npos ? 0 : static_cast<long long>(close) + 1;
        const long long c = comma == std::string::npos ? 0 : static_cast<long long>(comma) + 1;
        const long long length = p - c - 2;
        if (length < 0)
            throw PrefsFailure(kBadCall);
        const auto start = static_cast<std::size_t>(c + 1);  // 0-based index of position c + 2
        std::string value =
            start < line.size() ? line.substr(start, static_cast<std::size_t>(length)) : "";
        if (!value.empty() && value.front() == '"') {
            if (value.size() < 2)
                throw PrefsFailure(kBadCall);
            value = value.substr(1, value.size() - 2);
        }
        return value;
    } catch (const AlreadyReported&) {
        return {};
    } catch (const std::exception& e) {
        report("getSetting:", e.what());
        return {};
    }
}

void clsNavigatorPrefs::saveLine(const std::string& key, const std::string& valueText) {
    auto& lines = openLines();
    std::string newLine = "user_pref(\"" + key + "\", " + valueText + ");";
    const std::int16_t i = getIndex(quoteKeyPattern(key));
    if (i > 0) {
        auto at = static_cast<std::size_t>(i - 1);
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(at));
        if (at < lines.size()) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(newLine));
        } else if (lines.empty()) {
            // It was the only line: it stays the only one.
            lines.push_back(std::move(newLine));
        } else {
            lines.insert(lines.end() - 1, std::move(newLine));
        }
        return;
    }
    if (lines.empty())
        throw PrefsFailure(kBadCall);
    lines.insert(lines.end() - 1, std::move(newLine));
}

void clsNavigatorPrefs::saveSettingStr(const std::string& key, const std::string& value) {
    try {
        saveLine(key, "\"" + value + "\"");
    } catch (const AlreadyReported&) {
    } catch (const std::exception& e) {
        report("saveSettingStr:", e.what());
    }
}

void clsNavigatorPrefs::saveSettingInt(const std::string& key, std::int16_t value) {
    try {
        saveLine(key, std::to_string(value));
    } catch (const AlreadyReported&) {
    } catch (const std::exception& e) {
        report("saveSettingInt:", e.what());
    }
}

void clsNavigatorPrefs::saveSettingBln(const std::string& key, bool value) {
    try {
        saveLine(key, value ? "true" : "false");
    } catch (const AlreadyReported&) {
    } catch (const std::exception& e) {
        report("saveSettingBln:", e.what());
    }
}

void clsNavigatorPrefs::deleteSetting(const std::string& key) {
    try {
        const std::int16_t i = indexOfKey(key);
        if (i > 0)
            lines_->erase(lines_->begin() + (i - 1));
    } catch (const AlreadyReported&) {
    } catch (const std::exception& e) {
        report("deleteSetting", e.what());
    }
}

}  // namespace vtl
