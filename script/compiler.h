#pragma once

// Functions on the path of a nested script call stay small; helpers with large locals are kept
// out of line, so that their frames are gone before the next call goes deeper.
#if defined(__GNUC__) || defined(__clang__)
#define SCRIPT_OUT_OF_LINE __attribute__((noinline))
#else
#define SCRIPT_OUT_OF_LINE
#endif

#if defined(__SANITIZE_ADDRESS__)
#define SCRIPT_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCRIPT_SANITIZED_BUILD 1
#endif
#endif
#ifndef SCRIPT_SANITIZED_BUILD
#define SCRIPT_SANITIZED_BUILD 0
#endif
