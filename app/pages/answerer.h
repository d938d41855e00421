#pragma once

#include "sysops/message_box.h"

#include <string>

class RunLog;

// Gives every answer a person would give: to message boxes, to pages, and to the dialogs of
// the Windows Script engines. An interactive uninstall asks the user; a silent one has nobody
// to ask, so it answers each as its default button would and writes what it answered to the
// log. One object decides for the whole process, so that no box or page escapes the choice.
class Answerer {
public:
    virtual ~Answerer() = default;

    // The button that answers the box.
    [[nodiscard]] virtual int AnswerBox(const std::string& text, const std::string& caption, unsigned style,
                                        BoxOwner owner) = 0;
    // Whether pages and waiting windows are shown. When they are not, a page is taken as
    // answered with its default button and the flow tells what it answered through NoteAnswer.
    [[nodiscard]] virtual bool ShowsPages() const = 0;
    // What was answered without being shown.
    virtual void NoteAnswer(const std::string& line) = 0;
    // Whether VBScript's MsgBox and InputBox may show. When they may not, the engine shows
    // nothing and goes on as if the dialog had been closed at once.
    [[nodiscard]] virtual bool AllowsScriptDialogs() const = 0;
};

// A person answers: boxes, pages and script dialogs are shown.
class InteractiveAnswerer final : public Answerer {
public:
    [[nodiscard]] int AnswerBox(const std::string& text, const std::string& caption, unsigned style,
                                BoxOwner owner) override;
    [[nodiscard]] bool ShowsPages() const override { return true; }
    void NoteAnswer(const std::string&) override {}
    [[nodiscard]] bool AllowsScriptDialogs() const override { return true; }
};

// Nobody answers: every box is written to the log and answered with its default button, no
// page or script dialog shows.
class SilentAnswerer final : public Answerer {
public:
    explicit SilentAnswerer(RunLog& log) : m_log(log) {}

    [[nodiscard]] int AnswerBox(const std::string& text, const std::string& caption, unsigned style,
                                BoxOwner owner) override;
    [[nodiscard]] bool ShowsPages() const override { return false; }
    void NoteAnswer(const std::string& line) override;
    [[nodiscard]] bool AllowsScriptDialogs() const override { return false; }

    // The system operations' own boxes ("Couldn't open service manager") go to this answerer
    // for as long as it lives.
    void AnswerSystemBoxes();
    ~SilentAnswerer() override;

private:
    RunLog& m_log;
    bool m_answersSystemBoxes = false;
};
