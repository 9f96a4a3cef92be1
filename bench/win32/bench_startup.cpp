// Start-up time of vtl.exe: from CreateProcess to the main window's first paint
// (visible, nothing left to paint, the program idle), from CreateProcess to the
// end of `vtl.exe /hidden`, and, as the floor, to the end of a program that does
// nothing (this one with --exit).
//   bench_startup.exe [RUNS] [PATH_OF_VTL_EXE]      (defaults: 10, vtl.exe beside it)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kCaption = "[Current Configuration] - Vantrel";
constexpr DWORD kTimeoutMs = 60000;

double nowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool start(const std::string& exe, const std::string& switches, PROCESS_INFORMATION& process) {
    std::string line = "\"" + exe + "\"" + (switches.empty() ? "" : " " + switches);
    STARTUPINFOA info{};
    info.cb = sizeof info;
    return CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &info, &process) != FALSE;
}

void finish(PROCESS_INFORMATION& process) {
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Milliseconds to the first paint of the main window; negative on failure.
double windowRun(const std::string& exe) {
    PROCESS_INFORMATION process{};
    const double begin = nowMs();
    if (!start(exe, "", process))
        return -1;
    HWND window = nullptr;
    double painted = -1;
    while (nowMs() - begin < kTimeoutMs) {
        if (!window)
            window = FindWindowA(nullptr, kCaption);
        if (window && IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE) &&
            WaitForInputIdle(process.hProcess, 0) == 0) {
            painted = nowMs() - begin;
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            break;  // ended before showing its window
    }
    if (window)
        PostMessageA(window, WM_CLOSE, 0, 0);
    finish(process);
    return painted;
}

// Milliseconds from start to the end of `exe switches`; negative on failure.
double plainRun(const std::string& exe, const std::string& switches) {
    PROCESS_INFORMATION process{};
    const double begin = nowMs();
    if (!start(exe, switches, process))
        return -1;
    const bool ended = WaitForSingleObject(process.hProcess, kTimeoutMs) == WAIT_OBJECT_0;
    const double elapsed = nowMs() - begin;
    finish(process);
    return ended ? elapsed : -1;
}

void report(const char* what, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %7.1f ms   min %7.1f ms   max %7.1f ms   (%zu runs)\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--exit")
        return 0;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    std::string exe = argc > 2 ? argv[2] : "";
    if (exe.empty()) {
        exe = self;
        exe = exe.substr(0, exe.find_last_of('\\') + 1) + "vtl.exe";
    }
    std::vector<double> window;
    std::vector<double> hidden;
    std::vector<double> empty;
    windowRun(exe);  // warms the file cache and Wine's own start-up
    for (int i = 0; i < runs; ++i) {
        const double w = windowRun(exe);
        const double h = plainRun(exe, "/hidden");
        const double e = plainRun(self, "--exit");
        if (w < 0 || h < 0 || e < 0) {
            std::fprintf(stderr, "bench_startup: run %d failed (%.0f, %.0f, %.0f)\n", i + 1, w, h,
                         e);
            return 1;
        }
        window.push_back(w);
        hidden.push_back(h);
        empty.push_back(e);
    }
    report("start to first paint of the window", window);
    report("vtl.exe /hidden, start to end", hidden);
    report("a program doing nothing", empty);
    return 0;
}
