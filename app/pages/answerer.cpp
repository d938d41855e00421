#include "app/pages/answerer.h"

#include "app/pages/default_answer.h"
#include "app/run/run_log.h"

namespace {

std::string OneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

}

int InteractiveAnswerer::AnswerBox(const std::string& text, const std::string& caption, unsigned style, BoxOwner owner)
{
    return ShowMessageBox(text, caption, style, owner);
}

int SilentAnswerer::AnswerBox(const std::string& text, const std::string& caption, unsigned style, BoxOwner)
{
    const int answer = DefaultMessageBoxAnswer(style);
    m_log.Line("message box \"" + OneLine(caption) + "\": " + OneLine(text) + "  (answered " + std::to_string(answer) + ")");
    return answer;
}

void SilentAnswerer::NoteAnswer(const std::string& line)
{
    m_log.Line(line);
}

void SilentAnswerer::AnswerSystemBoxes()
{
    m_answersSystemBoxes = true;
    SetMessageBoxHandler([this](const std::string& text, const std::string& caption, unsigned style) {
        return AnswerBox(text, caption, style, BoxOwner::ActiveWindow);
    });
}

SilentAnswerer::~SilentAnswerer()
{
    if (m_answersSystemBoxes)
        SetMessageBoxHandler(nullptr);
}
