#pragma once

#include <cstdint>

// What an error code of the engine's error state means, in a few words for the author of the
// script: "no such function" for 11. A code the engine never sets gives "unknown error code".
[[nodiscard]] const char* ErrorCodeMeaning(std::int32_t code);
