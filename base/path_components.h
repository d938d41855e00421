#pragma once

#include <string>
#include <vector>

// The components of a path between its separators, `\` and `/` alike, walked character by
// character so that the trail byte of a double-byte character is never a separator.
// Empty components (doubled separators, a leading or trailing one) are kept as empty texts.
[[nodiscard]] std::vector<std::string> SplitPathComponents(const std::string& path);
