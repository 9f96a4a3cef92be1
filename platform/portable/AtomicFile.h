// Replacing a host file whole: the new contents go to a file beside it, which
// is synced and then renamed over it, so the file is never seen half written.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace vtl::portable {

struct ReplaceFailure {
    enum class Step { Create, SetMode, Write, Rename } step;
    int error;  // errno
};

// `mode` (permission bits) is given to the new file; the folder's default otherwise.
// The temporary name is "<path>.~<process id>-<counter>", its own to this
// process, and is removed on every failure. When `keep` is given it receives,
// after a success, a read-only descriptor of the new file (the caller closes it).
std::optional<ReplaceFailure> replaceContents(const std::string& path, const std::string& contents,
                                              std::optional<mode_t> mode, int* keep = nullptr);

}  // namespace vtl::portable
