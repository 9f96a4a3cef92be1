#include "platform/portable/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <utility>
#include <vector>

#include "platform/portable/AtomicFile.h"

namespace vtl {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A';
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    return s;
}
std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}
std::string_view Trim(std::string_view s) {
    return TrimRight(TrimLeft(s));
}

// A string as a C caller passes it: up to its first NUL.
std::string_view CText(std::string_view s) {
    return s.substr(0, s.find('\0'));
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// Lines keep their original text (`raw`, with its line end) until a write
// changes them, so a rewrite leaves every other line as it was: blank lines,
// comments, spacing and line ends.
struct Entry {
    std::string name;
    std::optional<std::string> value;  // nullopt: a line without "="
    std::string raw;                   // the line as read; empty once rewritten
    bool blank = false;                // kept for the rewrite only; never read
};

struct Section {
    std::string name;
    std::vector<Entry> entries;
    std::string raw;  // the "[name]" line as read
};

struct Document {
    bool utf8Bom = false;
    std::vector<Section> sections{Section{}};  // the first holds the lines before any "[...]"
};

Document Parse(std::string_view text) {
    Document doc;
    if (text.starts_with(kUtf8Bom)) {
        doc.utf8Bom = true;
        text.remove_prefix(kUtf8Bom.size());
    }
    Section* current = &doc.sections.front();
    bool previousNameEmpty = false;  // meaningful only when current has entries
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = Trim(text.substr(pos, end - pos));
        std::size_t next = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++next;
        std::string raw(text.substr(pos, std::min(next, text.size()) - pos));
        pos = next;
        if (line.empty()) {
            current->entries.push_back(Entry{{}, std::nullopt, std::move(raw), true});
            continue;
        }

        if (line.front() == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                doc.sections.push_back(Section{
                    std::string(CText(Trim(line.substr(1, close - 1)))), {}, std::move(raw)});
                current = &doc.sections.back();
                continue;
            }
        }

        Entry entry;
        entry.raw = std::move(raw);
        std::size_t rawNameLength = line.size();
        std::size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            std::string_view name = TrimRight(line.substr(0, eq));
            rawNameLength = name.size();
            entry.name = CText(name);
            entry.value = std::string(CText(TrimLeft(line.substr(eq + 1))));
        } else {
            entry.name = CText(line);
        }
        // Of consecutive entries with empty names, only the first is kept.
        if (rawNameLength == 0 && !current->entries.empty() && previousNameEmpty) {
            entry.blank = true;
            entry.value.reset();
            current->entries.push_back(std::move(entry));
            continue;
        }
        previousNameEmpty = entry.name.empty();
        current->entries.push_back(std::move(entry));
    }
    return doc;
}

// Appends a line, ending the previous one first if the file's last line had no end.
void AppendLine(std::string& out, std::string_view line, std::size_t start) {
    if (out.size() > start && out.back() != '\n' && out.back() != '\r')
        out += "\r\n";
    out += line;
}

std::string Serialize(const Document& doc) {
    std::string out;
    if (doc.utf8Bom)
        out += kUtf8Bom;
    const std::size_t start = out.size();
    for (const Section& section : doc.sections) {
        if (!section.raw.empty())
            AppendLine(out, section.raw, start);
        else if (!section.name.empty())
            AppendLine(out, "[" + section.name + "]\r\n", start);
        for (const Entry& entry : section.entries) {
            if (!entry.raw.empty()) {
                AppendLine(out, entry.raw, start);
                continue;
            }
            std::string line = entry.name;
            if (entry.value)
                line += "=" + *entry.value;
            AppendLine(out, line + "\r\n", start);
        }
    }
    return out;
}

// --- Cache of parsed files. An entry is used again while the file has the
// same identity, size and times, and we know that no change since could keep
// them: the file is the one this process wrote (its descriptor is held, so
// its inode cannot be reused and another writer's replacement has another
// inode), or it was checked after its change time had passed. A change in
// the same clock tick as our check may keep the times, so until then its
// bytes are compared. ---

struct Stamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    explicit Stamp(const struct stat& st)
        : dev(st.st_dev), ino(st.st_ino), size(st.st_size), mtime(st.st_mtim), ctime(st.st_ctim) {}
    bool operator==(const Stamp& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
               ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

timespec CoarseNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}

bool Before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Whether every change after `checked` gets a change time other than `ctime`.
// File times come from the kernel's coarse clock; a file system that keeps
// them to the nanosecond gives a later change a time at least `checked`. With
// a coarser file system (no digits below the microsecond), two seconds.
bool Settled(const timespec& ctime, const timespec& checked) {
    if (ctime.tv_nsec % 1000 != 0)
        return Before(ctime, checked);
    return checked.tv_sec - ctime.tv_sec > 2;
}

class Pin {
  public:
    Pin() = default;
    explicit Pin(int fd) : fd_(fd) {}
    Pin(Pin&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    Pin& operator=(Pin&& o) noexcept {
        std::swap(fd_, o.fd_);
        return *this;
    }
    ~Pin() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool held() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

struct Cached {
    Stamp stamp;
    Document doc;
    bool utf16 = false;
    mode_t mode = 0;
    bool settled = false;  // no change since it was read can keep the stamp
    std::string text;      // the bytes, kept until settled
    Pin ours;              // held while the file is the one this process wrote
    std::uint64_t used = 0;
};

constexpr std::size_t kCacheLimit = 32;

std::map<std::string, Cached>& Cache() {
    static std::map<std::string, Cached> cache;
    return cache;
}

ProfileCacheStats& Stats() {
    static ProfileCacheStats stats;
    return stats;
}

Cached& Remember(const std::string& path, Cached entry) {
    auto& cache = Cache();
    static std::uint64_t uses = 0;
    entry.used = ++uses;
    if (cache.size() >= kCacheLimit && cache.find(path) == cache.end()) {
        auto oldest = cache.begin();
        for (auto it = cache.begin(); it != cache.end(); ++it)
            if (it->second.used < oldest->second.used)
                oldest = it;
        cache.erase(oldest);
    }
    return cache.insert_or_assign(path, std::move(entry)).first->second;
}

std::string& ErrorText() {
    static std::string text;
    return text;
}

bool ReadAll(int fd, std::string& out) {
    ++Stats().reads;
    char chunk[65536];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        out.append(chunk, static_cast<std::size_t>(got));
    }
}

// The parsed file, or nullptr when it does not exist or cannot be read.
const Cached* Load(const std::string& path) {
    auto& cache = Cache();
    const timespec checked = CoarseNow();
    struct stat st {};
    // A trusted entry is answered from a stat, without opening the file.
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        cache.erase(path);
        return nullptr;
    }
    if (auto hit = cache.find(path); hit != cache.end() && hit->second.stamp == Stamp(st) &&
                                     (hit->second.ours.held() || hit->second.settled)) {
        return &hit->second;
    }
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        cache.erase(path);
        return nullptr;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        cache.erase(path);
        return nullptr;
    }
    Stamp stamp(st);
    auto it = cache.find(path);
    const bool sameStamp = it != cache.end() && it->second.stamp == stamp;
    if (sameStamp && (it->second.ours.held() || it->second.settled)) {
        ::close(fd);
        return &it->second;
    }
    std::string text;
    bool ok = ReadAll(fd, text);
    ::close(fd);
    if (!ok) {
        cache.erase(path);
        return nullptr;
    }
    const bool settled = Settled(st.st_ctim, checked);
    if (sameStamp && it->second.text == text) {
        it->second.settled = settled;
        if (settled)
            it->second.text.clear();
        return &it->second;
    }
    Cached entry{stamp,      {},      text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF"),
                 st.st_mode, settled, {},
                 {},         0};
    if (!entry.utf16) {
        ++Stats().parses;
        entry.doc = Parse(text);
    }
    if (!settled)
        entry.text = std::move(text);
    return &Remember(path, std::move(entry));
}

// --- Reading. Each helper returns what the wide-character call leaves: the
// buffer's content and its return value; Narrow() then does what the ANSI
// wrapper makes of it. ---

struct Wide {
    std::string buffer;
    long count = 0;
};

// Copies a value into a buffer of `len` characters, dropping matching
// surrounding quotes when the closing one fits.
Wide CopyEntry(std::string_view value, std::uint32_t len) {
    bool quoted = false;
    if (value.size() >= 2 && (value.front() == '\'' || value.front() == '"') &&
        value.back() == value.front()) {
        quoted = true;
        value.remove_prefix(1);
    }
    std::string copy(value.substr(0, len - 1));
    if (quoted && len >= value.size() && !copy.empty())
        copy.pop_back();
    long count = static_cast<long>(copy.size());
    return {std::move(copy), count};
}

const Section* FindSection(const Document& doc, std::string_view name) {
    for (const Section& section : doc.sections)
        if (SameName(section.name, name))
            return &section;
    return nullptr;
}

Wide SectionNames(const Document* doc, std::uint32_t len) {
    if (len == 1 || !doc)
        return {std::string(1, '\0'), 0};
    std::string out;
    std::size_t room = len - 1;
    for (const Section& section : doc->sections) {
        if (section.name.empty())
            continue;
        std::size_t need = section.name.size() + 1;
        if (need >= room) {
            if (room > 0)
                out.append(section.name, 0, room - 1).push_back('\0');
            out.push_back('\0');
            return {out, static_cast<long>(len) - 2};
        }
        out.append(section.name).push_back('\0');
        room -= need;
    }
    long count = static_cast<long>(out.size());
    out.push_back('\0');
    return {out, count};
}

Wide KeyNames(const Document* doc, std::string_view sectionName, std::uint32_t len) {
    const Section* section = nullptr;
    if (doc)
        for (const Section& s : doc->sections)
            if (SameName(s.name, sectionName)) {  // untrimmed, unlike single reads
                section = &s;
                break;
            }
    if (!section)
        return {std::string(2, '\0'), 0};
    if (len <= 2)
        return {std::string(1, '\0'), 0};

    std::string out;
    std::size_t left = len;
    for (const Entry& entry : section->entries) {
        if (left <= 2)
            break;
        if (!entry.value || entry.name.starts_with(';'))
            continue;
        out.append(entry.name, 0, left - 2).push_back('\0');
        left -= std::min(entry.name.size(), left - 2) + 1;
        if (left < 2)
            break;
    }
    if (left <= 1) {
        out.back() = '\0';
        out.push_back('\0');
        return {out, static_cast<long>(len) - 2};
    }
    out.push_back('\0');
    return {out, static_cast<long>(len - left)};
}

ProfileString Narrow(const Wide& wide, std::uint32_t len) {
    ProfileString result;
    if (wide.count <= 0)
        return result;
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(wide.count), len - 1);
    result.bytes = wide.buffer.substr(0, n);
    result.bytes.resize(n, '\0');
    result.count = static_cast<std::uint32_t>(n);
    return result;
}

// --- Writing. ---

bool Fail(std::string reason) {
    ErrorText() = std::move(reason);
    return false;
}

std::string ParentFolder(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

// Writes `text` to a temporary file beside `path` and renames it over `path`.
bool ReplaceFile(const std::string& path, const std::string& text, std::optional<mode_t> keepMode,
                 int* keep) {
    using Step = portable::ReplaceFailure::Step;
    const auto failure = portable::replaceContents(path, text, keepMode, keep);
    if (!failure)
        return true;
    const char* reason = std::strerror(failure->error);
    switch (failure->step) {
        case Step::Create:
            return Fail("cannot create a file in " + ParentFolder(path) + ": " + reason);
        case Step::SetMode:
            return Fail("cannot set mode of " + path + ": " + reason);
        case Step::Write:
            return Fail("cannot write " + path + ": " + reason);
        case Step::Rename:
            break;
    }
    return Fail("cannot replace " + path + ": " + reason);
}

// Applies the write to `doc`; false when nothing changes.
bool Apply(Document& doc, std::string_view section, const std::optional<std::string>& key,
           const std::optional<std::string>& value) {
    if (!key) {
        for (auto it = doc.sections.begin(); it != doc.sections.end(); ++it)
            if (SameName(it->name, section)) {
                doc.sections.erase(it);
                if (doc.sections.empty())
                    doc.sections.emplace_back();
                return true;
            }
        return false;
    }
    std::string_view keyName = CText(*key);
    if (!value) {
        for (Section& s : doc.sections) {
            if (!SameName(s.name, section))
                continue;
            for (auto it = s.entries.begin(); it != s.entries.end(); ++it)
                if (!it->blank && SameName(it->name, keyName)) {
                    s.entries.erase(it);
                    return true;
                }
        }
        return false;
    }
    std::string newValue(TrimLeft(CText(*value)));
    Section* target = nullptr;
    for (Section& s : doc.sections)
        if (SameName(s.name, Trim(section))) {
            target = &s;
            break;
        }
    if (!target) {
        doc.sections.push_back(Section{std::string(TrimLeft(section)), {}, {}});
        target = &doc.sections.back();
    }
    for (Entry& entry : target->entries)
        if (!entry.blank && SameName(entry.name, Trim(keyName))) {
            if (entry.value == newValue)
                return false;
            entry.value = std::move(newValue);
            entry.raw.clear();
            return true;
        }
    // A new key follows the section's last line that is not blank.
    auto at = target->entries.end();
    while (at != target->entries.begin() && std::prev(at)->blank)
        --at;
    target->entries.insert(at,
                           Entry{std::string(TrimLeft(keyName)), std::move(newValue), {}, false});
    return true;
}

}  // namespace

ProfileString GetPrivateProfileString(const std::optional<std::string>& section,
                                      const std::optional<std::string>& key,
                                      const std::string& defaultValue, std::uint32_t bufferSize,
                                      const std::string& hostPath) {
    if (bufferSize == 0)
        return {};
    const Cached* cached = Load(hostPath);
    const Document* doc = (cached && !cached->utf16) ? &cached->doc : nullptr;

    std::string_view fallback = CText(defaultValue);
    if (!section)
        return Narrow(SectionNames(doc, bufferSize), bufferSize);
    std::string_view sectionName = CText(*section);
    if (!key) {
        Wide names = KeyNames(doc, sectionName, bufferSize);
        if (names.buffer.empty() || names.buffer.front() == '\0')
            names = CopyEntry(fallback, bufferSize);
        return Narrow(names, bufferSize);
    }
    // A single read drops the default's trailing spaces, keeping at least one character.
    std::size_t last = fallback.find_last_not_of(' ');
    if (!fallback.empty())
        fallback = fallback.substr(0, last == std::string_view::npos ? 1 : last + 1);
    const Entry* found = nullptr;
    if (const Section* s = doc ? FindSection(*doc, Trim(sectionName)) : nullptr)
        for (const Entry& entry : s->entries)
            if (!entry.blank && SameName(entry.name, Trim(CText(*key)))) {
                found = &entry;
                break;
            }
    return Narrow(CopyEntry(found && found->value ? *found->value : fallback, bufferSize),
                  bufferSize);
}

bool WritePrivateProfileString(const std::optional<std::string>& section,
                               const std::optional<std::string>& key,
                               const std::optional<std::string>& value,
                               const std::string& hostPath) {
    ErrorText().clear();
    if (!section)
        return Fail("no section name given");

    std::string path = hostPath;
    struct stat link {};
    if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            path = real;
            std::free(real);
        }
    }
    const Cached* cached = Load(path);
    if (!cached && ::access(path.c_str(), F_OK) == 0)
        return Fail("cannot read " + path + ": not a readable file");
    if (cached && cached->utf16)
        return Fail(path + " is a UTF-16 file, which is not supported");

    Document doc = cached ? cached->doc : Document{};
    if (!Apply(doc, CText(*section), key, value))
        return true;
    if (!cached && (!key || !value))
        return true;  // a deletion creates no file

    std::optional<mode_t> mode;
    if (cached) {
        if ((cached->mode & S_IWUSR) == 0)
            return Fail(path + " is read-only");
        mode = cached->mode;
    }
    std::string text = Serialize(doc);
    int kept = -1;
    const bool written = ReplaceFile(path, text, mode, &kept);
    Cache().erase(path);
    if (!written)
        return false;
    Pin pin(kept);
    struct stat st {};
    // What the file now says, as a read parses it: the edited document keeps
    // blanks (after names, values) that a parse drops.
    if (pin.held() && ::fstat(kept, &st) == 0)
        Remember(path,
                 Cached{Stamp(st), Parse(text), false, st.st_mode, false, {}, std::move(pin), 0});
    return true;
}

const std::string& LastProfileError() {
    return ErrorText();
}

void ClearProfileCache() {
    Cache().clear();
}

const ProfileCacheStats& ProfileCacheCounts() {
    return Stats();
}

void ResetProfileCacheCounts() {
    Stats() = {};
}

}  // namespace vtl
