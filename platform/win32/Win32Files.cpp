// Files and profile files (kernel32).
#include <algorithm>
#include <string>

#include "platform/win32/Win32Api.h"

namespace vtl::win32 {

namespace {

// Closes a file handle when it goes out of scope.
class File {
  public:
    explicit File(HANDLE handle) : handle_(handle) {}
    ~File() { close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool ok = !valid() || ::CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

  private:
    HANDLE handle_;
};

// The folder part of `path` ("." for a bare name).
std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    if (slash == 0 || (slash == 2 && path[1] == ':'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

// A new, empty file beside `path`, named with `prefix`; "" and the code on failure.
std::string tempBeside(const std::string& path, const char* prefix, long& code) {
    char name[MAX_PATH + 16];
    if (::GetTempFileNameA(folderOf(path).c_str(), prefix, 0, name) == 0) {
        code = fileError(::GetLastError(), ERROR_WRITE_FAULT);
        return {};
    }
    return name;
}

long writeWhole(const std::string& path, const std::string& contents) {
    File file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return fileError(::GetLastError(), ERROR_WRITE_FAULT);
    std::size_t done = 0;
    while (done < contents.size()) {
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(file.get(), contents.data() + done, chunk, &written, nullptr))
            return fileError(::GetLastError(), ERROR_WRITE_FAULT);
        if (written == 0)
            return ERROR_DISK_FULL;
        done += written;
    }
    if (!::FlushFileBuffers(file.get()) || !file.close())
        return fileError(::GetLastError(), ERROR_WRITE_FAULT);
    return ERROR_SUCCESS;
}

// Puts `from` in the place of `to` without MoveFileExA: `to` is renamed
// aside first and renamed back when `from` cannot take its place.
long renameOver(const std::string& from, const std::string& to) {
    if (::GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (::MoveFileA(from.c_str(), to.c_str()))
            return ERROR_SUCCESS;
        return fileError(::GetLastError(), ERROR_WRITE_FAULT);
    }
    long code = ERROR_SUCCESS;
    const std::string backup = tempBeside(to, "vto", code);
    if (backup.empty())
        return code;
    ::DeleteFileA(backup.c_str());
    if (!::MoveFileA(to.c_str(), backup.c_str())) {
        code = fileError(::GetLastError(), ERROR_WRITE_FAULT);
        ::DeleteFileA(backup.c_str());
        return code;
    }
    if (!::MoveFileA(from.c_str(), to.c_str())) {
        code = fileError(::GetLastError(), ERROR_WRITE_FAULT);
        ::MoveFileA(backup.c_str(), to.c_str());
        return code;
    }
    ::DeleteFileA(backup.c_str());
    return ERROR_SUCCESS;
}

// Why `path` cannot be replaced (a folder, read-only), or ERROR_SUCCESS.
long refusesReplace(DWORD attributes) {
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ERROR_SUCCESS;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

}  // namespace

bool Win32Platform::FindFirstFile(const std::string& path) {
    WIN32_FIND_DATAA found{};
    HANDLE search = ::FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    ::FindClose(search);
    return true;
}

std::uint32_t Win32Platform::GetFileAttributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

long Win32Platform::ReadFile(const std::string& path, std::string& contents) {
    File file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return fileError(::GetLastError(), ERROR_READ_FAULT);
    std::string text;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
            return fileError(::GetLastError(), ERROR_READ_FAULT);
        if (got == 0)
            break;
        text.append(buffer, got);
    }
    contents = std::move(text);
    return ERROR_SUCCESS;
}

long Win32Platform::WriteFile(const std::string& path, const std::string& contents) {
    if (long refused = refusesReplace(::GetFileAttributesA(path.c_str())))
        return refused;
    long code = ERROR_SUCCESS;
    const std::string temp = tempBeside(path, "vtn", code);
    if (temp.empty())
        return code;
    code = writeWhole(temp, contents);
    if (code == ERROR_SUCCESS)
        code = ReplaceFile(temp, path);
    if (code != ERROR_SUCCESS)
        ::DeleteFileA(temp.c_str());
    return code;
}

long Win32Platform::ReplaceFile(const std::string& from, const std::string& to) {
    const DWORD fromAttributes = ::GetFileAttributesA(from.c_str());
    if (fromAttributes == INVALID_FILE_ATTRIBUTES)
        return fileError(::GetLastError(), ERROR_FILE_NOT_FOUND);
    if (fromAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return ERROR_ACCESS_DENIED;
    const DWORD toAttributes = ::GetFileAttributesA(to.c_str());
    if (long refused = refusesReplace(toAttributes))
        return refused;
    long code = ERROR_SUCCESS;
    if (isNt()) {
        if (!::MoveFileExA(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            code = fileError(::GetLastError(), ERROR_WRITE_FAULT);
    } else {
        code = renameOver(from, to);
    }
    if (code == ERROR_NOT_SAME_DEVICE) {
        // Another drive: copy the contents beside `to` first, then rename.
        std::string contents;
        code = ReadFile(from, contents);
        if (code == ERROR_SUCCESS)
            code = WriteFile(to, contents);
        if (code == ERROR_SUCCESS)
            ::DeleteFileA(from.c_str());
        return code;
    }
    if (code != ERROR_SUCCESS)
        return code;
    // `to` keeps its own attributes; a new one never comes out read-only.
    const DWORD wanted = toAttributes != INVALID_FILE_ATTRIBUTES
                             ? toAttributes
                             : fromAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    if (wanted != fromAttributes)
        ::SetFileAttributesA(to.c_str(), wanted == 0 ? FILE_ATTRIBUTE_NORMAL : wanted);
    return ERROR_SUCCESS;
}

bool Win32Platform::DeleteFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE;
}

std::string Win32Platform::GetPrivateProfileString(const std::string& section,
                                                   const std::string& key,
                                                   const std::string& defaultValue,
                                                   std::uint32_t size, const std::string& file) {
    std::string buffer(size > 0 ? size : 1, '\0');
    const DWORD length = ::GetPrivateProfileStringA(
        section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(), size, file.c_str());
    buffer.resize(length < buffer.size() ? length : 0);
    return buffer;
}

bool Win32Platform::WritePrivateProfileString(const std::string& section, const std::string& key,
                                              const std::string& value, const std::string& file) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        file.c_str()) != FALSE;
}

}  // namespace vtl::win32
