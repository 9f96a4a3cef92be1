// Machine image registry: load time and memory of a large image, the cost of
// one write on a large and on a small image, and the fold time.
//
//   bench_registry [megabytes]   (default 30)
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/portable/PortableRegistry.h"

namespace fs = std::filesystem;
namespace pf = vtl::platform;
using vtl::portable::PortableRegistry;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

long maxRssMb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

// Writes a synthetic export shaped like a real one: class registrations,
// services with mixed value types, per-user settings.
struct Counts {
    std::size_t keys = 0, values = 0, bytes = 0;
};

Counts makeImage(const fs::path& file, std::size_t targetBytes) {
    std::mt19937 rng(42);
    std::ofstream out(file, std::ios::binary);
    std::string buf = "REGEDIT4\r\n\r\n";
    Counts c;
    auto hexLine = [&](const std::string& name, const char* kind, std::size_t n) {
        std::string line = "\"" + name + "\"=" + kind;
        std::size_t col = line.size();
        char b[4];
        for (std::size_t i = 0; i < n; ++i) {
            std::snprintf(b, sizeof b, "%02x", static_cast<unsigned>(rng() & 0xFF));
            line += b;
            col += 2;
            if (i + 1 < n) {
                line += ',';
                if (++col > 76) {
                    line += "\\\r\n  ";
                    col = 2;
                }
            }
        }
        buf += line + "\r\n";
    };
    auto value = [&](int i) {
        std::string name = "Value" + std::to_string(i);
        switch (rng() % 6) {
            case 0:
            case 1:
                buf += "\"" + name + "\"=\"C:\\\\WINNT\\\\System32\\\\component" +
                       std::to_string(rng() % 100000) + ".dll\"\r\n";
                break;
            case 2:
                buf += "\"" + name + "\"=dword:" + std::to_string(10000000 + rng() % 89999999) +
                       "\r\n";
                break;
            case 3:
                hexLine(name, "hex:", 8 + rng() % 120);
                break;
            case 4:
                hexLine(name, "hex(7):", 20 + rng() % 60);
                break;
            default:
                hexLine(name, "hex(2):", 16 + rng() % 40);
                break;
        }
        ++c.values;
    };
    auto section = [&](const std::string& path, int values) {
        buf += "[" + path + "]\r\n";
        for (int i = 0; i < values; ++i)
            value(i);
        buf += "\r\n";
        ++c.keys;
        if (buf.size() > (1 << 20)) {
            out << buf;
            c.bytes += buf.size();
            buf.clear();
        }
    };
    section("HKEY_LOCAL_MACHINE\\SOFTWARE", 0);
    section("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes", 0);
    section("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID", 0);
    for (int i = 0; c.bytes + buf.size() < targetBytes; ++i) {
        char guid[64];
        std::snprintf(guid, sizeof guid, "{%08X-%04X-%04X-0000-%012X}",
                      static_cast<unsigned>(rng()), i & 0xFFFF,
                      static_cast<unsigned>(rng() & 0xFFFF), i);
        std::string clsid = std::string("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\") + guid;
        section(clsid, 1 + static_cast<int>(rng() % 3));
        section(clsid + "\\InprocServer32", 2);
        if (i % 4 == 0)
            section(clsid + "\\ProgID", 1);
        if (i % 10 == 0) {
            std::string svc =
                "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Svc" + std::to_string(i);
            section(svc, 6);
            section(svc + "\\Parameters", 4);
            section(svc + "\\Parameters\\Tcpip", 8);
            section("HKEY_CURRENT_USER\\Software\\Vendor" + std::to_string(i % 50) + "\\App" +
                        std::to_string(i),
                    5);
        }
    }
    out << buf;
    c.bytes += buf.size();
    return c;
}

// Average cost of one RegSetValueEx on an open key.
double writeCostUs(PortableRegistry& r, int n) {
    pf::HKEY k = 0;
    std::uint32_t disp = 0;
    if (r.RegCreateKeyEx(pf::HKEY_LOCAL_MACHINE, "SOFTWARE\\Bench", 0xF003F, k, disp) != 0) {
        std::fprintf(stderr, "cannot create the bench key\n");
        std::exit(1);
    }
    auto t = Clock::now();
    for (int i = 0; i < n; ++i) {
        std::uint32_t v = static_cast<std::uint32_t>(i);
        r.RegSetValueEx(k, "Counter" + std::to_string(i % 16), pf::REG_DWORD,
                        reinterpret_cast<const std::uint8_t*>(&v), 4);
    }
    double us = msSince(t) * 1000.0 / n;
    r.RegCloseKey(k);
    return us;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t mb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 30;
    fs::path dir =
        fs::temp_directory_path() / ("vantrel-bench-registry-" + std::to_string(getpid()));
    fs::create_directories(dir / "big");
    fs::create_directories(dir / "small");
    const int writes = 5000;
    try {
        auto t = Clock::now();
        Counts c = makeImage(dir / "big" / "registry.reg", mb << 20);
        std::printf("synthetic image: %.1f MB, %zu keys, %zu values (made in %.0f ms)\n",
                    static_cast<double>(c.bytes) / (1 << 20), c.keys, c.values, msSince(t));

        long rssBefore = maxRssMb();
        t = Clock::now();
        PortableRegistry big(dir / "big" / "registry.reg");
        double load = msSince(t);
        std::printf("load:                 %8.0f ms, peak RSS %ld MB (%ld MB before)\n", load,
                    maxRssMb(), rssBefore);

        // Small image: the Windows 2000 sample when there is one, else a synthetic one.
        fs::path sample = fs::path(VANTREL_SAMPLES_DIR) / "win2000" / "registry.reg";
        if (fs::exists(sample)) {
            fs::copy_file(sample, dir / "small" / "registry.reg");
        } else {
            makeImage(dir / "small" / "registry.reg", 64 << 10);
        }
        PortableRegistry small(dir / "small" / "registry.reg");
        std::printf("small image:          %8.1f KB (%s)\n",
                    static_cast<double>(fs::file_size(dir / "small" / "registry.reg")) / 1024,
                    fs::exists(sample) ? "samples/win2000" : "synthetic");

        double wBig = writeCostUs(big, writes);
        double wSmall = writeCostUs(small, writes);
        std::printf("write (big image):    %8.1f us per RegSetValueEx (%d writes, %llu folds)\n",
                    wBig, writes, static_cast<unsigned long long>(big.stats().folds));
        std::printf("write (small image):  %8.1f us per RegSetValueEx (%d writes, %llu folds)\n",
                    wSmall, writes, static_cast<unsigned long long>(small.stats().folds));

        // Another process sees one change: replay of one record.
        PortableRegistry other(dir / "big" / "registry.reg");
        pf::HKEY k = 0;
        std::string path = "SOFTWARE\\Bench";
        other.RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &path, 1, k);
        std::uint32_t v = 7, type = 0, size = 0;
        pf::HKEY kb = 0;
        big.RegOpenKeyEx(pf::HKEY_LOCAL_MACHINE, &path, 2, kb);
        big.RegSetValueEx(kb, "Seen", pf::REG_DWORD, reinterpret_cast<const std::uint8_t*>(&v), 4);
        other.resetStats();
        t = Clock::now();
        other.RegQueryValueEx(k, "Seen", type, nullptr, size);
        std::printf("read after another's write: %.1f us (records replayed: %llu)\n",
                    msSince(t) * 1000, static_cast<unsigned long long>(other.stats().replays));

        t = Clock::now();
        big.fold();
        std::printf("fold (big image):     %8.0f ms, file %.1f MB\n", msSince(t),
                    static_cast<double>(fs::file_size(dir / "big" / "registry.reg")) / (1 << 20));
        t = Clock::now();
        other.RegQueryValueEx(k, "Seen", type, nullptr, size);
        std::printf("reload after a fold:  %8.0f ms\n", msSince(t));
        std::printf("peak RSS at the end:  %8ld MB (two instances of the big image)\n", maxRssMb());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        fs::remove_all(dir);
        return 1;
    }
    fs::remove_all(dir);
    return 0;
}
