// The address-list helpers and validators of the General tab. The input is a
// list after a first byte that chooses the delimiter and the fill count.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "ui/IPText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vtl::ui;
    using vtl::fuzz::check;
    if (size == 0)
        return 0;
    // One character each: MergeIP drops a single character after the last entry.
    static const char* const kDelimiters[] = {",", "", " ", ";", "."};
    const std::string del = kDelimiters[data[0] % 5];
    const int fill = data[0] / 5 % 8;
    const std::string list = vtl::fuzz::text(data + 1, size - 1);

    const std::vector<std::string> entries = SplitIP(list, del, fill);
    check(entries.size() >= static_cast<std::size_t>(std::max(fill, 1)), "too few entries");
    const std::string merged = MergeIP(entries, del);
    check(SplitIP(MergeIP(SplitIP(merged, del), del), del) == SplitIP(merged, del),
          "split and merge are not stable", merged);

    if (isValidIPList(list, del)) {
        for (const std::string& entry : SplitIP(list, del))
            check(list.empty() || (!entry.empty() && isValidIPAddress(entry)),
                  "an entry of a valid list is no address", entry);
        if (!list.empty() && !del.empty() && list.find(' ') == std::string::npos)
            check(MergeIP(SplitIP(list, del), del) == list, "a valid list merges otherwise", list);
    }
    if (isValidIPAddress(list)) {
        check(list.empty() || isValidIPList(list, ","), "a valid address is no valid list", list);
        check(list.size() <= 15, "a valid address too long", list);
    }
    return 0;
}
