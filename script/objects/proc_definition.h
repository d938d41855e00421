#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One procedure of a library as a script declares it with "AddProcDefine", for example
// "int Beep(long freq, long ms)" or "int Fill(out mstring 260)". Calls convert their arguments
// by the parameters' type words: "int", "long" and "mstring" (a writable text).
struct ProcDefinition {
    struct Parameter {
        std::string type;
        bool out = false;        // the procedure writes into it; an "mstring" comes back
        std::int32_t number = 0; // for an "mstring": the room the procedure may fill
    };

    std::string returnType;
    std::string name;
    std::vector<Parameter> parameters;
};

// False when the return type or the name is missing.
[[nodiscard]] bool ParseProcDefinition(std::string_view text, ProcDefinition& definition);
