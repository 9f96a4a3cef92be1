// REGEDIT4 text: the format the Windows registry editor exports and imports.
//
// Reading is streaming: parseReg() hands each section and value line to a
// RegSink as it meets it, so a large export is never held twice in memory. A
// sink may ask for sections only (values are then checked, not decoded).
// Writing is a set of helpers that append one line each; the registry uses
// them both for the whole file and for its journal records.
//
// Text is bytes in the system code page and is kept as it is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vtl::portable {

// A machine image that cannot be read: names the file, the line and the fault.
class ImageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The six roots, in the order of their predefined handles (0x80000000 + index,
// skipping 0x80000004) and in the order the registry file lists them.
inline constexpr std::array<std::string_view, 6> kRootNames = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",   "HKEY_LOCAL_MACHINE",
    "HKEY_USERS",        "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

// Index into kRootNames of a root name (any case), or -1.
int rootIndex(std::string_view name);

// ASCII case-insensitive equality, as registry names compare.
bool namesEqual(std::string_view a, std::string_view b);

// Receives the contents of a REGEDIT4 text in order.
class RegSink {
  public:
    virtual ~RegSink() = default;
    // "[path]": the key (and every missing parent) exists and takes the values
    // that follow. `path` starts with a root name; components are non-empty.
    virtual void key(std::string_view path) = 0;
    // "[-path]": the key and its subtree are removed; following values are ignored.
    virtual void deleteKey(std::string_view path) = 0;
    // A value of the current key; the name "" is the default value ("@").
    virtual void value(std::string_view name, std::uint32_t type,
                       std::vector<std::uint8_t>&& data) = 0;
    // "name"=- : the value of the current key is removed.
    virtual void deleteValue(std::string_view name) = 0;
    // false: value lines are checked but neither decoded nor handed over.
    virtual bool wantsValues() const { return true; }
    // Called before key() or deleteKey() with the byte offset and number of the line.
    virtual void at(std::size_t /*offset*/, std::size_t /*line*/) {}
};

// Windows allows keys 512 levels below a root; deeper sections are refused.
inline constexpr std::size_t kMaxKeyDepth = 512;

// Parses REGEDIT4 text. With `header` the first line must be "REGEDIT4";
// without it `text` is a fragment (a journal record). Line numbers in errors
// start at `firstLine`; `where` names the source. Throws ImageError
// "<where>:<line>: <fault>".
void parseReg(std::string_view text, const std::string& where, RegSink& sink, bool header = true,
              std::size_t firstLine = 1);

// Writing. Every line ends with CRLF.
inline constexpr std::string_view kRegHeader = "REGEDIT4\r\n\r\n";
void appendKeyLine(std::string& out, std::string_view path, bool remove = false);
// The shortest form that reads back to exactly these bytes: "text" for a
// REG_SZ with a single trailing NUL and no CR/LF, dword: for a 4-byte
// REG_DWORD, hex otherwise (wrapped like the registry editor wraps it).
void appendValueLine(std::string& out, std::string_view name, std::uint32_t type,
                     const std::uint8_t* data, std::size_t size);
void appendDeleteValueLine(std::string& out, std::string_view name);

}  // namespace vtl::portable
