// Address-list helpers and the address validators of the General tab.
// A list is one text with its entries separated by a delimiter ("," when the
// delimiter is empty), e.g. 192.168.101.5,192.168.101.6.
#pragma once

#include <string>
#include <vector>

namespace vtl::ui {

// Splits at each delimiter, trimming spaces around the whole text and each
// entry; empty entries are kept. With aintFill >= 1, appends empty entries up
// to that count (a longer list is never cut). "" gives one empty entry.
std::vector<std::string> SplitIP(const std::string& astrIP, const std::string& astrDel = ",",
                                 int aintFill = 0);

// Joins the non-empty entries with the delimiter.
std::string MergeIP(const std::vector<std::string>& avarIP, const std::string& astrDel = ",");

// Empty, or four groups of one to three digits separated by single dots, each
// group at most 255 ("010" is 10). No other character is allowed.
bool isValidIPAddress(const std::string& text);

// Empty, or non-empty valid addresses separated by the delimiter.
bool isValidIPList(const std::string& list, const std::string& delimiter);

}  // namespace vtl::ui
