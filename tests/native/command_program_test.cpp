#include "base/command_program.h"

#include <gtest/gtest.h>

TEST(CommandProgram, QuotedProgramMatchesWithOrWithoutArguments)
{
    const std::string program = "C:\\Program Files\\App\\svc.exe";
    EXPECT_TRUE(CommandStartsProgram("\"C:\\Program Files\\App\\svc.exe\" -run", program));
    EXPECT_TRUE(CommandStartsProgram("  \"c:\\program files\\app\\SVC.EXE\"", program)) << "case and leading blanks";
    EXPECT_TRUE(CommandStartsProgram("C:\\Program Files\\App\\svc.exe", program)) << "the whole unquoted text";
    EXPECT_FALSE(CommandStartsProgram("\"C:\\Program Files\\App\\svc.exe -run", program)) << "unterminated quote";
    EXPECT_FALSE(CommandStartsProgram("C:\\Program Files\\App\\svc.exe -run", program))
        << "an unquoted program with a blank and arguments may start C:\\Program";
}

TEST(CommandProgram, UnquotedProgramEndsBeforeItsArguments)
{
    EXPECT_TRUE(CommandStartsProgram("C:\\App\\svc.exe -run now", "C:\\App\\svc.exe"));
    EXPECT_TRUE(CommandStartsProgram("C:\\App\\svc.exe\t/x", "c:\\app\\svc.exe"));
    EXPECT_FALSE(CommandStartsProgram("C:\\App\\svc.exe2 -run", "C:\\App\\svc.exe")) << "only whole paths";
    EXPECT_FALSE(CommandStartsProgram("C:\\App\\svc.exe", "C:\\App\\svc")) << "another file";
    EXPECT_FALSE(CommandStartsProgram("\"C:\\Other\\svc.exe\" C:\\App\\svc.exe", "C:\\App\\svc.exe"))
        << "a recorded file that is only an argument";
    EXPECT_FALSE(CommandStartsProgram("", "")) << "an empty path matches nothing";
}
