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
    enum class Kind { Empty, String, Double, Long, Bytes };

    Variant() = default;
    Variant(std::string text) : kind_(Kind::String), text_(std::move(text)) {}
    Variant(const char* text) : kind_(Kind::String), text_(text) {}
    Variant(double number) : kind_(Kind::Double), number_(number) {}
    Variant(std::int32_t number) : kind_(Kind::Long), number_(number) {}
    // A byte array; `dimensions` is 1 for an ordinary array.
    Variant(std::vector<std::uint8_t> bytes, int dimensions = 1)
        : kind_(Kind::Bytes), bytes_(std::move(bytes)), dimensions_(dimensions) {}

    Kind kind() const { return kind_; }
    const std::string& text() const { return text_; }
    double number() const { return number_; }
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
