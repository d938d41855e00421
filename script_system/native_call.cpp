#include "script_system/native_call.h"

#include <array>

#if !defined(__x86_64__) && !defined(_M_X64)
#error "library calls are built for x86-64, where the caller always removes the arguments"
#endif

namespace {

// On x86-64 a procedure takes its first four arguments in registers and the rest from the
// caller's stack, first argument lowest, and the caller removes them. Calling through a
// pointer to a procedure of the largest argument count fills every slot a smaller procedure
// can read; the slots it does not read are ignored.
using WidestProcedure = void (*)(std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t,
                                 std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t,
                                 std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t,
                                 std::uintptr_t);

static_assert(kMostNativeArguments == 16, "WidestProcedure takes kMostNativeArguments arguments");

}

bool CallWithPointerArguments(void (*procedure)(), const std::vector<std::uintptr_t>& arguments)
{
    if (!procedure || arguments.size() > kMostNativeArguments)
        return false;
    std::array<std::uintptr_t, kMostNativeArguments> slots{};
    for (std::size_t index = 0; index < arguments.size(); ++index)
        slots[index] = arguments[index];
    auto widest = reinterpret_cast<WidestProcedure>(procedure);
    widest(slots[0], slots[1], slots[2], slots[3], slots[4], slots[5], slots[6], slots[7], slots[8], slots[9],
           slots[10], slots[11], slots[12], slots[13], slots[14], slots[15]);
    return true;
}
