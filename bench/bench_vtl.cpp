// The goals for a real-size machine image, on the Windows 2000 sample and on
// the sample grown to 30 MB, side by side:
//   - loading the image's registry alone (time, and peak memory of a process doing only that);
//   - the scripted run "vtl --machine IMAGE /hidden /load FILE /apply /export REPORT"
//     (wall time and peak memory, fresh process on a fresh copy of the image);
//   - the write-back at exit after a dozen changed values, against writing the file once;
//   - a second scripted run that changes nothing: does it write anything;
//   - a second process catching up after the first rewrote registry.reg;
//   - the scripted run on the sample against "vtl --version".
//   bench_vtl                  all of it
//   bench_vtl --load IMAGE     load the registry only (what the memory figure measures)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/HeadlessFrontEnd.h"
#include "app/frmMain.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/portable/PortableRegistry.h"

namespace fs = std::filesystem;
namespace pf = vtl::platform;
using vtl::portable::PortableRegistry;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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

struct Run {
    double ms = 0;
    double peakMb = 0;
};

// Runs a program to its end; wall time and peak memory from wait4.
Run runChild(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::execv(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const double ms = msSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s failed (status %d)\n", args[0].c_str(), status);
    return {ms, static_cast<double>(usage.ru_maxrss) / 1024};
}

Run medianRun(const std::function<Run()>& once) {
    std::vector<Run> runs;
    for (int i = 0; i < 5; ++i)
        runs.push_back(once());
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
    return runs[2];
}

void fresh(const fs::path& image, const fs::path& copy) {
    fs::remove_all(copy);
    fs::copy(image, copy, fs::copy_options::recursive);
}

// The last values of the file's last keys: a dozen values in keys the run does not touch.
std::vector<std::string> lastKeys(const fs::path& reg, std::size_t n) {
    std::ifstream in(reg, std::ios::binary);
    std::string line;
    std::vector<std::string> keys;
    while (std::getline(in, line)) {
        if (line.size() > 2 && line[0] == '[' && line.find("HKEY_LOCAL_MACHINE\\") == 1)
            keys.push_back(line.substr(20, line.find(']') - 20));
    }
    keys.erase(keys.begin(), keys.end() - static_cast<long>(std::min(n, keys.size())));
    return keys;
}

// The write-back after `keys` each got one new value (the destructor), in ms.
double writeBack(const fs::path& reg, const std::vector<std::string>& keys) {
    auto r = std::make_unique<PortableRegistry>(reg);
    for (const std::string& k : keys) {
        pf::HKEY h = 0;
        if (r->RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &k, 0xF003F, h) != 0)
            std::fprintf(stderr, "no key %s\n", k.c_str());
        const std::uint8_t data[4] = {1, 2, 3, 4};
        r->RegSetValueEx(h, "Bench", pf::REG_DWORD, data, 4);
    }
    const auto start = Clock::now();
    r.reset();
    return msSince(start);
}

// Writing the same bytes once: new file, fsync, rename over.
double writeOnce(const fs::path& reg) {
    std::string text;
    {
        std::ifstream in(reg, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        text = s.str();
    }
    const auto start = Clock::now();
    const std::string tmp = reg.string() + ".once";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
        ::fsync(fd) != 0)
        std::fprintf(stderr, "write failed\n");
    ::close(fd);
    fs::rename(tmp, reg);
    return msSince(start);
}

// A process holding the image reads after another rewrote registry.reg: ms of that read.
double catchUp(const fs::path& reg) {
    PortableRegistry a(reg);
    {
        PortableRegistry b(reg);
        pf::HKEY h = 0;
        std::uint32_t disp = 0;
        b.RegCreateKeyEx(pf::HKEY_LOCAL_MACHINE, "SOFTWARE\\Bench", 0xF003F, h, disp);
        const std::uint8_t data[4] = {1, 0, 0, 0};
        b.RegSetValueEx(h, "Other", pf::REG_DWORD, data, 4);
    }  // b folds: registry.reg replaced
    const std::string key = "SOFTWARE\\Bench";
    const auto start = Clock::now();
    pf::HKEY h = 0;
    std::uint32_t type = 0, size = 0;
    if (a.RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &key, 1, h) != 0 ||
        a.RegQueryValueEx(h, "Other", type, nullptr, size) != 0)
        std::fprintf(stderr, "the other's change is missing\n");
    return msSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--load") {
        PortableRegistry r(fs::path(argv[2]) / "registry.reg");
        return 0;
    }
    const std::string self = fs::canonical("/proc/self/exe").string();
    const std::string vtl = VANTREL_VTL_PATH;
    const fs::path dir =
        fs::temp_directory_path() / ("vantrel-bench-vtl-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path sample = fs::path(VANTREL_SAMPLES_DIR) / "win2000";
    fs::copy(sample, dir / "small", fs::copy_options::recursive);
    fs::copy(sample, dir / "big", fs::copy_options::recursive);
    growImage(dir / "big", 30u << 20);

    // The configuration file: the sample's own settings, saved by a first run.
    const fs::path office = dir / "office.vtl";
    fresh(sample, dir / "saver");
    runChild({vtl, "--machine", (dir / "saver").string(), "/hidden", "/save", office.string()});

    const fs::path images[2] = {dir / "small", dir / "big"};
    const fs::path run = dir / "run";
    auto scripted = [&](const fs::path& image) {
        return std::vector<std::string>{vtl,       "--machine", image.string(),
                                        "/hidden", "/load",     office.string(),
                                        "/apply",  "/export",   (dir / "report.txt").string()};
    };
    struct Row {
        const char* what;
        std::string cell[2];
        const char* goal;
    };
    std::vector<Row> rows;
    auto fmt = [](const char* f, double a, double b = 0) {
        char buf[64];
        std::snprintf(buf, sizeof buf, f, a, b);
        return std::string(buf);
    };
    Row load{"load the registry alone: ms", {}, "<= 100 ms"};
    Row loadMem{"load alone, process peak RSS: MB", {}, ""};
    Row wall{"scripted run: wall ms", {}, "30 MB <= 3x sample"};
    Row mem{"scripted run: peak RSS MB", {}, "<= 60 MB"};
    Row wb{"write-back after 12 changed values: ms", {}, "<= writing once"};
    Row once{"writing the file once (write, fsync, rename): ms", {}, ""};
    Row nothing{"second run, nothing changed: registry.reg written?", {}, "no"};
    Row catchup{"other process's read after a rewrite: ms", {}, "no full parse"};
    double wallMs[2] = {};
    for (int i = 0; i < 2; ++i) {
        const fs::path reg = images[i] / "registry.reg";
        std::vector<double> loads;
        for (int k = 0; k < 5; ++k) {
            const auto start = Clock::now();
            PortableRegistry r(reg);
            loads.push_back(msSince(start));
        }
        load.cell[i] = fmt("%.1f", median(loads));
        loadMem.cell[i] = fmt("%.1f", medianRun([&] {
                                          return runChild({self, "--load", images[i].string()});
                                      }).peakMb);
        const Run r = medianRun([&] {
            fresh(images[i], run);
            return runChild(scripted(run));
        });
        wallMs[i] = r.ms;
        wall.cell[i] = fmt("%.1f", r.ms);
        mem.cell[i] = fmt("%.1f", r.peakMb);

        const std::vector<std::string> keys = lastKeys(reg, 12);
        std::vector<double> wbs, onces;
        for (int k = 0; k < 5; ++k) {
            fresh(images[i], run);
            wbs.push_back(writeBack(run / "registry.reg", keys));
            onces.push_back(writeOnce(run / "registry.reg"));
        }
        wb.cell[i] = fmt("%.1f", median(wbs));
        once.cell[i] = fmt("%.1f", median(onces));

        fresh(images[i], run);
        runChild(scripted(run));
        struct stat before {
        }, after{};
        ::stat((run / "registry.reg").c_str(), &before);
        runChild(scripted(run));
        ::stat((run / "registry.reg").c_str(), &after);
        const bool wrote = before.st_ino != after.st_ino ||
                           before.st_mtim.tv_nsec != after.st_mtim.tv_nsec ||
                           before.st_mtim.tv_sec != after.st_mtim.tv_sec ||
                           fs::exists(run / "registry.reg.journal");
        nothing.cell[i] = wrote ? "yes" : "no";

        std::vector<double> catches;
        for (int k = 0; k < 5; ++k) {
            fresh(images[i], run);
            catches.push_back(catchUp(run / "registry.reg"));
        }
        catchup.cell[i] = fmt("%.1f", median(catches));
    }
    Row ratio{"scripted run / 'vtl --version' wall time", {}, "sample <= 3x"};
    const Run version = medianRun([&] { return runChild({vtl, "--version"}); });
    ratio.cell[0] = fmt("%.1f (%.1f ms)", wallMs[0] / version.ms, version.ms);
    ratio.cell[1] = fmt("30 MB / sample: %.1f", wallMs[1] / wallMs[0]);
    rows = {load, loadMem, wall, mem, wb, once, nothing, catchup, ratio};

    std::printf("image sizes: sample %.0f KB, large %.1f MB; configuration file %ju bytes\n",
                static_cast<double>(fs::file_size(images[0] / "registry.reg")) / 1024,
                static_cast<double>(fs::file_size(images[1] / "registry.reg")) / (1 << 20),
                static_cast<std::uintmax_t>(fs::file_size(office)));
    std::printf("| %s | %s | %s | %s |\n|---|---:|---:|---|\n", "measurement", "sample",
                "30 MB image", "goal");
    for (const Row& r : rows)
        std::printf("| %s | %s | %s | %s |\n", r.what, r.cell[0].c_str(), r.cell[1].c_str(),
                    r.goal);
    fs::remove_all(dir);
    return 0;
}
