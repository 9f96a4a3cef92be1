#include "platform/portable/AtomicFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace vtl::portable {

std::optional<ReplaceFailure> replaceContents(const std::string& path, const std::string& contents,
                                              std::optional<mode_t> mode, int* keep) {
    using Step = ReplaceFailure::Step;
    static unsigned counter = 0;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return ReplaceFailure{Step::Create, errno};
    auto abandon = [&](Step step, int error) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        return ReplaceFailure{step, error};
    };
    if (mode && ::fchmod(fd, *mode & 07777) != 0)
        return abandon(Step::SetMode, errno);
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t put = ::write(fd, contents.data() + done, contents.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return abandon(Step::Write, errno);
        }
        done += static_cast<std::size_t>(put);
    }
    const bool durable = !isBeingBuilt(path);
    if (durable && ::fsync(fd) != 0)
        return abandon(Step::Write, errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return abandon(Step::Write, errno);
    const int kept = keep ? ::open(temp.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    // A file being built is swapped with its previous version, whose name is
    // then removed: a rename over it would make ext4 allocate and later discard
    // the blocks of every intermediate version.
    if (!durable &&
        ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_EXCHANGE) == 0) {
        ::unlink(temp.c_str());
    } else if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        if (kept >= 0)
            ::close(kept);
        return abandon(Step::Rename, error);
    }
    if (keep)
        *keep = kept;
    return std::nullopt;
}

bool isBeingBuilt(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view leaf =
        std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
    const std::string mark = ".saving-" + std::to_string(::getpid()) + "-";
    const std::size_t at = leaf.rfind(mark);
    if (leaf.size() < 2 || leaf[0] != '.' || at == std::string_view::npos || at < 2)
        return false;
    const std::string_view number = leaf.substr(at + mark.size());
    return !number.empty() && number.find_first_not_of("0123456789") == std::string_view::npos;
}

int syncAndRename(const std::string& from, const std::string& to) {
    const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    if (synced != 0)
        return synced;
    if (::rename(from.c_str(), to.c_str()) != 0)
        return errno;
    syncFolderOf(to);
    return 0;
}

void syncFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace vtl::portable
