// The shell (shell32), the file dialogs (comdlg32) and top-level windows (user32).
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <exception>

#include "platform/win32/Win32Api.h"

namespace vtl::win32 {

namespace {

const char* orNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

// OPENFILENAMEA as Windows 95 and NT 4 know it, which every later system accepts.
constexpr DWORD kOpenFileNameSize = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
#ifndef _WIN64
static_assert(kOpenFileNameSize == 76);
#endif

HWND window(std::uintptr_t handle) {
    return reinterpret_cast<HWND>(handle);
}

// A dialog text buffer of `size` characters (at least the text and its NUL).
std::vector<char> buffer(const std::string& text, std::uint32_t size) {
    std::vector<char> bytes(std::max<std::size_t>(size, text.size() + 1), '\0');
    std::memcpy(bytes.data(), text.data(), text.size());
    return bytes;
}

// As the Windows dialog leaves it: the result and its NUL over the old text.
std::string returned(const std::vector<char>& bytes, const std::string& before) {
    const std::size_t length = strnlen(bytes.data(), bytes.size());
    const std::size_t keep = std::max(before.size(), std::min(length + 1, bytes.size()));
    return std::string(bytes.data(), std::min(keep, bytes.size()));
}

}  // namespace

std::uint32_t Win32Platform::GetCurrentProcessId() {
    return ::GetCurrentProcessId();
}

std::string Win32Platform::AppPath() {
    std::vector<char> path(MAX_PATH, '\0');
    DWORD length = 0;
    for (;;) {
        length = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size() || path.size() >= 32768)
            break;
        path.resize(path.size() * 2);
    }
    std::string folder(path.data(), length);
    const auto slash = folder.find_last_of('\\');
    folder.resize(slash == std::string::npos ? 0 : slash);
    return folder;
}

long Win32Platform::ShellExecute(const std::string& verb, const std::string& file,
                                 const std::string& parameters, const std::string& directory,
                                 int showCmd) {
    HINSTANCE result = ::ShellExecuteA(nullptr, orNull(verb), file.c_str(), orNull(parameters),
                                       orNull(directory), showCmd);
    return static_cast<long>(reinterpret_cast<INT_PTR>(result));
}

bool Win32Platform::choose(bool save, OpenFileName& dialog) {
    if (envSet("VANTREL_UNATTENDED"))
        return false;
    // The pairs end with an extra NUL.
    const std::string filter = dialog.filter + '\0';
    std::vector<char> file = buffer(dialog.file, dialog.maxFile);
    std::vector<char> title = buffer(dialog.fileTitle, dialog.maxFileTitle);
    OPENFILENAMEA request{};
    request.lStructSize = kOpenFileNameSize;
    request.hwndOwner = window(dialog.owner);
    request.hInstance = ::GetModuleHandleA(nullptr);
    request.lpstrFilter = dialog.filter.empty() ? nullptr : filter.c_str();
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrFileTitle = title.data();
    request.nMaxFileTitle = static_cast<DWORD>(title.size());
    request.lpstrInitialDir = orNull(dialog.initialDir);
    request.lpstrTitle = orNull(dialog.title);
    request.Flags = dialog.flags;
    request.lpstrDefExt = orNull(dialog.defExt);
    const BOOL chosen = save ? ::GetSaveFileNameA(&request) : ::GetOpenFileNameA(&request);
    if (!chosen)
        return false;
    dialog.file = returned(file, dialog.file);
    dialog.fileTitle = returned(title, dialog.fileTitle);
    return true;
}

bool Win32Platform::GetOpenFileName(OpenFileName& dialog) {
    return choose(false, dialog);
}

bool Win32Platform::GetSaveFileName(OpenFileName& dialog) {
    return choose(true, dialog);
}

bool Win32Platform::PrevInstance() {
    if (instanceMutex_ != nullptr)
        return false;
    std::string name = "Vantrel.Instance.";
    char user[257] = {};
    DWORD length = sizeof user;
    if (::GetUserNameA(user, &length))
        name += user;
    // Mutex names cannot hold a backslash.
    for (char& c : name) {
        if (c == '\\')
            c = '_';
    }
    HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
    const bool running = mutex != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (running)
        ::CloseHandle(mutex);
    else
        instanceMutex_ = mutex;
    return running;
}

namespace {

struct Enumeration {
    const std::function<bool(std::uintptr_t)>* callback;
    std::exception_ptr failure;
};

BOOL CALLBACK enumWindow(HWND handle, LPARAM context) {
    auto* enumeration = reinterpret_cast<Enumeration*>(context);
    try {
        return (*enumeration->callback)(reinterpret_cast<std::uintptr_t>(handle)) ? TRUE : FALSE;
    } catch (...) {
        // Nothing may be thrown through the system's frames.
        enumeration->failure = std::current_exception();
        return FALSE;
    }
}

}  // namespace

void Win32Platform::EnumWindows(const std::function<bool(std::uintptr_t window)>& callback) {
    Enumeration enumeration{&callback, nullptr};
    ::EnumWindows(enumWindow, reinterpret_cast<LPARAM>(&enumeration));
    if (enumeration.failure)
        std::rethrow_exception(enumeration.failure);
}

bool Win32Platform::IsWindowVisible(std::uintptr_t handle) {
    return ::IsWindowVisible(window(handle)) != FALSE;
}

std::string Win32Platform::GetWindowText(std::uintptr_t handle) {
    char text[256];
    const int length = ::GetWindowTextA(window(handle), text, sizeof text);
    return std::string(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool Win32Platform::IsIconic(std::uintptr_t handle) {
    return ::IsIconic(window(handle)) != FALSE;
}

bool Win32Platform::ShowWindow(std::uintptr_t handle, int showCmd) {
    return ::ShowWindow(window(handle), showCmd) != FALSE;
}

bool Win32Platform::SetForegroundWindow(std::uintptr_t handle) {
    return ::SetForegroundWindow(window(handle)) != FALSE;
}

}  // namespace vtl::win32
