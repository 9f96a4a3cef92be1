#include "platform/portable/HiveRegistry.h"

#include <fcntl.h>
#include <hivex.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <thread>

#include "platform/portable/RegFile.h"

namespace vtl::portable {

namespace fs = std::filesystem;
namespace pf = vtl::platform;

namespace {

constexpr int kHKCR = 0, kHKCU = 1, kHKLM = 2, kHKU = 3, kHKCC = 4;

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using CPtr = std::unique_ptr<T, FreeDeleter>;

std::string latin1ToUtf8(std::string_view s) {
    std::string out;
    for (char ch : s) {
        auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string utf8ToLatin1(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size();) {
        auto c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        std::uint32_t cp = len == 1 ? c : c & (0x3Fu >> (len - 1));
        for (std::size_t k = 1; k < len && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3Fu);
        out += cp <= 0xFF ? static_cast<char>(cp) : '?';
        i += len;
    }
    return out;
}

std::string folded(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// A key's values (type and bytes) and subkeys, by lower-case name.
struct KeyContent {
    std::map<std::string, std::pair<int, std::string>> values;
    std::map<std::string, hive_node_h> children;
};
KeyContent contentOf(hive_h* h, hive_node_h node) {
    KeyContent c;
    hive_value_h* values = hivex_node_values(h, node);
    for (hive_value_h* v = values; v != nullptr && *v != 0; ++v) {
        char* name = hivex_value_key(h, *v);
        hive_type t{};
        std::size_t len = 0;
        char* raw = hivex_value_value(h, *v, &t, &len);
        if (name != nullptr && raw != nullptr)
            c.values[folded(name)] = {static_cast<int>(t), std::string(raw, len)};
        std::free(name);
        std::free(raw);
    }
    std::free(values);
    hive_node_h* children = hivex_node_children(h, node);
    for (hive_node_h* k = children; k != nullptr && *k != 0; ++k) {
        if (char* name = hivex_node_name(h, *k)) {
            c.children[folded(name)] = *k;
            std::free(name);
        }
    }
    std::free(children);
    return c;
}

// Whether two keys hold the same values and subkey names (and, deep, subtrees).
bool sameKey(hive_h* ha, hive_node_h a, hive_h* hb, hive_node_h b, bool deep) {
    KeyContent ca = contentOf(ha, a), cb = contentOf(hb, b);
    if (ca.values != cb.values || ca.children.size() != cb.children.size())
        return false;
    for (const auto& [name, child] : ca.children) {
        auto other = cb.children.find(name);
        if (other == cb.children.end() || (deep && !sameKey(ha, child, hb, other->second, true)))
            return false;
    }
    return true;
}

hive_node_h walkNames(hive_h* h, const std::vector<std::string>& path) {
    hive_node_h node = hivex_root(h);
    for (std::size_t i = 0; i < path.size() && node != 0; ++i)
        node = hivex_node_get_child(h, node, path[i].c_str());
    return node;
}

bool isText(std::uint32_t type) {
    return type == pf::REG_SZ || type == pf::REG_EXPAND_SZ || type == pf::REG_MULTI_SZ;
}

std::vector<std::uint8_t> fromHive(std::uint32_t type, const char* raw, std::size_t len) {
    if (!isText(type))
        return {raw, raw + len};
    std::vector<std::uint8_t> out;
    out.reserve(len / 2);
    for (std::size_t i = 0; i + 1 < len; i += 2) {
        unsigned unit = static_cast<unsigned char>(raw[i]) |
                        (static_cast<unsigned>(static_cast<unsigned char>(raw[i + 1])) << 8);
        out.push_back(unit <= 0xFF ? static_cast<std::uint8_t>(unit) : '?');
    }
    return out;
}

std::string toHive(std::uint32_t type, const std::uint8_t* data, std::size_t size) {
    if (!isText(type))
        return {reinterpret_cast<const char*>(data), size};
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        out += static_cast<char>(data[i]);
        out += '\0';
    }
    return out;
}

std::vector<std::string> splitPath(std::string_view subKey) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= subKey.size()) {
        std::size_t end = std::min(subKey.find('\\', pos), subKey.size());
        if (end > pos)
            parts.emplace_back(subKey.substr(pos, end - pos));
        pos = end + 1;
    }
    return parts;
}

bool writableMode(const fs::path& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && (st.st_mode & 0222) != 0 &&
           ::access(p.c_str(), W_OK) == 0;
}

std::string sysError(const fs::path& path, const char* what, int err) {
    return path.string() + ": " + what + ": " + std::strerror(err);
}

// A directory entry named `name` in any case.
std::optional<fs::path> findEntry(const fs::path& dir, std::string_view name) {
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (namesEqual(it->path().filename().string(), name))
            return it->path();
    }
    return std::nullopt;
}

std::optional<fs::path> findPath(fs::path dir, std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts) {
        auto next = findEntry(dir, part);
        if (!next)
            return std::nullopt;
        dir = *next;
    }
    return dir;
}

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Refuses a file that is not a whole NT hive, naming it and the fault.
void checkHiveFile(const fs::path& file) {
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ImageError(sysError(file, "cannot open the registry hive", errno));
    struct stat st;
    unsigned char header[512] = {};
    ssize_t got = ::fstat(fd, &st) == 0 ? ::pread(fd, header, sizeof header, 0) : -1;
    int err = errno;
    ::close(fd);
    if (got < 0)
        throw ImageError(sysError(file, "cannot read the registry hive", err));
    const auto size = static_cast<std::uint64_t>(st.st_size);
    if (got >= 4 && std::memcmp(header, "CREG", 4) == 0) {
        throw ImageError(file.string() +
                         ": a Windows 95/98 registry file; Vantrel cannot work on Windows 95/98 "
                         "registry files yet.");
    }
    if (got < 4 || std::memcmp(header, "regf", 4) != 0)
        throw ImageError(file.string() + ": not a Windows NT registry hive.");
    if (got < static_cast<ssize_t>(sizeof header) || size < 0x2000 ||
        size < 0x1000 + std::uint64_t{le32(header + 0x28)}) {
        throw ImageError(file.string() + ": the registry hive is truncated (" +
                         std::to_string(size) + " bytes).");
    }
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < 0x1FC; i += 4)
        sum ^= le32(header + i);
    if (sum != le32(header + 0x1FC))
        throw ImageError(file.string() + ": the registry hive has a bad header checksum.");
}

struct FileId {
    std::uint64_t dev = 0, ino = 0, size = 0, mtimeNs = 0;
    bool operator==(const FileId&) const = default;
};

FileId fileId(const fs::path& file) {
    struct stat st;
    if (::stat(file.c_str(), &st) != 0)
        return {};
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint64_t>(st.st_size),
            static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                static_cast<std::uint64_t>(st.st_mtim.tv_nsec)};
}

void fsyncPath(const fs::path& path, bool directory) {
    int fd = ::open(path.c_str(), (directory ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Makes `to` a copy of `from` (a hard link where the file system has them).
bool copyFile(const fs::path& from, const fs::path& to) {
    ::unlink(to.c_str());
    if (::link(from.c_str(), to.c_str()) == 0)
        return true;
    std::error_code ec;
    if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec))
        return false;
    fsyncPath(to, false);
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Finding the hives

std::optional<fs::path> findWindowsFolder(const fs::path& drive) {
    std::vector<fs::path> folders;
    std::error_code ec;
    for (fs::directory_iterator it(drive, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_directory(ec))
            folders.push_back(it->path());
    }
    // The usual names first, then the others in name order.
    auto rank = [](const fs::path& p) {
        std::string n = p.filename().string();
        return namesEqual(n, "WINNT") ? 0 : namesEqual(n, "WINDOWS") ? 1 : 2;
    };
    std::sort(folders.begin(), folders.end(), [&](const fs::path& a, const fs::path& b) {
        return std::pair(rank(a), a.filename()) < std::pair(rank(b), b.filename());
    });
    for (const fs::path& f : folders) {
        if (findPath(f, {"system32", "config", "SYSTEM"}))
            return f;
    }
    for (const fs::path& f : folders) {
        if (findEntry(f, "SYSTEM.DAT"))
            return f;
    }
    return std::nullopt;
}

HiveFiles locateHives(const fs::path& drive, const std::optional<std::string>& user) {
    auto windows = findWindowsFolder(drive);
    if (!windows) {
        throw ImageError(drive.string() +
                         ": no Windows installation found (no <Windows folder>\\system32\\config"
                         "\\SYSTEM).");
    }
    auto config = findPath(*windows, {"system32", "config"});
    if (!config) {
        throw ImageError(findEntry(*windows, "SYSTEM.DAT")->string() +
                         ": a Windows 95/98 registry (SYSTEM.DAT, USER.DAT); Vantrel cannot work "
                         "on Windows 95/98 registry files yet.");
    }
    HiveFiles files;
    auto hive = [&](std::string_view name, bool required) {
        auto p = findEntry(*config, name);
        if (!p && required) {
            throw ImageError((*config / std::string(name)).string() +
                             ": the registry hive is missing.");
        }
        return p.value_or(fs::path());
    };
    files.system = hive("SYSTEM", true);
    files.software = hive("SOFTWARE", true);
    files.defaultUser = hive("DEFAULT", false);

    // Profiles: NT 4 keeps them in <Windows>\Profiles, 2000 in \Documents and Settings.
    std::vector<std::pair<std::string, fs::path>> profiles;
    for (auto dir : {findEntry(*windows, "Profiles"), findEntry(drive, "Documents and Settings")}) {
        std::error_code ec;
        for (fs::directory_iterator it(dir.value_or(fs::path()), ec), end; dir && !ec && it != end;
             it.increment(ec)) {
            if (auto dat = findEntry(it->path(), "NTUSER.DAT"))
                profiles.emplace_back(it->path().filename().string(), *dat);
        }
    }
    std::sort(profiles.begin(), profiles.end());
    std::string names;
    std::vector<const fs::path*> candidates;
    for (const auto& [name, dat] : profiles) {
        names += (names.empty() ? "" : ", ") + name;
        if (user ? namesEqual(name, *user) : !namesEqual(name, "Default User"))
            candidates.push_back(&dat);
    }
    if (names.empty()) {
        throw ImageError(drive.string() +
                         ": no user profile (Profiles or Documents and Settings folder with an "
                         "NTUSER.DAT) found.");
    }
    if (user && candidates.empty()) {
        throw ImageError("The user " + *user + " has no profile on " + drive.string() +
                         "; profiles found: " + names + ".");
    }
    if (candidates.size() != 1) {
        throw ImageError("Choose the user whose settings to use with --user NAME; profiles on " +
                         drive.string() + ": " + names + ".");
    }
    files.user = *candidates.front();
    return files;
}

// ---------------------------------------------------------------------------
// Hives and mounts

struct HiveRegistry::Hive {
    fs::path file;
    hive_h* h = nullptr;
    FileId id;
    bool dirty = false;
    int lockFd = -1;
    // Keys changed since the hive was read, by lower-case path: (path, with subkeys).
    std::map<std::string, std::pair<std::vector<std::string>, bool>> touched;

    void touch(const std::vector<std::string>& path, bool deep) {
        std::string k;
        for (const std::string& part : path)
            k += folded(part) + '\\';
        auto& entry = touched[k];
        entry.first = path;
        entry.second = entry.second || deep;
        dirty = true;
    }

    ~Hive() {
        if (h != nullptr)
            hivex_close(h);
        if (lockFd >= 0)
            ::close(lockFd);
    }
    // Loads the file; throws ImageError naming it.
    void load() {
        checkHiveFile(file);
        FileId before = fileId(file);
        hive_h* opened = hivex_open(file.c_str(), HIVEX_OPEN_WRITE);
        if (opened == nullptr)
            throw ImageError(sysError(file, "not a usable registry hive", errno));
        if (h != nullptr)
            hivex_close(h);
        h = opened;
        id = before;
        dirty = false;
        touched.clear();
    }
    hive_node_h child(hive_node_h node, const std::string& name) const {
        return node == 0 ? 0 : hivex_node_get_child(h, node, latin1ToUtf8(name).c_str());
    }
    hive_node_h walk(hive_node_h node, const std::vector<std::string>& path, std::size_t from,
                     bool create) {
        for (std::size_t i = from; i < path.size() && node != 0; ++i) {
            hive_node_h next = child(node, path[i]);
            if (next == 0 && create) {
                next = hivex_node_add_child(h, node, latin1ToUtf8(path[i]).c_str());
                if (next != 0)
                    touch({path.begin(), path.begin() + static_cast<std::ptrdiff_t>(i)}, false);
            }
            node = next;
        }
        return node;
    }
    // Whether the changed keys read as in the file (changes that were undone,
    // keys deleted and made again as they were): then there is nothing to write.
    bool sameAsFile() const {
        hive_h* original = hivex_open(file.c_str(), 0);
        if (original == nullptr)
            return false;
        bool same = true;
        for (const auto& [key, entry] : touched) {
            std::vector<std::string> names;
            for (const std::string& part : entry.first)
                names.push_back(latin1ToUtf8(part));
            hive_node_h a = walkNames(h, names), b = walkNames(original, names);
            if ((a == 0) != (b == 0) || (a != 0 && !sameKey(h, a, original, b, entry.second))) {
                same = false;
                break;
            }
        }
        hivex_close(original);
        return same;
    }
    std::uint32_t dword(hive_node_h node, const char* name, std::uint32_t fallback) const {
        hive_value_h v = node == 0 ? 0 : hivex_node_get_value(h, node, name);
        if (v == 0)
            return fallback;
        hive_type t;
        std::size_t len = 0;
        CPtr<char> raw(hivex_value_value(h, v, &t, &len));
        if (!raw || t != hive_t_REG_DWORD || len != 4)
            return fallback;
        return le32(reinterpret_cast<const unsigned char*>(raw.get()));
    }
};

// Where a key below a root lies: below `path` of the root, `hivePath` of `hive`.
struct HiveRegistry::Mount {
    int root;
    std::vector<std::string> path;
    Hive* hive;
    std::vector<std::string> hivePath;
};

struct HiveRegistry::Node {
    Hive* hive = nullptr;  // nullptr: a key only the mounts make (a root, HKLM, HKU)
    std::vector<std::string> hivePath;
    hive_node_h node = 0;
    bool exists = false;
    bool mountPoint = false;
};

HiveRegistry::Hive& HiveRegistry::open(const fs::path& file) {
    auto hive = std::make_unique<Hive>();
    hive->file = file;
    hive->load();
    if (readOnlyFile_.empty()) {
        if (!writableMode(file) || !writableMode(file.parent_path()))
            readOnlyFile_ = file.string();
    }
    hives_.push_back(std::move(hive));
    return *hives_.back();
}

HiveRegistry::HiveRegistry(const HiveFiles& files) {
    Hive& system = open(files.system);
    Hive& software = open(files.software);
    Hive& user = open(files.user);
    Hive* defaultUser = files.defaultUser.empty() ? nullptr : &open(files.defaultUser);

    char name[32];
    hive_node_h root = hivex_root(system.h);
    std::uint32_t current = system.dword(system.child(root, "Select"), "Current", 0);
    if (current == 0)
        current = system.dword(system.child(root, "Select"), "Default", 1);
    std::snprintf(name, sizeof name, "ControlSet%03u", current);
    const std::string controlSet = name;
    std::uint32_t config = system.dword(
        system.walk(root, {controlSet, "Control", "IDConfigDB"}, 0, false), "CurrentConfig", 1);
    std::snprintf(name, sizeof name, "%04u", config);

    mounts_ = {
        {kHKCR, {}, &software, {"Classes"}},
        {kHKCU, {}, &user, {}},
        {kHKLM, {"SOFTWARE"}, &software, {}},
        {kHKLM, {"SYSTEM"}, &system, {}},
        {kHKLM, {"SYSTEM", "CurrentControlSet"}, &system, {controlSet}},
        {kHKCC, {}, &system, {controlSet, "Hardware Profiles", name}},
    };
    if (defaultUser != nullptr)
        mounts_.push_back({kHKU, {".DEFAULT"}, defaultUser, {}});
}

HiveRegistry::~HiveRegistry() {
    try {
        commit();
    } catch (...) {
    }
}

HiveRegistry::Node HiveRegistry::locate(int root, const std::vector<std::string>& path) const {
    const Mount* best = nullptr;
    bool virtualKey = path.empty();
    for (const Mount& m : mounts_) {
        if (m.root != root)
            continue;
        std::size_t n = std::min(m.path.size(), path.size());
        bool match = true;
        for (std::size_t i = 0; i < n && match; ++i)
            match = namesEqual(m.path[i], path[i]);
        if (!match)
            continue;
        if (m.path.size() <= path.size()) {
            if (best == nullptr || m.path.size() > best->path.size())
                best = &m;
        } else {
            virtualKey = true;
        }
    }
    Node out;
    if (best == nullptr) {
        out.exists = virtualKey;
        return out;
    }
    out.hive = best->hive;
    out.mountPoint = best->path.size() == path.size();
    hive_node_h node = best->hive->walk(hivex_root(best->hive->h), best->hivePath, 0, false);
    node = best->hive->walk(node, path, best->path.size(), false);
    out.node = node;
    out.hivePath = best->hivePath;
    out.hivePath.insert(out.hivePath.end(),
                        path.begin() + static_cast<std::ptrdiff_t>(best->path.size()), path.end());
    out.exists = node != 0 || (out.mountPoint && virtualKey);
    return out;
}

std::vector<std::string> HiveRegistry::childNames(int root, const std::vector<std::string>& path,
                                                  const Node& node) const {
    std::vector<std::string> names;
    if (node.hive != nullptr && node.node != 0) {
        CPtr<hive_node_h> children(hivex_node_children(node.hive->h, node.node));
        for (hive_node_h* c = children.get(); c != nullptr && *c != 0; ++c) {
            CPtr<char> n(hivex_node_name(node.hive->h, *c));
            if (n)
                names.push_back(utf8ToLatin1(n.get()));
        }
    }
    for (const Mount& m : mounts_) {
        if (m.root != root || m.path.size() <= path.size())
            continue;
        bool below = true;
        for (std::size_t i = 0; i < path.size() && below; ++i)
            below = namesEqual(m.path[i], path[i]);
        const std::string& next = m.path[path.size()];
        if (below && std::none_of(names.begin(), names.end(),
                                  [&](const std::string& n) { return namesEqual(n, next); })) {
            names.push_back(next);
        }
    }
    return names;
}

// The key a handle names, with `need` access; ERROR_KEY_DELETED when it is gone.
long HiveRegistry::openKey(HKEY key, std::uint32_t need, Handle& h, Node& n) const {
    long err = 0;
    if (!resolve(key, need, h, err))
        return err;
    n = locate(h.root, h.path);
    return n.exists ? pf::ERROR_SUCCESS : pf::ERROR_KEY_DELETED;
}

bool HiveRegistry::resolve(HKEY key, std::uint32_t need, Handle& out, long& err) const {
    if (key >= pf::HKEY_CLASSES_ROOT && key <= pf::HKEY_DYN_DATA && key != 0x80000004u) {
        std::uint32_t i = key - pf::HKEY_CLASSES_ROOT;
        out = Handle{static_cast<int>(i > 4 ? i - 1 : i), {}, 0xF003F};
        return true;
    }
    auto it = handles_.find(key);
    if (it == handles_.end()) {
        err = pf::ERROR_INVALID_HANDLE;
        return false;
    }
    if ((it->second.access & need) != need) {
        err = pf::ERROR_ACCESS_DENIED;
        return false;
    }
    out = it->second;
    return true;
}

HKEY HiveRegistry::newHandle(Handle handle) {
    HKEY h = nextHandle_++;
    handles_[h] = std::move(handle);
    return h;
}

// ---------------------------------------------------------------------------
// Locks and commits

long HiveRegistry::beginWrite() {
    if (readOnly() || lockRefused_)
        return pf::ERROR_ACCESS_DENIED;
    if (locked_)
        return pf::ERROR_SUCCESS;
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    for (auto& hive : hives_) {
        const fs::path lockFile = hive->file.string() + ".vtl-lock";
        hive->lockFd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        int err = errno;
        bool locked = hive->lockFd >= 0;
        while (locked && ::flock(hive->lockFd, LOCK_EX | LOCK_NB) != 0) {
            err = errno;
            if ((err != EWOULDBLOCK && err != EINTR) ||
                std::chrono::steady_clock::now() >= deadline) {
                locked = false;
            } else {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        if (!locked) {
            releaseLocks();
            lockRefused_ = true;
            writeFailed(err == EWOULDBLOCK
                            ? hive->file.string() +
                                  ": cannot write: another Vantrel process is changing this "
                                  "registry hive; try again when it has ended"
                            : sysError(lockFile, "cannot lock", err));
            return pf::ERROR_ACCESS_DENIED;
        }
    }
    locked_ = true;
    // Another process may have committed since these hives were read.
    for (auto& hive : hives_) {
        if (fileId(hive->file) == hive->id)
            continue;
        ++generation_;
        try {
            hive->load();
        } catch (const ImageError& e) {
            releaseLocks();
            lockRefused_ = true;
            writeFailed(e.what());
            return pf::ERROR_BADDB;
        }
    }
    return pf::ERROR_SUCCESS;
}

void HiveRegistry::releaseLocks() {
    for (auto& hive : hives_) {
        if (hive->lockFd >= 0)
            ::close(hive->lockFd);
        hive->lockFd = -1;
    }
    locked_ = false;
}

bool HiveRegistry::commit() {
    std::vector<Hive*> changed;
    for (auto& hive : hives_) {
        if (hive->dirty && !hive->sameAsFile()) {
            changed.push_back(hive.get());
        } else {
            hive->dirty = false;
            hive->touched.clear();
        }
    }
    auto newFile = [](const Hive* hive) { return fs::path(hive->file.string() + ".vtl-new"); };
    auto fail = [&](const std::string& message) {
        for (Hive* hive : changed)
            ::unlink(newFile(hive).c_str());
        writeFailed(message);
        return false;
    };
    // Every changed hive is written and checked before any original is replaced.
    for (Hive* hive : changed) {
        const fs::path tmp = newFile(hive);
        ::unlink(tmp.c_str());
        if (hivex_commit(hive->h, tmp.c_str(), 0) != 0)
            return fail(sysError(tmp, "cannot write the registry hive", errno));
        struct stat st;
        int fd = ::open(tmp.c_str(), O_RDWR | O_CLOEXEC);
        bool synced = fd >= 0 && ::fsync(fd) == 0;
        int err = errno;
        if (synced && ::stat(hive->file.c_str(), &st) == 0)
            ::fchmod(fd, st.st_mode & 07777);
        if (fd >= 0)
            ::close(fd);
        if (!synced)
            return fail(sysError(tmp, "cannot write the registry hive", err));
        hive_h* check = hivex_open(tmp.c_str(), 0);
        if (check == nullptr)
            return fail(sysError(tmp, "the written registry hive does not read back", errno));
        hivex_close(check);
    }
    for (Hive* hive : changed) {
        const fs::path backup = hive->file.string() + ".vtl-backup";
        const fs::path backupTmp = backup.string() + ".tmp";
        if (!copyFile(hive->file, backupTmp) || ::rename(backupTmp.c_str(), backup.c_str()) != 0)
            return fail(sysError(backup, "cannot keep the previous registry hive", errno));
        if (::rename(newFile(hive).c_str(), hive->file.c_str()) != 0)
            return fail(sysError(hive->file, "cannot replace the registry hive", errno));
        fsyncPath(hive->file.parent_path(), true);
        hive->id = fileId(hive->file);
        hive->dirty = false;
        hive->touched.clear();
    }
    releaseLocks();
    return true;
}

// ---------------------------------------------------------------------------
// Registry calls

long HiveRegistry::RegOpenKeyEx(HKEY parent, const std::string* subKey, std::uint32_t access,
                                HKEY& result) {
    ++stats_.opens;
    result = 0;
    Handle h;
    long err = 0;
    if (!resolve(parent, 0, h, err))
        return err;
    if (subKey != nullptr) {
        for (auto& part : splitPath(*subKey))
            h.path.push_back(std::move(part));
    }
    if (!locate(h.root, h.path).exists)
        return pf::ERROR_FILE_NOT_FOUND;
    h.access = access;
    result = newHandle(std::move(h));
    return pf::ERROR_SUCCESS;
}

long HiveRegistry::RegCreateKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access,
                                  HKEY& result, std::uint32_t& disposition) {
    ++stats_.creates;
    result = 0;
    disposition = 0;
    Handle h;
    long err = 0;
    if (!resolve(parent, 4, h, err))
        return err;
    if (!locate(h.root, h.path).exists)
        return pf::ERROR_KEY_DELETED;
    for (auto& part : splitPath(subKey))
        h.path.push_back(std::move(part));
    disposition = 2;
    if (!locate(h.root, h.path).exists) {
        if (subKey.find_first_of("\r\n") != std::string::npos)
            return pf::ERROR_INVALID_PARAMETER;
        if (long e = beginWrite())
            return e;
        Node n = locate(h.root, h.path);
        if (!n.exists) {
            if (n.hive == nullptr)
                return pf::ERROR_ACCESS_DENIED;  // only the mounted hives take keys
            ++generation_;
            if (n.hive->walk(hivex_root(n.hive->h), n.hivePath, 0, true) == 0)
                return pf::ERROR_CANTWRITE;
            disposition = 1;
        }
    }
    h.access = access;
    result = newHandle(std::move(h));
    return pf::ERROR_SUCCESS;
}

long HiveRegistry::RegCloseKey(HKEY key) {
    if (key >= pf::HKEY_CLASSES_ROOT && key <= pf::HKEY_DYN_DATA && key != 0x80000004u)
        return pf::ERROR_SUCCESS;
    return handles_.erase(key) != 0 ? pf::ERROR_SUCCESS : pf::ERROR_INVALID_HANDLE;
}

long HiveRegistry::RegDeleteKey(HKEY parent, const std::string& subKey) {
    ++stats_.deletes;
    Handle h;
    long err = 0;
    if (!resolve(parent, 0, h, err))
        return err;
    for (auto& part : splitPath(subKey))
        h.path.push_back(std::move(part));
    auto check = [&](Node& n) -> long {
        n = locate(h.root, h.path);
        if (!n.exists)
            return pf::ERROR_FILE_NOT_FOUND;
        if (n.hive == nullptr || n.mountPoint || !childNames(h.root, h.path, Node{}).empty())
            return pf::ERROR_ACCESS_DENIED;  // a root, a hive or a key holding a mount
        if (!deleteTree_) {
            CPtr<hive_node_h> children(hivex_node_children(n.hive->h, n.node));
            if (children && children.get()[0] != 0)
                return pf::ERROR_ACCESS_DENIED;
        }
        return pf::ERROR_SUCCESS;
    };
    Node n;
    if (long e = check(n))
        return e;
    if (long e = beginWrite())
        return e;
    if (long e = check(n))
        return e;
    if (hivex_node_delete_child(n.hive->h, n.node) != 0)
        return pf::ERROR_CANTWRITE;
    n.hive->touch(n.hivePath, true);
    ++generation_;
    return pf::ERROR_SUCCESS;
}

long HiveRegistry::RegDeleteValue(HKEY key, const std::string& name) {
    ++stats_.deletes;
    Handle h;
    Node n;
    if (long err = openKey(key, 2, h, n))
        return err;
    if (n.node == 0 || hivex_node_get_value(n.hive->h, n.node, latin1ToUtf8(name).c_str()) == 0)
        return pf::ERROR_FILE_NOT_FOUND;
    if (long e = beginWrite())
        return e;
    n = locate(h.root, h.path);
    if (n.node == 0)
        return pf::ERROR_KEY_DELETED;
    // hivex replaces a key's values as a whole: keep the others byte for byte.
    CPtr<hive_value_h> values(hivex_node_values(n.hive->h, n.node));
    std::vector<CPtr<char>> keys, datas;
    std::vector<hive_set_value> keep;
    bool found = false;
    for (hive_value_h* v = values.get(); v != nullptr && *v != 0; ++v) {
        CPtr<char> k(hivex_value_key(n.hive->h, *v));
        hive_set_value sv{};
        CPtr<char> d(hivex_value_value(n.hive->h, *v, &sv.t, &sv.len));
        if (!k || !d)
            return pf::ERROR_BADDB;
        if (!found && namesEqual(utf8ToLatin1(k.get()), name)) {
            found = true;
            continue;
        }
        sv.key = k.get();
        sv.value = d.get();
        keep.push_back(sv);
        keys.push_back(std::move(k));
        datas.push_back(std::move(d));
    }
    if (!found)
        return pf::ERROR_FILE_NOT_FOUND;
    if (hivex_node_set_values(n.hive->h, n.node, keep.size(), keep.data(), 0) != 0)
        return pf::ERROR_CANTWRITE;
    n.hive->touch(n.hivePath, false);
    ++generation_;
    return pf::ERROR_SUCCESS;
}

long HiveRegistry::RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t& type,
                                   std::vector<std::uint8_t>* data, std::uint32_t& size) {
    ++stats_.queries;
    Handle h;
    Node n;
    if (long err = openKey(key, 1, h, n))
        return err;
    hive_value_h v =
        n.node == 0 ? 0 : hivex_node_get_value(n.hive->h, n.node, latin1ToUtf8(name).c_str());
    if (v == 0)
        return pf::ERROR_FILE_NOT_FOUND;
    hive_type t;
    std::size_t len = 0;
    CPtr<char> raw(hivex_value_value(n.hive->h, v, &t, &len));
    if (!raw)
        return pf::ERROR_BADDB;
    type = static_cast<std::uint32_t>(t);
    std::vector<std::uint8_t> bytes = fromHive(type, raw.get(), len);
    size = static_cast<std::uint32_t>(bytes.size());
    if (data != nullptr)
        *data = std::move(bytes);
    return pf::ERROR_SUCCESS;
}

long HiveRegistry::RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                                 const std::uint8_t* data, std::uint32_t size) {
    ++stats_.sets;
    if ((data == nullptr && size > 0) || name.find_first_of("\r\n") != std::string::npos)
        return pf::ERROR_INVALID_PARAMETER;
    Handle h;
    Node n;
    if (long err = openKey(key, 2, h, n))
        return err;
    if (n.hive == nullptr)
        return pf::ERROR_ACCESS_DENIED;
    if (long e = beginWrite())
        return e;
    if ((n = locate(h.root, h.path)).node == 0)
        return pf::ERROR_KEY_DELETED;
    std::string raw = toHive(type, data, size);
    const std::string valueName = latin1ToUtf8(name);
    // The same type and bytes: nothing to write.
    if (hive_value_h old = hivex_node_get_value(n.hive->h, n.node, valueName.c_str())) {
        hive_type t;
        std::size_t len = 0;
        CPtr<char> bytes(hivex_value_value(n.hive->h, old, &t, &len));
        if (bytes && static_cast<std::uint32_t>(t) == type && len == raw.size() &&
            std::memcmp(bytes.get(), raw.data(), len) == 0) {
            return pf::ERROR_SUCCESS;
        }
    }
    hive_set_value sv{const_cast<char*>(valueName.c_str()), static_cast<hive_type>(type),
                      raw.size(), raw.data()};
    if (hivex_node_set_value(n.hive->h, n.node, &sv, 0) != 0)
        return pf::ERROR_CANTWRITE;
    n.hive->touch(n.hivePath, false);
    ++generation_;
    return pf::ERROR_SUCCESS;
}

long HiveRegistry::RegQueryInfoKey(HKEY key, std::uint32_t& subKeys, std::uint32_t& values) {
    ++stats_.queries;
    Handle h;
    Node n;
    if (long err = openKey(key, 1, h, n))
        return err;
    subKeys = static_cast<std::uint32_t>(childNames(h.root, h.path, n).size());
    values = 0;
    if (n.node != 0) {
        CPtr<hive_value_h> list(hivex_node_values(n.hive->h, n.node));
        for (hive_value_h* v = list.get(); v != nullptr && *v != 0; ++v)
            ++values;
    }
    return pf::ERROR_SUCCESS;
}

long HiveRegistry::RegEnumKeyEx(HKEY key, std::uint32_t index, std::string& name) {
    ++stats_.enums;
    Handle h;
    Node n;
    if (long err = openKey(key, 8, h, n))
        return err;
    EnumCache& c = enumCache_;
    if (c.generation != generation_ || c.root != h.root || c.path.size() != h.path.size() ||
        !std::equal(c.path.begin(), c.path.end(), h.path.begin(),
                    [](const std::string& a, const std::string& b) { return namesEqual(a, b); })) {
        c = EnumCache{h.root, h.path, childNames(h.root, h.path, n), generation_};
    }
    if (index >= c.names.size())
        return pf::ERROR_NO_MORE_ITEMS;
    name = c.names[index];
    return pf::ERROR_SUCCESS;
}

long HiveRegistry::RegEnumValue(HKEY key, std::uint32_t index, std::string& name,
                                std::uint32_t& type, std::vector<std::uint8_t>& data) {
    ++stats_.enums;
    Handle h;
    Node n;
    if (long err = openKey(key, 1, h, n))
        return err;
    if (n.node == 0)
        return pf::ERROR_NO_MORE_ITEMS;
    CPtr<hive_value_h> list(hivex_node_values(n.hive->h, n.node));
    std::size_t count = 0;
    while (list && list.get()[count] != 0)
        ++count;
    if (index >= count)
        return pf::ERROR_NO_MORE_ITEMS;
    hive_value_h v = list.get()[index];
    CPtr<char> k(hivex_value_key(n.hive->h, v));
    hive_type t;
    std::size_t len = 0;
    CPtr<char> raw(hivex_value_value(n.hive->h, v, &t, &len));
    if (!k || !raw)
        return pf::ERROR_BADDB;
    name = utf8ToLatin1(k.get());
    type = static_cast<std::uint32_t>(t);
    data = fromHive(type, raw.get(), len);
    return pf::ERROR_SUCCESS;
}

}  // namespace vtl::portable
