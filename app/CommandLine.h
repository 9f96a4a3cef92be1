// The program's command line: its grammar, the argument list and the switches.
#pragma once

#include <string>
#include <vector>

namespace vtl {

inline constexpr int kMaxArgs = 10;

// The eleven switch words, in the order in which they run.
inline constexpr const char* kSwitchWords[] = {"hidden", "load",     "save",   "export",
                                               "apply",  "print",    "prompt", "manual",
                                               "reboot", "shutdown", "suspend"};

// The argument list of a Windows command string (the command line after the
// program's path): "/" ends an argument, a double quote is dropped, every
// other character (blanks included) belongs to the open argument or starts
// one. Scanning stops when a further argument would exceed MaxArgs.
std::vector<std::string> GetCommandLine(const std::string& commandString, int MaxArgs = kMaxArgs);

// The argument list of a command line the host's shell has already split.
// An element "/", "-" or "--" followed by a switch word (any case) and then
// nothing or a character other than "/" starts a new argument without its
// leading "/" or "-"s; any other element is appended, after one blank, to the
// open argument, or is an argument of its own when none is open.
std::vector<std::string> GetCommandLine(const std::vector<std::string>& elements,
                                        int MaxArgs = kMaxArgs);

// True when `element` starts an argument in the sense above.
bool isSwitchElement(const std::string& element);

// The first argument whose leading characters equal `word` without regard to
// case, whole; "" when none does.
std::string getSwitch(const std::string& word, const std::vector<std::string>& args);

// The command the program was started with: a Windows command string, or the
// elements of the host's argument vector.
struct CommandLine {
    std::string text;
    std::vector<std::string> elements;
    bool fromElements = false;

    static CommandLine fromString(std::string commandString) {
        return {std::move(commandString), {}, false};
    }
    static CommandLine fromArgv(std::vector<std::string> argv) {
        return {"", std::move(argv), true};
    }
    bool empty() const { return fromElements ? elements.empty() : text.empty(); }
    std::vector<std::string> arguments(int MaxArgs = kMaxArgs) const {
        return fromElements ? GetCommandLine(elements, MaxArgs) : GetCommandLine(text, MaxArgs);
    }
};

}  // namespace vtl
