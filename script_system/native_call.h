#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The most pointer-sized arguments a library procedure can be called with.
constexpr std::size_t kMostNativeArguments = 16;

// Calls procedure with the arguments in order, each in one pointer-sized slot (the first in the
// lowest), whatever convention the procedure removes its arguments by; the result is not
// used. False, without a call, for more than kMostNativeArguments arguments.
bool CallWithPointerArguments(void (*procedure)(), const std::vector<std::uintptr_t>& arguments);
