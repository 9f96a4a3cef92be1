// Runs profile-file calls listed in a script and prints the answers. Built with
// mingw and run under wine it asks Windows; built natively it asks vtl.
// Script lines (arguments hex-encoded after an "x", "-" is NULL):
//   CASE name | PATH winpath | FILE content|- | RO | R sec key def size | W sec key value | DUMP
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>

#include <cstdio>

#include "platform/portable/ProfileFile.h"
#endif

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

static std::optional<std::string> arg(const std::string& t) {
    if (t == "-")
        return std::nullopt;
    std::string out;
    for (size_t i = 1; i + 1 < t.size(); i += 2)
        out.push_back(char(std::stoi(t.substr(i, 2), nullptr, 16)));
    return out;
}
static std::string hex(const std::string& s) {
    static const char* d = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out.push_back(d[c >> 4]);
        out.push_back(d[c & 15]);
    }
    return out + "x";
}

#ifdef _WIN32
static const char* p(const std::optional<std::string>& s) {
    return s ? s->c_str() : nullptr;
}
static std::string host(const std::string& path) {
    return path;
}
static void setFile(const std::string& path, const std::optional<std::string>& c) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    if (!c)
        return;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD w = 0;
    WriteFile(h, c->data(), DWORD(c->size()), &w, nullptr);
    CloseHandle(h);
}
static void readOnly(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}
static std::string read(const std::string& s, const std::string& k, const std::string& d,
                        unsigned size, const std::string& path) {
    std::vector<char> buf(size + 8, char(0xAA));
    auto ss = arg(s), kk = arg(k), dd = arg(d);
    DWORD r = GetPrivateProfileStringA(p(ss), p(kk), p(dd), size ? buf.data() : nullptr, size,
                                       path.c_str());
    size_t end = buf.size();
    while (end > 0 && (unsigned char)buf[end - 1] == 0xAA)
        --end;
    return std::to_string(r) + " " + hex(std::string(buf.data(), end));
}
static int write(const std::string& s, const std::string& k, const std::string& v,
                 const std::string& path) {
    auto ss = arg(s), kk = arg(k), vv = arg(v);
    return WritePrivateProfileStringA(p(ss), p(kk), p(vv), path.c_str()) ? 1 : 0;
}
#else
static std::string host(const std::string& path) {
    std::string out = path.substr(2);
    for (char& c : out)
        if (c == '\\')
            c = '/';
    return out;
}
static void setFile(const std::string& path, const std::optional<std::string>& c) {
    chmod(path.c_str(), 0644);
    std::remove(path.c_str());
    if (c)
        std::ofstream(path, std::ios::binary) << *c;
}
static void readOnly(const std::string& path) {
    chmod(path.c_str(), 0444);
}
static std::string read(const std::string& s, const std::string& k, const std::string& d,
                        unsigned size, const std::string& path) {
    auto r = vtl::GetPrivateProfileString(arg(s), arg(k), arg(d).value_or(""), size, path);
    return std::to_string(r.count) + " " + hex(size ? r.bytes + std::string(1, '\0') : r.bytes);
}
static int write(const std::string& s, const std::string& k, const std::string& v,
                 const std::string& path) {
    return vtl::WritePrivateProfileString(arg(s), arg(k), arg(v), path) ? 1 : 0;
}
#endif

int main(int, char** argv) {
    std::ifstream in(argv[1]);
    std::string line, path;
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        std::string op, a, b, c;
        ls >> op;
        if (op == "CASE")
            std::cout << line << "\n";
        else if (op == "PATH") {
            ls >> a;
            path = host(*arg(a));
        } else if (op == "FILE") {
            ls >> a;
            setFile(path, arg(a));
        } else if (op == "RO")
            readOnly(path);
        else if (op == "R") {
            unsigned size = 0;
            ls >> a >> b >> c >> size;
            std::cout << "R " << read(a, b, c, size, path) << "\n";
        } else if (op == "W") {
            ls >> a >> b >> c;
            std::cout << "W " << write(a, b, c, path) << "\n";
        } else if (op == "DUMP") {
            std::ifstream f(path, std::ios::binary);
            if (!f)
                std::cout << "F -\n";
            else
                std::cout << "F " << hex(std::string(std::istreambuf_iterator<char>(f), {}))
                          << "\n";
        }
    }
    return 0;
}
