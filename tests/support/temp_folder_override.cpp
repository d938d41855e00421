#include "tests/support/temp_folder_override.h"

#include <windows.h>

TempFolderOverride::TempFolderOverride(const std::string& folder)
{
    char previous[MAX_PATH * 4] = {};
    m_hadValue = GetEnvironmentVariableA("TMP", previous, sizeof previous) > 0;
    m_previous = previous;
    SetEnvironmentVariableA("TMP", folder.c_str());
}

TempFolderOverride::~TempFolderOverride() { SetEnvironmentVariableA("TMP", m_hadValue ? m_previous.c_str() : nullptr); }
