// Network settings on a copy of the Windows 2000 sample: reading the current
// settings, saving and loading a configuration file, and applying. Reports the
// time per run, the registry calls and the read system calls of each step.
//
//   cmake -S . -B build/netbench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF
//   cmake --build build/netbench --target bench_network && ./build/netbench/bench_network
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "bench/BenchMachine.h"
#include "net/clsNetConfig2K.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/portable/RegistryStore.h"

namespace fs = std::filesystem;

namespace {

// Read system calls of this process so far (every file read shows here).
long long readCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
        if (key == "syscr:")
            return value;
    }
    return -1;
}

struct Figures {
    double microseconds = 0;
    vtl::portable::RegistryStore::Stats stats;
    long long reads = 0;
};

Figures measure(vtl::portable::PortablePlatform& platform, int runs,
                const std::function<void()>& step) {
    step();  // warm-up: file caches, first parse
    platform.registry().resetStats();
    const long long readsBefore = readCalls();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < runs; ++i)
        step();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    Figures f;
    f.microseconds = std::chrono::duration<double, std::micro>(elapsed).count() / runs;
    f.stats = platform.registry().stats();
    f.reads = (readCalls() - readsBefore) / runs;
    return f;
}

void report(const char* name, const Figures& f, int runs) {
    const auto per = [runs](std::uint64_t n) { return static_cast<double>(n) / runs; };
    std::printf(
        "%-28s %9.1f us  opens %6.1f  queries %6.1f  enums %5.1f  sets %5.1f  "
        "deletes %4.1f  creates %4.1f  read syscalls %lld\n",
        name, f.microseconds, per(f.stats.opens), per(f.stats.queries), per(f.stats.enums),
        per(f.stats.sets), per(f.stats.deletes), per(f.stats.creates), f.reads);
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    {
        vtl::bench::BenchMachine machine("netbench");
        auto& platform = machine.platform();
        const std::string file = machine.file("bench.vtl");

        std::printf("Network settings, Windows 2000 sample, %d runs each (per run):\n", runs);

        report("loadConfiguration",
               measure(platform, runs,
                       [] {
                           vtl::clsNetConfig2K net;
                           net.loadConfiguration();
                       }),
               runs);

        vtl::clsNetConfig2K net;
        net.loadConfiguration();
        report("SaveConfigurationFile",
               measure(platform, runs, [&] { net.SaveConfigurationFile(file); }), runs);
        report("LoadConfigurationFile",
               measure(platform, runs, [&] { net.LoadConfigurationFile(file); }), runs);

        // As the General tab does after loading a file: every item through its setter.
        const auto assignAll = [&] {
            net.ComputerName(net.ComputerName());
            net.DomainName(net.DomainName());
            net.Host(net.Host());
            net.IPAddress(net.IPAddress());
            net.IPMask(net.IPMask());
            net.DefaultGateway(net.DefaultGateway());
            net.DNSServers(net.DNSServers());
            net.SearchList(net.SearchList());
            net.DNSEnabled(net.DNSEnabled());
            net.DHCPEnabled(net.DHCPEnabled());
            net.WINSEnabled(net.WINSEnabled());
            net.DefaultPrinter(net.DefaultPrinter());
        };
        report("ApplyConfiguration (all)",
               measure(platform, runs,
                       [&] {
                           assignAll();
                           net.ApplyConfiguration();
                       }),
               runs);
        report("ApplyConfiguration (none)",
               measure(platform, runs, [&] { net.ApplyConfiguration(); }), runs);
    }
    return 0;
}
