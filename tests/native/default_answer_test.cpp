// The answers a silent uninstall gives the message boxes that a script or the system code asks.

#include "app/pages/default_answer.h"

#include <gtest/gtest.h>

TEST(DefaultAnswer, MessageBoxesAnswerWithTheirDefaultButton)
{
    constexpr unsigned kYesNo = 4, kYesNoCancel = 3, kOkCancel = 1, kDefault2 = 0x100, kDefault3 = 0x200;
    EXPECT_EQ(1, DefaultMessageBoxAnswer(0));                         // OK
    EXPECT_EQ(6, DefaultMessageBoxAnswer(kYesNo | 0x20));             // Yes, whatever the icon
    EXPECT_EQ(7, DefaultMessageBoxAnswer(kYesNo | kDefault2));        // No
    EXPECT_EQ(2, DefaultMessageBoxAnswer(kYesNoCancel | kDefault3));  // Cancel
    EXPECT_EQ(1, DefaultMessageBoxAnswer(kOkCancel | kDefault3));     // no third button: the first
    EXPECT_EQ(1, DefaultMessageBoxAnswer(0x0F));                      // an unknown button set shows OK
}
