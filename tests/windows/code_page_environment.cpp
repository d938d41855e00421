#include "sysops/system_code_page.h"

#include <gtest/gtest.h>

namespace {

// The program installs the system's lead-byte test once at start; so do the tests.
class SystemCodePage : public ::testing::Environment {
public:
    void SetUp() override { UseSystemCodePage(); }
};

const auto* const g_codePage = ::testing::AddGlobalTestEnvironment(new SystemCodePage);

}
