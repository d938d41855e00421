#include "ui/text_format.h"

std::string FormatText(const std::string& format, const std::string& value)
{
    std::string text;
    text.reserve(format.size() + value.size());
    bool substituted = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (c == '%' && next == '%') {
            text += '%';
            ++i;
        } else if (c == '%' && next == 's' && !substituted) {
            text += value;
            substituted = true;
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}
