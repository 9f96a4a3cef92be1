#include "platform/portable/PortableRegistry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace vtl::portable {

namespace pf = vtl::platform;

namespace {

constexpr std::size_t kIndexFrom = 16;  // children or values looked up through a hash index
constexpr std::uint64_t kMinFold = 256 * 1024;
constexpr std::string_view kJournalTag = ";vtl-journal ";
constexpr std::string_view kEndTag = ";end ";

std::string folded(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool validName(std::string_view s) {
    return s.find_first_of("\r\n") == std::string_view::npos;
}

std::string sysError(const std::filesystem::path& path, const char* what) {
    return path.string() + ": " + what + ": " + std::strerror(errno);
}

// A fast 64-bit hash fed in multiples of 8 bytes and finished with the tail.
class Hasher {
  public:
    void words(const char* p, std::size_t n) {
        for (std::size_t i = 0; i + 8 <= n; i += 8) {
            std::uint64_t w;
            std::memcpy(&w, p + i, 8);
            mix(w);
        }
        total_ += n;
    }
    std::uint64_t finish(const char* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            mix(static_cast<unsigned char>(p[i]));
        mix(total_ + n);
        return h_;
    }

  private:
    void mix(std::uint64_t w) {
        h_ = (h_ ^ w) * 0xff51afd7ed558ccdULL;
        h_ ^= h_ >> 32;
    }
    std::uint64_t h_ = 0x9E3779B97F4A7C15ULL;
    std::uint64_t total_ = 0;
};

std::uint64_t hashOf(const char* p, std::size_t n) {
    Hasher h;
    std::size_t whole = n & ~std::size_t{7};
    h.words(p, whole);
    return h.finish(p + whole, n - whole);
}

std::uint32_t crc32(std::string_view s) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char ch : s)
        c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

bool parseHex(std::string_view s, std::uint64_t& v) {
    if (s.empty() || s.size() > 16)
        return false;
    v = 0;
    for (char c : s) {
        int d = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (d < 0)
            return false;
        v = (v << 4) | static_cast<std::uint64_t>(d);
    }
    return true;
}

bool writeAll(int fd, const char* p, std::size_t n, off_t at) {
    while (n > 0) {
        ssize_t w = ::pwrite(fd, p, n, at);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        p += w;
        n -= static_cast<std::size_t>(w);
        at += w;
    }
    return true;
}

void fsyncDir(const std::filesystem::path& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool writableMode(const std::filesystem::path& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && (st.st_mode & 0222) != 0 &&
           ::access(p.c_str(), W_OK) == 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Tree

struct PortableRegistry::Value {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

struct PortableRegistry::Key {
    using Index = std::unordered_map<std::string, std::uint32_t>;

    std::string name;
    Key* parent = nullptr;
    std::vector<std::unique_ptr<Key>> children;
    std::vector<Value> values;
    std::unique_ptr<Index> childIndex, valueIndex;

    template <class Vec, class Name>
    static long find(const Vec& items, std::unique_ptr<Index>& index, std::string_view name,
                     Name nameOf) {
        if (items.size() < kIndexFrom) {
            for (std::size_t i = 0; i < items.size(); ++i) {
                if (namesEqual(nameOf(items[i]), name))
                    return static_cast<long>(i);
            }
            return -1;
        }
        if (!index) {
            index = std::make_unique<Index>();
            index->reserve(items.size());
            for (std::size_t i = 0; i < items.size(); ++i) {
                index->emplace(folded(nameOf(items[i])), static_cast<std::uint32_t>(i));
            }
        }
        auto it = index->find(folded(name));
        return it == index->end() ? -1 : static_cast<long>(it->second);
    }
    static std::string_view keyName(const std::unique_ptr<Key>& k) { return k->name; }
    static std::string_view valueName(const Value& v) { return v.name; }

    Key* child(std::string_view n) {
        long i = find(children, childIndex, n, keyName);
        return i < 0 ? nullptr : children[static_cast<std::size_t>(i)].get();
    }
    Key* addChild(std::string_view n) {
        auto k = std::make_unique<Key>();
        k->name = n;
        k->parent = this;
        if (childIndex)
            childIndex->emplace(folded(n), static_cast<std::uint32_t>(children.size()));
        children.push_back(std::move(k));
        return children.back().get();
    }
    void removeChild(const Key* k) {
        auto it = std::find_if(children.begin(), children.end(),
                               [k](const std::unique_ptr<Key>& c) { return c.get() == k; });
        if (it != children.end())
            children.erase(it);
        childIndex.reset();
    }
    Value* value(std::string_view n) {
        long i = find(values, valueIndex, n, valueName);
        return i < 0 ? nullptr : &values[static_cast<std::size_t>(i)];
    }
    void setValue(std::string_view n, std::uint32_t type, std::vector<std::uint8_t>&& data) {
        Value* v = value(n);
        if (v == nullptr) {
            if (valueIndex)
                valueIndex->emplace(folded(n), static_cast<std::uint32_t>(values.size()));
            values.push_back(Value{std::string(n), type, {}});
            v = &values.back();
        }
        v->type = type;
        v->data = std::move(data);
    }
    bool removeValue(std::string_view n) {
        Value* v = value(n);
        if (v == nullptr)
            return false;
        values.erase(values.begin() + (v - values.data()));
        valueIndex.reset();
        return true;
    }
    bool isWithin(const Key* ancestor) const {
        for (const Key* k = this; k != nullptr; k = k->parent) {
            if (k == ancestor)
                return true;
        }
        return false;
    }
};

PortableRegistry::Key* PortableRegistry::walk(Key* from, std::string_view subKey, bool create) {
    Key* k = from;
    std::size_t pos = 0;
    while (k != nullptr && pos <= subKey.size()) {
        std::size_t end = subKey.find('\\', pos);
        if (end == std::string_view::npos)
            end = subKey.size();
        std::string_view part = subKey.substr(pos, end - pos);
        if (!part.empty()) {
            Key* next = k->child(part);
            if (next == nullptr && create)
                next = k->addChild(part);
            k = next;
        }
        pos = end + 1;
    }
    return k;
}

std::string PortableRegistry::pathOf(const Key* key) {
    std::vector<const Key*> chain;
    for (const Key* k = key; k != nullptr; k = k->parent)
        chain.push_back(k);
    std::string path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.empty())
            path.push_back('\\');
        path += (*it)->name;
    }
    return path;
}

PortableRegistry::Key* PortableRegistry::keyAt(std::string_view path, bool create) {
    std::size_t slash = path.find('\\');
    int root = rootIndex(path.substr(0, slash));
    if (root < 0)
        return nullptr;
    Key* k = roots_[root].get();
    if (create)
        touchRoot(k);
    return slash == std::string_view::npos ? k : walk(k, path.substr(slash + 1), create);
}

void PortableRegistry::touchRoot(const Key* key) {
    while (key->parent != nullptr)
        key = key->parent;
    for (std::size_t i = 0; i < 6; ++i) {
        if (roots_[i].get() == key && rootSeen_[i] == 0)
            rootSeen_[i] = ++rootCounter_;
    }
}

void PortableRegistry::removeKey(Key* key) {
    if (key->parent == nullptr)
        return;  // roots always exist
    for (auto& [h, handle] : handles_) {
        if (handle.key != nullptr && handle.key->isWithin(key))
            handle.key = nullptr;
    }
    key->parent->removeChild(key);
}

// Applies parsed REGEDIT4 to the tree.
class PortableRegistry::TreeSink : public RegSink {
  public:
    explicit TreeSink(PortableRegistry& r) : r_(r) {}

    void key(std::string_view path) override {
        // Sections usually follow their parent: walk on from the previous one.
        if (last_ != nullptr && path.size() > lastPath_.size() && path[lastPath_.size()] == '\\' &&
            namesEqual(path.substr(0, lastPath_.size()), lastPath_)) {
            current_ = walk(last_, path.substr(lastPath_.size() + 1), true);
        } else {
            current_ = r_.keyAt(path, true);
        }
        last_ = current_;
        lastPath_ = path;
    }
    void deleteKey(std::string_view path) override {
        if (Key* k = r_.keyAt(path, false))
            r_.removeKey(k);
        current_ = last_ = nullptr;
        lastPath_.clear();
    }
    void value(std::string_view name, std::uint32_t type,
               std::vector<std::uint8_t>&& data) override {
        if (current_ != nullptr)
            current_->setValue(name, type, std::move(data));
    }
    void deleteValue(std::string_view name) override {
        if (current_ != nullptr)
            current_->removeValue(name);
    }

  private:
    PortableRegistry& r_;
    Key* current_ = nullptr;
    Key* last_ = nullptr;
    std::string lastPath_;
};

// Holds a flock for its lifetime.
class PortableRegistry::Lock {
  public:
    Lock() = default;
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    ~Lock() {
        if (fd_ >= 0)
            ::flock(fd_, LOCK_UN);
    }
    bool take(int fd, int op) {
        if (fd < 0)
            return false;
        while (::flock(fd, op) != 0) {
            if (errno != EINTR)
                return false;
        }
        fd_ = fd;
        return true;
    }

  private:
    int fd_ = -1;
};

// ---------------------------------------------------------------------------
// Files

PortableRegistry::PortableRegistry(std::filesystem::path regFile)
    : file_(std::move(regFile)),
      journal_(file_.string() + ".journal"),
      lock_(file_.string() + ".lock"),
      tmp_(file_.string() + ".tmp") {
    for (std::size_t i = 0; i < 6; ++i) {
        roots_[i] = std::make_unique<Key>();
        roots_[i]->name = kRootNames[i];
    }
    struct stat st;
    if (::stat(file_.c_str(), &st) != 0)
        throw ImageError(sysError(file_, "cannot open"));
    std::filesystem::path dir = file_.parent_path();
    if (dir.empty())
        dir = ".";
    readOnly_ = !writableMode(file_) || !writableMode(dir) ||
                (::access(journal_.c_str(), F_OK) == 0 && !writableMode(journal_));
    if (!readOnly_) {
        lockFd_ = ::open(lock_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, st.st_mode & 0666);
        if (lockFd_ < 0)
            readOnly_ = true;
    }
    if (lockFd_ < 0)
        lockFd_ = ::open(lock_.c_str(), O_RDONLY | O_CLOEXEC);
    try {
        Lock lock;
        lock.take(lockFd_, LOCK_SH);
        loadWhole();
        replayJournal(true);
    } catch (...) {
        if (lockFd_ >= 0)
            ::close(lockFd_);
        if (regFd_ >= 0)
            ::close(regFd_);
        if (journalFd_ >= 0)
            ::close(journalFd_);
        throw;
    }
}

PortableRegistry::~PortableRegistry() {
    try {
        if (!readOnly_ && !broken_) {
            Lock lock;
            if (lock.take(lockFd_, LOCK_EX) && sync(true) == pf::ERROR_SUCCESS &&
                journalSeen_ > 0) {
                foldLocked();
            }
        }
    } catch (...) {
        // The journal still holds every change; the next load replays it.
    }
    for (int fd : {lockFd_, regFd_, journalFd_}) {
        if (fd >= 0)
            ::close(fd);
    }
}

void PortableRegistry::loadWhole() {
    int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ImageError(sysError(file_, "cannot open"));
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        throw ImageError(sysError(file_, "cannot read"));
    }
    std::size_t size = static_cast<std::size_t>(st.st_size);
    const char* text = "";
    void* map = nullptr;
    if (size > 0) {
        map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map == MAP_FAILED) {
            ::close(fd);
            throw ImageError(sysError(file_, "cannot read"));
        }
        text = static_cast<const char*>(map);
    }
    std::vector<std::pair<HKEY, std::string>> open;
    for (auto& [h, handle] : handles_) {
        if (handle.key != nullptr)
            open.emplace_back(h, pathOf(handle.key));
    }
    std::unique_ptr<Key> old[6];
    std::uint64_t oldSeen[6];
    for (std::size_t i = 0; i < 6; ++i) {
        oldSeen[i] = std::exchange(rootSeen_[i], 0);
        old[i] = std::move(roots_[i]);
        roots_[i] = std::make_unique<Key>();
        roots_[i]->name = kRootNames[i];
    }
    try {
        TreeSink sink(*this);
        parseReg(std::string_view(text, size), file_.string(), sink);
    } catch (...) {
        for (std::size_t i = 0; i < 6; ++i) {
            roots_[i] = std::move(old[i]);
            rootSeen_[i] = oldSeen[i];
        }
        if (map != nullptr)
            ::munmap(map, size);
        ::close(fd);
        throw;
    }
    regHash_ = hashOf(text, size);
    if (map != nullptr)
        ::munmap(map, size);
    for (auto& [h, path] : open)
        handles_[h].key = keyAt(path, false);
    if (regFd_ >= 0)
        ::close(regFd_);
    regFd_ = fd;
    regId_ = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
              static_cast<std::uint64_t>(st.st_size),
              static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                  static_cast<std::uint64_t>(st.st_mtim.tv_nsec)};
    broken_ = false;
    ++stats_.reloads;
}

bool PortableRegistry::openJournal(bool create) {
    struct stat st;
    if (journalFd_ >= 0 && ::stat(journal_.c_str(), &st) == 0 &&
        static_cast<std::uint64_t>(st.st_ino) == journalIno_) {
        return true;
    }
    if (journalFd_ >= 0)
        ::close(journalFd_);
    journalFd_ = -1;
    if (!readOnly_) {
        journalFd_ = ::open(journal_.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
    }
    if (journalFd_ < 0 && !create)
        journalFd_ = ::open(journal_.c_str(), O_RDONLY | O_CLOEXEC);
    if (journalFd_ < 0)
        return false;
    if (::fstat(journalFd_, &st) != 0)
        return false;
    if (static_cast<std::uint64_t>(st.st_ino) != journalIno_) {
        // Another journal file than the one read so far: read it from the start.
        journalIno_ = static_cast<std::uint64_t>(st.st_ino);
        journalApplied_ = journalSeen_ = 0;
        journalLine_ = 0;
        journalStale_ = false;
    }
    return true;
}

void PortableRegistry::replayJournal(bool fromStart) {
    if (fromStart) {
        journalApplied_ = journalSeen_ = 0;
        journalLine_ = 0;
        journalStale_ = false;
    }
    if (::access(journal_.c_str(), F_OK) != 0) {
        if (journalFd_ >= 0)
            ::close(journalFd_);
        journalFd_ = -1;
        journalIno_ = journalApplied_ = journalSeen_ = 0;
        journalLine_ = 0;
        journalStale_ = false;
        return;
    }
    if (!openJournal(false))
        throw ImageError(sysError(journal_, "cannot open"));
    struct stat st;
    if (::fstat(journalFd_, &st) != 0)
        throw ImageError(sysError(journal_, "cannot read"));
    std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    std::uint64_t off = journalApplied_;
    journalSeen_ = size;
    if (journalStale_ || size <= off)
        return;

    std::string buf(size - off, '\0');
    std::size_t got = 0;
    while (got < buf.size()) {
        ssize_t r =
            ::pread(journalFd_, buf.data() + got, buf.size() - got, static_cast<off_t>(off + got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r < 0)
            throw ImageError(sysError(journal_, "cannot read"));
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
    }
    buf.resize(got);
    std::string_view text(buf);
    std::size_t pos = 0;
    if (off == 0) {
        std::size_t nl = text.find('\n');
        if (nl == std::string_view::npos)
            return;  // torn header
        std::string_view head = text.substr(0, nl);
        if (!head.empty() && head.back() == '\r')
            head.remove_suffix(1);
        std::uint64_t base = 0;
        if (head.substr(0, kJournalTag.size()) != kJournalTag ||
            !parseHex(head.substr(kJournalTag.size()), base) || base != regHash_) {
            journalStale_ = true;
            return;
        }
        pos = nl + 1;
        journalApplied_ = pos;
        journalLine_ = 1;
    }
    TreeSink sink(*this);
    for (;;) {
        std::size_t start = pos, p = pos, lines = 0, endLine = 0, next = 0;
        while (p < text.size()) {
            std::size_t nl = text.find('\n', p);
            if (nl == std::string_view::npos)
                break;
            ++lines;
            if (text.substr(p, kEndTag.size()) == kEndTag) {
                endLine = p;
                next = nl + 1;
                break;
            }
            p = nl + 1;
        }
        if (next == 0)
            return;  // no complete record left: a torn tail or nothing
        std::string_view sum =
            text.substr(endLine + kEndTag.size(), next - endLine - kEndTag.size());
        while (!sum.empty() && (sum.back() == '\n' || sum.back() == '\r'))
            sum.remove_suffix(1);
        std::uint64_t crc = 0;
        std::string_view record = text.substr(start, endLine - start);
        if (!parseHex(sum, crc) || crc != crc32(record))
            return;
        parseReg(record, journal_.string(), sink, false, journalLine_ + 1);
        journalLine_ += lines;
        journalApplied_ = off + next;
        pos = next;
        ++stats_.replays;
    }
}

long PortableRegistry::sync(bool haveLock) {
    auto current = [&](FileId& reg, std::uint64_t& jIno, std::uint64_t& jSize) {
        struct stat st;
        if (::stat(file_.c_str(), &st) != 0)
            return false;
        reg = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
               static_cast<std::uint64_t>(st.st_size),
               static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                   static_cast<std::uint64_t>(st.st_mtim.tv_nsec)};
        jIno = jSize = 0;
        if (::stat(journal_.c_str(), &st) == 0) {
            jIno = static_cast<std::uint64_t>(st.st_ino);
            jSize = static_cast<std::uint64_t>(st.st_size);
        }
        return true;
    };
    FileId reg;
    std::uint64_t jIno = 0, jSize = 0;
    if (!current(reg, jIno, jSize))
        return pf::ERROR_BADDB;
    if (!broken_ && reg == regId_ && jIno == journalIno_ && jSize == journalSeen_) {
        return pf::ERROR_SUCCESS;
    }
    if (broken_ && reg == badId_)
        return pf::ERROR_BADDB;
    Lock lock;
    if (!haveLock)
        lock.take(lockFd_, LOCK_SH);
    if (!current(reg, jIno, jSize))
        return pf::ERROR_BADDB;
    try {
        // A journal appearing where there was none is read from its start; any
        // other change of journal file, or a shrunk one, means a reload.
        bool newJournal = journalIno_ == 0 && journalApplied_ == 0;
        if (broken_ || !(reg == regId_) || (jIno != journalIno_ && !newJournal) ||
            jSize < journalApplied_) {
            loadWhole();
            replayJournal(true);
        } else {
            replayJournal(false);
        }
    } catch (const ImageError&) {
        broken_ = true;
        badId_ = reg;
        return pf::ERROR_BADDB;
    }
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::beginWrite(Lock& lock) {
    if (readOnly_ || !lock.take(lockFd_, LOCK_EX))
        return pf::ERROR_ACCESS_DENIED;
    if (long e = sync(true))
        return e;
    if (!openJournal(true))
        return pf::ERROR_ACCESS_DENIED;
    std::uint64_t keep = journalStale_ ? 0 : journalApplied_;
    if (journalSeen_ != keep) {
        // Cut off a torn record or a stale journal.
        if (::ftruncate(journalFd_, static_cast<off_t>(keep)) != 0)
            return pf::ERROR_CANTWRITE;
        if (journalStale_)
            journalLine_ = 0;
        journalApplied_ = journalSeen_ = keep;
        journalStale_ = false;
    }
    return pf::ERROR_SUCCESS;
}

// Checks a write against what this process knows, then, holding the lock and
// caught up with other processes, checks it again: either may refuse it.
template <class Check>
long PortableRegistry::prepareWrite(Lock& lock, Check&& check) {
    if (long e = sync(false))
        return e;
    if (long e = check())
        return e;
    if (long e = beginWrite(lock))
        return e;
    return check();
}

long PortableRegistry::append(const std::string& record) {
    std::string buf;
    if (journalApplied_ == 0) {
        char head[40];
        std::snprintf(head, sizeof head, ";vtl-journal %016llx\r\n",
                      static_cast<unsigned long long>(regHash_));
        buf = head;
    }
    buf += record;
    char end[24];
    std::snprintf(end, sizeof end, ";end %08x\r\n", crc32(record));
    buf += end;
    if (!writeAll(journalFd_, buf.data(), buf.size(), static_cast<off_t>(journalApplied_))) {
        int err = errno;
        if (::ftruncate(journalFd_, static_cast<off_t>(journalApplied_)) != 0) {
            // The torn record is cut off by the next writer.
        }
        return (err == EACCES || err == EROFS || err == EPERM) ? pf::ERROR_ACCESS_DENIED
                                                               : pf::ERROR_CANTWRITE;
    }
    journalApplied_ += buf.size();
    journalSeen_ = journalApplied_;
    journalLine_ += static_cast<std::size_t>(std::count(buf.begin(), buf.end(), '\n'));
    return pf::ERROR_SUCCESS;
}

void PortableRegistry::writeFile() {
    struct stat st;
    mode_t mode = ::stat(file_.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    int fd = ::open(tmp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0)
        throw ImageError(sysError(tmp_, "cannot create"));
    Hasher hasher;
    off_t at = 0;
    std::string buf;
    buf.reserve(1 << 20);
    auto flush = [&](bool all) {
        std::size_t n = all ? buf.size() : buf.size() & ~std::size_t{7};
        if (!writeAll(fd, buf.data(), n, at))
            throw ImageError(sysError(tmp_, "cannot write"));
        at += static_cast<off_t>(n);
        std::size_t whole = n & ~std::size_t{7};
        hasher.words(buf.data(), whole);
        if (all)
            regHash_ = hasher.finish(buf.data() + whole, n - whole);
        buf.erase(0, n);
    };
    std::string path;
    auto emit = [&](auto& self, const Key& key) -> void {
        if (key.parent != nullptr || !key.values.empty() || !key.children.empty()) {
            appendKeyLine(buf, path);
            for (const Value& v : key.values) {
                appendValueLine(buf, v.name, v.type, v.data.data(), v.data.size());
            }
            buf += "\r\n";
            if (buf.size() >= (1u << 20))
                flush(false);
        }
        for (const auto& child : key.children) {
            std::size_t len = path.size();
            path += '\\';
            path += child->name;
            self(self, *child);
            path.resize(len);
        }
    };
    try {
        ::fchmod(fd, mode);
        buf += kRegHeader;
        // Roots in the order they first appeared; the others after them.
        std::size_t order[6] = {0, 1, 2, 3, 4, 5};
        std::stable_sort(order, order + 6, [&](std::size_t a, std::size_t b) {
            return rootSeen_[a] - 1 < rootSeen_[b] - 1;  // 0 (never seen) wraps to the end
        });
        for (std::size_t i : order) {
            path = roots_[i]->name;
            emit(emit, *roots_[i]);
        }
        flush(true);
        if (::fsync(fd) != 0)
            throw ImageError(sysError(tmp_, "cannot write"));
        if (::rename(tmp_.c_str(), file_.c_str()) != 0) {
            throw ImageError(sysError(file_, "cannot replace"));
        }
    } catch (...) {
        ::close(fd);
        ::unlink(tmp_.c_str());
        throw;
    }
    std::filesystem::path dir = file_.parent_path();
    fsyncDir(dir.empty() ? "." : dir);
    ::fstat(fd, &st);
    if (regFd_ >= 0)
        ::close(regFd_);
    regFd_ = fd;
    regId_ = {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
              static_cast<std::uint64_t>(st.st_size),
              static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                  static_cast<std::uint64_t>(st.st_mtim.tv_nsec)};
    // registry.reg now holds every record; a journal left behind if we die here is
    // recognised as stale by its hash.
    if (journalFd_ >= 0 && ::ftruncate(journalFd_, 0) == 0) {
        journalApplied_ = journalSeen_ = 0;
        journalLine_ = 0;
        journalStale_ = false;
    } else {
        journalStale_ = true;
    }
    ++stats_.folds;
}

void PortableRegistry::foldLocked() {
    writeFile();
}

void PortableRegistry::maybeFold() {
    if (journalApplied_ > std::max<std::uint64_t>(kMinFold, regId_.size / 2)) {
        try {
            foldLocked();
        } catch (const ImageError&) {
            // The journal keeps the changes; a later write or the destructor retries.
        }
    }
}

bool PortableRegistry::fold() {
    if (readOnly_)
        return false;
    Lock lock;
    if (!lock.take(lockFd_, LOCK_EX))
        throw ImageError(sysError(lock_, "cannot lock"));
    if (sync(true) != pf::ERROR_SUCCESS)
        return false;
    foldLocked();
    return true;
}

// ---------------------------------------------------------------------------
// Registry calls

PortableRegistry::Key* PortableRegistry::resolve(HKEY key, std::uint32_t need, long& err) {
    if (key >= pf::HKEY_CLASSES_ROOT && key <= pf::HKEY_DYN_DATA && key != 0x80000004u) {
        std::uint32_t i = key - pf::HKEY_CLASSES_ROOT;
        return roots_[i > 4 ? i - 1 : i].get();
    }
    auto it = handles_.find(key);
    if (it == handles_.end()) {
        err = pf::ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if ((it->second.access & need) != need) {
        err = pf::ERROR_ACCESS_DENIED;
        return nullptr;
    }
    if (it->second.key == nullptr)
        err = pf::ERROR_KEY_DELETED;
    return it->second.key;
}

HKEY PortableRegistry::newHandle(Key* key, std::uint32_t access) {
    HKEY h = nextHandle_++;
    handles_[h] = Handle{key, access};
    return h;
}

long PortableRegistry::RegOpenKeyEx(HKEY parent, const std::string* subKey, std::uint32_t access,
                                    HKEY& result) {
    ++stats_.opens;
    result = 0;
    if (long e = sync(false))
        return e;
    long err = 0;
    Key* k = resolve(parent, 0, err);
    if (k == nullptr)
        return err;
    if (subKey != nullptr && (k = walk(k, *subKey, false)) == nullptr) {
        return pf::ERROR_FILE_NOT_FOUND;
    }
    result = newHandle(k, access);
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::RegCreateKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access,
                                      HKEY& result, std::uint32_t& disposition) {
    ++stats_.creates;
    result = 0;
    disposition = 0;
    if (long e = sync(false))
        return e;
    long err = 0;
    Key* p = resolve(parent, 4, err);
    if (p == nullptr)
        return err;
    Key* k = walk(p, subKey, false);
    if (k == nullptr) {
        if (!validName(subKey))
            return pf::ERROR_INVALID_PARAMETER;
        Lock lock;
        if (long e = beginWrite(lock))
            return e;
        if ((p = resolve(parent, 4, err)) == nullptr)
            return err;
        if ((k = walk(p, subKey, false)) == nullptr) {
            // Empty components (a doubled or trailing '\') are skipped, as in walk().
            std::string clean = pathOf(p);
            std::size_t pos = 0;
            while (pos <= subKey.size()) {
                std::size_t end = std::min(subKey.find('\\', pos), subKey.size());
                if (end > pos) {
                    clean += '\\';
                    clean.append(subKey, pos, end - pos);
                }
                pos = end + 1;
            }
            std::string record;
            appendKeyLine(record, clean);
            if (long e = append(record))
                return e;
            k = walk(p, subKey, true);
            touchRoot(k);
            disposition = 1;
            maybeFold();
        }
    }
    if (disposition == 0)
        disposition = 2;
    result = newHandle(k, access);
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::RegCloseKey(HKEY key) {
    if (key >= pf::HKEY_CLASSES_ROOT && key <= pf::HKEY_DYN_DATA && key != 0x80000004u) {
        return pf::ERROR_SUCCESS;
    }
    return handles_.erase(key) != 0 ? pf::ERROR_SUCCESS : pf::ERROR_INVALID_HANDLE;
}

long PortableRegistry::RegDeleteKey(HKEY parent, const std::string& subKey) {
    ++stats_.deletes;
    auto check = [&](Key*& k) -> long {
        long err = 0;
        Key* p = resolve(parent, 0, err);
        if (p == nullptr)
            return err;
        if ((k = walk(p, subKey, false)) == nullptr)
            return pf::ERROR_FILE_NOT_FOUND;
        if (k->parent == nullptr)
            return pf::ERROR_ACCESS_DENIED;
        if (!deleteTree_ && !k->children.empty())
            return pf::ERROR_ACCESS_DENIED;
        return pf::ERROR_SUCCESS;
    };
    Key* k = nullptr;
    Lock lock;
    if (long e = prepareWrite(lock, [&] { return check(k); }))
        return e;
    std::string record;
    appendKeyLine(record, pathOf(k), true);
    if (long e = append(record))
        return e;
    removeKey(k);
    maybeFold();
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::RegDeleteValue(HKEY key, const std::string& name) {
    ++stats_.deletes;
    auto check = [&](Key*& k) -> long {
        long err = 0;
        if ((k = resolve(key, 2, err)) == nullptr)
            return err;
        return k->value(name) == nullptr ? pf::ERROR_FILE_NOT_FOUND : pf::ERROR_SUCCESS;
    };
    Key* k = nullptr;
    Lock lock;
    if (long e = prepareWrite(lock, [&] { return check(k); }))
        return e;
    std::string record;
    appendKeyLine(record, pathOf(k));
    appendDeleteValueLine(record, name);
    if (long e = append(record))
        return e;
    k->removeValue(name);
    maybeFold();
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t& type,
                                       std::vector<std::uint8_t>* data, std::uint32_t& size) {
    ++stats_.queries;
    if (long e = sync(false))
        return e;
    long err = 0;
    Key* k = resolve(key, 1, err);
    if (k == nullptr)
        return err;
    const Value* v = k->value(name);
    if (v == nullptr)
        return pf::ERROR_FILE_NOT_FOUND;
    type = v->type;
    size = static_cast<std::uint32_t>(v->data.size());
    if (data != nullptr)
        *data = v->data;
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                                     const std::uint8_t* data, std::uint32_t size) {
    ++stats_.sets;
    if ((data == nullptr && size > 0) || !validName(name))
        return pf::ERROR_INVALID_PARAMETER;
    Key* k = nullptr;
    Lock lock;
    if (long e = prepareWrite(lock, [&] {
            long err = 0;
            k = resolve(key, 2, err);
            return k == nullptr ? err : pf::ERROR_SUCCESS;
        }))
        return e;
    std::string record;
    appendKeyLine(record, pathOf(k));
    appendValueLine(record, name, type, data, size);
    if (long e = append(record))
        return e;
    k->setValue(name, type, std::vector<std::uint8_t>(data, data + size));
    touchRoot(k);
    maybeFold();
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::RegQueryInfoKey(HKEY key, std::uint32_t& subKeys, std::uint32_t& values) {
    ++stats_.queries;
    if (long e = sync(false))
        return e;
    long err = 0;
    Key* k = resolve(key, 1, err);
    if (k == nullptr)
        return err;
    subKeys = static_cast<std::uint32_t>(k->children.size());
    values = static_cast<std::uint32_t>(k->values.size());
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::RegEnumKeyEx(HKEY key, std::uint32_t index, std::string& name) {
    ++stats_.enums;
    if (long e = sync(false))
        return e;
    long err = 0;
    Key* k = resolve(key, 8, err);
    if (k == nullptr)
        return err;
    if (index >= k->children.size())
        return pf::ERROR_NO_MORE_ITEMS;
    name = k->children[index]->name;
    return pf::ERROR_SUCCESS;
}

long PortableRegistry::RegEnumValue(HKEY key, std::uint32_t index, std::string& name,
                                    std::uint32_t& type, std::vector<std::uint8_t>& data) {
    ++stats_.enums;
    if (long e = sync(false))
        return e;
    long err = 0;
    Key* k = resolve(key, 1, err);
    if (k == nullptr)
        return err;
    if (index >= k->values.size())
        return pf::ERROR_NO_MORE_ITEMS;
    const Value& v = k->values[index];
    name = v.name;
    type = v.type;
    data = v.data;
    return pf::ERROR_SUCCESS;
}

}  // namespace vtl::portable
