#pragma once

#include <string>

// A private folder under the Wine prefix's temp folder for one test; removed with its
// contents when the test ends, whatever the test did to it.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& label);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] const std::string& Path() const { return m_path; }
    [[nodiscard]] std::string Join(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

// Helpers that lay out files and folders for a test; each reports success as a bool.
bool WriteFileText(const std::string& path, const std::string& text);
bool MakeFolder(const std::string& path);
bool PathExists(const std::string& path);
std::string ReadFileText(const std::string& path);

// Lets Everyone change the folder and what it holds, as a folder under C:\ that inherits
// "Users: Modify" would. (Under Wine the list becomes the folder's Unix mode, o+w.)
bool LetEveryoneChange(const std::string& folder);
