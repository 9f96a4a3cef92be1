// Files of a machine image: whole-file reads, atomic replacement and the
// profile-file calls, answering with Win32 codes.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "platform/portable/AtomicFile.h"
#include "platform/portable/PortablePlatform.h"
#include "platform/portable/ProfileFile.h"

namespace vtl::portable {

using namespace vtl::platform;

namespace {

bool ownerWritable(const struct stat& st) {
    return (st.st_mode & S_IWUSR) != 0;
}

std::string parentFolder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Why a path cannot be opened: a missing file in an existing folder, or a
// missing folder on the way.
long missingCode(const std::string& path) {
    struct stat st {};
    const std::string folder = parentFolder(path);
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                   : ERROR_PATH_NOT_FOUND;
}

long openCode(int error, const std::string& path) {
    switch (error) {
        case ENOENT:
            return missingCode(path);
        case ENOTDIR:
        case ENAMETOOLONG:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return ERROR_ACCESS_DENIED;
        default:
            return ERROR_READ_FAULT;
    }
}

long writeCode(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return ERROR_DISK_FULL;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
            return ERROR_ACCESS_DENIED;
        default:
            return ERROR_WRITE_FAULT;
    }
}

// A link is replaced where it points, as Windows writes through it.
std::string followLink(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string resolved = real;
            std::free(real);
            return resolved;
        }
    }
    return path;
}

// Whether `path` may be replaced: its folder exists and takes new files, and
// it is no folder and not read-only. `mode` receives an existing file's mode.
long checkTarget(const std::string& path, std::optional<mode_t>& mode) {
    struct stat st {};
    const std::string folder = parentFolder(path);
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return ERROR_PATH_NOT_FOUND;
    if (!ownerWritable(st))
        return ERROR_ACCESS_DENIED;
    if (::stat(path.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || !ownerWritable(st))
            return ERROR_ACCESS_DENIED;
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return openCode(errno, path);
    }
    return ERROR_SUCCESS;
}

// Writes `contents` to a new file beside `path` and renames it over `path`.
long replaceWith(const std::string& path, const std::string& contents, std::optional<mode_t> mode) {
    const auto failure = replaceContents(path, contents, mode);
    return failure ? writeCode(failure->error) : ERROR_SUCCESS;
}

long readHost(const std::string& host, std::string& contents) {
    contents.clear();
    const int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return openCode(errno, host);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ERROR_ACCESS_DENIED;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            contents.clear();
            return ERROR_READ_FAULT;
        }
        if (got == 0)
            break;
        contents.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return ERROR_SUCCESS;
}

}  // namespace

std::uint32_t PortablePlatform::GetFileAttributes(const std::string& path) {
    struct stat st {};
    if (::stat(HostPath(path).c_str(), &st) != 0)
        return INVALID_FILE_ATTRIBUTES;
    std::uint32_t attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if (!ownerWritable(st))
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

long PortablePlatform::ReadFile(const std::string& path, std::string& contents) {
    return readHost(HostPath(path), contents);
}

long PortablePlatform::WriteFile(const std::string& path, const std::string& contents) {
    const std::string host = followLink(HostPath(path));
    std::optional<mode_t> mode;
    if (const long rc = checkTarget(host, mode); rc != ERROR_SUCCESS)
        return rc;
    return replaceWith(host, contents, mode);
}

long PortablePlatform::ReplaceFile(const std::string& from, const std::string& to) {
    const std::string source = HostPath(from);
    const std::string target = followLink(HostPath(to));
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0)
        return openCode(errno, source);
    if (!S_ISREG(st.st_mode))
        return ERROR_ACCESS_DENIED;
    std::optional<mode_t> mode;
    if (const long rc = checkTarget(target, mode); rc != ERROR_SUCCESS)
        return rc;
    if (mode && ::chmod(source.c_str(), *mode) != 0)
        return writeCode(errno);
    const int moved = syncAndRename(source, target);
    if (moved == 0)
        return ERROR_SUCCESS;
    if (moved != EXDEV)
        return writeCode(moved);
    // Another file system: copy, then remove the source.
    std::string contents;
    if (const long rc = readHost(source, contents); rc != ERROR_SUCCESS)
        return rc;
    if (!mode)
        mode = st.st_mode & 07777;
    if (const long rc = replaceWith(target, contents, mode); rc != ERROR_SUCCESS)
        return rc;
    ::unlink(source.c_str());
    return ERROR_SUCCESS;
}

bool PortablePlatform::DeleteFile(const std::string& path) {
    const std::string host = HostPath(path);
    struct stat st {};
    if (::lstat(host.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    if (!S_ISLNK(st.st_mode) && !ownerWritable(st))
        return false;
    return ::unlink(host.c_str()) == 0;
}

std::string PortablePlatform::GetPrivateProfileString(const std::string& section,
                                                      const std::string& key,
                                                      const std::string& defaultValue,
                                                      std::uint32_t size, const std::string& file) {
    return vtl::GetPrivateProfileString(section, key, defaultValue, size, HostPath(file)).Text();
}

bool PortablePlatform::WritePrivateProfileString(const std::string& section, const std::string& key,
                                                 const std::string& value,
                                                 const std::string& file) {
    return vtl::WritePrivateProfileString(section, key, value, HostPath(file));
}

}  // namespace vtl::portable
