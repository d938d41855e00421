#include "sysops/ini_file.h"

#include <windows.h>

std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultText)
{
    char text[1024] = {};
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(), text, sizeof text,
                                                  file.c_str());
    return std::string(text, length);
}

int ReadIniInt(const std::string& file, const std::string& section, const std::string& key, int defaultNumber)
{
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultNumber, file.c_str()));
}

bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& text)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), text.c_str(), file.c_str()) != FALSE;
}
