// Replacing a host file whole: the new contents go to a file beside it, which
// is renamed over it, so the file is never seen half written.
//
// Durability: a final file (one the user or another program reads) is synced
// once, before the rename. A file this process is still building, which a later
// rename moves over its target, is not synced: that rename syncs it once, and
// the folder after it (syncAndRename).
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
// Syncs unless `path` is being built (isBeingBuilt).
std::optional<ReplaceFailure> replaceContents(const std::string& path, const std::string& contents,
                                              std::optional<mode_t> mode, int* keep = nullptr);

// True for a file this process builds before moving it over its target:
// "." + name + ".saving-" + this process id + "-" + a number.
bool isBeingBuilt(const std::string& path);

// Moves the finished file `from` over `to` durably: syncs `from`, renames it,
// syncs the folder. Returns 0 or an errno; EXDEV when they are on two file systems.
int syncAndRename(const std::string& from, const std::string& to);

// Syncs the folder holding `path` (best effort).
void syncFolderOf(const std::string& path);

}  // namespace vtl::portable
