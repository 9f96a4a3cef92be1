#include "platform/portable/RegFile.h"

#include <algorithm>
#include <cstdio>

namespace vtl::portable {

namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && namesEqual(s.substr(0, prefix.size()), prefix);
}

class Parser {
  public:
    Parser(std::string_view text, const std::string& where, RegSink& sink, std::size_t firstLine)
        : text_(text),
          where_(where),
          sink_(sink),
          line_(firstLine - 1),
          build_(sink.wantsValues()) {}

    void run(bool header) {
        std::string_view line;
        if (header) {
            if (!nextLine(line) || trim(line) != "REGEDIT4") {
                fail("not a REGEDIT4 file (the first line must be \"REGEDIT4\")");
            }
        }
        while (nextLine(line)) {
            std::string_view s = trim(line);
            if (s.empty() || s.front() == ';')
                continue;
            if (s.front() == '[') {
                section(s);
            } else if (s.front() == '"' || s.front() == '@') {
                valueLine(s);
            } else {
                fail("expected a [key] section, a value or a comment");
            }
        }
    }

  private:
    [[noreturn]] void fail(const std::string& what) const {
        throw ImageError(where_ + ":" + std::to_string(line_) + ": " + what);
    }

    bool nextLine(std::string_view& out) {
        if (pos_ >= text_.size())
            return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        lineStart_ = pos_;
        out = text_.substr(pos_, end - pos_);
        if (!out.empty() && out.back() == '\r')
            out.remove_suffix(1);
        pos_ = end + 1;
        ++line_;
        return true;
    }

    void section(std::string_view s) {
        std::size_t close = s.rfind(']');
        if (close == std::string_view::npos)
            fail("missing ']' after key name");
        if (!trim(s.substr(close + 1)).empty())
            fail("text after ']'");
        std::string_view path = s.substr(1, close - 1);
        bool remove = !path.empty() && path.front() == '-';
        if (remove)
            path.remove_prefix(1);
        std::size_t slash = path.find('\\');
        std::string_view root = path.substr(0, slash);
        if (rootIndex(root) < 0)
            fail("unknown root key \"" + std::string(root) + "\"");
        if (path.find("\\\\") != std::string_view::npos || path.back() == '\\') {
            fail("empty key name in \"" + std::string(path) + "\"");
        }
        if (static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\')) > kMaxKeyDepth)
            fail("key more than " + std::to_string(kMaxKeyDepth) + " levels deep");
        sink_.at(lineStart_, line_);
        if (remove) {
            sink_.deleteKey(path);
            inKey_ = false;
        } else {
            sink_.key(path);
            inKey_ = true;
        }
        seenKey_ = true;
    }

    // Reads a quoted text starting at s[i] == '"'; returns the index after the closing quote.
    std::size_t quoted(std::string_view s, std::size_t i, std::string& out) const {
        ++i;
        while (i < s.size()) {
            char c = s[i];
            if (c == '"')
                return i + 1;
            if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
                if (build_)
                    out.push_back(s[i + 1]);
                i += 2;
                continue;
            }
            if (build_)
                out.push_back(c);
            ++i;
        }
        fail("missing closing '\"'");
    }

    void valueLine(std::string_view s) {
        if (!seenKey_)
            fail("value outside a [key] section");
        std::string name;
        std::size_t i = s.front() == '@' ? 1 : quoted(s, 0, name);
        while (i < s.size() && isBlank(s[i]))
            ++i;
        if (i >= s.size() || s[i] != '=')
            fail("expected '=' after the value name");
        std::string_view data = trim(s.substr(i + 1));
        if (data == "-") {
            if (inKey_ && build_)
                sink_.deleteValue(name);
            return;
        }
        std::uint32_t type = 0;
        std::vector<std::uint8_t> bytes;
        if (!data.empty() && data.front() == '"') {
            std::string text;
            std::size_t end = quoted(data, 0, text);
            if (end != data.size())
                fail("text after the closing '\"'");
            type = 1;
            if (build_) {
                bytes.assign(text.begin(), text.end());
                bytes.push_back(0);
            }
        } else if (startsWithNoCase(data, "dword:")) {
            std::string_view digits = data.substr(6);
            if (digits.empty() || digits.size() > 8)
                fail("dword needs 1 to 8 hex digits");
            std::uint32_t v = 0;
            for (char c : digits) {
                int d = hexDigit(c);
                if (d < 0)
                    fail("bad hex digit in dword \"" + std::string(digits) + "\"");
                v = (v << 4) | static_cast<std::uint32_t>(d);
            }
            type = 4;
            if (build_)
                bytes = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                         static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        } else if (startsWithNoCase(data, "hex")) {
            std::size_t colon = data.find(':');
            if (colon == std::string_view::npos)
                fail("missing ':' after hex");
            std::string_view kind = data.substr(3, colon - 3);
            if (kind.empty()) {
                type = 3;
            } else {
                if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')' ||
                    kind.size() > 10) {
                    fail("bad value type \"" + std::string(kind) + "\"");
                }
                for (char c : kind.substr(1, kind.size() - 2)) {
                    int d = hexDigit(c);
                    if (d < 0)
                        fail("bad value type \"" + std::string(kind) + "\"");
                    type = (type << 4) | static_cast<std::uint32_t>(d);
                }
            }
            hexList(data.substr(colon + 1), bytes);
        } else {
            fail("unknown value data \"" + std::string(data.substr(0, 40)) + "\"");
        }
        if (inKey_ && build_)
            sink_.value(name, type, std::move(bytes));
    }

    // Comma-separated bytes; a trailing '\' continues on the next line.
    void hexList(std::string_view s, std::vector<std::uint8_t>& out) {
        for (;;) {
            s = trim(s);
            bool more = !s.empty() && s.back() == '\\';
            if (more)
                s = trim(s.substr(0, s.size() - 1));
            std::size_t i = 0;
            while (i < s.size()) {
                while (i < s.size() && isBlank(s[i]))
                    ++i;
                if (i == s.size())
                    break;
                int hi = hexDigit(s[i]);
                if (hi < 0)
                    fail("bad hex byte at \"" + std::string(s.substr(i, 8)) + "\"");
                int v = hi;
                ++i;
                if (i < s.size() && hexDigit(s[i]) >= 0)
                    v = v * 16 + hexDigit(s[i++]);
                if (build_)
                    out.push_back(static_cast<std::uint8_t>(v));
                while (i < s.size() && isBlank(s[i]))
                    ++i;
                if (i == s.size())
                    break;
                if (s[i] != ',')
                    fail("expected ',' between hex bytes");
                ++i;
            }
            if (!more)
                return;
            if (!nextLine(s))
                fail("hex list continues past the end of the file");
        }
    }

    std::string_view text_;
    const std::string& where_;
    RegSink& sink_;
    std::size_t line_;
    std::size_t pos_ = 0;
    std::size_t lineStart_ = 0;
    bool build_;
    bool inKey_ = false;
    bool seenKey_ = false;
};

void appendQuoted(std::string& out, std::string_view s) {
    out.push_back('"');
    for (char c : s) {
        if (c == '\\' || c == '"')
            out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
}

void appendName(std::string& out, std::string_view name) {
    if (name.empty()) {
        out.push_back('@');
    } else {
        appendQuoted(out, name);
    }
    out.push_back('=');
}

constexpr char kHex[] = "0123456789abcdef";

}  // namespace

int rootIndex(std::string_view name) {
    for (std::size_t i = 0; i < kRootNames.size(); ++i) {
        if (namesEqual(name, kRootNames[i]))
            return static_cast<int>(i);
    }
    return -1;
}

bool namesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

void parseReg(std::string_view text, const std::string& where, RegSink& sink, bool header,
              std::size_t firstLine) {
    Parser(text, where, sink, firstLine).run(header);
}

void appendKeyLine(std::string& out, std::string_view path, bool remove) {
    out += remove ? "[-" : "[";
    out += path;
    out += "]\r\n";
}

void appendValueLine(std::string& out, std::string_view name, std::uint32_t type,
                     const std::uint8_t* data, std::size_t size) {
    std::size_t lineStart = out.size();
    appendName(out, name);
    if (type == 1 && size >= 1 && data[size - 1] == 0) {
        std::string_view text(reinterpret_cast<const char*>(data), size - 1);
        if (text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos) {
            appendQuoted(out, text);
            out += "\r\n";
            return;
        }
    }
    if (type == 4 && size == 4) {
        char buf[24];
        unsigned v = data[0] | (data[1] << 8) | (data[2] << 16) | (unsigned(data[3]) << 24);
        std::snprintf(buf, sizeof buf, "dword:%08x\r\n", v);
        out += buf;
        return;
    }
    if (type == 3) {
        out += "hex:";
    } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "hex(%x):", type);
        out += buf;
    }
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(kHex[data[i] >> 4]);
        out.push_back(kHex[data[i] & 15]);
        if (i + 1 < size) {
            out.push_back(',');
            if (out.size() - lineStart > 76) {
                out += "\\\r\n  ";
                lineStart = out.size() - 2;
            }
        }
    }
    out += "\r\n";
}

void appendDeleteValueLine(std::string& out, std::string_view name) {
    appendName(out, name);
    out += "-\r\n";
}

}  // namespace vtl::portable
