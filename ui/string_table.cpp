#include "ui/string_table.h"

#include "ui/language_file.h"

#include <iterator>

namespace {

constexpr StringTableEntry StringTable[] = {
#define STRING_TEXT(id, text) {id, text},
#include "ui/string_texts.h"
#undef STRING_TEXT
};

}

const StringTableEntry* StringTableBegin() { return std::begin(StringTable); }

const StringTableEntry* StringTableEnd() { return std::end(StringTable); }

std::string GetTableText(int id)
{
    for (const auto& entry : StringTable) {
        if (entry.id == id)
            return entry.text;
    }
    return {};
}

std::string GetText(int id, const LanguageFile* language)
{
    if (language && language->IsLoaded()) {
        bool found = false;
        std::string text = language->GetString(StringsSection, id, &found);
        if (found)
            return text;
    }
    return GetTableText(id);
}
