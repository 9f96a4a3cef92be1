// The program's error object: a number, a source and a description.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vtl {

// The program's own error numbers are this base plus a small code.
inline constexpr std::int32_t kErrorBase = static_cast<std::int32_t>(0x80040000u);

class VtlError : public std::runtime_error {
  public:
    VtlError(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description),
          number_(number),
          source_(std::move(source)),
          description_(std::move(description)) {}

    std::int32_t number() const { return number_; }
    const std::string& source() const { return source_; }
    const std::string& description() const { return description_; }

  private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

}  // namespace vtl
