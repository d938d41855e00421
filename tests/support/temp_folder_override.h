#pragma once

#include <string>

// Points the process's temp folder (TMP, which the system asks first) elsewhere for one test;
// programs the test starts meanwhile inherit it.
class TempFolderOverride {
public:
    explicit TempFolderOverride(const std::string& folder);
    ~TempFolderOverride();
    TempFolderOverride(const TempFolderOverride&) = delete;
    TempFolderOverride& operator=(const TempFolderOverride&) = delete;

private:
    std::string m_previous;
    bool m_hadValue = false;
};
