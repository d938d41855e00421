#include "app/pages/confirmation.h"

#include "app/pages/answerer.h"
#include "ui/string_table.h"
#include "ui/text_format.h"

#include <windows.h>

namespace {

constexpr std::size_t kAppNameLimit = 199;

}

bool ConfirmUninstall(Answerer& answerer, const LanguageFile& language, const std::string& appName)
{
    const std::string name = appName.substr(0, kAppNameLimit);
    const std::string question = FormatText(GetText(TextId::ConfirmUninstall, &language), name);
    return answerer.AnswerBox(question, name, MB_YESNO | MB_ICONQUESTION, BoxOwner::None) == IDYES;
}
