#include "platform/portable/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
    if (::fsync(fd) != 0)
        return abandon(Step::Write, errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return abandon(Step::Write, errno);
    const int kept = keep ? ::open(temp.c_str(), O_RDONLY | O_CLOEXEC) : -1;
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        if (kept >= 0)
            ::close(kept);
        return abandon(Step::Rename, error);
    }
    if (keep)
        *keep = kept;
    return std::nullopt;
}

}  // namespace vtl::portable
