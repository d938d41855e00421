#pragma once

#include <string>

// Puts value in place of the first "%s" of a text from the string table or a language file.
// Translations are data, not code: no other '%' sequence is interpreted (a second "%s", a
// "%d", a "%n" or a lone '%' stay as they are) except "%%", which stands for one '%' as
// translators expect. So a faulty translation shows odd text but never reads or writes
// memory it should not.
[[nodiscard]] std::string FormatText(const std::string& format, const std::string& value);
