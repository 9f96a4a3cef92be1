// An add-in as the program holds it: an object whose members are called
// late-bound, by name, with a list of values in and one value out.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "registry/Variant.h"

namespace vtl {

class AddInObject {
  public:
    virtual ~AddInObject() = default;
    // Calls the member (a method, or a property read when `args` is empty).
    // Throws VtlError when the member does not exist or fails.
    virtual Variant Invoke(const std::string& member, const std::vector<Variant>& args) = 0;
};

// The add-ins in their load order, passed to every document load, save and apply.
using AddInCollection = std::vector<std::shared_ptr<AddInObject>>;

}  // namespace vtl
