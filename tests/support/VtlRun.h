// Runs the built vtl program with a command line and collects what it prints.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace vtl::test {

struct VtlRun {
    int status;
    std::string out;  // standard output and standard error, interleaved
};

// `arguments` go through the shell: quote what must stay one word.
inline VtlRun runVtl(const std::string& arguments, const std::string& environment = "") {
    const std::string command =
        environment + " " + std::string(VANTREL_VTL_PATH) + " " + arguments + " 2>&1 </dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {-1, "popen failed"};
    std::string out;
    std::array<char, 4096> buffer{};
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// A word quoted for the shell.
inline std::string quoted(const std::string& word) {
    std::string result = "'";
    for (char c : word)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace vtl::test
