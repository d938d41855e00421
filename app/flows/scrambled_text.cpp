#include "app/flows/scrambled_text.h"

#include "app/run/uninstall_state.h"

#include <cstdio>

void AppendUnscrambled(const std::string& bytes, std::string& text)
{
    text.reserve(text.size() + bytes.size());
    for (unsigned char byte : bytes) {
        const char decoded = static_cast<char>(byte ^ kScriptScrambleKey);
        if (decoded != '\0')
            text.push_back(decoded);
    }
}

std::string Scramble(const std::string& text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (unsigned char c : text)
        bytes.push_back(static_cast<char>(c ^ kScriptScrambleKey));
    return bytes;
}

bool AppendScriptFile(const std::string& path, int encoding, std::string& text)
{
    if (encoding != kScriptFilesScrambled)
        return true;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        AppendUnscrambled(std::string(buffer, got), text);
    std::fclose(file);
    return true;
}
