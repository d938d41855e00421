#include "app/pages/silent_answers.h"

#include "app/pages/default_answer.h"
#include "app/run/run_log.h"
#include "sysops/message_box.h"

namespace {

// The log of the one silent uninstall this process runs, for the system operations' boxes.
RunLog* g_silentLog = nullptr;

int AnswerSystemBox(const std::string& text, const std::string& caption, unsigned style)
{
    return AnswerBoxSilently(*g_silentLog, caption, text, style);
}

std::string OneLine(std::string text)
{
    for (char& c : text) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

}

int AnswerBoxSilently(RunLog& log, const std::string& caption, const std::string& text, unsigned style)
{
    const int answer = DefaultMessageBoxAnswer(style);
    log.Line("message box \"" + OneLine(caption) + "\": " + OneLine(text) + "  (answered " + std::to_string(answer) + ")");
    return answer;
}

void AnswerSystemBoxesSilently(RunLog& log)
{
    g_silentLog = &log;
    SetMessageBoxHandler(AnswerSystemBox);
}
