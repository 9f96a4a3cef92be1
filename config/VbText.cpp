#include "config/VbText.h"

#include <cstdlib>

namespace vtl {

double Val(const std::string& text) {
    std::string number;
    bool dot = false;
    bool digits = false;
    bool exponent = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r')
            continue;
        if ((c == '-' || c == '+') && number.empty()) {
            number += c;
        } else if (c >= '0' && c <= '9') {
            number += c;
            digits = true;
        } else if (c == '.' && !dot && !exponent) {
            number += c;
            dot = true;
        } else if ((c == 'E' || c == 'e' || c == 'D' || c == 'd') && digits && !exponent) {
            // Only an exponent when digits follow it.
            std::size_t j = i + 1;
            if (j < text.size() && (text[j] == '+' || text[j] == '-'))
                ++j;
            if (j >= text.size() || text[j] < '0' || text[j] > '9')
                break;
            number += 'e';
            if (text[i + 1] == '+' || text[i + 1] == '-')
                number += text[++i];
            exponent = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    return std::strtod(number.c_str(), nullptr);
}

std::string UCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

std::string LCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && LCase(a) == LCase(b);
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace vtl
