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
#include <random>
#include <utility>

namespace vtl::portable {

namespace pf = vtl::platform;

namespace {

constexpr std::size_t kIndexFrom = 16;  // children or values looked up through a hash index
constexpr std::uint64_t kMinFold = 256 * 1024;
constexpr std::string_view kJournalTag = ";vtl-journal ";
constexpr std::string_view kEndTag = ";end ";
constexpr std::uint32_t kNoSeg = 0xFFFFFFFFu;

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Levels below its root.
template <class K>
std::size_t depthOf(const K* key) {
    std::size_t n = 0;
    for (; key->parent != nullptr; key = key->parent)
        ++n;
    return n;
}

// Non-empty components of a relative key path.
std::size_t components(std::string_view path) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos <= path.size();) {
        std::size_t end = std::min(path.find('\\', pos), path.size());
        n += end > pos ? 1 : 0;
        pos = end + 1;
    }
    return n;
}

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

// A key's values, decoded from its sections the first time they are asked for.
struct PortableRegistry::Values {
    using Index = std::unordered_map<std::string, std::uint32_t>;
    std::vector<Value> list;
    std::unique_ptr<Index> index;

    Value* find(std::string_view n) {
        if (list.size() < kIndexFrom) {
            for (Value& v : list) {
                if (namesEqual(v.name, n))
                    return &v;
            }
            return nullptr;
        }
        if (!index) {
            index = std::make_unique<Index>();
            index->reserve(list.size());
            for (std::size_t i = 0; i < list.size(); ++i)
                index->emplace(folded(list[i].name), static_cast<std::uint32_t>(i));
        }
        auto it = index->find(folded(n));
        return it == index->end() ? nullptr : &list[it->second];
    }
    void set(std::string_view n, std::uint32_t type, std::vector<std::uint8_t>&& data) {
        Value* v = find(n);
        if (v == nullptr) {
            if (index)
                index->emplace(folded(n), static_cast<std::uint32_t>(list.size()));
            list.push_back(Value{std::string(n), type, {}});
            v = &list.back();
        }
        v->type = type;
        v->data = std::move(data);
    }
    bool remove(std::string_view n) {
        Value* v = find(n);
        if (v == nullptr)
            return false;
        list.erase(list.begin() + (v - list.data()));
        index.reset();
        return true;
    }
};

// A key. Keys live in the tree's pool; names in its name arena.
struct PortableRegistry::Key {
    const char* namePtr = "";
    std::uint32_t nameLen = 0;
    std::uint32_t firstSeg = kNoSeg;  // its first section in registry.reg
    Key* parent = nullptr;
    std::vector<Key*> children;
    std::unique_ptr<std::vector<std::uint64_t>> childIndex;  // open addressing, position + 1
    std::unique_ptr<Values> values;                          // nullptr: not decoded yet
    bool dirty = false;       // values changed since registry.reg was read
    bool fresh = false;       // not in registry.reg
    bool dead = false;        // deleted
    std::uint32_t shown = 0;  // the write-back that has placed it in the new file

    std::string_view name() const { return {namePtr, nameLen}; }

    // ASCII case-folded hash, eight bytes at a time.
    static std::uint64_t hashName(std::string_view n) {
        constexpr std::uint64_t k7 = 0x7F7F7F7F7F7F7F7FULL, k8 = 0x8080808080808080ULL;
        const auto folded = [](std::uint64_t w) {
            // High bit of each byte: 'A' <= byte <= 'Z'.
            const std::uint64_t m =
                ((w & k7) + 0x3F3F3F3F3F3F3F3FULL) & ~((w & k7) + 0x2525252525252525ULL) & ~w & k8;
            return w | (m >> 2);
        };
        std::uint64_t h = 0x9E3779B97F4A7C15ULL ^ n.size();
        std::size_t i = 0;
        for (; i + 8 <= n.size(); i += 8) {
            std::uint64_t w;
            std::memcpy(&w, n.data() + i, 8);
            h = (h ^ folded(w)) * 0xff51afd7ed558ccdULL;
            h ^= h >> 32;
        }
        std::uint64_t tail = 0;
        std::memcpy(&tail, n.data() + i, n.size() - i);
        h ^= folded(tail);
        h = (h ^ (h >> 33)) * 0xff51afd7ed558ccdULL;
        h = (h ^ (h >> 33)) * 0xc4ceb9fe1a85ec53ULL;
        return h ^ (h >> 33);
    }
    static constexpr std::uint64_t kHigh = ~std::uint64_t{0xFFFFFFFF};
    // Slots hold the high half of the child's name hash, which also places the
    // slot, and its position + 1: most probes need not look at the child, and
    // the table grows without hashing names again.
    static void place(std::vector<std::uint64_t>& t, std::uint64_t slot) {
        const std::size_t mask = t.size() - 1;
        for (std::size_t i = (slot >> 32) & mask;; i = (i + 1) & mask) {
            if (t[i] == 0) {
                t[i] = slot;
                return;
            }
        }
    }
    void indexChild(std::uint32_t pos, std::uint64_t h) {
        if (childIndex->size() < 2 * children.size()) {
            auto grown = std::make_unique<std::vector<std::uint64_t>>(4 * childIndex->size(), 0);
            for (std::uint64_t slot : *childIndex) {
                if (slot != 0)
                    place(*grown, slot);
            }
            childIndex = std::move(grown);
        }
        place(*childIndex, (h & kHigh) | (pos + 1u));
    }
    // The child named `n`, or nullptr; `hash` receives the name's hash when it was computed.
    Key* child(std::string_view n, std::optional<std::uint64_t>* hash = nullptr) {
        if (children.size() < kIndexFrom) {
            for (Key* c : children) {
                if (namesEqual(c->name(), n))
                    return c;
            }
            return nullptr;
        }
        if (!childIndex) {
            std::size_t size = 64;
            while (size < 4 * children.size())
                size *= 2;
            childIndex = std::make_unique<std::vector<std::uint64_t>>(size, 0);
            for (std::size_t i = 0; i < children.size(); ++i)
                place(*childIndex, (hashName(children[i]->name()) & kHigh) | (i + 1u));
        }
        const std::vector<std::uint64_t>& t = *childIndex;
        const std::uint64_t h = hashName(n), high = h & kHigh;
        if (hash != nullptr)
            *hash = h;
        std::size_t mask = t.size() - 1;
        for (std::size_t i = (h >> 32) & mask; t[i] != 0; i = (i + 1) & mask) {
            if ((t[i] & kHigh) != high)
                continue;
            Key* c = children[(t[i] & 0xFFFFFFFF) - 1];
            if (namesEqual(c->name(), n))
                return c;
        }
        return nullptr;
    }
    void removeChild(const Key* k) {
        auto it = std::find(children.begin(), children.end(), k);
        if (it != children.end())
            children.erase(it);
        childIndex.reset();
    }
};

// One "[path]" section of registry.reg: its line, its values and what follows
// up to the next section.
struct PortableRegistry::Segment {
    std::uint64_t begin = 0, end = 0;
    Key* key = nullptr;  // nullptr: a "[-path]" section
    std::uint32_t line = 0;
    std::uint32_t next = kNoSeg;  // the key's next section
};

// The keys of one reading of registry.reg, with the file mapped for the
// values not decoded yet.
struct PortableRegistry::Tree {
    static constexpr std::size_t kBlock = 1024;

    Tree() {
        for (std::size_t i = 0; i < 6; ++i)
            roots[i] = newKey(kRootNames[i], nullptr);
    }
    ~Tree() {
        if (map != nullptr)
            ::munmap(map, size);
    }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;

    // `hash`: the name's hash when the caller has it.
    Key* newKey(std::string_view name, Key* parent, const std::uint64_t* hash = nullptr) {
        if (keys.empty() || used == kBlock) {
            keys.push_back(std::make_unique<Key[]>(kBlock));
            used = 0;
        }
        Key* k = &keys.back()[used++];
        k->namePtr = store(name);
        k->nameLen = static_cast<std::uint32_t>(name.size());
        k->parent = parent;
        k->fresh = !loading;
        changed = changed || k->fresh;
        if (parent != nullptr) {
            parent->children.push_back(k);
            if (parent->childIndex) {
                parent->indexChild(static_cast<std::uint32_t>(parent->children.size() - 1),
                                   hash ? *hash : Key::hashName(name));
            }
        }
        return k;
    }
    const char* store(std::string_view name) {
        if (name.size() > nameLeft) {
            std::size_t n = std::max<std::size_t>(name.size(), 64 * 1024);
            names.push_back(std::make_unique<char[]>(n));
            nameAt = names.back().get();
            nameLeft = n;
        }
        char* p = nameAt;
        std::memcpy(p, name.data(), name.size());
        nameAt += name.size();
        nameLeft -= name.size();
        return p;
    }

    std::vector<std::unique_ptr<Key[]>> keys;
    std::size_t used = 0;
    std::vector<std::unique_ptr<char[]>> names;
    char* nameAt = nullptr;
    std::size_t nameLeft = 0;
    Key* roots[6] = {};
    std::vector<Segment> segs;    // in file order
    std::uint64_t prefixEnd = 0;  // the header and comments before the first section
    const char* text = "";
    std::size_t size = 0;
    void* map = nullptr;
    bool loading = true;
    bool changed = false;       // keys added or deleted since registry.reg was read
    std::vector<Key*> touched;  // keys whose values were changed
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
            std::optional<std::uint64_t> hash;
            Key* next = k->child(part, &hash);
            if (next == nullptr && create)
                next = tree_->newKey(part, k, hash ? &*hash : nullptr);
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
        path += (*it)->name();
    }
    return path;
}

PortableRegistry::Key* PortableRegistry::keyAt(std::string_view path, bool create) {
    std::size_t slash = path.find('\\');
    int root = rootIndex(path.substr(0, slash));
    if (root < 0)
        return nullptr;
    Key* k = tree_->roots[root];
    return slash == std::string_view::npos ? k : walk(k, path.substr(slash + 1), create);
}

void PortableRegistry::removeKey(Key* key) {
    if (key->parent == nullptr)
        return;  // roots always exist
    tree_->changed = tree_->changed || !tree_->loading;
    key->parent->removeChild(key);
    std::vector<Key*> stack{key};
    while (!stack.empty()) {
        Key* k = stack.back();
        stack.pop_back();
        k->dead = true;
        k->values.reset();
        k->childIndex.reset();
        stack.insert(stack.end(), k->children.begin(), k->children.end());
        std::vector<Key*>().swap(k->children);
    }
}

PortableRegistry::Values& PortableRegistry::valuesOf(Key* key) {
    if (!key->values) {
        key->values = std::make_unique<Values>();
        decode(key, *key->values);
    }
    return *key->values;
}

// Decodes the key's sections of the mapped file (checked when it was read).
void PortableRegistry::decode(const Key* key, Values& out) {
    class Sink : public RegSink {
      public:
        explicit Sink(Values& v) : v_(v) {}
        void key(std::string_view) override {}
        void deleteKey(std::string_view) override {}
        void value(std::string_view name, std::uint32_t type,
                   std::vector<std::uint8_t>&& data) override {
            v_.set(name, type, std::move(data));
        }
        void deleteValue(std::string_view name) override { v_.remove(name); }

      private:
        Values& v_;
    } sink(out);
    try {
        for (std::uint32_t s = key->firstSeg; s != kNoSeg; s = tree_->segs[s].next) {
            const Segment& seg = tree_->segs[s];
            parseReg(std::string_view(tree_->text + seg.begin, seg.end - seg.begin), file_.string(),
                     sink, false, seg.line);
        }
    } catch (const ImageError&) {
        // Changed in place behind our back: the next call reloads or reports it.
        regId_ = {};
    }
}

void PortableRegistry::markDirty(Key* key) {
    if (!key->dirty)
        tree_->touched.push_back(key);
    key->dirty = true;
}

// Whether the tree differs from registry.reg. Keys whose values are back to
// what the file says (a value deleted and set again) count as untouched.
bool PortableRegistry::differs() {
    bool any = tree_->changed;
    for (Key* k : tree_->touched) {
        if (k->dead || !k->dirty || k->firstSeg == kNoSeg) {
            any = any || (!k->dead && k->dirty);
            continue;
        }
        Values was;
        decode(k, was);
        bool same = was.list.size() == k->values->list.size();
        for (std::size_t i = 0; same && i < was.list.size(); ++i) {
            const Value& v = k->values->list[i];
            const Value* w = was.find(v.name);
            same = w != nullptr && w->type == v.type && w->data == v.data;
        }
        k->dirty = !same;
        any = any || !same;
    }
    std::erase_if(tree_->touched, [](const Key* k) { return k->dead || !k->dirty; });
    return any;
}

// Sets a value; a change only when it differs.
void PortableRegistry::setValue(Key* key, std::string_view name, std::uint32_t type,
                                std::vector<std::uint8_t>&& data) {
    Values& values = valuesOf(key);
    const Value* v = values.find(name);
    if (v != nullptr && v->type == type && v->data == data)
        return;
    values.set(name, type, std::move(data));
    markDirty(key);
}

// Applies journal records to the tree.
class PortableRegistry::TreeSink : public RegSink {
  public:
    explicit TreeSink(PortableRegistry& r) : r_(r) {}

    void key(std::string_view path) override { current_ = r_.keyAt(path, true); }
    void deleteKey(std::string_view path) override {
        if (Key* k = r_.keyAt(path, false))
            r_.removeKey(k);
        current_ = nullptr;
    }
    void value(std::string_view name, std::uint32_t type,
               std::vector<std::uint8_t>&& data) override {
        if (current_ != nullptr)
            r_.setValue(current_, name, type, std::move(data));
    }
    void deleteValue(std::string_view name) override {
        if (current_ != nullptr && r_.valuesOf(current_).remove(name))
            r_.markDirty(current_);
    }

  private:
    PortableRegistry& r_;
    Key* current_ = nullptr;
};

// Reads registry.reg into a new tree: sections only, values checked but left
// in the file. Pages already read are given back as it goes.
class PortableRegistry::IndexSink : public RegSink {
  public:
    IndexSink(PortableRegistry& r, Tree& t) : r_(r), t_(t) {}

    bool wantsValues() const override { return false; }
    void at(std::size_t offset, std::size_t line) override {
        close(offset);
        if (t_.segs.empty())
            t_.prefixEnd = offset;
        Segment seg;
        seg.begin = offset;
        seg.line = static_cast<std::uint32_t>(line);
        t_.segs.push_back(seg);
        if (offset - released_ >= kRelease) {
            hash(offset);
            std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
            std::size_t upTo = hashed_ / page * page;
            if (t_.map != nullptr && upTo > released_)
                ::madvise(static_cast<char*>(t_.map) + released_, upTo - released_, MADV_DONTNEED);
            released_ = upTo;
        }
    }
    void key(std::string_view path) override {
        // Sections usually follow a parent or a sibling: walk on from the nearest
        // key the previous section passed through.
        Key* k = nullptr;
        if (last_ != nullptr) {
            // The common beginning (bytes first, then without regard to case)...
            std::size_t n = std::min(path.size(), lastPath_.size());
            std::size_t i = static_cast<std::size_t>(
                std::mismatch(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(n),
                              lastPath_.begin())
                    .first -
                path.begin());
            while (i < n && lower(path[i]) == lower(lastPath_[i]))
                ++i;
            // ...up to the end of its last whole component.
            std::size_t same = 0;
            if ((i == path.size() || path[i] == '\\') &&
                (i == lastPath_.size() || lastPath_[i] == '\\')) {
                same = i;
            } else if (std::size_t slash = path.rfind('\\', i == 0 ? 0 : i - 1);
                       slash != std::string_view::npos && i > 0) {
                same = slash;
            }
            if (same > 0) {
                k = last_;
                for (std::size_t j = same; j < lastPath_.size(); ++j) {
                    if (lastPath_[j] == '\\')
                        k = k->parent;
                }
                if (same < path.size())
                    k = r_.walk(k, path.substr(same + 1), true);
            }
        }
        if (k == nullptr)
            k = r_.keyAt(path, true);
        last_ = k;
        lastPath_ = path;
        auto n = static_cast<std::uint32_t>(t_.segs.size() - 1);
        t_.segs.back().key = k;
        if (k->firstSeg == kNoSeg) {
            k->firstSeg = n;
        } else {
            t_.segs[lastSeg(k)].next = n;
        }
    }
    void deleteKey(std::string_view path) override {
        if (Key* k = r_.keyAt(path, false))
            r_.removeKey(k);
        last_ = nullptr;
        lastPath_ = {};
    }
    void value(std::string_view, std::uint32_t, std::vector<std::uint8_t>&&) override {}
    void deleteValue(std::string_view) override {}

    // The file's hash, once the whole text has been read.
    std::uint64_t finish() {
        close(t_.size);
        if (t_.segs.empty())
            t_.prefixEnd = t_.size;
        hash(t_.size & ~std::size_t{7});
        return hasher_.finish(t_.text + hashed_, t_.size - hashed_);
    }

  private:
    static constexpr std::size_t kRelease = 8u << 20;

    void close(std::size_t offset) {
        if (!t_.segs.empty())
            t_.segs.back().end = offset;
    }
    void hash(std::size_t upTo) {
        upTo &= ~std::size_t{7};
        if (upTo > hashed_) {
            hasher_.words(t_.text + hashed_, upTo - hashed_);
            hashed_ = upTo;
        }
    }
    std::uint32_t lastSeg(const Key* k) const {
        std::uint32_t s = k->firstSeg;
        while (t_.segs[s].next != kNoSeg)
            s = t_.segs[s].next;
        return s;
    }

    PortableRegistry& r_;
    Tree& t_;
    Key* last_ = nullptr;
    std::string_view lastPath_;
    Hasher hasher_;
    std::size_t hashed_ = 0, released_ = 0;
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
      tree_(std::make_unique<Tree>()) {
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
                foldLocked(false);
            }
        }
    } catch (const ImageError& e) {
        // The journal still holds every change; the next load replays it.
        writeFailed(e.what());
    } catch (...) {
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
    auto tree = std::make_unique<Tree>();
    tree->size = static_cast<std::size_t>(st.st_size);
    if (tree->size > 0) {
        tree->map = ::mmap(nullptr, tree->size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (tree->map == MAP_FAILED) {
            tree->map = nullptr;
            ::close(fd);
            throw ImageError(sysError(file_, "cannot read"));
        }
        tree->text = static_cast<const char*>(tree->map);
    }
    std::vector<std::pair<HKEY, std::string>> open;
    for (auto& [h, handle] : handles_) {
        if (handle.key != nullptr && !handle.key->dead)
            open.emplace_back(h, pathOf(handle.key));
    }
    std::swap(tree, tree_);  // walk() and keyAt() build the new tree
    try {
        IndexSink sink(*this, *tree_);
        parseReg(std::string_view(tree_->text, tree_->size), file_.string(), sink);
        regHash_ = sink.finish();
    } catch (...) {
        std::swap(tree, tree_);
        ::close(fd);
        throw;
    }
    tree_->loading = false;
    tree.reset();
    for (auto& [h, handle] : handles_)
        handle.key = nullptr;
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
    if (!openJournal(true)) {
        writeFailed(sysError(journal_, "cannot open"));
        return pf::ERROR_ACCESS_DENIED;
    }
    std::uint64_t keep = journalStale_ ? 0 : journalApplied_;
    if (journalSeen_ != keep) {
        // Cut off a torn record or a stale journal.
        if (::ftruncate(journalFd_, static_cast<off_t>(keep)) != 0) {
            writeFailed(sysError(journal_, "cannot write"));
            return pf::ERROR_CANTWRITE;
        }
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
        writeFailed(sysError(journal_, "cannot write"));
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
    std::filesystem::path dir = file_.parent_path();
    if (dir.empty())
        dir = ".";
    // Writers hold the lock exclusively, so any temporary file is a killed writer's.
    std::error_code ec;
    const std::string stem = file_.filename().string() + ".";
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        std::string name = entry.path().filename().string();
        if (name.size() > stem.size() + 4 && name.compare(0, stem.size(), stem) == 0 &&
            name.compare(name.size() - 4, 4, ".tmp") == 0) {
            std::filesystem::remove(entry.path(), ec);
        }
    }
    std::random_device random;
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%ld.%08x.tmp", static_cast<long>(::getpid()),
                  static_cast<unsigned>(random()));
    const std::filesystem::path tmp = file_.string() + suffix;
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        throw ImageError(sysError(tmp, "cannot create"));

    const Tree& t = *tree_;
    off_t at = 0;
    std::string buf;
    std::uint64_t copyFrom = 0, copyTo = 0;  // untouched bytes not written yet
    std::string tail = "\n\n";               // the last bytes written
    auto fail = [&] { throw ImageError(sysError(tmp, "cannot write")); };
    auto flushText = [&] {
        if (!writeAll(fd, buf.data(), buf.size(), at))
            fail();
        at += static_cast<off_t>(buf.size());
        buf.clear();
    };
    std::vector<char> chunk;
    auto flushCopy = [&] {
        // Through a small buffer: neither the old file's pages nor a kernel copy's
        // count against this process's memory.
        while (copyFrom < copyTo) {
            chunk.resize(1 << 20);
            std::size_t n =
                static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), copyTo - copyFrom));
            ssize_t r = ::pread(regFd_, chunk.data(), n, static_cast<off_t>(copyFrom));
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                throw ImageError(sysError(file_, "cannot read"));
            if (!writeAll(fd, chunk.data(), static_cast<std::size_t>(r), at))
                fail();
            copyFrom += static_cast<std::uint64_t>(r);
            at += r;
        }
    };
    auto copy = [&](std::uint64_t from, std::uint64_t to) {
        if (from == to)
            return;
        if (from != copyTo || !buf.empty()) {
            flushCopy();
            flushText();
            copyFrom = from;
        }
        copyTo = to;
        tail.clear();  // read from the file if needed: touch no page here
    };
    auto text = [&](std::string_view s) {
        if (s.empty())
            return;
        flushCopy();
        buf += s;
        tail += s.substr(s.size() - std::min<std::size_t>(s.size(), 3));
        tail.erase(0, tail.size() - std::min<std::size_t>(tail.size(), 3));
        if (buf.size() >= (1u << 20))
            flushText();
    };
    std::string section;
    auto emit = [&](Key* k) {
        section.clear();
        appendKeyLine(section, pathOf(k));
        for (const Value& v : valuesOf(k).list)
            appendValueLine(section, v.name, v.type, v.data.data(), v.data.size());
        section += "\r\n";
        text(section);
    };
    // A key is placed where it first appears, by its own section or a subkey's.
    static std::uint32_t pass = 0;
    ++pass;
    auto place = [&](Key* k) {
        for (; k != nullptr && k->shown != pass; k = k->parent)
            k->shown = pass;
    };
    try {
        ::fchmod(fd, mode);
        // Untouched sections as they are, changed keys where they first were...
        copy(0, t.prefixEnd);
        for (std::uint32_t i = 0; i < t.segs.size(); ++i) {
            const Segment& seg = t.segs[i];
            if (seg.key == nullptr || (!seg.key->dead && !seg.key->dirty)) {
                copy(seg.begin, seg.end);
                place(seg.key);
            } else if (!seg.key->dead && seg.key->firstSeg == i) {
                emit(seg.key);
                place(seg.key);
            } else if (seg.key->dead) {
                // A key that only this deleted section brought in keeps its place:
                // it is named here, so a reload enumerates its parent's keys as now.
                Key* a = seg.key->parent;
                while (a != nullptr && a->dead)
                    a = a->parent;
                if (a != nullptr && a->parent != nullptr && a->shown != pass) {
                    section.clear();
                    appendKeyLine(section, pathOf(a));
                    section += "\r\n";
                    text(section);
                    place(a);
                }
            }
        }
        // ...then the keys the file did not have, parents first.
        bool separated = false;
        std::vector<Key*> stack(std::rbegin(t.roots), std::rend(t.roots));
        while (!stack.empty()) {
            Key* k = stack.back();
            stack.pop_back();
            // Also keys only implied by sections of deleted keys.
            if (k->firstSeg == kNoSeg &&
                (k->fresh || k->dirty ||
                 (k->parent != nullptr && k->children.empty() && k->shown != pass))) {
                if (!separated) {
                    // A blank line before the first new section.
                    if (tail.empty())
                        tail.assign(t.text + (copyTo - std::min<std::uint64_t>(copyTo, 3)),
                                    t.text + copyTo);
                    std::string_view end(tail);
                    if (end.back() != '\n')
                        text("\r\n\r\n");
                    else if (!end.ends_with("\n\n") && !end.ends_with("\n\r\n"))
                        text("\r\n");
                    separated = true;
                }
                emit(k);
            }
            stack.insert(stack.end(), k->children.rbegin(), k->children.rend());
        }
        if (at == 0 && buf.empty() && copyTo == 0)
            text(kRegHeader);
        flushCopy();
        flushText();
        if (::fsync(fd) != 0)
            fail();
        if (::rename(tmp.c_str(), file_.c_str()) != 0)
            throw ImageError(sysError(file_, "cannot replace"));
    } catch (...) {
        ::close(fd);
        ::unlink(tmp.c_str());
        throw;
    }
    fsyncDir(dir);
    ::close(fd);
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

// Writes registry.reg; with `reread` reads it back (the tree then indexes the new
// file), as any further call needs. Holds the exclusive lock.
void PortableRegistry::foldLocked(bool reread) {
    if (!differs()) {
        // registry.reg already says all the journal says: empty the journal only
        // (at exit remove it: the run leaves the image as it found it).
        if (journalFd_ < 0)
            return;
        if (reread ? ::ftruncate(journalFd_, 0) != 0
                   : ::unlink(journal_.c_str()) != 0 && errno != ENOENT) {
            throw ImageError(sysError(journal_, "cannot write"));
        }
        if (!reread) {
            ::close(journalFd_);
            journalFd_ = -1;
            journalIno_ = 0;
        }
        journalApplied_ = journalSeen_ = 0;
        journalLine_ = 0;
        journalStale_ = false;
        ++stats_.folds;
        return;
    }
    writeFile();
    if (reread)
        loadWhole();
}

void PortableRegistry::maybeFold() {
    if (journalApplied_ > std::max<std::uint64_t>(kMinFold, regId_.size / 2)) {
        try {
            foldLocked(true);
        } catch (const ImageError& e) {
            // The journal keeps the changes; a later write or the destructor retries.
            writeFailed(e.what());
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
    foldLocked(true);
    return true;
}

// ---------------------------------------------------------------------------
// Registry calls

PortableRegistry::Key* PortableRegistry::resolve(HKEY key, std::uint32_t need, long& err) {
    if (key >= pf::HKEY_CLASSES_ROOT && key <= pf::HKEY_DYN_DATA && key != 0x80000004u) {
        std::uint32_t i = key - pf::HKEY_CLASSES_ROOT;
        return tree_->roots[i > 4 ? i - 1 : i];
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
    if (it->second.key == nullptr || it->second.key->dead) {
        err = pf::ERROR_KEY_DELETED;
        return nullptr;
    }
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
        if (!validName(subKey) || depthOf(p) + components(subKey) > kMaxKeyDepth)
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
            disposition = 1;
            result = newHandle(k, access);
            maybeFold();  // may read the tree again: the handle finds its key by path
            return pf::ERROR_SUCCESS;
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
        return valuesOf(k).find(name) == nullptr ? pf::ERROR_FILE_NOT_FOUND : pf::ERROR_SUCCESS;
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
    valuesOf(k).remove(name);
    markDirty(k);
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
    const Value* v = valuesOf(k).find(name);
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
    setValue(k, name, type, std::vector<std::uint8_t>(data, data + size));
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
    values = static_cast<std::uint32_t>(valuesOf(k).list.size());
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
    name = k->children[index]->name();
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
    const std::vector<Value>& list = valuesOf(k).list;
    if (index >= list.size())
        return pf::ERROR_NO_MORE_ITEMS;
    const Value& v = list[index];
    name = v.name;
    type = v.type;
    data = v.data;
    return pf::ERROR_SUCCESS;
}

}  // namespace vtl::portable
