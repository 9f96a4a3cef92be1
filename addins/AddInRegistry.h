// Add-in registrations in the program-settings store: section "Add-Ins" holds
// one value per add-in (its name), "Add-Ins\<name>" its "Class", "OS",
// "Active", "File" and "Version".
#pragma once

#include <string>

namespace vtl::addins {

inline constexpr const char* kSection = "Add-Ins";
inline constexpr const char* kNoFile = "<no file specified>";
inline constexpr const char* kNoVersion = "<no version specified>";
inline constexpr const char* kCheckAddIns = "\r\rPlease check your Add-Ins.";

inline std::string addInSection(const std::string& name) {
    return std::string(kSection) + "\\" + name;
}

// Registers every add-in that ships with the program (Platform::ShippedAddIns)
// and is not registered yet, as active for the systems it declares. An add-in
// already registered keeps its "Active"; when its class is the shipped one,
// its "File" and "Version" are brought up to date.
void RegisterShippedAddIns();

}  // namespace vtl::addins
