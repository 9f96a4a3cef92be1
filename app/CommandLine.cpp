#include "app/CommandLine.h"

#include <algorithm>
#include <cctype>
#include <cstddef>

namespace vtl {

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool full(const std::vector<std::string>& args, int MaxArgs) {
    return static_cast<int>(args.size()) >= MaxArgs;
}

}  // namespace

std::vector<std::string> GetCommandLine(const std::string& commandString, int MaxArgs) {
    std::vector<std::string> args;
    const std::size_t start = commandString.find_first_not_of(' ');
    if (start == std::string::npos)
        return args;
    bool open = false;
    for (std::size_t i = start; i < commandString.size(); ++i) {
        const char c = commandString[i];
        if (c == '/') {
            open = false;
            continue;
        }
        if (!open) {
            if (full(args, MaxArgs))
                break;
            args.emplace_back();
            open = true;
        }
        if (c != '"')
            args.back() += c;
    }
    return args;
}

bool isSwitchElement(const std::string& element) {
    std::size_t prefix = 0;
    if (element.rfind("--", 0) == 0)
        prefix = 2;
    else if (!element.empty() && (element[0] == '/' || element[0] == '-'))
        prefix = 1;
    if (prefix == 0)
        return false;
    const std::string rest = lower(element.substr(prefix));
    return std::any_of(std::begin(kSwitchWords), std::end(kSwitchWords), [&](const char* word) {
        const std::string w = word;
        return rest.rfind(w, 0) == 0 && (rest.size() == w.size() || rest[w.size()] != '/');
    });
}

std::vector<std::string> GetCommandLine(const std::vector<std::string>& elements, int MaxArgs) {
    std::vector<std::string> args;
    bool open = false;
    for (const std::string& element : elements) {
        if (isSwitchElement(element)) {
            if (full(args, MaxArgs))
                break;
            args.push_back(element.substr(element.find_first_not_of("/-")));
            open = true;
        } else if (open) {
            args.back() += " " + element;
        } else {
            if (full(args, MaxArgs))
                break;
            args.push_back(element);
            open = true;
        }
    }
    return args;
}

std::string getSwitch(const std::string& word, const std::vector<std::string>& args) {
    const std::string w = lower(word);
    for (const std::string& arg : args) {
        if (lower(arg.substr(0, w.size())) == w)
            return arg;
    }
    return "";
}

}  // namespace vtl
