#include "ui/IPText.h"

namespace vtl::ui {

namespace {

// Spaces removed at both ends (only spaces, as the Basic Trim does).
std::string trimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string delimiterOr(const std::string& del) {
    return del.empty() ? std::string(",") : del;
}

// One to three digits with a value of at most 255.
bool isAddressGroup(const std::string& group) {
    if (group.empty() || group.size() > 3)
        return false;
    int value = 0;
    for (char c : group) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

}  // namespace

std::vector<std::string> SplitIP(const std::string& astrIP, const std::string& astrDel,
                                 int aintFill) {
    const std::string del = delimiterOr(astrDel);
    const std::string rest = trimSpaces(astrIP) + del;
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t pos = rest.find(del, start); pos != std::string::npos;
         pos = rest.find(del, start)) {
        result.push_back(trimSpaces(rest.substr(start, pos - start)));
        start = pos + del.size();
    }
    if (aintFill >= 1 && result.size() < static_cast<std::size_t>(aintFill))
        result.resize(static_cast<std::size_t>(aintFill));
    return result;
}

std::string MergeIP(const std::vector<std::string>& avarIP, const std::string& astrDel) {
    const std::string del = delimiterOr(astrDel);
    std::string merged;
    for (const std::string& entry : avarIP) {
        if (!entry.empty())
            merged += entry + del;
    }
    if (!merged.empty())
        merged.pop_back();
    return merged;
}

bool isValidIPAddress(const std::string& text) {
    if (text.empty())
        return true;
    int dots = 0;
    std::size_t start = 0;
    for (std::size_t pos = text.find('.'); pos != std::string::npos; pos = text.find('.', start)) {
        if (!isAddressGroup(text.substr(start, pos - start)))
            return false;
        ++dots;
        start = pos + 1;
    }
    return dots == 3 && isAddressGroup(text.substr(start));
}

bool isValidIPList(const std::string& list, const std::string& delimiter) {
    if (list.empty())
        return true;
    // An empty delimiter occurs before the first character: the first item is empty.
    if (delimiter.empty())
        return false;
    std::size_t start = 0;
    for (std::size_t pos = list.find(delimiter); pos != std::string::npos;
         pos = list.find(delimiter, start)) {
        const std::string item = list.substr(start, pos - start);
        if (item.empty() || !isValidIPAddress(item))
            return false;
        start = pos + delimiter.size();
    }
    const std::string tail = list.substr(start);
    return !tail.empty() && isValidIPAddress(tail);
}

}  // namespace vtl::ui
