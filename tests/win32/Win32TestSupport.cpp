#include "tests/win32/Win32TestSupport.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace vtl::win32::test {

namespace {

void removeTree(const std::string& path) {
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder() {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    static unsigned counter = 0;
    path_ = std::string(temp) + "vtltest" + std::to_string(::GetCurrentProcessId()) + "_" +
            std::to_string(++counter);
    removeTree(path_);
    makeFolder(path_);
}

ScratchFolder::~ScratchFolder() {
    removeTree(path_);
}

void makeFolder(const std::string& path) {
    if (!::CreateDirectoryA(path.c_str(), nullptr))
        throw std::runtime_error("cannot create folder " + path);
}

void setReadOnly(const std::string& path, bool readOnly) {
    ::SetFileAttributesA(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    char old[4096];
    const DWORD length = ::GetEnvironmentVariableA(name, old, sizeof old);
    hadPrevious_ = length > 0 && length < sizeof old;
    previous_ = hadPrevious_ ? std::string(old, length) : "";
    ::SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

ScopedEnv::~ScopedEnv() {
    ::SetEnvironmentVariableA(name_.c_str(), hadPrevious_ ? previous_.c_str() : nullptr);
}

std::string captureStderr(const std::function<void()>& action) {
    char temp[MAX_PATH];
    char file[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    ::GetTempFileNameA(temp, "err", 0, file);
    std::fflush(stderr);
    const int saved = _dup(2);
    const int target = _open(file, _O_WRONLY | _O_TRUNC | _O_BINARY);
    _dup2(target, 2);
    _close(target);
    action();
    std::fflush(stderr);
    _dup2(saved, 2);
    _close(saved);
    std::string text;
    if (FILE* in = std::fopen(file, "rb")) {
        char buffer[4096];
        std::size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            text.append(buffer, got);
        std::fclose(in);
    }
    ::DeleteFileA(file);
    return text;
}

std::uintptr_t createWindow(const std::string& caption) {
    HWND window =
        ::CreateWindowExA(0, "STATIC", caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                          200, 100, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    return reinterpret_cast<std::uintptr_t>(window);
}

void destroyWindow(std::uintptr_t window) {
    ::DestroyWindow(reinterpret_cast<HWND>(window));
}

}  // namespace vtl::win32::test
