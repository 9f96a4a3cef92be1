// Configuration files through the document on a copy of the Windows 2000
// sample: a save, and loads of the saved file as another process finds it
// (just written, or written before the last clock tick) and again in the same
// process. Reports per operation the time, the whole-file reads and parses of
// the profile cache and the read system calls.
//
//   cmake -S . -B build/confbench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_TESTS=OFF
//   cmake --build build/confbench --target bench_config && ./build/confbench/bench_config
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "bench/BenchMachine.h"
#include "config/clsVtlConfig.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/portable/ProfileFile.h"

namespace fs = std::filesystem;

namespace {

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

// `prepare` runs before each operation and is not counted.
void measure(const char* name, int runs, const std::function<void()>& prepare,
             const std::function<void()>& step) {
    double micros = 0;
    long long syscalls = 0;
    std::uint64_t reads = 0, parses = 0;
    for (int i = 0; i < runs; ++i) {
        prepare();
        vtl::ResetProfileCacheCounts();
        const long long before = readCalls();
        const auto start = std::chrono::steady_clock::now();
        step();
        micros +=
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count();
        syscalls += readCalls() - before;
        reads += vtl::ProfileCacheCounts().reads;
        parses += vtl::ProfileCacheCounts().parses;
    }
    const auto per = [runs](double n) { return n / runs; };
    std::printf("%-34s %9.1f us  file reads %5.2f  parses %5.2f  read syscalls %6.2f\n", name,
                per(micros), per(static_cast<double>(reads)), per(static_cast<double>(parses)),
                per(static_cast<double>(syscalls)));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
    {
        vtl::bench::BenchMachine machine("confbench");
        const std::string file = machine.file("bench.vtl");
        vtl::clsVtlConfig doc;
        const auto nothing = [] {};
        const auto load = [&] {
            vtl::clsVtlConfig other;
            other.LoadConfigurationFile(file, {});
        };
        std::printf("Configuration file, Windows 2000 sample, %d runs each (per operation):\n",
                    runs);
        measure("save", runs, nothing, [&] { doc.SaveConfigurationFile(file, {}); });
        measure(
            "load, just written by another", runs,
            [&] {
                doc.SaveConfigurationFile(file, {});
                vtl::ClearProfileCache();
            },
            load);
        measure(
            "load, written earlier by another", runs,
            [&] {
                doc.SaveConfigurationFile(file, {});
                vtl::ClearProfileCache();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            },
            load);
        measure("load again in the same process", runs, load, load);
    }
    return 0;
}
