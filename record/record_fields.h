#pragma once

#include <string>
#include <vector>

// Splits a comma-separated item value ("Type,Root,Path,Name" of a registry item,
// "Type,Path" of a shell object) into count fields. Each field is the text up to the next
// comma; the last one also ends at a comma, and whatever follows it is dropped. Fields are
// not trimmed, so "Key, HKEY_CURRENT_USER" keeps the blank in the second field. Gives false
// and no fields when the text holds fewer than count fields.
[[nodiscard]] bool SplitRecordFields(const std::string& text, std::size_t count, std::vector<std::string>& fields);

// Joins fields with commas, the inverse of SplitRecordFields for fields without commas.
[[nodiscard]] std::string JoinRecordFields(const std::vector<std::string>& fields);

// Compares with ASCII letters folded; enough for the record's keywords ("Key", "Value"),
// whose letters no byte of a double-byte character can match.
[[nodiscard]] bool EqualsKeyword(const std::string& text, const char* keyword);
