// Loads fuzzer-made language files and formats their texts, and fuzzer-chosen formats,
// with one value.
#include "ui/language_file.h"
#include "ui/string_table.h"
#include "ui/text_format.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void Check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_language: %s\n", what);
        std::abort();
    }
}

// The result holds the format's bytes, less at most one "%s" and the halves of "%%"
// pairs, plus the value once at most.
void CheckFormat(const std::string& format, const std::string& value)
{
    const std::string text = FormatText(format, value);
    Check(text.size() <= format.size() + value.size(), "formatted text is too long");
}

const std::string& TempPath()
{
    static const std::string path = "/tmp/fuzz_language_" + std::to_string(getpid()) + ".lr";
    return path;
}

void RemoveTempFile() { std::remove(TempPath().c_str()); }

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = TempPath();
    FuzzedDataProvider provider(data, size);
    const std::string format = provider.ConsumeRandomLengthString(256);
    const std::string value = provider.ConsumeRandomLengthString(256);
    const int id = provider.ConsumeIntegral<int>();
    const bool written = WriteBytes(path, provider.ConsumeRemainingBytesAsString());
    LanguageFile language;
    const bool loaded = written && language.LoadLanguage("Setup", path);
    RemoveTempFile();
    if (!written)
        return 0;
    Check(loaded, "an existing file does not load");

    CheckFormat(format, value);
    for (const auto& section : language.Sections()) {
        Check(section.keys.size() == section.values.size(), "keys and values differ in number");
        for (const auto& key : section.keys) {
            bool found = false;
            const std::string text = language.GetString(section.name, key, &found);
            Check(found, "a key that was read is not found");
            CheckFormat(text, value);
            (void)language.GetInt(section.name, key);
        }
    }
    for (int textId = TextId::InitData; textId <= TextId::Launch; ++textId)
        CheckFormat(GetText(textId, &language), value);
    CheckFormat(GetText(id, &language), value);
    CheckFormat(GetText(id, nullptr), format);
    return 0;
}
