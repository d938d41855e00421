#pragma once

#include <string>

// True when the tests run under Wine, whose links are Unix symbolic links and whose drive
// letters are links in the prefix's dosdevices folder.
[[nodiscard]] bool IsRunningUnderWine();

// Makes link a folder link to target: a directory symbolic link, else a junction, else under
// Wine a Unix symbolic link (which Wine reports with the reparse-point attribute). True when
// the link exists and carries the reparse-point attribute.
bool MakeFolderLink(const std::string& link, const std::string& target);

// A drive letter that stands for a folder for as long as the object lives: a substitute
// drive on Windows, a dosdevices link under Wine. Letter() is empty when no letter was free
// or neither way worked.
class MappedDrive {
public:
    explicit MappedDrive(const std::string& folder);
    ~MappedDrive();
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;

    // "Q:" or empty.
    [[nodiscard]] const std::string& Letter() const { return m_letter; }

private:
    std::string m_letter;
    std::string m_folder;
    std::string m_unixLink;
};
