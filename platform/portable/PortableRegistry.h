// The registry of a machine image, kept in a REGEDIT4 file, with the Win32
// registry calls of vtl::platform::Platform.
//
// Storage. On disk the registry is
//   registry.reg          the whole registry, REGEDIT4, CRLF;
//   registry.reg.journal  the changes made since registry.reg was written;
//   registry.reg.lock     an empty file that carries the flock.
// In memory it is a tree of keys indexing registry.reg: loading checks every
// line of the mapped file but keeps only the keys and the byte ranges of their
// sections; a key's values are decoded when first asked for. Keys deeper than
// 512 levels below a root are refused. registry.reg is only ever replaced
// atomically: written to registry.reg.<pid>.<random>.tmp in the same folder,
// fsynced, renamed over the old file.
//
// Journal. The journal starts with ";vtl-journal <hash>", the hash of the
// registry.reg content it continues, then holds one record per change, in
// REGEDIT4 syntax ("[key]", "[-key]", a value line or "name"=-) closed by
// ";end <crc32>" over the record's bytes. Each change appends its record
// with one write() while holding the lock exclusively, then applies it in
// memory; a record without a valid end line (a writer killed mid-append) is
// ignored on replay and cut off by the next writer. A journal whose hash
// does not match registry.reg is stale (its records were folded by a writer
// killed before it emptied the journal, or registry.reg was replaced) and is
// ignored. Appends are not fsynced: a killed process loses nothing, a power
// cut may lose the last changes but never tears a file.
//
// Several processes. Before every call the registry stats registry.reg
// (inode, size, mtime) and the journal (inode, size). When registry.reg was
// replaced it reloads it whole and replays the journal; when only the journal
// grew it replays just the new records; this happens under a shared lock so
// a fold in progress is never seen half done. Writers hold the exclusive
// lock, sync first and validate against the synced tree, so two processes
// never lose each other's changes and a change is visible to others once
// the call that made it has returned.
//
// Folding. fold() writes registry.reg (after syncing) and empties the journal,
// under the exclusive lock: untouched byte ranges are copied as they are, keys
// whose values changed are written at their first section, new keys at the end.
// When the tree equals registry.reg nothing is written (the destructor then
// removes the journal). A write folds by itself when the journal outgrows half
// of registry.reg (at least 256 KiB), so a write costs amortised O(1) however
// large the image. The destructor folds whatever the journal holds, including a
// journal left by a killed process.
//
// Read-only images (file or folder without write permission bits, or not
// writable by this user): reads work, every write returns
// ERROR_ACCESS_DENIED, nothing is written. A registry.reg that another
// process made unparsable makes every call return ERROR_BADDB until it
// parses again; it is never overwritten.
//
// Handles remember their key and access mask. A key deleted while a handle
// is open makes the handle answer ERROR_KEY_DELETED. After a full reload
// handles are found again by their key's path.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"
#include "platform/portable/RegFile.h"
#include "platform/portable/RegistryStore.h"

namespace vtl::portable {

class PortableRegistry : public RegistryStore {
  public:
    // Loads `regFile` and replays its journal. Throws ImageError (with the path
    // and line) when the file is missing or does not parse.
    explicit PortableRegistry(std::filesystem::path regFile);
    ~PortableRegistry();
    PortableRegistry(const PortableRegistry&) = delete;
    PortableRegistry& operator=(const PortableRegistry&) = delete;

    long RegOpenKeyEx(HKEY parent, const std::string* subKey, std::uint32_t access,
                      HKEY& result) override;
    long RegCreateKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access, HKEY& result,
                        std::uint32_t& disposition) override;
    long RegCloseKey(HKEY key) override;
    long RegDeleteKey(HKEY parent, const std::string& subKey) override;
    long RegDeleteValue(HKEY key, const std::string& name) override;
    long RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t& type,
                         std::vector<std::uint8_t>* data, std::uint32_t& size) override;
    long RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                       const std::uint8_t* data, std::uint32_t size) override;
    long RegQueryInfoKey(HKEY key, std::uint32_t& subKeys, std::uint32_t& values) override;
    long RegEnumKeyEx(HKEY key, std::uint32_t index, std::string& name) override;
    long RegEnumValue(HKEY key, std::uint32_t index, std::string& name, std::uint32_t& type,
                      std::vector<std::uint8_t>& data) override;

    // Writes registry.reg whole and empties the journal. Returns false when the
    // image is read-only or unparsable (nothing written). Throws ImageError on
    // an I/O failure (the journal then still holds every change).
    bool fold();

    bool readOnly() const override { return readOnly_; }
    const std::filesystem::path& file() const { return file_; }

  private:
    struct Key;
    struct Value;
    struct Values;
    struct Segment;
    struct Tree;
    struct Handle {
        Key* key = nullptr;  // nullptr: the key was deleted
        std::uint32_t access = 0;
    };
    struct FileId {
        std::uint64_t dev = 0, ino = 0, size = 0, mtimeNs = 0;
        bool operator==(const FileId&) const = default;
    };
    class TreeSink;
    class IndexSink;
    class Lock;

    // Tree.
    Key* resolve(HKEY key, std::uint32_t need, long& err);
    HKEY newHandle(Key* key, std::uint32_t access);
    Key* walk(Key* from, std::string_view subKey, bool create);
    static std::string pathOf(const Key* key);
    void removeKey(Key* key);
    Key* keyAt(std::string_view path, bool create);
    Values& valuesOf(Key* key);
    void decode(const Key* key, Values& out);
    void markDirty(Key* key);
    bool differs();
    void setValue(Key* key, std::string_view name, std::uint32_t type,
                  std::vector<std::uint8_t>&& data);

    // Files.
    long sync(bool haveLock);
    void loadWhole();
    void replayJournal(bool fromStart);
    bool openJournal(bool create);
    long beginWrite(Lock& lock);
    template <class Check>
    long prepareWrite(Lock& lock, Check&& check);
    long append(const std::string& record);
    void writeFile();
    void foldLocked(bool reread);
    void maybeFold();

    std::filesystem::path file_, journal_, lock_;
    std::unique_ptr<Tree> tree_;
    std::unordered_map<HKEY, Handle> handles_;
    HKEY nextHandle_ = 1;
    bool readOnly_ = false;
    bool broken_ = false;  // registry.reg on disk does not parse
    FileId regId_, badId_;
    std::uint64_t regHash_ = 0;
    int regFd_ = -1;  // the loaded registry.reg: pins its inode, source of untouched bytes
    int lockFd_ = -1;
    int journalFd_ = -1;
    std::uint64_t journalIno_ = 0;
    std::uint64_t journalSeen_ = 0;     // journal size at the last sync
    std::uint64_t journalApplied_ = 0;  // end of the last valid record applied
    std::size_t journalLine_ = 0;       // lines up to journalApplied_
    bool journalStale_ = false;
};

}  // namespace vtl::portable
