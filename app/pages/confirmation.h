#pragma once

#include <string>

class Answerer;
class LanguageFile;

// Asks whether the application is to be uninstalled: Yes or No, with the name as the box's
// caption. At most 199 characters of the name are shown, as installers have always shown it.
[[nodiscard]] bool ConfirmUninstall(Answerer& answerer, const LanguageFile& language, const std::string& appName);
