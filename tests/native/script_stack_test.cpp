// A nested script call must keep its native stack use small: the uninstaller's main thread has
// 1 MB of stack, and scripts may nest 1000 calls deep.
#include "script_test_support.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
#define SCRIPT_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCRIPT_TEST_SANITIZED 1
#endif
#endif

namespace {

// Records the stack address at which each nested call reached it.
class StackProbe final : public ScriptObject {
public:
    [[nodiscard]] bool InvokeMethod(const std::string&, ArgumentList&, FunctionInstance*) override
    {
        volatile char marker = 0;
        addresses.push_back(reinterpret_cast<std::uintptr_t>(&marker));
        return true;
    }

    // The largest distance between the marks of two consecutive depths.
    [[nodiscard]] std::uintptr_t LargestStep() const
    {
        std::uintptr_t largest = 0;
        for (std::size_t i = 1; i < addresses.size(); ++i) {
            std::uintptr_t step = addresses[i - 1] > addresses[i] ? addresses[i - 1] - addresses[i] : addresses[i] - addresses[i - 1];
            largest = std::max(largest, step);
        }
        return largest;
    }

    std::vector<std::uintptr_t> addresses;
};

struct CallPath {
    const char* name;
    const char* recursion; // the line by which f calls itself with n - 1
};

const CallPath g_paths[] = {
    {"return of a call", "return f(n - 1)"},
    {"assignment of a call", "m = f(n - 1)"},
    {"call statement", "f(n - 1)"},
    {"call inside a condition", "if f(n - 1) == 0\n  return 0"},
};

}

TEST(ScriptStack, NestedCallsKeepNativeStackUseSmall)
{
    for (const auto& path : g_paths) {
        SCOPED_TRACE(path.name);
        ScriptFixture script;
        auto probe = MakeCounted<StackProbe>();
        script.engine.RegisterObject("Probe", probe);
        ASSERT_TRUE(script.Load(std::string("Function int f(int n)\n{\nvar int m\nProbe.Mark()\nif n <= 0\n  return 0\n")
                                + path.recursion + "\nreturn 0\n}\n"));
        ASSERT_TRUE(script.Call("f", {"999"}));
        ASSERT_EQ(1000u, probe->addresses.size());
        std::uintptr_t step = probe->LargestStep();
        std::printf("[          ] %-26s %5u bytes of native stack per nested call\n", path.name, static_cast<unsigned>(step));
#ifndef SCRIPT_TEST_SANITIZED
        // 1000 nested calls within 700 KB leave the rest of a 1 MB stack to the host.
        EXPECT_LT(step, 700u);
#endif
    }
}
