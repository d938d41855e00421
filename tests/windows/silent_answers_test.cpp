// A silent uninstall has nobody to press a button: the boxes of the system operations, too,
// are written to its log and answered with their default button, so that nothing waits.

#include "app/pages/answerer.h"
#include "app/run/run_log.h"
#include "sysops/message_box.h"
#include "tests/support/scratch.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(SilentAnswers, SystemBoxesAreLoggedAndAnsweredWithTheirDefaultButton)
{
    ScratchFolder scratch("silentboxes");
    const std::string logPath = scratch.Join("silent.log");
    {
        RunLog log;
        ASSERT_TRUE(log.OpenFile(logPath));
        SilentAnswerer answerer(log);
        answerer.AnswerSystemBoxes();
        EXPECT_EQ(IDNO, ShowMessageBox("Stop the\r\nservice?", "Service", MB_YESNO | MB_DEFBUTTON2));
    } // the answerer gives the boxes back, and the log is closed
    const std::string text = ReadFileText(logPath);
    EXPECT_NE(std::string::npos, text.find("message box \"Service\": Stop the  service?  (answered 7)")) << text;
}
