#pragma once

#include <string>
#include <vector>

// Splits an entry of the registry or shell-object list ("Type,Root,Path,Name",
// "Type,Path") the way the install record reader splits the item line it came from: each
// field is the text up to the next comma, the last one ends at a comma too and what
// follows it is dropped; nothing is trimmed. False, with no fields, when there are fewer
// than count fields.
[[nodiscard]] bool SplitItemFields(const std::string& text, std::size_t count, std::vector<std::string>& fields);
