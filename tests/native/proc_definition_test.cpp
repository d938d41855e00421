#include "script/objects/proc_definition.h"

#include <gtest/gtest.h>

TEST(ProcDefinition, ReturnTypeNameAndTypedParameters)
{
    ProcDefinition definition;
    ASSERT_TRUE(ParseProcDefinition("  int Beep(long freq, long ms)", definition));
    EXPECT_EQ("int", definition.returnType);
    EXPECT_EQ("Beep", definition.name);
    ASSERT_EQ(2u, definition.parameters.size());
    EXPECT_EQ("long", definition.parameters[0].type);
    EXPECT_EQ("long", definition.parameters[1].type);
    EXPECT_FALSE(definition.parameters[1].out);

    ASSERT_TRUE(ParseProcDefinition("void Fill((int, OUT mstring 260))", definition));
    ASSERT_EQ(2u, definition.parameters.size());
    EXPECT_EQ("int", definition.parameters[0].type);
    EXPECT_EQ("mstring", definition.parameters[1].type);
    EXPECT_TRUE(definition.parameters[1].out);
    EXPECT_EQ(260, definition.parameters[1].number);
}

TEST(ProcDefinition, NameAloneDeclaresNoParametersAndAMissingNameIsRejected)
{
    ProcDefinition definition;
    ASSERT_TRUE(ParseProcDefinition("int GetTickCount", definition));
    EXPECT_EQ("GetTickCount", definition.name);
    EXPECT_TRUE(definition.parameters.empty());
    ASSERT_TRUE(ParseProcDefinition("int Ready()", definition));
    EXPECT_TRUE(definition.parameters.empty());

    EXPECT_FALSE(ParseProcDefinition("int", definition));
    EXPECT_FALSE(ParseProcDefinition("   ", definition));
    EXPECT_FALSE(ParseProcDefinition("(int x)", definition));
}
