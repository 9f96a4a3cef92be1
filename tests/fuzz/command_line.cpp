// The command line in both forms: the Windows command string and the argv
// elements. The input is the string, and also its NUL-separated elements.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vtl::fuzz::check;
    const std::string input = vtl::fuzz::text(data, size);
    const int most = size > 0 ? data[0] % 12 : vtl::kMaxArgs;

    const std::vector<std::string> fromString = vtl::GetCommandLine(input, most);
    check(static_cast<int>(fromString.size()) <= std::max(most, 0), "too many arguments");
    for (const std::string& arg : fromString)
        check(arg.find_first_of("/\"") == std::string::npos, "a slash or quote kept", arg);

    std::vector<std::string> elements;
    std::size_t start = 0;
    for (std::size_t nul = input.find('\0'); nul != std::string::npos;
         nul = input.find('\0', start)) {
        elements.push_back(input.substr(start, nul - start));
        start = nul + 1;
    }
    elements.push_back(input.substr(start));
    const std::vector<std::string> fromArgv = vtl::GetCommandLine(elements, most);
    check(static_cast<int>(fromArgv.size()) <= std::max(most, 0), "too many arguments");

    // A switch word is found as the program looks it up, in either list.
    for (const char* word : vtl::kSwitchWords) {
        vtl::getSwitch(word, fromString);
        const std::string found = vtl::getSwitch(word, fromArgv);
        check(found.empty() || found.size() >= std::string(word).size(), "a switch too short",
              found);
    }
    const vtl::CommandLine line = vtl::CommandLine::fromArgv(elements);
    check(line.arguments(most) == fromArgv, "the command line differs from its elements");
    return 0;
}
