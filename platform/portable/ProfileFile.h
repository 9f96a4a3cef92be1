// The Windows profile-file (INI) calls, GetPrivateProfileStringA and
// WritePrivateProfileStringA, on host paths, answering as Windows does.
//
// A file is parsed into sections and entries and kept in a per-path cache that
// is checked against the file's size, modification and change times and inode
// before each use. A file this process wrote is known by its inode (the cache
// holds it open, so no other file can get that inode, and another writer's
// replacement is another inode); any other file's bytes are compared as well
// until a check has come after its change time, so a rewrite in the same
// clock tick is seen. Text is bytes in the system code page and passes
// unchanged.
//
// Parsing, as Windows does it:
// - Lines end at CR or LF; blanks (space, tab, CR, LF, VT, FF, 0x1A) around a
//   line are dropped, and blank lines are not entries.
// - "[" name "]" starts a section; the name runs to the last "]" on the line and
//   is trimmed. A line "[name" without "]" is an entry of the current section.
// - Entries before the first section belong to an unnamed section ("").
// - "name = value": both trimmed; ";" starts a comment entry only at the start
//   of a line, and a ";" after a value belongs to the value. A line without "="
//   is an entry without a value: reading it gives the default and key lists
//   skip it. A NUL byte ends the name or value it is in.
// - Names match without regard to ASCII case; the first matching section is the
//   only one searched, and the first matching key in it wins.
//
// Writing changes only the lines it must, as Windows edits the file in place:
// a changed value rewrites its line as "name=value" (the name keeps its case),
// a new key goes after the last non-blank line of its section, a new section
// ("[name]") goes at the end of the file, deletions remove their lines; every
// other line (blank lines, comments, the header before the first section,
// spacing and line ends) stays byte for byte. New lines end with CR LF. An
// unchanged value or a deletion that finds nothing leaves the file untouched.
// The file is replaced atomically (a temporary file in the same folder, then
// rename) and keeps its permissions.
//
// Files starting with a UTF-8 byte-order mark keep the mark and are otherwise
// handled as bytes. Files starting with a UTF-16 byte-order mark are not
// supported: they read as missing and writes to them fail, leaving them intact.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vtl {

// What GetPrivateProfileStringA leaves in the caller's buffer.
struct ProfileString {
    // The function's return value.
    std::uint32_t count = 0;
    // The bytes written into the buffer from its start, without the final NUL.
    // When bufferSize > 0 a NUL follows at buffer[bytes.size()]; when
    // bufferSize is 0 nothing is written. Lists hold NUL-separated names.
    std::string bytes;

    // The text up to the first NUL: the value read for a single key.
    std::string Text() const { return bytes.substr(0, bytes.find('\0')); }
};

// section nullopt lists the section names; key nullopt lists the key names of
// the section (entries with a value, comments left out); otherwise reads one
// value. A missing file, section or key gives the default (trailing spaces
// dropped, surrounding quotes removed), as does an empty key list.
ProfileString GetPrivateProfileString(const std::optional<std::string>& section,
                                      const std::optional<std::string>& key,
                                      const std::string& defaultValue, std::uint32_t bufferSize,
                                      const std::string& hostPath);

// key nullopt deletes the first section of that name; value nullopt deletes
// the first matching key in the sections of that name. Returns false, with a
// reason in LastProfileError(), when section is nullopt or the file cannot be
// written (missing folder, read-only file, ...); the file is then unchanged.
bool WritePrivateProfileString(const std::optional<std::string>& section,
                               const std::optional<std::string>& key,
                               const std::optional<std::string>& value,
                               const std::string& hostPath);

// Why the last failed write failed; empty after a successful one.
const std::string& LastProfileError();

// Drops the cached parse of every file.
void ClearProfileCache();

// How often files were read whole and parsed, for tests and benchmarks.
struct ProfileCacheStats {
    std::uint64_t reads = 0;
    std::uint64_t parses = 0;
};
const ProfileCacheStats& ProfileCacheCounts();
void ResetProfileCacheCounts();

}  // namespace vtl
