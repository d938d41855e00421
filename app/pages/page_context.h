#pragma once

#include <string>

class Answerer;
class LanguageFile;

// What a page needs of the uninstall: the language file for its texts and font, the banner
// pictures (empty when the file is not there, and the page shows its default), and the
// answerer that shows or answers its boxes. Pages see nothing else of the session.
struct PageContext {
    const LanguageFile& language;
    std::string topBannerPath;
    std::string leftBannerPath;
    Answerer& answerer;
};
