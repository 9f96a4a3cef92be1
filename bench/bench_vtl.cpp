// The scripted run "vtl /hidden /load FILE /apply /export REPORT": wall time,
// peak memory and (under callgrind, when valgrind is installed) instructions,
// on the Windows 2000 sample and as the file and the image grow.
//   bench_vtl                          all cases
//   bench_vtl --run IMAGE FILE REPORT  one scripted run (what each case measures)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/HeadlessFrontEnd.h"
#include "app/frmMain.h"
#include "config/clsVtlConfig.h"
#include "platform/portable/PortablePlatform.h"

namespace fs = std::filesystem;

namespace {

// One scripted run in this process, as vtl does it.
int scriptedRun(const std::string& image, const std::string& file, const std::string& report) {
    std::ostringstream messages;
    vtl::HeadlessFrontEnd frontEnd(messages);
    vtl::portable::PortablePlatform machine(image);
    vtl::platform::PlatformScope scope(machine);
    machine.setMessageHandler(
        [&](const std::string& text, std::uint32_t style, const std::string& caption) {
            return frontEnd.MsgBox(text, style, caption);
        });
    vtl::frmMain window(frontEnd);
    window.Command =
        vtl::CommandLine::fromArgv({"/hidden", "/load", file, "/apply", "/export", report});
    try {
        window.Form_Load();
    } catch (const vtl::ProgramEnd&) {
    }
    if (frontEnd.failed())
        std::cerr << messages.str();
    return frontEnd.failed() ? 1 : 0;
}

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The Windows 2000 sample with synthetic class registrations appended until
// registry.reg is `bytes` long.
void growImage(const fs::path& image, std::size_t bytes) {
    std::mt19937 rng(42);
    std::ofstream out(image / "registry.reg", std::ios::binary | std::ios::app);
    std::size_t size = fs::file_size(image / "registry.reg");
    char line[256];
    for (int i = 0; size < bytes; ++i) {
        const int n = std::snprintf(
            line, sizeof line,
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\{%08X-%04X-0000-0000-%012X}]\r\n"
            "@=\"Component %d\"\r\n\"ThreadingModel\"=\"Apartment\"\r\n"
            "\"Flags\"=dword:%08x\r\n\r\n",
            static_cast<unsigned>(rng()), i & 0xFFFF, i, i, static_cast<unsigned>(rng()));
        out.write(line, n);
        size += static_cast<std::size_t>(n);
    }
}

struct Sample {
    double ms;
    long peakKb;
};

// Runs the scripted path in a child on a fresh copy of `image`.
Sample measure(const fs::path& self, const fs::path& image, const fs::path& file,
               const fs::path& scratch) {
    fs::remove_all(scratch);
    fs::copy(image, scratch, fs::copy_options::recursive);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(self.c_str(), self.c_str(), "--run", scratch.c_str(), file.c_str(),
                (scratch.string() + ".txt").c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "run failed (status %d)\n", status);
    return {ms, usage.ru_maxrss};
}

// Instructions of one run under callgrind; 0 when valgrind is not there.
unsigned long long instructions(const fs::path& self, const fs::path& image, const fs::path& file,
                                const fs::path& scratch) {
    if (std::system("valgrind --version >/dev/null 2>&1") != 0)
        return 0;
    fs::remove_all(scratch);
    fs::copy(image, scratch, fs::copy_options::recursive);
    const fs::path log = scratch.string() + ".callgrind";
    const std::string command = "valgrind --tool=callgrind --callgrind-out-file=/dev/null " +
                                self.string() + " --run " + scratch.string() + " " + file.string() +
                                " " + scratch.string() + ".txt 2>" + log.string();
    if (std::system(command.c_str()) != 0)
        return 0;
    const std::string text = slurp(log);
    const std::size_t at = text.find("Collected : ");
    return at == std::string::npos ? 0 : std::strtoull(text.c_str() + at + 12, nullptr, 10);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--run")
        return scriptedRun(argv[2], argv[3], argv[4]);

    const fs::path self = fs::canonical("/proc/self/exe");
    const fs::path dir =
        fs::temp_directory_path() / ("vantrel-bench-vtl-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path sample = fs::path(VANTREL_SAMPLES_DIR) / "win2000";
    fs::copy(sample, dir / "small", fs::copy_options::recursive);
    fs::copy(sample, dir / "big", fs::copy_options::recursive);
    growImage(dir / "big", 30u << 20);

    // The configuration file: the sample's own settings, saved by a first run.
    const fs::path office = dir / "office.vtl";
    {
        fs::copy(sample, dir / "saver", fs::copy_options::recursive);
        vtl::portable::PortablePlatform machine(dir / "saver");
        vtl::platform::PlatformScope scope(machine);
        std::ostringstream sink;
        vtl::HeadlessFrontEnd frontEnd(sink);
        vtl::frmMain window(frontEnd);
        window.Command = vtl::CommandLine::fromArgv({"/hidden", "/save", office.string()});
        window.Form_Load();
    }
    const fs::path addIns = dir / "addins.vtl";
    {
        std::ofstream out(addIns, std::ios::binary);
        out << slurp(office);
        for (int i = 0; i < 1000; ++i) {
            out << "[AddIn" << i << "]\r\n";
            for (int k = 0; k < 8; ++k)
                out << "Setting" << k << "=\\\\server" << i << "\\share" << k << "\r\n";
        }
    }

    struct Case {
        const char* name;
        fs::path image;
        fs::path file;
    };
    const Case cases[] = {
        {"win2000 sample, plain file", dir / "small", office},
        {"win2000 sample, 1000 add-in sections", dir / "small", addIns},
        {"30 MB image, plain file", dir / "big", office},
        {"30 MB image, 1000 add-in sections", dir / "big", addIns},
    };
    std::printf("file sizes: plain %ju bytes, with add-in sections %ju bytes; image %.1f MB\n",
                static_cast<std::uintmax_t>(fs::file_size(office)),
                static_cast<std::uintmax_t>(fs::file_size(addIns)),
                static_cast<double>(fs::file_size(dir / "big" / "registry.reg")) / (1 << 20));
    std::printf("%-40s %10s %12s %16s\n", "case", "wall ms", "peak RSS MB", "instructions");
    for (const Case& c : cases) {
        std::vector<Sample> runs;
        for (int i = 0; i < 5; ++i)
            runs.push_back(measure(self, c.image, c.file, dir / "run"));
        std::sort(runs.begin(), runs.end(),
                  [](const Sample& a, const Sample& b) { return a.ms < b.ms; });
        const unsigned long long ir = instructions(self, c.image, c.file, dir / "run");
        std::printf("%-40s %10.1f %12.1f %16llu\n", c.name, runs[2].ms,
                    static_cast<double>(runs[2].peakKb) / 1024, ir);
    }
    fs::remove_all(dir);
    return 0;
}
