#include "app/scrambled_text.h"

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
