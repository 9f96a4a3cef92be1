// A late-bound value as the registry class accepts it: its run-time kind is
// checked against the value type a caller asks for.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vtl {

class Variant {
  public:
    enum class Kind { Empty, String, Double, Long, Bool, Bytes };

    Variant() = default;
    Variant(std::string text) : kind_(Kind::String), text_(std::move(text)) {}
    Variant(const char* text) : kind_(Kind::String), text_(text) {}
    Variant(double number) : kind_(Kind::Double), number_(number) {}
    Variant(std::int32_t number) : kind_(Kind::Long), number_(number) {}
    Variant(bool flag) : kind_(Kind::Bool), number_(flag ? -1 : 0) {}
    // A byte array; `dimensions` is 1 for an ordinary array.
    Variant(std::vector<std::uint8_t> bytes, int dimensions = 1)
        : kind_(Kind::Bytes), bytes_(std::move(bytes)), dimensions_(dimensions) {}

    Kind kind() const { return kind_; }
    const std::string& text() const { return text_; }
    double number() const { return number_; }
    // As a Boolean: a non-zero number, or a text "True" or holding a non-zero number.
    bool truth() const {
        if (kind_ == Kind::String) {
            std::string lower;
            for (char c : text_)
                lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            if (lower == "true")
                return true;
            try {
                return std::stod(text_) != 0;
            } catch (...) {
                return false;
            }
        }
        return number_ != 0;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    int dimensions() const { return kind_ == Kind::Bytes ? dimensions_ : 0; }

  private:
    Kind kind_ = Kind::Empty;
    std::string text_;
    double number_ = 0;
    std::vector<std::uint8_t> bytes_;
    int dimensions_ = 0;
};

}  // namespace vtl
